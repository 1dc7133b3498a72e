// The null sound device: plays nothing, but keeps every block it was given
// with the time it was taken, for tests and headless runs.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace win::sound {

struct CapturedBlock {
    std::chrono::steady_clock::time_point when;
    std::vector<int16_t> samples;  // interleaved left, right
};

// Frames the null device takes per block (10 ms at 44100 Hz).
constexpr size_t kNullBlockFrames = 441;
// Capture keeps at most this many samples; the oldest blocks go first.
constexpr size_t kNullCaptureLimit = size_t(16) << 20;

std::vector<CapturedBlock> NullDeviceBlocks();
// Every captured sample, blocks joined.
std::vector<int16_t> NullDeviceSamples();
void ClearNullDeviceCapture();
// Holds the null device: while held it takes nothing, so that a test can
// start several voices at the same instant.
void HoldNullDevice(bool hold);
// Waits until the null device has nothing left to play; true at once when
// no null device is open. False on time-out.
bool WaitNullDeviceIdle(std::chrono::milliseconds timeout);

}  // namespace win::sound
