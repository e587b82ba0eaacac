// What a paint does as a whole: the field, the caption, the paused view, and the squares the
// controller draws between paints.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawtesthelpers.h"
#include "model/piececatalogue.h"

namespace {

const std::string kPauseText = "Er wordt gepauzeerd, toets <Pause> om door te gaan.";

TEST(Paint, BeforeAnyGameEverySquareIsEmptyNoPreviewAndTheCaptionNamesLevelAndSize) {
    CHeadlessGame g;
    g.wnd.Paint(g.view);

    const std::vector<CFill> fills = g.wnd.PaintFills();
    EXPECT_EQ(fills.size(), 150u);
    for (const CFill& f : fills) {
        EXPECT_EQ(f.cr, g.doc.m_crEmpty);
    }
    EXPECT_EQ(g.wnd.m_nClientDCs, 0);
    EXPECT_EQ(g.wnd.m_captions, (std::vector<std::string>{"Zorvik niveau 1, 10x15"}));
    EXPECT_TRUE(g.wnd.m_statusTexts.empty());

    // Level, width and height in this order, at every paint that is not a paused one.
    g.doc.m_nLevel = 3;
    g.doc.SetFieldSize(12, 20);
    g.wnd.Paint(g.view);
    g.wnd.Paint(g.view);
    EXPECT_EQ(g.wnd.m_captions,
              (std::vector<std::string>{"Zorvik niveau 1, 10x15", "Zorvik niveau 3, 12x20",
                                        "Zorvik niveau 3, 12x20"}));
}

// The paused view is blank, the pause text is written at every paint, and the caption stays as
// it is; resuming brings field, preview and caption back and keeps the resume text.
TEST(Paint, WhilePausedNothingOfTheGameIsShownEvenWhenTheWindowIsUncovered) {
    CHeadlessGame g;
    g.doc.m_field.SetCell(3, 14, g_aPieceColour[2]);
    g.view.m_bRunning = TRUE;
    g.view.m_nNextPiece = 2;
    g.wnd.Paint(g.view);
    ASSERT_EQ(g.wnd.Pixel(81, 301), g.doc.m_crSingle);

    g.view.m_bPaused = TRUE;
    g.wnd.InvalidateRect();  // the Pause key erases the whole view
    g.wnd.ClearRecords();
    g.wnd.Paint(g.view);
    g.wnd.SetClientSize(g.view, 500, 400);  // uncovered and resized while paused
    g.wnd.Paint(g.view);

    EXPECT_TRUE(g.wnd.m_fills.empty());
    EXPECT_EQ(g.wnd.m_nClientDCs, 0);
    EXPECT_TRUE(g.wnd.m_captions.empty());
    EXPECT_EQ(g.wnd.m_statusTexts, (std::vector<std::string>(3, kPauseText)));
    EXPECT_TRUE(
        drawtest::ClientLooksLike(g.wnd, [](int, int) { return CFakeWindow::kBackground; }));

    g.view.m_bPaused = FALSE;
    g.view.SetStatusText("Spel is hervat");
    g.wnd.InvalidateRect();
    g.wnd.Paint(g.view);
    EXPECT_EQ(g.wnd.m_statusTexts.back(), "Spel is hervat");
    EXPECT_EQ(g.wnd.m_captions, (std::vector<std::string>{"Zorvik niveau 1, 10x15"}));
    EXPECT_EQ(g.view.m_nCellSize, 24);  // min(360 / 15, 460 / 10)
    EXPECT_EQ(g.wnd.Pixel(20 + 3 * 24 + 1, 20 + 14 * 24 + 1), g.doc.m_crSingle);
    EXPECT_EQ(g.wnd.Pixel(499, 0), 0x00FFFFFFu);
}

// Between paints one square is drawn on a client surface with the pitch of the last full draw,
// without touching any other pixel.
TEST(Paint, DrawCellBetweenPaintsFillsOnlyItsOwnSquare) {
    CHeadlessGame g;
    g.doc.m_bSingleColour = FALSE;
    g.wnd.SetClientSize(g.view, 400, 340);
    g.wnd.ClearRecords();

    g.doc.m_field.SetCell(5, 0, g_aPieceColour[9]);
    {
        CClientDC dc(g.wnd);
        g.view.DrawCell(&dc, 5, 0, FALSE);
        g.doc.m_field.SetCell(5, 0, 0);
        g.doc.m_field.SetCell(5, 1, g_aPieceColour[9]);
        g.view.DrawCell(&dc, 5, 0, FALSE);
        g.view.DrawCell(&dc, 5, 1, FALSE);
    }
    EXPECT_EQ(g.wnd.m_fills, (std::vector<CFill>{{121, 21, 19, 19, g_aPieceColour[9], true},
                                                 {121, 21, 19, 19, g.doc.m_crEmpty, true},
                                                 {121, 41, 19, 19, g_aPieceColour[9], true}}));
    EXPECT_TRUE(g.wnd.m_captions.empty());
    EXPECT_TRUE(drawtest::ClientShowsFieldOnly(g));
}

// A fall step never redraws the field: it fills the squares the piece leaves in the empty colour
// and the squares it enters in its own, on a client surface, and nothing else.
TEST(Paint, AFallStepFillsOnlyTheSquaresThePieceLeavesAndEnters) {
    CHeadlessGame g;
    g.doc.m_bSingleColour = FALSE;
    g.view.OnGameStart();
    g.wnd.Paint(g.view);  // the paint the Start's invalidation brings
    g.wnd.ClearRecords();
    const int nPiece = g.view.m_nCurPiece;
    const int x = g.view.m_nCurX;
    const int y = g.view.m_nCurY;

    g.view.OnTimer(1);
    ASSERT_EQ(g.view.m_nCurY, y + 1);

    CellOffset aCells[CPolyomino::kMaxCells];
    const int nCount = g.doc.m_pPieces[nPiece].GetCells(aCells);
    std::vector<CFill> expected;
    for (int i = 0; i < nCount; ++i) {
        const int nLeft = 21 + 20 * (x + aCells[i].x);
        expected.push_back({nLeft, 21 + 20 * (y + aCells[i].y), 19, 19, g.doc.m_crEmpty, true});
        expected.push_back({nLeft, 21 + 20 * (y + 1 + aCells[i].y), 19, 19,
                            g_aPieceColour[static_cast<std::size_t>(nPiece)], true});
    }
    EXPECT_THAT(g.wnd.m_fills, ::testing::UnorderedElementsAreArray(expected));
    // Squares both left and entered end in the piece's colour: every field pixel is as drawn.
    EXPECT_TRUE(drawtest::ClientLooksLike(g.wnd, [&](int px, int py) {
        return drawtest::FieldPixel(g.doc, 20, px, py,
                                    px >= 220 ? g.wnd.Pixel(px, py) : CFakeWindow::kBackground);
    }));
}

}  // namespace
