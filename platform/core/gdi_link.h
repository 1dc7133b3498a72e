// The window core reaches the GDI's window device contexts only through
// these two calls. Until the GDI is linked in, they fail: no DC.
#pragma once
#include "surface.h"

namespace win::core {

HDC MakeWindowDC(Surface* target, POINT origin, const RECT& clip, HWND owner);
void DropWindowDC(HDC dc);

}  // namespace win::core
