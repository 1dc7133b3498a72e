#include "ctl_helpers.h"

std::vector<Notification> ControlTest::notifications;
std::vector<UINT> ControlTest::drawStates;

LRESULT CALLBACK ControlTest::ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && lParam) notifications.push_back({LOWORD(wParam), HIWORD(wParam)});
    if (message == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        drawStates.push_back(dis->itemState);
        // Selected owner-drawn buttons are red, others green.
        HBRUSH brush =
            CreateSolidBrush((dis->itemState & ODS_SELECTED) ? RGB(255, 0, 0) : RGB(0, 255, 0));
        FillRect(dis->hDC, &dis->rcItem, brush);
        DeleteObject(brush);
        return TRUE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void ControlTest::SetUp() {
    static bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = "CtlTestParent";
        return RegisterClassA(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    parent = CreateWindowExA(0, "CtlTestParent", "parent", WS_POPUP | WS_VISIBLE, kLeft, kTop, 400,
                             300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    headless::AdvanceClock(10000);
    Pump();
    notifications.clear();
    drawStates.clear();
}

void ControlTest::TearDown() {
    headless::SetIdleHandler(nullptr);
    if (IsWindow(parent)) DestroyWindow(parent);
    Pump();
    headless::MouseMove(1023, 767);
    Pump();
    headless::AdvanceClock(10000);
}

HWND ControlTest::Control(const char* cls, const char* text, DWORD style, int id, int x, int y,
                          int w, int h) {
    HWND hwnd = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                reinterpret_cast<HMENU>(intptr_t(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr) << cls;
    Pump();
    notifications.clear();
    return hwnd;
}

POINT ControlTest::Screen(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

void ControlTest::ClickAt(HWND hwnd, int x, int y) {
    POINT p = Screen(hwnd, x, y);
    headless::Click(p.x, p.y);
    Pump();
}

std::vector<int> ControlTest::Codes(int id) const {
    std::vector<int> out;
    for (auto& n : notifications)
        if (n.id == id) out.push_back(n.code);
    return out;
}
