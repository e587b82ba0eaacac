// The game document: the settings, the piece set and the playing field for the whole run.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "model/playfield.h"
#include "model/polyomino.h"
#include "platform/wintypes.h"

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

    // Best scores of levels 1 to 4. A cache of the score log, refilled before every use.
    std::array<std::int32_t, 4> m_aBestScore{};
    std::int32_t m_nLevel = 0;  // 1 to 4
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
