// LoadImageA of BMP files: every depth and header kind the format has, and
// broken files refused without harm.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/paths.h"
#include "gdi/bmpfile.h"
#include "gdi_helpers.h"
#include "support/reference_tools.h"
#include "support/temp_dir.h"
#include "support/wav.h"

namespace {

// The test picture, 3 x 2: red, green, blue over white, black, grey.
const COLORREF kPicture[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                 {RGB(255, 255, 255), RGB(0, 0, 0), RGB(128, 128, 128)}};
// Its palette and indices for 4 and 8 bits.
const COLORREF kPalette[6] = {RGB(0, 0, 0),   RGB(255, 0, 0),     RGB(0, 255, 0),
                              RGB(0, 0, 255), RGB(255, 255, 255), RGB(128, 128, 128)};
const int kIndex[2][3] = {{1, 2, 3}, {4, 0, 5}};

typedef std::vector<uint8_t> Bytes;

void Put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

struct Spec {
    uint32_t headerSize = 40;
    int width = 3, height = 2;  // height < 0: top-down
    int bits = 24;
    uint32_t compression = BI_RGB;
    std::vector<COLORREF> palette;
    std::vector<uint32_t> masks;  // written after a 40-byte header or inside a V4/V5 one
    uint32_t clrUsed = 0;
    Bytes pixels;  // exactly as stored in the file
};

// A whole BMP file for `s`.
Bytes BuildBmp(const Spec& s) {
    Bytes info;
    if (s.headerSize == 12) {
        Put32(info, 12);
        Put16(info, uint32_t(s.width));
        Put16(info, uint32_t(s.height));
        Put16(info, 1);
        Put16(info, uint32_t(s.bits));
    } else {
        Put32(info, s.headerSize);
        Put32(info, uint32_t(s.width));
        Put32(info, uint32_t(s.height));
        Put16(info, 1);
        Put16(info, uint32_t(s.bits));
        Put32(info, s.compression);
        Put32(info, uint32_t(s.pixels.size()));
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, s.clrUsed);
        Put32(info, 0);
        if (s.headerSize > 40) {
            for (size_t i = 0; i < 3; ++i) Put32(info, i < s.masks.size() ? s.masks[i] : 0);
            info.resize(s.headerSize, 0);
        } else {
            for (uint32_t m : s.masks) Put32(info, m);
        }
    }
    for (COLORREF c : s.palette) {
        info.push_back(GetBValue(c));
        info.push_back(GetGValue(c));
        info.push_back(GetRValue(c));
        if (s.headerSize != 12) info.push_back(0);
    }
    Bytes file;
    file.push_back('B');
    file.push_back('M');
    Put32(file, uint32_t(14 + info.size() + s.pixels.size()));
    Put32(file, 0);
    Put32(file, uint32_t(14 + info.size()));
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), s.pixels.begin(), s.pixels.end());
    return file;
}

// Rows of the test picture in file order, `pixel` writing one pixel.
template <class F>
Bytes Rows(int bits, bool topDown, F pixel) {
    Bytes out;
    const size_t stride = size_t((3 * bits + 31) / 32 * 4);
    for (int i = 0; i < 2; ++i) {
        const int y = topDown ? i : 1 - i;
        Bytes row(stride, 0);
        for (int x = 0; x < 3; ++x) pixel(row, x, y);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// A temporary folder that pictures are written into.
class TempDir : public test_support::TempDir {
public:
    TempDir() : test_support::TempDir("gdi-loadimage") {}
    std::string Write(const std::string& name, const Bytes& data) {
        const std::string p = (*this / name).string();
        test_support::WriteFile(p, data);
        return p;
    }
};

// Loads `file` and reads back its pixels (empty if loading failed).
std::vector<COLORREF> Load(const Bytes& file, int* bitsPixel = nullptr, UINT flags = 0) {
    HBITMAP bm = win::gdi::BitmapFromBmp(file.data(), file.size(), 0, 0, flags);
    if (!bm) return {};
    BITMAP rec{};
    GetObject(bm, sizeof(rec), &rec);
    if (bitsPixel) *bitsPixel = rec.bmBitsPixel;
    std::vector<COLORREF> px;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    for (int y = 0; y < rec.bmHeight; ++y)
        for (int x = 0; x < rec.bmWidth; ++x) px.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bm);
    return px;
}

std::vector<COLORREF> Expected() {
    std::vector<COLORREF> v;
    for (auto& row : kPicture)
        for (COLORREF c : row) v.push_back(c);
    return v;
}

Spec Palettized(int bits) {
    Spec s;
    s.bits = bits;
    s.palette.assign(kPalette, kPalette + 6);
    s.palette.resize(size_t(1) << bits, RGB(0, 0, 0));
    s.pixels = Rows(bits, false, [&](Bytes& row, int x, int y) {
        const int i = kIndex[y][x];
        if (bits == 8)
            row[size_t(x)] = uint8_t(i);
        else
            row[size_t(x / 2)] |= uint8_t(x % 2 ? i : i << 4);
    });
    return s;
}

Spec Direct(int bits, bool topDown) {
    Spec s;
    s.bits = bits;
    s.height = topDown ? -2 : 2;
    s.pixels = Rows(bits, topDown, [&](Bytes& row, int x, int y) {
        const COLORREF c = kPicture[y][x];
        const size_t at = size_t(x * bits / 8);
        row[at] = GetBValue(c);
        row[at + 1] = GetGValue(c);
        row[at + 2] = GetRValue(c);
    });
    return s;
}

}  // namespace

TEST(GdiLoadImage, UncompressedDepthsAndHeaderKinds) {
    EXPECT_EQ(Load(BuildBmp(Direct(24, false))), Expected());
    EXPECT_EQ(Load(BuildBmp(Direct(24, true))), Expected()) << "top-down";
    EXPECT_EQ(Load(BuildBmp(Direct(32, false))), Expected());
    EXPECT_EQ(Load(BuildBmp(Palettized(8))), Expected());
    EXPECT_EQ(Load(BuildBmp(Palettized(4))), Expected());

    Spec small = Palettized(8);  // a short colour table (biClrUsed)
    small.palette.resize(6);
    small.clrUsed = 6;
    EXPECT_EQ(Load(BuildBmp(small)), Expected());

    Spec core = Palettized(8);  // 12-byte header, 3-byte colour entries
    core.headerSize = 12;
    EXPECT_EQ(Load(BuildBmp(core)), Expected());

    Spec v5 = Direct(24, false);
    v5.headerSize = 124;
    EXPECT_EQ(Load(BuildBmp(v5)), Expected());
    Spec v4 = Palettized(4);
    v4.headerSize = 108;
    EXPECT_EQ(Load(BuildBmp(v4)), Expected());

    int bits = 0;
    Load(BuildBmp(Palettized(4)), &bits);
    EXPECT_EQ(bits, 32);  // screen-compatible, whatever the file's depth
}

TEST(GdiLoadImage, OneBitAndSixteenBitFiles) {
    Spec mono;
    mono.bits = 1;
    mono.palette = {RGB(0, 0, 0), RGB(255, 255, 255)};
    // W B W over B W B.
    mono.pixels = Rows(1, false, [](Bytes& row, int x, int y) {
        if ((x + y) % 2 == 0) row[0] |= uint8_t(0x80 >> x);
    });
    const COLORREF w = RGB(255, 255, 255), b = RGB(0, 0, 0);
    EXPECT_EQ(Load(BuildBmp(mono)), (std::vector<COLORREF>{w, b, w, b, w, b}));

    // 16 bits, 5-5-5 without masks and 5-6-5 with bit-fields.
    for (bool five65 : {false, true}) {
        Spec s;
        s.bits = 16;
        if (five65) {
            s.compression = BI_BITFIELDS;
            s.masks = {0xF800, 0x07E0, 0x001F};
        }
        s.pixels = Rows(16, false, [&](Bytes& row, int x, int y) {
            const COLORREF c = kPicture[y][x];
            uint32_t v =
                five65 ? (GetRValue(c) >> 3) << 11 | (GetGValue(c) >> 2) << 5 | GetBValue(c) >> 3
                       : (GetRValue(c) >> 3) << 10 | (GetGValue(c) >> 3) << 5 | GetBValue(c) >> 3;
            row[size_t(2 * x)] = uint8_t(v);
            row[size_t(2 * x + 1)] = uint8_t(v >> 8);
        });
        auto px = Load(BuildBmp(s));
        ASSERT_EQ(px.size(), 6u);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(px[size_t(i)], Expected()[size_t(i)]) << five65 << " " << i;
        // Grey loses its low bits but stays grey.
        EXPECT_EQ(GetRValue(px[5]), GetBValue(px[5]));
        EXPECT_NEAR(GetRValue(px[5]), 128, 8);
    }

    // 32 bits with bit-fields in a V5 header: red in the low byte.
    Spec swapped;
    swapped.headerSize = 124;
    swapped.bits = 32;
    swapped.compression = BI_BITFIELDS;
    swapped.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    swapped.pixels = Rows(32, false, [](Bytes& row, int x, int y) {
        const COLORREF c = kPicture[y][x];
        row[size_t(4 * x)] = GetRValue(c);
        row[size_t(4 * x + 1)] = GetGValue(c);
        row[size_t(4 * x + 2)] = GetBValue(c);
        row[size_t(4 * x + 3)] = 0x7F;  // alpha or junk: ignored
    });
    EXPECT_EQ(Load(BuildBmp(swapped)), Expected());
}

TEST(GdiLoadImage, RunLengthEncodedFiles) {
    // RLE8, bottom row then top row, using encoded runs, an absolute run and
    // the end codes.
    Spec rle8 = Palettized(8);
    rle8.compression = BI_RLE8;
    rle8.pixels = {1, 4, 1, 0, 1, 5, 0, 0,  // bottom: white, black, grey; end of line
                   0, 3, 1, 2, 3, 0,        // top: absolute run of 3, padded
                   0, 1};                   // end of bitmap
    EXPECT_EQ(Load(BuildBmp(rle8)), Expected());

    // RLE4: a run of two alternating nibbles, then one pixel.
    Spec rle4 = Palettized(4);
    rle4.compression = BI_RLE4;
    rle4.pixels = {2, 0x40, 1,    0x50, 0, 0,  // bottom: 4, 0 then 5
                   0, 3,    0x12, 0x30,        // top: absolute 1, 2, 3 (two bytes, even)
                   0, 1};
    EXPECT_EQ(Load(BuildBmp(rle4)), Expected());

    // A delta skips pixels, which stay black; a run past the right edge is
    // cut off.
    Spec delta = Palettized(8);
    delta.compression = BI_RLE8;
    delta.pixels = {0, 2, 2, 1, 1, 1, 0, 0, 9, 4, 0, 1};
    const COLORREF k = RGB(0, 0, 0), r = RGB(255, 0, 0), wh = RGB(255, 255, 255);
    EXPECT_EQ(Load(BuildBmp(delta)), (std::vector<COLORREF>{k, k, r, k, k, k}));
    delta.pixels = {9, 4, 0, 1};
    EXPECT_EQ(Load(BuildBmp(delta)), (std::vector<COLORREF>{k, k, k, wh, wh, wh}));
}

TEST(GdiLoadImage, DibSectionKeepsTheFilesDepthAndColours) {
    HBITMAP bm = win::gdi::BitmapFromBmp(BuildBmp(Palettized(8)).data(),
                                         BuildBmp(Palettized(8)).size(), 0, 0, LR_CREATEDIBSECTION);
    ASSERT_NE(bm, nullptr);
    DIBSECTION ds{};
    ASSERT_EQ(GetObject(bm, sizeof(ds), &ds), int(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 8);
    EXPECT_EQ(ds.dsBmih.biClrUsed, 256u);
    // The bottom row's first pixel holds white's index.
    EXPECT_EQ(static_cast<uint8_t*>(ds.dsBm.bmBits)[0], 4);
    EXPECT_EQ(Load(BuildBmp(Palettized(8)), nullptr, LR_CREATEDIBSECTION), Expected());
    DeleteObject(bm);
}

TEST(GdiLoadImage, LoadsFromAPathWrittenWithBackslashesAndScales) {
    TempDir dir;
    ASSERT_EQ(mkdir((dir.str() + "/Backgrnd").c_str(), 0755), 0);
    dir.Write("Backgrnd/pic.bmp", BuildBmp(Direct(24, false)));
    EXPECT_EQ(win::NativePath("a\\b\\c.bmp"), "a/b/c.bmp");
    EXPECT_EQ(win::NativePath(nullptr), "");
    const std::string windowsPath = dir.str() + "\\Backgrnd\\pic.bmp";
    HANDLE h = LoadImageA(nullptr, windowsPath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    ASSERT_NE(h, nullptr);
    BITMAP rec{};
    GetObject(h, sizeof(rec), &rec);
    EXPECT_EQ(rec.bmWidth, 3);
    EXPECT_EQ(rec.bmBitsPixel, 32);
    DeleteObject(h);
    // Asked for another size, the picture is scaled to it.
    h = LoadImageA(nullptr, windowsPath.c_str(), IMAGE_BITMAP, 6, 4, LR_LOADFROMFILE);
    ASSERT_NE(h, nullptr);
    GetObject(h, sizeof(rec), &rec);
    EXPECT_EQ(rec.bmWidth, 6);
    EXPECT_EQ(rec.bmHeight, 4);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, h);
    EXPECT_EQ(GetPixel(dc, 5, 3), RGB(128, 128, 128));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(h);

    EXPECT_EQ(LoadImageA(nullptr, (dir.str() + "/missing.bmp").c_str(), IMAGE_BITMAP, 0, 0,
                         LR_LOADFROMFILE),
              nullptr);
    EXPECT_EQ(LoadImageA(nullptr, windowsPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, dir.str().c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE),
              nullptr);  // a folder
}

TEST(GdiLoadImage, BrokenFilesAreRefused) {
    const Bytes good = BuildBmp(Direct(24, false));
    auto refused = [](const Bytes& file) {
        return win::gdi::BitmapFromBmp(file.data(), file.size(), 0, 0, 0) == nullptr;
    };
    ASSERT_FALSE(refused(good));
    for (size_t n = 0; n < good.size(); ++n)  // every truncation
        EXPECT_TRUE(refused(Bytes(good.begin(), good.begin() + long(n)))) << n;

    auto patched = [&](const Bytes& base, size_t at, uint32_t value, int bytes = 4) {
        Bytes b = base;
        for (int i = 0; i < bytes; ++i) b[at + size_t(i)] = uint8_t(value >> (8 * i));
        return b;
    };
    EXPECT_TRUE(refused(patched(good, 0, 'X', 1)));  // not "BM"
    EXPECT_TRUE(refused(patched(good, 14, 7)));      // unknown header size
    EXPECT_TRUE(refused(patched(good, 14, 0xFFFFFFFF)));
    EXPECT_TRUE(refused(patched(good, 18, 0)));           // zero width
    EXPECT_TRUE(refused(patched(good, 18, 0x80000000)));  // negative width
    EXPECT_TRUE(refused(patched(good, 22, 0x80000000)));  // height INT_MIN
    EXPECT_TRUE(refused(patched(good, 18, 1000000)));     // far more pixels than bytes
    EXPECT_TRUE(refused(patched(good, 18, 20000)));
    EXPECT_TRUE(refused(patched(good, 28, 0, 2)));  // zero bits per pixel
    EXPECT_TRUE(refused(patched(good, 28, 7, 2)));
    EXPECT_TRUE(refused(patched(good, 30, BI_JPEG)));
    EXPECT_TRUE(refused(patched(good, 30, BI_RLE8)));     // RLE needs 8 bits
    EXPECT_TRUE(refused(patched(good, 10, 0xFFFFFF00)));  // pixels past the end

    Spec table = Palettized(8);
    table.clrUsed = 100000;
    EXPECT_TRUE(refused(BuildBmp(table)));
    Spec rle = Palettized(8);
    rle.compression = BI_RLE8;
    rle.pixels = {2, 1, 0, 200, 1, 2};  // absolute run longer than the data
    EXPECT_TRUE(refused(BuildBmp(rle)));
    rle.pixels = {2, 1, 0, 2};  // delta cut short
    EXPECT_TRUE(refused(BuildBmp(rle)));
    rle.pixels = {2, 1};  // no end of bitmap before the data ends
    EXPECT_TRUE(refused(BuildBmp(rle)));
    rle.height = -2;  // RLE cannot be top-down
    rle.pixels = {0, 1};
    EXPECT_TRUE(refused(BuildBmp(rle)));
}

// Files written by an independent encoder (ImageMagick), decoded by it and
// by us: the pixels must agree.
struct IndependentBmp {
    const char* name;
    const char* options;  // convert's options for the kind of BMP
};

class GdiLoadImageAgrees : public ::testing::TestWithParam<IndependentBmp> {};

TEST_P(GdiLoadImageAgrees, WithAnIndependentDecoder) {
    if (!test_support::HaveTool("convert"))
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const IndependentBmp& v = GetParam();
    TempDir dir;
    const std::string file = dir.str() + "/" + v.name + ".bmp";
    // plasma is random: a fixed seed keeps runs identical.
    const std::string make =
        std::string("-seed 7 -size 23x17 plasma:fractal ") + v.options + file + " 2>/dev/null";
    ASSERT_TRUE(test_support::Convert(make)) << make;
    const std::vector<uint8_t> rgb = test_support::ConvertToRgb(file);
    ASSERT_EQ(rgb.size(), size_t(23 * 17 * 3));
    HANDLE h = LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    ASSERT_NE(h, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, h);
    int mismatches = 0;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x) {
            const uint8_t* e = &rgb[size_t(y * 23 + x) * 3];
            mismatches += GetPixel(dc, x, y) != RGB(e[0], e[1], e[2]);
        }
    EXPECT_EQ(mismatches, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(h);
}

INSTANTIATE_TEST_SUITE_P(Bmp, GdiLoadImageAgrees,
                         ::testing::Values(IndependentBmp{"rgb24", "-type truecolor bmp3:"},
                                           IndependentBmp{"pal8", "-type palette bmp3:"},
                                           IndependentBmp{"pal4", "-colors 16 bmp3:"},
                                           IndependentBmp{"mono", "-monochrome bmp3:"},
                                           IndependentBmp{"rle8",
                                                          "-type palette -compress RLE bmp3:"},
                                           IndependentBmp{"os2", "-type palette bmp2:"},
                                           IndependentBmp{"v5", "-type truecolor bmp:"},
                                           IndependentBmp{"argb", "-type truecoloralpha bmp:"}),
                         [](const ::testing::TestParamInfo<IndependentBmp>& info) {
                             return std::string(info.param.name);
                         });
