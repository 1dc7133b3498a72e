// Thumbnails: the fitted size, the centred margins, and the resampling.
#include <gtest/gtest.h>

#include "support.h"

namespace {

const PixRGBQuad kWhite{255, 255, 255, 0};

// A 24-bit picture of one colour, with a different top-left pixel.
void MakeSolid(PixImage& image, DWORD width, DWORD height, BYTE blue, BYTE green, BYTE red) {
    ASSERT_NE(image.Create(width, height, 24, PIX_FORMAT_BMP), nullptr);
    for (DWORD y = 0; y < height; ++y) {
        BYTE* row = image.GetRow(y);
        for (DWORD x = 0; x < width; ++x) {
            row[x * 3] = blue;
            row[x * 3 + 1] = green;
            row[x * 3 + 2] = red;
        }
    }
}

bool IsColour(const PixRGBQuad& c, BYTE blue, BYTE green, BYTE red) {
    return c.rgbBlue == blue && c.rgbGreen == green && c.rgbRed == red;
}

// The bounding box of the pixels that are not white.
struct Box {
    long left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

Box PictureBox(const PixImage& image) {
    Box box;
    for (long y = 0; y < long(image.GetHeight()); ++y)
        for (long x = 0; x < long(image.GetWidth()); ++x)
            if (!IsColour(image.GetPixelColor(x, y), 255, 255, 255)) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

}  // namespace

TEST(Thumbnail, SmallPictureIsCentredAtItsOwnSize) {
    PixImage picture;
    MakeSolid(picture, 40, 30, 10, 20, 30);
    ASSERT_TRUE(picture.Thumbnail(80, 60, kWhite, nullptr));
    ASSERT_EQ(picture.GetWidth(), 80u);
    ASSERT_EQ(picture.GetHeight(), 60u);
    Box box = PictureBox(picture);
    EXPECT_EQ(box.left, 20);
    EXPECT_EQ(box.right, 59);
    EXPECT_EQ(box.top, 15);
    EXPECT_EQ(box.bottom, 44);
    EXPECT_TRUE(IsColour(picture.GetPixelColor(20, 15), 10, 20, 30)) << "not resampled";
}

TEST(Thumbnail, WidePictureShrinksToFitAndOddPixelsGoRightAndDown) {
    PixImage picture, cell;
    MakeSolid(picture, 160, 60, 0, 0, 200);
    ASSERT_TRUE(picture.Thumbnail(80, 60, kWhite, &cell));
    EXPECT_EQ(picture.GetWidth(), 160u) << "with a target the source stays";
    Box box = PictureBox(cell);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 79);
    EXPECT_EQ(box.top, 15);
    EXPECT_EQ(box.bottom, 44);
    EXPECT_TRUE(IsColour(cell.GetPixelColor(40, 30), 0, 0, 200)) << "averaging keeps a flat colour";

    // 600 x 400 into 145 x 142: 145 x 96, 23 rows above and 23 below.
    MakeSolid(picture, 600, 400, 1, 2, 3);
    ASSERT_TRUE(picture.Thumbnail(145, 142, kWhite, &cell));
    box = PictureBox(cell);
    EXPECT_EQ(box.right - box.left + 1, 145);
    EXPECT_EQ(box.bottom - box.top + 1, 96);
    EXPECT_EQ(box.top, 23);

    // An odd leftover: 41 x 31 in 80 x 60 leaves 19 left, 20 right, 14 above, 15 below.
    MakeSolid(picture, 41, 31, 0, 0, 0);
    ASSERT_TRUE(picture.Thumbnail(80, 60, kWhite, &cell));
    box = PictureBox(cell);
    EXPECT_EQ(box.left, 19);
    EXPECT_EQ(box.right, 59);
    EXPECT_EQ(box.top, 14);
    EXPECT_EQ(box.bottom, 44);

    // A very thin picture keeps one row instead of vanishing.
    MakeSolid(picture, 1000, 1, 0, 0, 0);
    ASSERT_TRUE(picture.Thumbnail(80, 60, kWhite, &cell));
    box = PictureBox(cell);
    EXPECT_EQ(box.bottom - box.top + 1, 1);
    EXPECT_EQ(box.right - box.left + 1, 80);
}

TEST(Thumbnail, AveragingWeighsTheCoveredArea) {
    // Columns alternate black and white; halving averages each pair to grey.
    PixImage picture, cell;
    MakeSolid(picture, 8, 4, 0, 0, 0);
    for (DWORD y = 0; y < 4; ++y)
        for (DWORD x = 1; x < 8; x += 2)
            for (int c = 0; c < 3; ++c) picture.GetRow(y)[x * 3 + c] = 255;
    ASSERT_TRUE(picture.Thumbnail(4, 2, kWhite, &cell));
    for (long x = 0; x < 4; ++x)
        EXPECT_TRUE(IsColour(cell.GetPixelColor(x, 0), 128, 128, 128)) << x;

    // A third: 9 columns of 0, 0, 255 into 3 gives a third of the way.
    MakeSolid(picture, 9, 3, 0, 0, 0);
    for (DWORD x = 2; x < 9; x += 3)
        picture.GetRow(0)[x * 3] = picture.GetRow(1)[x * 3] = picture.GetRow(2)[x * 3] = 255;
    ASSERT_TRUE(picture.Thumbnail(3, 1, kWhite, &cell));
    EXPECT_EQ(cell.GetPixelColor(1, 0).rgbBlue, 85);
}

TEST(Thumbnail, PalettePicturesBecomeTrueColour) {
    PixImage picture, cell;
    ASSERT_NE(picture.Create(20, 10, 8, PIX_FORMAT_BMP), nullptr);
    picture.GetPalette()[0] = PixRGBQuad{0, 128, 255, 0};
    ASSERT_TRUE(picture.Thumbnail(10, 10, PixRGBQuad{1, 2, 3, 0}, &cell));
    EXPECT_EQ(cell.GetBpp(), 24);
    EXPECT_TRUE(IsColour(cell.GetPixelColor(5, 5), 0, 128, 255)) << "bilinear keeps a flat colour";
    EXPECT_TRUE(IsColour(cell.GetPixelColor(5, 0), 1, 2, 3)) << "background above";
    EXPECT_TRUE(IsColour(cell.GetPixelColor(5, 9), 1, 2, 3)) << "background below";
}

TEST(Thumbnail, RefusesWithoutPictureOrSize) {
    PixImage empty, picture;
    EXPECT_FALSE(empty.Thumbnail(10, 10, kWhite, nullptr));
    MakeSolid(picture, 4, 4, 0, 0, 0);
    EXPECT_FALSE(picture.Thumbnail(0, 10, kWhite, nullptr));
    EXPECT_FALSE(picture.Thumbnail(10, -1, kWhite, nullptr));
    EXPECT_TRUE(picture.IsValid()) << "a refused thumbnail leaves the picture";
}
