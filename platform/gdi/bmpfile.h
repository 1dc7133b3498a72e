// BMP files as LoadImageA reads them: the file header is checked here, and
// everything after it goes through the same DIB code as SetDIBits.
#pragma once
#include <cstddef>
#include <cstdint>

#include "win/gdi.h"

namespace win::gdi {

// A bitmap from the bytes of a BMP file: a 32-bit DDB, or (with
// LR_CREATEDIBSECTION) a DIB section of the file's own depth; scaled to
// cx x cy when those are given. Null for anything that is not a sound BMP
// file.
HBITMAP BitmapFromBmp(const uint8_t* data, size_t size, int cx, int cy, UINT flags);

}  // namespace win::gdi
