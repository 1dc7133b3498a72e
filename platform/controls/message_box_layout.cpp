#include "controls/message_box_layout.h"

#include <algorithm>

namespace win::controls {
namespace {

constexpr int kMargin = 12;
constexpr int kGap = 8;           // between icon and text, and between buttons
constexpr int kButtonWidth = 75;  // 50 x 14 dialog units
constexpr int kButtonHeight = 23;

}  // namespace

std::vector<MessageBoxButton> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
        case MB_ABORTRETRYIGNORE:
            return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
        case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
        case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
        case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
        default: return {{IDOK, "OK"}};
    }
}

int MessageBoxDefault(UINT type, int buttonCount) {
    int index = int((type & MB_DEFMASK) >> 8);
    return index < buttonCount ? index : 0;
}

int MessageBoxEscape(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
        case MB_RETRYCANCEL: return IDCANCEL;
        case MB_YESNO:
        case MB_ABORTRETRYIGNORE: return 0;
        default: return IDOK;
    }
}

MessageBoxLayout LayOutMessageBox(SIZE textSize, bool hasIcon, int buttonCount, int captionWidth) {
    MessageBoxLayout out;
    buttonCount = std::max(1, buttonCount);
    int textLeft = kMargin + (hasIcon ? kMessageBoxIcon + kGap : 0);
    int textWidth = std::clamp<int>(textSize.cx, 0, kMessageBoxMaxTextWidth);
    int bodyHeight = std::max<int>(textSize.cy, hasIcon ? kMessageBoxIcon : 0);
    int buttonsWidth = buttonCount * kButtonWidth + (buttonCount - 1) * kGap;
    int width = std::max(
        {textLeft + textWidth + kMargin, buttonsWidth + 2 * kMargin, std::min(captionWidth, 600)});
    int textTop = kMargin + std::max(0, (bodyHeight - int(textSize.cy)) / 2);
    out.icon = hasIcon
                   ? RECT{kMargin, kMargin, kMargin + kMessageBoxIcon, kMargin + kMessageBoxIcon}
                   : RECT{0, 0, 0, 0};
    out.text = RECT{textLeft, textTop, textLeft + textWidth, textTop + int(textSize.cy)};
    int buttonTop = kMargin + bodyHeight + kMargin + 4;
    int x = (width - buttonsWidth) / 2;
    for (int i = 0; i < buttonCount; ++i) {
        out.buttons.push_back(RECT{x, buttonTop, x + kButtonWidth, buttonTop + kButtonHeight});
        x += kButtonWidth + kGap;
    }
    out.client = SIZE{width, buttonTop + kButtonHeight + kMargin};
    return out;
}

}  // namespace win::controls
