// Menus: the objects behind HMENU, the per-window system menus, and the
// popup that shows a menu and lets the user choose from it.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace win::menus {

struct MenuItem {
    UINT flags = MF_STRING;  // MF_SEPARATOR, MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_POPUP
    UINT_PTR id = 0;         // command id, or the submenu handle with MF_POPUP
    std::string text;        // Windows-1252, '&' marks the access key, '\t' starts the accelerator
    bool Selectable() const { return !(flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)); }
};

struct Menu {
    std::vector<MenuItem> items;
};

// A copy of the menu's items (empty when the handle is not a menu).
bool Snapshot(HMENU menu, std::vector<MenuItem>& items);

// Runs a popup of `items` at screen point (x, y) for `owner` until the user
// chooses (returns the index of the item) or dismisses it (returns -1).
// Opened from the keyboard, the first item starts highlighted. Items with
// submenus are shown but cannot be chosen.
int RunPopup(const std::vector<MenuItem>& items, int x, int y, UINT flags, HWND owner,
             bool keyboard);
// Client rectangle of item `index` of an open popup window; empty if none.
RECT PopupItemRect(HWND popup, int index);

// Opens `hwnd`'s system menu at screen point (x, y) and, when an item is
// chosen, posts WM_SYSCOMMAND with its id to the window.
void OpenSystemMenu(HWND hwnd, int x, int y, bool keyboard);
// Forgets the window's system menu (the window is going away).
void DropSystemMenu(HWND hwnd);

// DefWindowProc's share: WM_SYSCOMMAND, system keys and the right click on
// the top strip of a captionless top-level window (on the window itself,
// not on its children).
LRESULT DefSysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
bool DefSysKeyDown(HWND hwnd, WPARAM wParam, LPARAM lParam);
bool DefRightButtonUp(HWND hwnd, LPARAM lParam);

}  // namespace win::menus
