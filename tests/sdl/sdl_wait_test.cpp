// The SDL2 backend's blocking under a private Xvfb server: the user-interface
// thread sleeps in SDL's event queue, a post from another thread or a due
// timer wakes it, and waiting costs no CPU. Each test runs in a process of
// its own (CTest), so installing the backend touches no other test.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "backends/sdl2/sdl_backend.h"

namespace {

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

bool OnPath(const char* tool) {
    std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

LRESULT CALLBACK Plain(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class SdlWait : public ::testing::Test {
protected:
    void SetUp() override {
        if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
        int number = 80 + int(getpid() % 9);
        std::string display = ":" + std::to_string(number);
        server_ = fork();
        if (server_ == 0) {
            // The server dies with the test, even if the test crashes.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(server_, 0) << "cannot start Xvfb";
        std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        struct stat st {};
        for (int i = 0; i < 100 && stat(socket.c_str(), &st) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        setenv("DISPLAY", display.c_str(), 1);
        // The socket may be a stale one: retry until the server answers.
        std::string error;
        std::unique_ptr<win::core::Backend> backend;
        for (int i = 0; i < 50 && !backend; ++i) {
            backend = win::sdl::CreateBackend(&error);
            if (!backend) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ASSERT_TRUE(backend) << error;
        win::core::InstallBackend(std::move(backend));
        WNDCLASSA wc{};
        wc.lpfnWndProc = Plain;
        wc.lpszClassName = "SdlWaitPlain";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, "SdlWaitPlain", "wait", WS_POPUP | WS_VISIBLE, 10, 10, 100, 80, nullptr,
                                  nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    void TearDown() override {
        if (window_) DestroyWindow(window_);
        // Closes SDL's connection before its server goes away.
        win::core::InstallBackend(win::core::CreateHeadlessBackend());
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
    }

    pid_t server_ = 0;
    HWND window_ = nullptr;
};

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
