#include "display.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "backends/sdl2/scale.h"
#include "backends/sdl2/sdl_backend.h"
#include "core/backend.h"

namespace win {
namespace {

SIZE gMainWindow{0, 0};

const char* ProgramName(int argc, char** argv) { return argc > 0 && argv[0] ? argv[0] : "program"; }

}  // namespace

void SetMainWindowSize(SIZE size) { gMainWindow = size; }

void SetFullScreen(bool on) {
    core::Guard lock(core::BigLock());
    core::CurrentBackend().SetFullScreen(on);
}

bool IsFullScreen() {
    core::Guard lock(core::BigLock());
    return core::CurrentBackend().FullScreen();
}

void SetFullScreenBackdrop(COLORREF colour) {
    core::Guard lock(core::BigLock());
    core::CurrentBackend().SetBackdrop(colour);
}

void SetFullScreenListener(void (*listener)(bool on)) { core::SetFullScreenListener(listener); }

bool StartDisplay(int& argc, char** argv) {
    bool headless = false;
    bool fullScreen = false;
    const char* scaleText = nullptr;
    bool scaleMissing = false;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (i > 0 && arg && std::strcmp(arg, "--headless") == 0) {
            headless = true;
        } else if (i > 0 && arg && std::strcmp(arg, "--fullscreen") == 0) {
            fullScreen = true;
        } else if (i > 0 && arg && std::strcmp(arg, "--scale") == 0) {
            if (i + 1 < argc && argv[i + 1])
                scaleText = argv[++i];
            else
                scaleMissing = true;
        } else if (i > 0 && arg && std::strncmp(arg, "--scale=", 8) == 0) {
            scaleText = arg + 8;
        } else {
            argv[kept++] = argv[i];
        }
    }
    if (kept < argc) argv[kept] = nullptr;
    argc = kept;

    sdl::Options options;
    options.mainWindow = gMainWindow;
    if (scaleText || scaleMissing) {
        options.scale = scaleMissing ? 0 : sdl::ParseScale(scaleText);
        if (options.scale == 0) {
            std::fprintf(stderr, "%s: --scale needs a whole number from 1 to %d\n",
                         ProgramName(argc, argv), sdl::kMaxScale);
            return false;
        }
    }
    if (headless) {
        // The in-memory backend is the default; it keeps the state only.
        if (fullScreen) SetFullScreen(true);
        return true;
    }

    std::string error;
    auto backend = sdl::CreateBackend(&error, options);
    if (!backend) {
        std::fprintf(stderr,
                     "%s: cannot open a display: %s\n"
                     "Run it inside a graphical session, or pass --headless for a scripted run.\n",
                     ProgramName(argc, argv), error.c_str());
        return false;
    }
    core::InstallBackend(std::move(backend));
    if (fullScreen) SetFullScreen(true);
    return true;
}

}  // namespace win
