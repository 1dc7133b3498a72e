// The player engine driven through the real transport on its own thread,
// with a decoder, an input and an output of our own.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "audio/engine_internal.h"
#include "player_harness.h"
#include "support/reference_tools.h"
#include "support/temp_dir.h"
#include "support/wav.h"

using namespace test_player;

namespace {

std::vector<Note> of_code(const std::vector<Note>& notes, unsigned code) {
    std::vector<Note> out;
    for (const Note& n : notes)
        if (n.code == code) out.push_back(n);
    return out;
}

bool has_answer_for(const std::vector<Note>& notes, unsigned command) {
    for (const Note& n : notes)
        if ((n.code == ntf_ack && n.payload.byte == command) ||
            (n.code == ntf_nack && n.payload.byte_short.a == command))
            return true;
    return false;
}

// Waits until the player reports `state`.
bool wait_state(Harness& h, int state) {
    Note n;
    while (h.wait_for(ntf_player_state, &n))
        if (n.payload.byte == state) return true;
    return false;
}

TEST(Engine, AnswersCommandsOnlyAndPings) {
    Harness h;
    ASSERT_EQ(h.start_result, 0);
    h.send(ntf_ready);  // a notification code sent to the player
    h.send(ntf_error, 1, 2, "x");
    h.sync();
    EXPECT_FALSE(has_answer_for(h.seen, ntf_ready));
    EXPECT_FALSE(has_answer_for(h.seen, ntf_error));
    EXPECT_EQ(h.send(0u), -306);
}

TEST(Engine, BuiltInModulesAreReported) {
    Harness h;
    h.send(cmd_input_modules_list);
    EXPECT_EQ(h.answer(cmd_input_modules_list), 0);
    std::vector<Note> info = of_code(h.seen, ntf_input_module_info);
    ASSERT_EQ(info.size(), 2u);  // the file input (0) and the network input (1)
    const Note& file = info[0].payload.module_info.id == 0 ? info[0] : info[1];
    const Note& network = info[0].payload.module_info.id == 0 ? info[1] : info[0];
    EXPECT_EQ(file.payload.module_info.id, 0);
    EXPECT_EQ(file.payload.module_info.count, 2);
    EXPECT_EQ(file.text, "Input From File");
    EXPECT_EQ(file.text2, "Version 1.2");
    EXPECT_EQ(network.payload.module_info.id, 1);
    EXPECT_EQ(network.payload.module_info.count, 1);
    EXPECT_EQ(network.text, "Network Streaming Module");
    std::vector<Note> devices = of_code(h.seen, ntf_input_device_info);
    ASSERT_EQ(devices.size(), 3u);
    std::vector<std::string> names;
    for (const Note& d : devices) names.push_back(d.text);
    EXPECT_NE(std::find(names.begin(), names.end(), "*"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "http://*, ftp://*, udp://*"), names.end());
    const Note& standard_input =
        *std::find_if(devices.begin(), devices.end(), [](const Note& d) { return d.text == "-"; });
    EXPECT_EQ(standard_input.text2, "standard input");
    EXPECT_EQ(standard_input.payload.device_info.index, 1);

    h.send(cmd_output_module_query, 0);
    EXPECT_EQ(h.answer(cmd_output_module_query), 0);
    EXPECT_EQ(of_code(h.seen, ntf_output_module_info).back().text, "Output To File");
    EXPECT_EQ(of_code(h.seen, ntf_output_device_info).size(), 3u);
    h.send(cmd_input_module_query, 5);
    EXPECT_EQ(h.answer(cmd_input_module_query), -507);

    h.register_test_modules();
    h.take_seen();
    h.send(cmd_input_module_query, 2);  // after the file and network inputs
    EXPECT_EQ(h.answer(cmd_input_module_query), 0);
    EXPECT_EQ(of_code(h.seen, ntf_input_module_info).back().text, "unknown module name");
    EXPECT_EQ(of_code(h.seen, ntf_input_device_info).back().text, "unknown device name");

    h.send(cmd_input_module_register, "/no/such/library.so");
    EXPECT_EQ(h.answer(cmd_input_module_register), -700);
}

TEST(Engine, SettersRefuseBadValuesAndChangeNothing) {
    Harness h;
    Note n;
    h.send(cmd_set_input_position_range, 0);
    EXPECT_EQ(h.answer(cmd_set_input_position_range), -101);
    h.send(cmd_get_input_position_range);
    ASSERT_TRUE(h.wait_for(ntf_input_position_range, &n));
    EXPECT_EQ(n.payload.value, 400u);

    h.send(cmd_set_input_timecode_granularity, 0);
    EXPECT_EQ(h.answer(cmd_set_input_timecode_granularity), -101);
    h.send(cmd_get_input_timecode_granularity);
    ASSERT_TRUE(h.wait_for(ntf_input_timecode_granularity, &n));
    EXPECT_EQ(n.payload.value, 100u);

    h.send(cmd_set_input_module, -1);
    EXPECT_EQ(h.answer(cmd_set_input_module), 0);
    h.send(cmd_set_input_module, -2);
    EXPECT_EQ(h.answer(cmd_set_input_module), -507);
    h.send(cmd_set_input_module, 2);  // only the file and network inputs exist
    EXPECT_EQ(h.answer(cmd_set_input_module), -507);
    h.send(cmd_set_output_module, 0);
    EXPECT_EQ(h.answer(cmd_set_output_module), 0);
    h.send(cmd_get_output_module);
    ASSERT_TRUE(h.wait_for(ntf_output_module, &n));
    EXPECT_EQ(n.payload.short_value, 0);

    h.send(cmd_set_player_mode, 5);
    h.send(cmd_get_player_mode);
    ASSERT_TRUE(h.wait_for(ntf_player_mode, &n));
    EXPECT_EQ(n.payload.value, 5u);
    h.send(cmd_set_codec_quality, 3);
    EXPECT_EQ(h.answer(cmd_set_codec_quality), -101);
    h.send(cmd_set_output_channels, 2);
    EXPECT_EQ(h.answer(cmd_set_output_channels), 0);
    h.send(cmd_get_output_channels);
    ASSERT_TRUE(h.wait_for(ntf_output_channels, &n));
    EXPECT_EQ(n.payload.byte, 2);

    signed char bands[64] = {};
    bands[3] = -9;
    h.send(cmd_set_codec_equalizer, bands);
    h.send(cmd_get_codec_equalizer);
    ASSERT_TRUE(h.wait_for(ntf_codec_equalizer, &n));
    ASSERT_EQ(n.block.size(), 64u);
    EXPECT_EQ(static_cast<signed char>(n.block[3]), -9);
    h.send(cmd_set_codec_equalizer, nullptr);
    h.send(cmd_get_codec_equalizer);
    ASSERT_TRUE(h.wait_for(ntf_codec_equalizer, &n));
    EXPECT_TRUE(n.block.empty());

    // Commands on a closed output.
    h.send(cmd_output_mute);
    EXPECT_EQ(h.answer(cmd_output_mute), -102);
    h.send(cmd_set_output_volume, 50, 50, 50);
    EXPECT_EQ(h.answer(cmd_set_output_volume), -102);
    h.send(cmd_pause);
    EXPECT_EQ(h.answer(cmd_pause), -102);
    h.send(cmd_stop);
    EXPECT_EQ(h.answer(cmd_stop), -102);
    h.send(cmd_input_close);
    EXPECT_EQ(h.answer(cmd_input_close), -102);
    h.send(cmd_seek, 1, 0);
    EXPECT_EQ(h.answer(cmd_seek), -101);
    h.send(cmd_seek, 1, 2);
    EXPECT_EQ(h.answer(cmd_seek), -1);
}

TEST(Engine, MaskSilencesNotificationsButGettersAreStillAcknowledged) {
    Harness h;
    h.send(cmd_set_notification_mask, 0xFFFFFFFFu & ~0x80u);
    h.send(cmd_get_input_name);
    EXPECT_EQ(h.answer(cmd_get_input_name), 0);
    EXPECT_TRUE(of_code(h.seen, ntf_input_name).empty());

    h.send(cmd_set_notification_mask, 0xDEADBEE7u);  // acks off
    h.send(cmd_get_notification_mask);
    Note n;
    ASSERT_TRUE(h.wait_for(ntf_notification_mask, &n));
    EXPECT_EQ(n.payload.value, 0xDEADBEE7u);
    h.send(cmd_set_notification_mask, 0xFFFFFFFFu);
    h.sync();
    EXPECT_FALSE(has_answer_for(h.seen, cmd_get_notification_mask));
}

TEST(Engine, EnvironmentVariables) {
    Harness h;
    Note n;
    h.send(cmd_set_environment_integer, "OUTPUT.WAVE.PLAYBACK-RATE", -3);
    EXPECT_EQ(h.answer(cmd_set_environment_integer), 0);
    h.send(cmd_get_environment_integer, "OUTPUT.WAVE.PLAYBACK-RATE");
    ASSERT_TRUE(h.wait_for(ntf_environment_integer, &n));
    EXPECT_EQ(n.text, "OUTPUT.WAVE.PLAYBACK-RATE");
    EXPECT_EQ(static_cast<int32_t>(n.payload.text_value.value), -3);
    h.send(cmd_get_environment_string, "OUTPUT.WAVE.PLAYBACK-RATE");
    EXPECT_EQ(h.answer(cmd_get_environment_string), -801);
    h.send(cmd_set_environment_string, "NETWORK.HTTP.PROXY.HOSTNAME", "proxy.local");
    h.send(cmd_get_environment_string, "NETWORK.HTTP.PROXY.HOSTNAME");
    ASSERT_TRUE(h.wait_for(ntf_environment_string, &n));
    EXPECT_EQ(n.text2, "proxy.local");
    h.send(cmd_unset_environment, "NETWORK.HTTP.PROXY.HOSTNAME");
    EXPECT_EQ(h.answer(cmd_unset_environment), 0);
    h.send(cmd_unset_environment, "NETWORK.HTTP.PROXY.HOSTNAME");
    EXPECT_EQ(h.answer(cmd_unset_environment), -800);
    h.send(cmd_set_environment_integer, "", 1);
    EXPECT_EQ(h.answer(cmd_set_environment_integer), -101);
}

const char* echo_name() { return "echo"; }
int echo_filter_register(void* d) {
    static_cast<InputFilter*>(d)->get_name = echo_name;
    return 0;
}

TEST(Engine, FilterCommands) {
    Harness h;
    std::string spec = function_spec(echo_filter_register);
    Note n;
    h.send(cmd_input_filter_add, spec.c_str(), 0);
    ASSERT_TRUE(h.wait_for(ntf_input_filter_info, &n));
    EXPECT_EQ(n.text, "echo");
    EXPECT_EQ(n.payload.named.id, 1);
    EXPECT_EQ(h.answer(cmd_input_filter_add), 0);
    h.send(cmd_input_filter_add, spec.c_str(), -1);
    EXPECT_EQ(h.answer(cmd_input_filter_add), 0);
    h.take_seen();
    h.send(cmd_input_filters_list);
    EXPECT_EQ(h.answer(cmd_input_filters_list), 0);
    std::vector<Note> list = of_code(h.seen, ntf_input_filter_info);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].payload.named.id, 2);
    EXPECT_EQ(list[1].payload.named.id, 1);
    h.send(cmd_input_filter_remove, "echo", -2);
    EXPECT_EQ(h.answer(cmd_input_filter_remove), 0) << "returns the new head's id, 1";
    h.send(cmd_input_filter_remove, "", 0);
    EXPECT_EQ(h.answer(cmd_input_filter_remove), 0);
    h.send(cmd_input_filter_remove, "", 0);
    EXPECT_EQ(h.answer(cmd_input_filter_remove), -1) << "no filter left";
    h.send(cmd_output_filter_add, spec.c_str(), -2);
    EXPECT_EQ(h.answer(cmd_output_filter_add), -101);
}

class Playing : public ::testing::Test {
protected:
    void SetUp() override {
        h.register_test_modules();
        h.send(cmd_set_output_name, "rec:out");
        ASSERT_EQ(h.answer(cmd_set_output_name), 0);
        h.take_seen();
    }
    void open(const std::string& key, std::vector<uint8_t> bytes) {
        put_memory_file(key, std::move(bytes));
        h.send(cmd_input_open, ("mem:" + key).c_str());
        ASSERT_EQ(h.answer(cmd_input_open), 0);
    }
    Harness h;
};

TEST_F(Playing, OpenPlayAndEndOfInputInOrder) {
    FakeFrame frame;
    open("song", fake_stream(frame, 10));
    std::vector<unsigned> expected = {ntf_input_state,    ntf_input_name,        ntf_input_caps,
                                      ntf_input_duration, ntf_input_stream_info, ntf_ack};
    EXPECT_EQ(h.codes_seen(), expected);
    EXPECT_EQ(h.seen[0].payload.byte, 0) << "0 means open";
    EXPECT_EQ(h.seen[1].text, "mem:song");
    EXPECT_EQ(h.seen[2].payload.value, 1u);
    EXPECT_EQ(h.seen[4].payload.stream_info.bitrate, 128);
    h.take_seen();

    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_end_of_input));
    std::vector<unsigned> codes = h.codes_seen();
    std::vector<unsigned> opening = {
        ntf_output_state,   ntf_output_name,      ntf_output_caps,
        ntf_output_balance, ntf_output_pcm_level, ntf_output_master_level,
        ntf_output_ports,   ntf_player_state,     ntf_ack};
    ASSERT_GE(codes.size(), opening.size());
    EXPECT_EQ(std::vector<unsigned>(codes.begin(), codes.begin() + 9), opening);
    EXPECT_EQ(h.seen[3].payload.bytes[2], 50);
    EXPECT_EQ(h.seen[5].payload.byte, 100);
    EXPECT_EQ(h.seen[7].payload.byte, state_playing);
    std::vector<Note> positions = of_code(h.seen, ntf_input_position);
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.back().payload.values.a, 400u);
    EXPECT_EQ(positions.back().payload.values.b, 400u);

    Recording r = recording();
    ASSERT_EQ(r.writes.size(), 10u);
    EXPECT_EQ(r.writes[0].size, 4608);
    EXPECT_EQ(r.writes[0].bytes_per_sample, 2);
    EXPECT_EQ(r.writes[0].sample_rate, 44100);
    EXPECT_EQ(r.writes[0].first_bytes[0], 1000 & 0xFF);
    EXPECT_EQ(r.closes, 0) << "without mode 0x4 the output stays open";

    // Play again at the end: nothing is left, so straight back to the end.
    h.take_seen();
    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_playing));
    ASSERT_TRUE(wait_state(h, state_end_of_input));
    EXPECT_EQ(recording().writes.size(), 10u);
}

TEST_F(Playing, DrainModeClosesTheOutputAtTheEnd) {
    h.send(cmd_set_player_mode, 4);
    open("drain", fake_stream(FakeFrame{}, 3));
    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_end_of_input));
    Note n;
    ASSERT_TRUE(h.wait_for(ntf_output_state, &n));
    EXPECT_EQ(n.payload.byte, 1) << "closed";
    Recording r = recording();
    EXPECT_EQ(r.closes, 1);
    ASSERT_FALSE(r.controls.empty());
    EXPECT_EQ(r.controls.back().flags, 0x1000u);
}

TEST_F(Playing, FormatChangesAreAnnouncedBeforeTheBlock) {
    FakeFrame stereo;
    FakeFrame mono = stereo;
    mono.stereo = 0;
    mono.count = 1152;
    FakeFrame slow = mono;
    slow.frequency = 22050;
    std::vector<uint8_t> bytes = fake_stream(stereo, 2);
    for (auto part : {fake_stream(mono, 2), fake_stream(slow, 2)})
        bytes.insert(bytes.end(), part.begin(), part.end());
    open("formats", bytes);
    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_end_of_input));
    std::vector<ControlCall> formats;
    for (const ControlCall& c : recording().controls)
        if (c.has_record) formats.push_back(c);
    ASSERT_EQ(formats.size(), 3u);
    EXPECT_EQ(formats[0].flags, 0x7u);
    EXPECT_EQ(formats[0].record.stereo, 1);
    EXPECT_EQ(formats[1].flags, 0x6u);
    EXPECT_EQ(formats[1].record.stereo, 0);
    EXPECT_EQ(formats[2].flags, 0x4u);
    EXPECT_EQ(formats[2].record.sample_rate, 22050);
    Recording r = recording();
    ASSERT_EQ(r.writes.size(), 6u);
    EXPECT_EQ(r.writes[2].size, 2304);
    EXPECT_EQ(r.writes[4].sample_rate, 22050);
}

TEST_F(Playing, EightBitOutputs) {
    set_recording_caps(0);  // no 16-bit: unsigned 8-bit samples
    FakeFrame frame;
    frame.count = 100;
    frame.value = -1000;
    open("eight", fake_stream(frame, 1));
    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_end_of_input));
    Recording r = recording();
    ASSERT_EQ(r.writes.size(), 1u);
    EXPECT_EQ(r.writes[0].bytes_per_sample, 1);
    EXPECT_EQ(r.writes[0].size, 100);
    EXPECT_EQ(r.writes[0].first_bytes[0], 125);  // -1000 / 256 = -3, + 128

    clear_recording();
    set_recording_caps(0x10000);  // companded
    h.send(cmd_output_close);
    EXPECT_EQ(h.answer(cmd_output_close), 0);
    h.send(cmd_seek, 0, 1);
    EXPECT_EQ(h.answer(cmd_seek), 0);
    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_end_of_input));
    r = recording();
    ASSERT_EQ(r.writes.size(), 1u);
    EXPECT_EQ(r.writes[0].first_bytes[0], audio::companded_byte(-1000 / 32));
}

TEST(Companding, CurveThroughItsAnchors) {
    const std::pair<int, int> anchors[] = {
        {0, 0x7E},  {1, 0x7D},  {8, 0x76},   {32, 0x67},   {128, 0x4D},  {512, 0x2F},  {1023, 0x1F},
        {-1, 0xFE}, {-8, 0xF7}, {-32, 0xE7}, {-128, 0xCD}, {-512, 0xAF}, {-1024, 0x9F}};
    for (auto [index, byte] : anchors) EXPECT_EQ(audio::companded_byte(index), byte) << index;
    for (int i = 1; i < 1024; ++i)
        EXPECT_LE(audio::companded_byte(i), audio::companded_byte(i - 1)) << i;
    EXPECT_EQ(audio::companded_byte(5000), audio::companded_byte(1023))
        << "out of range is clamped";
}

// 300 frames of 1000 bytes at 800 kbit/s: each frame is 1/100 s, 3 s in all.
std::vector<uint8_t> three_seconds() {
    FakeFrame frame;
    frame.bitrate = 800;
    frame.length = 1000;
    frame.count = 4;
    return fake_stream(frame, 300);
}

std::vector<Note> timecodes_of_playing(Harness& h) {
    h.send(cmd_play);
    EXPECT_TRUE(wait_state(h, state_end_of_input));
    return of_code(h.seen, ntf_input_timecode);
}

TEST_F(Playing, TimecodeOncePerSecondAtGranularity100) {
    open("three", three_seconds());
    Note duration = of_code(h.seen, ntf_input_duration).back();
    EXPECT_EQ(duration.payload.value, 3u);
    h.take_seen();
    std::vector<Note> codes = timecodes_of_playing(h);
    ASSERT_GE(codes.size(), 3u);
    ASSERT_LE(codes.size(), 4u);
    for (size_t i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(codes[i].payload.four[3], 0);
        EXPECT_EQ(codes[i].payload.four[2], i);
    }
}

TEST_F(Playing, TimecodeAtGranularity25) {
    h.send(cmd_set_input_timecode_granularity, 25);
    open("three", three_seconds());
    h.take_seen();
    std::vector<Note> codes = timecodes_of_playing(h);
    ASSERT_GE(codes.size(), 11u);
    ASSERT_LE(codes.size(), 13u);
    for (const Note& n : codes) EXPECT_EQ(n.payload.four[3] % 25, 0);
}

TEST_F(Playing, XingTagGivesDurationAndTableOfContents) {
    // A first frame of 200 bytes carrying "Xing" at offset 36 (MPEG-1 stereo).
    FakeFrame head;
    head.length = 200;
    head.count = 0;
    std::vector<uint8_t> bytes = fake_frame(head);
    memcpy(bytes.data() + 36, "Xing\0\0\0\x07", 8);
    uint32_t frames = 38282;  // 38282 * 1152 / 44100 = 1000.02 s
    for (int i = 0; i < 4; ++i) bytes[44 + i] = static_cast<uint8_t>(frames >> (24 - 8 * i));
    for (int i = 0; i < 100; ++i) bytes[52 + i] = static_cast<uint8_t>(i * i * 255 / 9801);
    std::vector<uint8_t> rest = fake_stream(FakeFrame{}, 20);
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    open("vbr", bytes);
    EXPECT_EQ(of_code(h.seen, ntf_input_duration).back().payload.value, 1000u);

    long long size = static_cast<long long>(bytes.size());
    h.send(cmd_seek, 1, 2);
    EXPECT_EQ(h.answer(cmd_seek), 0);
    EXPECT_EQ(memory_stats().last_seek,
              static_cast<long long>(size * (50 * 50 * 255 / 9801) / 256.0));
    h.send(cmd_seek, 1, 1);
    EXPECT_EQ(h.answer(cmd_seek), 0);
    EXPECT_EQ(memory_stats().last_seek, size) << "the last entry runs to 256";
}

TEST_F(Playing, OpenFailures) {
    h.send(cmd_input_open, "mem:missing");
    EXPECT_EQ(h.answer(cmd_input_open), -513);
    EXPECT_TRUE(of_code(h.seen, ntf_input_state).empty()) << "no instance, no open step";

    h.send(cmd_input_open, "/no/such/dir/song.mp3");  // through the file input
    EXPECT_EQ(h.answer(cmd_input_open), -513);
    std::vector<Note> debug = of_code(h.seen, ntf_debug);
    ASSERT_FALSE(debug.empty());
    EXPECT_EQ(debug.back().text, "cannot open input file (file not found)");
    EXPECT_EQ(of_code(h.seen, ntf_input_state).back().payload.byte, 1);
    h.take_seen();

    h.send(cmd_play);  // no name stored: "" goes to the file input, which refuses it
    EXPECT_EQ(h.answer(cmd_play), -513) << "the stored name is the failed path";
}

TEST(Engine, PlayWithNoInputNameIsRefused) {
    Harness h;
    h.send(cmd_play);
    EXPECT_EQ(h.answer(cmd_play), -101);
    EXPECT_TRUE(of_code(h.seen, ntf_player_state).empty());
    EXPECT_EQ(of_code(h.seen, ntf_debug).back().text,
              "internal error (null params or null/empty input name)");
}

TEST_F(Playing, ReopeningTheSameNameKeepsTheInstance) {
    MemoryStats before = memory_stats();
    open("same", fake_stream(FakeFrame{}, 2));
    open("same", fake_stream(FakeFrame{}, 2));
    MemoryStats after = memory_stats();
    EXPECT_EQ(after.news - before.news, 1);
    EXPECT_EQ(after.opens - before.opens, 2);
    h.send(cmd_input_close);
    EXPECT_EQ(h.answer(cmd_input_close), 0);
    open("same", fake_stream(FakeFrame{}, 2));
    EXPECT_EQ(memory_stats().news - before.news, 1);
}

TEST_F(Playing, SeekPauseStopAndSnapshotsStayInside) {
    h.send(cmd_set_output_feedback_rate, 200);
    open("long", three_seconds());
    h.send(cmd_seek, 1, 3);
    Note n;
    ASSERT_TRUE(h.wait_for(ntf_input_position, &n));
    EXPECT_EQ(n.payload.values.a, 1u);
    EXPECT_EQ(n.payload.values.b, 3u);
    ASSERT_TRUE(h.wait_for(ntf_input_timecode, &n));
    EXPECT_EQ(n.payload.four[2], 1) << "a third of 3 s";
    EXPECT_EQ(h.answer(cmd_seek), 0);

    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_playing));
    h.send(cmd_pause);
    ASSERT_TRUE(wait_state(h, state_paused));
    h.send(cmd_stop);
    ASSERT_TRUE(wait_state(h, state_stopped));
    EXPECT_EQ(memory_stats().last_seek, 0);
    h.sync();
    EXPECT_TRUE(of_code(h.seen, ntf_output_pcm_snapshot).empty());
    h.send(cmd_get_output_feedback_rate);
    ASSERT_TRUE(h.wait_for(ntf_output_feedback_rate, &n));
    EXPECT_EQ(n.payload.byte, 200);
}

// Modes 0x1 and 0x2 close the sound device when the music stops or pauses,
// so that other programs may use it; without them the device stays open.
struct ModeCase {
    const char* name;
    unsigned mode;
    unsigned command;
    int state;
    bool closes;
};

class PlayerModes : public Playing, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(PlayerModes, CloseTheOutputOnlyWhenAsked) {
    const ModeCase& m = GetParam();
    h.send(cmd_set_player_mode, m.mode);
    ASSERT_EQ(h.answer(cmd_set_player_mode), 0);
    open("modes", fake_stream(FakeFrame{}, 300000));
    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_playing));
    h.take_seen();
    h.send(m.command);
    ASSERT_TRUE(wait_state(h, m.state));
    h.sync();
    std::vector<Note> output_states = of_code(h.seen, ntf_output_state);
    EXPECT_EQ(recording().closes, m.closes ? 1 : 0);
    if (m.closes) {
        ASSERT_EQ(output_states.size(), 1u);
        EXPECT_EQ(output_states[0].payload.byte, 1) << "closed";
    } else {
        EXPECT_TRUE(output_states.empty());
    }
    // Playing again opens the output again where it was closed.
    int opens = recording().opens;
    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_playing));
    EXPECT_EQ(recording().opens, opens + (m.closes ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(
    Engine, PlayerModes,
    ::testing::Values(ModeCase{"StopClosesInMode1", 0x1, cmd_stop, state_stopped, true},
                      ModeCase{"PauseKeepsItInMode1", 0x1, cmd_pause, state_paused, false},
                      ModeCase{"PauseClosesInMode2", 0x2, cmd_pause, state_paused, true},
                      ModeCase{"StopKeepsItInMode2", 0x2, cmd_stop, state_stopped, false},
                      ModeCase{"StopKeepsItInMode0", 0x0, cmd_stop, state_stopped, false},
                      ModeCase{"PauseKeepsItInMode0", 0x0, cmd_pause, state_paused, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Naming another input or output while the slot is open reopens it with the
// new name.
TEST_F(Playing, NamingAnOpenSlotReopensItWithTheNewName) {
    put_memory_file("second", fake_stream(FakeFrame{}, 2));
    open("first", fake_stream(FakeFrame{}, 2));
    MemoryStats before = memory_stats();
    h.take_seen();
    h.send(cmd_set_input_name, "mem:second");
    EXPECT_EQ(h.answer(cmd_set_input_name), 0);
    std::vector<Note> names = of_code(h.seen, ntf_input_name);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].text, "mem:second");
    EXPECT_EQ(memory_stats().news, before.news + 1) << "a new instance for the new name";
    EXPECT_EQ(memory_stats().opens, before.opens + 1);

    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_end_of_input));
    Recording r = recording();
    h.take_seen();
    h.send(cmd_set_output_name, "rec:other");
    EXPECT_EQ(h.answer(cmd_set_output_name), 0);
    EXPECT_EQ(recording().opens, r.opens + 1);
    EXPECT_EQ(recording().closes, r.closes + 1);
    EXPECT_EQ(recording().last_name, "rec:other");
    names = of_code(h.seen, ntf_output_name);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].text, "rec:other");
}

// A stream that cannot seek (a pipe, standard input): no duration probe, a
// refused seek, and every frame still played.
TEST_F(Playing, NonSeekableInputPlaysWithoutProbeOrSeek) {
    put_memory_file("piped", three_seconds());
    long long seek_before = memory_stats().last_seek;
    h.send(cmd_input_open, "mem:pipe:piped");
    ASSERT_EQ(h.answer(cmd_input_open), 0);
    EXPECT_EQ(of_code(h.seen, ntf_input_caps).back().payload.value, 0u);
    EXPECT_EQ(of_code(h.seen, ntf_input_duration).back().payload.value, 0u) << "not probed";
    EXPECT_TRUE(of_code(h.seen, ntf_input_stream_info).empty()) << "nothing read ahead";
    EXPECT_EQ(memory_stats().last_seek, seek_before);
    h.send(cmd_seek, 1, 2);
    EXPECT_EQ(h.answer(cmd_seek), -1);
    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_end_of_input));
    EXPECT_EQ(recording().writes.size(), 300u);
    EXPECT_EQ(memory_stats().last_seek, seek_before);
}

// An output whose device stopped taking sound ends the stream with an error
// instead of losing every block in turn.
TEST_F(Playing, AnOutputThatStopsTakingSoundEndsTheStream) {
    open("refused", fake_stream(FakeFrame{}, 50));
    h.send(cmd_set_output_name, "rec:fail");
    ASSERT_EQ(h.answer(cmd_set_output_name), 0);
    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_playing));
    ASSERT_TRUE(wait_state(h, state_stopped));
    std::vector<Note> errors = of_code(h.seen, ntf_error);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].payload.error.code, -503);
    EXPECT_EQ(errors[0].text, "the output stopped taking sound");
}

// Debug reports pass when their level is at most the debug level, and their
// text is cut to the 1,024 bytes of the report buffer.
TEST_F(Playing, DebugLevelFiltersReportsAndLongTextsAreCut) {
    open("debug", fake_stream(FakeFrame{}, 1));
    h.send(cmd_output_open, "rec:debug");
    ASSERT_EQ(h.answer(cmd_output_open), 0);
    h.send(cmd_set_debug_level, 1);
    ASSERT_EQ(h.answer(cmd_set_debug_level), 0);
    h.take_seen();
    const char* texts[] = {"level zero", "level one", "level two"};
    for (int level = 0; level < 3; ++level) {
        h.send(cmd_output_send_message, level, texts[level],
               static_cast<int>(strlen(texts[level])));
        EXPECT_EQ(h.answer(cmd_output_send_message), 0);
    }
    std::vector<Note> reports = of_code(h.seen, ntf_debug);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].text, "level zero");
    EXPECT_EQ(reports[1].text, "level one (why)");
    EXPECT_EQ(reports[1].payload.debug.source, 7) << "the module's id";
    EXPECT_EQ(reports[1].payload.debug.level, 1);

    // Longer than the buffer: the first 1,023 bytes and the terminator.
    std::string text(3000, 'x');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
    h.take_seen();
    h.send(cmd_output_send_message, 0, text.c_str(), 3000);
    EXPECT_EQ(h.answer(cmd_output_send_message), 0);
    reports = of_code(h.seen, ntf_debug);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].text, text.substr(0, 1023));

    // Debug level 0 passes level 0 only; the mask silences even that.
    h.send(cmd_set_debug_level, 0);
    h.send(cmd_output_send_message, 1, "hidden", 6);
    h.send(cmd_set_notification_mask, 0xFFFFFFFFu & ~static_cast<unsigned>(mask_debug));
    h.send(cmd_output_send_message, 0, "masked", 6);
    h.send(cmd_set_notification_mask, 0xFFFFFFFFu);
    h.take_seen();
    h.sync();
    EXPECT_TRUE(of_code(h.seen, ntf_debug).empty());
}

// CPU time the whole process spent, in milliseconds.
double process_cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// CPU the process spends, and notifications that arrive, over `ms` of a
// player left alone.
struct Idle {
    double cpu_ms;
    size_t reports;  // debug notifications
};
Idle measure_idle(Harness& h, int ms) {
    h.sync();
    h.take_seen();
    double before = process_cpu_ms();
    usleep(static_cast<useconds_t>(ms) * 1000);
    Idle idle{process_cpu_ms() - before, 0};
    h.sync();
    idle.reports = of_code(h.seen, ntf_debug).size();
    return idle;
}

// A command that leaves a slot the player needs closed while it plays: the
// player stops instead of going round its loop reporting the missing slot.
struct RefusedSlot {
    const char* name;
    unsigned command;
    const char* text;
};

class RefusedWhilePlaying : public Playing, public ::testing::WithParamInterface<RefusedSlot> {};

TEST_P(RefusedWhilePlaying, StopsTheSongInsteadOfSpinning) {
    const RefusedSlot& r = GetParam();
    open("endless", fake_stream(FakeFrame{}, 300000));
    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_playing));
    h.send(r.command, r.text);
    EXPECT_LT(h.answer(r.command), 0);
    Note n;
    bool stopped = false;
    for (const Note& seen : h.seen)
        if (seen.code == ntf_player_state && seen.payload.byte == state_stopped) stopped = true;
    for (int i = 0; i < 50 && !stopped; ++i) {
        if (!h.receive(&n, 100)) continue;
        stopped = n.code == ntf_player_state && n.payload.byte == state_stopped;
    }
    EXPECT_TRUE(stopped) << "the player still claims to play";
    Idle idle = measure_idle(h, 300);
    EXPECT_LT(idle.cpu_ms, 100.0) << "the player thread spins";
    EXPECT_EQ(idle.reports, 0u) << "the missing slot is reported at every turn";
}

INSTANTIATE_TEST_SUITE_P(
    Engine, RefusedWhilePlaying,
    ::testing::Values(RefusedSlot{"EmptyInputName", cmd_set_input_name, ""},
                      RefusedSlot{"OutputNameOfNoDevice", cmd_set_output_name, "/dev/wave/12"},
                      RefusedSlot{"OutputOpenOfNoDevice", cmd_output_open, "/dev/wave/12"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Playing, StormOfRandomCommands) {
    put_memory_file("storm", three_seconds());
    std::mt19937 random(1234);
    const char* texts[] = {"mem:storm", "", "rec:x", "mem:none", "/no/such.so", "A.B", "x@y"};
    unsigned char block[64] = {};
    for (int i = 0; i < 3000; ++i) {
        unsigned code = 2 + random() % 118;  // never cmd_exit; includes garbage codes
        const char* text = texts[random() % 7];
        int a = static_cast<int>(random() % 7) - 2;
        switch (code) {
            case cmd_input_open:
            case cmd_output_open:
            case cmd_set_input_name:
            case cmd_set_output_name:
            case cmd_input_module_register:
            case cmd_output_module_register:
            case cmd_get_environment_integer:
            case cmd_get_environment_string:
            case cmd_unset_environment: h.send(code, text); break;
            case cmd_input_filter_add:
            case cmd_output_filter_add:
            case cmd_input_filter_remove:
            case cmd_output_filter_remove:
            case cmd_set_environment_integer: h.send(code, text, a); break;
            case cmd_set_environment_string: h.send(code, text, text); break;
            case cmd_input_send_message:
            case cmd_output_send_message: h.send(code, a, block, 64); break;
            case cmd_set_codec_equalizer:
            case ntf_codec_equalizer: h.send(code, a > 0 ? block : nullptr); break;
            default:
                // Any shape may read a string from any argument: give it text
                // everywhere; the integers get the pointer's bits.
                h.send(code, text, text, text, text, text);
        }
        if (i % 200 == 0) {
            h.send(cmd_set_notification_mask, 0xFFFFFFFFu);
            h.sync();
            // A player stuck reporting a missing slot floods the queue.
            EXPECT_LT(h.take_seen().size(), 5000u) << "after command " << i;
        }
    }
    h.send(cmd_set_notification_mask, 0xFFFFFFFFu);
    h.sync();
    // Whatever the storm left open, a player that is not playing rests.
    h.send(cmd_input_close);
    h.sync();
    Idle idle = measure_idle(h, 300);
    EXPECT_LT(idle.cpu_ms, 100.0);
    EXPECT_EQ(idle.reports, 0u);
}

}  // namespace

// The real decoder end to end: a variable-bit-rate MP3 made by lame carries
// a "Xing" frame, so its duration comes from the frame count; the stream
// plays into a WAV file through the file output.
namespace {

std::string make_vbr_mp3(const std::string& dir) {
    const std::string wav = dir + "/tone.wav", mp3 = dir + "/tone.mp3";
    const int rate = 44100, seconds = 3, frames = rate * seconds;
    std::vector<int16_t> samples;
    samples.reserve(size_t(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        int16_t v = static_cast<int16_t>(8000 * std::sin(i * 2 * M_PI * (220 + i / 500) / rate));
        samples.push_back(v);
        samples.push_back(static_cast<int16_t>(v / 2));
    }
    if (!test_support::WriteWav(wav, rate, 2, 16, samples)) return "";
    return test_support::LameEncode(wav, mp3, "-V 4") ? mp3 : "";
}

TEST(EngineWithDecoder, VbrFileDurationAndConversion) {
    if (!test_support::HaveTool("lame")) GTEST_SKIP() << "lame is not installed";
    test_support::TempDir temp("engine_vbr");
    const std::string dir = temp.str();
    std::string mp3 = make_vbr_mp3(dir);
    ASSERT_FALSE(mp3.empty());
    std::string out = dir + "/out.wav";

    Harness h(nullptr);  // the library's own decoder
    h.send(cmd_set_player_mode, 4);
    h.send(cmd_set_output_name, ("wav:" + out).c_str());
    h.send(cmd_input_open, mp3.c_str());
    EXPECT_EQ(h.answer(cmd_input_open), 0);
    EXPECT_EQ(of_code(h.seen, ntf_input_duration).back().payload.value, 3u);
    Note info = of_code(h.seen, ntf_input_stream_info).back();
    EXPECT_EQ(info.payload.stream_info.level, 1);
    EXPECT_EQ(info.payload.stream_info.layer, 3);
    EXPECT_EQ(info.payload.stream_info.frequency, 44100);
    h.send(cmd_play);
    ASSERT_TRUE(wait_state(h, state_end_of_input));
    Note closed;
    ASSERT_TRUE(h.wait_for(ntf_output_state, &closed));
    EXPECT_EQ(closed.payload.byte, 1);

    FILE* f = fopen(out.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char header[44];
    ASSERT_EQ(fread(header, 1, 44, f), 44u);
    fseek(f, 0, SEEK_END);
    long size = ftell(f);
    fclose(f);
    uint32_t data =
        header[40] | header[41] << 8 | header[42] << 16 | static_cast<uint32_t>(header[43]) << 24;
    EXPECT_EQ(static_cast<long>(data) + 44, size);
    EXPECT_GE(data, 3u * 44100 * 4) << "three seconds of stereo samples";
}

}  // namespace
