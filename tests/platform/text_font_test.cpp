// The text engine with real faces: sizing, the process font table, and
// rendering into pixel buffers.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"
#include "text/font.h"
#include "text/layout.h"
#include "text/render.h"
#include "win/text.h"

namespace {

const char* kMonoFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

LOGFONTA Describe(const char* face, LONG height, LONG weight = FW_NORMAL) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

struct Canvas {
    std::vector<uint32_t> pixels;
    int width, height;
    Canvas(int w, int h, uint32_t fill = 0xFFFFFF)
        : pixels(size_t(w) * h, fill), width(w), height(h) {}
    text::PixelTarget Target() { return {pixels.data(), width, height, width}; }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    // Bounding box of pixels that differ from `background`.
    RECT Ink(uint32_t background = 0xFFFFFF) const {
        RECT r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y) != background) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r;
    }
};

}  // namespace

TEST(TextFont, DialogFontHasTheDialogCell) {
    EXPECT_EQ(text::PointSizeToHeight(80), -11);
    EXPECT_EQ(text::PointSizeToHeight(100), -13);
    auto font = text::Font::Create(Describe("MS Sans Serif", text::PointSizeToHeight(80)));
    ASSERT_TRUE(font);
    EXPECT_EQ(font->Metrics().height, 13);
    EXPECT_EQ(font->Metrics().ascent + font->Metrics().descent, 13);
    EXPECT_GE(font->Metrics().aveCharWidth, 5);
    EXPECT_LE(font->Metrics().aveCharWidth, 7);
    TEXTMETRICA tm = font->TextMetrics();
    EXPECT_EQ(tm.tmHeight, 13);
    EXPECT_EQ(tm.tmWeight, FW_NORMAL);
}

TEST(TextFont, HeightSignSelectsCellOrCharacterHeight) {
    auto cell = text::Font::Create(Describe("DejaVu Sans", 20));
    auto character = text::Font::Create(Describe("DejaVu Sans", -20));
    ASSERT_TRUE(cell && character);
    EXPECT_EQ(cell->Metrics().height, 20);
    EXPECT_GT(character->Metrics().height, 20);  // the cell adds internal leading
    EXPECT_EQ(character->Metrics().internalLeading, character->Metrics().height - 20);
    // Larger fonts measure wider; bold measures wider than regular.
    auto bold = text::Font::Create(Describe("DejaVu Sans", -20, FW_BOLD));
    ASSERT_TRUE(bold);
    EXPECT_GT(character->MeasureWidth("Hello"), cell->MeasureWidth("Hello"));
    EXPECT_GT(bold->MeasureWidth("Hello"), character->MeasureWidth("Hello"));
    EXPECT_EQ(character->MeasureWidth(""), 0);
    EXPECT_EQ(character->Extent("").cy, character->Metrics().height);
    EXPECT_EQ(character->Extent("Hello").cx, character->MeasureWidth("Hello"));
    EXPECT_EQ(character->MeasureWidth("\r\n\t"), 0);  // controls take no room
}

TEST(TextFont, HostileDescriptionsStillGiveAFont) {
    for (LONG height : {LONG(0), LONG(INT_MIN), LONG(INT_MAX), LONG(-1)}) {
        auto font = text::Font::Create(Describe("No Such Family At All", height));
        ASSERT_TRUE(font) << height;
        EXPECT_GT(font->Metrics().height, 0);
        EXPECT_GE(font->MeasureWidth("x"), 0);
    }
    LOGFONTA unterminated = Describe("", -12);
    std::memset(unterminated.lfFaceName, 'A', LF_FACESIZE);
    EXPECT_TRUE(text::Font::Create(unterminated));
}

TEST(TextFont, FontTableRegistersFilesByFamily) {
    namespace fs = std::filesystem;
    test_support::TempDir temp("tinto_fonts");
    const fs::path dir = temp.path();
    const fs::path copy = dir / "mono.ttf";
    fs::copy_file(kMonoFile, copy, fs::copy_options::overwrite_existing);
    std::ofstream(dir / "junk.ttf") << "not a font";

    EXPECT_EQ(AddFontResourceA((dir / "missing.ttf").c_str()), 0);
    EXPECT_EQ(AddFontResourceA((dir / "junk.ttf").c_str()), 0);
    EXPECT_EQ(AddFontResourceA(nullptr), 0);
    EXPECT_FALSE(RemoveFontResourceA(copy.c_str()));

    // Registered under its family, with backslashes in the path allowed.
    std::string windowsStyle = copy.string();
    windowsStyle.replace(windowsStyle.rfind('/'), 1, "\\");
    ASSERT_EQ(AddFontResourceA(windowsStyle.c_str()), 1);
    EXPECT_EQ(AddFontResourceA(copy.c_str()), 1);  // a second reference
    auto found = text::Font::Create(Describe("dejavu sans mono", -12));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->FilePath(), copy.string());

    EXPECT_TRUE(RemoveFontResourceA(copy.c_str()));
    EXPECT_EQ(text::Font::Create(Describe("DejaVu Sans Mono", -12))->FilePath(), copy.string());
    EXPECT_TRUE(RemoveFontResourceA(copy.c_str()));
    EXPECT_FALSE(RemoveFontResourceA(copy.c_str()));
    EXPECT_NE(text::Font::Create(Describe("DejaVu Sans Mono", -12))->FilePath(), copy.string());
    // A font created while registered keeps working after removal.
    EXPECT_GT(found->MeasureWidth("abc"), 0);
}

TEST(TextRender, KnownStringLandsInItsCell) {
    auto font = text::Font::Create(Describe("DejaVu Sans", -20));
    ASSERT_TRUE(font);
    Canvas canvas(120, 60);
    const int width = text::DrawString(*font, canvas.Target(), RECT{0, 0, 120, 60}, 10, 5, "HI",
                                       text::TextColors{RGB(255, 0, 0)});
    EXPECT_EQ(width, font->MeasureWidth("HI"));
    RECT ink = canvas.Ink();
    // Capitals sit on the baseline and reach about 0.73 em above it.
    const int baseline = 5 + font->Metrics().ascent;
    EXPECT_NEAR(ink.bottom, baseline, 1);
    EXPECT_NEAR(baseline - ink.top, 15, 1);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + width);
    // The stem of the H is solid ink of the text colour, in 0x00RRGGBB.
    bool solid = false;
    for (int x = ink.left; x < ink.right; ++x)
        solid |= canvas.At(x, (ink.top + ink.bottom) / 2 - 3) == 0xFF0000;
    EXPECT_TRUE(solid);
}

TEST(TextRender, OpaqueBackgroundFillsExactlyTheCell) {
    auto font = text::Font::Create(Describe("MS Sans Serif", -11));
    Canvas canvas(100, 40, 0x123456);
    text::TextColors colors{RGB(0, 0, 0), true, RGB(0, 0, 255)};
    const int width =
        text::DrawString(*font, canvas.Target(), RECT{0, 0, 100, 40}, 3, 4, "ab", colors);
    RECT ink = canvas.Ink(0x123456);
    EXPECT_EQ(ink.left, 3);
    EXPECT_EQ(ink.top, 4);
    EXPECT_EQ(ink.right, 3 + width);
    EXPECT_EQ(ink.bottom, 4 + 13);
    EXPECT_EQ(canvas.At(3, 4), 0x0000FFu);
}

TEST(TextRender, ClipAndBufferEdgesAreRespected) {
    auto font = text::Font::Create(Describe("DejaVu Sans", -30));
    Canvas canvas(60, 40);
    text::TextColors colors{RGB(0, 0, 0), true, RGB(0, 255, 0)};
    text::DrawString(*font, canvas.Target(), RECT{10, 10, 30, 20}, 5, 0, "WWW", colors);
    RECT ink = canvas.Ink();
    EXPECT_EQ(ink.left, 10);
    EXPECT_EQ(ink.top, 10);
    EXPECT_EQ(ink.right, 30);
    EXPECT_EQ(ink.bottom, 20);
    // Off the buffer on every side, and at far-away origins: nothing written.
    Canvas other(20, 20);
    const RECT everything{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    for (POINT p : {POINT{-80, 5}, POINT{25, 5}, POINT{15, -60}, POINT{5, 25},
                    POINT{INT_MAX - 5, 0}, POINT{INT_MIN, INT_MIN}})
        text::DrawString(*font, other.Target(), everything, p.x, p.y, "Wg", colors);
    text::DrawString(*font, other.Target(), RECT{30, 30, 10, 10}, 0, 0, "Wg",
                     colors);  // empty clip
    EXPECT_EQ(other.Ink().right, INT_MIN);
    // A partly visible string is drawn within the buffer only.
    text::DrawString(*font, other.Target(), everything, -10, -10, "Wg", colors);
    EXPECT_GT(other.Ink().right, 0);
}

TEST(TextRender, PrefixUnderlineAndDrawTextClipToTheRectangle) {
    auto font = text::Font::Create(Describe("MS Sans Serif", -11));
    Canvas plain(80, 20), prefixed(80, 20);
    RECT r{0, 0, 80, 20};
    text::DrawTextInto(*font, plain.Target(), POINT{0, 0}, r, "About", r, DT_SINGLELINE, {});
    text::DrawTextInto(*font, prefixed.Target(), POINT{0, 0}, r, "&About", r, DT_SINGLELINE, {});
    // Same glyphs, plus a line under the first letter only.
    const int underline = font->Metrics().ascent + 1;
    const int aWidth = font->MeasureWidth("A");
    EXPECT_EQ(prefixed.At(1, underline), 0u);
    EXPECT_EQ(plain.At(1, underline), 0xFFFFFFu);
    EXPECT_EQ(prefixed.At(aWidth + 2, underline), 0xFFFFFFu);

    // DT_CALCRECT draws nothing and reports the extent.
    Canvas canvas(100, 40);
    RECT calc{0, 0, 100, 40};
    const int height = text::DrawTextInto(*font, canvas.Target(), POINT{0, 0}, RECT{0, 0, 100, 40},
                                          "About", calc, DT_CALCRECT, {});
    EXPECT_EQ(height, 13);
    EXPECT_EQ(calc.right, font->MeasureWidth("About"));
    EXPECT_EQ(canvas.Ink().right, INT_MIN);
    // Drawing is clipped to the rectangle, which the origin moves.
    RECT small{0, 0, 8, 8};
    text::DrawTextInto(*font, canvas.Target(), POINT{20, 10}, RECT{0, 0, 100, 40}, "WWWW", small, 0,
                       {});
    RECT ink = canvas.Ink();
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 28);
    EXPECT_LE(ink.bottom, 18);
}

TEST(TextRender, MaskAgreesWithBlending) {
    auto font = text::Font::Create(Describe("DejaVu Sans", -18));
    const text::TextMask mask = text::RenderMask(*font, "Hi", 0);
    EXPECT_EQ(mask.cellWidth, font->MeasureWidth("Hi"));
    ASSERT_EQ(mask.coverage.size(), size_t(mask.width) * mask.height);
    Canvas canvas(mask.width + 20, mask.height + 20);
    text::DrawString(*font, canvas.Target(), RECT{0, 0, canvas.width, canvas.height},
                     10 + mask.cellX, 10 + mask.cellY, "Hi", text::TextColors{RGB(0, 0, 0)}, 0);
    int inked = 0;
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            const int coverage = mask.coverage[size_t(y) * mask.width + x];
            const int blue = canvas.At(10 + x, 10 + y) & 0xFF;  // black on white: 255 - coverage
            EXPECT_NEAR(blue, 255 - coverage, 1) << x << "," << y;
            inked += coverage > 0;
        }
    EXPECT_GT(inked, 20);
}
