// Command line, display and the framework's start of the application.
#include "app/start.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/coloring_app.h"
#include "app/tour.h"

namespace {

// Removes "--tour DIR" from the arguments; answers DIR, or "" without it.
bool TakeTourOption(int& argc, char** argv, std::string* dir) {
    int kept = 0;
    bool ok = true;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::strcmp(argv[i], "--tour") == 0) {
            if (i + 1 < argc && argv[i + 1][0] != '\0') {
                *dir = argv[++i];
            } else {
                ok = false;
            }
            continue;
        }
        argv[kept++] = argv[i];
    }
    if (kept < argc) argv[kept] = nullptr;
    argc = kept;
    return ok;
}

}  // namespace

int RunTintorama(int argc, char** argv) {
    std::string tourDir;
    if (!TakeTourOption(argc, argv, &tourDir)) {
        std::fprintf(stderr, "%s: --tour needs a folder for the screenshots\n",
                     argc > 0 && argv[0] ? argv[0] : "tintorama");
        return 2;
    }

    // The tour runs on the in-memory backend and silently.
    std::vector<char*> args(argv, argv + argc);
    char headless[] = "--headless";
    ScreenScript tour;
    if (!tourDir.empty()) {
        win::SetSoundBackend(win::SoundBackend::Null);
        args.push_back(headless);
        AddTourSteps(tour, tourDir);
        tour.Start();
    }
    args.push_back(nullptr);

    // Opens the display (or the in-memory one) and runs the application.
    const int nCode = AfxWinMain(int(args.size()) - 1, args.data());

    if (!tourDir.empty()) {
        tour.Stop();
        if (!tour.Failure().empty()) {
            std::fprintf(stderr, "tour: the step \"%s\" did not happen\n", tour.Failure().c_str());
            return 1;
        }
    }
    return nCode;
}
