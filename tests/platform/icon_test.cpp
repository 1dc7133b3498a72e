// Icons, cursors and bitmaps: loading from resources and files at the sizes
// asked for, drawing with masks and alpha, the disabled look of DrawStateA,
// GetIconInfo's bitmaps and hot spots, and the failures of bad handles.
// The fixtures (tests/platform/data): icon 9100 holds a 16x16 8-bit image
// (red, left half transparent), a 32x32 32-bit image (blue, alpha rising to
// the right) and a 48x48 PNG (green); cursor 9101 is 32x32 with hot spot
// (3, 5) and an 8x8 black square at the top-left; bitmap 9102 is 2x2.
#include <gtest/gtest.h>
#include <unistd.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "gdi_helpers.h"
#include "support/temp_dir.h"

namespace {

using gdi_test::MemCanvas;

const LPCSTR kIcon = MAKEINTRESOURCEA(9100);
const LPCSTR kCursor = MAKEINTRESOURCEA(9101);
const LPCSTR kBitmap = MAKEINTRESOURCEA(9102);
const COLORREF kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0);
const COLORREF kPaper = RGB(10, 120, 30);

// Size, hot spot and kind of an icon, through GetIconInfo; the bitmaps it
// hands out are the caller's to delete.
struct Info {
    int width = 0, height = 0, hotX = -1, hotY = -1;
    bool isIcon = false;
};
Info Inspect(HICON icon) {
    Info out;
    ICONINFO ii{};
    if (!GetIconInfo(icon, &ii)) return out;
    BITMAP bm{};
    GetObjectA(ii.hbmColor, sizeof bm, &bm);
    out.width = bm.bmWidth;
    out.height = bm.bmHeight;
    out.hotX = int(ii.xHotspot);
    out.hotY = int(ii.yHotspot);
    out.isIcon = ii.fIcon != FALSE;
    EXPECT_TRUE(DeleteObject(ii.hbmColor));
    EXPECT_TRUE(DeleteObject(ii.hbmMask));
    return out;
}

std::string ResourceBytes(LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(nullptr, name, type);
    if (!found) return {};
    auto data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    return std::string(data, SizeofResource(nullptr, found));
}

class TempFiles {
public:
    std::string Write(const std::string& name, const std::string& bytes) {
        auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

private:
    test_support::TempDir dir_{"tinto_icon"};
};

TEST(IconLoad, ResourceIconsComeAtTheSizeAskedFor) {
    HICON natural =
        static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    HICON small = static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 16, 16, 0));
    HICON large = static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 48, 48, 0));
    HICON odd = static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 20, 24, 0));
    ASSERT_TRUE(natural && small && large && odd);
    Info n = Inspect(natural), s = Inspect(small), l = Inspect(large), o = Inspect(odd);
    EXPECT_EQ(n.width, 32);
    EXPECT_EQ(n.height, 32);
    EXPECT_EQ(s.width, 16);
    EXPECT_EQ(l.width, 48);
    EXPECT_EQ(o.width, 20);
    EXPECT_EQ(o.height, 24);
    // An icon's hot spot is its centre, so twice it is the icon's size.
    EXPECT_TRUE(n.isIcon);
    EXPECT_EQ(n.hotX, 16);
    EXPECT_EQ(n.hotY, 16);
    EXPECT_EQ(s.hotX, 8);
    EXPECT_EQ(o.hotY, 12);
    for (HICON icon : {natural, small, large, odd}) EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(natural));  // already gone
}

TEST(IconLoad, LoadIconIsSharedAndDefaultSized) {
    HICON a = LoadIconA(nullptr, kIcon);
    HICON b = LoadIconA(reinterpret_cast<HINSTANCE>(0x400000), kIcon);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(Inspect(a).width, GetSystemMetrics(SM_CXICON));
    EXPECT_TRUE(DestroyIcon(a));  // harmless on a shared icon
    EXPECT_EQ(Inspect(a).width, 32);

    SetLastError(0);
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(4242)), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(LoadIconA(nullptr, kCursor), nullptr);  // a cursor is not an icon
    EXPECT_EQ(LoadIconA(nullptr, nullptr), nullptr);
}

TEST(IconLoad, StandardIconsAndCursors) {
    for (LPCSTR id : {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK}) {
        HICON icon = LoadIconA(nullptr, id);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon, LoadIconA(nullptr, id));
        Info info = Inspect(icon);
        EXPECT_EQ(info.width, 32);
        EXPECT_TRUE(info.isIcon);
    }
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_NE(static_cast<HICON>(arrow), LoadIconA(nullptr, IDI_APPLICATION));
    Info a = Inspect(arrow);
    EXPECT_FALSE(a.isIcon);
    EXPECT_EQ(a.hotX, 0);
    EXPECT_EQ(a.hotY, 0);
    EXPECT_EQ(Inspect(LoadCursorA(nullptr, IDC_IBEAM)).hotX, 16);
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(32600)), nullptr);
}

TEST(IconLoad, CursorsKeepTheirHotSpot) {
    HCURSOR cursor = LoadCursorA(nullptr, kCursor);
    ASSERT_NE(cursor, nullptr);
    Info info = Inspect(cursor);
    EXPECT_FALSE(info.isIcon);
    EXPECT_EQ(info.hotX, 3);
    EXPECT_EQ(info.hotY, 5);
    // Scaled to twice the size, the hot spot moves with the picture.
    HCURSOR big = static_cast<HCURSOR>(LoadImageA(nullptr, kCursor, IMAGE_CURSOR, 64, 64, 0));
    Info b = Inspect(big);
    EXPECT_EQ(b.width, 64);
    EXPECT_EQ(b.hotX, 6);
    EXPECT_EQ(b.hotY, 10);
    EXPECT_TRUE(DestroyCursor(big));

    MemCanvas c(32, 32, kPaper);
    ASSERT_TRUE(DrawIconEx(c.dc, 0, 0, cursor, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(c.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(c.At(7, 7), RGB(0, 0, 0));
    EXPECT_EQ(c.At(8, 8), kPaper);
    EXPECT_EQ(c.At(31, 31), kPaper);
}

TEST(IconLoad, FromFilesAndRefusingBrokenOnes) {
    TempFiles files;
    const std::string ico = ResourceBytes(kIcon, RT_GROUP_ICON);
    ASSERT_FALSE(ico.empty());
    std::string good = files.Write("good.ico", ico);
    HICON icon =
        static_cast<HICON>(LoadImageA(nullptr, good.c_str(), IMAGE_ICON, 48, 48, LR_LOADFROMFILE));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(Inspect(icon).width, 48);
    DestroyIcon(icon);
    HICON sized = static_cast<HICON>(
        LoadImageA(nullptr, good.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
    EXPECT_EQ(Inspect(sized).width, 32);
    DestroyIcon(sized);
    // LR_SHARED means nothing for files: each load is the caller's to free.
    HICON once = static_cast<HICON>(
        LoadImageA(nullptr, good.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_SHARED));
    ASSERT_NE(once, nullptr);
    EXPECT_TRUE(DestroyIcon(once));
    EXPECT_FALSE(DestroyIcon(once));

    auto load = [](const std::string& path, UINT type = IMAGE_ICON) {
        return LoadImageA(nullptr, path.c_str(), type, 0, 0, LR_LOADFROMFILE);
    };
    EXPECT_EQ(load(files.Write("short.ico", ico.substr(0, 40))), nullptr);
    EXPECT_EQ(load(files.Write("empty.ico", "")), nullptr);
    EXPECT_EQ(load(files.Write("text.ico", "not an icon at all, just some text")), nullptr);
    EXPECT_EQ(load(good, IMAGE_CURSOR), nullptr);  // an icon file is not a cursor file
    EXPECT_EQ(load("/nonexistent/dir/x.ico"), nullptr);
    // Every entry pointing past the end of the file.
    std::string bad = ico;
    for (size_t e = 0; e < 3; ++e) bad[6 + e * 16 + 15] = '\x7F';
    EXPECT_EQ(load(files.Write("bad.ico", bad)), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(9100), IMAGE_ICON, 0, 0, LR_LOADFROMFILE),
              nullptr);
    EXPECT_EQ(LoadImageA(nullptr, good.c_str(), IMAGE_ICON, -1, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, good.c_str(), IMAGE_ICON, 100000, 100000, LR_LOADFROMFILE),
              nullptr);
    EXPECT_EQ(LoadImageA(nullptr, kIcon, IMAGE_ICON, 257, 16, 0), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, kIcon, 7, 0, 0, 0), nullptr);  // no such image type
}

TEST(IconLoad, BitmapResources) {
    HBITMAP bitmap = LoadBitmapA(nullptr, kBitmap);
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 2);
    EXPECT_EQ(bm.bmHeight, 2);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    // Bottom-up rows: the file's first row (red, white) is the bottom one.
    EXPECT_EQ(GetPixel(dc, 0, 1), kRed);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 0, 0), kGreen);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);

    HBITMAP scaled = static_cast<HBITMAP>(LoadImageA(nullptr, kBitmap, IMAGE_BITMAP, 8, 6, 0));
    ASSERT_NE(scaled, nullptr);
    GetObjectA(scaled, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 8);
    EXPECT_EQ(bm.bmHeight, 6);
    DeleteObject(scaled);
    EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(4242)), nullptr);
    EXPECT_EQ(LoadBitmapA(nullptr, kIcon), nullptr);  // an icon is not a bitmap
}

TEST(IconDraw, MaskAndAlphaTransparencyOverAColouredBackground) {
    MemCanvas c(40, 40, kPaper);
    HICON small = static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 16, 16, 0));
    ASSERT_TRUE(DrawIconEx(c.dc, 4, 4, small, 0, 0, 0, nullptr, DI_NORMAL));
    // Left half: masked, so the screen stays, XORed with the colour the
    // image keeps there (red, in this fixture), as Windows draws it.
    const COLORREF inverted = RGB(10 ^ 255, 120, 30);
    EXPECT_EQ(c.At(4, 10), inverted);
    EXPECT_EQ(c.At(11, 10), inverted);
    EXPECT_EQ(c.At(12, 10), kRed);  // right half: the icon
    EXPECT_EQ(c.At(19, 19), kRed);
    EXPECT_EQ(c.At(20, 10), kPaper);  // outside it

    // DI_MASK alone blackens the opaque part; DI_IMAGE alone copies colour.
    c.Fill(kPaper);
    DrawIconEx(c.dc, 0, 0, small, 0, 0, 0, nullptr, DI_MASK);
    EXPECT_EQ(c.At(2, 2), kPaper);
    EXPECT_EQ(c.At(12, 2), RGB(0, 0, 0));
    c.Fill(kPaper);
    DrawIconEx(c.dc, 0, 0, small, 0, 0, 0, nullptr, DI_IMAGE);
    EXPECT_EQ(c.At(12, 2), kRed);
    EXPECT_NE(c.At(2, 2), kPaper);  // the XOR colour under the mask shows
    EXPECT_FALSE(DrawIconEx(c.dc, 0, 0, small, 0, 0, 0, nullptr, 0));

    // Alpha rising from 0 at the left to 248 at the right edge.
    c.Fill(RGB(255, 255, 255));
    HICON alpha = static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 32, 32, 0));
    ASSERT_TRUE(DrawIconEx(c.dc, 0, 0, alpha, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(c.At(0, 5), RGB(255, 255, 255));
    COLORREF middle = c.At(16, 5), right = c.At(31, 5);
    EXPECT_EQ(GetBValue(middle), 255);
    EXPECT_NEAR(GetRValue(middle), 255 - 128 * 255 / 255, 2);
    EXPECT_LT(GetRValue(right), 10);
    EXPECT_EQ(GetRValue(middle), GetGValue(middle));

    // DrawIcon uses the system icon size: the 16-pixel icon is doubled.
    c.Fill(kPaper);
    ASSERT_TRUE(DrawIcon(c.dc, 0, 0, small));
    EXPECT_EQ(c.At(15, 5), inverted);
    EXPECT_EQ(c.At(16, 5), kRed);
    EXPECT_EQ(c.At(31, 31), kRed);
    DestroyIcon(small);
    DestroyIcon(alpha);
}

TEST(IconDraw, DisabledStateIsEmbossedInSystemColours) {
    HICON icon = static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 16, 16, 0));
    MemCanvas normal(24, 24, kPaper), disabled(24, 24, kPaper);
    ASSERT_TRUE(DrawStateA(normal.dc, nullptr, nullptr, LPARAM(icon), 0, 2, 2, 0, 0,
                           DST_ICON | DSS_NORMAL));
    ASSERT_TRUE(DrawStateA(disabled.dc, nullptr, nullptr, LPARAM(icon), 0, 2, 2, 0, 0,
                           DST_ICON | DSS_DISABLED));
    EXPECT_NE(normal.Pixels(), disabled.Pixels());
    EXPECT_EQ(normal.At(12, 10), kRed);
    const COLORREF light = GetSysColor(COLOR_3DHILIGHT), dark = GetSysColor(COLOR_3DSHADOW);
    EXPECT_EQ(disabled.Count(kRed), 0);
    EXPECT_GT(disabled.Count(dark), 0);
    EXPECT_GT(disabled.Count(light), 0);
    for (COLORREF p : disabled.Pixels()) EXPECT_TRUE(p == kPaper || p == light || p == dark);
    // The highlight shows one pixel right of the shape's right edge.
    EXPECT_EQ(disabled.At(18, 10), light);
    EXPECT_EQ(disabled.At(12, 10), dark);
    EXPECT_EQ(disabled.At(5, 10), kPaper);  // the transparent half stays untouched

    // DSS_MONO paints the shape with the brush.
    MemCanvas mono(24, 24, kPaper);
    HBRUSH blue = CreateSolidBrush(kBlue);
    DrawStateA(mono.dc, blue, nullptr, LPARAM(icon), 0, 2, 2, 0, 0, DST_ICON | DSS_MONO);
    EXPECT_EQ(mono.At(12, 10), kBlue);
    EXPECT_EQ(mono.At(5, 10), kPaper);
    DeleteObject(blue);

    EXPECT_FALSE(DrawStateA(normal.dc, nullptr, nullptr, LPARAM(0x1234), 0, 0, 0, 0, 0, DST_ICON));
    EXPECT_FALSE(DrawStateA(nullptr, nullptr, nullptr, LPARAM(icon), 0, 0, 0, 0, 0, DST_ICON));
    DestroyIcon(icon);
}

TEST(IconDraw, DrawStateOfTextAndBitmaps) {
    MemCanvas normal(80, 30), disabled(80, 30);
    const char* text = "Ok";
    ASSERT_TRUE(DrawStateA(normal.dc, nullptr, nullptr, LPARAM(text), 0, 5, 5, 0, 0, DST_TEXT));
    ASSERT_TRUE(DrawStateA(disabled.dc, nullptr, nullptr, LPARAM(text), 0, 5, 5, 0, 0,
                           DST_TEXT | DSS_DISABLED));
    const COLORREF white = RGB(255, 255, 255);
    auto darkest = [](const MemCanvas& c) {
        int least = 255;
        for (COLORREF p : c.Pixels()) least = std::min<int>(least, GetRValue(p));
        return least;
    };
    EXPECT_GT(2400 - normal.Count(white), 10);
    EXPECT_LT(darkest(normal), 40);  // black text
    EXPECT_GT(2400 - disabled.Count(white), 10);
    EXPECT_GE(darkest(disabled),
              GetRValue(GetSysColor(COLOR_3DSHADOW)));  // no darker than the shadow

    HBITMAP bitmap = LoadBitmapA(nullptr, kBitmap);
    MemCanvas c(10, 10, kPaper);
    ASSERT_TRUE(DrawStateA(c.dc, nullptr, nullptr, LPARAM(bitmap), 0, 3, 3, 0, 0, DST_BITMAP));
    EXPECT_EQ(c.At(3, 3), kGreen);
    EXPECT_EQ(c.At(3, 4), kRed);
    EXPECT_EQ(c.At(5, 5), kPaper);
    DeleteObject(bitmap);
}

TEST(IconInfo, BitmapsRoundTripThroughCreateIconIndirect) {
    HICON icon = static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 16, 16, 0));
    ICONINFO ii{};
    ASSERT_TRUE(GetIconInfo(icon, &ii));
    BITMAP mask{};
    GetObjectA(ii.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmBitsPixel, 1);
    EXPECT_EQ(mask.bmWidth, 16);
    // The mask is white where the icon is transparent.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, ii.hbmMask);
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 12, 2), RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);

    ii.fIcon = FALSE;  // now a cursor with its own hot spot
    ii.xHotspot = 2;
    ii.yHotspot = 3;
    HCURSOR made = CreateIconIndirect(&ii);
    ASSERT_NE(made, nullptr);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    Info info = Inspect(made);
    EXPECT_FALSE(info.isIcon);
    EXPECT_EQ(info.hotX, 2);
    EXPECT_EQ(info.hotY, 3);
    MemCanvas a(16, 16, kPaper), b(16, 16, kPaper);
    DrawIconEx(a.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    DrawIconEx(b.dc, 0, 0, made, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(a.Pixels(), b.Pixels());

    // Alpha survives the trip too.
    HICON alpha = static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 32, 32, 0));
    ASSERT_TRUE(GetIconInfo(alpha, &ii));
    HICON alphaCopy = CreateIconIndirect(&ii);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    MemCanvas c(32, 32), d(32, 32);
    DrawIconEx(c.dc, 0, 0, alpha, 0, 0, 0, nullptr, DI_NORMAL);
    DrawIconEx(d.dc, 0, 0, alphaCopy, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(c.Pixels(), d.Pixels());

    for (HICON h : {icon, static_cast<HICON>(made), alpha, alphaCopy}) EXPECT_TRUE(DestroyIcon(h));
    ICONINFO none{};
    EXPECT_EQ(CreateIconIndirect(&none), nullptr);
    EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
}

TEST(IconInfo, CopiesOutliveTheOriginalAndBadHandlesFail) {
    HICON icon = static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 16, 16, 0));
    HICON copy = CopyIcon(icon);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, icon);
    EXPECT_TRUE(DestroyIcon(icon));
    MemCanvas c(16, 16, kPaper);
    EXPECT_FALSE(DrawIconEx(c.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_TRUE(DrawIconEx(c.dc, 0, 0, copy, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(c.At(12, 4), kRed);
    EXPECT_TRUE(DestroyIcon(copy));

    HICON bogus = reinterpret_cast<HICON>(0x5678);
    ICONINFO ii{};
    EXPECT_FALSE(GetIconInfo(bogus, &ii));
    EXPECT_FALSE(GetIconInfo(nullptr, &ii));
    EXPECT_FALSE(DestroyIcon(bogus));
    EXPECT_EQ(CopyIcon(bogus), nullptr);
    EXPECT_FALSE(DrawIcon(c.dc, 0, 0, bogus));
    EXPECT_FALSE(DrawIcon(nullptr, 0, 0, LoadIconA(nullptr, IDI_APPLICATION)));
    // A GDI object is not an icon, nor an icon a GDI object.
    HBRUSH brush = CreateSolidBrush(0);
    EXPECT_FALSE(DestroyIcon(reinterpret_cast<HICON>(brush)));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(LoadIconA(nullptr, IDI_APPLICATION)));
}

}  // namespace
