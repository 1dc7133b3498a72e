// The screen script's stepping and its safety net.
#include "app/screen_script.h"

#include "backends/headless/headless.h"

namespace {

// The timer only wakes the loop so that a waiting step is asked again and
// its time-out is noticed.
void CALLBACK WakeUp(HWND, UINT, UINT_PTR, DWORD) {}

constexpr UINT kWakeInterval = 50;

}  // namespace

ScreenScript::~ScreenScript() { Stop(); }

void ScreenScript::Then(std::string name, Step step) {
    m_steps.push_back(Entry{std::move(name), std::move(step)});
}

void ScreenScript::Start(DWORD timeoutMs) {
    m_dwTimeout = timeoutMs;
    m_nNext = 0;
    m_strFailure.clear();
    m_dwStepStarted = ::GetTickCount();
    m_bRunning = true;
    m_nTimer = ::SetTimer(nullptr, 0, kWakeInterval, &WakeUp);
    headless::SetIdleHandler([this] { return OnIdle(); });
}

void ScreenScript::Stop() {
    if (!m_bRunning) return;
    m_bRunning = false;
    headless::SetIdleHandler(nullptr);
    if (m_nTimer) ::KillTimer(nullptr, m_nTimer);
    m_nTimer = 0;
}

bool ScreenScript::OnIdle() {
    if (!m_bRunning) return false;
    if (!m_strFailure.empty()) {
        CloseEverything();
        return false;
    }
    if (m_nNext == m_steps.size()) return false;

    if (m_steps[m_nNext].step()) {
        ++m_nNext;
        m_dwStepStarted = ::GetTickCount();
        return true;
    }
    if (::GetTickCount() - m_dwStepStarted > m_dwTimeout) {
        m_strFailure = m_steps[m_nNext].name;
        CloseEverything();
    }
    return false;
}

void ScreenScript::CloseEverything() {
    for (HWND hwnd : VisibleWindows()) ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
}

std::vector<HWND> ScreenScript::VisibleWindows() {
    std::vector<HWND> windows;
    const DWORD dwThread = ::GetCurrentThreadId();
    for (const auto& top : headless::TopLevelWindows()) {
        if (top.visible && ::GetWindowThreadProcessId(top.hwnd, nullptr) == dwThread)
            windows.push_back(top.hwnd);
    }
    return windows;
}

HWND ScreenScript::FindVisible(const char* title, const char* className) {
    for (const auto& top : headless::TopLevelWindows()) {
        if (!top.visible) continue;
        if (title && top.title != title) continue;
        if (className && top.className != className) continue;
        return top.hwnd;
    }
    return nullptr;
}

HWND ScreenScript::Topmost() {
    std::vector<HWND> windows = VisibleWindows();
    return windows.empty() ? nullptr : windows.front();
}
