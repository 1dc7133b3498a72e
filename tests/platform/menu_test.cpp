// Menus: building and reading popup menus, the per-window system menu, and
// the popup that opens on Alt+Space or a right click on a captionless
// window's top strip, chosen from with keys or the mouse.
#include <string>

#include "core/menu.h"
#include "window_fixture.h"

namespace {

std::string ItemText(HMENU menu, UINT position) {
    char buffer[64] = {};
    GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
    return buffer;
}

// The screen centre of item `index` of an open popup.
POINT ItemCentre(HWND popup, int index) {
    RECT r = win::menus::PopupItemRect(popup, index);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(popup, &p);
    return p;
}

class Menus : public WindowTest {
protected:
    // A captionless top-level window, active, with the About item the
    // program adds to its system menu.
    HWND Home() {
        HWND top = Top(100, 100, 300, 200, WS_POPUP | WS_VISIBLE | WS_BORDER);
        SetActiveWindow(top);
        SetFocus(top);
        HMENU menu = GetSystemMenu(top, FALSE);
        EXPECT_TRUE(AppendMenuA(menu, MF_SEPARATOR, 0, nullptr));
        EXPECT_TRUE(AppendMenuA(menu, MF_STRING, 16, "&About Tintorama..."));
        Pump();
        Forget();
        return top;
    }
    std::vector<WPARAM> Commands() const {
        std::vector<WPARAM> ids;
        for (const Seen& s : Of(WM_SYSCOMMAND)) ids.push_back(s.wParam);
        return ids;
    }
    void AltSpace() {
        headless::KeyDown(VK_MENU);
        headless::KeyPress(VK_SPACE);
        headless::KeyUp(VK_MENU);
    }
};

TEST(MenuObjects, BuildReadAndChangeItems) {
    HMENU menu = CreatePopupMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 0);
    EXPECT_TRUE(AppendMenuA(menu, MF_STRING, 100, "&Open"));
    EXPECT_TRUE(AppendMenuA(menu, MF_SEPARATOR, 0, nullptr));
    EXPECT_TRUE(AppendMenuA(menu, MF_STRING | MF_GRAYED, 101, "&Save\tCtrl+S"));
    EXPECT_TRUE(InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING, 99, "&New"));
    EXPECT_TRUE(InsertMenuA(menu, 101, MF_BYCOMMAND | MF_STRING, 102, "Save &as"));  // before Save
    ASSERT_EQ(GetMenuItemCount(menu), 5);
    EXPECT_EQ(GetMenuItemID(menu, 0), 99u);
    EXPECT_EQ(GetMenuItemID(menu, 2), 0u);  // the separator
    EXPECT_EQ(GetMenuItemID(menu, 3), 102u);
    EXPECT_EQ(ItemText(menu, 4), "&Save\tCtrl+S");
    char small[4] = {};
    EXPECT_EQ(GetMenuStringA(menu, 100, small, sizeof small, MF_BYCOMMAND), 3);
    EXPECT_STREQ(small, "&Op");
    EXPECT_EQ(GetMenuStringA(menu, 100, nullptr, 0, MF_BYCOMMAND), 5);

    EXPECT_TRUE(GetMenuState(menu, 101, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(EnableMenuItem(menu, 101, MF_ENABLED), BOOL(MF_GRAYED));
    EXPECT_EQ(GetMenuState(menu, 101, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(CheckMenuItem(menu, 100, MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_TRUE(GetMenuState(menu, 100, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(menu, 555, MF_GRAYED), -1);

    EXPECT_TRUE(DeleteMenu(menu, 99, MF_BYCOMMAND));
    EXPECT_TRUE(RemoveMenu(menu, 0, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_FALSE(DeleteMenu(menu, 99, MF_BYCOMMAND));

    // A submenu belongs to its menu and goes with it.
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 200, "Inner");
    EXPECT_TRUE(AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More"));
    EXPECT_EQ(GetSubMenu(menu, 3), sub);
    EXPECT_EQ(GetMenuItemID(menu, 3), UINT(-1));
    EXPECT_EQ(ItemText(sub, 0), "Inner");
    EXPECT_TRUE(GetMenuState(menu, 200, MF_BYCOMMAND) != UINT(-1));  // ids are found in submenus
    EXPECT_FALSE(AppendMenuA(menu, MF_POPUP, 0x1234, "bogus"));
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_FALSE(DestroyMenu(menu));
}

TEST(MenuObjects, BadHandlesFail) {
    HMENU bogus = reinterpret_cast<HMENU>(0x777);
    EXPECT_FALSE(AppendMenuA(bogus, MF_STRING, 1, "x"));
    EXPECT_EQ(GetMenuItemCount(bogus), -1);
    EXPECT_EQ(GetMenuItemID(bogus, 0), UINT(-1));
    EXPECT_EQ(GetMenuState(bogus, 0, MF_BYPOSITION), UINT(-1));
    EXPECT_EQ(GetSubMenu(bogus, 0), nullptr);
    EXPECT_FALSE(TrackPopupMenu(bogus, 0, 0, 0, 0, nullptr, nullptr));
    EXPECT_FALSE(IsMenu(nullptr));
    EXPECT_EQ(GetSystemMenu(reinterpret_cast<HWND>(0x999), FALSE), nullptr);
}

TEST_F(Menus, SystemMenuIsPerWindowAndResets) {
    HWND a = Top(0, 0, 100, 100);
    HWND b = Top(200, 0, 100, 100);
    HWND child = Child(a, 1, 0, 0, 10, 10);
    HMENU menuA = GetSystemMenu(a, FALSE);
    ASSERT_NE(menuA, nullptr);
    EXPECT_EQ(GetSystemMenu(a, FALSE), menuA);
    EXPECT_NE(GetSystemMenu(b, FALSE), menuA);
    EXPECT_EQ(GetSystemMenu(child, FALSE), nullptr);
    const int standard = GetMenuItemCount(menuA);
    ASSERT_GE(standard, 1);
    EXPECT_EQ(GetMenuItemID(menuA, standard - 1), UINT(SC_CLOSE));

    AppendMenuA(menuA, MF_STRING, 16, "&About");
    EXPECT_EQ(GetMenuItemCount(menuA), standard + 1);
    EXPECT_EQ(GetMenuItemCount(GetSystemMenu(b, FALSE)), standard);
    EXPECT_EQ(GetSystemMenu(a, TRUE), nullptr);
    EXPECT_FALSE(IsMenu(menuA));
    EXPECT_EQ(GetMenuItemCount(GetSystemMenu(a, FALSE)), standard);

    HMENU menuB = GetSystemMenu(b, FALSE);
    DestroyWindow(b);
    EXPECT_FALSE(IsMenu(menuB));  // freed with its window
}

TEST_F(Menus, AltSpaceOpensTheMenuAndEnterChoosesTheHighlightedItem) {
    HWND home = Home();
    HWND popup = nullptr;
    int highlightPixels = 0;
    headless::WhenTopLevelAppears(headless::kPopupMenuClass, [&](HWND h) {
        popup = h;
        headless::KeyPress(VK_END);  // the About item, last
        // Once the menu has handled the key and repainted:
        headless::WhenTopLevelAppears(headless::kPopupMenuClass, [&](HWND again) {
            headless::Image image;
            const COLORREF lit = GetSysColor(COLOR_HIGHLIGHT);
            const uint32_t pixel = (GetRValue(lit) << 16) | (GetGValue(lit) << 8) | GetBValue(lit);
            if (headless::ReadPixels(again, &image))
                for (uint32_t p : image.pixels) highlightPixels += p == pixel;
            headless::KeyPress(VK_RETURN);
        });
    });
    AltSpace();
    Pump();
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(IsWindow(popup));   // closed again
    EXPECT_GT(highlightPixels, 50);  // the highlighted row was drawn
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{SC_KEYMENU, 16}));
    EXPECT_TRUE(IsWindow(home));
}

TEST_F(Menus, AccessKeysChooseOnlyAvailableItems) {
    HWND home = Home();
    int opened = 0;
    auto answer = [&](std::vector<UINT> keys) {
        headless::WhenTopLevelAppears(headless::kPopupMenuClass, [&opened, keys](HWND) {
            ++opened;
            for (UINT key : keys) headless::KeyPress(key);
        });
    };
    // 'M' names the unavailable Move item: nothing happens until Escape.
    answer({'M', VK_ESCAPE});
    AltSpace();
    Pump();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{SC_KEYMENU}));
    EXPECT_TRUE(Of(WM_KEYDOWN).empty());  // the menu had the keys

    // 'C' is Close: WM_SYSCOMMAND SC_CLOSE, which closes the window.
    Forget();
    answer({'C'});
    AltSpace();
    Pump();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{SC_KEYMENU, SC_CLOSE}));
    EXPECT_EQ(Of(WM_CLOSE).size(), 1u);
    EXPECT_FALSE(IsWindow(home));
}

TEST_F(Menus, AltSpaceOnAFocusedControlOpensItsWindowsMenu) {
    HWND home = Home();
    HWND button = CreateWindowExA(0, "BUTTON", "Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 50,
                                  60, 24, home, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    SetFocus(button);
    Pump();
    Forget();
    headless::WhenTopLevelAppears(headless::kPopupMenuClass, [](HWND) { headless::KeyPress('A'); });
    AltSpace();
    Pump();
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{SC_KEYMENU, 16}));
    for (const Seen& s : Of(WM_SYSCOMMAND)) EXPECT_EQ(s.hwnd, home);
    EXPECT_TRUE(Of(WM_COMMAND).empty());  // Alt+Space is not a press of the button
}

TEST_F(Menus, RightClickOnTheTopStripAndChoosingWithTheMouse) {
    HWND home = Home();
    // Lower down, a right click is only a right click; so is one on a
    // control that lies in the strip.
    headless::Click(150, 200, headless::Button::Right);
    HWND control = Child(home, 5, 250, 0, 40, 20);
    Pump();
    headless::Click(360, 105, headless::Button::Right);
    Pump();
    EXPECT_EQ(Of(WM_RBUTTONUP).size(), 2u);
    EXPECT_EQ(Of(WM_RBUTTONUP)[1].hwnd, control);
    EXPECT_TRUE(Commands().empty());

    headless::WhenTopLevelAppears(headless::kPopupMenuClass, [](HWND popup) {
        const int last = 8;  // seven standard items, the separator, About
        POINT about = ItemCentre(popup, last);
        headless::MouseMove(about.x, about.y);
        headless::Click(about.x, about.y);
    });
    headless::Click(150, 105, headless::Button::Right);
    Pump();
    ASSERT_EQ(Commands().size(), 2u);
    EXPECT_EQ(Commands()[0], WPARAM(SC_MOUSEMENU));
    EXPECT_EQ(Commands()[1], WPARAM(16));
    EXPECT_TRUE(Of(WM_LBUTTONDOWN).empty());  // the click went to the menu
    EXPECT_TRUE(IsWindow(home));
}

TEST_F(Menus, APressOutsideOrOnAGrayedItemChoosesNothing) {
    Home();
    bool sawPopup = false;
    headless::WhenTopLevelAppears(headless::kPopupMenuClass, [&](HWND popup) {
        sawPopup = true;
        POINT move = ItemCentre(popup, 1);  // Move: unavailable
        headless::Click(move.x, move.y);
        // Still open once the menu has handled that click:
        headless::WhenTopLevelAppears(headless::kPopupMenuClass, [popup](HWND again) {
            EXPECT_EQ(again, popup);
            headless::Click(380, 280);  // on the window, outside the menu
        });
    });
    headless::Click(120, 105, headless::Button::Right);
    Pump();
    EXPECT_TRUE(sawPopup);
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{SC_MOUSEMENU}));
    EXPECT_TRUE(Of(WM_LBUTTONDOWN).empty());  // swallowed by the closing menu
}

TEST_F(Menus, TrackPopupMenuReturnsOrPostsTheChoice) {
    HWND owner = Top(0, 0, 200, 200);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 41, "&First");
    AppendMenuA(menu, MF_STRING, 42, "&Second");
    Pump();
    Forget();
    headless::WhenTopLevelAppears(headless::kPopupMenuClass, [](HWND) { headless::KeyPress('S'); });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), 42);
    Pump();
    EXPECT_TRUE(Of(WM_COMMAND).empty());

    headless::WhenTopLevelAppears(headless::kPopupMenuClass, [](HWND) {
        headless::KeyPress(VK_DOWN);
        headless::KeyPress(VK_RETURN);
    });
    EXPECT_TRUE(TrackPopupMenu(menu, 0, 50, 50, 0, owner, nullptr));
    Pump();
    ASSERT_EQ(Of(WM_COMMAND).size(), 1u);
    EXPECT_EQ(LOWORD(Of(WM_COMMAND)[0].wParam), 41);

    headless::WhenTopLevelAppears(headless::kPopupMenuClass,
                                  [](HWND) { headless::KeyPress(VK_ESCAPE); });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), 0);
    headless::WhenTopLevelAppears(headless::kPopupMenuClass,
                                  [](HWND) { headless::KeyPress(VK_MENU); });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 50, 50, 0, owner, nullptr), 0);
    DestroyMenu(menu);
}

// A message box opened from a loop nested in the menu's (a notification
// the menu's loop dispatched) ends the menu at once: the menu no longer
// covers the box nor keeps the mouse, so a click answers the box. Found by
// the monkey, which clicked on such a menu for ever.
namespace nested_box {
int g_answer = 0;
bool g_clickFailed = false;
bool g_menuStayed = false;
HWND g_box = nullptr;
// The safety net: answers the box if the click did not, so that a fault
// fails the test instead of hanging it.
void CALLBACK Rescue(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (!g_box || !IsWindow(g_box)) return;
    g_clickFailed = true;
    PostMessageA(GetDlgItem(g_box, IDOK), BM_CLICK, 0, 0);
}
void CALLBACK OpenBox(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    headless::WhenTopLevelAppears(headless::kMessageBoxClass, [](HWND box) {
        g_box = box;
        SetTimer(nullptr, 0, 1000, &Rescue);
        RECT r{};
        GetWindowRect(GetDlgItem(box, IDOK), &r);
        headless::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    });
    g_answer = MessageBoxA(nullptr, "Command 3 failed", "Failure", MB_ICONERROR);
    // A menu still up here would wait for input for ever.
    if (EndMenu()) g_menuStayed = true;
}
}  // namespace nested_box

TEST_F(Menus, AMessageBoxOpenedUnderAnOpenMenuEndsItAndTakesTheMouse) {
    using namespace nested_box;
    HWND owner = Top(300, 300, 200, 200);
    SetActiveWindow(owner);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 41, "&First");
    AppendMenuA(menu, MF_STRING, 42, "&Second");
    Pump();
    headless::WhenTopLevelAppears(headless::kPopupMenuClass,
                                  [](HWND) { SetTimer(nullptr, 0, 1, &OpenBox); });
    // The menu's call returns once the box is answered: nothing was chosen.
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 400, 420, 0, owner, nullptr), 0);
    EXPECT_EQ(g_answer, IDOK);
    EXPECT_FALSE(g_clickFailed) << "the click on the box's OK went to the menu";
    EXPECT_FALSE(g_menuStayed) << "the menu was still open under the box";
    for (const auto& top : headless::TopLevelWindows())
        EXPECT_NE(top.className, headless::kPopupMenuClass) << "the menu outlived its call";
    DestroyMenu(menu);
}

TEST_F(Menus, DefaultProcessingOfSystemCommands) {
    HWND top = Top(0, 0, 100, 100);
    Pump();
    Forget();
    EXPECT_EQ(SendMessageA(top, WM_SYSCOMMAND, 0x1230, 0), 0);  // unknown: ignored
    EXPECT_EQ(SendMessageA(top, WM_SYSCOMMAND, SC_MOVE, 0), 0);
    EXPECT_TRUE(IsWindow(top));
    EXPECT_TRUE(Of(WM_CLOSE).empty());
    // Alt+F4 is Close too.
    SetActiveWindow(top);
    SetFocus(top);
    headless::KeyDown(VK_MENU);
    headless::KeyPress(VK_F4);
    headless::KeyUp(VK_MENU);
    Pump();
    ASSERT_FALSE(Of(WM_SYSKEYDOWN).empty());
    EXPECT_EQ(Of(WM_CLOSE).size(), 1u);
    EXPECT_FALSE(IsWindow(top));
}

}  // namespace
