// Command line, display and the framework's start of the application.
#include "app/start.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/coloring_app.h"
#include "app/tour.h"
#include "backends/display.h"
#include "common/settings.h"
#include "res/resource.h"

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

// The home screen's size in pixels, from its dialog template (the extended
// form: cx and cy follow the version, signature, help id, styles, item count
// and position), so that a big screen can enlarge the windows to suit it.
SIZE HomeScreenSize() {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCE(IDD_HOME), RT_DIALOG);
    if (!found) return {0, 0};
    const auto* data =
        static_cast<const unsigned char*>(::LockResource(::LoadResource(nullptr, found)));
    const DWORD size = ::SizeofResource(nullptr, found);
    constexpr size_t kCx = 22;  // 2 + 2 + 4 + 4 + 4 + 2 + 2 + 2
    if (!data || size < kCx + 4 || data[2] != 0xFF || data[3] != 0xFF) return {0, 0};
    const int cx = data[kCx] | (data[kCx + 1] << 8), cy = data[kCx + 2] | (data[kCx + 3] << 8);
    const LONG units = ::GetDialogBaseUnits();
    return {::MulDiv(cx, LOWORD(units), 4), ::MulDiv(cy, HIWORD(units), 8)};
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

    win::SetMainWindowSize(HomeScreenSize());
    // Read once; a damaged file gives the defaults.
    settings::Load();

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
