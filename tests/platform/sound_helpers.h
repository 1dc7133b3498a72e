// Helpers shared by the sound tests: WAVE images, PCM blocks and waiting.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numbers>
#include <thread>
#include <vector>

#include "sound/null_device.h"
#include "windows.h"

namespace sound_test {

// A RIFF/WAVE image; `samples` holds 16-bit values (stored as 8-bit
// unsigned when bits is 8).
inline std::vector<uint8_t> MakeWave(int rate, int channels, int bits,
                                     const std::vector<int16_t>& samples) {
    std::vector<uint8_t> data;
    for (int16_t s : samples) {
        if (bits == 8) {
            data.push_back(uint8_t((s >> 8) + 128));
        } else {
            data.push_back(uint8_t(s));
            data.push_back(uint8_t(uint16_t(s) >> 8));
        }
    }
    std::vector<uint8_t> image(44 + data.size());
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) image[at + i] = uint8_t(v >> (8 * i));
    };
    auto put16 = [&](size_t at, uint16_t v) {
        image[at] = uint8_t(v);
        image[at + 1] = uint8_t(v >> 8);
    };
    std::memcpy(&image[0], "RIFF", 4);
    put32(4, uint32_t(36 + data.size()));
    std::memcpy(&image[8], "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, uint16_t(channels));
    put32(24, uint32_t(rate));
    put32(28, uint32_t(rate * channels * bits / 8));
    put16(32, uint16_t(channels * bits / 8));
    put16(34, uint16_t(bits));
    std::memcpy(&image[36], "data", 4);
    put32(40, uint32_t(data.size()));
    std::copy(data.begin(), data.end(), image.begin() + 44);
    return image;
}

inline std::vector<int16_t> Sine(double frequency, int rate, int frames, double amplitude = 12000) {
    std::vector<int16_t> out(frames);
    for (int i = 0; i < frames; ++i)
        out[i] = int16_t(std::lround(amplitude * std::sin(2 * std::numbers::pi * frequency * i / rate)));
    return out;
}

// Upward zero crossings of one channel of interleaved stereo, per second.
inline double MeasureFrequency(const std::vector<int16_t>& stereo, int channel, int rate) {
    int crossings = 0, first = -1, last = -1;
    for (size_t i = 1; i < stereo.size() / 2; ++i) {
        if (stereo[2 * (i - 1) + channel] < 0 && stereo[2 * i + channel] >= 0) {
            if (first < 0) first = int(i);
            last = int(i);
            ++crossings;
        }
    }
    if (crossings < 2) return 0;
    return double(crossings - 1) * rate / (last - first);
}

// Frames of interleaved stereo up to the last one that is not silent.
inline size_t SoundingFrames(const std::vector<int16_t>& stereo) {
    size_t n = 0;
    for (size_t i = 0; i + 1 < stereo.size(); i += 2)
        if (stereo[i] != 0 || stereo[i + 1] != 0) n = i / 2 + 1;
    return n;
}

inline bool WaitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace sound_test
