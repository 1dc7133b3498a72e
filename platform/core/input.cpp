// Routing of mouse and keyboard input, capture, focus, activation,
// mouse-leave tracking, key state and the cursor.
#include "input.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "backend.h"
#include "queue.h"
#include "window.h"

namespace win::core {
namespace {

struct InputState {
    POINT cursor{};
    HWND capture = nullptr;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND tracking = nullptr;  // the window that asked for WM_MOUSELEAVE
    HCURSOR cursorShape = nullptr;
    bool keys[256] = {};  // as the keys are now (GetAsyncKeyState)
    bool toggled[256] = {};
    // As of the last key message taken from a queue (GetKeyState).
    bool heldAtMessage[256] = {};
    bool toggledAtMessage[256] = {};
    // The last button press, for double clicks.
    HWND lastDownWindow = nullptr;
    UINT lastDownMessage = 0;
    DWORD lastDownTime = 0;
    POINT lastDownPoint{};
};

InputState& State() {
    static auto* state = new InputState;
    return *state;
}

WPARAM MouseKeyFlags() {
    auto& s = State();
    WPARAM flags = 0;
    if (s.keys[VK_LBUTTON]) flags |= MK_LBUTTON;
    if (s.keys[VK_RBUTTON]) flags |= MK_RBUTTON;
    if (s.keys[VK_MBUTTON]) flags |= MK_MBUTTON;
    if (s.keys[VK_SHIFT]) flags |= MK_SHIFT;
    if (s.keys[VK_CONTROL]) flags |= MK_CONTROL;
    return flags;
}

LPARAM ClientPoint(Window& w, POINT screen) {
    POINT origin = ClientOrigin(w);
    return MAKELPARAM(screen.x - origin.x, screen.y - origin.y);
}

// Posts WM_MOUSELEAVE when the pointer is no longer over the tracking window.
void CheckLeave(HWND under) {
    auto& s = State();
    if (!s.tracking || s.tracking == under) return;
    HWND left = s.tracking;
    s.tracking = nullptr;
    if (auto w = LookupWindow(left)) {
        MSG msg{left, WM_MOUSELEAVE, 0, 0, GetTickCount(), s.cursor};
        PostToQueue(w->threadId, msg);
    }
}

// Where mouse input goes: the capturing window, or the deepest enabled
// visible window under the pointer. Null when the input is dropped.
// `within`, when given, is the top-level window whose native window received
// the event: the point is looked up in it alone.
HWND Under(POINT screen, HWND within) {
    return within ? HitTestIn(within, screen, true) : HitTest(screen, true);
}

std::shared_ptr<Window> MouseTarget(POINT screen, HWND within) {
    auto& s = State();
    if (s.capture) {
        if (auto w = LookupWindow(s.capture)) return w;
        s.capture = nullptr;
    }
    auto w = LookupWindow(Under(screen, within));
    if (!w || !IsEnabled(*w)) return nullptr;  // e.g. the owner of a modal dialog
    return w;
}

// Makes `hwnd` (a top-level window, or null) the active window: it comes to
// the top of the z-order (below windows that stay on top, unless it is one),
// becomes its owners' last active popup, and the backend hands the native
// keyboard focus to it. Answers the previous active window.
// The window a press on `hwnd` brings forward when its top-level window is
// disabled by a modal dialog: that window's last active popup, which is the
// innermost dialog of a chain of modal dialogs (home, a screen, a list).
// Null when there is none on this thread.
HWND ModalPopupOf(HWND hwnd) {
    auto hit = LookupWindow(hwnd);
    if (!hit) return nullptr;
    Window& top = TopLevelOf(*hit);
    if (IsEnabled(top) || top.threadId != GetCurrentThreadId()) return nullptr;
    auto popup = LookupWindow(top.lastActivePopup);
    if (!popup || popup->destroying || !IsVisible(*popup) || !IsEnabled(*popup)) return nullptr;
    return popup->hwnd;
}

HWND MarkActive(HWND hwnd) {
    auto& s = State();
    HWND previous = s.active;
    s.active = hwnd;
    if (auto w = LookupWindow(hwnd)) {
        auto& tops = TopLevels();
        std::erase(tops, hwnd);
        auto at = tops.begin();
        if (!(w->exStyle & WS_EX_TOPMOST)) {
            while (at != tops.end()) {
                auto t = LookupWindow(*at);
                if (!t || !(t->exStyle & WS_EX_TOPMOST)) break;
                ++at;
            }
        }
        tops.insert(at, hwnd);
        for (auto o = LookupWindow(w->owner); o; o = LookupWindow(o->owner))
            o->lastActivePopup = hwnd;
    }
    CurrentBackend().WindowActivated(hwnd);
    return previous;
}

void QueueInput(Window& w, UINT message, WPARAM wParam, LPARAM lParam, DWORD time) {
    auto queue = QueueOf(w.threadId);
    if (!queue) return;
    MSG msg{w.hwnd, message, wParam, lParam, time, State().cursor};
    // Moves coalesce, as on Windows: only the latest position matters.
    if (message == WM_MOUSEMOVE && !queue->input.empty()) {
        MSG& last = queue->input.back();
        if (last.message == WM_MOUSEMOVE && last.hwnd == w.hwnd) {
            last = msg;
            return;
        }
    }
    PostInput(w.threadId, msg);
}

UINT ButtonMessage(MouseButton button, bool down) {
    switch (button) {
        case MouseButton::Left: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case MouseButton::Right: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case MouseButton::Middle: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
    return WM_NULL;
}

int ButtonKey(MouseButton button) {
    switch (button) {
        case MouseButton::Left: return VK_LBUTTON;
        case MouseButton::Right: return VK_RBUTTON;
        case MouseButton::Middle: return VK_MBUTTON;
    }
    return 0;
}

bool OnCurrentThread(HWND hwnd) {
    auto w = LookupWindow(hwnd);
    return w && w->threadId == GetCurrentThreadId();
}

}  // namespace

POINT CursorPosition() {
    Guard lock(BigLock());
    return State().cursor;
}

void InjectMouseMove(POINT screen, DWORD time, HWND within) {
    Guard lock(BigLock());
    auto& s = State();
    s.cursor = screen;
    CheckLeave(Under(screen, within));
    if (auto w = MouseTarget(screen, within))
        QueueInput(*w, WM_MOUSEMOVE, MouseKeyFlags(), ClientPoint(*w, screen), time);
}

void InjectMouseButton(POINT screen, MouseButton button, bool down, DWORD time, HWND within) {
    HWND activate = nullptr;
    HWND bringForward = nullptr;
    {
        Guard lock(BigLock());
        auto& s = State();
        s.cursor = screen;
        s.keys[ButtonKey(button)] = down;
        s.heldAtMessage[ButtonKey(button)] = down;
        HWND under = Under(screen, within);
        CheckLeave(under);
        auto w = MouseTarget(screen, within);
        if (!w) {
            if (down && !s.capture) bringForward = ModalPopupOf(under);
            if (bringForward && bringForward == s.active) {
                CurrentBackend().WindowActivated(
                    bringForward);  // the native focus may have strayed
                return;
            }
        } else {
            UINT message = ButtonMessage(button, down);
            if (down) {
                int dx = std::abs(screen.x - s.lastDownPoint.x);
                int dy = std::abs(screen.y - s.lastDownPoint.y);
                bool dbl = (w->cls && (w->cls->info.style & CS_DBLCLKS)) &&
                           s.lastDownWindow == w->hwnd && s.lastDownMessage == message &&
                           time - s.lastDownTime <= GetDoubleClickTime() &&
                           dx <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                           dy <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
                if (dbl) {
                    s.lastDownWindow = nullptr;  // a third press is a plain press
                    message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
                } else {
                    s.lastDownWindow = w->hwnd;
                    s.lastDownMessage = message;
                    s.lastDownTime = time;
                    s.lastDownPoint = screen;
                }
                // A press activates the top-level window it falls in; on the
                // active window it hands it the native keyboard again, in
                // case the window system lost it.
                Window& top = TopLevelOf(*w);
                if (!s.capture && top.threadId == GetCurrentThreadId()) {
                    if (top.hwnd != s.active)
                        activate = top.hwnd;
                    else
                        CurrentBackend().WindowActivated(top.hwnd);
                }
            }
            QueueInput(*w, message, MouseKeyFlags(), ClientPoint(*w, screen), time);
        }
    }
    if (bringForward) {
        SetActiveWindow(bringForward);
        return;
    }
    if (activate) {
        HWND previous = GetActiveWindow();
        {
            Guard lock(BigLock());
            MarkActive(activate);
        }
        if (previous && IsWindow(previous))
            SendMessageA(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(activate));
        SendMessageA(activate, WM_ACTIVATE, WA_CLICKACTIVE, reinterpret_cast<LPARAM>(previous));
    }
}

void InjectMouseWheel(POINT screen, int delta) {
    Guard lock(BigLock());
    auto& s = State();
    s.cursor = screen;
    CheckLeave(HitTest(screen, true));
    delta = std::clamp(delta, -32768, 32767);
    WPARAM flags = MouseKeyFlags();
    WORD turn = static_cast<WORD>(static_cast<short>(delta));
    if (auto w = MouseTarget(screen, nullptr))
        QueueInput(*w, WM_MOUSEWHEEL, MAKEWPARAM(flags, turn), MAKELPARAM(screen.x, screen.y),
                   GetTickCount());
}

void InjectPointerLeft() {
    Guard lock(BigLock());
    CheckLeave(nullptr);
}

void InjectKey(UINT virtualKey, bool down) {
    Guard lock(BigLock());
    auto& s = State();
    virtualKey &= 0xFF;
    if (down && !s.keys[virtualKey]) s.toggled[virtualKey] = !s.toggled[virtualKey];
    bool repeat = down && s.keys[virtualKey];
    s.keys[virtualKey] = down;
    auto w = LookupWindow(s.focus ? s.focus : s.active);
    if (!w || !IsEnabled(*w)) {
        // No message to wait for: the key's state is taken at once.
        s.heldAtMessage[virtualKey] = down;
        s.toggledAtMessage[virtualKey] = s.toggled[virtualKey];
        return;
    }
    LPARAM lParam = 1;
    if (repeat) lParam |= 0x40000000;
    if (!down) lParam |= LPARAM(0xC0000000);
    // With Alt held (and not Ctrl) keys are system keys, as is Alt itself:
    // they open the system menu rather than reach the control.
    const bool alt = s.keys[VK_MENU] || virtualKey == VK_MENU;
    const bool system = alt && !s.keys[VK_CONTROL];
    if (s.keys[VK_MENU]) lParam |= 0x20000000;  // the context code: Alt is down
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    QueueInput(*w, message, virtualKey, lParam, GetTickCount());
}

void KeyMessageRetrieved(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP && msg.message != WM_SYSKEYDOWN &&
        msg.message != WM_SYSKEYUP)
        return;
    auto& s = State();
    const UINT vk = UINT(msg.wParam) & 0xFF;
    const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    if (down && !s.heldAtMessage[vk]) s.toggledAtMessage[vk] = !s.toggledAtMessage[vk];
    s.heldAtMessage[vk] = down;
}

void InjectChar(unsigned char ch) {
    Guard lock(BigLock());
    auto& s = State();
    auto w = LookupWindow(s.focus ? s.focus : s.active);
    if (!w || !IsEnabled(*w)) return;
    QueueInput(*w, WM_CHAR, ch, 1, GetTickCount());
}

void ForgetWindowInput(HWND hwnd) {
    Guard lock(BigLock());
    auto& s = State();
    if (s.capture == hwnd) s.capture = nullptr;
    if (s.tracking == hwnd) s.tracking = nullptr;
    if (s.lastDownWindow == hwnd) s.lastDownWindow = nullptr;
    if (s.active == hwnd) MarkActive(nullptr);
    if (s.focus == hwnd) s.focus = nullptr;
}

}  // namespace win::core

using namespace win::core;

HWND WINAPI SetCapture(HWND hwnd) {
    HWND previous;
    {
        Guard lock(BigLock());
        if (!OnCurrentThread(hwnd)) return nullptr;
        previous = State().capture;
        State().capture = hwnd;
    }
    if (previous && previous != hwnd)
        SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

BOOL WINAPI ReleaseCapture() {
    HWND previous;
    {
        Guard lock(BigLock());
        previous = State().capture;
        State().capture = nullptr;
    }
    if (previous) SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND WINAPI GetCapture() {
    Guard lock(BigLock());
    HWND capture = State().capture;
    return OnCurrentThread(capture) ? capture : nullptr;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    *point = CursorPosition();
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
    InjectMouseMove({x, y}, GetTickCount());
    return TRUE;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    Guard lock(BigLock());
    HCURSOR previous = State().cursorShape;
    if (previous != cursor) {
        State().cursorShape = cursor;
        CurrentBackend().SetCursor(cursor);
    }
    return previous;
}

HCURSOR WINAPI GetCursor() {
    Guard lock(BigLock());
    return State().cursorShape;
}

UINT WINAPI GetDoubleClickTime() { return 500; }

BOOL WINAPI _TrackMouseEvent(LPTRACKMOUSEEVENT track) {
    if (!track || track->cbSize < sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Guard lock(BigLock());
    auto& s = State();
    if (track->dwFlags & TME_QUERY) {
        track->dwFlags = s.tracking ? TME_LEAVE : 0;
        track->hwndTrack = s.tracking;
        return TRUE;
    }
    auto w = LookupWindow(track->hwndTrack);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!(track->dwFlags & TME_LEAVE)) return TRUE;
    if (track->dwFlags & TME_CANCEL) {
        if (s.tracking == w->hwnd) s.tracking = nullptr;
        return TRUE;
    }
    // Not under the pointer now: the leave is reported at once.
    if (HitTest(s.cursor, true) != w->hwnd) {
        MSG msg{w->hwnd, WM_MOUSELEAVE, 0, 0, GetTickCount(), s.cursor};
        PostToQueue(w->threadId, msg);
        return TRUE;
    }
    if (s.tracking && s.tracking != w->hwnd) CheckLeave(w->hwnd);
    s.tracking = w->hwnd;
    return TRUE;
}

BOOL WINAPI TrackMouseEvent(LPTRACKMOUSEEVENT track) { return _TrackMouseEvent(track); }

HWND WINAPI GetFocus() {
    Guard lock(BigLock());
    HWND focus = State().focus;
    return OnCurrentThread(focus) ? focus : nullptr;
}

HWND WINAPI SetFocus(HWND hwnd) {
    HWND previous;
    {
        Guard lock(BigLock());
        if (hwnd && !OnCurrentThread(hwnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        previous = State().focus;
        if (!OnCurrentThread(previous)) previous = nullptr;
        if (previous == hwnd) return previous;
    }
    if (hwnd) {
        // Focus lives in the active window: activate its top-level first.
        HWND top = GetAncestor(hwnd, GA_ROOT);
        if (top && top != GetActiveWindow()) SetActiveWindow(top);
        {
            Guard lock(BigLock());
            if (State().focus == hwnd) return previous;
            previous = State().focus;
            if (!OnCurrentThread(previous)) previous = nullptr;
        }
    }
    if (previous && IsWindow(previous))
        SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    {
        Guard lock(BigLock());
        if (hwnd && !LookupWindow(hwnd)) return nullptr;  // destroyed meanwhile
        State().focus = hwnd;
    }
    if (hwnd) SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND WINAPI GetActiveWindow() {
    Guard lock(BigLock());
    HWND active = State().active;
    return OnCurrentThread(active) ? active : nullptr;
}

HWND WINAPI SetActiveWindow(HWND hwnd) {
    HWND previous;
    {
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w || w->threadId != GetCurrentThreadId() || w->parent) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        previous = State().active;
        if (previous == hwnd) return previous;
        MarkActive(hwnd);
    }
    // Another window becoming active ends an open menu, as on Windows (a
    // message box opened from a loop nested in the menu's is reached).
    EndMenu();
    if (previous && IsWindow(previous))
        SendMessageA(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
    if (IsWindow(hwnd))
        SendMessageA(hwnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
    return previous;
}

BOOL WINAPI SetForegroundWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return FALSE;
    HWND top = GetAncestor(hwnd, GA_ROOT);
    SetActiveWindow(top);
    return TRUE;
}

HWND WINAPI GetLastActivePopup(HWND hwnd) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    // The popup must still be up and still owned (at some depth) by hwnd.
    auto popup = LookupWindow(w->lastActivePopup);
    if (!popup || popup->destroying || !(popup->style & WS_VISIBLE)) return hwnd;
    for (auto o = LookupWindow(popup->owner); o; o = LookupWindow(o->owner))
        if (o->hwnd == hwnd) return popup->hwnd;
    return hwnd;
}

HWND WINAPI GetForegroundWindow() {
    Guard lock(BigLock());
    return State().active;
}

SHORT WINAPI GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    Guard lock(BigLock());
    auto& s = State();
    SHORT state = s.heldAtMessage[virtualKey] ? SHORT(0x8000) : 0;
    if (s.toggledAtMessage[virtualKey]) state |= 1;
    return state;
}

SHORT WINAPI GetAsyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    Guard lock(BigLock());
    return State().keys[virtualKey] ? SHORT(0x8000) : 0;
}

HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    Guard lock(BigLock());
    auto dlg = LookupWindow(dialog);
    if (!dlg) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    std::vector<HWND> stops;
    for (HWND h : dlg->children) {
        auto c = LookupWindow(h);
        if (c && (c->style & WS_TABSTOP) && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED))
            stops.push_back(h);
    }
    if (stops.empty()) return control;
    auto it = std::find(stops.begin(), stops.end(), control);
    if (it == stops.end()) {
        // The starting control need not be a tab stop itself: continue from
        // its place in the z-order.
        auto pos = std::find(dlg->children.begin(), dlg->children.end(), control);
        if (pos == dlg->children.end()) return previous ? stops.back() : stops.front();
        if (!previous) {
            for (auto next = pos; next != dlg->children.end(); ++next)
                if (std::find(stops.begin(), stops.end(), *next) != stops.end()) return *next;
            return stops.front();
        }
        for (auto prev = std::make_reverse_iterator(pos); prev != dlg->children.rend(); ++prev)
            if (std::find(stops.begin(), stops.end(), *prev) != stops.end()) return *prev;
        return stops.back();
    }
    size_t index = size_t(it - stops.begin());
    size_t n = stops.size();
    return stops[previous ? (index + n - 1) % n : (index + 1) % n];
}
