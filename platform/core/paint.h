// Update regions. Callers hold BigLock().
#pragma once
#include "window.h"

namespace win::core {

// Adds `clientRect` (null: the whole client area) to the window's update
// region and, unless the window clips its children, to the children it
// overlaps, so that they paint again after it.
void Invalidate(Window& w, const RECT* clientRect, bool erase);
// Invalidates what lies under a screen rectangle in `w` and its children:
// used when a child moves away or hides.
void InvalidateScreenArea(Window& w, const RECT& screen);
// Presents a changed rectangle of a top-level window's pixels.
void PresentChange(Window& top, const RECT& surfaceRect);

}  // namespace win::core
