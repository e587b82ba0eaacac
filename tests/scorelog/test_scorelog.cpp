// The end-of-game report, its record in the score log and the show-score box, through the view
// and the recording fake.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fakes/fakeplatform.h"
#include "game/keycodes.h"
#include "game/resource.h"
#include "scorelogtestdir.h"

namespace {

// A record as the game writes it; bonus in points, mark for a new record of its level.
std::string Record(int nScore, int nLevel, bool bMark = false, int nPieces = 1, int nBonus = 0) {
    return "Score: " + std::to_string(nScore) + (bMark ? " Nieuw Record!" : "") +
           "\nAantal stukken: " + std::to_string(nPieces) + "\nBonus: " + std::to_string(nBonus) +
           "\nInstellingen:\n  Valtijd: 1000\n  Breedte veld: 10\n  Hoogte veld: 15\n"
           "  Niveau: " +
           std::to_string(nLevel) + "\n\n\n";
}

// The first line of the box that says a record could not be kept; the place and the reason follow.
const std::string kNotSaved = "De score kon niet worden bewaard.\n";

class ScoreLog : public ::testing::Test {
protected:
    ScoreLog() { game.runtime.m_programPath = dir.ProgramPath(); }

    // A finished game whose score is nScore: the score made of pieces alone.
    void FinishGame(int nScore, int nLevel) {
        game.doc.m_nLevel = nLevel;
        game.view.m_nPieces = nScore;
        game.view.m_nBonus = 0;
        game.view.m_nRows = 0;
        game.view.m_nDropPoints = 0;
        game.view.ReportScore();
    }
    std::string LastBox() const { return game.wnd.m_messageBoxes.back().text; }
    // The first line of the last message box, or of the one nBefore boxes before it.
    std::string FirstLine(std::size_t nBefore = 0) const {
        const auto& boxes = game.wnd.m_messageBoxes;
        const std::string& text = boxes.at(boxes.size() - 1 - nBefore).text;
        return text.substr(0, text.find('\n'));
    }

    CScoreLogDir dir;
    CHeadlessGame game;
};

TEST_F(ScoreLog, WorkedExampleRecordIsWrittenByteForByteAfterTheBox) {
    const std::string oldLog = Record(240, 2) + Record(900, 1);
    dir.WriteLog(oldLog);
    game.doc.m_nLevel = 2;
    game.doc.SetFieldSize(12, 20);
    game.view.m_nFallTime = 800;
    game.view.m_nPieces = 57;
    game.view.m_nBonus = 3;
    game.view.m_nRows = 14;
    game.view.m_nDropPoints = 31;
    std::string logWhileBoxOpen;
    game.wnd.m_fnOnMessageBox = [&](const std::string&, const std::string&) {
        logWhileBoxOpen = dir.ReadLog();
    };

    game.view.ReportScore();

    const std::string text =
        "Score: 258 Nieuw Record!\nAantal stukken: 57\nBonus: 30\nInstellingen:\n"
        "  Valtijd: 800\n  Breedte veld: 12\n  Hoogte veld: 20\n  Niveau: 2\n";
    ASSERT_EQ(game.wnd.m_messageBoxes.size(), 1u);
    EXPECT_EQ(game.wnd.m_messageBoxes[0].text, text);
    EXPECT_EQ(game.wnd.m_messageBoxes[0].caption, "Score");
    EXPECT_EQ(game.wnd.m_messageBoxes[0].nType, MB_OK);
    EXPECT_EQ(logWhileBoxOpen, oldLog) << "the record is appended after the box is closed";
    EXPECT_EQ(dir.ReadLog(), oldLog + text + "\n\n");
    EXPECT_EQ(game.doc.m_aBestScore[1], 240) << "the game does not compete with itself";
    EXPECT_EQ(game.doc.m_aBestScore[0], 900);
}

TEST_F(ScoreLog, RecordMarkOnlyForAStrictlyHigherScoreOfTheSameLevel) {
    dir.WriteLog(Record(100, 1) + Record(5000, 2));
    FinishGame(100, 1);
    EXPECT_EQ(FirstLine(), "Score: 100") << "equal";
    FinishGame(99, 1);
    EXPECT_EQ(FirstLine(), "Score: 99") << "lower";
    FinishGame(101, 1);
    EXPECT_EQ(FirstLine(), "Score: 101 Nieuw Record!") << "higher, although level 2 holds more";
    FinishGame(101, 1);
    EXPECT_EQ(FirstLine(), "Score: 101") << "the record just logged counts at the next game";
    FinishGame(1, 3);
    EXPECT_EQ(FirstLine(), "Score: 1 Nieuw Record!") << "a level without games";
}

TEST_F(ScoreLog, EveryFinishedGameIsAppendedWithOrWithoutRecord) {
    ASSERT_FALSE(dir.LogExists());
    FinishGame(0, 1);
    EXPECT_EQ(FirstLine(), "Score: 0") << "score 0 is no record, even with no log";
    ASSERT_TRUE(dir.LogExists()) << "the first record creates the log";
    struct stat st {};
    ASSERT_EQ(::stat(dir.LogPath().c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0600, 0600u);
    EXPECT_EQ(st.st_mode & 0111, 0u);

    FinishGame(7, 1);
    FinishGame(3, 1);
    FinishGame(7, 4);
    EXPECT_EQ(dir.ReadLog(), Record(0, 1, false, 0) + Record(7, 1, true, 7) +
                                 Record(3, 1, false, 3) + Record(7, 4, true, 7));
    EXPECT_EQ(game.wnd.m_messageBoxes.size(), 4u);
}

// A game that the player stops with Esc and one that ends by itself each leave their record,
// written after the beep and the box.
TEST_F(ScoreLog, EveryGameEndLeavesItsRecordAlsoWhenStoppedWithEsc) {
    game.view.OnGameStart();
    game.view.OnKeyDown(VK_ESCAPE, 1, kScanEscape);
    ASSERT_FALSE(game.view.m_bRunning);
    ASSERT_EQ(game.wnd.m_messageBoxes.size(), 1u);
    EXPECT_EQ(game.wnd.m_messageBoxes[0].caption, "Score");
    EXPECT_EQ(dir.ReadLog(), Record(0, 1, false, 0)) << "a stopped game at once scores 0";
    const auto beep = std::find(game.wnd.m_events.begin(), game.wnd.m_events.end(), "Beep 48");
    EXPECT_LT(beep - game.wnd.m_events.begin(),
              std::find(game.wnd.m_events.begin(), game.wnd.m_events.end(), "MessageBox Score") -
                  game.wnd.m_events.begin());

    game.view.OnGameStart();
    for (int i = 0; i < 100000 && game.view.m_bRunning; ++i) {
        game.view.OnTimer(kFallTimerId);
    }
    ASSERT_FALSE(game.view.m_bRunning) << "the pieces pile up until one no longer fits";
    ASSERT_EQ(game.wnd.m_messageBoxes.size(), 2u);
    const std::string report = game.wnd.m_messageBoxes[1].text;
    EXPECT_GT(std::stoi(report.substr(std::strlen("Score: "))), 0);
    EXPECT_NE(report.find(" Nieuw Record!\n"), std::string::npos) << "level 1 held only 0";
    EXPECT_EQ(dir.ReadLog(), Record(0, 1, false, 0) + report + "\n\n");
}

TEST_F(ScoreLog, ShowScoreBoxListsTheBestOfEachLevelRightAligned) {
    game.view.OnGameShowScore();
    ASSERT_EQ(game.wnd.m_messageBoxes.size(), 1u);
    EXPECT_EQ(game.wnd.m_messageBoxes[0].text,
              "Level 1:     0\nLevel 2:     0\nLevel 3:     0\nLevel 4:     0\n");
    EXPECT_EQ(game.wnd.m_messageBoxes[0].caption, "Score");
    EXPECT_EQ(game.wnd.m_messageBoxes[0].nType, MB_OK);
    EXPECT_FALSE(dir.LogExists()) << "showing the scores creates no log";

    const std::string log = Record(42, 2) + Record(123456, 3) + Record(-8, 4) + Record(17, 2);
    dir.WriteLog(log);
    game.view.OnGameShowScore();
    EXPECT_EQ(game.wnd.m_messageBoxes.back().text,
              "Level 1:     0\nLevel 2:    42\nLevel 3: 123456\nLevel 4:     0\n");
    EXPECT_EQ(dir.ReadLog(), log);
}

TEST_F(ScoreLog, LogLiesBesideTheProgramWhateverTheLengthOfItsPath) {
    EXPECT_EQ(game.view.GetScoreLogPath(), dir.LogPath());

    // Far beyond the 255 characters a fixed buffer would hold.
    std::filesystem::path deep = dir.Dir();
    for (int i = 0; i < 12; ++i) {
        deep /= std::string(40, static_cast<char>('a' + i));
    }
    std::filesystem::create_directories(deep);
    game.runtime.m_programPath = (deep / "zorvik").string();
    ASSERT_GT(game.runtime.m_programPath.size(), 500u);
    EXPECT_EQ(game.view.GetScoreLogPath(), (deep / "zorvik.txt").string());

    FinishGame(5, 2);
    FinishGame(6, 2);
    EXPECT_EQ(FirstLine(), "Score: 6 Nieuw Record!");
    EXPECT_TRUE(std::filesystem::exists(deep / "zorvik.txt"));
    EXPECT_FALSE(dir.LogExists());
}

// The log is never looked for in the working directory: a program path without an absolute
// directory has no log at all.
TEST_F(ScoreLog, ProgramPathWithoutDirectoryNeverUsesTheWorkingDirectory) {
    const std::filesystem::path oldCwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Dir());
    dir.WriteLog(Record(500, 1));
    std::filesystem::create_directory(dir.Dir() / "bin");
    for (const char* pszPath : {"", "zorvik", "bin/zorvik", "./zorvik"}) {
        SCOPED_TRACE(pszPath);
        game.runtime.m_programPath = pszPath;
        EXPECT_EQ(game.view.GetScoreLogPath(), "");
        game.wnd.ClearRecords();
        FinishGame(3, 1);
        EXPECT_EQ(FirstLine(1), "Score: 3 Nieuw Record!") << "no log reads as no games";
        EXPECT_EQ(FirstLine(), "De score kon niet worden bewaard.") << "and there is no place";
        game.view.OnGameShowScore();
        EXPECT_EQ(FirstLine(), "Level 1:     0");
    }
    EXPECT_EQ(dir.ReadLog(), Record(500, 1));
    EXPECT_FALSE(std::filesystem::exists(dir.Dir() / "bin" / "zorvik.txt"));
    std::filesystem::current_path(oldCwd);
}

// A log that no place takes is announced in a second box, with the place and the reason.
TEST_F(ScoreLog, LogThatCannotBeOpenedForAppendingIsAnnounced) {
    std::filesystem::create_directory(dir.LogPath());
    FinishGame(12, 1);
    EXPECT_EQ(game.wnd.m_messageBoxes.size(), 2u);
    EXPECT_EQ(LastBox(), kNotSaved + dir.LogPath() + ": Is a directory");
    EXPECT_TRUE(std::filesystem::is_directory(dir.LogPath()));
    EXPECT_EQ(game.doc.m_aBestScore, (std::array<std::int32_t, 4>{}));
    std::filesystem::remove(dir.LogPath());

    // The program's directory is gone.
    game.runtime.m_programPath = (dir.Dir() / "missing" / "zorvik").string();
    FinishGame(12, 1);
    EXPECT_EQ(LastBox(), kNotSaved + (dir.Dir() / "missing" / "zorvik.txt").string() +
                             ": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(dir.Dir() / "missing"));

    // The mode bits hold back the superuser too. A log the player may only read takes no record,
    // though its scores still count, and a folder the player may not write gets no new log.
    game.runtime.m_programPath = dir.ProgramPath();
    game.runtime.m_user = CUserIds{12347, 12347, {}};
    dir.WriteLog(Record(100, 1));
    FinishGame(12, 1);
    EXPECT_EQ(FirstLine(1), "Score: 12");
    EXPECT_EQ(LastBox(), kNotSaved + dir.LogPath() + ": Permission denied");
    EXPECT_EQ(dir.ReadLog(), Record(100, 1));
    std::filesystem::remove(dir.LogPath());
    FinishGame(12, 1);
    EXPECT_EQ(LastBox(), kNotSaved + dir.LogPath() + ": Permission denied");
    EXPECT_FALSE(dir.LogExists());
}

// Where the program's folder cannot take the log, the player's data folder does.
class ScoreLogPlace : public ScoreLog {
protected:
    // A program in a folder that even the superuser cannot write.
    static constexpr const char* kReadOnlyProgram = "/proc/zorvik";

    ScoreLogPlace() {
        std::filesystem::create_directory(Home());
        game.runtime.m_userDataDir = {DataHome().string(), Home().string()};
    }

    std::filesystem::path Home() const { return dir.Dir() / "home"; }
    std::filesystem::path DataHome() const { return Home() / ".local" / "share"; }
    std::filesystem::path UserLog() const { return DataHome() / "zorvik" / "zorvik.txt"; }
    std::string ReadUserLog() const {
        std::ifstream in(UserLog(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static unsigned ModeOf(const std::filesystem::path& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777u : 0u;
    }
};

// A program folder that takes the log keeps it where it always was, byte for byte, and the
// data folder is never made.
TEST_F(ScoreLogPlace, WritableProgramFolderKeepsTheLogBesideTheProgramByteForByte) {
    FinishGame(3, 1);
    const std::string oldLog = Record(3, 1, true, 3) + "some text a player added\n";
    dir.WriteLog(oldLog);
    FinishGame(4, 1);
    FinishGame(2, 1);
    EXPECT_EQ(dir.ReadLog(), oldLog + Record(4, 1, true, 4) + Record(2, 1, false, 2));
    EXPECT_FALSE(std::filesystem::exists(Home() / ".local"));
}

TEST_F(ScoreLogPlace, ReadOnlyProgramFolderKeepsTheLogInTheDataFolderMadePrivate) {
    game.runtime.m_programPath = kReadOnlyProgram;
    game.view.OnGameShowScore();
    game.view.ReadBestScores();
    EXPECT_FALSE(std::filesystem::exists(Home() / ".local")) << "reading makes nothing";

    // Every folder that was missing is made for the player alone, whatever the umask, and the
    // log takes the next records too.
    const mode_t nOldMask = ::umask(0277);
    FinishGame(5, 2);
    EXPECT_EQ(FirstLine(), "Score: 5 Nieuw Record!");
    EXPECT_EQ(ReadUserLog(), Record(5, 2, true, 5));
    for (const auto& folder : {Home() / ".local", DataHome(), DataHome() / "zorvik"}) {
        EXPECT_EQ(ModeOf(folder), 0700u) << folder;
    }

    // The record mark and the show-score box read the log the records go to.
    FinishGame(5, 2);
    EXPECT_EQ(FirstLine(), "Score: 5");
    FinishGame(6, 2);
    EXPECT_EQ(FirstLine(), "Score: 6 Nieuw Record!");
    game.view.OnGameShowScore();
    EXPECT_EQ(game.wnd.m_messageBoxes.back().text,
              "Level 1:     0\nLevel 2:     6\nLevel 3:     0\nLevel 4:     0\n");
    EXPECT_EQ(ReadUserLog(),
              Record(5, 2, true, 5) + Record(5, 2, false, 5) + Record(6, 2, true, 6));
    ::umask(nOldMask);
}

// A data folder that exists keeps its mode; only the missing ones are made.
TEST_F(ScoreLogPlace, ExistingDataFolderIsUsedAsItIs) {
    std::filesystem::create_directories(DataHome() / "zorvik");
    ::chmod(DataHome().c_str(), 0755);
    ::chmod((DataHome() / "zorvik").c_str(), 0750);
    std::ofstream(UserLog(), std::ios::binary) << Record(900, 3);
    game.runtime.m_programPath = kReadOnlyProgram;

    FinishGame(800, 3);
    EXPECT_EQ(FirstLine(), "Score: 800");
    EXPECT_EQ(ReadUserLog(), Record(900, 3) + Record(800, 3, false, 800));
    EXPECT_EQ(ModeOf(DataHome()), 0755u);
    EXPECT_EQ(ModeOf(DataHome() / "zorvik"), 0750u);
}

// A new log in the data folder is the player's alone, also where the folder stood already; one
// beside the program follows the umask, so that a folder shared with a group shares the log too.
TEST_F(ScoreLogPlace, NewLogIsPrivateInTheDataFolderAndFollowsTheUmaskBesideTheProgram) {
    struct Case {
        mode_t nUmask;
        bool bBeside;
        unsigned nMode;
    };
    const Case aCases[] = {
        {022, false, 0600}, {002, false, 0600}, {002, true, 0664},
        {022, true, 0644},  {0277, true, 0600},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.nUmask << " " << c.bBeside);
        game.runtime.m_programPath = c.bBeside ? dir.ProgramPath() : kReadOnlyProgram;
        const std::filesystem::path log =
            c.bBeside ? std::filesystem::path(dir.LogPath()) : UserLog();
        std::filesystem::remove(log);
        const mode_t nOldMask = ::umask(c.nUmask);
        FinishGame(1, 1);
        ::umask(nOldMask);
        EXPECT_EQ(ModeOf(log), c.nMode);
    }
}

// A link on the way to the data folder is followed where only the player can have put it (a data
// folder moved to another disk), never in a folder others may change, where it could lead the
// game's folders and log anywhere.
TEST_F(ScoreLogPlace, LinkOnTheWayIsFollowedOnlyInAFolderNobodyElseCanChange) {
    game.runtime.m_programPath = kReadOnlyProgram;
    std::filesystem::create_directories(dir.Dir() / "disk");
    std::filesystem::create_directories(Home() / ".local");
    std::filesystem::create_directory_symlink(dir.Dir() / "disk", DataHome());
    FinishGame(7, 1);
    EXPECT_EQ(ReadUserLog(), Record(7, 1, true, 7));

    ::chmod((Home() / ".local").c_str(), 0777);
    FinishGame(8, 1);
    EXPECT_EQ(LastBox(), kNotSaved + UserLog().string() + ": Not a directory");
    EXPECT_EQ(ReadUserLog(), Record(7, 1, true, 7));
}

// Something beside the program that is no log it may append to (a folder, a link to nowhere)
// sends the records to the data folder, and nothing is made through the link.
TEST_F(ScoreLogPlace, ProgramFolderWhoseLogIsNoWritableFileUsesTheDataFolder) {
    std::filesystem::create_directory(dir.LogPath());
    FinishGame(7, 1);
    EXPECT_EQ(ReadUserLog(), Record(7, 1, true, 7));
    std::filesystem::remove(dir.LogPath());

    std::filesystem::create_symlink(dir.Dir() / "target.txt", dir.LogPath());
    FinishGame(8, 1);
    EXPECT_EQ(FirstLine(), "Score: 8 Nieuw Record!");
    EXPECT_EQ(ReadUserLog(), Record(7, 1, true, 7) + Record(8, 1, true, 8));
    EXPECT_FALSE(std::filesystem::exists(dir.Dir() / "target.txt"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.LogPath()));
}

// Neither the program's folder nor a data folder can take the log: the report is shown, then a
// box names the last place tried and why, and nothing is left behind. The home folder is never
// made.
TEST_F(ScoreLogPlace, DataFolderThatCannotBeMadeIsAnnounced) {
    game.runtime.m_programPath = kReadOnlyProgram;
    std::ofstream(dir.Dir() / "file") << "in the way\n";
    const std::string file = (dir.Dir() / "file").string();
    const std::string missingHome = (dir.Dir() / "gone").string();
    const std::string beside = "/proc/zorvik.txt: Permission denied";
    const std::pair<CDataFolder, std::string> aCases[] = {
        {{file + "/share", file}, file + "/share/zorvik/zorvik.txt: Not a directory"},
        {{missingHome + "/.local/share", missingHome},
         missingHome + "/.local/share/zorvik/zorvik.txt: No such file or directory"},
        {{"relative/share", "relative"}, beside},
        {{}, beside},
    };
    for (const auto& [dataFolder, reason] : aCases) {
        SCOPED_TRACE(dataFolder.path);
        game.runtime.m_userDataDir = dataFolder;
        game.wnd.ClearRecords();
        FinishGame(12, 1);
        ASSERT_EQ(game.wnd.m_messageBoxes.size(), 2u);
        EXPECT_EQ(FirstLine(1), "Score: 12 Nieuw Record!");
        EXPECT_EQ(LastBox(), kNotSaved + reason);
        game.view.OnGameShowScore();
        EXPECT_EQ(FirstLine(), "Level 1:     0");
    }
    EXPECT_FALSE(std::filesystem::exists(missingHome));

    // A home folder of another user is not written, whoever runs the game.
    game.runtime.m_user = CUserIds{12347, 12347, {}};
    game.runtime.m_userDataDir = {DataHome().string(), Home().string()};
    FinishGame(12, 1);
    EXPECT_EQ(LastBox(), kNotSaved + UserLog().string() + ": Permission denied");
    EXPECT_TRUE(std::filesystem::is_empty(Home()));
    EXPECT_FALSE(std::filesystem::exists("relative"));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.Dir() / "file"));
}

}  // namespace
