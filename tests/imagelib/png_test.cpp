// PNG through libpng: what the library writes reads back the same (and as
// ImageMagick reads it), ImageMagick's PNG files read as ImageMagick reads
// them, and broken or oversized files are refused before anything large is
// allocated.
#include <gtest/gtest.h>
#include <zlib.h>

#include "imagelib/pix_bytes.h"
#include "imagelib/pix_mem_file.h"
#include "support.h"

using namespace testing_support;

namespace {

// A picture with a different colour (or colour index) in every pixel.
PixImage Pattern(DWORD width, DWORD height, DWORD bpp) {
    PixImage image;
    image.Create(width, height, bpp, PIX_FORMAT_BMP);
    for (DWORD i = 0; i < image.GetNumColors(); ++i)
        image.GetPalette()[i] = PixRGBQuad{BYTE(i * 7), BYTE(255 - i), BYTE(i * 3), 0};
    for (DWORD y = 0; y < height; ++y)
        for (DWORD k = 0; k < image.GetStride(); ++k) image.GetRow(y)[k] = BYTE(k * 29 + y * 7);
    return image;
}

std::vector<uint8_t> EncodePng(PixImage& image) {
    PixMemFile memory;
    memory.Open();
    EXPECT_TRUE(image.Encode(&memory, PIX_FORMAT_PNG)) << image.GetLastError();
    BYTE* data = memory.GetBuffer(false);
    return std::vector<uint8_t>(data, data + memory.Size());
}

bool Decode(std::vector<uint8_t> bytes, PixImage& image, DWORD format = PIX_FORMAT_UNKNOWN) {
    PixMemFile memory(bytes.empty() ? nullptr : bytes.data(), DWORD(bytes.size()));
    if (bytes.empty()) memory.Open();
    return image.Decode(&memory, format);
}

void PutBig32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

// The file with its header's size changed (and the header's CRC made good).
std::vector<uint8_t> WithSize(std::vector<uint8_t> png, uint32_t width, uint32_t height) {
    // Signature (8), IHDR length and type (8), then width and height.
    PutBig32(&png[16], width);
    PutBig32(&png[20], height);
    PutBig32(&png[29], uint32_t(crc32(0, &png[12], 17)));
    return png;
}

}  // namespace

TEST(Png, EveryDepthRoundTripsWithItsResolution) {
    for (DWORD bpp : {1u, 4u, 8u, 24u}) {
        SCOPED_TRACE(bpp);
        PixImage image = Pattern(13, 6, bpp);
        image.SetXDPI(150);
        image.SetYDPI(72);
        std::vector<uint8_t> png = EncodePng(image);
        ASSERT_GE(png.size(), 8u);
        EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
        PixImage read;
        ASSERT_TRUE(Decode(png, read)) << read.GetLastError();
        EXPECT_EQ(read.GetFormat(), DWORD(PIX_FORMAT_PNG));
        EXPECT_EQ(read.GetBpp(), 24);
        EXPECT_EQ(RgbOf(read).pixels, RgbOf(image).pixels);
        EXPECT_EQ(read.GetXDPI(), 150);
        EXPECT_EQ(read.GetYDPI(), 72);
    }
}

TEST(Png, SaveAndLoadByFileName) {
    TempDir dir;
    PixImage image = Pattern(40, 30, 24);
    const std::string path = dir.Path("drawing.PNG");
    EXPECT_EQ(PixFormatForPath(path.c_str()), DWORD(PIX_FORMAT_PNG));
    EXPECT_EQ(PixFormatForPath("drawing.bmp"), DWORD(PIX_FORMAT_BMP));
    EXPECT_EQ(PixFormatForPath("png"), DWORD(PIX_FORMAT_BMP));
    ASSERT_TRUE(image.Save(path.c_str(), PixFormatForPath(path.c_str()))) << image.GetLastError();
    PixImage read;
    ASSERT_TRUE(read.Load(path.c_str(), PIX_FORMAT_PNG)) << read.GetLastError();
    EXPECT_EQ(RgbOf(read).pixels, RgbOf(image).pixels);
    if (!HaveImageMagick()) return;
    Rgb magick;
    ASSERT_TRUE(MagickRead(path, magick));
    EXPECT_EQ(magick.pixels, RgbOf(image).pixels);
}

TEST(Png, ImageMagickFilesReadAsImageMagickReadsThem) {
    SKIP_WITHOUT_IMAGEMAGICK();
    TempDir dir;
    const std::string source = dir.Path("source.png");
    ASSERT_TRUE(Convert(
        "-size 45x29 xc: -sparse-color Bilinear '0,0 red 44,0 lime 0,28 blue 44,28 white' " +
        source));
    // Transparency is laid over white, as a picture to colour needs.
    const std::string holes =
        "-alpha set -fill none -draw 'rectangle 5,5 20,12' -channel A -fx 'i<3?0.5:a' +channel";
    const struct {
        const char* name;
        std::string options;
    } cases[] = {
        {"rgb.png", ""},
        {"grey.png", "-colorspace Gray -define png:color-type=0"},
        {"grey2.png", "-colorspace Gray -depth 2"},
        {"palette.png", "-colors 20 -define png:color-type=3"},
        {"deep.png", "-depth 16"},
        {"interlaced.png", "-interlace PNG"},
        {"alpha.png", holes},
        {"greyalpha.png", "-colorspace Gray " + holes},
        {"palettealpha.png", holes + " -colors 20 PNG8:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Path(c.name);
        std::string output = path;
        std::string options = c.options;
        // "PNG8:" belongs in front of the output's name.
        if (options.size() > 5 && options.compare(options.size() - 5, 5, "PNG8:") == 0) {
            options.resize(options.size() - 5);
            output = "PNG8:" + path;
        }
        ASSERT_TRUE(Convert(source + " " + options + " " + output));
        const std::string flat = dir.Path(std::string("flat-") + c.name);
        ASSERT_TRUE(Convert(path + " -background white -flatten -depth 8 " + flat));
        Rgb reference;
        ASSERT_TRUE(MagickRead(flat, reference));
        PixImage image;
        ASSERT_TRUE(image.Load(path.c_str())) << image.GetLastError();
        Rgb ours = RgbOf(image);
        ASSERT_EQ(ours.width, reference.width);
        ASSERT_EQ(ours.height, reference.height);
        size_t differ = 0;
        for (size_t k = 0; k < ours.pixels.size(); ++k)
            differ += std::abs(int(ours.pixels[k]) - int(reference.pixels[k])) > 1;
        EXPECT_EQ(differ, 0u) << "channel values more than 1 apart";
    }
}

TEST(Png, BrokenFilesAreRefused) {
    PixImage image = Pattern(9, 7, 24);
    const std::vector<uint8_t> whole = EncodePng(image);
    PixImage read;
    ASSERT_TRUE(Decode(whole, read));
    // Every truncation, with detection and with the format asked for.
    for (size_t length = 0; length + 12 < whole.size(); ++length) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + long(length));
        PixImage broken;
        EXPECT_FALSE(Decode(cut, broken, PIX_FORMAT_PNG)) << "cut to " << length;
        EXPECT_NE(std::string(broken.GetLastError()), "");
        EXPECT_FALSE(Decode(cut, broken)) << "cut to " << length;
    }
    // A damaged header.
    std::vector<uint8_t> bad = whole;
    bad[17] ^= 0x40;
    EXPECT_FALSE(Decode(bad, read, PIX_FORMAT_PNG));
    EXPECT_NE(std::string(read.GetLastError()).find("PNG"), std::string::npos);
}

TEST(Png, HugeSizesAreRefusedFromTheHeader) {
    PixImage image = Pattern(4, 4, 24);
    const std::vector<uint8_t> small = EncodePng(image);
    // 100 megapixels, and one side beyond the limit: refused at the header,
    // so the few bytes of rows that follow are never reached.
    for (auto [w, h] : {std::pair{10000u, 10000u}, std::pair{kPixMaxDimension + 1, 1u},
                        std::pair{1u, 0x7FFFFFFFu}}) {
        PixImage read;
        EXPECT_FALSE(Decode(WithSize(small, w, h), read, PIX_FORMAT_PNG)) << w << " x " << h;
        EXPECT_FALSE(read.IsValid());
    }
    // A size within the limits whose rows are missing fails as truncated.
    PixImage read;
    EXPECT_FALSE(Decode(WithSize(small, 2000, 2000), read, PIX_FORMAT_PNG));
}
