#include "controls/scroll_bar.h"

#include <algorithm>

#include "controls/control_text.h"

namespace win::controls {

ScrollBarParts ScrollBarLayout(const ScrollBarInfo& info) {
    const RECT& r = info.rect;
    int width = r.right - r.left;
    int arrow = std::min<int>(width, (r.bottom - r.top) / 2);
    ScrollBarParts parts;
    parts.up = RECT{r.left, r.top, r.right, r.top + arrow};
    parts.down = RECT{r.left, r.bottom - arrow, r.right, r.bottom};
    parts.track = RECT{r.left, parts.up.bottom, r.right, parts.down.top};
    int trackLength = std::max<int>(0, parts.track.bottom - parts.track.top);
    int range = std::max(0, info.max - info.min);
    int total = range + std::max(1, info.page);
    int thumb = std::clamp(trackLength * std::max(1, info.page) / std::max(1, total),
                           std::min(8, trackLength), trackLength);
    int free = trackLength - thumb;
    int offset = range > 0 ? free * std::clamp(info.pos - info.min, 0, range) / range : 0;
    parts.thumb = RECT{r.left, parts.track.top + offset, r.right, parts.track.top + offset + thumb};
    return parts;
}

namespace {

void Arrow(HDC dc, const RECT& box, bool up) {
    FillSys(dc, box, COLOR_BTNFACE);
    RaisedFrame(dc, box);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ old = SelectObject(dc, pen);
    int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    for (int row = 0; row < 4; ++row) {
        int y = up ? cy - 2 + row : cy + 1 - row;
        MoveToEx(dc, cx - row, y, nullptr);
        LineTo(dc, cx + row + 1, y);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

}  // namespace

void PaintScrollBar(HDC dc, const ScrollBarInfo& info, const ScrollBarDrag&) {
    ScrollBarParts parts = ScrollBarLayout(info);
    FillSys(dc, parts.track, COLOR_SCROLLBAR);
    Arrow(dc, parts.up, true);
    Arrow(dc, parts.down, false);
    if (parts.thumb.bottom > parts.thumb.top) {
        FillSys(dc, parts.thumb, COLOR_BTNFACE);
        RaisedFrame(dc, parts.thumb);
    }
}

int ScrollBarPress(const ScrollBarInfo& info, POINT p, ScrollBarDrag* drag) {
    ScrollBarParts parts = ScrollBarLayout(info);
    if (PtInRect(&parts.up, p)) return SB_LINEUP;
    if (PtInRect(&parts.down, p)) return SB_LINEDOWN;
    if (PtInRect(&parts.thumb, p)) {
        if (drag) *drag = ScrollBarDrag{true, int(p.y - parts.thumb.top)};
        return -1;
    }
    if (PtInRect(&parts.track, p)) return p.y < parts.thumb.top ? SB_PAGEUP : SB_PAGEDOWN;
    return -1;
}

int ScrollBarDragTo(const ScrollBarInfo& info, const ScrollBarDrag& drag, POINT p) {
    ScrollBarParts parts = ScrollBarLayout(info);
    int free = (parts.track.bottom - parts.track.top) - (parts.thumb.bottom - parts.thumb.top);
    int range = info.max - info.min;
    if (free <= 0 || range <= 0) return info.pos;
    int offset = std::clamp<int>(p.y - drag.grabOffset - parts.track.top, 0, free);
    return info.min + (offset * range + free / 2) / free;
}

}  // namespace win::controls
