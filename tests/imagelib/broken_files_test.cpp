// Broken and hostile BMP files are refused with a last error: truncated
// data, absurd sizes, bad run-length data, bad colour-table counts.
#include <gtest/gtest.h>

#include <random>

#include "imagelib/pix_bytes.h"
#include "imagelib/pix_mem_file.h"
#include "support.h"

namespace {

std::vector<uint8_t> Encoded(DWORD width, DWORD height, DWORD bpp) {
    PixImage image;
    image.Create(width, height, bpp, PIX_FORMAT_BMP);
    for (DWORD y = 0; y < height; ++y)
        for (DWORD k = 0; k < image.GetStride(); ++k) image.GetRow(y)[k] = BYTE(k * 13 + y);
    PixMemFile memory;
    memory.Open();
    image.Encode(&memory, PIX_FORMAT_BMP);
    BYTE* data = memory.GetBuffer(false);
    return std::vector<uint8_t>(data, data + memory.Size());
}

// Decodes bytes as a BMP; on failure `error` holds the last error.
bool DecodeBmp(std::vector<uint8_t> bytes, std::string& error, DWORD format = PIX_FORMAT_BMP) {
    PixMemFile memory(bytes.empty() ? nullptr : bytes.data(), DWORD(bytes.size()));
    if (bytes.empty()) memory.Open();
    PixImage image;
    bool ok = image.Decode(&memory, format);
    error = image.GetLastError();
    return ok;
}

// An 8-bit 4 x 3 file whose pixel data is `rle` coded with RLE8.
std::vector<uint8_t> Rle8File(const std::vector<uint8_t>& rle) {
    std::vector<uint8_t> file = Encoded(4, 3, 8);
    file.resize(14 + 40 + 1024);
    PixPut32(&file[14 + 16], 1);
    file.insert(file.end(), rle.begin(), rle.end());
    return file;
}

}  // namespace

TEST(BrokenBmp, EveryTruncationIsRefused) {
    for (DWORD bpp : {1u, 8u, 24u}) {
        std::vector<uint8_t> whole = Encoded(5, 4, bpp);
        std::string error;
        ASSERT_TRUE(DecodeBmp(whole, error)) << error;
        const size_t rowBytes = (5 * bpp + 7) / 8, stride = ((5 * bpp + 31) / 32) * 4;
        // Only the last row's padding may be missing.
        const size_t shortest = whole.size() - (stride - rowBytes);
        for (size_t length = 0; length < shortest; ++length) {
            std::vector<uint8_t> cut(whole.begin(), whole.begin() + long(length));
            EXPECT_FALSE(DecodeBmp(cut, error)) << bpp << " bits cut to " << length;
            EXPECT_FALSE(error.empty());
            EXPECT_FALSE(DecodeBmp(cut, error, PIX_FORMAT_UNKNOWN));
        }
    }
}

TEST(BrokenBmp, AbsurdHeaderFieldsAreRefusedBeforeAllocating) {
    const std::vector<uint8_t> good = Encoded(4, 4, 8);
    struct Case {
        const char* what;
        size_t offset;
        uint32_t value;
        bool sixteen;
        const char* error;  // the start of the expected last error
    } cases[] = {
        {"huge width", 18, 0x7FFFFFFF, false, "Error reading BMP info: bad size"},
        {"negative width", 18, 0xFFFFFFF0, false, "Error reading BMP info: bad size"},
        {"most negative height", 22, 0x80000000, false, "Error reading BMP info: bad size"},
        {"zero height", 22, 0, false, "Error reading BMP info: bad size"},
        {"big picture, tiny file", 18, 4000, false, "BMP pixel data truncated"},
        {"header size 39", 14, 39, false, "Error reading BMP info"},
        {"header size 4 GB", 14, 0xFFFFFFFF, false, "Error reading BMP info"},
        {"seven bits per pixel", 28, 7, true, "Error reading BMP info: 7 bits"},
        {"unknown compression", 30, 99, false, "compression type not supported"},
        {"RLE4 on 8 bits", 30, 2, false, "compression type not supported"},
        {"300 colours for 8 bits", 46, 300, false, "bad colour table size"},
        {"4 G colours", 46, 0xFFFFFFFF, false, "bad colour table size"},
        {"pixels past the end", 10, 0x7FFFFFF0, false, "BMP pixel offset outside the file"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        if (c.sixteen)
            PixPut16(&bytes[c.offset], c.value);
        else
            PixPut32(&bytes[c.offset], c.value);
        if (std::string(c.what) == "big picture, tiny file") PixPut32(&bytes[22], 4000);
        std::string error;
        EXPECT_FALSE(DecodeBmp(bytes, error)) << c.what;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.what << ": " << error;
    }
    // 24 bits with run-length coding, and 16 bits with an unknown coding.
    std::vector<uint8_t> bytes = Encoded(4, 4, 24);
    PixPut32(&bytes[30], 1);
    std::string error;
    EXPECT_FALSE(DecodeBmp(bytes, error));
    EXPECT_EQ(error, "unknown compression");
}

TEST(BrokenBmp, RunLengthDataStaysInsideTheImage) {
    std::string error;
    // A well-formed stream: a run, end of line, a delta, an absolute run.
    ASSERT_TRUE(DecodeBmp(Rle8File({3, 7, 0, 0, 0, 2, 1, 1, 0, 3, 9, 8, 7, 0, 0, 1}), error))
        << error;

    struct Case {
        const char* what;
        std::vector<uint8_t> rle;
        const char* error;
    } cases[] = {
        {"delta below the picture", {0, 2, 0, 9, 0, 1}, "RLE delta outside the image"},
        {"delta right of the picture", {0, 2, 9, 0, 0, 1}, "RLE delta outside the image"},
        {"absolute run past the data", {0, 40, 1, 2}, "RLE data truncated"},
        {"no end of bitmap", {4, 1, 0, 0}, "RLE data truncated"},
        {"half a code", {4}, "RLE data truncated"},
        {"delta without its offsets", {0, 2, 1}, "RLE data truncated"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(DecodeBmp(Rle8File(c.rle), error)) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
    }
    // Runs longer than a row are cut at the row's end, never written past it.
    PixImage image;
    std::vector<uint8_t> bytes = Rle8File({255, 5, 0, 0, 0, 250, 0, 1});
    bytes.resize(bytes.size() - 2);
    bytes.insert(bytes.end(), 250, 6);
    bytes.insert(bytes.end(), {0, 1});
    PixMemFile memory(bytes.data(), DWORD(bytes.size()));
    ASSERT_TRUE(image.Decode(&memory, PIX_FORMAT_BMP)) << image.GetLastError();
    EXPECT_EQ(image.GetRow(0)[3], 5);
    EXPECT_EQ(image.GetRow(1)[3], 6);
    EXPECT_EQ(image.GetRow(2)[0], 0) << "rows the data never reaches stay at index 0";
}

TEST(BrokenBmp, RandomDamageNeverCrashesAnyDecoder) {
    std::mt19937 random(20261208);
    const std::vector<uint8_t> sources[] = {Encoded(9, 7, 1), Encoded(9, 7, 4), Encoded(9, 7, 8),
                                            Encoded(9, 7, 24),
                                            Rle8File({3, 7, 0, 0, 0, 2, 1, 1, 0, 1})};
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = sources[round % 5];
        int damage = 1 + int(random() % 6);
        for (int k = 0; k < damage; ++k) bytes[random() % bytes.size()] = uint8_t(random());
        if (random() % 4 == 0) bytes.resize(random() % bytes.size());
        std::string error;
        if (!DecodeBmp(bytes, error, PIX_FORMAT_UNKNOWN)) {
            EXPECT_FALSE(error.empty());
        }
    }
}
