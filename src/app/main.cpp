// Zorvik: start-up from the command line.
#include <QApplication>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/commandline.h"
#include "app/quotename.h"
#include "app/zorvikapp.h"
#include "platform/runtime.h"
#include "qt/appstart.h"

namespace {

// The arguments after the program name, byte for byte: a file name need not be valid UTF-8.
std::vector<std::string> Arguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

// Answers --help, --version and a mistake on the command line; returns the exit status then.
std::optional<int> AnswerWithoutWindow(const CCommandLineInfo& info) {
    using EShellCommand = CCommandLineInfo::EShellCommand;
    switch (info.m_nShellCommand) {
        case EShellCommand::kHelp:
            std::fputs(HelpText("zorvik").c_str(), stdout);
            return 0;
        case EShellCommand::kVersion:
            std::fputs(VersionText().c_str(), stdout);
            return 0;
        case EShellCommand::kUsageError:
            std::fprintf(stderr, "zorvik: %s\nTry 'zorvik --help' for more information.\n",
                         info.m_strError.c_str());
            return 2;
        default:
            return std::nullopt;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // A write beyond the file-size limit fails with EFBIG instead of killing the game, so the
    // score log can fall back to another place.
    std::signal(SIGXFSZ, SIG_IGN);
    // The command line is read before the display is opened: a question or a mistake on it
    // needs no display.
    const CCommandLineInfo info = ParseCommandLine(Arguments(argc, argv));
    if (const std::optional<int> nExit = AnswerWithoutWindow(info)) {
        return *nExit;
    }
    // Qt takes its options from anywhere on the command line: it sees none after "--". Without
    // a display this ends the program with a one-line message.
    char** const ppEnd = std::find(argv + std::min(argc, 1), argv + argc, std::string_view("--"));
    int nQtArgc = static_cast<int>(ppEnd - argv);  // Qt keeps a reference to it
    const std::unique_ptr<QApplication> pApp = MakeApplication(nQtArgc, argv);
    // Qt has taken its own options out of argv; the file name is what is left, in its own bytes.
    std::vector<std::string> args = Arguments(nQtArgc, argv);
    args.insert(args.end(), ppEnd, argv + argc);
    const CCommandLineInfo rest = ParseCommandLine(args);
    if (const std::optional<int> nExit = AnswerWithoutWindow(rest)) {
        return *nExit;
    }
    if (rest.m_nShellCommand == CCommandLineInfo::EShellCommand::kFileOpen) {
        const std::string strError = CheckFileOpens(rest.m_strFileName);
        if (!strError.empty()) {
            std::fprintf(stderr, "zorvik: cannot open %s: %s\n",
                         QuoteName(rest.m_strFileName).c_str(), strError.c_str());
            return 1;
        }
    }

    CSystemRuntime runtime;
    CZorvikApp theApp(runtime);
    if (!theApp.InitInstance()) {
        return 1;
    }
    return QApplication::exec();
}
