#include <string>

#include "ctl_helpers.h"

namespace {

std::string TextOf(HWND hwnd) {
    char buffer[256] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

// Columns of `hwnd` holding a pixel other than `background`.
std::pair<int, int> InkColumns(HWND hwnd, COLORREF background) {
    headless::Image image;
    headless::ReadPixels(hwnd, &image);
    int first = -1, last = -1;
    for (int x = 0; x < image.width; ++x)
        for (int y = 0; y < image.height; ++y)
            if (image.At(x, y) != background) {
                if (first < 0) first = x;
                last = x;
            }
    return {first, last};
}

HBRUSH yellow = nullptr;

LRESULT CALLBACK YellowStatics(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC) {
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
        return reinterpret_cast<LRESULT>(yellow);
    }
    return ControlTest::ParentProc(hwnd, message, wParam, lParam);
}

}  // namespace

class StaticEditTest : public ControlTest {};

TEST_F(StaticEditTest, StaticAlignmentAndParentColours) {
    HWND left = Control("STATIC", "Hello", SS_LEFT, 40, 10, 10, 200, 20);
    HWND right = Control("STATIC", "Hello", SS_RIGHT, 41, 10, 40, 200, 20);
    HWND centre = Control("STATIC", "Hello", SS_CENTER, 42, 10, 70, 200, 20);
    Pump();
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    auto l = InkColumns(left, face), r = InkColumns(right, face), c = InkColumns(centre, face);
    ASSERT_GE(l.first, 0);
    EXPECT_LT(l.first, 5);
    EXPECT_GT(r.second, 190);
    EXPECT_NEAR((c.first + c.second) / 2, 100, 4);

    // The parent's WM_CTLCOLORSTATIC brush fills the control.
    yellow = CreateSolidBrush(RGB(255, 255, 0));
    SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(YellowStatics));
    InvalidateRect(left, nullptr, TRUE);
    Pump();
    EXPECT_EQ(headless::PixelAt(left, 199, 19), RGB(255, 255, 0));
    SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ParentProc));
    DeleteObject(yellow);
}

TEST_F(StaticEditTest, EditTypingAndCaretKeys) {
    HWND edit = Control("EDIT", "", WS_BORDER, 43, 10, 10, 200, 22);
    SetFocus(edit);
    for (char ch : std::string("cat")) headless::TypeChar(static_cast<unsigned char>(ch));
    headless::KeyPress(VK_HOME);
    headless::TypeChar('a');
    headless::KeyPress(VK_END);
    headless::KeyPress(VK_LEFT);
    headless::KeyPress(VK_DELETE);  // removes the 't'
    headless::TypeChar(VK_BACK);    // removes the 'a' of "cat"
    headless::TypeChar('u');
    headless::TypeChar(0x01);  // control characters are not text
    Pump();
    EXPECT_EQ(TextOf(edit), "acu");
    int changes = 0;
    for (int code : Codes(43)) changes += code == EN_CHANGE;
    EXPECT_EQ(changes, 7);

    // Backspace at the start and Delete at the end change nothing.
    SetWindowTextA(edit, "x");
    headless::KeyPress(VK_DELETE);
    headless::KeyPress(VK_HOME);
    headless::TypeChar(VK_BACK);
    Pump();
    EXPECT_EQ(TextOf(edit), "x");
    SendMessageA(edit, EM_LIMITTEXT, 2, 0);
    headless::TypeChar('y');
    headless::TypeChar('z');
    Pump();
    EXPECT_EQ(TextOf(edit), "yx");
}

TEST_F(StaticEditTest, ToolTipsAcceptToolsAndStayHidden) {
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                               parent, nullptr, nullptr, nullptr);
    ASSERT_NE(tip, nullptr);
    TOOLINFOA info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = parent;
    info.uId = 7;
    EXPECT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    MSG relay{parent, WM_MOUSEMOVE, 0, 0, 0, {}};
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
    SendMessageA(tip, TTM_ACTIVATE, TRUE, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(tip));
    DestroyWindow(tip);
}
