// Helpers of the drawing tests: what the client area must look like, pixel by pixel, worked out
// from the grid's rules independently of how the view draws it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/fakeplatform.h"

namespace drawtest {

// A document with the stored colours shown (the default is single-colour mode).
inline void ShowStoredColours(CHeadlessGame& g) {
    g.doc.m_bSingleColour = FALSE;
}

// The colour a field pixel must have at pitch s: the background on the grid lines and in the
// margins, else the colour of the square it lies in. nOutside answers pixels beyond the field.
inline COLORREF FieldPixel(const CZorvikDoc& doc, int s, int x, int y, COLORREF nOutside) {
    const int m = doc.m_nMargin;
    const int W = doc.m_field.m_nWidth;
    const int H = doc.m_field.m_nHeight;
    if (s <= 0 || x < m || y < m || x >= m + W * s || y >= m + H * s) {
        return nOutside;
    }
    if ((x - m) % s == 0 || (y - m) % s == 0) {
        return CFakeWindow::kBackground;
    }
    const COLORREF v = doc.m_field.GetCell((x - m) / s, (y - m) / s);
    if (v == 0) {
        return doc.m_crEmpty;
    }
    return doc.m_bSingleColour ? doc.m_crSingle : v;
}

// Compares every client pixel with the expectation; reports the first difference only.
inline ::testing::AssertionResult ClientLooksLike(
    const CFakeWindow& wnd, const std::function<COLORREF(int x, int y)>& expected) {
    const CRect rc = wnd.GetClientRect();
    for (int y = 0; y < rc.Height(); ++y) {
        for (int x = 0; x < rc.Width(); ++x) {
            if (wnd.Pixel(x, y) != expected(x, y)) {
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is 0x" << std::hex << wnd.Pixel(x, y)
                       << ", expected 0x" << expected(x, y);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// The field with the background around it: the view before any game.
inline ::testing::AssertionResult ClientShowsFieldOnly(const CHeadlessGame& g) {
    return ClientLooksLike(g.wnd, [&](int x, int y) {
        return FieldPixel(g.doc, g.view.m_nCellSize, x, y, CFakeWindow::kBackground);
    });
}

}  // namespace drawtest
