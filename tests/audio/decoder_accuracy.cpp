// Accuracy of the whole decoder: streams made by real encoders from
// generated signals, decoded by us and by an independent decoder (mpg123,
// both cutting the encoder's delay and padding), compared sample by sample;
// and the conformance streams against their reference outputs. Both run on
// each vector path of the transforms (portable, SSE2, AVX2).
#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <iostream>
#include <set>
#include <string>
#include <tuple>

#include "decoder_support.h"
#include "player_harness.h"
#include "support/test_data.h"

using namespace decoder_test;

namespace {

struct encoded_case {
    const char* name;
    const char* encoder;  // "lame" or "twolame"
    int rate;
    int channels;
    bool transients;
    const char* options;  // encoder options after the format options
};

void PrintTo(const encoded_case& c, std::ostream* os) { *os << c.name; }

class EncodedStream : public testing::TestWithParam<std::tuple<encoded_case, simd_path>> {};

std::string encode(const encoded_case& c) {
    std::string dir = temp_dir();
    std::string raw = dir + "/" + c.name + ".raw";
    std::string out = dir + "/" + c.name + (std::string(c.encoder) == "lame" ? ".mp3" : ".mp2");
    static std::set<std::string> done;  // each stream is encoded once for every path
    if (done.count(out)) return out;
    std::vector<int16_t> pcm = make_signal(c.rate, c.channels, 1.5, c.transients);
    std::vector<uint8_t> bytes(pcm.size() * 2);
    for (size_t i = 0; i < pcm.size(); ++i) {
        bytes[2 * i] = (uint8_t)(pcm[i] & 0xFF);
        bytes[2 * i + 1] = (uint8_t)((uint16_t)pcm[i] >> 8);
    }
    write_file(raw, bytes);
    std::string cmd;
    if (std::string(c.encoder) == "lame") {
        char khz[16];
        snprintf(khz, sizeof khz, "%g", c.rate / 1000.0);
        cmd = std::string("lame --quiet -r --little-endian -s ") + khz + " " +
              (c.channels == 1 ? "-m m " : "") + c.options + " " + raw + " " + out;
    } else {
        cmd = std::string("twolame --quiet -r -s ") + std::to_string(c.rate) + " -N " +
              std::to_string(c.channels) + " " + c.options + " " + raw + " " + out;
    }
    if (!run(cmd + " 2>/dev/null")) return std::string();
    done.insert(out);
    return out;
}

}  // namespace

TEST_P(EncodedStream, MatchesIndependentDecoderWithinOneStep) {
    const encoded_case& c = std::get<0>(GetParam());
    path_scope path(std::get<1>(GetParam()));
    if (!path.ok())
        GTEST_SKIP() << "this processor has no " << simd_path_name(std::get<1>(GetParam()))
                     << " path";
    if (!have_tool(c.encoder) || !have_tool("mpg123"))
        GTEST_SKIP() << c.encoder << " or mpg123 is not installed";
    std::string stream_path = encode(c);
    ASSERT_FALSE(stream_path.empty()) << "encoding failed";
    std::string ref_path = stream_path + ".ref";
    // The reference cuts the encoder's delay and padding, as we do.
    ASSERT_TRUE(run("mpg123 -q -s " + stream_path + " > " + ref_path + " 2>/dev/null"));

    std::vector<uint8_t> stream = read_file(stream_path);
    std::vector<int16_t> reference = read_pcm(ref_path);
    if (std::string(c.options).find("-p ") != std::string::npos) {
        ASSERT_GE(stream.size(), 2u);
        EXPECT_EQ(stream[1] & 1, 0) << "the frames carry a CRC";
    }
    decoded ours = decode_all(stream);
    ASSERT_EQ(ours.invalid_frames, 0);
    ASSERT_FALSE(ours.frames.empty());
    EXPECT_EQ(ours.frames[0].channels, c.channels);
    EXPECT_EQ(ours.frames[0].frequency, c.rate);

    // The encoder's tag frame is not sound, and the samples the encoder put
    // before and after the signal are cut: exactly the encoder's input comes
    // back.
    const std::vector<int16_t>& aligned = ours.samples;
    EXPECT_EQ(aligned.size(), reference.size());
    if (tag_frame_values(stream) != 0)
        EXPECT_EQ(aligned.size(), make_signal(c.rate, c.channels, 1.5, c.transients).size());
    comparison cmp = compare(aligned, reference);
    std::cout << "[ accuracy ] " << c.name << " (" << simd_path_name(simd_active()) << "): max "
              << cmp.max_error << " step, rms " << cmp.rms << " step over " << cmp.compared
              << " samples\n";
    RecordProperty("max_error", cmp.max_error);
    RecordProperty("rms_x1000", (int)(cmp.rms * 1000));
    EXPECT_GT(cmp.compared, (size_t)c.rate);
    EXPECT_LE(cmp.max_error, 1);
    EXPECT_LT(cmp.rms, 0.3);
}

std::string encoded_name(const testing::TestParamInfo<std::tuple<encoded_case, simd_path>>& i) {
    return std::string(std::get<0>(i.param).name) + "_" + simd_path_name(std::get<1>(i.param));
}

INSTANTIATE_TEST_SUITE_P(
    Layer3, EncodedStream,
    testing::Combine(
        testing::Values(
            encoded_case{"l3_mpeg1_joint_128", "lame", 44100, 2, false, "-m j -b 128"},
            encoded_case{"l3_mpeg1_stereo_192", "lame", 44100, 2, false, "-m s -b 192"},
            encoded_case{"l3_mpeg1_midside_128", "lame", 44100, 2, false, "-m f -b 128"},
            encoded_case{"l3_mpeg1_mono_64", "lame", 44100, 1, false, "-b 64"},
            encoded_case{"l3_mpeg1_vbr_transients", "lame", 44100, 2, true, "-m j -V 2"},
            encoded_case{"l3_mpeg1_48k_320", "lame", 48000, 2, false, "-m j -b 320"},
            encoded_case{"l3_mpeg1_32k_transients", "lame", 32000, 2, true, "-m s -b 96"},
            encoded_case{"l3_mpeg2_22k_joint", "lame", 22050, 2, false, "-m j -b 64"},
            encoded_case{"l3_mpeg2_24k_vbr", "lame", 24000, 2, true, "-m j -V 5"},
            encoded_case{"l3_mpeg2_16k_mono", "lame", 16000, 1, true, "-b 32"},
            encoded_case{"l3_mpeg25_11k_joint", "lame", 11025, 2, false, "-m j -b 32"},
            encoded_case{"l3_mpeg25_8k_mono_transients", "lame", 8000, 1, true, "-b 16"},
            encoded_case{"l3_mpeg1_crc", "lame", 44100, 2, true, "-p -m j -b 160"},
            encoded_case{"l3_mpeg2_crc", "lame", 22050, 1, true, "-p -b 48"}),
        testing::ValuesIn(all_paths)),
    encoded_name);

INSTANTIATE_TEST_SUITE_P(
    Layer2, EncodedStream,
    testing::Combine(
        testing::Values(
            encoded_case{"l2_mpeg1_stereo_192", "twolame", 44100, 2, false, "-m s -b 192"},
            encoded_case{"l2_mpeg1_joint_128", "twolame", 44100, 2, true, "-m j -b 128"},
            encoded_case{"l2_mpeg1_mono_64", "twolame", 44100, 1, false, "-m m -b 64"},
            encoded_case{"l2_mpeg1_mono_32_low_table", "twolame", 44100, 1, false, "-m m -b 32"},
            encoded_case{"l2_mpeg1_48k_384", "twolame", 48000, 2, false, "-m s -b 384"},
            encoded_case{"l2_mpeg1_32k_joint_low_table", "twolame", 32000, 2, false, "-m j -b 64"},
            encoded_case{"l2_mpeg2_24k_joint", "twolame", 24000, 2, false, "-m j -b 96"},
            encoded_case{"l2_mpeg2_16k_stereo", "twolame", 16000, 2, true, "-m s -b 32"},
            encoded_case{"l2_mpeg1_crc", "twolame", 44100, 2, true, "-p -m j -b 160"},
            encoded_case{"l2_mpeg2_crc", "twolame", 22050, 2, false, "-p -m j -b 64"}),
        testing::ValuesIn(all_paths)),
    encoded_name);

// Layer II joint stereo mixed down to one channel: above the joint-stereo
// bound the two channels share their samples and differ in their scale
// factors, so the mix takes their mean. Synthesis is linear, so the mix is
// the mean of the independent decoder's two channels, within rounding.
TEST(Layer2Mix, JointStereoMixedToOneChannelIsTheMeanOfTheChannels) {
    if (!have_tool("twolame") || !have_tool("mpg123"))
        GTEST_SKIP() << "twolame or mpg123 is not installed";
    // A low bit rate puts the bound low, so most subbands are joint.
    encoded_case c{"l2_joint_mix", "twolame", 44100, 2, false, "-m j -b 96"};
    std::string stream_path = encode(c);
    ASSERT_FALSE(stream_path.empty());
    std::string ref_path = stream_path + ".ref";
    ASSERT_TRUE(
        run("mpg123 -q --no-gapless -s " + stream_path + " > " + ref_path + " 2>/dev/null"));
    std::vector<uint8_t> stream = read_file(stream_path);
    ASSERT_EQ((stream[3] >> 6) & 3, 1) << "joint stereo frames";
    decoded ours = decode_all(stream, 3);
    ASSERT_FALSE(ours.frames.empty());
    EXPECT_EQ(ours.frames[0].stereo, 0);
    std::vector<int16_t> stereo = read_pcm(ref_path);
    std::vector<int16_t> mean(stereo.size() / 2);
    for (size_t i = 0; i < mean.size(); ++i)
        mean[i] = (int16_t)lrint((stereo[2 * i] + stereo[2 * i + 1]) / 2.0);
    EXPECT_EQ(ours.samples.size(), mean.size());
    comparison cmp = compare(ours.samples, mean);
    EXPECT_GT(cmp.compared, (size_t)44100);
    EXPECT_LE(cmp.max_error, 2);
    EXPECT_LT(cmp.rms, 0.6);
}

// ---- the whole player: file input, decoder, file output ------------------------

TEST(DecoderInPlayer, SongThroughThePlayerMatchesIndependentDecoder) {
    if (!have_tool("lame") || !have_tool("mpg123"))
        GTEST_SKIP() << "lame or mpg123 is not installed";
    encoded_case c{"l3_player_joint", "lame", 44100, 2, true, "-m j -V 3"};
    std::string mp3 = encode(c);
    ASSERT_FALSE(mp3.empty());
    std::string ref_path = mp3 + ".ref";
    ASSERT_TRUE(run("mpg123 -q -s " + mp3 + " > " + ref_path + " 2>/dev/null"));
    std::string pcm_path = mp3 + ".player.raw";

    {
        using namespace test_player;
        Harness h(mpeg_decoder_ops());
        ASSERT_EQ(h.start_result, 0);
        h.send(cmd_set_output_module, 0);  // the file output
        ASSERT_EQ(h.answer(cmd_set_output_module), 0);
        h.send(cmd_set_output_name, ("raw:" + pcm_path).c_str());
        ASSERT_EQ(h.answer(cmd_set_output_name), 0);
        h.send(cmd_set_player_mode, 4);  // drain and close the output at the end
        ASSERT_EQ(h.answer(cmd_set_player_mode), 0);
        h.send(cmd_input_open, mp3.c_str());
        ASSERT_EQ(h.answer(cmd_input_open), 0);
        h.send(cmd_play);
        ASSERT_EQ(h.answer(cmd_play), 0);
        Note n;
        bool ended = false;
        while (!ended && h.wait_for(ntf_player_state, &n))
            ended = n.payload.byte == state_end_of_input;
        ASSERT_TRUE(ended);
        h.sync();
    }

    std::vector<uint8_t> stream = read_file(mp3);
    std::vector<int16_t> played = read_pcm(pcm_path);
    std::vector<int16_t> reference = read_pcm(ref_path);
    ASSERT_NE(tag_frame_values(stream), 0u);
    const std::vector<int16_t>& aligned = played;
    EXPECT_EQ(aligned.size(), reference.size());
    EXPECT_EQ(aligned.size(), make_signal(c.rate, c.channels, 1.5, c.transients).size())
        << "the encoder's input length";
    comparison cmp = compare(aligned, reference);
    std::cout << "[ accuracy ] through the player: max " << cmp.max_error << " step, rms "
              << cmp.rms << " step over " << cmp.compared << " samples\n";
    EXPECT_GT(cmp.compared, (size_t)c.rate);
    EXPECT_LE(cmp.max_error, 1);
    EXPECT_LT(cmp.rms, 0.3);
}

// ---- channel routing on real joint-stereo streams ---------------------------

TEST(Layer3Routing, OneChannelMatchesStereoAndMixIsTheMean) {
    if (!have_tool("lame")) GTEST_SKIP() << "lame is not installed";
    encoded_case c{"l3_routing_midside", "lame", 44100, 2, false, "-m f -b 128"};  // no clipping
    std::string path = encode(c);
    ASSERT_FALSE(path.empty());
    std::vector<uint8_t> stream = read_file(path);
    decoded both = decode_all(stream, 0);
    decoded left = decode_all(stream, 1);
    decoded right = decode_all(stream, 2);
    decoded mixed = decode_all(stream, 3);
    ASSERT_EQ(left.samples.size() * 2, both.samples.size());
    std::vector<int16_t> l, r;
    for (size_t i = 0; i < both.samples.size(); i += 2) {
        l.push_back(both.samples[i]);
        r.push_back(both.samples[i + 1]);
    }
    // Both channels are always decoded, so one-channel output is identical.
    EXPECT_EQ(left.samples, l);
    EXPECT_EQ(right.samples, r);
    ASSERT_EQ(mixed.samples.size(), l.size());
    int worst = 0;
    for (size_t i = 0; i < l.size(); ++i)
        worst = std::max(worst, abs(2 * mixed.samples[i] - l[i] - r[i]));
    EXPECT_LE(worst, 2);
}

// ---- starting in the middle, as after a seek -----------------------------------

// A stream cut at a frame boundary: the first frames borrow bytes from the
// reservoir that were never read. Granules whose bits lie in what was read
// decode; the others are silent rather than decoded from zeros.
struct midstream_case {
    encoded_case stream;
    bool frames_own_data;  // the encoder leaves a granule's bits in most frames themselves
};

void PrintTo(const midstream_case& c, std::ostream* os) { *os << c.stream.name; }

class Layer3Reservoir : public testing::TestWithParam<midstream_case> {};

TEST_P(Layer3Reservoir, StartingMidStreamDecodesWhatWasReadThenTheSameSamples) {
    if (!have_tool("lame")) GTEST_SKIP() << "lame is not installed";
    std::string path = encode(GetParam().stream);
    ASSERT_FALSE(path.empty());
    std::vector<uint8_t> stream = read_file(path);

    size_t at = 0;
    std::vector<size_t> starts;
    frame_header h;
    while (at + 4 <= stream.size()) {
        uint32_t w = (uint32_t)stream[at] << 24 | stream[at + 1] << 16 | stream[at + 2] << 8 |
                     stream[at + 3];
        if (!header_decode(w, &h)) break;
        starts.push_back(at);
        at += (size_t)h.length;
    }
    ASSERT_GT(starts.size(), 40u);
    decoded whole = decode_all(stream, 0, 0, 1 << 30, 0, true);  // frame by frame, as cut
    int peak = 0;
    for (int16_t v : whole.samples) peak = std::max(peak, abs((int)v));

    int borrowing = 0, sounding = 0;
    for (size_t first = 20; first < starts.size() - 10; first += 3) {
        if ((stream[starts[first] + 4] << 1 | stream[starts[first] + 5] >> 7) == 0) continue;
        ++borrowing;
        std::vector<uint8_t> tail(stream.begin() + (ptrdiff_t)starts[first], stream.end());
        decoded cut = decode_all(tail);
        ASSERT_EQ(cut.invalid_frames, 0) << first;
        ASSERT_EQ(cut.frames.size(), whole.frames.size() - first) << first;
        // Nothing decoded from the zeros that stand for the missing bytes:
        // those would be scale factors of 0, the loudest there are.
        int loudest = 0;
        for (size_t i = 0; i < 2304; ++i) loudest = std::max(loudest, abs((int)cut.samples[i]));
        EXPECT_LE(loudest, peak) << first;
        if (loudest > 1000) ++sounding;
        // A few frames later the filter memories have caught up: identical.
        size_t from = 4 * 2304;
        std::vector<int16_t> expect(whole.samples.begin() + (ptrdiff_t)(first * 2304 + from),
                                    whole.samples.end());
        std::vector<int16_t> got(cut.samples.begin() + (ptrdiff_t)from, cut.samples.end());
        ASSERT_EQ(got, expect) << first;
    }
    ASSERT_GT(borrowing, 3) << "no frame borrows from the reservoir";
    if (GetParam().frames_own_data)
        EXPECT_GT(sounding, borrowing / 2)
            << "the first frame is silent although its data was read";
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, Layer3Reservoir,
    testing::Values(
        // At 320 kbit/s lame borrows less than a frame holds: the second
        // granule is in the frame read first.
        midstream_case{{"l3_midstream_320", "lame", 44100, 2, true, "-m s -b 320"}, true},
        // At -V 4 most frames borrow all their bits from frames before the
        // cut: mostly silence, never loud.
        midstream_case{{"l3_midstream_vbr", "lame", 44100, 2, true, "-m j -V 4"}, false}),
    [](const testing::TestParamInfo<midstream_case>& i) {
        return std::string(i.param.stream.name);
    });

// ---- conformance streams ---------------------------------------------------

namespace {

std::string testdata() { return test_support::MpegTestData(""); }

}  // namespace

class ConformanceStream : public testing::TestWithParam<std::tuple<const char*, simd_path>> {};

TEST_P(ConformanceStream, WithinOneStepOfReference) {
    const char* name = std::get<0>(GetParam());
    path_scope path(std::get<1>(GetParam()));
    if (!path.ok())
        GTEST_SKIP() << "this processor has no " << simd_path_name(std::get<1>(GetParam()))
                     << " path";
    std::string base = testdata() + name;
    std::vector<uint8_t> stream = read_file(base + ".bit");
    std::vector<int16_t> reference = read_pcm(base + ".pcm");
    ASSERT_FALSE(stream.empty() || reference.empty())
        << "conformance stream " << base << " not found";
    decoded ours = decode_all(stream);
    EXPECT_EQ(ours.invalid_frames, 0);
    // The references are cut or padded to a fixed size; the overlap must
    // cover all but the last granule of our output.
    comparison cmp = compare(ours.samples, reference);
    std::cout << "[ conformance ] " << name << " (" << simd_path_name(simd_active()) << "): max "
              << cmp.max_error << " step, rms " << cmp.rms << " step over " << cmp.compared
              << " samples\n";
    EXPECT_GE(cmp.compared + 1152, ours.samples.size());
    EXPECT_LE(cmp.max_error, 1);
    EXPECT_LT(cmp.rms, 0.1);
}

INSTANTIATE_TEST_SUITE_P(Iso, ConformanceStream,
                         testing::Combine(testing::Values("l1-fl1", "l1-fl2", "l1-fl3", "l3-si",
                                                          "l3-si_block"),
                                          testing::ValuesIn(all_paths)),
                         [](const testing::TestParamInfo<std::tuple<const char*, simd_path>>& i) {
                             std::string n = std::get<0>(i.param);
                             for (char& ch : n)
                                 if (ch == '-') ch = '_';
                             return n + "_" + simd_path_name(std::get<1>(i.param));
                         });
