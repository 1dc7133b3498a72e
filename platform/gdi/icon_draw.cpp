// Drawing icons and images on DCs: DrawIcon, DrawIconEx (alpha or AND/XOR
// masks, scaled to the size asked for) and DrawStateA with its normal,
// disabled (embossed) and mono states.
#include <algorithm>
#include <cstring>
#include <string>

#include "base/metrics.h"
#include "gdi/canvas.h"
#include "gdi/icons.h"

using namespace win::gdi;
using win::icons::IconObject;

namespace {

enum class Mode {
    Normal,     // alpha blend, or (screen AND mask) XOR colour
    MaskOnly,   // screen AND mask
    ImageOnly,  // the colour alone (blended when it has alpha)
    Shape,      // `shapeColor` wherever the image is opaque
};

struct Paint {
    Mode mode = Mode::Normal;
    uint32_t shapeColor = 0;  // Shape: 0x00RRGGBB
    bool skipWhite = false;   // Shape: white pixels are not part of the shape
};

uint32_t Blend(uint32_t src, uint32_t dst) {
    const uint32_t a = src >> 24;
    if (a == 255) return src & 0xFFFFFF;
    if (a == 0) return dst;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

bool InShape(const IconObject& image, int x, int y, bool skipWhite) {
    if (image.hasAlpha ? (image.At(x, y) >> 24) < 128 : image.mask[size_t(y) * image.width + x])
        return false;
    return !skipWhite || (image.At(x, y) & 0xFFFFFF) != 0xFFFFFF;
}

// Draws `image` scaled to cx x cy with its top-left at logical (x, y).
void DrawImage(Dc* dc, const IconObject& image, int x, int y, int cx, int cy, const Paint& paint) {
    if (cx <= 0 || cy <= 0 || image.width <= 0 || image.height <= 0) return;
    Canvas canvas(dc, true);
    const PixelView& view = canvas.view();
    if (!view.base) return;
    const int left = canvas.X(x), top = canvas.Y(y);
    RECT area{left, top, Clamp(int64_t(left) + cx), Clamp(int64_t(top) + cy)};
    area = Intersect(area, canvas.clip());
    for (int py = area.top; py < area.bottom; ++py) {
        const int sy = int((2 * int64_t(py - top) + 1) * image.height / (2 * int64_t(cy)));
        uint32_t* row = view.row(py);
        for (int px = area.left; px < area.right; ++px) {
            const int sx = int((2 * int64_t(px - left) + 1) * image.width / (2 * int64_t(cx)));
            const uint32_t src = image.At(sx, sy);
            const bool transparent = image.mask[size_t(sy) * image.width + sx] != 0;
            uint32_t& dst = row[px];
            uint32_t out = dst;
            switch (paint.mode) {
                case Mode::Normal:
                    out = image.hasAlpha ? Blend(src, dst)
                                         : ((transparent ? dst : 0) ^ (src & 0xFFFFFF));
                    break;
                case Mode::MaskOnly: out = transparent ? dst : 0; break;
                case Mode::ImageOnly:
                    out = image.hasAlpha ? Blend(src, dst) : src & 0xFFFFFF;
                    break;
                case Mode::Shape:
                    if (InShape(image, sx, sy, paint.skipWhite)) out = paint.shapeColor;
                    break;
            }
            dst = view.mono ? MonoPixel(out) : out & 0xFFFFFF;
        }
    }
}

// A bitmap as an opaque image.
bool ImageOfBitmap(HBITMAP handle, IconObject& image) {
    Bitmap* bitmap = FindBitmap(handle);
    if (!bitmap) return false;
    PixelAccess access(bitmap, false);
    const PixelView& view = access.view();
    if (!view.base) return false;
    image.width = bitmap->width;
    image.height = bitmap->height;
    image.color.resize(size_t(image.width) * image.height);
    image.mask.assign(image.color.size(), 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.color[size_t(y) * image.width + x] = view.row(y)[x] & 0xFFFFFF;
    return true;
}

uint32_t SysPixel(int index) { return ToPixel(GetSysColor(index)); }

uint32_t BrushPixel(HBRUSH brush) {
    // A brush handle may be a system colour index + 1, as with FillRect.
    const uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    if (value > 0 && value <= COLOR_MENUBAR + 1) return SysPixel(int(value - 1));
    if (Brush* b = FindBrush(brush)) return ToPixel(b->color);
    return SysPixel(COLOR_WINDOWTEXT);
}

// The classic disabled look: the shape in the highlight colour one pixel
// down and right, then in the shadow colour in place.
void DrawEmbossed(Dc* dc, const IconObject& image, int x, int y, int cx, int cy) {
    Paint light{Mode::Shape, SysPixel(COLOR_3DHILIGHT), true};
    Paint dark{Mode::Shape, SysPixel(COLOR_3DSHADOW), true};
    DrawImage(dc, image, x + 1, y + 1, cx, cy, light);
    DrawImage(dc, image, x, y, cx, cy, dark);
}

void DrawImageState(Dc* dc, HBRUSH brush, const IconObject& image, int x, int y, int cx, int cy,
                    UINT state) {
    if (state & DSS_DISABLED) {
        DrawEmbossed(dc, image, x, y, cx, cy);
    } else if (state & DSS_MONO) {
        DrawImage(dc, image, x, y, cx, cy, Paint{Mode::Shape, BrushPixel(brush), false});
    } else {
        DrawImage(dc, image, x, y, cx, cy, Paint{});
        if (state & DSS_UNION) {
            // Dithered with the highlight colour: every other pixel of the
            // shape, as a selected image looks.
            IconObject dither = image;
            for (int py = 0; py < dither.height; ++py)
                for (int px = 0; px < dither.width; ++px)
                    if ((px + py) & 1) dither.mask[size_t(py) * dither.width + px] = 1;
            dither.hasAlpha = false;
            DrawImage(dc, dither, x, y, cx, cy,
                      Paint{Mode::Shape, SysPixel(COLOR_HIGHLIGHT), false});
        }
    }
}

BOOL DrawTextState(HDC handle, Dc* dc, HBRUSH brush, const char* text, size_t length, bool prefix,
                   int x, int y, int cx, int cy, UINT state) {
    std::string s(text, length);
    UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | (prefix ? 0 : DT_NOPREFIX);
    if (state & DSS_HIDEPREFIX) format |= DT_HIDEPREFIX;
    if (cx <= 0 || cy <= 0) {
        RECT measure{0, 0, 0, 0};
        DrawTextA(handle, s.c_str(), int(s.size()), &measure, format | DT_CALCRECT);
        if (cx <= 0) cx = measure.right;
        if (cy <= 0) cy = measure.bottom;
    }
    const COLORREF oldText = dc->textColor;
    const int oldMode = dc->bkMode;
    dc->bkMode = TRANSPARENT;
    auto draw = [&](int dx, int dy, COLORREF color) {
        dc->textColor = color;
        RECT r{x + dx, y + dy, x + dx + cx, y + dy + cy};
        DrawTextA(handle, s.c_str(), int(s.size()), &r, format);
    };
    if (state & DSS_DISABLED) {
        draw(1, 1, GetSysColor(COLOR_3DHILIGHT));
        draw(0, 0, GetSysColor(COLOR_3DSHADOW));
    } else if (state & DSS_MONO) {
        draw(0, 0, ToColorref(BrushPixel(brush)));
    } else {
        draw(0, 0, oldText);
    }
    dc->textColor = oldText;
    dc->bkMode = oldMode;
    return TRUE;
}

}  // namespace

BOOL WINAPI DrawIconEx(HDC handle, int x, int y, HICON iconHandle, int cx, int cy, UINT, HBRUSH,
                       UINT flags) {
    Dc* dc = FindDc(handle);
    auto icon = win::icons::Find(iconHandle);
    if (!dc || !icon || cx < 0 || cy < 0) return FALSE;
    if (cx == 0) cx = (flags & DI_DEFAULTSIZE) ? win::kIconSize : icon->width;
    if (cy == 0) cy = (flags & DI_DEFAULTSIZE) ? win::kIconSize : icon->height;
    switch (flags & DI_NORMAL) {
        case DI_NORMAL: DrawImage(dc, *icon, x, y, cx, cy, Paint{}); break;
        case DI_MASK: DrawImage(dc, *icon, x, y, cx, cy, Paint{Mode::MaskOnly}); break;
        case DI_IMAGE: DrawImage(dc, *icon, x, y, cx, cy, Paint{Mode::ImageOnly}); break;
        default: return FALSE;  // neither mask nor image asked for
    }
    return TRUE;
}

BOOL WINAPI DrawIcon(HDC dc, int x, int y, HICON icon) {
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

BOOL WINAPI DrawStateA(HDC handle, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wData,
                       int x, int y, int cx, int cy, UINT flags) {
    Dc* dc = FindDc(handle);
    if (!dc) return FALSE;
    const UINT kind = flags & 0x000F;
    const UINT state = flags & 0x7FF0;
    switch (kind) {
        case DST_ICON: {
            auto icon = win::icons::Find(reinterpret_cast<HICON>(data));
            if (!icon) return FALSE;
            DrawImageState(dc, brush, *icon, x, y, cx > 0 ? cx : icon->width,
                           cy > 0 ? cy : icon->height, state);
            return TRUE;
        }
        case DST_BITMAP: {
            IconObject image;
            if (!ImageOfBitmap(reinterpret_cast<HBITMAP>(data), image)) return FALSE;
            DrawImageState(dc, brush, image, x, y, cx > 0 ? cx : image.width,
                           cy > 0 ? cy : image.height, state);
            return TRUE;
        }
        case DST_TEXT:
        case DST_PREFIXTEXT: {
            const char* text = reinterpret_cast<const char*>(data);
            if (!text) return FALSE;
            size_t length = wData ? size_t(wData) : std::strlen(text);
            if (wData) length = strnlen(text, length);
            return DrawTextState(handle, dc, brush, text, length, kind == DST_PREFIXTEXT, x, y, cx,
                                 cy, state);
        }
        case DST_COMPLEX: {
            if (!proc || cx <= 0 || cy <= 0) return FALSE;
            if (!(state & (DSS_DISABLED | DSS_MONO | DSS_UNION))) {
                // Drawn in place, with the image's origin at (x, y).
                POINT old{};
                OffsetViewportOrgEx(handle, x, y, &old);
                BOOL ok = proc(handle, data, wData, cx, cy);
                SetViewportOrgEx(handle, old.x, old.y, nullptr);
                return ok;
            }
            // Other states work on the picture the callback draws on white.
            HDC memory = CreateCompatibleDC(handle);
            HBITMAP picture = CreateCompatibleBitmap(handle, cx, cy);
            BOOL ok = FALSE;
            if (memory && picture) {
                HGDIOBJ old = SelectObject(memory, picture);
                PatBlt(memory, 0, 0, cx, cy, WHITENESS);
                ok = proc(memory, data, wData, cx, cy);
                SelectObject(memory, old);
                IconObject image;
                if (ok && ImageOfBitmap(picture, image)) {
                    // White is the background the callback drew on.
                    for (size_t i = 0; i < image.color.size(); ++i)
                        if (image.color[i] == 0xFFFFFF) {
                            image.mask[i] = 1;
                            image.color[i] = 0;
                        }
                    DrawImageState(dc, brush, image, x, y, cx, cy, state);
                }
            }
            if (picture) DeleteObject(picture);
            if (memory) DeleteDC(memory);
            return ok;
        }
        default: return FALSE;
    }
}
