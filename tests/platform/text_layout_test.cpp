// DrawText's layout with a fixed-width measure: every character 10 pixels,
// lines 10 pixels high, so positions can be checked exactly.
#include <gtest/gtest.h>

#include "text/cp1252.h"
#include "text/layout.h"

namespace {

const text::MeasureFunction kTenEach = [](std::string_view s) {
    return static_cast<int>(s.size()) * 10;
};

std::vector<std::string> Lines(const text::TextLayout& layout) {
    std::vector<std::string> out;
    for (const auto& line : layout.lines) out.push_back(line.text);
    return out;
}

text::TextLayout Lay(std::string_view s, RECT r, UINT format) {
    return text::LayoutText(s, r, format, 10, kTenEach);
}

}  // namespace

TEST(TextLayout, LineBreaksOnLfCrLfAndCr) {
    auto layout = Lay("one\r\ntwo\nthree\rfour", RECT{0, 0, 200, 100}, DT_LEFT);
    EXPECT_EQ(Lines(layout), (std::vector<std::string>{"one", "two", "three", "four"}));
    EXPECT_EQ(layout.lines[3].y, 30);
    EXPECT_EQ(layout.result, 40);
    // An empty line in the middle keeps its place.
    EXPECT_EQ(Lines(Lay("a\n\nb", RECT{0, 0, 200, 100}, 0)),
              (std::vector<std::string>{"a", "", "b"}));
    // A single-line format ignores the breaks.
    EXPECT_EQ(Lay("a\nb", RECT{0, 0, 200, 100}, DT_SINGLELINE).lines.size(), 1u);
}

TEST(TextLayout, WordBreakWrapsAtSpacesAndKeepsLongWordsWhole) {
    auto layout = Lay("aaa bbb ccc", RECT{0, 0, 75, 100}, DT_WORDBREAK);
    EXPECT_EQ(Lines(layout), (std::vector<std::string>{"aaa bbb", "ccc"}));
    // Exactly fitting text stays on one line.
    EXPECT_EQ(Lines(Lay("aaa bbb", RECT{0, 0, 70, 100}, DT_WORDBREAK)),
              (std::vector<std::string>{"aaa bbb"}));
    // A word wider than the rectangle is not split; spaces at breaks vanish.
    EXPECT_EQ(Lines(Lay("abcdefghij  x", RECT{0, 0, 50, 100}, DT_WORDBREAK)),
              (std::vector<std::string>{"abcdefghij", "x"}));
    // Without DT_WORDBREAK long lines stay whole.
    EXPECT_EQ(Lay("aaa bbb ccc", RECT{0, 0, 75, 100}, 0).lines.size(), 1u);
}

TEST(TextLayout, AlignmentHorizontalAndVertical) {
    const RECT r{10, 20, 110, 60};
    EXPECT_EQ(Lay("abcd", r, DT_LEFT).lines[0].x, 10);
    EXPECT_EQ(Lay("abcd", r, DT_CENTER).lines[0].x, 40);
    EXPECT_EQ(Lay("abcd", r, DT_RIGHT).lines[0].x, 70);
    auto centred = Lay("abcd", r, DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(centred.lines[0].y, 35);
    EXPECT_EQ(centred.result, 25);  // bottom of the text, from the top
    EXPECT_EQ(Lay("abcd", r, DT_SINGLELINE | DT_BOTTOM).lines[0].y, 50);
    // Vertical placement needs DT_SINGLELINE.
    EXPECT_EQ(Lay("abcd", r, DT_VCENTER).lines[0].y, 20);
}

TEST(TextLayout, CalcRectBoundsTheText) {
    auto layout = Lay("aaa bbb ccc", RECT{5, 5, 80, 10}, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(layout.bounds.left, 5);
    EXPECT_EQ(layout.bounds.right, 75);   // the widest line
    EXPECT_EQ(layout.bounds.bottom, 25);  // two lines below the top
    auto single = Lay("ab", RECT{0, 0, 300, 300}, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(single.bounds.right, 20);
    EXPECT_EQ(single.bounds.bottom, 10);
    // An empty string: no lines, one line's height; the rectangle collapses,
    // keeping one line's height when single-line.
    auto empty = Lay("", RECT{10, 10, 300, 300}, DT_CALCRECT);
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_EQ(empty.result, 10);
    EXPECT_EQ(empty.bounds.right, 10);
    EXPECT_EQ(empty.bounds.bottom, 10);
    EXPECT_EQ(Lay("", RECT{10, 10, 300, 300}, DT_CALCRECT | DT_SINGLELINE).bounds.bottom, 20);
    // A final line break adds no line.
    EXPECT_EQ(Lay("a\n", RECT{0, 0, 300, 300}, DT_CALCRECT).bounds.bottom, 10);
}

TEST(TextLayout, PrefixesUnderlineAndDoubleAmpersand) {
    std::string out;
    EXPECT_EQ(text::StripPrefixes("&About", out), 0);
    EXPECT_EQ(out, "About");
    EXPECT_EQ(text::StripPrefixes("Save && &Quit", out), 7);
    EXPECT_EQ(out, "Save & Quit");
    EXPECT_EQ(text::StripPrefixes("end&", out), -1);
    EXPECT_EQ(out, "end");

    auto layout = Lay("&About Tintorama...", RECT{0, 0, 500, 50}, DT_SINGLELINE);
    EXPECT_EQ(layout.lines[0].text, "About Tintorama...");
    EXPECT_EQ(layout.lines[0].underlineIndex, 0);
    EXPECT_EQ(Lay("a&b", RECT{0, 0, 500, 50}, DT_NOPREFIX).lines[0].text, "a&b");
    EXPECT_EQ(Lay("a&b", RECT{0, 0, 500, 50}, DT_HIDEPREFIX).lines[0].underlineIndex, -1);
    // The underline follows its character onto a wrapped line.
    auto wrapped = Lay("abc d&ef", RECT{0, 0, 40, 50}, DT_WORDBREAK);
    ASSERT_EQ(wrapped.lines.size(), 2u);
    EXPECT_EQ(wrapped.lines[1].text, "def");
    EXPECT_EQ(wrapped.lines[1].underlineIndex, 1);
}

TEST(TextLayout, EndEllipsisFitsTheWidth) {
    auto layout = Lay("abcdefgh", RECT{0, 0, 50, 10}, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(layout.lines[0].text, "ab...");
    EXPECT_EQ(Lay("abc", RECT{0, 0, 50, 10}, DT_SINGLELINE | DT_END_ELLIPSIS).lines[0].text, "abc");
    // Narrower than the dots themselves: only dots remain, nothing crashes.
    EXPECT_EQ(Lay("abcdef", RECT{0, 0, 5, 10}, DT_SINGLELINE | DT_END_ELLIPSIS).lines[0].text,
              "...");
}

TEST(TextCp1252, DecodesTheHighHalfAndEncodesBack) {
    EXPECT_EQ(text::DecodeCp1252(0x80), U'\u20AC');
    EXPECT_EQ(text::DecodeCp1252(0x9F), U'\u0178');
    EXPECT_EQ(text::DecodeCp1252(0x81), U'\u0081');
    EXPECT_EQ(text::DecodeCp1252(0xE9), U'\u00E9');
    EXPECT_EQ(text::DecodeCp1252('A'), U'A');
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(static_cast<unsigned char>(text::EncodeCp1252(text::DecodeCp1252(b))), b);
    EXPECT_EQ(text::EncodeCp1252(U'\u4E00'), '?');
    EXPECT_EQ(text::Utf16ToCp1252(u"\u20ACa\u00E9\xD800"),
              "\x80"
              "a\xE9?");
}
