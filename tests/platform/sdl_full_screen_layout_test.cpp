// Full screen: the factor at which the windows shown fit the display, and
// where they then lie (centred).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "backends/sdl2/scale.h"

namespace {

using win::sdl::FromNative;
using win::sdl::LayOutFullScreen;

struct LayoutCase {
    const char* name;
    SIZE display;
    RECT content;
    int factor;
    POINT origin;
};

class FullScreenLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(FullScreenLayout, IsTheLargestWholeFactorThatFitsCentred) {
    const LayoutCase& c = GetParam();
    const auto layout = LayOutFullScreen(c.display, c.content);
    EXPECT_EQ(layout.factor, c.factor);
    EXPECT_EQ(layout.origin.x, c.origin.x);
    EXPECT_EQ(layout.origin.y, c.origin.y);
    if (c.factor < 1) return;
    // A point of the content maps back exactly, as at a --scale factor.
    const POINT p{c.content.left + 5, c.content.top + 7};
    for (int dx = 0; dx < layout.factor; ++dx) {
        const int native = layout.origin.x + p.x * layout.factor + dx;
        EXPECT_EQ(FromNative(native - layout.origin.x, layout.factor), p.x);
    }
}

// The free colouring screen (744 x 538 with its border 746 x 540) centred
// on a 1920 x 1080 screen's program, home (700 x 467) under it.
constexpr RECT kFreeOnFullHd{587, 270, 587 + 746, 270 + 540};

INSTANTIATE_TEST_SUITE_P(
    Displays, FullScreenLayout,
    ::testing::Values(
        LayoutCase{"FullHdDoubles", {1920, 1080}, kFreeOnFullHd, 2, {-960, -540}},
        LayoutCase{"QhdStillDoubles", {2560, 1440}, kFreeOnFullHd, 2, {-640, -360}},
        LayoutCase{"HomeAloneOnQhdTriples", {2560, 1440}, {930, 487, 1630, 954}, 3, {-2560, -1441}},
        LayoutCase{"UhdQuadruples", {3840, 2160}, kFreeOnFullHd, 4, {-1920, -1080}},
        LayoutCase{"ASmallScreenKeepsOneAndOverhangs", {640, 480}, {0, 0, 746, 540}, 1, {-53, -30}},
        LayoutCase{"NothingShownKeepsOne", {1920, 1080}, {0, 0, 0, 0}, 1, {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
