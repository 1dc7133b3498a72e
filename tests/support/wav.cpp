#include "support/wav.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>

namespace test_support {

std::vector<uint8_t> WavImage(int rate, int channels, int bits,
                              const std::vector<int16_t>& samples) {
    std::vector<uint8_t> data;
    data.reserve(samples.size() * (bits == 8 ? 1 : 2));
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
    put16(20, 1);  // PCM
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

bool WriteWav(const std::filesystem::path& path, int rate, int channels, int bits,
              const std::vector<int16_t>& samples) {
    return WriteFile(path, WavImage(rate, channels, bits, samples));
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out.flush());
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

std::vector<int16_t> Sine(double frequency, int rate, int frames, double amplitude) {
    std::vector<int16_t> out(size_t(frames > 0 ? frames : 0));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = int16_t(
            std::lround(amplitude * std::sin(2 * std::numbers::pi * frequency * double(i) / rate)));
    return out;
}

}  // namespace test_support
