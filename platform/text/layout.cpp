#include "text/layout.h"

#include <algorithm>

namespace text {
namespace {

struct Paragraph {
    std::string text;
    int underlineIndex = -1;
};

// Splits on "\r\n", "\n" and a lone "\r"; a single-line format keeps one
// paragraph (its line-break characters take no room when drawn).
std::vector<std::string_view> SplitLines(std::string_view text, bool singleLine) {
    std::vector<std::string_view> lines;
    if (singleLine) {
        lines.push_back(text);
        return lines;
    }
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// Greedy word wrapping at spaces. A word wider than the line stays whole on
// a line of its own; the spaces at a break are dropped.
std::vector<Paragraph> Wrap(const Paragraph& paragraph, int width, const MeasureFunction& measure) {
    std::vector<Paragraph> lines;
    const std::string& s = paragraph.text;
    size_t lineStart = 0;
    while (true) {
        size_t end = lineStart;  // end of the text accepted on this line
        size_t scan = lineStart;
        while (scan < s.size()) {
            size_t wordEnd = s.find(' ', scan);
            if (wordEnd == std::string::npos) wordEnd = s.size();
            if (end > lineStart &&
                measure(std::string_view(s).substr(lineStart, wordEnd - lineStart)) > width)
                break;
            end = wordEnd;
            scan = s.find_first_not_of(' ', wordEnd);
            if (scan == std::string::npos) scan = s.size();
        }
        Paragraph line;
        line.text = s.substr(lineStart, end - lineStart);
        while (!line.text.empty() && line.text.back() == ' ') line.text.pop_back();
        const int prefix = paragraph.underlineIndex;
        if (prefix >= static_cast<int>(lineStart) &&
            prefix < static_cast<int>(lineStart + line.text.size()))
            line.underlineIndex = prefix - static_cast<int>(lineStart);
        lines.push_back(std::move(line));
        if (scan >= s.size()) break;
        lineStart = scan;
    }
    return lines;
}

void AddEllipsis(Paragraph& line, int width, const MeasureFunction& measure) {
    if (measure(line.text) <= width) return;
    static const std::string kDots = "...";
    std::string kept = line.text;
    while (!kept.empty() && measure(kept + kDots) > width) kept.pop_back();
    if (line.underlineIndex >= static_cast<int>(kept.size())) line.underlineIndex = -1;
    line.text = kept + kDots;
}

}  // namespace

int StripPrefixes(std::string_view text, std::string& out) {
    out.clear();
    int prefix = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '&') {
            out += '&';
            ++i;
        } else if (i + 1 < text.size() && prefix < 0) {
            prefix = static_cast<int>(out.size());
        }
    }
    return prefix;
}

TextLayout LayoutText(std::string_view text, const RECT& rect, UINT format, int lineHeight,
                      const MeasureFunction& measure) {
    const bool singleLine = format & DT_SINGLELINE;
    const int width = rect.right - rect.left;

    std::vector<Paragraph> lines;
    for (std::string_view source : SplitLines(text, singleLine)) {
        Paragraph paragraph;
        if (format & DT_NOPREFIX)
            paragraph.text.assign(source);
        else
            paragraph.underlineIndex = StripPrefixes(source, paragraph.text);
        if (format & DT_HIDEPREFIX) paragraph.underlineIndex = -1;
        if ((format & DT_WORDBREAK) && !singleLine) {
            for (Paragraph& line : Wrap(paragraph, width, measure))
                lines.push_back(std::move(line));
        } else {
            lines.push_back(std::move(paragraph));
        }
    }

    TextLayout layout;
    int widest = 0;
    int y = rect.top;
    if (singleLine && (format & DT_VCENTER))
        y = rect.top + (rect.bottom - rect.top - lineHeight) / 2;
    else if (singleLine && (format & DT_BOTTOM))
        y = rect.bottom - lineHeight;
    for (Paragraph& line : lines) {
        if (format & DT_END_ELLIPSIS) AddEllipsis(line, width, measure);
        LayoutLine placed;
        placed.width = measure(line.text);
        placed.text = std::move(line.text);
        placed.underlineIndex = line.underlineIndex;
        placed.y = y;
        if (format & DT_CENTER)
            placed.x = rect.left + (width - placed.width) / 2;
        else if (format & DT_RIGHT)
            placed.x = rect.right - placed.width;
        else
            placed.x = rect.left;
        widest = std::max(widest, placed.width);
        y += lineHeight;
        layout.lines.push_back(std::move(placed));
    }

    const int textHeight = static_cast<int>(layout.lines.size()) * lineHeight;
    layout.bounds = rect;
    layout.bounds.right = rect.left + widest;
    layout.bounds.bottom = rect.top + textHeight;
    // With a vertical placement DrawText answers the offset of the text's
    // bottom from the rectangle's top.
    layout.result = y - rect.top;
    if (text.empty()) {
        // An empty string still answers one line's height; its rectangle is
        // empty, except that a single line keeps its height.
        layout.bounds.bottom = rect.top + (singleLine ? lineHeight : 0);
        layout.result = singleLine ? y + lineHeight - rect.top : lineHeight;
    }
    return layout;
}

int DrawTextInto(const Font& font, const PixelTarget& target, POINT origin, const RECT& clip,
                 std::string_view text, RECT& rect, UINT format, const TextColors& colors) {
    const TextLayout layout =
        LayoutText(text, rect, format, font.Metrics().height,
                   [&font](std::string_view s) { return font.MeasureWidth(s); });
    if (format & DT_CALCRECT) {
        rect = layout.bounds;
        return layout.result;
    }
    RECT bounds = clip;
    if (!(format & DT_NOCLIP)) {
        bounds.left = std::max<LONG>(bounds.left, rect.left + origin.x);
        bounds.top = std::max<LONG>(bounds.top, rect.top + origin.y);
        bounds.right = std::min<LONG>(bounds.right, rect.right + origin.x);
        bounds.bottom = std::min<LONG>(bounds.bottom, rect.bottom + origin.y);
    }
    for (const LayoutLine& line : layout.lines)
        DrawString(font, target, bounds, line.x + origin.x, line.y + origin.y, line.text, colors,
                   line.underlineIndex);
    return layout.result;
}

}  // namespace text
