// The "LISTBOX" class (and "ComboLBox", a combo box's open list): single
// selection, a vertical scroll bar drawn inside the client area with
// WS_VSCROLL, the mouse, the wheel and the keyboard. LBN_SELCHANGE and
// LBN_DBLCLK reach the parent with LBS_NOTIFY, for the user's changes only.
#include <algorithm>

#include "controls/control_state.h"
#include "controls/control_text.h"
#include "controls/controls.h"
#include "controls/item_list.h"
#include "controls/scroll_bar.h"

namespace win::controls {
namespace {

struct ListState {
    ItemList items;
    int selected = -1;
    int top = 0;
    bool focused = false;
    bool tracking = false;  // mouse held down over the items
    HFONT font = nullptr;
    int itemHeight = 0;
    ScrollBarDrag drag;
};

StateTable<ListState>& Lists() {
    static auto* table = new StateTable<ListState>;
    return *table;
}

DWORD Style(HWND hwnd) { return DWORD(GetWindowLongA(hwnd, GWL_STYLE)); }

int MeasureItemHeight(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, ControlFont(font));
    int h = FontHeight(dc);
    SelectObject(dc, old);
    DeleteDC(dc);
    return std::max(h, 1);
}

RECT Client(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return r;
}

int Visible(HWND hwnd, const ListState* st) {
    return std::max(1, (Client(hwnd).bottom) / st->itemHeight);
}

int MaxTop(HWND hwnd, const ListState* st) {
    return std::max(0, st->items.Count() - Visible(hwnd, st));
}

bool HasScrollBar(HWND hwnd, const ListState* st) {
    return (Style(hwnd) & WS_VSCROLL) && st->items.Count() > Visible(hwnd, st);
}

RECT ItemsArea(HWND hwnd, const ListState* st) {
    RECT r = Client(hwnd);
    if (HasScrollBar(hwnd, st))
        r.right = std::max(r.left, r.right - GetSystemMetrics(SM_CXVSCROLL));
    return r;
}

RECT ScrollArea(HWND hwnd) {
    RECT r = Client(hwnd);
    r.left = std::max(r.left, r.right - GetSystemMetrics(SM_CXVSCROLL));
    return r;
}

ScrollBarInfo ScrollInfo(HWND hwnd, const ListState* st) {
    return ScrollBarInfo{ScrollArea(hwnd), 0, MaxTop(hwnd, st), Visible(hwnd, st), st->top};
}

void SetTop(HWND hwnd, ListState* st, int top) {
    top = std::clamp(top, 0, MaxTop(hwnd, st));
    if (top == st->top) return;
    st->top = top;
    InvalidateRect(hwnd, nullptr, TRUE);
}

void EnsureVisible(HWND hwnd, ListState* st, int index) {
    if (index < 0) return;
    if (index < st->top)
        SetTop(hwnd, st, index);
    else if (index >= st->top + Visible(hwnd, st))
        SetTop(hwnd, st, index - Visible(hwnd, st) + 1);
}

void Select(HWND hwnd, ListState* st, int index, bool byUser) {
    if (!st->items.Valid(index)) index = -1;
    EnsureVisible(hwnd, st, index);
    if (index == st->selected) return;
    st->selected = index;
    InvalidateRect(hwnd, nullptr, TRUE);
    if (byUser && (Style(hwnd) & LBS_NOTIFY)) NotifyParent(hwnd, LBN_SELCHANGE);
}

int ItemAt(HWND hwnd, const ListState* st, POINT p) {
    RECT area = ItemsArea(hwnd, st);
    if (p.x < area.left || p.x >= area.right) return -1;
    int y = std::clamp<int>(p.y, 0, std::max(0, int(area.bottom) - 1));
    int index = st->top + y / st->itemHeight;
    return st->items.Valid(index) ? index : -1;
}

void Paint(HWND hwnd, HDC dc, ListState* st) {
    HBRUSH brush = ControlColor(hwnd, dc, WM_CTLCOLORLISTBOX);
    COLORREF text = GetTextColor(dc);
    RECT area = ItemsArea(hwnd, st);
    FillRect(dc, &area, brush);
    HGDIOBJ oldFont = SelectObject(dc, ControlFont(st->font));
    SetBkMode(dc, TRANSPARENT);
    const bool enabled = IsWindowEnabled(hwnd);
    for (int i = st->top; i < st->items.Count(); ++i) {
        int y = (i - st->top) * st->itemHeight;
        if (y >= area.bottom) break;
        RECT item{area.left, y, area.right, y + st->itemHeight};
        bool selected = i == st->selected;
        if (selected) FillSys(dc, item, COLOR_HIGHLIGHT);
        SetTextColor(dc, !enabled   ? GetSysColor(COLOR_GRAYTEXT)
                         : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                    : text);
        RECT textRect{item.left + 2, item.top, item.right, item.bottom};
        PaintText(dc, st->items.At(i).text, textRect,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (selected && st->focused) DrawFocusRect(dc, &item);
    }
    SelectObject(dc, oldFont);
    if (HasScrollBar(hwnd, st)) PaintScrollBar(dc, ScrollInfo(hwnd, st), st->drag);
}

void Scroll(HWND hwnd, ListState* st, int code, int position) {
    int page = std::max(1, Visible(hwnd, st) - 1);
    switch (code) {
        case SB_LINEUP: SetTop(hwnd, st, st->top - 1); break;
        case SB_LINEDOWN: SetTop(hwnd, st, st->top + 1); break;
        case SB_PAGEUP: SetTop(hwnd, st, st->top - page); break;
        case SB_PAGEDOWN: SetTop(hwnd, st, st->top + page); break;
        case SB_TOP: SetTop(hwnd, st, 0); break;
        case SB_BOTTOM: SetTop(hwnd, st, MaxTop(hwnd, st)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTop(hwnd, st, position); break;
    }
}

// Keyboard moves of the selection.
int KeyTarget(HWND hwnd, const ListState* st, WPARAM key) {
    int n = st->items.Count();
    if (n == 0) return -1;
    int cur = st->selected;
    int page = std::max(1, Visible(hwnd, st) - 1);
    switch (key) {
        case VK_UP: return std::max(0, cur - 1);
        case VK_DOWN: return std::min(n - 1, cur + 1);
        case VK_PRIOR: return std::max(0, (cur < 0 ? 0 : cur) - page);
        case VK_NEXT: return std::min(n - 1, (cur < 0 ? 0 : cur) + page);
        case VK_HOME: return 0;
        case VK_END: return n - 1;
    }
    return -2;
}

LRESULT ItemMessage(HWND hwnd, ListState* st, UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = int(INT_PTR(wParam));
    auto text = reinterpret_cast<const char*>(lParam);
    switch (message) {
        case LB_ADDSTRING:
        case LB_INSERTSTRING: {
            int at = message == LB_ADDSTRING ? st->items.Add(text, Style(hwnd) & LBS_SORT)
                                             : st->items.Insert(index, text);
            if (at < 0) return LB_ERR;
            if (st->selected >= at) ++st->selected;
            InvalidateRect(hwnd, nullptr, TRUE);
            return at;
        }
        case LB_DELETESTRING: {
            int left = st->items.Delete(index);
            if (left < 0) return LB_ERR;
            if (st->selected == index)
                st->selected = -1;
            else if (st->selected > index)
                --st->selected;
            st->top = std::clamp(st->top, 0, MaxTop(hwnd, st));
            InvalidateRect(hwnd, nullptr, TRUE);
            return left;
        }
        case LB_RESETCONTENT:
            st->items.Clear();
            st->selected = -1;
            st->top = 0;
            InvalidateRect(hwnd, nullptr, TRUE);
            return LB_OKAY;
        case LB_GETCOUNT: return st->items.Count();
        case LB_SETCURSEL:
            Select(hwnd, st, index, false);
            return st->items.Valid(index) ? index : LB_ERR;
        case LB_GETCURSEL: return st->selected;
        case LB_GETSEL: return st->items.Valid(index) ? (index == st->selected ? 1 : 0) : LB_ERR;
        case LB_GETTEXT: return st->items.GetText(index, reinterpret_cast<char*>(lParam));
        case LB_GETTEXTLEN:
            return st->items.Valid(index) ? LRESULT(st->items.At(index).text.size()) : LB_ERR;
        case LB_GETITEMDATA: return st->items.Valid(index) ? st->items.At(index).data : LB_ERR;
        case LB_SETITEMDATA:
            if (!st->items.Valid(index)) return LB_ERR;
            st->items.At(index).data = lParam;
            return LB_OKAY;
        case LB_FINDSTRING: return st->items.Find(index, text, true);
        case LB_FINDSTRINGEXACT: return st->items.Find(index, text, false);
        case LB_SETTOPINDEX:
            if (!st->items.Valid(index) && !(index == 0 && st->items.Count() == 0)) return LB_ERR;
            SetTop(hwnd, st, index);
            return LB_OKAY;
        case LB_GETTOPINDEX: return st->top;
        case LB_GETITEMHEIGHT: return st->itemHeight;
        case LB_GETITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(lParam);
            if (!r || !st->items.Valid(index)) return LB_ERR;
            RECT area = ItemsArea(hwnd, st);
            int y = (index - st->top) * st->itemHeight;
            *r = RECT{area.left, y, area.right, y + st->itemHeight};
            return 1;
        }
    }
    return LB_ERR;
}

LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        ListState* created = Lists().Create(hwnd);
        created->itemHeight = MeasureItemHeight(nullptr);
    }
    ListState* st = Lists().Find(hwnd);
    if (!st) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message >= LB_ADDSTRING && message <= LB_FINDSTRINGEXACT)
        return ItemMessage(hwnd, st, message, wParam, lParam);
    const POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
    switch (message) {
        case WM_NCDESTROY: Lists().Erase(hwnd); break;
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
            st->itemHeight = MeasureItemHeight(st->font);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_SIZE:
            st->top = std::clamp(st->top, 0, MaxTop(hwnd, st));
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            st->focused = message == WM_SETFOCUS;
            InvalidateRect(hwnd, nullptr, TRUE);
            if (Style(hwnd) & LBS_NOTIFY)
                NotifyParent(hwnd, message == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
            if (GetFocus() != hwnd && (Style(hwnd) & WS_CHILD)) SetFocus(hwnd);
            if (RECT bar = ScrollArea(hwnd); HasScrollBar(hwnd, st) && PtInRect(&bar, at)) {
                int code = ScrollBarPress(ScrollInfo(hwnd, st), at, &st->drag);
                if (code >= 0) SendMessageA(hwnd, WM_VSCROLL, MAKEWPARAM(code, 0), 0);
                SetCapture(hwnd);
                InvalidateRect(hwnd, nullptr, FALSE);
                return 0;
            }
            st->tracking = true;
            SetCapture(hwnd);
            if (int i = ItemAt(hwnd, st, at); i >= 0) Select(hwnd, st, i, true);
            return 0;
        case WM_MOUSEMOVE:
            if (st->drag.active) {
                int pos = ScrollBarDragTo(ScrollInfo(hwnd, st), st->drag, at);
                SendMessageA(hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
            } else if (st->tracking) {
                RECT area = ItemsArea(hwnd, st);
                if (at.y < 0) SetTop(hwnd, st, st->top - 1);
                if (at.y >= area.bottom) SetTop(hwnd, st, st->top + 1);
                if (int i = ItemAt(hwnd, st, at); i >= 0) Select(hwnd, st, i, true);
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            st->tracking = false;
            if (st->drag.active) {
                st->drag = ScrollBarDrag{};
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            if (message == WM_LBUTTONUP && GetCapture() == hwnd) ReleaseCapture();
            return 0;
        case WM_LBUTTONDBLCLK:
            if (RECT bar = ScrollArea(hwnd); HasScrollBar(hwnd, st) && PtInRect(&bar, at))
                return ListProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
            if (int i = ItemAt(hwnd, st, at); i >= 0) {
                Select(hwnd, st, i, true);
                if (Style(hwnd) & LBS_NOTIFY) NotifyParent(hwnd, LBN_DBLCLK);
            }
            return 0;
        case WM_MOUSEWHEEL: {
            int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
            SetTop(hwnd, st, st->top - 3 * notches);
            return 0;
        }
        case WM_VSCROLL: Scroll(hwnd, st, LOWORD(wParam), short(HIWORD(wParam))); return 0;
        case WM_KEYDOWN: {
            int target = KeyTarget(hwnd, st, wParam);
            if (target >= -1) Select(hwnd, st, target, true);
            return 0;
        }
        case WM_CHAR: {
            // Jump to the next item beginning with the typed letter.
            char prefix[2] = {char(wParam), 0};
            if (int i = st->items.Find(st->selected, prefix, true); i >= 0)
                Select(hwnd, st, i, true);
            return 0;
        }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC ListBoxWindowProc() { return ListProc; }

}  // namespace win::controls
