// The contract a display backend relies on: a backend that owns a thread's
// waits is asked to block instead of the core, and is woken by posts from
// other threads; native windows follow the top-level windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "backends/headless/headless.h"
#include "core/backend.h"

namespace {

class RecordingBackend : public win::core::Backend {
public:
    explicit RecordingBackend(DWORD uiThread) : ui_(uiThread) {}
    SIZE ScreenSize() const override { return {800, 600}; }
    bool WaitsForThread(DWORD threadId) const override { return threadId == ui_; }
    void WaitForEvents(int timeoutMs) override {
        std::unique_lock<std::mutex> lock(mutex_);
        ++waits;
        auto woken = [&] { return wake_; };
        if (timeoutMs < 0)
            cv_.wait(lock, woken);
        else
            cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), woken);
        wake_ = false;
    }
    void Wake() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++wakes;
        wake_ = true;
        cv_.notify_all();
    }
    void WindowCreated(HWND) override { events.push_back("created"); }
    void WindowShown(HWND, bool visible) override {
        events.push_back(visible ? "shown" : "hidden");
    }
    void WindowTitleChanged(HWND, const std::string& title) override {
        events.push_back("title " + title);
    }
    void WindowDestroyed(HWND) override { events.push_back("destroyed"); }

    int waits = 0;
    int wakes = 0;
    std::vector<std::string> events;

private:
    DWORD ui_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool wake_ = false;
};

struct Poster {
    DWORD target;
};

DWORD WINAPI PostLater(LPVOID p) {
    Sleep(30);
    PostThreadMessageA(static_cast<Poster*>(p)->target, WM_USER + 3, 0, 0);
    return 0;
}

class BackendContract : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<RecordingBackend>(GetCurrentThreadId());
        recording = backend.get();
        win::core::InstallBackend(std::move(backend));
    }
    void TearDown() override { win::core::InstallBackend(win::core::CreateHeadlessBackend()); }
    RecordingBackend* recording = nullptr;
};

TEST_F(BackendContract, TheUiThreadBlocksInTheBackendAndPostsWakeIt) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    Poster poster{GetCurrentThreadId()};
    HANDLE thread = CreateThread(nullptr, 0, PostLater, &poster, 0, nullptr);
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_USER + 3));
    EXPECT_GE(recording->waits, 1);
    EXPECT_GE(recording->wakes, 1);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
}

TEST_F(BackendContract, NativeWindowsFollowTopLevelWindowsOnly) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "TestBackendContract";
    RegisterClassA(&wc);
    HWND top = CreateWindowExA(0, wc.lpszClassName, "one", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
    HWND child = CreateWindowExA(0, wc.lpszClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, top,
                                 nullptr, nullptr, nullptr);
    ShowWindow(top, SW_SHOW);
    SetWindowTextA(top, "two");
    SetWindowTextA(child, "not a native window");
    DestroyWindow(top);
    EXPECT_EQ(recording->events,
              (std::vector<std::string>{"created", "shown", "title two", "hidden", "destroyed"}));
}

}  // namespace
