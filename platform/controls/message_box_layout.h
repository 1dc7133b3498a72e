// Where a message box puts its icon, text and buttons, as a pure function of
// the text's measured size, so that it can be checked without a window.
#pragma once
#include <windows.h>

#include <vector>

namespace win::controls {

struct MessageBoxButton {
    int id;  // IDOK, IDCANCEL, IDYES, IDNO, ...
    const char* label;
};

// The buttons of an MB_* type, left to right; MB_OK for an unknown type.
std::vector<MessageBoxButton> MessageBoxButtons(UINT type);
// The index of the default button among them (MB_DEFBUTTONn, clamped).
int MessageBoxDefault(UINT type, int buttonCount);
// What Escape answers: IDCANCEL when there is a Cancel button, IDOK for a
// lone OK button, 0 when Escape does nothing.
int MessageBoxEscape(UINT type);

struct MessageBoxLayout {
    SIZE client;  // the window's client size
    RECT icon;    // empty without an icon
    RECT text;
    std::vector<RECT> buttons;  // one per button, left to right
};

constexpr int kMessageBoxIcon = 32;
constexpr int kMessageBoxMaxTextWidth = 420;

// `textSize` is the wrapped text's size (at most kMessageBoxMaxTextWidth
// wide); `captionWidth` widens the box so the title fits.
MessageBoxLayout LayOutMessageBox(SIZE textSize, bool hasIcon, int buttonCount, int captionWidth);

}  // namespace win::controls
