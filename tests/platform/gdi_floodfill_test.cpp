// ExtFloodFill in both modes: exactly the 4-connected area, nothing more.
#include <gtest/gtest.h>

#include "gdi_helpers.h"

using gdi_test::Join;
using gdi_test::MemCanvas;
using gdi_test::Paint;

namespace {

const COLORREF kInk = RGB(0, 0, 0);
const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);

// Fills from (x, y) the area of the seed's colour with `fill`, as the
// canvas does on a click.
BOOL ClickFill(MemCanvas& c, int x, int y, COLORREF fill) {
    HBRUSH b = CreateSolidBrush(fill);
    HGDIOBJ old = SelectObject(c.dc, b);
    BOOL ok = ExtFloodFill(c.dc, x, y, GetPixel(c.dc, x, y), FLOODFILLSURFACE);
    SelectObject(c.dc, old);
    DeleteObject(b);
    return ok;
}

}  // namespace

TEST(GdiFloodFill, FillsFourConnectedAreaAndStopsAtDiagonals) {
    MemCanvas c(8, 5);
    Paint(c, {"...#....", "..#.....", ".#......", "#.......", "........"}, kInk);
    // A diagonal wall holds: white pixels that touch across it only at
    // corners are not joined.
    ASSERT_TRUE(ClickFill(c, 0, 0, kRed));
    EXPECT_EQ(c.Map(kRed), Join({"###.....", "##......", "#.......", "........", "........"}));
    // The wall itself is joined only diagonally: one pixel changes.
    ASSERT_TRUE(ClickFill(c, 3, 0, RGB(0, 0, 255)));
    EXPECT_EQ(c.Count(RGB(0, 0, 255)), 1);
    EXPECT_EQ(c.Count(kInk), 3);
}

TEST(GdiFloodFill, SpiralAndConcaveShapesFillCompletely) {
    // A region that turns back on itself needs seeds above and below every
    // span, not just where the fill started.
    MemCanvas c(9, 9);
    Paint(c,
          {"#########", "#.......#", "#.#####.#", "#.#...#.#", "#.#.#.#.#", "#.#.#...#",
           "#.#.#####", "#...#....", "#####...."},
          kInk);
    ASSERT_TRUE(ClickFill(c, 3, 3, kRed));
    EXPECT_EQ(c.Map(kRed), Join({".........", ".#######.", ".#.....#.", ".#.###.#.", ".#.#.#.#.",
                                 ".#.#.###.", ".#.#.....", ".###.....", "........."}));
}

TEST(GdiFloodFill, FillWithTheRegionsOwnColourChangesNothing) {
    MemCanvas c(5, 5, kRed);
    auto before = c.Pixels();
    EXPECT_TRUE(ClickFill(c, 2, 2, kRed));
    EXPECT_EQ(c.Pixels(), before);
}

TEST(GdiFloodFill, SeedOnAnOutlineRecoloursTheConnectedOutline) {
    MemCanvas c(7, 5);
    Paint(c, {"#######", "#.....#", "#######", ".......", "..###.."}, kInk);
    ASSERT_TRUE(ClickFill(c, 0, 0, kRed));
    EXPECT_EQ(c.Count(kRed), 16);
    EXPECT_EQ(c.Count(kInk), 3);  // the separate stroke keeps its colour
    EXPECT_EQ(c.At(3, 4), kInk);
}

TEST(GdiFloodFill, WholeBitmapAndBorderSeeds) {
    for (auto [x, y] : {std::pair{0, 0}, {199, 0}, {0, 99}, {199, 99}, {100, 50}}) {
        MemCanvas c(200, 100);
        ASSERT_TRUE(ClickFill(c, x, y, kRed));
        EXPECT_EQ(c.Count(kRed), 200 * 100);
    }
}

TEST(GdiFloodFill, ClipBoundsTheFillAndSeedsOutsideFail) {
    MemCanvas c(10, 10);
    IntersectClipRect(c.dc, 2, 2, 6, 6);
    ASSERT_TRUE(ClickFill(c, 3, 3, kRed));
    SelectClipRgn(c.dc, nullptr);
    EXPECT_EQ(c.Count(kRed), 16);
    HBRUSH b = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(c.dc, b);
    EXPECT_FALSE(ExtFloodFill(c.dc, -1, 0, kPaper, FLOODFILLSURFACE));
    EXPECT_FALSE(ExtFloodFill(c.dc, 10, 0, kPaper, FLOODFILLSURFACE));
    EXPECT_FALSE(ExtFloodFill(c.dc, 0, 0, kInk, FLOODFILLSURFACE));  // seed not of that colour
    EXPECT_FALSE(ExtFloodFill(c.dc, 0, 0, kPaper, 7));
    SelectObject(c.dc, old);
    DeleteObject(b);
}

TEST(GdiFloodFill, BorderModeFillsUpToTheBorderColour) {
    MemCanvas c(7, 5);
    Paint(c, {"..###..", ".#.R.#.", ".#...#.", ".#####.", "......."}, kInk);
    SetPixel(c.dc, 3, 1, RGB(0, 0, 255));  // another colour inside is filled over
    HBRUSH b = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(c.dc, b);
    ASSERT_TRUE(ExtFloodFill(c.dc, 2, 2, kInk, FLOODFILLBORDER));
    EXPECT_EQ(c.Map(kRed), Join({".......", "..###..", "..###..", ".......", "......."}));
    // A brush of the border's own colour must not loop.
    SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(ExtFloodFill(c.dc, 0, 4, kInk, FLOODFILLBORDER));
    EXPECT_EQ(c.Count(kInk), 7 * 5 - 6);
    EXPECT_FALSE(ExtFloodFill(c.dc, 2, 0, kInk, FLOODFILLBORDER));  // seed on the border
    SelectObject(c.dc, old);
    DeleteObject(b);
}

TEST(GdiFloodFill, LargeCheckerboardRegionDoesNotOverflow) {
    // A comb of one-pixel corridors makes the seed stack work hard.
    const int w = 401, h = 301;
    MemCanvas c(w, h);
    HPEN pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    HGDIOBJ old = SelectObject(c.dc, pen);
    for (int x = 1; x < w; x += 2) {
        MoveToEx(c.dc, x, (x / 2) % 2 ? 0 : 1, nullptr);
        LineTo(c.dc, x, (x / 2) % 2 ? h - 1 : h);
    }
    SelectObject(c.dc, old);
    const int white = c.Count(kPaper);
    ASSERT_TRUE(ClickFill(c, 0, 0, kRed));
    EXPECT_EQ(c.Count(kRed), white);
}
