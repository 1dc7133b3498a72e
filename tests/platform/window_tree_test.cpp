// Window classes, the window tree, geometry, window data and destruction.
#include <cstring>

#include "window_fixture.h"

namespace {

using Tree = WindowTest;

TEST_F(Tree, ClassesRegisterOnceAndAreFoundWithoutRegardToCase) {
    WNDCLASSA wc{};
    EXPECT_TRUE(GetClassInfoA(nullptr, "testplain", &wc));
    EXPECT_EQ(wc.lpfnWndProc, &WindowTest::Record);
    EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    WNDCLASSA again{};
    again.lpfnWndProc = DefWindowProcA;
    again.lpszClassName = "TESTPLAIN";
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_FALSE(GetClassInfoA(nullptr, "NoSuchClass", &wc));
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    HWND top = Top(0, 0, 10, 10);
    EXPECT_FALSE(UnregisterClassA(kPlain, nullptr));
    char name[32];
    EXPECT_EQ(GetClassNameA(top, name, sizeof name), int(std::strlen(kPlain)));
    EXPECT_STREQ(name, kPlain);
}

TEST_F(Tree, CreationSendsItsMessagesAndKeepsTheText) {
    HWND top = Top(10, 20, 200, 100, WS_POPUP, kPlain, "Hello");
    std::vector<UINT> order;
    for (auto& s : seen())
        if (s.hwnd == top) order.push_back(s.message);
    ASSERT_GE(order.size(), 4u);
    EXPECT_EQ(order[0], UINT(WM_NCCREATE));
    EXPECT_EQ(order[1], UINT(WM_CREATE));
    auto sizes = Of(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(200, 100));
    char text[16];
    EXPECT_EQ(GetWindowTextA(top, text, sizeof text), 5);
    EXPECT_STREQ(text, "Hello");
    EXPECT_EQ(GetWindowTextA(top, text, 3), 2);  // truncated, terminated
    EXPECT_STREQ(text, "He");
    SetWindowTextA(top, "Bye");
    EXPECT_EQ(GetWindowTextLengthA(top), 3);
    EXPECT_FALSE(IsWindowVisible(top));
}

TEST_F(Tree, ChildWithoutParentIsRefused) {
    EXPECT_EQ(
        CreateWindowExA(0, kPlain, "", WS_CHILD, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    EXPECT_EQ(CreateWindowExA(0, kPlain, "", WS_CHILD, 0, 0, 5, 5, reinterpret_cast<HWND>(0x999),
                              nullptr, nullptr, nullptr),
              nullptr);
}

TEST_F(Tree, RelationsIdsAndZOrder) {
    HWND top = Top(0, 0, 300, 200);
    HWND a = Child(top, 101, 0, 0, 10, 10);
    HWND b = Child(top, 102, 20, 0, 10, 10);
    HWND inner = Child(a, 201, 1, 1, 5, 5);
    EXPECT_EQ(GetParent(a), top);
    EXPECT_EQ(GetParent(top), nullptr);
    EXPECT_EQ(GetDlgItem(top, 102), b);
    EXPECT_EQ(GetDlgItem(top, 201), nullptr);  // direct children only
    EXPECT_EQ(GetDlgCtrlID(b), 102);
    EXPECT_TRUE(IsChild(top, inner));
    EXPECT_FALSE(IsChild(b, inner));
    // Creation order is z-order, first created on top.
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
    EXPECT_EQ(GetAncestor(inner, GA_ROOT), top);
    EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
    // An owned pop-up names its owner as parent.
    HWND popup = CreateWindowExA(0, kPlain, "", WS_POPUP, 0, 0, 5, 5, a, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetParent(popup), top);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), top);
    DestroyWindow(popup);
}

TEST_F(Tree, BorderedWindowsHaveTheirClientAreaOnePixelIn) {
    HWND top = Top(100, 50, 300, 200, WS_POPUP | WS_BORDER);
    HWND child = Child(top, 1, 10, 20, 40, 30);
    RECT r;
    GetClientRect(top, &r);
    EXPECT_EQ(r.right, 298);
    EXPECT_EQ(r.bottom, 198);
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 111);
    EXPECT_EQ(r.top, 71);
    EXPECT_EQ(r.right, 151);
    POINT p{0, 0};
    ClientToScreen(child, &p);
    EXPECT_EQ(p.x, 111);
    EXPECT_EQ(p.y, 71);
    ScreenToClient(top, &p);
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, 20);
    POINT q{5, 5};
    MapWindowPoints(child, top, &q, 1);
    EXPECT_EQ(q.x, 15);
    EXPECT_EQ(q.y, 25);
}

TEST_F(Tree, MoveWindowReportsNewSizeAndPosition) {
    HWND top = Top(0, 0, 300, 200);
    HWND child = Child(top, 1, 10, 10, 40, 30);
    Forget();
    MoveWindow(child, 50, 60, 70, 80, TRUE);
    auto sizes = Of(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(70, 80));
    auto moves = Of(WM_MOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].lParam, MAKELPARAM(50, 60));
    Forget();
    MoveWindow(child, 50, 60, 70, 80, TRUE);  // no change, no news
    EXPECT_TRUE(Of(WM_SIZE).empty());
    MoveWindow(child, 0, 0, -5, -5, TRUE);  // negative sizes become empty
    RECT r;
    GetClientRect(child, &r);
    EXPECT_EQ(r.right, 0);
    EXPECT_EQ(r.bottom, 0);
}

TEST_F(Tree, WindowDataAndUserData) {
    HWND top = Top(0, 0, 10, 10);
    int client = 0;
    EXPECT_EQ(SetWindowLongPtrA(top, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&client)), 0);
    EXPECT_EQ(GetWindowLongPtrA(top, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&client));
    EXPECT_EQ(SetWindowLongA(top, 4, 1234), 0);
    EXPECT_EQ(GetWindowLongA(top, 4), 1234);
    SetWindowLongPtrA(top, 8, LONG_PTR(0x1122334455667788LL));
    EXPECT_EQ(GetWindowLongPtrA(top, 8), LONG_PTR(0x1122334455667788LL));
    // Out of the class's 16 extra bytes.
    EXPECT_EQ(GetWindowLongPtrA(top, 12), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
    EXPECT_EQ(SetWindowLongA(top, 13, 1), 0);
    EXPECT_EQ(GetWindowLongA(top, -1000), 0);
    EXPECT_EQ(DWORD(GetWindowLongA(top, GWL_STYLE)) & WS_POPUP, DWORD(WS_POPUP));
}

LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 5) return 55;
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

TEST_F(Tree, SubclassingReplacesTheProcedure) {
    HWND top = Top(0, 0, 10, 10);
    LONG_PTR previous = SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass));
    EXPECT_EQ(previous, reinterpret_cast<LONG_PTR>(&WindowTest::Record));
    SetWindowLongPtrA(top, GWLP_USERDATA, previous);
    EXPECT_EQ(SendMessageA(top, WM_USER + 5, 0, 0), 55);
    Forget();
    SendMessageA(top, WM_USER + 6, 0, 0);
    EXPECT_EQ(Of(WM_USER + 6).size(), 1u);
}

TEST_F(Tree, DestructionOrderAndStaleHandles) {
    HWND top = Top(0, 0, 100, 100);
    HWND a = Child(top, 1, 0, 0, 10, 10);
    HWND inner = Child(a, 2, 0, 0, 5, 5);
    SetTimer(a, 1, 1000, nullptr);
    PostMessageA(a, WM_USER, 0, 0);
    Forget();
    ASSERT_TRUE(DestroyWindow(top));
    EXPECT_EQ(WindowsThatGot(WM_DESTROY), (std::vector<HWND>{top, a, inner}));
    EXPECT_EQ(WindowsThatGot(WM_NCDESTROY), (std::vector<HWND>{inner, a, top}));
    for (HWND h : {top, a, inner}) {
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(GetWindowLongA(h, GWL_STYLE), 0);
        EXPECT_FALSE(PostMessageA(h, WM_USER, 0, 0));
        EXPECT_EQ(SendMessageA(h, WM_USER, 0, 0), 0);
        EXPECT_FALSE(DestroyWindow(h));
        RECT r;
        EXPECT_FALSE(GetWindowRect(h, &r));
    }
    // Its posted messages went with it.
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_FALSE(KillTimer(a, 1));
}

TEST_F(Tree, RandomHandlesAreRefused) {
    for (uintptr_t value :
         {uintptr_t(1), uintptr_t(0x10010 + 3), uintptr_t(0xdeadbeef), ~uintptr_t(0)}) {
        HWND h = reinterpret_cast<HWND>(value);
        EXPECT_FALSE(IsWindow(h));
        EXPECT_FALSE(ShowWindow(h, SW_SHOW));
        EXPECT_FALSE(InvalidateRect(h, nullptr, TRUE));
        EXPECT_EQ(SetFocus(h), nullptr);
        EXPECT_EQ(SetCapture(h), nullptr);
        EXPECT_EQ(GetDC(h), nullptr);
        EXPECT_FALSE(MoveWindow(h, 0, 0, 1, 1, TRUE));
        EXPECT_EQ(SetTimer(h, 1, 10, nullptr), 0u);
    }
}

struct CrossThread {
    HWND target;
    LRESULT result;
    DWORD error;
    BOOL posted;
};

DWORD WINAPI SendFromAnotherThread(LPVOID p) {
    auto* c = static_cast<CrossThread*>(p);
    c->result = SendMessageA(c->target, WM_USER + 1, 0, 0);
    c->error = GetLastError();
    c->posted = PostMessageA(c->target, WM_USER + 2, 0, 0);
    return 0;
}

TEST_F(Tree, SendsFromAnotherThreadAreRefusedButPostsArrive) {
    HWND top = Top(0, 0, 10, 10);
    CrossThread c{top, 99, 0, FALSE};
    HANDLE thread = CreateThread(nullptr, 0, SendFromAnotherThread, &c, 0, nullptr);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    EXPECT_EQ(c.result, 0);
    EXPECT_EQ(c.error, DWORD(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(c.posted);
    Pump();
    EXPECT_TRUE(Of(WM_USER + 1).empty());
    EXPECT_EQ(Of(WM_USER + 2).size(), 1u);
}

TEST_F(Tree, HeadlessDesktopListsTopLevelWindows) {
    HWND top = Top(0, 0, 10, 10, WS_POPUP | WS_VISIBLE, kDouble, "Audio Hidden Window");
    auto list = headless::TopLevelWindows();
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list.front().hwnd, top);
    EXPECT_EQ(list.front().title, "Audio Hidden Window");
    EXPECT_EQ(list.front().className, kDouble);
    EXPECT_TRUE(list.front().visible);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    RECT r;
    GetWindowRect(GetDesktopWindow(), &r);
    EXPECT_EQ(r.right, 1024);
}

TEST_F(Tree, ClassicSystemColours) {
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_BTNTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(31), 0u);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
}

}  // namespace

namespace {

struct Notifier {
    HWND target;
    int count;
};

DWORD WINAPI Notify(LPVOID p) {
    auto* n = static_cast<Notifier*>(p);
    for (int i = 0; i < n->count; ++i) PostMessageA(n->target, 0x9000 + 64, WPARAM(i), 0);
    PostMessageA(n->target, WM_CLOSE, 0, 0);
    return 0;
}

int g_notifications = 0;
bool g_inOrder = true;

LRESULT CALLBACK HiddenProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 0x9000 + 64) {
        if (wParam != WPARAM(g_notifications)) g_inOrder = false;
        ++g_notifications;
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(HiddenWindow, ReceivesEveryPostFromAnotherThreadThroughABlockingLoop) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HiddenProc;
    wc.lpszClassName = "Test Hidden Window Class";
    RegisterClassA(&wc);
    HWND hidden = CreateWindowExA(0, wc.lpszClassName, "Test Hidden Window", 0, 0, 0, 0, 0, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));
    Notifier n{hidden, 20000};
    HANDLE thread = CreateThread(nullptr, 0, Notify, &n, 0, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    EXPECT_EQ(g_notifications, n.count);
    EXPECT_TRUE(g_inOrder);
    EXPECT_FALSE(IsWindow(hidden));
}

}  // namespace

namespace {

using Modal = WindowTest;

TEST_F(Modal, TheIdleHandlerAnswersAWindowFromInsideANestedLoop) {
    HWND owner = Top(0, 0, 200, 200);
    HWND box = Top(50, 50, 80, 40, WS_POPUP | WS_VISIBLE, kPlain, "Question");
    EnableWindow(owner, FALSE);
    int calls = 0;
    headless::SetIdleHandler([&] {
        ++calls;
        for (auto& t : headless::TopLevelWindows()) {
            if (t.title == "Question" && t.visible) {
                PostMessageA(t.hwnd, WM_CLOSE, 0, 0);
                return true;
            }
        }
        return false;
    });
    // The modal loop: runs until the box is gone, blocking in GetMessage.
    MSG msg;
    while (IsWindow(box) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    headless::SetIdleHandler(nullptr);
    EnableWindow(owner, TRUE);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_GE(calls, 1);
}

}  // namespace
