// The decoders that format detection tries after BMP, on files written by
// ImageMagick: each decodes to what ImageMagick reads from the same file.
#include <gtest/gtest.h>

#include <cstring>

#include "imagelib/pix_bytes.h"
#include "support.h"

using namespace testing_support;

namespace {

class OtherFormats : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_WITHOUT_IMAGEMAGICK();
        source = dir.Path("source.png");
        ASSERT_TRUE(
            Convert("-size 45x29 xc: -sparse-color Bilinear "
                    "'0,0 red 44,0 lime 0,28 blue 44,28 white' " +
                    source));
    }

    // Writes `name` with the options, decodes it with detection and with
    // its own format code, and compares with ImageMagick's reading.
    void Check(const std::string& name, const std::string& options, DWORD format, WORD bpp) {
        SCOPED_TRACE(name + " " + options);
        std::string path = dir.Path(name);
        ASSERT_TRUE(Convert(source + " " + options + " " + path));
        ExpectSameAsMagick(path, format, bpp);
    }

    void ExpectSameAsMagick(const std::string& path, DWORD format, WORD bpp) {
        Rgb reference;
        ASSERT_TRUE(MagickRead(path, reference));
        for (DWORD asked : {DWORD(PIX_FORMAT_UNKNOWN), format}) {
            PixImage image;
            ASSERT_TRUE(image.Load(path.c_str(), asked)) << image.GetLastError();
            EXPECT_EQ(image.GetFormat(), format);
            EXPECT_EQ(image.GetBpp(), bpp);
            Rgb ours = RgbOf(image);
            ASSERT_EQ(ours.width, reference.width);
            ASSERT_EQ(ours.height, reference.height);
            size_t differ = 0;
            for (size_t k = 0; k < ours.pixels.size(); ++k)
                differ += ours.pixels[k] != reference.pixels[k];
            EXPECT_EQ(differ, 0u) << "channel values that differ";
        }
    }

    TempDir dir;
    std::string source;
};

}  // namespace

TEST_F(OtherFormats, Gif) {
    Check("plain.gif", "-colors 64", PIX_FORMAT_GIF, 8);
    Check("interlaced.gif", "-colors 64 -interlace GIF", PIX_FORMAT_GIF, 8);
    Check("two.gif", "-monochrome", PIX_FORMAT_GIF, 8);
    // The transparent colour is recorded as the transparent index.
    std::string path = dir.Path("transparent.gif");
    ASSERT_TRUE(Convert(
        source + " -colors 32 -fill red -draw 'rectangle 0,0 9,9' -transparent red " + path));
    PixImage image;
    ASSERT_TRUE(image.Load(path.c_str()));
    ASSERT_GE(image.GetTransparentIndex(), 0);
    EXPECT_EQ(image.GetRow(image.GetHeight() - 1)[0], image.GetTransparentIndex());
}

TEST_F(OtherFormats, Ico) {
    Check("one.ico", "-resize 32x32!", PIX_FORMAT_ICO, 24);
    Check("pal.ico", "-resize 16x16! -colors 16 -type Palette", PIX_FORMAT_ICO, 4);
    // Several sizes: the largest one is taken.
    std::string path = dir.Path("many.ico");
    ASSERT_TRUE(Convert(source + " -define icon:auto-resize=16,48,32 " + path));
    PixImage image;
    ASSERT_TRUE(image.Load(path.c_str()));
    EXPECT_EQ(image.GetWidth(), 48u);
    EXPECT_EQ(image.GetHeight(), 48u);
}

TEST_F(OtherFormats, Tga) {
    Check("rgb.tga", "-type TrueColor", PIX_FORMAT_TGA, 24);
    Check("rle.tga", "-type TrueColor -compress RLE", PIX_FORMAT_TGA, 24);
    Check("rgba.tga", "-alpha on -type TrueColorAlpha", PIX_FORMAT_TGA, 24);
    Check("mapped.tga", "-colors 50 -type Palette", PIX_FORMAT_TGA, 8);
    Check("mappedrle.tga", "-colors 50 -type Palette -compress RLE", PIX_FORMAT_TGA, 8);
    Check("grey.tga", "-colorspace Gray -type Grayscale", PIX_FORMAT_TGA, 8);

    // Top-down rows: the same picture with the origin flag set.
    std::string bottomUp = dir.Path("rgb.tga"), topDown = dir.Path("topdown.tga");
    std::vector<uint8_t> file = ReadBytes(bottomUp);
    ASSERT_EQ(file[2], 2);
    ASSERT_EQ(file[16], 24);
    const size_t start = 18 + file[0] + (file[1] ? PixGet16(&file[5]) * ((file[7] + 7) / 8) : 0);
    const size_t w = PixGet16(&file[12]), h = PixGet16(&file[14]), row = w * 3;
    std::vector<uint8_t> flipped = file;
    flipped[17] |= 0x20;
    for (size_t y = 0; y < h; ++y)
        std::memcpy(&flipped[start + y * row], &file[start + (h - 1 - y) * row], row);
    WriteBytes(topDown, flipped);
    ExpectSameAsMagick(topDown, PIX_FORMAT_TGA, 24);
}

TEST_F(OtherFormats, Pcx) {
    Check("rgb.pcx", "-type TrueColor", PIX_FORMAT_PCX, 24);
    Check("pal.pcx", "-colors 100 -type Palette", PIX_FORMAT_PCX, 8);
}

namespace {

// A run-length coded PCX file of `planes` bit planes of 1 bit, pixel
// indices from `index(x, y)`, the 16-colour table in the header.
std::vector<uint8_t> BitPlanePcx(uint16_t width, uint16_t height, uint8_t planes,
                                 int (*index)(int, int)) {
    std::vector<uint8_t> file(128, 0);
    file[0] = 0x0A;
    file[1] = 5;
    file[2] = 1;
    file[3] = 1;
    PixPut16(&file[8], width - 1u);
    PixPut16(&file[10], height - 1u);
    PixPut16(&file[12], 72);
    PixPut16(&file[14], 72);
    for (int k = 0; k < 16; ++k) {
        file[16 + k * 3] = uint8_t(k * 16);
        file[17 + k * 3] = uint8_t(255 - k * 8);
        file[18 + k * 3] = uint8_t(k * 5);
    }
    const uint16_t lineBytes = uint16_t(((width + 7) / 8 + 1) & ~1);
    file[65] = planes;
    PixPut16(&file[66], lineBytes);
    file[68] = 1;
    for (int y = 0; y < height; ++y) {
        std::vector<uint8_t> line(size_t(lineBytes) * planes, 0);
        for (int p = 0; p < planes; ++p)
            for (int x = 0; x < width; ++x)
                if ((index(x, y) >> p) & 1)
                    line[size_t(p) * lineBytes + x / 8] |= uint8_t(0x80 >> (x % 8));
        for (size_t k = 0; k < line.size();) {
            size_t run = 1;
            while (k + run < line.size() && run < 63 && line[k + run] == line[k]) ++run;
            if (run > 1 || line[k] >= 0xC0) file.push_back(uint8_t(0xC0 | run));
            file.push_back(line[k]);
            k += run;
        }
    }
    return file;
}

}  // namespace

TEST_F(OtherFormats, PcxBitPlanes) {
    const std::string mono = dir.Path("mono.pcx"), sixteen = dir.Path("sixteen.pcx");
    WriteBytes(mono, BitPlanePcx(37, 11, 1, [](int x, int y) { return (x / 3 + y) % 2; }));
    WriteBytes(sixteen, BitPlanePcx(37, 11, 4, [](int x, int y) { return (x + 3 * y) % 16; }));
    ExpectSameAsMagick(sixteen, PIX_FORMAT_PCX, 4);
    // ImageMagick shows monochrome PCX inverted; set bits are white, as
    // in the other one-bit formats.
    PixImage image;
    ASSERT_TRUE(image.Load(mono.c_str()));
    EXPECT_EQ(image.GetBpp(), 1);
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 37; ++x) {
            BYTE expected = (x / 3 + y) % 2 ? 255 : 0;
            ASSERT_EQ(image.GetPixelColor(x, y).rgbGreen, expected) << x << "," << y;
        }
    }
}

TEST_F(OtherFormats, Wbmp) { Check("mono.wbmp", "-monochrome", PIX_FORMAT_WBMP, 1); }

TEST(OtherFormatsByHand, WmfIsRecognisedButRefused) {
    TempDir dir;
    // A placeable metafile header followed by a plain metafile header.
    std::vector<uint8_t> wmf = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x10,
                                0,    0x10, 0,    0x60, 0, 0, 0, 0, 0, 0, 0,
                                1,    0,    9,    0,    0, 3, 0, 0, 0, 0};
    WriteBytes(dir.Path("a.wmf"), wmf);
    PixImage image;
    EXPECT_FALSE(image.Load(dir.Path("a.wmf").c_str(), PIX_FORMAT_WMF));
    EXPECT_STREQ(image.GetLastError(), "WMF files are not supported");
    EXPECT_FALSE(image.Load(dir.Path("a.wmf").c_str()));
    EXPECT_STREQ(image.GetLastError(), "Decode: Unknown or wrong format");
}
