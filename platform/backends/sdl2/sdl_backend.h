// The SDL2 display backend: each top-level window is a native window.
#pragma once
#include <memory>
#include <string>

#include "core/backend.h"

namespace win::sdl {

// Opens the display (SDL video) on the calling thread, which becomes the
// user-interface thread: only it may create top-level windows, and its
// waits for messages wait on SDL's event queue. Null, with the reason in
// `error`, when no display can be opened.
std::unique_ptr<core::Backend> CreateBackend(std::string* error);

}  // namespace win::sdl
