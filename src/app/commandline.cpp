#include "app/commandline.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

CCommandLineInfo ParseCommandLine(const std::vector<std::string>& args) {
    using EShellCommand = CCommandLineInfo::EShellCommand;
    CCommandLineInfo info;
    std::vector<std::string> files;
    bool bOptions = true;
    for (const std::string& arg : args) {
        if (bOptions && arg == "--") {
            bOptions = false;
        } else if (bOptions && (arg == "--help" || arg == "-h")) {
            info.m_nShellCommand = EShellCommand::kHelp;
            return info;
        } else if (bOptions && (arg == "--version" || arg == "-V")) {
            info.m_nShellCommand = EShellCommand::kVersion;
            return info;
        } else if (bOptions && arg.starts_with("--")) {
            if (info.m_strError.empty()) {
                info.m_strError = "unrecognized option '" + arg + "'";
            }
        } else if (bOptions && arg.size() > 1 && arg[0] == '-') {
            if (info.m_strError.empty()) {
                info.m_strError = "invalid option -- '" + arg.substr(1) + "'";
            }
        } else {
            files.push_back(arg);
        }
    }
    if (info.m_strError.empty() && files.size() > 1) {
        info.m_strError = "extra operand '" + files[1] + "'";
    }
    if (!info.m_strError.empty()) {
        info.m_nShellCommand = EShellCommand::kUsageError;
    } else if (!files.empty()) {
        info.m_nShellCommand = EShellCommand::kFileOpen;
        info.m_strFileName = files.front();
    }
    return info;
}

std::string HelpText(const std::string& strProgram) {
    return "Usage: " + strProgram +
           " [OPTION]... [FILE]\n"
           "Play Zorvik, a falling-block puzzle game with tetrominoes and pentominoes.\n"
           "\n"
           "A FILE named on the command line is only opened and closed again: the game\n"
           "keeps no documents, so it reads nothing from it.\n"
           "\n"
           "  -h, --help     display this help and exit\n"
           "  -V, --version  output version information and exit\n"
           "\n"
           "Qt's own options, such as -platform and -style, are accepted too.\n"
           "\n"
           "Every finished game is appended to the score log zorvik.txt in the folder of\n"
           "the program.\n";
}

std::string VersionText() {
    return "zorvik 1.0\n";
}

std::string CheckFileOpens(const std::string& strPath) {
    const int fd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::strerror(errno);
    }
    struct stat st {};
    const bool bDirectory = fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    close(fd);
    return bDirectory ? std::strerror(EISDIR) : std::string();
}
