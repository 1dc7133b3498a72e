// Per-thread message queues: order, filters, WM_QUIT, and posts between
// threads.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <vector>

namespace {

void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
}

TEST(Queue, PostedMessagesComeBackInOrder) {
    Drain();
    DWORD self = GetCurrentThreadId();
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(PostThreadMessageA(self, WM_USER + i, i, -i));
    MSG msg;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
        EXPECT_EQ(msg.message, UINT(WM_USER + i));
        EXPECT_EQ(msg.wParam, WPARAM(i));
        EXPECT_EQ(msg.lParam, LPARAM(-i));
        EXPECT_EQ(msg.hwnd, nullptr);
    }
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(Queue, PeekWithoutRemovingLeavesTheMessage) {
    Drain();
    PostThreadMessageA(GetCurrentThreadId(), WM_USER + 1, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 1));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(Queue, RangeFilterSkipsOthersWithoutLosingThem) {
    Drain();
    DWORD self = GetCurrentThreadId();
    PostThreadMessageA(self, WM_USER + 1, 0, 0);
    PostThreadMessageA(self, 0x9040, 0, 0);
    PostThreadMessageA(self, WM_USER + 2, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0x9000, 0x90FF, PM_REMOVE));
    EXPECT_EQ(msg.message, 0x9040u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0x9000, 0x90FF, PM_REMOVE));
    ASSERT_TRUE(GetMessageA(&msg, nullptr, WM_USER + 2, WM_USER + 2));
    EXPECT_EQ(msg.message, UINT(WM_USER + 2));
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_USER + 1));
}

TEST(Queue, QuitComesAfterPostedMessagesAndEndsGetMessage) {
    Drain();
    PostQuitMessage(3);
    PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_USER));
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, WPARAM(3));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(Queue, PostingToAThreadWithoutAQueueFails) {
    EXPECT_FALSE(PostThreadMessageA(0x7ffffff0, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_THREAD_ID));
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x4444), WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
}

struct Receiver {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    std::vector<UINT> received;
    bool inOrder = true;
};

// Makes a queue, says so, then takes messages until WM_QUIT.
DWORD WINAPI Receive(LPVOID p) {
    auto* r = static_cast<Receiver*>(p);
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(r->ready);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.wParam != r->received.size()) r->inOrder = false;
        r->received.push_back(UINT(msg.wParam));
    }
    return static_cast<DWORD>(msg.wParam);
}

TEST(Queue, AStormOfPostsFromAnotherThreadArrivesWholeAndInOrder) {
    Receiver r;
    HANDLE thread = CreateThread(nullptr, 0, Receive, &r, 0, &r.id);
    ASSERT_EQ(WaitForSingleObject(r.ready, 10000), WAIT_OBJECT_0);
    constexpr int kPosts = 100000;
    for (int i = 0; i < kPosts; ++i) ASSERT_TRUE(PostThreadMessageA(r.id, WM_USER, WPARAM(i), 0));
    // WM_QUIT posted as a message ends GetMessage too.
    ASSERT_TRUE(PostThreadMessageA(r.id, WM_QUIT, 77, 0));
    ASSERT_EQ(WaitForSingleObject(thread, 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 77u);
    EXPECT_EQ(r.received.size(), size_t(kPosts));
    EXPECT_TRUE(r.inOrder);
    CloseHandle(thread);
    CloseHandle(r.ready);
}

struct Waiter {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    DWORD waitResult = 0;
    UINT message = 0;
};

DWORD WINAPI WaitForInput(LPVOID p) {
    auto* w = static_cast<Waiter*>(p);
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(w->ready);
    w->waitResult = MsgWaitForMultipleObjects(0, nullptr, FALSE, 20000, QS_ALLINPUT);
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) w->message = msg.message;
    return 0;
}

TEST(Queue, APostWakesABlockedMsgWait) {
    Waiter w;
    HANDLE thread = CreateThread(nullptr, 0, WaitForInput, &w, 0, &w.id);
    ASSERT_EQ(WaitForSingleObject(w.ready, 10000), WAIT_OBJECT_0);
    Sleep(20);  // let it block
    PostThreadMessageA(w.id, 0x9041, 0, 0);
    // Far sooner than the wait's own time-out.
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(w.waitResult, WAIT_OBJECT_0);
    EXPECT_EQ(w.message, 0x9041u);
    CloseHandle(thread);
    CloseHandle(w.ready);
}

TEST(Queue, MsgWaitTimesOutOnAnEmptyQueueAndSeesWaitingMessages) {
    Drain();
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_ALLINPUT), DWORD(WAIT_TIMEOUT));
    PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // seen, but still waiting
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT), WAIT_OBJECT_0);
    HANDLE event = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0 + 1);
    CloseHandle(event);
    Drain();
}

TEST(Queue, ThreadTimersArriveAsWmTimer) {
    Drain();
    UINT_PTR id = SetTimer(nullptr, 0, 15, nullptr);
    ASSERT_NE(id, 0u);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(msg.wParam, id);
    EXPECT_TRUE(KillTimer(nullptr, id));
    EXPECT_FALSE(KillTimer(nullptr, id));
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 40, QS_ALLINPUT), DWORD(WAIT_TIMEOUT));
}

}  // namespace
