#include "window_fixture.h"

test_support::MessageRecorder& WindowTest::recorder() {
    static test_support::MessageRecorder recorder;
    return recorder;
}

LRESULT CALLBACK WindowTest::Record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    recorder().Record(hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void WindowTest::SetUp() {
    static bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Record;
        wc.cbWndExtra = 16;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kPlain;
        RegisterClassA(&wc);
        wc.style = CS_DBLCLKS;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kDouble;
        RegisterClassA(&wc);
        return true;
    }();
    (void)registered;
    headless::RunUntilIdle();
    ReleaseCapture();
    headless::AdvanceClock(10000);  // no double click carries over
    Forget();
}

void WindowTest::TearDown() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
        if (IsWindow(*it)) DestroyWindow(*it);
    headless::RunUntilIdle();
    headless::MouseMove(1023, 767);
    headless::RunUntilIdle();
    headless::TakePresented();
}

HWND WindowTest::Top(int x, int y, int w, int h, DWORD style, const char* cls, const char* title) {
    HWND hwnd =
        CreateWindowExA(0, cls, title, style, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    created_.push_back(hwnd);
    return hwnd;
}

HWND WindowTest::Child(HWND parent, int id, int x, int y, int w, int h, DWORD style,
                       const char* cls) {
    HWND hwnd = CreateWindowExA(0, cls, "", style, x, y, w, h, parent,
                                reinterpret_cast<HMENU>(intptr_t(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    return hwnd;
}

std::vector<Seen> WindowTest::Of(UINT message) const { return recorder().Of(message); }

std::vector<HWND> WindowTest::WindowsThatGot(UINT message) const {
    return recorder().WindowsThatGot(message);
}
