// The engine's DecoderOps table over the MPEG decoder.
#include <gtest/gtest.h>

#include "audio/engine.h"
#include "decoder_support.h"

using namespace decoder_test;

TEST(DecoderOps, DecodesThroughTheEngineTable) {
    const DecoderOps* ops = mpeg_decoder_ops();
    ASSERT_NE(ops, nullptr);
    // Three silent MPEG-2 Layer III stereo frames at 22050 Hz.
    uint32_t word = header_word(0, 3, 8, 0, 0, 0);
    frame_header h;
    ASSERT_TRUE(header_decode(word, &h));
    memory_input in;
    for (int f = 0; f < 3; ++f) {
        for (int i = 3; i >= 0; --i) in.data.push_back((uint8_t)(word >> (8 * i)));
        in.data.resize(in.data.size() + h.length - 4, 0);
    }

    FrameFormat header{};
    ASSERT_EQ(ops->parse_header(in.data.data(), (int)in.data.size(), &header), 0);
    EXPECT_EQ(header.level, 2);
    EXPECT_EQ(header.layer, 3);
    EXPECT_EQ(header.frequency, 22050);
    EXPECT_EQ(header.samples_per_frame, 576);
    const uint8_t junk[4] = {1, 2, 3, 4};
    EXPECT_LT(ops->parse_header(junk, 4, &header), 0);

    void* d = ops->create(memory_input::read, &in);
    ASSERT_NE(d, nullptr);
    ops->set_options(d, 0, 1);  // quality 1 keeps 22050 Hz
    int16_t block[2304];
    FrameFormat f{};
    ASSERT_EQ(ops->decode_frame(d, block, &f), 0);
    EXPECT_EQ(f.stereo, 1);
    EXPECT_EQ(f.sample_rate, 22050);
    EXPECT_EQ(f.count, 1152);
    EXPECT_EQ(f.channels, 2);
    ops->set_options(d, 1, 2);  // left only, halved
    ASSERT_EQ(ops->decode_frame(d, block, &f), 0);
    EXPECT_EQ(f.stereo, 0);
    EXPECT_EQ(f.sample_rate, 11025);
    EXPECT_EQ(f.count, 288);
    ops->reset_synthesis(d);
    ASSERT_EQ(ops->decode_frame(d, block, &f), 0);
    EXPECT_EQ(ops->decode_frame(d, block, &f), -514);
    ops->destroy(d);
}
