// The headless backend's test API: a virtual 1024 x 768 desktop whose
// top-level windows keep their pixels in memory. Tests inject pointer and
// key events at screen points, run the calling thread's message loop until
// nothing is left to do, and read back any window's pixels.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace win::core {
class Backend;
// A fresh headless backend, for tests that put it back after another.
std::unique_ptr<Backend> CreateHeadlessBackend();
}  // namespace win::core

namespace headless {

enum class Button { Left, Right, Middle };

// Pointer and keys. Events carry the headless clock's time (see
// AdvanceClock), so double clicks depend on it, not on how fast a test runs.
void MouseMove(int x, int y);
void MouseDown(int x, int y, Button button = Button::Left);
void MouseUp(int x, int y, Button button = Button::Left);
void Click(int x, int y, Button button = Button::Left);
void Wheel(int x, int y, int delta);  // delta in WHEEL_DELTA units
void PointerLeave();                  // the pointer left the program's windows
void KeyDown(UINT virtualKey);
void KeyUp(UINT virtualKey);
void KeyPress(UINT virtualKey);  // down, then up
void TypeChar(unsigned char ch);
void AdvanceClock(DWORD milliseconds);
DWORD Now();

// Retrieves, translates and dispatches the calling thread's messages
// (posted, input, paint, due timers) until none is left. Returns how many
// were dispatched; stops after `limit` to survive a window that keeps
// invalidating itself.
int RunUntilIdle(int limit = 100000);

// Called on the thread that set it whenever that thread is about to block
// for messages (for example inside a modal loop). Returning true makes the
// loop look at its queue again. Pass nullptr to remove.
void SetIdleHandler(std::function<bool()> handler);

// Pixels. A window's pixels are its rectangle on its top-level window's
// pixels (client area only with clientOnly), top-down, 0x00RRGGBB.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    COLORREF At(int x, int y) const;  // CLR_INVALID outside
};
bool ReadPixels(HWND hwnd, Image* out, bool clientOnly = true);
COLORREF PixelAt(HWND hwnd, int clientX, int clientY);  // CLR_INVALID outside
// Writes an image as a 24-bit bottom-up BMP file.
bool SaveBmp(const Image& image, const std::string& path);

// The desktop.
struct TopLevel {
    HWND hwnd;
    std::string title;
    std::string className;
    RECT rect;
    bool visible;
};
std::vector<TopLevel> TopLevelWindows();  // in z-order, topmost first
SIZE ScreenSize();
// Whether the program asked for full screen (win::SetFullScreen, or F11:
// KeyDown(VK_F11) switches it as a real display's key does).
bool FullScreen();

// What the backend was asked to show: rectangles presented per window since
// the last call, and the cursor last set.
struct Presented {
    HWND hwnd;
    RECT rect;
};
std::vector<Presented> TakePresented();
HCURSOR CurrentCursor();
// The icon last handed to a top-level window's native window by WM_SETICON
// (which is ICON_BIG or ICON_SMALL); NULL when none.
HICON WindowIcon(HWND hwnd, int which = ICON_BIG);
// The top-level window the core last told the backend to activate, whose
// native window would have the keyboard (null when none, or when it is
// gone), and how many times the backend was told.
HWND NativeFocus();
int NativeActivations();

// What the program asked the shell (ShellExecuteA) since the last call;
// nothing is launched while the headless backend is installed.
struct ShellRequest {
    std::string operation;
    std::string file;
    std::string parameters;
    std::string directory;
    int show;
};
std::vector<ShellRequest> TakeShellRequests();

// What GetModuleFileNameA answers for the executable from now on, so that a
// program under test finds its data in a prepared folder; "" restores the
// real path.
void SetExecutablePath(const std::string& path);

// Runs `action` once on this thread, the next time it is about to wait for
// messages (for example inside a message box's or the save dialog's loop)
// while a visible top-level window of `className` is up. The action may read
// the window and answer it (press a button, type a name). Message boxes are
// of class kMessageBoxClass; their text is the child with id 0xFFFF.
void WhenTopLevelAppears(const std::string& className, std::function<void(HWND)> action);
inline constexpr const char* kMessageBoxClass = "TintoMessageBox";
// The save and open dialogs: the file name box is the child with id 1152.
inline constexpr const char* kFileDialogClass = "TintoFileDialog";
// Open popup menus (TrackPopupMenu, the system menu) are top-level windows
// of this class; item i (0-based) is listed top to bottom.
inline constexpr const char* kPopupMenuClass = "TintoPopupMenu";

}  // namespace headless
