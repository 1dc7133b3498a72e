#include "gdi/dib.h"

#include <cstring>

namespace win::gdi {
namespace {

uint32_t U16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// One colour channel of a bit-field pixel.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;  // the field's largest value
    int bits = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        max = uint64_t(m) >> shift;
        uint64_t v = max;
        while (v) {
            ++bits;
            v >>= 1;
        }
    }
    uint32_t Expand(uint32_t pixel) const {
        if (!max) return 0;
        uint64_t v = (uint64_t(pixel & mask) >> shift);
        if (v > max) v = max;
        return uint32_t((v * 255 + max / 2) / max);
    }
    uint32_t Pack(uint32_t c8) const {
        if (!max) return 0;
        uint64_t v = bits <= 8 ? (c8 >> (8 - bits)) : (uint64_t(c8) * max + 127) / 255;
        return uint32_t((v << shift) & mask);
    }
};

// Nearest palette entry, remembering recent answers.
class PaletteMatcher {
public:
    explicit PaletteMatcher(const std::vector<uint32_t>& palette) : palette_(palette) {
        for (auto& e : cache_) e = {0xFFFFFFFFu, 0};
    }
    uint8_t Index(uint32_t pixel) {
        pixel &= 0xFFFFFF;
        Entry& e = cache_[(pixel ^ (pixel >> 9) ^ (pixel >> 17)) & (kCache - 1)];
        if (e.pixel == pixel) return e.index;
        int best = 0;
        int64_t bestDist = INT64_MAX;
        int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        for (size_t i = 0; i < palette_.size() && i < 256; ++i) {
            uint32_t q = palette_[i];
            int dr = r - int((q >> 16) & 0xFF), dg = g - int((q >> 8) & 0xFF),
                db = b - int(q & 0xFF);
            int64_t d = int64_t(dr) * dr + int64_t(dg) * dg + int64_t(db) * db;
            if (d < bestDist) {
                bestDist = d;
                best = int(i);
                if (d == 0) break;
            }
        }
        e = {pixel, uint8_t(best)};
        return uint8_t(best);
    }

private:
    struct Entry {
        uint32_t pixel;
        uint8_t index;
    };
    static constexpr size_t kCache = 1024;
    const std::vector<uint32_t>& palette_;
    Entry cache_[kCache];
};

uint32_t PaletteColor(const DibFormat& f, unsigned index) {
    return index < f.palette.size() ? f.palette[index] : 0;
}

// Converts one uncompressed DIB row to 32-bit pixels.
void DecodeRow(const DibFormat& f, const uint8_t* src, uint32_t* dst, const Channel ch[3]) {
    const int w = f.width;
    switch (f.bitCount) {
        case 1:
            for (int x = 0; x < w; ++x)
                dst[x] = PaletteColor(f, (src[x >> 3] >> (7 - (x & 7))) & 1);
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                dst[x] = PaletteColor(f, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
            break;
        case 8:
            for (int x = 0; x < w; ++x) dst[x] = PaletteColor(f, src[x]);
            break;
        case 16:
            for (int x = 0; x < w; ++x) {
                uint32_t p = U16(src + 2 * x);
                dst[x] = ch[0].Expand(p) << 16 | ch[1].Expand(p) << 8 | ch[2].Expand(p);
            }
            break;
        case 24:
            for (int x = 0; x < w; ++x)
                dst[x] =
                    uint32_t(src[3 * x + 2]) << 16 | uint32_t(src[3 * x + 1]) << 8 | src[3 * x];
            break;
        case 32:
            if (f.masks[0] == 0xFF0000 && f.masks[1] == 0xFF00 && f.masks[2] == 0xFF) {
                for (int x = 0; x < w; ++x) dst[x] = U32(src + 4 * x) & 0xFFFFFF;
            } else {
                for (int x = 0; x < w; ++x) {
                    uint32_t p = U32(src + 4 * x);
                    dst[x] = ch[0].Expand(p) << 16 | ch[1].Expand(p) << 8 | ch[2].Expand(p);
                }
            }
            break;
    }
}

// Run-length decoding of RLE8 and RLE4 streams, bottom-up. Pixels beyond the
// right edge are dropped; the stream may skip pixels (end of line, delta).
bool DecodeRle(const DibFormat& f, const uint8_t* bits, size_t size, uint32_t* dest,
               ptrdiff_t pitch) {
    const bool four = f.compression == BI_RLE4;
    size_t pos = 0;
    int x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](unsigned index) {
        if (x < f.width && y < f.height)
            dest[(f.height - 1 - y) * pitch + x] = PaletteColor(f, index);
        ++x;
    };
    while (y < f.height) {
        if (pos + 2 > size) return false;
        unsigned count = bits[pos], value = bits[pos + 1];
        pos += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < f.width; ++i)
                put(four ? ((i & 1) ? value & 0xF : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return true;
        } else if (value == 2) {  // delta
            if (pos + 2 > size) return false;
            x += bits[pos];
            y += bits[pos + 1];
            pos += 2;
        } else {  // absolute run of `value` pixels, padded to a whole word
            size_t bytes = four ? (value + 1) / 2 : value;
            if (pos + bytes > size) return false;
            for (unsigned i = 0; i < value; ++i) {
                unsigned index = four ? ((i & 1) ? bits[pos + i / 2] & 0xF : bits[pos + i / 2] >> 4)
                                      : bits[pos + i];
                if (x < f.width)
                    put(index);
                else
                    ++x;
            }
            pos += (bytes + 1) & ~size_t(1);
        }
    }
    return true;
}

}  // namespace

size_t DibStride(int width, int bitCount) {
    return ((size_t(width) * size_t(bitCount) + 31) / 32) * 4;
}

void DefaultMasks(int bitCount, uint32_t masks[3]) {
    if (bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
}

std::vector<uint32_t> DefaultPalette(int bitCount) {
    static const uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                      0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                      0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    std::vector<uint32_t> p;
    if (bitCount == 1) return {0x000000, 0xFFFFFF};
    if (bitCount == 4) return std::vector<uint32_t>(kVga, kVga + 16);
    if (bitCount != 8) return p;
    // The 16 VGA colours, a 6 x 6 x 6 colour cube and a ramp of 24 greys.
    p.assign(kVga, kVga + 16);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p.push_back(uint32_t(r * 51) << 16 | uint32_t(g * 51) << 8 | uint32_t(b * 51));
    for (int i = 0; i < 24; ++i) {
        uint32_t v = 8 + i * 10;
        p.push_back(v << 16 | v << 8 | v);
    }
    return p;
}

bool ReadDibFormat(const void* info, size_t available, UINT usage, DibFormat& out) {
    const uint8_t* h = static_cast<const uint8_t*>(info);
    if (!h || available < 12) return false;
    DibFormat f;
    const uint32_t size = U32(h);
    uint32_t clrUsed = 0;
    size_t entryBytes = 4;
    int64_t width, height;
    if (size == sizeof(BITMAPCOREHEADER)) {
        f.core = true;
        entryBytes = 3;
        width = U16(h + 4);
        height = U16(h + 6);
        f.bitCount = int(U16(h + 10));
    } else if ((size >= 16 && size <= 64) || size == sizeof(BITMAPV4HEADER) ||
               size == sizeof(BITMAPV5HEADER)) {
        if (available < size) return false;
        // Short OS/2 headers leave out the later fields: they read as zero.
        uint8_t full[sizeof(BITMAPV5HEADER)] = {};
        std::memcpy(full, h, size);
        width = int32_t(U32(full + 4));
        height = int32_t(U32(full + 8));
        f.bitCount = int(U16(full + 14));
        f.compression = U32(full + 16);
        f.imageBytes = U32(full + 20);
        clrUsed = U32(full + 32);
        if (size >= 52) {
            f.masks[0] = U32(full + 40);
            f.masks[1] = U32(full + 44);
            f.masks[2] = U32(full + 48);
        }
    } else {
        return false;
    }
    if (height < 0) {
        f.topDown = true;
        height = -height;
    }
    if (!SizeAllowed(width, height)) return false;
    f.width = int(width);
    f.height = int(height);

    switch (f.bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32: break;
        default: return false;
    }
    switch (f.compression) {
        case BI_RGB: break;
        case BI_RLE8:
            if (f.bitCount != 8 || f.topDown) return false;
            break;
        case BI_RLE4:
            if (f.bitCount != 4 || f.topDown) return false;
            break;
        case BI_BITFIELDS:
            if (f.bitCount != 16 && f.bitCount != 32) return false;
            break;
        default: return false;
    }

    size_t offset = size;
    if (f.compression == BI_BITFIELDS) {
        if (size < 52) {  // the three masks follow the header
            if (available < offset + 12) return false;
            f.masks[0] = U32(h + offset);
            f.masks[1] = U32(h + offset + 4);
            f.masks[2] = U32(h + offset + 8);
            offset += 12;
        }
        if (!f.masks[0] && !f.masks[1] && !f.masks[2]) DefaultMasks(f.bitCount, f.masks);
    } else {
        DefaultMasks(f.bitCount, f.masks);
    }

    if (f.bitCount <= 8) {
        if (usage != DIB_RGB_COLORS) return false;
        const uint32_t maxEntries = 1u << f.bitCount;
        const uint32_t entries = clrUsed ? clrUsed : maxEntries;
        if (entries > 256) return false;
        if (available < offset + size_t(entries) * entryBytes) return false;
        for (uint32_t i = 0; i < entries && i < maxEntries; ++i) {
            const uint8_t* e = h + offset + size_t(i) * entryBytes;
            f.palette.push_back(uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0]);
        }
        offset += size_t(entries) * entryBytes;
    }
    f.headerBytes = offset;
    f.stride = DibStride(f.width, f.bitCount);
    if (f.compression != BI_RLE4 && f.compression != BI_RLE8)
        f.imageBytes = f.stride * size_t(f.height);
    out = std::move(f);
    return true;
}

bool DecodeDib(const DibFormat& f, const uint8_t* bits, size_t size, uint32_t* dest,
               ptrdiff_t pitch) {
    if (!bits || !dest) return false;
    if (f.compression == BI_RLE8 || f.compression == BI_RLE4)
        return DecodeRle(f, bits, size, dest, pitch);
    if (size < f.stride * size_t(f.height)) return false;
    const Channel ch[3] = {Channel(f.masks[0]), Channel(f.masks[1]), Channel(f.masks[2])};
    for (int i = 0; i < f.height; ++i) {
        int y = f.topDown ? i : f.height - 1 - i;
        DecodeRow(f, bits + size_t(i) * f.stride, dest + y * pitch, ch);
    }
    return true;
}

void EncodeDib(const DibFormat& f, const uint32_t* src, ptrdiff_t pitch, uint8_t* bits) {
    if (f.bitCount == 32 && f.masks[0] == 0xFF0000 && f.masks[1] == 0x00FF00 &&
        f.masks[2] == 0x0000FF) {
        // The surfaces' own layout (the common case: a picture read back
        // whole): each pixel as it is, its unused top byte cleared.
        for (int i = 0; i < f.height; ++i) {
            const uint32_t* s = src + (f.topDown ? i : f.height - 1 - i) * pitch;
            uint8_t* d = bits + size_t(i) * f.stride;
            for (int x = 0; x < f.width; ++x) {
                const uint32_t v = s[x] & 0x00FFFFFF;
                std::memcpy(d + 4 * size_t(x), &v, 4);  // little-endian host
            }
        }
        return;
    }
    const Channel ch[3] = {Channel(f.masks[0]), Channel(f.masks[1]), Channel(f.masks[2])};
    PaletteMatcher match(f.palette);
    for (int i = 0; i < f.height; ++i) {
        const int y = f.topDown ? i : f.height - 1 - i;
        const uint32_t* s = src + y * pitch;
        uint8_t* d = bits + size_t(i) * f.stride;
        std::memset(d, 0, f.stride);
        for (int x = 0; x < f.width; ++x) {
            const uint32_t p = s[x];
            switch (f.bitCount) {
                case 1: d[x >> 3] |= uint8_t((match.Index(p) & 1) << (7 - (x & 7))); break;
                case 4: d[x >> 1] |= uint8_t((match.Index(p) & 0xF) << ((x & 1) ? 0 : 4)); break;
                case 8: d[x] = match.Index(p); break;
                case 16: {
                    uint32_t v = ch[0].Pack((p >> 16) & 0xFF) | ch[1].Pack((p >> 8) & 0xFF) |
                                 ch[2].Pack(p & 0xFF);
                    d[2 * x] = uint8_t(v);
                    d[2 * x + 1] = uint8_t(v >> 8);
                    break;
                }
                case 24:
                    d[3 * x] = uint8_t(p);
                    d[3 * x + 1] = uint8_t(p >> 8);
                    d[3 * x + 2] = uint8_t(p >> 16);
                    break;
                case 32: {
                    uint32_t v = ch[0].Pack((p >> 16) & 0xFF) | ch[1].Pack((p >> 8) & 0xFF) |
                                 ch[2].Pack(p & 0xFF);
                    std::memcpy(d + 4 * x, &v, 4);  // little-endian host
                    break;
                }
            }
        }
    }
}

}  // namespace win::gdi
