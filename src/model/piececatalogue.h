// The fixed set of pieces the game plays with and their colours, by piece index.
#pragma once

#include <array>
#include <cstdint>

#include "model/polyomino.h"
#include "platform/wintypes.h"

// Indices 0 to 4 are the tetrominoes, 5 to 16 the pentominoes; the controller chooses pieces by
// index range per level, so this order is part of the game.
constexpr std::int32_t kPieceCount = 17;
constexpr std::int32_t kFirstPentomino = 5;

struct CPieceShape {
    const char* pszName;
    std::int32_t nCount;
    std::array<CellOffset, CPolyomino::kMaxCells> aCells;  // in stored order
};

extern const std::array<CPieceShape, kPieceCount> g_aPieceShape;

// Every colour is non-zero: a field cell holding 0 is empty, so a settled square always reads as
// occupied.
extern const std::array<COLORREF, kPieceCount> g_aPieceColour;
