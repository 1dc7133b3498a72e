// The default window procedure.
#include <cstring>

#include "backend.h"
#include "core/menu.h"
#include "dc_registry.h"
#include "window.h"

using namespace win::core;

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            auto cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            Guard lock(BigLock());
            auto w = LookupWindow(hwnd);
            if (w && cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
            return TRUE;
        }
        case WM_SETTEXT: {
            Guard lock(BigLock());
            auto w = LookupWindow(hwnd);
            if (!w) return FALSE;
            auto text = reinterpret_cast<const char*>(lParam);
            w->text = text ? text : "";
            if (!w->parent) CurrentBackend().WindowTitleChanged(hwnd, w->text);
            return TRUE;
        }
        case WM_GETTEXT: {
            auto buffer = reinterpret_cast<char*>(lParam);
            if (!buffer || wParam == 0) return 0;
            Guard lock(BigLock());
            auto w = LookupWindow(hwnd);
            if (!w) return 0;
            size_t n = std::min<size_t>(wParam - 1, w->text.size());
            std::memcpy(buffer, w->text.data(), n);
            buffer[n] = '\0';
            return LRESULT(n);
        }
        case WM_GETTEXTLENGTH: {
            Guard lock(BigLock());
            auto w = LookupWindow(hwnd);
            return w ? LRESULT(w->text.size()) : 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return EraseWithClassBrush(hwnd, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_SETICON: {
            Guard lock(BigLock());
            auto w = LookupWindow(hwnd);
            if (!w || (wParam != ICON_BIG && wParam != ICON_SMALL)) return 0;
            HICON& slot = wParam == ICON_BIG ? w->bigIcon : w->smallIcon;
            HICON previous = slot;
            slot = reinterpret_cast<HICON>(lParam);
            if (!w->parent) CurrentBackend().WindowIconChanged(hwnd, w->bigIcon, w->smallIcon);
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_GETICON: {
            Guard lock(BigLock());
            auto w = LookupWindow(hwnd);
            if (!w) return 0;
            HICON icon = nullptr;
            if (wParam == ICON_BIG)
                icon = w->bigIcon;
            else if (wParam == ICON_SMALL)
                icon = w->smallIcon;
            else if (wParam == ICON_SMALL2)
                icon = w->smallIcon ? w->smallIcon : w->bigIcon;
            return reinterpret_cast<LRESULT>(icon);
        }
        case WM_SYSCOMMAND: return win::menus::DefSysCommand(hwnd, wParam, lParam);
        case WM_SYSKEYDOWN: win::menus::DefSysKeyDown(hwnd, wParam, lParam); return 0;
        case WM_RBUTTONUP: win::menus::DefRightButtonUp(hwnd, lParam); return 0;
        case WM_SETCURSOR: {
            if (LOWORD(lParam) != HTCLIENT) return FALSE;
            HWND parent = nullptr;
            HCURSOR cursor = nullptr;
            {
                Guard lock(BigLock());
                auto w = LookupWindow(hwnd);
                if (!w) return FALSE;
                if (w->style & WS_CHILD) parent = w->parent;
                if (w->cls) cursor = w->cls->info.hCursor;
            }
            // The parent may set the cursor for its children.
            if (parent && SendMessageA(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
            if (!cursor) return FALSE;
            SetCursor(cursor);
            return TRUE;
        }
        case WM_MOUSEWHEEL: {
            // Unhandled wheel turns go up to the parent, as on Windows.
            HWND parent = nullptr;
            {
                Guard lock(BigLock());
                auto w = LookupWindow(hwnd);
                if (w && (w->style & WS_CHILD)) parent = w->parent;
            }
            return parent ? SendMessageA(parent, WM_MOUSEWHEEL, wParam, lParam) : 0;
        }
        case WM_CANCELMODE:
            if (GetCapture() == hwnd) ReleaseCapture();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) SetFocus(hwnd);
            return 0;
        case WM_MOUSEACTIVATE: return MA_ACTIVATE;
        case WM_NCHITTEST: return HTCLIENT;
        case WM_NCACTIVATE: return TRUE;
    }
    return 0;
}
