#include "sound/pcm_format.h"

#include <cstring>

namespace win::sound {

namespace {

uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The "fmt " chunk: plain PCM, or the extensible form whose sub-format is PCM.
bool ReadFormatChunk(const uint8_t* p, size_t size, PcmFormat* format) {
    if (size < 16) return false;
    uint16_t tag = Read16(p);
    if (tag == 0xFFFE) {
        // The sub-format GUID starts at byte 24; its first word is the tag.
        if (size < 40) return false;
        tag = Read16(p + 24);
    }
    if (tag != 1) return false;
    format->channels = Read16(p + 2);
    uint32_t rate = Read32(p + 4);
    format->rate = rate > uint32_t(kMaxRate) ? 0 : int(rate);
    format->bits = Read16(p + 14);
    return IsPlayableFormat(*format);
}

}  // namespace

bool IsPlayableFormat(const PcmFormat& f) {
    return (f.channels == 1 || f.channels == 2) && (f.bits == 8 || f.bits == 16) &&
           f.rate >= kMinRate && f.rate <= kMaxRate;
}

size_t RiffImageSize(const uint8_t* head) {
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) return 0;
    return size_t(Read32(head + 4)) + 8;
}

bool ParseWave(const uint8_t* image, size_t size, WaveImage* out) {
    if (!image || size < 12 || RiffImageSize(image) == 0) return false;
    // A RIFF length shorter than the image limits it; a longer one is a
    // truncated file and the image's own size is the limit.
    size_t end = RiffImageSize(image) < size ? RiffImageSize(image) : size;
    if (end < 12) return false;  // a RIFF length too short for its own header

    PcmFormat format;
    bool have_format = false;
    size_t pos = 12;
    while (end - pos >= 8) {
        const uint8_t* chunk = image + pos;
        size_t length = Read32(chunk + 4);
        size_t room = end - pos - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length > room || !ReadFormatChunk(chunk + 8, length, &format)) return false;
            have_format = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!have_format) return false;
            size_t bytes = length < room ? length : room;
            bytes -= bytes % size_t(format.FrameBytes());
            if (bytes == 0) return false;
            out->format = format;
            out->samples = chunk + 8;
            out->bytes = bytes;
            return true;
        }
        if (length > room) return false;
        pos += 8 + length + (length & 1);  // chunks are padded to even lengths
        if (pos > end) return false;
    }
    return false;
}

}  // namespace win::sound
