// The device contexts the window core handed out (GetDC, BeginPaint).
// Callers hold BigLock().
#pragma once
#include <windows.h>

namespace win::core {

struct WindowDC {
    HWND hwnd;  // null for the screen
    HWND top;   // the window whose pixels it draws on
    RECT clip;  // in those pixels
    bool paint;  // from BeginPaint
};

const WindowDC* FindWindowDC(HDC dc);
// Fills the DC's clip with the window's class brush when that brush is a
// system colour (COLOR_x + 1). False when it did not erase.
bool EraseWithClassBrush(HWND hwnd, HDC dc);

}  // namespace win::core
