// Blits: BitBlt, StretchBlt and PatBlt between DCs, and StretchDIBits and
// SetDIBitsToDevice from a caller's DIB. Every stretch samples the nearest
// source pixel.
#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "gdi/canvas.h"

using namespace win::gdi;

namespace {

struct Source {
    PixelView view;
    RECT bounds{};  // readable pixels
    bool mono = false;
    bool cleanTop = true;  // pixels' top bytes are known to be zero
    uint32_t bkPixel = 0;  // the source DC's background colour, for colour to mono
};

bool UsesSource(DWORD rop) {
    const unsigned r = (rop >> 16) & 0xFF;
    return ((r >> 2) & 0x33) != (r & 0x33);
}
bool UsesPattern(DWORD rop) {
    const unsigned r = (rop >> 16) & 0xFF;
    return ((r >> 4) & 0x0F) != (r & 0x0F);
}

// Source pixel in the destination's terms: monochrome sources take the
// destination's text (black) and background (white) colours; colour
// sources going to monochrome are white where they match the source's
// background colour.
struct ColorMap {
    bool toColor = false, toMono = false;
    uint32_t text = 0, bk = 0, srcBk = 0;
    uint32_t operator()(uint32_t s) const {
        s &= 0xFFFFFF;
        if (toColor) return s ? bk : text;
        if (toMono) return s == srcBk ? 0xFFFFFF : 0;
        return s;
    }
};

// Copies (x, y, w, h) of the destination, in pixels, from (sx, sy, sw, sh)
// of the source; negative sizes mirror.
void Stretch(const Canvas& dst, Dc* dstDc, int64_t x, int64_t y, int64_t w, int64_t h,
             const Source* src, int64_t sx, int64_t sy, int64_t sw, int64_t sh, DWORD rop) {
    bool mirrorX = false, mirrorY = false;
    if (w < 0) {
        x += w;
        w = -w;
        mirrorX = !mirrorX;
    }
    if (h < 0) {
        y += h;
        h = -h;
        mirrorY = !mirrorY;
    }
    if (sw < 0) {
        sx += sw;
        sw = -sw;
        mirrorX = !mirrorX;
    }
    if (sh < 0) {
        sy += sh;
        sh = -sh;
        mirrorY = !mirrorY;
    }
    if (w == 0 || h == 0 || (src && (sw == 0 || sh == 0))) return;
    const RECT k = Intersect(dst.clip(), RECT{Clamp(x), Clamp(y), Clamp(x + w), Clamp(y + h)});
    if (IsEmpty(k)) return;
    const PixelView& v = dst.view();
    const unsigned code = (rop >> 16) & 0xFF;
    const uint32_t pat =
        UsesPattern(rop) && !dstDc->brush->hollow ? dst.Color(dstDc->brush->color) : 0;

    ColorMap map;
    if (src) {
        map.toColor = src->mono && !v.mono;
        map.toMono = !src->mono && v.mono;
        map.text = dst.Color(dstDc->textColor);
        map.bk = dst.Color(dstDc->bkColor);
        map.srcBk = src->bkPixel;
    }
    const bool plainCopy = src && code == 0xCC && !map.toColor && !map.toMono && w == sw &&
                           h == sh && !mirrorX && !mirrorY;
    if (plainCopy) {  // 1:1 copy: whole rows at a time
        const int64_t ox = sx - x, oy = sy - y;
        RECT r = Intersect(k, RECT{Clamp(src->bounds.left - ox), Clamp(src->bounds.top - oy),
                                   Clamp(src->bounds.right - ox), Clamp(src->bounds.bottom - oy)});
        if (IsEmpty(r)) return;
        const size_t n = size_t(r.right - r.left);
        for (int row = r.top; row < r.bottom; ++row) {
            uint32_t* d = v.row(row) + r.left;
            const uint32_t* s = src->view.row(int(row + oy)) + (r.left + ox);
            if (src->cleanTop) {
                std::memmove(d, s, n * 4);
            } else {  // a caller's 32-bit DIB may carry alpha or junk up there
                for (size_t i = 0; i < n; ++i) d[i] = s[i] & 0xFFFFFF;
            }
        }
        return;
    }

    // Source column and row for each destination column and row.
    std::vector<int64_t> cols(size_t(k.right - k.left)), rows(size_t(k.bottom - k.top));
    auto map1 = [](int64_t i, int64_t n, int64_t sn, bool mirror) {
        if (mirror) i = n - 1 - i;
        return (2 * i + 1) * sn / (2 * n);  // nearest: the centre of pixel i
    };
    for (size_t i = 0; i < cols.size(); ++i)
        cols[i] = sx + (src ? map1(k.left + int64_t(i) - x, w, sw, mirrorX) : 0);
    for (size_t j = 0; j < rows.size(); ++j)
        rows[j] = sy + (src ? map1(k.top + int64_t(j) - y, h, sh, mirrorY) : 0);

    for (int row = k.top; row < k.bottom; ++row) {
        uint32_t* d = v.row(row);
        const int64_t srow = rows[size_t(row - k.top)];
        if (src && (srow < src->bounds.top || srow >= src->bounds.bottom)) continue;
        const uint32_t* s = src ? src->view.row(int(srow)) : nullptr;
        for (int col = k.left; col < k.right; ++col) {
            uint32_t sp = 0;
            if (src) {
                const int64_t scol = cols[size_t(col - k.left)];
                if (scol < src->bounds.left || scol >= src->bounds.right) continue;
                sp = map(s[scol]);
            }
            d[col] = code == 0xCC ? sp : Rop3(code, pat, sp, d[col]);
        }
    }
}

// A temporary copy of the source when it shares pixels with the destination.
struct SourceCopy {
    std::vector<uint32_t> pixels;
    bool Take(Source& s) {
        try {
            pixels.resize(size_t(s.view.width) * size_t(s.view.height));
        } catch (const std::bad_alloc&) {
            return false;
        }
        for (int y = 0; y < s.view.height; ++y)
            std::memcpy(pixels.data() + size_t(y) * s.view.width, s.view.row(y),
                        size_t(s.view.width) * 4);
        s.view.base = pixels.data();
        s.view.pitch = s.view.width;
        return true;
    }
};

BOOL BlitDcs(HDC destHandle, int x, int y, int w, int h, HDC srcHandle, int sx, int sy, int sw,
             int sh, DWORD rop) {
    Dc* dst = FindDc(destHandle);
    if (!dst) return FALSE;
    Canvas d(dst, true);
    if (!UsesSource(rop)) {
        Stretch(d, dst, d.X(x), d.Y(y), w, h, nullptr, 0, 0, 0, 0, rop);
        return TRUE;
    }
    Dc* srcDc = FindDc(srcHandle);
    if (!srcDc) return FALSE;
    std::optional<Canvas> sc;
    sc.emplace(srcDc, false);
    Source s;
    s.view = sc->view();
    s.bounds = sc->clip();
    // A source is read over its whole bitmap or visible area, not its clip.
    if (!srcDc->window) s.bounds = RECT{0, 0, s.view.width, s.view.height};
    s.mono = s.view.mono;
    s.cleanTop = srcDc->window || !srcDc->bitmap->dibDirect;
    s.bkPixel = ToPixel(srcDc->bkColor);
    SourceCopy copy;
    if (s.view.base == d.view().base && !copy.Take(s)) return FALSE;
    Stretch(d, dst, d.X(x), d.Y(y), w, h, &s, sc->X(sx), sc->Y(sy), sw, sh, rop);
    return TRUE;
}

}  // namespace

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                   DWORD rop) {
    return BlitDcs(dest, x, y, width, height, src, xSrc, ySrc, width, height, rop);
}

BOOL WINAPI StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                       int srcWidth, int srcHeight, DWORD rop) {
    return BlitDcs(dest, x, y, width, height, src, xSrc, ySrc, srcWidth, srcHeight, rop);
}

BOOL WINAPI PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
    if (UsesSource(rop)) return FALSE;
    return BlitDcs(dc, x, y, width, height, nullptr, 0, 0, 0, 0, rop);
}

namespace {

// A caller's DIB decoded to top-down 32-bit pixels.
struct DecodedDib {
    DibFormat format;
    std::vector<uint32_t> pixels;
    bool Decode(const void* bits, const BITMAPINFO* info, UINT usage, int maxRows) {
        if (!bits || !ReadDibFormat(info, SIZE_MAX, usage, format)) return false;
        const bool rle = format.compression == BI_RLE4 || format.compression == BI_RLE8;
        if (!rle && maxRows < format.height) {
            format.height = maxRows;
            format.imageBytes = format.stride * size_t(maxRows);
        }
        if (format.height <= 0) return false;
        size_t available = format.imageBytes;
        if (rle && available == 0) available = SIZE_MAX;  // bounded by the end-of-bitmap code
        try {
            pixels.assign(size_t(format.width) * size_t(format.height), 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return DecodeDib(format, static_cast<const uint8_t*>(bits), available, pixels.data(),
                         format.width);
    }
};

}  // namespace

int WINAPI StretchDIBits(HDC handle, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                         int ySrc, int srcWidth, int srcHeight, const void* bits,
                         const BITMAPINFO* info, UINT usage, DWORD rop) {
    Dc* dc = FindDc(handle);
    if (!dc) return 0;
    DecodedDib dib;
    if (UsesSource(rop) && !dib.Decode(bits, info, usage, INT_MAX)) return 0;
    Canvas d(dc, true);
    if (!UsesSource(rop)) {
        Stretch(d, dc, d.X(xDest), d.Y(yDest), destWidth, destHeight, nullptr, 0, 0, 0, 0, rop);
        return std::abs(srcHeight);
    }
    Source s;
    s.view =
        PixelView{dib.pixels.data(), dib.format.width, dib.format.width, dib.format.height, false};
    s.bounds = RECT{0, 0, dib.format.width, dib.format.height};
    s.bkPixel = ToPixel(dc->bkColor);
    // A bottom-up DIB's source rectangle is measured from its bottom row.
    int64_t top = ySrc;
    if (!dib.format.topDown) top = int64_t(dib.format.height) - ySrc - srcHeight;
    Stretch(d, dc, d.X(xDest), d.Y(yDest), destWidth, destHeight, &s, xSrc, top, srcWidth,
            srcHeight, rop);
    return std::abs(srcHeight);
}

int WINAPI SetDIBitsToDevice(HDC handle, int xDest, int yDest, DWORD width, DWORD height, int xSrc,
                             int ySrc, UINT startScan, UINT scanLines, const void* bits,
                             const BITMAPINFO* info, UINT usage) {
    Dc* dc = FindDc(handle);
    if (!dc || scanLines == 0 || width > DWORD(kMaxDimension) || height > DWORD(kMaxDimension))
        return 0;
    DecodedDib dib;
    if (!dib.Decode(bits, info, usage, int(std::min<UINT>(scanLines, INT_MAX)))) return 0;
    const DibFormat& f = dib.format;
    const bool rle = f.compression == BI_RLE4 || f.compression == BI_RLE8;
    const int64_t first = rle ? 0 : startScan;  // scan line held by the buffer's first DIB row
    const int n = f.height;
    Canvas c(dc, true);
    const PixelView& v = c.view();
    // Only the destination rows and columns inside the clip are visited.
    const int64_t x0 = c.X(xDest), y0 = c.Y(yDest);
    const int64_t rBegin = std::max<int64_t>(0, c.clip().top - y0);
    const int64_t rEnd = std::min<int64_t>(height, int64_t(c.clip().bottom) - y0);
    const int64_t cBegin = std::max<int64_t>({0, c.clip().left - x0, -int64_t(xSrc)});
    const int64_t cEnd =
        std::min<int64_t>({int64_t(width), int64_t(c.clip().right) - x0, int64_t(f.width) - xSrc});
    for (int64_t r = rBegin; r < rEnd; ++r) {
        // Destination row r shows scan line s of the DIB; scans of a
        // bottom-up DIB count from its bottom.
        const int64_t s = f.topDown ? ySrc + r : ySrc + (int64_t(height) - 1 - r);
        const int64_t t = f.topDown ? s - first : first + n - 1 - s;  // row in `dib.pixels`
        if (t < 0 || t >= n) continue;
        const uint32_t* src = dib.pixels.data() + size_t(t) * f.width;
        uint32_t* dst = v.row(int(y0 + r));
        for (int64_t col = cBegin; col < cEnd; ++col) {
            const uint32_t p = src[xSrc + col];
            dst[x0 + col] = v.mono ? MonoPixel(p) : p;
        }
    }
    return n;
}
