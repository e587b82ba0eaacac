// Placeholder until the keyboard moves land.
#include "game/zorvikview.h"

void CZorvikView::OnKeyDown(UINT, UINT, UINT) {}
