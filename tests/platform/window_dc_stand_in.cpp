// Stand-ins for the GDI's window device contexts, so that the window core's
// tests run before the GDI is merged. They are weak: a real GDI replaces
// them. They only hand out distinct handles; nothing draws through them.
#include <cstdint>

#include "core/surface.h"

namespace win {

__attribute__((weak)) HDC CreateWindowDC(Surface*, POINT, const RECT&, HWND) {
    static uintptr_t next = 0x7700000;
    return reinterpret_cast<HDC>(next += 16);
}

__attribute__((weak)) void ReleaseWindowDC(HDC) {}

}  // namespace win
