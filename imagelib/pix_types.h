// The Windows bitmap records the image library keeps in memory, with the
// Windows field names and layout (the block of an image is handed to the
// GDI as a BITMAPINFO).
#pragma once
#include "win/types.h"

struct PixInfoHeader {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(PixInfoHeader) == 40, "the info header is 40 bytes");

struct PixRGBQuad {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
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
};

// No decoder makes an image wider or taller than this, nor with more
// pixels in all, whatever a file's header claims.
constexpr DWORD kPixMaxDimension = 32768;
constexpr uint64_t kPixMaxPixels = uint64_t(1) << 26;
