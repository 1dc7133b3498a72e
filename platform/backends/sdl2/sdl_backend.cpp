// The SDL2 backend. Native windows belong to the user-interface thread (the
// one that opened the display); the window core's rectangles stay the truth
// about positions, so a point in a native window is its top-level window's
// screen origin plus the point.
#include "sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>

#include "core/input.h"
#include "core/window.h"
#include "icon_surface.h"
#include "key_map.h"

namespace win::sdl {
namespace {

using core::BigLock;
using core::Guard;

const char kHwndKey[] = "tinto.hwnd";

HWND HwndOfNative(Uint32 windowId) {
    SDL_Window* native = SDL_GetWindowFromID(windowId);
    return native ? static_cast<HWND>(SDL_GetWindowData(native, kHwndKey)) : nullptr;
}

// The screen point of a point in a native window, or false when the window
// is gone.
bool ToScreen(HWND hwnd, int x, int y, POINT* screen) {
    RECT r;
    if (!hwnd || !GetWindowRect(hwnd, &r)) return false;
    *screen = {r.left + x, r.top + y};
    return true;
}

class SdlBackend : public core::Backend {
public:
    SdlBackend(DWORD uiThread, SIZE screen) : uiThread_(uiThread), screen_(screen) {
        wakeEvent_ = SDL_RegisterEvents(1);
    }
    ~SdlBackend() override {
        for (auto& [hwnd, native] : natives_) SDL_DestroyWindow(native);
        for (auto& [id, cursor] : cursors_) SDL_FreeCursor(cursor);
        for (auto& [handle, cursor] : ownCursors_) SDL_FreeCursor(cursor);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    SIZE ScreenSize() const override { return screen_; }

    void WindowCreated(HWND hwnd) override {
        if (!OnUiThread()) return;  // other threads' windows stay off screen
        auto w = core::LookupWindow(hwnd);
        if (!w) return;
        Uint32 flags = SDL_WINDOW_HIDDEN;
        if ((w->style & WS_CAPTION) != WS_CAPTION) flags |= SDL_WINDOW_BORDERLESS;
        if (w->owner) flags |= SDL_WINDOW_SKIP_TASKBAR;
        int width = std::max(1, int(w->rect.right - w->rect.left));
        int height = std::max(1, int(w->rect.bottom - w->rect.top));
        SDL_Window* native = SDL_CreateWindow(w->text.c_str(), w->rect.left, w->rect.top, width, height, flags);
        if (!native) {
            std::fprintf(stderr, "cannot create a native window: %s\n", SDL_GetError());
            return;
        }
        SDL_SetWindowData(native, kHwndKey, hwnd);
        // Owned windows (dialogs, lists) stay above their owner.
        if (SDL_Window* owner = NativeOf(w->owner)) SDL_SetWindowModalFor(native, owner);
        natives_[hwnd] = native;
    }

    void WindowDestroyed(HWND hwnd) override {
        auto it = natives_.find(hwnd);
        if (it == natives_.end()) return;
        SDL_DestroyWindow(it->second);
        natives_.erase(it);
    }

    void WindowShown(HWND hwnd, bool visible) override {
        SDL_Window* native = NativeOf(hwnd);
        if (!native) return;
        if (visible) {
            SDL_ShowWindow(native);
            SDL_RaiseWindow(native);  // a shown window takes the keyboard, as it is activated
            PresentAll(hwnd);
        } else {
            SDL_HideWindow(native);
        }
    }

    void WindowMoved(HWND hwnd, const RECT& r) override {
        SDL_Window* native = NativeOf(hwnd);
        if (!native) return;
        SDL_SetWindowPosition(native, r.left, r.top);
        SDL_SetWindowSize(native, std::max(1, int(r.right - r.left)), std::max(1, int(r.bottom - r.top)));
    }

    void WindowTitleChanged(HWND hwnd, const std::string& title) override {
        if (SDL_Window* native = NativeOf(hwnd)) SDL_SetWindowTitle(native, title.c_str());
    }

    void Present(HWND hwnd, const Surface& pixels, const RECT& changed) override {
        SDL_Window* native = NativeOf(hwnd);
        if (!native || !pixels.pixels) return;
        SDL_Surface* target = SDL_GetWindowSurface(native);
        if (!target) return;
        // A resize may still be on its way: copy what both sizes share.
        SDL_Rect area{int(changed.left), int(changed.top), int(changed.right - changed.left),
                      int(changed.bottom - changed.top)};
        SDL_Rect both{0, 0, std::min(pixels.width, target->w), std::min(pixels.height, target->h)};
        SDL_Rect copy;
        if (!SDL_IntersectRect(&area, &both, &copy)) return;
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
            pixels.pixels, pixels.width, pixels.height, 32, pixels.stride * 4, SDL_PIXELFORMAT_RGB888);
        if (!source) return;
        SDL_Rect to = copy;
        SDL_BlitSurface(source, &copy, target, &to);
        SDL_FreeSurface(source);
        SDL_UpdateWindowSurfaceRects(native, &copy, 1);
    }

    void SetCursor(HCURSOR cursor) override {
        if (!OnUiThread()) return;
        auto icon = icons::Find(cursor);
        if (!icon) {
            SDL_ShowCursor(SDL_DISABLE);
            return;
        }
        SDL_Cursor* shape = nullptr;
        const int system = sdl::SystemCursorFor(icon->systemId);
        if (system >= 0) {
            SDL_Cursor*& made = cursors_[system];
            if (!made) made = SDL_CreateSystemCursor(SDL_SystemCursor(system));
            shape = made;
        } else {
            // A cursor of the program's own: a colour cursor from its
            // pixels and hot spot, made once per handle.
            SDL_Cursor*& made = ownCursors_[cursor];
            if (!made) {
                if (SDL_Surface* surface = sdl::IconSurface(*icon)) {
                    made = SDL_CreateColorCursor(surface, icon->hotspotX, icon->hotspotY);
                    SDL_FreeSurface(surface);
                }
            }
            shape = made;
        }
        if (shape) SDL_SetCursor(shape);
        SDL_ShowCursor(SDL_ENABLE);
    }

    void WindowIconChanged(HWND hwnd, HICON big, HICON small) override {
        SDL_Window* native = NativeOf(hwnd);
        if (!native) return;
        // The native window has one icon: the big one, else the small one.
        auto icon = icons::Find(big ? big : small);
        if (!icon) return;
        if (SDL_Surface* surface = sdl::IconSurface(*icon)) {
            SDL_SetWindowIcon(native, surface);
            SDL_FreeSurface(surface);
        }
    }

    // SDL can only block without polling while a native window exists; until
    // then the core's own wait serves the thread.
    bool WaitsForThread(DWORD threadId) const override {
        return threadId == uiThread_ && !natives_.empty();
    }

    void WaitForEvents(int timeoutMs) override {
        SDL_Event event;
        int got = timeoutMs < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeoutMs);
        if (!got) return;
        do {
            Handle(event);
        } while (SDL_PollEvent(&event));
    }

    void Wake() override {
        if (wakePending_.exchange(true)) return;  // one wake-up in flight is enough
        SDL_Event event{};
        event.type = wakeEvent_;
        if (SDL_PushEvent(&event) <= 0) wakePending_ = false;
    }

private:
    bool OnUiThread() const { return GetCurrentThreadId() == uiThread_; }

    SDL_Window* NativeOf(HWND hwnd) const {
        auto it = natives_.find(hwnd);
        return it == natives_.end() ? nullptr : it->second;
    }

    void PresentAll(HWND hwnd) {
        Guard lock(BigLock());
        auto w = core::LookupWindow(hwnd);
        if (w && (w->style & WS_VISIBLE)) Present(hwnd, w->surface, {0, 0, w->surface.width, w->surface.height});
    }

    // Called without BigLock: the core's entry points take it themselves.
    void Handle(const SDL_Event& event) {
        if (event.type == wakeEvent_) {
            wakePending_ = false;
            return;
        }
        POINT at;
        switch (event.type) {
            case SDL_MOUSEMOTION:
                if (ToScreen(HwndOfNative(event.motion.windowID), event.motion.x, event.motion.y, &at))
                    core::InjectMouseMove(at, GetTickCount());
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                core::MouseButton button;
                switch (event.button.button) {
                    case SDL_BUTTON_LEFT: button = core::MouseButton::Left; break;
                    case SDL_BUTTON_RIGHT: button = core::MouseButton::Right; break;
                    case SDL_BUTTON_MIDDLE: button = core::MouseButton::Middle; break;
                    default: return;
                }
                if (!ToScreen(HwndOfNative(event.button.windowID), event.button.x, event.button.y, &at)) break;
                core::InjectMouseMove(at, GetTickCount());
                core::InjectMouseButton(at, button, event.type == SDL_MOUSEBUTTONDOWN, GetTickCount());
                break;
            }
            case SDL_MOUSEWHEEL: {
                int turns = event.wheel.y;
                if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) turns = -turns;
                if (turns) core::InjectMouseWheel(core::CursorPosition(), turns * WHEEL_DELTA);
                break;
            }
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                if (unsigned vk = VirtualKeyOf(event.key.keysym.sym))
                    core::InjectKey(vk, event.type == SDL_KEYDOWN);
                break;
            case SDL_TEXTINPUT:
                for (char ch : Utf8ToWindows1252(event.text.text)) core::InjectChar(static_cast<unsigned char>(ch));
                break;
            case SDL_WINDOWEVENT:
                HandleWindowEvent(event.window);
                break;
            default:
                break;  // SDL_QUIT included: closing goes through WM_CLOSE
        }
    }

    void HandleWindowEvent(const SDL_WindowEvent& event) {
        HWND hwnd = HwndOfNative(event.windowID);
        if (!hwnd || !IsWindow(hwnd)) return;
        switch (event.event) {
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                PresentAll(hwnd);
                break;
            case SDL_WINDOWEVENT_LEAVE:
                core::InjectPointerLeft();
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                Activate(hwnd);
                break;
            case SDL_WINDOWEVENT_CLOSE:
                if (IsWindowEnabled(hwnd)) PostMessageA(hwnd, WM_CLOSE, 0, 0);
                break;
            default:
                break;
        }
    }

    // The user brought a native window to the front. A window disabled by a
    // modal dialog hands the activation on to that dialog, as on Windows.
    void Activate(HWND hwnd) {
        if (!IsWindowEnabled(hwnd)) {
            HWND popup = EnabledPopupOf(hwnd);
            if (!popup) return;
            if (SDL_Window* native = NativeOfLocked(popup)) SDL_RaiseWindow(native);
            hwnd = popup;
        }
        if (GetActiveWindow() != hwnd) SetActiveWindow(hwnd);
    }

    HWND EnabledPopupOf(HWND owner) {
        Guard lock(BigLock());
        for (HWND h : core::TopLevels()) {
            auto w = core::LookupWindow(h);
            if (w && w->owner == owner && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED)) return h;
        }
        return nullptr;
    }

    SDL_Window* NativeOfLocked(HWND hwnd) {
        Guard lock(BigLock());
        return NativeOf(hwnd);
    }

    DWORD uiThread_;
    SIZE screen_;
    Uint32 wakeEvent_ = 0;
    std::atomic<bool> wakePending_{false};
    std::map<HWND, SDL_Window*> natives_;  // guarded by BigLock
    std::map<int, SDL_Cursor*> cursors_;        // system cursors by SDL id
    std::map<HCURSOR, SDL_Cursor*> ownCursors_;  // colour cursors by handle
};

}  // namespace

std::unique_ptr<core::Backend> CreateBackend(std::string* error) {
    // Ctrl+C ends the program as usual; SDL's own handler would only queue
    // a quit event that no window asked for.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The first click on an inactive window is a click, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) *error = SDL_GetError();
        return nullptr;
    }
    // SDL falls back to drivers that show nothing; a program that nobody
    // can see must not pretend to run (unless asked for by name).
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (driver && (!asked || !*asked) &&
        (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
        if (error) *error = "no display found (DISPLAY and WAYLAND_DISPLAY lead nowhere)";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) != 0 || bounds.w <= 0 || bounds.h <= 0) {
        if (error) *error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    SDL_StartTextInput();
    return std::make_unique<SdlBackend>(GetCurrentThreadId(), SIZE{bounds.w, bounds.h});
}

}  // namespace win::sdl

// SDL's video start-up loads D-Bus, which keeps some allocations for the
// life of the process; the leak checker of sanitizer builds is told so.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
