// Control text on a DC's pixels through the text engine, and the small
// drawing and notification helpers every control shares.
#include "controls/control_text.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "gdi/canvas.h"
#include "text/layout.h"
#include "text/render.h"

namespace win::controls {
namespace {

// Opened faces by description: opening one costs a fontconfig lookup.
std::shared_ptr<text::Font> FontOf(gdi::Dc* dc) {
    LOGFONTA log{};
    if (dc->font) {
        log = dc->font->log;
    } else if (auto* stock = static_cast<gdi::Font*>(gdi::Stock(DEFAULT_GUI_FONT))) {
        log = stock->log;
    }
    std::string key(reinterpret_cast<const char*>(&log), sizeof log);
    static std::mutex lock;
    static auto* cache = new std::map<std::string, std::shared_ptr<text::Font>>;
    std::lock_guard<std::mutex> guard(lock);
    auto& slot = (*cache)[key];
    if (!slot) slot = text::Font::Create(log);
    return slot;
}

}  // namespace

int PaintText(HDC handle, const std::string& str, RECT& rect, UINT format) {
    gdi::Dc* dc = gdi::FindDc(handle);
    if (!dc) return 0;
    auto font = FontOf(dc);
    if (!font) return 0;
    text::TextColors colors;
    colors.text = dc->textColor;
    colors.opaque = dc->bkMode == OPAQUE;
    colors.background = dc->bkColor;
    gdi::Canvas canvas(dc, !(format & DT_CALCRECT));
    const gdi::PixelView& view = canvas.view();
    text::PixelTarget target{view.base, view.width, view.height, int(view.pitch)};
    POINT origin{canvas.X(0), canvas.Y(0)};
    return text::DrawTextInto(*font, target, origin, canvas.clip(), str, rect, format, colors);
}

int FontHeight(HDC handle) {
    gdi::Dc* dc = gdi::FindDc(handle);
    if (!dc) return 0;
    auto font = FontOf(dc);
    return font ? font->Metrics().height : 0;
}

int TextWidth(HDC handle, const std::string& str) {
    gdi::Dc* dc = gdi::FindDc(handle);
    if (!dc) return 0;
    auto font = FontOf(dc);
    return font ? font->MeasureWidth(str) : 0;
}

HBRUSH ControlColor(HWND control, HDC dc, UINT message) {
    HWND parent = GetParent(control);
    HBRUSH brush = parent ? reinterpret_cast<HBRUSH>(SendMessageA(
                                parent, message, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(control)))
                          : nullptr;
    if (brush) return brush;
    // The system's defaults: list boxes and edits on the window colour,
    // everything else on the button face.
    bool window = message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLOREDIT;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
    return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>((window ? COLOR_WINDOW : COLOR_BTNFACE) + 1));
}

void NotifyParent(HWND control, UINT code) {
    HWND parent = GetParent(control);
    if (!parent) return;
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

void RaisedFrame(HDC dc, const RECT& rect) {
    RECT r = rect;
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
}

void SunkenFrame(HDC dc, const RECT& rect) {
    RECT r = rect;
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
}

void FillSys(HDC dc, const RECT& rect, int colorIndex) {
    FillRect(dc, &rect, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(colorIndex + 1)));
}

}  // namespace win::controls
