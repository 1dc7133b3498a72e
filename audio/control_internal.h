// What the control channel shares with the library's own tests.
#pragma once
#include <cstddef>

namespace audio {

// Allocates the player thread's channel (calloc); the tests swap it for
// one that refuses, to see control_start report the failure.
extern void* (*allocate_channel)(size_t count, size_t size);

}  // namespace audio
