// Icons and cursors: the largest image of the file that is stored as a DIB
// (PNG-compressed entries are skipped).
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imagelib/pix_bytes.h"
#include "imagelib/pix_codecs.h"

namespace {

struct Entry {
    DWORD area;
    DWORD bitCount;
    DWORD offset;
};

}  // namespace

bool PixImageICO::DecodeFile(PixFile* stream) {
    const long base = stream->Tell();
    const long fileSize = stream->Size();
    BYTE head[6];
    if (!pix::ReadExact(stream, head, sizeof head) || PixGet16(head) != 0 ||
        (PixGet16(head + 2) != 1 && PixGet16(head + 2) != 2) || PixGet16(head + 4) == 0) {
        return Fail("Not an ICO");
    }
    const DWORD count = PixGet16(head + 4);
    if (uint64_t(count) * 16 > uint64_t(pix::Remaining(stream))) {
        return Fail("ICO directory truncated");
    }
    std::vector<BYTE> directory(size_t(count) * 16);
    if (!pix::ReadExact(stream, directory.data(), directory.size())) {
        return Fail("ICO directory truncated");
    }
    std::vector<Entry> entries;
    bool sawPng = false;
    for (DWORD k = 0; k < count; ++k) {
        const BYTE* e = &directory[size_t(k) * 16];
        DWORD width = e[0] ? e[0] : 256, height = e[1] ? e[1] : 256;
        DWORD offset = PixGet32(e + 12);
        if (offset >= uint64_t(fileSize - base)) continue;
        BYTE signature[4] = {};
        if (!stream->Seek(base + long(offset), SEEK_SET) || !pix::ReadExact(stream, signature, 4))
            continue;
        if (std::memcmp(signature, "\x89PNG", 4) == 0) {
            sawPng = true;
            continue;
        }
        entries.push_back({width * height, PixGet16(e + 6), offset});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.area != b.area ? a.area > b.area : a.bitCount > b.bitCount;
    });
    // The best image that decodes; a damaged one gives way to the next.
    std::string firstError;
    for (const Entry& entry : entries) {
        PixImageBMP dib;
        if (stream->Seek(base + long(entry.offset), SEEK_SET) &&
            dib.DecodeDib(stream, base + long(entry.offset), -1, true)) {
            Transfer(dib);
            m_state.nFormat = PIX_FORMAT_ICO;
            return true;
        }
        if (firstError.empty()) firstError = dib.GetLastError();
    }
    if (!firstError.empty()) return Fail("ICO image: %s", firstError.c_str());
    return Fail(sawPng ? "PNG-compressed icons are not supported" : "ICO has no image");
}
