// How SDL's keys and text reach the window core: named keys become Windows
// virtual-key codes, typed text becomes Windows-1252 characters.
#pragma once
#include <SDL.h>

#include <string>

namespace win::sdl {

// The virtual-key code of a key the program handles as a key (Tab, Enter,
// Escape, Space, arrows, Home/End, PageUp/PageDown, Backspace, Delete, F1
// and the modifiers), or 0. Letters and digits are not mapped: they arrive
// as text, and TranslateMessage would otherwise type them twice. Space is a
// key (it presses a focused button), so the backend drops it from the text.
unsigned VirtualKeyOf(SDL_Keycode key);

// With Alt held those typing keys are system keys (Alt+Space opens the
// system menu, Alt+letter picks a menu item): their virtual-key code, or 0.
unsigned SystemKeyOf(SDL_Keycode key);

// The Windows-1252 bytes of UTF-8 text. Characters that code page lacks,
// control characters and malformed sequences are dropped.
std::string Utf8ToWindows1252(const char* utf8);

}  // namespace win::sdl
