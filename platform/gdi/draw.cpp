// Pixels, lines, rectangles, ellipses, and the rectangle helpers (FillRect,
// FrameRect, InvertRect, DrawFocusRect, DrawEdge).
#include <cmath>
#include <vector>

#include "gdi/canvas.h"
#include "win/user.h"

using namespace win::gdi;

namespace {

bool Drawable(const Pen* p) { return p->style != PS_NULL; }

// Horizontal extents, per row, of a shape being built, so that every pixel
// of the shape is drawn exactly once (exclusive-or drawing relies on it).
class RowSpans {
public:
    RowSpans(int top, int bottom)
        : top_(top), spans_(size_t(std::max(0, bottom - top)), {INT32_MAX, INT32_MIN}) {}
    void Add(int y, int x0, int x1) {  // [x0, x1)
        if (y < top_ || y >= top_ + int(spans_.size())) return;
        auto& s = spans_[size_t(y - top_)];
        s.first = std::min(s.first, x0);
        s.second = std::max(s.second, x1);
    }
    void Draw(const Canvas& c, uint32_t color, int rop2) const {
        for (size_t i = 0; i < spans_.size(); ++i)
            if (spans_[i].first < spans_[i].second)
                ClippedSpan(c, top_ + int(i), spans_[i].first, spans_[i].second, color, rop2);
    }

private:
    int top_;
    std::vector<std::pair<int, int>> spans_;
};

// A line from (x0, y0) to (x1, y1) in pixels, Bresenham's way; the last
// point is left out, as Windows does.
template <class Plot>
void WalkLine(int x0, int y0, int x1, int y1, bool includeLast, Plot plot) {
    const int64_t dx = std::abs(int64_t(x1) - x0), dy = -std::abs(int64_t(y1) - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int64_t err = dx + dy;
    int x = x0, y = y0;
    for (;;) {
        const bool last = x == x1 && y == y1;
        if (last && !includeLast) break;
        plot(x, y);
        if (last) break;
        const int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// Clips a line's end points to a generous box around the clip, so that a
// line of absurd length costs no more than one across the canvas.
bool ClipLine(const RECT& clip, int margin, double& x0, double& y0, double& x1, double& y1) {
    const double l = clip.left - margin, t = clip.top - margin;
    const double r = clip.right + margin, b = clip.bottom + margin;
    double u0 = 0, u1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - l, r - x0, y0 - t, b - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double u = q[i] / p[i];
        if (p[i] < 0)
            u0 = std::max(u0, u);
        else
            u1 = std::min(u1, u);
        if (u0 > u1) return false;
    }
    const double nx0 = x0 + u0 * dx, ny0 = y0 + u0 * dy, nx1 = x0 + u1 * dx, ny1 = y0 + u1 * dy;
    x0 = nx0;
    y0 = ny0;
    x1 = nx1;
    y1 = ny1;
    return true;
}

void DrawLine(const Canvas& c, const Pen& pen, int rop2, int x0, int y0, int x1, int y1) {
    const uint32_t color = c.Color(pen.color);
    const int w = pen.width;
    int ax = x0, ay = y0, bx = x1, by = y1;
    bool includeLast = false;
    const RECT& k = c.clip();
    const RECT near{k.left - 4096, k.top - 4096, k.right + 4096, k.bottom + 4096};
    if (!Contains(near, x0, y0) || !Contains(near, x1, y1)) {
        double fx0 = x0, fy0 = y0, fx1 = x1, fy1 = y1;
        if (!ClipLine(k, w + 2, fx0, fy0, fx1, fy1)) return;
        ax = int(std::lround(fx0));
        ay = int(std::lround(fy0));
        bx = int(std::lround(fx1));
        by = int(std::lround(fy1));
        // A cut end is not the caller's end point: it is drawn.
        includeLast = bx != x1 || by != y1;
    }
    if (w <= 1) {
        const PixelView& v = c.view();
        WalkLine(ax, ay, bx, by, includeLast, [&](int x, int y) {
            if (c.Visible(x, y)) {
                uint32_t* p = v.row(y) + x;
                *p = Rop2(rop2, color, *p);
            }
        });
        return;
    }
    // A wide pen covers a w x w square around each point of the line.
    const int lo = w / 2;
    RowSpans spans(std::min(ay, by) - lo, std::max(ay, by) - lo + w);
    WalkLine(ax, ay, bx, by, includeLast, [&](int x, int y) {
        for (int k = 0; k < w; ++k) spans.Add(y - lo + k, x - lo, x - lo + w);
    });
    spans.Draw(c, color, rop2);
}

// The outline ring between two rectangles (outer minus inner), row by row.
void Ring(const Canvas& c, const RECT& outer, const RECT& inner, uint32_t color, int rop2) {
    const int y0 = std::max<int>(outer.top, c.clip().top),
              y1 = std::min<int>(outer.bottom, c.clip().bottom);
    for (int y = y0; y < y1; ++y) {
        if (y < inner.top || y >= inner.bottom || inner.left >= inner.right) {
            ClippedSpan(c, y, outer.left, outer.right, color, rop2);
        } else {
            ClippedSpan(c, y, outer.left, std::min(inner.left, outer.right), color, rop2);
            ClippedSpan(c, y, std::max(inner.right, outer.left), outer.right, color, rop2);
        }
    }
}

RECT Ordered(int l, int t, int r, int b) {
    return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

// Row y's span [a, b) of the ellipse inscribed in `box`; false if none.
bool EllipseRow(const RECT& box, int y, int& a, int& b) {
    const double rx = (double(box.right) - box.left) / 2.0,
                 ry = (double(box.bottom) - box.top) / 2.0;
    if (rx <= 0 || ry <= 0) return false;
    const double cx = (double(box.left) + box.right) / 2.0,
                 cy = (double(box.top) + box.bottom) / 2.0;
    const double dy = (y + 0.5 - cy) / ry;
    if (dy <= -1 || dy >= 1) return false;
    const double half = rx * std::sqrt(1 - dy * dy);
    a = int(std::ceil(cx - half - 0.5));
    b = int(std::floor(cx + half - 0.5)) + 1;
    return a < b;
}

HBRUSH BrushOrSysColor(HBRUSH brush, COLORREF& color, bool& hollow) {
    // A brush value of COLOR_x + 1 stands for that system colour.
    const uintptr_t v = reinterpret_cast<uintptr_t>(brush);
    if (v >= 1 && v <= 31) {
        color = GetSysColor(int(v) - 1);
        hollow = false;
        return brush;
    }
    Brush* b = FindBrush(brush);
    if (!b) return nullptr;
    color = b->color;
    hollow = b->hollow;
    return brush;
}

}  // namespace

COLORREF WINAPI SetPixel(HDC handle, int x, int y, COLORREF color) {
    Dc* dc = FindDc(handle);
    if (!dc) return CLR_INVALID;
    Canvas c(dc, true);
    const int px = c.X(x), py = c.Y(y);
    if (!c.Visible(px, py)) return CLR_INVALID;
    const uint32_t p = c.Color(color);
    c.view().row(py)[px] = p;
    return ToColorref(p);
}

BOOL WINAPI SetPixelV(HDC dc, int x, int y, COLORREF color) {
    return SetPixel(dc, x, y, color) != CLR_INVALID;
}

COLORREF WINAPI GetPixel(HDC handle, int x, int y) {
    Dc* dc = FindDc(handle);
    if (!dc) return CLR_INVALID;
    Canvas c(dc, false);
    const int px = c.X(x), py = c.Y(y);
    if (!c.Visible(px, py)) return CLR_INVALID;
    return ToColorref(c.view().row(py)[px] & 0xFFFFFF);
}

BOOL WINAPI MoveToEx(HDC handle, int x, int y, LPPOINT old) {
    Dc* dc = FindDc(handle);
    if (!dc) return FALSE;
    if (old) *old = dc->pos;
    dc->pos = POINT{Clamp(x), Clamp(y)};
    return TRUE;
}

BOOL WINAPI LineTo(HDC handle, int x, int y) {
    Dc* dc = FindDc(handle);
    if (!dc) return FALSE;
    const POINT from = dc->pos;
    dc->pos = POINT{Clamp(x), Clamp(y)};
    if (!Drawable(dc->pen)) return TRUE;
    Canvas c(dc, true);
    DrawLine(c, *dc->pen, dc->rop2, c.X(from.x), c.Y(from.y), c.X(x), c.Y(y));
    return TRUE;
}

BOOL WINAPI Polyline(HDC handle, const POINT* points, int count) {
    Dc* dc = FindDc(handle);
    if (!dc || !points || count < 2) return FALSE;
    if (!Drawable(dc->pen)) return TRUE;
    Canvas c(dc, true);
    for (int i = 1; i < count; ++i)
        DrawLine(c, *dc->pen, dc->rop2, c.X(points[i - 1].x), c.Y(points[i - 1].y),
                 c.X(points[i].x), c.Y(points[i].y));
    return TRUE;
}

BOOL WINAPI Rectangle(HDC handle, int left, int top, int right, int bottom) {
    Dc* dc = FindDc(handle);
    if (!dc) return FALSE;
    Canvas c(dc, true);
    RECT r = Ordered(c.X(left), c.Y(top), c.X(right), c.Y(bottom));
    const Pen& pen = *dc->pen;
    RECT inner;
    if (!Drawable(&pen)) {
        // Without a pen the filled area is one pixel smaller, as in Windows.
        inner = RECT{r.left, r.top, r.right - 1, r.bottom - 1};
    } else {
        const int w = pen.width;
        RECT outer;
        if (pen.style == PS_INSIDEFRAME) {
            outer = r;
            inner = RECT{r.left + w, r.top + w, r.right - w, r.bottom - w};
        } else {  // the pen is centred on the outline path
            const int lo = w / 2;
            outer = RECT{r.left - lo, r.top - lo, r.right - 1 - lo + w, r.bottom - 1 - lo + w};
            inner = RECT{outer.left + w, outer.top + w, outer.right - w, outer.bottom - w};
        }
        Ring(c, outer, inner, c.Color(pen.color), dc->rop2);
    }
    if (!dc->brush->hollow && !IsEmpty(inner))
        FillPixels(c, inner, c.Color(dc->brush->color), dc->rop2);
    return TRUE;
}

BOOL WINAPI Ellipse(HDC handle, int left, int top, int right, int bottom) {
    Dc* dc = FindDc(handle);
    if (!dc) return FALSE;
    Canvas c(dc, true);
    const RECT box = Ordered(c.X(left), c.Y(top), c.X(right), c.Y(bottom));
    const bool outline = Drawable(dc->pen);
    const int w = outline ? dc->pen->width : 0;
    const RECT innerBox{box.left + w, box.top + w, box.right - w, box.bottom - w};
    const uint32_t pen = c.Color(dc->pen->color), brush = c.Color(dc->brush->color);
    const int y0 = std::max<int>(box.top, c.clip().top),
              y1 = std::min<int>(box.bottom, c.clip().bottom);
    for (int y = y0; y < y1; ++y) {
        int a, b, ia, ib;
        if (!EllipseRow(box, y, a, b)) continue;
        if (!outline) {
            if (!dc->brush->hollow) ClippedSpan(c, y, a, b, brush, dc->rop2);
            continue;
        }
        if (!EllipseRow(innerBox, y, ia, ib)) {
            ClippedSpan(c, y, a, b, pen, dc->rop2);
            continue;
        }
        ia = std::max(ia, a + 1);
        ib = std::min(ib, b - 1);
        if (ia >= ib) {
            ClippedSpan(c, y, a, b, pen, dc->rop2);
            continue;
        }
        ClippedSpan(c, y, a, ia, pen, dc->rop2);
        ClippedSpan(c, y, ib, b, pen, dc->rop2);
        if (!dc->brush->hollow) ClippedSpan(c, y, ia, ib, brush, dc->rop2);
    }
    return TRUE;
}

int WINAPI FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
    Dc* dc = FindDc(handle);
    COLORREF color;
    bool hollow;
    if (!dc || !rect || !BrushOrSysColor(brush, color, hollow)) return 0;
    if (hollow) return 1;
    Canvas c(dc, true);
    FillPixels(c, c.ToPixels(*rect), c.Color(color), R2_COPYPEN);
    return 1;
}

int WINAPI FrameRect(HDC handle, const RECT* rect, HBRUSH brush) {
    Dc* dc = FindDc(handle);
    COLORREF color;
    bool hollow;
    if (!dc || !rect || !BrushOrSysColor(brush, color, hollow)) return 0;
    if (hollow) return 1;
    Canvas c(dc, true);
    const RECT r = c.ToPixels(*rect);
    if (IsEmpty(r)) return 1;
    Ring(c, r, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, c.Color(color), R2_COPYPEN);
    return 1;
}

BOOL WINAPI InvertRect(HDC handle, const RECT* rect) {
    Dc* dc = FindDc(handle);
    if (!dc || !rect) return FALSE;
    Canvas c(dc, true);
    FillPixels(c, c.ToPixels(*rect), 0, R2_NOT);
    return TRUE;
}

BOOL WINAPI DrawFocusRect(HDC handle, const RECT* rect) {
    Dc* dc = FindDc(handle);
    if (!dc || !rect) return FALSE;
    Canvas c(dc, true);
    const RECT r = c.ToPixels(*rect);
    if (IsEmpty(r)) return TRUE;
    // A dotted outline inverted every other pixel, so that drawing it again
    // removes it. The dots follow the logical grid.
    const int ox = c.X(0), oy = c.Y(0);
    const PixelView& v = c.view();
    auto dot = [&](int x, int y) {
        if (((x - ox + y - oy) & 1) == 0 && c.Visible(x, y)) v.row(y)[x] ^= 0xFFFFFF;
    };
    const RECT& k = c.clip();  // only the visible part is walked
    for (int x = std::max(r.left, k.left); x < std::min(r.right, k.right); ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
    }
    for (int y = std::max(r.top + 1, k.top); y < std::min(r.bottom - 1, k.bottom); ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left) dot(r.right - 1, y);
    }
    return TRUE;
}

BOOL WINAPI DrawEdge(HDC handle, LPRECT rect, UINT edge, UINT flags) {
    Dc* dc = FindDc(handle);
    if (!dc || !rect) return FALSE;
    enum {
        kWindow = COLOR_WINDOW,
        kFrame = COLOR_WINDOWFRAME,
        kFace = COLOR_BTNFACE,
        kShadow = COLOR_BTNSHADOW,
        kHighlight = COLOR_BTNHIGHLIGHT,
        kDark = COLOR_3DDKSHADOW,
        kLight = COLOR_3DLIGHT
    };
    // Top-left and bottom-right colours of the outer and inner borders.
    int outerTL = -1, outerBR = -1, innerTL = -1, innerBR = -1;
    if (edge & BDR_RAISEDOUTER)
        outerTL = kLight, outerBR = kDark;
    else if (edge & BDR_SUNKENOUTER)
        outerTL = kShadow, outerBR = kHighlight;
    if (edge & BDR_RAISEDINNER)
        innerTL = kHighlight, innerBR = kShadow;
    else if (edge & BDR_SUNKENINNER)
        innerTL = kDark, innerBR = kLight;
    if (flags & BF_MONO) {
        if (outerTL >= 0) outerTL = outerBR = kFrame;
        if (innerTL >= 0) innerTL = innerBR = kWindow;
    } else if (flags & BF_FLAT) {
        if (outerTL >= 0) outerTL = outerBR = kShadow;
        if (innerTL >= 0) innerTL = innerBR = kFace;
    }
    Canvas c(dc, true);
    RECT r = c.ToPixels(*rect);
    auto border = [&](int tl, int br) {
        if (tl < 0 || IsEmpty(r)) return;
        const uint32_t a = c.Color(GetSysColor(tl)), b = c.Color(GetSysColor(br));
        // The bottom-right colour owns the top-right and bottom-left corners.
        if (flags & BF_LEFT)
            FillPixels(c, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, a, R2_COPYPEN);
        if (flags & BF_TOP)
            FillPixels(c, RECT{r.left, r.top, r.right - 1, r.top + 1}, a, R2_COPYPEN);
        if (flags & BF_RIGHT)
            FillPixels(c, RECT{r.right - 1, r.top, r.right, r.bottom}, b, R2_COPYPEN);
        if (flags & BF_BOTTOM)
            FillPixels(c, RECT{r.left, r.bottom - 1, r.right, r.bottom}, b, R2_COPYPEN);
        if (flags & BF_LEFT) ++r.left;
        if (flags & BF_TOP) ++r.top;
        if (flags & BF_RIGHT) --r.right;
        if (flags & BF_BOTTOM) --r.bottom;
    };
    border(outerTL, outerBR);
    border(innerTL, innerBR);
    if ((flags & BF_MIDDLE) && !IsEmpty(r))
        FillPixels(c, r, c.Color(GetSysColor((flags & BF_MONO) ? kWindow : kFace)), R2_COPYPEN);
    if (flags & BF_ADJUST) {
        const RECT before = c.ToPixels(*rect);
        rect->left += r.left - before.left;
        rect->top += r.top - before.top;
        rect->right += r.right - before.right;
        rect->bottom += r.bottom - before.bottom;
    }
    return TRUE;
}
