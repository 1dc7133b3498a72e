// The "COMBOBOX" class, drop-down list style: a selection field with a
// button; its list opens as a top-level "ComboLBox" window below it and runs
// in a nested loop of its own until an item is chosen or the list is
// dismissed. The control keeps its height to one line, as on Windows: the
// height it is created with is the height of the control with its list open.
#include <algorithm>

#include "controls/control_state.h"
#include "controls/control_text.h"
#include "controls/controls.h"
#include "controls/item_list.h"

namespace win::controls {
namespace {

struct ComboState {
    ItemList items;
    int selected = -1;
    bool focused = false;
    HFONT font = nullptr;
    int openHeight = 100;  // the height created with: field plus list
    int droppedWidth = 0;  // 0: as wide as the control
    HWND list = nullptr;   // the open list, while dropped
    bool closing = false;
};

StateTable<ComboState>& Combos() {
    static auto* table = new StateTable<ComboState>;
    return *table;
}

int ItemHeight(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, ControlFont(font));
    int h = FontHeight(dc);
    SelectObject(dc, old);
    DeleteDC(dc);
    return std::max(h, 1);
}

int FieldHeight(const ComboState* st) { return ItemHeight(st->font) + 8; }

void FitHeight(HWND hwnd, const ComboState* st) {
    RECT r;
    GetWindowRect(hwnd, &r);
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, FieldHeight(st),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT ButtonRect(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    InflateRect(&r, -2, -2);
    r.left = std::max(r.left, r.right - GetSystemMetrics(SM_CXVSCROLL));
    return r;
}

void Paint(HWND hwnd, HDC dc, ComboState* st) {
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = ControlColor(hwnd, dc, WM_CTLCOLOREDIT);
    COLORREF text = GetTextColor(dc);
    const bool enabled = IsWindowEnabled(hwnd);
    RECT inner = client;
    InflateRect(&inner, -2, -2);
    FillRect(dc, &inner, enabled ? brush : reinterpret_cast<HBRUSH>(INT_PTR(COLOR_BTNFACE + 1)));
    SunkenFrame(dc, client);

    RECT button = ButtonRect(hwnd);
    FillSys(dc, button, COLOR_BTNFACE);
    if (st->list) {
        FrameRect(dc, &button, reinterpret_cast<HBRUSH>(INT_PTR(COLOR_BTNSHADOW + 1)));
    } else {
        RaisedFrame(dc, button);
    }
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    int cx = (button.left + button.right) / 2 + (st->list ? 1 : 0);
    int cy = (button.top + button.bottom) / 2 - 1 + (st->list ? 1 : 0);
    for (int row = 0; row < 4; ++row) {
        MoveToEx(dc, cx - 3 + row, cy + row, nullptr);
        LineTo(dc, cx + 4 - row, cy + row);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);

    RECT field{inner.left + 1, inner.top + 1, button.left - 1, inner.bottom - 1};
    bool highlight = st->focused && !st->list;
    if (highlight) FillSys(dc, field, COLOR_HIGHLIGHT);
    if (st->items.Valid(st->selected)) {
        HGDIOBJ oldFont = SelectObject(dc, ControlFont(st->font));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, !enabled    ? GetSysColor(COLOR_GRAYTEXT)
                         : highlight ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                     : text);
        RECT textRect{field.left + 2, field.top, field.right, field.bottom};
        PaintText(dc, st->items.At(st->selected).text, textRect,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, oldFont);
    }
    if (highlight) DrawFocusRect(dc, &field);
}

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, FALSE); }

void SelectByUser(HWND hwnd, ComboState* st, int index) {
    if (!st->items.Valid(index) || index == st->selected) return;
    st->selected = index;
    Redraw(hwnd);
    NotifyParent(hwnd, CBN_SELCHANGE);
}

void CloseList(HWND hwnd, ComboState* st, bool accept) {
    if (!st->list || st->closing) return;
    st->closing = true;
    HWND list = st->list;
    int chosen = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (GetCapture() == list) ReleaseCapture();
    st->list = nullptr;
    DestroyWindow(list);
    st->closing = false;
    PostMessageA(hwnd, WM_NULL, 0, 0);  // wakes the list's loop if it waits
    Redraw(hwnd);
    NotifyParent(hwnd, CBN_CLOSEUP);
    if (accept) SelectByUser(hwnd, st, chosen);
}

// Runs the open list's nested loop. Mouse input is captured by the list:
// moving over it follows the pointer, releasing over an item chooses it, a
// press outside dismisses it.
void RunList(HWND hwnd, ComboState* st) {
    HWND list = st->list;
    MSG msg;
    bool pressedInside = false;
    while (st->list == list && IsWindow(hwnd)) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            CloseList(hwnd, st, false);
            PostQuitMessage(int(msg.wParam));
            return;
        }
        if (msg.hwnd == list && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST &&
            msg.message != WM_MOUSEWHEEL) {
            RECT client;
            GetClientRect(list, &client);
            POINT p{short(LOWORD(msg.lParam)), short(HIWORD(msg.lParam))};
            bool inside = PtInRect(&client, p);
            RECT itemRect{};
            SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&itemRect));
            bool overItems = inside && p.x < itemRect.right;
            if (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK ||
                msg.message == WM_RBUTTONDOWN) {
                if (!inside) {
                    CloseList(hwnd, st, false);
                    continue;
                }
                pressedInside = true;
                if (!overItems) {  // the list's scroll bar
                    DispatchMessageA(&msg);
                    SetCapture(list);
                    continue;
                }
            }
            if (msg.message == WM_LBUTTONUP) {
                DispatchMessageA(&msg);
                SetCapture(list);
                if (overItems && pressedInside) CloseList(hwnd, st, true);
                continue;
            }
            if (overItems && (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONDOWN)) {
                LRESULT height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
                LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
                int index = int(top + p.y / std::max<LRESULT>(1, height));
                if (index < SendMessageA(list, LB_GETCOUNT, 0, 0))
                    SendMessageA(list, LB_SETCURSEL, WPARAM(index), 0);
                continue;
            }
            if (msg.message == WM_MOUSEMOVE && !(msg.wParam & MK_LBUTTON)) continue;
            DispatchMessageA(&msg);
            continue;
        }
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            switch (msg.wParam) {
                case VK_RETURN: CloseList(hwnd, st, true); continue;
                case VK_ESCAPE: CloseList(hwnd, st, false); continue;
                case VK_F4: CloseList(hwnd, st, true); continue;
                case VK_UP:
                case VK_DOWN:
                    if (msg.message == WM_SYSKEYDOWN) {
                        CloseList(hwnd, st, true);
                        continue;
                    }
                    [[fallthrough]];
                case VK_HOME:
                case VK_END:
                case VK_PRIOR:
                case VK_NEXT: SendMessageA(list, WM_KEYDOWN, msg.wParam, msg.lParam); continue;
            }
            continue;
        }
        if (msg.message == WM_MOUSEWHEEL) {
            SendMessageA(list, WM_MOUSEWHEEL, msg.wParam, msg.lParam);
            continue;
        }
        if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR || msg.message == WM_KEYUP ||
            msg.message == WM_SYSKEYUP)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void OpenList(HWND hwnd, ComboState* st) {
    if (st->list || !IsWindowEnabled(hwnd)) return;
    NotifyParent(hwnd, CBN_DROPDOWN);
    if (GetFocus() != hwnd) SetFocus(hwnd);
    RECT r;
    GetWindowRect(hwnd, &r);
    int itemHeight = ItemHeight(st->font);
    int fieldHeight = r.bottom - r.top;
    int wanted = std::max(st->openHeight - fieldHeight, itemHeight + 2);
    int needed = std::max(1, st->items.Count()) * itemHeight + 2;
    int height = std::min(wanted / itemHeight * itemHeight + 2, needed);
    height = std::max(height, itemHeight + 2);
    int width = std::max<int>(st->droppedWidth, r.right - r.left);
    SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    int y = r.bottom;
    if (y + height > screen.cy && r.top - height >= 0) y = r.top - height;  // open upwards
    HWND list = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "ComboLBox", "",
                                WS_POPUP | WS_BORDER | WS_VSCROLL, r.left, y, width, height, hwnd,
                                nullptr, nullptr, nullptr);
    if (!list) return;
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(st->font), FALSE);
    for (int i = 0; i < st->items.Count(); ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(st->items.At(i).text.c_str()));
    SendMessageA(list, LB_SETCURSEL, WPARAM(st->selected), 0);
    st->list = list;
    ShowWindow(list, SW_SHOWNA);
    SetCapture(list);
    Redraw(hwnd);
    RunList(hwnd, st);
}

LRESULT ItemMessage(HWND hwnd, ComboState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = int(INT_PTR(wParam));
    auto text = reinterpret_cast<const char*>(lParam);
    switch (message) {
        case CB_ADDSTRING:
        case CB_INSERTSTRING: {
            int at = message == CB_ADDSTRING
                         ? st->items.Add(text, GetWindowLongA(hwnd, GWL_STYLE) & CBS_SORT)
                         : st->items.Insert(index, text);
            if (at < 0) return CB_ERR;
            if (st->selected >= at) ++st->selected;
            return at;
        }
        case CB_DELETESTRING: {
            int left = st->items.Delete(index);
            if (left < 0) return CB_ERR;
            if (st->selected == index) {
                st->selected = -1;
                Redraw(hwnd);
            } else if (st->selected > index) {
                --st->selected;
            }
            return left;
        }
        case CB_RESETCONTENT:
            st->items.Clear();
            st->selected = -1;
            Redraw(hwnd);
            return CB_OKAY;
        case CB_GETCOUNT: return st->items.Count();
        case CB_SETCURSEL:
            // Out of range (including -1) clears the selection.
            st->selected = st->items.Valid(index) ? index : -1;
            Redraw(hwnd);
            return st->selected >= 0 ? st->selected : CB_ERR;
        case CB_GETCURSEL: return st->selected;
        case CB_GETLBTEXT: return st->items.GetText(index, reinterpret_cast<char*>(lParam));
        case CB_GETLBTEXTLEN:
            return st->items.Valid(index) ? LRESULT(st->items.At(index).text.size()) : CB_ERR;
        case CB_GETITEMDATA: return st->items.Valid(index) ? st->items.At(index).data : CB_ERR;
        case CB_SETITEMDATA:
            if (!st->items.Valid(index)) return CB_ERR;
            st->items.At(index).data = lParam;
            return CB_OKAY;
        case CB_FINDSTRING: return st->items.Find(index, text, true);
        case CB_FINDSTRINGEXACT: return st->items.Find(index, text, false);
        case CB_GETITEMHEIGHT: return ItemHeight(st->font);
    }
    return CB_ERR;
}

LRESULT CALLBACK ComboProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) Combos().Create(hwnd);
    ComboState* st = Combos().Find(hwnd);
    if (!st) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case CB_ADDSTRING:
        case CB_DELETESTRING:
        case CB_GETCOUNT:
        case CB_GETCURSEL:
        case CB_GETLBTEXT:
        case CB_GETLBTEXTLEN:
        case CB_INSERTSTRING:
        case CB_RESETCONTENT:
        case CB_FINDSTRING:
        case CB_SETCURSEL:
        case CB_GETITEMDATA:
        case CB_SETITEMDATA:
        case CB_FINDSTRINGEXACT:
        case CB_GETITEMHEIGHT: return ItemMessage(hwnd, st, message, wParam, lParam);
        case CB_SHOWDROPDOWN:
            if (wParam)
                OpenList(hwnd, st);
            else
                CloseList(hwnd, st, false);
            return TRUE;
        case CB_GETDROPPEDSTATE: return st->list ? TRUE : FALSE;
        case CB_SETDROPPEDWIDTH:
            st->droppedWidth = std::max(0, int(INT_PTR(wParam)));
            return st->droppedWidth;
        case CB_GETDROPPEDWIDTH: {
            RECT r;
            GetWindowRect(hwnd, &r);
            return std::max<LRESULT>(st->droppedWidth, r.right - r.left);
        }
        case CB_GETDROPPEDCONTROLRECT: {
            auto* out = reinterpret_cast<RECT*>(lParam);
            if (!out) return CB_ERR;
            GetWindowRect(hwnd, out);
            out->bottom = out->top + std::max<LONG>(st->openHeight, out->bottom - out->top);
            return TRUE;
        }
        case WM_CREATE: {
            auto cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            if (cs) st->openHeight = cs->cy;
            FitHeight(hwnd, st);
            return 0;
        }
        case WM_NCDESTROY: Combos().Erase(hwnd); break;
        case WM_DESTROY:
            if (st->list) CloseList(hwnd, st, false);
            break;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (dc) Paint(hwnd, dc, st);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFONT:
            st->font = reinterpret_cast<HFONT>(wParam);
            FitHeight(hwnd, st);
            if (LOWORD(lParam)) Redraw(hwnd);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_ENABLE: Redraw(hwnd); return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            st->focused = message == WM_SETFOCUS;
            if (!st->focused) CloseList(hwnd, st, false);
            Redraw(hwnd);
            NotifyParent(hwnd, st->focused ? CBN_SETFOCUS : CBN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (GetFocus() != hwnd) SetFocus(hwnd);
            OpenList(hwnd, st);
            return 0;
        case WM_MOUSEWHEEL: {
            int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
            if (notches && st->items.Count()) {
                int from = st->selected < 0 ? (notches < 0 ? -1 : st->items.Count()) : st->selected;
                SelectByUser(hwnd, st, std::clamp(from - notches, 0, st->items.Count() - 1));
            }
            return 0;
        }
        case WM_SYSKEYDOWN:
            if (wParam == VK_DOWN || wParam == VK_UP) {
                OpenList(hwnd, st);
                return 0;
            }
            break;
        case WM_KEYDOWN: {
            int n = st->items.Count();
            switch (wParam) {
                case VK_F4: OpenList(hwnd, st); return 0;
                case VK_UP:
                case VK_LEFT: SelectByUser(hwnd, st, std::max(0, st->selected - 1)); return 0;
                case VK_DOWN:
                case VK_RIGHT: SelectByUser(hwnd, st, std::min(n - 1, st->selected + 1)); return 0;
                case VK_HOME: SelectByUser(hwnd, st, 0); return 0;
                case VK_END: SelectByUser(hwnd, st, n - 1); return 0;
            }
            return 0;
        }
        case WM_CHAR: {
            char prefix[2] = {char(wParam), 0};
            SelectByUser(hwnd, st, st->items.Find(st->selected, prefix, true));
            return 0;
        }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC ComboBoxWindowProc() { return ComboProc; }

}  // namespace win::controls
