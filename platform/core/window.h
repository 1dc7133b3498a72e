// The window manager's model: classes, windows and the tree. Every function
// here expects BigLock() held and never calls a window procedure.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/handle_table.h"
#include "base/surface.h"
#include "lock.h"

namespace win::core {

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    WNDCLASSA info{};  // lpszClassName points into `name`
};

struct Window {
    HWND hwnd = nullptr;
    std::shared_ptr<WindowClass> cls;
    DWORD threadId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;  // the control id of a child window
    std::vector<unsigned char> extra;

    HWND parent = nullptr;  // null for top-level windows (and the desktop)
    HWND owner = nullptr;
    // The owned popup (at any depth) that was active last, for
    // GetLastActivePopup: where a click on a disabled owner is sent.
    HWND lastActivePopup = nullptr;
    std::vector<HWND> children;  // in z-order, topmost first
    RECT rect{};                 // in the parent's client coordinates (screen for top-level)

    // Painting state: the update rectangle in client coordinates (empty:
    // nothing to paint) and whether the background must be erased.
    RECT update{};
    bool erase = false;
    HDC paintDC = nullptr;  // between BeginPaint and EndPaint

    bool destroying = false;
    bool created = false;  // WM_CREATE answered

    // WM_SETICON's icons (not owned).
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;

    // Top-level windows own their pixels.
    std::vector<uint32_t> pixels;
    Surface surface;
};

// Registries.
HandleTable<Window>& Windows();
std::shared_ptr<Window> LookupWindow(HWND hwnd);  // null for a stale or random handle
std::shared_ptr<WindowClass> FindClass(const char* nameOrAtom);
Window& Desktop();
// Top-level windows in z-order, topmost first.
std::vector<HWND>& TopLevels();

// Geometry.
int BorderWidth(const Window& w);
RECT ScreenRect(const Window& w);
POINT ClientOrigin(const Window& w);  // client (0, 0) in screen coordinates
RECT ClientRectOf(const Window& w);   // (0, 0, width, height)
Window& TopLevelOf(Window& w);
bool IsVisible(const Window& w);  // it and all its ancestors are visible
bool IsEnabled(const Window& w);  // it and all its ancestors are enabled
bool IsDescendant(HWND ancestor, HWND hwnd);
// The part of the window's client area (or whole window) not cut off by its
// ancestors, in its top-level surface's pixels.
RECT VisibleClip(Window& w, bool wholeWindow);
// Surface position of the window's client (or window) origin.
POINT SurfaceOrigin(Window& w, bool wholeWindow);
// Reallocates a top-level window's pixels after a size change.
void ResizeSurface(Window& w);

// Rectangle arithmetic.
bool RectEmpty(const RECT& r);
RECT Intersect(const RECT& a, const RECT& b);
RECT Union(const RECT& a, const RECT& b);
RECT Offset(RECT r, int dx, int dy);

// Windows of the given thread in painting order: each top-level window, then
// its descendants, parents before children, siblings bottom to top.
std::vector<std::shared_ptr<Window>> PaintOrder(DWORD threadId);
// The deepest visible window at a screen point; `enabledOnly` skips disabled
// child windows (their parent takes the point).
HWND HitTest(POINT screen, bool enabledOnly);
// The same within one top-level window only (a point a native window
// received belongs to it, whatever lies above it in the core's z-order).
HWND HitTestIn(HWND top, POINT screen, bool enabledOnly);

}  // namespace win::core
