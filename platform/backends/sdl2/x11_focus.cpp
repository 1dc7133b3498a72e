#include "x11_focus.h"

#include <SDL_syswm.h>
#include <dlfcn.h>

namespace win::sdl::x11 {
namespace {

#if defined(SDL_VIDEO_DRIVER_X11)

// Xlib's entry points, taken from the copy SDL already loaded (SDL opens it
// itself, so the program does not link it).
struct Xlib {
    using ErrorHandler = int (*)(Display*, XErrorEvent*);
    ErrorHandler (*setErrorHandler)(ErrorHandler) = nullptr;
    int (*setInputFocus)(Display*, Window, int, Time) = nullptr;
    int (*getInputFocus)(Display*, Window*, int*) = nullptr;
    int (*grabPointer)(Display*, Window, Bool, unsigned, int, int, Window, Cursor, Time) = nullptr;
    int (*ungrabPointer)(Display*, Time) = nullptr;
    int (*sync)(Display*, Bool) = nullptr;
    Bool (*queryExtension)(Display*, const char*, int*, int*, int*) = nullptr;
    Bool (*translateCoordinates)(Display*, Window, Window, int, int, int*, int*, Window*) = nullptr;
    Window (*defaultRootWindow)(Display*) = nullptr;
    bool ok = false;
};

const Xlib& Lib() {
    static const Xlib lib = [] {
        Xlib x;
        // The library SDL opens itself (loaded here first when the handler
        // below is installed before SDL starts).
        void* handle = dlopen("libX11.so.6", RTLD_LAZY);
        if (!handle) return x;
        x.setErrorHandler =
            reinterpret_cast<decltype(x.setErrorHandler)>(dlsym(handle, "XSetErrorHandler"));
        x.setInputFocus =
            reinterpret_cast<decltype(x.setInputFocus)>(dlsym(handle, "XSetInputFocus"));
        x.getInputFocus =
            reinterpret_cast<decltype(x.getInputFocus)>(dlsym(handle, "XGetInputFocus"));
        x.grabPointer = reinterpret_cast<decltype(x.grabPointer)>(dlsym(handle, "XGrabPointer"));
        x.ungrabPointer =
            reinterpret_cast<decltype(x.ungrabPointer)>(dlsym(handle, "XUngrabPointer"));
        x.sync = reinterpret_cast<decltype(x.sync)>(dlsym(handle, "XSync"));
        x.queryExtension =
            reinterpret_cast<decltype(x.queryExtension)>(dlsym(handle, "XQueryExtension"));
        x.translateCoordinates = reinterpret_cast<decltype(x.translateCoordinates)>(
            dlsym(handle, "XTranslateCoordinates"));
        x.defaultRootWindow =
            reinterpret_cast<decltype(x.defaultRootWindow)>(dlsym(handle, "XDefaultRootWindow"));
        x.ok = x.setErrorHandler && x.setInputFocus && x.getInputFocus && x.grabPointer &&
               x.ungrabPointer && x.sync && x.queryExtension && x.translateCoordinates &&
               x.defaultRootWindow;
        return x;
    }();
    return lib;
}

bool Native(SDL_Window* window, Display** display, Window* xwindow) {
    if (!window || !Lib().ok) return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    *display = info.info.x11.display;
    *xwindow = info.info.x11.window;
    return *display && *xwindow;
}

// The error of the request being checked; SDL's own handler would end the
// process on a BadMatch from a window that is not viewable yet.
int gFailed = 0;
int Swallow(Display*, XErrorEvent* error) {
    gFailed = error ? error->error_code : 1;
    return 0;
}

// Runs one request with errors caught; true when the server accepted it.
template <typename Request>
bool Checked(Display* display, Request request) {
    const Xlib& x = Lib();
    x.sync(display, False);
    gFailed = 0;
    auto previous = x.setErrorHandler(Swallow);
    request();
    x.sync(display, False);
    x.setErrorHandler(previous);
    return gFailed == 0;
}

Xlib::ErrorHandler gBefore = nullptr;
int SkipVanishedWakeup(Display* display, XErrorEvent* error) {
    constexpr int kSendEvent = 25;  // X_SendEvent
    if (error && error->error_code == BadWindow && error->request_code == kSendEvent) return 0;
    return gBefore ? gBefore(display, error) : 0;
}

#endif

}  // namespace

#if defined(SDL_VIDEO_DRIVER_X11)

void IgnoreVanishedWakeups() {
    static bool installed = false;
    if (installed || !Lib().ok) return;
    installed = true;
    gBefore = Lib().setErrorHandler(SkipVanishedWakeup);
}

bool FocusWindow(SDL_Window* window) {
    Display* display;
    Window xwindow;
    if (!Native(window, &display, &xwindow)) return false;
    Checked(display,
            [&] { Lib().setInputFocus(display, xwindow, RevertToPointerRoot, CurrentTime); });
    return true;
}

bool HasFocus(SDL_Window* window) {
    Display* display;
    Window xwindow;
    if (!Native(window, &display, &xwindow)) return true;
    Window focus = 0;
    int revert = 0;
    Lib().getInputFocus(display, &focus, &revert);
    return focus == xwindow;
}

bool RootPosition(SDL_Window* window, int* x, int* y) {
    Display* display;
    Window xwindow;
    if (!Native(window, &display, &xwindow)) return false;
    Window child = 0;
    bool ok = false;
    Checked(display, [&] {
        ok = Lib().translateCoordinates(display, xwindow, Lib().defaultRootWindow(display), 0, 0, x,
                                        y, &child);
    });
    return ok;
}

bool GrabPointer(SDL_Window* window) {
    Display* display;
    Window xwindow;
    if (!Native(window, &display, &xwindow)) return false;
    int status = GrabNotViewable;
    const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    const bool sent = Checked(display, [&] {
        status = Lib().grabPointer(display, xwindow, True, mask, GrabModeAsync, GrabModeAsync, None,
                                   None, CurrentTime);
    });
    if (!sent || status != GrabSuccess) return false;
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    return true;
}

void UngrabPointer(SDL_Window* window) {
    SDL_EventState(SDL_SYSWMEVENT, SDL_DISABLE);
    Display* display;
    Window xwindow;
    if (!Native(window, &display, &xwindow)) return;
    Checked(display, [&] { Lib().ungrabPointer(display, CurrentTime); });
}

bool RawButton(const SDL_SysWMmsg* msg, bool* down) {
    if (!msg || msg->subsystem != SDL_SYSWM_X11 || !Lib().ok) return false;
    const XEvent& e = msg->msg.x11.event;
    if (e.type != GenericEvent) return false;
    static const int opcode = [display = e.xcookie.display] {
        int major = -1, event = 0, error = 0;
        return Lib().queryExtension(display, "XInputExtension", &major, &event, &error) ? major
                                                                                        : -1;
    }();
    constexpr int kRawButtonPress = 15,
                  kRawButtonRelease = 16;  // XI_RawButtonPress, XI_RawButtonRelease
    if (opcode < 0 || e.xcookie.extension != opcode) return false;
    if (e.xcookie.evtype != kRawButtonPress && e.xcookie.evtype != kRawButtonRelease) return false;
    *down = e.xcookie.evtype == kRawButtonPress;
    return true;
}

#else

void IgnoreVanishedWakeups() {}
bool FocusWindow(SDL_Window*) { return false; }
bool GrabPointer(SDL_Window*) { return false; }
void UngrabPointer(SDL_Window*) {}
bool RawButton(const SDL_SysWMmsg*, bool*) { return false; }
bool RootPosition(SDL_Window*, int*, int*) { return false; }
bool HasFocus(SDL_Window*) { return true; }

#endif

}  // namespace win::sdl::x11
