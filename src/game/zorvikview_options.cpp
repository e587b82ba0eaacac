// Placeholder until the Options command lands.
#include "game/zorvikview.h"

void CZorvikView::OnGameOptions() {}
