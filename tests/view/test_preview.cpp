// The preview of the next piece: the white area right of the field and the piece in it.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <utility>

#include "drawtesthelpers.h"
#include "model/piececatalogue.h"

namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;

// A game in a 400x340 window with the 10x15 field, so the pitch is min(300 / 15, 360 / 10) = 20
// and the field's right edge is at x = 20 + 10 * 20 = 220; squares show their stored colours.
struct CPreviewGame : CHeadlessGame {
    explicit CPreviewGame(int nNextPiece, int nNextY = 0) {
        doc.m_bSingleColour = FALSE;
        view.m_bRunning = TRUE;
        view.m_nNextPiece = nNextPiece;
        view.m_nNextY = nNextY;
        wnd.SetClientSize(view, 400, 340);
    }
};

std::set<std::pair<int, int>> SquareCorners(const std::vector<CFill>& fills) {
    std::set<std::pair<int, int>> corners;
    for (const CFill& f : fills) {
        if (f.cr != kWhite) {
            corners.insert({f.x, f.y});
        }
    }
    return corners;
}

TEST(Preview, WhiteAreaRunsFromTheFieldEdgeOverTheWholeHeightWithAnEmptyPitchBeforeThePiece) {
    CPreviewGame g(1);  // L tetromino: #o# / ..#
    const std::vector<CFill> fills = g.wnd.ClientFills();
    ASSERT_EQ(fills.size(), 5u);
    EXPECT_EQ(fills[0], (CFill{220, 0, 400, 340, kWhite, true}));
    EXPECT_EQ(SquareCorners(fills),
              (std::set<std::pair<int, int>>{{241, 21}, {261, 21}, {281, 21}, {281, 41}}));
    EXPECT_EQ(g.wnd.m_nClientDCs, 1);

    EXPECT_EQ(g.wnd.Pixel(219, 0), CFakeWindow::kBackground);
    EXPECT_EQ(g.wnd.Pixel(219, 21), g.doc.m_crEmpty);
    for (const auto& [x, y] : {std::pair{220, 0}, {220, 339}, {399, 0}, {399, 339}, {240, 21}}) {
        EXPECT_EQ(g.wnd.Pixel(x, y), kWhite) << x << ", " << y;
    }
    EXPECT_EQ(g.wnd.Pixel(241, 21), g_aPieceColour[1]);
    EXPECT_EQ(g.wnd.Pixel(299, 59), g_aPieceColour[1]);
    EXPECT_EQ(g.wnd.Pixel(260, 21), kWhite);  // the grid lines of the preview stay white
}

// Every piece's leftmost squares stand in preview column 1 and its top squares level with field
// row 0, with the start row that the controller stores for it.
TEST(Preview, EveryPieceStandsInColumnOneWithItsTopSquaresLevelWithRowZero) {
    for (int i = 0; i < kPieceCount; ++i) {
        const CPieceShape& shape = g_aPieceShape[static_cast<std::size_t>(i)];
        SCOPED_TRACE(shape.pszName);
        int nMinX = INT_MAX;
        int nMinY = INT_MAX;
        for (int k = 0; k < shape.nCount; ++k) {
            nMinX = std::min(nMinX, shape.aCells[static_cast<std::size_t>(k)].x);
            nMinY = std::min(nMinY, shape.aCells[static_cast<std::size_t>(k)].y);
        }
        std::set<std::pair<int, int>> expected;
        for (int k = 0; k < shape.nCount; ++k) {
            const CellOffset& c = shape.aCells[static_cast<std::size_t>(k)];
            expected.insert({241 + 20 * (c.x - nMinX), 21 + 20 * (c.y - nMinY)});
        }

        CPreviewGame g(i, -nMinY);
        EXPECT_EQ(SquareCorners(g.wnd.ClientFills()), expected);
        for (const CFill& f : g.wnd.ClientFills()) {
            EXPECT_EQ(f.cr, f.cx == 19 ? g_aPieceColour[static_cast<std::size_t>(i)] : kWhite);
        }
    }
}

// The next piece may be the falling piece itself, turned since it was chosen: the preview shows
// the present orientation with the row offset of choice time, squares above row 0 reaching into
// the top margin or beyond the client's top edge.
TEST(Preview, ATurnedPieceKeepsItsStoredRowOffsetAndIsClippedAtTheTop) {
    CPreviewGame g(6);                     // I pentomino, chosen flat: start row 0
    g.doc.m_pPieces[6].RotateClockwise();  // now (0,-2) (0,-1) (0,0) (0,1) (0,2)
    g.wnd.ClearRecords();
    g.view.DrawNextPiece();

    EXPECT_EQ(
        SquareCorners(g.wnd.ClientFills()),
        (std::set<std::pair<int, int>>{{241, -19}, {241, 1}, {241, 21}, {241, 41}, {241, 61}}));
    EXPECT_EQ(g.wnd.Pixel(241, 1), g_aPieceColour[6]);  // row -1 lies in the top margin
    EXPECT_EQ(g.wnd.Pixel(241, 0), kWhite);             // row -2 lies above the client
    EXPECT_EQ(g.wnd.Pixel(241, 79), g_aPieceColour[6]);
    EXPECT_EQ(g.wnd.Pixel(261, 21), kWhite);  // the flat piece drawn before is wiped
}

TEST(Preview, AFullRepaintAfterTheGameLeavesThePreviewAreaToTheBackground) {
    CPreviewGame g(0);
    ASSERT_EQ(g.wnd.Pixel(300, 100), kWhite);
    g.view.m_bRunning = FALSE;
    g.wnd.ClearRecords();
    g.wnd.InvalidateRect();
    g.wnd.Paint(g.view);

    EXPECT_EQ(g.wnd.m_nClientDCs, 0);
    EXPECT_EQ(g.wnd.Pixel(300, 100), CFakeWindow::kBackground);
    EXPECT_TRUE(drawtest::ClientShowsFieldOnly(g));
}

// In a window wider than the field needs, the white area takes all the room to the right.
TEST(Preview, InAWideWindowTheWhiteAreaFillsEverythingRightOfTheField) {
    CPreviewGame g(0);
    g.wnd.ClearRecords();
    g.wnd.SetClientSize(g.view, 800, 340);
    ASSERT_EQ(g.view.m_nCellSize, 20);
    EXPECT_EQ(g.wnd.ClientFills().front(), (CFill{220, 0, 800, 340, kWhite, true}));
    EXPECT_EQ(g.wnd.Pixel(799, 339), kWhite);
    EXPECT_EQ(g.wnd.Pixel(220, 339), kWhite);
    EXPECT_TRUE(drawtest::ClientLooksLike(g.wnd, [&](int x, int y) {
        return drawtest::FieldPixel(g.doc, 20, x, y,
                                    x >= 220 ? g.wnd.Pixel(x, y) : CFakeWindow::kBackground);
    }));
}

}  // namespace
