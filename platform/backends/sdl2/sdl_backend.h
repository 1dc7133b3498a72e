// The SDL2 display backend: each top-level window is a native window.
#pragma once
#include <memory>
#include <string>

#include "core/backend.h"

namespace win::sdl {

struct Options {
    // How many times larger every window shows (1 to kMaxScale of scale.h);
    // 0 chooses from the screen and the main window's size.
    int scale = 0;
    // The program's main window in its own pixels, before it exists; zero
    // when unknown (then the automatic factor is 1).
    SIZE mainWindow{0, 0};
};

// Opens the display (SDL video) on the calling thread, which becomes the
// user-interface thread: only it may create top-level windows, and its
// waits for messages wait on SDL's event queue. Null, with the reason in
// `error`, when no display can be opened.
std::unique_ptr<core::Backend> CreateBackend(std::string* error, const Options& options = {});

// The factor the backend in use shows windows at (1 when it is not this one).
int CurrentScale();

}  // namespace win::sdl
