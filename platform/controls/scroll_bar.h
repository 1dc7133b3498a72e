// A vertical scroll bar drawn inside a control's client area, in the classic
// look: two arrow buttons, the track and a thumb sized by the page.
#pragma once
#include <windows.h>

namespace win::controls {

struct ScrollBarInfo {
    RECT rect;  // the whole bar, client coordinates
    int min = 0;
    int max = 0;   // highest position
    int page = 1;  // positions visible at once
    int pos = 0;
};

// A thumb drag in progress.
struct ScrollBarDrag {
    bool active = false;
    int grabOffset = 0;  // pointer's distance below the thumb's top
};

struct ScrollBarParts {
    RECT up, down, track, thumb;
};
ScrollBarParts ScrollBarLayout(const ScrollBarInfo& info);

void PaintScrollBar(HDC dc, const ScrollBarInfo& info, const ScrollBarDrag& drag);
// What a press at `p` does: an SB_* code, or -1 when it grabs the thumb
// (then `drag` is set) or hits nothing.
int ScrollBarPress(const ScrollBarInfo& info, POINT p, ScrollBarDrag* drag);
// The position for the thumb dragged to `p`.
int ScrollBarDragTo(const ScrollBarInfo& info, const ScrollBarDrag& drag, POINT p);

}  // namespace win::controls
