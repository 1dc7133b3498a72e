// Update regions, WM_ERASEBKGND/WM_PAINT order, retrieval order and the
// pixels the window core itself draws (class-brush erasing and borders).
#include "window_fixture.h"

namespace {

using Paint = WindowTest;

std::vector<UINT> PaintMessages(const std::vector<Seen>& seen, HWND hwnd) {
    std::vector<UINT> out;
    for (auto& s : seen)
        if (s.hwnd == hwnd && (s.message == WM_PAINT || s.message == WM_ERASEBKGND))
            out.push_back(s.message);
    return out;
}

TEST_F(Paint, InvalidateThenEraseThenPaintOnce) {
    HWND top = Top(0, 0, 100, 100);
    Pump();
    Forget();
    InvalidateRect(top, nullptr, TRUE);
    InvalidateRect(top, nullptr, TRUE);  // merges
    Pump();
    EXPECT_EQ(PaintMessages(seen(), top), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    // WM_ERASEBKGND comes from inside BeginPaint, during WM_PAINT.
    Forget();
    InvalidateRect(top, nullptr, FALSE);
    Pump();
    EXPECT_EQ(PaintMessages(seen(), top), (std::vector<UINT>{WM_PAINT}));
    Forget();
    Pump();
    EXPECT_TRUE(PaintMessages(seen(), top).empty());
}

TEST_F(Paint, UpdateRectIsTheUnionAndBeginPaintValidates) {
    HWND top = Top(0, 0, 100, 100);
    Pump();
    RECT a{10, 10, 20, 20}, b{50, 40, 60, 45};
    InvalidateRect(top, &a, FALSE);
    InvalidateRect(top, &b, FALSE);
    RECT u;
    EXPECT_TRUE(GetUpdateRect(top, &u, FALSE));
    EXPECT_EQ(u.left, 10);
    EXPECT_EQ(u.top, 10);
    EXPECT_EQ(u.right, 60);
    EXPECT_EQ(u.bottom, 45);
    PAINTSTRUCT ps;
    ASSERT_NE(BeginPaint(top, &ps), nullptr);
    EXPECT_EQ(ps.rcPaint.left, 10);
    EXPECT_EQ(ps.rcPaint.bottom, 45);
    EXPECT_FALSE(GetUpdateRect(top, &u, FALSE));
    EXPECT_TRUE(EndPaint(top, &ps));
    // A rectangle beyond the client area is cut to it.
    RECT outside{90, 90, 500, 500};
    InvalidateRect(top, &outside, FALSE);
    GetUpdateRect(top, &u, FALSE);
    EXPECT_EQ(u.right, 100);
    EXPECT_EQ(u.bottom, 100);
    ValidateRect(top, nullptr);
    EXPECT_FALSE(GetUpdateRect(top, &u, FALSE));
}

TEST_F(Paint, ParentsPaintBeforeTheChildrenTheyOverlap) {
    HWND top = Top(0, 0, 200, 200);
    HWND left = Child(top, 1, 0, 0, 50, 50);
    HWND right = Child(top, 2, 150, 150, 50, 50);
    Pump();
    Forget();
    RECT area{0, 0, 60, 60};  // covers `left` only
    InvalidateRect(top, &area, TRUE);
    Pump();
    EXPECT_EQ(WindowsThatGot(WM_PAINT), (std::vector<HWND>{top, left}));
    EXPECT_TRUE(PaintMessages(seen(), right).empty());
    // The child repaints its overlapped part only, erased as the parent was.
    auto erases = WindowsThatGot(WM_ERASEBKGND);
    EXPECT_EQ(erases, (std::vector<HWND>{top, left}));
}

TEST_F(Paint, ClipChildrenKeepsChildrenOutOfTheParentsRepaint) {
    HWND top = Top(0, 0, 200, 200, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND child = Child(top, 1, 0, 0, 50, 50);
    Pump();
    Forget();
    InvalidateRect(top, nullptr, TRUE);
    Pump();
    EXPECT_EQ(WindowsThatGot(WM_PAINT), (std::vector<HWND>{top}));
    Forget();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(WindowsThatGot(WM_PAINT), (std::vector<HWND>{top, child}));
}

TEST_F(Paint, UpdateWindowPaintsAtOnceWithoutTheLoop) {
    HWND top = Top(0, 0, 100, 100);
    HWND child = Child(top, 1, 10, 10, 20, 20);
    Pump();
    Forget();
    InvalidateRect(top, nullptr, FALSE);
    UpdateWindow(top);
    EXPECT_EQ(WindowsThatGot(WM_PAINT), (std::vector<HWND>{top, child}));
    Forget();
    UpdateWindow(top);  // nothing left to paint
    EXPECT_TRUE(WindowsThatGot(WM_PAINT).empty());
}

TEST_F(Paint, HiddenWindowsDoNotPaintAndShowingInvalidates) {
    HWND top = Top(0, 0, 100, 100, WS_POPUP);
    InvalidateRect(top, nullptr, TRUE);
    Pump();
    EXPECT_TRUE(WindowsThatGot(WM_PAINT).empty());
    ShowWindow(top, SW_SHOW);
    Pump();
    EXPECT_EQ(WindowsThatGot(WM_PAINT), (std::vector<HWND>{top}));
    HWND child = Child(top, 1, 0, 0, 10, 10);
    Pump();
    Forget();
    ShowWindow(child, SW_HIDE);  // its parent shows through again
    Pump();
    EXPECT_EQ(WindowsThatGot(WM_PAINT), (std::vector<HWND>{top}));
}

TEST_F(Paint, RetrievalOrderIsPostedThenInputThenPaintThenTimer) {
    HWND top = Top(0, 0, 100, 100);
    Pump();
    SetTimer(top, 9, 10, nullptr);
    Sleep(20);
    InvalidateRect(top, nullptr, FALSE);
    headless::MouseMove(5, 5);
    PostMessageA(top, WM_USER, 0, 0);
    MSG msg;
    std::vector<UINT> order;
    while (order.size() < 4 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        DispatchMessageA(&msg);
    }
    KillTimer(top, 9);
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}));
}

TEST_F(Paint, PaintMessagesHonourTheFilters) {
    HWND top = Top(0, 0, 100, 100);
    HWND other = Top(200, 0, 50, 50);
    Pump();
    InvalidateRect(top, nullptr, FALSE);
    InvalidateRect(other, nullptr, FALSE);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, other, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, other);
    EXPECT_EQ(msg.message, UINT(WM_PAINT));
    // WM_PAINT is not removed by peeking: it stays until painted.
    ASSERT_TRUE(PeekMessageA(&msg, other, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, other);
    Pump();
}

TEST_F(Paint, WindowTimersArriveForTheirWindowAndStopWhenKilled) {
    HWND top = Top(0, 0, 10, 10);
    Pump();
    EXPECT_EQ(SetTimer(top, 7, 10, nullptr), 7u);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(msg.hwnd, top);
    EXPECT_EQ(msg.wParam, WPARAM(7));
    EXPECT_TRUE(KillTimer(top, 7));
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT), DWORD(WAIT_TIMEOUT));
}

TEST_F(Paint, DefaultErasingFillsWithTheClassBrushColour) {
    HWND top = Top(0, 0, 40, 30, WS_POPUP | WS_VISIBLE, kDouble);               // COLOR_BTNFACE + 1
    HWND child = Child(top, 1, 10, 10, 10, 10, WS_CHILD | WS_VISIBLE, kPlain);  // COLOR_WINDOW + 1
    Pump();
    EXPECT_EQ(headless::PixelAt(top, 0, 0), RGB(192, 192, 192));
    EXPECT_EQ(headless::PixelAt(top, 39, 29), RGB(192, 192, 192));
    EXPECT_EQ(headless::PixelAt(top, 15, 15), RGB(255, 255, 255));
    EXPECT_EQ(headless::PixelAt(child, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(headless::PixelAt(child, 10, 0), CLR_INVALID);
    // The frame of a bordered child is drawn in the window-frame colour.
    HWND framed = Child(top, 2, 25, 5, 10, 10, WS_CHILD | WS_VISIBLE | WS_BORDER, kPlain);
    Pump();
    headless::Image image;
    ASSERT_TRUE(headless::ReadPixels(framed, &image, false));
    EXPECT_EQ(image.width, 10);
    EXPECT_EQ(image.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(image.At(9, 9), RGB(0, 0, 0));
    EXPECT_EQ(image.At(1, 1), RGB(255, 255, 255));
    // Painted pixels were presented to the backend.
    bool presented = false;
    for (auto& p : headless::TakePresented()) presented = presented || p.hwnd == top;
    EXPECT_TRUE(presented);
}

TEST_F(Paint, GetDcAndReleaseDcPairUp) {
    HWND top = Top(0, 0, 40, 30);
    HDC dc = GetDC(top);
    ASSERT_NE(dc, nullptr);
    HWND other = Top(50, 0, 10, 10);
    EXPECT_EQ(ReleaseDC(other, dc), 0);  // not its DC
    EXPECT_EQ(ReleaseDC(top, dc), 1);
    EXPECT_EQ(ReleaseDC(top, dc), 0);  // already released
    PAINTSTRUCT fake{};
    fake.hdc = dc;
    EXPECT_FALSE(EndPaint(top, &fake));
    // A DC still out when its window goes away is released with it.
    HWND child = Child(top, 1, 0, 0, 10, 10);
    HDC childDC = GetDC(child);
    ASSERT_NE(childDC, nullptr);
    DestroyWindow(child);
    EXPECT_EQ(ReleaseDC(child, childDC), 0);
}

}  // namespace

namespace {

// A window that fills its whole client area with the colour kept in its
// user data whenever it paints.
LRESULT CALLBACK FillOnPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        HBRUSH brush = CreateSolidBrush(COLORREF(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class PaintPixels : public WindowTest {
protected:
    HWND Filled(HWND parent, int x, int y, int w, int h, COLORREF colour, DWORD extraStyle = 0) {
        static bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = FillOnPaint;
            wc.lpszClassName = "TestFillOnPaint";
            return RegisterClassA(&wc) != 0;
        }();
        EXPECT_TRUE(registered);
        DWORD style = (parent ? WS_CHILD : WS_POPUP) | extraStyle;
        HWND hwnd = CreateWindowExA(0, "TestFillOnPaint", "", style, x, y, w, h, parent, nullptr,
                                    nullptr, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, LONG_PTR(colour));
        ShowWindow(hwnd, parent ? SW_SHOWNA : SW_SHOW);
        if (!parent) owned_.push_back(hwnd);
        return hwnd;
    }
    void TearDown() override {
        for (HWND h : owned_) DestroyWindow(h);
        WindowTest::TearDown();
    }
    std::vector<HWND> owned_;
};

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0);

TEST_F(PaintPixels, ChildrenRepaintOverTheirParentAfterIt) {
    HWND top = Filled(nullptr, 0, 0, 100, 80, kRed);
    HWND child = Filled(top, 10, 10, 20, 20, kBlue);
    Pump();
    EXPECT_EQ(headless::PixelAt(top, 5, 5), kRed);
    EXPECT_EQ(headless::PixelAt(top, 15, 15), kBlue);
    SetWindowLongPtrA(top, GWLP_USERDATA, LONG_PTR(kGreen));
    InvalidateRect(top, nullptr, FALSE);
    Pump();
    EXPECT_EQ(headless::PixelAt(top, 5, 5), kGreen);
    EXPECT_EQ(headless::PixelAt(top, 15, 15), kBlue);  // painted again after the parent
    EXPECT_EQ(headless::PixelAt(child, 19, 19), kBlue);
}

TEST_F(PaintPixels, PaintingIsClippedToTheUpdateRectangle) {
    HWND top = Filled(nullptr, 0, 0, 100, 80, kRed);
    Pump();
    SetWindowLongPtrA(top, GWLP_USERDATA, LONG_PTR(kGreen));
    RECT part{10, 10, 30, 20};
    InvalidateRect(top, &part, FALSE);
    Pump();
    EXPECT_EQ(headless::PixelAt(top, 10, 10), kGreen);
    EXPECT_EQ(headless::PixelAt(top, 29, 19), kGreen);
    EXPECT_EQ(headless::PixelAt(top, 30, 19), kRed);
    EXPECT_EQ(headless::PixelAt(top, 9, 10), kRed);
    EXPECT_EQ(headless::PixelAt(top, 10, 20), kRed);
}

TEST_F(PaintPixels, AChildIsClippedToItsParentsClientArea) {
    HWND top = Filled(nullptr, 0, 0, 60, 60, kRed);
    Filled(top, 40, 40, 50, 50, kBlue);  // hangs over the bottom-right edge
    Pump();
    EXPECT_EQ(headless::PixelAt(top, 59, 59), kBlue);
    EXPECT_EQ(headless::PixelAt(top, 39, 39), kRed);
    headless::Image whole;
    ASSERT_TRUE(headless::ReadPixels(top, &whole, false));
    EXPECT_EQ(whole.width, 60);
    EXPECT_EQ(whole.height, 60);
}

TEST_F(PaintPixels, AParentsWindowDcIsNotClippedByItsChildren) {
    HWND top = Filled(nullptr, 0, 0, 60, 60, kRed);
    HWND child = Filled(top, 10, 10, 20, 20, kBlue);
    Pump();
    HDC dc = GetDC(top);
    RECT all{0, 0, 60, 60};
    HBRUSH green = CreateSolidBrush(kGreen);
    FillRect(dc, &all, green);
    DeleteObject(green);
    ReleaseDC(top, dc);
    EXPECT_EQ(headless::PixelAt(child, 5, 5), kGreen);
    // A child's DC stays inside the child.
    dc = GetDC(child);
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(dc, &all, red);
    DeleteObject(red);
    ReleaseDC(child, dc);
    EXPECT_EQ(headless::PixelAt(top, 15, 15), kRed);
    EXPECT_EQ(headless::PixelAt(top, 31, 31), kGreen);
    EXPECT_EQ(headless::PixelAt(top, 9, 9), kGreen);
}

TEST_F(PaintPixels, MovingAChildUncoversItsParent) {
    HWND top = Filled(nullptr, 0, 0, 100, 60, kRed);
    HWND child = Filled(top, 0, 0, 20, 20, kBlue);
    Pump();
    MoveWindow(child, 50, 30, 20, 20, TRUE);
    Pump();
    EXPECT_EQ(headless::PixelAt(top, 5, 5), kRed);
    EXPECT_EQ(headless::PixelAt(top, 55, 35), kBlue);
    ShowWindow(child, SW_HIDE);
    Pump();
    EXPECT_EQ(headless::PixelAt(top, 55, 35), kRed);
}

}  // namespace

namespace {

TEST_F(PaintPixels, ASolidClassBrushErasesToo) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hbrBackground = CreateSolidBrush(RGB(10, 20, 30));
    wc.lpszClassName = "TestSolidBrushClass";
    ASSERT_TRUE(RegisterClassA(&wc));
    HWND top = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20,
                               nullptr, nullptr, nullptr, nullptr);
    owned_.push_back(top);
    Pump();
    EXPECT_EQ(headless::PixelAt(top, 0, 0), RGB(10, 20, 30));
    EXPECT_EQ(headless::PixelAt(top, 19, 19), RGB(10, 20, 30));
}

}  // namespace
