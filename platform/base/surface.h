// The meeting point of the window core and the GDI. A top-level window owns
// a Surface; a window DC draws into it through an origin and a clip.
#pragma once
#include "win/types.h"

namespace win {

// Top-down rows of 32-bit pixels, 0x00RRGGBB (blue in the lowest byte, as in
// a 32-bit DIB). stride is in pixels.
struct Surface {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// Implemented by the GDI: a DC that draws on `target`, with its logical
// (0, 0) at `origin` in surface pixels and every drawing clipped to `clip`
// (surface pixels). `owner` is the window the DC belongs to, returned by
// WindowFromDC. Released with ReleaseWindowDC; DeleteDC refuses it.
HDC CreateWindowDC(Surface* target, POINT origin, const RECT& clip, HWND owner);
void ReleaseWindowDC(HDC dc);

}  // namespace win
