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
    int (*grabPointer)(Display*, Window, Bool, unsigned, int, int, Window, Cursor, Time) = nullptr;
    int (*ungrabPointer)(Display*, Time) = nullptr;
    int (*sync)(Display*, Bool) = nullptr;
    bool ok = false;
};

const Xlib& Lib() {
    static const Xlib lib = [] {
        Xlib x;
        void* handle = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        if (!handle) return x;
        x.setErrorHandler = reinterpret_cast<decltype(x.setErrorHandler)>(dlsym(handle, "XSetErrorHandler"));
        x.setInputFocus = reinterpret_cast<decltype(x.setInputFocus)>(dlsym(handle, "XSetInputFocus"));
        x.grabPointer = reinterpret_cast<decltype(x.grabPointer)>(dlsym(handle, "XGrabPointer"));
        x.ungrabPointer = reinterpret_cast<decltype(x.ungrabPointer)>(dlsym(handle, "XUngrabPointer"));
        x.sync = reinterpret_cast<decltype(x.sync)>(dlsym(handle, "XSync"));
        x.ok = x.setErrorHandler && x.setInputFocus && x.grabPointer && x.ungrabPointer &&
               x.sync;
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

#endif

}  // namespace

#if defined(SDL_VIDEO_DRIVER_X11)

bool FocusWindow(SDL_Window* window) {
    Display* display;
    Window xwindow;
    if (!Native(window, &display, &xwindow)) return false;
    Checked(display, [&] { Lib().setInputFocus(display, xwindow, RevertToPointerRoot, CurrentTime); });
    return true;
}

bool GrabPointer(SDL_Window* window) {
    Display* display;
    Window xwindow;
    if (!Native(window, &display, &xwindow)) return false;
    int status = GrabNotViewable;
    const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    const bool sent = Checked(display, [&] {
        status = Lib().grabPointer(display, xwindow, True, mask, GrabModeAsync, GrabModeAsync, None, None,
                                   CurrentTime);
    });
    return sent && status == GrabSuccess;
}

void UngrabPointer(SDL_Window* window) {
    Display* display;
    Window xwindow;
    if (!Native(window, &display, &xwindow)) return;
    Checked(display, [&] { Lib().ungrabPointer(display, CurrentTime); });
}

#else

bool FocusWindow(SDL_Window*) { return false; }
bool GrabPointer(SDL_Window*) { return false; }
void UngrabPointer(SDL_Window*) {}

#endif

}  // namespace win::sdl::x11
