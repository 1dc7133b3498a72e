// BitBlt, StretchBlt and PatBlt: raster operations, stretching, mirroring,
// monochrome conversions, overlap and clipping.
#include <gtest/gtest.h>

#include "base/surface.h"
#include "gdi_helpers.h"

using gdi_test::Join;
using gdi_test::MemCanvas;

namespace {
const COLORREF kSrc = RGB(0xF0, 0x0F, 0x55);
const COLORREF kDst = RGB(0x3C, 0x3C, 0xAA);
const COLORREF kPat = RGB(0x81, 0x42, 0x18);
}  // namespace

TEST(GdiBlit, TernaryRasterOperationsOnOnePixel) {
    MemCanvas src(1, 1, kSrc), dst(1, 1, kDst);
    HBRUSH brush = CreateSolidBrush(kPat);
    HGDIOBJ old = SelectObject(dst.dc, brush);
    struct {
        DWORD rop;
        COLORREF expect;
        const char* name;
    } cases[] = {
        {SRCCOPY, kSrc, "SRCCOPY"},
        {SRCAND, kSrc & kDst, "SRCAND"},
        {SRCPAINT, kSrc | kDst, "SRCPAINT"},
        {SRCINVERT, kSrc ^ kDst, "SRCINVERT"},
        {NOTSRCCOPY, ~kSrc & 0xFFFFFF, "NOTSRCCOPY"},
        {BLACKNESS, 0, "BLACKNESS"},
        {WHITENESS, 0xFFFFFF, "WHITENESS"},
        {PATCOPY, kPat, "PATCOPY"},
        {DSTINVERT, ~kDst & 0xFFFFFF, "DSTINVERT"},
        {PATINVERT, kPat ^ kDst, "PATINVERT"},
        {MERGECOPY, kSrc & kPat, "MERGECOPY"},
        {SRCERASE, kSrc & ~kDst & 0xFFFFFF, "SRCERASE"},
    };
    for (auto t : cases) {
        SetPixel(dst.dc, 0, 0, kDst);
        EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, t.rop)) << t.name;
        EXPECT_EQ(dst.At(0, 0), t.expect) << t.name;
    }
    // Operations without a source need none; those with one fail without it.
    EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, nullptr, 0, 0, WHITENESS));
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
    SetPixel(dst.dc, 0, 0, kDst);
    EXPECT_TRUE(PatBlt(dst.dc, 0, 0, 1, 1, PATINVERT));
    EXPECT_EQ(dst.At(0, 0), kPat ^ kDst);
    EXPECT_FALSE(PatBlt(dst.dc, 0, 0, 1, 1, SRCCOPY));
    SelectObject(dst.dc, old);
    DeleteObject(brush);
}

TEST(GdiBlit, BitBltCopiesTheRectangleAndClipsAtBothEnds) {
    MemCanvas src(4, 3), dst(5, 5, RGB(0, 0, 255));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) SetPixel(src.dc, x, y, RGB(x, y, 7));
    // Half of it hangs off the source's left and the destination's right.
    EXPECT_TRUE(BitBlt(dst.dc, 3, 1, 4, 3, src.dc, -1, 0, SRCCOPY));
    EXPECT_EQ(dst.At(3, 1), RGB(0, 0, 255));  // no source pixel there
    EXPECT_EQ(dst.At(4, 1), RGB(0, 0, 7));
    EXPECT_EQ(dst.At(4, 3), RGB(0, 2, 7));
    EXPECT_EQ(dst.Count(RGB(0, 0, 255)), 25 - 3);
    // Negative or zero sizes copy nothing and do no harm.
    EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 0, 5, src.dc, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1000000, 1000000, src.dc, -500000, 0, SRCCOPY));
}

TEST(GdiBlit, OverlappingCopyWithinOneBitmap) {
    MemCanvas c(6, 1);
    for (int x = 0; x < 6; ++x) SetPixel(c.dc, x, 0, RGB(x, 0, 0));
    BitBlt(c.dc, 1, 0, 5, 1, c.dc, 0, 0, SRCCOPY);
    for (int x = 1; x < 6; ++x) EXPECT_EQ(c.At(x, 0), RGB(x - 1, 0, 0));
    MemCanvas d(1, 6);
    for (int y = 0; y < 6; ++y) SetPixel(d.dc, 0, y, RGB(y, 0, 0));
    StretchBlt(d.dc, 0, 0, 1, 6, d.dc, 0, 6, 1, -6, SRCCOPY);  // flip in place
    for (int y = 0; y < 6; ++y) EXPECT_EQ(d.At(0, y), RGB(5 - y, 0, 0));
}

TEST(GdiBlit, StretchBltScalesAndMirrors) {
    MemCanvas src(2, 2), dst(4, 4);
    SetPixel(src.dc, 0, 0, RGB(1, 0, 0));
    SetPixel(src.dc, 1, 0, RGB(2, 0, 0));
    SetPixel(src.dc, 0, 1, RGB(3, 0, 0));
    SetPixel(src.dc, 1, 1, RGB(4, 0, 0));
    SetStretchBltMode(dst.dc, COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(dst.At(1, 1), RGB(1, 0, 0));
    EXPECT_EQ(dst.At(2, 1), RGB(2, 0, 0));
    EXPECT_EQ(dst.At(1, 2), RGB(3, 0, 0));
    EXPECT_EQ(dst.At(3, 3), RGB(4, 0, 0));
    // A negative destination width mirrors left to right.
    ASSERT_TRUE(StretchBlt(dst.dc, 4, 0, -4, 4, src.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(dst.At(0, 0), RGB(2, 0, 0));
    EXPECT_EQ(dst.At(3, 3), RGB(3, 0, 0));
    // Shrinking picks one source pixel per destination pixel.
    MemCanvas big(8, 8), small(2, 2);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) SetPixel(big.dc, x, y, RGB(x, y, 0));
    StretchBlt(small.dc, 0, 0, 2, 2, big.dc, 0, 0, 8, 8, SRCCOPY);
    EXPECT_EQ(small.At(0, 0), RGB(2, 2, 0));
    EXPECT_EQ(small.At(1, 1), RGB(6, 6, 0));
}

TEST(GdiBlit, MonochromeSourcesAndDestinationsUseTextAndBackgroundColours) {
    // A mask: white where the source matches its DC's background colour.
    MemCanvas colour(3, 1);
    SetPixel(colour.dc, 0, 0, RGB(0, 255, 0));
    SetPixel(colour.dc, 1, 0, RGB(0, 0, 0));
    SetPixel(colour.dc, 2, 0, RGB(10, 10, 10));
    SetBkColor(colour.dc, RGB(0, 255, 0));
    HDC maskDc = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateBitmap(3, 1, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    BitBlt(maskDc, 0, 0, 3, 1, colour.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(maskDc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(maskDc, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(maskDc, 2, 0), RGB(0, 0, 0));
    // Back to colour: black bits take the text colour, white the background.
    MemCanvas out(3, 1);
    SetTextColor(out.dc, RGB(1, 2, 3));
    SetBkColor(out.dc, RGB(4, 5, 6));
    BitBlt(out.dc, 0, 0, 3, 1, maskDc, 0, 0, SRCCOPY);
    EXPECT_EQ(out.At(0, 0), RGB(4, 5, 6));
    EXPECT_EQ(out.At(1, 0), RGB(1, 2, 3));
    SelectObject(maskDc, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDc);
}

TEST(GdiBlit, WindowDcsAsSourceAndDestination) {
    std::vector<uint32_t> pixels(8 * 4, 0x00112233);
    win::Surface s{pixels.data(), 8, 4, 8};
    HWND owner = reinterpret_cast<HWND>(uintptr_t(0x99));
    // The parent covers the whole surface; the child sits at (4, 1), 3 x 2.
    HDC parent = win::CreateWindowDC(&s, POINT{0, 0}, RECT{0, 0, 8, 4}, owner);
    HDC child = win::CreateWindowDC(&s, POINT{4, 1}, RECT{4, 1, 7, 3}, owner);
    MemCanvas bg(3, 2);
    // Copy what lies under the child, as a transparent button does.
    SetPixel(parent, 5, 2, RGB(9, 9, 9));
    BitBlt(bg.dc, 0, 0, 3, 2, parent, 4, 1, SRCCOPY);
    EXPECT_EQ(bg.At(1, 1), RGB(9, 9, 9));
    EXPECT_EQ(bg.At(0, 0), RGB(0x11, 0x22, 0x33));
    // Draw it back through the child: the child's clip keeps the rest.
    bg.Fill(RGB(200, 0, 0));
    BitBlt(child, -1, -1, 5, 4, bg.dc, -1, -1, SRCCOPY);
    int red = 0;
    for (uint32_t p : pixels) red += p == 0x00C80000;
    EXPECT_EQ(red, 6);
    win::ReleaseWindowDC(child);
    win::ReleaseWindowDC(parent);
}
