#include "app/commandline.h"

#include <fcntl.h>
#include <algorithm>
#include <string_view>

#include "app/quotename.h"
#include "platform/regularfile.h"

namespace {

// Qt's own options, which Qt takes with "-" or "--" in front: those that take the next argument
// as their value, and those that stand alone. The xcb platform takes "display" to "icon",
// "nograb" and "dograb"; on another platform Qt leaves them on the command line, and they are
// passed over here all the same.
constexpr std::string_view kQtValueOptions[] = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowtitle",       "qwindowicon",   "session",
    "style",           "stylesheet",         "display",       "name",
    "visual",          "geometry",           "title",         "icon"};
constexpr std::string_view kQtFlagOptions[] = {"reverse", "testability", "widgetcount", "qdevel",
                                               "qdebug",  "nograb",      "dograb"};
// Qt's options that carry their value in the same argument, as in -style=fusion.
constexpr std::string_view kQtJoinedOptions[] = {"style=", "stylesheet=", "qmljsdebugger="};

// How many arguments after arg belong to it when arg is one of Qt's options (0 or 1), else -1.
int QtOptionValues(std::string_view arg) {
    if (arg.starts_with("--")) {
        arg.remove_prefix(1);
    }
    if (arg.size() < 2 || arg[0] != '-') {
        return -1;
    }
    arg.remove_prefix(1);
    if (std::ranges::find(kQtValueOptions, arg) != std::end(kQtValueOptions)) {
        return 1;
    }
    const auto isPrefix = [&](std::string_view joined) { return arg.starts_with(joined); };
    return std::ranges::find(kQtFlagOptions, arg) != std::end(kQtFlagOptions) ||
                   std::ranges::any_of(kQtJoinedOptions, isPrefix)
               ? 0
               : -1;
}

}  // namespace

CCommandLineInfo ParseCommandLine(const std::vector<std::string>& args) {
    using EShellCommand = CCommandLineInfo::EShellCommand;
    CCommandLineInfo info;
    std::vector<std::string> files;
    bool bOptions = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!bOptions) {
            files.push_back(arg);
        } else if (const int nValues = QtOptionValues(arg); nValues >= 0) {
            if (nValues > 0 && i + 1 < args.size()) {
                ++i;
            }
        } else if (arg == "--") {
            bOptions = false;
        } else if (arg == "--help" || arg == "-h") {
            info.m_nShellCommand = EShellCommand::kHelp;
            return info;
        } else if (arg == "--version" || arg == "-V") {
            info.m_nShellCommand = EShellCommand::kVersion;
            return info;
        } else if (arg.starts_with("--")) {
            if (info.m_strError.empty()) {
                info.m_strError = "unrecognized option " + QuoteName(arg);
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            if (info.m_strError.empty()) {
                info.m_strError = "invalid option -- " + QuoteName(arg.substr(1));
            }
        } else {
            files.push_back(arg);
        }
    }
    if (info.m_strError.empty() && files.size() > 1) {
        info.m_strError = "extra operand " + QuoteName(files[1]);
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
           "A FILE named on the command line must be a regular file. It is only opened and\n"
           "closed again: the game keeps no documents, so it reads nothing from it.\n"
           "\n"
           "  -h, --help     display this help and exit\n"
           "  -V, --version  output version information and exit\n"
           "\n"
           "Qt's own options, such as -platform and -style, are accepted too.\n"
           "\n"
           "Every finished game is appended to the score log zorvik.txt beside the program,\n"
           "where you may write that file or create it, but never beside a copy installed\n"
           "under /usr or /opt. Otherwise, or when that append fails, the log is\n"
           "$XDG_DATA_HOME/zorvik/zorvik.txt, by default ~/.local/share/zorvik/zorvik.txt.\n"
           "A zorvik.txt that is a symbolic link is never followed. The best scores count\n"
           "both logs. A record that no place takes is announced in a box.\n"
           "\n"
           "Exit status: 0 when the game ends normally, 1 when FILE or the display cannot\n"
           "be opened, 2 for a mistake on the command line.\n";
}

std::string VersionText() {
    return "zorvik " ZORVIK_VERSION "\n";
}

std::string CheckFileOpens(const std::string& strPath) {
    const CRegularFile file(AT_FDCWD, strPath.c_str(), O_RDONLY);
    return file.IsOpen() ? std::string() : file.Error();
}
