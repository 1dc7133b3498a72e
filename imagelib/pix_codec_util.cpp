#include <algorithm>

#include "imagelib/pix_codecs.h"

namespace pix {

long Remaining(PixFile* stream) {
    long size = stream->Size();
    long position = stream->Tell();
    if (size < 0 || position < 0 || position >= size) return 0;
    return size - position;
}

bool ReadExact(PixFile* stream, void* dst, size_t count) {
    return count == 0 || stream->Read(dst, 1, count) == count;
}

void SetIndex(BYTE* row, DWORD x, WORD bpp, BYTE index) {
    switch (bpp) {
        case 8: row[x] = index; break;
        case 4: {
            BYTE& b = row[x / 2];
            b = (x % 2) ? BYTE((b & 0xF0) | (index & 0x0F)) : BYTE((b & 0x0F) | (index << 4));
            break;
        }
        default: {
            BYTE bit = BYTE(0x80 >> (x % 8));
            BYTE& b = row[x / 8];
            b = (index & 1) ? BYTE(b | bit) : BYTE(b & ~bit);
            break;
        }
    }
}

void FlipRows(PixImage& image) {
    DWORD height = image.GetHeight();
    for (DWORD top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        BYTE* a = image.GetRow(top);
        BYTE* b = image.GetRow(bottom);
        std::swap_ranges(a, a + image.GetStride(), b);
    }
}

bool SizeIsSane(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width <= kPixMaxDimension && height <= kPixMaxDimension &&
           width * height <= kPixMaxPixels;
}

}  // namespace pix
