// One drawing operation's view of a DC: its pixels, the clip rectangle in
// those pixels, the logical-to-pixel offset, and the raster operations that
// every drawing function shares.
#pragma once
#include <algorithm>
#include <optional>

#include "gdi/objects.h"

namespace win::gdi {

inline RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}
inline bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline bool Contains(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
// Saturating conversion so that coordinate sums never overflow.
inline LONG Clamp(int64_t v) {
    return LONG(std::clamp<int64_t>(v, -(int64_t(1) << 30), int64_t(1) << 30));
}

class Canvas {
public:
    Canvas(Dc* dc, bool writes);
    const PixelView& view() const { return view_; }
    const RECT& clip() const { return clip_; }
    // Pixel coordinates of a logical point.
    int X(int64_t x) const { return Clamp(x + dx_); }
    int Y(int64_t y) const { return Clamp(y + dy_); }
    RECT ToPixels(const RECT& logical) const {
        return RECT{X(logical.left), Y(logical.top), X(logical.right), Y(logical.bottom)};
    }
    // A colour as this canvas stores it.
    uint32_t Color(COLORREF c) const {
        uint32_t p = ToPixel(c & 0xFFFFFF);
        return view_.mono ? MonoPixel(p) : p;
    }
    bool Visible(int x, int y) const { return Contains(clip_, x, y); }

private:
    std::optional<PixelAccess> access_;
    PixelView view_;
    RECT clip_{};
    int dx_ = 0, dy_ = 0;
};

// Binary raster operation of a pen colour with a pixel.
inline uint32_t Rop2(int rop2, uint32_t pen, uint32_t dst) {
    if (rop2 == R2_COPYPEN) return pen;
    const unsigned v = unsigned(rop2 - 1) & 15;
    uint32_t r = 0;
    if (v & 1) r |= ~pen & ~dst;
    if (v & 2) r |= ~pen & dst;
    if (v & 4) r |= pen & ~dst;
    if (v & 8) r |= pen & dst;
    return r & 0xFFFFFF;
}

// Ternary raster operation (the ROP code's index byte) of pattern, source
// and destination.
inline uint32_t Rop3(unsigned rop, uint32_t pat, uint32_t src, uint32_t dst) {
    uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!(rop & (1u << i))) continue;
        uint32_t term = (i & 4) ? pat : ~pat;
        term &= (i & 2) ? src : ~src;
        term &= (i & 1) ? dst : ~dst;
        r |= term;
    }
    return r & 0xFFFFFF;
}

// Applies a pen colour to pixels [x0, x1) of row y (already clipped).
inline void Span(const PixelView& v, int y, int x0, int x1, uint32_t color, int rop2) {
    uint32_t* row = v.row(y);
    if (rop2 == R2_COPYPEN) {
        std::fill(row + x0, row + x1, color);
        return;
    }
    for (int x = x0; x < x1; ++x) row[x] = Rop2(rop2, color, row[x]);
}

// Applies a pen colour to row y between x0 and x1 (exclusive), clipped.
inline void ClippedSpan(const Canvas& c, int y, int x0, int x1, uint32_t color, int rop2) {
    const RECT& k = c.clip();
    if (y < k.top || y >= k.bottom) return;
    x0 = std::max<int>(x0, k.left);
    x1 = std::min<int>(x1, k.right);
    if (x0 < x1) Span(c.view(), y, x0, x1, color, rop2);
}

// Fills a rectangle given in pixels, clipped.
inline void FillPixels(const Canvas& c, const RECT& r, uint32_t color, int rop2) {
    RECT k = Intersect(r, c.clip());
    for (int y = k.top; y < k.bottom; ++y) Span(c.view(), y, k.left, k.right, color, rop2);
}

}  // namespace win::gdi
