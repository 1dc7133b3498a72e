// Update regions, painting and window device contexts.
#include "paint.h"

#include <algorithm>
#include <map>
#include <new>
#include <vector>

#include "backend.h"
#include "base/surface.h"
#include "dc_registry.h"
#include "queue.h"

namespace win::core {
namespace {

std::map<HDC, WindowDC>& DCs() {
    static auto* dcs = new std::map<HDC, WindowDC>;
    return *dcs;
}

// Surface pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
uint32_t ToPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

void FillSurface(Surface& s, const RECT& r, uint32_t pixel) {
    RECT clip = Intersect(r, {0, 0, s.width, s.height});
    for (LONG y = clip.top; y < clip.bottom; ++y)
        std::fill_n(s.pixels + size_t(y) * s.stride + clip.left, clip.right - clip.left, pixel);
}

// The one-pixel frame of a bordered window, drawn on its own pixels.
void DrawBorder(Window& w) {
    if (!BorderWidth(w)) return;
    Window& top = TopLevelOf(w);
    if (!top.surface.pixels) return;
    RECT visible = VisibleClip(w, true);
    if (w.parent) {
        // A child's border is cut off by its parent's client area.
        if (auto parent = LookupWindow(w.parent))
            visible = Intersect(visible, VisibleClip(*parent, false));
    }
    POINT o = SurfaceOrigin(w, true);
    LONG width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
    uint32_t pixel = ToPixel(GetSysColor(COLOR_WINDOWFRAME));
    const RECT edges[] = {{o.x, o.y, o.x + width, o.y + 1},
                          {o.x, o.y + height - 1, o.x + width, o.y + height},
                          {o.x, o.y, o.x + 1, o.y + height},
                          {o.x + width - 1, o.y, o.x + width, o.y + height}};
    for (const RECT& e : edges) FillSurface(top.surface, Intersect(e, visible), pixel);
}

}  // namespace

void Invalidate(Window& w, const RECT* clientRect, bool erase) {
    if (!IsVisible(w)) return;
    RECT client = ClientRectOf(w);
    RECT r = clientRect ? Intersect(*clientRect, client) : client;
    if (RectEmpty(r)) return;
    w.update = Union(w.update, r);
    w.erase = w.erase || erase;
    WakeThread(w.threadId);
    if (w.style & WS_CLIPCHILDREN) return;
    for (HWND h : w.children) {
        auto child = LookupWindow(h);
        if (!child || !(child->style & WS_VISIBLE)) continue;
        RECT overlap = Intersect(r, child->rect);
        if (RectEmpty(overlap)) continue;
        int b = BorderWidth(*child);
        RECT inChild = Offset(overlap, -(child->rect.left + b), -(child->rect.top + b));
        Invalidate(*child, &inChild, erase);
    }
}

void InvalidateScreenArea(Window& w, const RECT& screen) {
    POINT origin = ClientOrigin(w);
    RECT r = Offset(screen, -origin.x, -origin.y);
    Invalidate(w, &r, true);
}

void PresentChange(Window& top, const RECT& surfaceRect) {
    RECT r = Intersect(surfaceRect, {0, 0, top.surface.width, top.surface.height});
    if (RectEmpty(r) || !(top.style & WS_VISIBLE)) return;
    CurrentBackend().Present(top.hwnd, top.surface, r);
}

void ReleaseDCsOf(HWND hwnd) {
    for (auto it = DCs().begin(); it != DCs().end();) {
        if (it->second.hwnd == hwnd || it->second.top == hwnd) {
            win::ReleaseWindowDC(it->first);
            it = DCs().erase(it);
        } else {
            ++it;
        }
    }
}

bool EraseWithClassBrush(HWND hwnd, HDC dc) {
    HBRUSH brush;
    RECT client;
    {
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w || !w->cls || !w->cls->info.hbrBackground) return false;
        brush = w->cls->info.hbrBackground;
        client = ClientRectOf(*w);
    }
    // A class brush of COLOR_x + 1 stands for that system colour; FillRect
    // takes both forms.
    return FillRect(dc, &client, brush) != 0;
}

}  // namespace win::core

using namespace win::core;

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    Guard lock(BigLock());
    if (!hwnd) {
        // Every top-level window repaints.
        for (HWND top : TopLevels())
            if (auto w = LookupWindow(top)) Invalidate(*w, nullptr, erase != FALSE);
        return TRUE;
    }
    auto w = LookupWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Invalidate(*w, rect, erase != FALSE);
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    // The update region is a bounding rectangle: it shrinks only when a
    // validated rectangle covers it across one whole side.
    RECT& u = w->update;
    if (!rect) {
        u = {};
    } else if (rect->left <= u.left && rect->right >= u.right) {
        if (rect->top <= u.top && rect->bottom >= u.bottom)
            u = {};
        else if (rect->top <= u.top && rect->bottom > u.top)
            u.top = rect->bottom;
        else if (rect->bottom >= u.bottom && rect->top < u.bottom)
            u.bottom = rect->top;
    } else if (rect->top <= u.top && rect->bottom >= u.bottom) {
        if (rect->left <= u.left && rect->right > u.left)
            u.left = rect->right;
        else if (rect->right >= u.right && rect->left < u.right)
            u.right = rect->left;
    }
    if (RectEmpty(u)) {
        u = {};
        w->erase = false;
    }
    return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
    bool needsErase;
    RECT update;
    {
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w) return FALSE;
        update = w->update;
        needsErase = w->erase;
    }
    if (rect) *rect = update;
    if (RectEmpty(update)) return FALSE;
    if (erase && needsErase) {
        // Erases now, as BeginPaint would, through a DC on the update region.
        HDC dc = GetDC(hwnd);
        if (dc) {
            {
                Guard lock(BigLock());
                if (auto w = LookupWindow(hwnd)) w->erase = false;
            }
            SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            ReleaseDC(hwnd, dc);
        }
    }
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
    std::vector<HWND> order;
    {
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        // The window, then its children, parents first.
        std::vector<std::shared_ptr<Window>> stack{w};
        while (!stack.empty()) {
            auto current = stack.back();
            stack.pop_back();
            order.push_back(current->hwnd);
            for (HWND child : current->children)
                if (auto c = LookupWindow(child)) stack.push_back(c);
        }
    }
    for (HWND h : order) {
        bool needsPaint;
        {
            Guard lock(BigLock());
            auto w = LookupWindow(h);
            needsPaint =
                w && IsVisible(*w) && !RectEmpty(w->update) && w->threadId == GetCurrentThreadId();
        }
        if (needsPaint) SendMessageA(h, WM_PAINT, 0, 0);
    }
    return TRUE;
}

BOOL WINAPI RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
    if (!hwnd) hwnd = nullptr;
    if (flags & RDW_INVALIDATE) {
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w) return FALSE;
        bool erase = (flags & RDW_ERASE) != 0;
        DWORD saved = w->style;
        // RDW_NOCHILDREN and RDW_ALLCHILDREN override the clip-children style.
        if (flags & RDW_NOCHILDREN) w->style |= WS_CLIPCHILDREN;
        if (flags & RDW_ALLCHILDREN) w->style &= ~WS_CLIPCHILDREN;
        Invalidate(*w, rect, erase);
        w->style = saved;
    }
    if (flags & RDW_VALIDATE) ValidateRect(hwnd, rect);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(hwnd);
    return IsWindow(hwnd);
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    if (!paint) return nullptr;
    HDC dc;
    bool erase;
    {
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w || w->threadId != GetCurrentThreadId()) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        Window& top = TopLevelOf(*w);
        POINT origin = SurfaceOrigin(*w, false);
        RECT clip = Intersect(Offset(w->update, origin.x, origin.y), VisibleClip(*w, false));
        dc = win::CreateWindowDC(&top.surface, origin, clip, hwnd);
        if (!dc) return nullptr;
        DCs()[dc] = {hwnd, top.hwnd, clip, true};
        *paint = PAINTSTRUCT{};
        paint->hdc = dc;
        paint->rcPaint = Intersect(w->update, ClientRectOf(*w));
        erase = w->erase;
        w->update = {};
        w->erase = false;
        w->paintDC = dc;
        DrawBorder(*w);
    }
    if (erase)
        paint->fErase =
            SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    if (!paint) return FALSE;
    Guard lock(BigLock());
    auto it = DCs().find(paint->hdc);
    if (it == DCs().end() || it->second.hwnd != hwnd || !it->second.paint) return FALSE;
    WindowDC record = it->second;
    DCs().erase(it);
    win::ReleaseWindowDC(paint->hdc);
    if (auto w = LookupWindow(hwnd)) {
        w->paintDC = nullptr;
        // The border lies outside the client clip; present it too.
        RECT changed = Union(record.clip, BorderWidth(*w) ? VisibleClip(*w, true) : RECT{});
        if (auto top = LookupWindow(record.top)) PresentChange(*top, changed);
    }
    return TRUE;
}

// Records a window DC for ReleaseDC; without memory for the record the DC
// is given back at once and the caller gets none.
static HDC Remember(HDC dc, const WindowDC& record) {
    if (!dc) return nullptr;
    try {
        DCs()[dc] = record;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        win::ReleaseWindowDC(dc);
        return nullptr;
    }
    return dc;
}

static HDC WindowDCFor(HWND hwnd, bool wholeWindow) {
    Guard lock(BigLock());
    if (!hwnd) {
        // The screen: a desktop-sized surface that is never shown.
        Window& desktop = Desktop();
        try {
            ResizeSurface(desktop);
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        RECT all{0, 0, desktop.surface.width, desktop.surface.height};
        return Remember(win::CreateWindowDC(&desktop.surface, {0, 0}, all, nullptr),
                        {nullptr, desktop.hwnd, all, false});
    }
    auto w = LookupWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    Window& top = TopLevelOf(*w);
    RECT clip = VisibleClip(*w, wholeWindow);
    return Remember(win::CreateWindowDC(&top.surface, SurfaceOrigin(*w, wholeWindow), clip, hwnd),
                    {hwnd, top.hwnd, clip, false});
}

HDC WINAPI GetDC(HWND hwnd) { return WindowDCFor(hwnd, false); }
HDC WINAPI GetWindowDC(HWND hwnd) { return WindowDCFor(hwnd, true); }

int WINAPI ReleaseDC(HWND hwnd, HDC dc) {
    Guard lock(BigLock());
    auto it = DCs().find(dc);
    if (it == DCs().end() || it->second.paint || it->second.hwnd != hwnd) return 0;
    WindowDC record = it->second;
    DCs().erase(it);
    win::ReleaseWindowDC(dc);
    if (record.hwnd) {
        if (auto top = LookupWindow(record.top)) PresentChange(*top, record.clip);
    }
    return 1;
}
