// The Windows bitmap records the image library keeps in memory, with the
// Windows field names and layout (the block of an image is handed to the
// GDI as a BITMAPINFO).
#pragma once
#include "win/gdi.h"

using PixInfoHeader = BITMAPINFOHEADER;
using PixRGBQuad = RGBQUAD;
static_assert(sizeof(PixInfoHeader) == 40, "the info header is 40 bytes");
static_assert(sizeof(PixRGBQuad) == 4, "a colour table entry is 4 bytes");

// Format codes of the image library.
enum : DWORD {
    PIX_FORMAT_UNKNOWN = 0,
    PIX_FORMAT_BMP = 1,
    PIX_FORMAT_GIF = 2,
    PIX_FORMAT_ICO = 3,
    PIX_FORMAT_TGA = 4,
    PIX_FORMAT_PCX = 5,
    PIX_FORMAT_WBMP = 6,
    PIX_FORMAT_WMF = 7,
    PIX_FORMAT_PNG = 8,
};
constexpr DWORD kPixLastFormat = PIX_FORMAT_PNG;

// No decoder makes an image wider or taller than this, nor with more
// pixels in all, whatever a file's header claims.
constexpr DWORD kPixMaxDimension = 32768;
constexpr uint64_t kPixMaxPixels = uint64_t(1) << 26;
