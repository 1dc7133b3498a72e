// A private Xvfb server with the SDL2 backend installed, and one plain
// visible window on it, for the tests of the real backend. Each test runs
// in a process of its own (CTest), so installing the backend touches no
// other test.
#pragma once
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "backends/sdl2/sdl_backend.h"
#include "backends/headless/headless.h"
#include "core/backend.h"

namespace sdl_test {

inline bool OnPath(const char* tool) {
    std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

inline LRESULT CALLBACK Plain(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class XvfbTest : public ::testing::Test {
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

}  // namespace sdl_test
