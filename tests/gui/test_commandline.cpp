// The command line of the program itself, run as a separate process: its answers, its messages,
// and its window on an X server of its own.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "app/commandline.h"
#include "app/quotename.h"
#include "runprocess.h"

namespace {

// The program on the offscreen platform, silent, unless env says otherwise.
CRun RunZorvik(const std::vector<std::string>& args, std::vector<std::string> env = {},
               int nWaitMs = 5000) {
    env.insert(env.begin(), {"QT_QPA_PLATFORM=offscreen", "CANBERRA_DRIVER=none"});
    return RunProgram(ZORVIK_EXE, args, env, nWaitMs);
}

// No display of any kind: what a login without a desktop gives.
const std::vector<std::string> kNoDisplay = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY",
                                             "WAYLAND_SOCKET", "XDG_SESSION_TYPE"};

std::vector<std::string> NoDisplayAnd(std::vector<std::string> env) {
    env.insert(env.begin(), kNoDisplay.begin(), kNoDisplay.end());
    return env;
}

// A display number nobody serves here.
std::string UnusedDisplay() {
    int n = 7919;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n))) {
        ++n;
    }
    return ":" + std::to_string(n);
}

bool IsOneLine(const std::string& text) {
    return !text.empty() && text.find('\n') == text.size() - 1;
}

TEST(CommandLine, HelpAndVersionAnswerOnStdoutAndExitZero) {
    for (const char* pszOption : {"--help", "-h"}) {
        const CRun run = RunZorvik({pszOption});
        EXPECT_EQ(run.nExit, 0);
        EXPECT_TRUE(run.out.starts_with("Usage: zorvik [OPTION]... [FILE]\n")) << run.out;
        EXPECT_NE(run.out.find("--version"), std::string::npos);
        EXPECT_NE(run.out.find("~/.local/share/zorvik/zorvik.txt"), std::string::npos)
            << "the help says where the score log of an installed copy lives";
    }
    const CRun run = RunZorvik({"--version"});
    EXPECT_EQ(run.nExit, 0);
    EXPECT_EQ(run.out, "zorvik 1.0b\n");
}

// A file that cannot be opened ends the program with an error and no window.
TEST(CommandLine, UnopenableFileIsReportedAndEndsTheProgram) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CRun run = RunZorvik({dir.filePath("missing.txt").toStdString()});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("cannot open"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("missing.txt"), std::string::npos);
    EXPECT_TRUE(run.out.empty());
    run = RunZorvik({dir.path().toStdString()});
    EXPECT_EQ(run.nExit, 1) << "a folder is no file";
    EXPECT_NE(run.err.find("Is a directory"), std::string::npos) << run.err;
    // A name can neither colour the terminal nor break the message's line.
    run = RunZorvik({"\x1b[31mRED\x1b[0m"});
    EXPECT_EQ(run.err, R"(zorvik: cannot open ''$'\033''[31mRED'$'\033''[0m': )"
                       "No such file or directory\n");
    run = RunZorvik({"a\nb"});
    EXPECT_EQ(run.err, R"(zorvik: cannot open 'a'$'\n''b': No such file or directory)"
                       "\n");
    run = RunZorvik({"--", "-reverse"});
    EXPECT_EQ(run.err, "zorvik: cannot open '-reverse': No such file or directory\n")
        << "after \"--\" Qt takes no option";
}

// A named pipe without a writer would block an ordinary open, and opening a device can act on
// it: neither is opened, and both are refused at once like a missing file.
TEST(CommandLine, NamedPipeAndDeviceAreRefusedWithoutWaiting) {
    QTemporaryDir dir;
    const std::string fifo = dir.filePath("pijp").toStdString();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CRun run = RunZorvik({fifo});
    EXPECT_FALSE(run.bStillRunning) << "the program waited on the pipe";
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("cannot open '" + fifo + "': Is a named pipe"), std::string::npos)
        << run.err;
    run = RunZorvik({"/dev/null"});
    EXPECT_EQ(run.nExit, 1);
    EXPECT_NE(run.err.find("cannot open '/dev/null': Is a character device"), std::string::npos)
        << run.err;
}

TEST(CommandLine, UnknownOptionsAndExtraFilesAreUsageErrors) {
    CRun run = RunZorvik({"--bogus"});
    EXPECT_EQ(run.nExit, 2);
    EXPECT_NE(run.err.find("unrecognized option '--bogus'"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("zorvik --help"), std::string::npos);
    run = RunZorvik({"a.txt", "b.txt"});
    EXPECT_EQ(run.nExit, 2);
    EXPECT_NE(run.err.find("'b.txt'"), std::string::npos);
}

// The program shows its window, with or without a file to open (it reads nothing from one, and a
// name that is not valid UTF-8 opens by its bytes), with Qt's options around the name, and where
// Qt reaches the X server only after a platform that fails. Qt's words on the platform that
// failed are not shown.
TEST(CommandLine, ProgramShowsItsWindow) {
    CXvfb xvfb;
    if (!xvfb.IsRunning()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    QTemporaryDir dir;
    const std::string path = dir.filePath("spel.zrv").toStdString();
    const std::string notUtf8 = dir.filePath("\xff\xfe.txt").toStdString();
    for (const std::string& file : {path, notUtf8}) {
        std::ofstream(file) << "anything";
        ASSERT_TRUE(std::filesystem::exists(file));
    }
    struct CCase {
        std::vector<std::string> args;
        std::vector<std::string> env;
    };
    const CCase aCases[] = {
        {{}, {}},
        {{path}, {}},
        {{notUtf8}, {}},
        {{"-style", "fusion", path, "-platform", "xcb"}, {}},
        {{"-display", xvfb.Display()}, {"DISPLAY"}},
        {{}, {"WAYLAND_DISPLAY=zorvik-none"}},
        {{"-platform", "bogus;xcb"}, {}},
    };
    for (const CCase& c : aCases) {
        std::vector<std::string> env = NoDisplayAnd({"CANBERRA_DRIVER=none"});
        env.push_back("DISPLAY=" + xvfb.Display());
        env.insert(env.end(), c.env.begin(), c.env.end());
        const CRun run = RunProgram(ZORVIK_EXE, c.args, env, 20000,
                                    [&] { return xvfb.ShowsWindow("Zorvik niveau "); });
        EXPECT_TRUE(run.bSeen) << testing::PrintToString(c.args) << run.err;
        EXPECT_EQ(run.err, "") << testing::PrintToString(c.args);
    }
}

// Without a display the program says so in one line and ends with status 1, where Qt would
// abort with its long plugin message; what needs no display still works without one.
TEST(CommandLine, NoDisplayIsOneLineAndStatusOne) {
    struct CCase {
        std::vector<std::string> args;
        std::vector<std::string> env;
        std::string expected;  // in the parentheses of the message
    };
    const std::string unused = UnusedDisplay();
    const CCase aCases[] = {
        {{}, {}, "could not connect to display"},
        {{}, {"DISPLAY=" + unused}, "could not connect to display " + unused},
        {{"-platform", "bogus"}, {}, "Could not find the Qt platform plugin \"bogus\""},
        {{}, {"QT_QPA_PLATFORM=bogus"}, "Could not find the Qt platform plugin \"bogus\""},
        {{"-display", unused}, {"DISPLAY=:0"}, "could not connect to display " + unused},
        // Qt cannot find its Wayland plugin (no qt6-wayland) or cannot load it (no compositor).
        {{}, {"WAYLAND_DISPLAY=zorvik-none"}, "Qt platform plugin \"wayland\""},
    };
    for (const CCase& c : aCases) {
        const CRun run = RunZorvik(c.args, NoDisplayAnd(c.env));
        EXPECT_EQ(run.nExit, 1) << run.err;
        EXPECT_EQ(run.nSignal, 0);
        EXPECT_TRUE(run.err.starts_with("zorvik: cannot open the display (")) << run.err;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
        EXPECT_EQ(run.err.find("Reinstalling"), std::string::npos) << "Qt's own last word";
    }
    EXPECT_EQ(RunZorvik({"--help"}, NoDisplayAnd({})).nExit, 0);
    EXPECT_EQ(RunZorvik({"--version"}, NoDisplayAnd({})).nExit, 0);
    EXPECT_EQ(RunZorvik({"--bogus"}, NoDisplayAnd({})).nExit, 2);
    EXPECT_EQ(RunZorvik({"-x", "-platform", "bogus"}, NoDisplayAnd({})).nExit, 2);
}

// Qt's diagnostics, where a user turns them on, pass on line by line as Qt gives them, before the
// program's own line.
TEST(CommandLine, QtDiagnosticsPassOnBeforeTheNoDisplayLine) {
    const std::pair<const char*, const char*> aCases[] = {
        {"QT_DEBUG_PLUGINS=1", "qt.core.plugin.factoryloader: checking directory path \""},
        {"QT_LOGGING_RULES=qt.qpa.*=true", "qt.qpa.plugin: init_platform called with "},
    };
    for (const auto& [pszVariable, pszFirst] : aCases) {
        const CRun run = RunZorvik({}, NoDisplayAnd({pszVariable}));
        EXPECT_EQ(run.nExit, 1);
        EXPECT_TRUE(run.err.starts_with(pszFirst)) << run.err;
        const std::size_t nLast = run.err.rfind('\n', run.err.size() - 2) + 1;
        EXPECT_TRUE(run.err.substr(nLast).starts_with("zorvik: cannot open the display (could"))
            << run.err;
    }
}

// Qt's own options are passed over with their values, the way Qt takes them; after "--" every
// argument is a file name.
TEST(CommandLine, QtOptionsArePassedOverWithTheirValues) {
    using EShellCommand = CCommandLineInfo::EShellCommand;
    CCommandLineInfo info =
        ParseCommandLine({"-style", "fusion", "--platform", "xcb:x=1", "-reverse", "spel.zrv",
                          "-display", ":3", "-platformpluginpath", "/p", "-stylesheet=a.qss"});
    EXPECT_EQ(info.m_nShellCommand, EShellCommand::kFileOpen) << info.m_strError;
    EXPECT_EQ(info.m_strFileName, "spel.zrv");

    info = ParseCommandLine({"-platform=xcb"});
    EXPECT_EQ(info.m_nShellCommand, EShellCommand::kUsageError) << "Qt takes no -platform=";
    info = ParseCommandLine({"-style", "fusion", "--", "-reverse"});
    EXPECT_EQ(info.m_nShellCommand, EShellCommand::kFileOpen);
    EXPECT_EQ(info.m_strFileName, "-reverse");
    info = ParseCommandLine({"--", "-h", "-platform", "offscreen"});
    EXPECT_EQ(info.m_strError, "extra operand '-platform'");
}

// Names are quoted as GNU ls --quoting-style=shell-escape-always quotes them.
TEST(QuoteName, QuotesAsGnuToolsDo) {
    const std::pair<std::string, std::string> aCases[] = {
        {"plain", "'plain'"},
        {"sp ace", "'sp ace'"},
        {"", "''"},
        {"it's", R"("it's")"},
        {"\xc3\xa9'", "\"\xc3\xa9'\""},
        {"a'b\"c", R"('a'\''b"c')"},
        {"a'$b", R"('a'\''$b')"},
        {"a'~b", R"('a'\''~b')"},
        {"~'", R"("~'")"},
        {"\xc3\xbcmlaut \xf0\x9f\x98\x80", "'\xc3\xbcmlaut \xf0\x9f\x98\x80'"},
        {"\x1b[31mRED\x1b[0m", R"(''$'\033''[31mRED'$'\033''[0m')"},
        {"a\nb", R"('a'$'\n''b')"},
        {"a\rb\a\b\t\v\f", R"('a'$'\r''b'$'\a\b\t\v\f')"},
        {"\x01'x", R"(''$'\001'\''x')"},
        {"a'\001b", R"('a'\'''$'\001''b')"},
        {"\x7f", R"(''$'\177')"},
        {"\xff\xfe.txt", R"(''$'\377\376''.txt')"},        // not UTF-8
        {"\xc2\x80", R"(''$'\302\200')"},                  // a control character
        {"a\342\200\250b", R"('a'$'\342\200\250''b')"},    // the line separator
        {"\xe2\x82x", R"(''$'\342\202''x')"},              // cut short
        {"\xc0\xaf", R"(''$'\300\257')"},                  // too long a form
        {"\xed\xa0\x80", R"(''$'\355\240\200')"},          // a surrogate
        {"\xf4\x90\x80\x80", R"(''$'\364\220\200\200')"},  // beyond Unicode
    };
    for (const auto& [name, quoted] : aCases) {
        EXPECT_EQ(QuoteName(name), quoted) << quoted;
    }
}

}  // namespace
