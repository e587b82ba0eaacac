// Placeholder until the score log lands.
#include "game/zorvikview.h"

void CZorvikView::ReportScore() {}
std::string CZorvikView::GetScoreLogPath() {
    return {};
}
void CZorvikView::ReadBestScores() {}
void CZorvikView::OnGameShowScore() {}
