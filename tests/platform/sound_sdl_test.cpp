// The SDL2 audio backend, run with SDL's dummy driver so that it needs no
// sound card: a tone through waveOut and a resource through PlaySoundA.
#include <gtest/gtest.h>

#include <cstdlib>

#include "sound_helpers.h"

using namespace sound_test;

namespace {

std::vector<uint8_t> g_beep;

bool Lookup(HMODULE, LPCSTR name, const void** data, DWORD* size) {
    if (name != MAKEINTRESOURCEA(154)) return false;
    *data = g_beep.data();
    *size = DWORD(g_beep.size());
    return true;
}

class SdlSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::Sdl));
    }
    void TearDown() override {
        PlaySoundA(nullptr, nullptr, 0);
        win::SetWaveResourceLookup(nullptr);
        win::SetSoundBackend(win::SoundBackend::NullInstant);
    }
};

TEST_F(SdlSoundTest, PlaysAToneThroughWaveOut) {
    ASSERT_EQ(1u, waveOutGetNumDevs());
    WAVEOUTCAPSA caps{};
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutGetDevCapsA(WAVE_MAPPER, &caps, sizeof caps));
    EXPECT_STREQ("SDL audio output", caps.szPname);

    WAVEFORMATEX f{WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    HWAVEOUT h = nullptr;
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutOpen(&h, WAVE_MAPPER, &f, 0, 0, WAVE_ALLOWSYNC));
    std::vector<int16_t> tone = Sine(440, 22050, 2205);
    WAVEHDR header{};
    header.lpData = reinterpret_cast<LPSTR>(tone.data());
    header.dwBufferLength = DWORD(tone.size() * 2);
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutPrepareHeader(h, &header, sizeof header));
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutWrite(h, &header, sizeof header));
    EXPECT_TRUE(WaitFor([&] { return std::atomic_ref<DWORD>(header.dwFlags).load() & WHDR_DONE; }));
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    waveOutGetPosition(h, &time, sizeof time);
    EXPECT_EQ(2205u, time.u.sample);
    EXPECT_EQ(MMSYSERR_NOERROR, waveOutUnprepareHeader(h, &header, sizeof header));
    EXPECT_EQ(MMSYSERR_NOERROR, waveOutClose(h));
}

TEST_F(SdlSoundTest, PlaysAResourceThroughPlaySound) {
    g_beep = test_support::WavImage(44100, 1, 16, Sine(660, 44100, 4410));
    win::SetWaveResourceLookup(&Lookup);
    HMODULE self = reinterpret_cast<HMODULE>(uintptr_t(0x400000));
    // Synchronous, so that it returns only once SDL has pulled the whole sound.
    EXPECT_TRUE(PlaySoundA(MAKEINTRESOURCEA(154), self, SND_RESOURCE | SND_NODEFAULT));
    EXPECT_TRUE(PlaySoundA(MAKEINTRESOURCEA(154), self, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT));
}

}  // namespace
