// The SDL2 backend. Native windows belong to the user-interface thread (the
// one that opened the display). A point in a native window is its top-level
// window's screen origin plus the point, and belongs to that window alone;
// where a window manager places a window elsewhere than asked, the core's
// rectangle follows the native one. The native keyboard focus follows the
// core's activation (WindowActivated); drop-down lists and popup menus are
// never activated natively. On a big screen every native window shows the
// core's pixels enlarged by a whole factor (scale.h): native sizes and
// positions are the core's times the factor, native points the core's
// divided by it.
#include "sdl_backend.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <set>

#include "core/input.h"
#include "core/window.h"
#include "icon_surface.h"
#include "key_map.h"
#include "scale.h"
#include "x11_focus.h"

namespace win::sdl {
namespace {

using core::BigLock;
using core::Guard;

const char kHwndKey[] = "tinto.hwnd";

std::atomic<int> gScale{1};  // the factor of the backend in use

HWND HwndOfNative(Uint32 windowId) {
    SDL_Window* native = SDL_GetWindowFromID(windowId);
    return native ? static_cast<HWND>(SDL_GetWindowData(native, kHwndKey)) : nullptr;
}

// The screen point of a point in a native window (in native pixels), or
// false when the window is gone.
bool ToScreen(HWND hwnd, int x, int y, POINT* screen) {
    RECT r;
    if (!hwnd || !GetWindowRect(hwnd, &r)) return false;
    const POINT at = FromNative(POINT{x, y}, gScale);
    *screen = {r.left + at.x, r.top + at.y};
    return true;
}

// Drop-down lists and popup menus: shown without taking the activation.
bool IsToolWindow(const core::Window& w) { return (w.exStyle & WS_EX_TOOLWINDOW) != 0; }

class SdlBackend : public core::Backend {
public:
    SdlBackend(DWORD uiThread, SIZE screen, int scale)
        : uiThread_(uiThread),
          display_(screen),
          screen_{screen.cx / scale, screen.cy / scale},
          scale_(scale),
          windowedScale_(scale) {
        wakeEvent_ = SDL_RegisterEvents(1);
        gScale = scale;
    }
    ~SdlBackend() override {
        for (auto& [hwnd, native] : natives_) SDL_DestroyWindow(native);
        if (backdrop_) SDL_DestroyWindow(backdrop_);
        for (auto& [id, cursor] : cursors_) SDL_FreeCursor(cursor);
        for (auto& [handle, cursor] : ownCursors_) SDL_FreeCursor(cursor);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        gScale = 1;
    }

    SIZE ScreenSize() const override { return screen_; }

    void WindowCreated(HWND hwnd) override {
        if (!OnUiThread()) return;  // other threads' windows stay off screen
        auto w = core::LookupWindow(hwnd);
        if (!w) return;
        Uint32 flags = SDL_WINDOW_HIDDEN;
        if ((w->style & WS_CAPTION) != WS_CAPTION) flags |= SDL_WINDOW_BORDERLESS;
        if (w->owner) flags |= SDL_WINDOW_SKIP_TASKBAR;
        // A list or menu is a popup-menu window: the window manager neither
        // frames nor focuses it.
        if (IsToolWindow(*w)) flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
        int width = std::max(1, int(w->rect.right - w->rect.left));
        int height = std::max(1, int(w->rect.bottom - w->rect.top));
        const POINT at = NativePoint(w->rect.left, w->rect.top);
        SDL_Window* native =
            SDL_CreateWindow(w->text.c_str(), at.x, at.y, width * scale_, height * scale_, flags);
        if (!native) {
            std::fprintf(stderr, "cannot create a native window: %s\n", SDL_GetError());
            return;
        }
        SDL_SetWindowData(native, kHwndKey, hwnd);
        // The framebuffer now, while the window is hidden: where it is
        // GL-backed (SDL_FRAMEBUFFER_ACCELERATION=1), SDL re-creates the
        // native window for it, and does so before anything else knows the
        // window; the position is asked for again afterwards.
        if (SDL_GetWindowSurface(native)) SDL_SetWindowPosition(native, at.x, at.y);
        // Owned windows (dialogs, lists) stay above their owner.
        if (SDL_Window* owner = NativeOf(w->owner)) SDL_SetWindowModalFor(native, owner);
        natives_[hwnd] = native;
        if (IsToolWindow(*w)) tools_.insert(hwnd);
    }

    void WindowDestroyed(HWND hwnd) override {
        auto it = natives_.find(hwnd);
        if (it == natives_.end()) return;
        if (grabbed_ == hwnd) {
            x11::UngrabPointer(it->second);
            grabbed_ = nullptr;
        }
        SDL_DestroyWindow(it->second);
        natives_.erase(it);
        tools_.erase(hwnd);
        if (active_ == hwnd) active_ = nullptr;
        // Without a window manager nobody hands the focus on: the window
        // that the core made active takes it back.
        if (SDL_Window* active = NativeOf(active_)) GiveFocus(active);
    }

    void WindowShown(HWND hwnd, bool visible) override {
        SDL_Window* native = NativeOf(hwnd);
        if (!native) return;
        if (full_ && !tools_.count(hwnd)) LayOut(false);
        if (visible) {
            SDL_ShowWindow(native);
            if (tools_.count(hwnd)) {
                // Without a window manager SDL gives every shown window the
                // focus; a list must leave it with the active window, and
                // it holds the pointer so that a press anywhere closes it.
                // (A needless focus change would cost the grab for a moment:
                // SDL lets go of grabs when the focus moves.)
                SDL_Window* active = NativeOf(active_);
                if (active && !x11::HasFocus(active)) GiveFocus(active);
                if (!grabbed_ && x11::GrabPointer(native)) grabbed_ = hwnd;
            } else if (hwnd == active_) {
                GiveFocus(native);
            }
            PresentAll(hwnd);
        } else {
            if (grabbed_ == hwnd) {
                x11::UngrabPointer(native);
                grabbed_ = nullptr;
            }
            SDL_HideWindow(native);
            if (SDL_Window* active = NativeOf(active_); active && hwnd != active_)
                GiveFocus(active);
        }
    }

    // The core's active window takes the native keyboard: raised (through
    // the window manager, if there is one) and given the X input focus
    // (which is all there is when no window manager runs).
    void WindowActivated(HWND hwnd) override {
        active_ = hwnd;
        SDL_Window* native = NativeOf(hwnd);
        if (!native || tools_.count(hwnd)) return;
        if (!(SDL_GetWindowFlags(native) & SDL_WINDOW_SHOWN))
            return;  // shown later: WindowShown focuses it
        SDL_RaiseWindow(native);
        GiveFocus(native);
    }

    void WindowMoved(HWND hwnd, const RECT& r) override {
        SDL_Window* native = NativeOf(hwnd);
        if (!native) return;
        if (followingNative_ == hwnd) return;  // the native window is already there
        Place(native, r);
        if (full_ && !tools_.count(hwnd)) LayOut(false);
    }

    bool FullScreen() const override { return full_; }

    void SetFullScreen(bool on) override {
        if (on == full_ || !OnUiThread()) return;
        full_ = on;
        if (on) {
            // The backdrop first, so that the program's windows go over it.
            backdrop_ = SDL_CreateWindow("", 0, 0, display_.cx, display_.cy,
                                         SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR);
            if (backdrop_) PaintBackdrop();
            LayOut(true);
        } else {
            if (backdrop_) SDL_DestroyWindow(backdrop_);
            backdrop_ = nullptr;
            scale_ = windowedScale_;
            origin_ = {0, 0};
            Reposition();
        }
    }

    void SetBackdrop(COLORREF colour) override {
        backdropColour_ = colour;
        if (backdrop_) PaintBackdrop();
    }

    void WindowTitleChanged(HWND hwnd, const std::string& title) override {
        if (SDL_Window* native = NativeOf(hwnd)) SDL_SetWindowTitle(native, title.c_str());
    }

    void Present(HWND hwnd, const Surface& pixels, const RECT& changed) override {
        SDL_Window* native = NativeOf(hwnd);
        if (!native || !pixels.pixels) return;
        SDL_Surface* target = SDL_GetWindowSurface(native);
        if (!target) return;
        if (scale_ > 1) {
            PresentScaled(native, pixels, changed, target);
            return;
        }
        // A resize may still be on its way: copy what both sizes share.
        SDL_Rect area{int(changed.left), int(changed.top), int(changed.right - changed.left),
                      int(changed.bottom - changed.top)};
        SDL_Rect both{0, 0, std::min(pixels.width, target->w), std::min(pixels.height, target->h)};
        SDL_Rect copy;
        if (!SDL_IntersectRect(&area, &both, &copy)) return;
        SDL_Surface* source =
            SDL_CreateRGBSurfaceWithFormatFrom(pixels.pixels, pixels.width, pixels.height, 32,
                                               pixels.stride * 4, SDL_PIXELFORMAT_RGB888);
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
                if (SDL_Surface* surface = Enlarged(sdl::IconSurface(*icon))) {
                    made = SDL_CreateColorCursor(surface, icon->hotspotX * scale_,
                                                 icon->hotspotY * scale_);
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
    // Where the program's screen point (x, y) lies on the display.
    POINT NativePoint(LONG x, LONG y) const {
        return {origin_.x + x * scale_, origin_.y + y * scale_};
    }
    // A display point in the program's screen coordinates.
    POINT CorePoint(int x, int y) const {
        return FromNative(POINT{x - origin_.x, y - origin_.y}, scale_);
    }

    void Place(SDL_Window* native, const RECT& r) {
        const POINT at = NativePoint(r.left, r.top);
        SDL_SetWindowPosition(native, at.x, at.y);
        SDL_SetWindowSize(native, std::max(1, int(r.right - r.left)) * scale_,
                          std::max(1, int(r.bottom - r.top)) * scale_);
    }

    // Every native window to its place at the present factor, drawn again.
    void Reposition() {
        gScale = scale_;
        // The program's own cursors are made again at the new size.
        for (auto& [handle, cursor] : ownCursors_) SDL_FreeCursor(cursor);
        ownCursors_.clear();
        for (auto& [hwnd, native] : natives_) {
            if (auto w = core::LookupWindow(hwnd)) Place(native, w->rect);
            PresentAll(hwnd);
        }
    }

    // Full screen: the factor and origin at which the windows shown fit,
    // centred; everything is placed again when they changed (or `always`).
    // The program's windows go back over the backdrop.
    void LayOut(bool always) {
        RECT content{0, 0, 0, 0};
        for (auto& [hwnd, native] : natives_) {
            auto w = core::LookupWindow(hwnd);
            if (!w || tools_.count(hwnd) || !(w->style & WS_VISIBLE)) continue;
            UnionRect(&content, &content, &w->rect);
        }
        if (IsRectEmpty(&content)) return;
        const FullScreenLayout layout = LayOutFullScreen(display_, content);
        if (!always && layout.factor == scale_ && layout.origin.x == origin_.x &&
            layout.origin.y == origin_.y)
            return;
        scale_ = layout.factor;
        origin_ = layout.origin;
        Reposition();
        RaiseOverBackdrop();
    }

    // The program's shown windows over the backdrop, bottom first, and the
    // keyboard with the active one.
    void RaiseOverBackdrop() {
        const std::vector<HWND>& order = core::TopLevels();
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            SDL_Window* native = NativeOf(*it);
            if (native && !tools_.count(*it) && (SDL_GetWindowFlags(native) & SDL_WINDOW_SHOWN))
                SDL_RaiseWindow(native);
        }
        if (SDL_Window* active = NativeOf(active_)) GiveFocus(active);
    }

    void PaintBackdrop() {
        SDL_Surface* surface = SDL_GetWindowSurface(backdrop_);
        if (!surface) return;
        SDL_FillRect(surface, nullptr,
                     SDL_MapRGB(surface->format, GetRValue(backdropColour_),
                                GetGValue(backdropColour_), GetBValue(backdropColour_)));
        SDL_ShowWindow(backdrop_);
        SDL_UpdateWindowSurface(backdrop_);
    }

    // The changed rectangle, enlarged. A 32-bit window surface (what X
    // gives on every usual display) takes the blocks directly; any other
    // goes through SDL's own nearest-pixel stretch.
    void PresentScaled(SDL_Window* native, const Surface& pixels, const RECT& changed,
                       SDL_Surface* target) {
        const Uint32 format = target->format->format;
        if (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888) {
            if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
            const PixelsView from{pixels.pixels, pixels.width, pixels.height, pixels.stride};
            const PixelsView to{static_cast<uint32_t*>(target->pixels), target->w, target->h,
                                target->pitch / 4};
            const RECT done = ScalePixels(from, changed, scale_, to);
            if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
            if (done.right <= done.left || done.bottom <= done.top) return;
            SDL_Rect area{int(done.left), int(done.top), int(done.right - done.left),
                          int(done.bottom - done.top)};
            SDL_UpdateWindowSurfaceRects(native, &area, 1);
            return;
        }
        SDL_Rect area{int(changed.left), int(changed.top), int(changed.right - changed.left),
                      int(changed.bottom - changed.top)};
        SDL_Rect both{0, 0, std::min(pixels.width, target->w / scale_),
                      std::min(pixels.height, target->h / scale_)};
        SDL_Rect copy;
        if (!SDL_IntersectRect(&area, &both, &copy)) return;
        SDL_Surface* source =
            SDL_CreateRGBSurfaceWithFormatFrom(pixels.pixels, pixels.width, pixels.height, 32,
                                               pixels.stride * 4, SDL_PIXELFORMAT_RGB888);
        if (!source) return;
        SDL_Rect to{copy.x * scale_, copy.y * scale_, copy.w * scale_, copy.h * scale_};
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
        SDL_BlitScaled(source, &copy, target, &to);
        SDL_FreeSurface(source);
        SDL_UpdateWindowSurfaceRects(native, &to, 1);
    }

    bool OnUiThread() const { return GetCurrentThreadId() == uiThread_; }

    // A cursor's pixels at the windows' factor (the surface is consumed).
    SDL_Surface* Enlarged(SDL_Surface* surface) const {
        if (!surface || scale_ == 1) return surface;
        SDL_Surface* big = SDL_CreateRGBSurfaceWithFormat(
            0, surface->w * scale_, surface->h * scale_, 32, surface->format->format);
        if (big) {
            SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
            if (SDL_BlitScaled(surface, nullptr, big, nullptr) != 0) {
                SDL_FreeSurface(big);
                big = nullptr;
            }
        }
        if (!big) return surface;  // the cursor at its own size rather than none
        SDL_FreeSurface(surface);
        return big;
    }

    void GiveFocus(SDL_Window* native) {
        if (!x11::FocusWindow(native)) SDL_SetWindowInputFocus(native);
    }

    SDL_Window* NativeOf(HWND hwnd) const {
        auto it = natives_.find(hwnd);
        return it == natives_.end() ? nullptr : it->second;
    }

    void PresentAll(HWND hwnd) {
        Guard lock(BigLock());
        auto w = core::LookupWindow(hwnd);
        if (w && (w->style & WS_VISIBLE))
            Present(hwnd, w->surface, {0, 0, w->surface.width, w->surface.height});
    }

    // Called without BigLock: the core's entry points take it themselves.
    void Handle(const SDL_Event& event) {
        if (event.type == wakeEvent_) {
            wakePending_ = false;
            return;
        }
        POINT at;
        switch (event.type) {
            case SDL_MOUSEMOTION: {
                HWND within = HwndOfNative(event.motion.windowID);
                if (ToScreen(within, event.motion.x, event.motion.y, &at))
                    core::InjectMouseMove(at, GetTickCount(), within);
                break;
            }
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                core::MouseButton button;
                switch (event.button.button) {
                    case SDL_BUTTON_LEFT: button = core::MouseButton::Left; break;
                    case SDL_BUTTON_RIGHT: button = core::MouseButton::Right; break;
                    case SDL_BUTTON_MIDDLE: button = core::MouseButton::Middle; break;
                    default: return;
                }
                HWND within = HwndOfNative(event.button.windowID);
                if (!ToScreen(within, event.button.x, event.button.y, &at)) break;
                core::InjectMouseMove(at, GetTickCount(), within);
                core::InjectMouseButton(at, button, event.type == SDL_MOUSEBUTTONDOWN,
                                        GetTickCount(), within);
                break;
            }
            case SDL_MOUSEWHEEL: {
                int turns = event.wheel.y;
                if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) turns = -turns;
                if (turns) core::InjectMouseWheel(core::CursorPosition(), turns * WHEEL_DELTA);
                break;
            }
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                const bool down = event.type == SDL_KEYDOWN;
                // F11 is the display's: full screen on or off, wherever the
                // keyboard is; the program's windows never see it.
                if (event.key.keysym.sym == SDLK_F11) {
                    if (down && !event.key.repeat) core::SwitchFullScreen();
                    break;
                }
                unsigned vk = VirtualKeyOf(event.key.keysym.sym);
                if (!vk) {
                    // Typing keys count as keys only with Alt or Ctrl held
                    // (not both: AltGr types), or when released after such
                    // a press. Ctrl+letter types nothing (SDL sends no text
                    // for it), so it is a key: Ctrl+Z, Ctrl+Y.
                    const unsigned system = SystemKeyOf(event.key.keysym.sym);
                    const Uint16 mod = event.key.keysym.mod;
                    const bool alt = (mod & KMOD_ALT) && !(mod & KMOD_CTRL);
                    const bool ctrl = (mod & KMOD_CTRL) && !(mod & KMOD_ALT);
                    if (system && (down ? alt || ctrl : GetAsyncKeyState(int(system)) < 0))
                        vk = system;
                }
                if (vk) core::InjectKey(vk, down);
                break;
            }
            case SDL_TEXTINPUT:
                // Alt+key is a command, not typing.
                if ((SDL_GetModState() & KMOD_ALT) && !(SDL_GetModState() & KMOD_CTRL)) break;
                for (char ch : Utf8ToWindows1252(event.text.text)) {
                    // The space bar is a key: TranslateMessage types its space.
                    if (ch == ' ') continue;
                    core::InjectChar(static_cast<unsigned char>(ch));
                }
                break;
            case SDL_WINDOWEVENT: HandleWindowEvent(event.window); break;
            case SDL_SYSWMEVENT: PressOutside(event.syswm.msg); break;
            default: break;  // SDL_QUIT included: closing goes through WM_CLOSE
        }
    }

    void HandleWindowEvent(const SDL_WindowEvent& event) {
        // SDL lets go of every pointer grab when the keyboard focus moves
        // (it keeps only grabs of its own): an open list takes it again.
        if (event.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
            event.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            Guard lock(BigLock());
            if (SDL_Window* grabbing = NativeOf(grabbed_)) x11::GrabPointer(grabbing);
        }
        if (BackdropEvent(event)) return;
        HWND hwnd = HwndOfNative(event.windowID);
        if (!hwnd || !IsWindow(hwnd)) return;
        switch (event.event) {
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                PresentAll(hwnd);
                EnsureFocus(hwnd);
                break;
            case SDL_WINDOWEVENT_SHOWN: EnsureFocus(hwnd); break;
            case SDL_WINDOWEVENT_LEAVE: core::InjectPointerLeft(); break;
            case SDL_WINDOWEVENT_MOVED: FollowNative(hwnd, event.data1, event.data2); break;
            case SDL_WINDOWEVENT_FOCUS_GAINED: FocusGained(hwnd); break;
            case SDL_WINDOWEVENT_FOCUS_LOST: FocusLost(); break;
            case SDL_WINDOWEVENT_TAKE_FOCUS: TakeFocus(hwnd); break;
            case SDL_WINDOWEVENT_CLOSE:
                // In full screen the window manager's keys close nothing:
                // leaving takes the program's own way (Escape, the door).
                if (FullScreenLocked()) break;
                // The close box of a window disabled by a modal dialog
                // brings that dialog forward instead.
                if (IsWindowEnabled(hwnd))
                    PostMessageA(hwnd, WM_CLOSE, 0, 0);
                else
                    Activate(hwnd);
                break;
            default: break;
        }
    }

    // The native focus arrived at a window. Events that an activation since
    // has overtaken are stale (the focus is elsewhere by now); a list or
    // menu hands the focus back to the active window.
    void FocusGained(HWND hwnd) {
        SDL_Window* native = NativeOfLocked(hwnd);
        if (!native) return;
        bool tool;
        SDL_Window* active;
        {
            Guard lock(BigLock());
            tool = tools_.count(hwnd) != 0;
            active = NativeOf(active_);
        }
        if (tool) {
            if (active) GiveFocus(active);
            return;
        }
        if (SDL_GetKeyboardFocus() != native) return;
        Activate(hwnd);
    }

    // A press outside that closed a list is the list's, as Windows' capture
    // would have it: a window manager that moved the focus to the desktop
    // for it is overruled.
    void FocusLost() {
        if (!outsidePressAt_ || SDL_GetTicks() - outsidePressAt_ > 1000) return;
        if (SDL_GetKeyboardFocus()) return;  // still within the program
        SDL_Window* active;
        {
            Guard lock(BigLock());
            active = NativeOf(active_);
        }
        if (active) GiveFocus(active);
    }

    // The active window has just been mapped or exposed but not the focus:
    // a window manager may have managed it only after the request (the
    // server refuses the focus to a window that is not viewable yet).
    void EnsureFocus(HWND hwnd) {
        SDL_Window* native;
        {
            Guard lock(BigLock());
            if (hwnd != active_ || tools_.count(hwnd)) return;
            native = NativeOf(hwnd);
        }
        if (!native || SDL_GetKeyboardFocus() == native) return;
        SDL_RaiseWindow(native);
        GiveFocus(native);
    }

    // The window manager offers a window the focus (WM_TAKE_FOCUS): the
    // window that should have it takes it: an enabled window itself, the
    // modal dialog over a disabled one, the active window instead of a list.
    void TakeFocus(HWND hwnd) {
        SDL_Window* native;
        SDL_Window* active;
        bool tool;
        {
            Guard lock(BigLock());
            native = NativeOf(hwnd);
            active = NativeOf(active_);
            tool = tools_.count(hwnd) != 0;
        }
        if (!native) return;
        if (tool) {
            if (active) GiveFocus(active);
        } else if (!IsWindowEnabled(hwnd)) {
            Activate(hwnd);
        } else {
            GiveFocus(native);
        }
    }

    // The user brought a native window to the front. A window disabled by a
    // modal dialog hands the activation on to its last active popup (the
    // innermost dialog of a chain of them), as on Windows.
    void Activate(HWND hwnd) {
        HWND target = hwnd;
        if (!IsWindowEnabled(hwnd)) {
            target = GetLastActivePopup(hwnd);
            if (!target || target == hwnd || !IsWindowEnabled(target) || !IsWindowVisible(target))
                return;
        }
        if (GetActiveWindow() != target) {
            SetActiveWindow(target);
        } else if (target != hwnd) {
            Guard lock(BigLock());
            WindowActivated(target);  // the core's mind is made up; the native focus follows it
        }
    }

    // The backdrop's own events: drawn again when exposed; brought to the
    // front (a click on it, say), it goes back under the program's windows.
    bool BackdropEvent(const SDL_WindowEvent& event) {
        Guard lock(BigLock());
        if (!backdrop_ || event.windowID != SDL_GetWindowID(backdrop_)) return false;
        if (event.event == SDL_WINDOWEVENT_EXPOSED) PaintBackdrop();
        if (event.event == SDL_WINDOWEVENT_FOCUS_GAINED) RaiseOverBackdrop();
        return true;
    }

    bool FullScreenLocked() {
        Guard lock(BigLock());
        return full_;
    }

    // A window manager placed or moved a native window: the core's window
    // follows, so that points map through the right origin. In full screen
    // the window goes back to its place instead.
    void FollowNative(HWND hwnd, int x, int y) {
        {
            Guard lock(BigLock());
            if (full_) {
                auto w = core::LookupWindow(hwnd);
                SDL_Window* native = NativeOf(hwnd);
                const POINT at = w ? NativePoint(w->rect.left, w->rect.top) : POINT{x, y};
                if (native && (at.x != x || at.y != y)) SDL_SetWindowPosition(native, at.x, at.y);
                return;
            }
        }
        if (SDL_Window* native = NativeOfLocked(hwnd)) x11::RootPosition(native, &x, &y);
        x = FromNative(x, scale_);
        y = FromNative(y, scale_);
        RECT r;
        if (!GetWindowRect(hwnd, &r) || (r.left == x && r.top == y) || !IsWindowVisible(hwnd))
            return;
        {
            Guard lock(BigLock());
            followingNative_ = hwnd;
        }
        SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Guard lock(BigLock());
        followingNative_ = nullptr;
    }

    // A press outside every window of the program while a list or menu
    // holds the pointer: it goes (as a left button) to the capturing list,
    // which closes. Presses over the program's windows come as usual.
    void PressOutside(const SDL_SysWMmsg* msg) {
        bool down = false;
        if (!x11::RawButton(msg, &down)) return;
        {
            Guard lock(BigLock());
            if (!grabbed_) return;
        }
        int x = 0, y = 0;
        SDL_GetGlobalMouseState(&x, &y);
        POINT at;
        {
            Guard lock(BigLock());
            at = CorePoint(x, y);
        }
        if (WindowFromPoint(at)) return;
        outsidePressAt_ = SDL_GetTicks();
        core::InjectMouseMove(at, GetTickCount());
        core::InjectMouseButton(at, core::MouseButton::Left, down, GetTickCount());
    }

    SDL_Window* NativeOfLocked(HWND hwnd) {
        Guard lock(BigLock());
        return NativeOf(hwnd);
    }

    DWORD uiThread_;
    SIZE display_;  // the display's own pixels
    SIZE screen_;   // in the core's pixels: the display's divided by the windowed factor
    int scale_;     // the factor now (guarded by BigLock, as are the five below)
    int windowedScale_;
    bool full_ = false;
    POINT origin_{0, 0};  // where the core's (0, 0) shows: not (0, 0) only in full screen
    SDL_Window* backdrop_ = nullptr;
    COLORREF backdropColour_ = RGB(150, 210, 245);
    Uint32 wakeEvent_ = 0;
    std::atomic<bool> wakePending_{false};
    std::map<HWND, SDL_Window*> natives_;        // guarded by BigLock, as are the four below
    std::set<HWND> tools_;                       // lists and menus: never natively active
    HWND active_ = nullptr;                      // the core's active window
    HWND grabbed_ = nullptr;                     // the list or menu holding the pointer
    HWND followingNative_ = nullptr;             // being moved to where its native window is
    Uint32 outsidePressAt_ = 0;                  // SDL ticks of the last press outside (UI thread)
    std::map<int, SDL_Cursor*> cursors_;         // system cursors by SDL id
    std::map<HCURSOR, SDL_Cursor*> ownCursors_;  // colour cursors by handle
};

}  // namespace

int CurrentScale() { return gScale; }

std::unique_ptr<core::Backend> CreateBackend(std::string* error, const Options& options) {
    // Ctrl+C ends the program as usual; SDL's own handler would only queue
    // a quit event that no window asked for.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The first click on an inactive window is a click, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Window surfaces are the display's own framebuffers: a program that
    // draws in software needs no GL stack (under Xvfb, Mesa's software
    // driver and LLVM would add some 90 MB and 0.2 s to the start). SDL's
    // environment variable SDL_FRAMEBUFFER_ACCELERATION=1 still overrides
    // this hint for those who want the accelerated path. An accelerated
    // one would make SDL re-create each X window on its first present, at
    // the place it was created rather than where the window was moved to
    // since, and under a new id that the focus requests would miss.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // X's implicit grab holds the pointer during a press; SDL's own capture
    // would release the grab an open list holds when the press that opened
    // it ends.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    x11::IgnoreVanishedWakeups();
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
    SDL_Rect usable = bounds;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0)
        usable = bounds;
    int scale = options.scale;
    if (scale < 1 || scale > kMaxScale)
        scale = ChooseScale({bounds.w, bounds.h}, {usable.w, usable.h}, options.mainWindow);
    SDL_StartTextInput();
    return std::make_unique<SdlBackend>(GetCurrentThreadId(), SIZE{bounds.w, bounds.h}, scale);
}

}  // namespace win::sdl

// SDL's video start-up loads D-Bus, which keeps some allocations for the
// life of the process; the leak checker of sanitizer builds is told so.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
