// The end-of-game report, its record in the score log and the show-score box, through the view
// and the recording fake.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
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
    // The first line of the last message box.
    std::string FirstLine() const {
        const std::string& text = game.wnd.m_messageBoxes.back().text;
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
    EXPECT_GT(std::stoi(report.substr(7)), 0);
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
        EXPECT_EQ(FirstLine(), "Score: 3 Nieuw Record!") << "no log reads as no games";
        EXPECT_EQ(game.wnd.m_messageBoxes.size(), 1u);
        game.view.OnGameShowScore();
        EXPECT_EQ(game.wnd.m_messageBoxes.back().text.substr(0, 15), "Level 1:     0\n");
    }
    EXPECT_EQ(dir.ReadLog(), Record(500, 1));
    EXPECT_FALSE(std::filesystem::exists(dir.Dir() / "bin" / "zorvik.txt"));
    std::filesystem::current_path(oldCwd);
}

TEST_F(ScoreLog, LogThatCannotBeOpenedForAppendingIsSkippedSilently) {
    std::filesystem::create_directory(dir.LogPath());
    FinishGame(12, 1);
    EXPECT_EQ(game.wnd.m_messageBoxes.size(), 1u) << "only the report";
    EXPECT_TRUE(std::filesystem::is_directory(dir.LogPath()));
    EXPECT_EQ(game.doc.m_aBestScore, (std::array<std::int32_t, 4>{}));
    std::filesystem::remove(dir.LogPath());

    // The program's directory is gone.
    game.runtime.m_programPath = (dir.Dir() / "missing" / "zorvik").string();
    FinishGame(12, 1);
    EXPECT_EQ(game.wnd.m_messageBoxes.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(dir.Dir() / "missing"));

    // Permissions do not hold back the superuser.
    if (::geteuid() != 0) {
        game.runtime.m_programPath = dir.ProgramPath();
        dir.WriteLog(Record(1, 1));
        std::filesystem::permissions(dir.LogPath(), std::filesystem::perms::owner_read);
        FinishGame(12, 1);
        EXPECT_EQ(FirstLine(), "Score: 12 Nieuw Record!") << "a read-only log is still read";
        EXPECT_EQ(dir.ReadLog(), Record(1, 1));
        std::filesystem::remove(dir.LogPath());
        std::filesystem::permissions(
            dir.Dir(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        FinishGame(12, 1);
        EXPECT_FALSE(dir.LogExists());
        EXPECT_EQ(game.wnd.m_messageBoxes.size(), 4u);
    }
}

}  // namespace
