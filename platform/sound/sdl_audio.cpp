// SDL2 audio: one device, 16-bit stereo, fed from the mixer by SDL's audio
// callback. The callback only takes the mixer's short lock, never waits for
// the user-interface thread. While nothing plays the device is paused, so an
// idle program uses no CPU; pausing is done by a small keeper thread because
// SDL's callback must not pause its own device.
#include <SDL.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "sound/audio_backend.h"
#include "sound/mixer.h"

namespace win::sound {

namespace {

class SdlBackend : public AudioBackend {
public:
    ~SdlBackend() override { Close(); }

    bool Init() {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        initialised_ = true;
        return true;
    }

    bool Open(int* rate) override {
        SDL_AudioSpec want{}, have{};
        want.freq = 44100;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 512;  // about 12 ms: short enough for click sounds
        want.callback = &SdlBackend::Callback;
        want.userdata = this;
        // No allowed changes: SDL converts to whatever the hardware wants.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device_ == 0) return false;
        *rate = have.freq;
        keeper_ = std::thread([this] { Keep(); });
        return true;
    }

    void Wake() override {
        std::lock_guard lock(mutex_);
        if (device_ != 0 && paused_) {
            SDL_PauseAudioDevice(device_, 0);
            paused_ = false;
        }
    }

    void Close() override {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            changed_.notify_all();
        }
        if (keeper_.joinable()) keeper_.join();
        if (device_ != 0) SDL_CloseAudioDevice(device_);
        device_ = 0;
        if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        initialised_ = false;
    }

    const char* Name() const override { return "SDL audio output"; }

private:
    static void SDLCALL Callback(void* self, Uint8* stream, int len) {
        auto* backend = static_cast<SdlBackend*>(self);
        size_t frames = size_t(len) / 4;
        if (!Mixer::Get().Render(reinterpret_cast<int16_t*>(stream), frames)) {
            // Ask the keeper to pause the device; never block here.
            std::unique_lock lock(backend->mutex_, std::try_to_lock);
            backend->idle_ = true;
            if (lock.owns_lock()) backend->changed_.notify_all();
        }
    }

    void Keep() {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            // The callback may have set idle_ without the lock; wake at least
            // now and then to look, but only while the device runs.
            if (paused_)
                changed_.wait(lock);
            else
                changed_.wait_for(lock, std::chrono::milliseconds(250));
            if (stop_) break;
            if (!paused_ && idle_ && !Mixer::Get().HasWork()) {
                SDL_PauseAudioDevice(device_, 1);
                paused_ = true;
            }
            idle_ = false;
        }
    }

    bool initialised_ = false;
    SDL_AudioDeviceID device_ = 0;
    std::thread keeper_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool paused_ = true;
    std::atomic<bool> idle_ = false;  // set by the callback, maybe without the lock
    bool stop_ = false;
};

}  // namespace

std::unique_ptr<AudioBackend> MakeSdlBackend() {
    auto backend = std::make_unique<SdlBackend>();
    if (!backend->Init()) return nullptr;
    return backend;
}

}  // namespace win::sound
