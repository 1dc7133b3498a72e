// PlaySoundA: one sound at a time on a voice of the mixer. A new sound
// replaces the one playing; an asynchronous call returns once the sound is
// queued, a synchronous one when it has been played (or replaced).
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "sound/mixer.h"
#include "sound/pcm_format.h"
#include "sound/voice.h"
#include "win/mmsystem.h"
#include "win/res.h"

namespace win {

namespace sound {
namespace {

// Larger images are refused rather than read into memory.
constexpr size_t kMaxSoundBytes = size_t(64) << 20;

// WAVE resources compiled into the executable.
bool ExecutableWave(HMODULE module, LPCSTR name, const void** data, DWORD* size) {
    HRSRC resource = FindResourceA(module, name, "WAVE");
    if (!resource) return false;
    *data = LockResource(LoadResource(module, resource));
    *size = SizeofResource(module, resource);
    return *data != nullptr;
}

std::atomic<WaveResourceLookup> g_lookup{&ExecutableWave};

class SoundVoice : public Voice {
public:
    SoundVoice(std::vector<uint8_t> image, const WaveImage& wave, bool loop, uint64_t serial)
        : Voice(wave.format), image_(std::move(image)), serial_(serial) {
        Queue(wave.samples, wave.bytes, nullptr, loop);
    }
    uint64_t serial() const { return serial_; }
    bool finished() const { return finished_; }

protected:
    void ChunkDone(void*) override;

private:
    std::vector<uint8_t> image_;  // the WAVE image the queued samples point into
    uint64_t serial_;
    bool finished_ = false;
};

// The sound playing, guarded by the mixer's lock. Never destroyed: the
// device thread may still mix it while the process ends.
struct Playing {
    std::unique_ptr<SoundVoice> voice;
    uint64_t serial = 0;
    std::condition_variable changed;  // a sound finished or was replaced
};
Playing& State() {
    static Playing* playing = new Playing;
    return *playing;
}

void SoundVoice::ChunkDone(void*) {
    finished_ = true;
    State().changed.notify_all();
}

std::vector<uint8_t> ReadFile(const char* name) {
    std::string path(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    std::vector<uint8_t> bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return bytes;
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (bytes.size() + got > kMaxSoundBytes) {
            bytes.clear();
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    std::fclose(file);
    return bytes;
}

// The WAVE image PlaySoundA's arguments name, copied; empty when none.
std::vector<uint8_t> LoadSound(LPCSTR sound, HMODULE module, DWORD flags) {
    if ((flags & SND_RESOURCE) == SND_RESOURCE) {
        const void* data = nullptr;
        DWORD size = 0;
        WaveResourceLookup lookup = g_lookup.load();
        if (!lookup(module, sound, &data, &size) || !data || size > kMaxSoundBytes) return {};
        auto* bytes = static_cast<const uint8_t*>(data);
        return {bytes, bytes + size};
    }
    if (flags & SND_MEMORY) {
        // The caller vouches for the image; its RIFF header gives its length.
        auto* bytes = reinterpret_cast<const uint8_t*>(sound);
        size_t size = RiffImageSize(bytes);
        if (size == 0 || size > kMaxSoundBytes) return {};
        return {bytes, bytes + size};
    }
    if ((flags & SND_ALIAS) || IS_INTRESOURCE(sound)) return {};  // no sound aliases here
    return ReadFile(sound);
}

// The sound played when the one asked for is missing: a short soft chime.
std::vector<uint8_t> DefaultSound() {
    constexpr int kRate = 22050, kFrames = kRate / 8;
    std::vector<uint8_t> image(44 + kFrames * 2);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) image[at + i] = uint8_t(v >> (8 * i));
    };
    auto put16 = [&](size_t at, uint16_t v) {
        image[at] = uint8_t(v), image[at + 1] = uint8_t(v >> 8);
    };
    std::memcpy(&image[0], "RIFF", 4);
    put32(4, uint32_t(image.size() - 8));
    std::memcpy(&image[8], "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, 1);
    put32(24, kRate);
    put32(28, kRate * 2);
    put16(32, 2);
    put16(34, 16);
    std::memcpy(&image[36], "data", 4);
    put32(40, kFrames * 2);
    for (int i = 0; i < kFrames; ++i) {
        double t = double(i) / kRate;
        double envelope = std::sin(std::numbers::pi * i / kFrames);  // no click at either end
        put16(44 + 2 * i,
              uint16_t(int16_t(6000 * envelope * std::sin(2 * std::numbers::pi * 880 * t))));
    }
    return image;
}

void StopSound() {
    Mixer& mixer = Mixer::Get();
    std::unique_ptr<SoundVoice> old;
    std::lock_guard lock(mixer.mutex());
    if (State().voice) mixer.Detach(State().voice.get());
    old = std::move(State().voice);
    State().changed.notify_all();
}

BOOL Play(std::vector<uint8_t> image, DWORD flags) {
    WaveImage wave;
    if (!ParseWave(image.data(), image.size(), &wave)) return FALSE;
    const bool async = (flags & SND_ASYNC) != 0;
    Mixer& mixer = Mixer::Get();
    Playing& state = State();
    std::unique_ptr<SoundVoice> old;
    std::unique_lock lock(mixer.mutex());
    const uint64_t serial = ++state.serial;
    // The samples stay where they are when the image moves into the voice.
    auto voice =
        std::make_unique<SoundVoice>(std::move(image), wave, async && (flags & SND_LOOP), serial);
    if (state.voice) mixer.Detach(state.voice.get());
    old = std::move(state.voice);
    state.changed.notify_all();
    if (mixer.Attach(voice.get()) != DeviceOpen::Opened) return FALSE;
    state.voice = std::move(voice);
    lock.unlock();
    mixer.Wake();
    if (async) return TRUE;
    // Until this sound is over, or another took its place; a device that
    // stopped taking sound does not hold the caller for ever.
    auto limit = std::chrono::milliseconds(2000 + 1000 * wave.bytes / wave.format.FrameBytes() /
                                                      wave.format.rate);
    lock.lock();
    bool over = state.changed.wait_for(lock, limit, [&] {
        return !state.voice || state.voice->serial() != serial || state.voice->finished();
    });
    if (!over) {
        mixer.Detach(state.voice.get());
        old = std::move(state.voice);
    }
    return over;
}

}  // namespace
}  // namespace sound

void SetWaveResourceLookup(WaveResourceLookup lookup) {
    sound::g_lookup.store(lookup ? lookup : &sound::ExecutableWave);
}

bool SetSoundBackend(SoundBackend backend) {
    sound::StopSound();
    return sound::Mixer::Get().SetBackend(backend);
}

}  // namespace win

BOOL WINAPI PlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound) {
    using namespace win::sound;
    if (!pszSound || (fdwSound & SND_PURGE)) {
        StopSound();
        return TRUE;
    }
    if (fdwSound & SND_NOSTOP) {
        std::lock_guard lock(Mixer::Get().mutex());
        if (State().voice && !State().voice->finished()) return FALSE;
    }
    // SND_NOWAIT needs nothing: the mixer is never too busy for a sound.
    if (Play(LoadSound(pszSound, hmod, fdwSound), fdwSound)) return TRUE;
    if (!(fdwSound & SND_NODEFAULT)) Play(DefaultSound(), fdwSound & SND_ASYNC);
    return FALSE;
}
