// A private Xvfb server with the SDL2 backend installed, and one plain
// visible window on it, for the tests of the real backend. Each test runs
// in a process of its own (CTest), so installing the backend touches no
// other test. XServer alone serves tests that run the program itself.
#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "backends/headless/headless.h"
#include "backends/sdl2/sdl_backend.h"
#include "core/backend.h"

namespace sdl_test {

inline bool OnPath(const char* tool) {
    std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Waits (polling every 50 ms, for what has no event to wait on) until
// `ready` answers true or `seconds` have passed; answers the last result.
inline bool WaitFor(const std::function<bool()>& ready, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return ready();
}

// The standard output of a shell command (stderr dropped), without the
// final newline.
inline std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

// A private X server on the first free display (Xvfb picks it), with a
// window manager when asked for one; both stop with the object, or with the
// test process if it dies.
class XServer {
public:
    XServer() = default;
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;
    ~XServer() { Stop(); }

    // False, with the reason, when the server or the manager did not start.
    bool Start(const char* screen, const char* windowManager, std::string* why) {
        int fds[2];
        if (pipe(fds) != 0) return Fail(why, "no pipe");
        server_ = fork();
        if (server_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(fds[0]);
            Quiet();
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (server_ < 0) {
            close(fds[0]);
            return Fail(why, "cannot fork");
        }
        // Xvfb writes its display number once it accepts connections.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
            if (poll(&p, 1, 500) <= 0) continue;
            char c;
            if (read(fds[0], &c, 1) != 1) break;
            number += c;
        }
        close(fds[0]);
        if (number.find('\n') == std::string::npos) return Fail(why, "Xvfb did not start");
        display_ = ":" + number.substr(0, number.find('\n'));
        setenv("DISPLAY", display_.c_str(), 1);
        if (!windowManager) return true;

        // The manager says it is ready by running its start-up command.
        char ready[] = "/tmp/tinto-wm-XXXXXX";
        int made = mkstemp(ready);
        if (made < 0) return Fail(why, "no temporary file");
        close(made);
        unlink(ready);
        readyFile_ = ready;
        manager_ = fork();
        if (manager_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            Quiet();
            std::string startup = "touch " + readyFile_;
            execlp(windowManager, windowManager, "--sm-disable", "--startup", startup.c_str(),
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        if (manager_ < 0) return Fail(why, "cannot fork");
        struct stat st {};
        if (!WaitFor([&] { return stat(readyFile_.c_str(), &st) == 0; }, 20))
            return Fail(why, std::string(windowManager) + " did not start");
        return true;
    }

    void Stop() {
        for (pid_t* pid : {&manager_, &server_}) {
            if (*pid > 0) {
                kill(*pid, SIGTERM);
                waitpid(*pid, nullptr, 0);
            }
            *pid = 0;
        }
        if (!readyFile_.empty()) unlink(readyFile_.c_str());
        readyFile_.clear();
    }

    const std::string& Display() const { return display_; }

private:
    static void Quiet() {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
    }
    static bool Fail(std::string* why, const std::string& reason) {
        if (why) *why = reason;
        return false;
    }

    pid_t server_ = 0;
    pid_t manager_ = 0;
    std::string display_;
    std::string readyFile_;
};

inline LRESULT CALLBACK Plain(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class XvfbTest : public ::testing::Test {
protected:
    // The window manager to run on the server (null: none).
    virtual const char* WindowManager() const { return nullptr; }

    void SetUp() override {
        if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
        if (WindowManager() && !OnPath(WindowManager()))
            GTEST_SKIP() << WindowManager() << " is not installed";
        std::string why;
        ASSERT_TRUE(x_.Start("640x480x24", WindowManager(), &why)) << why;
        // Retry until the server answers.
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
        window_ = CreateWindowExA(0, "SdlWaitPlain", "wait", WS_POPUP | WS_VISIBLE, 10, 10, 100, 80,
                                  nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    void TearDown() override {
        if (window_) DestroyWindow(window_);
        // Closes SDL's connection before its server goes away.
        win::core::InstallBackend(win::core::CreateHeadlessBackend());
        x_.Stop();
    }

    XServer x_;
    HWND window_ = nullptr;
};

}  // namespace sdl_test
