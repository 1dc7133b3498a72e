// Input as a backend with native windows delivers it: a point a native
// window received belongs to that window even where the core's z-order
// puts another window above it (a window manager may have placed the native
// windows differently), and activation by a click reaches the backend.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "backends/headless/headless.h"
#include "core/input.h"

namespace {

std::vector<HWND> gPressed;

LRESULT CALLBACK Recording(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) gPressed.push_back(hwnd);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class NativeInput : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Recording;
        wc.lpszClassName = "NativeInputRecording";
        RegisterClassA(&wc);
        below = Make(0);
        above = Make(50);  // shown last: on top where they overlap
        headless::RunUntilIdle();
        gPressed.clear();
    }
    void TearDown() override {
        DestroyWindow(above);
        DestroyWindow(below);
        headless::RunUntilIdle();
    }
    static HWND Make(int x) {
        return CreateWindowExA(0, "NativeInputRecording", "", WS_POPUP | WS_VISIBLE, x, 0, 100, 100,
                               nullptr, nullptr, nullptr, nullptr);
    }
    void Press(POINT at, HWND within) {
        win::core::InjectMouseButton(at, win::core::MouseButton::Left, true, headless::Now(),
                                     within);
        win::core::InjectMouseButton(at, win::core::MouseButton::Left, false, headless::Now(),
                                     within);
        headless::AdvanceClock(1000);
        headless::RunUntilIdle();
    }
    HWND below = nullptr;
    HWND above = nullptr;
};

TEST_F(NativeInput, APointIsLookedUpInTheNativeWindowThatReceivedIt) {
    Press({70, 10}, nullptr);  // the overlap, by the core's z-order
    Press({70, 10}, below);    // the same point, as the lower window's native window saw it
    EXPECT_EQ(gPressed, (std::vector<HWND>{above, below}));
}

TEST_F(NativeInput, APointOutsideTheReceivingWindowReachesNothing) {
    Press({130, 10}, below);  // only the upper window is there
    EXPECT_TRUE(gPressed.empty());
}

TEST_F(NativeInput, AClickActivationIsReportedToTheBackend) {
    SetActiveWindow(above);
    const int before = headless::NativeActivations();
    Press({10, 10}, below);
    EXPECT_EQ(GetActiveWindow(), below);
    EXPECT_EQ(headless::NativeFocus(), below);
    EXPECT_GT(headless::NativeActivations(), before);
    // A press on the window that is active already hands it the keyboard
    // again: a click repairs a native focus the window system lost.
    const int again = headless::NativeActivations();
    Press({10, 10}, below);
    EXPECT_EQ(headless::NativeActivations(), again + 1);
}

}  // namespace
