// Text on device contexts: the selected font, colours and background mode,
// TextOutA alignment, DrawTextA placement, wrapping and measuring, and the
// Windows-1252 reading of 8-bit strings.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstring>

#include "gdi_helpers.h"
#include "text/font.h"

namespace {

using gdi_test::MemCanvas;

const COLORREF kWhite = RGB(255, 255, 255);

HFONT MakeFont(const char* face, LONG height) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

// Bounding box of the pixels that differ from `paper`; empty when none.
RECT Ink(const MemCanvas& c, int w, int h, COLORREF paper = kWhite) {
    RECT r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (c.At(x, y) != paper) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    if (r.left == INT_MAX) r = RECT{0, 0, 0, 0};
    return r;
}

// Selects a font into a canvas for one test and restores the old one.
struct WithFont {
    WithFont(HDC dc, HFONT f) : dc(dc), font(f), old(SelectObject(dc, f)) {}
    ~WithFont() {
        SelectObject(dc, old);
        DeleteObject(font);
    }
    HDC dc;
    HFONT font;
    HGDIOBJ old;
};

TEST(DcTextMetrics, DialogFontAtEightPointsHasAThirteenPixelCell) {
    MemCanvas c(10, 10);
    // 8 points at 96 dpi is a character height of 11 pixels.
    WithFont f(c.dc, MakeFont("MS Sans Serif", -11));
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(c.dc, &tm));
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, 13);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc, "Tintorama", 9, &size));
    EXPECT_EQ(size.cy, 13);
    EXPECT_GT(size.cx, 9 * 3);

    char face[LF_FACESIZE] = {};
    EXPECT_EQ(GetTextFaceA(c.dc, sizeof face, face), int(std::strlen("MS Sans Serif")));
    EXPECT_STREQ(face, "MS Sans Serif");

    // The stock GUI font is that same font.
    SelectObject(c.dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA gui{};
    ASSERT_TRUE(GetTextMetricsA(c.dc, &gui));
    EXPECT_EQ(gui.tmHeight, 13);
    SelectObject(c.dc, f.font);
}

TEST(DcTextMetrics, ExtentFollowsTheSelectedFontAndAddsUp) {
    MemCanvas c(10, 10);
    SIZE system{};
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc, "Hello", 5, &system));  // a new DC's SYSTEM_FONT
    EXPECT_EQ(system.cy, 16);

    HFONT big = MakeFont("DejaVu Sans Mono", -40);
    HGDIOBJ old = SelectObject(c.dc, big);
    EXPECT_EQ(old, GetStockObject(SYSTEM_FONT));
    SIZE one{}, four{}, empty{};
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc, "M", 1, &one));
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc, "MMMM", 4, &four));
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc, nullptr, 0, &empty));
    EXPECT_EQ(four.cx, 4 * one.cx);  // a fixed-pitch face
    EXPECT_GT(one.cy, system.cy);
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, one.cy);
    // A selected font cannot be deleted; once deselected it can.
    EXPECT_FALSE(DeleteObject(big));
    SelectObject(c.dc, old);
    EXPECT_TRUE(DeleteObject(big));
}

TEST(DcTextMetrics, BadArgumentsFail) {
    MemCanvas c(10, 10);
    SIZE size{};
    TEXTMETRICA tm{};
    RECT r{0, 0, 10, 10};
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "a", 1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(c.dc, "a", -1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(c.dc, "a", 1, nullptr));
    EXPECT_FALSE(GetTextMetricsA(reinterpret_cast<HDC>(c.bitmap), &tm));
    EXPECT_FALSE(GetTextMetricsA(c.dc, nullptr));
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "a", 1));
    EXPECT_FALSE(TextOutA(c.dc, 0, 0, nullptr, 3));
    EXPECT_EQ(DrawTextA(nullptr, "a", 1, &r, 0), 0);
    EXPECT_EQ(DrawTextA(c.dc, nullptr, 1, &r, 0), 0);
    EXPECT_EQ(DrawTextA(c.dc, "a", 1, nullptr, 0), 0);
    EXPECT_EQ(DrawTextA(c.dc, "a", 0, &r, 0), 0);
    EXPECT_EQ(SetTextAlign(nullptr, TA_RIGHT), UINT(GDI_ERROR));
    EXPECT_EQ(c.Count(kWhite), 100);  // nothing was drawn
}

TEST(DcTextOut, InkInTextColourInsideTheCellAndOpaqueFillsTheCell) {
    MemCanvas c(120, 40);
    WithFont f(c.dc, MakeFont("DejaVu Sans", -20));
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc, "Hi", 2, &size));

    SetBkMode(c.dc, TRANSPARENT);
    SetTextColor(c.dc, RGB(200, 0, 0));
    ASSERT_TRUE(TextOutA(c.dc, 10, 5, "Hi", 2));
    RECT ink = Ink(c, 120, 40);
    EXPECT_GE(ink.left, 10);
    EXPECT_GE(ink.top, 5);
    EXPECT_LE(ink.right, 10 + size.cx + 1);
    EXPECT_LE(ink.bottom, 5 + size.cy);
    EXPECT_GT(c.Count(RGB(200, 0, 0)), 10);  // full coverage is the text colour itself
    for (COLORREF p : c.Pixels()) EXPECT_EQ(GetGValue(p), GetBValue(p));  // only red blends

    // OPAQUE paints the whole cell in the background colour first.
    c.Fill(kWhite);
    SetBkMode(c.dc, OPAQUE);
    SetBkColor(c.dc, RGB(0, 0, 255));
    ASSERT_TRUE(TextOutA(c.dc, 10, 5, "Hi", 2));
    RECT cell = Ink(c, 120, 40);
    EXPECT_EQ(cell.left, 10);
    EXPECT_EQ(cell.top, 5);
    EXPECT_EQ(cell.right, 10 + size.cx);
    EXPECT_EQ(cell.bottom, 5 + size.cy);
    EXPECT_EQ(c.At(10, 5), RGB(0, 0, 255));
}

TEST(DcTextOut, AlignmentAndCurrentPosition) {
    MemCanvas c(200, 60);
    WithFont f(c.dc, MakeFont("DejaVu Sans", -20));
    SetBkColor(c.dc, RGB(0, 0, 0));  // opaque black: the cell is the ink box
    SIZE size{};
    GetTextExtentPoint32A(c.dc, "Abc", 3, &size);
    TEXTMETRICA tm{};
    GetTextMetricsA(c.dc, &tm);

    EXPECT_EQ(SetTextAlign(c.dc, TA_RIGHT | TA_BASELINE), UINT(TA_LEFT | TA_TOP));
    TextOutA(c.dc, 150, 40, "Abc", 3);
    RECT cell = Ink(c, 200, 60);
    EXPECT_EQ(cell.right, 150);
    EXPECT_EQ(cell.left, 150 - size.cx);
    EXPECT_EQ(cell.top, 40 - tm.tmAscent);

    c.Fill(kWhite);
    SetTextAlign(c.dc, TA_CENTER | TA_BOTTOM);
    TextOutA(c.dc, 100, 50, "Abc", 3);
    cell = Ink(c, 200, 60);
    EXPECT_EQ(cell.bottom, 50);
    EXPECT_EQ(cell.left, 100 - size.cx / 2);

    // TA_UPDATECP draws at the current position and moves it past the text.
    c.Fill(kWhite);
    SetTextAlign(c.dc, TA_UPDATECP);
    MoveToEx(c.dc, 5, 7, nullptr);
    TextOutA(c.dc, 999, 999, "Abc", 3);
    POINT pos{};
    GetCurrentPositionEx(c.dc, &pos);
    EXPECT_EQ(pos.x, 5 + size.cx);
    EXPECT_EQ(pos.y, 7);
    cell = Ink(c, 200, 60);
    EXPECT_EQ(cell.left, 5);
    EXPECT_EQ(cell.top, 7);
    EXPECT_EQ(GetTextAlign(c.dc), UINT(TA_UPDATECP));
}

TEST(DcTextOut, LogicalCoordinatesFollowTheViewportOrigin) {
    MemCanvas c(100, 40);
    SetBkColor(c.dc, RGB(0, 0, 0));
    SetViewportOrgEx(c.dc, 30, 10, nullptr);
    TextOutA(c.dc, 0, 0, "x", 1);
    SetViewportOrgEx(c.dc, 0, 0, nullptr);  // read back in pixels
    RECT cell = Ink(c, 100, 40);
    EXPECT_EQ(cell.left, 30);
    EXPECT_EQ(cell.top, 10);
}

TEST(DcDrawText, CalcRectMeasuresAndWordBreakWraps) {
    MemCanvas c(10, 10);
    WithFont f(c.dc, MakeFont("DejaVu Sans", -16));
    TEXTMETRICA tm{};
    GetTextMetricsA(c.dc, &tm);
    SIZE one{};
    GetTextExtentPoint32A(c.dc, "one two three", 13, &one);

    RECT r{5, 5, 1000, 5};
    EXPECT_EQ(DrawTextA(c.dc, "one two three", -1, &r, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.right, 5 + one.cx);
    EXPECT_EQ(r.bottom, 5 + tm.tmHeight);

    // A rectangle narrower than the text but wider than each word: one line
    // per word, as wide as the widest word.
    SIZE three{};
    GetTextExtentPoint32A(c.dc, "three", 5, &three);
    RECT narrow{0, 0, three.cx + 2, 0};
    int height = DrawTextA(c.dc, "one two three", -1, &narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(height, 3 * tm.tmHeight);
    EXPECT_EQ(narrow.bottom, 3 * tm.tmHeight);
    EXPECT_EQ(narrow.right, three.cx);
    // Explicit line breaks count even without DT_WORDBREAK.
    RECT lines{0, 0, 500, 0};
    EXPECT_EQ(DrawTextA(c.dc, "a\r\nb\nc", -1, &lines, DT_CALCRECT), 3 * tm.tmHeight);
    // Nothing is drawn while measuring.
    EXPECT_EQ(c.Count(kWhite), 100);
}

TEST(DcDrawText, PlacementInTheRectangle) {
    MemCanvas c(200, 60);
    WithFont f(c.dc, MakeFont("DejaVu Sans", -16));
    SetBkColor(c.dc, RGB(0, 0, 0));  // the opaque cell shows where the line went
    SIZE size{};
    GetTextExtentPoint32A(c.dc, "Wide", 4, &size);
    RECT area{20, 10, 180, 50};

    RECT r = area;
    DrawTextA(c.dc, "Wide", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    RECT cell = Ink(c, 200, 60);
    EXPECT_EQ(cell.left, 20 + (160 - size.cx) / 2);
    EXPECT_EQ(cell.top, 10 + (40 - size.cy) / 2);
    EXPECT_EQ(cell.right - cell.left, size.cx);

    c.Fill(kWhite);
    r = area;
    DrawTextA(c.dc, "Wide", -1, &r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    cell = Ink(c, 200, 60);
    EXPECT_EQ(cell.right, 180);
    EXPECT_EQ(cell.bottom, 50);
}

TEST(DcDrawText, ClippingEllipsisAndPrefixes) {
    MemCanvas c(200, 40);
    WithFont f(c.dc, MakeFont("DejaVu Sans", -16));
    SetBkMode(c.dc, TRANSPARENT);
    const char* text = "a long line of text that does not fit";

    RECT r{10, 5, 60, 35};
    DrawTextA(c.dc, text, -1, &r, DT_SINGLELINE);
    RECT ink = Ink(c, 200, 40);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 60);

    c.Fill(kWhite);
    r = RECT{10, 5, 60, 35};
    DrawTextA(c.dc, text, -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(Ink(c, 200, 40).right, 60);

    // The ellipsis keeps the whole line, dots included, inside the width.
    c.Fill(kWhite);
    r = RECT{10, 5, 100, 35};
    DrawTextA(c.dc, text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    ink = Ink(c, 200, 40);
    EXPECT_LE(ink.right, 100);
    EXPECT_GT(ink.right, 80);

    // "&&" measures as one '&'; "&x" as "x" (plus an underline), and with
    // DT_NOPREFIX the '&' is an ordinary character.
    SIZE amp{}, x{};
    GetTextExtentPoint32A(c.dc, "&", 1, &amp);
    GetTextExtentPoint32A(c.dc, "x", 1, &x);
    RECT m{0, 0, 500, 0};
    DrawTextA(c.dc, "&&", -1, &m, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(m.right, amp.cx);
    m = RECT{0, 0, 500, 0};
    DrawTextA(c.dc, "&x", -1, &m, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(m.right, x.cx);
    m = RECT{0, 0, 500, 0};
    DrawTextA(c.dc, "&x", -1, &m, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(m.right, amp.cx + x.cx);

    // The underline of "&x" reaches below the ink of a plain "x".
    c.Fill(kWhite);
    r = RECT{0, 0, 100, 40};
    DrawTextA(c.dc, "x", -1, &r, DT_SINGLELINE);
    LONG plainBottom = Ink(c, 200, 40).bottom;
    c.Fill(kWhite);
    DrawTextA(c.dc, "&x", -1, &r, DT_SINGLELINE);
    EXPECT_GT(Ink(c, 200, 40).bottom, plainBottom);
}

TEST(DcDrawText, BytesAboveSevenFReadAsWindows1252) {
    MemCanvas c(60, 40);
    WithFont f(c.dc, MakeFont("DejaVu Sans", -24));
    LOGFONTA lf{};
    lf.lfHeight = -24;
    std::strncpy(lf.lfFaceName, "DejaVu Sans", LF_FACESIZE - 1);
    auto engine = text::Font::Create(lf);
    ASSERT_TRUE(engine);

    // 0x80 is the euro sign and 0x9C the "oe" ligature in Windows-1252;
    // in ISO 8859-1 both are invisible control characters.
    for (auto [byte, code] : {std::pair<char, char32_t>{'\x80', U'\u20AC'}, {'\x9C', U'\u0153'}}) {
        SIZE size{};
        ASSERT_TRUE(GetTextExtentPoint32A(c.dc, &byte, 1, &size));
        EXPECT_EQ(size.cx, engine->GlyphFor(code).advance);
        EXPECT_GT(size.cx, 5);
        c.Fill(kWhite);
        SetBkMode(c.dc, TRANSPARENT);
        TextOutA(c.dc, 5, 5, &byte, 1);
        RECT ink = Ink(c, 60, 40);
        EXPECT_GT(ink.right - ink.left, 5) << int(static_cast<unsigned char>(byte));
    }
}

}  // namespace
