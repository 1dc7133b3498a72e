// Text on DCs: TextOutA, DrawTextA, extents, metrics and alignment, through
// the text engine on the DC's pixels.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "gdi/canvas.h"
#include "gdi/text_font.h"
#include "text/layout.h"
#include "text/render.h"

using namespace win::gdi;

namespace {

text::TextColors ColorsOf(const Dc* dc) {
    text::TextColors colors;
    colors.text = dc->textColor & 0xFFFFFF;
    colors.opaque = dc->bkMode == OPAQUE;
    colors.background = dc->bkColor & 0xFFFFFF;
    return colors;
}

text::PixelTarget TargetOf(const Canvas& canvas) {
    const PixelView& view = canvas.view();
    return text::PixelTarget{view.base, view.width, view.height, int(view.pitch)};
}

// Monochrome bitmaps hold only black and white: text on them is drawn in
// the nearer of the two.
text::TextColors ForView(text::TextColors colors, const PixelView& view) {
    if (!view.mono) return colors;
    colors.text = ToColorref(MonoPixel(ToPixel(colors.text)));
    colors.background = ToColorref(MonoPixel(ToPixel(colors.background)));
    return colors;
}

}  // namespace

BOOL WINAPI TextOutA(HDC handle, int x, int y, LPCSTR str, int count) {
    Dc* dc = FindDc(handle);
    if (!dc || count < 0 || (count > 0 && !str)) return FALSE;
    auto font = EngineFont(dc);
    if (!font) return FALSE;
    std::string_view s(str ? str : "", size_t(count));
    const int width = font->MeasureWidth(s);
    const text::FontMetrics& m = font->Metrics();

    const UINT align = dc->textAlign;
    const bool updateCp = align & TA_UPDATECP;
    if (updateCp) {
        x = dc->pos.x;
        y = dc->pos.y;
    }
    int left = x;
    switch (align & TA_CENTER) {  // TA_CENTER covers the horizontal bits
        case TA_RIGHT: left = x - width; break;
        case TA_CENTER: left = x - width / 2; break;
        default: break;
    }
    int top = y;
    switch (align & TA_BASELINE) {  // TA_BASELINE covers the vertical bits
        case TA_BOTTOM: top = y - m.height; break;
        case TA_BASELINE: top = y - m.ascent; break;
        default: break;
    }

    Canvas canvas(dc, true);
    text::DrawString(*font, TargetOf(canvas), canvas.clip(), canvas.X(left), canvas.Y(top), s,
                     ForView(ColorsOf(dc), canvas.view()));
    if (updateCp) {
        // The current position moves past the text in the direction it runs.
        switch (align & TA_CENTER) {
            case TA_RIGHT: dc->pos.x = x - width; break;
            case TA_CENTER: break;
            default: dc->pos.x = x + width; break;
        }
    }
    return TRUE;
}

int WINAPI DrawTextA(HDC handle, LPCSTR str, int count, LPRECT rect, UINT format) {
    Dc* dc = FindDc(handle);
    if (!dc || !rect || !str) return 0;
    size_t length = count < 0 ? std::strlen(str) : size_t(count);
    if (count == 0) return 0;
    auto font = EngineFont(dc);
    if (!font) return 0;
    const bool calc = format & DT_CALCRECT;
    Canvas canvas(dc, !calc);
    POINT origin{canvas.X(0), canvas.Y(0)};
    return text::DrawTextInto(*font, TargetOf(canvas), origin, canvas.clip(),
                              std::string_view(str, length), *rect, format,
                              ForView(ColorsOf(dc), canvas.view()));
}

BOOL WINAPI GetTextExtentPoint32A(HDC handle, LPCSTR str, int count, LPSIZE size) {
    Dc* dc = FindDc(handle);
    if (!dc || !size || count < 0 || (count > 0 && !str)) return FALSE;
    auto font = EngineFont(dc);
    if (!font) return FALSE;
    *size = font->Extent(std::string_view(str ? str : "", size_t(count)));
    return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC handle, LPTEXTMETRICA metrics) {
    Dc* dc = FindDc(handle);
    if (!dc || !metrics) return FALSE;
    auto font = EngineFont(dc);
    if (!font) return FALSE;
    *metrics = font->TextMetrics();
    return TRUE;
}

// The face name of the selected font as it was asked for; the engine's own
// family when the font named none.
int WINAPI GetTextFaceA(HDC handle, int size, LPSTR face) {
    Dc* dc = FindDc(handle);
    if (!dc) return 0;
    std::string name;
    if (dc->font)
        name.assign(dc->font->log.lfFaceName, strnlen(dc->font->log.lfFaceName, LF_FACESIZE));
    if (name.empty()) {
        auto font = EngineFont(dc);
        if (font) name = font->FamilyName();
    }
    if (!face) return int(name.size()) + 1;
    if (size <= 0) return 0;
    size_t n = std::min(name.size(), size_t(size - 1));
    std::memcpy(face, name.data(), n);
    face[n] = '\0';
    return int(n);
}

UINT WINAPI SetTextAlign(HDC handle, UINT align) {
    Dc* dc = FindDc(handle);
    if (!dc) return GDI_ERROR;
    UINT previous = dc->textAlign;
    dc->textAlign = align & (TA_UPDATECP | TA_CENTER | TA_BASELINE);
    return previous;
}

UINT WINAPI GetTextAlign(HDC handle) {
    Dc* dc = FindDc(handle);
    return dc ? dc->textAlign : GDI_ERROR;
}
