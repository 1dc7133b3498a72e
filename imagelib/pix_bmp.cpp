// The BMP codec: file header or bare DIB; core (12-byte), info (40-byte) and
// the larger V2 to V5 headers; 1, 4, 8 bits with RLE4/RLE8; 16 and 32 bits
// with bit-fields; 24 bits. Everything decodes to 1, 4, 8 or 24 bits.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "imagelib/pix_bytes.h"
#include "imagelib/pix_codecs.h"

namespace {

constexpr DWORD kRGB = 0, kRLE8 = 1, kRLE4 = 2, kBitFields = 3, kAlphaBitFields = 6;

// One colour channel of a 16- or 32-bit pixel, described by its mask.
// Narrow channels widen to 8 bits by repeating their bit pattern, so that
// full intensity stays full (5 bits 10101 become 10101101).
class Channel {
public:
    explicit Channel(uint32_t mask) {
        if (!mask) return;
        m_shift = std::countr_zero(mask);
        int bits = std::countr_one(mask >> m_shift);
        if (bits > 8) {
            // Keep the top eight bits of a wide channel.
            m_shift += bits - 8;
            bits = 8;
        }
        m_values = 1u << bits;
        for (uint32_t v = 0; v < m_values; ++v) {
            uint32_t wide = 0;
            for (int s = 8 - bits; s > -bits; s -= bits) wide |= s >= 0 ? v << s : v >> -s;
            m_widen[v] = BYTE(wide);
        }
    }
    BYTE Get(uint32_t pixel) const {
        return m_values ? m_widen[(pixel >> m_shift) & (m_values - 1)] : 0;
    }

private:
    int m_shift = 0;
    uint32_t m_values = 0;
    BYTE m_widen[256] = {};
};

long DpiOf(LONG pelsPerMeter) { return long(std::floor(pelsPerMeter * 0.0254 + 0.5)); }

// Expands run-length coded rows (bottom row first) into the image. Returns
// null on success or the reason for refusing the data.
const char* ExpandRle(const BYTE* src, size_t n, PixImage& image, bool fourBit) {
    const DWORD width = image.GetWidth(), height = image.GetHeight();
    const WORD bpp = image.GetBpp();
    DWORD x = 0, y = 0;
    size_t i = 0;
    while (y < height) {
        if (n - i < 2) return "RLE data truncated";
        BYTE count = src[i], value = src[i + 1];
        i += 2;
        if (count) {
            BYTE* row = image.GetRow(y);
            for (DWORD k = 0; k < count && x < width; ++k, ++x) {
                BYTE index = fourBit ? ((k % 2) ? (value & 0x0F) : (value >> 4)) : value;
                pix::SetIndex(row, x, bpp, index);
            }
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                ++y;
                break;
            case 1:  // end of bitmap
                return nullptr;
            case 2:  // delta
                if (n - i < 2) return "RLE data truncated";
                x += src[i];
                y += src[i + 1];
                i += 2;
                if (x > width || y > height) return "RLE delta outside the image";
                break;
            default: {  // absolute run of `value` pixels, padded to 16 bits
                size_t bytes = fourBit ? (value + 1) / 2 : value;
                size_t padded = (bytes + 1) & ~size_t(1);
                if (n - i < bytes) return "RLE data truncated";
                BYTE* row = image.GetRow(y);
                for (DWORD k = 0; k < value && x < width; ++k, ++x) {
                    BYTE b = src[i + (fourBit ? k / 2 : k)];
                    BYTE index = fourBit ? ((k % 2) ? (b & 0x0F) : (b >> 4)) : b;
                    pix::SetIndex(row, x, bpp, index);
                }
                i += std::min(padded, n - i);
                break;
            }
        }
    }
    return nullptr;
}

}  // namespace

bool PixImageBMP::DecodeFile(PixFile* stream) {
    long base = stream->Tell();
    BYTE fileHeader[14];
    if (!pix::ReadExact(stream, fileHeader, sizeof fileHeader)) {
        return Fail("Not a BMP");
    }
    long pixelOffset = -1;
    if (fileHeader[0] == 'B' && fileHeader[1] == 'M') {
        pixelOffset = long(PixGet32(fileHeader + 10) & 0x7FFFFFFF);
        if (pixelOffset == 0) pixelOffset = -1;
    } else if (!stream->Seek(base, SEEK_SET)) {
        return Fail("Not a BMP");
    }
    return DecodeDib(stream, base, pixelOffset, false);
}

bool PixImageBMP::DecodeDib(PixFile* stream, long base, long pixelOffset, bool icon) {
    // The info header, read whole (the V4 and V5 headers carry the masks at
    // bytes 40 to 55; their colour-space fields are not used).
    BYTE header[124] = {};
    if (!pix::ReadExact(stream, header, 4)) {
        return Fail("Error reading BMP info");
    }
    const DWORD headerSize = PixGet32(header);
    const bool core = headerSize == 12;
    if (!core && (headerSize < 40 || headerSize > 4096)) {
        return Fail("Error reading BMP info");
    }
    const DWORD inHeader = std::min<DWORD>(headerSize, sizeof header);
    if (!pix::ReadExact(stream, header + 4, inHeader - 4) ||
        (headerSize > inHeader && !stream->Seek(long(headerSize - inHeader), SEEK_CUR))) {
        return Fail("Error reading BMP info");
    }

    int64_t width, height;
    DWORD bitCount, compression = kRGB, colours = 0;
    LONG xPels = 0, yPels = 0;
    if (core) {
        width = PixGet16(header + 4);
        height = int16_t(PixGet16(header + 6));
        bitCount = PixGet16(header + 10);
    } else {
        width = int32_t(PixGet32(header + 4));
        height = int32_t(PixGet32(header + 8));
        bitCount = PixGet16(header + 14);
        compression = PixGet32(header + 16);
        xPels = LONG(PixGet32(header + 24));
        yPels = LONG(PixGet32(header + 28));
        colours = PixGet32(header + 32);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (icon) height /= 2;  // the colour rows, then as many rows of mask
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32) {
        return Fail("Error reading BMP info: %u bits per pixel", unsigned(bitCount));
    }
    if (!pix::SizeIsSane(uint64_t(std::max<int64_t>(width, 0)), uint64_t(height))) {
        return Fail("Error reading BMP info: bad size %lld x %lld", (long long)width,
                    (long long)height);
    }
    // OS/2 2.x headers (64 bytes) use codes 3 and 4 for Huffman and RLE24.
    if (headerSize == 64 && compression >= kBitFields) compression = 0xFFFF;
    switch (bitCount) {
        case 1:
        case 4:
        case 8:
            if (!(compression == kRGB || (bitCount == 8 && compression == kRLE8) ||
                  (bitCount == 4 && compression == kRLE4))) {
                return Fail("compression type not supported");
            }
            break;
        case 24:
            if (compression != kRGB) {
                return Fail("unknown compression");
            }
            break;
        default:
            if (compression != kRGB && compression != kBitFields &&
                compression != kAlphaBitFields) {
                return Fail(bitCount == 16 ? "compression type not supported"
                                           : "unknown compression");
            }
            break;
    }

    // Masks of 16- and 32-bit pixels: inside a large header, else after it.
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bitCount == 32) {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }
    if (compression == kBitFields || compression == kAlphaBitFields) {
        BYTE m[16];
        if (headerSize >= 52) {
            std::memcpy(m, header + 40, sizeof m);
        } else if (!pix::ReadExact(stream, m, compression == kAlphaBitFields ? 16 : 12)) {
            return Fail("Error reading BMP info");
        }
        for (int c = 0; c < 3; ++c) masks[c] = PixGet32(m + 4 * c);
    }

    // The colour table: what the header counts, or the full table.
    const DWORD fullTable = bitCount <= 8 ? (1u << bitCount) : 0;
    DWORD tableEntries = colours ? colours : fullTable;
    if (bitCount <= 8 && tableEntries > fullTable) {
        return Fail("bad colour table size: %u entries for %u bits", unsigned(colours),
                    unsigned(bitCount));
    }
    const DWORD entrySize = core ? 3 : 4;
    if (uint64_t(tableEntries) * entrySize > uint64_t(pix::Remaining(stream))) {
        return Fail("BMP colour table truncated");
    }

    // Where the rows start, and whether an uncompressed picture's rows are
    // all there, is known before anything is allocated.
    const long fileSize = stream->Size();
    const long tableEnd = stream->Tell() + long(tableEntries * entrySize);
    const long pixelStart = pixelOffset >= 0 ? base + pixelOffset : tableEnd;
    if (pixelOffset >= 0 && (pixelOffset > fileSize - base || pixelStart < 0)) {
        return Fail("BMP pixel offset outside the file");
    }
    const uint64_t available = uint64_t(std::max(0L, fileSize - pixelStart));
    const uint64_t srcStride = ((uint64_t(width) * bitCount + 31) / 32) * 4;
    const uint64_t rowBytes = (uint64_t(width) * bitCount + 7) / 8;
    // The last row's padding may be missing; the rest must be there.
    if (compression != kRLE8 && compression != kRLE4 &&
        srcStride * uint64_t(height - 1) + rowBytes > available) {
        return Fail("BMP pixel data truncated");
    }

    if (!Create(DWORD(width), DWORD(height), bitCount, PIX_FORMAT_BMP)) {
        return Fail("Can't allocate memory");
    }
    SetXDPI(DpiOf(xPels));
    SetYDPI(DpiOf(yPels));
    SyncBlockHeader();

    std::vector<BYTE> table(size_t(tableEntries) * entrySize);
    if (!pix::ReadExact(stream, table.data(), table.size())) {
        return Fail("BMP colour table truncated");
    }
    if (bitCount <= 8) {
        PixRGBQuad* palette = GetPalette();
        for (DWORD k = 0; k < tableEntries; ++k) {
            const BYTE* e = &table[size_t(k) * entrySize];
            palette[k] = PixRGBQuad{e[0], e[1], e[2], 0};
        }
    }

    if (pixelOffset >= 0 && !stream->Seek(pixelStart, SEEK_SET)) {
        return Fail("BMP pixel offset outside the file");
    }
    const DWORD w = GetWidth(), h = GetHeight();
    if (compression == kRLE8 || compression == kRLE4) {
        std::vector<BYTE> data(size_t(pix::Remaining(stream)));
        if (!pix::ReadExact(stream, data.data(), data.size())) {
            return Fail("RLE data truncated");
        }
        if (const char* problem =
                ExpandRle(data.data(), data.size(), *this, compression == kRLE4)) {
            return Fail("%s", problem);
        }
    } else {
        if (bitCount <= 8 || bitCount == 24) {
            // Same row layout as the image: read straight into the block.
            BYTE* rows = GetRow(0);
            size_t total = size_t(srcStride) * (h - 1) + size_t(rowBytes);
            if (!pix::ReadExact(stream, rows, total)) {
                return Fail("BMP pixel data truncated");
            }
            // Padding bits beyond the width are not part of the picture.
            if (bitCount <= 8 && (uint64_t(w) * bitCount) % 8) {
                BYTE keep = BYTE(0xFF << (8 - (uint64_t(w) * bitCount) % 8));
                for (DWORD y = 0; y < h; ++y) GetRow(y)[rowBytes - 1] &= keep;
            }
        } else {
            std::vector<BYTE> src(srcStride);
            const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
            for (DWORD y = 0; y < h; ++y) {
                size_t want = y + 1 < h ? srcStride : rowBytes;
                if (!pix::ReadExact(stream, src.data(), want)) {
                    return Fail("BMP pixel data truncated");
                }
                BYTE* dst = GetRow(y);
                for (DWORD x = 0; x < w; ++x) {
                    uint32_t p = bitCount == 16 ? PixGet16(&src[x * 2]) : PixGet32(&src[x * 4]);
                    dst[x * 3] = blue.Get(p);
                    dst[x * 3 + 1] = green.Get(p);
                    dst[x * 3 + 2] = red.Get(p);
                }
            }
        }
    }
    if (topDown) pix::FlipRows(*this);
    return true;
}

bool PixImageBMP::EncodeFile(PixFile* stream) {
    if (EncodeSafeCheck(stream)) return false;
    const DWORD tableBytes = m_bih.biClrUsed * DWORD(sizeof(PixRGBQuad));
    BYTE head[14 + 40];
    head[0] = 'B';
    head[1] = 'M';
    PixPut32(head + 2, GetSize() + 14);
    PixPut32(head + 6, 0);
    PixPut32(head + 10, 14 + m_bih.biSize + tableBytes);
    // The current header, little-endian, in place of the block's copy.
    BYTE* h = head + 14;
    PixPut32(h, m_bih.biSize);
    PixPut32(h + 4, DWORD(m_bih.biWidth));
    PixPut32(h + 8, DWORD(m_bih.biHeight));
    PixPut16(h + 12, m_bih.biPlanes);
    PixPut16(h + 14, m_bih.biBitCount);
    PixPut32(h + 16, m_bih.biCompression);
    PixPut32(h + 20, m_bih.biSizeImage);
    PixPut32(h + 24, DWORD(m_bih.biXPelsPerMeter));
    PixPut32(h + 28, DWORD(m_bih.biYPelsPerMeter));
    PixPut32(h + 32, m_bih.biClrUsed);
    PixPut32(h + 36, m_bih.biClrImportant);
    SyncBlockHeader();

    const DWORD rest = GetSize() - m_bih.biSize;
    if (stream->Write(head, 1, sizeof head) != sizeof head ||
        stream->Write(m_pBlock + m_bih.biSize, 1, rest) != rest) {
        return Fail("BMP write failed");
    }
    return true;
}
