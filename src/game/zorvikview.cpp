#include "game/zorvikview.h"

CZorvikView::CZorvikView(CZorvikDoc& doc, IViewWindow& wnd, IRuntime& runtime)
    : m_pDocument(&doc), m_pWnd(&wnd), m_pRuntime(&runtime) {}
