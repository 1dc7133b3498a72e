// What the window core asks of a display backend: native top-level windows,
// presenting changed pixels, blocking for input and being woken up, and the
// mouse cursor. The headless backend is the default; the SDL2 backend
// replaces it with InstallBackend before the first window is created.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "base/surface.h"
#include "lock.h"

namespace win::core {

class Backend {
public:
    virtual ~Backend() = default;
    virtual SIZE ScreenSize() const = 0;
    // Native top-level windows. Called with BigLock() held; must not call
    // back into the window core.
    virtual void WindowCreated(HWND) {}
    virtual void WindowDestroyed(HWND) {}
    virtual void WindowShown(HWND, bool /*visible*/) {}
    virtual void WindowMoved(HWND, const RECT& /*screen*/) {}
    virtual void WindowTitleChanged(HWND, const std::string&) {}
    // The core made a top-level window the active one (null: none is). The
    // backend hands the keyboard to its native window, so that the native
    // focus follows modal dialogs, message boxes and menus as they come and
    // go. Called with BigLock() held, on the window's thread.
    virtual void WindowActivated(HWND) {}
    // The rectangle `changed` (surface pixels) of a top-level window's
    // pixels was painted. Called with BigLock() held.
    virtual void Present(HWND, const Surface&, const RECT& /*changed*/) {}
    virtual void SetCursor(HCURSOR) {}
    // Full screen: every window of the program over one backdrop of
    // `backdrop` colour that fills the screen, enlarged as far as whole
    // factors let the windows shown fit. Called with BigLock() held.
    virtual bool FullScreen() const { return false; }
    virtual void SetFullScreen(bool /*on*/) {}
    virtual void SetBackdrop(COLORREF /*backdrop*/) {}
    // WM_SETICON changed a top-level window's icons (either may be null).
    // Called with BigLock() held.
    virtual void WindowIconChanged(HWND, HICON /*big*/, HICON /*small*/) {}

    // Blocking. A backend whose user-interface thread must wait on native
    // events answers true for that thread; the core then calls
    // WaitForEvents (without BigLock) instead of waiting itself, and Wake
    // from any thread to end such a wait early.
    virtual bool WaitsForThread(DWORD /*threadId*/) const { return false; }
    virtual void WaitForEvents(int /*timeoutMs*/) {}
    virtual void Wake() {}
    // Called (without BigLock) when a thread is about to block for input;
    // answers true if it did something, in which case the thread looks at
    // its queue again first. Tests use it to act from inside modal loops.
    virtual bool BeforeBlock() { return false; }
};

Backend& CurrentBackend();
void InstallBackend(std::unique_ptr<Backend> backend);

// What CurrentBackend installs when nothing has been: the headless backend
// offers itself here at start-up, so the core never names it.
using BackendFactory = std::unique_ptr<Backend> (*)();
void SetDefaultBackend(BackendFactory factory);

// Whom a backend tells that the user switched full screen on or off (F11,
// the display's own key, which never reaches the program's windows).
using FullScreenListener = void (*)(bool on);
void SetFullScreenListener(FullScreenListener listener);
// A backend's F11: full screen switched over, and the listener told.
void SwitchFullScreen();

// For the queue: block in the backend if it owns the calling thread's
// waits (returns false when it does not).
bool BlockOnBackend(Guard& lock, bool hasDeadline, Clock::time_point deadline);
void WakeBackend();

}  // namespace win::core
