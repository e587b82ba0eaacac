// The Options command: the only way the player changes the settings between games.
#include "game/zorvikview.h"

void CZorvikView::OnGameOptions() {
    CZorvikDoc* pDoc = GetDocument();

    COptionsValues values;
    values.m_bSingleColour = pDoc->m_bSingleColour;
    values.m_crColour = pDoc->m_crSingle;
    values.m_nWidth = pDoc->m_field.m_nWidth;
    values.m_nHeight = pDoc->m_field.m_nHeight;
    values.m_nLevel = pDoc->m_nLevel;
    values.m_nFallTime = m_nFallTime;

    if (m_pWnd->DoOptionsDialog(values) != IDOK) {
        // Nothing the player did in the dialog survives a cancel, a colour chosen included.
        return;
    }

    // The field is re-created even at the same size: OK always clears what the last game left.
    pDoc->SetFieldSize(values.m_nWidth, values.m_nHeight);
    pDoc->m_nLevel = values.m_nLevel;
    m_nFallTime = values.m_nFallTime;
    pDoc->m_crSingle = values.m_crColour;
    pDoc->m_bSingleColour = values.m_bSingleColour;
    // Draws the empty field at its new size, and the caption with the new level and size.
    m_pWnd->InvalidateRect();
}
