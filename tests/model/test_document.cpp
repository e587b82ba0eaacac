#include <gtest/gtest.h>

#include "model/zorvikdoc.h"

namespace {

TEST(Document, ANewDocumentHoldsTheDefaults) {
    const CZorvikDoc doc;
    EXPECT_EQ(doc.m_nLevel, 1);
    EXPECT_EQ(doc.m_bSingleColour, TRUE);
    EXPECT_EQ(doc.m_crSingle, RGB(121, 187, 72));
    EXPECT_EQ(doc.m_crEmpty, RGB(10, 10, 10));
    EXPECT_EQ(doc.m_nMargin, 20);
    EXPECT_EQ(doc.m_nPieceCount, 17);
    EXPECT_EQ(doc.m_field.m_nWidth, 10);
    EXPECT_EQ(doc.m_field.m_nHeight, 15);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(doc.m_field.GetCell(x, y), 0u);
        }
    }
}

TEST(Document, SetFieldSizeEmptiesTheFieldAlsoAtAnUnchangedSize) {
    CZorvikDoc doc;
    doc.m_field.SetCell(3, 14, 0xFF);
    doc.SetFieldSize(10, 15);
    EXPECT_EQ(doc.m_field.GetCell(3, 14), 0u);

    doc.SetFieldSize(50, 10);
    EXPECT_EQ(doc.m_field.m_nWidth, 50);
    EXPECT_EQ(doc.m_field.m_nHeight, 10);
    doc.m_field.SetCell(49, 9, 0xFF);
    EXPECT_EQ(doc.m_field.GetCell(49, 9), 0xFFu);
    // The settings are not touched by a new field.
    EXPECT_EQ(doc.m_nLevel, 1);
    EXPECT_EQ(doc.m_bSingleColour, TRUE);
}

}  // namespace
