// waveOut* on the null device, consuming instantly.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "sound_helpers.h"

using namespace sound_test;
using win::sound::NullDeviceSamples;

namespace {

WAVEFORMATEX Format(int rate, int channels, int bits) {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = WORD(channels);
    f.nSamplesPerSec = DWORD(rate);
    f.wBitsPerSample = WORD(bits);
    f.nBlockAlign = WORD(channels * bits / 8);
    f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
    return f;
}

bool IsDone(const WAVEHDR& h) { return std::atomic_ref<const DWORD>(h.dwFlags).load() & WHDR_DONE; }

// A prepared buffer of 16-bit samples with its header.
struct Buffer {
    std::vector<int16_t> samples;
    WAVEHDR header{};
    explicit Buffer(std::vector<int16_t> s) : samples(std::move(s)) {
        header.lpData = reinterpret_cast<LPSTR>(samples.data());
        header.dwBufferLength = DWORD(samples.size() * 2);
    }
};

class WaveOutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::NullInstant));
        win::sound::ClearNullDeviceCapture();
    }
    void TearDown() override {
        win::sound::HoldNullDevice(false);
        for (HWAVEOUT h : opened_) {
            waveOutReset(h);
            waveOutClose(h);
        }
    }
    HWAVEOUT Open(int rate, int channels, int bits, DWORD flags = CALLBACK_NULL,
                  DWORD_PTR callback = 0, DWORD_PTR instance = 0) {
        WAVEFORMATEX f = Format(rate, channels, bits);
        HWAVEOUT h = nullptr;
        EXPECT_EQ(MMSYSERR_NOERROR, waveOutOpen(&h, WAVE_MAPPER, &f, callback, instance, flags));
        if (h) opened_.push_back(h);
        return h;
    }
    void Play(HWAVEOUT h, Buffer& b) {
        ASSERT_EQ(MMSYSERR_NOERROR, waveOutPrepareHeader(h, &b.header, sizeof(WAVEHDR)));
        ASSERT_EQ(MMSYSERR_NOERROR, waveOutWrite(h, &b.header, sizeof(WAVEHDR)));
    }
    std::vector<HWAVEOUT> opened_;
};

TEST_F(WaveOutTest, DevicesAndCapabilities) {
    EXPECT_EQ(1u, waveOutGetNumDevs());
    WAVEOUTCAPSA caps{};
    EXPECT_EQ(MMSYSERR_NOERROR, waveOutGetDevCapsA(WAVE_MAPPER, &caps, sizeof caps));
    EXPECT_STREQ("Null audio output", caps.szPname);
    EXPECT_TRUE(caps.dwSupport & WAVECAPS_LRVOLUME);
    EXPECT_EQ(MMSYSERR_NOERROR, waveOutGetDevCapsA(0, &caps, sizeof caps));
    EXPECT_EQ(MMSYSERR_BADDEVICEID, waveOutGetDevCapsA(1, &caps, sizeof caps));
    EXPECT_EQ(MMSYSERR_INVALPARAM, waveOutGetDevCapsA(0, nullptr, sizeof caps));
}

TEST_F(WaveOutTest, OpenRefusesBadDevicesFormatsAndArguments) {
    HWAVEOUT h = nullptr;
    WAVEFORMATEX good = Format(44100, 2, 16);
    EXPECT_EQ(MMSYSERR_BADDEVICEID, waveOutOpen(&h, 1, &good, 0, 0, 0));
    EXPECT_EQ(MMSYSERR_INVALPARAM, waveOutOpen(&h, WAVE_MAPPER, nullptr, 0, 0, 0));
    EXPECT_EQ(MMSYSERR_INVALPARAM, waveOutOpen(nullptr, WAVE_MAPPER, &good, 0, 0, 0));
    EXPECT_EQ(MMSYSERR_INVALPARAM, waveOutOpen(&h, WAVE_MAPPER, &good, 0, 0, CALLBACK_FUNCTION));

    std::vector<WAVEFORMATEX> bad = {Format(44100, 2, 24), Format(44100, 3, 16),
                                     Format(7999, 1, 16), Format(48001, 1, 16), Format(0, 1, 8)};
    WAVEFORMATEX wrong_align = good;
    wrong_align.nBlockAlign = 2;
    WAVEFORMATEX not_pcm = good;
    not_pcm.wFormatTag = 3;
    bad.push_back(wrong_align);
    bad.push_back(not_pcm);
    for (const WAVEFORMATEX& f : bad) {
        EXPECT_EQ(WAVERR_BADFORMAT, waveOutOpen(&h, WAVE_MAPPER, &f, 0, 0, 0))
            << f.nSamplesPerSec << " Hz " << f.nChannels << " ch " << f.wBitsPerSample << " bit";
        EXPECT_EQ(nullptr, h);
    }
    // The extreme rates are accepted; a query opens nothing.
    WAVEFORMATEX low = Format(8000, 1, 8), high = Format(48000, 2, 16);
    EXPECT_EQ(MMSYSERR_NOERROR, waveOutOpen(nullptr, 0, &low, 0, 0, WAVE_FORMAT_QUERY));
    EXPECT_EQ(MMSYSERR_NOERROR, waveOutOpen(nullptr, WAVE_MAPPER, &high, 0, 0, WAVE_FORMAT_QUERY));
    EXPECT_EQ(WAVERR_BADFORMAT,
              waveOutOpen(nullptr, WAVE_MAPPER, &bad[0], 0, 0, WAVE_FORMAT_QUERY));
}

TEST_F(WaveOutTest, StaleAndBogusHandlesAreRefused) {
    HWAVEOUT h = Open(44100, 2, 16);
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutClose(h));
    opened_.clear();
    DWORD volume;
    WAVEHDR header{};
    for (HWAVEOUT bad : {h, HWAVEOUT(nullptr), reinterpret_cast<HWAVEOUT>(uintptr_t(12345))}) {
        EXPECT_EQ(MMSYSERR_INVALHANDLE, waveOutClose(bad));
        EXPECT_EQ(MMSYSERR_INVALHANDLE, waveOutPrepareHeader(bad, &header, sizeof header));
        EXPECT_EQ(MMSYSERR_INVALHANDLE, waveOutGetVolume(bad, &volume));
        EXPECT_EQ(MMSYSERR_INVALHANDLE, waveOutReset(bad));
    }
}

TEST_F(WaveOutTest, TooManyHandlesAreRefusedAsAllocated) {
    WAVEFORMATEX f = Format(22050, 1, 16);
    MMRESULT last = MMSYSERR_NOERROR;
    for (int i = 0; i < 40 && last == MMSYSERR_NOERROR; ++i) {
        HWAVEOUT h = nullptr;
        last = waveOutOpen(&h, WAVE_MAPPER, &f, 0, 0, 0);
        if (h) opened_.push_back(h);
    }
    EXPECT_EQ(MMSYSERR_ALLOCATED, last);
    EXPECT_GE(opened_.size(), 2u);
}

struct CallbackLog {
    std::mutex mutex;
    std::vector<std::pair<UINT, DWORD_PTR>> events;
};

void CALLBACK Record(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR param, DWORD_PTR) {
    auto* log = reinterpret_cast<CallbackLog*>(instance);
    std::lock_guard lock(log->mutex);
    log->events.push_back({message, param});
}

TEST_F(WaveOutTest, BuffersPlayInOrderAndComeBackDone) {
    CallbackLog log;
    HWAVEOUT h = Open(44100, 2, 16, CALLBACK_FUNCTION, reinterpret_cast<DWORD_PTR>(&Record),
                      reinterpret_cast<DWORD_PTR>(&log));
    std::vector<std::unique_ptr<Buffer>> buffers;
    std::vector<int16_t> expected;
    for (int i = 0; i < 5; ++i) {
        std::vector<int16_t> s(2 * (300 + 100 * i));
        for (size_t k = 0; k < s.size(); ++k) s[k] = int16_t(1000 * (i + 1) + int(k % 2));
        expected.insert(expected.end(), s.begin(), s.end());
        buffers.push_back(std::make_unique<Buffer>(s));
    }
    // Queued while paused, so that the device never runs dry between them.
    waveOutPause(h);
    for (auto& b : buffers) Play(h, *b);
    waveOutRestart(h);
    ASSERT_TRUE(WaitFor([&] { return IsDone(buffers.back()->header); }));
    for (auto& b : buffers) {
        EXPECT_TRUE(IsDone(b->header));
        EXPECT_FALSE(b->header.dwFlags & WHDR_INQUEUE);
    }
    ASSERT_TRUE(win::sound::WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    ASSERT_GE(got.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin()));

    MMTIME time{};
    time.wType = TIME_BYTES;
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutGetPosition(h, &time, sizeof time));
    EXPECT_EQ(expected.size() * 2, time.u.cb);
    time.wType = TIME_SAMPLES;
    waveOutGetPosition(h, &time, sizeof time);
    EXPECT_EQ(expected.size() / 2, time.u.sample);
    time.wType = TIME_SMPTE;  // not kept: answered in bytes
    waveOutGetPosition(h, &time, sizeof time);
    EXPECT_EQ(UINT(TIME_BYTES), time.wType);

    ASSERT_EQ(MMSYSERR_NOERROR, waveOutClose(h));
    opened_.clear();
    std::lock_guard lock(log.mutex);
    ASSERT_EQ(7u, log.events.size());
    EXPECT_EQ(UINT(WOM_OPEN), log.events.front().first);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(UINT(WOM_DONE), log.events[1 + i].first);
        EXPECT_EQ(reinterpret_cast<DWORD_PTR>(&buffers[i]->header), log.events[1 + i].second);
    }
    EXPECT_EQ(UINT(WOM_CLOSE), log.events.back().first);
}

TEST_F(WaveOutTest, HeaderRulesWhileQueued) {
    HWAVEOUT h = Open(44100, 2, 16);
    Buffer b(std::vector<int16_t>(2000, 100));
    EXPECT_EQ(WAVERR_UNPREPARED, waveOutWrite(h, &b.header, sizeof(WAVEHDR)));
    EXPECT_EQ(MMSYSERR_INVALPARAM, waveOutPrepareHeader(h, &b.header, sizeof(WAVEHDR) - 4));
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutPause(h));
    Play(h, b);
    EXPECT_TRUE(b.header.dwFlags & WHDR_INQUEUE);
    EXPECT_EQ(WAVERR_STILLPLAYING, waveOutWrite(h, &b.header, sizeof(WAVEHDR)));
    EXPECT_EQ(WAVERR_STILLPLAYING, waveOutUnprepareHeader(h, &b.header, sizeof(WAVEHDR)));
    EXPECT_EQ(WAVERR_STILLPLAYING, waveOutClose(h));
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutReset(h));
    EXPECT_EQ(MMSYSERR_NOERROR, waveOutUnprepareHeader(h, &b.header, sizeof(WAVEHDR)));
    EXPECT_FALSE(b.header.dwFlags & WHDR_PREPARED);
    EXPECT_EQ(MMSYSERR_NOERROR, waveOutClose(h));
    opened_.clear();
}

TEST_F(WaveOutTest, PauseHoldsAndRestartResumes) {
    HWAVEOUT h = Open(44100, 2, 16);
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutPause(h));
    Buffer a(std::vector<int16_t>(882, 500)), b(std::vector<int16_t>(882, 600));
    Play(h, a);
    Play(h, b);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(IsDone(a.header));
    EXPECT_TRUE(NullDeviceSamples().empty());
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutRestart(h));
    ASSERT_TRUE(WaitFor([&] { return IsDone(b.header); }));
    EXPECT_TRUE(IsDone(a.header));
    ASSERT_TRUE(win::sound::WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    ASSERT_GE(got.size(), 1764u);
    EXPECT_EQ(500, got[0]);
    EXPECT_EQ(600, got[1763]);
}

TEST_F(WaveOutTest, ResetReturnsEveryBufferAtOnceAndRewindsPosition) {
    HWAVEOUT h = Open(22050, 1, 8);
    waveOutPause(h);
    std::vector<std::unique_ptr<Buffer>> buffers;
    for (int i = 0; i < 8; ++i) {
        buffers.push_back(std::make_unique<Buffer>(std::vector<int16_t>(1000, 0x4040)));
        Play(h, *buffers.back());
    }
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutReset(h));
    for (auto& b : buffers) {
        EXPECT_TRUE(b->header.dwFlags & WHDR_DONE);
        EXPECT_FALSE(b->header.dwFlags & WHDR_INQUEUE);
    }
    MMTIME time{};
    time.wType = TIME_BYTES;
    waveOutGetPosition(h, &time, sizeof time);
    EXPECT_EQ(0u, time.u.cb);
    // The handle plays again after a reset (it stays paused until restarted).
    waveOutRestart(h);
    Buffer again(std::vector<int16_t>(100, 0x1010));
    Play(h, again);
    EXPECT_TRUE(WaitFor([&] { return IsDone(again.header); }));
}

TEST_F(WaveOutTest, VolumeAndBalanceScaleTheSamples) {
    HWAVEOUT h = Open(44100, 2, 16);
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutSetVolume(h, 0x8000FFFF));  // left full, right half
    DWORD volume = 0;
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutGetVolume(h, &volume));
    EXPECT_EQ(0x8000FFFFu, volume);
    std::vector<int16_t> s;
    for (int v : {20000, -20000, 12345, -1, 32767, -32768})
        s.insert(s.end(), {int16_t(v), int16_t(v)});
    Buffer b(s);
    Play(h, b);
    ASSERT_TRUE(WaitFor([&] { return IsDone(b.header); }));
    ASSERT_TRUE(win::sound::WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    ASSERT_GE(got.size(), s.size());
    for (size_t i = 0; i < s.size(); i += 2) {
        EXPECT_EQ(s[i], got[i]) << "left, frame " << i / 2;
        EXPECT_EQ(std::lround(s[i + 1] * (0x8000 / 65535.0)), got[i + 1])
            << "right, frame " << i / 2;
    }

    // Silence on the left only.
    win::sound::ClearNullDeviceCapture();
    waveOutSetVolume(h, 0xFFFF0000);
    Buffer c(s);
    Play(h, c);
    ASSERT_TRUE(WaitFor([&] { return IsDone(c.header); }));
    ASSERT_TRUE(win::sound::WaitNullDeviceIdle(std::chrono::seconds(30)));
    got = NullDeviceSamples();
    ASSERT_GE(got.size(), s.size());
    for (size_t i = 0; i < s.size(); i += 2) {
        EXPECT_EQ(0, got[i]);
        EXPECT_EQ(s[i + 1], got[i + 1]);
    }
}

TEST_F(WaveOutTest, HandlesAreMixedAndClipped) {
    HWAVEOUT a = Open(44100, 1, 16), b = Open(44100, 1, 16);
    win::sound::HoldNullDevice(true);
    Buffer x(std::vector<int16_t>(441, 1000)), y(std::vector<int16_t>(441, -3000));
    Buffer loud1(std::vector<int16_t>(441, 30000)), loud2(std::vector<int16_t>(441, 30000));
    Play(a, x);
    Play(b, y);
    Play(a, loud1);
    Play(b, loud2);
    win::sound::HoldNullDevice(false);
    ASSERT_TRUE(WaitFor([&] { return IsDone(loud1.header) && IsDone(loud2.header); }));
    ASSERT_TRUE(win::sound::WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    ASSERT_GE(got.size(), 4u * 441);
    EXPECT_EQ(2 * 441, std::count(got.begin(), got.begin() + 2 * 441, -2000));
    EXPECT_EQ(2 * 441, std::count(got.begin() + 2 * 441, got.begin() + 4 * 441, 32767));
}

TEST_F(WaveOutTest, PlaybackRateChangesSpeed) {
    HWAVEOUT h = Open(44100, 1, 16);
    EXPECT_EQ(MMSYSERR_INVALPARAM, waveOutSetPlaybackRate(h, 0));
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutSetPlaybackRate(h, 0x20000));
    DWORD rate = 0;
    waveOutGetPlaybackRate(h, &rate);
    EXPECT_EQ(0x20000u, rate);
    Buffer b(Sine(441, 44100, 8820));
    Play(h, b);
    ASSERT_TRUE(WaitFor([&] { return IsDone(b.header); }));
    ASSERT_TRUE(win::sound::WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    // Twice as fast: half the frames, twice the pitch.
    EXPECT_NEAR(4410.0, double(SoundingFrames(got)), 3);
    EXPECT_NEAR(882.0, MeasureFrequency(got, 0, 44100), 3);
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    waveOutGetPosition(h, &time, sizeof time);
    EXPECT_EQ(8820u, time.u.sample);
}

// Other rates and sizes are converted to the device keeping duration and pitch.
struct ConversionCase {
    int rate, channels, bits;
};

class WaveOutConversion : public WaveOutTest,
                          public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(WaveOutConversion, KeepsLengthAndPitch) {
    const ConversionCase c = GetParam();
    win::sound::ClearNullDeviceCapture();
    HWAVEOUT h = Open(c.rate, c.channels, c.bits);
    std::vector<int16_t> tone = Sine(440, c.rate, c.rate / 2);
    std::vector<uint8_t> bytes;
    for (int16_t s : tone)
        for (int ch = 0; ch < c.channels; ++ch) {
            if (c.bits == 8) {
                bytes.push_back(uint8_t((s >> 8) + 128));
            } else {
                bytes.push_back(uint8_t(s));
                bytes.push_back(uint8_t(uint16_t(s) >> 8));
            }
        }
    WAVEHDR header{};
    header.lpData = reinterpret_cast<LPSTR>(bytes.data());
    header.dwBufferLength = DWORD(bytes.size());
    waveOutPrepareHeader(h, &header, sizeof header);
    waveOutWrite(h, &header, sizeof header);
    ASSERT_TRUE(WaitFor([&] { return IsDone(header); }));
    ASSERT_TRUE(win::sound::WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    EXPECT_NEAR(22050.0, double(SoundingFrames(got)), 4);
    EXPECT_NEAR(440.0, MeasureFrequency(got, 0, 44100), 2);
    EXPECT_NEAR(440.0, MeasureFrequency(got, 1, 44100), 2);
}

INSTANTIATE_TEST_SUITE_P(Formats, WaveOutConversion,
                         ::testing::Values(ConversionCase{22050, 1, 8},
                                           ConversionCase{11025, 2, 16},
                                           ConversionCase{48000, 2, 16},
                                           ConversionCase{8000, 1, 16}),
                         [](const ::testing::TestParamInfo<ConversionCase>& info) {
                             const ConversionCase& c = info.param;
                             return std::to_string(c.rate) + "Hz" + std::to_string(c.channels) +
                                    "ch" + std::to_string(c.bits) + "bit";
                         });

TEST_F(WaveOutTest, ThereIsNoMixerButItsCallsAnswer) {
    HWAVEOUT h = Open(44100, 2, 16);
    EXPECT_EQ(0u, mixerGetNumDevs());
    HMIXER mixer = reinterpret_cast<HMIXER>(uintptr_t(1));
    EXPECT_EQ(MMSYSERR_NODRIVER, mixerOpen(&mixer, UINT(reinterpret_cast<uintptr_t>(h)), 0, 0,
                                           MIXER_OBJECTF_HWAVEOUT));
    EXPECT_EQ(nullptr, mixer);
    EXPECT_EQ(MMSYSERR_INVALHANDLE, mixerOpen(&mixer, 777, 0, 0, MIXER_OBJECTF_HWAVEOUT));
    EXPECT_EQ(MMSYSERR_BADDEVICEID, mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_MIXER));
    MIXERCAPSA caps;
    EXPECT_EQ(MMSYSERR_BADDEVICEID, mixerGetDevCapsA(0, &caps, sizeof caps));
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    EXPECT_EQ(MMSYSERR_INVALHANDLE,
              mixerGetLineInfoA(nullptr, &line, MIXER_GETLINEINFOF_COMPONENTTYPE));
    EXPECT_EQ(MMSYSERR_INVALHANDLE, mixerClose(nullptr));
}

}  // namespace

namespace {

// A callback may queue the next buffer itself, as streaming players do.
struct Chain {
    HWAVEOUT handle = nullptr;
    WAVEHDR* next = nullptr;
    std::atomic<int> done{0};
};

void CALLBACK QueueNext(HWAVEOUT h, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
    auto* chain = reinterpret_cast<Chain*>(instance);
    if (message != WOM_DONE) return;
    if (chain->done++ == 0) waveOutWrite(h, chain->next, sizeof(WAVEHDR));
}

TEST_F(WaveOutTest, CallbacksMayCallBackIn) {
    Chain chain;
    HWAVEOUT h = Open(44100, 2, 16, CALLBACK_FUNCTION, reinterpret_cast<DWORD_PTR>(&QueueNext),
                      reinterpret_cast<DWORD_PTR>(&chain));
    Buffer first(std::vector<int16_t>(200, 11)), second(std::vector<int16_t>(200, 22));
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutPrepareHeader(h, &second.header, sizeof(WAVEHDR)));
    chain.next = &second.header;
    Play(h, first);
    ASSERT_TRUE(WaitFor([&] { return chain.done.load() == 2; }));
    EXPECT_TRUE(IsDone(second.header));
    ASSERT_TRUE(win::sound::WaitNullDeviceIdle(std::chrono::seconds(30)));
    std::vector<int16_t> got = NullDeviceSamples();
    EXPECT_EQ(200, std::count(got.begin(), got.end(), 22));
}

}  // namespace
