// The byte streams: file and memory behave the same for the codecs, the
// memory stream grows in whole 4096-byte steps and never loses a block.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "imagelib/pix_io_file.h"
#include "imagelib/pix_mem_file.h"
#include "support.h"

TEST(PixIOFile, CallersStreamStaysOpenAndOwnStreamIsClosed) {
    testing_support::TempDir dir;
    std::string path = dir.Path("a.bin");
    FILE* stream = std::fopen(path.c_str(), "w+b");
    ASSERT_NE(stream, nullptr);
    {
        PixIOFile file(stream);
        EXPECT_TRUE(file.PutC('x'));
        EXPECT_TRUE(file.Close());
    }
    // Still usable after the wrapper's Close and destruction.
    EXPECT_EQ(std::fputc('y', stream), 'y');
    EXPECT_EQ(std::fclose(stream), 0);

    PixIOFile own;
    EXPECT_FALSE(own.Open((dir.Path("missing") + "/x").c_str(), "rb"));
    ASSERT_TRUE(own.Open(path.c_str(), "rb"));
    EXPECT_FALSE(own.Open(path.c_str(), "rb")) << "a second Open while a stream is held";
    EXPECT_EQ(own.Size(), 2);
    EXPECT_EQ(own.GetC(), 'x');
    EXPECT_EQ(own.Tell(), 1) << "Size must not move the position";
    EXPECT_EQ(own.GetC(), 'y');
    EXPECT_EQ(own.GetC(), -1);
    EXPECT_TRUE(own.Eof());
    EXPECT_TRUE(own.Close());
}

TEST(PixIOFile, WithoutStreamEveryOperationFailsSafely) {
    PixIOFile file;
    char buffer[4];
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(file.Read(buffer, 1, 4), 0u);
    EXPECT_EQ(file.Write(buffer, 1, 4), 0u);
    EXPECT_FALSE(file.Seek(0, SEEK_SET));
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_EQ(file.Size(), -1);
    EXPECT_FALSE(file.Flush());
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.Error(), -1);
    EXPECT_FALSE(file.PutC(1));
    EXPECT_EQ(file.GetC(), -1);
}

TEST(PixMemFile, GrowsInWholeStepsBeyondTheNeed) {
    PixMemFile file;
    ASSERT_TRUE(file.Open());
    EXPECT_FALSE(file.Open()) << "a block is already held";
    const char ten[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(file.Write(ten, 1, 10), 10u);
    EXPECT_EQ(file.Size(), 10);
    EXPECT_EQ(file.Capacity(), 4096);
    ASSERT_TRUE(file.Seek(0, SEEK_SET));
    char back[20];
    EXPECT_EQ(file.Read(back, 1, 20), 10u);
    EXPECT_EQ(std::memcmp(back, ten, 10), 0);
    // Whole items only.
    ASSERT_TRUE(file.Seek(0, SEEK_SET));
    EXPECT_EQ(file.Read(back, 4, 5), 2u);

    struct Step {
        long need;
        long capacity;
    } steps[] = {{4096, 8192}, {4097, 8192}, {8191, 8192}, {8192, 12288}};
    for (const Step& s : steps) {
        PixMemFile grow;
        ASSERT_TRUE(grow.Open());
        ASSERT_TRUE(grow.Seek(s.need - 1, SEEK_SET));
        ASSERT_TRUE(grow.PutC(0xAB));
        EXPECT_EQ(grow.Capacity(), s.capacity) << "need " << s.need;
        EXPECT_EQ(grow.Size(), s.need);
        // The gap a seek left is zero, not stale memory.
        ASSERT_TRUE(grow.Seek(0, SEEK_SET));
        EXPECT_EQ(grow.GetC(), 0);
    }
}

TEST(PixMemFile, SeekClampsAndPositionsPastTheEndReportAnError) {
    PixMemFile file;
    ASSERT_TRUE(file.Open());
    const char ten[10] = {};
    file.Write(ten, 1, 10);
    EXPECT_TRUE(file.Seek(-5, SEEK_SET));
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_TRUE(file.Seek(5, SEEK_END));
    EXPECT_EQ(file.Tell(), 15);
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.Error(), 1);
    EXPECT_EQ(file.GetC(), -1);
    EXPECT_FALSE(file.Seek(0, 7));
    EXPECT_EQ(file.Tell(), 15) << "a bad origin changes nothing";
    EXPECT_TRUE(file.Seek(-20, SEEK_CUR));
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_EQ(file.Error(), 0);
}

TEST(PixMemFile, WithoutBlockEveryOperationFailsSafely) {
    PixMemFile file;
    char buffer[4] = {};
    EXPECT_EQ(file.Write(buffer, 1, 4), 0u);
    EXPECT_EQ(file.Read(buffer, 1, 4), 0u);
    EXPECT_FALSE(file.PutC(1));
    EXPECT_EQ(file.GetC(), -1);
    EXPECT_FALSE(file.Seek(0, SEEK_SET));
    EXPECT_EQ(file.Tell(), -1);
    EXPECT_EQ(file.Size(), -1);
    EXPECT_FALSE(file.Flush());
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.Error(), -1);
    EXPECT_TRUE(file.Close());
}

TEST(PixMemFile, CallersBlockIsReadInPlaceAndNeverFreedByTheStream) {
    BYTE block[4] = {10, 20, 30, 40};
    {
        PixMemFile file(block, sizeof block);
        EXPECT_EQ(file.Size(), 4);
        EXPECT_EQ(file.GetC(), 10);
        ASSERT_TRUE(file.Seek(0, SEEK_SET));
        EXPECT_TRUE(file.PutC(11));
        EXPECT_EQ(block[0], 11) << "a write inside the block goes to the caller's memory";
        // Writing past the end moves the contents to a new block of the stream.
        ASSERT_TRUE(file.Seek(0, SEEK_END));
        const BYTE more[2] = {50, 60};
        EXPECT_EQ(file.Write(more, 1, 2), 2u);
        EXPECT_NE(file.GetBuffer(false), block);
        ASSERT_TRUE(file.Seek(0, SEEK_SET));
        BYTE all[6];
        ASSERT_EQ(file.Read(all, 1, 6), 6u);
        const BYTE expected[6] = {11, 20, 30, 40, 50, 60};
        EXPECT_EQ(std::memcmp(all, expected, 6), 0);
    }
    EXPECT_EQ(block[3], 40);  // still ours, and intact
}

TEST(PixMemFile, DetachedBufferOutlivesTheStream) {
    BYTE* detached;
    {
        PixMemFile file;
        ASSERT_TRUE(file.Open());
        file.Write("abc", 1, 3);
        detached = file.GetBuffer(true);
    }
    EXPECT_EQ(std::memcmp(detached, "abc", 3), 0);
    std::free(detached);
}

TEST(PixMemFile, GettingTheBufferNeverTakesOverTheCallersBlock) {
    BYTE block[4] = {1, 2, 3, 4};
    {
        PixMemFile file(block, sizeof block);
        EXPECT_EQ(file.GetBuffer(false), block);
        // Closing must not free memory the stream never allocated.
    }
    EXPECT_EQ(block[2], 3);
}

// A copy would free the block or close the FILE a second time.
static_assert(!std::is_copy_constructible_v<PixMemFile> && !std::is_copy_assignable_v<PixMemFile>);
static_assert(!std::is_copy_constructible_v<PixIOFile> && !std::is_copy_assignable_v<PixIOFile>);
