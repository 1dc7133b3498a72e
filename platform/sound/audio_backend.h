// A place the mixed sound goes: SDL2 audio or the null device. A backend
// pulls 16-bit stereo frames from the mixer on a thread of its own, and
// stops pulling (using no CPU) while the mixer has nothing to play.
#pragma once

#include <memory>

namespace win::sound {

// How opening the device went: a missing device (no sound card, a sound
// server that turns the program away) is told apart from one that another
// program holds.
enum class DeviceOpen { Opened, Missing, Busy };

class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    // Opens the device, idle; stores the device's frame rate.
    virtual DeviceOpen Open(int* rate) = 0;
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
