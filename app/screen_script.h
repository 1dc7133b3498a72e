// A script that drives the program's screens from inside their own message
// loops on the headless backend. Each step waits for its moment (a window
// appearing, a window going) and then acts: clicks, keys, screenshots. The
// tour and the end-to-end tests are written as scripts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ScreenScript {
public:
    // A step answers true once its moment came and it did its part, false
    // to be asked again later.
    using Step = std::function<bool()>;

    ~ScreenScript();

    void Then(std::string name, Step step);

    // Installs the script on the calling thread's loops. A step that waits
    // longer than `timeoutMs` fails the script, which then closes every
    // window it finds so that the program can end.
    void Start(DWORD timeoutMs = 30000);
    void Stop();

    bool Done() const { return m_nNext == m_steps.size() && m_strFailure.empty(); }
    // The name of the step that failed, or "" while none did.
    const std::string& Failure() const { return m_strFailure; }

    // Helpers for steps: the visible top-level windows of the program,
    // topmost first, and a title or class test.
    static std::vector<HWND> VisibleWindows();
    static HWND FindVisible(const char* title, const char* className = nullptr);
    // The topmost visible window, or null.
    static HWND Topmost();

private:
    bool OnIdle();
    void CloseEverything();

    struct Entry {
        std::string name;
        Step step;
    };
    std::vector<Entry> m_steps;
    size_t m_nNext = 0;
    DWORD m_dwTimeout = 30000;
    DWORD m_dwStepStarted = 0;
    UINT_PTR m_nTimer = 0;
    bool m_bRunning = false;
    std::string m_strFailure;
};
