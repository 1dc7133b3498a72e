// The popup that shows a menu (TrackPopupMenu, the system menu): a topmost
// window listing the items, run in a nested loop. The pointer is captured:
// moving highlights, releasing over an item chooses it, a press outside
// dismisses. Keys: Up/Down/Home/End move, Enter chooses, Escape or Alt
// dismisses, an item's access key chooses it.
#include <algorithm>
#include <cctype>
#include <string>

#include "core/menu.h"

namespace win::menus {
namespace {

constexpr const char* kClass = "TintoPopupMenu";
constexpr int kCheckColumn = 20;  // room for a check mark left of the text
constexpr int kRightMargin = 16;
constexpr int kAcceleratorGap = 24;
constexpr int kSeparatorHeight = 9;

struct Popup {
    std::vector<MenuItem> items;
    std::vector<RECT> rects;  // client coordinates
    int highlight = -1;
    int chosen = -1;
    bool done = false;
    bool pressedInside = false;
    UINT flags = 0;
};

Popup* StateOf(HWND hwnd) {
    return reinterpret_cast<Popup*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

HFONT MenuFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

void SplitText(const std::string& text, std::string& label, std::string& accelerator) {
    size_t tab = text.find('\t');
    label = text.substr(0, tab);
    accelerator = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

// The upper-case access key of an item ('&' followed by a character), or 0.
char AccessKey(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return char(std::toupper(static_cast<unsigned char>(text[i + 1])));
    }
    return 0;
}

// Lays the items out; returns the client size.
SIZE Layout(Popup& p) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, MenuFont());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    const int itemHeight = std::max<int>(tm.tmHeight + 6, GetSystemMetrics(SM_CYMENU) - 1);
    int labelWidth = 0, acceleratorWidth = 0, y = 0;
    for (const MenuItem& item : p.items) {
        int h = item.flags & MF_SEPARATOR ? kSeparatorHeight : itemHeight;
        p.rects.push_back(RECT{0, y, 0, y + h});
        y += h;
        if (item.flags & MF_SEPARATOR) continue;
        std::string label, accelerator;
        SplitText(item.text, label, accelerator);
        RECT r{0, 0, 0, 0};
        DrawTextA(dc, label.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
        labelWidth = std::max<int>(labelWidth, r.right);
        r = RECT{0, 0, 0, 0};
        if (!accelerator.empty()) {
            DrawTextA(dc, accelerator.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
            acceleratorWidth = std::max<int>(acceleratorWidth, r.right);
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    int width = kCheckColumn + labelWidth +
                (acceleratorWidth ? kAcceleratorGap + acceleratorWidth : 0) + kRightMargin;
    width = std::max(width, 60);
    for (RECT& r : p.rects) r.right = width;
    return SIZE{width, std::max(y, 1)};
}

void PaintItem(HDC dc, const Popup& p, size_t i) {
    const MenuItem& item = p.items[i];
    RECT r = p.rects[i];
    if (item.flags & MF_SEPARATOR) {
        RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2 + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool lit = int(i) == p.highlight;
    const bool grayed = item.flags & (MF_GRAYED | MF_DISABLED);
    FillRect(dc, &r, reinterpret_cast<HBRUSH>(INT_PTR(lit ? COLOR_HIGHLIGHT : COLOR_MENU) + 1));
    SetBkMode(dc, TRANSPARENT);
    COLORREF text = GetSysColor(lit ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (grayed) text = GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(dc, text);
    std::string label, accelerator;
    SplitText(item.text, label, accelerator);
    RECT textRect{r.left + kCheckColumn, r.top, r.right - kRightMargin, r.bottom};
    if (grayed && !lit) {
        // The classic engraved look of an unavailable item.
        RECT light = textRect;
        OffsetRect(&light, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextA(dc, label.c_str(), -1, &light, DT_SINGLELINE | DT_VCENTER);
        if (!accelerator.empty())
            DrawTextA(dc, accelerator.c_str(), -1, &light, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
    }
    DrawTextA(dc, label.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER);
    if (!accelerator.empty())
        DrawTextA(dc, accelerator.c_str(), -1, &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);

    HPEN pen = CreatePen(PS_SOLID, 1, text);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    const int midY = (r.top + r.bottom) / 2;
    if (item.flags & MF_CHECKED) {  // a small tick
        for (int k = 0; k < 2; ++k) {
            MoveToEx(dc, r.left + 6, midY - 1 + k, nullptr);
            LineTo(dc, r.left + 8, midY + 1 + k);
            LineTo(dc, r.left + 13, midY - 4 + k);
        }
    }
    if (item.flags & MF_POPUP) {  // an arrow to the submenu
        for (int k = 0; k < 4; ++k) {
            MoveToEx(dc, r.right - 10 + k, midY - 3 + k, nullptr);
            LineTo(dc, r.right - 10 + k, midY + 4 - k);
        }
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

bool Choosable(const MenuItem& item) { return item.Selectable() && !(item.flags & MF_POPUP); }

int ItemAt(const Popup& p, POINT pt) {
    for (size_t i = 0; i < p.rects.size(); ++i)
        if (PtInRect(&p.rects[i], pt)) return int(i);
    return -1;
}

void SetHighlight(HWND hwnd, Popup& p, int index) {
    if (index >= 0 && (p.items[size_t(index)].flags & MF_SEPARATOR)) index = -1;
    if (index == p.highlight) return;
    p.highlight = index;
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Choose(Popup& p, int index) {
    if (index < 0 || !Choosable(p.items[size_t(index)])) return;
    p.chosen = index;
    p.done = true;
}

// The next item after `from` in direction `step` (wrapping) that is not a
// separator; from -1 the first, or the last going up.
int Step(const Popup& p, int from, int step) {
    const int n = int(p.items.size());
    int i = from;
    for (int k = 0; k < n; ++k) {
        if (k == 0 && from < 0)
            i = step > 0 ? 0 : n - 1;
        else
            i = ((i + step) % n + n) % n;
        if (!(p.items[size_t(i)].flags & MF_SEPARATOR)) return i;
    }
    return -1;
}

void HandleKey(HWND hwnd, Popup& p, UINT key) {
    switch (key) {
        case VK_ESCAPE: p.done = true; return;
        case VK_RETURN: Choose(p, p.highlight); return;
        case VK_UP: SetHighlight(hwnd, p, Step(p, p.highlight, -1)); return;
        case VK_DOWN: SetHighlight(hwnd, p, Step(p, p.highlight, 1)); return;
        case VK_HOME: SetHighlight(hwnd, p, Step(p, -1, 1)); return;
        case VK_END: SetHighlight(hwnd, p, Step(p, int(p.items.size()), -1)); return;
        default: break;
    }
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        for (size_t i = 0; i < p.items.size(); ++i)
            if (Choosable(p.items[i]) && AccessKey(p.items[i].text) == char(key)) {
                Choose(p, int(i));
                return;
            }
    }
}

void HandleMouse(HWND hwnd, Popup& p, UINT message, LPARAM lParam) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client;
    GetClientRect(hwnd, &client);
    const bool inside = PtInRect(&client, pt);
    const int index = inside ? ItemAt(p, pt) : -1;
    switch (message) {
        case WM_MOUSEMOVE: SetHighlight(hwnd, p, index); break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
            if (!inside) {
                p.done = true;
                break;
            }
            p.pressedInside = true;
            SetHighlight(hwnd, p, index);
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (message == WM_RBUTTONUP && !(p.flags & TPM_RIGHTBUTTON) && !p.pressedInside) break;
            if (inside) Choose(p, index);
            break;
        default: break;
    }
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Popup* p = StateOf(hwnd);
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (dc && p) {
                RECT client;
                GetClientRect(hwnd, &client);
                FillRect(dc, &client, reinterpret_cast<HBRUSH>(INT_PTR(COLOR_MENU) + 1));
                HGDIOBJ old = SelectObject(dc, MenuFont());
                for (size_t i = 0; i < p->items.size(); ++i) PaintItem(dc, *p, i);
                SelectObject(dc, old);
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_CAPTURECHANGED:
        case WM_CANCELMODE:
            if (p && reinterpret_cast<HWND>(lParam) != hwnd && !p->done) {
                p->done = true;
                // The menu's loop ends only once the loop that runs now
                // returns, which may be a message box's nested in it: until
                // then the menu must neither cover that box nor keep the
                // mouse.
                if (GetCapture() == hwnd) ReleaseCapture();
                ShowWindow(hwnd, SW_HIDE);
            }
            return 0;
        default: return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

bool RegisterPopupClass() {
    WNDCLASSA wc{};
    if (GetClassInfoA(nullptr, kClass, &wc)) return true;
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = PopupProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    return RegisterClassA(&wc) != 0;
}

}  // namespace

RECT PopupItemRect(HWND popup, int index) {
    Popup* p = IsWindow(popup) ? StateOf(popup) : nullptr;
    if (!p || index < 0 || size_t(index) >= p->rects.size()) return RECT{0, 0, 0, 0};
    return p->rects[size_t(index)];
}

int RunPopup(const std::vector<MenuItem>& items, int x, int y, UINT flags, HWND owner,
             bool keyboard) {
    if (items.empty() || !RegisterPopupClass()) return -1;
    Popup p;
    p.items = items;
    p.flags = flags;
    SIZE client = Layout(p);
    const int width = client.cx + 2, height = client.cy + 2;  // WS_BORDER
    if (flags & TPM_CENTERALIGN)
        x -= width / 2;
    else if (flags & TPM_RIGHTALIGN)
        x -= width;
    if (flags & TPM_VCENTERALIGN)
        y -= height / 2;
    else if (flags & TPM_BOTTOMALIGN)
        y -= height;
    // Keep the whole menu on the screen.
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    x = std::max(0, std::min(x, screenW - width));
    y = std::max(0, std::min(y, screenH - height));

    HWND popup = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClass, "", WS_POPUP | WS_BORDER,
                                 x, y, width, height, owner, nullptr, nullptr, nullptr);
    if (!popup) return -1;
    SetWindowLongPtrA(popup, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&p));
    if (keyboard) p.highlight = Step(p, -1, 1);
    ShowWindow(popup, SW_SHOWNOACTIVATE);
    UpdateWindow(popup);
    SetCapture(popup);

    MSG msg;
    while (!p.done && IsWindow(popup) && (!owner || IsWindow(owner))) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            p.done = true;
            p.chosen = -1;
            PostQuitMessage(int(msg.wParam));  // the outer loop must see it too
            break;
        }
        switch (msg.message) {
            case WM_SYSKEYDOWN:
                // A fresh press of Alt leaves the menu, as it does on Windows.
                if (msg.wParam == VK_MENU && !(msg.lParam & 0x40000000)) {
                    p.done = true;
                    continue;
                }
                HandleKey(popup, p, UINT(msg.wParam));
                continue;
            case WM_KEYDOWN: HandleKey(popup, p, UINT(msg.wParam)); continue;
            case WM_KEYUP:
            case WM_SYSKEYUP:
            case WM_CHAR:
            case WM_SYSCHAR: continue;  // the menu has the keyboard while it is up
            default: break;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST &&
            msg.message != WM_MOUSEWHEEL) {
            if (msg.hwnd == popup) {
                HandleMouse(popup, p, msg.message, msg.lParam);
            } else if (msg.message != WM_MOUSEMOVE && msg.message != WM_LBUTTONUP &&
                       msg.message != WM_RBUTTONUP && msg.message != WM_MBUTTONUP) {
                p.done = true;  // a press on another window
            }
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (IsWindow(popup)) {
        SetWindowLongPtrA(popup, GWLP_USERDATA, 0);
        if (GetCapture() == popup) ReleaseCapture();
        DestroyWindow(popup);
    }
    return p.done ? p.chosen : -1;
}

}  // namespace win::menus

using namespace win::menus;

BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    std::vector<MenuItem> items;
    if (!Snapshot(menu, items)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (owner && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!(flags & TPM_NONOTIFY) && owner) {
        SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        Snapshot(menu, items);  // the owner may have changed the items
    }
    const int index = RunPopup(items, x, y, flags, owner, false);
    const UINT id = index >= 0 ? UINT(items[size_t(index)].id) : 0;
    if (flags & TPM_RETURNCMD) return BOOL(id);
    if (!id) return FALSE;
    if (owner && !(flags & TPM_NONOTIFY)) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return TRUE;
}

BOOL WINAPI EndMenu() {
    HWND capture = GetCapture();
    char name[32] = {};
    if (!capture || !GetClassNameA(capture, name, sizeof name) ||
        std::string(name) != "TintoPopupMenu")
        return FALSE;
    SendMessageA(capture, WM_CANCELMODE, 0, 0);
    PostMessageA(capture, WM_NULL, 0, 0);  // wakes the menu's loop
    return TRUE;
}
