// The "STATIC" class: text aligned left, centred or right (wrapped at word
// boundaries except SS_LEFTNOWORDWRAP and SS_SIMPLE), an icon (SS_ICON) or a
// bitmap (SS_BITMAP), on the background the parent gives with
// WM_CTLCOLORSTATIC.
#include "controls/control_state.h"
#include "controls/control_text.h"
#include "controls/controls.h"

namespace win::controls {
namespace {

struct StaticState {
    HFONT font = nullptr;
    HANDLE image = nullptr;  // HICON or HBITMAP, not owned
};

StateTable<StaticState>& Statics() {
    static auto* table = new StateTable<StaticState>;
    return *table;
}

DWORD Type(HWND hwnd) { return DWORD(GetWindowLongA(hwnd, GWL_STYLE)) & SS_TYPEMASK; }

void PaintBitmap(HDC dc, HBITMAP bitmap, const RECT& client, bool centred) {
    BITMAP bm{};
    if (!GetObjectA(bitmap, sizeof bm, &bm)) return;
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bitmap);
    int x = centred ? (client.right - bm.bmWidth) / 2 : 0;
    int y = centred ? (client.bottom - bm.bmHeight) / 2 : 0;
    BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

void Paint(HWND hwnd, HDC dc, StaticState* st) {
    RECT client;
    GetClientRect(hwnd, &client);
    DWORD style = DWORD(GetWindowLongA(hwnd, GWL_STYLE));
    HBRUSH brush = ControlColor(hwnd, dc, WM_CTLCOLORSTATIC);
    DWORD type = style & SS_TYPEMASK;
    if (type == SS_BLACKRECT || type == SS_WHITERECT) {
        FillRect(
            dc, &client,
            static_cast<HBRUSH>(GetStockObject(type == SS_BLACKRECT ? BLACK_BRUSH : WHITE_BRUSH)));
        return;
    }
    FillRect(dc, &client, brush);
    if (type == SS_ICON) {
        ICONINFO info{};
        HICON icon = static_cast<HICON>(st->image);
        if (icon && GetIconInfo(icon, &info)) {
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            // An icon's hot spot is its centre.
            const int w = int(info.xHotspot) * 2, h = int(info.yHotspot) * 2;
            const bool centred = style & SS_CENTERIMAGE;
            DrawIconEx(dc, centred ? (client.right - w) / 2 : 0,
                       centred ? (client.bottom - h) / 2 : 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
        }
        return;
    }
    if (type == SS_BITMAP) {
        if (st->image)
            PaintBitmap(dc, static_cast<HBITMAP>(st->image), client, style & SS_CENTERIMAGE);
        return;
    }
    if (type == SS_OWNERDRAW) {
        DRAWITEMSTRUCT dis{
            ODT_STATIC, UINT(GetDlgCtrlID(hwnd)), 0, ODA_DRAWENTIRE, 0, hwnd, dc, client, 0};
        SendMessageA(GetParent(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    UINT format = DT_LEFT | DT_WORDBREAK;
    if (type == SS_CENTER) format = DT_CENTER | DT_WORDBREAK;
    if (type == SS_RIGHT) format = DT_RIGHT | DT_WORDBREAK;
    if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) format = DT_LEFT | DT_SINGLELINE;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    int n = GetWindowTextLengthA(hwnd);
    std::string text(size_t(n) + 1, '\0');
    text.resize(size_t(GetWindowTextA(hwnd, text.data(), n + 1)));
    HGDIOBJ oldFont = SelectObject(dc, ControlFont(st->font));
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    PaintText(dc, text, client, format);
    SelectObject(dc, oldFont);
}

HANDLE SetImage(HWND hwnd, StaticState* st, HANDLE image) {
    HANDLE old = st->image;
    st->image = image;
    InvalidateRect(hwnd, nullptr, TRUE);
    return old;
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) Statics().Create(hwnd);
    StaticState* st = Statics().Find(hwnd);
    if (!st) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_NCDESTROY: Statics().Erase(hwnd); break;
        case WM_CREATE: {
            // A bitmap or icon control names its image in its text.
            auto cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            DWORD type = Type(hwnd);
            if (cs && cs->lpszName && *cs->lpszName && type == SS_BITMAP)
                st->image = LoadImageA(cs->hInstance, cs->lpszName, IMAGE_BITMAP, 0, 0, 0);
            if (cs && cs->lpszName && *cs->lpszName && type == SS_ICON) {
                st->image = LoadIconA(cs->hInstance, cs->lpszName);
                // The control takes the icon's size unless it centres it.
                if (st->image && !(cs->style & SS_CENTERIMAGE))
                    SetWindowPos(hwnd, nullptr, 0, 0, GetSystemMetrics(SM_CXICON),
                                 GetSystemMetrics(SM_CYICON),
                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (dc) Paint(hwnd, dc, st);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_NCHITTEST:
            return (GetWindowLongA(hwnd, GWL_STYLE) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
        case WM_LBUTTONDOWN:
            if (GetWindowLongA(hwnd, GWL_STYLE) & SS_NOTIFY) NotifyParent(hwnd, STN_CLICKED);
            return 0;
        case WM_GETDLGCODE: return DLGC_STATIC;
        case WM_SETFONT:
            st->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_SETTEXT: {
            LRESULT r = DefWindowProcA(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return r;
        }
        case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
        case STM_SETICON:
            return reinterpret_cast<LRESULT>(SetImage(hwnd, st, reinterpret_cast<HANDLE>(wParam)));
        case STM_GETICON: return reinterpret_cast<LRESULT>(st->image);
        case STM_SETIMAGE:
            return reinterpret_cast<LRESULT>(SetImage(hwnd, st, reinterpret_cast<HANDLE>(lParam)));
        case STM_GETIMAGE: return reinterpret_cast<LRESULT>(st->image);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC StaticWindowProc() { return StaticProc; }

}  // namespace win::controls
