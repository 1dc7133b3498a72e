// SDL2 audio: one device, 16-bit stereo at 44100 Hz, fed from the mixer by
// SDL's audio callback. The callback only takes the mixer's short lock and
// never waits for the user-interface thread.
//
// Idle: SDL's own thread keeps waking while a device is merely paused, so a
// keeper thread pauses the device as soon as nothing plays and closes it
// after a few idle seconds; the next sound reopens it on the keeper thread,
// never on the caller's. The keeper sleeps on a condition variable while the
// device is closed. SDL's callback must not pause or close its own device,
// which is why this work has a thread of its own.
#include <SDL.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "sound/audio_backend.h"
#include "sound/mixer.h"

namespace win::sound {

namespace {

// SDL keeps per-thread data (its error text) that it frees by itself only
// for the threads it made. A thread of ours that calls SDL gives it back
// when it ends.
void ReleaseSdlDataAtThreadEnd() {
    struct Release {
        ~Release() { SDL_TLSCleanup(); }
    };
    static thread_local Release release;
    (void)release;
}

// SDL says why a device did not open only in words. A device that another
// program holds answers EBUSY ("Device or resource busy"); anything else
// (no card, no server, a server that refuses us) means there is no device
// for us.
bool DeviceBusy(const char* error) {
    std::string text = error ? error : "";
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text.find("busy") != std::string::npos;
}

constexpr int kRate = 44100;
constexpr auto kCloseAfter = std::chrono::seconds(5);
constexpr auto kIdleCheck = std::chrono::milliseconds(250);
constexpr auto kRetryOpen = std::chrono::seconds(1);

class SdlBackend : public AudioBackend {
public:
    ~SdlBackend() override { Close(); }

    bool Init() {
        ReleaseSdlDataAtThreadEnd();
        // SDL would turn Ctrl-C into a quit event that a program with no
        // window never reads; a sound device leaves signals alone.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        initialised_ = true;
        return true;
    }

    // The first open is on the caller's thread so that a failure can be
    // reported; later ones are the keeper's. No lock: the keeper does not
    // exist yet, and the caller holds the mixer's lock, which the keeper
    // takes inside ours.
    DeviceOpen Open(int* rate) override {
        if (!OpenDevice())
            return DeviceBusy(SDL_GetError()) ? DeviceOpen::Busy : DeviceOpen::Missing;
        *rate = kRate;
        keeper_ = std::thread([this] { Keep(); });
        return DeviceOpen::Opened;
    }

    void Wake() override {
        ReleaseSdlDataAtThreadEnd();
        std::lock_guard lock(mutex_);
        wanted_ = true;
        if (device_ != 0 && paused_) {
            SDL_PauseAudioDevice(device_, 0);
            paused_ = false;
        }
        changed_.notify_all();
    }

    void Close() override {
        ReleaseSdlDataAtThreadEnd();
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            changed_.notify_all();
        }
        if (keeper_.joinable()) keeper_.join();
        CloseDevice();
        if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        initialised_ = false;
    }

    const char* Name() const override { return "SDL audio output"; }

private:
    bool OpenDevice() {
        ReleaseSdlDataAtThreadEnd();
        SDL_AudioSpec want{}, have{};
        want.freq = kRate;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 512;  // about 12 ms: short enough for click sounds
        want.callback = &SdlBackend::Callback;
        want.userdata = this;
        // No allowed changes: SDL converts to whatever the hardware wants.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        paused_ = true;  // SDL opens devices paused
        return device_ != 0;
    }

    void CloseDevice() {
        if (device_ != 0) SDL_CloseAudioDevice(device_);
        device_ = 0;
    }

    static void SDLCALL Callback(void* self, Uint8* stream, int len) {
        auto* backend = static_cast<SdlBackend*>(self);
        size_t frames = size_t(len) / 4;
        if (!Mixer::Get().Render(reinterpret_cast<int16_t*>(stream), frames)) {
            // Tell the keeper; never block here.
            backend->idle_ = true;
            std::unique_lock lock(backend->mutex_, std::try_to_lock);
            if (lock.owns_lock()) backend->changed_.notify_all();
        }
    }

    void Keep() {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            if (device_ == 0) {
                changed_.wait(lock, [this] { return stop_ || wanted_; });
                if (stop_) break;
                if (OpenDevice()) {
                    SDL_PauseAudioDevice(device_, 0);
                    paused_ = false;
                } else {
                    // The sound server went away: try again in a while, as
                    // long as something waits to be played.
                    changed_.wait_for(lock, kRetryOpen, [this] { return stop_; });
                    wanted_ = !stop_ && Mixer::Get().HasWork();
                    continue;
                }
            } else if (paused_) {
                bool woken =
                    changed_.wait_for(lock, kCloseAfter, [this] { return stop_ || !paused_; });
                if (!woken && !Mixer::Get().HasWork()) CloseDevice();
            } else {
                // The callback may set idle_ without the lock, so look now
                // and then while the device runs.
                changed_.wait_for(lock, kIdleCheck);
                if (idle_.exchange(false) && !Mixer::Get().HasWork()) {
                    SDL_PauseAudioDevice(device_, 1);
                    paused_ = true;
                }
            }
            wanted_ = false;
        }
    }

    bool initialised_ = false;
    SDL_AudioDeviceID device_ = 0;
    std::thread keeper_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool paused_ = true;
    bool wanted_ = false;             // a sound waits for the device
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
