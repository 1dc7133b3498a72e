#include "timers.h"

#include <algorithm>
#include <vector>

#include "window.h"

namespace win::core {
namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    DWORD threadId;
    std::chrono::milliseconds interval;
    Clock::time_point due;
    TIMERPROC proc;
};

std::vector<Timer>& Timers() {
    static auto* timers = new std::vector<Timer>;
    return *timers;
}

bool Matches(const Timer& t, HWND filter) {
    if (!filter) return true;
    if (filter == reinterpret_cast<HWND>(intptr_t(-1))) return t.hwnd == nullptr;
    return t.hwnd == filter || IsDescendant(filter, t.hwnd);
}

}  // namespace

bool TakeDueTimer(DWORD threadId, HWND filter, bool remove, MSG* out) {
    auto now = Clock::now();
    for (auto& t : Timers()) {
        if (t.threadId != threadId || t.due > now || !Matches(t, filter)) continue;
        out->hwnd = t.hwnd;
        out->message = WM_TIMER;
        out->wParam = t.id;
        out->lParam = reinterpret_cast<LPARAM>(t.proc);
        // One WM_TIMER at a time: the next falls due an interval later.
        if (remove) t.due = now + t.interval;
        return true;
    }
    return false;
}

bool NextTimerDue(DWORD threadId, Clock::time_point* due) {
    bool any = false;
    for (auto& t : Timers()) {
        if (t.threadId != threadId) continue;
        if (!any || t.due < *due) *due = t.due;
        any = true;
    }
    return any;
}

bool IsTimerProc(HWND hwnd, UINT_PTR id, LPARAM proc) {
    for (auto& t : Timers())
        if (t.hwnd == hwnd && t.id == id && reinterpret_cast<LPARAM>(t.proc) == proc) return true;
    return false;
}

void KillWindowTimers(HWND hwnd) {
    std::erase_if(Timers(), [&](const Timer& t) { return t.hwnd == hwnd; });
}

void KillThreadTimers(DWORD threadId) {
    std::erase_if(Timers(), [&](const Timer& t) { return t.threadId == threadId; });
}

}  // namespace win::core

using namespace win::core;

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    Guard lock(BigLock());
    DWORD threadId = GetCurrentThreadId();
    if (hwnd) {
        auto w = LookupWindow(hwnd);
        if (!w || w->threadId != threadId) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
    } else {
        // A thread timer gets a fresh id unless it names one of its own.
        bool own = id && std::any_of(Timers().begin(), Timers().end(), [&](const Timer& t) {
                       return !t.hwnd && t.id == id && t.threadId == threadId;
                   });
        if (!own) {
            static UINT_PTR next = 0x7FF0;
            id = ++next;
        }
    }
    elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    auto interval = std::chrono::milliseconds(elapse);
    Timer timer{hwnd, id, threadId, interval, Clock::now() + interval, proc};
    auto it = std::find_if(Timers().begin(), Timers().end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it != Timers().end())
        *it = timer;
    else
        Timers().push_back(timer);
    StateChanged().notify_all();
    return hwnd ? (id ? id : 1) : id;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id) {
    Guard lock(BigLock());
    size_t removed = std::erase_if(Timers(), [&](const Timer& t) {
        return t.hwnd == hwnd && t.id == id && (hwnd || t.threadId == GetCurrentThreadId());
    });
    if (!removed) SetLastError(ERROR_INVALID_PARAMETER);
    return removed ? TRUE : FALSE;
}
