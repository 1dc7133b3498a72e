// The wave output module on the layer's null sound device: device names,
// the ring of buffers played in order, draining and discarding, and the
// volume arithmetic.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "audio/engine.h"
#include "audio/modules/wave_output.h"
#include "audio/registry.h"
#include "sound/null_device.h"

namespace {

// The audio tests never open the real sound device (the engine's wave
// output answers module queries too): the null device stands in for it.
const bool null_device_by_default = [] { return setenv("TINTO_AUDIO", "null-instant", 0) == 0; }();

class WaveOutput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::NullInstant));
        win::sound::ClearNullDeviceCapture();
        wave_output_register(&out);
        engine = engine_create(nullptr);
    }
    void TearDown() override {
        if (instance) {
            out.close(instance);
            out.delete_instance(instance);
        }
        engine_destroy(engine);
        win::SetSoundBackend(win::SoundBackend::Automatic);
    }
    void open(const char* name) {
        ASSERT_EQ(out.new_instance(&instance, name, &entry, engine), 0);
        ASSERT_EQ(out.open(instance), 0);
    }
    // Writes one block of `frames` stereo frames whose left samples count up
    // from `first`.
    void play_block(int first, int frames) {
        int16_t* buffer = static_cast<int16_t*>(out.get_buffer(instance, 4608));
        ASSERT_NE(buffer, nullptr);
        for (int i = 0; i < frames; ++i) {
            buffer[2 * i] = static_cast<int16_t>(first + i);
            buffer[2 * i + 1] = static_cast<int16_t>(-(first + i));
        }
        EXPECT_EQ(out.write(instance, buffer, frames * 4, 2, 1, 44100), frames * 4);
    }

    OutputModule out{};
    Engine* engine = nullptr;
    ModuleEntry entry{};
    void* instance = nullptr;
};

TEST_F(WaveOutput, NamesAndDevices) {
    EXPECT_EQ(out.probe(""), 0);
    EXPECT_EQ(out.probe("/dev/wave/3"), 0);
    EXPECT_NE(out.probe("/dev/waves"), 0);
    EXPECT_NE(out.probe("song.wav"), 0);
    void* w = nullptr;
    EXPECT_EQ(out.new_instance(&w, "/dev/wave/12", &entry, engine), -512);
    EXPECT_EQ(w, nullptr);
    for (const char* name : {"", "/dev/wave/0", "/dev/wave/1"}) {
        ASSERT_EQ(out.new_instance(&w, name, &entry, engine), 0) << name;
        EXPECT_EQ(out.open(w), 0) << name;
        EXPECT_EQ(out.get_caps(w), 0x007FFFFFu);
        out.close(w);
        out.delete_instance(w);
    }
    ASSERT_EQ(out.new_instance(&w, "/dev/wave/9", &entry, engine), 0);
    EXPECT_EQ(out.open(w), -512) << "no such device";
    out.delete_instance(w);

    ModuleInfo info{};
    EXPECT_EQ(out.query(&info, 3), 0);
    EXPECT_STREQ(info.name, "Win32 Sound Driver Interface");
    int count = info.index_or_count;
    EXPECT_GE(count, 2);
    info.index_or_count = 0;
    EXPECT_EQ(out.query(&info, 4), 0);
    EXPECT_STREQ(info.name, "/dev/wave/0");
    EXPECT_EQ(info.device_flags, 2);
    info.index_or_count = count;
    EXPECT_EQ(out.query(&info, 4), -101);
}

TEST_F(WaveOutput, BlocksPlayInOrderThroughTheRingAndCloseDrains) {
    open("");
    OutputControl format{2, 44100, 1, 0, 0, 0, 0};
    EXPECT_EQ(out.set_control(instance, &format, 0x7), 0);
    const int blocks = 150, frames = 1152;  // more than twice round the ring
    for (int b = 0; b < blocks; ++b) play_block(b * 100 + 1, frames);
    out.close(instance);
    // The device plays silence whenever it runs dry; our samples are never
    // zero, so leaving the silent frames out gives back exactly what we wrote.
    std::vector<int16_t> all = win::sound::NullDeviceSamples(), samples;
    for (size_t i = 0; i + 1 < all.size(); i += 2) {
        if (all[i] == 0 && all[i + 1] == 0) continue;
        samples.push_back(all[i]);
        samples.push_back(all[i + 1]);
    }
    ASSERT_EQ(samples.size(), static_cast<size_t>(blocks * frames * 2));
    for (int b = 0; b < blocks; ++b) {
        size_t at = static_cast<size_t>(b) * frames * 2;
        ASSERT_EQ(samples[at], b * 100 + 1) << "block " << b;
        ASSERT_EQ(samples[at + 3], -(b * 100 + 2)) << "block " << b;
    }
}

TEST_F(WaveOutput, VolumeAndBalanceArithmetic) {
    open("");
    OutputControl c{};
    c.pcm_level = 100;
    c.balance = 75;
    EXPECT_EQ(out.set_control(instance, &c, 0x30), 0);
    OutputControl read{};
    EXPECT_EQ(out.get_control(instance, &read, 0x30), 0);
    // Full level computes just below 65535: 0xFFFE, read back as 99.
    EXPECT_EQ(read.pcm_level, 99);
    EXPECT_EQ(read.balance, 75);

    // Balance alone rescales from the louder channel; 0 keeps only the left.
    c.balance = 0;
    out.set_control(instance, &c, 0x20);
    out.get_control(instance, &read, 0x30);
    EXPECT_EQ(read.balance, 0);
    EXPECT_EQ(read.pcm_level, 99);

    // A level set while muted is kept and applies at unmute.
    out.set_control(instance, nullptr, 0x80);
    c.pcm_level = 40;
    out.set_control(instance, &c, 0x10);
    out.set_control(instance, nullptr, 0x100);
    out.get_control(instance, &read, 0x10);
    EXPECT_EQ(read.pcm_level, 39);  // 40 * 655.35 = 26213.99, truncated, * 100 / 65535
}

TEST_F(WaveOutput, ResetDiscardsWhatIsQueued) {
    win::SetSoundBackend(win::SoundBackend::Automatic);
    ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::Null));  // real-time pace
    open("");
    for (int b = 0; b < 20; ++b) play_block(b, 1152);  // about half a second
    EXPECT_EQ(out.set_control(instance, nullptr, 0x200), 0);
    out.close(instance);
    EXPECT_LT(win::sound::NullDeviceSamples().size(), static_cast<size_t>(20 * 1152 * 2));
}

// The non-zero stereo frames the null device played, in order.
std::vector<int16_t> played_frames() {
    std::vector<int16_t> all = win::sound::NullDeviceSamples(), samples;
    for (size_t i = 0; i + 1 < all.size(); i += 2) {
        if (all[i] == 0 && all[i + 1] == 0) continue;
        samples.push_back(all[i]);
        samples.push_back(all[i + 1]);
    }
    return samples;
}

// A constant block of `frames` stereo frames.
void fill_block(int16_t* buffer, int frames, int16_t value) {
    for (int i = 0; i < 2 * frames; ++i) buffer[i] = value;
}

// Paused, the device takes nothing and keeps what is queued; resumed, it
// plays on from where it stopped, nothing lost or repeated.
TEST_F(WaveOutput, PauseHoldsTheQueueAndResumePlaysItOn) {
    open("");
    OutputControl format{2, 44100, 1, 0, 0, 0, 0};
    ASSERT_EQ(out.set_control(instance, &format, 0x7), 0);
    play_block(1, 1152);
    ASSERT_TRUE(win::sound::WaitNullDeviceIdle(std::chrono::seconds(5)));
    ASSERT_EQ(out.set_control(instance, nullptr, 0x400), 0);  // pause
    size_t before = played_frames().size();
    for (int b = 1; b < 5; ++b) play_block(b * 2000 + 1, 1152);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(played_frames().size(), before) << "the paused device played";
    ASSERT_EQ(out.set_control(instance, nullptr, 0x800), 0);  // resume
    out.close(instance);                                      // drains
    std::vector<int16_t> samples = played_frames();
    ASSERT_EQ(samples.size(), 5u * 1152 * 2);
    for (int b = 1; b < 5; ++b)
        EXPECT_EQ(samples[static_cast<size_t>(b) * 1152 * 2], b * 2000 + 1) << "block " << b;
}

// The engine announces the format on the first block after every open and
// the module reopens the device for it: the level, balance and mute the
// listener chose must reach the new device.
TEST_F(WaveOutput, LevelAndBalanceSurviveAFormatChange) {
    open("");
    OutputControl c{};
    c.pcm_level = 50;
    c.balance = 25;  // the right channel at half the left
    ASSERT_EQ(out.set_control(instance, &c, 0x30), 0);
    OutputControl format{2, 22050, 1, 0, 0, 0, 0};
    ASSERT_EQ(out.set_control(instance, &format, 0x7), 0);
    int16_t* buffer = static_cast<int16_t*>(out.get_buffer(instance, 4608));
    ASSERT_NE(buffer, nullptr);
    fill_block(buffer, 1152, 20000);
    ASSERT_EQ(out.write(instance, buffer, 4608, 2, 1, 22050), 4608);
    out.close(instance);
    std::vector<int16_t> samples = played_frames();
    ASSERT_GE(samples.size(), 200u);
    // Level 50 is 32767 of 65535 on the louder (left) channel.
    size_t middle = samples.size() / 2 & ~size_t(1);
    EXPECT_NEAR(samples[middle], 10000, 100);
    EXPECT_NEAR(samples[middle + 1], 5000, 100);
    OutputControl read{};
    out.get_control(instance, &read, 0x30);
    EXPECT_EQ(read.pcm_level, 49);
    EXPECT_EQ(read.balance, 25);
}

TEST_F(WaveOutput, MuteSurvivesAFormatChange) {
    open("");
    ASSERT_EQ(out.set_control(instance, nullptr, 0x80), 0);
    OutputControl format{2, 32000, 0, 0, 0, 0, 0};
    ASSERT_EQ(out.set_control(instance, &format, 0x6), 0);
    for (int b = 0; b < 4; ++b) play_block(b * 1000 + 1, 1152);
    out.close(instance);
    EXPECT_TRUE(played_frames().empty()) << "the muted music came back";

    // Unmuting on the reopened device brings the samples back.
    win::sound::ClearNullDeviceCapture();
    ASSERT_EQ(out.open(instance), 0);
    ASSERT_EQ(out.set_control(instance, &format, 0x6), 0);
    play_block(1, 1152);
    out.close(instance);
    EXPECT_FALSE(played_frames().empty());
}

// The playback rate watched in "OUTPUT.WAVE.PLAYBACK-RATE", whichever type
// the variable was created with; half speed plays each block twice as long.
struct RateCase {
    const char* name;
    bool as_string;
    const char* value;
    double expected_factor;  // played frames over written frames
};

class PlaybackRate : public WaveOutput, public ::testing::WithParamInterface<RateCase> {};

TEST_P(PlaybackRate, IsReadAsWhatTheVariableIsAndKeptAcrossReopens) {
    const RateCase& rc = GetParam();
    open("");
    const char* name = "OUTPUT.WAVE.PLAYBACK-RATE";
    if (rc.as_string)
        ASSERT_EQ(variable_set_string(engine, name, rc.value), 0);
    else
        ASSERT_EQ(
            variable_set_integer(engine, name, static_cast<int>(strtol(rc.value, nullptr, 0))), 0);
    OutputControl format{2, 44100, 1, 0, 0, 0, 0};
    ASSERT_EQ(out.set_control(instance, &format, 0x7), 0);  // reopens the device
    const int blocks = 8, frames = 1152;
    for (int b = 0; b < blocks; ++b) play_block(b * 2000 + 1, frames);
    out.close(instance);
    double factor = static_cast<double>(played_frames().size() / 2) / (blocks * frames);
    EXPECT_NEAR(factor, rc.expected_factor, 0.05) << rc.name;
}

INSTANTIATE_TEST_SUITE_P(
    WaveOutput, PlaybackRate,
    ::testing::Values(RateCase{"HalfAsInteger", false, "0x8000", 2.0},
                      RateCase{"HalfAsString", true, "32768", 2.0},
                      RateCase{"HalfAsHexString", true, "0x8000", 2.0},
                      RateCase{"GarbageStringIsRefused", true, "fast please", 1.0},
                      RateCase{"ZeroIsRefused", false, "0", 1.0},
                      RateCase{"AbsurdRateIsRefused", true, "99999999999", 1.0}),
    [](const auto& info) { return std::string(info.param.name); });

// A device that stops taking sound: the ring fills, both waits give up, and
// no buffer the device still holds is handed back to be written over.
TEST_F(WaveOutput, StalledDeviceEndsTheStreamInsteadOfReusingABuffer) {
    wave_output_set_wait_limit(2);  // 20 ms instead of 50 s
    open("");
    win::sound::HoldNullDevice(true);
    std::vector<void*> handed;
    int refused = 0;
    for (int b = 0; b < 70 && !refused; ++b) {
        void* buffer = out.get_buffer(instance, 4608);
        if (!buffer) {
            ++refused;
            EXPECT_EQ(out.write(instance, handed.front(), 4608, 2, 1, 44100), -503)
                << "a block from elsewhere is refused too";
            break;
        }
        EXPECT_EQ(std::count(handed.begin(), handed.end(), buffer), 0)
            << "block " << b << " got a buffer the device still holds";
        handed.push_back(buffer);
        fill_block(static_cast<int16_t*>(buffer), 1152, static_cast<int16_t>(b + 1));
        ASSERT_EQ(out.write(instance, buffer, 4608, 2, 1, 44100), 4608);
    }
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(handed.size(), 64u) << "the whole ring, then nothing";
    out.close(instance);  // resets the stalled device instead of waiting on it
    // Nothing of the stalled blocks is left to play once the device runs.
    win::sound::HoldNullDevice(false);
    ASSERT_TRUE(win::sound::WaitNullDeviceIdle(std::chrono::seconds(5)));
    win::sound::ClearNullDeviceCapture();
    // Reopened, the device plays again.
    ASSERT_EQ(out.open(instance), 0);
    play_block(1, 1152);
    out.close(instance);
    std::vector<int16_t> samples = played_frames();
    ASSERT_EQ(samples.size(), 2u * 1152);
    EXPECT_EQ(samples[0], 1) << "the new block, not a stalled one";
    wave_output_set_wait_limit(0);
}

}  // namespace
