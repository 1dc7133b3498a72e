// PlaySoundA on the null device.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "sound/pcm_format.h"
#include "sound_helpers.h"
#include "support/temp_dir.h"
#include "support/wav.h"

using namespace sound_test;
using win::sound::NullDeviceSamples;
using win::sound::WaitNullDeviceIdle;

namespace {

const HMODULE kModule = reinterpret_cast<HMODULE>(uintptr_t(0x400000));
std::map<int, std::vector<uint8_t>> g_resources;

bool Lookup(HMODULE module, LPCSTR name, const void** data, DWORD* size) {
    if (module != kModule || !IS_INTRESOURCE(name)) return false;
    auto it = g_resources.find(int(reinterpret_cast<uintptr_t>(name)));
    if (it == g_resources.end()) return false;
    *data = it->second.data();
    *size = DWORD(it->second.size());
    return true;
}

constexpr DWORD kClickFlags = SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_NOWAIT;

class PlaySoundTest : public ::testing::Test {
protected:
    void SetUp() override { Use(win::SoundBackend::NullInstant); }
    void TearDown() override {
        PlaySoundA(nullptr, nullptr, 0);
        win::SetWaveResourceLookup(nullptr);
        g_resources.clear();
    }
    void Use(win::SoundBackend backend) {
        ASSERT_TRUE(win::SetSoundBackend(backend));
        win::sound::ClearNullDeviceCapture();
        win::SetWaveResourceLookup(&Lookup);
    }
};

TEST_F(PlaySoundTest, ClickFlagsHaveTheirWindowsValue) { EXPECT_EQ(0x42007u, kClickFlags); }

TEST_F(PlaySoundTest, PlaysAResourceConvertedToTheDevice) {
    // Mono 22050 Hz, as the thumbnail sound is: twice the frames at 44100 Hz.
    g_resources[155] = test_support::WavImage(22050, 1, 16, Sine(500, 22050, 2205));
    ASSERT_TRUE(PlaySoundA(MAKEINTRESOURCEA(155), kModule, kClickFlags));
    ASSERT_TRUE(WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    EXPECT_NEAR(4410.0, double(SoundingFrames(got)), 3);
    EXPECT_NEAR(500.0, MeasureFrequency(got, 0, 44100), 3);
    EXPECT_NEAR(500.0, MeasureFrequency(got, 1, 44100), 3);
}

TEST_F(PlaySoundTest, MissingSoundWithNoDefaultPlaysNothing) {
    EXPECT_FALSE(PlaySoundA(MAKEINTRESOURCEA(999), kModule, kClickFlags));
    g_resources[154] = {'R', 'I', 'F', 'F', 0, 0, 0, 0};  // there, but not a sound
    EXPECT_FALSE(PlaySoundA(MAKEINTRESOURCEA(154), kModule, kClickFlags));
    EXPECT_FALSE(PlaySoundA("no/such/file.wav", nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT));
    ASSERT_TRUE(WaitNullDeviceIdle(std::chrono::seconds(30)));
    EXPECT_TRUE(NullDeviceSamples().empty());

    // Without SND_NODEFAULT the default sound stands in.
    EXPECT_FALSE(PlaySoundA(MAKEINTRESOURCEA(999), kModule, SND_RESOURCE | SND_ASYNC));
    ASSERT_TRUE(WaitNullDeviceIdle(std::chrono::seconds(30)));
    EXPECT_GT(SoundingFrames(NullDeviceSamples()), 1000u);
}

TEST_F(PlaySoundTest, ANewSoundReplacesThePlayingOne) {
    Use(win::SoundBackend::Null);  // real-time pace, so that the first is still playing
    g_resources[1] = test_support::WavImage(44100, 1, 16, std::vector<int16_t>(44100, 1000));
    g_resources[2] = test_support::WavImage(44100, 1, 16, std::vector<int16_t>(2205, 2000));
    ASSERT_TRUE(PlaySoundA(MAKEINTRESOURCEA(1), kModule, kClickFlags));
    ASSERT_TRUE(WaitFor([] { return !NullDeviceSamples().empty(); }));
    ASSERT_TRUE(PlaySoundA(MAKEINTRESOURCEA(2), kModule, kClickFlags));
    ASSERT_TRUE(WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    auto second = std::find(got.begin(), got.end(), 2000);
    ASSERT_NE(got.end(), second);
    EXPECT_LT(second - got.begin(), 44100 * 2) << "the first sound played to its end";
    EXPECT_EQ(2205 * 2, std::count(got.begin(), got.end(), 2000));
    EXPECT_EQ(got.end(), std::find(second, got.end(), 1000)) << "the first sound came back";
}

TEST_F(PlaySoundTest, NoStopKeepsThePlayingSoundAndNullStopsIt) {
    Use(win::SoundBackend::Null);
    g_resources[1] = test_support::WavImage(44100, 1, 16, std::vector<int16_t>(44100 * 5, 1000));
    g_resources[2] = test_support::WavImage(44100, 1, 16, std::vector<int16_t>(441, 2000));
    ASSERT_TRUE(PlaySoundA(MAKEINTRESOURCEA(1), kModule, kClickFlags));
    EXPECT_FALSE(PlaySoundA(MAKEINTRESOURCEA(2), kModule, kClickFlags | SND_NOSTOP));
    ASSERT_TRUE(PlaySoundA(nullptr, nullptr, 0));
    ASSERT_TRUE(WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    EXPECT_LT(got.size(), 44100u * 2) << "stopping took too long";
    EXPECT_EQ(0, std::count(got.begin(), got.end(), 2000));
    // Nothing plays now, so SND_NOSTOP no longer holds a sound back.
    EXPECT_TRUE(PlaySoundA(MAKEINTRESOURCEA(2), kModule, kClickFlags | SND_NOSTOP));
}

TEST_F(PlaySoundTest, SynchronousPlayReturnsWhenTheSoundIsOver) {
    g_resources[3] = test_support::WavImage(11025, 2, 8, std::vector<int16_t>(2000, 0x2000));
    ASSERT_TRUE(PlaySoundA(MAKEINTRESOURCEA(3), kModule, SND_RESOURCE | SND_NODEFAULT));
    EXPECT_TRUE(PlaySoundA(MAKEINTRESOURCEA(3), kModule, kClickFlags | SND_NOSTOP))
        << "the synchronous sound was still playing";
}

TEST_F(PlaySoundTest, LoopsUntilStopped) {
    g_resources[4] = test_support::WavImage(44100, 1, 16, std::vector<int16_t>(100, 3000));
    ASSERT_TRUE(PlaySoundA(MAKEINTRESOURCEA(4), kModule, kClickFlags | SND_LOOP));
    ASSERT_TRUE(WaitFor([] { return NullDeviceSamples().size() > 10000; }));
    PlaySoundA(nullptr, nullptr, SND_PURGE);
    ASSERT_TRUE(WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    EXPECT_GT(std::count(got.begin(), got.end(), 3000), 10000 - 882);
}

TEST_F(PlaySoundTest, PlaysFilesWithWindowsPathsAndMemoryImages) {
    namespace fs = std::filesystem;
    test_support::TempDir temp("tinto_sound");
    const fs::path dir = temp.path();
    fs::create_directories(dir / "Sounds");
    std::vector<uint8_t> image =
        test_support::WavImage(22050, 1, 8, std::vector<int16_t>(220, 0x1000));
    ASSERT_TRUE(test_support::WriteFile(dir / "Sounds" / "pop.wav", image));
    std::string windows_path = dir.string() + "\\Sounds\\pop.wav";
    EXPECT_TRUE(PlaySoundA(windows_path.c_str(), nullptr, SND_FILENAME | SND_NODEFAULT));
    EXPECT_TRUE(
        PlaySoundA(reinterpret_cast<LPCSTR>(image.data()), nullptr, SND_MEMORY | SND_NODEFAULT));
    ASSERT_TRUE(WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    EXPECT_EQ(2 * 2 * 440, std::count(got.begin(), got.end(), 0x1000));
}

}  // namespace

namespace {

// Without a lookup of its own, SND_RESOURCE finds the WAVE resources linked
// into this executable (tests/platform/data/res_test.rc).
TEST_F(PlaySoundTest, PlaysTheExecutablesOwnResources) {
    win::SetWaveResourceLookup(nullptr);
    // click.wav: 22050 Hz mono, frames 0, 1000, -1000, 0.
    ASSERT_TRUE(PlaySoundA(MAKEINTRESOURCEA(9103), nullptr, kClickFlags));
    ASSERT_TRUE(WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    ASSERT_GE(got.size(), 16u);
    const int16_t expected[8] = {0, 500, 1000, 0, -1000, -500, 0, 0};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(expected[i], got[2 * i]) << "frame " << i;
        EXPECT_EQ(expected[i], got[2 * i + 1]) << "frame " << i;
    }
    EXPECT_TRUE(PlaySoundA("NamedSound", nullptr, kClickFlags));
    EXPECT_FALSE(PlaySoundA(MAKEINTRESOURCEA(9102), nullptr, kClickFlags))
        << "a bitmap is no sound";
}

#ifdef TINTO_CONTENT_RESOURCES
// The program's click sounds, in the formats the screens expect, play at
// their full length.
struct ClickSound {
    int id, channels, rate;
};

class ProgramClickSound : public PlaySoundTest, public ::testing::WithParamInterface<ClickSound> {};

TEST_P(ProgramClickSound, PlaysAtFullLength) {
    win::SetWaveResourceLookup(nullptr);
    const ClickSound s = GetParam();
    HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(s.id), "WAVE");
    ASSERT_NE(nullptr, res);
    win::sound::WaveImage wave;
    ASSERT_TRUE(
        win::sound::ParseWave(static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, res))),
                              SizeofResource(nullptr, res), &wave));
    EXPECT_EQ(s.channels, wave.format.channels);
    EXPECT_EQ(s.rate, wave.format.rate);
    EXPECT_EQ(16, wave.format.bits);

    win::sound::ClearNullDeviceCapture();
    ASSERT_TRUE(PlaySoundA(MAKEINTRESOURCEA(s.id), GetModuleHandleA(nullptr), kClickFlags));
    ASSERT_TRUE(WaitNullDeviceIdle(std::chrono::seconds(30)));
    size_t frames = wave.bytes / size_t(wave.format.FrameBytes()) * 44100 / size_t(s.rate);
    size_t captured = NullDeviceSamples().size() / 2;
    EXPECT_GE(captured, frames);
    EXPECT_LT(captured, frames + win::sound::kNullBlockFrames + 2);
}

INSTANTIATE_TEST_SUITE_P(Resources, ProgramClickSound,
                         ::testing::Values(ClickSound{153, 2, 22050}, ClickSound{154, 1, 44100},
                                           ClickSound{155, 1, 22050}, ClickSound{156, 1, 22050},
                                           ClickSound{157, 1, 22050}),
                         [](const ::testing::TestParamInfo<ClickSound>& info) {
                             return "sound" + std::to_string(info.param.id);
                         });
#endif

}  // namespace
