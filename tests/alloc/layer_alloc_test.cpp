// The layer's bitmap functions that the program calls, under allocation
// failures: each gives NULL, frees what it took and works again after.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imagelib/pix_image.h"
#include "support/temp_dir.h"
#include "walk.h"

using alloc_walk::Attempt;

namespace {

// A 24-bit BMP file of w x h with a colour pattern.
std::vector<uint8_t> PatternBmp(int w, int h) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> f(54 + size_t(stride) * h, 0);
    auto put32 = [&f](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, uint32_t(f.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    f[26] = 1;
    f[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                f[54 + size_t(y) * stride + x * 3 + c] = uint8_t(x * 29 + y * 71 + c * 101);
    return f;
}

// A bitmap's pixels as 32-bit values, top row first; empty for none.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(size_t(bm.bmWidth) * bm.bmHeight);
    HDC dc = GetDC(nullptr);
    const int rows =
        GetDIBits(dc, bitmap, 0, UINT(bm.bmHeight), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != bm.bmHeight) return {};
    pixels.push_back(uint32_t(bm.bmWidth));
    pixels.push_back(uint32_t(bm.bmBitsPixel));
    return pixels;
}

// An operation whose result is a bitmap handle: NULL is the only failure.
class BitmapOperation : public alloc_walk::Operation {
public:
    explicit BitmapOperation(std::function<HBITMAP(HDC dc, void** bits)> make)
        : make_(std::move(make)) {}
    void Prepare() override { dc_ = CreateCompatibleDC(nullptr); }
    void Act() override {
        bits_ = reinterpret_cast<void*>(1);
        result_ = make_(dc_, &bits_);
    }
    Attempt Check() override {
        Attempt a;
        if (result_) {
            std::vector<uint32_t> pixels = PixelsOf(result_);
            if (expected_.empty()) expected_ = pixels;
            a.ok = !pixels.empty() && pixels == expected_ && bits_ != nullptr;
            if (!a.ok) a.detail = "a bitmap with other pixels, or without its bits";
            made_.push_back(result_);
        } else {
            // A failed DIB section leaves no pointer to bits that are not there.
            a.outOfMemory = bits_ == nullptr || bits_ == reinterpret_cast<void*>(1);
            a.detail = "NULL with a pointer to bits left behind";
        }
        return a;
    }
    void Release() override {
        for (HBITMAP b : made_) EXPECT_TRUE(DeleteObject(b));
        made_.clear();
        DeleteDC(dc_);
    }

private:
    std::function<HBITMAP(HDC, void**)> make_;
    HDC dc_ = nullptr;
    HBITMAP result_ = nullptr;
    void* bits_ = nullptr;
    std::vector<HBITMAP> made_;
    std::vector<uint32_t> expected_;
};

struct LayerCase {
    std::string name;
    // Makes the bitmap from a file in `dir` or from nothing.
    std::function<HBITMAP(const std::string& file, HDC dc, void** bits)> make;
};
void PrintTo(const LayerCase& c, std::ostream* os) { *os << c.name; }

class LayerAllocation : public ::testing::TestWithParam<LayerCase> {};

TEST_P(LayerAllocation, GivesNullAtEverySite) {
    test_support::TempDir dir("alloc_layer");
    const std::string file = (dir / "picture.bmp").string();
    std::vector<uint8_t> bytes = PatternBmp(37, 23);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    auto make = GetParam().make;
    BitmapOperation op([make, file](HDC dc, void** bits) { return make(file, dc, bits); });
    alloc_walk::Report report = alloc_walk::Walk(op, GetParam().name);
    EXPECT_GT(report.sites, 0);
}

HBITMAP Loaded(const std::string& file, UINT flags, int cx = 0, int cy = 0) {
    return HBITMAP(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, cx, cy, flags));
}

HBITMAP Section(HDC dc, void** bits, int bitCount) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[256];
    } info{};
    info.h.biSize = sizeof info.h;
    info.h.biWidth = 29;
    info.h.biHeight = 17;
    info.h.biPlanes = 1;
    info.h.biBitCount = WORD(bitCount);
    for (int i = 0; i < 256; ++i) info.colours[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 3), 0};
    HBITMAP b = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits,
                                 nullptr, 0);
    if (b && *bits) {
        uint8_t* p = static_cast<uint8_t*>(*bits);
        const int stride = ((29 * bitCount + 31) / 32) * 4;
        for (int i = 0; i < stride * 17; ++i) p[i] = uint8_t(i * 7);
    }
    return b;
}

HBITMAP Compatible(bool screen, HDC memory) {
    HDC dc = screen ? GetDC(nullptr) : memory;
    HBITMAP b = CreateCompatibleBitmap(dc, 31, 19);
    if (screen) ReleaseDC(nullptr, dc);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Bitmaps, LayerAllocation,
    ::testing::Values(
        LayerCase{"load_image_file",
                  [](const std::string& f, HDC, void**) { return Loaded(f, LR_LOADFROMFILE); }},
        LayerCase{"load_image_section",
                  [](const std::string& f, HDC, void**) {
                      return Loaded(f, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
                  }},
        LayerCase{"load_image_scaled", [](const std::string& f, HDC,
                                          void**) { return Loaded(f, LR_LOADFROMFILE, 50, 11); }},
        LayerCase{"dib_section_24",
                  [](const std::string&, HDC dc, void** bits) { return Section(dc, bits, 24); }},
        LayerCase{"dib_section_8",
                  [](const std::string&, HDC dc, void** bits) { return Section(dc, bits, 8); }},
        LayerCase{"compatible_screen",
                  [](const std::string&, HDC dc, void** bits) {
                      *bits = nullptr;
                      HBITMAP b = Compatible(true, dc);
                      *bits = b ? reinterpret_cast<void*>(2) : nullptr;
                      return b;
                  }},
        LayerCase{"compatible_memory_dc",
                  [](const std::string&, HDC dc, void** bits) {
                      HBITMAP b = Compatible(false, dc);
                      *bits = b ? reinterpret_cast<void*>(2) : nullptr;
                      return b;
                  }}),
    [](const auto& info) { return info.param.name; });

// The canvas's save: its bitmap becomes an image that is written as a BMP
// file. A failure anywhere on the way is a false with an out-of-memory
// text, and no file.
class CanvasSave : public alloc_walk::Operation {
public:
    explicit CanvasSave(std::string path) : path_(std::move(path)) {}
    void Prepare() override {
        std::remove(path_.c_str());
        HDC screen = GetDC(nullptr);
        bitmap_ = CreateCompatibleBitmap(screen, 33, 21);
        ReleaseDC(nullptr, screen);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap_);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 33; ++x) SetPixel(dc, x, y, RGB(x * 7, y * 11, 200));
        SelectObject(dc, old);
        DeleteDC(dc);
        image_ = std::make_unique<PixImage>();
    }
    void Act() override {
        ok_ = image_->CreateFromHBITMAP(bitmap_) && image_->Save(path_.c_str(), PIX_FORMAT_BMP);
    }
    Attempt Check() override {
        Attempt a;
        std::ifstream in(path_, std::ios::binary);
        std::vector<char> got((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
        if (ok_) {
            if (expected_.empty()) expected_ = got;
            a.ok = !got.empty() && got == expected_;
            a.detail = "a different file";
        } else {
            std::string error = image_->GetLastError();
            a.outOfMemory = error.find("allocate memory") != std::string::npos && got.empty();
            a.detail =
                "false, last error \"" + error + "\"" + (got.empty() ? "" : ", a file left behind");
        }
        return a;
    }
    void Release() override {
        image_.reset();
        DeleteObject(bitmap_);
        std::remove(path_.c_str());
    }

private:
    std::string path_;
    HBITMAP bitmap_ = nullptr;
    std::unique_ptr<PixImage> image_;
    bool ok_ = false;
    std::vector<char> expected_;
};

TEST(CanvasSaveAllocation, FailsCleanlyAtEverySite) {
    if (!alloc_failure::CountsCAllocations())
        GTEST_SKIP() << "the image block comes from calloc, which this build does not count";
    test_support::TempDir dir("alloc_canvas");
    CanvasSave op((dir / "saved.bmp").string());
    alloc_walk::Report report = alloc_walk::Walk(op, "canvas_save");
    EXPECT_GT(report.sites, 0);
}

}  // namespace
