#include "scale.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace win::sdl {

int ChooseScale(SIZE screen, SIZE usable, SIZE window) {
    if (window.cx <= 0 || window.cy <= 0 || screen.cy <= 0) return 1;
    int factor = 1;
    // 64-bit products: a broken display report must not overflow.
    for (int n = 2; n <= 3; ++n) {
        const long long high = (long long)window.cy * n, wide = (long long)window.cx * n;
        if (high * 3 <= (long long)screen.cy * 2 && high <= usable.cy && wide <= usable.cx)
            factor = n;
    }
    return factor;
}

FullScreenLayout LayOutFullScreen(SIZE display, const RECT& content) {
    FullScreenLayout layout;
    const long long wide = (long long)content.right - content.left;
    const long long high = (long long)content.bottom - content.top;
    if (wide <= 0 || high <= 0 || display.cx <= 0 || display.cy <= 0) return layout;
    for (int n = 2; n <= kMaxFullScreenScale; ++n)
        if (wide * n <= display.cx && high * n <= display.cy) layout.factor = n;
    // 64-bit sums: a window far off the screen must not overflow them.
    const long long f = layout.factor;
    layout.origin.x = LONG((display.cx - ((long long)content.left + content.right) * f) / 2);
    layout.origin.y = LONG((display.cy - ((long long)content.top + content.bottom) * f) / 2);
    return layout;
}

int ParseScale(const char* text) {
    if (!text || !*text) return 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < 1 || value > kMaxScale) return 0;
    return int(value);
}

RECT ScalePixels(const PixelsView& from, const RECT& area, int factor, const PixelsView& to) {
    if (factor < 1 || !from.pixels || !to.pixels) return {0, 0, 0, 0};
    // The source pixels whose blocks reach into `to`, within `area`.
    const int left = std::max(0, int(area.left));
    const int top = std::max(0, int(area.top));
    const int right = std::min({int(area.right), from.width, (to.width + factor - 1) / factor});
    const int bottom = std::min({int(area.bottom), from.height, (to.height + factor - 1) / factor});
    if (left >= right || top >= bottom) return {0, 0, 0, 0};
    const int toLeft = left * factor, toTop = top * factor;
    const int toRight = std::min(right * factor, to.width);
    const int toBottom = std::min(bottom * factor, to.height);
    for (int y = top; y < bottom; ++y) {
        const uint32_t* in = from.pixels + size_t(y) * size_t(from.stride);
        const int first = y * factor, last = std::min(first + factor, toBottom);
        uint32_t* row = to.pixels + size_t(first) * size_t(to.stride);
        for (int x = left; x < right; ++x) {
            const uint32_t pixel = in[x];
            const int end = std::min((x + 1) * factor, toRight);
            for (int i = x * factor; i < end; ++i) row[i] = pixel;
        }
        // The block's other rows repeat the first one.
        for (int dy = first + 1; dy < last; ++dy)
            std::memcpy(to.pixels + size_t(dy) * size_t(to.stride) + toLeft, row + toLeft,
                        size_t(toRight - toLeft) * sizeof(uint32_t));
    }
    return {toLeft, toTop, toRight, toBottom};
}

}  // namespace win::sdl
