// The game controller: Start, piece choice, the fall step with landing and scoring, the fall
// interval, the end of a game and the commands that wait for no game.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "gametest.h"

using namespace gametest;

namespace {

using Strings = std::vector<std::string>;

std::string ScoreText(int nScore, int nInterval) {
    return "Status Score: " + std::to_string(nScore) + ", Valtijd: " + std::to_string(nInterval) +
           "ms";
}

// Turns the five-square bar upright in column 5 and drops it onto whatever is below.
void DropUprightBar(CHeadlessGame& game) {
    Press(game.view, kKeyDown);
    Press(game.view, kKeyDown);
    Press(game.view, kKeyUp);
    Press(game.view, kKeySpace);
}

Strings EmptyRows(int nHeight, int nWidth = 10) {
    return Strings(static_cast<std::size_t>(nHeight),
                   std::string(static_cast<std::size_t>(nWidth), '.'));
}

// --- Start ----------------------------------------------------------------------------------

TEST(Start, StartsAFreshGameWithTwoUncountedPiecesAndTheSettingAsFirstPeriod) {
    CHeadlessGame game;
    game.doc.m_nLevel = 3;
    game.runtime.m_nTime = 1234567;
    game.runtime.m_randScript = {kT4, kF5, 9};
    // What an earlier game left behind.
    Settle(game, 0, 14);
    game.view.m_nRows = 9;
    game.view.m_nBonus = 3;
    game.view.m_nPieces = 4;
    game.view.m_nDropPoints = 8;
    game.view.m_bPaused = TRUE;
    game.view.m_nFallTime = 700;

    game.view.OnGameStart();

    EXPECT_EQ(game.runtime.m_seeds, std::vector<std::uint32_t>{1234567}) << "seeded with the time";
    EXPECT_EQ(game.runtime.m_nRandCalls, 2);
    EXPECT_EQ(EventsOf(game.wnd, {"Invalidate", "KillTimer", "SetTimer", "Status", "Beep"}),
              (Strings{"Invalidate", "KillTimer 1", "SetTimer 1 700"}));
    EXPECT_TRUE(game.wnd.m_statusTexts.empty()) << "Start sets no status text";
    EXPECT_EQ(game.wnd.m_nDefaults, 0);
    EXPECT_EQ(game.view.m_bRunning, TRUE);
    EXPECT_EQ(game.view.m_bPaused, FALSE);
    EXPECT_EQ(game.view.m_nRows, 0);
    EXPECT_EQ(game.view.m_nBonus, 0);
    EXPECT_EQ(game.view.m_nPieces, 0) << "the two pieces chosen at Start are not counted";
    EXPECT_EQ(game.view.m_nDropPoints, 0);
    EXPECT_EQ(game.view.GetScore(), 0);
    EXPECT_EQ(game.view.m_nFallTime, 700) << "a setting, not game state";
    EXPECT_EQ(game.view.m_nCurPiece, kT4);
    EXPECT_EQ(game.view.m_nCurX, 5);
    EXPECT_EQ(game.view.m_nCurY, 0);
    EXPECT_EQ(game.view.m_nNextPiece, kF5);
    EXPECT_EQ(game.view.m_nNextX, 5);
    EXPECT_EQ(game.view.m_nNextY, 1);
    Strings rows = EmptyRows(15);
    rows[0] = "....ccc...";
    rows[1] = ".....c....";
    EXPECT_EQ(Rows(game.doc.m_field), rows) << "the old field is cleared, the piece written";
}

TEST(Start, TwoGamesStartedInTheSameSecondGetTheSamePieces) {
    const auto play = [](CHeadlessGame& game) {
        game.view.OnGameStart();
        std::vector<int> pieces{game.view.m_nCurPiece, game.view.m_nNextPiece};
        for (int i = 0; i < 20; ++i) {
            int nIndex = 0;
            int x = 0;
            int y = 0;
            game.view.ChoosePiece(nIndex, x, y);
            pieces.push_back(nIndex);
        }
        Press(game.view, kKeyEscape);
        return pieces;
    };
    CHeadlessGame game;
    game.doc.m_nLevel = 3;
    const std::vector<int> first = play(game);
    EXPECT_EQ(play(game), first);
    game.runtime.m_nTime += 1;
    EXPECT_NE(play(game), first) << "a second later the sequence is another";
}

TEST(Start, AFieldTooSmallForThePieceEndsTheGameWithoutWritingOutsideIt) {
    struct CCase {
        int nWidth;
        int nHeight;
        int nPiece;
    };
    for (const CCase& c : {CCase{3, 3, kI5}, CCase{1, 1, kO4}, CCase{50, 1, kT4}}) {
        SCOPED_TRACE(std::to_string(c.nWidth) + "x" + std::to_string(c.nHeight));
        CHeadlessGame game;
        game.doc.SetFieldSize(c.nWidth, c.nHeight);
        game.doc.m_nLevel = 3;
        game.runtime.m_randScript = {c.nPiece, kO4, kT4};
        game.view.OnGameStart();
        EXPECT_EQ(game.view.m_bRunning, FALSE);
        EXPECT_EQ(game.wnd.m_beeps, std::vector<UINT>{MB_ICONEXCLAMATION});
        EXPECT_FALSE(game.wnd.HasTimer(kFallTimerId));
        EXPECT_EQ(Rows(game.doc.m_field), EmptyRows(c.nHeight, c.nWidth));
        Tick(game.view);
        Press(game.view, kKeyLeft);
        EXPECT_EQ(Rows(game.doc.m_field), EmptyRows(c.nHeight, c.nWidth));
        EXPECT_EQ(game.wnd.m_nDefaults, 0);
    }
}

// --- Piece choice ---------------------------------------------------------------------------

std::vector<int> Choose(CHeadlessGame& game, int nLevel, const std::vector<int>& draws) {
    game.doc.m_nLevel = nLevel;
    game.runtime.m_randScript.assign(draws.begin(), draws.end());
    std::vector<int> pieces;
    for (std::size_t i = 0; i < draws.size(); ++i) {
        int nIndex = -1;
        int x = 0;
        int y = 0;
        game.view.ChoosePiece(nIndex, x, y);
        pieces.push_back(nIndex);
    }
    return pieces;
}

TEST(ChoosePiece, EachLevelDrawsOnlyItsOwnPiecesAndCountsEveryChoice) {
    CHeadlessGame game;
    const std::vector<int> draws = {0, 1, 2, 3, 4, 5, 11, 12, 16, 17, 32767};
    EXPECT_EQ(Choose(game, 1, draws), (std::vector<int>{0, 1, 2, 3, 4, 0, 1, 2, 1, 2, 2}))
        << "level 1: the tetrominoes";
    EXPECT_EQ(Choose(game, 2, draws), (std::vector<int>{5, 6, 7, 8, 9, 10, 16, 5, 9, 10, 12}))
        << "level 2: the pentominoes";
    EXPECT_EQ(Choose(game, 3, draws), (std::vector<int>{0, 1, 2, 3, 4, 5, 11, 12, 16, 0, 8}))
        << "level 3: all seventeen";
    EXPECT_EQ(game.view.m_nPieces, 33);

    std::vector<int> draws4(17);
    for (int i = 0; i < 17; ++i) {
        draws4[static_cast<std::size_t>(i)] = i;
    }
    draws4.push_back(32767);
    EXPECT_EQ(Choose(game, 4, draws4),
              (std::vector<int>{1, 1, 3, 3, 5, 5, 7, 7, 9, 9, 11, 11, 13, 13, 15, 15, 1, 9}))
        << "level 4: odd indices only, index 1 from draws 0, 1 and 16";
}

TEST(ChoosePiece, ALevelOutsideOneToFourOrANegativeDrawStillGivesAPieceOfTheSet) {
    CHeadlessGame game;
    for (int nLevel : {0, 5, -1, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(nLevel);
        EXPECT_EQ(Choose(game, nLevel, {0, 16, 17, 32767}), (std::vector<int>{0, 16, 0, 8}))
            << "plays the whole set, like level 3";
    }
    const std::vector<int> negative = {-1, -17, -5, INT_MIN};
    for (int nIndex : Choose(game, 1, negative)) {
        EXPECT_TRUE(nIndex >= 0 && nIndex <= 4) << nIndex;
    }
    for (int nIndex : Choose(game, 2, negative)) {
        EXPECT_TRUE(nIndex >= 5 && nIndex <= 16) << nIndex;
    }
    for (int nIndex : Choose(game, 4, negative)) {
        EXPECT_TRUE(nIndex >= 1 && nIndex <= 15 && nIndex % 2 == 1) << nIndex;
    }
}

TEST(ChoosePiece, APieceStartsInTheMiddleColumnWithItsTopSquareInRowZero) {
    CHeadlessGame game;
    game.doc.m_nLevel = 3;
    for (const auto& [nWidth, nColumn] :
         {std::pair{10, 5}, std::pair{15, 7}, std::pair{50, 25}, std::pair{11, 5}}) {
        game.doc.SetFieldSize(nWidth, 20);
        game.runtime.m_randScript = {kI4};
        int nIndex = 0;
        int x = 0;
        int y = 0;
        game.view.ChoosePiece(nIndex, x, y);
        EXPECT_EQ(x, nColumn) << "width " << nWidth;
    }
    for (int nPiece = 0; nPiece < kPieceCount; ++nPiece) {
        game.runtime.m_randScript = {nPiece};
        int nIndex = 0;
        int x = 0;
        int y = 0;
        game.view.ChoosePiece(nIndex, x, y);
        const bool bReachesUp = nPiece == 5 || nPiece == 13 || nPiece == 14 || nPiece == 16;
        EXPECT_EQ(y, bReachesUp ? 1 : 0) << "piece " << nPiece;
        int nTop = INT_MAX;
        for (const CellOffset& c : InitialCells(nPiece)) {
            nTop = std::min(nTop, y + c.y);
        }
        EXPECT_EQ(nTop, 0) << "piece " << nPiece;
    }
}

// --- Landing and scoring --------------------------------------------------------------------

TEST(Landing, ALandingWithoutRowsLeavesTheTimerAloneAndShowsThePiecesLandedBefore) {
    CHeadlessGame game;
    StartWith(game, {kO4, kI4, kT4, kL4});
    for (int i = 1; i <= 13; ++i) {
        Tick(game.view);
        ASSERT_EQ(game.view.m_nCurY, i) << "one row per tick";
    }
    EXPECT_EQ(game.view.m_nPieces, 0);
    Tick(game.view);
    EXPECT_EQ(game.view.m_nPieces, 1) << "landed";
    EXPECT_EQ(GameEvents(game.wnd), Events({ScoreText(0, 1000)}))
        << "the first landing shows 0 and the setting, and touches no timer";
    EXPECT_EQ(game.wnd.TimerPeriod(kFallTimerId), 1000u);
    EXPECT_EQ(game.wnd.m_nDefaults, 14) << "every tick of a running game is passed on";
    EXPECT_EQ(game.view.m_nCurPiece, kI4);
    EXPECT_EQ(game.view.m_nNextPiece, kT4);
    Strings rows = EmptyRows(15);
    rows[0] = "....aaaa..";
    rows[13] = ".....ee...";
    rows[14] = ".....ee...";
    EXPECT_EQ(Rows(game.doc.m_field), rows);

    // The bar drops 12 rows (13 attempts) onto the square: drop points 13 and one bonus unit.
    game.wnd.ClearRecords();
    Press(game.view, kKeySpace);
    Tick(game.view);
    EXPECT_EQ(GameEvents(game.wnd), Events({ScoreText(13 + 10 + 1, 1000)}));
    EXPECT_EQ(game.view.GetScore(), 13 + 10 + 2);
}

TEST(Landing, RowsRemovedAtOnceScoreTenFiftyNinetyHundredFortyAndTwoHundred) {
    const int kPoints[] = {0, 10, 50, 90, 140, 200};
    const int kBonusUnits[] = {0, 0, 3, 6, 10, 15};
    for (int g = 1; g <= 5; ++g) {
        SCOPED_TRACE(std::to_string(g) + " rows");
        CHeadlessGame game;
        StartWith(game, {kI5, kO4, kL4});
        for (int y = 15 - g; y < 15; ++y) {
            FillRowExcept(game, y, {5});
        }
        Settle(game, 0, 14 - g);  // ends on the bottom row: the field is not played empty
        DropUprightBar(game);
        game.wnd.ClearRecords();
        const int nScore = game.view.GetScore();
        const int nBonus = game.view.m_nBonus;

        Tick(game.view);

        const int nInterval = 1000 - 5 * g;
        EXPECT_EQ(game.view.m_nRows, g);
        EXPECT_EQ(game.view.m_nBonus - nBonus, kBonusUnits[g]);
        EXPECT_EQ(game.view.GetScore() - nScore, kPoints[g] + 1) << "the rows and the next piece";
        EXPECT_EQ(GameEvents(game.wnd),
                  Events({"KillTimer 1", "SetTimer 1 " + std::to_string(nInterval),
                          ScoreText(nScore + kPoints[g], nInterval)}));
        EXPECT_EQ(game.wnd.TimerPeriod(kFallTimerId), static_cast<UINT>(nInterval));
        EXPECT_TRUE(game.wnd.m_beeps.empty());
        Strings rows = EmptyRows(15);
        rows[0] = ".....ee...";
        rows[1] = ".....ee...";
        for (int y = 10 + g; y < 15; ++y) {
            rows[static_cast<std::size_t>(y)][5] = 'g';
        }
        rows[14][0] = '#';
        EXPECT_EQ(Rows(game.doc.m_field), rows) << "what stood above moved down " << g;
    }
}

TEST(Landing, PlayingTheFieldEmptyEarnsAThousandPointsAndTheInformationBeep) {
    {
        SCOPED_TRACE("one row");
        CHeadlessGame game;
        StartWith(game, {kI4, kO4, kL4});
        FillRowExcept(game, 14, {4, 5, 6, 7});
        Press(game.view, kKeySpace);
        game.wnd.ClearRecords();
        const int nScore = game.view.GetScore();
        const int nBonus = game.view.m_nBonus;
        Tick(game.view);
        EXPECT_EQ(game.view.m_nBonus - nBonus, 100);
        EXPECT_EQ(game.view.GetScore() - nScore, 10 + 1000 + 1);
        EXPECT_EQ(GameEvents(game.wnd), Events({"Beep 64", "KillTimer 1", "SetTimer 1 995",
                                                ScoreText(nScore + 1010, 995)}));
        Strings rows = EmptyRows(15);
        rows[0] = ".....ee...";
        rows[1] = ".....ee...";
        EXPECT_EQ(Rows(game.doc.m_field), rows);
    }
    {
        SCOPED_TRACE("two rows");
        CHeadlessGame game;
        StartWith(game, {kO4, kI4, kL4});
        FillRowExcept(game, 13, {5, 6});
        FillRowExcept(game, 14, {5, 6});
        Press(game.view, kKeySpace);
        game.wnd.ClearRecords();
        const int nScore = game.view.GetScore();
        const int nBonus = game.view.m_nBonus;
        Tick(game.view);
        EXPECT_EQ(game.view.m_nBonus - nBonus, 3 + 100);
        EXPECT_EQ(game.view.GetScore() - nScore, 50 + 1000 + 1);
        EXPECT_EQ(game.wnd.m_beeps, std::vector<UINT>{MB_ICONASTERISK});
        EXPECT_EQ(game.wnd.TimerPeriod(kFallTimerId), 990u);
    }
}

// --- Fall interval and score ----------------------------------------------------------------

TEST(FallInterval, ShortensFiveMillisecondsPerRowButNeverBelowHundredFifty) {
    CHeadlessGame game;
    CZorvikView& view = game.view;
    EXPECT_EQ(view.GetFallInterval(0), 1000);
    EXPECT_EQ(view.GetFallInterval(1), 995);
    EXPECT_EQ(view.GetFallInterval(169), 155);
    EXPECT_EQ(view.GetFallInterval(170), 150);
    EXPECT_EQ(view.GetFallInterval(171), 150);
    EXPECT_EQ(view.GetFallInterval(INT_MAX), 150) << "no overflow";
    view.m_nFallTime = 400;
    EXPECT_EQ(view.GetFallInterval(49), 155);
    EXPECT_EQ(view.GetFallInterval(50), 150);
    view.m_nFallTime = 2000;
    EXPECT_EQ(view.GetFallInterval(10), 1950);

    view.m_nDropPoints = 7;
    view.m_nRows = 3;
    view.m_nBonus = 4;
    view.m_nPieces = 5;
    EXPECT_EQ(view.GetScore(), 7 + 10 * (3 + 4) + 5);
}

TEST(FallInterval, TheTimerIsSetAgainOnlyAtLandingsThatRemovedRows) {
    CHeadlessGame game;
    StartWith(game, {kI4, kI4, kI4, kI4, kI4, kI4});
    game.view.m_nRows = 168;
    for (const int nPeriod : {155, 150, 150}) {
        FillRowExcept(game, 14, {4, 5, 6, 7});
        Settle(game, 0, 13);  // keeps the field from being played empty
        Press(game.view, kKeySpace);
        game.wnd.ClearRecords();
        Tick(game.view);
        EXPECT_EQ(EventsOf(game.wnd, {"SetTimer", "KillTimer"}),
                  (Strings{"KillTimer 1", "SetTimer 1 " + std::to_string(nPeriod)}));
    }
    EXPECT_EQ(game.view.m_nRows, 171);
    Press(game.view, kKeySpace);
    game.wnd.ClearRecords();
    Tick(game.view);
    EXPECT_EQ(game.view.m_nPieces, 4);
    EXPECT_TRUE(EventsOf(game.wnd, {"SetTimer", "KillTimer"}).empty()) << "no rows, no new period";
    EXPECT_EQ(game.wnd.TimerPeriod(kFallTimerId), 150u);
}

// --- End of a game --------------------------------------------------------------------------

TEST(GameOver, APieceThatCannotEnterEndsTheGameAndANewNextPieceIsChosen) {
    CHeadlessGame game;
    StartWith(game, {kI4, kT4, kL5});
    FillRowExcept(game, 1, {0});  // the bar cannot fall, and the T's stem cannot enter
    const Strings before = Rows(game.doc.m_field);
    game.wnd.m_fnOnMessageBox = [&](const std::string&, const std::string&) {
        EXPECT_EQ(game.view.m_bRunning, FALSE);
        EXPECT_FALSE(game.wnd.HasTimer(kFallTimerId)) << "no tick during the report";
    };

    Tick(game.view);

    EXPECT_EQ(game.view.m_bRunning, FALSE);
    EXPECT_EQ(GameEvents(game.wnd),
              Events({ScoreText(0, 1000), "Status Eindscore: 0", "KillTimer 1", "Beep 48"}));
    EXPECT_TRUE(ReportFollowsTheBeep(game.wnd));
    EXPECT_EQ(Rows(game.doc.m_field), before) << "the piece that does not fit is not written";
    EXPECT_EQ(game.view.m_nCurPiece, kT4);
    EXPECT_EQ(game.view.m_nNextPiece, kL5) << "chosen after the end, for the preview";
    EXPECT_EQ(game.view.m_nPieces, 1);
    EXPECT_EQ(game.runtime.m_nRandCalls, 3);
    EXPECT_EQ(game.wnd.m_nDefaults, 1);
    EXPECT_FALSE(game.wnd.HasTimer(kFallTimerId));

    // Afterwards nothing acts until the next Start.
    game.wnd.ClearRecords();
    for (UINT nKey :
         {kKeyLeft, kKeyRight, kKeyDown, kKeyUp, kKeyEnd, kKeySpace, kKeyPause, kKeyEscape}) {
        Press(game.view, nKey);
        Tick(game.view);
    }
    EXPECT_EQ(Rows(game.doc.m_field), before);
    EXPECT_TRUE(game.wnd.m_events.empty());
    EXPECT_EQ(game.view.m_nPieces, 1);
    EXPECT_EQ(game.view.m_bPaused, FALSE);
    EXPECT_EQ(game.runtime.m_nRandCalls, 3);
}

TEST(GameOver, EscEndsTheGameAndPutsTheTurnedPieceBackAfterTheReport) {
    CHeadlessGame game;
    StartWith(game, {kL4, kO4});
    Press(game.view, kKeyDown);
    Press(game.view, kKeyDown);
    Press(game.view, kKeyUp);
    Press(game.view, kKeySpace);  // 11 rows: 12 drop points and a bonus unit, score 22
    const std::vector<CellOffset> turned = PieceCells(game.doc, kL4);
    ASSERT_NE(turned, InitialCells(kL4));
    const Strings before = Rows(game.doc.m_field);
    game.wnd.m_fnOnMessageBox = [&](const std::string&, const std::string&) {
        EXPECT_EQ(PieceCells(game.doc, kL4), turned) << "reported before the piece is reset";
        EXPECT_EQ(game.wnd.m_beeps, std::vector<UINT>{MB_ICONEXCLAMATION});
    };
    game.wnd.ClearRecords();

    Press(game.view, kKeyEscape);

    EXPECT_EQ(game.view.m_bRunning, FALSE);
    EXPECT_EQ(GameEvents(game.wnd), Events({"Status Eindscore: 22", "KillTimer 1", "Beep 48"}));
    EXPECT_TRUE(ReportFollowsTheBeep(game.wnd));
    EXPECT_EQ(game.wnd.m_nDefaults, 1) << "Esc is passed on";
    EXPECT_EQ(PieceCells(game.doc, kL4), InitialCells(kL4));
    EXPECT_EQ(Rows(game.doc.m_field), before) << "the field keeps the game's last state";
    EXPECT_EQ(game.view.GetScore(), 22);
    EXPECT_EQ(game.runtime.m_nRandCalls, 2) << "Esc chooses no piece";
}

TEST(GameOver, ClosingTheWindowDuringAGameStopsTheTimerWithoutAReport) {
    CHeadlessGame game;
    StartWith(game, {kL4, kO4});
    game.view.OnDestroy();
    EXPECT_EQ(game.wnd.m_events, Strings{"KillTimer 1"});
    EXPECT_FALSE(game.wnd.HasTimer(kFallTimerId));
}

// --- Commands -------------------------------------------------------------------------------

struct CUpdate {
    BOOL bHandled;
    BOOL bEnabled;
    bool bDecided;
};

CUpdate Update(CZorvikView& view, UINT nID) {
    CCmdUI state(nID);
    const BOOL bHandled = view.OnUpdateCommand(&state);
    return {bHandled, state.m_bEnabled, state.m_bEnableChanged};
}

TEST(Commands, SixCommandsWaitForNoGameWhileAboutStaysAvailable) {
    const UINT kIdleOnly[] = {ID_GAME_OPTIONS,    ID_APP_EXIT,     ID_GAME_START,
                              ID_VIEW_STATUS_BAR, ID_VIEW_TOOLBAR, ID_GAME_SHOWSCORE};
    CHeadlessGame game;
    const auto expectAll = [&](BOOL bEnabled, const char* pszWhen) {
        for (UINT nID : kIdleOnly) {
            const CUpdate u = Update(game.view, nID);
            EXPECT_EQ(u.bHandled, TRUE) << nID << " " << pszWhen;
            EXPECT_TRUE(u.bDecided) << nID << " " << pszWhen;
            EXPECT_EQ(u.bEnabled, bEnabled) << nID << " " << pszWhen;
        }
        const CUpdate about = Update(game.view, ID_APP_ABOUT);
        EXPECT_EQ(about.bHandled, TRUE) << pszWhen;
        EXPECT_FALSE(about.bDecided) << "About is left available " << pszWhen;
        EXPECT_EQ(about.bEnabled, TRUE) << pszWhen;
        EXPECT_EQ(Update(game.view, ID_FILE_NEW).bHandled, FALSE) << pszWhen;
    };
    expectAll(TRUE, "before any game");
    StartWith(game, {kL4, kO4});
    expectAll(FALSE, "while a game runs");
    Press(game.view, kKeyPause);
    expectAll(FALSE, "while paused");
    Press(game.view, kKeyPause);
    Press(game.view, kKeyEscape);
    expectAll(TRUE, "after the game");
}

TEST(Commands, StartOptionsAndShowScoreAreCarriedOutOnlyWhenNoGameRuns) {
    CHeadlessGame game;
    game.doc.m_nLevel = 3;
    game.runtime.m_randScript = {kL4, kO4};
    EXPECT_EQ(game.view.OnCommand(ID_GAME_START), TRUE);
    EXPECT_EQ(game.view.m_bRunning, TRUE);
    for (UINT nID : {ID_APP_ABOUT, ID_APP_EXIT, ID_FILE_NEW, ID_VIEW_TOOLBAR}) {
        EXPECT_EQ(game.view.OnCommand(nID), FALSE) << nID << " is not the view's";
    }

    // A command that slips past the frame during a game is swallowed, not carried out.
    Press(game.view, kKeyDown);
    const Strings before = Rows(game.doc.m_field);
    game.wnd.ClearRecords();
    for (UINT nID : {ID_GAME_START, ID_GAME_OPTIONS, ID_GAME_SHOWSCORE}) {
        EXPECT_EQ(game.view.OnCommand(nID), TRUE) << nID;
    }
    EXPECT_EQ(game.runtime.m_seeds.size(), 1u) << "no second Start";
    EXPECT_EQ(game.view.m_nCurY, 1);
    EXPECT_EQ(Rows(game.doc.m_field), before);
    EXPECT_TRUE(game.wnd.m_optionsShown.empty());
    EXPECT_TRUE(game.wnd.m_messageBoxes.empty());
    EXPECT_TRUE(game.wnd.m_events.empty());

    Press(game.view, kKeyEscape);
    EXPECT_EQ(game.view.OnCommand(ID_GAME_OPTIONS), TRUE);
    EXPECT_EQ(game.view.OnCommand(ID_GAME_SHOWSCORE), TRUE);
    game.runtime.m_randScript = {kI4, kO4};
    EXPECT_EQ(game.view.OnCommand(ID_GAME_START), TRUE);
    EXPECT_EQ(game.runtime.m_seeds.size(), 2u);
    EXPECT_EQ(game.view.m_nCurPiece, kI4);
}

}  // namespace
