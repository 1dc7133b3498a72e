#include "support.h"

#include "support/reference_tools.h"
#include "support/wav.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testing_support {

std::vector<uint8_t> ReadBytes(const std::string& path) { return test_support::ReadFile(path); }

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    test_support::WriteFile(path, bytes);
}

Rgb RgbOf(const PixImage& image) {
    Rgb out;
    out.width = image.GetWidth();
    out.height = image.GetHeight();
    for (uint32_t y = 0; y < out.height; ++y) {
        for (uint32_t x = 0; x < out.width; ++x) {
            PixRGBQuad c = image.GetPixelColor(long(x), long(y));
            out.pixels.insert(out.pixels.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
        }
    }
    return out;
}

bool HaveImageMagick() {
    static const bool present = test_support::HaveTool("convert");
    return present;
}

bool Convert(const std::string& arguments) {
    return test_support::Convert(arguments + " 2>/dev/null");
}

namespace {

bool Capture(const std::string& command, std::string& out) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return false;
    char buffer[65536];
    size_t n;
    out.clear();
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    return pclose(pipe) == 0;
}

}  // namespace

bool MagickRead(const std::string& path, Rgb& out) {
    std::string size, pixels;
    if (!Capture("identify -format '%w %h' '" + path + "[0]' 2>/dev/null", size) ||
        std::sscanf(size.c_str(), "%u %u", &out.width, &out.height) != 2)
        return false;
    // -auto-orient: a Targa file's origin is kept by ImageMagick as a
    // property unless asked to apply it.
    if (!Capture("convert '" + path + "[0]' -auto-orient -depth 8 rgb:- 2>/dev/null", pixels) ||
        pixels.size() != size_t(out.width) * out.height * 3)
        return false;
    out.pixels.assign(pixels.begin(), pixels.end());
    return true;
}

}  // namespace testing_support
