// The image library under allocation failures: each codec's decoding, a
// load from a file, a thumbnail and a save. Every failure must come back as
// false with an out-of-memory last error, free what it took and leave the
// image usable.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "imagelib/pix_image.h"
#include "imagelib/pix_mem_file.h"
#include "support/reference_tools.h"
#include "support/temp_dir.h"
#include "walk.h"

using alloc_walk::Attempt;
using Bytes = std::vector<uint8_t>;

namespace {

void Put16(Bytes& b, unsigned v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// The test picture's colour at (x, y), top row 0.
uint8_t Channel(int x, int y, int c) { return uint8_t((x * 37 + y * 91 + c * 53) & 0xFF); }

// A BMP file of width x height: 24 or 32 bits, 16 bits (5-5-5), or 8 bits
// with a 16-colour table, uncompressed or RLE8; top-down when asked.
Bytes MakeBmp(int width, int height, int bits, bool rle, bool topDown) {
    const int colours = bits == 8 ? 16 : 0;
    Bytes pixels;
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        Bytes line;
        for (int x = 0; x < width; ++x) {
            if (bits == 8) {
                line.push_back(uint8_t((x / 3 + y) % colours));
            } else if (bits == 16) {
                Put16(line, unsigned(Channel(x, y, 2) >> 3) << 10 |
                                unsigned(Channel(x, y, 1) >> 3) << 5 | (Channel(x, y, 0) >> 3));
            } else {
                for (int c = 0; c < 3; ++c) line.push_back(Channel(x, y, c));
                if (bits == 32) line.push_back(0);
            }
        }
        if (rle) {
            // Runs of equal indices, then end of line.
            for (size_t i = 0; i < line.size();) {
                size_t run = 1;
                while (i + run < line.size() && run < 255 && line[i + run] == line[i]) ++run;
                pixels.push_back(uint8_t(run));
                pixels.push_back(line[i]);
                i += run;
            }
            pixels.push_back(0);
            pixels.push_back(0);
        } else {
            while (line.size() % 4) line.push_back(0);
            pixels.insert(pixels.end(), line.begin(), line.end());
        }
    }
    if (rle) {
        pixels.push_back(0);
        pixels.push_back(1);
    }
    Bytes file;
    const uint32_t offset = 14 + 40 + uint32_t(colours) * 4;
    file.push_back('B');
    file.push_back('M');
    Put32(file, offset + uint32_t(pixels.size()));
    Put32(file, 0);
    Put32(file, offset);
    Put32(file, 40);
    Put32(file, uint32_t(width));
    Put32(file, uint32_t(topDown ? -height : height));
    Put16(file, 1);
    Put16(file, unsigned(bits));
    Put32(file, rle ? 1 : 0);
    Put32(file, uint32_t(pixels.size()));
    Put32(file, 2835);
    Put32(file, 2835);
    Put32(file, uint32_t(colours));
    Put32(file, 0);
    for (int i = 0; i < colours; ++i) Put32(file, uint32_t(i * 0x0F0E0D));
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The image's block, which holds its header, colour table and pixels.
Bytes BlockOf(const PixImage& image) {
    if (!image.GetBlock()) return {};
    return Bytes(image.GetBlock(), image.GetBlock() + image.GetSize());
}

bool SaysOutOfMemory(const char* error) {
    std::string text = error;
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text.find("allocate memory") != std::string::npos;
}

// A false result is right only with an out-of-memory text from `reporter`
// and no pixels in `result`.
Attempt Judge(bool ok, const PixImage& reporter, const PixImage& result, const Bytes& expected) {
    Attempt a;
    if (ok) {
        a.ok = BlockOf(result) == expected;
        if (!a.ok) a.detail = "succeeded with a different picture";
    } else {
        a.outOfMemory = SaysOutOfMemory(reporter.GetLastError()) && !result.IsValid();
        a.detail = std::string("false, last error \"") + reporter.GetLastError() + "\"" +
                   (result.IsValid() ? ", pixels left behind" : "");
    }
    return a;
}

// The first, unhindered success is the reference for the later ones.
void Remember(bool ok, const PixImage& result, Bytes& expected) {
    if (ok && expected.empty()) expected = BlockOf(result);
}

// --- Decoding from memory, one codec at a time -------------------------------

struct DecodeCase {
    std::string name;
    DWORD format;
    std::function<Bytes(const std::string& dir)> make;  // empty: skipped
};
void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class DecodeOperation : public alloc_walk::Operation {
public:
    DecodeOperation(Bytes file, DWORD format) : file_(std::move(file)), format_(format) {}
    void Prepare() override {
        image_ = std::make_unique<PixImage>();
        memory_ = std::make_unique<PixMemFile>(file_.data(), DWORD(file_.size()));
    }
    void Act() override {
        memory_->Seek(0, SEEK_SET);
        ok_ = image_->Decode(memory_.get(), format_);
    }
    Attempt Check() override {
        Remember(ok_, *image_, expected_);
        return Judge(ok_, *image_, *image_, expected_);
    }
    void Release() override {
        memory_.reset();
        image_.reset();
    }

private:
    Bytes file_;
    DWORD format_;
    Bytes expected_;
    std::unique_ptr<PixImage> image_;
    std::unique_ptr<PixMemFile> memory_;
    bool ok_ = false;
};

// Other codecs' files, converted from a BMP by ImageMagick.
std::function<Bytes(const std::string&)> Converted(const std::string& extension,
                                                   const std::string& options) {
    return [extension, options](const std::string& dir) -> Bytes {
        if (!test_support::HaveTool("convert")) return {};
        const std::string bmp = dir + "/source.bmp", out = dir + "/picture." + extension;
        WriteAll(bmp, MakeBmp(21, 13, 24, false, false));
        if (!test_support::Convert(test_support::Quoted(bmp) + " " + options + " " +
                                   test_support::Quoted(out)))
            return {};
        return ReadAll(out);
    };
}

class ImageDecodeAllocation : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(ImageDecodeAllocation, FailsCleanlyAtEverySite) {
    if (!alloc_failure::CountsCAllocations())
        GTEST_SKIP() << "the image block comes from calloc, which this build does not count";
    test_support::TempDir dir("alloc_decode");
    Bytes file = GetParam().make(dir.str());
    if (file.empty()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    DecodeOperation op(file, GetParam().format);
    alloc_walk::Report report = alloc_walk::Walk(op, "decode " + GetParam().name);
    EXPECT_GT(report.sites, 0);
}

auto Bmp(int bits, bool rle, bool topDown) {
    return [=](const std::string&) { return MakeBmp(23, 11, bits, rle, topDown); };
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, ImageDecodeAllocation,
    ::testing::Values(DecodeCase{"bmp24", PIX_FORMAT_BMP, Bmp(24, false, false)},
                      DecodeCase{"bmp24_top_down", PIX_FORMAT_BMP, Bmp(24, false, true)},
                      DecodeCase{"bmp32", PIX_FORMAT_BMP, Bmp(32, false, false)},
                      DecodeCase{"bmp16", PIX_FORMAT_BMP, Bmp(16, false, false)},
                      DecodeCase{"bmp8_rle", PIX_FORMAT_BMP, Bmp(8, true, false)},
                      DecodeCase{"bmp_detected", PIX_FORMAT_UNKNOWN, Bmp(8, false, true)},
                      DecodeCase{"gif", PIX_FORMAT_GIF, Converted("gif", "")},
                      DecodeCase{"gif_detected", PIX_FORMAT_UNKNOWN, Converted("gif", "")},
                      DecodeCase{"ico", PIX_FORMAT_ICO, Converted("ico", "")},
                      DecodeCase{"tga_rle", PIX_FORMAT_TGA, Converted("tga", "-compress RLE")},
                      DecodeCase{"pcx", PIX_FORMAT_PCX, Converted("pcx", "")},
                      DecodeCase{"wbmp", PIX_FORMAT_WBMP, Converted("wbmp", "")}),
    [](const auto& info) { return info.param.name; });

// --- A load from a file, a thumbnail, a save --------------------------------

class LoadOperation : public alloc_walk::Operation {
public:
    explicit LoadOperation(std::string path) : path_(std::move(path)) {}
    void Prepare() override { image_ = std::make_unique<PixImage>(); }
    void Act() override { ok_ = image_->Load(path_.c_str(), PIX_FORMAT_UNKNOWN); }
    Attempt Check() override {
        Remember(ok_, *image_, expected_);
        return Judge(ok_, *image_, *image_, expected_);
    }
    void Release() override { image_.reset(); }

private:
    std::string path_;
    Bytes expected_;
    std::unique_ptr<PixImage> image_;
    bool ok_ = false;
};

class ThumbnailOperation : public alloc_walk::Operation {
public:
    explicit ThumbnailOperation(Bytes file) : file_(std::move(file)) {}
    void Prepare() override {
        source_ = std::make_unique<PixImage>();
        target_ = std::make_unique<PixImage>();
        PixMemFile memory(file_.data(), DWORD(file_.size()));
        ASSERT_TRUE(source_->Decode(&memory, PIX_FORMAT_BMP)) << source_->GetLastError();
    }
    void Act() override {
        ok_ = source_->Thumbnail(16, 16, PixRGBQuad{255, 255, 255, 0}, target_.get());
    }
    Attempt Check() override {
        // The failure is the source's to report; the target stays empty.
        Remember(ok_, *target_, expected_);
        return Judge(ok_, *source_, *target_, expected_);
    }
    void Release() override {
        target_.reset();
        source_.reset();
    }

private:
    Bytes file_, expected_;
    std::unique_ptr<PixImage> source_, target_;
    bool ok_ = false;
};

class SaveOperation : public alloc_walk::Operation {
public:
    SaveOperation(Bytes file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}
    void Prepare() override {
        std::filesystem::remove(path_);
        image_ = std::make_unique<PixImage>();
        PixMemFile memory(file_.data(), DWORD(file_.size()));
        ASSERT_TRUE(image_->Decode(&memory, PIX_FORMAT_BMP)) << image_->GetLastError();
    }
    void Act() override { ok_ = image_->Save(path_.c_str(), PIX_FORMAT_BMP); }
    Attempt Check() override {
        Attempt a;
        const bool exists = std::filesystem::exists(path_);
        if (ok_) {
            Bytes got = ReadAll(path_);
            if (expected_.empty()) expected_ = got;
            a.ok = got == expected_ && !got.empty();
            if (!a.ok) a.detail = "saved a different file";
        } else {
            // A failed save leaves no file behind, and the picture intact.
            a.outOfMemory = SaysOutOfMemory(image_->GetLastError()) && !exists && image_->IsValid();
            a.detail = std::string("false, last error \"") + image_->GetLastError() + "\"" +
                       (exists ? ", a file left behind" : "");
        }
        return a;
    }
    void Release() override {
        image_.reset();
        std::filesystem::remove(path_);
    }

private:
    Bytes file_, expected_;
    std::string path_;
    std::unique_ptr<PixImage> image_;
    bool ok_ = false;
};

struct FileCase {
    std::string name;
    std::function<std::unique_ptr<alloc_walk::Operation>(const std::string& dir)> make;
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class ImageFileAllocation : public ::testing::TestWithParam<FileCase> {};

TEST_P(ImageFileAllocation, FailsCleanlyAtEverySite) {
    if (!alloc_failure::CountsCAllocations())
        GTEST_SKIP() << "the image block comes from calloc, which this build does not count";
    test_support::TempDir dir("alloc_file");
    auto op = GetParam().make(dir.str());
    alloc_walk::Report report = alloc_walk::Walk(*op, GetParam().name);
    EXPECT_GT(report.sites, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ImageFileAllocation,
    ::testing::Values(
        FileCase{"load_bmp",
                 [](const std::string& dir) -> std::unique_ptr<alloc_walk::Operation> {
                     const std::string path = dir + "/picture.bmp";
                     WriteAll(path, MakeBmp(40, 30, 24, false, false));
                     return std::make_unique<LoadOperation>(path);
                 }},
        FileCase{"thumbnail_shrink",
                 [](const std::string&) -> std::unique_ptr<alloc_walk::Operation> {
                     return std::make_unique<ThumbnailOperation>(MakeBmp(40, 30, 24, false, false));
                 }},
        FileCase{"thumbnail_grow_paletted",
                 [](const std::string&) -> std::unique_ptr<alloc_walk::Operation> {
                     return std::make_unique<ThumbnailOperation>(MakeBmp(9, 7, 8, false, false));
                 }},
        FileCase{"save_bmp",
                 [](const std::string& dir) -> std::unique_ptr<alloc_walk::Operation> {
                     return std::make_unique<SaveOperation>(MakeBmp(40, 30, 24, false, false),
                                                            dir + "/saved.bmp");
                 }}),
    [](const auto& info) { return info.param.name; });

}  // namespace
