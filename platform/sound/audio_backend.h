// A place the mixed sound goes: SDL2 audio or the null device. A backend
// pulls 16-bit stereo frames from the mixer on a thread of its own, and
// stops pulling (using no CPU) while the mixer has nothing to play.
#pragma once

#include <memory>

namespace win::sound {

class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    // Opens the device, idle; stores the device's frame rate. False when
    // there is no usable device.
    virtual bool Open(int* rate) = 0;
    // Something became playable: start pulling. Called without the mixer's
    // lock, from any thread.
    virtual void Wake() = 0;
    virtual void Close() = 0;
    // The product name waveOutGetDevCapsA reports.
    virtual const char* Name() const = 0;
};

std::unique_ptr<AudioBackend> MakeSdlBackend();
std::unique_ptr<AudioBackend> MakeNullBackend(bool realtime);

}  // namespace win::sound
