// Icons and cursors as SDL surfaces: the pixels a native cursor or window
// icon is made from.
#pragma once
#include <SDL.h>

#include "gdi/icons.h"

namespace win::sdl {

// A new 32-bit ARGB surface of the icon (the caller frees it), or null.
// Alpha icons keep their alpha; masked ones are opaque where the mask is
// clear and transparent where it is set, except that pixels the screen
// would invert there are drawn black so they stay visible.
SDL_Surface* IconSurface(const icons::IconObject& icon);

// The SDL system cursor standing for a standard cursor number, or -1.
int SystemCursorFor(int systemId);

}  // namespace win::sdl
