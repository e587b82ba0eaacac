#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/playfield.h"

namespace {

// Fills a field from rows of text, top row first: '.' is empty, any other character a square
// whose colour is that character's code.
void Load(CPlayField& field, const std::vector<std::string>& rows) {
    field.Resize(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (int y = 0; y < field.m_nHeight; ++y) {
        for (int x = 0; x < field.m_nWidth; ++x) {
            const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            field.SetCell(x, y, c == '.' ? 0 : static_cast<COLORREF>(c));
        }
    }
}

std::vector<std::string> Dump(const CPlayField& field) {
    std::vector<std::string> rows;
    for (int y = 0; y < field.m_nHeight; ++y) {
        std::string row;
        for (int x = 0; x < field.m_nWidth; ++x) {
            const COLORREF c = field.GetCell(x, y);
            row += c == 0 ? '.' : static_cast<char>(c);
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(RemoveFullRows, WithoutFullRowsNothingChangesAndTheBottomRowIsReported) {
    CPlayField field;
    const std::vector<std::string> rows = {".....", "a.b..", "ccc.c"};
    Load(field, rows);
    BOOL bEmpty = 7;
    EXPECT_EQ(field.RemoveFullRows(bEmpty), 0);
    EXPECT_EQ(bEmpty, FALSE);
    EXPECT_EQ(Dump(field), rows);

    Load(field, {"..a..", ".....", "....."});
    EXPECT_EQ(field.RemoveFullRows(bEmpty), 0);
    EXPECT_EQ(bEmpty, TRUE) << "only the bottom row is looked at";
}

TEST(RemoveFullRows, FourBottomRowsMoveEverythingAboveFourRowsDown) {
    CPlayField field;
    std::vector<std::string> rows(15, "..........");
    rows[3] = "..x.......";
    rows[9] = "y........z";
    rows[10] = ".qqqqqqqq.";
    for (int y = 11; y < 15; ++y) {
        rows[static_cast<std::size_t>(y)] = "ABCDEFGHIJ";
    }
    Load(field, rows);
    BOOL bEmpty = TRUE;
    EXPECT_EQ(field.RemoveFullRows(bEmpty), 4);
    std::vector<std::string> expected(15, "..........");
    expected[7] = "..x.......";
    expected[13] = "y........z";
    expected[14] = ".qqqqqqqq.";
    EXPECT_EQ(Dump(field), expected);
    EXPECT_EQ(bEmpty, FALSE);
}

TEST(RemoveFullRows, SeparatedFullRowsTakeThePartialRowBetweenThemDown) {
    CPlayField field;
    std::vector<std::string> rows(15, "..........");
    rows[0] = "t.........";
    rows[11] = "...uu.....";
    rows[12] = "FFFFFFFFFF";
    rows[13] = "p.p.p.p.p.";
    rows[14] = "GGGGGGGGGG";
    Load(field, rows);
    BOOL bEmpty = TRUE;
    EXPECT_EQ(field.RemoveFullRows(bEmpty), 2);
    std::vector<std::string> expected(15, "..........");
    expected[2] = "t.........";
    expected[13] = "...uu.....";
    expected[14] = "p.p.p.p.p.";
    EXPECT_EQ(Dump(field), expected);
}

TEST(RemoveFullRows, AFullTopRowEmptiesOnlyItself) {
    CPlayField field;
    Load(field, {"aaaa", "b...", ".c..", "..dd"});
    BOOL bEmpty = TRUE;
    EXPECT_EQ(field.RemoveFullRows(bEmpty), 1);
    EXPECT_EQ(Dump(field), (std::vector<std::string>{"....", "b...", ".c..", "..dd"}));
}

TEST(RemoveFullRows, RemovingTheLastSquaresLeavesAnEmptyField) {
    CPlayField field;
    Load(field, {".....", ".....", "abcde", "abcde", "abcde"});
    BOOL bEmpty = FALSE;
    EXPECT_EQ(field.RemoveFullRows(bEmpty), 3);
    EXPECT_EQ(bEmpty, TRUE);
    EXPECT_EQ(Dump(field), std::vector<std::string>(5, "....."));
}

TEST(RemoveFullRows, EveryRowFullOnTheLargestField) {
    CPlayField field;
    field.Resize(50, 50);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            field.SetCell(x, y, 0xABCDEF);
        }
    }
    BOOL bEmpty = FALSE;
    EXPECT_EQ(field.RemoveFullRows(bEmpty), 50);
    EXPECT_EQ(bEmpty, TRUE);
}

TEST(FieldSize, ResizeEmptiesEvenAtTheSameSizeAndClearKeepsTheSize) {
    CPlayField field;
    field.Resize(10, 15);
    field.SetCell(9, 14, 5);
    field.SetCell(0, 0, 5);
    field.Resize(10, 15);
    EXPECT_EQ(Dump(field), std::vector<std::string>(15, ".........."));

    field.Resize(12, 20);
    field.SetCell(11, 19, 9);
    field.Clear();
    EXPECT_EQ(field.m_nWidth, 12);
    EXPECT_EQ(field.m_nHeight, 20);
    EXPECT_EQ(Dump(field), std::vector<std::string>(20, "............"));
}

// A field always has at least one cell, so row removal and drawing stay in bounds.
TEST(FieldSize, SizesBelowOneBecomeOne) {
    CPlayField field;
    field.Resize(0, -4);
    EXPECT_EQ(field.m_nWidth, 1);
    EXPECT_EQ(field.m_nHeight, 1);
    field.SetCell(0, 0, 3);
    BOOL bEmpty = FALSE;
    EXPECT_EQ(field.RemoveFullRows(bEmpty), 1);
    EXPECT_EQ(bEmpty, TRUE);
}

TEST(FieldSize, AFieldNeverSizedHasNoRowsToRemove) {
    CPlayField field;
    BOOL bEmpty = FALSE;
    EXPECT_EQ(field.RemoveFullRows(bEmpty), 0);
    EXPECT_EQ(bEmpty, TRUE);
    field.Clear();
}

}  // namespace
