// PCM signals and RIFF/WAVE images for the sound, audio and program tests.
#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

namespace test_support {

// A canonical 44-byte-header PCM WAVE image. `samples` are interleaved
// 16-bit values; with bits 8 they are stored as unsigned bytes (the high
// byte plus 128).
std::vector<uint8_t> WavImage(int rate, int channels, int bits,
                              const std::vector<int16_t>& samples);

// WavImage written to a file; false when it cannot be written.
bool WriteWav(const std::filesystem::path& path, int rate, int channels, int bits,
              const std::vector<int16_t>& samples);

// Bytes to a file, and back; ReadFile gives an empty vector on failure.
bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::filesystem::path& path);

// `frames` frames of a sine tone at `frequency` Hz, in one channel.
std::vector<int16_t> Sine(double frequency, int rate, int frames, double amplitude = 12000);

}  // namespace test_support
