// DIB sections, GetDIBits, SetDIBits, SetDIBitsToDevice, StretchDIBits and
// CreateDIBitmap: every depth, both row orders.
#include <gtest/gtest.h>

#include <cstring>

#include "base/surface.h"
#include "gdi_helpers.h"

using gdi_test::MemCanvas;

namespace {

// A BITMAPINFO with room for 256 colours and the three masks.
struct Info {
    BITMAPINFOHEADER h{};
    RGBQUAD colors[256]{};
    Info(int w, int h_, int bits, DWORD compression = BI_RGB) {
        h.biSize = sizeof(h);
        h.biWidth = w;
        h.biHeight = h_;
        h.biPlanes = 1;
        h.biBitCount = WORD(bits);
        h.biCompression = compression;
    }
    BITMAPINFO* bmi() { return reinterpret_cast<BITMAPINFO*>(this); }
};

RGBQUAD Quad(COLORREF c) { return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0}; }

}  // namespace

class GdiDibSection : public ::testing::TestWithParam<std::tuple<int, int>> {};

// Every depth, bottom-up (height 3) and top-down (height -3).
TEST_P(GdiDibSection, DrawsAndReadsBack) {
    const auto [bits, height] = GetParam();
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    Info info(5, height, bits);
    if (bits <= 8) {
        info.colors[0] = Quad(RGB(0, 0, 0));
        info.colors[1] = Quad(bits == 1 ? RGB(255, 255, 255) : red);
        info.colors[2] = Quad(blue);
    }
    void* raw = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info.bmi(), DIB_RGB_COLORS, &raw, nullptr, 0);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(raw, nullptr);
    DIBSECTION ds{};
    ASSERT_EQ(GetObject(section, sizeof(ds), &ds), int(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmBitsPixel, bits);
    EXPECT_EQ(ds.dsBm.bmBits, raw);
    EXPECT_EQ(ds.dsBm.bmHeight, 3);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, LONG((5 * bits + 31) / 32 * 4));

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    ASSERT_NE(old, nullptr);
    const COLORREF ink = bits == 1 ? RGB(255, 255, 255) : red;
    SetPixel(dc, 4, 0, ink);  // top-right pixel
    EXPECT_EQ(GetPixel(dc, 4, 0), ink);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    // The caller sees the pixel in its bits, in the right row.
    const size_t stride = size_t(ds.dsBm.bmWidthBytes);
    const uint8_t* top = static_cast<uint8_t*>(raw) + (height > 0 ? 2 * stride : 0);
    const uint8_t* bottom = static_cast<uint8_t*>(raw) + (height > 0 ? 0 : 2 * stride);
    switch (bits) {
        case 1: EXPECT_EQ(top[0], 0x08); break;
        case 4: EXPECT_EQ(top[2], 0x10); break;
        case 8: EXPECT_EQ(top[4], 1); break;
        case 16: EXPECT_EQ(top[8] | top[9] << 8, 0x7C00); break;
        case 24: EXPECT_EQ(top[14], 255); break;
        case 32: EXPECT_EQ(top[18], 255); break;
    }
    EXPECT_EQ(bottom[0], 0);
    // And pixels the caller writes show through the DC.
    if (bits == 8) {
        static_cast<uint8_t*>(const_cast<uint8_t*>(bottom))[0] = 2;
        EXPECT_EQ(GetPixel(dc, 0, 2), blue);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(section));
}

INSTANTIATE_TEST_SUITE_P(Depths, GdiDibSection,
                         ::testing::Combine(::testing::Values(1, 4, 8, 16, 24, 32),
                                            ::testing::Values(3, -3)),
                         [](const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
                             const int height = std::get<1>(info.param);
                             return std::to_string(std::get<0>(info.param)) + "bpp" +
                                    (height > 0 ? "BottomUp" : "TopDown");
                         });

TEST(GdiDib, BadDibSectionRequestsFail) {
    void* bits = reinterpret_cast<void*>(1);
    Info rle(4, 4, 8, BI_RLE8);
    EXPECT_EQ(CreateDIBSection(nullptr, rle.bmi(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    Info odd(4, 4, 7);
    EXPECT_EQ(CreateDIBSection(nullptr, odd.bmi(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    Info huge(100000, 100000, 32);
    EXPECT_EQ(CreateDIBSection(nullptr, huge.bmi(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    Info zero(4, 0, 32);
    EXPECT_EQ(CreateDIBSection(nullptr, zero.bmi(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    Info many(4, 4, 8);
    many.h.biClrUsed = 100000;
    EXPECT_EQ(CreateDIBSection(nullptr, many.bmi(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(GdiDib, GetDIBitsWithoutBitsFillsTheHeader) {
    MemCanvas c(3, 2);
    Info info(0, 0, 0);
    EXPECT_NE(GetDIBits(c.dc, c.bitmap, 0, 2, nullptr, info.bmi(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(info.h.biWidth, 3);
    EXPECT_EQ(info.h.biHeight, 2);
    EXPECT_EQ(info.h.biBitCount, 32);
    EXPECT_EQ(info.h.biSizeImage, 24u);
    // Asked for 24 bits, it gives the image size the caller must allocate.
    Info want(3, 2, 24);
    EXPECT_NE(GetDIBits(c.dc, c.bitmap, 0, 2, nullptr, want.bmi(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(want.h.biSizeImage, 24u);  // stride 12
}

TEST(GdiDib, GetDIBitsConvertsAScreenBitmapToEveryDepth) {
    MemCanvas c(3, 2, RGB(255, 255, 255));
    SetPixel(c.dc, 0, 0, RGB(0, 0, 0));
    SetPixel(c.dc, 1, 0, RGB(255, 0, 0));
    SetPixel(c.dc, 2, 1, RGB(0, 0, 255));
    SelectObject(c.dc, c.old);  // GetDIBits wants the bitmap free

    // 24 bits: the bottom row first, BGR, rows padded to 4 bytes.
    Info i24(3, 2, 24);
    uint8_t b24[24];
    std::memset(b24, 0xEE, sizeof(b24));
    ASSERT_EQ(GetDIBits(c.dc, c.bitmap, 0, 2, b24, i24.bmi(), DIB_RGB_COLORS), 2);
    const uint8_t expect24[24] = {255, 255, 255, 255, 255, 255, 255, 0,   0,   0, 0, 0,
                                  0,   0,   0,   0,   0,   255, 255, 255, 255, 0, 0, 0};
    EXPECT_EQ(std::memcmp(b24, expect24, 24), 0);

    // 32 bits top-down.
    Info i32(3, -2, 32);
    uint32_t b32[6];
    ASSERT_EQ(GetDIBits(c.dc, c.bitmap, 0, 2, b32, i32.bmi(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(b32[0], 0x000000u);
    EXPECT_EQ(b32[1], 0xFF0000u);
    EXPECT_EQ(b32[5], 0x0000FFu);

    // 1 bit: black and white table; red is nearer black.
    Info i1(3, 2, 1);
    uint8_t b1[8] = {};
    ASSERT_EQ(GetDIBits(c.dc, c.bitmap, 0, 2, b1, i1.bmi(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(i1.colors[1].rgbRed, 255);
    EXPECT_EQ(b1[0], 0xC0);  // bottom row: white, white, blue->black
    EXPECT_EQ(b1[4], 0x20);  // top row: black, red->black, white

    // 4 and 8 bits: the table holds the exact colours used here.
    for (int bits : {4, 8}) {
        Info ip(3, 2, bits);
        uint8_t bp[8] = {};
        ASSERT_EQ(GetDIBits(c.dc, c.bitmap, 0, 2, bp, ip.bmi(), DIB_RGB_COLORS), 2);
        auto color = [&](int index) {
            const RGBQUAD& q = ip.colors[index];
            return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        };
        const int topRed = bits == 8 ? bp[4 + 1] : (bp[4] & 0x0F);
        const int bottomBlue = bits == 8 ? bp[2] : (bp[1] >> 4);
        EXPECT_EQ(color(topRed), RGB(255, 0, 0)) << bits;
        EXPECT_EQ(color(bottomBlue), RGB(0, 0, 255)) << bits;
    }

    // Scan-line ranges: only the lines asked for, counted from the bottom.
    uint8_t one[12];
    EXPECT_EQ(GetDIBits(c.dc, c.bitmap, 1, 5, one, i24.bmi(), DIB_RGB_COLORS), 1);
    EXPECT_EQ(one[5], 255);  // the top row's red pixel at x = 1 (B, G, R)
    EXPECT_EQ(std::memcmp(one, expect24 + 12, 12), 0);
    EXPECT_EQ(GetDIBits(c.dc, c.bitmap, 2, 1, one, i24.bmi(), DIB_RGB_COLORS), 0);
    c.old = SelectObject(c.dc, c.bitmap);
}

TEST(GdiDib, SetDIBitsToDeviceDrawsAnEightBitBarRowByRow) {
    // Row i from the top has colour-table index i, as the mixer's bar does.
    const int w = 4, h = 6;
    Info info(w, h, 8);
    for (int i = 0; i < h; ++i) info.colors[i] = Quad(RGB(i * 40, 0, 255 - i * 40));
    uint8_t bits[4 * 6];
    for (int row = 0; row < h; ++row)  // bottom-up rows
        for (int x = 0; x < w; ++x) bits[row * 4 + x] = uint8_t(h - 1 - row);
    MemCanvas c(10, 10);
    EXPECT_EQ(SetDIBitsToDevice(c.dc, 3, 2, w, h, 0, 0, 0, h, bits, info.bmi(), DIB_RGB_COLORS), h);
    for (int i = 0; i < h; ++i) EXPECT_EQ(c.At(4, 2 + i), RGB(i * 40, 0, 255 - i * 40)) << i;
    EXPECT_EQ(c.At(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(c.At(7, 2), RGB(255, 255, 255));
    // Rewriting the table alone changes the picture.
    info.colors[0] = Quad(RGB(1, 2, 3));
    SetDIBitsToDevice(c.dc, 3, 2, w, h, 0, 0, 0, h, bits, info.bmi(), DIB_RGB_COLORS);
    EXPECT_EQ(c.At(3, 2), RGB(1, 2, 3));
    // A source rectangle measured from the bottom-left corner of the DIB.
    c.Fill(RGB(255, 255, 255));
    SetDIBitsToDevice(c.dc, 0, 0, 2, 2, 1, 0, 0, h, bits, info.bmi(), DIB_RGB_COLORS);
    EXPECT_EQ(c.At(0, 1), RGB(200, 0, 55));  // bottom row of the DIB: index 5
    EXPECT_EQ(c.At(0, 0), RGB(160, 0, 95));
    EXPECT_EQ(c.At(2, 0), RGB(255, 255, 255));
}

TEST(GdiDib, StretchDIBitsScalesAWholeImage) {
    Info info(2, 2, 24);
    // Bottom-up: bottom row first.
    uint8_t bits[16] = {0,   0, 255, 0,   255, 0,   0, 0,   // bottom: red, green
                        255, 0, 0,   255, 255, 255, 0, 0};  // top: blue, white
    MemCanvas c(4, 4, RGB(0, 0, 0));
    SetStretchBltMode(c.dc, COLORONCOLOR);
    EXPECT_EQ(
        StretchDIBits(c.dc, 0, 0, 4, 4, 0, 0, 2, 2, bits, info.bmi(), DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(c.At(3, 1), RGB(255, 255, 255));
    EXPECT_EQ(c.At(1, 2), RGB(255, 0, 0));
    EXPECT_EQ(c.At(3, 3), RGB(0, 255, 0));
    // Just the bottom row (source y counts from the bottom of the DIB).
    c.Fill(RGB(0, 0, 0));
    StretchDIBits(c.dc, 0, 0, 2, 1, 0, 0, 2, 1, bits, info.bmi(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(c.At(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(
        StretchDIBits(c.dc, 0, 0, 2, 1, 0, 0, 2, 1, nullptr, info.bmi(), DIB_RGB_COLORS, SRCCOPY),
        0);
}

TEST(GdiDib, CreateDIBitmapAndSetDIBitsRoundTrip) {
    Info info(3, 2, 32);
    const uint32_t bits[6] = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};
    HBITMAP bm = CreateDIBitmap(nullptr, &info.h, CBM_INIT, bits, info.bmi(), DIB_RGB_COLORS);
    ASSERT_NE(bm, nullptr);
    BITMAP rec{};
    GetObject(bm, sizeof(rec), &rec);
    EXPECT_EQ(rec.bmBitsPixel, 32);
    uint32_t back[6] = {};
    EXPECT_EQ(GetDIBits(nullptr, bm, 0, 2, back, info.bmi(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(std::memcmp(back, bits, sizeof(bits)), 0);
    // Replace the top scan line only (scan 1 of a bottom-up DIB).
    const uint32_t line[3] = {0xAA0000, 0xBB0000, 0xCC0000};
    EXPECT_EQ(SetDIBits(nullptr, bm, 1, 1, line, info.bmi(), DIB_RGB_COLORS), 1);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0xCC, 0, 0));
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(1, 2, 3));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bm);
}

TEST(GdiDib, AlphaBytesOfA32BitSectionDoNotReachAWindow) {
    Info info(2, 1, 32);
    void* raw = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info.bmi(), DIB_RGB_COLORS, &raw, nullptr, 0);
    ASSERT_NE(section, nullptr);
    static_cast<uint32_t*>(raw)[0] = 0xFF102030;
    static_cast<uint32_t*>(raw)[1] = 0x80405060;
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, section);
    std::vector<uint32_t> pixels(2, 0);
    win::Surface s{pixels.data(), 2, 1, 2};
    HDC window = win::CreateWindowDC(&s, POINT{0, 0}, RECT{0, 0, 2, 1}, nullptr);
    ASSERT_TRUE(BitBlt(window, 0, 0, 2, 1, mem, 0, 0, SRCCOPY));
    EXPECT_EQ(pixels[0], 0x00102030u);
    EXPECT_EQ(pixels[1], 0x00405060u);
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(0x10, 0x20, 0x30));
    win::ReleaseWindowDC(window);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(section);
}
