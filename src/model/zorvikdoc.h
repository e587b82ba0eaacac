// The game document: the settings, the piece set and the playing field for the whole run.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "model/playfield.h"
#include "model/polyomino.h"
#include "platform/wintypes.h"

// Levels run from 1 to kLevelCount: 1 plays the tetrominoes, 2 the pentominoes, 3 both and 4 every
// other piece of the set.
constexpr std::int32_t kLevelCount = 4;

// The field's width and height the player may set, in squares.
constexpr std::int32_t kMinFieldSize = 10;
constexpr std::int32_t kMaxFieldSize = 50;

// The settings of a new document.
constexpr std::int32_t kDefaultFieldWidth = 10;
constexpr std::int32_t kDefaultFieldHeight = 15;
constexpr std::int32_t kDefaultMargin = 20;
constexpr COLORREF kDefaultEmptyColour = 0x000A0A0A;   // red, green and blue 10
constexpr COLORREF kDefaultSingleColour = 0x0048BB79;  // red 121, green 187, blue 72
constexpr std::int32_t kDefaultLevel = 1;

// The application makes one document at start-up and destroys it at exit. The view reads and
// writes its members directly. It holds no game progress and stores nothing in files: the
// settings last for one run and the best scores are read back from the score log.
class CZorvikDoc {
public:
    CZorvikDoc();
    ~CZorvikDoc() = default;
    CZorvikDoc(const CZorvikDoc&) = delete;
    CZorvikDoc& operator=(const CZorvikDoc&) = delete;

    // Re-creates the field empty at the new size, also when the size does not change.
    void SetFieldSize(std::int32_t nWidth, std::int32_t nHeight);

    // Best scores of levels 1 to kLevelCount. A cache of the score log, refilled before every use.
    std::array<std::int32_t, kLevelCount> m_aBestScore{};
    std::int32_t m_nLevel = 0;  // 1 to kLevelCount
    COLORREF m_crEmpty = 0;     // colour of an empty cell
    COLORREF m_crSingle = 0;    // colour of every square while m_bSingleColour is set
    BOOL m_bSingleColour = FALSE;
    std::int32_t m_nMargin = 0;  // pixels around the field in the view
    std::unique_ptr<CPolyomino[]> m_pPieces;
    std::int32_t m_nPieceCount = 0;
    CPlayField m_field;

private:
    void CreatePieces();
};
