// One piece: a handful of squares given as offsets from the piece's origin.
#pragma once

#include <cstdint>
#include <memory>

// One square of a piece, relative to the piece's origin, in field coordinates: x grows to the
// right, y grows downward.
struct CellOffset {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend constexpr bool operator==(const CellOffset&, const CellOffset&) = default;
};

// A piece keeps two copies of its squares: the initial copy, as the catalogue made it, and the
// current copy, which the player turns and mirrors. Entry i of the current copy always derives
// from entry i of the initial copy; turns and mirrors act about the origin, not about the
// shape's centre.
class CPolyomino {
public:
    // No piece has more squares than this; callers copy squares into buffers of this size.
    static constexpr int kMaxCells = 5;

    CPolyomino() = default;
    ~CPolyomino() = default;
    CPolyomino(const CPolyomino&) = delete;
    CPolyomino& operator=(const CPolyomino&) = delete;

    // Gives the piece its squares. A piece that already has squares drops them first. A count
    // of 0 or less (or no squares) leaves the piece without squares; a count above kMaxCells
    // keeps the first kMaxCells, so no caller's buffer can overflow.
    void SetCells(std::int32_t nCount, const CellOffset* pCells);

    // Copies the current squares into pBuffer (room for at least m_nCount entries) in stored
    // order and returns their number.
    std::int32_t GetCells(CellOffset* pBuffer) const;

    void RotateClockwise();         // (x, y) -> (-y, x): a quarter turn clockwise on screen
    void RotateCounterclockwise();  // (x, y) -> (y, -x)
    void Mirror();                  // (x, y) -> (-x, y)
    void Reset();                   // the current copy becomes the initial copy again

    // Rows the piece reaches above its origin (minus the smallest y), and columns it reaches
    // left of its origin (minus the smallest x); -100 for a piece without squares.
    std::int32_t GetTopExtent() const;
    std::int32_t GetLeftExtent() const;

    std::int32_t m_nCount = 0;
    std::unique_ptr<CellOffset[]> m_pCells;    // the current squares
    std::unique_ptr<CellOffset[]> m_pInitial;  // the squares as the catalogue made them
};
