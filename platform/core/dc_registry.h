// The device contexts the window core handed out (GetDC, BeginPaint).
// Callers hold BigLock().
#pragma once
#include <windows.h>

namespace win::core {

struct WindowDC {
    HWND hwnd;   // null for the screen
    HWND top;    // the window whose pixels it draws on
    RECT clip;   // in those pixels
    bool paint;  // from BeginPaint
};

// Fills the window's client area on `dc` with its class brush. False when
// it has none (nothing erased). Called without BigLock().
bool EraseWithClassBrush(HWND hwnd, HDC dc);
// Releases the DCs still out on a window that is going away, so that none
// is left drawing on pixels that no longer exist.
void ReleaseDCsOf(HWND hwnd);

}  // namespace win::core
