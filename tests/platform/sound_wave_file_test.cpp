// Reading RIFF/WAVE images, which come from files and resources and so are
// hostile until checked.
#include <gtest/gtest.h>

#include <random>

#include "sound/pcm_format.h"
#include "sound_helpers.h"

using namespace sound_test;
using win::sound::ParseWave;
using win::sound::WaveImage;

namespace {

void Put32(std::vector<uint8_t>& image, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) image[at + i] = uint8_t(v >> (8 * i));
}

TEST(SoundWaveFile, ReadsPlainPcm) {
    std::vector<uint8_t> image = test_support::WavImage(22050, 1, 16, {1, -2, 3, -4});
    WaveImage wave;
    ASSERT_TRUE(ParseWave(image.data(), image.size(), &wave));
    EXPECT_EQ(22050, wave.format.rate);
    EXPECT_EQ(1, wave.format.channels);
    EXPECT_EQ(16, wave.format.bits);
    EXPECT_EQ(8u, wave.bytes);
    EXPECT_EQ(image.data() + 44, wave.samples);

    image = test_support::WavImage(44100, 2, 8, {0, 0, 256, 256});
    ASSERT_TRUE(ParseWave(image.data(), image.size(), &wave));
    EXPECT_EQ(4u, wave.bytes);
}

TEST(SoundWaveFile, SkipsOtherChunksWithTheirPadding) {
    std::vector<uint8_t> image = test_support::WavImage(8000, 1, 8, {0x100, 0x200, 0x300});
    // Insert an odd-length "LIST" chunk (padded to even) before "data".
    std::vector<uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    image.insert(image.begin() + 36, list.begin(), list.end());
    Put32(image, 4, uint32_t(image.size() - 8));
    WaveImage wave;
    ASSERT_TRUE(ParseWave(image.data(), image.size(), &wave));
    EXPECT_EQ(3u, wave.bytes);
    EXPECT_EQ(0x81, wave.samples[0]);
}

TEST(SoundWaveFile, AcceptsExtensiblePcm) {
    std::vector<uint8_t> image = test_support::WavImage(44100, 2, 16, {5, 6});
    std::vector<uint8_t> extra(24, 0);
    extra[0] = 22;  // cbSize
    extra[8] = 1;   // sub-format: PCM
    image.insert(image.begin() + 36, extra.begin(), extra.end());
    Put32(image, 16, 40);
    image[20] = 0xFE;
    image[21] = 0xFF;
    Put32(image, 4, uint32_t(image.size() - 8));
    WaveImage wave;
    ASSERT_TRUE(ParseWave(image.data(), image.size(), &wave));
    EXPECT_EQ(4u, wave.bytes);
    image[36 + 8] = 3;  // sub-format: float
    EXPECT_FALSE(ParseWave(image.data(), image.size(), &wave));
}

TEST(SoundWaveFile, TruncatedDataIsCutToWholeFrames) {
    std::vector<uint8_t> image = test_support::WavImage(22050, 2, 16, std::vector<int16_t>(100, 7));
    image.resize(image.size() - 3);  // the data chunk now claims more than there is
    WaveImage wave;
    ASSERT_TRUE(ParseWave(image.data(), image.size(), &wave));
    EXPECT_EQ(196u, wave.bytes);
}

TEST(SoundWaveFile, RefusesWhatIsNotPlayable) {
    WaveImage wave;
    auto refused = [&](std::vector<uint8_t> image) {
        return !ParseWave(image.data(), image.size(), &wave);
    };
    std::vector<uint8_t> good = test_support::WavImage(22050, 1, 16, {1, 2, 3});
    EXPECT_FALSE(refused(good));

    auto changed = [&](size_t at, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> image = good;
        std::copy(bytes.begin(), bytes.end(), image.begin() + long(at));
        return image;
    };
    EXPECT_TRUE(refused(changed(0, {'R', 'I', 'F', 'X'})));
    EXPECT_TRUE(refused(changed(8, {'W', 'A', 'V', 'X'})));
    EXPECT_TRUE(refused(changed(20, {3, 0})));        // float samples
    EXPECT_TRUE(refused(changed(22, {3, 0})));        // three channels
    EXPECT_TRUE(refused(changed(22, {0, 0})));        // no channels
    EXPECT_TRUE(refused(changed(34, {24, 0})));       // 24 bits
    EXPECT_TRUE(refused(changed(24, {0, 0, 0, 0})));  // rate 0
    EXPECT_TRUE(refused(changed(24, {0xFF, 0xFF, 0xFF, 0xFF})));
    EXPECT_TRUE(refused(changed(16, {8, 0, 0, 0})));              // format chunk too short
    EXPECT_TRUE(refused(changed(16, {0xF0, 0xFF, 0xFF, 0xFF})));  // format chunk past the end
    EXPECT_TRUE(refused(changed(40, {0, 0, 0, 0})));              // empty data
    EXPECT_TRUE(refused(changed(4, {1, 0, 0, 0})));               // RIFF shorter than its header
    EXPECT_TRUE(refused(changed(12, {'d', 'a', 't', 'a'})));      // data before format
    EXPECT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.begin() + 44)));
    EXPECT_TRUE(refused({}));
    EXPECT_FALSE(ParseWave(nullptr, 100, &wave));
}

// Every cut of a valid image, and random bytes behind its "RIFF" tag, are
// read safely (the sanitizer build checks the reads).
TEST(SoundWaveFile, SurvivesCutsAndNoise) {
    std::vector<uint8_t> good = test_support::WavImage(11025, 2, 8, std::vector<int16_t>(64, 99));
    WaveImage wave;
    for (size_t n = 0; n <= good.size(); ++n) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + long(n));
        if (ParseWave(cut.data(), cut.size(), &wave)) {
            EXPECT_LE(wave.samples + wave.bytes, cut.data() + cut.size());
            EXPECT_EQ(0u, wave.bytes % 2);
        }
    }
    std::mt19937 random(42);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> noise = good;
        for (size_t i = 4; i < noise.size(); ++i)
            if (random() % 8 == 0) noise[i] = uint8_t(random());
        noise.resize(12 + random() % (noise.size() - 11));
        if (ParseWave(noise.data(), noise.size(), &wave)) {
            EXPECT_GE(wave.samples, noise.data());
            EXPECT_LE(wave.samples + wave.bytes, noise.data() + noise.size());
        }
    }
}

}  // namespace
