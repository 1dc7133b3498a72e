// The window creation notice of the thread's WH_CBT hooks.
#pragma once
#include <windows.h>

namespace win::core {

// Runs the hooks for a window that exists but has had no message yet.
// True when a hook refuses the window.
bool CbtCreateRefused(HWND hwnd, CREATESTRUCTA* cs);

}  // namespace win::core
