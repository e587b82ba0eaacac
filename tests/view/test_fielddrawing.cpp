// The field as a grid of squares: pitch, square placement, grid lines and colours, to the pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <set>
#include <utility>

#include "drawtesthelpers.h"
#include "game/resource.h"
#include "model/piececatalogue.h"

namespace {

using drawtest::ClientShowsFieldOnly;
using drawtest::ShowStoredColours;

constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kBlue = 0x00FF0000;
constexpr COLORREF kGreen = 0x0000FF00;

// 400 x 340 with margin 20 and a 10 x 15 field: pitch min(300 / 15, 360 / 10) = 20.
TEST(FieldGeometry, WorkedExampleIsPlacedToThePixel) {
    CHeadlessGame g;
    ShowStoredColours(g);
    g.doc.m_field.SetCell(0, 0, kRed);
    g.doc.m_field.SetCell(9, 14, kBlue);
    g.doc.m_field.SetCell(4, 7, kGreen);
    g.wnd.SetClientSize(g.view, 400, 340);

    EXPECT_EQ(g.view.CalcCellSize(), 20);
    EXPECT_EQ(g.view.m_nCellSize, 20);
    const std::vector<CFill> fills = g.wnd.PaintFills();
    ASSERT_EQ(fills.size(), 150u);
    EXPECT_EQ(fills.front(), (CFill{21, 21, 19, 19, kRed, false}));
    EXPECT_EQ(fills.back(), (CFill{201, 301, 19, 19, kBlue, false}));
    EXPECT_TRUE(g.wnd.ClientFills().empty());

    EXPECT_EQ(g.wnd.Pixel(21, 21), kRed);
    EXPECT_EQ(g.wnd.Pixel(39, 39), kRed);
    EXPECT_EQ(g.wnd.Pixel(20, 21), CFakeWindow::kBackground);    // grid line left of column 0
    EXPECT_EQ(g.wnd.Pixel(21, 20), CFakeWindow::kBackground);    // grid line above row 0
    EXPECT_EQ(g.wnd.Pixel(40, 21), CFakeWindow::kBackground);    // between columns 0 and 1
    EXPECT_EQ(g.wnd.Pixel(219, 319), kBlue);                     // the last painted pixel
    EXPECT_EQ(g.wnd.Pixel(220, 319), CFakeWindow::kBackground);  // no line after the last column
    EXPECT_EQ(g.wnd.Pixel(219, 320), CFakeWindow::kBackground);  // nor after the last row
    EXPECT_TRUE(ClientShowsFieldOnly(g));
}

// The pitch is the smaller truncated quotient; the other direction leaves background.
TEST(FieldGeometry, TheSmallerQuotientDecidesThePitch) {
    struct Case {
        int cx, cy, s;
    };
    const Case aCases[] = {
        {200, 600, 16},  // tall and narrow: (200 - 40) / 10 wins, background below the field
        {800, 340, 20},  // wide and low: (340 - 40) / 15 wins, background to the right
        {240, 340, 20},  // both quotients 20
        {239, 340, 19},  // 199 / 10 truncates to 19
        {240, 339, 19},  // 299 / 15 truncates to 19
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(std::to_string(c.cx) + "x" + std::to_string(c.cy));
        CHeadlessGame g;
        g.doc.m_field.SetCell(9, 14, kRed);
        g.wnd.SetClientSize(g.view, c.cx, c.cy);
        EXPECT_EQ(g.view.m_nCellSize, c.s);
        EXPECT_TRUE(ClientShowsFieldOnly(g));
    }
}

// Every bound comes from the field's own size: the largest field, 50 x 50, is drawn whole.
TEST(FieldGeometry, TheLargestFieldFillsEachSquareExactlyOnce) {
    CHeadlessGame g;
    ShowStoredColours(g);
    g.doc.SetFieldSize(50, 50);
    g.doc.m_field.SetCell(49, 49, kRed);
    g.doc.m_field.SetCell(0, 49, kGreen);
    g.wnd.SetClientSize(g.view, 540, 640);  // min(600 / 50, 500 / 50) = 10

    ASSERT_EQ(g.view.m_nCellSize, 10);
    const std::vector<CFill> fills = g.wnd.PaintFills();
    ASSERT_EQ(fills.size(), 2500u);
    std::set<std::pair<int, int>> corners;
    for (const CFill& f : fills) {
        corners.insert({f.x, f.y});
        EXPECT_EQ(f.cx, 9);
        EXPECT_EQ(f.cy, 9);
    }
    EXPECT_EQ(corners.size(), 2500u);
    EXPECT_EQ(fills.back(), (CFill{511, 511, 9, 9, kRed, false}));
    EXPECT_TRUE(ClientShowsFieldOnly(g));
}

// An occupied square shows its stored colour, or the single colour in single-colour mode; an
// empty square is always the empty colour.
TEST(SquareColour, SingleColourModeRepaintsOccupiedSquaresOnlyInFieldAndPreview) {
    CHeadlessGame g;
    for (int i = 0; i < 10; ++i) {
        g.doc.m_field.SetCell(i, 14, g_aPieceColour[static_cast<std::size_t>(i)]);
    }
    g.view.m_bRunning = TRUE;
    g.view.m_nNextPiece = 4;  // O tetromino: squares in preview columns 1 and 2, rows 0 and 1
    g.view.m_nNextY = 0;

    for (const BOOL bSingle : {FALSE, TRUE, BOOL{2}}) {
        SCOPED_TRACE(bSingle);
        g.doc.m_bSingleColour = bSingle;
        g.wnd.ClearRecords();
        g.wnd.InvalidateRect();
        g.wnd.Paint(g.view);

        EXPECT_TRUE(drawtest::ClientLooksLike(g.wnd, [&](int x, int y) {
            return drawtest::FieldPixel(g.doc, 20, x, y, g.wnd.Pixel(x, y));
        }));
        const COLORREF crPiece = bSingle ? g.doc.m_crSingle : g_aPieceColour[4];
        for (const CFill& f : g.wnd.ClientFills()) {
            if (f.cr != 0x00FFFFFF) {
                EXPECT_EQ(f.cr, crPiece);
            }
        }
        EXPECT_EQ(g.wnd.ClientFills().size(), 5u);
        EXPECT_EQ(g.wnd.Pixel(241, 21), crPiece);
        EXPECT_EQ(g.wnd.Pixel(279, 59), crPiece);
        EXPECT_EQ(g.wnd.Pixel(21, 21), g.doc.m_crEmpty);
    }
}

// Below 2m + H pixels high (or 2m + W wide) the pitch is 0 or less. No square can be shown then,
// and the surface is never handed a rectangle of zero or negative size.
TEST(FieldGeometry, APitchOfOneOrLessDrawsNoSquareAndNoDegenerateRectangle) {
    struct Case {
        int cx, cy, s;
    };
    const Case aCases[] = {
        {400, 55, 1},   // 15 / 15: squares of side 0
        {400, 50, 0},   // 10 / 15
        {400, 15, -1},  // -25 / 15 truncates toward zero
        {10, 340, -3},  // -30 / 10
        {0, 0, -4},     // a minimised window: min(-40 / 15, -40 / 10)
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(std::to_string(c.cx) + "x" + std::to_string(c.cy));
        CHeadlessGame g;
        g.doc.m_field.SetCell(0, 0, kRed);
        g.view.m_bRunning = TRUE;
        g.view.m_nNextPiece = 6;
        g.wnd.SetClientSize(g.view, c.cx, c.cy);

        EXPECT_EQ(g.view.CalcCellSize(), c.s);
        for (const CFill& f : g.wnd.m_fills) {
            EXPECT_GT(f.cx, 0);
            EXPECT_GT(f.cy, 0);
        }
        EXPECT_TRUE(g.wnd.PaintFills().empty());
        EXPECT_EQ(g.wnd.m_captions.size(), 1u);
        // Only the white area is left of the preview; with no room for the field it starts at
        // the field's left edge and still reaches the client's right edge.
        const std::vector<CFill> preview = g.wnd.ClientFills();
        if (c.cx == 0) {
            EXPECT_TRUE(preview.empty());
            continue;
        }
        ASSERT_EQ(preview.size(), 1u);
        EXPECT_EQ(preview[0].x, 20 + 10 * std::max(c.s, 0));
        EXPECT_GE(preview[0].x + preview[0].cx, c.cx);
    }
}

// A window may report any client rectangle, far beyond what a screen shows. The drawing still
// lays the field out whole inside it with one positive pitch, the preview to its right, and
// hands the surface only rectangles whose edges are representable.
TEST(FieldGeometry, HugeClientRectanglesLayOutTheFieldWithoutOverflow) {
    const CRect aRects[] = {
        {0, 0, INT_MAX, INT_MAX}, {0, 0, 40000000, 40000000},           {0, 0, INT_MAX, 340},
        {0, 0, 400, INT_MAX},     {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
    };
    for (const auto& [nWidth, nHeight] : {std::pair{50, 50}, {50, 10}, {10, 15}}) {
        for (const CRect& rc : aRects) {
            SCOPED_TRACE(std::to_string(nWidth) + "x" + std::to_string(nHeight) + " in " +
                         std::to_string(rc.right) + "x" + std::to_string(rc.bottom));
            CHeadlessGame g;
            g.doc.SetFieldSize(nWidth, nHeight);
            g.view.OnGameStart();
            g.view.m_nNextPiece = 6;  // the I pentomino, flat: preview columns 1 to 5
            g.wnd.m_rcClient = rc;
            g.wnd.ClearRecords();
            g.wnd.InvalidateRect();
            g.wnd.Paint(g.view);
            for (int i = 0; i < 3; ++i) {
                g.view.OnTimer(kFallTimerId);
            }

            const std::int64_t s = g.view.m_nCellSize;
            const std::int64_t m = g.doc.m_nMargin;
            const std::int64_t nFieldRight = m + nWidth * s;
            ASSERT_GT(s, 1);
            EXPECT_LE(nFieldRight, std::int64_t{rc.right} - rc.left);
            EXPECT_LE(m + nHeight * s, std::int64_t{rc.bottom} - rc.top);

            std::set<std::pair<std::int64_t, std::int64_t>> squares;
            for (const CFill& f : g.wnd.m_fills) {
                EXPECT_LE(std::int64_t{f.x} + f.cx, INT_MAX);
                EXPECT_LE(std::int64_t{f.y} + f.cy, INT_MAX);
                if (f.cr == 0x00FFFFFF) {
                    EXPECT_EQ(f.x, nFieldRight) << "the preview starts at the field's edge";
                    EXPECT_GT(f.cx, 0);
                    continue;
                }
                ASSERT_EQ(f.cx, s - 1);
                ASSERT_EQ(f.cy, s - 1);
                ASSERT_EQ((f.x - 1 - m) % s, 0) << f.x;
                ASSERT_EQ((f.y - 1 - m) % s, 0) << f.y;
                const std::int64_t nCol = (f.x - 1 - m) / s;
                const std::int64_t nRow = (f.y - 1 - m) / s;
                EXPECT_GE(nCol, 0);
                EXPECT_GE(nRow, 0);
                if (f.bClientDC && nCol >= nWidth) {
                    EXPECT_LE(nCol, nWidth + 5) << "a preview square";
                    EXPECT_EQ(f.cr, g.doc.m_crSingle);
                } else {
                    EXPECT_LT(nCol, nWidth);
                    EXPECT_LT(nRow, nHeight);
                }
                if (!f.bClientDC) {
                    squares.insert({nCol, nRow});
                }
            }
            EXPECT_EQ(squares.size(), static_cast<std::size_t>(nWidth * nHeight));
            EXPECT_GT(g.wnd.ClientFills().size(), 6u) << "the preview and the falling piece";
        }
    }
}

}  // namespace
