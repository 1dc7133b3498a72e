// Thresholding and fitting an added picture.
#include "screens/colourable_picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace {

bool IsDark(const PixRGBQuad& c) {
    return c.rgbRed * 299 + c.rgbGreen * 587 + c.rgbBlue * 114 < kOutlineThreshold * 1000;
}

}  // namespace

bool MakeColourable(const PixImage& source, PixImage& result, int cx, int cy) {
    result.Destroy();
    const long w = long(source.GetWidth()), h = long(source.GetHeight());
    if (!source.IsValid() || w <= 0 || h <= 0 || cx <= 0 || cy <= 0) return false;
    const double scale = std::min(double(cx) / double(w), double(cy) / double(h));
    const long dw = std::clamp(std::lround(double(w) * scale), 1L, long(cx));
    const long dh = std::clamp(std::lround(double(h) * scale), 1L, long(cy));
    if (!result.Create(DWORD(dw), DWORD(dh), 24)) return false;
    try {
        // Source columns [first[x], first[x + 1]) make result column x
        // (at least one column each when enlarging); the same for rows.
        auto spans = [](long from, long to) {
            std::vector<long> first(size_t(to) + 1);
            for (long i = 0; i <= to; ++i) first[size_t(i)] = i * from / to;
            return first;
        };
        const std::vector<long> columns = spans(w, dw), rows = spans(h, dh);
        std::vector<bool> darkColumn(static_cast<size_t>(w));
        for (long y = 0; y < dh; ++y) {
            std::fill(darkColumn.begin(), darkColumn.end(), false);
            const long rowEnd = std::max(rows[size_t(y) + 1], rows[size_t(y)] + 1);
            for (long sy = rows[size_t(y)]; sy < rowEnd; ++sy)
                for (long sx = 0; sx < w; ++sx)
                    if (!darkColumn[size_t(sx)] && IsDark(source.GetPixelColor(sx, sy)))
                        darkColumn[size_t(sx)] = true;
            BYTE* row = result.GetRow(DWORD(dh - 1 - y));
            for (long x = 0; x < dw; ++x) {
                const long columnEnd = std::max(columns[size_t(x) + 1], columns[size_t(x)] + 1);
                bool dark = false;
                for (long sx = columns[size_t(x)]; sx < columnEnd && !dark; ++sx)
                    dark = darkColumn[size_t(sx)];
                std::memset(row + 3 * x, dark ? 0 : 255, 3);
            }
        }
    } catch (const std::bad_alloc&) {
        result.Destroy();
        return false;
    }
    return true;
}
