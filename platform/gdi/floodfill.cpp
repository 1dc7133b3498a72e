// ExtFloodFill: a scan-line span fill, 4-connected, exact colours, bounded
// by the bitmap and the clip. It uses an explicit stack of seeds; nothing
// recurses and nothing is allocated per pixel. Painted pixels normally stop
// matching the area's colour, which is what ends the fill; only when the
// paint would still match (a border fill in another colour) does a visited
// mask keep track.
#include <vector>

#include "gdi/canvas.h"

using namespace win::gdi;

namespace {

class Filler {
public:
    Filler(const Canvas& c, uint32_t target, bool surface, uint32_t paint)
        : v_(c.view()),
          k_(c.clip()),
          target_(target),
          surface_(surface),
          paint_(paint),
          width_(k_.right - k_.left) {
        const bool paintMatches = surface ? paint == target : paint != target;
        if (paintMatches) visited_.assign(size_t(width_) * size_t(k_.bottom - k_.top), false);
    }

    void Run(int x, int y) {
        stack_.push_back({x, y});
        while (!stack_.empty()) {
            const Seed s = stack_.back();
            stack_.pop_back();
            if (!Inside(s.x, s.y)) continue;
            // Grow the span left and right from the seed, then paint it.
            int l = s.x, r = s.x;
            while (l > k_.left && Inside(l - 1, s.y)) --l;
            while (r + 1 < k_.right && Inside(r + 1, s.y)) ++r;
            uint32_t* row = v_.row(s.y);
            for (int x = l; x <= r; ++x) {
                row[x] = paint_;
                Mark(x, s.y);
            }
            if (s.y > k_.top) Seeds(l, r, s.y - 1);
            if (s.y + 1 < k_.bottom) Seeds(l, r, s.y + 1);
        }
    }

private:
    struct Seed {
        int x, y;
    };
    bool Inside(int x, int y) const {
        if (!visited_.empty() && visited_[Index(x, y)]) return false;
        const bool same = (v_.row(y)[x] & 0xFFFFFF) == target_;
        return surface_ ? same : !same;
    }
    size_t Index(int x, int y) const {
        return size_t(y - k_.top) * size_t(width_) + size_t(x - k_.left);
    }
    void Mark(int x, int y) {
        if (!visited_.empty()) visited_[Index(x, y)] = true;
    }
    // One seed for each run of fillable pixels in row y between l and r.
    void Seeds(int l, int r, int y) {
        bool inRun = false;
        for (int x = l; x <= r; ++x) {
            const bool in = Inside(x, y);
            if (in && !inRun) stack_.push_back({x, y});
            inRun = in;
        }
    }

    const PixelView& v_;
    const RECT k_;
    const uint32_t target_;
    const bool surface_;
    const uint32_t paint_;
    const int width_;
    std::vector<bool> visited_;
    std::vector<Seed> stack_;
};

}  // namespace

BOOL WINAPI ExtFloodFill(HDC handle, int x, int y, COLORREF color, UINT type) {
    Dc* dc = FindDc(handle);
    if (!dc || (type != FLOODFILLSURFACE && type != FLOODFILLBORDER)) return FALSE;
    Canvas c(dc, true);
    const int px = c.X(x), py = c.Y(y);
    if (!c.Visible(px, py)) return FALSE;
    const uint32_t target = c.Color(color);
    const bool surface = type == FLOODFILLSURFACE;
    const bool same = (c.view().row(py)[px] & 0xFFFFFF) == target;
    if (surface != same) return FALSE;  // the seed is not part of the area
    if (dc->brush->hollow) return TRUE;
    const uint32_t paint = c.Color(dc->brush->color);
    if (surface && paint == target) return TRUE;  // nothing would change
    Filler(c, target, surface, paint).Run(px, py);
    return TRUE;
}

BOOL WINAPI FloodFill(HDC dc, int x, int y, COLORREF color) {
    return ExtFloodFill(dc, x, y, color, FLOODFILLBORDER);
}
