// Sound latency: from PlaySoundA to the sound handed to the device, and from
// waveOutWrite to the buffer played; and the cost of mixing.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sound/mixer.h"
#include "sound/voice.h"
#include "support/wav.h"
#include "windows.h"

namespace {

using Clock = std::chrono::steady_clock;

bool UseBackend(benchmark::State& state, int which) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    win::SoundBackend backend = which == 0   ? win::SoundBackend::NullInstant
                                : which == 1 ? win::SoundBackend::Null
                                             : win::SoundBackend::Sdl;
    state.SetLabel(which == 0 ? "null-instant" : which == 1 ? "null-realtime" : "sdl-dummy");
    if (!win::SetSoundBackend(backend) || waveOutGetNumDevs() == 0) {
        state.SkipWithError("no sound device");
        return false;
    }
    return true;
}

// A WAVE image of one 16-bit mono frame at 44100 Hz: played out, it has been
// handed to the device.
std::vector<uint8_t> OneFrameWave() { return test_support::WavImage(44100, 1, 16, {0x10}); }

void BM_PlaySoundToDevice(benchmark::State& state) {
    if (!UseBackend(state, int(state.range(0)))) return;
    std::vector<uint8_t> wave = OneFrameWave();
    for (auto _ : state) {
        auto start = Clock::now();
        // Synchronous: returns once the device has taken the sound's frame.
        PlaySoundA(reinterpret_cast<LPCSTR>(wave.data()), nullptr, SND_MEMORY | SND_NODEFAULT);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    win::SetSoundBackend(win::SoundBackend::NullInstant);
}
BENCHMARK(BM_PlaySoundToDevice)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200);

void BM_WaveOutWriteToPlayed(benchmark::State& state) {
    if (!UseBackend(state, int(state.range(0)))) return;
    WAVEFORMATEX f{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    HWAVEOUT h = nullptr;
    if (waveOutOpen(&h, WAVE_MAPPER, &f, 0, 0, 0) != MMSYSERR_NOERROR) {
        state.SkipWithError("waveOutOpen failed");
        return;
    }
    int16_t frame[2] = {100, 100};
    WAVEHDR header{};
    header.lpData = reinterpret_cast<LPSTR>(frame);
    header.dwBufferLength = sizeof frame;
    waveOutPrepareHeader(h, &header, sizeof header);
    for (auto _ : state) {
        auto start = Clock::now();
        waveOutWrite(h, &header, sizeof header);
        while (!(std::atomic_ref<DWORD>(header.dwFlags).load() & WHDR_DONE)) {}
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    waveOutUnprepareHeader(h, &header, sizeof header);
    waveOutClose(h);
    win::SetSoundBackend(win::SoundBackend::NullInstant);
}
BENCHMARK(BM_WaveOutWriteToPlayed)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200);

// Mixing one device buffer (512 frames) from voices that need converting.
class LoopVoice : public win::sound::Voice {
public:
    using Voice::Voice;

protected:
    void ChunkDone(void*) override {}
};

void BM_MixVoices(benchmark::State& state) {
    const int voices = int(state.range(0));
    std::vector<int16_t> tone(22050 * 2);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = int16_t((i * 37) % 20000 - 10000);
    std::vector<std::unique_ptr<LoopVoice>> v;
    for (int i = 0; i < voices; ++i) {
        v.push_back(std::make_unique<LoopVoice>(win::sound::PcmFormat{22050, 2, 16}));
        v.back()->Queue(reinterpret_cast<const uint8_t*>(tone.data()), tone.size() * 2, nullptr,
                        true);
        v.back()->SetVolume(0x8000, 0xC000);
    }
    std::vector<int32_t> mix(512 * 2);
    for (auto _ : state) {
        std::fill(mix.begin(), mix.end(), 0);
        for (auto& voice : v) voice->MixInto(mix.data(), 512, 44100);
        benchmark::DoNotOptimize(mix.data());
    }
    state.SetItemsProcessed(state.iterations() * 512 * voices);
}
BENCHMARK(BM_MixVoices)->Arg(1)->Arg(4);

}  // namespace
