#include <string>

#include "ctl_helpers.h"

using Ints = std::vector<int>;

namespace {

LRESULT Add(HWND list, const char* text) {
    return SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

std::string TextOf(HWND list, int index) {
    LRESULT n = SendMessageA(list, LB_GETTEXTLEN, WPARAM(index), 0);
    if (n < 0) return "<err>";
    std::string s(size_t(n) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(size_t(n));
    return s;
}

}  // namespace

class ListBoxTest : public ControlTest {};

TEST_F(ListBoxTest, ItemsAndSelectionErrors) {
    HWND list = Control("LISTBOX", "", WS_BORDER, 20, 10, 10, 150, 100);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(Add(list, "beta"), 0);
    EXPECT_EQ(Add(list, "alpha"), 1);  // unsorted: appended
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("first")), 0);
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>("last")), 3);
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("x")), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(TextOf(list, 1), "beta");
    EXPECT_EQ(TextOf(list, 4), "<err>");
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 4, reinterpret_cast<LPARAM>("")), LB_ERR);

    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 7, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);

    // Deleting before the selection keeps the same item selected.
    SendMessageA(list, LB_SETCURSEL, 3, 0);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 2, 0), 2);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 5, 0), LB_ERR);

    EXPECT_EQ(SendMessageA(list, LB_SETITEMDATA, 1, 1234), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 1, 0), 1234);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 9, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("ALPHA")),
              1);
    EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("alp")),
              LB_ERR);

    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(notifications.empty());  // program changes are not notified
}

TEST_F(ListBoxTest, SortedInsertion) {
    HWND list = Control("LISTBOX", "", LBS_SORT, 21, 10, 10, 150, 100);
    Add(list, "pear");
    Add(list, "Apple");
    EXPECT_EQ(Add(list, "banana"), 1);
    EXPECT_EQ(TextOf(list, 0), "Apple");
    EXPECT_EQ(TextOf(list, 2), "pear");
}

TEST_F(ListBoxTest, MouseAndKeyboardNotifyWithLbsNotify) {
    HWND list = Control("LISTBOX", "", LBS_NOTIFY, 22, 10, 10, 150, 100);
    HWND quiet = Control("LISTBOX", "", 0, 23, 200, 10, 150, 100);
    for (HWND l : {list, quiet})
        for (const char* s : {"one", "two", "three", "four"}) Add(l, s);
    int h = int(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(h, 0);

    ClickAt(list, 20, h + h / 2);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(GetFocus(), list);
    ClickAt(quiet, 20, 2 * h + 1);
    EXPECT_EQ(SendMessageA(quiet, LB_GETCURSEL, 0, 0), 2);
    EXPECT_TRUE(Codes(23).empty());

    // The selected item is drawn in the highlight colour.
    Pump();
    EXPECT_EQ(headless::PixelAt(quiet, 140, 2 * h + 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(headless::PixelAt(quiet, 140, 1), GetSysColor(COLOR_WINDOW));

    notifications.clear();
    SetFocus(list);
    notifications.clear();
    headless::KeyPress(VK_DOWN);
    Pump();
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    headless::KeyPress(VK_END);
    Pump();
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 3);
    headless::KeyPress(VK_END);  // no change, no notification
    headless::KeyPress(VK_HOME);
    Pump();
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Codes(22), (Ints{LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}));

    // A double click selects and reports LBN_DBLCLK.
    notifications.clear();
    headless::AdvanceClock(5000);
    ClickAt(list, 20, 3 * h + 1);
    ClickAt(list, 20, 3 * h + 1);
    EXPECT_EQ(Codes(22), (Ints{LBN_SELCHANGE, LBN_DBLCLK}));
}

TEST_F(ListBoxTest, ScrollBarWheelAndTopIndex) {
    HWND list = Control("LISTBOX", "", WS_VSCROLL | LBS_NOTIFY, 24, 10, 10, 150, 80);
    for (int i = 0; i < 30; ++i) Add(list, ("item " + std::to_string(i)).c_str());
    int h = int(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    int visible = 80 / h;
    int maxTop = 30 - visible;
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);

    int bar = GetSystemMetrics(SM_CXVSCROLL);
    // The down arrow, then the track below the thumb.
    ClickAt(list, 150 - bar / 2, 80 - 3);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 1);
    ClickAt(list, 150 - bar / 2, 80 - bar - 3);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 1 + visible - 1);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);  // scrolling selects nothing
    ClickAt(list, 150 - bar / 2, 2);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), visible - 1);

    POINT p = Screen(list, 20, 20);
    headless::MouseMove(p.x, p.y);
    Pump();
    SendMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), visible - 1 + 3);
    SendMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, 10 * WHEEL_DELTA), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);

    EXPECT_EQ(SendMessageA(list, LB_SETTOPINDEX, 29, 0), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), maxTop);
    EXPECT_EQ(SendMessageA(list, LB_SETTOPINDEX, 30, 0), LB_ERR);

    // Selecting by the keyboard scrolls the selection into view.
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    SetFocus(list);
    headless::KeyPress(VK_END);
    Pump();
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), maxTop);
}
