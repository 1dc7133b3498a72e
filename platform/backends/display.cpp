#include "display.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "backends/sdl2/sdl_backend.h"
#include "core/backend.h"

namespace win {

bool StartDisplay(int& argc, char** argv) {
    bool headless = false;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && argv[i] && std::strcmp(argv[i], "--headless") == 0)
            headless = true;
        else
            argv[kept++] = argv[i];
    }
    if (kept < argc) argv[kept] = nullptr;
    argc = kept;
    if (headless) return true;  // the in-memory backend is the default

    std::string error;
    auto backend = sdl::CreateBackend(&error);
    if (!backend) {
        const char* name = argc > 0 && argv[0] ? argv[0] : "program";
        std::fprintf(stderr,
                     "%s: cannot open a display: %s\n"
                     "Run it inside a graphical session, or pass --headless for a scripted run.\n",
                     name, error.c_str());
        return false;
    }
    core::InstallBackend(std::move(backend));
    return true;
}

}  // namespace win
