// Posting, sending, retrieving and dispatching messages.
#include <vector>

#include "input.h"
#include "queue.h"
#include "timers.h"
#include "wait.h"
#include "window.h"

namespace win::core {
namespace {

const HWND kThreadOnly = reinterpret_cast<HWND>(intptr_t(-1));

bool InRange(UINT message, UINT min, UINT max) {
    if (min == 0 && max == 0) return true;
    return message >= min && message <= max;
}

bool MatchesWindow(HWND hwnd, HWND filter) {
    if (!filter) return true;
    if (filter == kThreadOnly) return hwnd == nullptr;
    return hwnd == filter || IsDescendant(filter, hwnd);
}

MSG Stamp(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{hwnd, message, wParam, lParam, GetTickCount(), CursorPosition()};
    return msg;
}

bool TakeFrom(std::deque<MSG>& list, HWND filter, UINT min, UINT max, bool remove, MSG* out) {
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (!InRange(it->message, min, max) || !MatchesWindow(it->hwnd, filter)) continue;
        *out = *it;
        if (remove) list.erase(it);
        return true;
    }
    return false;
}

// The next message in Windows' retrieval order: posted messages, input,
// WM_QUIT, WM_PAINT (parents first), WM_TIMER. Holds BigLock().
bool TakeMessage(ThreadQueue& queue, HWND filter, UINT min, UINT max, bool remove, MSG* out) {
    queue.newBits = 0;
    if (TakeFrom(queue.posted, filter, min, max, remove, out)) return true;
    while (TakeFrom(queue.input, filter, min, max, remove, out)) {
        // Input for a window that went away or was disabled since is dropped.
        auto w = LookupWindow(out->hwnd);
        if (remove) KeyMessageRetrieved(*out);
        if (w && IsEnabled(*w)) return true;
        if (!remove) {
            std::erase_if(queue.input, [&](const MSG& m) { return m.hwnd == out->hwnd; });
        }
    }
    if (queue.quit && InRange(WM_QUIT, min, max)) {
        *out = Stamp(nullptr, WM_QUIT, WPARAM(queue.quitCode), 0);
        if (remove) queue.quit = false;
        return true;
    }
    if (InRange(WM_PAINT, min, max)) {
        for (auto& w : PaintOrder(queue.threadId)) {
            if (RectEmpty(w->update) || !IsVisible(*w) || !MatchesWindow(w->hwnd, filter)) continue;
            *out = Stamp(w->hwnd, WM_PAINT, 0, 0);
            return true;
        }
    }
    if (InRange(WM_TIMER, min, max) && TakeDueTimer(queue.threadId, filter, remove, out)) {
        out->time = GetTickCount();
        out->pt = CursorPosition();
        return true;
    }
    return false;
}

bool ValidFilter(HWND filter) {
    if (!filter || filter == kThreadOnly) return true;
    auto w = LookupWindow(filter);
    return w && w->threadId == GetCurrentThreadId();
}

// After a mouse message is taken, the window under the pointer sets the
// cursor, as Windows does while it processes mouse input.
void AfterRetrieve(const MSG& msg) {
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && msg.hwnd && !GetCapture())
        SendMessageA(msg.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(msg.hwnd),
                     MAKELPARAM(HTCLIENT, msg.message));
}

void Remember(ThreadQueue& queue, const MSG& msg) {
    queue.lastTime = msg.time;
    queue.lastPos = msg.pt;
}

}  // namespace

bool HasMessageFor(ThreadQueue& queue, DWORD wakeMask) {
    MSG msg;
    if ((wakeMask & (QS_POSTMESSAGE | QS_ALLPOSTMESSAGE)) && (!queue.posted.empty() || queue.quit))
        return true;
    if ((wakeMask & QS_INPUT) && !queue.input.empty()) return true;
    if ((wakeMask & QS_PAINT) && TakeMessage(queue, nullptr, WM_PAINT, WM_PAINT, false, &msg))
        return true;
    if ((wakeMask & QS_TIMER) && TakeDueTimer(queue.threadId, nullptr, false, &msg)) return true;
    return false;
}

}  // namespace win::core

using namespace win::core;

BOOL WINAPI PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    Guard lock(BigLock());
    return PostToQueue(threadId, Stamp(nullptr, message, wParam, lParam)) ? TRUE : FALSE;
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Guard lock(BigLock());
    if (!hwnd) return PostToQueue(GetCurrentThreadId(), Stamp(nullptr, message, wParam, lParam));
    if (hwnd == HWND_BROADCAST) {
        for (HWND top : TopLevels()) {
            if (auto w = LookupWindow(top))
                PostToQueue(w->threadId, Stamp(top, message, wParam, lParam));
        }
        return TRUE;
    }
    auto w = LookupWindow(hwnd);
    if (!w || w->destroying || w->threadId == 0) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return PostToQueue(w->threadId, Stamp(hwnd, message, wParam, lParam)) ? TRUE : FALSE;
}

void WINAPI PostQuitMessage(int exitCode) {
    Guard lock(BigLock());
    auto queue = CurrentQueue();
    queue->quit = true;
    queue->quitCode = exitCode;
    WakeThread(queue->threadId);
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc;
    {
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w || !w->proc) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        // Sends between threads are not supported: the caller would block on
        // a thread that may be blocked on it. They fail instead.
        if (w->threadId != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
        proc = w->proc;
    }
    return proc(hwnd, message, wParam, lParam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

BOOL WINAPI InSendMessage() { return FALSE; }

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    if (!msg) return FALSE;
    MSG found;
    {
        Guard lock(BigLock());
        if (!ValidFilter(hwnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        auto queue = CurrentQueue();
        if (!TakeMessage(*queue, hwnd, filterMin, filterMax, (removeMsg & PM_REMOVE) != 0, &found))
            return FALSE;
        Remember(*queue, found);
    }
    *msg = found;
    if (removeMsg & PM_REMOVE) AfterRetrieve(found);
    return TRUE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    MSG found;
    {
        Guard lock(BigLock());
        if (!ValidFilter(hwnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return -1;
        }
        auto queue = CurrentQueue();
        while (!TakeMessage(*queue, hwnd, filterMin, filterMax, true, &found)) {
            Clock::time_point due;
            bool hasDue = NextTimerDue(queue->threadId, &due);
            BlockUntil(lock, hasDue, due, true);
        }
        Remember(*queue, found);
    }
    *msg = found;
    AfterRetrieve(found);
    return found.message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI WaitMessage() {
    return MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0
               ? TRUE
               : FALSE;
}

// Returns at once when a matching message already waits, whether or not the
// thread has looked at it before: waiting for "new" input only, as Windows
// does, loses wake-ups for callers that peeked without removing.
DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                       DWORD milliseconds, DWORD wakeMask) {
    std::shared_ptr<ThreadQueue> queue;
    {
        Guard lock(BigLock());
        queue = CurrentQueue();
    }
    bool hasDeadline = HasDeadline(milliseconds);
    auto deadline = hasDeadline ? DeadlineAfter(milliseconds) : Clock::time_point{};
    for (;;) {
        // Wake for the earliest timer too, so WM_TIMER is noticed in time.
        DWORD slice = milliseconds;
        {
            Guard lock(BigLock());
            Clock::time_point due;
            if ((wakeMask & QS_TIMER) && NextTimerDue(queue->threadId, &due)) {
                auto until = hasDeadline ? std::min(due, deadline) : due;
                auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
                slice = static_cast<DWORD>(std::max<long long>(0, left.count()) + 1);
            } else if (hasDeadline) {
                auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
                slice = static_cast<DWORD>(std::max<long long>(0, left.count()));
            }
        }
        DWORD result = WaitForObjects(handles, count, waitAll != FALSE, slice,
                                      [&] { return HasMessageFor(*queue, wakeMask); });
        if (result != WAIT_TIMEOUT) return result;
        if (hasDeadline && Clock::now() >= deadline) return WAIT_TIMEOUT;
    }
}

DWORD WINAPI GetQueueStatus(UINT flags) {
    Guard lock(BigLock());
    auto queue = CurrentQueue();
    DWORD status = 0;
    if (!queue->posted.empty() || queue->quit) status |= QS_POSTMESSAGE;
    for (auto& m : queue->input) {
        if (m.message == WM_MOUSEMOVE)
            status |= QS_MOUSEMOVE;
        else if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST)
            status |= QS_MOUSEBUTTON;
        else
            status |= QS_KEY;
    }
    MSG msg;
    if (TakeMessage(*queue, nullptr, WM_PAINT, WM_PAINT, false, &msg)) status |= QS_PAINT;
    if (TakeDueTimer(queue->threadId, nullptr, false, &msg)) status |= QS_TIMER;
    status &= flags;
    return (status << 16) | status;
}

DWORD WINAPI GetMessageTime() {
    Guard lock(BigLock());
    return CurrentQueue()->lastTime;
}

DWORD WINAPI GetMessagePos() {
    Guard lock(BigLock());
    POINT p = CurrentQueue()->lastPos;
    return static_cast<DWORD>(MAKELONG(p.x, p.y));
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    WNDPROC proc = nullptr;
    {
        Guard lock(BigLock());
        if (msg->message == WM_TIMER && msg->lParam &&
            IsTimerProc(msg->hwnd, msg->wParam, msg->lParam)) {
            auto timerProc = reinterpret_cast<TIMERPROC>(msg->lParam);
            lock.unlock();
            timerProc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
            return 0;
        }
        if (!msg->hwnd) return 0;
        auto w = LookupWindow(msg->hwnd);
        if (!w || w->threadId != GetCurrentThreadId()) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        proc = w->proc;
    }
    if (!proc) return 0;
    LRESULT result = proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    if (msg->message == WM_PAINT) {
        // A procedure that ignored WM_PAINT would otherwise get it forever.
        Guard lock(BigLock());
        if (auto w = LookupWindow(msg->hwnd)) {
            w->update = {};
            w->erase = false;
        }
    }
    return result;
}
