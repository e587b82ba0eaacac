// Placeholder until the controller lands.
#include "game/zorvikview.h"

void CZorvikView::OnGameStart() {}
void CZorvikView::OnTimer(UINT_PTR) {}
void CZorvikView::OnDestroy() {}
void CZorvikView::OnUpdateIdleOnly(CCmdUI*) {}
void CZorvikView::OnUpdateAppAbout(CCmdUI*) {}
BOOL CZorvikView::OnCommand(UINT) {
    return FALSE;
}
BOOL CZorvikView::OnUpdateCommand(CCmdUI*) {
    return FALSE;
}
bool CZorvikView::PieceFits(int, int, int) {
    return false;
}
bool CZorvikView::PutPiece(int, int, int, BOOL) {
    return false;
}
void CZorvikView::ChoosePiece(int&, int&, int&) {}
void CZorvikView::ResetGameState() {}
void CZorvikView::GameOver() {}
int CZorvikView::GetFallInterval(int) const {
    return 0;
}
int CZorvikView::GetScore() const {
    return 0;
}
