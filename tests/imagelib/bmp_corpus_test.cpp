// BMP files written by an independent tool (ImageMagick), and variants made
// from them by hand, decode to the same pixels as that tool reads.
#include <gtest/gtest.h>

#include <cstring>

#include "imagelib/pix_bytes.h"
#include "support.h"

using namespace testing_support;

namespace {

class BmpCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_WITHOUT_IMAGEMAGICK();
        source = dir.Path("source.png");
        ASSERT_TRUE(
            Convert("-size 53x31 xc: -sparse-color Bilinear "
                    "'0,0 red 52,0 lime 0,30 blue 52,30 white' " +
                    source));
    }

    // Decodes `path` with format detection and with the BMP decoder, and
    // compares both with ImageMagick's reading of the same file.
    void ExpectSameAsMagick(const std::string& path, WORD expectedBpp) {
        SCOPED_TRACE(path);
        Rgb reference;
        ASSERT_TRUE(MagickRead(path, reference));
        for (DWORD format : {PIX_FORMAT_UNKNOWN, PIX_FORMAT_BMP}) {
            PixImage image;
            ASSERT_TRUE(image.Load(path.c_str(), format)) << image.GetLastError();
            EXPECT_EQ(image.GetFormat(), PIX_FORMAT_BMP);
            EXPECT_EQ(image.GetBpp(), expectedBpp);
            Rgb ours = RgbOf(image);
            ASSERT_EQ(ours.width, reference.width);
            ASSERT_EQ(ours.height, reference.height);
            EXPECT_TRUE(ours.pixels == reference.pixels);
        }
    }

    TempDir dir;
    std::string source;
};

struct Variant {
    const char* name;
    const char* options;  // ImageMagick options and output prefix
    WORD bpp;             // depth of the decoded image
    WORD fileBpp;         // depth stored in the file
    DWORD compression;
    DWORD headerSize;
};

const Variant kVariants[] = {
    {"rgb24.bmp", "-type TrueColor BMP3:", 24, 24, 0, 40},
    {"rgb24v5.bmp", "-type TrueColor BMP:", 24, 24, 0, 124},
    {"os2rgb24.bmp", "-type TrueColor BMP2:", 24, 24, 0, 12},
    {"os2pal8.bmp", "-colors 200 -type Palette BMP2:", 8, 8, 0, 12},
    {"pal8.bmp", "-colors 200 -type Palette -compress None BMP3:", 8, 8, 0, 40},
    {"rle8.bmp", "-colors 200 -type Palette -compress RLE BMP3:", 8, 8, 1, 40},
    {"pal4.bmp", "-colors 16 -type Palette BMP3:", 4, 4, 0, 40},
    {"mono.bmp", "-monochrome BMP3:", 1, 1, 0, 40},
    {"rgb565.bmp", "-define bmp:subtype=RGB565 BMP:", 24, 16, 3, 124},
    {"rgb555.bmp", "-define bmp:subtype=RGB555 BMP:", 24, 16, 3, 124},
    {"argb32v5.bmp", "-alpha on BMP:", 24, 32, 3, 124},
    {"rgb32.bmp", "-alpha on -define bmp3:alpha=true BMP3:", 24, 32, 0, 40},
};

}  // namespace

class BmpCorpusVariant : public BmpCorpus, public ::testing::WithParamInterface<Variant> {};

TEST_P(BmpCorpusVariant, DecodesAsImageMagickReadsIt) {
    const Variant& v = GetParam();
    std::string path = dir.Path(v.name);
    std::string options = v.options;
    std::string prefix = options.substr(options.rfind(' ') + 1);
    options = options.substr(0, options.rfind(' '));
    ASSERT_TRUE(Convert(source + " " + options + " " + prefix + path));
    // The file must really be the variant this case is about.
    std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_GT(bytes.size(), 54u);
    const uint8_t* h = bytes.data() + 14;
    ASSERT_EQ(PixGet32(h), v.headerSize);
    if (v.headerSize == 12) {
        ASSERT_EQ(PixGet16(h + 10), v.fileBpp);
    } else {
        ASSERT_EQ(PixGet16(h + 14), v.fileBpp);
        ASSERT_EQ(PixGet32(h + 16), v.compression);
    }
    ExpectSameAsMagick(path, v.bpp);
}

// "rgb24.bmp" -> "rgb24", a test name.
std::string Stem(const char* file) {
    std::string name = file;
    return name.substr(0, name.find('.'));
}

INSTANTIATE_TEST_SUITE_P(Files, BmpCorpusVariant, ::testing::ValuesIn(kVariants),
                         [](const ::testing::TestParamInfo<Variant>& info) {
                             return Stem(info.param.name);
                         });

namespace {

// Turns a bottom-up file with a 40-byte header into a top-down one.
std::vector<uint8_t> TopDown(const std::vector<uint8_t>& file) {
    std::vector<uint8_t> out = file;
    const uint8_t* h = file.data() + 14;
    int32_t width = int32_t(PixGet32(h + 4)), height = int32_t(PixGet32(h + 8));
    size_t stride = ((size_t(width) * PixGet16(h + 14) + 31) / 32) * 4;
    size_t offset = PixGet32(file.data() + 10);
    PixPut32(out.data() + 14 + 8, uint32_t(-height));
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(&out[offset + y * stride], &file[offset + (height - 1 - y) * stride], stride);
    return out;
}

// Re-encodes an uncompressed 4-bit file as RLE4: each row starts with an
// absolute run, the rest is in two-pixel encoded runs.
std::vector<uint8_t> Rle4(const std::vector<uint8_t>& file) {
    const uint8_t* h = file.data() + 14;
    uint32_t width = PixGet32(h + 4), height = PixGet32(h + 8);
    size_t stride = ((size_t(width) * 4 + 31) / 32) * 4;
    size_t offset = PixGet32(file.data() + 10);
    std::vector<uint8_t> out(file.begin(), file.begin() + long(offset));
    auto pixel = [&](uint32_t x, uint32_t y) {
        uint8_t b = file[offset + y * stride + x / 2];
        return uint8_t(x % 2 ? b & 15 : b >> 4);
    };
    for (uint32_t y = 0; y < height; ++y) {
        uint32_t x = 0;
        out.insert(out.end(), {0, 6});
        for (; x < 6; x += 2) out.push_back(uint8_t(pixel(x, y) << 4 | pixel(x + 1, y)));
        out.push_back(0);  // pad the 3-byte absolute run to 16 bits
        for (; x + 1 < width; x += 2)
            out.insert(out.end(), {2, uint8_t(pixel(x, y) << 4 | pixel(x + 1, y))});
        if (x < width) out.insert(out.end(), {1, uint8_t(pixel(x, y) << 4)});
        out.insert(out.end(), {0, 0});
    }
    out.insert(out.end(), {0, 1});
    PixPut32(out.data() + 14 + 16, 2);
    PixPut32(out.data() + 14 + 20, uint32_t(out.size() - offset));
    PixPut32(out.data() + 2, uint32_t(out.size()));
    return out;
}

// Moves the masks of a V5 16-bit file after a 40-byte header.
std::vector<uint8_t> InfoHeaderWithMasks(const std::vector<uint8_t>& file) {
    std::vector<uint8_t> out(file.begin(), file.begin() + 14 + 40);
    out.insert(out.end(), file.begin() + 14 + 40, file.begin() + 14 + 52);
    size_t offset = PixGet32(file.data() + 10);
    out.insert(out.end(), file.begin() + long(offset), file.end());
    PixPut32(out.data() + 14, 40);
    PixPut32(out.data() + 10, 14 + 40 + 12);
    PixPut32(out.data() + 2, uint32_t(out.size()));
    return out;
}

// Cuts a V5 header down to the V4 header's 108 bytes.
std::vector<uint8_t> V4Header(const std::vector<uint8_t>& file) {
    std::vector<uint8_t> out(file.begin(), file.begin() + 14 + 108);
    size_t offset = PixGet32(file.data() + 10);
    out.insert(out.end(), file.begin() + long(offset), file.end());
    PixPut32(out.data() + 14, 108);
    PixPut32(out.data() + 10, 14 + 108);
    PixPut32(out.data() + 2, uint32_t(out.size()));
    return out;
}

}  // namespace

struct HandMade {
    const char* from;
    const char* options;
    std::vector<uint8_t> (*make)(const std::vector<uint8_t>&);
    WORD bpp;
};

class BmpCorpusHandMade : public BmpCorpus, public ::testing::WithParamInterface<HandMade> {};

TEST_P(BmpCorpusHandMade, MatchesItsSource) {
    const HandMade& c = GetParam();
    std::string original = dir.Path(c.from), made = dir.Path(std::string("made-") + c.from);
    std::string options = c.options;
    std::string prefix = options.substr(options.rfind(' ') + 1);
    ASSERT_TRUE(
        Convert(source + " " + options.substr(0, options.rfind(' ')) + " " + prefix + original));
    WriteBytes(made, c.make(ReadBytes(original)));
    Rgb fromOriginal, fromMade;
    ASSERT_TRUE(MagickRead(original, fromOriginal));
    ASSERT_TRUE(MagickRead(made, fromMade));
    ASSERT_TRUE(fromOriginal.pixels == fromMade.pixels) << "the hand-made file is not equivalent";
    ExpectSameAsMagick(made, c.bpp);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, BmpCorpusHandMade,
    ::testing::Values(
        HandMade{"rgb24.bmp", "-type TrueColor BMP3:", TopDown, 24},
        HandMade{"pal8.bmp", "-colors 200 -type Palette -compress None BMP3:", TopDown, 8},
        HandMade{"pal4.bmp", "-colors 16 -type Palette BMP3:", Rle4, 4},
        HandMade{"rgb565.bmp", "-define bmp:subtype=RGB565 BMP:", InfoHeaderWithMasks, 24},
        HandMade{"argb32.bmp", "-alpha on BMP:", V4Header, 24}),
    [](const ::testing::TestParamInfo<HandMade>& info) { return Stem(info.param.from); });
