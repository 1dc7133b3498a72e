// PCX: 1-bit, 2- and 4-bit (packed or in bit planes), 8-bit with the
// 256-colour table at the end of the file, and 24-bit in three planes.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imagelib/pix_bytes.h"
#include "imagelib/pix_codecs.h"

namespace {

// Decodes one scan line of `out.size()` bytes, carrying a run that crosses
// the line's end into the next line as some writers do.
class LineDecoder {
public:
    LineDecoder(const std::vector<BYTE>& data, bool rle) : m_data(data), m_rle(rle) {}
    bool Next(std::vector<BYTE>& out) {
        for (size_t filled = 0; filled < out.size();) {
            if (m_run) {
                size_t n = std::min<size_t>(m_run, out.size() - filled);
                std::memset(&out[filled], m_value, n);
                filled += n;
                m_run -= n;
                continue;
            }
            if (m_pos >= m_data.size()) return false;
            BYTE b = m_data[m_pos++];
            if (m_rle && (b & 0xC0) == 0xC0) {
                if (m_pos >= m_data.size()) return false;
                m_run = b & 0x3F;
                m_value = m_data[m_pos++];
            } else {
                out[filled++] = b;
            }
        }
        return true;
    }
    size_t Position() const { return m_pos; }

private:
    const std::vector<BYTE>& m_data;
    bool m_rle;
    size_t m_pos = 0;
    size_t m_run = 0;
    BYTE m_value = 0;
};

}  // namespace

bool PixImagePCX::DecodeFile(PixFile* stream) {
    BYTE h[128];
    if (!pix::ReadExact(stream, h, sizeof h) || h[0] != 0x0A || h[1] > 5 || h[1] == 1 || h[2] > 1) {
        return Fail("Not a PCX");
    }
    const DWORD bits = h[3], planes = h[65], lineBytes = PixGet16(h + 66);
    const int64_t width = int64_t(PixGet16(h + 8)) - PixGet16(h + 4) + 1;
    const int64_t height = int64_t(PixGet16(h + 10)) - PixGet16(h + 6) + 1;
    // Layouts: 1 bit in 1 to 4 planes, 2 or 4 bits in one, 8 bits in 1, 3 or 4.
    const bool layout = (bits == 1 && planes >= 1 && planes <= 4) ||
                        ((bits == 2 || bits == 4) && planes == 1) ||
                        (bits == 8 && (planes == 1 || planes == 3 || planes == 4));
    if (!layout || width <= 0 || height <= 0) {
        return Fail("Not a PCX");
    }
    if (!pix::SizeIsSane(uint64_t(width), uint64_t(height))) {
        return Fail("PCX size %lld x %lld refused", (long long)width, (long long)height);
    }
    const DWORD w = DWORD(width), ht = DWORD(height);
    if (uint64_t(lineBytes) * 8 < uint64_t(w) * bits) {
        return Fail("PCX line length too short");
    }
    std::vector<BYTE> data(size_t(pix::Remaining(stream)));
    if (!pix::ReadExact(stream, data.data(), data.size())) {
        return Fail("PCX data truncated");
    }
    const bool trueColour = bits == 8 && planes >= 3;
    const DWORD outBits = trueColour ? 24 : (bits == 8 ? 8 : (bits * planes == 1 ? 1 : 4));
    if (!Create(w, ht, outBits, PIX_FORMAT_PCX)) return false;
    SetXDPI(PixGet16(h + 12));
    SetYDPI(PixGet16(h + 14));

    LineDecoder lines(data, h[2] == 1);
    std::vector<BYTE> line(size_t(lineBytes) * planes);
    for (DWORD y = 0; y < ht; ++y) {
        if (!lines.Next(line)) {
            return Fail("PCX data truncated");
        }
        BYTE* row = GetRow(ht - 1 - y);
        for (DWORD x = 0; x < w; ++x) {
            if (trueColour) {
                row[x * 3 + 2] = line[x];
                row[x * 3 + 1] = line[lineBytes + x];
                row[x * 3] = line[2 * size_t(lineBytes) + x];
            } else if (bits == 8) {
                row[x] = line[x];
            } else if (bits == 1) {
                BYTE index = 0;
                for (DWORD p = 0; p < planes; ++p)
                    index |= BYTE(((line[p * lineBytes + x / 8] >> (7 - x % 8)) & 1) << p);
                pix::SetIndex(row, x, WORD(outBits), index);
            } else {
                DWORD bit = x * bits;
                BYTE index = BYTE((line[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1));
                pix::SetIndex(row, x, 4, index);
            }
        }
    }

    PixRGBQuad* palette = GetPalette();
    if (outBits == 8) {
        // The 256-colour table: a 12 byte and 768 bytes at the file's end.
        const size_t end = data.size();
        if (end >= 769 && data[end - 769] == 0x0C && end - 769 >= lines.Position()) {
            for (DWORD k = 0; k < 256; ++k)
                palette[k] = PixRGBQuad{data[end - 768 + k * 3 + 2], data[end - 768 + k * 3 + 1],
                                        data[end - 768 + k * 3], 0};
        } else {
            for (DWORD k = 0; k < 256; ++k) palette[k] = PixRGBQuad{BYTE(k), BYTE(k), BYTE(k), 0};
        }
    } else if (outBits == 1) {
        // Monochrome pictures ignore the header's table: set bits are white.
        palette[0] = PixRGBQuad{0, 0, 0, 0};
        palette[1] = PixRGBQuad{255, 255, 255, 0};
    } else {
        // Up to 16 colours from the header.
        for (DWORD k = 0; k < GetNumColors(); ++k)
            palette[k] = PixRGBQuad{h[16 + k * 3 + 2], h[16 + k * 3 + 1], h[16 + k * 3], 0};
    }
    SyncBlockHeader();
    return true;
}
