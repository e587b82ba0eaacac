#include "model/piececatalogue.h"

// The order of the squares matters: it is the order of every later copy and transform.
const std::array<CPieceShape, kPieceCount> g_aPieceShape = {{
    {"I tetromino", 4, {{{-1, 0}, {0, 0}, {1, 0}, {2, 0}}}},
    {"L tetromino", 4, {{{-1, 0}, {0, 0}, {1, 0}, {1, 1}}}},
    {"T tetromino", 4, {{{-1, 0}, {0, 0}, {1, 0}, {0, 1}}}},
    {"S tetromino", 4, {{{-1, 0}, {0, 0}, {0, 1}, {1, 1}}}},
    {"O tetromino", 4, {{{0, 0}, {0, 1}, {1, 0}, {1, 1}}}},
    {"F pentomino", 5, {{{-1, 0}, {0, -1}, {0, 0}, {0, 1}, {1, 1}}}},
    {"I pentomino", 5, {{{-2, 0}, {-1, 0}, {0, 0}, {1, 0}, {2, 0}}}},
    {"L pentomino", 5, {{{-1, 0}, {0, 0}, {1, 0}, {2, 0}, {2, 1}}}},
    {"N pentomino", 5, {{{-1, 0}, {0, 0}, {1, 0}, {1, 1}, {2, 1}}}},
    {"P pentomino", 5, {{{-1, 0}, {0, 0}, {1, 0}, {0, 1}, {1, 1}}}},
    {"T pentomino", 5, {{{-1, 0}, {0, 0}, {1, 0}, {0, 1}, {0, 2}}}},
    {"U pentomino", 5, {{{-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}}},  // the origin is the gap
    {"V pentomino", 5, {{{-2, 0}, {-1, 0}, {0, 0}, {0, 1}, {0, 2}}}},
    {"W pentomino", 5, {{{-1, -1}, {0, -1}, {0, 0}, {1, 0}, {1, 1}}}},
    {"X pentomino", 5, {{{0, -1}, {-1, 0}, {0, 0}, {1, 0}, {0, 1}}}},
    {"Y pentomino", 5, {{{-1, 0}, {0, 0}, {1, 0}, {2, 0}, {1, 1}}}},
    {"Z pentomino", 5, {{{-1, -1}, {0, -1}, {0, 0}, {0, 1}, {1, 1}}}},
}};

const std::array<COLORREF, kPieceCount> g_aPieceColour = {
    0x0000FFFF, 0x000000FF, 0x00FF0000, 0x00FFFF00, 0x00E22B8A, 0x002A2AA5,
    0x00FF00FF, 0x00A09E5F, 0x0000FF00, 0x001E69D2, 0x00B0FFA0, 0x003C14DC,
    0x00FF8F00, 0x008B8080, 0x008B8B00, 0x000B86B8, 0x00A9A9A9,
};
