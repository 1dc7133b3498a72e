// The headless backend: windows live only in memory; nothing is shown.
#include <strings.h>

#include <cstdio>
#include <map>
#include <memory>
#include <utility>

#include "core/backend.h"
#include "core/input.h"
#include "core/kernel_objects.h"
#include "core/window.h"
#include "headless.h"
#include "shell/shell.h"

namespace {

class HeadlessBackend : public win::core::Backend {
public:
    // Nothing leaves a headless run: the shell's requests are only recorded.
    HeadlessBackend() {
        win::shell::SetLauncher([this](const win::shell::Request& r) -> INT_PTR {
            win::core::Guard lock(win::core::BigLock());
            shellRequests.push_back({r.operation, r.file, r.parameters, r.directory, r.show});
            return 42;
        });
    }
    ~HeadlessBackend() override { win::shell::SetLauncher(nullptr); }
    SIZE ScreenSize() const override { return {1024, 768}; }
    void Present(HWND hwnd, const win::Surface&, const RECT& changed) override {
        presented.push_back({hwnd, changed});
        if (presented.size() > 100000)
            presented.erase(presented.begin(), presented.begin() + 50000);
    }
    void SetCursor(HCURSOR c) override { cursor = c; }
    bool FullScreen() const override { return fullScreen; }
    void SetFullScreen(bool on) override { fullScreen = on; }
    void WindowIconChanged(HWND hwnd, HICON big, HICON small) override {
        icons[hwnd] = {big, small};
    }
    void WindowDestroyed(HWND hwnd) override {
        icons.erase(hwnd);
        if (nativeFocus == hwnd) nativeFocus = nullptr;
    }
    // A window system would give the native window the keyboard; here the
    // window is remembered so that tests can see where the keys would go.
    void WindowActivated(HWND hwnd) override {
        nativeFocus = hwnd;
        ++activations;
    }
    bool BeforeBlock() override {
        if (RunWatcher()) return true;
        std::function<bool()> handler;
        {
            win::core::Guard lock(win::core::BigLock());
            if (!idleHandler || idleThread != GetCurrentThreadId()) return false;
            handler = idleHandler;
        }
        return handler();
    }

    bool fullScreen = false;
    std::vector<headless::Presented> presented;
    HCURSOR cursor = nullptr;
    HWND nativeFocus = nullptr;
    int activations = 0;
    std::map<HWND, std::pair<HICON, HICON>> icons;  // big, small per native window
    std::function<bool()> idleHandler;
    DWORD idleThread = 0;
    std::vector<headless::ShellRequest> shellRequests;

    struct Watcher {
        std::string className;
        std::function<void(HWND)> action;
        DWORD thread;
    };
    std::vector<Watcher> watchers;

    // Runs the first watcher whose window is up, once.
    bool RunWatcher() {
        Watcher chosen;
        HWND target = nullptr;
        {
            win::core::Guard lock(win::core::BigLock());
            if (watchers.empty()) return false;
        }
        auto windows = headless::TopLevelWindows();
        {
            win::core::Guard lock(win::core::BigLock());
            for (size_t i = 0; i < watchers.size() && !target; ++i) {
                if (watchers[i].thread != GetCurrentThreadId()) continue;
                for (auto& w : windows) {
                    if (w.visible &&
                        strcasecmp(w.className.c_str(), watchers[i].className.c_str()) == 0) {
                        target = w.hwnd;
                        chosen = std::move(watchers[i]);
                        watchers.erase(watchers.begin() + ptrdiff_t(i));
                        break;
                    }
                }
            }
        }
        if (!target) return false;
        chosen.action(target);
        return true;
    }
};

HeadlessBackend* Installed() {
    auto* backend = dynamic_cast<HeadlessBackend*>(&win::core::CurrentBackend());
    return backend;
}

DWORD& ClockOffset() {
    static DWORD offset = 0;
    return offset;
}

}  // namespace

namespace win::core {
std::unique_ptr<Backend> CreateHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }
}  // namespace win::core

// The core's default backend, offered at start-up. The build keeps this
// object in every program linking the backend (see platform/CMakeLists.txt).
extern "C" const bool tinto_headless_backend_offered =
    (win::core::SetDefaultBackend(&win::core::CreateHeadlessBackend), true);

namespace headless {

using win::core::BigLock;
using win::core::Guard;

DWORD Now() { return GetTickCount() + ClockOffset(); }
void AdvanceClock(DWORD milliseconds) { ClockOffset() += milliseconds; }

static win::core::MouseButton ToCore(Button b) {
    switch (b) {
        case Button::Right: return win::core::MouseButton::Right;
        case Button::Middle: return win::core::MouseButton::Middle;
        default: return win::core::MouseButton::Left;
    }
}

void MouseMove(int x, int y) { win::core::InjectMouseMove({x, y}, Now()); }
void MouseDown(int x, int y, Button b) {
    win::core::InjectMouseMove({x, y}, Now());
    win::core::InjectMouseButton({x, y}, ToCore(b), true, Now());
}
void MouseUp(int x, int y, Button b) {
    win::core::InjectMouseMove({x, y}, Now());
    win::core::InjectMouseButton({x, y}, ToCore(b), false, Now());
}
void Click(int x, int y, Button b) {
    MouseDown(x, y, b);
    MouseUp(x, y, b);
}
void Wheel(int x, int y, int delta) { win::core::InjectMouseWheel({x, y}, delta); }
void PointerLeave() { win::core::InjectPointerLeft(); }
// F11 is the display's own key, as on a real one: it switches full screen
// and never reaches the program's windows.
void KeyDown(UINT vk) {
    if (vk == VK_F11)
        win::core::SwitchFullScreen();
    else
        win::core::InjectKey(vk, true);
}
void KeyUp(UINT vk) {
    if (vk != VK_F11) win::core::InjectKey(vk, false);
}
void KeyPress(UINT vk) {
    KeyDown(vk);
    KeyUp(vk);
}
void TypeChar(unsigned char ch) { win::core::InjectChar(ch); }

int RunUntilIdle(int limit) {
    int count = 0;
    MSG msg;
    while (count < limit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the caller's own loop to see.
            PostQuitMessage(int(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++count;
    }
    return count;
}

void SetIdleHandler(std::function<bool()> handler) {
    auto* backend = Installed();
    if (!backend) return;
    Guard lock(BigLock());
    backend->idleHandler = std::move(handler);
    backend->idleThread = GetCurrentThreadId();
}

COLORREF Image::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    uint32_t p = pixels[size_t(y) * size_t(width) + size_t(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool ReadPixels(HWND hwnd, Image* out, bool clientOnly) {
    if (!out) return false;
    Guard lock(BigLock());
    auto w = win::core::LookupWindow(hwnd);
    if (!w) return false;
    win::core::Window& top = win::core::TopLevelOf(*w);
    POINT origin = win::core::SurfaceOrigin(*w, !clientOnly);
    RECT area = clientOnly ? win::core::ClientRectOf(*w)
                           : RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    out->width = area.right;
    out->height = area.bottom;
    out->pixels.assign(size_t(out->width) * size_t(out->height), 0);
    const win::Surface& s = top.surface;
    for (int y = 0; y < out->height; ++y) {
        int sy = origin.y + y;
        if (sy < 0 || sy >= s.height) continue;
        for (int x = 0; x < out->width; ++x) {
            int sx = origin.x + x;
            if (sx >= 0 && sx < s.width)
                out->pixels[size_t(y) * size_t(out->width) + size_t(x)] =
                    s.pixels[size_t(sy) * s.stride + sx];
        }
    }
    return true;
}

COLORREF PixelAt(HWND hwnd, int clientX, int clientY) {
    Image image;
    if (!ReadPixels(hwnd, &image)) return CLR_INVALID;
    return image.At(clientX, clientY);
}

bool SaveBmp(const Image& image, const std::string& path) {
    if (image.width <= 0 || image.height <= 0) return false;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    uint32_t rowBytes = (uint32_t(image.width) * 3 + 3) & ~3u;
    uint32_t dataSize = rowBytes * uint32_t(image.height);
    unsigned char header[54] = {'B', 'M'};
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) header[at + i] = (unsigned char)(v >> (8 * i));
    };
    put32(2, 54 + dataSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(image.width));
    put32(22, uint32_t(image.height));
    header[26] = 1;
    header[28] = 24;
    put32(34, dataSize);
    bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header;
    std::vector<unsigned char> row(rowBytes, 0);
    for (int y = image.height - 1; ok && y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            uint32_t p = image.pixels[size_t(y) * size_t(image.width) + size_t(x)];
            row[size_t(x) * 3] = (unsigned char)(p & 0xFF);
            row[size_t(x) * 3 + 1] = (unsigned char)((p >> 8) & 0xFF);
            row[size_t(x) * 3 + 2] = (unsigned char)((p >> 16) & 0xFF);
        }
        ok = std::fwrite(row.data(), 1, rowBytes, f) == rowBytes;
    }
    return std::fclose(f) == 0 && ok;
}

std::vector<TopLevel> TopLevelWindows() {
    Guard lock(BigLock());
    std::vector<TopLevel> list;
    for (HWND h : win::core::TopLevels()) {
        auto w = win::core::LookupWindow(h);
        if (!w) continue;
        list.push_back({h, w->text, w->cls ? w->cls->name : std::string(), w->rect,
                        (w->style & WS_VISIBLE) != 0});
    }
    return list;
}

SIZE ScreenSize() { return win::core::CurrentBackend().ScreenSize(); }

bool FullScreen() {
    Guard lock(BigLock());
    return win::core::CurrentBackend().FullScreen();
}

std::vector<Presented> TakePresented() {
    auto* backend = Installed();
    if (!backend) return {};
    Guard lock(BigLock());
    return std::exchange(backend->presented, {});
}

HCURSOR CurrentCursor() {
    auto* backend = Installed();
    Guard lock(BigLock());
    return backend ? backend->cursor : nullptr;
}

HWND NativeFocus() {
    auto* backend = Installed();
    Guard lock(BigLock());
    return backend ? backend->nativeFocus : nullptr;
}

int NativeActivations() {
    auto* backend = Installed();
    Guard lock(BigLock());
    return backend ? backend->activations : 0;
}

HICON WindowIcon(HWND hwnd, int which) {
    auto* backend = Installed();
    Guard lock(BigLock());
    if (!backend) return nullptr;
    auto it = backend->icons.find(hwnd);
    if (it == backend->icons.end()) return nullptr;
    return which == ICON_BIG ? it->second.first : it->second.second;
}

std::vector<ShellRequest> TakeShellRequests() {
    Guard lock(BigLock());
    HeadlessBackend* backend = Installed();
    if (!backend) return {};
    return std::exchange(backend->shellRequests, {});
}

void SetExecutablePath(const std::string& path) { win::core::SetExecutablePathOverride(path); }

void WhenTopLevelAppears(const std::string& className, std::function<void(HWND)> action) {
    Guard lock(BigLock());
    HeadlessBackend* backend = Installed();
    if (!backend || !action) return;
    backend->watchers.push_back({className, std::move(action), GetCurrentThreadId()});
}

}  // namespace headless
