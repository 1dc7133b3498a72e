// Big screens: the factor chosen for a screen, the --scale option, points
// mapped back from a native window, and the enlarged pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "backends/sdl2/scale.h"

namespace {

using win::sdl::ChooseScale;
using win::sdl::FromNative;
using win::sdl::ParseScale;
using win::sdl::PixelsView;
using win::sdl::ScalePixels;

constexpr SIZE kHome{698, 465};  // the home screen's size in its own pixels

struct ScreenCase {
    const char* name;
    SIZE screen, usable, window;
    int expected;
};

class ScaleForScreen : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(ScaleForScreen, IsTheLargestThatLeavesRoom) {
    const ScreenCase& c = GetParam();
    EXPECT_EQ(ChooseScale(c.screen, c.usable, c.window), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, ScaleForScreen,
    ::testing::Values(ScreenCase{"Laptop768", {1366, 768}, {1366, 768}, kHome, 1},
                      ScreenCase{"FullHd", {1920, 1080}, {1920, 1080}, kHome, 1},
                      ScreenCase{"Wuxga", {1920, 1200}, {1920, 1200}, kHome, 1},
                      ScreenCase{"Qhd", {2560, 1440}, {2560, 1440}, kHome, 2},
                      ScreenCase{"QhdWithAPanel", {2560, 1440}, {2560, 1392}, kHome, 2},
                      ScreenCase{"Wqxga", {2560, 1600}, {2560, 1600}, kHome, 2},
                      ScreenCase{"Uhd4k", {3840, 2160}, {3840, 2160}, kHome, 3},
                      ScreenCase{"Uhd8kStopsAtThree", {7680, 4320}, {7680, 4320}, kHome, 3},
                      // Tall but narrow (a portrait screen): the width decides.
                      ScreenCase{"Portrait", {1440, 2560}, {1440, 2560}, kHome, 2},
                      ScreenCase{"UsableRoomDecides", {3840, 2160}, {3840, 1300}, kHome, 2},
                      ScreenCase{"UnknownWindow", {3840, 2160}, {3840, 2160}, {0, 0}, 1},
                      ScreenCase{"BrokenScreen", {0, -5}, {0, 0}, kHome, 1},
                      ScreenCase{"HugeNumbers",
                                 {2147483647, 2147483647},
                                 {2147483647, 2147483647},
                                 {2147483647, 2147483647},
                                 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct OptionCase {
    const char* text;
    int expected;
};

class ScaleOption : public ::testing::TestWithParam<OptionCase> {};

TEST_P(ScaleOption, TakesOnlyWholeFactorsFromOneToFour) {
    EXPECT_EQ(ParseScale(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ScaleOption,
                         ::testing::Values(OptionCase{"1", 1}, OptionCase{"2", 2},
                                           OptionCase{"4", 4}, OptionCase{"0", 0},
                                           OptionCase{"5", 0}, OptionCase{"-2", 0},
                                           OptionCase{"2x", 0}, OptionCase{"1.5", 0},
                                           OptionCase{"", 0}, OptionCase{" 2", 2},
                                           OptionCase{"99999999999999999999", 0}));

TEST(ScaleOption, NoTextIsNoFactor) { EXPECT_EQ(ParseScale(nullptr), 0); }

TEST(ScaleMapping, NativePointsMapBackRoundingDown) {
    // Both native pixels of a doubled program pixel are that pixel; left of
    // the window (a drag) too.
    EXPECT_EQ(FromNative(0, 2), 0);
    EXPECT_EQ(FromNative(1, 2), 0);
    EXPECT_EQ(FromNative(2, 2), 1);
    EXPECT_EQ(FromNative(8, 3), 2);
    EXPECT_EQ(FromNative(-1, 2), -1);
    EXPECT_EQ(FromNative(-2, 2), -1);
    EXPECT_EQ(FromNative(-3, 2), -2);
    const POINT p = FromNative(POINT{401, 131}, 2);
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 65);
}

// A picture of distinct pixels, and a target filled with a guard value.
struct Pictures {
    std::vector<uint32_t> from, to;
    PixelsView in, out;
    Pictures(int w, int h, int tw, int th, int toStride) {
        from.resize(size_t(w * h));
        for (size_t i = 0; i < from.size(); ++i) from[i] = uint32_t(0x100000 + i);
        to.assign(size_t(toStride * th), 0xDEADBEEF);
        in = {from.data(), w, h, w};
        out = {to.data(), tw, th, toStride};
    }
    uint32_t At(int x, int y) const { return to[size_t(y * out.stride + x)]; }
    uint32_t Source(int x, int y) const { return from[size_t(y * in.stride + x)]; }
};

TEST(ScalePixels, EachPixelBecomesAWholeBlock) {
    Pictures p(3, 2, 9, 6, 10);
    const RECT done = ScalePixels(p.in, {0, 0, 3, 2}, 3, p.out);
    EXPECT_EQ(done.left, 0);
    EXPECT_EQ(done.top, 0);
    EXPECT_EQ(done.right, 9);
    EXPECT_EQ(done.bottom, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(p.At(x, y), p.Source(x / 3, y / 3)) << x << "," << y;
    for (int y = 0; y < 6; ++y) EXPECT_EQ(p.At(9, y), 0xDEADBEEFu) << "the stride's padding";
}

TEST(ScalePixels, OnlyTheChangedRectangleIsCopied) {
    Pictures p(4, 4, 8, 8, 8);
    const RECT done = ScalePixels(p.in, {1, 2, 3, 3}, 2, p.out);
    EXPECT_EQ(done.left, 2);
    EXPECT_EQ(done.top, 4);
    EXPECT_EQ(done.right, 6);
    EXPECT_EQ(done.bottom, 6);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 4 && y < 6;
            ASSERT_EQ(p.At(x, y), inside ? p.Source(x / 2, y / 2) : 0xDEADBEEFu) << x << "," << y;
        }
}

TEST(ScalePixels, ASmallerTargetIsNeverWrittenPast) {
    // A resize on its way: the native surface is still smaller than the
    // enlarged picture, and cuts a block in half.
    Pictures p(4, 4, 5, 3, 5);
    const RECT done = ScalePixels(p.in, {-10, -10, 100, 100}, 2, p.out);
    EXPECT_EQ(done.right, 5);
    EXPECT_EQ(done.bottom, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(p.At(x, y), p.Source(x / 2, y / 2));
}

TEST(ScalePixels, NothingToCopyChangesNothing) {
    Pictures p(4, 4, 8, 8, 8);
    for (RECT area : {RECT{4, 0, 8, 4}, RECT{2, 2, 2, 3}, RECT{3, 3, 1, 1}}) {
        const RECT done = ScalePixels(p.in, area, 2, p.out);
        EXPECT_GE(done.left, done.right);
    }
    const RECT none = ScalePixels(p.in, {0, 0, 4, 4}, 0, p.out);
    EXPECT_GE(none.left, none.right);
    for (uint32_t v : p.to) ASSERT_EQ(v, 0xDEADBEEFu);
}

}  // namespace
