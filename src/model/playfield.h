// The grid into which pieces fall.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/wintypes.h"

// m_nHeight rows of m_nWidth cells, row after row: the cell in column x and row y is entry
// x + y * m_nWidth, row 0 at the top. A cell is 0 when empty, else the colour of the piece whose
// square settled there. Callers that write cells keep within the field themselves.
class CPlayField {
public:
    CPlayField() = default;
    ~CPlayField() = default;
    CPlayField(const CPlayField&) = delete;
    CPlayField& operator=(const CPlayField&) = delete;

    // Replaces the grid by an empty one of the new size, also when the size does not change.
    // Width and height below 1 are taken as 1, so a field always has at least one cell.
    void Resize(std::int32_t nWidth, std::int32_t nHeight);

    // Empties every cell; the size stays.
    void Clear();

    // Removes every full row, moving the rows above it down, and returns how many went.
    // bEmpty reports whether the bottom row is empty afterwards (only that row is looked at).
    std::int32_t RemoveFullRows(BOOL& bEmpty);

    COLORREF GetCell(std::int32_t x, std::int32_t y) const { return m_pCells[Index(x, y)]; }
    void SetCell(std::int32_t x, std::int32_t y, COLORREF cr) { m_pCells[Index(x, y)] = cr; }

    std::int32_t m_nHeight = 0;
    std::int32_t m_nWidth = 0;
    std::unique_ptr<COLORREF[]> m_pCells;

private:
    std::size_t Index(std::int32_t x, std::int32_t y) const {
        return static_cast<std::size_t>(x) +
               static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth);
    }
    std::size_t CellCount() const {
        return static_cast<std::size_t>(m_nWidth) * static_cast<std::size_t>(m_nHeight);
    }
};
