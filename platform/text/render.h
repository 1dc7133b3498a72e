// Rasterises strings of a Font: into an 8-bit coverage mask, or blended into
// a caller's 32-bit top-down 0x00RRGGBB pixels through a clip rectangle.
// This is the entry point a DC's TextOut and DrawText call.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/font.h"
#include "win/types.h"

namespace text {

// Top-down rows of 0x00RRGGBB pixels; stride in pixels.
struct PixelTarget {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

struct TextColors {
    COLORREF text = 0;    // 0x00BBGGRR, as a DC keeps it
    bool opaque = false;  // fill the cell with `background` first
    COLORREF background = 0xFFFFFF;
};

// Coverage of a string. The string's cell (its extent: width of the
// advances, height of the font) lies at (cellX, cellY) inside the mask; the
// mask also covers any ink that overhangs the cell.
struct TextMask {
    int width = 0;
    int height = 0;
    int cellX = 0;
    int cellY = 0;
    int cellWidth = 0;
    std::vector<uint8_t> coverage;  // width * height, rows top-down
};

// `underlineIndex` is the byte of `text` to underline (an '&' prefix), -1
// for none; the font's own underline and strike-out apply to the whole run.
TextMask RenderMask(const Font& font, std::string_view text, int underlineIndex = -1);

// Draws `text` with the top-left of its cell at (x, y) in target pixels.
// Every pixel written lies inside both `clip` and the target. Returns the
// width of the string.
int DrawString(const Font& font, const PixelTarget& target, const RECT& clip, int x, int y,
               std::string_view text, const TextColors& colors, int underlineIndex = -1);

}  // namespace text
