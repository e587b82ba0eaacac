// Placeholder until the drawing lands.
#include "game/zorvikview.h"

void CZorvikView::OnDraw(CDC*) {}
void CZorvikView::DrawField(CDC*) {}
int CZorvikView::CalcCellSize() {
    return 0;
}
void CZorvikView::DrawCell(CDC*, int, int, BOOL) {}
void CZorvikView::DrawNextPiece() {}
void CZorvikView::SetStatusText(const std::string&) {}
