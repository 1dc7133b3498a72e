#include "resources/icon_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <png.h>

#include "resources/registry.h"
#include "win/res.h"

namespace win::res {
namespace {

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Dword(const uint8_t* p) { return Word(p) | (static_cast<uint32_t>(Word(p + 2)) << 16); }
int32_t Long(const uint8_t* p) { return static_cast<int32_t>(Dword(p)); }

struct Entry {
    int width;
    int height;
    int bitCount;
    int hotspotX;
    int hotspotY;
    uint32_t offset;
    uint32_t size;
};

// A PNG-compressed entry (as larger icons use).
bool DecodePng(const uint8_t* data, size_t size, IconImage& out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return false;
    if (image.width == 0 || image.height == 0 || image.width > kMaxIconSide ||
        image.height > kMaxIconSide) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB
    std::vector<uint32_t> pixels(static_cast<size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.color = std::move(pixels);
    out.mask.resize(out.color.size());
    for (size_t i = 0; i < out.color.size(); ++i) out.mask[i] = (out.color[i] >> 24) == 0;
    out.hasAlpha = true;
    return true;
}

// A DIB entry: BITMAPINFOHEADER, colour table, XOR pixels, AND mask, with
// the header's height counting both bitmaps.
bool DecodeDib(const uint8_t* data, size_t size, IconImage& out) {
    if (size < 40) return false;
    const uint32_t headerSize = Dword(data);
    const int32_t width = Long(data + 4);
    const int32_t doubleHeight = Long(data + 8);
    const int bitCount = Word(data + 14);
    const uint32_t compression = Dword(data + 16);
    uint32_t colorsUsed = Dword(data + 32);
    if (headerSize < 40 || headerSize > size) return false;
    if (width <= 0 || width > kMaxIconSide || doubleHeight <= 0 || doubleHeight > 2 * kMaxIconSide)
        return false;
    if (compression != 0) return false;  // BI_RGB only
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return false;
    const int height = doubleHeight / 2;
    if (height <= 0) return false;

    size_t offset = headerSize;
    std::vector<uint32_t> palette;
    if (bitCount <= 8) {
        const uint32_t maxColors = 1u << bitCount;
        if (colorsUsed == 0 || colorsUsed > maxColors) colorsUsed = maxColors;
        if (size - offset < static_cast<size_t>(colorsUsed) * 4) return false;
        for (uint32_t i = 0; i < colorsUsed; ++i)
            palette.push_back(Dword(data + offset + i * 4) & 0xFFFFFF);
        palette.resize(maxColors, 0);
        offset += static_cast<size_t>(colorsUsed) * 4;
    }
    const size_t xorStride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
    const size_t andStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
    if (size - offset < xorStride * height) return false;
    const uint8_t* xorBits = data + offset;
    offset += xorStride * height;
    // Some 32-bit icons leave the mask out and rely on their alpha.
    const uint8_t* andBits = size - offset >= andStride * height ? data + offset : nullptr;
    if (!andBits && bitCount != 32) return false;

    out.width = width;
    out.height = height;
    out.color.assign(static_cast<size_t>(width) * height, 0);
    out.mask.assign(out.color.size(), 0);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = xorBits + (height - 1 - y) * xorStride;  // rows are bottom-up
        for (int x = 0; x < width; ++x) {
            uint32_t pixel = 0;
            switch (bitCount) {
                case 1: pixel = palette[(row[x >> 3] >> (7 - (x & 7))) & 1]; break;
                case 4: pixel = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
                case 8: pixel = palette[row[x]]; break;
                case 24: pixel = row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16); break;
                case 32: pixel = Dword(row + x * 4); break;
            }
            if (bitCount == 32 && (pixel >> 24)) anyAlpha = true;
            out.color[static_cast<size_t>(y) * width + x] = pixel;
        }
        if (andBits) {
            const uint8_t* maskRow = andBits + (height - 1 - y) * andStride;
            for (int x = 0; x < width; ++x)
                out.mask[static_cast<size_t>(y) * width + x] =
                    (maskRow[x >> 3] >> (7 - (x & 7))) & 1;
        }
    }
    out.hasAlpha = anyAlpha;
    for (size_t i = 0; i < out.color.size(); ++i) {
        if (anyAlpha) {
            if (!andBits) out.mask[i] = (out.color[i] >> 24) == 0;
        } else {
            out.color[i] = (out.color[i] & 0xFFFFFF) | (out.mask[i] ? 0u : 0xFF000000u);
        }
    }
    return true;
}

}  // namespace

bool ParseIconFile(const void* file, size_t size, bool cursor, int desiredSize, IconImage& out) {
    out = IconImage{};
    const uint8_t* data = static_cast<const uint8_t*>(file);
    if (!data || size < 6) return false;
    if (Word(data) != 0 || Word(data + 2) != (cursor ? 2 : 1)) return false;
    const size_t count = Word(data + 4);
    if (count == 0 || size < 6 + count * 16) return false;

    std::vector<Entry> entries;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = data + 6 + i * 16;
        Entry entry{e[0] ? e[0] : 256,
                    e[1] ? e[1] : 256,
                    cursor ? 0 : Word(e + 6),
                    cursor ? Word(e + 4) : -1,
                    cursor ? Word(e + 6) : -1,
                    Dword(e + 12),
                    Dword(e + 8)};
        if (entry.offset > size || entry.size > size - entry.offset || entry.size == 0) continue;
        entries.push_back(entry);
    }
    // Closest size first, then the most colours.
    std::stable_sort(entries.begin(), entries.end(), [desiredSize](const Entry& a, const Entry& b) {
        const int da = std::abs(a.width - desiredSize) + std::abs(a.height - desiredSize);
        const int db = std::abs(b.width - desiredSize) + std::abs(b.height - desiredSize);
        return da != db ? da < db : a.bitCount > b.bitCount;
    });
    for (const Entry& entry : entries) {
        const uint8_t* image = data + entry.offset;
        IconImage decoded;
        const bool isPng = entry.size >= 8 && std::memcmp(image, "\x89PNG\r\n\x1a\n", 8) == 0;
        if (!(isPng ? DecodePng(image, entry.size, decoded)
                    : DecodeDib(image, entry.size, decoded)))
            continue;
        if (cursor && entry.hotspotX >= 0) {
            decoded.hotspotX = std::min(entry.hotspotX, decoded.width - 1);
            decoded.hotspotY = std::min(entry.hotspotY, decoded.height - 1);
        } else {
            decoded.hotspotX = decoded.width / 2;
            decoded.hotspotY = decoded.height / 2;
        }
        out = std::move(decoded);
        return true;
    }
    return false;
}

bool LoadIconResource(LPCSTR name, bool cursor, int desiredSize, IconImage& out) {
    const unsigned char* data = nullptr;
    size_t size = 0;
    if (!FindData(name, cursor ? RT_GROUP_CURSOR : RT_GROUP_ICON, &data, &size)) return false;
    return ParseIconFile(data, size, cursor, desiredSize, out);
}

}  // namespace win::res
