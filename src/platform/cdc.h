// A drawing surface over the view's client area.
#pragma once

#include "platform/wintypes.h"

class CDC {
public:
    virtual ~CDC() = default;

    // Fills the rectangle with top-left corner (x, y), width cx and height cy in one solid
    // colour, clipped to the surface; no border, no other pixel touched. A width or height of 0
    // or less fills nothing.
    virtual void FillSolidRect(int x, int y, int cx, int cy, COLORREF cr) = 0;
};
