// Device-independent bitmaps: reading a BITMAPINFO (every header size from
// the 12-byte core header to the V5 header), converting DIB rows of 1, 4, 8,
// 16, 24 and 32 bits (with RLE4, RLE8 and bit-fields) to 32-bit pixels and
// back. Every conversion of the GDI and of LoadImageA goes through here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "win/gdi.h"

namespace win::gdi {

// Limits on the size of any bitmap the GDI creates or reads: 16 million
// pixels (64 MB) is room for a 4K screen, and keeps a tiny hostile RLE file
// from costing more than that.
constexpr int kMaxDimension = 32767;
constexpr int64_t kMaxPixels = int64_t(1) << 24;
inline bool SizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxDimension && height <= kMaxDimension &&
           width * height <= kMaxPixels;
}

struct DibFormat {
    int width = 0;
    int height = 0;        // always positive
    bool topDown = false;  // rows stored from the top
    int bitCount = 0;      // 1, 4, 8, 16, 24 or 32
    DWORD compression = BI_RGB;
    uint32_t masks[3] = {0, 0, 0};  // red, green, blue (16 and 32 bits)
    std::vector<uint32_t> palette;  // 0x00RRGGBB, for 1, 4 and 8 bits
    size_t stride = 0;              // bytes per row
    size_t headerBytes = 0;         // header plus masks plus colour table
    size_t imageBytes = 0;          // uncompressed: stride * height; RLE: biSizeImage
    bool core = false;              // 12-byte header with 3-byte colour entries
};

// Reads `info` (at most `available` bytes of it may be read) into `out`.
// Refuses unknown header sizes, bad bit counts, compressions that do not
// suit the bit count, absurd sizes and DIB_PAL_COLORS tables.
bool ReadDibFormat(const void* info, size_t available, UINT usage, DibFormat& out);

// Bytes of one uncompressed row.
size_t DibStride(int width, int bitCount);

// Converts the DIB's rows to top-down 32-bit pixels: `dest` row y receives
// image row y counted from the top. `size` bounds the bits. RLE pixels that
// the stream skips are left as they were in `dest`. False if the bits are
// too short or the RLE stream is malformed.
bool DecodeDib(const DibFormat& format, const uint8_t* bits, size_t size, uint32_t* dest,
               ptrdiff_t destPitch);

// Converts top-down 32-bit pixels into the DIB's uncompressed rows (for
// 1, 4 and 8 bits, to the nearest colour of the palette).
void EncodeDib(const DibFormat& format, const uint32_t* src, ptrdiff_t srcPitch, uint8_t* bits);

// Colour tables GetDIBits hands out for a bitmap that has none of its own.
std::vector<uint32_t> DefaultPalette(int bitCount);

// The masks a 16- or 32-bit DIB without BI_BITFIELDS uses.
void DefaultMasks(int bitCount, uint32_t masks[3]);

}  // namespace win::gdi
