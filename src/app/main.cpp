// Zorvik: start-up from the command line.
#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "app/commandline.h"
#include "app/zorvikapp.h"
#include "platform/runtime.h"

namespace {

std::vector<std::string> Arguments(const QStringList& arguments) {
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        args.push_back(arguments[i].toStdString());
    }
    return args;
}

// Answers --help and --version; other results wait until Qt has taken its own options.
bool AnswerInfoOption(const CCommandLineInfo& info) {
    using EShellCommand = CCommandLineInfo::EShellCommand;
    if (info.m_nShellCommand == EShellCommand::kHelp) {
        std::fputs(HelpText("zorvik").c_str(), stdout);
        return true;
    }
    if (info.m_nShellCommand == EShellCommand::kVersion) {
        std::fputs(VersionText().c_str(), stdout);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using EShellCommand = CCommandLineInfo::EShellCommand;
    // --help and --version need no display.
    std::vector<std::string> rawArgs(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (AnswerInfoOption(ParseCommandLine(rawArgs))) {
        return 0;
    }

    QApplication app(argc, argv);
    const CCommandLineInfo info = ParseCommandLine(Arguments(QApplication::arguments()));
    if (AnswerInfoOption(info)) {
        return 0;
    }
    if (info.m_nShellCommand == EShellCommand::kUsageError) {
        std::fprintf(stderr, "zorvik: %s\nTry 'zorvik --help' for more information.\n",
                     info.m_strError.c_str());
        return 2;
    }
    if (info.m_nShellCommand == EShellCommand::kFileOpen) {
        const std::string strError = CheckFileOpens(info.m_strFileName);
        if (!strError.empty()) {
            std::fprintf(stderr, "zorvik: cannot open '%s': %s\n", info.m_strFileName.c_str(),
                         strError.c_str());
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
