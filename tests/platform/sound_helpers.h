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
#include "support/wav.h"
#include "windows.h"

namespace sound_test {

// WAVE images and tones come from the shared test support.
using test_support::Sine;

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
