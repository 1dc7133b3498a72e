// The window manager's model: registries, geometry and tree walks.
#include "window.h"

#include <algorithm>

namespace win::core {

HandleTable<Window>& Windows() {
    static auto* table = new HandleTable<Window>(0x10010);
    return *table;
}

std::shared_ptr<Window> LookupWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    return Windows().Find(hwnd);
}

Window& Desktop() {
    static Window* desktop = [] {
        auto w = std::make_shared<Window>();
        w->style = WS_VISIBLE | WS_CLIPCHILDREN;
        w->rect = {0, 0, 1024, 768};
        w->created = true;
        w->hwnd = reinterpret_cast<HWND>(Windows().Add(w));
        return w.get();  // the table keeps it alive for the whole process
    }();
    return *desktop;
}

std::vector<HWND>& TopLevels() {
    static auto* list = new std::vector<HWND>;
    return *list;
}

int BorderWidth(const Window& w) { return (w.style & (WS_BORDER | WS_DLGFRAME)) ? 1 : 0; }

RECT ScreenRect(const Window& w) {
    RECT r = w.rect;
    if (w.parent) {
        if (auto parent = Windows().Find(w.parent)) {
            POINT origin = ClientOrigin(*parent);
            r = Offset(r, origin.x, origin.y);
        }
    }
    return r;
}

POINT ClientOrigin(const Window& w) {
    RECT r = ScreenRect(w);
    int b = BorderWidth(w);
    return {r.left + b, r.top + b};
}

RECT ClientRectOf(const Window& w) {
    int b = BorderWidth(w);
    LONG width = std::max<LONG>(0, w.rect.right - w.rect.left - 2 * b);
    LONG height = std::max<LONG>(0, w.rect.bottom - w.rect.top - 2 * b);
    return {0, 0, width, height};
}

Window& TopLevelOf(Window& w) {
    Window* current = &w;
    while (current->parent) {
        auto parent = Windows().Find(current->parent);
        if (!parent) break;
        current = parent.get();
    }
    return *current;
}

bool IsVisible(const Window& w) {
    const Window* current = &w;
    for (;;) {
        if (!(current->style & WS_VISIBLE)) return false;
        if (!current->parent) return true;
        auto parent = Windows().Find(current->parent);
        if (!parent) return false;
        current = parent.get();
    }
}

bool IsEnabled(const Window& w) {
    const Window* current = &w;
    for (;;) {
        if (current->style & WS_DISABLED) return false;
        if (!current->parent) return true;
        auto parent = Windows().Find(current->parent);
        if (!parent) return false;
        current = parent.get();
    }
}

bool IsDescendant(HWND ancestor, HWND hwnd) {
    auto w = Windows().Find(hwnd);
    while (w && w->parent) {
        if (w->parent == ancestor) return true;
        w = Windows().Find(w->parent);
    }
    return false;
}

RECT VisibleClip(Window& w, bool wholeWindow) {
    Window& top = TopLevelOf(w);
    RECT topScreen = ScreenRect(top);
    RECT clip;
    if (wholeWindow) {
        clip = ScreenRect(w);
    } else {
        POINT origin = ClientOrigin(w);
        clip = Offset(ClientRectOf(w), origin.x, origin.y);
    }
    // Each ancestor's client area cuts the window off.
    Window* current = &w;
    while (current->parent) {
        auto parent = Windows().Find(current->parent);
        if (!parent) break;
        POINT origin = ClientOrigin(*parent);
        clip = Intersect(clip, Offset(ClientRectOf(*parent), origin.x, origin.y));
        current = parent.get();
    }
    clip = Intersect(clip, topScreen);
    return Offset(clip, -topScreen.left, -topScreen.top);
}

POINT SurfaceOrigin(Window& w, bool wholeWindow) {
    RECT topScreen = ScreenRect(TopLevelOf(w));
    if (wholeWindow) {
        RECT r = ScreenRect(w);
        return {r.left - topScreen.left, r.top - topScreen.top};
    }
    POINT origin = ClientOrigin(w);
    return {origin.x - topScreen.left, origin.y - topScreen.top};
}

void ResizeSurface(Window& w) {
    // Guard against absurd sizes: a window larger than this is refused
    // pixels rather than allowed to exhaust memory.
    constexpr LONG kMaxSide = 16384;
    LONG width = std::clamp<LONG>(w.rect.right - w.rect.left, 0, kMaxSide);
    LONG height = std::clamp<LONG>(w.rect.bottom - w.rect.top, 0, kMaxSide);
    if (width == w.surface.width && height == w.surface.height) return;
    std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0);
    // Keep what was drawn where the old and new sizes overlap.
    for (int y = 0; y < std::min<int>(height, w.surface.height); ++y) {
        std::copy_n(w.pixels.data() + size_t(y) * w.surface.stride,
                    std::min<int>(width, w.surface.width), pixels.data() + size_t(y) * width);
    }
    w.pixels = std::move(pixels);
    w.surface = {w.pixels.empty() ? nullptr : w.pixels.data(), int(width), int(height), int(width)};
}

bool RectEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return RectEmpty(r) ? RECT{} : r;
}

RECT Union(const RECT& a, const RECT& b) {
    if (RectEmpty(a)) return b;
    if (RectEmpty(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

RECT Offset(RECT r, int dx, int dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
    return r;
}

namespace {

void AppendPaintOrder(const std::shared_ptr<Window>& w, std::vector<std::shared_ptr<Window>>& out) {
    out.push_back(w);
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        if (auto child = Windows().Find(*it)) AppendPaintOrder(child, out);
    }
}

HWND HitChild(Window& w, POINT screen, bool enabledOnly) {
    POINT origin = ClientOrigin(w);
    RECT client = Offset(ClientRectOf(w), origin.x, origin.y);
    if (screen.x < client.left || screen.x >= client.right || screen.y < client.top ||
        screen.y >= client.bottom)
        return w.hwnd;
    for (HWND h : w.children) {
        auto child = Windows().Find(h);
        if (!child || !(child->style & WS_VISIBLE)) continue;
        if (enabledOnly && (child->style & WS_DISABLED)) continue;
        RECT r = ScreenRect(*child);
        if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom)
            return HitChild(*child, screen, enabledOnly);
    }
    return w.hwnd;
}

}  // namespace

std::vector<std::shared_ptr<Window>> PaintOrder(DWORD threadId) {
    std::vector<std::shared_ptr<Window>> out;
    for (auto it = TopLevels().rbegin(); it != TopLevels().rend(); ++it) {
        auto w = Windows().Find(*it);
        if (w && w->threadId == threadId) AppendPaintOrder(w, out);
    }
    return out;
}

HWND HitTest(POINT screen, bool enabledOnly) {
    for (HWND h : TopLevels()) {
        auto w = Windows().Find(h);
        if (!w || !(w->style & WS_VISIBLE)) continue;
        RECT r = ScreenRect(*w);
        if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom)
            return HitChild(*w, screen, enabledOnly);
    }
    return nullptr;
}

HWND HitTestIn(HWND top, POINT screen, bool enabledOnly) {
    auto w = Windows().Find(top);
    if (!w || w->parent || !(w->style & WS_VISIBLE)) return nullptr;
    RECT r = ScreenRect(*w);
    if (screen.x < r.left || screen.x >= r.right || screen.y < r.top || screen.y >= r.bottom)
        return nullptr;
    return HitChild(*w, screen, enabledOnly);
}

}  // namespace win::core
