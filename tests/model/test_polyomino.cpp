#include <gtest/gtest.h>

#include <vector>

#include "model/piececatalogue.h"
#include "model/polyomino.h"

namespace {

using Cells = std::vector<CellOffset>;

Cells CurrentCells(const CPolyomino& piece) {
    CellOffset aBuffer[CPolyomino::kMaxCells];
    const int nCount = piece.GetCells(aBuffer);
    return Cells(aBuffer, aBuffer + nCount);
}

Cells InitialCells(const CPolyomino& piece) {
    return Cells(piece.m_pInitial.get(), piece.m_pInitial.get() + piece.m_nCount);
}

void Give(CPolyomino& piece, const Cells& cells) {
    piece.SetCells(static_cast<int>(cells.size()), cells.data());
}

// Turns are about the origin square, not the shape's centre, and keep the stored order.
TEST(PolyominoTurn, TurnsAndMirrorsGiveTheDocumentedSquaresInStoredOrder) {
    CPolyomino t;
    Give(t, {{-1, 0}, {0, 0}, {1, 0}, {0, 1}});
    t.RotateClockwise();
    EXPECT_EQ(CurrentCells(t), (Cells{{0, -1}, {0, 0}, {0, 1}, {-1, 0}}));  // stem points left

    CPolyomino o;
    Give(o, {{0, 0}, {0, 1}, {1, 0}, {1, 1}});
    o.RotateClockwise();
    EXPECT_EQ(CurrentCells(o), (Cells{{0, 0}, {-1, 0}, {0, 1}, {-1, 1}}));  // one column left

    CPolyomino l;
    Give(l, {{-1, 0}, {0, 0}, {1, 0}, {1, 1}});
    l.Mirror();
    EXPECT_EQ(CurrentCells(l), (Cells{{1, 0}, {0, 0}, {-1, 0}, {-1, 1}}));

    CPolyomino p;
    Give(p, {{2, 1}});
    p.RotateCounterclockwise();
    EXPECT_EQ(CurrentCells(p), (Cells{{1, -2}}));
}

TEST(PolyominoTurn, ExtentsFollowTheCurrentSquares) {
    CPolyomino i;
    Give(i, {{-1, 0}, {0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(i.GetTopExtent(), 0);
    EXPECT_EQ(i.GetLeftExtent(), 1);
    i.RotateClockwise();
    EXPECT_EQ(CurrentCells(i), (Cells{{0, -1}, {0, 0}, {0, 1}, {0, 2}}));
    EXPECT_EQ(i.GetTopExtent(), 1);
    EXPECT_EQ(i.GetLeftExtent(), 0);
    // The initial squares never take part in a transform.
    EXPECT_EQ(InitialCells(i), (Cells{{-1, 0}, {0, 0}, {1, 0}, {2, 0}}));
}

// Every transform has its inverse, for every piece of the catalogue, and Reset undoes any mix.
TEST(PolyominoTurn, InversesAndResetRestoreEveryCatalogueShapeExactly) {
    for (const CPieceShape& shape : g_aPieceShape) {
        SCOPED_TRACE(shape.pszName);
        CPolyomino piece;
        piece.SetCells(shape.nCount, shape.aCells.data());
        const Cells start = CurrentCells(piece);

        for (int i = 0; i < 4; ++i) {
            piece.RotateClockwise();
        }
        EXPECT_EQ(CurrentCells(piece), start);
        piece.RotateClockwise();
        piece.RotateCounterclockwise();
        EXPECT_EQ(CurrentCells(piece), start);
        piece.Mirror();
        piece.Mirror();
        EXPECT_EQ(CurrentCells(piece), start);

        piece.Mirror();
        piece.RotateClockwise();
        piece.RotateClockwise();
        piece.Mirror();
        piece.RotateClockwise();
        EXPECT_NE(CurrentCells(piece), start) << "the mix should have moved some square";
        piece.Reset();
        EXPECT_EQ(CurrentCells(piece), start);
        EXPECT_EQ(InitialCells(piece), start);
    }
}

TEST(PolyominoEmpty, APieceWithoutSquaresAnswersSafely) {
    CPolyomino piece;
    CellOffset aBuffer[CPolyomino::kMaxCells] = {{7, 7}};
    EXPECT_EQ(piece.GetCells(aBuffer), 0);
    EXPECT_EQ(aBuffer[0], (CellOffset{7, 7})) << "nothing is copied";
    EXPECT_EQ(piece.GetTopExtent(), -100);
    EXPECT_EQ(piece.GetLeftExtent(), -100);
    piece.RotateClockwise();
    piece.RotateCounterclockwise();
    piece.Mirror();
    piece.Reset();
    EXPECT_EQ(piece.m_nCount, 0);
}

TEST(PolyominoEmpty, ExtentsOfFarAwaySquaresHitTheSearchStart) {
    CPolyomino piece;
    Give(piece, {{100, 100}, {150, 120}});
    EXPECT_EQ(piece.GetTopExtent(), -100);
    EXPECT_EQ(piece.GetLeftExtent(), -100);
}

// Giving a piece squares twice replaces them; counts outside 0 to kMaxCells cannot overflow a
// caller's buffer of kMaxCells squares.
TEST(PolyominoSetCells, SecondCallReplacesAndCountsAreKeptInBounds) {
    CPolyomino piece;
    Give(piece, {{0, 0}, {1, 0}, {2, 0}, {3, 0}});
    piece.RotateClockwise();
    Give(piece, {{5, 5}, {6, 6}});
    EXPECT_EQ(piece.m_nCount, 2);
    EXPECT_EQ(CurrentCells(piece), (Cells{{5, 5}, {6, 6}}));
    EXPECT_EQ(InitialCells(piece), (Cells{{5, 5}, {6, 6}}));

    const Cells seven = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}};
    Give(piece, seven);
    EXPECT_EQ(piece.m_nCount, CPolyomino::kMaxCells);
    EXPECT_EQ(CurrentCells(piece), Cells(seven.begin(), seven.begin() + CPolyomino::kMaxCells));

    piece.SetCells(-3, seven.data());
    EXPECT_EQ(piece.m_nCount, 0);
    EXPECT_EQ(piece.m_pCells, nullptr);
    piece.SetCells(3, nullptr);
    EXPECT_EQ(piece.m_nCount, 0);
    EXPECT_EQ(piece.GetTopExtent(), -100);
}

}  // namespace
