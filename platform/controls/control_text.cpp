// Control text on a DC's pixels through the text engine, and the small
// drawing and notification helpers every control shares.
#include "controls/control_text.h"

namespace win::controls {

int PaintText(HDC dc, const std::string& str, RECT& rect, UINT format) {
    // DrawTextA reads an empty string as "nothing to draw" only with a
    // count of 0; controls measure "" as one line, as DrawText of "" does.
    if (str.empty()) return DrawTextA(dc, "", -1, &rect, format);
    return DrawTextA(dc, str.data(), int(str.size()), &rect, format);
}

int FontHeight(HDC dc) {
    TEXTMETRICA tm{};
    return GetTextMetricsA(dc, &tm) ? tm.tmHeight : 0;
}

int TextWidth(HDC dc, const std::string& str) {
    SIZE size{};
    return GetTextExtentPoint32A(dc, str.data(), int(str.size()), &size) ? size.cx : 0;
}

HBRUSH ControlColor(HWND control, HDC dc, UINT message) {
    HWND parent = GetParent(control);
    HBRUSH brush =
        parent
            ? reinterpret_cast<HBRUSH>(SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(control)))
            : nullptr;
    if (brush) return brush;
    // The system's defaults: list boxes and edits on the window colour,
    // everything else on the button face.
    bool window = message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLOREDIT;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
    return reinterpret_cast<HBRUSH>(
        static_cast<INT_PTR>((window ? COLOR_WINDOW : COLOR_BTNFACE) + 1));
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
