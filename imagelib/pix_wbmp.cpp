// Wireless bitmaps, type 0: one bit per pixel, rows top-down, 1 is white.
#include <cstring>

#include "imagelib/pix_codecs.h"

namespace {

// A multi-byte integer: 7 bits a byte, high bit set on all but the last.
bool ReadMultiByte(PixFile* stream, DWORD& value) {
    value = 0;
    for (int k = 0; k < 4; ++k) {
        long c = stream->GetC();
        if (c < 0) return false;
        value = (value << 7) | DWORD(c & 0x7F);
        if (!(c & 0x80)) return true;
    }
    return false;
}

}  // namespace

bool PixImageWBMP::DecodeFile(PixFile* stream) {
    DWORD type, width, height;
    long fixedHeader;
    if (!ReadMultiByte(stream, type) || type != 0 || (fixedHeader = stream->GetC()) != 0 ||
        !ReadMultiByte(stream, width) || !ReadMultiByte(stream, height)) {
        return Fail("Not a WBMP");
    }
    if (!pix::SizeIsSane(width, height)) {
        return Fail("WBMP size %u x %u refused", unsigned(width), unsigned(height));
    }
    const DWORD rowBytes = (width + 7) / 8;
    if (uint64_t(rowBytes) * height > uint64_t(pix::Remaining(stream))) {
        return Fail("WBMP data truncated");
    }
    if (!Create(width, height, 1, PIX_FORMAT_WBMP)) return false;
    PixRGBQuad* palette = GetPalette();
    palette[0] = PixRGBQuad{0, 0, 0, 0};
    palette[1] = PixRGBQuad{255, 255, 255, 0};
    SyncBlockHeader();
    const BYTE keep = BYTE(0xFF << ((8 - width % 8) % 8));
    for (DWORD y = 0; y < height; ++y) {
        BYTE* row = GetRow(height - 1 - y);
        if (!pix::ReadExact(stream, row, rowBytes)) {
            return Fail("WBMP data truncated");
        }
        row[rowBytes - 1] &= keep;
    }
    return true;
}
