// Pixels, lines, rectangles and the rectangle helpers, pixel by pixel.
#include <gtest/gtest.h>

#include "gdi_helpers.h"

using gdi_test::Join;
using gdi_test::MemCanvas;

namespace {
const COLORREF kInk = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kPaper = RGB(255, 255, 255);
}  // namespace

TEST(GdiDraw, SetPixelAndGetPixelHonourTheBitmapBounds) {
    MemCanvas c(3, 2);
    EXPECT_EQ(SetPixel(c.dc, 2, 1, RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(c.dc, 2, 1), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(c.dc, 3, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc, 0, -1), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc, 0, 2, kRed), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc, INT32_MAX, INT32_MIN), CLR_INVALID);

    // On a monochrome bitmap colours become black or white.
    HDC mono = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetPixel(mono, 0, 0, RGB(200, 200, 100)), RGB(255, 255, 255));
    EXPECT_EQ(SetPixel(mono, 0, 0, RGB(100, 60, 200)), RGB(0, 0, 0));
    DeleteDC(mono);
}

TEST(GdiDraw, LinesLeaveOutTheirLastPoint) {
    MemCanvas c(6, 5);
    MoveToEx(c.dc, 0, 0, nullptr);
    LineTo(c.dc, 5, 0);
    LineTo(c.dc, 5, 4);
    MoveToEx(c.dc, 0, 1, nullptr);
    LineTo(c.dc, 3, 4);
    // The second line starts where the first left off, so the corner is drawn.
    EXPECT_EQ(c.Map(kInk), Join({"######", "#....#", ".#...#", "..#..#", "......"}));
    POINT pos;
    GetCurrentPositionEx(c.dc, &pos);
    EXPECT_EQ(pos.x, 3);
    EXPECT_EQ(pos.y, 4);
}

TEST(GdiDraw, NullPenDrawsNothingButMoves) {
    MemCanvas c(4, 4);
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    MoveToEx(c.dc, 0, 0, nullptr);
    EXPECT_TRUE(LineTo(c.dc, 3, 3));
    EXPECT_EQ(c.Count(kPaper), 16);
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
}

TEST(GdiDraw, LinesFarOutsideTheBitmapAreClippedNotWalked) {
    MemCanvas c(10, 10);
    MoveToEx(c.dc, -2000000000, 5, nullptr);
    LineTo(c.dc, 2000000000, 5);
    EXPECT_EQ(c.Map(kInk).substr(5 * 11, 11), "##########\n");
    EXPECT_EQ(c.Count(kInk), 10);
}

TEST(GdiDraw, RectangleDrawsOutlineAndBrushInterior) {
    MemCanvas c(6, 5);
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(c.dc, red);
    Rectangle(c.dc, 1, 0, 5, 4);
    EXPECT_EQ(c.Map(kInk), Join({".####.", ".#..#.", ".#..#.", ".####.", "......"}));
    EXPECT_EQ(c.Map(kRed), Join({"......", "..##..", "..##..", "......", "......"}));
    // With a hollow brush only the outline is drawn.
    c.Fill(kPaper);
    SelectObject(c.dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(c.dc, 5, 4, 1, 0);  // corners in any order
    EXPECT_EQ(c.Count(kRed), 0);
    EXPECT_EQ(c.Count(kInk), 12);
    // Without a pen the fill is one pixel smaller.
    c.Fill(kPaper);
    SelectObject(c.dc, red);
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    Rectangle(c.dc, 1, 0, 5, 4);
    EXPECT_EQ(c.Map(kRed), Join({".###..", ".###..", ".###..", "......", "......"}));
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    SelectObject(c.dc, old);
    DeleteObject(red);
}

TEST(GdiDraw, XorFiguresRemoveThemselvesWhenDrawnTwice) {
    MemCanvas c(40, 30);
    // A picture underneath, so that XOR has something to work on.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) SetPixel(c.dc, x, y, RGB(x * 6, y * 8, (x * y) & 0xFF));
    const auto before = c.Pixels();
    SetROP2(c.dc, R2_XORPEN);
    SelectObject(c.dc, GetStockObject(HOLLOW_BRUSH));
    for (int width : {1, 2, 3}) {
        HPEN pen = CreatePen(PS_SOLID, width, RGB(255, 255, 255));
        HGDIOBJ old = SelectObject(c.dc, pen);
        auto figures = [&] {
            Rectangle(c.dc, 3, 4, 20, 12);
            Rectangle(c.dc, 30, 2, 31, 25);  // thinner than the pen
            Ellipse(c.dc, 5, 5, 35, 28);
            MoveToEx(c.dc, 0, 29, nullptr);
            LineTo(c.dc, 39, 0);
            LineTo(c.dc, 39, 29);
        };
        figures();
        EXPECT_NE(c.Pixels(), before) << "width " << width;
        figures();
        EXPECT_EQ(c.Pixels(), before) << "width " << width;
        SelectObject(c.dc, old);
        DeleteObject(pen);
    }
    RECT focus{2, 3, 17, 9};
    DrawFocusRect(c.dc, &focus);
    EXPECT_NE(c.Pixels(), before);
    DrawFocusRect(c.dc, &focus);
    EXPECT_EQ(c.Pixels(), before);
    RECT inv{-5, -5, 10, 10};
    InvertRect(c.dc, &inv);
    EXPECT_EQ(c.At(0, 0), RGB(255, 255, 255) ^ before[0]);
    InvertRect(c.dc, &inv);
    EXPECT_EQ(c.Pixels(), before);
}

TEST(GdiDraw, XorPenOfWhiteInvertsOnePixelWideOutline) {
    MemCanvas c(5, 4, kInk);
    SetROP2(c.dc, R2_XORPEN);
    SelectObject(c.dc, GetStockObject(WHITE_PEN));
    SelectObject(c.dc, GetStockObject(NULL_BRUSH));
    Rectangle(c.dc, 0, 0, 5, 4);
    EXPECT_EQ(c.Map(kPaper), Join({"#####", "#...#", "#...#", "#####"}));
}

TEST(GdiDraw, TwoPixelPenCoversTwoPixelsAcrossTheOutline) {
    MemCanvas c(10, 8);
    HPEN pen = CreatePen(PS_SOLID, 2, kInk);
    HGDIOBJ old = SelectObject(c.dc, pen);
    SelectObject(c.dc, GetStockObject(NULL_BRUSH));
    Rectangle(c.dc, 2, 2, 8, 7);
    EXPECT_EQ(c.Map(kInk), Join({"..........", ".#######..", ".#######..", ".##...##..",
                                 ".##...##..", ".#######..", ".#######..", ".........."}));
    SelectObject(c.dc, old);
    DeleteObject(pen);
}

TEST(GdiDraw, BinaryRasterOperations) {
    MemCanvas c(1, 1, RGB(0x0F, 0xF0, 0x55));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0xFF, 0x0F, 0x33));
    SelectObject(c.dc, pen);
    struct {
        int rop;
        COLORREF expect;
    } cases[] = {
        {R2_COPYPEN, RGB(0xFF, 0x0F, 0x33)},
        {R2_XORPEN, RGB(0xF0, 0xFF, 0x66)},
        {R2_NOT, RGB(0xF0, 0x0F, 0xAA)},
        {R2_MASKPEN, RGB(0x0F, 0x00, 0x11)},
        {R2_MERGEPEN, RGB(0xFF, 0xFF, 0x77)},
        {R2_NOP, RGB(0x0F, 0xF0, 0x55)},
        {R2_BLACK, RGB(0, 0, 0)},
        {R2_WHITE, RGB(255, 255, 255)},
        {R2_NOTCOPYPEN, RGB(0x00, 0xF0, 0xCC)},
    };
    for (auto t : cases) {
        SetPixel(c.dc, 0, 0, RGB(0x0F, 0xF0, 0x55));
        SetROP2(c.dc, t.rop);
        MoveToEx(c.dc, 0, 0, nullptr);
        LineTo(c.dc, 1, 0);
        EXPECT_EQ(c.At(0, 0), t.expect) << "rop2 " << t.rop;
    }
    SetROP2(c.dc, R2_COPYPEN);
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(GdiDraw, FillRectAndFrameRectExcludeRightAndBottom) {
    MemCanvas c(6, 5);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT r{1, 1, 5, 4};
    SetROP2(c.dc, R2_XORPEN);  // FillRect ignores the mix mode
    EXPECT_TRUE(FillRect(c.dc, &r, red));
    EXPECT_EQ(c.Map(kRed), Join({"......", ".####.", ".####.", ".####.", "......"}));
    c.Fill(kPaper);
    EXPECT_TRUE(FrameRect(c.dc, &r, red));
    EXPECT_EQ(c.Map(kRed), Join({"......", ".####.", ".#..#.", ".####.", "......"}));
    RECT backwards{5, 4, 1, 1};
    c.Fill(kPaper);
    FillRect(c.dc, &backwards, red);
    FrameRect(c.dc, &backwards, red);
    EXPECT_EQ(c.Count(kRed), 0);
    // COLOR_x + 1 stands for a system colour (COLOR_BTNSHADOW is 16).
    FillRect(c.dc, &r, reinterpret_cast<HBRUSH>(uintptr_t(16 + 1)));
    EXPECT_EQ(c.At(1, 1), RGB(128, 128, 128));
    EXPECT_FALSE(FillRect(c.dc, &r, reinterpret_cast<HBRUSH>(uintptr_t(0x777777))));
    EXPECT_FALSE(FillRect(c.dc, nullptr, red));
    DeleteObject(red);
}

TEST(GdiDraw, DrawEdgeRaisedAndSunken) {
    MemCanvas c(6, 6);
    RECT r{0, 0, 6, 6};
    const COLORREF light = RGB(192, 192, 192), dark = RGB(0, 0, 0), hi = RGB(255, 255, 255),
                   shadow = RGB(128, 128, 128);
    EXPECT_TRUE(DrawEdge(c.dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.bottom, 4);
    EXPECT_EQ(c.At(0, 0), light);
    EXPECT_EQ(c.At(5, 0), dark);  // the top-right corner belongs to the right side
    EXPECT_EQ(c.At(0, 5), dark);
    EXPECT_EQ(c.At(1, 1), hi);
    EXPECT_EQ(c.At(4, 4), shadow);
    EXPECT_EQ(c.At(2, 2), light);  // middle: button face
    RECT s{0, 0, 6, 6};
    DrawEdge(c.dc, &s, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(c.At(0, 0), shadow);
    EXPECT_EQ(c.At(5, 5), hi);
    EXPECT_EQ(c.At(1, 1), dark);
    EXPECT_EQ(c.At(4, 4), light);
}

TEST(GdiDraw, EllipseIsSymmetricAndInsideItsBox) {
    MemCanvas c(12, 9);
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(c.dc, red);
    Ellipse(c.dc, 1, 1, 11, 8);
    const std::string ink = c.Map(kInk), fill = c.Map(kRed);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inBox = x >= 1 && x < 11 && y >= 1 && y < 8;
            const char k = ink[y * 13 + x], f = fill[y * 13 + x];
            if (!inBox) {
                EXPECT_TRUE(k == '.' && f == '.') << x << "," << y;
            }
            EXPECT_EQ(k, ink[y * 13 + (11 - x)]) << x << "," << y;  // mirror image
            EXPECT_EQ(k, ink[(8 - y) * 13 + x]) << x << "," << y;
        }
    EXPECT_EQ(c.At(6, 4), kRed);
    EXPECT_EQ(c.At(1, 4), kInk);
    EXPECT_EQ(c.At(1, 1), kPaper);
    SelectObject(c.dc, old);
    DeleteObject(red);
}

TEST(GdiDraw, HugeCoordinatesAreClippedQuickly) {
    // Each of these would walk billions of pixels if not clipped first.
    MemCanvas c(8, 8);
    const int big = 2000000000;
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(c.dc, red);
    EXPECT_TRUE(Rectangle(c.dc, -big, -big, big, big));
    EXPECT_EQ(c.Count(kRed), 64);
    EXPECT_TRUE(Ellipse(c.dc, -big, -big, big, big));
    RECT r{-big, -big, big, big};
    EXPECT_TRUE(FrameRect(c.dc, &r, red));
    EXPECT_TRUE(DrawFocusRect(c.dc, &r));
    EXPECT_TRUE(DrawEdge(c.dc, &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE));
    EXPECT_TRUE(PatBlt(c.dc, -big, -big, big, big, PATCOPY));
    EXPECT_TRUE(BitBlt(c.dc, -big, -big, INT32_MAX, INT32_MAX, c.dc, big, big, SRCCOPY));
    EXPECT_TRUE(StretchBlt(c.dc, -big, -big, INT32_MAX, INT32_MAX, c.dc, 0, 0, 3, 3, SRCINVERT));
    SetViewportOrgEx(c.dc, INT32_MAX, INT32_MIN, nullptr);
    EXPECT_EQ(GetPixel(c.dc, INT32_MAX, INT32_MAX), CLR_INVALID);
    EXPECT_TRUE(Rectangle(c.dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    SetViewportOrgEx(c.dc, 0, 0, nullptr);
    HPEN wide = CreatePen(PS_SOLID, 200, kRed);
    SelectObject(c.dc, wide);
    MoveToEx(c.dc, -big, 3, nullptr);
    EXPECT_TRUE(LineTo(c.dc, big, 5));
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    DeleteObject(wide);
    SelectObject(c.dc, old);
    DeleteObject(red);
}
