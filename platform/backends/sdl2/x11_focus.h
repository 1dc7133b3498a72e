// The few X11 requests SDL2 does not offer: handing the keyboard focus to a
// window whatever the window manager (or its absence) does, and grabbing the
// pointer while a drop-down list or popup menu is open, so that a press
// outside every window of the program still reaches it. Xlib is the one SDL
// itself loaded; under another video driver every call does nothing.
#pragma once
#include <SDL.h>

namespace win::sdl::x11 {

// Gives `window` the X input focus (reverting to the pointer's window, not
// to none, if the window goes away). An error (a window not viewable yet)
// is swallowed. False only when X11 is not in use.
bool FocusWindow(SDL_Window* window);
// An active pointer grab on `window` that still reports events inside the
// program's other windows to them (owner events); released by UngrabPointer.
bool GrabPointer(SDL_Window* window);
void UngrabPointer(SDL_Window* window);

}  // namespace win::sdl::x11
