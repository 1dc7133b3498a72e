// The wave output module on the layer's null sound device: device names,
// the ring of buffers played in order, draining and discarding, and the
// volume arithmetic.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "audio/engine.h"
#include "audio/modules/wave_output.h"
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

}  // namespace
