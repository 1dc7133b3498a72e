// The PCM formats the sound code plays, and the reading of RIFF/WAVE images.
#pragma once

#include <cstddef>
#include <cstdint>

namespace win::sound {

struct PcmFormat {
    int rate = 0;      // frames per second
    int channels = 0;  // 1 or 2
    int bits = 0;      // 8 (unsigned) or 16 (signed little-endian)

    int FrameBytes() const { return channels * bits / 8; }
};

// Rates a waveOut handle or a WAVE file may use.
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 192000;

bool IsPlayableFormat(const PcmFormat& format);

// The PCM samples of a RIFF/WAVE image: `samples` points into the image and
// holds whole frames only.
struct WaveImage {
    PcmFormat format;
    const uint8_t* samples = nullptr;
    size_t bytes = 0;
};

// Reads a RIFF/WAVE image of `size` bytes. Every chunk length is checked
// against the image; a data chunk that runs past the end is cut to what is
// there. Returns false for anything that is not playable PCM.
bool ParseWave(const uint8_t* image, size_t size, WaveImage* out);

// The length a RIFF image announces in its header (header included), or 0
// when `head` (at least 12 bytes) does not start a RIFF/WAVE image.
size_t RiffImageSize(const uint8_t* head);

}  // namespace win::sound
