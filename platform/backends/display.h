// The one call a program's main makes to choose where its windows appear.
#pragma once
#include <windows.h>

namespace win {

// Opens a real display (SDL2) and installs it as the layer's backend, so
// that windows are shown and input comes from the user. Consumes the option
// "--headless" from argv (argc adjusted): the program then runs on the
// in-memory backend, as tests do. Consumes "--scale N" (or "--scale=N"),
// N from 1 to 4: every window shows N times as large (see
// SetMainWindowSize for the choice without it). When no display can be
// opened, or the scale is not one of those, it prints the reason on stderr
// and answers false; the program should exit then. Call it on the thread
// that will run the user interface, before the first window is created.
bool StartDisplay(int& argc, char** argv);

// The size of the program's main window in its own pixels, told before
// StartDisplay. On a screen where that window would look small (1440p,
// 4K), every window shows at 2× or 3× (whole pixels, crisp), with pointer
// input mapped back; the program's own pixels, and so what it draws and
// saves, stay as they are. Without it windows show at their own size
// unless --scale asks otherwise.
void SetMainWindowSize(SIZE size);

}  // namespace win
