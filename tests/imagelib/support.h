// Helpers of the image library's tests: temporary folders, files, and the
// independent reading of a file by ImageMagick's `convert`.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "imagelib/pix_image.h"
#include "support/temp_dir.h"

namespace testing_support {

// A fresh folder, removed with everything in it at the end of the scope.
class TempDir : public test_support::TempDir {
public:
    TempDir() : test_support::TempDir("pixtest") {}
    std::string Path(const std::string& name) const { return (*this / name).string(); }
};

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Pixels top row first, red, green, blue.
struct Rgb {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;
};

Rgb RgbOf(const PixImage& image);
bool HaveImageMagick();
// Runs `convert` with the arguments (already shell-quoted where needed).
bool Convert(const std::string& arguments);
// ImageMagick's reading of the first image of a file.
bool MagickRead(const std::string& path, Rgb& out);

}  // namespace testing_support

#define SKIP_WITHOUT_IMAGEMAGICK()           \
    if (!testing_support::HaveImageMagick()) \
    GTEST_SKIP() << "ImageMagick's convert is not installed: independent reading skipped"
