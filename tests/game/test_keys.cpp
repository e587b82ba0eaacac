// The keyboard moves: the gate, moves, turns and mirrors with their undo, the drop, pause and
// resume.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gametest.h"

using namespace gametest;

namespace {

using Strings = std::vector<std::string>;

const UINT kAllKeys[] = {kKeyLeft, kKeyRight, kKeyDown,  kKeyUp,
                         kKeyEnd,  kKeySpace, kKeyPause, kKeyEscape};
constexpr UINT kKeyNumpad4 = 100 * 1000 + 75;  // the keypad's 4 with Num Lock on
constexpr UINT kKeyLetterA = 65 * 1000 + 30;

// Everything a key may change: the field, the falling piece and its orientation, the counters.
struct CSnapshot {
    std::vector<COLORREF> cells;
    std::vector<CellOffset> piece;
    int nX, nY, nBonus, nDropPoints, nPieces;
    BOOL bRunning, bPaused;

    explicit CSnapshot(const CHeadlessGame& game)
        : cells(Cells(game.doc.m_field)),
          piece(PieceCells(game.doc, game.view.m_nCurPiece)),
          nX(game.view.m_nCurX),
          nY(game.view.m_nCurY),
          nBonus(game.view.m_nBonus),
          nDropPoints(game.view.m_nDropPoints),
          nPieces(game.view.m_nPieces),
          bRunning(game.view.m_bRunning),
          bPaused(game.view.m_bPaused) {}
    bool operator==(const CSnapshot&) const = default;
};

// The key is refused: nothing changes, silently, but the key is passed on.
void ExpectRefused(CHeadlessGame& game, UINT nKey, const char* pszWhat) {
    SCOPED_TRACE(pszWhat);
    const CSnapshot before(game);
    const int nDefaults = game.wnd.m_nDefaults;
    const std::size_t nEvents = game.wnd.m_events.size();
    Press(game.view, nKey);
    EXPECT_TRUE(CSnapshot(game) == before) << "piece and field exactly as before";
    EXPECT_EQ(game.wnd.m_nDefaults, nDefaults + 1);
    EXPECT_EQ(game.wnd.m_events.size(), nEvents + 1) << "no sound, no text";
}

Strings EmptyRows(int nHeight) {
    return Strings(static_cast<std::size_t>(nHeight), "..........");
}

// --- Gate -----------------------------------------------------------------------------------

TEST(KeyGate, WithoutAGameNoKeyOrTickActsNorIsPassedOn) {
    CHeadlessGame game;
    const CSnapshot before(game);
    for (UINT nKey : kAllKeys) {
        Press(game.view, nKey);
    }
    Press(game.view, kKeyLetterA);
    Tick(game.view);
    EXPECT_TRUE(CSnapshot(game) == before);
    EXPECT_TRUE(game.wnd.m_events.empty());
    EXPECT_EQ(game.runtime.m_nRandCalls, 0);
}

TEST(KeyGate, AKeyIsKnownOnlyByItsVirtualKeyAndScanCodeTogether) {
    CHeadlessGame game;
    StartWith(game, {kI4, kO4});
    ExpectRefused(game, VK_LEFT * 1000 + kScanRight, "Left's virtual key with another scan code");
    ExpectRefused(game, kKeyNumpad4, "the keypad's 4 with Num Lock on");
    ExpectRefused(game, kKeyLetterA, "a key the game does not know");

    Press(game.view, kKeyLeft, 0x100);  // the extended-key bit of the cursor block
    EXPECT_EQ(game.view.m_nCurX, 4);
    Press(game.view, kKeyLeft, 0x4000 | 0x100, 5);  // auto-repeat: one move per message
    EXPECT_EQ(game.view.m_nCurX, 3);
    Press(game.view, kKeyRight, 0xFF00);
    EXPECT_EQ(game.view.m_nCurX, 4);
    EXPECT_EQ(game.wnd.m_nDefaults, 6);
}

// --- Moves ----------------------------------------------------------------------------------

TEST(Moves, LeftRightAndDownStopSilentlyAtTheWallsAndTheFloor) {
    CHeadlessGame game;
    StartWith(game, {kI4, kO4});
    for (int i = 0; i < 4; ++i) {
        Press(game.view, kKeyLeft);
    }
    EXPECT_EQ(Rows(game.doc.m_field)[0], "aaaa......");
    ExpectRefused(game, kKeyLeft, "left wall");
    for (int i = 0; i < 6; ++i) {
        Press(game.view, kKeyRight);
    }
    EXPECT_EQ(Rows(game.doc.m_field)[0], "......aaaa");
    ExpectRefused(game, kKeyRight, "right wall");
    for (int i = 0; i < 14; ++i) {
        Press(game.view, kKeyDown);
    }
    Strings rows = EmptyRows(15);
    rows[14] = "......aaaa";
    EXPECT_EQ(Rows(game.doc.m_field), rows);
    ExpectRefused(game, kKeyDown, "floor: Down does not land the piece");
    EXPECT_EQ(game.runtime.m_nRandCalls, 2);
    EXPECT_EQ(game.view.m_nDropPoints, 0) << "Down earns nothing";
}

TEST(Moves, ASquareInTheWayRefusesTheMove) {
    CHeadlessGame game;
    StartWith(game, {kI4, kO4});
    Settle(game, 3, 0);
    Settle(game, 5, 1);
    ExpectRefused(game, kKeyLeft, "square on the left");
    ExpectRefused(game, kKeyDown, "square below");
    Press(game.view, kKeyRight);
    Press(game.view, kKeyRight);
    Press(game.view, kKeyDown);
    EXPECT_EQ(game.view.m_nCurX, 7);
    EXPECT_EQ(game.view.m_nCurY, 1);
}

// --- Turns and mirrors ----------------------------------------------------------------------

TEST(Turns, ATurnOrMirrorThatDoesNotFitLeavesPieceAndFieldExactlyAsBefore) {
    {
        CHeadlessGame game;
        StartWith(game, {kI4, kO4});
        ExpectRefused(game, kKeyUp, "upright bar would reach above row 0");
        Press(game.view, kKeyDown);
        Press(game.view, kKeyUp);
        ASSERT_EQ(PieceCells(game.doc, kI4),
                  (std::vector<CellOffset>{{0, -1}, {0, 0}, {0, 1}, {0, 2}}));
        for (int i = 0; i < 5; ++i) {
            Press(game.view, kKeyLeft);
        }
        ASSERT_EQ(game.view.m_nCurX, 0);
        ExpectRefused(game, kKeyUp, "lying bar would reach left of column 0");
    }
    {
        CHeadlessGame game;
        StartWith(game, {kI4, kO4});
        for (int i = 0; i < 4; ++i) {
            Press(game.view, kKeyLeft);
        }
        ExpectRefused(game, kKeyEnd, "mirrored bar would reach left of column 0");
    }
    {
        CHeadlessGame game;
        StartWith(game, {kT4, kO4});
        Press(game.view, kKeyDown);
        Press(game.view, kKeyDown);
        Settle(game, 5, 1);
        ExpectRefused(game, kKeyUp, "turned T would cover a square");
    }
    {
        CHeadlessGame game;
        StartWith(game, {kL4, kO4});
        Press(game.view, kKeyDown);
        Press(game.view, kKeyDown);
        Settle(game, 4, 3);
        ExpectRefused(game, kKeyEnd, "mirrored L would cover a square");
    }
}

TEST(Turns, TurnsAndMirrorsActAboutTheOriginAndWriteThePieceAtOnce) {
    CHeadlessGame game;
    StartWith(game, {kL4, kO4});
    Press(game.view, kKeyDown);
    Press(game.view, kKeyDown);
    Strings rows = EmptyRows(15);
    rows[2] = "....bbb...";
    rows[3] = "......b...";
    EXPECT_EQ(Rows(game.doc.m_field), rows);

    Press(game.view, kKeyUp);
    rows = EmptyRows(15);
    rows[1] = ".....b....";
    rows[2] = ".....b....";
    rows[3] = "....bb....";
    EXPECT_EQ(Rows(game.doc.m_field), rows) << "a quarter turn clockwise about (5, 2)";

    Press(game.view, kKeyEnd);
    rows[3] = ".....bb...";
    EXPECT_EQ(Rows(game.doc.m_field), rows) << "mirrored about column 5";

    Press(game.view, kKeyEnd);
    for (int i = 0; i < 3; ++i) {
        Press(game.view, kKeyUp);
    }
    EXPECT_EQ(PieceCells(game.doc, kL4), InitialCells(kL4)) << "four turns: as it began";
    EXPECT_EQ(game.view.m_nCurX, 5);
    EXPECT_EQ(game.view.m_nCurY, 2);
}

// --- Drop -----------------------------------------------------------------------------------

TEST(Drop, OnlyADropOverFiveRowsOrMoreScores) {
    struct CCase {
        int nObstacleRow;  // a square in column 5 below the bar in row 0
        int nEndRow;
        int nBonus;
        int nDropPoints;
    };
    for (const CCase& c : {CCase{5, 4, 0, 0}, CCase{6, 5, 1, 6}, CCase{1, 0, 0, 0}}) {
        SCOPED_TRACE("square in row " + std::to_string(c.nObstacleRow));
        CHeadlessGame game;
        StartWith(game, {kI4, kO4});
        Settle(game, 5, c.nObstacleRow);
        Press(game.view, kKeySpace);
        EXPECT_EQ(game.view.m_nCurY, c.nEndRow);
        EXPECT_EQ(game.view.m_nBonus, c.nBonus);
        EXPECT_EQ(game.view.m_nDropPoints, c.nDropPoints);
        EXPECT_EQ(game.view.GetScore(), 10 * c.nBonus + c.nDropPoints);
        Strings rows = EmptyRows(15);
        rows[static_cast<std::size_t>(c.nObstacleRow)][5] = '#';
        rows[static_cast<std::size_t>(c.nEndRow)] = "....aaaa..";
        EXPECT_EQ(Rows(game.doc.m_field), rows);
        EXPECT_EQ(game.view.m_nPieces, 0) << "a drop does not land the piece";
        EXPECT_EQ(game.runtime.m_nRandCalls, 2);
        EXPECT_EQ(game.wnd.m_nDefaults, 1);
    }
    CHeadlessGame game;
    StartWith(game, {kI4, kO4}, 10, 50);
    Press(game.view, kKeySpace);
    EXPECT_EQ(game.view.m_nCurY, 49);
    EXPECT_EQ(game.view.m_nDropPoints, 50) << "49 rows are 50 attempts";
    EXPECT_EQ(game.view.m_nBonus, 1);
}

TEST(Drop, ADroppedPieceCanStillBeMovedUntilTheNextTickLandsIt) {
    CHeadlessGame game;
    StartWith(game, {kI4, kO4, kT4});
    Press(game.view, kKeySpace);
    Press(game.view, kKeyLeft);
    ExpectRefused(game, kKeyUp, "no room to turn upright on the floor");
    EXPECT_EQ(game.view.m_nPieces, 0);
    Tick(game.view);
    EXPECT_EQ(game.view.m_nPieces, 1);
    Strings rows = EmptyRows(15);
    rows[0] = ".....ee...";
    rows[1] = ".....ee...";
    rows[14] = "...aaaa...";
    EXPECT_EQ(Rows(game.doc.m_field), rows);
}

// --- Pause ----------------------------------------------------------------------------------

TEST(Pause, WhilePausedOnlyPauseActsAndTheTimerRunsOnUntouched) {
    CHeadlessGame game;
    StartWith(game, {kI4, kO4});
    Press(game.view, kKeyDown);
    game.wnd.ClearRecords();
    const CSnapshot before(game);

    Press(game.view, kKeyPause);
    EXPECT_EQ(game.view.m_bPaused, TRUE);
    EXPECT_EQ(game.wnd.m_events, (Strings{"Invalidate", "Default"})) << "pausing sets no text";

    game.wnd.ClearRecords();
    for (int i = 0; i < 3; ++i) {
        Tick(game.view);
    }
    for (UINT nKey :
         {kKeyLeft, kKeyRight, kKeyDown, kKeyUp, kKeyEnd, kKeySpace, kKeyEscape, kKeyLetterA}) {
        Press(game.view, nKey);
    }
    EXPECT_TRUE(game.wnd.m_events.empty()) << "ignored and not passed on, Esc included";
    CSnapshot paused(game);
    paused.bPaused = FALSE;
    EXPECT_TRUE(paused == before);

    Press(game.view, kKeyPause);
    EXPECT_EQ(game.view.m_bPaused, FALSE);
    EXPECT_EQ(game.wnd.m_events, Events({"Status Spel is hervat", "Invalidate", "Default"}));
    EXPECT_TRUE(CSnapshot(game) == before) << "the piece is where it was";
    EXPECT_EQ(game.wnd.TimerPeriod(kFallTimerId), 1000u);
    EXPECT_TRUE(EventsOf(game.wnd, {"SetTimer", "KillTimer"}).empty());

    Tick(game.view);
    EXPECT_EQ(game.view.m_nCurY, 2) << "the next tick moves it on";
}

}  // namespace
