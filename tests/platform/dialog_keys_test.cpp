// The dialog keyboard: Tab order, Enter and Escape, and controls that take
// keys for themselves.
#include "window_fixture.h"

namespace {

LRESULT g_defId = 0;

LRESULT CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == DM_GETDEFID) return g_defId;
    return WindowTest::Record(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    return WindowTest::Record(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK GreedyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) return DLGC_WANTALLKEYS | DLGC_WANTTAB;
    return WindowTest::Record(hwnd, message, wParam, lParam);
}

class DialogKeys : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        static bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DialogProc;
            wc.lpszClassName = "TestDialog";
            RegisterClassA(&wc);
            wc.lpfnWndProc = ButtonProc;
            wc.lpszClassName = "TestButton";
            RegisterClassA(&wc);
            wc.lpfnWndProc = GreedyProc;
            wc.lpszClassName = "TestGreedy";
            return RegisterClassA(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        g_defId = 0;
        const DWORD stop = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        dlg = Top(0, 0, 300, 200, WS_POPUP | WS_VISIBLE, "TestDialog", "dialog");
        first = Child(dlg, 10, 0, 0, 50, 20, stop);
        ok = Child(dlg, IDOK, 0, 30, 50, 20, stop, "TestButton");
        cancel = Child(dlg, IDCANCEL, 0, 60, 50, 20, stop, "TestButton");
        greedy = Child(dlg, 20, 0, 90, 50, 20, stop, "TestGreedy");
        SetFocus(first);
        RunDialogLoop();
        Forget();
    }

    void RunDialogLoop() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(dlg, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }

    void Press(UINT key) {
        headless::KeyPress(key);
        RunDialogLoop();
    }

    std::vector<WPARAM> Commands() const {
        std::vector<WPARAM> out;
        for (auto& s : Of(WM_COMMAND))
            if (s.hwnd == dlg) out.push_back(s.wParam);
        return out;
    }

    HWND dlg{}, first{}, ok{}, cancel{}, greedy{};
};

TEST_F(DialogKeys, TabAndShiftTabWalkTheTabStops) {
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), ok);
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), cancel);
    headless::KeyDown(VK_SHIFT);
    Press(VK_TAB);
    headless::KeyUp(VK_SHIFT);
    EXPECT_EQ(GetFocus(), ok);
    EXPECT_TRUE(Of(WM_CHAR).empty());  // the tab character is eaten
}

TEST_F(DialogKeys, EnterRunsTheFocusedButtonTheDefaultIdOrIdok) {
    Press(VK_RETURN);  // focus on a plain control, no default id: IDOK
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(IDOK, BN_CLICKED)}));
    Forget();
    g_defId = MAKELONG(IDCANCEL, DC_HASDEFID);
    Press(VK_RETURN);
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(IDCANCEL, BN_CLICKED)}));
    Forget();
    g_defId = 0;
    SetFocus(cancel);  // a focused push button is what Enter presses
    Press(VK_RETURN);
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(IDCANCEL, BN_CLICKED)}));
    ASSERT_EQ(Of(WM_COMMAND).size(), 1u);
    EXPECT_EQ(Of(WM_COMMAND)[0].lParam, reinterpret_cast<LPARAM>(cancel));
}

TEST_F(DialogKeys, EscapeRunsIdcancelUnlessItIsDisabled) {
    Press(VK_ESCAPE);
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(IDCANCEL, BN_CLICKED)}));
    Forget();
    EnableWindow(cancel, FALSE);
    Press(VK_ESCAPE);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(DialogKeys, AControlThatWantsKeysGetsThem) {
    SetFocus(greedy);
    Forget();
    Press(VK_TAB);
    Press(VK_RETURN);
    EXPECT_EQ(GetFocus(), greedy);
    EXPECT_TRUE(Commands().empty());
    std::vector<WPARAM> keys;
    for (auto& s : Of(WM_KEYDOWN))
        if (s.hwnd == greedy) keys.push_back(s.wParam);
    EXPECT_EQ(keys, (std::vector<WPARAM>{VK_TAB, VK_RETURN}));
}

TEST_F(DialogKeys, MessagesForOtherWindowsAreNotTheDialogs) {
    HWND other = Top(400, 0, 50, 50);
    MSG msg{other, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_FALSE(IsDialogMessageA(dlg, &msg));
    EXPECT_FALSE(IsDialogMessageA(reinterpret_cast<HWND>(0x4321), &msg));
    EXPECT_FALSE(IsDialogMessageA(dlg, nullptr));
    EXPECT_TRUE(Commands().empty());
}

}  // namespace
