// The one sound device of the process: every open waveOut handle and
// PlaySoundA's sound are voices that the mixer adds together into 16-bit
// stereo for the backend. The device is opened when a voice first needs it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "sound/audio_backend.h"
#include "sound/voice.h"
#include "win/mmsystem.h"

namespace win::sound {

class Mixer {
public:
    static Mixer& Get();

    // Guards every voice and the mixer's own state. Held only for short
    // steps: never across file reading, sleeping or user callbacks.
    std::mutex& mutex() { return mutex_; }

    // Chooses the backend; false while voices are attached. Takes the lock.
    bool SetBackend(SoundBackend backend);
    // True when a device can be opened. Takes the lock.
    bool Available();
    // The backend's product name (empty without one). Takes the lock.
    std::string DeviceName();

    // Under the lock: adds a voice, opening the device if needed; says why
    // the device could not be opened.
    DeviceOpen Attach(Voice* voice);
    void Detach(Voice* voice);
    size_t voice_count() const { return voices_.size(); }
    // Under the lock: keeps `call` (a waveOut callback) for RunDeferred.
    void Defer(std::function<void()> call) { deferred_.push_back(std::move(call)); }
    // Without the lock: makes the calls kept by Defer, in order.
    void RunDeferred();
    // Without the lock: tells the backend that a voice became active.
    void Wake();

    // Backend side: mixes `frames` stereo frames into `out`. Returns false
    // when nothing is left to play (the backend may go idle).
    bool Render(int16_t* out, size_t frames);
    // Whether any voice has something to play. Takes the lock.
    bool HasWork();
    int device_rate() const { return rate_; }

private:
    Mixer() = default;
    bool EnsureBackend();  // under the lock

    std::mutex mutex_;
    SoundBackend choice_ = SoundBackend::Automatic;
    std::shared_ptr<AudioBackend> backend_;  // shared: Wake uses it unlocked
    bool backend_tried_ = false;
    bool open_ = false;
    int rate_ = 44100;
    std::vector<Voice*> voices_;
    std::vector<int32_t> mix_;
    std::vector<std::function<void()>> deferred_;
    // Serialises deferred calls so that a handle's callbacks arrive in order.
    std::recursive_mutex callback_mutex_;
};

}  // namespace win::sound
