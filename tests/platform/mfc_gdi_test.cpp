// The framework's device contexts, drawing objects and menus over the
// software GDI.
#include <afxwin.h>
#include <gtest/gtest.h>

#include "backends/headless/headless.h"

namespace {

// A memory DC with a white 64 x 32 bitmap selected.
struct Canvas {
    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
    Canvas() {
        CClientDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, 64, 32);
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 64, 32, RGB(255, 255, 255));
    }
    ~Canvas() { dc.SelectObject(old); }
};

}  // namespace

TEST(FrameworkGdi, SelectingReturnsTheReplacedObject) {
    Canvas c;
    EXPECT_NE(c.old, nullptr);
    EXPECT_EQ(c.dc.GetCurrentBitmap()->m_hObject, c.bitmap.m_hObject);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* before = c.dc.SelectObject(&red);
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(c.dc.SelectObject(before), CPen::FromHandle(red));
    BITMAP info{};
    EXPECT_GT(c.bitmap.GetBitmap(&info), 0);
    EXPECT_EQ(info.bmWidth, 64);
    EXPECT_EQ(info.bmHeight, 32);
}

TEST(FrameworkGdi, FiguresLandOnTheBitmap) {
    Canvas c;
    c.dc.Draw3dRect(4, 4, 10, 8, RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(c.dc.GetPixel(4, 4), RGB(255, 0, 0));      // top-left corner
    EXPECT_EQ(c.dc.GetPixel(13, 4), RGB(0, 0, 255));     // top-right belongs to the right edge
    EXPECT_EQ(c.dc.GetPixel(4, 11), RGB(0, 0, 255));     // bottom edge
    EXPECT_EQ(c.dc.GetPixel(8, 8), RGB(255, 255, 255));  // inside untouched
    CBrush green(RGB(0, 255, 0));
    CRect r(20, 2, 30, 12);
    c.dc.FillRect(&r, &green);
    EXPECT_EQ(c.dc.GetPixel(25, 7), RGB(0, 255, 0));
    EXPECT_EQ(c.dc.GetPixel(30, 7), RGB(255, 255, 255));
    // The flood stops at the frame drawn above.
    c.dc.ExtFloodFill(8, 8, RGB(255, 255, 255), FLOODFILLSURFACE);
}

TEST(FrameworkGdi, PointFontsFollowTheResolution) {
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(80, "MS Sans Serif"));
    LOGFONT lf{};
    ASSERT_GT(font.GetLogFont(&lf), 0);
    EXPECT_EQ(lf.lfHeight, -11);  // 8 points at 96 dpi
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
}

TEST(FrameworkGdi, TextDrawsAndMeasures) {
    Canvas c;
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "DejaVu Sans"));
    CFont* old = c.dc.SelectObject(&font);
    c.dc.SetTextColor(RGB(0, 0, 0));
    c.dc.SetBkMode(TRANSPARENT);
    const CSize size = c.dc.GetTextExtent(CString("Hi"));
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
    CRect box(0, 0, 64, 32);
    const int height = c.dc.DrawText(CString("Hi"), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    // Vertically centred: the height counts from the box's top.
    EXPECT_EQ(height, (32 - size.cy) / 2 + size.cy);
    int dark = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) dark += GetRValue(c.dc.GetPixel(x, y)) < 100;
    EXPECT_GT(dark, 10);
    TEXTMETRIC tm{};
    EXPECT_TRUE(c.dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, size.cy);
    c.dc.SelectObject(old);
}

TEST(FrameworkGdi, TemporaryWrappersNeverDeleteTheirHandle) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    CBrush* wrapper = CBrush::FromHandle(brush);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(CBrush::FromHandle(brush), wrapper);
    EXPECT_EQ(static_cast<HBRUSH>(*wrapper), brush);
    {
        CBrush owned;
        owned.Attach(brush);
        owned.Detach();  // detached: the destructor leaves the brush alone
    }
    EXPECT_NE(GetObjectType(brush), 0u);
    EXPECT_TRUE(DeleteObject(brush));
}

TEST(FrameworkMenu, SystemMenuTakesAnItem) {
    HWND top = CreateWindowExA(0, "STATIC", "menu", WS_POPUP | WS_VISIBLE, 0, 0, 80, 80, nullptr,
                               nullptr, nullptr, nullptr);
    CWnd* wnd = CWnd::FromHandle(top);
    CMenu* menu = wnd->GetSystemMenu(FALSE);
    ASSERT_NE(menu, nullptr);
    const UINT before = menu->GetMenuItemCount();
    EXPECT_TRUE(menu->AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(menu->AppendMenu(MF_STRING, 0x10, "&About..."));
    EXPECT_EQ(menu->GetMenuItemCount(), before + 2);
    CString text;
    menu->GetMenuString(0x10, text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), "&About...");
    DestroyWindow(top);
}
