#include <functional>
#include <string>

#include "ctl_helpers.h"

using Ints = std::vector<int>;

namespace {

LRESULT Add(HWND combo, const char* text) {
    return SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

std::string TextOf(HWND combo, int index) {
    LRESULT n = SendMessageA(combo, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (n < 0) return "<err>";
    std::string s(size_t(n) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(size_t(n));
    return s;
}

bool ListIsUp() {
    for (auto& t : headless::TopLevelWindows())
        if (t.className == "ComboLBox" && t.visible) return true;
    return false;
}

}  // namespace

class ComboBoxTest : public ControlTest {
protected:
    HWND MakeCombo(int id) {
        HWND c = Control("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, id, 20, 20, 160, 200);
        for (const char* s : {"red", "green", "blue", "yellow"}) Add(c, s);
        return c;
    }
    // Runs `step` each time the open list's loop waits, then closes the list
    // if the step left it open for too long, so a failing test cannot hang.
    void WhileOpen(HWND combo, std::function<void(int call)> step) {
        int calls = 0;
        headless::SetIdleHandler([=]() mutable {
            if (!SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) return false;
            if (calls > 5) {
                SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
                return true;
            }
            step(calls++);
            return true;
        });
    }
    // Screen point over item `index` of the open list.
    POINT ItemPoint(HWND combo, int index) {
        RECT r;
        GetWindowRect(combo, &r);
        int h = int(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
        return POINT{r.left + 10, r.bottom + 1 + index * h + h / 2};
    }
};

TEST_F(ComboBoxTest, ItemsAndOutOfRangeSelection) {
    HWND c = MakeCombo(30);
    EXPECT_EQ(SendMessageA(c, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(c, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessageA(c, CB_SETCURSEL, 4, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), CB_ERR);  // cleared, not kept
    EXPECT_EQ(TextOf(c, 3), "yellow");
    EXPECT_EQ(TextOf(c, 4), "<err>");
    EXPECT_EQ(SendMessageA(c, CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("pink")), 1);
    EXPECT_EQ(SendMessageA(c, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("BLUE")), 3);
    EXPECT_EQ(SendMessageA(c, CB_SETITEMDATA, 3, 77), CB_OKAY);
    EXPECT_EQ(SendMessageA(c, CB_GETITEMDATA, 3, 0), 77);
    SendMessageA(c, CB_SETCURSEL, 3, 0);
    EXPECT_EQ(SendMessageA(c, CB_DELETESTRING, 0, 0), 4);
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(TextOf(c, 2), "blue");
    SendMessageA(c, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(c, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_TRUE(notifications.empty());

    // The created height is that of the open control; the field is one line.
    RECT r;
    GetWindowRect(c, &r);
    EXPECT_LT(r.bottom - r.top, 40);
    EXPECT_GT(r.bottom - r.top, int(SendMessageA(c, CB_GETITEMHEIGHT, 0, 0)));
}

TEST_F(ComboBoxTest, ChoosingWithTheMouse) {
    HWND c = MakeCombo(31);
    bool sawList = false;
    WhileOpen(c, [&](int call) {
        if (call == 0) {
            sawList = ListIsUp();
            POINT p = ItemPoint(c, 2);
            headless::Click(p.x, p.y);
        }
    });
    ClickAt(c, 20, 10);
    EXPECT_TRUE(sawList);
    EXPECT_FALSE(ListIsUp());
    EXPECT_EQ(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Codes(31), (Ints{CBN_SETFOCUS, CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELCHANGE}));

    // A press outside the list dismisses it and keeps the selection.
    notifications.clear();
    WhileOpen(c, [&](int call) {
        if (call == 0) headless::Click(700, 600);
    });
    ClickAt(c, 20, 10);
    EXPECT_FALSE(ListIsUp());
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Codes(31), (Ints{CBN_DROPDOWN, CBN_CLOSEUP}));
}

TEST_F(ComboBoxTest, KeyboardOpenAndClosed) {
    HWND c = MakeCombo(32);
    SetFocus(c);
    notifications.clear();
    headless::KeyPress(VK_DOWN);
    Pump();
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 0);
    headless::KeyPress(VK_END);
    Pump();
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 3);
    headless::KeyPress(VK_DOWN);  // already last: nothing
    headless::KeyPress(VK_HOME);
    Pump();
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Codes(32), (Ints{CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE}));

    // F4 opens; Down moves in the list; Enter takes it.
    notifications.clear();
    WhileOpen(c, [](int call) {
        if (call == 0) {
            headless::KeyPress(VK_DOWN);
            headless::KeyPress(VK_RETURN);
        }
    });
    headless::KeyPress(VK_F4);
    Pump();
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Codes(32), (Ints{CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELCHANGE}));

    // Escape drops the move.
    notifications.clear();
    WhileOpen(c, [](int call) {
        if (call == 0) {
            headless::KeyPress(VK_DOWN);
            headless::KeyPress(VK_ESCAPE);
        }
    });
    SendMessageA(c, WM_SYSKEYDOWN, VK_DOWN, 0);  // Alt+Down
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Codes(32), (Ints{CBN_DROPDOWN, CBN_CLOSEUP}));
}

TEST_F(ComboBoxTest, WheelMovesTheSelection) {
    HWND c = MakeCombo(33);
    SendMessageA(c, CB_SETCURSEL, 1, 0);
    SendMessageA(c, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 2);
    SendMessageA(c, WM_MOUSEWHEEL, MAKEWPARAM(0, 5 * WHEEL_DELTA), 0);
    EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Codes(33), (Ints{CBN_SELCHANGE, CBN_SELCHANGE}));
}
