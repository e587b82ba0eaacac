#include <gtest/gtest.h>

#include <vector>

#include "model/piececatalogue.h"
#include "model/zorvikdoc.h"

namespace {

using Cells = std::vector<CellOffset>;

Cells CurrentCells(const CPolyomino& piece) {
    CellOffset aBuffer[CPolyomino::kMaxCells];
    const int nCount = piece.GetCells(aBuffer);
    return Cells(aBuffer, aBuffer + nCount);
}

// The seventeen pieces written out a second time, independently of the catalogue's table:
// squares in stored order.
const std::vector<Cells> kExpectedSquares = {
    {{-1, 0}, {0, 0}, {1, 0}, {2, 0}},            // 0 I
    {{-1, 0}, {0, 0}, {1, 0}, {1, 1}},            // 1 L
    {{-1, 0}, {0, 0}, {1, 0}, {0, 1}},            // 2 T
    {{-1, 0}, {0, 0}, {0, 1}, {1, 1}},            // 3 S/Z
    {{0, 0}, {0, 1}, {1, 0}, {1, 1}},             // 4 O
    {{-1, 0}, {0, -1}, {0, 0}, {0, 1}, {1, 1}},   // 5 F
    {{-2, 0}, {-1, 0}, {0, 0}, {1, 0}, {2, 0}},   // 6 I
    {{-1, 0}, {0, 0}, {1, 0}, {2, 0}, {2, 1}},    // 7 L
    {{-1, 0}, {0, 0}, {1, 0}, {1, 1}, {2, 1}},    // 8 N
    {{-1, 0}, {0, 0}, {1, 0}, {0, 1}, {1, 1}},    // 9 P
    {{-1, 0}, {0, 0}, {1, 0}, {0, 1}, {0, 2}},    // 10 T
    {{-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}},   // 11 U
    {{-2, 0}, {-1, 0}, {0, 0}, {0, 1}, {0, 2}},   // 12 V
    {{-1, -1}, {0, -1}, {0, 0}, {1, 0}, {1, 1}},  // 13 W
    {{0, -1}, {-1, 0}, {0, 0}, {1, 0}, {0, 1}},   // 14 X
    {{-1, 0}, {0, 0}, {1, 0}, {2, 0}, {1, 1}},    // 15 Y
    {{-1, -1}, {0, -1}, {0, 0}, {0, 1}, {1, 1}},  // 16 Z
};

const COLORREF kExpectedColour[17] = {
    0x0000FFFF, 0x000000FF, 0x00FF0000, 0x00FFFF00, 0x00E22B8A, 0x002A2AA5,
    0x00FF00FF, 0x00A09E5F, 0x0000FF00, 0x001E69D2, 0x00B0FFA0, 0x003C14DC,
    0x00FF8F00, 0x008B8080, 0x008B8B00, 0x000B86B8, 0x00A9A9A9,
};

TEST(PieceCatalogue, DocumentBuildsEveryPieceWithItsSquaresInStoredOrder) {
    const CZorvikDoc doc;
    ASSERT_EQ(doc.m_nPieceCount, 17);
    for (int i = 0; i < doc.m_nPieceCount; ++i) {
        SCOPED_TRACE(i);
        const CPolyomino& piece = doc.m_pPieces[i];
        EXPECT_EQ(piece.m_nCount, i < 5 ? 4 : 5);
        EXPECT_EQ(CurrentCells(piece), kExpectedSquares[static_cast<std::size_t>(i)]);
        EXPECT_EQ(Cells(piece.m_pInitial.get(), piece.m_pInitial.get() + piece.m_nCount),
                  kExpectedSquares[static_cast<std::size_t>(i)]);
    }
}

// The start row and the preview column of every piece come from these extents.
TEST(PieceCatalogue, ExtentsInTheInitialOrientation) {
    const CZorvikDoc doc;
    for (int i = 0; i < 17; ++i) {
        SCOPED_TRACE(i);
        const bool bReachesUp = i == 5 || i == 13 || i == 14 || i == 16;
        EXPECT_EQ(doc.m_pPieces[i].GetTopExtent(), bReachesUp ? 1 : 0);
        const int nLeft = i == 4 ? 0 : (i == 6 || i == 12) ? 2 : 1;
        EXPECT_EQ(doc.m_pPieces[i].GetLeftExtent(), nLeft);
    }
}

TEST(PieceCatalogue, ColoursAreExactAndNeverEmpty) {
    for (std::size_t i = 0; i < 17; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(g_aPieceColour[i], kExpectedColour[i]);
        EXPECT_NE(g_aPieceColour[i], 0u) << "0 is an empty cell";
    }
    EXPECT_EQ(g_aPieceColour[4], RGB(138, 43, 226));
    EXPECT_EQ(g_aPieceColour[12], RGB(0, 143, 255));
}

TEST(PieceCatalogue, TheUDoesNotCoverItsOrigin) {
    const CZorvikDoc doc;
    const Cells u = CurrentCells(doc.m_pPieces[11]);
    for (const CellOffset& c : u) {
        EXPECT_FALSE(c.x == 0 && c.y == 0);
    }
}

}  // namespace
