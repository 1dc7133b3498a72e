#include "gdi_link.h"

// Weak references: a program built without the GDI still links and gets no
// DC. The build forces the GDI's definitions in whenever they exist (see
// platform/CMakeLists.txt), so a weak reference never hides a present GDI.
// They name the same symbols as win::CreateWindowDC and win::ReleaseWindowDC.
HDC GdiCreateWindowDC(win::Surface* target, POINT origin, const RECT& clip, HWND owner)
    __asm__("_ZN3win14CreateWindowDCEPNS_7SurfaceE8tagPOINTRK7tagRECTP6HWND__") __attribute__((weak));
void GdiReleaseWindowDC(HDC dc) __asm__("_ZN3win15ReleaseWindowDCEP5HDC__") __attribute__((weak));

namespace win::core {

HDC MakeWindowDC(Surface* target, POINT origin, const RECT& clip, HWND owner) {
    if (!GdiCreateWindowDC) return nullptr;
    return GdiCreateWindowDC(target, origin, clip, owner);
}

void DropWindowDC(HDC dc) {
    if (GdiReleaseWindowDC && dc) GdiReleaseWindowDC(dc);
}

}  // namespace win::core
