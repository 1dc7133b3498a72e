// Mouse routing, capture, double clicks, mouse-leave tracking, focus, tab
// order, enabling and activation.
#include "window_fixture.h"

namespace {

using Input = WindowTest;

TEST_F(Input, ClicksGoToTheDeepestEnabledChildInClientCoordinates) {
    HWND top = Top(100, 100, 200, 200, WS_POPUP | WS_VISIBLE | WS_BORDER);
    HWND child = Child(top, 1, 10, 10, 50, 50);
    HWND inner = Child(child, 2, 5, 5, 10, 10);
    Pump();
    Forget();
    headless::Click(100 + 1 + 10 + 5 + 3, 100 + 1 + 10 + 5 + 4);
    Pump();
    auto downs = Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hwnd, inner);
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(3, 4));
    EXPECT_EQ(downs[0].wParam, WPARAM(MK_LBUTTON));
    auto ups = Of(WM_LBUTTONUP);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].wParam, WPARAM(0));
    EXPECT_EQ(WindowFromPoint({100 + 1 + 10 + 5 + 3, 100 + 1 + 10 + 5 + 4}), inner);
    EXPECT_EQ(WindowFromPoint({100 + 1 + 70, 100 + 1 + 70}), top);
    EXPECT_EQ(WindowFromPoint({5, 5}), nullptr);
    // A disabled child lets its parent take the click.
    EnableWindow(inner, FALSE);
    Forget();
    headless::Click(100 + 1 + 10 + 5 + 3, 100 + 1 + 10 + 5 + 4);
    Pump();
    ASSERT_EQ(Of(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Of(WM_LBUTTONDOWN)[0].hwnd, child);
    EXPECT_EQ(Of(WM_LBUTTONDOWN)[0].lParam, MAKELPARAM(8, 9));
}

TEST_F(Input, InputToADisabledTopLevelWindowIsDropped) {
    HWND top = Top(0, 0, 100, 100);
    HWND child = Child(top, 1, 0, 0, 50, 50);
    Pump();
    EnableWindow(top, FALSE);
    Forget();
    headless::Click(10, 10);
    headless::KeyPress('A');
    Pump();
    EXPECT_TRUE(Of(WM_LBUTTONDOWN).empty());
    EXPECT_TRUE(Of(WM_MOUSEMOVE).empty());
    EXPECT_TRUE(Of(WM_KEYDOWN).empty());
    (void)child;
    EnableWindow(top, TRUE);
}

TEST_F(Input, RightAndMiddleButtonsAndModifierFlags) {
    HWND top = Top(0, 0, 100, 100);
    Pump();
    Forget();
    // Below the top strip, where a right click would open the system menu.
    headless::KeyDown(VK_SHIFT);
    headless::MouseDown(10, 60, headless::Button::Right);
    headless::MouseUp(10, 60, headless::Button::Right);
    headless::KeyUp(VK_SHIFT);
    headless::MouseDown(10, 60, headless::Button::Middle);
    headless::MouseUp(10, 60, headless::Button::Middle);
    Pump();
    ASSERT_EQ(Of(WM_RBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Of(WM_RBUTTONDOWN)[0].wParam, WPARAM(MK_RBUTTON | MK_SHIFT));
    EXPECT_EQ(Of(WM_RBUTTONUP)[0].wParam, WPARAM(MK_SHIFT));
    ASSERT_EQ(Of(WM_MBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Of(WM_MBUTTONDOWN)[0].wParam, WPARAM(MK_MBUTTON));
    EXPECT_EQ(Of(WM_MBUTTONDOWN)[0].hwnd, top);
}

TEST_F(Input, CaptureTakesTheMouseOutsideTheWindow) {
    HWND top = Top(0, 0, 300, 300);
    HWND a = Child(top, 1, 0, 0, 50, 50);
    HWND b = Child(top, 2, 100, 100, 50, 50);
    Pump();
    headless::MouseDown(10, 10);
    Pump();
    EXPECT_EQ(SetCapture(a), nullptr);
    EXPECT_EQ(GetCapture(), a);
    Forget();
    headless::MouseMove(120, 130);  // over b
    Pump();
    ASSERT_EQ(Of(WM_MOUSEMOVE).size(), 1u);
    EXPECT_EQ(Of(WM_MOUSEMOVE)[0].hwnd, a);
    EXPECT_EQ(Of(WM_MOUSEMOVE)[0].lParam, MAKELPARAM(120, 130));
    headless::MouseUp(500, 500);  // off every window
    Pump();
    ASSERT_EQ(Of(WM_LBUTTONUP).size(), 1u);
    EXPECT_EQ(Of(WM_LBUTTONUP)[0].hwnd, a);
    Forget();
    SetCapture(b);  // a is told it lost the capture
    ASSERT_EQ(Of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(Of(WM_CAPTURECHANGED)[0].hwnd, a);
    EXPECT_EQ(Of(WM_CAPTURECHANGED)[0].lParam, reinterpret_cast<LPARAM>(b));
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    // Disabling the capturing window cancels its mode and frees the mouse.
    SetCapture(b);
    Forget();
    EnableWindow(b, FALSE);
    EXPECT_EQ(GetCapture(), nullptr);
    std::vector<UINT> toB;
    for (auto& s : seen())
        if (s.hwnd == b && (s.message == WM_CANCELMODE || s.message == WM_ENABLE))
            toB.push_back(s.message);
    EXPECT_EQ(toB, (std::vector<UINT>{WM_CANCELMODE, WM_ENABLE}));
    // A destroyed capturing window frees it too.
    SetCapture(a);
    DestroyWindow(a);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Input, DoubleClicksOnlyForClassesThatAskAndWithinTheTime) {
    HWND plain = Top(0, 0, 100, 100);
    HWND dbl = Top(200, 0, 100, 100, WS_POPUP | WS_VISIBLE, kDouble);
    Pump();
    Forget();
    headless::Click(10, 10);
    headless::Click(10, 10);
    Pump();
    EXPECT_EQ(Of(WM_LBUTTONDOWN).size(), 2u);
    EXPECT_TRUE(Of(WM_LBUTTONDBLCLK).empty());
    Forget();
    headless::Click(210, 10);
    headless::Click(211, 11);
    headless::Click(211, 11);  // a third press is a plain press again
    Pump();
    EXPECT_EQ(Of(WM_LBUTTONDOWN).size(), 2u);
    ASSERT_EQ(Of(WM_LBUTTONDBLCLK).size(), 1u);
    EXPECT_EQ(Of(WM_LBUTTONDBLCLK)[0].hwnd, dbl);
    headless::AdvanceClock(10000);
    Forget();
    headless::Click(210, 10);
    headless::AdvanceClock(GetDoubleClickTime() + 1);
    headless::Click(210, 10);
    headless::AdvanceClock(10000);
    headless::Click(210, 10);
    headless::Click(230, 30);  // too far from the first press
    Pump();
    EXPECT_TRUE(Of(WM_LBUTTONDBLCLK).empty());
    (void)plain;
}

TEST_F(Input, MouseLeaveIsPostedOnceWhenThePointerLeaves) {
    HWND top = Top(0, 0, 300, 300);
    HWND button = Child(top, 1, 10, 10, 50, 50);
    Pump();
    headless::MouseMove(20, 20);
    Pump();
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, button, 0};
    ASSERT_TRUE(_TrackMouseEvent(&tme));
    Forget();
    headless::MouseMove(30, 30);  // still inside
    Pump();
    EXPECT_TRUE(Of(WM_MOUSELEAVE).empty());
    headless::MouseMove(200, 200);
    headless::MouseMove(20, 20);
    headless::MouseMove(200, 200);
    Pump();
    ASSERT_EQ(Of(WM_MOUSELEAVE).size(), 1u);
    EXPECT_EQ(Of(WM_MOUSELEAVE)[0].hwnd, button);
    // Asking while the pointer is elsewhere reports the leave at once.
    Forget();
    ASSERT_TRUE(_TrackMouseEvent(&tme));
    Pump();
    EXPECT_EQ(Of(WM_MOUSELEAVE).size(), 1u);
    // The pointer leaving the program's windows ends tracking too.
    headless::MouseMove(20, 20);
    _TrackMouseEvent(&tme);
    Forget();
    headless::PointerLeave();
    Pump();
    EXPECT_EQ(Of(WM_MOUSELEAVE).size(), 1u);
    TRACKMOUSEEVENT bad{0, TME_LEAVE, button, 0};
    EXPECT_FALSE(_TrackMouseEvent(&bad));
    TRACKMOUSEEVENT stale{sizeof stale, TME_LEAVE, reinterpret_cast<HWND>(0x1234), 0};
    EXPECT_FALSE(_TrackMouseEvent(&stale));
}

TEST_F(Input, FocusMovesWithKillThenSetAndKeysFollowIt) {
    HWND top = Top(0, 0, 300, 300);
    HWND a = Child(top, 1, 0, 0, 10, 10);
    HWND b = Child(top, 2, 20, 0, 10, 10);
    Pump();
    SetFocus(a);
    Forget();
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(GetFocus(), b);
    ASSERT_EQ(seen().size(), 2u);
    EXPECT_EQ(seen()[0].hwnd, a);
    EXPECT_EQ(seen()[0].message, UINT(WM_KILLFOCUS));
    EXPECT_EQ(seen()[0].wParam, reinterpret_cast<WPARAM>(b));
    EXPECT_EQ(seen()[1].hwnd, b);
    EXPECT_EQ(seen()[1].message, UINT(WM_SETFOCUS));
    EXPECT_EQ(seen()[1].wParam, reinterpret_cast<WPARAM>(a));
    Forget();
    headless::KeyPress('Q');
    Pump();
    ASSERT_EQ(Of(WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(Of(WM_KEYDOWN)[0].hwnd, b);
    EXPECT_EQ(Of(WM_KEYDOWN)[0].wParam, WPARAM('Q'));
    ASSERT_EQ(Of(WM_CHAR).size(), 1u);  // translated by the loop
    EXPECT_EQ(Of(WM_CHAR)[0].wParam, WPARAM('q'));
    EXPECT_EQ(Of(WM_KEYUP).size(), 1u);
    // Hiding or disabling the focused window moves the focus to its parent.
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
    SetFocus(a);
    EnableWindow(a, FALSE);
    EXPECT_EQ(GetFocus(), top);
    SetFocus(nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Input, KeyStateFollowsInjectedKeys) {
    headless::KeyDown(VK_SHIFT);
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    headless::KeyUp(VK_SHIFT);
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_EQ(GetKeyState(-5), 0);
    EXPECT_EQ(GetKeyState(100000), 0);
    Pump();
}

TEST_F(Input, TabOrderFollowsCreationAndSkipsWhatCannotTakeFocus) {
    HWND dlg = Top(0, 0, 300, 300);
    const DWORD stop = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    HWND a = Child(dlg, 1, 0, 0, 10, 10, stop);
    HWND notStop = Child(dlg, 2, 0, 20, 10, 10);
    HWND b = Child(dlg, 3, 0, 40, 10, 10, stop);
    HWND disabled = Child(dlg, 4, 0, 60, 10, 10, stop | WS_DISABLED);
    HWND hidden = Child(dlg, 5, 0, 80, 10, 10, WS_CHILD | WS_TABSTOP);
    HWND c = Child(dlg, 6, 0, 100, 10, 10, stop);
    EXPECT_EQ(GetNextDlgTabItem(dlg, nullptr, FALSE), a);
    EXPECT_EQ(GetNextDlgTabItem(dlg, a, FALSE), b);
    EXPECT_EQ(GetNextDlgTabItem(dlg, b, FALSE), c);
    EXPECT_EQ(GetNextDlgTabItem(dlg, c, FALSE), a);  // wraps
    EXPECT_EQ(GetNextDlgTabItem(dlg, a, TRUE), c);
    EXPECT_EQ(GetNextDlgTabItem(dlg, notStop, FALSE), b);
    EXPECT_EQ(GetNextDlgTabItem(dlg, disabled, TRUE), b);
    EXPECT_EQ(GetNextDlgTabItem(reinterpret_cast<HWND>(0x77), a, FALSE), nullptr);
    (void)hidden;
}

TEST_F(Input, ActivationPassesBetweenTopLevelWindows) {
    HWND first = Top(0, 0, 100, 100);
    Pump();
    EXPECT_EQ(GetActiveWindow(), first);
    Forget();
    HWND second = Top(200, 0, 100, 100);
    EXPECT_EQ(GetActiveWindow(), second);
    auto activations = Of(WM_ACTIVATE);
    ASSERT_EQ(activations.size(), 2u);
    EXPECT_EQ(activations[0].hwnd, first);
    EXPECT_EQ(LOWORD(activations[0].wParam), WA_INACTIVE);
    EXPECT_EQ(activations[1].hwnd, second);
    EXPECT_EQ(LOWORD(activations[1].wParam), WA_ACTIVE);
    EXPECT_EQ(GetFocus(), second);  // the default activation handling
    Forget();
    headless::Click(10, 10);  // clicking the other one activates it
    Pump();
    EXPECT_EQ(GetActiveWindow(), first);
    ASSERT_FALSE(Of(WM_ACTIVATE).empty());
    EXPECT_EQ(LOWORD(Of(WM_ACTIVATE).back().wParam), WA_CLICKACTIVE);
    // Destroying the active window hands activation on.
    DestroyWindow(first);
    EXPECT_EQ(GetActiveWindow(), second);
}

TEST_F(Input, TheClassCursorIsSetOverTheWindow) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hCursor = LoadCursorA(nullptr, IDC_CROSS);
    wc.lpszClassName = "TestCrossCursor";
    RegisterClassA(&wc);
    ASSERT_NE(wc.hCursor, nullptr);
    HWND top = Top(0, 0, 100, 100);
    HWND cross = Child(top, 1, 0, 0, 50, 50, WS_CHILD | WS_VISIBLE, "TestCrossCursor");
    Pump();
    headless::MouseMove(10, 10);
    Pump();
    EXPECT_EQ(headless::CurrentCursor(), wc.hCursor);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(12345)), nullptr);
    (void)cross;
}

}  // namespace

namespace {

TEST_F(Input, WheelGoesUnderThePointerWithScreenCoordinatesAndBubblesToTheParent) {
    HWND top = Top(100, 100, 200, 200);
    HWND child = Child(top, 1, 10, 10, 50, 50);
    Pump();
    Forget();
    headless::Wheel(100 + 20, 100 + 30, -WHEEL_DELTA);
    Pump();
    auto turns = Of(WM_MOUSEWHEEL);
    // The child leaves it to the default procedure, which hands it up.
    ASSERT_EQ(turns.size(), 2u);
    EXPECT_EQ(turns[0].hwnd, child);
    EXPECT_EQ(turns[1].hwnd, top);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(turns[0].wParam), -WHEEL_DELTA);
    EXPECT_EQ(turns[0].lParam, MAKELPARAM(120, 130));
    EXPECT_EQ(turns[1].wParam, turns[0].wParam);
    // Away from every window, or over a disabled one, nothing arrives.
    Forget();
    headless::Wheel(900, 700, WHEEL_DELTA);
    EnableWindow(top, FALSE);
    headless::Wheel(100 + 20, 100 + 30, WHEEL_DELTA);
    Pump();
    EXPECT_TRUE(Of(WM_MOUSEWHEEL).empty());
}

}  // namespace
