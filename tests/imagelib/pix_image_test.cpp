// The image container: creation, ownership, the BMP file it writes and
// reading it back, and the errors of the save and load paths.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "imagelib/pix_bytes.h"
#include "imagelib/pix_mem_file.h"
#include "support.h"

using namespace testing_support;

namespace {

// Fills an image with a pattern that uses every byte of every row,
// padding included, and a recognisable colour table.
void FillPattern(PixImage& image) {
    for (DWORD y = 0; y < image.GetHeight(); ++y) {
        BYTE* row = image.GetRow(y);
        for (DWORD k = 0; k < image.GetStride(); ++k) row[k] = BYTE(y * 31 + k * 7 + 3);
    }
    PixRGBQuad* palette = image.GetPalette();
    for (DWORD k = 0; k < image.GetNumColors(); ++k)
        palette[k] = PixRGBQuad{BYTE(k), BYTE(255 - k), BYTE(k * 3), 0};
}

class BorrowingImage : public PixImage {
public:
    void Borrow(PixImage* from) { Ghost(from); }
};

}  // namespace

TEST(PixImage, CreateRoundsDepthsAndSizesTheBlock) {
    struct Case {
        DWORD asked, bpp, colours;
    } cases[] = {{0, 1, 2},   {1, 1, 2},   {2, 4, 16},  {4, 4, 16}, {5, 8, 256},
                 {8, 8, 256}, {16, 24, 0}, {24, 24, 0}, {32, 24, 0}};
    for (const Case& c : cases) {
        PixImage image;
        ASSERT_NE(image.Create(13, 5, c.asked, PIX_FORMAT_BMP), nullptr);
        const PixInfoHeader& h = image.GetHeader();
        EXPECT_EQ(h.biBitCount, c.bpp) << c.asked;
        EXPECT_EQ(h.biClrUsed, c.colours) << c.asked;
        DWORD stride = ((13 * c.bpp + 31) / 32) * 4;
        EXPECT_EQ(image.GetStride(), stride);
        EXPECT_EQ(h.biSizeImage, stride * 5);
        EXPECT_EQ(image.GetSize(), 40 + stride * 5 + c.colours * 4);
        EXPECT_EQ(h.biXPelsPerMeter, 3780);
        EXPECT_EQ(image.GetFormat(), PIX_FORMAT_BMP);
        // The block starts with a copy of the header, as the GDI takes it.
        EXPECT_EQ(std::memcmp(image.GetBlock(), &h, 40), 0);
    }
    PixImage empty;
    EXPECT_EQ(empty.Create(0, 5, 24), nullptr);
    EXPECT_STREQ(empty.GetLastError(),
                 "PixImage::Create : width and height must be greater than zero");
    EXPECT_EQ(empty.Create(5, 0, 24), nullptr);
    EXPECT_EQ(empty.Create(100000, 100000, 24), nullptr);
    EXPECT_STREQ(empty.GetLastError(), "PixImage::Create can't allocate memory");
    EXPECT_FALSE(empty.IsValid());
}

TEST(PixImage, ResolutionFollowsTheHeaderRule) {
    PixImage image;
    image.SetXDPI(300);
    image.SetYDPI(0);
    EXPECT_EQ(image.GetHeader().biXPelsPerMeter, 11811);
    EXPECT_EQ(image.GetYDPI(), 96) << "a resolution below 1 is taken as 96";
    EXPECT_EQ(image.GetHeader().biYPelsPerMeter, 3780);
    // A file's largest pels-per-metre value gives a resolution whose header
    // value stays within the field.
    image.SetXDPI(60000000);
    EXPECT_EQ(image.GetHeader().biXPelsPerMeter, 2147483647);
    image.SetXDPI(300);
    // Create keeps the resolution; a saved file carries it back.
    ASSERT_NE(image.Create(2, 2, 24), nullptr);
    EXPECT_EQ(image.GetHeader().biXPelsPerMeter, 11811);
    TempDir dir;
    ASSERT_TRUE(image.Save(dir.Path("dpi.bmp").c_str(), PIX_FORMAT_BMP));
    PixImage back;
    ASSERT_TRUE(back.Load(dir.Path("dpi.bmp").c_str()));
    EXPECT_EQ(back.GetXDPI(), 300);
    EXPECT_EQ(back.GetYDPI(), 96);
}

TEST(PixImage, CopiesAreDeepAndTransferEmptiesTheSource) {
    PixImage original;
    ASSERT_NE(original.Create(7, 3, 8, PIX_FORMAT_GIF), nullptr);
    FillPattern(original);
    PixImage copy(original);
    ASSERT_TRUE(copy.IsValid());
    EXPECT_NE(copy.GetBlock(), original.GetBlock());
    EXPECT_EQ(std::memcmp(copy.GetBlock(), original.GetBlock(), original.GetSize()), 0);
    copy.GetRow(0)[0] ^= 0xFF;
    EXPECT_NE(copy.GetRow(0)[0], original.GetRow(0)[0]);

    PixImage headerOnly(original, false);
    EXPECT_EQ(headerOnly.GetPalette()[5].rgbGreen, 250);
    EXPECT_EQ(headerOnly.GetRow(2)[6], 0);

    PixImage taker;
    BYTE* block = original.GetBlock();
    ASSERT_TRUE(taker.Transfer(original));
    EXPECT_EQ(taker.GetBlock(), block);
    EXPECT_EQ(taker.GetFormat(), PIX_FORMAT_GIF);
    EXPECT_FALSE(original.IsValid());
    EXPECT_EQ(original.GetRow(0), nullptr);
}

TEST(PixImage, BorrowedBlockIsNeverFreedByTheBorrower) {
    PixImage owner;
    ASSERT_NE(owner.Create(4, 4, 24), nullptr);
    {
        BorrowingImage borrower;
        borrower.Borrow(&owner);
        EXPECT_EQ(borrower.GetBlock(), owner.GetBlock());
        EXPECT_FALSE(borrower.Destroy());
        EXPECT_EQ(borrower.Create(2, 2, 24), nullptr) << "Create must not replace a borrowed block";
        PixImage other;
        ASSERT_NE(other.Create(1, 1, 24), nullptr);
        EXPECT_FALSE(borrower.Transfer(other));
        EXPECT_FALSE(other.Transfer(borrower)) << "a borrowed block cannot be handed on";
    }
    // The owner's block survived the borrower (ASan would catch a double free).
    owner.GetRow(3)[0] = 1;
    EXPECT_TRUE(owner.Destroy());
}

TEST(PixImage, WritesTheExact24BitFileLayout) {
    PixImage image;
    ASSERT_NE(image.Create(3, 2, 32), nullptr);
    FillPattern(image);
    TempDir dir;
    std::string path = dir.Path("small.bmp");
    ASSERT_TRUE(image.Save(path.c_str(), PIX_FORMAT_BMP)) << image.GetLastError();
    std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), 78u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(PixGet32(&file[2]), 78u);
    EXPECT_EQ(PixGet32(&file[6]), 0u);
    EXPECT_EQ(PixGet32(&file[10]), 54u);
    const uint32_t expected[] = {40, 3, 2};
    for (int k = 0; k < 3; ++k) EXPECT_EQ(PixGet32(&file[14 + 4 * k]), expected[k]);
    EXPECT_EQ(PixGet16(&file[26]), 1);
    EXPECT_EQ(PixGet16(&file[28]), 24);
    EXPECT_EQ(PixGet32(&file[30]), 0u);
    EXPECT_EQ(PixGet32(&file[34]), 24u);
    EXPECT_EQ(PixGet32(&file[38]), 3780u);
    EXPECT_EQ(PixGet32(&file[42]), 3780u);
    EXPECT_EQ(PixGet32(&file[46]), 0u);
    EXPECT_EQ(PixGet32(&file[50]), 0u);
    // Rows as stored in the image, bottom row first, padding included.
    EXPECT_EQ(std::memcmp(&file[54], image.GetRow(0), 24), 0);
}

class PixImageRoundTrip : public ::testing::TestWithParam<std::tuple<DWORD, DWORD>> {};

// Every depth and widths with and without row padding round-trip byte for byte.
TEST_P(PixImageRoundTrip, ByteForByte) {
    const auto [bpp, width] = GetParam();
    TempDir dir;
    PixImage image;
    ASSERT_NE(image.Create(width, 3, bpp, PIX_FORMAT_BMP), nullptr);
    FillPattern(image);
    // Padding bits past the width are not picture; keep them zero.
    DWORD used = (width * bpp + 7) / 8;
    for (DWORD y = 0; y < 3; ++y) {
        BYTE* row = image.GetRow(y);
        std::memset(row + used, 0, image.GetStride() - used);
        if ((width * bpp) % 8) row[used - 1] &= BYTE(0xFF << (8 - (width * bpp) % 8));
    }
    std::string path = dir.Path("rt.bmp");
    ASSERT_TRUE(image.Save(path.c_str(), PIX_FORMAT_BMP));
    PixImage back;
    ASSERT_TRUE(back.Load(path.c_str(), PIX_FORMAT_BMP)) << back.GetLastError();
    ASSERT_EQ(back.GetSize(), image.GetSize());
    EXPECT_EQ(std::memcmp(back.GetBlock(), image.GetBlock(), image.GetSize()), 0);
    // And again through memory, without a file.
    PixMemFile memory;
    ASSERT_TRUE(memory.Open());
    ASSERT_TRUE(image.Encode(&memory, PIX_FORMAT_BMP));
    std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_EQ(memory.Size(), long(file.size()));
    EXPECT_EQ(std::memcmp(memory.GetBuffer(false), file.data(), file.size()), 0);
    memory.Seek(0, SEEK_SET);
    PixImage fromMemory;
    ASSERT_TRUE(fromMemory.Decode(&memory, PIX_FORMAT_UNKNOWN));
    EXPECT_EQ(std::memcmp(fromMemory.GetBlock(), image.GetBlock(), image.GetSize()), 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, PixImageRoundTrip,
                         ::testing::Combine(::testing::Values(1u, 4u, 8u, 24u),
                                            ::testing::Values(1u, 5u, 33u)),
                         [](const ::testing::TestParamInfo<std::tuple<DWORD, DWORD>>& info) {
                             return std::to_string(std::get<0>(info.param)) + "bits_width" +
                                    std::to_string(std::get<1>(info.param));
                         });

TEST(PixImage, EncodeRefusesWhatItCannotWrite) {
    PixImage image;
    PixMemFile memory;
    ASSERT_TRUE(memory.Open());
    EXPECT_FALSE(image.Encode(&memory, PIX_FORMAT_BMP));
    EXPECT_STREQ(image.GetLastError(), "null image!!!");
    ASSERT_NE(image.Create(2, 2, 24), nullptr);
    EXPECT_FALSE(image.Encode(static_cast<PixFile*>(nullptr), PIX_FORMAT_BMP));
    EXPECT_STREQ(image.GetLastError(), "null file handler");
    EXPECT_FALSE(image.Encode(&memory, 9));
    EXPECT_STREQ(image.GetLastError(), "Encode: Unknown format");
    EXPECT_EQ(memory.Size(), 0) << "nothing written on refusal";
}

TEST(PixImage, FailedSaveLeavesTheOldFileAndNoLeftovers) {
    TempDir dir;
    PixImage image;
    ASSERT_NE(image.Create(4, 4, 24), nullptr);
    EXPECT_FALSE(image.Save(dir.Path("no/such/folder/x.bmp").c_str(), PIX_FORMAT_BMP));

    std::string path = dir.Path("keep.bmp");
    WriteBytes(path, {1, 2, 3});
    EXPECT_FALSE(image.Save(path.c_str(), 9));
    EXPECT_STREQ(image.GetLastError(), "Encode: Unknown format");
    PixImage empty;
    EXPECT_FALSE(empty.Save(path.c_str(), PIX_FORMAT_BMP));
    EXPECT_EQ(ReadBytes(path), (std::vector<uint8_t>{1, 2, 3}));
    size_t files = 0;
    for (auto& entry : std::filesystem::directory_iterator(dir.Path("")))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1u) << "no temporary file may be left behind";

    // A good save replaces the file whole.
    ASSERT_TRUE(image.Save(path.c_str(), PIX_FORMAT_BMP));
    EXPECT_EQ(ReadBytes(path).size(), 54u + 4 * 12);
}

TEST(PixImage, LoadReportsTheErrorOfTheRequestedFormat) {
    TempDir dir;
    std::string text = dir.Path("notes.txt");
    WriteBytes(text, std::vector<uint8_t>(std::begin("Hello, this is a plain text file.\n"),
                                          std::end("Hello, this is a plain text file.\n")));
    PixImage image;
    EXPECT_FALSE(image.Load(text.c_str(), PIX_FORMAT_UNKNOWN));
    EXPECT_STREQ(image.GetLastError(), "Decode: Unknown or wrong format");
    EXPECT_FALSE(image.Load(text.c_str(), PIX_FORMAT_BMP));
    EXPECT_STREQ(image.GetLastError(), "Error reading BMP info");
    EXPECT_FALSE(image.Load(dir.Path("missing.bmp").c_str()));

    // A wrong format hint still loads the file through detection.
    PixImage bmp;
    ASSERT_NE(bmp.Create(3, 3, 8), nullptr);
    ASSERT_TRUE(bmp.Save(dir.Path("a.bmp").c_str(), PIX_FORMAT_BMP));
    EXPECT_TRUE(image.Load(dir.Path("a.bmp").c_str(), PIX_FORMAT_GIF));
    EXPECT_EQ(image.GetFormat(), PIX_FORMAT_BMP);
    EXPECT_EQ(image.GetBpp(), 8);
}

TEST(PixImage, SaveWritesThroughALinkAndKeepsTheFilesMode) {
    TempDir dir;
    PixImage image;
    ASSERT_NE(image.Create(4, 4, 24), nullptr);
    std::string real = dir.Path("real.bmp");
    std::string link = dir.Path("link.bmp");
    WriteBytes(real, {1, 2, 3});
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    ASSERT_EQ(symlink("real.bmp", link.c_str()), 0);

    ASSERT_TRUE(image.Save(link.c_str(), PIX_FORMAT_BMP)) << image.GetLastError();
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
    EXPECT_EQ(ReadBytes(real).size(), 54u + 4 * 12) << "its target gets the picture";
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(PixImage, SaveIntoAFolderThatTakesNoNewFileOverwritesTheFileInPlace) {
    TempDir dir;
    std::string folder = dir.Path("locked");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    std::string path = folder + "/picture.bmp";
    WriteBytes(path, {1, 2, 3});
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    // Permissions do not bind the superuser: as root the saves run as nobody,
    // who may write the file but not the folder.
    struct AsNobody {
        bool dropped = false;
        ~AsNobody() {
            if (dropped) {
                EXPECT_EQ(seteuid(0), 0);
            }
        }
    } user;
    if (geteuid() == 0) {
        ASSERT_EQ(chmod(dir.Path("").c_str(), 0755), 0);
        ASSERT_EQ(chmod(path.c_str(), 0666), 0);
        ASSERT_EQ(seteuid(65534), 0);
        user.dropped = true;
    }
    PixImage image;
    ASSERT_NE(image.Create(4, 4, 24), nullptr);
    EXPECT_TRUE(image.Save(path.c_str(), PIX_FORMAT_BMP)) << image.GetLastError();
    EXPECT_EQ(ReadBytes(path).size(), 54u + 4 * 12);
    EXPECT_FALSE(image.Save((folder + "/new.bmp").c_str(), PIX_FORMAT_BMP));
    EXPECT_NE(std::string(image.GetLastError()).find("can't create"), std::string::npos)
        << image.GetLastError();
    chmod(folder.c_str(), 0755);
}

TEST(PixImage, SuccessKeepsTheLastFailuresText) {
    TempDir dir;
    PixImage image;
    EXPECT_FALSE(image.Load(dir.Path("missing.bmp").c_str()));
    std::string failure = image.GetLastError();
    ASSERT_FALSE(failure.empty());
    PixImage picture;
    ASSERT_NE(picture.Create(8, 8, 24), nullptr);
    ASSERT_TRUE(picture.Save(dir.Path("p.bmp").c_str(), PIX_FORMAT_BMP));
    ASSERT_TRUE(image.Load(dir.Path("p.bmp").c_str()));
    EXPECT_EQ(image.GetLastError(), failure);
    ASSERT_TRUE(image.Thumbnail(4, 4, PixRGBQuad{255, 255, 255, 0}, nullptr));
    EXPECT_EQ(image.GetLastError(), failure);
}

TEST(PixImage, AFailedCreateLeavesAnEmptyImage) {
    PixImage image;
    ASSERT_NE(image.Create(10, 6, 24), nullptr);
    EXPECT_EQ(image.Create(0, 5, 24), nullptr);
    EXPECT_EQ(image.GetWidth(), 0u);
    EXPECT_EQ(image.GetHeight(), 0u);
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.Create(100000, 100000, 24), nullptr);
    EXPECT_EQ(image.GetWidth(), 0u);
}
