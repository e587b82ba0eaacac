#include "model/playfield.h"

#include <algorithm>
#include <cstring>

void CPlayField::Resize(std::int32_t nWidth, std::int32_t nHeight) {
    m_pCells.reset();
    m_nWidth = std::max(nWidth, 1);
    m_nHeight = std::max(nHeight, 1);
    m_pCells = std::make_unique<COLORREF[]>(CellCount());  // value-initialised: all empty
}

void CPlayField::Clear() {
    std::fill_n(m_pCells.get(), CellCount(), COLORREF{0});
}

std::int32_t CPlayField::RemoveFullRows(BOOL& bEmpty) {
    std::int32_t nRemoved = 0;
    const std::size_t nRowLength = static_cast<std::size_t>(m_nWidth);
    std::int32_t y = m_nHeight - 1;
    while (y >= 0) {
        COLORREF* pRow = m_pCells.get() + static_cast<std::size_t>(y) * nRowLength;
        const bool bFull = std::find(pRow, pRow + nRowLength, COLORREF{0}) == pRow + nRowLength;
        if (!bFull) {
            --y;
            continue;
        }
        ++nRemoved;
        // Rows 0 to y - 1 move down one row over row y; row 0 becomes empty. Row y is then
        // examined again, since it now holds what was above it.
        std::memmove(m_pCells.get() + nRowLength, m_pCells.get(),
                     static_cast<std::size_t>(y) * nRowLength * sizeof(COLORREF));
        std::fill_n(m_pCells.get(), nRowLength, COLORREF{0});
    }
    bEmpty = TRUE;
    if (m_nHeight > 0) {
        const COLORREF* pBottom =
            m_pCells.get() + static_cast<std::size_t>(m_nHeight - 1) * nRowLength;
        bEmpty = std::all_of(pBottom, pBottom + nRowLength, [](COLORREF c) { return c == 0; })
                     ? TRUE
                     : FALSE;
    }
    return nRemoved;
}
