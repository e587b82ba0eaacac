// The Options command: the only way the player changes the settings between games.
#include "game/zorvikview.h"

void CZorvikView::OnGameOptions() {
    CZorvikDoc* pDoc = GetDocument();

    COptionsValues values;
    values.bSingleColour = pDoc->m_bSingleColour;
    values.crColour = pDoc->m_crSingle;
    values.nWidth = pDoc->m_field.m_nWidth;
    values.nHeight = pDoc->m_field.m_nHeight;
    values.nLevel = pDoc->m_nLevel;
    values.nFallTime = m_nFallTime;

    if (m_pWnd->DoOptionsDialog(values) != IDOK) {
        // Nothing the player did in the dialog survives a cancel, a colour chosen included.
        return;
    }

    // The field is re-created even at the same size: OK always clears what the last game left.
    pDoc->SetFieldSize(values.nWidth, values.nHeight);
    pDoc->m_nLevel = values.nLevel;
    m_nFallTime = values.nFallTime;
    pDoc->m_crSingle = values.crColour;
    pDoc->m_bSingleColour = values.bSingleColour;
    // Draws the empty field at its new size, and the caption with the new level and size.
    m_pWnd->InvalidateRect();
}
