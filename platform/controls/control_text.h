// Text and frames the controls draw: text goes through the text engine on the
// DC's own pixels, in the DC's font, colour and background mode.
#pragma once
#include <windows.h>

#include <string>

namespace win::controls {

// Draws `text` in `rect` (logical coordinates of `dc`) with DT_* `format`.
// With DT_CALCRECT nothing is drawn and `rect` receives the bounds. Returns
// the text's height.
int PaintText(HDC dc, const std::string& text, RECT& rect, UINT format);
// Cell height of the DC's current font.
int FontHeight(HDC dc);
// Width of `text` in the DC's current font.
int TextWidth(HDC dc, const std::string& text);

// The font a control draws with: the one set with WM_SETFONT, else the
// default GUI font.
inline HFONT ControlFont(HFONT set) {
    return set ? set : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Sends WM_CTLCOLOR* to the control's parent; falls back to the system's
// default (text colour, background colour, brush) when the parent answers
// with no brush.
HBRUSH ControlColor(HWND control, HDC dc, UINT message);

// Sends WM_COMMAND with `code` to the control's parent.
void NotifyParent(HWND control, UINT code);

// The classic raised and sunken 3-D frames.
void RaisedFrame(HDC dc, const RECT& rect);
void SunkenFrame(HDC dc, const RECT& rect);
void FillSys(HDC dc, const RECT& rect, int colorIndex);

}  // namespace win::controls
