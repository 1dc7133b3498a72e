// The window tree: creation and destruction, relations, window data and
// text, position, size, visibility and enabling.
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "backend.h"
#include "core/menu.h"
#include "dc_registry.h"
#include "hooks.h"
#include "input.h"
#include "paint.h"
#include "queue.h"
#include "startup.h"
#include "timers.h"
#include "window.h"

namespace win::core {
namespace {

constexpr DWORD kCannotFindClass = 1407;     // ERROR_CANNOT_FIND_WND_CLASS
constexpr DWORD kChildWithoutParent = 1406;  // ERROR_TLW_WITH_WSCHILD

std::shared_ptr<Window> OwnWindow(HWND hwnd) {
    auto w = LookupWindow(hwnd);
    if (!w || w == nullptr || w->hwnd == Desktop().hwnd) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return w;
}

std::vector<HWND>& Siblings(Window& w) {
    if (w.parent) {
        if (auto parent = LookupWindow(w.parent)) return parent->children;
    }
    return TopLevels();
}

void CollectPreOrder(HWND hwnd, std::vector<HWND>& out) {
    auto w = LookupWindow(hwnd);
    if (!w) return;
    out.push_back(hwnd);
    for (HWND child : w->children) CollectPreOrder(child, out);
}

// A top-level window of the thread to activate after `leaving` goes away:
// its owner when it can take it, else the topmost visible enabled one.
HWND SuccessorOf(const Window& leaving) {
    if (auto owner = LookupWindow(leaving.owner)) {
        if ((owner->style & WS_VISIBLE) && !(owner->style & WS_DISABLED) && !owner->destroying)
            return owner->hwnd;
    }
    for (HWND h : TopLevels()) {
        auto w = LookupWindow(h);
        if (w && h != leaving.hwnd && w->threadId == leaving.threadId && !w->destroying &&
            (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED))
            return h;
    }
    return nullptr;
}

// Moves the focus out of a window that hides, is disabled or goes away:
// to its parent, or to nothing for a top-level window.
void MoveFocusOut(HWND hwnd) {
    HWND focus = GetFocus();
    if (!focus || (focus != hwnd && !IsChild(hwnd, focus))) return;
    HWND parent = nullptr;
    {
        Guard lock(BigLock());
        if (auto w = LookupWindow(hwnd)) parent = w->parent;
    }
    SetFocus(parent);
}

void SendSizeAndMove(HWND hwnd) {
    RECT client{}, rect{};
    {
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w) return;
        client = ClientRectOf(*w);
        rect = w->rect;
        int b = BorderWidth(*w);
        rect.left += b;
        rect.top += b;
    }
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(rect.left, rect.top));
}

LONG_PTR ReadExtra(const Window& w, int index, size_t size, bool* ok) {
    *ok = index >= 0 && size_t(index) + size <= w.extra.size();
    if (!*ok) return 0;
    if (size == sizeof(LONG)) {
        LONG value;
        std::memcpy(&value, w.extra.data() + index, sizeof value);
        return value;
    }
    LONG_PTR value;
    std::memcpy(&value, w.extra.data() + index, sizeof value);
    return value;
}

void WriteExtra(Window& w, int index, size_t size, LONG_PTR value) {
    if (size == sizeof(LONG)) {
        LONG narrow = static_cast<LONG>(value);
        std::memcpy(w.extra.data() + index, &narrow, sizeof narrow);
    } else {
        std::memcpy(w.extra.data() + index, &value, sizeof value);
    }
}

LONG_PTR GetLongImpl(HWND hwnd, int index, size_t size) {
    Guard lock(BigLock());
    auto w = OwnWindow(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
        case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
        case GWL_STYLE: return static_cast<LONG>(w->style);
        case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
        case GWLP_USERDATA: return w->userData;
        case GWLP_ID: return w->id;
    }
    bool ok;
    LONG_PTR value = ReadExtra(*w, index, size, &ok);
    if (!ok) SetLastError(ERROR_INVALID_INDEX);
    return value;
}

LONG_PTR SetLongImpl(HWND hwnd, int index, LONG_PTR value, size_t size) {
    Guard lock(BigLock());
    auto w = OwnWindow(hwnd);
    if (!w) return 0;
    LONG_PTR previous = 0;
    switch (index) {
        case GWLP_WNDPROC:
            if (w->threadId != GetCurrentThreadId() || !value) {
                SetLastError(ERROR_ACCESS_DENIED);
                return 0;
            }
            previous = reinterpret_cast<LONG_PTR>(w->proc);
            w->proc = reinterpret_cast<WNDPROC>(value);
            return previous;
        case GWLP_HINSTANCE:
            previous = reinterpret_cast<LONG_PTR>(w->instance);
            w->instance = reinterpret_cast<HINSTANCE>(value);
            return previous;
        case GWLP_HWNDPARENT:
            // Changes the owner of a top-level window only.
            previous = reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
            if (!w->parent) w->owner = reinterpret_cast<HWND>(value);
            return previous;
        case GWL_STYLE:
            previous = static_cast<LONG>(w->style);
            w->style = static_cast<DWORD>(value);
            return previous;
        case GWL_EXSTYLE:
            previous = static_cast<LONG>(w->exStyle);
            w->exStyle = static_cast<DWORD>(value);
            return previous;
        case GWLP_USERDATA:
            previous = w->userData;
            w->userData = value;
            return previous;
        case GWLP_ID:
            previous = w->id;
            w->id = value;
            return previous;
    }
    bool ok;
    previous = ReadExtra(*w, index, size, &ok);
    if (!ok) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    WriteExtra(*w, index, size, value);
    return previous;
}

}  // namespace
}  // namespace win::core

using namespace win::core;

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    RunStartupHooks();  // the standard control classes, among others
    HWND hwnd;
    {
        Guard lock(BigLock());
        CurrentBackend();  // sizes the desktop
        auto cls = FindClass(className);
        if (!cls) {
            SetLastError(kCannotFindClass);
            return nullptr;
        }
        if (parent == HWND_MESSAGE) parent = nullptr;
        std::shared_ptr<Window> parentWindow;
        if (parent) {
            parentWindow = LookupWindow(parent);
            if (!parentWindow || parentWindow->destroying) {
                SetLastError(ERROR_INVALID_WINDOW_HANDLE);
                return nullptr;
            }
        }
        if ((style & WS_CHILD) && !parentWindow) {
            SetLastError(kChildWithoutParent);
            return nullptr;
        }
        auto w = std::make_shared<Window>();
        w->cls = cls;
        w->threadId = GetCurrentThreadId();
        w->style = style & ~WS_VISIBLE;
        w->exStyle = exStyle;
        w->proc = cls->info.lpfnWndProc;
        w->instance = instance;
        w->extra.assign(size_t(cls->info.cbWndExtra), 0);
        if (x == CW_USEDEFAULT) x = y = 0;
        if (width == CW_USEDEFAULT) {
            width = 640;
            height = 480;
        }
        width = std::clamp(width, 0, 16384);
        height = std::clamp(height, 0, 16384);
        w->rect = {x, y, x + width, y + height};
        if (style & WS_CHILD) {
            w->parent = parent;
            w->id = reinterpret_cast<LONG_PTR>(menu);
        } else if (parentWindow) {
            // A top-level window's "parent" is its owner: the owner's root.
            w->owner = TopLevelOf(*parentWindow).hwnd;
        }
        hwnd = reinterpret_cast<HWND>(Windows().Add(w));
        w->hwnd = hwnd;
        CurrentQueue();
        if (w->parent) {
            parentWindow->children.push_back(hwnd);  // new children go to the bottom
        } else {
            TopLevels().insert(TopLevels().begin(), hwnd);
            ResizeSurface(*w);
            CurrentBackend().WindowCreated(hwnd);
        }
    }
    CREATESTRUCTA cs{param, instance, menu,        parent,     height,    width,
                     y,     x,        LONG(style), windowName, className, exStyle};
    if (CbtCreateRefused(hwnd, &cs) || !IsWindow(hwnd) ||
        !SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
        SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    {
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w) return nullptr;  // destroyed during creation
        w->created = true;
    }
    SendSizeAndMove(hwnd);
    if ((style & WS_CHILD) && !(exStyle & WS_EX_NOPARENTNOTIFY))
        SendMessageA(parent, WM_PARENTNOTIFY,
                     MAKEWPARAM(WM_CREATE, LOWORD(reinterpret_cast<ULONG_PTR>(menu))),
                     reinterpret_cast<LPARAM>(hwnd));
    if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    std::vector<HWND> owned, tree;
    HWND parent = nullptr;
    bool notifyParent = false, wasActive = false;
    LONG_PTR id = 0;
    {
        Guard lock(BigLock());
        auto w = OwnWindow(hwnd);
        if (!w) return FALSE;
        if (w->threadId != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (w->destroying) return FALSE;
        parent = w->parent;
        id = w->id;
        notifyParent = parent && !(w->exStyle & WS_EX_NOPARENTNOTIFY);
        for (HWND h : TopLevels()) {
            auto o = LookupWindow(h);
            if (o && o->owner == hwnd) owned.push_back(h);
        }
    }
    // Windows this one owns go first.
    for (HWND h : owned) DestroyWindow(h);
    if (notifyParent)
        SendMessageA(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, LOWORD(id)),
                     reinterpret_cast<LPARAM>(hwnd));
    MoveFocusOut(hwnd);
    HWND successor = nullptr;
    {
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w || w->destroying) return FALSE;
        CollectPreOrder(hwnd, tree);
        for (HWND h : tree)
            if (auto t = LookupWindow(h)) t->destroying = true;
        // What it covered on its parent shows again.
        if (parent && IsVisible(*w)) {
            if (auto p = LookupWindow(parent)) InvalidateScreenArea(*p, ScreenRect(*w));
        }
        if (!parent) {
            wasActive = GetActiveWindow() == hwnd;
            if (wasActive) successor = SuccessorOf(*w);
            w->style &= ~WS_VISIBLE;
            CurrentBackend().WindowShown(hwnd, false);
        }
    }
    if (wasActive) {
        if (successor)
            SetActiveWindow(successor);
        else {
            SendMessageA(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
            ForgetWindowInput(hwnd);
        }
    }
    HWND capture = GetCapture();
    if (capture && std::find(tree.begin(), tree.end(), capture) != tree.end()) ReleaseCapture();
    for (HWND h : tree) SendMessageA(h, WM_DESTROY, 0, 0);
    // WM_NCDESTROY goes to the children before their parent.
    for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
        HWND h = *it;
        SendMessageA(h, WM_NCDESTROY, 0, 0);
        ForgetWindowInput(h);
        win::menus::DropSystemMenu(h);
        Guard lock(BigLock());
        auto w = LookupWindow(h);
        if (!w) continue;
        std::erase(Siblings(*w), h);
        KillWindowTimers(h);
        if (auto queue = QueueOf(w->threadId)) {
            std::erase_if(queue->posted, [&](const MSG& m) { return m.hwnd == h; });
            std::erase_if(queue->input, [&](const MSG& m) { return m.hwnd == h; });
        }
        ReleaseDCsOf(h);
        if (!w->parent) CurrentBackend().WindowDestroyed(h);
        Windows().Remove(h);
    }
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) {
    Guard lock(BigLock());
    return LookupWindow(hwnd) ? TRUE : FALSE;
}

BOOL WINAPI IsChild(HWND parent, HWND hwnd) {
    Guard lock(BigLock());
    return parent && IsDescendant(parent, hwnd) ? TRUE : FALSE;
}

HWND WINAPI GetParent(HWND hwnd) {
    Guard lock(BigLock());
    auto w = OwnWindow(hwnd);
    if (!w) return nullptr;
    if (w->style & WS_CHILD) return w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND WINAPI SetParent(HWND child, HWND newParent) {
    Guard lock(BigLock());
    auto w = OwnWindow(child);
    auto p = newParent ? LookupWindow(newParent) : nullptr;
    if (!w || (newParent && !p) || !w->parent || !p || newParent == child ||
        IsDescendant(child, newParent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HWND previous = w->parent;
    std::erase(Siblings(*w), child);
    w->parent = newParent;
    p->children.push_back(child);
    if (IsVisible(*w)) Invalidate(*w, nullptr, true);
    return previous;
}

HWND WINAPI GetDesktopWindow() {
    Guard lock(BigLock());
    return Desktop().hwnd;
}

HWND WINAPI GetAncestor(HWND hwnd, UINT flags) {
    Guard lock(BigLock());
    auto w = OwnWindow(hwnd);
    if (!w) return nullptr;
    switch (flags) {
        case GA_PARENT: return w->parent ? w->parent : Desktop().hwnd;
        case GA_ROOT: return TopLevelOf(*w).hwnd;
        case GA_ROOTOWNER: {
            Window* root = &TopLevelOf(*w);
            for (int guard = 0; root->owner && guard < 64; ++guard) {
                auto owner = LookupWindow(root->owner);
                if (!owner) break;
                root = &TopLevelOf(*owner);
            }
            return root->hwnd;
        }
    }
    return nullptr;
}

HWND WINAPI GetWindow(HWND hwnd, UINT command) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (command == GW_CHILD) {
        auto& children = w->hwnd == Desktop().hwnd ? TopLevels() : w->children;
        return children.empty() ? nullptr : children.front();
    }
    if (command == GW_OWNER) return w->owner;
    auto& siblings = Siblings(*w);
    auto it = std::find(siblings.begin(), siblings.end(), hwnd);
    if (it == siblings.end()) return nullptr;
    switch (command) {
        case GW_HWNDFIRST: return siblings.front();
        case GW_HWNDLAST: return siblings.back();
        case GW_HWNDNEXT: return it + 1 == siblings.end() ? nullptr : *(it + 1);
        case GW_HWNDPREV: return it == siblings.begin() ? nullptr : *(it - 1);
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

HWND WINAPI GetTopWindow(HWND hwnd) {
    return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD);
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    Guard lock(BigLock());
    auto w = OwnWindow(dialog);
    if (!w) return nullptr;
    for (HWND h : w->children) {
        auto c = LookupWindow(h);
        if (c && LOWORD(c->id) == LOWORD(id)) return h;
    }
    SetLastError(1421);  // ERROR_CONTROL_ID_NOT_FOUND
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hwnd) {
    Guard lock(BigLock());
    auto w = OwnWindow(hwnd);
    return w && w->parent ? static_cast<int>(w->id) : 0;
}

DWORD WINAPI GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
    Guard lock(BigLock());
    auto w = OwnWindow(hwnd);
    if (!w) return 0;
    if (processId) *processId = static_cast<DWORD>(getpid());
    return w->threadId;
}

BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    std::vector<HWND> all;
    {
        Guard lock(BigLock());
        auto w = parent ? OwnWindow(parent) : nullptr;
        if (!proc || (parent && !w)) return FALSE;
        if (w) {
            for (HWND child : w->children) CollectPreOrder(child, all);
        } else {
            for (HWND top : TopLevels()) CollectPreOrder(top, all);
        }
    }
    for (HWND h : all)
        if (IsWindow(h) && !proc(h, lParam)) break;
    return TRUE;
}

BOOL WINAPI EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    std::vector<HWND> tops;
    {
        Guard lock(BigLock());
        if (!proc) return FALSE;
        tops = TopLevels();
    }
    for (HWND h : tops)
        if (IsWindow(h) && !proc(h, lParam)) return FALSE;
    return TRUE;
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    Guard lock(BigLock());
    auto cls = className ? FindClass(className) : nullptr;
    if (className && !cls) return nullptr;
    for (HWND h : TopLevels()) {
        auto w = LookupWindow(h);
        if (!w || (cls && w->cls != cls)) continue;
        if (windowName && w->text != windowName) continue;
        return h;
    }
    return nullptr;
}

LONG WINAPI GetWindowLongA(HWND hwnd, int index) {
    return static_cast<LONG>(GetLongImpl(hwnd, index, sizeof(LONG)));
}
LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG value) {
    return static_cast<LONG>(SetLongImpl(hwnd, index, value, sizeof(LONG)));
}
LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) {
    return GetLongImpl(hwnd, index, sizeof(LONG_PTR));
}
LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    return SetLongImpl(hwnd, index, value, sizeof(LONG_PTR));
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
    {
        Guard lock(BigLock());
        auto w = OwnWindow(hwnd);
        if (!w) return FALSE;
        if (w->threadId != GetCurrentThreadId()) {
            w->text = text ? text : "";
            return TRUE;
        }
    }
    return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR text, int size) {
    if (!text || size <= 0) return 0;
    text[0] = '\0';
    {
        Guard lock(BigLock());
        auto w = OwnWindow(hwnd);
        if (!w) return 0;
        if (w->threadId != GetCurrentThreadId()) {
            int n = std::min<int>(size - 1, int(w->text.size()));
            std::memcpy(text, w->text.data(), size_t(n));
            text[n] = '\0';
            return n;
        }
    }
    return static_cast<int>(
        SendMessageA(hwnd, WM_GETTEXT, WPARAM(size), reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextLengthA(HWND hwnd) {
    {
        Guard lock(BigLock());
        auto w = OwnWindow(hwnd);
        if (!w) return 0;
        if (w->threadId != GetCurrentThreadId()) return int(w->text.size());
    }
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    bool moved = false, sized = false;
    {
        Guard lock(BigLock());
        auto w = OwnWindow(hwnd);
        if (!w) return FALSE;
        RECT old = w->rect;
        RECT oldScreen = ScreenRect(*w);
        bool wasVisible = IsVisible(*w);
        RECT r = old;
        if (!(flags & SWP_NOMOVE)) r = Offset(r, x - r.left, y - r.top);
        if (!(flags & SWP_NOSIZE)) {
            r.right = r.left + std::clamp(cx, 0, 16384);
            r.bottom = r.top + std::clamp(cy, 0, 16384);
        }
        moved = r.left != old.left || r.top != old.top;
        sized = (r.right - r.left) != (old.right - old.left) ||
                (r.bottom - r.top) != (old.bottom - old.top);
        w->rect = r;
        if (!(flags & SWP_NOZORDER)) {
            auto& siblings = Siblings(*w);
            std::erase(siblings, hwnd);
            if (insertAfter == HWND_BOTTOM)
                siblings.push_back(hwnd);
            else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST ||
                     insertAfter == HWND_NOTOPMOST)
                siblings.insert(siblings.begin(), hwnd);
            else {
                auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
                siblings.insert(after == siblings.end() ? siblings.begin() : after + 1, hwnd);
            }
        }
        if (!w->parent) {
            if (sized) ResizeSurface(*w);
            if (moved || sized) CurrentBackend().WindowMoved(hwnd, w->rect);
        }
        if (!(flags & SWP_NOREDRAW) && (moved || sized || !(flags & SWP_NOZORDER)) && wasVisible) {
            if (w->parent) {
                if (auto p = LookupWindow(w->parent)) InvalidateScreenArea(*p, oldScreen);
            }
            Invalidate(*w, nullptr, true);
        }
    }
    if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
    if (sized)
        SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, [&] {
            Guard lock(BigLock());
            auto w = LookupWindow(hwnd);
            RECT c = w ? ClientRectOf(*w) : RECT{};
            return MAKELPARAM(c.right, c.bottom);
        }());
    if (moved) {
        POINT p{};
        {
            Guard lock(BigLock());
            if (auto w = LookupWindow(hwnd))
                p = {w->rect.left + BorderWidth(*w), w->rect.top + BorderWidth(*w)};
        }
        SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(p.x, p.y));
    }
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    if (!w || !rect) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = ScreenRect(*w);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    if (!w || !rect) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = ClientRectOf(*w);
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    if (!w || !point) return FALSE;
    POINT origin = ClientOrigin(*w);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    if (!w || !point) return FALSE;
    POINT origin = ClientOrigin(*w);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    Guard lock(BigLock());
    POINT a{}, b{};
    if (from) {
        auto w = LookupWindow(from);
        if (!w) return 0;
        a = ClientOrigin(*w);
    }
    if (to) {
        auto w = LookupWindow(to);
        if (!w) return 0;
        b = ClientOrigin(*w);
    }
    int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(dx, dy);
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD) {
    if (!rect) return FALSE;
    int b = (style & (WS_BORDER | WS_DLGFRAME)) ? 1 : 0;
    rect->left -= b;
    rect->top -= b;
    rect->right += b;
    rect->bottom += b;
    return TRUE;
}

HWND WINAPI WindowFromPoint(POINT point) {
    Guard lock(BigLock());
    return HitTest(point, true);
}

HWND WINAPI ChildWindowFromPoint(HWND parent, POINT point) {
    Guard lock(BigLock());
    auto w = LookupWindow(parent);
    if (!w) return nullptr;
    RECT client = ClientRectOf(*w);
    if (point.x < client.left || point.x >= client.right || point.y < client.top ||
        point.y >= client.bottom)
        return nullptr;
    for (HWND h : w->children) {
        auto c = LookupWindow(h);
        if (!c) continue;
        if (point.x >= c->rect.left && point.x < c->rect.right && point.y >= c->rect.top &&
            point.y < c->rect.bottom)
            return h;
    }
    return parent;
}

BOOL WINAPI ShowWindow(HWND hwnd, int command) {
    bool show = command != SW_HIDE;
    bool wasVisible;
    bool activate = false;
    HWND successor = nullptr;
    {
        Guard lock(BigLock());
        auto w = OwnWindow(hwnd);
        if (!w) return FALSE;
        wasVisible = (w->style & WS_VISIBLE) != 0;
        activate = show && !w->parent && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                   command != SW_SHOWMINNOACTIVE;
        if (wasVisible == show) {
            activate = activate && GetActiveWindow() != hwnd;
            if (!activate) return wasVisible ? TRUE : FALSE;
        }
    }
    if (wasVisible != show) {
        SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if (!show) MoveFocusOut(hwnd);
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w) return FALSE;
        if (show) {
            w->style |= WS_VISIBLE;
            if (IsVisible(*w)) Invalidate(*w, nullptr, true);
        } else {
            if (w->parent && IsVisible(*w)) {
                if (auto p = LookupWindow(w->parent)) InvalidateScreenArea(*p, ScreenRect(*w));
            }
            w->style &= ~WS_VISIBLE;
            w->update = {};
            if (!w->parent && GetActiveWindow() == hwnd) successor = SuccessorOf(*w);
        }
        if (!w->parent) CurrentBackend().WindowShown(hwnd, show);
    }
    if (activate) SetActiveWindow(hwnd);
    if (successor) SetActiveWindow(successor);
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    return w && IsVisible(*w) ? TRUE : FALSE;
}

BOOL WINAPI IsIconic(HWND) { return FALSE; }
BOOL WINAPI IsZoomed(HWND) { return FALSE; }

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
    bool wasDisabled;
    {
        Guard lock(BigLock());
        auto w = OwnWindow(hwnd);
        if (!w) return FALSE;
        wasDisabled = (w->style & WS_DISABLED) != 0;
        if (wasDisabled == !enable) return wasDisabled ? TRUE : FALSE;
    }
    if (!enable) {
        SendMessageA(hwnd, WM_CANCELMODE, 0, 0);
        MoveFocusOut(hwnd);
    }
    {
        Guard lock(BigLock());
        auto w = LookupWindow(hwnd);
        if (!w) return wasDisabled ? TRUE : FALSE;
        if (enable)
            w->style &= ~WS_DISABLED;
        else
            w->style |= WS_DISABLED;
    }
    SendMessageA(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}
