// The skinned button on a dialog of its own: transparent drawing, hover and
// pressed borders, dragging, double clicks, toggling, disabling, icons.
#include <gtest/gtest.h>

#include <cstdlib>

#include <vector>

#include "app_harness.h"
#include "backends/headless/headless.h"
#include "controls/skin_button.h"
#include "res/resource.h"

using app_test::TakeSoundsPlayed;

namespace {

constexpr int kCheckId = 2001;
constexpr int kLabelId = 2002;

// A colour of the background pattern: never white, grey or black, so the
// button's own colours stand out.
COLORREF PatternAt(int x, int y) { return RGB(40 + x % 64, 120 + y % 64, 200); }

// A dialog (the colour mixer's template, whose buttons are OK and Cancel)
// with a check-box button and a disabled label button added, all skinned.
class CHostDlg : public CDialog {
public:
    CHostDlg() : CDialog(IDD_COLOR_MIXER) {}

    CSkinButton m_btnOK, m_btnCancel, m_btnCheck, m_btnLabel;
    std::vector<int> m_clicks;
    int m_nCheckSeen = -1;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDOK, m_btnOK);
        DDX_Control(pDX, IDCANCEL, m_btnCancel);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ::CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 20,
                          20, 60, 40, m_hWnd, reinterpret_cast<HMENU>(kCheckId), nullptr, nullptr);
        ::CreateWindowExA(0, "Button", "1-100/1000",
                          WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, 100, 20, 96, 20,
                          m_hWnd, reinterpret_cast<HMENU>(kLabelId), nullptr, nullptr);
        m_btnCheck.SubclassDlgItem(kCheckId, this);
        m_btnLabel.SubclassDlgItem(kLabelId, this);
        HMODULE module = AfxGetInstanceHandle();
        for (CSkinButton* button : {&m_btnOK, &m_btnCancel, &m_btnCheck, &m_btnLabel}) {
            button->SetTransparent(FALSE);
            button->SetEventSound(MAKEINTRESOURCEA(IDW_HOVER), module, CSkinButton::EVENT_HOVER,
                                  TRUE);
            button->SetEventSound(MAKEINTRESOURCEA(IDW_CLICK), module, CSkinButton::EVENT_CLICK,
                                  TRUE);
        }
        return TRUE;
    }
    void OnOK() override { m_clicks.push_back(IDOK); }
    void OnCancel() override { m_clicks.push_back(IDCANCEL); }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
        CRect rect;
        GetClientRect(&rect);
        for (int y = 0; y < rect.bottom; ++y)
            for (int x = 0; x < rect.right; ++x) pDC->SetPixelV(x, y, PatternAt(x, y));
        return TRUE;
    }
    afx_msg void OnCheck() {
        m_clicks.push_back(kCheckId);
        m_nCheckSeen = m_btnCheck.IsChecked();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostDlg, CDialog)
ON_WM_ERASEBKGND()
ON_BN_CLICKED(kCheckId, &CHostDlg::OnCheck)
END_MESSAGE_MAP()

class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::NullInstant));
        win::SetWaveResourceLookup(&app_test::RecordingLookup);
        ASSERT_TRUE(host.Create(IDD_COLOR_MIXER, nullptr));
        host.ShowWindow(SW_SHOW);
        host.SetActiveWindow();
        headless::RunUntilIdle();
        TakeSoundsPlayed();
    }
    void TearDown() override {
        headless::MouseUp(0, 0);
        host.DestroyWindow();
        headless::RunUntilIdle();
        win::SetWaveResourceLookup(nullptr);
    }
    // A screen point on the dialog, away from its buttons.
    POINT OnDialog(int x, int y) {
        POINT p{x, y};
        host.ClientToScreen(&p);
        return p;
    }

    // A button's rectangle in the dialog's client coordinates and on screen.
    RECT ClientRect(CWnd& button) {
        CRect rect;
        button.GetWindowRect(&rect);
        host.ScreenToClient(&rect);
        return rect;
    }
    POINT Centre(CWnd& button) {
        CRect rect;
        button.GetWindowRect(&rect);
        return rect.CenterPoint();
    }
    COLORREF Pixel(int x, int y) { return headless::PixelAt(host.m_hWnd, x, y); }
    void Hover(CWnd& button) {
        POINT p = Centre(button);
        headless::MouseMove(p.x, p.y);
        headless::RunUntilIdle();
    }

    CHostDlg host;
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF;
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT) & 0xFFFFFF;
};

TEST_F(SkinButtonTest, AnEmptyButtonIsThePictureUnderItAndHoverRaisesAThinBorder) {
    RECT r = ClientRect(host.m_btnCancel);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            ASSERT_EQ(Pixel(x, y), PatternAt(x, y)) << x << "," << y;

    Hover(host.m_btnCancel);
    EXPECT_TRUE(host.m_btnCancel.IsHovered());
    EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_HOVER});
    EXPECT_EQ(Pixel(r.left, r.top), highlight);
    EXPECT_EQ(Pixel(r.right - 2, r.top), highlight);
    EXPECT_EQ(Pixel(r.right - 1, r.bottom - 1), shadow);
    EXPECT_EQ(Pixel(r.left + 1, r.bottom - 1), shadow);
    for (int y = r.top + 1; y < r.bottom - 1; ++y)
        for (int x = r.left + 1; x < r.right - 1; ++x)
            ASSERT_EQ(Pixel(x, y), PatternAt(x, y)) << x << "," << y;

    // The pointer leaving the program ends the hover (WM_MOUSELEAVE).
    headless::PointerLeave();
    headless::RunUntilIdle();
    EXPECT_FALSE(host.m_btnCancel.IsHovered());
    EXPECT_EQ(Pixel(r.left, r.top), PatternAt(r.left, r.top));
}

TEST_F(SkinButtonTest, DraggingOntoAButtonDoesNotLightIt) {
    POINT away = OnDialog(2, 2);
    headless::MouseDown(away.x, away.y);
    headless::RunUntilIdle();
    Hover(host.m_btnCancel);
    EXPECT_FALSE(host.m_btnCancel.IsHovered());
    EXPECT_TRUE(TakeSoundsPlayed().empty());
    headless::MouseUp(away.x, away.y);
    headless::RunUntilIdle();

    // Pressing a lit button and dragging off it turns it off, for good.
    Hover(host.m_btnCancel);
    ASSERT_TRUE(host.m_btnCancel.IsHovered());
    POINT p = Centre(host.m_btnCancel);
    headless::MouseDown(p.x, p.y);
    headless::RunUntilIdle();
    headless::MouseMove(p.x + 200, p.y);
    headless::RunUntilIdle();
    EXPECT_FALSE(host.m_btnCancel.IsHovered());
    headless::MouseMove(p.x, p.y);
    headless::RunUntilIdle();
    EXPECT_FALSE(host.m_btnCancel.IsHovered());
    headless::MouseUp(p.x + 200, p.y);
    headless::RunUntilIdle();
}

TEST_F(SkinButtonTest, ADoubleClickIsTwoClicks) {
    Hover(host.m_btnCancel);
    TakeSoundsPlayed();
    POINT p = Centre(host.m_btnCancel);
    headless::Click(p.x, p.y);
    headless::Click(p.x, p.y);  // within the double-click time
    headless::RunUntilIdle();
    EXPECT_EQ(host.m_clicks, (std::vector<int>{IDCANCEL, IDCANCEL}));
    EXPECT_EQ(TakeSoundsPlayed(), (std::vector<int>{IDW_CLICK, IDW_CLICK}));
}

TEST_F(SkinButtonTest, ACheckBoxButtonTogglesBeforeItsParentHearsTheClick) {
    POINT p = Centre(host.m_btnCheck);
    headless::Click(p.x, p.y);
    headless::RunUntilIdle();
    EXPECT_EQ(host.m_nCheckSeen, 1);
    EXPECT_EQ(host.m_btnCheck.SendMessage(BM_GETCHECK), 1);
    // Checked, it stays sunk with the pointer elsewhere.
    POINT away = OnDialog(2, 2);
    headless::MouseMove(away.x, away.y);
    headless::RunUntilIdle();
    RECT r = ClientRect(host.m_btnCheck);
    EXPECT_EQ(Pixel(r.left, r.top), shadow);
    EXPECT_EQ(Pixel(r.right - 1, r.bottom - 1), highlight);

    headless::Click(p.x, p.y);
    headless::RunUntilIdle();
    EXPECT_EQ(host.m_nCheckSeen, 0);
    host.m_btnCheck.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(host.m_btnCheck.IsChecked(), 1);
    host.m_btnCheck.SendMessage(BM_SETCHECK, BST_UNCHECKED);
    EXPECT_EQ(host.m_btnCheck.IsChecked(), 0);
}

TEST_F(SkinButtonTest, DisablingTheFocusedButtonMovesTheFocusOn) {
    host.m_btnCancel.SetFocus();
    ASSERT_EQ(::GetFocus(), host.m_btnCancel.m_hWnd);
    host.m_btnCancel.EnableWindow(FALSE);
    headless::RunUntilIdle();
    HWND focus = ::GetFocus();
    EXPECT_NE(focus, host.m_btnCancel.m_hWnd);
    EXPECT_TRUE(focus == host.m_hWnd || ::IsChild(host.m_hWnd, focus));
    EXPECT_TRUE(::IsWindowEnabled(focus));

    // Disabling a button without the focus leaves the focus where it is.
    host.m_btnOK.SetFocus();
    host.m_btnCheck.EnableWindow(FALSE);
    EXPECT_EQ(::GetFocus(), host.m_btnOK.m_hWnd);
}

namespace {

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 24 &&
           std::abs(GetGValue(a) - GetGValue(b)) <= 24 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 24;
}

}  // namespace

TEST_F(SkinButtonTest, ADisabledCaptionIsEmbossedGreyOverThePicture) {
    RECT r = ClientRect(host.m_btnLabel);
    int shadows = 0, highlights = 0, others = 0;
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT) & 0xFFFFFF;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            COLORREF c = Pixel(x, y);
            // Glyph edges are antialiased: the cores of the strokes count.
            if (Near(c, shadow))
                ++shadows;
            else if (Near(c, highlight))
                ++highlights;
            else if (c == text)
                ++others;
        }
    }
    EXPECT_GT(shadows, 20);
    EXPECT_GT(highlights, 5);
    EXPECT_EQ(others, 0);
    // Hovering a disabled button does nothing.
    Hover(host.m_btnLabel);
    EXPECT_FALSE(host.m_btnLabel.IsHovered());
}

TEST_F(SkinButtonTest, AnIconSitsCentredAndShiftsOnePixelWhilePressed) {
    // A solid 16 x 16 icon, so its place is exact.
    BYTE maskBits[16 * 16 / 8] = {};  // all 0: opaque
    HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, maskBits);
    HDC screen = ::GetDC(nullptr);
    HBITMAP colour = ::CreateCompatibleBitmap(screen, 16, 16);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, colour);
    RECT all{0, 0, 16, 16};
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    ::FillRect(dc, &all, red);
    ::DeleteObject(red);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(mask);
    ::DeleteObject(colour);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(host.m_btnOK.SetIconHandles(icon), 0u);
    headless::RunUntilIdle();

    RECT r = ClientRect(host.m_btnOK);
    int left = r.left + (r.right - r.left - 16) / 2, top = r.top + (r.bottom - r.top - 16) / 2;
    EXPECT_EQ(Pixel(left, top), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(left + 15, top + 15), RGB(255, 0, 0));
    EXPECT_NE(Pixel(left - 1, top), RGB(255, 0, 0));

    POINT p = Centre(host.m_btnOK);
    headless::MouseMove(p.x, p.y);
    headless::MouseDown(p.x, p.y);
    headless::RunUntilIdle();
    EXPECT_NE(Pixel(left, top), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(left + 1, top + 1), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(left + 16, top + 16), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(r.left, r.top), shadow);  // sunk
    headless::MouseUp(p.x, p.y);
    headless::RunUntilIdle();
    EXPECT_EQ(host.m_clicks, std::vector<int>{IDOK});
}

TEST_F(SkinButtonTest, StylesStayOwnerDrawnAndTheDefaultStateFollowsRequests) {
    HWND ok = host.m_btnOK.m_hWnd;
    EXPECT_EQ(::GetWindowLongA(ok, GWL_STYLE) & 0x1F, BS_OWNERDRAW);
    EXPECT_TRUE(::SendMessageA(ok, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);  // from the template
    ::SendMessageA(ok, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(::GetWindowLongA(ok, GWL_STYLE) & 0x1F, BS_OWNERDRAW);
    EXPECT_TRUE(::SendMessageA(ok, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);
    ::SendMessageA(ok, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(::SendMessageA(ok, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(::GetWindowLongA(host.m_btnCheck.m_hWnd, GWL_STYLE) & 0x1F, BS_OWNERDRAW);
}

TEST_F(SkinButtonTest, RefusalsLeaveTheButtonAsItWas) {
    CSkinButton loose;  // never transparent
    CClientDC dc(&host);
    EXPECT_EQ(loose.CaptureBackground(&dc), 5u);
    EXPECT_EQ(host.m_btnCancel.CaptureBackground(nullptr), 5u);
    EXPECT_EQ(host.m_btnCancel.CaptureBackground(&dc), 0u);
    EXPECT_EQ(host.m_btnCancel.SetIconHandles(reinterpret_cast<HICON>(uintptr_t(0xBAD0))), 1u);
    EXPECT_EQ(host.m_btnCancel.SetEventSound("x.wav", nullptr, 7, TRUE), 1u);
    EXPECT_EQ(host.m_btnCancel.SetChecked(1), 0u);
    EXPECT_EQ(host.m_btnCancel.IsChecked(), 0);  // not a check box
    // The tool-tip exists once the button saw a message, and never shows.
    Hover(host.m_btnCancel);
    for (const auto& top : headless::TopLevelWindows()) {
        if (top.className == TOOLTIPS_CLASSA) {
            EXPECT_FALSE(top.visible);
        }
    }
}

}  // namespace
