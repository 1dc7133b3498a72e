// Frame finding, checking and dropping; resumable reads; routing and
// quality options; the abandon rules of the layers. Streams are built by
// hand so each case holds exactly the condition under test.
#include <fenv.h>
#include <gtest/gtest.h>
#include <string.h>

#include "audio/mpeg_tables.h"
#include "decoder_support.h"
#include "layer3_writer.h"
#include "support/test_data.h"

using namespace decoder_test;

namespace {

void append_word(std::vector<uint8_t>& s, uint32_t w) {
    for (int i = 3; i >= 0; --i) s.push_back((uint8_t)(w >> (8 * i)));
}

// A frame whose body is all zeros: silence in every layer (no allocation;
// for Layer III no main data begin, no Huffman bits).
std::vector<uint8_t> zero_frame(uint32_t word) {
    frame_header h;
    EXPECT_TRUE(header_decode(word, &h));
    std::vector<uint8_t> f;
    append_word(f, word);
    f.resize((size_t)h.length, 0);
    return f;
}

std::vector<uint8_t> repeat(const std::vector<uint8_t>& frame, int n) {
    std::vector<uint8_t> s;
    for (int i = 0; i < n; ++i) s.insert(s.end(), frame.begin(), frame.end());
    return s;
}

const uint32_t mp3_44k_128 = header_word(1, 3, 9, 0, 0, 0);  // MPEG-1 Layer III stereo 128 kbit/s
const uint32_t mp3_44k_mono = header_word(1, 3, 9, 0, 0, 3);

// Layer I stereo frame, 44.1 kHz, 384 kbit/s: subband sb has allocation
// alloc (4 bits per sample + 1 ... ) with the given codeword in every slot
// and scale factor index sf, on the channels chosen.
std::vector<uint8_t> layer1_frame(int mode, const int alloc[2], const int sf[2], const int code[2],
                                  int sb_used = 0) {
    uint32_t word = header_word(1, 1, 14, 0, 0, mode);
    frame_header h;
    header_decode(word, &h);
    bit_writer w;
    int channels = mode == 3 ? 1 : 2;
    for (int sb = 0; sb < 32; ++sb)
        for (int ch = 0; ch < channels; ++ch) w.put(sb == sb_used ? alloc[ch] : 0, 4);
    for (int ch = 0; ch < channels; ++ch)
        if (alloc[ch]) w.put(sf[ch], 6);
    for (int slot = 0; slot < 12; ++slot)
        for (int ch = 0; ch < channels; ++ch)
            if (alloc[ch]) w.put(code[ch], alloc[ch] + 1);
    std::vector<uint8_t> f;
    append_word(f, word);
    f.insert(f.end(), w.bytes.begin(), w.bytes.end());
    f.resize((size_t)h.length, 0);
    return f;
}

std::vector<int16_t> channel(const std::vector<int16_t>& interleaved, int which) {
    std::vector<int16_t> out;
    for (size_t i = which; i < interleaved.size(); i += 2) out.push_back(interleaved[i]);
    return out;
}

}  // namespace

// ---- headers ---------------------------------------------------------------

TEST(FrameHeader, ValidityRules) {
    frame_header h;
    EXPECT_TRUE(header_decode(mp3_44k_128, &h));
    EXPECT_EQ(h.length, 417);
    EXPECT_EQ(h.frequency, 44100);
    EXPECT_EQ(h.bitrate, 128);
    EXPECT_TRUE(header_decode(header_word(1, 3, 9, 0, 1, 0), &h));
    EXPECT_EQ(h.length, 418);

    EXPECT_FALSE(header_decode(header_word(1, 3, 9, 1, 1, 0), &h)) << "padding at 48000 Hz";
    EXPECT_FALSE(header_decode(header_word(1, 3, 0, 0, 0, 0), &h)) << "free format";
    EXPECT_FALSE(header_decode(header_word(1, 3, 15, 0, 0, 0), &h)) << "forbidden bit rate";
    EXPECT_FALSE(header_decode(header_word(1, 3, 9, 3, 0, 0), &h)) << "reserved frequency";
    EXPECT_FALSE(header_decode(header_word(3, 3, 9, 0, 0, 0), &h)) << "reserved version";
    EXPECT_FALSE(header_decode(header_word(2, 2, 9, 0, 0, 0), &h)) << "MPEG-2.5 is Layer III only";
    EXPECT_FALSE(header_decode(header_word(1, 2, 1, 0, 0, 0), &h)) << "Layer II 32 kbit/s stereo";
    EXPECT_TRUE(header_decode(header_word(1, 2, 1, 0, 0, 3), &h)) << "Layer II 32 kbit/s mono";
    EXPECT_FALSE(header_decode(header_word(1, 2, 14, 0, 0, 3), &h)) << "Layer II 384 kbit/s mono";
    EXPECT_FALSE(header_decode(0xFFE00000u, &h)) << "layer code 0";
}

TEST(FrameHeader, LengthsAndNames) {
    frame_header h;
    ASSERT_TRUE(header_decode(header_word(1, 1, 14, 2, 0, 0), &h));  // Layer I 448 kbit/s 32 kHz
    EXPECT_EQ(h.length, (12000 * 448 / 32000) * 4);
    ASSERT_TRUE(header_decode(header_word(0, 3, 8, 0, 1, 3), &h));  // MPEG-2 64 kbit/s 22050 padded
    EXPECT_EQ(h.length, 144000 * 64 / 22050 / 2 + 1);
    EXPECT_EQ(header_side_info_length(&h), 9);
    EXPECT_EQ(header_samples_per_channel(&h), 576);
    ASSERT_TRUE(header_decode(header_word(2, 3, 4, 2, 0, 0, 0, 0), &h));  // MPEG-2.5 8 kHz with CRC
    EXPECT_EQ(h.frequency, 8000);
    EXPECT_EQ(header_side_info_length(&h), 17 + 2);
    EXPECT_STREQ(header_layer_name(1), "layer III");
    EXPECT_STREQ(header_layer_name(0), "INVALID");
    EXPECT_STREQ(header_mode_name(3), "mono");
}

// ---- finding frames ----------------------------------------------------------

TEST(FrameReader, DecodesEveryFrameIncludingTheLast) {
    decoded d = decode_all(repeat(zero_frame(mp3_44k_128), 5));
    EXPECT_EQ(d.frames.size(), 5u);
    EXPECT_EQ(d.invalid_frames, 0);
    EXPECT_EQ(d.samples.size(), 5u * 2304);
    EXPECT_EQ(d.last_result, decoder_error_input_end);
    ASSERT_FALSE(d.frames.empty());
    EXPECT_EQ(d.frames[0].level, 1);
    EXPECT_EQ(d.frames[0].layer, 3);
    EXPECT_EQ(d.frames[0].stereo, 1);
    EXPECT_EQ(d.frames[0].sample_rate, 44100);
}

TEST(FrameReader, GarbageBetweenFramesDropsTheFrameBeforeIt) {
    std::vector<uint8_t> f = zero_frame(mp3_44k_mono);
    std::vector<uint8_t> s = repeat(f, 2);
    const uint8_t junk[] = {0x12, 0xFF, 0xFF, 0x00, 0x34};
    s.insert(s.end(), junk, junk + sizeof junk);
    s.insert(s.end(), f.begin(), f.end());
    s.insert(s.end(), f.begin(), f.end());
    decoded d = decode_all(s);
    // Frame 2 is followed by junk: dropped. Frames 1, 3 and 4 play.
    EXPECT_EQ(d.frames.size(), 3u);
    EXPECT_EQ(d.invalid_frames, 0) << "the drop happens inside one decode call";
}

TEST(FrameReader, SkipsLeadingJunkAndBadHeaders) {
    std::vector<uint8_t> s = {0x00, 0xFF, 0xFB, 0xFF, 0x00};  // a sync with a bad header
    append_word(s, header_word(1, 3, 9, 1, 1, 0));            // padding at 48 kHz: not a header
    std::vector<uint8_t> frames = repeat(zero_frame(mp3_44k_mono), 3);
    s.insert(s.end(), frames.begin(), frames.end());
    decoded d = decode_all(s);
    EXPECT_EQ(d.frames.size(), 3u);
}

TEST(FrameReader, FreeFormatGivesNoFramesAndEnds) {
    std::vector<uint8_t> s;
    for (int i = 0; i < 4; ++i) {
        append_word(s, header_word(1, 3, 0, 0, 0, 0));
        s.resize(s.size() + 400, 0x55);
    }
    decoded d = decode_all(s);
    EXPECT_TRUE(d.frames.empty());
    EXPECT_EQ(d.last_result, decoder_error_input_end);
}

TEST(FrameReader, CutStreamEndsCleanly) {
    std::vector<uint8_t> s = repeat(zero_frame(mp3_44k_128), 3);
    s.resize(s.size() - 100);
    decoded d = decode_all(s);
    EXPECT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.last_result, decoder_error_input_end);
}

TEST(FrameReader, ResumesAfterInputErrorsAndShortReads) {
    std::vector<uint8_t> s = repeat(zero_frame(mp3_44k_128), 6);
    const uint8_t junk[] = {0xFF, 0x00, 0x77};
    s.insert(s.begin(), junk, junk + 3);
    decoded whole = decode_all(s);
    decoded trickle = decode_all(s, 0, 0, 1, 0);  // one byte per read
    decoded flaky = decode_all(s, 0, 0, 7, 3);    // every third read fails
    EXPECT_EQ(whole.frames.size(), 6u);
    EXPECT_EQ(trickle.frames.size(), 6u);
    EXPECT_EQ(flaky.frames.size(), 6u);
    EXPECT_GT(flaky.other_errors, 0);
    EXPECT_EQ(flaky.samples, whole.samples);
}

TEST(FrameReader, SkipsAnId3v2TagWithFalseSyncs) {
    std::vector<uint8_t> tag = {'I', 'D', '3', 4, 0, 0, 0, 0, 0x03, 0x00};  // 384 bytes follow
    std::vector<uint8_t> body(384, 0);
    // A chain of valid-looking frames fills the tag; none may be decoded.
    std::vector<uint8_t> fake = zero_frame(header_word(1, 1, 1, 0, 0, 3));
    ASSERT_EQ(body.size() % fake.size(), 0u);
    for (size_t at = 0; at < body.size(); at += fake.size())
        std::copy(fake.begin(), fake.end(), body.begin() + (ptrdiff_t)at);
    std::vector<uint8_t> s = tag;
    s.insert(s.end(), body.begin(), body.end());
    std::vector<uint8_t> frames = repeat(zero_frame(mp3_44k_mono), 2);
    s.insert(s.end(), frames.begin(), frames.end());
    decoded d = decode_all(s);
    ASSERT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.frames[0].layer, 3);
}

// ---- Layer III rules ---------------------------------------------------------

TEST(Layer3Frames, BigValuesAbove288DropsTheFrameOnly) {
    std::vector<uint8_t> good = zero_frame(mp3_44k_mono);
    std::vector<uint8_t> bad = good;
    // Mono side info: main_data_begin 9, private 5, scfsi 4, then granule 0:
    // part2_3_length 12, big_values 9 (at bit 30 of the side info).
    bit_writer w;
    w.put(0, 9 + 5 + 4 + 12);
    w.put(289, 9);
    for (size_t i = 0; i < w.bytes.size(); ++i) bad[4 + i] |= w.bytes[i];
    std::vector<uint8_t> s = good;
    s.insert(s.end(), bad.begin(), bad.end());
    s.insert(s.end(), good.begin(), good.end());
    decoded d = decode_all(s);
    EXPECT_EQ(d.invalid_frames, 1);
    EXPECT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.samples.size(), 2u * 1152);
}

TEST(Layer3Frames, ReservoirShortAfterResetGivesFullLengthSilence) {
    std::vector<uint8_t> f = zero_frame(mp3_44k_128);
    f[4] = 0xFF;  // main_data_begin 511: nothing that old has been read
    f[5] = 0x80;
    decoded d = decode_all(repeat(f, 2), 0, 0);
    ASSERT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.samples.size(), 2u * 2304);
    for (int16_t v : d.samples) ASSERT_EQ(v, 0);
    decoded q = decode_all(repeat(f, 1), 0, 2);
    ASSERT_EQ(q.frames.size(), 1u);
    EXPECT_EQ(q.samples.size(), 2304u / 4) << "down-sampled silence keeps the frame's length";
}

TEST(Layer3Frames, Mpeg2FramesHold576SamplesPerChannel) {
    decoded d = decode_all(repeat(zero_frame(header_word(0, 3, 8, 0, 0, 0)), 3));
    ASSERT_EQ(d.frames.size(), 3u);
    EXPECT_EQ(d.frames[0].samples, 1152);
    EXPECT_EQ(d.frames[0].level, 2);
    decoded e = decode_all(repeat(zero_frame(header_word(2, 3, 8, 0, 0, 3)), 3));
    ASSERT_EQ(e.frames.size(), 3u);
    EXPECT_EQ(e.frames[0].samples, 576);
    EXPECT_EQ(e.frames[0].level, 0);
    EXPECT_EQ(e.frames[0].frequency, 11025);
}

// ---- Layers I and II -------------------------------------------------------------

TEST(Layer1Frames, AllocationFifteenOrScaleFactor63DropsTheFrame) {
    const int alloc[2] = {3, 3}, sf[2] = {10, 10}, code[2] = {5, 9};
    std::vector<uint8_t> good = layer1_frame(0, alloc, sf, code);
    const int bad_alloc[2] = {15, 3};
    const int bad_sf[2] = {63, 10};
    for (const std::vector<uint8_t>& bad :
         {layer1_frame(0, bad_alloc, sf, code), layer1_frame(0, alloc, bad_sf, code)}) {
        std::vector<uint8_t> s = good;
        s.insert(s.end(), bad.begin(), bad.end());
        s.insert(s.end(), good.begin(), good.end());
        decoded d = decode_all(s);
        EXPECT_EQ(d.invalid_frames, 1);
        EXPECT_EQ(d.frames.size(), 2u);
    }
}

TEST(Layer1Frames, ChannelRouting) {
    const int alloc[2] = {3, 3}, sf[2] = {4, 12}, code[2] = {2, 13};
    std::vector<uint8_t> s = repeat(layer1_frame(0, alloc, sf, code), 4);
    decoded both = decode_all(s, 0);
    decoded left = decode_all(s, 1);
    decoded right = decode_all(s, 2);
    decoded mixed = decode_all(s, 3);
    ASSERT_EQ(both.frames.size(), 4u);
    EXPECT_EQ(both.frames[0].samples, 768);
    EXPECT_EQ(left.frames[0].samples, 384);
    EXPECT_EQ(left.frames[0].stereo, 0);
    EXPECT_EQ(channel(both.samples, 0), left.samples);
    EXPECT_EQ(channel(both.samples, 1), right.samples);
    EXPECT_NE(left.samples, right.samples);
    // Mixing averages the subband values, so the mixed output is the mean
    // of the two channels within rounding.
    ASSERT_EQ(mixed.samples.size(), left.samples.size());
    int worst = 0;
    for (size_t i = 0; i < mixed.samples.size(); ++i)
        worst = std::max(worst, abs(2 * mixed.samples[i] - left.samples[i] - right.samples[i]));
    EXPECT_LE(worst, 2);
    bool loud = false;
    for (int16_t v : mixed.samples) loud |= abs(v) > 1000;
    EXPECT_TRUE(loud);
}

TEST(Layer1Frames, QualityHalvesAndQuartersTheRate) {
    const int alloc[2] = {3, 3}, sf[2] = {4, 12}, code[2] = {2, 13};
    std::vector<uint8_t> s = repeat(layer1_frame(0, alloc, sf, code), 2);
    decoded half = decode_all(s, 0, 1);
    decoded quarter = decode_all(s, 0, 2);
    ASSERT_EQ(half.frames.size(), 2u);
    EXPECT_EQ(half.frames[0].sample_rate, 22050);
    EXPECT_EQ(half.frames[0].samples, 384);
    EXPECT_EQ(half.samples.size(), 2u * 384);
    EXPECT_EQ(quarter.frames[0].sample_rate, 11025);
    EXPECT_EQ(quarter.samples.size(), 2u * 192);
    // 22050 Hz streams are halved only at the lowest quality.
    decoded lsf = decode_all(repeat(zero_frame(header_word(0, 3, 8, 0, 0, 0)), 2), 0, 1);
    EXPECT_EQ(lsf.frames[0].sample_rate, 22050);
    decoded lsf2 = decode_all(repeat(zero_frame(header_word(0, 3, 8, 0, 0, 0)), 2), 0, 2);
    EXPECT_EQ(lsf2.frames[0].sample_rate, 11025);
}

TEST(Layer2Frames, JointBoundBeyondTheTableIsDropped) {
    // 64 kbit/s joint stereo at 44.1 kHz uses the 8-subband table; mode
    // extension 3 puts the bound at 16.
    uint32_t bad = header_word(1, 2, 4, 0, 0, 1, 3);
    uint32_t good = header_word(1, 2, 4, 0, 0, 1, 0);
    std::vector<uint8_t> s = zero_frame(good);
    std::vector<uint8_t> b = zero_frame(bad);
    s.insert(s.end(), b.begin(), b.end());
    std::vector<uint8_t> g = zero_frame(good);
    s.insert(s.end(), g.begin(), g.end());
    decoded d = decode_all(s);
    EXPECT_EQ(d.invalid_frames, 1);
    EXPECT_EQ(d.frames.size(), 2u);
    EXPECT_EQ(d.frames[0].samples, 2304);
}

TEST(Layer2Frames, LowSamplingFrequencyFramesDecode) {
    decoded d = decode_all(repeat(zero_frame(header_word(0, 2, 8, 1, 0, 0)), 3));
    ASSERT_EQ(d.frames.size(), 3u);
    EXPECT_EQ(d.frames[0].frequency, 24000);
    EXPECT_EQ(d.frames[0].samples, 2304);
}

// Low-rate Layer II frames with content: the MPEG-2 allocation table and
// subband limit must give the encoder's tone back, not silence.
TEST(Layer2Frames, LowSamplingFrequencyFramesCarryTheirTone) {
    if (!have_tool("twolame") || !have_tool("mpg123")) GTEST_SKIP() << "twolame or mpg123 missing";
    std::string dir = temp_dir();
    std::vector<int16_t> pcm = make_signal(16000, 1, 1.0, false);
    std::vector<uint8_t> bytes(pcm.size() * 2);
    for (size_t i = 0; i < pcm.size(); ++i) {
        bytes[2 * i] = (uint8_t)(pcm[i] & 0xFF);
        bytes[2 * i + 1] = (uint8_t)((uint16_t)pcm[i] >> 8);
    }
    write_file(dir + "/low.raw", bytes);
    ASSERT_TRUE(run("twolame --quiet -r -s 16000 -N 1 -m m -b 32 " + dir + "/low.raw " + dir +
                    "/low.mp2 2>/dev/null"));
    ASSERT_TRUE(
        run("mpg123 -q --no-gapless -s " + dir + "/low.mp2 > " + dir + "/low.ref 2>/dev/null"));
    decoded d = decode_all(read_file(dir + "/low.mp2"));
    ASSERT_FALSE(d.frames.empty());
    EXPECT_EQ(d.frames[0].frequency, 16000);
    double energy = 0;
    for (int16_t v : d.samples) energy += (double)v * v;
    EXPECT_GT(energy / (double)d.samples.size(), 1e6) << "a tone of about a third of full scale";
    comparison cmp = compare(d.samples, read_pcm(dir + "/low.ref"));
    EXPECT_LE(cmp.max_error, 1);
}

TEST(DecoderOptions, EqualiserReadsBackPerChannel) {
    decoder_state* d = new decoder_state;
    decoder_init(d, memory_input::read, nullptr);
    signed char bytes[64], back[64];
    for (int i = 0; i < 64; ++i) bytes[i] = (signed char)(i * 5 - 160 + (i < 32 ? 0 : 1));
    EXPECT_EQ(decoder_get_equalizer(d, back), 0);
    decoder_set_equalizer(d, bytes);
    EXPECT_EQ(decoder_get_equalizer(d, back), 1);
    EXPECT_EQ(memcmp(bytes, back, 64), 0);
    EXPECT_FLOAT_EQ(d->right.gains[0], synthesis_gain_from_byte(bytes[32]));
    decoder_set_equalizer(d, nullptr);
    EXPECT_EQ(decoder_get_equalizer(d, back), 0);
    for (signed char b : back) EXPECT_EQ(b, 0);
    decoder_free(d);
    delete d;
}

// ---- resynchronisation, tags, rounding, over-reads ----------------------------

namespace {

// Decodes after the decoder was reset and told where the input stands, as
// the engine does after a seek.
decoded decode_after_reset(const std::vector<uint8_t>& stream, int64_t position, int64_t size) {
    memory_input in;
    in.data = stream;
    decoder_state* d = new decoder_state;
    decoder_init(d, memory_input::read, &in);
    decoder_reset(d);
    if (position >= 0) decoder_start_at(d, position, size);
    decoded out;
    int16_t block[decoder_max_samples];
    for (int guard = 0; guard < 1000; ++guard) {
        decoder_frame_info info;
        int r = decoder_decode_frame(d, block, &info);
        if (r == decoder_error_input_end) break;
        if (r < 0) continue;
        out.frames.push_back(info);
        out.samples.insert(out.samples.end(), block, block + info.samples);
    }
    decoder_free(d);
    delete d;
    return out;
}

std::vector<uint8_t> with_prefix(std::vector<uint8_t> prefix, const std::vector<uint8_t>& body) {
    prefix.insert(prefix.end(), body.begin(), body.end());
    return prefix;
}

}  // namespace

struct PrefixCase {
    const char* name;
    std::vector<uint8_t> prefix;
};

void PrintTo(const PrefixCase& c, std::ostream* os) { *os << c.name; }

class FrameSearch : public ::testing::TestWithParam<PrefixCase> {};

// Every frame behind the junk is found, whatever the junk looks like.
TEST_P(FrameSearch, FindsTheFirstFrameRightBehindJunk) {
    std::vector<uint8_t> frames = repeat(zero_frame(mp3_44k_mono), 3);
    decoded d = decode_all(with_prefix(GetParam().prefix, frames));
    EXPECT_EQ(d.frames.size(), 3u);
    decoded trickle = decode_all(with_prefix(GetParam().prefix, frames), 0, 0, 1);
    EXPECT_EQ(trickle.frames.size(), 3u) << "one byte per read";
}

INSTANTIATE_TEST_SUITE_P(
    Junk, FrameSearch,
    ::testing::Values(PrefixCase{"StrayFF", {0xFF}},  // FF FF FB 90: no header, one byte on
                      PrefixCase{"TwoStrayFF", {0x00, 0xFF, 0xFF}},
                      PrefixCase{
                          "FalseTagStart",
                          {'I', 'D', '3', 0x00}},  // the header lies inside the tag's ten bytes
                      PrefixCase{"FalseTagByte", {'I', 'D', '3'}}),
    [](const ::testing::TestParamInfo<PrefixCase>& info) { return std::string(info.param.name); });

TEST(FrameReader, ATagIsSkippedOnlyWhereTheStreamStarts) {
    // A tag header claiming the 384 bytes that follow, then frames.
    std::vector<uint8_t> tag = {'I', 'D', '3', 4, 0, 0, 0, 0, 0x03, 0x00};
    std::vector<uint8_t> frames = repeat(zero_frame(mp3_44k_mono), 3);
    std::vector<uint8_t> s = with_prefix(tag, frames);
    // At an unknown place (after a seek into the middle) the same bytes are
    // no tag: nothing is skipped.
    EXPECT_EQ(decode_after_reset(s, -1, 0).frames.size(), 3u);
    EXPECT_EQ(decode_after_reset(s, 1000, 0).frames.size(), 3u);
    // At the start it is a tag, and the first frame lies inside it.
    EXPECT_LT(decode_after_reset(s, 0, 0).frames.size(), 3u);
}

TEST(FrameReader, ATagNeverReachesPastTheInputsKnownSize) {
    // The size bytes claim about 2 MB; the input holds 1 261 bytes.
    std::vector<uint8_t> tag = {'I', 'D', '3', 4, 0, 0, 0, 0x7F, 0x7F, 0x7F};
    std::vector<uint8_t> s = with_prefix(tag, repeat(zero_frame(mp3_44k_mono), 3));
    EXPECT_EQ(decode_after_reset(s, 0, (int64_t)s.size()).frames.size(), 3u);
}

TEST(BitReader, ReadsPastTheDataSeeOnlyZeros) {
    uint8_t buffer[frame_buffer_size + frame_buffer_slack];
    memset(buffer, 0xAA, sizeof buffer);  // old bytes of an earlier frame
    memset(buffer + 10, 0, frame_buffer_slack);
    bit_reader r;
    bits_start(&r, buffer, 10);
    EXPECT_EQ(bits_get(&r, 8), 0xAAu);
    bits_skip(&r, 8 * 20);
    EXPECT_EQ(bits_get(&r, 32), 0u);
    bits_skip(&r, 8 * 1000);
    EXPECT_EQ(bits_get(&r, 32), 0u);
}

// A mono MPEG-2.5 frame at 8000 Hz with mixed blocks whose only value sits
// at line 54: inside the long part, which there covers lines 0 to 71.
TEST(Layer3Frames, MixedBlocksAt8000HzKeepTheWholeLongPart) {
    const uint32_t word = header_word(2, 3, 8, 2, 0, 3);
    frame_header h;
    ASSERT_TRUE(header_decode(word, &h));
    ASSERT_EQ(h.frequency, 8000);
    const huffman_table& t1 = layer3_huffman[1];
    bit_writer huff;
    for (int pair = 0; pair < 28; ++pair) {
        int x = pair == 27 ? 1 : 0;  // lines 54 and 55
        uint32_t code = t1.codes[x * 2];
        huff.put(code & 0xFFFFFF, (int)(code >> 24));
        if (x) huff.put(0, 1);  // sign: positive
    }
    int huff_bits = (int)huff.bits;
    bit_writer side;
    side.put(0, 8);           // main_data_begin
    side.put(0, 1);           // private bit
    side.put(huff_bits, 12);  // part2_3_length: no scale factors, no count1 values
    side.put(28, 9);          // big_values
    side.put(210, 8);         // global_gain
    side.put(0, 9);           // scalefac_compress
    side.put(1, 1);           // window switching
    side.put(2, 2);           // short blocks
    side.put(1, 1);           // mixed
    side.put(1, 5);           // table_select[0]
    side.put(1, 5);           // table_select[1]
    side.put(0, 9);           // subblock gains
    side.put(0, 2);           // scalefac_scale, count1table_select
    std::vector<uint8_t> frame;
    append_word(frame, word);
    frame.insert(frame.end(), side.bytes.begin(), side.bytes.end());
    frame.insert(frame.end(), huff.bytes.begin(), huff.bytes.end());
    frame.resize((size_t)h.length, 0);
    std::vector<uint8_t> s = frame;
    std::vector<uint8_t> quiet = zero_frame(word);
    s.insert(s.end(), quiet.begin(), quiet.end());  // lets the overlap out
    decoded d = decode_all(s);
    ASSERT_EQ(d.frames.size(), 2u);
    double energy = 0;
    for (int16_t v : d.samples) energy += (double)v * v;
    EXPECT_GT(energy, 0.0) << "the value at line 54 was thrown away";
}

TEST(DecoderRounding, OutputDoesNotDependOnTheHostsRoundingMode) {
    std::string path = test_support::MpegTestData("l3-si.bit");
    std::vector<uint8_t> stream = read_file(path);
    ASSERT_FALSE(stream.empty()) << "no " << path;
    decoded nearest = decode_all(stream);
    ASSERT_FALSE(nearest.samples.empty());
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        fesetround(mode);
        decoded other = decode_all(stream);
        EXPECT_EQ(fegetround(), mode) << "the host's mode is given back";
        fesetround(FE_TONEAREST);
        EXPECT_EQ(other.samples, nearest.samples) << "mode " << mode;
    }
}
