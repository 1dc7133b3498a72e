// GIF: the first frame of the file, LZW-decoded, interlaced or not, placed
// on the logical screen, with its transparent index.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imagelib/pix_bytes.h"
#include "imagelib/pix_codecs.h"

namespace {

// Reads a chain of data sub-blocks; `out` null skips them.
bool ReadSubBlocks(PixFile* stream, std::vector<BYTE>* out) {
    for (;;) {
        long length = stream->GetC();
        if (length < 0) return false;
        if (length == 0) return true;
        BYTE block[255];
        if (!pix::ReadExact(stream, block, size_t(length))) return false;
        if (out) out->insert(out->end(), block, block + length);
    }
}

// Yields the rows of a frame in the order the file stores them.
class RowOrder {
public:
    RowOrder(DWORD height, bool interlaced) : m_height(height), m_interlaced(interlaced) {}
    // The frame row for the n-th stored row.
    DWORD Next() {
        if (!m_interlaced) return m_row++;
        static const DWORD start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        DWORD row = m_row;
        m_row += step[m_pass];
        while (m_pass < 3 && m_row >= m_height) {
            ++m_pass;
            m_row = start[m_pass];
        }
        return row;
    }

private:
    DWORD m_height;
    bool m_interlaced;
    DWORD m_row = 0;
    int m_pass = 0;
};

// Decodes LZW data into `pixels` (count entries, in stored order). Returns
// null on success or the reason the data is refused.
const char* ExpandLzw(const std::vector<BYTE>& data, int minCodeSize, std::vector<BYTE>& pixels) {
    constexpr int kMaxCodes = 4096;
    const int clear = 1 << minCodeSize, end = clear + 1;
    std::vector<uint16_t> prefix(kMaxCodes);
    std::vector<BYTE> suffix(kMaxCodes), stack(kMaxCodes + 1);
    for (int k = 0; k < clear; ++k) suffix[size_t(k)] = BYTE(k);
    int codeSize = minCodeSize + 1, next = end + 1, previous = -1;
    BYTE first = 0;
    size_t bitPos = 0, out = 0;
    const size_t totalBits = data.size() * 8;
    while (out < pixels.size()) {
        if (bitPos + size_t(codeSize) > totalBits) return "GIF image data truncated";
        int code = 0;
        for (int b = 0; b < codeSize; ++b, ++bitPos)
            code |= ((data[bitPos / 8] >> (bitPos % 8)) & 1) << b;
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (code == end) return "GIF image data ends early";
        if (previous < 0) {
            if (code >= clear) return "corrupt GIF data";
            first = BYTE(code);
            pixels[out++] = first;
            previous = code;
            continue;
        }
        if (code > next || (code == next && next >= kMaxCodes)) return "corrupt GIF data";
        // Unwind the string of `code` (or of previous + its first byte).
        size_t depth = 0;
        int walk = code;
        if (code == next) {
            stack[depth++] = first;
            walk = previous;
        }
        while (walk >= clear) {
            stack[depth++] = suffix[size_t(walk)];
            walk = prefix[size_t(walk)];
        }
        first = BYTE(walk);
        stack[depth++] = first;
        while (depth && out < pixels.size()) pixels[out++] = stack[--depth];
        if (next < kMaxCodes) {
            prefix[size_t(next)] = uint16_t(previous);
            suffix[size_t(next)] = first;
            ++next;
            if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
        }
        previous = code;
    }
    return nullptr;
}

}  // namespace

bool PixImageGIF::DecodeFile(PixFile* stream) {
    BYTE head[13];
    if (!pix::ReadExact(stream, head, sizeof head) ||
        (std::memcmp(head, "GIF87a", 6) != 0 && std::memcmp(head, "GIF89a", 6) != 0)) {
        return Fail("Not a GIF");
    }
    DWORD screenWidth = PixGet16(head + 6), screenHeight = PixGet16(head + 8);
    const BYTE flags = head[10], background = head[11];
    BYTE globalTable[768] = {};
    DWORD globalColours = 0;
    if (flags & 0x80) {
        globalColours = 2u << (flags & 7);
        if (!pix::ReadExact(stream, globalTable, globalColours * 3)) {
            return Fail("GIF colour table truncated");
        }
    }

    long transparent = -1;
    for (;;) {
        long kind = stream->GetC();
        if (kind == 0x21) {  // extension
            long label = stream->GetC();
            if (label == 0xF9) {  // graphic control: the transparent index
                std::vector<BYTE> control;
                if (!ReadSubBlocks(stream, &control)) {
                    return Fail("GIF extension truncated");
                }
                if (control.size() >= 4 && (control[0] & 1)) transparent = control[3];
            } else if (label < 0 || !ReadSubBlocks(stream, nullptr)) {
                return Fail("GIF extension truncated");
            }
            continue;
        }
        if (kind != 0x2C) {
            return Fail(kind == 0x3B ? "GIF has no image" : "GIF data truncated or corrupt");
        }
        break;
    }

    BYTE descriptor[9];
    if (!pix::ReadExact(stream, descriptor, sizeof descriptor)) {
        return Fail("GIF image descriptor truncated");
    }
    const DWORD left = PixGet16(descriptor), top = PixGet16(descriptor + 2);
    const DWORD width = PixGet16(descriptor + 4), height = PixGet16(descriptor + 6);
    const BYTE imageFlags = descriptor[8];
    BYTE localTable[768] = {};
    DWORD localColours = 0;
    if (imageFlags & 0x80) {
        localColours = 2u << (imageFlags & 7);
        if (!pix::ReadExact(stream, localTable, localColours * 3)) {
            return Fail("GIF colour table truncated");
        }
    }
    long minCodeSize = stream->GetC();
    if (minCodeSize < 1 || minCodeSize > 11) {
        return Fail("corrupt GIF data");
    }
    // The logical screen holds the frame; a screen too small for it grows.
    screenWidth = std::max(screenWidth, left + width);
    screenHeight = std::max(screenHeight, top + height);
    if (width == 0 || height == 0 || !pix::SizeIsSane(screenWidth, screenHeight)) {
        return Fail("GIF size %u x %u refused", unsigned(width), unsigned(height));
    }
    std::vector<BYTE> data;
    if (!ReadSubBlocks(stream, &data)) {
        return Fail("GIF image data truncated");
    }
    std::vector<BYTE> pixels(size_t(width) * height);
    if (const char* problem = ExpandLzw(data, int(minCodeSize), pixels)) {
        return Fail("%s", problem);
    }

    if (!Create(screenWidth, screenHeight, 8, PIX_FORMAT_GIF)) return false;
    const BYTE* table = localColours ? localTable : globalTable;
    const DWORD colours = localColours ? localColours : globalColours;
    PixRGBQuad* palette = GetPalette();
    for (DWORD k = 0; k < 256; ++k) {
        if (colours)
            palette[k] = k < colours
                             ? PixRGBQuad{table[k * 3 + 2], table[k * 3 + 1], table[k * 3], 0}
                             : PixRGBQuad{0, 0, 0, 0};
        else
            palette[k] = PixRGBQuad{BYTE(k), BYTE(k), BYTE(k), 0};  // no table: a grey ramp
    }
    SyncBlockHeader();
    // Around the frame: transparent where the file has transparency, else
    // the screen's background colour.
    const BYTE fill = transparent >= 0 ? BYTE(transparent) : background;
    for (DWORD y = 0; y < screenHeight; ++y) std::memset(GetRow(y), fill, screenWidth);
    RowOrder order(height, (imageFlags & 0x40) != 0);
    for (DWORD stored = 0; stored < height; ++stored) {
        DWORD frameRow = order.Next();
        if (frameRow >= height) break;
        BYTE* row = GetRow(screenHeight - 1 - (top + frameRow));
        std::memcpy(row + left, &pixels[size_t(stored) * width], width);
    }
    SetTransparentIndex(transparent);
    return true;
}
