// Handles, DCs, selection and object lifetimes.
#include <gtest/gtest.h>

#include "base/surface.h"
#include "gdi_helpers.h"

using gdi_test::MemCanvas;

TEST(GdiObjects, MemoryDcStartsWithOneByOneMonochromeBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HGDIOBJ first = GetCurrentObject(dc, OBJ_BITMAP);
    BITMAP bm{};
    ASSERT_EQ(GetObject(first, sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_MEMDC));

    // A bitmap made compatible with that DC is monochrome too, as on Windows.
    HBITMAP mono = CreateCompatibleBitmap(dc, 8, 8);
    ASSERT_EQ(GetObject(mono, sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmBitsPixel, 1);
    HBITMAP colour = CreateCompatibleBitmap(nullptr, 8, 8);
    ASSERT_EQ(GetObject(colour, sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(bm.bmWidthBytes, 32);
    EXPECT_TRUE(DeleteObject(mono));
    EXPECT_TRUE(DeleteObject(colour));
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(GdiObjects, SelectObjectReturnsPreviousOfEachKind) {
    MemCanvas c(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    EXPECT_EQ(SelectObject(c.dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(c.dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(c.dc, GetStockObject(NULL_PEN)), pen);
    EXPECT_EQ(SelectObject(c.dc, GetStockObject(NULL_BRUSH)), brush);
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), GetStockObject(HOLLOW_BRUSH));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
}

TEST(GdiObjects, SelectedPenBrushFontAndBitmapCannotBeDeleted) {
    MemCanvas c(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
    LOGFONTA lf{};
    lf.lfHeight = -13;
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ oldPen = SelectObject(c.dc, pen);
    HGDIOBJ oldBrush = SelectObject(c.dc, brush);
    HGDIOBJ oldFont = SelectObject(c.dc, font);
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_FALSE(DeleteObject(c.bitmap));
    SelectObject(c.dc, oldPen);
    SelectObject(c.dc, oldBrush);
    SelectObject(c.dc, oldFont);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(font));
    // Deleted handles are dead: every use fails.
    EXPECT_EQ(SelectObject(c.dc, pen), nullptr);
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST(GdiObjects, ABitmapLivesInOneDcAtATime) {
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HBITMAP bm = CreateCompatibleBitmap(nullptr, 2, 2);
    HGDIOBJ oldA = SelectObject(a, bm);
    ASSERT_NE(oldA, nullptr);
    EXPECT_EQ(SelectObject(b, bm), nullptr);
    EXPECT_EQ(SelectObject(a, bm), bm);  // already there: still fine
    SelectObject(a, oldA);
    HGDIOBJ oldB = SelectObject(b, bm);
    EXPECT_NE(oldB, nullptr);
    // Deleting the DC frees the bitmap for others.
    EXPECT_TRUE(DeleteDC(b));
    EXPECT_NE(SelectObject(a, bm), nullptr);
    SelectObject(a, oldA);
    EXPECT_TRUE(DeleteObject(bm));
    EXPECT_TRUE(DeleteDC(a));
}

TEST(GdiObjects, StaleAndMadeUpHandlesGiveWindowsFailureResults) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(DeleteDC(dc));
    HDC fakes[] = {dc, reinterpret_cast<HDC>(uintptr_t(0x1234)),
                   reinterpret_cast<HDC>(uintptr_t(0x40012345)), reinterpret_cast<HDC>(&dc)};
    for (HDC bad : fakes) {
        RECT r{0, 0, 4, 4};
        EXPECT_EQ(GetPixel(bad, 0, 0), CLR_INVALID);
        EXPECT_EQ(SetPixel(bad, 0, 0, 0), CLR_INVALID);
        EXPECT_FALSE(LineTo(bad, 3, 3));
        EXPECT_FALSE(Rectangle(bad, 0, 0, 3, 3));
        EXPECT_EQ(FillRect(bad, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
        EXPECT_FALSE(BitBlt(bad, 0, 0, 1, 1, bad, 0, 0, SRCCOPY));
        EXPECT_FALSE(ExtFloodFill(bad, 0, 0, 0, FLOODFILLSURFACE));
        EXPECT_EQ(SelectObject(bad, GetStockObject(BLACK_PEN)), nullptr);
        EXPECT_EQ(SetBkColor(bad, 0), CLR_INVALID);
        EXPECT_FALSE(DeleteDC(bad));
        EXPECT_EQ(GetObject(bad, 0, nullptr), 0);
    }
    // A DC handle is not a bitmap, and a bitmap is not a DC.
    MemCanvas c(2, 2);
    EXPECT_EQ(SelectObject(c.dc, c.dc), nullptr);
    EXPECT_EQ(GetPixel(reinterpret_cast<HDC>(c.bitmap), 0, 0), CLR_INVALID);
    EXPECT_FALSE(DeleteObject(c.dc));
}

TEST(GdiObjects, StockObjectsSurviveDeletion) {
    HGDIOBJ brush = GetStockObject(BLACK_BRUSH);
    EXPECT_TRUE(DeleteObject(brush));
    LOGBRUSH lb{};
    ASSERT_EQ(GetObject(brush, sizeof(lb), &lb), int(sizeof(lb)));
    EXPECT_EQ(lb.lbColor, RGB(0, 0, 0));
    EXPECT_EQ(GetObject(GetStockObject(NULL_BRUSH), sizeof(lb), &lb), int(sizeof(lb)));
    EXPECT_EQ(lb.lbStyle, UINT(BS_NULL));
    LOGPEN lp{};
    ASSERT_EQ(GetObject(GetStockObject(WHITE_PEN), sizeof(lp), &lp), int(sizeof(lp)));
    EXPECT_EQ(lp.lopnColor, RGB(255, 255, 255));
    EXPECT_EQ(GetStockObject(99), nullptr);
    EXPECT_EQ(GetStockObject(-1), nullptr);
}

TEST(GdiObjects, BadSizesAreRefused) {
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, -1, 5), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 100000, 100000), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 30000, 30000), nullptr);  // too many pixels
    EXPECT_EQ(CreateBitmap(4, 4, 1, 7, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(4, 4, 2, 1, nullptr), nullptr);
    // A zero size gives the shared 1 x 1 monochrome bitmap, as on Windows.
    HBITMAP empty = CreateCompatibleBitmap(nullptr, 0, 10);
    BITMAP bm{};
    ASSERT_EQ(GetObject(empty, sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(GetObject(empty, 3, &bm), 0);  // buffer too small
    EXPECT_EQ(GetObject(empty, 0, nullptr), int(sizeof(BITMAP)));
}

TEST(GdiObjects, AttributesAreStoredAndReturned) {
    MemCanvas c(2, 2);
    EXPECT_EQ(SetBkColor(c.dc, RGB(1, 2, 3)), RGB(255, 255, 255));
    EXPECT_EQ(GetBkColor(c.dc), RGB(1, 2, 3));
    EXPECT_EQ(SetTextColor(c.dc, RGB(9, 8, 7)), RGB(0, 0, 0));
    EXPECT_EQ(GetTextColor(c.dc), RGB(9, 8, 7));
    EXPECT_EQ(SetBkMode(c.dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(GetBkMode(c.dc), TRANSPARENT);
    EXPECT_EQ(SetBkMode(c.dc, 7), 0);
    EXPECT_EQ(SetROP2(c.dc, R2_XORPEN), R2_COPYPEN);
    EXPECT_EQ(SetROP2(c.dc, 0), 0);
    EXPECT_EQ(GetROP2(c.dc), R2_XORPEN);
    EXPECT_EQ(SetStretchBltMode(c.dc, COLORONCOLOR), BLACKONWHITE);
    EXPECT_EQ(GetStretchBltMode(c.dc), COLORONCOLOR);
    EXPECT_EQ(GetDeviceCaps(c.dc, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(c.dc, LOGPIXELSY), 96);
}

TEST(GdiObjects, WindowDcDrawsOnItsSurfaceThroughOriginAndClip) {
    std::vector<uint32_t> pixels(20 * 10, 0x00ABCDEF);
    win::Surface s{pixels.data(), 20, 10, 20};
    HWND owner = reinterpret_cast<HWND>(uintptr_t(0x5678));
    HDC dc = win::CreateWindowDC(&s, POINT{5, 2}, RECT{5, 2, 15, 8}, owner);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(WindowFromDC(dc), owner);
    EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_DC));
    EXPECT_FALSE(DeleteDC(dc));  // window DCs go back through their window

    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0xAB, 0xCD, 0xEF));  // surface 0x00RRGGBB
    SetPixel(dc, 0, 0, RGB(1, 2, 3));
    EXPECT_EQ(pixels[2 * 20 + 5], 0x00010203u);
    // Outside the clip nothing is drawn or read.
    EXPECT_EQ(SetPixel(dc, -1, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 10, 0), CLR_INVALID);
    RECT all{-100, -100, 100, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    int black = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            bool inside = x >= 5 && x < 15 && y >= 2 && y < 8;
            black += pixels[y * 20 + x] == 0;
            EXPECT_EQ(pixels[y * 20 + x] == 0, inside) << x << "," << y;
        }
    EXPECT_EQ(black, 60);
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.bottom, 6);
    win::ReleaseWindowDC(dc);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_EQ(win::CreateWindowDC(nullptr, POINT{}, RECT{}, owner), nullptr);
}

TEST(GdiObjects, ClipRectanglesAndOrigins) {
    MemCanvas c(10, 10, RGB(0, 0, 0));
    EXPECT_EQ(IntersectClipRect(c.dc, 2, 2, 6, 6), SIMPLEREGION);
    EXPECT_EQ(IntersectClipRect(c.dc, 4, 4, 20, 20), SIMPLEREGION);
    RECT box;
    GetClipBox(c.dc, &box);
    EXPECT_EQ(box.left, 4);
    EXPECT_EQ(box.right, 6);
    c.Fill(RGB(255, 0, 0));
    EXPECT_EQ(c.Count(RGB(255, 0, 0)), 4);
    EXPECT_EQ(GetPixel(c.dc, 3, 3), CLR_INVALID);
    EXPECT_EQ(IntersectClipRect(c.dc, 0, 0, 1, 1), NULLREGION);
    SelectClipRgn(c.dc, nullptr);
    EXPECT_EQ(GetPixel(c.dc, 3, 3), RGB(0, 0, 0));

    HRGN rgn = CreateRectRgn(8, 8, 0, 10);  // corners are put in order
    EXPECT_EQ(SelectClipRgn(c.dc, rgn), SIMPLEREGION);
    GetClipBox(c.dc, &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 8);
    EXPECT_TRUE(DeleteObject(rgn));  // the DC keeps its own copy
    SelectClipRgn(c.dc, nullptr);

    // Logical (0, 0) moves with the viewport and window origins.
    SetViewportOrgEx(c.dc, 5, 5, nullptr);
    SetWindowOrgEx(c.dc, 1, 0, nullptr);
    SetPixel(c.dc, 1, 0, RGB(0, 0, 255));
    POINT org;
    GetViewportOrgEx(c.dc, &org);
    SetViewportOrgEx(c.dc, 0, 0, nullptr);
    SetWindowOrgEx(c.dc, 0, 0, nullptr);
    EXPECT_EQ(org.x, 5);
    EXPECT_EQ(GetPixel(c.dc, 5, 5), RGB(0, 0, 255));
}
