#include "runprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

std::vector<char*> CStrings(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& str : strings) {
        pointers.push_back(str.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits up to nWaitMs for pid, or until fnSeen holds; true when it ended, with its status in
// *pnStatus.
bool WaitFor(pid_t pid, int nWaitMs, const std::function<bool()>& fnSeen, int* pnStatus,
             bool* pbSeen) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nWaitMs);
    while (true) {
        if (waitpid(pid, pnStatus, WNOHANG) == pid) {
            return true;
        }
        *pbSeen = fnSeen && fnSeen();
        if (*pbSeen || std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

CRun RunProgram(const std::string& strProgram, const std::vector<std::string>& args,
                const std::vector<std::string>& env, int nWaitMs,
                const std::function<bool()>& fnSeen) {
    std::vector<std::string> environment;
    for (char** ppVar = environ; *ppVar != nullptr; ++ppVar) {
        environment.emplace_back(*ppVar);
    }
    for (const std::string& change : env) {
        const std::string name = change.substr(0, change.find('='));
        std::erase_if(environment, [&](const std::string& var) {
            return var.compare(0, name.size() + 1, name + "=") == 0;
        });
        if (change.find('=') != std::string::npos) {
            environment.push_back(change);
        }
    }
    std::vector<std::string> argv = {strProgram};
    argv.insert(argv.end(), args.begin(), args.end());

    char szDir[] = "/tmp/zorvik-run-XXXXXX";
    CRun run;
    if (mkdtemp(szDir) == nullptr) {
        return run;
    }
    const std::filesystem::path dir(szDir);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (dir / "out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (dir / "err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    const int nSpawned = posix_spawn(&pid, strProgram.c_str(), &actions, nullptr,
                                     CStrings(argv).data(), CStrings(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    if (nSpawned == 0) {
        int nStatus = 0;
        if (!WaitFor(pid, nWaitMs, fnSeen, &nStatus, &run.bSeen)) {
            run.bStillRunning = true;
            kill(pid, SIGKILL);
            waitpid(pid, &nStatus, 0);
        } else if (WIFEXITED(nStatus)) {
            run.nExit = WEXITSTATUS(nStatus);
        } else if (WIFSIGNALED(nStatus)) {
            run.nSignal = WTERMSIG(nStatus);
        }
        run.out = ReadFile(dir / "out");
        run.err = ReadFile(dir / "err");
    }
    std::filesystem::remove_all(dir);
    return run;
}

CXvfb::CXvfb() {
    int aPipe[2];
    if (pipe2(aPipe, O_CLOEXEC) != 0) {
        return;
    }
    // Xvfb writes the number of the display it took to fd 3. -noreset keeps the lock keys' state
    // when the last client leaves.
    std::vector<std::string> argv = {"Xvfb",     "-displayfd", "3", "-nolisten", "tcp",
                                     "-noreset", "-screen",    "0", "800x600x24"};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, aPipe[1], 3);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int nSpawned =
        posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, CStrings(argv).data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(aPipe[1]);
    if (nSpawned != 0) {
        m_pid = -1;
        close(aPipe[0]);
        return;
    }
    std::string strNumber;
    pollfd pfd{aPipe[0], POLLIN, 0};
    char c = 0;
    while (poll(&pfd, 1, 20000) == 1 && read(aPipe[0], &c, 1) == 1 && c != '\n') {
        strNumber += c;
    }
    close(aPipe[0]);
    if (!strNumber.empty()) {
        m_strDisplay = ":" + strNumber;
    }
}

CXvfb::~CXvfb() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int nStatus = 0;
        waitpid(m_pid, &nStatus, 0);
    }
}

bool CXvfb::ShowsWindow(const std::string& strTitle) const {
    // xdotool takes a regular expression: the titles looked for hold no special character.
    return IsRunning() &&
           RunProgram("/usr/bin/xdotool", {"search", "--onlyvisible", "--name", "^" + strTitle},
                      {"DISPLAY=" + m_strDisplay}, 5000)
                   .nExit == 0;
}
