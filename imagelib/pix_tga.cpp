// Targa: colour-mapped, true-colour and grey images, uncompressed or
// run-length coded, 8, 15, 16, 24 and 32 bits, either origin.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imagelib/pix_bytes.h"
#include "imagelib/pix_codecs.h"

namespace {

// Five bits widen to eight by repeating their top bits.
BYTE Scale5(unsigned v) { return BYTE((v << 3) | (v >> 2)); }

// Expands run-length packets into `out` (whole pixels of `bytes` bytes).
bool ExpandPackets(PixFile* stream, std::vector<BYTE>& out, DWORD bytes) {
    size_t filled = 0;
    BYTE pixel[4];
    while (filled < out.size()) {
        long packet = stream->GetC();
        if (packet < 0) return false;
        size_t count = size_t(packet & 0x7F) + 1;
        count = std::min(count, (out.size() - filled) / bytes);
        if (packet & 0x80) {
            if (!pix::ReadExact(stream, pixel, bytes)) return false;
            for (size_t k = 0; k < count; ++k, filled += bytes)
                std::memcpy(&out[filled], pixel, bytes);
        } else {
            if (!pix::ReadExact(stream, &out[filled], count * bytes)) return false;
            filled += count * bytes;
        }
    }
    return true;
}

}  // namespace

bool PixImageTGA::DecodeFile(PixFile* stream) {
    BYTE h[18];
    if (!pix::ReadExact(stream, h, sizeof h)) {
        return Fail("Not a TGA");
    }
    const BYTE idLength = h[0], mapType = h[1], imageType = h[2];
    const DWORD mapFirst = PixGet16(h + 3), mapLength = PixGet16(h + 5), mapBits = h[7];
    const DWORD width = PixGet16(h + 12), height = PixGet16(h + 14), depth = h[16];
    const BYTE descriptor = h[17];
    const bool rle = imageType >= 9;
    const int kind = imageType & 7;  // 1 colour-mapped, 2 true colour, 3 grey
    // The format has no signature: every field must make sense.
    bool valid = (imageType == 1 || imageType == 2 || imageType == 3 || imageType == 9 ||
                  imageType == 10 || imageType == 11) &&
                 mapType <= 1 && (descriptor & 0xC0) == 0 && width > 0 && height > 0;
    if (kind == 1)
        valid = valid && mapType == 1 && depth == 8;
    else if (kind == 2)
        valid = valid && (depth == 15 || depth == 16 || depth == 24 || depth == 32);
    else
        valid = valid && depth == 8;
    if (mapType == 1)
        valid = valid && (mapBits == 15 || mapBits == 16 || mapBits == 24 || mapBits == 32);
    if (!valid) {
        return Fail("Not a TGA");
    }
    if (!pix::SizeIsSane(width, height)) {
        return Fail("TGA size %u x %u refused", unsigned(width), unsigned(height));
    }
    const DWORD mapEntryBytes = (mapBits + 7) / 8;
    const DWORD bytes = (depth + 7) / 8;
    const uint64_t pixelBytes = uint64_t(width) * height * bytes;
    const uint64_t headerBytes =
        uint64_t(idLength) + (mapType ? uint64_t(mapLength) * mapEntryBytes : 0);
    // Run-length data is at least one byte for every 128 pixels.
    const uint64_t minimum = headerBytes + (rle ? pixelBytes / (128 * bytes) : pixelBytes);
    if (minimum > uint64_t(pix::Remaining(stream))) {
        return Fail("TGA data truncated");
    }
    stream->Seek(idLength, SEEK_CUR);
    std::vector<BYTE> map(size_t(mapType ? mapLength * mapEntryBytes : 0));
    if (!pix::ReadExact(stream, map.data(), map.size())) {
        return Fail("TGA colour map truncated");
    }
    std::vector<BYTE> pixels(pixelBytes);
    if (rle ? !ExpandPackets(stream, pixels, bytes)
            : !pix::ReadExact(stream, pixels.data(), pixels.size())) {
        return Fail("TGA data truncated");
    }

    if (!Create(width, height, kind == 2 ? 24 : 8, PIX_FORMAT_TGA)) return false;
    if (kind != 2) {
        PixRGBQuad* palette = GetPalette();
        for (DWORD k = 0; k < 256; ++k) palette[k] = PixRGBQuad{BYTE(k), BYTE(k), BYTE(k), 0};
        if (kind == 1) {
            for (DWORD k = 0; k < mapLength; ++k) {
                DWORD index = mapFirst + k;
                if (index >= 256) break;
                const BYTE* e = &map[size_t(k) * mapEntryBytes];
                if (mapEntryBytes == 2) {
                    unsigned v = PixGet16(e);
                    palette[index] = PixRGBQuad{Scale5(v & 31), Scale5((v >> 5) & 31),
                                                Scale5((v >> 10) & 31), 0};
                } else {
                    palette[index] = PixRGBQuad{e[0], e[1], e[2], 0};
                }
            }
        }
    }
    SyncBlockHeader();

    // Stored rows run bottom-up unless the descriptor says top-down, and
    // left to right unless it says right to left.
    const bool topDown = descriptor & 0x20, rightToLeft = descriptor & 0x10;
    for (DWORD y = 0; y < height; ++y) {
        BYTE* row = GetRow(topDown ? height - 1 - y : y);
        const BYTE* src = &pixels[size_t(y) * width * bytes];
        for (DWORD x = 0; x < width; ++x) {
            const BYTE* p = src + size_t(x) * bytes;
            DWORD dx = rightToLeft ? width - 1 - x : x;
            if (kind != 2) {
                row[dx] = p[0];
            } else if (bytes == 2) {
                unsigned v = PixGet16(p);
                row[dx * 3] = Scale5(v & 31);
                row[dx * 3 + 1] = Scale5((v >> 5) & 31);
                row[dx * 3 + 2] = Scale5((v >> 10) & 31);
            } else {
                std::memcpy(row + dx * 3, p, 3);
            }
        }
    }
    return true;
}
