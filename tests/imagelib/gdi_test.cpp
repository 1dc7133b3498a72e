// The image library on the layer's GDI: a screen bitmap taken into an
// image and saved, and images drawn stretched, with and without a
// transparent colour.
#include <gtest/gtest.h>

#include <cstring>

#include "imagelib/pix_bytes.h"
#include "support.h"
#include "windows.h"

using namespace testing_support;

namespace {

// A screen-compatible (32-bit) bitmap with a memory DC that draws on it.
class ScreenBitmap {
public:
    ScreenBitmap(int width, int height) {
        HDC screen = GetDC(nullptr);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        dc = CreateCompatibleDC(nullptr);
        previous = SelectObject(dc, bitmap);
    }
    ~ScreenBitmap() {
        Release();
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // CreateFromHBITMAP needs the bitmap out of every DC.
    void Release() {
        if (previous) {
            SelectObject(dc, previous);
            previous = nullptr;
        }
    }
    void Fill(COLORREF colour, int width, int height) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) SetPixel(dc, x, y, colour);
    }

    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ previous;
};

}  // namespace

TEST(PixImageGdi, ScreenBitmapBecomesA24BitFileOf78Bytes) {
    ScreenBitmap screen(3, 2);
    const COLORREF colours[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                    {RGB(1, 2, 3), RGB(250, 251, 252), RGB(128, 64, 32)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) SetPixel(screen.dc, x, y, colours[y][x]);
    screen.Release();

    PixImage image(PIX_FORMAT_UNKNOWN);
    ASSERT_TRUE(image.CreateFromHBITMAP(screen.bitmap, nullptr)) << image.GetLastError();
    EXPECT_EQ(image.GetBpp(), 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            PixRGBQuad c = image.GetPixelColor(x, y);
            EXPECT_EQ(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue), colours[y][x]) << x << "," << y;
        }
    TempDir dir;
    std::string path = dir.Path("saved.bmp");
    ASSERT_TRUE(image.Save(path.c_str(), PIX_FORMAT_BMP));
    std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), 78u);
    EXPECT_EQ(PixGet32(&file[2]), 78u);
    EXPECT_EQ(PixGet32(&file[10]), 54u);
    EXPECT_EQ(PixGet16(&file[28]), 24);
    EXPECT_EQ(PixGet32(&file[34]), 24u);
    // Bottom row first: its first pixel is RGB(1, 2, 3), stored blue first.
    EXPECT_EQ(file[54], 3);
    EXPECT_EQ(file[55], 2);
    EXPECT_EQ(file[56], 1);

    EXPECT_FALSE(image.CreateFromHBITMAP(nullptr, nullptr));
    EXPECT_FALSE(image.IsValid());
}

TEST(PixImageGdi, PaletteBitmapKeepsItsDepthAndColours) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header = {sizeof(BITMAPINFOHEADER), 4, 2, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    info.colours[7] = RGBQUAD{10, 20, 30, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    static_cast<BYTE*>(bits)[1] = 7;  // bottom row, second pixel
    PixImage image;
    ASSERT_TRUE(image.CreateFromHBITMAP(section, nullptr)) << image.GetLastError();
    EXPECT_EQ(image.GetBpp(), 8);
    PixRGBQuad c = image.GetPixelColor(1, 1);
    EXPECT_EQ(c.rgbBlue, 10);
    EXPECT_EQ(c.rgbGreen, 20);
    EXPECT_EQ(c.rgbRed, 30);
    DeleteObject(section);
}

TEST(PixImageGdi, Draw2StretchesTheWholeImageIntoTheRectangle) {
    PixImage image;
    ASSERT_NE(image.Create(2, 2, 24, PIX_FORMAT_BMP), nullptr);
    // Top row red, blue; bottom row green, white (rows are stored bottom-up).
    const BYTE top[6] = {0, 0, 255, 255, 0, 0}, bottom[6] = {0, 255, 0, 255, 255, 255};
    std::memcpy(image.GetRow(1), top, 6);
    std::memcpy(image.GetRow(0), bottom, 6);

    ScreenBitmap target(10, 10);
    target.Fill(RGB(9, 9, 9), 10, 10);
    image.Draw2(target.dc, RECT{2, 2, 6, 6});
    EXPECT_EQ(GetPixel(target.dc, 2, 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(target.dc, 3, 3), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(target.dc, 5, 2), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(target.dc, 2, 5), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(target.dc, 5, 5), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(target.dc, 1, 1), RGB(9, 9, 9));
    EXPECT_EQ(GetPixel(target.dc, 6, 6), RGB(9, 9, 9));

    // Nothing for an empty rectangle, no DC, or no image.
    image.Draw2(target.dc, RECT{0, 0, 0, 10});
    image.Draw2(nullptr, RECT{0, 0, 10, 10});
    PixImage().Draw2(target.dc, RECT{0, 0, 10, 10});
    EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(9, 9, 9));
}

TEST(PixImageGdi, Draw2LeavesTheTransparentColourUnpainted) {
    PixImage image;
    ASSERT_NE(image.Create(2, 1, 8, PIX_FORMAT_GIF), nullptr);
    image.GetPalette()[4] = PixRGBQuad{0, 0, 0, 0};
    image.GetPalette()[5] = PixRGBQuad{0, 0, 200, 0};
    image.GetRow(0)[0] = 4;
    image.GetRow(0)[1] = 5;
    image.SetTransparentIndex(4);

    ScreenBitmap target(4, 2);
    target.Fill(RGB(0, 0, 255), 4, 2);
    image.Draw2(target.dc, RECT{0, 0, 4, 2});
    EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(0, 0, 255)) << "transparent: destination kept";
    EXPECT_EQ(GetPixel(target.dc, 1, 1), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(target.dc, 2, 0), RGB(200, 0, 0));
    EXPECT_EQ(GetPixel(target.dc, 3, 1), RGB(200, 0, 0));
    // The image itself is unchanged by drawing.
    EXPECT_EQ(image.GetPalette()[4].rgbRed, 0);
    EXPECT_EQ(image.GetPalette()[5].rgbRed, 200);
}
