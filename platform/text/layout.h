// DrawText's layout as pure functions: prefixes, line breaks, word wrapping,
// end ellipsis, alignment and DT_CALCRECT; and the DrawText entry a DC calls.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/render.h"
#include "win/text.h"

namespace text {

struct LayoutLine {
    std::string text;  // what is drawn: prefixes resolved
    int x = 0;         // cell's top-left, in the caller's coordinates
    int y = 0;
    int width = 0;
    int underlineIndex = -1;  // byte of `text` under an '&' prefix, or -1
};

struct TextLayout {
    std::vector<LayoutLine> lines;
    RECT bounds{};   // the rectangle DT_CALCRECT reports
    int result = 0;  // what DrawText returns: the height of the text
};

// Width in pixels of a Windows-1252 string.
using MeasureFunction = std::function<int(std::string_view)>;

// Lays `text` out in `rect` following the DT_* `format`; `lineHeight` is the
// font's cell height. Nothing is drawn.
TextLayout LayoutText(std::string_view text, const RECT& rect, UINT format, int lineHeight,
                      const MeasureFunction& measure);

// Removes '&' prefixes ("&&" gives '&'); returns the index in the result of
// the character after the first single '&', or -1.
int StripPrefixes(std::string_view text, std::string& out);

// DrawText on a pixel buffer. Logical (0, 0) of `rect` and the layout lies
// at `origin` in target pixels; `clip` is in target pixels. Unless
// DT_NOCLIP, drawing is also clipped to `rect`. With DT_CALCRECT nothing is
// drawn and `rect` receives the bounds. Returns the text's height. An empty
// string is DrawText's "" (one line's height); a caller given a character
// count of 0 answers 0 itself without calling this.
int DrawTextInto(const Font& font, const PixelTarget& target, POINT origin, const RECT& clip,
                 std::string_view text, RECT& rect, UINT format, const TextColors& colors);

}  // namespace text
