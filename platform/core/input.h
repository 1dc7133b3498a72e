// Mouse and keyboard input as the backends deliver it: raw events at screen
// points, routed here to windows (capture, hit-testing, focus), turned into
// Windows messages and queued on the window's thread.
#pragma once
#include <windows.h>

namespace win::core {

enum class MouseButton { Left, Right, Middle };

POINT CursorPosition();
// `within` names the top-level window whose native window received the
// event; the point is then hit-tested in that window alone (null: in the
// core's z-order of all top-level windows).
void InjectMouseMove(POINT screen, DWORD time, HWND within = nullptr);
void InjectMouseButton(POINT screen, MouseButton button, bool down, DWORD time,
                       HWND within = nullptr);
// One turn of the wheel at a screen point: `delta` in WHEEL_DELTA units
// (positive away from the user). Goes to the window under the pointer.
void InjectMouseWheel(POINT screen, int delta);
// The pointer left every window of the program (left the native window).
void InjectPointerLeft();
void InjectKey(UINT virtualKey, bool down);
void InjectChar(unsigned char ch);
// A key message was taken from its queue: GetKeyState answers as of it, as
// on Windows, so Ctrl+Z reads Ctrl down even when the release of Ctrl
// arrived before the Z was handled. Called with BigLock() held.
void KeyMessageRetrieved(const MSG& msg);

// Window lifetime hooks (called without BigLock, on the window's thread).
void ForgetWindowInput(HWND hwnd);  // during destruction

}  // namespace win::core
