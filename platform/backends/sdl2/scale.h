// Big screens: every native window shows the program's pixels enlarged by a
// whole factor (nearest neighbour, so edges stay crisp), and points in a
// native window map back to the program's own pixels. The core, the
// program and the pictures it saves never see the factor: for them the
// screen is the real one divided by it.
#pragma once
#include <windows.h>

#include <cstdint>

namespace win::sdl {

constexpr int kMaxScale = 4;

// The factor a screen of `screen` pixels, with `usable` room besides its
// panels, gives a program whose main window is `window` pixels large: the
// largest whole factor, at most 3, at which the enlarged window takes no
// more than two thirds of the screen's height and still fits in the usable
// room. A main window of unknown size (zero) or a screen less than about
// three main windows high gives 1: on an ordinary screen the program shows
// its pixels as they are.
int ChooseScale(SIZE screen, SIZE usable, SIZE window);

// Full screen: the largest whole factor, from 1 to kMaxFullScreenScale, at
// which `content` (the windows shown, in the program's pixels) fits a
// display of `display` pixels, and where the program's pixel (0, 0) then
// lies so that the content is centred: a point p shows at
// origin + p × factor. Content larger than the display at 1× is centred,
// overhanging equally.
constexpr int kMaxFullScreenScale = 8;
struct FullScreenLayout {
    int factor = 1;
    POINT origin{0, 0};
};
FullScreenLayout LayOutFullScreen(SIZE display, const RECT& content);

// Reads "N" of a --scale option: a whole number from 1 to kMaxScale, or 0
// when the text is anything else.
int ParseScale(const char* text);

// A native window's point in the program's pixels (rounding down, also
// left of or above the window, where a drag may go).
inline int FromNative(int value, int factor) {
    return value >= 0 ? value / factor : -((-value + factor - 1) / factor);
}
inline POINT FromNative(POINT p, int factor) {
    return {FromNative(int(p.x), factor), FromNative(int(p.y), factor)};
}

// A 32-bit picture in memory: `stride` pixels from one row to the next.
struct PixelsView {
    uint32_t* pixels = nullptr;
    int width = 0, height = 0, stride = 0;
};

// Copies the rectangle `area` of `from` into `to` enlarged `factor` times,
// each pixel a factor × factor block; clipped to both pictures. Answers the
// rectangle of `to` that changed (empty when none did).
RECT ScalePixels(const PixelsView& from, const RECT& area, int factor, const PixelsView& to);

}  // namespace win::sdl
