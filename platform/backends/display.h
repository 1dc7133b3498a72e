// The one call a program's main makes to choose where its windows appear.
#pragma once
#include <windows.h>

namespace win {

// Opens a real display (SDL2) and installs it as the layer's backend, so
// that windows are shown and input comes from the user. Consumes the option
// "--headless" from argv (argc adjusted) and "--fullscreen" (see below): the program then runs on the
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

// Full screen (the option "--fullscreen" of StartDisplay, or F11, which
// switches it on and off wherever the keyboard is): every window of the
// program keeps its own pixels and shows at the largest whole factor at
// which the windows shown fit the screen, centred, over a backdrop of one
// colour that fills the rest of the screen; the window manager can neither
// move nor close them. The headless backend keeps the state only.
void SetFullScreen(bool on);
bool IsFullScreen();
// The backdrop's colour (the program's sky, say).
void SetFullScreenBackdrop(COLORREF colour);
// Called on the user-interface thread whenever F11 switched full screen on
// or off (not for SetFullScreen); null to stop.
void SetFullScreenListener(void (*listener)(bool on));

}  // namespace win
