// The SDL2 backend's blocking under a private Xvfb server: the user-interface
// thread sleeps in SDL's event queue, a post from another thread or a due
// timer wakes it, and waiting costs no CPU. Each test runs in a process of
// its own (CTest), so installing the backend touches no other test.
#include <time.h>

#include <chrono>
#include <thread>

#include "xvfb_fixture.h"

namespace {

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

using SdlWait = sdl_test::XvfbTest;

TEST_F(SdlWait, APostFromAnotherThreadWakesTheIdleThreadAndWaitingCostsNoCpu) {
    DWORD self = GetCurrentThreadId();
    std::thread poster([self] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        PostThreadMessageA(self, WM_APP + 7, 42, 0);
    });
    double cpuBefore = ThreadCpuSeconds();
    auto start = std::chrono::steady_clock::now();
    // Bounded, so that a lost wake-up fails instead of hanging.
    DWORD woke = MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_ALLINPUT);
    auto waited = std::chrono::steady_clock::now() - start;
    double cpu = ThreadCpuSeconds() - cpuBefore;
    poster.join();
    ASSERT_EQ(woke, DWORD(WAIT_OBJECT_0)) << "the post did not wake the thread";
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_APP + 7));
    EXPECT_EQ(msg.wParam, WPARAM(42));
    EXPECT_GE(waited, std::chrono::milliseconds(900));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_LT(cpu, 0.05) << "the thread spun while it waited";
}

TEST_F(SdlWait, ADueTimerEndsTheWaitInSdl) {
    ASSERT_NE(SetTimer(window_, 3, 300, nullptr), 0u);
    double cpuBefore = ThreadCpuSeconds();
    auto start = std::chrono::steady_clock::now();
    MSG msg{};
    ASSERT_GT(GetMessageA(&msg, nullptr, 0, 0), 0);
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_LT(ThreadCpuSeconds() - cpuBefore, 0.05);
    KillTimer(window_, 3);
}

}  // namespace

// These tests start and stop SDL's video (and with it Xlib's dlopen'ed
// modules) in one process, which leaves allocations the leak checker can no
// longer attribute. Leaks of the layer are checked by the other test binaries.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }
