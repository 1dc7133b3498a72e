// Per-window system menus: GetSystemMenu, opening the menu from Alt+Space
// or a right click on the top strip of a captionless window, and what
// DefWindowProc does with WM_SYSCOMMAND.
#include <algorithm>
#include <map>
#include <mutex>

#include "core/menu.h"

namespace win::menus {
namespace {

std::mutex& Lock() {
    static auto* lock = new std::mutex;
    return *lock;
}

std::map<HWND, HMENU>& Menus() {
    static auto* menus = new std::map<HWND, HMENU>;
    return *menus;
}

// Windows with a system menu: top-level windows other than tool windows
// (popup lists, tool-tips, menus).
bool HasSystemMenu(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
    return !(style & WS_CHILD) && !(exStyle & WS_EX_TOOLWINDOW);
}

// The standard items. Windows here have no caption, frame or minimised
// state, so only Close is available.
HMENU MakeStandardMenu() {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    AppendMenuA(menu, MF_STRING | MF_GRAYED, SC_RESTORE, "&Restore");
    AppendMenuA(menu, MF_STRING | MF_GRAYED, SC_MOVE, "&Move");
    AppendMenuA(menu, MF_STRING | MF_GRAYED, SC_SIZE, "&Size");
    AppendMenuA(menu, MF_STRING | MF_GRAYED, SC_MINIMIZE, "Mi&nimize");
    AppendMenuA(menu, MF_STRING | MF_GRAYED, SC_MAXIMIZE, "Ma&ximize");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    return menu;
}

}  // namespace

void DropSystemMenu(HWND hwnd) {
    HMENU menu = nullptr;
    {
        std::lock_guard<std::mutex> guard(Lock());
        auto it = Menus().find(hwnd);
        if (it == Menus().end()) return;
        menu = it->second;
        Menus().erase(it);
    }
    DestroyMenu(menu);
}

void OpenSystemMenu(HWND hwnd, int x, int y, bool keyboard) {
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    std::vector<MenuItem> items;
    if (!menu) return;
    SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, 1));
    if (!Snapshot(menu, items)) return;
    const int index =
        RunPopup(items, x, y, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, hwnd, keyboard);
    if (index >= 0 && IsWindow(hwnd))
        PostMessageA(hwnd, WM_SYSCOMMAND, WPARAM(items[size_t(index)].id),
                     keyboard ? 0 : MAKELPARAM(x, y));
}

LRESULT DefSysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessageA(hwnd, WM_CLOSE, 0, 0); break;
        case SC_KEYMENU:
            if (lParam == ' ') {
                RECT r;
                GetWindowRect(hwnd, &r);
                OpenSystemMenu(hwnd, r.left, r.top, true);
            }
            break;
        case SC_MOUSEMENU:
            OpenSystemMenu(hwnd, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), false);
            break;
        default: break;  // no moving, sizing or minimising here; unknown commands are ignored
    }
    return 0;
}

bool DefSysKeyDown(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (!(lParam & 0x20000000)) return false;  // Alt is not held
    HWND root = GetAncestor(hwnd, GA_ROOT);
    if (!root) return false;
    if (wParam == VK_SPACE && HasSystemMenu(root)) {
        SendMessageA(root, WM_SYSCOMMAND, SC_KEYMENU, ' ');
        return true;
    }
    if (wParam == VK_F4) {
        SendMessageA(root, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    return false;
}

bool DefRightButtonUp(HWND hwnd, LPARAM lParam) {
    // Only the window's own background counts: a control in the strip may
    // give right clicks a meaning of its own (and pass them on by default).
    if (!HasSystemMenu(hwnd) || (GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION)
        return false;
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(hwnd, &pt);
    RECT r;
    GetWindowRect(hwnd, &r);
    // The strip where a caption would be.
    r.bottom = std::min<LONG>(r.bottom, r.top + GetSystemMetrics(SM_CYCAPTION));
    if (!PtInRect(&r, pt)) return false;
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU, MAKELPARAM(pt.x, pt.y));
    return true;
}

}  // namespace win::menus

HMENU WINAPI GetSystemMenu(HWND hwnd, BOOL revert) {
    using namespace win::menus;
    if (revert) {
        DropSystemMenu(hwnd);
        return nullptr;
    }
    if (!HasSystemMenu(hwnd)) return nullptr;
    {
        std::lock_guard<std::mutex> guard(Lock());
        auto it = Menus().find(hwnd);
        if (it != Menus().end() && IsMenu(it->second)) return it->second;
    }
    HMENU menu = MakeStandardMenu();
    if (!menu) return nullptr;
    std::lock_guard<std::mutex> guard(Lock());
    HMENU& slot = Menus()[hwnd];
    if (slot && IsMenu(slot)) {  // another thread made one meanwhile
        DestroyMenu(menu);
        return slot;
    }
    slot = menu;
    return slot;
}
