// The "BUTTON" class: push buttons (the default one framed in black), check
// boxes, group boxes and owner-drawn buttons. A button clicks on release over
// itself after a press on itself, holding the capture in between, or on the
// release of the space bar; the click reaches the parent as BN_CLICKED.
#include "controls/control_state.h"
#include "controls/control_text.h"
#include "controls/controls.h"

namespace win::controls {
namespace {

struct ButtonState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;  // drawn pressed
    bool focused = false;
    bool tracking = false;  // mouse press in progress (capture held)
    bool spaceDown = false;
    HFONT font = nullptr;
};

StateTable<ButtonState>& Buttons() {
    static auto* table = new StateTable<ButtonState>;
    return *table;
}

DWORD Type(HWND hwnd) { return DWORD(GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool IsCheckBox(DWORD type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
           type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

std::string Text(HWND hwnd) {
    int n = GetWindowTextLengthA(hwnd);
    std::string s(size_t(n) + 1, '\0');
    s.resize(size_t(GetWindowTextA(hwnd, s.data(), n + 1)));
    return s;
}

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, FALSE); }

void Click(HWND hwnd, ButtonState* st) {
    DWORD type = Type(hwnd);
    if (type == BS_AUTOCHECKBOX) {
        st->check = st->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        Redraw(hwnd);
    } else if (type == BS_AUTO3STATE) {
        st->check = (st->check + 1) % 3;
        Redraw(hwnd);
    } else if (type == BS_AUTORADIOBUTTON) {
        st->check = BST_CHECKED;
        Redraw(hwnd);
    }
    NotifyParent(hwnd, BN_CLICKED);
}

void SetPushed(HWND hwnd, ButtonState* st, bool pushed) {
    if (st->pushed == pushed) return;
    st->pushed = pushed;
    Redraw(hwnd);
}

void PaintOwnerDrawn(HWND hwnd, HDC dc, const RECT& client, const ButtonState* st) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = UINT(GetDlgCtrlID(hwnd));
    dis.itemAction = ODA_DRAWENTIRE;
    if (st->pushed) dis.itemState |= ODS_SELECTED;
    if (st->focused) dis.itemState |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd)) dis.itemState |= ODS_DISABLED;
    dis.hwndItem = hwnd;
    dis.hDC = dc;
    dis.rcItem = client;
    HWND parent = GetParent(hwnd);
    if (parent) SendMessageA(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void PaintPush(HWND hwnd, HDC dc, const RECT& client, const ButtonState* st, bool isDefault) {
    ControlColor(hwnd, dc, WM_CTLCOLORBTN);
    RECT r = client;
    FillSys(dc, r, COLOR_BTNFACE);
    if (isDefault) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    if (st->pushed) {
        FrameRect(dc, &r, reinterpret_cast<HBRUSH>(INT_PTR(COLOR_BTNSHADOW + 1)));
    } else {
        RECT edge = r;
        DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    }
    RECT textRect = r;
    if (st->pushed) OffsetRect(&textRect, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    PaintText(dc, Text(hwnd), textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (st->focused) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void PaintCheckBox(HWND hwnd, HDC dc, const RECT& client, const ButtonState* st) {
    HBRUSH brush = ControlColor(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &client, brush);
    const int box = 13;
    int top = (client.top + client.bottom - box) / 2;
    RECT boxRect{client.left, top, client.left + box, top + box};
    FillSys(dc, boxRect, st->pushed || !IsWindowEnabled(hwnd) ? COLOR_BTNFACE : COLOR_WINDOW);
    SunkenFrame(dc, boxRect);
    if (st->check != BST_UNCHECKED) {
        // The classic tick: seven columns, three pixels tall each.
        HPEN pen =
            CreatePen(PS_SOLID, 1,
                      GetSysColor(st->check == BST_CHECKED ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW));
        HGDIOBJ old = SelectObject(dc, pen);
        int x = boxRect.left + 3, y = boxRect.top + 5;
        for (int i = 0; i < 7; ++i) {
            int dy = i < 3 ? i : 4 - i;
            MoveToEx(dc, x + i, y + dy, nullptr);
            LineTo(dc, x + i, y + dy + 3);
        }
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    RECT textRect{client.left + box + 4, client.top, client.right, client.bottom};
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    std::string text = Text(hwnd);
    PaintText(dc, text, textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (st->focused && !text.empty()) {
        RECT bounds = textRect;
        PaintText(dc, text, bounds, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
        int h = bounds.bottom - bounds.top;
        RECT focus{textRect.left - 1, (client.top + client.bottom - h) / 2 - 1, bounds.right + 1,
                   (client.top + client.bottom + h) / 2 + 1};
        IntersectRect(&focus, &focus, &client);
        DrawFocusRect(dc, &focus);
    }
}

void PaintGroupBox(HWND hwnd, HDC dc, const RECT& client) {
    HBRUSH brush = ControlColor(hwnd, dc, WM_CTLCOLORSTATIC);
    int half = FontHeight(dc) / 2;
    RECT frame{client.left, client.top + half, client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    std::string text = Text(hwnd);
    if (text.empty()) return;
    RECT textRect{client.left + 8, client.top, client.right - 8, client.bottom};
    PaintText(dc, text, textRect, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    RECT gap{textRect.left - 2, textRect.top, textRect.right + 2, textRect.bottom};
    FillRect(dc, &gap, brush);
    SetBkMode(dc, TRANSPARENT);
    PaintText(dc, text, textRect, DT_LEFT | DT_SINGLELINE);
}

void Paint(HWND hwnd, HDC dc, ButtonState* st) {
    RECT client;
    GetClientRect(hwnd, &client);
    HGDIOBJ oldFont = SelectObject(dc, ControlFont(st->font));
    switch (DWORD type = Type(hwnd)) {
        case BS_OWNERDRAW: PaintOwnerDrawn(hwnd, dc, client, st); break;
        case BS_GROUPBOX: PaintGroupBox(hwnd, dc, client); break;
        default:
            if (IsCheckBox(type))
                PaintCheckBox(hwnd, dc, client, st);
            else
                PaintPush(hwnd, dc, client, st, type == BS_DEFPUSHBUTTON);
    }
    SelectObject(dc, oldFont);
}

LRESULT DialogCode(HWND hwnd) {
    switch (Type(hwnd)) {
        case BS_PUSHBUTTON:
        case BS_OWNERDRAW: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX: return DLGC_STATIC;
        default: return DLGC_BUTTON;
    }
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) Buttons().Create(hwnd);
    ButtonState* st = Buttons().Find(hwnd);
    if (!st) return DefWindowProcA(hwnd, message, wParam, lParam);
    const bool clickable = Type(hwnd) != BS_GROUPBOX;
    switch (message) {
        case WM_NCDESTROY:
            Buttons().Erase(hwnd);
            return DefWindowProcA(hwnd, message, wParam, lParam);
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (dc) Paint(hwnd, dc, st);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_GETDLGCODE: return DialogCode(hwnd);
        case WM_SETFONT:
            st->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) Redraw(hwnd);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_SETTEXT: {
            LRESULT r = DefWindowProcA(hwnd, message, wParam, lParam);
            Redraw(hwnd);
            return r;
        }
        case WM_ENABLE: Redraw(hwnd); return 0;
        case WM_SETFOCUS:
            st->focused = true;
            Redraw(hwnd);
            return 0;
        case WM_KILLFOCUS:
            st->focused = false;
            st->spaceDown = false;
            if (st->tracking && GetCapture() == hwnd) ReleaseCapture();
            SetPushed(hwnd, st, false);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!clickable) return 0;
            SetFocus(hwnd);
            SetCapture(hwnd);
            st->tracking = true;
            SetPushed(hwnd, st, true);
            return 0;
        case WM_MOUSEMOVE:
            if (st->tracking) {
                RECT client;
                GetClientRect(hwnd, &client);
                SetPushed(hwnd, st,
                          PtInRect(&client, POINT{short(LOWORD(lParam)), short(HIWORD(lParam))}));
            }
            return 0;
        case WM_LBUTTONUP: {
            if (!st->tracking) return 0;
            RECT client;
            GetClientRect(hwnd, &client);
            bool inside = PtInRect(&client, POINT{short(LOWORD(lParam)), short(HIWORD(lParam))});
            st->tracking = false;
            SetPushed(hwnd, st, false);
            ReleaseCapture();
            if (inside) Click(hwnd, st);
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (st->tracking) {
                st->tracking = false;
                SetPushed(hwnd, st, false);
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && clickable) {
                st->spaceDown = true;
                SetPushed(hwnd, st, true);
            }
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE && st->spaceDown) {
                st->spaceDown = false;
                SetPushed(hwnd, st, false);
                Click(hwnd, st);
            }
            return 0;
        case BM_GETCHECK: return st->check;
        case BM_SETCHECK:
            if (IsCheckBox(Type(hwnd)) && st->check != (wParam & 3)) {
                st->check = UINT(wParam & 3);
                Redraw(hwnd);
            }
            return 0;
        case BM_GETSTATE:
            return st->check | (st->pushed ? BST_PUSHED : 0) | (st->focused ? BST_FOCUS : 0);
        case BM_SETSTATE: SetPushed(hwnd, st, wParam != 0); return 0;
        case BM_SETSTYLE: {
            LONG style = GetWindowLongA(hwnd, GWL_STYLE);
            style = LONG((DWORD(style) & ~0xFFFFu) | (wParam & 0xFFFF));
            SetWindowLongA(hwnd, GWL_STYLE, style);
            if (LOWORD(lParam)) Redraw(hwnd);
            return 0;
        }
        case BM_CLICK:
            if (clickable && IsWindowEnabled(hwnd)) Click(hwnd, st);
            return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC ButtonWindowProc() { return ButtonProc; }

}  // namespace win::controls
