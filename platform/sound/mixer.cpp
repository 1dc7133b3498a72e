#include "sound/mixer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace win::sound {

namespace {

SoundBackend FromEnvironment() {
    const char* value = std::getenv("TINTO_AUDIO");
    if (value && std::strcmp(value, "null") == 0) return SoundBackend::Null;
    if (value && std::strcmp(value, "null-instant") == 0) return SoundBackend::NullInstant;
    return SoundBackend::Sdl;
}

}  // namespace

Mixer& Mixer::Get() {
    // Never destroyed: device threads may still run while the process ends.
    static Mixer* mixer = new Mixer;
    return *mixer;
}

bool Mixer::SetBackend(SoundBackend backend) {
    std::shared_ptr<AudioBackend> old;
    {
        std::lock_guard lock(mutex_);
        if (!voices_.empty()) return false;
        choice_ = backend;
        old = std::move(backend_);
        backend_tried_ = false;
        open_ = false;
    }
    // Closed outside the lock: the device thread may be waiting for it.
    if (old) old->Close();
    return true;
}

bool Mixer::EnsureBackend() {
    if (!backend_tried_) {
        backend_tried_ = true;
        SoundBackend choice = choice_ == SoundBackend::Automatic ? FromEnvironment() : choice_;
        if (choice == SoundBackend::Sdl)
            backend_ = MakeSdlBackend();
        else
            backend_ = MakeNullBackend(choice == SoundBackend::Null);
    }
    return backend_ != nullptr;
}

bool Mixer::Available() {
    std::lock_guard lock(mutex_);
    return EnsureBackend();
}

std::string Mixer::DeviceName() {
    std::lock_guard lock(mutex_);
    return EnsureBackend() ? backend_->Name() : "";
}

DeviceOpen Mixer::Attach(Voice* voice) {
    if (!EnsureBackend()) return DeviceOpen::Missing;
    if (!open_) {
        DeviceOpen opened = backend_->Open(&rate_);
        if (opened != DeviceOpen::Opened) return opened;
        open_ = true;
    }
    voices_.push_back(voice);
    return DeviceOpen::Opened;
}

void Mixer::Detach(Voice* voice) {
    voices_.erase(std::remove(voices_.begin(), voices_.end(), voice), voices_.end());
}

void Mixer::RunDeferred() {
    // One caller at a time, so that a handle's callbacks keep their order;
    // recursive, so that a callback may itself call waveOut functions.
    std::lock_guard order(callback_mutex_);
    std::vector<std::function<void()>> calls;
    {
        std::lock_guard lock(mutex_);
        calls.swap(deferred_);
    }
    for (auto& call : calls) call();
}

void Mixer::Wake() {
    std::shared_ptr<AudioBackend> backend;
    {
        std::lock_guard lock(mutex_);
        if (open_) backend = backend_;
    }
    if (backend) backend->Wake();
}

bool Mixer::HasWork() {
    std::lock_guard lock(mutex_);
    return std::any_of(voices_.begin(), voices_.end(), [](Voice* v) { return v->Active(); });
}

bool Mixer::Render(int16_t* out, size_t frames) {
    bool more, calls;
    {
        std::lock_guard lock(mutex_);
        mix_.assign(frames * 2, 0);
        for (size_t i = 0; i < voices_.size(); ++i) voices_[i]->MixInto(mix_.data(), frames, rate_);
        for (size_t i = 0; i < frames * 2; ++i)
            out[i] = int16_t(std::clamp(mix_[i], -32768, 32767));
        more = std::any_of(voices_.begin(), voices_.end(), [](Voice* v) { return v->Active(); });
        calls = !deferred_.empty();
    }
    if (calls) RunDeferred();
    return more;
}

}  // namespace win::sound
