#include "model/zorvikdoc.h"

#include "model/piececatalogue.h"

CZorvikDoc::CZorvikDoc() {
    m_nPieceCount = kPieceCount;
    CreatePieces();
    SetFieldSize(kDefaultFieldWidth, kDefaultFieldHeight);
    m_nMargin = kDefaultMargin;
    m_crEmpty = kDefaultEmptyColour;
    m_crSingle = kDefaultSingleColour;
    m_bSingleColour = TRUE;
    m_nLevel = kDefaultLevel;
}

void CZorvikDoc::CreatePieces() {
    m_pPieces = std::make_unique<CPolyomino[]>(static_cast<std::size_t>(m_nPieceCount));
    for (std::int32_t i = 0; i < m_nPieceCount; ++i) {
        const CPieceShape& shape = g_aPieceShape[static_cast<std::size_t>(i)];
        m_pPieces[i].SetCells(shape.nCount, shape.aCells.data());
    }
}

void CZorvikDoc::SetFieldSize(std::int32_t nWidth, std::int32_t nHeight) {
    m_field.Resize(nWidth, nHeight);
}
