// The mixer's RGB/HSB conversions: the worked examples, the tie order of the
// hue, the wrap at 360 and the ranges of each hue sector.
#include <gtest/gtest.h>

#include <tuple>

#include "controls/color_convert.h"

namespace {

struct Rgb {
    int r, g, b;
};
struct Hsb {
    int h, s, v;
};

class RgbToHsbTest : public ::testing::TestWithParam<std::tuple<Rgb, Hsb>> {};

TEST_P(RgbToHsbTest, Converts) {
    const auto [rgb, hsb] = GetParam();
    int h = -1, s = -1, v = -1;
    RgbToHsb(rgb.r, rgb.g, rgb.b, h, s, v);
    EXPECT_EQ(h, hsb.h);
    EXPECT_EQ(s, hsb.s);
    EXPECT_EQ(v, hsb.v);
}

INSTANTIATE_TEST_SUITE_P(Examples, RgbToHsbTest,
                         ::testing::Values(std::make_tuple(Rgb{255, 0, 0}, Hsb{0, 255, 255}),
                                           std::make_tuple(Rgb{128, 128, 128}, Hsb{0, 0, 128}),
                                           std::make_tuple(Rgb{0, 0, 0}, Hsb{0, 0, 0}),
                                           std::make_tuple(Rgb{255, 255, 0}, Hsb{60, 255, 255}),
                                           std::make_tuple(Rgb{0, 255, 255}, Hsb{180, 255, 255}),
                                           std::make_tuple(Rgb{255, 0, 255}, Hsb{300, 255, 255}),
                                           // Just below 360 degrees: -0.235 + 360 truncates to 359.
                                           std::make_tuple(Rgb{255, 0, 1}, Hsb{359, 255, 255}),
                                           // Red wins the tie with green, green the tie with blue.
                                           std::make_tuple(Rgb{200, 200, 100}, Hsb{60, 127, 200}),
                                           std::make_tuple(Rgb{100, 200, 200}, Hsb{180, 127, 200}),
                                           // Saturation is d / max x 255, truncated.
                                           std::make_tuple(Rgb{255, 128, 0}, Hsb{30, 255, 255}),
                                           std::make_tuple(Rgb{192, 255, 192}, Hsb{120, 63, 255})));

class HsbToRgbTest : public ::testing::TestWithParam<std::tuple<Hsb, Rgb>> {};

TEST_P(HsbToRgbTest, Converts) {
    const auto [hsb, rgb] = GetParam();
    int r = -1, g = -1, b = -1;
    HsbToRgb(hsb.h, hsb.s, hsb.v, r, g, b);
    EXPECT_EQ(r, rgb.r);
    EXPECT_EQ(g, rgb.g);
    EXPECT_EQ(b, rgb.b);
}

INSTANTIATE_TEST_SUITE_P(Examples, HsbToRgbTest,
                         ::testing::Values(std::make_tuple(Hsb{60, 255, 255}, Rgb{255, 255, 0}),
                                           std::make_tuple(Hsb{61, 255, 255}, Rgb{250, 255, 0}),
                                           std::make_tuple(Hsb{300, 255, 255}, Rgb{255, 0, 255}),
                                           std::make_tuple(Hsb{0, 255, 255}, Rgb{255, 0, 0}),
                                           std::make_tuple(Hsb{0, 0, 128}, Rgb{128, 128, 128}),
                                           // The first row of each sector.
                                           std::make_tuple(Hsb{120, 255, 255}, Rgb{0, 255, 0}),
                                           std::make_tuple(Hsb{180, 255, 255}, Rgb{0, 255, 255}),
                                           std::make_tuple(Hsb{240, 255, 255}, Rgb{0, 0, 255}),
                                           std::make_tuple(Hsb{301, 255, 255}, Rgb{255, 0, 250}),
                                           std::make_tuple(Hsb{359, 255, 255}, Rgb{255, 0, 4}),
                                           // Half saturation: m = v - v s / 255.
                                           std::make_tuple(Hsb{30, 128, 200}, Rgb{200, 149, 99}),
                                           // Out of range: hue wraps, the others are held in range.
                                           std::make_tuple(Hsb{420, 255, 255}, Rgb{255, 255, 0}),
                                           std::make_tuple(Hsb{0, 300, -5}, Rgb{0, 0, 0})));

// Every fully saturated hue comes back within a degree or two of itself.
TEST(ColorConvertTest, SaturatedHuesSurviveTheRoundTrip) {
    for (int h = 0; h < 360; ++h) {
        int r, g, b, h2, s2, v2;
        HsbToRgb(h, 255, 255, r, g, b);
        RgbToHsb(r, g, b, h2, s2, v2);
        EXPECT_EQ(v2, 255) << h;
        EXPECT_EQ(s2, 255) << h;
        int diff = (h - h2 + 360) % 360;
        EXPECT_LE(std::min(diff, 360 - diff), 2) << h;
    }
}

}  // namespace
