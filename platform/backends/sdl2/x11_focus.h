// The few X11 requests SDL2 does not offer: handing the keyboard focus to a
// window whatever the window manager (or its absence) does, and grabbing the
// pointer while a drop-down list or popup menu is open, so that a press
// outside every window of the program still reaches it. Xlib is the one SDL
// itself loaded; under another video driver every call does nothing.
#pragma once
#include <SDL.h>

struct SDL_SysWMmsg;

namespace win::sdl::x11 {

// SDL2 wakes a waiting thread with an event sent to one of its windows
// over a second connection; when that window has just been destroyed the
// server answers BadWindow, which Xlib's default handler turns into the end
// of the process. Such errors are ignored from now on (the thread they were
// meant to wake is awake already); every other error goes to the handler
// that was installed before. Called before SDL starts, so that SDL's own
// handler passes such errors on to this one.
void IgnoreVanishedWakeups();

// Gives `window` the X input focus (reverting to the pointer's window, not
// to none, if the window goes away). An error (a window not viewable yet)
// is swallowed. False only when X11 is not in use.
bool FocusWindow(SDL_Window* window);
// Whether `window` has the X input focus now (asks the server); true when
// X11 is not in use (nothing to repair then).
bool HasFocus(SDL_Window* window);
// Where the window really is on the root window. SDL2's own report of a
// move is wrong under a window manager that reparents (it counts the
// frame's offset twice). False when X11 is not in use.
bool RootPosition(SDL_Window* window, int* x, int* y);
// An active pointer grab on `window` that still reports events inside the
// program's other windows to them (owner events); released by UngrabPointer.
// While the grab lasts, X's events come as SDL_SYSWMEVENT too.
bool GrabPointer(SDL_Window* window);
void UngrabPointer(SDL_Window* window);

// Whether an X event is a raw button press or release (XInput 2), which
// the server reports wherever the pointer is, grab or not; SDL passes
// presses outside its windows on no other way.
bool RawButton(const SDL_SysWMmsg* msg, bool* down);

}  // namespace win::sdl::x11
