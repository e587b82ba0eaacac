#include "scorelog/scorelogfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "scorelog/scorelogreader.h"

namespace {

constexpr std::string_view kLogName = "zorvik.txt";
constexpr std::string_view kUserFolderName = "zorvik";

// Closes a file descriptor when it goes out of scope.
class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd) : m_fd(fd) {}
    ~CFileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;

    int Get() const { return m_fd; }
    // Open and a regular file: never a directory, a pipe or a device that could block the
    // game or hand it endless data.
    bool IsRegularFile() const {
        struct stat st {};
        return m_fd >= 0 && ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode);
    }

private:
    int m_fd;
};

// The folder part of an absolute path: everything before its last '/', or "/" itself.
std::string FolderOf(const std::string& path) {
    const std::size_t nSlash = path.rfind('/');
    return nSlash == 0 || nSlash == std::string::npos ? std::string("/") : path.substr(0, nSlash);
}

}  // namespace

std::string ScoreLogPathFor(std::string_view programPath) {
    const std::size_t nSlash = programPath.rfind('/');
    if (programPath.empty() || programPath.front() != '/' || nSlash == std::string_view::npos) {
        return {};
    }
    std::string path(programPath.substr(0, nSlash + 1));
    path += kLogName;
    return path;
}

std::string UserScoreLogPathFor(std::string_view userDataDir) {
    if (userDataDir.empty() || userDataDir.front() != '/') {
        return {};
    }
    std::string path(userDataDir);
    if (path.back() != '/') {
        path += '/';
    }
    path += kUserFolderName;
    path += '/';
    path += kLogName;
    return path;
}

bool CanTakeScoreLog(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        // Nothing of that name: the log can be made where the folder may be written.
        return errno == ENOENT && ::access(FolderOf(path).c_str(), W_OK | X_OK) == 0;
    }
    if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0) {
        return false;  // a dangling link is never followed to make its target
    }
    return S_ISREG(st.st_mode) && ::access(path.c_str(), W_OK) == 0;
}

CScoreLogPlace ChooseScoreLogPlace(std::string_view programPath, std::string_view userDataDir) {
    std::string besideProgram = ScoreLogPathFor(programPath);
    if (CanTakeScoreLog(besideProgram)) {
        return {std::move(besideProgram), false};
    }
    std::string inUserFolder = UserScoreLogPathFor(userDataDir);
    const bool bUserFolder = !inUserFolder.empty();
    return {std::move(inUserFolder), bUserFolder};
}

bool MakeScoreLogFolder(const std::string& path) {
    const std::string folder = FolderOf(path);
    if (folder.empty() || folder.front() != '/') {
        return false;
    }
    // Each folder from the top down; those that exist already are left as they are.
    for (std::size_t nSlash = folder.find('/', 1);; nSlash = folder.find('/', nSlash + 1)) {
        const std::string part = folder.substr(0, nSlash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (nSlash == std::string::npos) {
            break;
        }
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::array<std::int32_t, 4> ReadScoreLogFile(const std::string& path) {
    CScoreLogReader reader;
    if (path.empty()) {
        return reader.BestScores();
    }
    // Non-blocking, so that a pipe of that name cannot hold the game up before it is refused.
    const CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.IsRegularFile()) {
        return reader.BestScores();
    }
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t nRead = ::read(file.Get(), buffer.data(), buffer.size());
        if (nRead < 0 && errno == EINTR) {
            continue;
        }
        if (nRead <= 0) {
            // The end of the file; a read error ends the log where it happened.
            break;
        }
        reader.Feed(buffer.data(), static_cast<std::size_t>(nRead));
    }
    reader.Finish();
    return reader.BestScores();
}

bool AppendToScoreLog(const std::string& path, std::string_view record) {
    if (path.empty()) {
        return false;
    }
    const CFileDescriptor file(
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644));
    if (!file.IsRegularFile()) {
        return false;
    }
    // One write carries the whole record; only a short write, which leaves the rest for
    // another, splits it.
    while (!record.empty()) {
        const ssize_t nWritten = ::write(file.Get(), record.data(), record.size());
        if (nWritten < 0 && errno == EINTR) {
            continue;
        }
        if (nWritten <= 0) {
            return false;
        }
        record.remove_prefix(static_cast<std::size_t>(nWritten));
    }
    return true;
}
