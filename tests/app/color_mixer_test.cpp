// The colour mixer, modeless on the headless backend and modal through the
// palette's path: geometry of the markers and handles, the pictures under
// the exclusive-or figures, drags within and past the pickers, previews,
// OK and Cancel.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app_harness.h"
#include "common/globals.h"
#include "controls/color_convert.h"
#include "controls/color_mixer_dlg.h"
#include "controls_host.h"
#include "res/resource.h"

using namespace controls_test;

namespace {

// The bitmap resource's pixels, as 0x00RRGGBB, top-down.
Picture ResourcePicture(UINT nID) {
    CBitmap bmp;
    EXPECT_TRUE(bmp.LoadBitmap(nID));
    BITMAP bm{};
    bmp.GetBitmap(&bm);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOld = dc.SelectObject(&bmp);
    Picture p = MakePicture(bm.bmWidth, bm.bmHeight, 0);
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x) p.At(x, y) = Rgb(dc.GetPixel(x, y));
    dc.SelectObject(pOld);
    return p;
}

double DistanceBetween(POINT a, POINT b) {
    return std::hypot(double(a.x - b.x), double(a.y - b.y));
}

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::NullInstant));
        win::SetWaveResourceLookup(&app_test::RecordingLookup);
        m_strOldAppDir = g_strAppDir;
        g_strAppDir = TINTO_APP_DIR "/";
    }
    void TearDown() override {
        headless::MouseUp(0, 0);
        if (m_pMixer) {
            m_pMixer->DestroyWindow();
            headless::RunUntilIdle();
            delete m_pMixer;
        }
        g_strAppDir = m_strOldAppDir;
        win::SetWaveResourceLookup(nullptr);
        app_test::TakeSoundsPlayed();
    }

    CColorMixerDlg& Open(COLORREF crStart) {
        m_pMixer = new CColorMixerDlg(crStart);
        EXPECT_TRUE(m_pMixer->Create(CColorMixerDlg::IDD, nullptr));
        m_pMixer->ShowWindow(SW_SHOW);
        m_pMixer->SetActiveWindow();
        headless::RunUntilIdle();
        return *m_pMixer;
    }
    POINT Screen(POINT client) {
        m_pMixer->ClientToScreen(&client);
        return client;
    }
    void Press(POINT client) {
        POINT p = Screen(client);
        headless::MouseDown(p.x, p.y);
        headless::RunUntilIdle();
    }
    void Move(POINT client) {
        POINT p = Screen(client);
        headless::MouseMove(p.x, p.y);
        headless::RunUntilIdle();
    }
    void Release(POINT client) {
        POINT p = Screen(client);
        headless::MouseUp(p.x, p.y);
        headless::RunUntilIdle();
    }
    headless::Image Pixels() { return ClientPixels(m_pMixer->m_hWnd); }
    COLORREF Colour() const { return m_pMixer->GetColor(); }

    CColorMixerDlg* m_pMixer = nullptr;
    CString m_strOldAppDir;
};

TEST_F(MixerTest, PureRedPutsTheMarkerOnTheRimAndTheRedHandleAtItsAxisEnd) {
    CColorMixerDlg& mixer = Open(RGB(255, 0, 0));
    EXPECT_EQ(mixer.GetHue(), 0);
    EXPECT_EQ(mixer.GetSaturation(), 255);
    EXPECT_EQ(mixer.GetBrightness(), 255);
    const CPoint centre = mixer.GetWheelCenter();
    EXPECT_EQ(centre, mixer.GetHsbArea().TopLeft() + CSize(100, 100));
    EXPECT_EQ(mixer.GetWheelMarkerRect().CenterPoint(), centre + CSize(100, 0));
    EXPECT_EQ(mixer.GetWheelMarkerRect().Size(), CSize(10, 10));
    // Full brightness: the bar's marker at its top.
    const CRect bar = mixer.GetBarRect();
    EXPECT_EQ(bar, CRect(mixer.GetHsbArea().left + 222, mixer.GetHsbArea().top,
                         mixer.GetHsbArea().left + 242, mixer.GetHsbArea().top + 201));
    EXPECT_EQ(mixer.GetBarMarkerRect(),
              CRect(bar.left - 2, bar.top - 4, bar.right + 2, bar.top + 4));

    const CPoint cube = mixer.GetCubeCenter();
    EXPECT_EQ(cube, mixer.GetRgbArea().TopLeft() + CSize(86, 108));
    EXPECT_EQ(mixer.GetAxisLength(0), 99);
    EXPECT_EQ(mixer.GetAxisLength(1), 89);
    EXPECT_EQ(mixer.GetAxisLength(2), 88);
    EXPECT_EQ(mixer.GetHandleRect(0).CenterPoint(), cube - CSize(0, 99));
    EXPECT_EQ(mixer.GetHandleRect(1).CenterPoint(), cube);
    EXPECT_EQ(mixer.GetHandleRect(2).CenterPoint(), cube);
    EXPECT_EQ(mixer.GetHandleRect(0).Size(), CSize(10, 10));
}

TEST_F(MixerTest, MidGreyPutsTheMarkerAtTheCentreAndTheHandlesPartWayOut) {
    CColorMixerDlg& mixer = Open(RGB(128, 128, 128));
    EXPECT_EQ(mixer.GetHue(), 0);
    EXPECT_EQ(mixer.GetSaturation(), 0);
    EXPECT_EQ(mixer.GetBrightness(), 128);
    EXPECT_EQ(mixer.GetWheelMarkerRect().CenterPoint(), mixer.GetWheelCenter());
    const CPoint cube = mixer.GetCubeCenter();
    const int expected[3] = {49, 44, 44};
    for (int i = 0; i < 3; ++i) {
        const CPoint handle = mixer.GetHandleRect(i).CenterPoint();
        EXPECT_NEAR(DistanceBetween(handle, cube), expected[i], 1.0) << i;
        // On the axis: the same direction as the axis end, to a pixel.
        const CPoint end = mixer.GetAxisEnd(i);
        const double cross = double(handle.x - cube.x) * (end.y - cube.y) -
                             double(handle.y - cube.y) * (end.x - cube.x);
        EXPECT_LE(std::abs(cross) / DistanceBetween(end, cube), 1.0) << i;
    }
}

TEST_F(MixerTest, ThePicturesAreDrawnAtTheAreasWithTheFiguresExclusiveOrOverThem) {
    CColorMixerDlg& mixer = Open(RGB(255, 0, 0));
    const headless::Image shown = Pixels();
    const Picture wheel = ResourcePicture(IDB_COLOR_WHEEL);
    const CPoint origin = mixer.GetHsbArea().TopLeft();
    const CRect marker = mixer.GetWheelMarkerRect();
    for (int y = 0; y < wheel.height; ++y)
        for (int x = 0; x < wheel.width; ++x) {
            const CPoint p = origin + CSize(x, y);
            const bool outline =
                marker.PtInRect(p) && (p.x == marker.left || p.x == marker.right - 1 ||
                                       p.y == marker.top || p.y == marker.bottom - 1);
            ASSERT_EQ(Rgb(shown.At(p.x, p.y)), outline ? wheel.At(x, y) ^ 0xFFFFFF : wheel.At(x, y))
                << x << "," << y;
        }
    // The bar shows, row by row, the current hue and saturation from full
    // brightness down to black.
    const CRect bar = mixer.GetBarRect();
    for (int i = 8; i < bar.Height(); ++i) {
        int r, g, b;
        HsbToRgb(0, 255, (bar.Height() - 1 - i) * 255 / bar.Height(), r, g, b);
        ASSERT_EQ(Rgb(shown.At(bar.left + 10, bar.top + i)), Rgb(RGB(r, g, b))) << i;
    }
    // The cube, away from its handles and box, is its picture.
    const Picture cube = ResourcePicture(IDB_RGB_CUBE);
    const CPoint cubeOrigin = mixer.GetRgbArea().TopLeft();
    for (const POINT p : {POINT{2, 2}, POINT{170, 5}, POINT{3, 185}, POINT{140, 40}})
        EXPECT_EQ(Rgb(shown.At(cubeOrigin.x + p.x, cubeOrigin.y + p.y)), cube.At(p.x, p.y));
}

TEST_F(MixerTest, ThePreviewsShowTheStartingAndTheCurrentColourInABevelledFrame) {
    CColorMixerDlg& mixer = Open(RGB(40, 90, 200));
    for (const CRect& rc : {mixer.GetStartPreviewRect(), mixer.GetCurrentPreviewRect()}) {
        const headless::Image shown = Pixels();
        EXPECT_EQ(Rgb(shown.At(rc.left, rc.top + 5)), 0u);
        EXPECT_EQ(Rgb(shown.At(rc.right - 1, rc.bottom - 1)), 0u);
        EXPECT_EQ(Rgb(shown.At(rc.left + 1, rc.top + 5)), 0xC0C0C0u);
        EXPECT_EQ(Rgb(shown.At(rc.right - 2, rc.bottom - 3)), 0x808080u);
        EXPECT_EQ(Rgb(shown.At(rc.left + 10, rc.top + 10)), 0x285AC8u);
    }
    // Dragging the red handle up changes only the current colour.
    const CPoint red = mixer.GetHandleRect(0).CenterPoint();
    Press(red);
    Move(mixer.GetCubeCenter() - CSize(0, 200));
    Release(mixer.GetCubeCenter() - CSize(0, 200));
    EXPECT_EQ(Colour(), RGB(255, 90, 200));
    const headless::Image shown = Pixels();
    const CRect start = mixer.GetStartPreviewRect(), current = mixer.GetCurrentPreviewRect();
    EXPECT_EQ(Rgb(shown.At(start.left + 10, start.top + 10)), 0x285AC8u);
    EXPECT_EQ(Rgb(shown.At(current.left + 10, current.top + 10)), 0xFF5AC8u);
    // The HSB side followed.
    int h, s, v;
    RgbToHsb(255, 90, 200, h, s, v);
    EXPECT_EQ(mixer.GetHue(), h);
    EXPECT_EQ(mixer.GetSaturation(), s);
    EXPECT_EQ(mixer.GetBrightness(), v);
}

TEST_F(MixerTest, TheBackgroundIsTheProgramsPicture) {
    Open(RGB(0, 0, 0));
    CBitmap background;
    HANDLE hPicture = ::LoadImageA(nullptr, g_strAppDir + "Backgrnd\\mixed.bmp", IMAGE_BITMAP, 0, 0,
                                   LR_LOADFROMFILE);
    ASSERT_NE(hPicture, nullptr);
    background.Attach(hPicture);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOld = dc.SelectObject(&background);
    const headless::Image shown = Pixels();
    for (const POINT p : {POINT{3, 3}, POINT{590, 316}, POINT{300, 10}})
        EXPECT_EQ(Rgb(shown.At(p.x, p.y)), Rgb(dc.GetPixel(p.x, p.y)));
    dc.SelectObject(pOld);
}

// Each kind of drag, wandering and coming back to where it began, leaves
// every pixel of the dialog as it was: the exclusive-or figures leave no
// trace on the pictures or around them.
enum class Drag { Wheel, Bar, Red, Green, Blue };

class MixerRoundTripTest : public MixerTest, public ::testing::WithParamInterface<Drag> {};

TEST_P(MixerRoundTripTest, ReturningToTheStartLeavesTheDialogByteIdentical) {
    CColorMixerDlg& mixer = Open(RGB(128, 128, 128));
    CPoint start;
    std::vector<CPoint> path;
    const CPoint wc = mixer.GetWheelCenter();
    const CRect bar = mixer.GetBarRect();
    const CPoint cube = mixer.GetCubeCenter();
    switch (GetParam()) {
        case Drag::Wheel:
            start = wc + CSize(30, -20);
            path = {wc + CSize(99, 0), wc + CSize(0, -150), wc + CSize(-60, 60), wc + CSize(3, 97)};
            break;
        case Drag::Bar:
            start = CPoint(bar.left + 5, bar.top + 50);
            path = {CPoint(bar.left, bar.top - 40), CPoint(bar.right + 30, bar.bottom + 40),
                    CPoint(bar.left + 3, bar.top + 120)};
            break;
        case Drag::Red:
        case Drag::Green:
        case Drag::Blue: {
            const int i = int(GetParam()) - int(Drag::Red);
            start = mixer.GetHandleRect(i).CenterPoint();
            path = {cube + CSize(0, 30), cube + CSize(-120, -120), cube + CSize(120, 0),
                    mixer.GetAxisEnd(i)};
            break;
        }
    }
    Press(start);
    Move(start + CSize(0, 1));
    Move(start);
    const headless::Image before = Pixels();
    const COLORREF crBefore = Colour();
    for (const CPoint& p : path) Move(p);
    EXPECT_NE(Colour(), crBefore);
    Move(start + CSize(0, 1));
    Move(start);
    Release(start);
    EXPECT_EQ(Colour(), crBefore);
    const headless::Image after = Pixels();
    ASSERT_EQ(after.pixels.size(), before.pixels.size());
    int nDifferent = 0;
    for (size_t i = 0; i < after.pixels.size(); ++i)
        if (after.pixels[i] != before.pixels[i]) ++nDifferent;
    EXPECT_EQ(nDifferent, 0);
}

std::string DragName(const ::testing::TestParamInfo<Drag>& info) {
    static const char* const kNames[] = {"Wheel", "Bar", "Red", "Green", "Blue"};
    return kNames[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Drags, MixerRoundTripTest,
                         ::testing::Values(Drag::Wheel, Drag::Bar, Drag::Red, Drag::Green,
                                           Drag::Blue),
                         DragName);

TEST_F(MixerTest, DragsPastTheRimsStopAtTheirLimits) {
    CColorMixerDlg& mixer = Open(RGB(128, 128, 128));
    const CPoint wc = mixer.GetWheelCenter();
    // Out of the wheel straight up: full saturation at 90 degrees.
    Press(wc + CSize(20, 0));
    Move(wc + CSize(0, -300));
    EXPECT_EQ(mixer.GetHue(), 90);
    EXPECT_EQ(mixer.GetSaturation(), 255);
    Move(wc + CSize(-400, 0));
    EXPECT_EQ(mixer.GetHue(), 180);
    EXPECT_EQ(mixer.GetSaturation(), 255);
    Release(wc + CSize(-400, 0));

    // The bar: 255 above it, 0 below it, whatever the pointer's x.
    const CRect bar = mixer.GetBarRect();
    Press(CPoint(bar.left + 5, bar.top + 100));
    Move(CPoint(bar.left - 200, bar.top - 50));
    EXPECT_EQ(mixer.GetBrightness(), 255);
    Move(CPoint(bar.right + 200, bar.bottom + 50));
    EXPECT_EQ(mixer.GetBrightness(), 0);
    Release(CPoint(bar.right + 200, bar.bottom + 50));
    EXPECT_EQ(Colour(), RGB(0, 0, 0));

    // A handle stops at the axis end and at the centre. All three sit at
    // the centre now, where red is found first.
    Press(mixer.GetCubeCenter());
    EXPECT_EQ(Colour(), RGB(0, 0, 0));  // the press alone changes nothing
    Move(mixer.GetCubeCenter() - CSize(300, 300));
    EXPECT_EQ(mixer.m_nRed, 255);
    EXPECT_EQ(mixer.GetHandleRect(0).CenterPoint(), mixer.GetAxisEnd(0));
    Move(mixer.GetCubeCenter() + CSize(0, 300));
    EXPECT_EQ(mixer.m_nRed, 0);
    Release(mixer.GetCubeCenter() + CSize(0, 300));
}

TEST_F(MixerTest, TheBlueHandleFollowsThePointersXAlone) {
    CColorMixerDlg& mixer = Open(RGB(255, 255, 0));  // blue alone at the centre
    const CPoint cube = mixer.GetCubeCenter();
    Press(mixer.GetHandleRect(2).CenterPoint());
    Move(cube + CSize(40, 0));
    // 40 pixels across is 44 along the axis: 44 / 88 of the way.
    EXPECT_EQ(mixer.m_nBlue, 127);
    // The same x at other heights, and more moves: the same colour.
    Move(cube + CSize(40, 60));
    Move(cube + CSize(40, -60));
    Move(cube + CSize(40, 1));
    EXPECT_EQ(mixer.m_nBlue, 127);
    Release(cube + CSize(40, 1));
    // The handle lies where the axis crosses that x, less what the whole
    // numbers of the value and the distance truncate.
    EXPECT_NEAR(mixer.GetHandleRect(2).CenterPoint().x, cube.x + 40, 2);
    EXPECT_EQ(Colour(), RGB(255, 255, 127));
}

TEST_F(MixerTest, APressAwayFromTheHandlesChangesNothing) {
    CColorMixerDlg& mixer = Open(RGB(128, 128, 128));
    const headless::Image before = Pixels();
    const CPoint away = mixer.GetRgbArea().TopLeft() + CSize(5, 5);
    Press(away);
    EXPECT_EQ(::GetCapture(), nullptr);
    Move(mixer.GetCubeCenter());
    Release(mixer.GetCubeCenter());
    EXPECT_EQ(Colour(), RGB(128, 128, 128));
    EXPECT_EQ(Pixels().pixels, before.pixels);
}

// Run modally, as the palette does.
class MixerModalTest : public MixerTest, public ::testing::WithParamInterface<int> {};

TEST_P(MixerModalTest, EndsWithTheButtonPressedAndKeepsTheColourOfItsDrags) {
    const int nButton = GetParam();
    CColorMixerDlg dlg(RGB(10, 20, 30));
    headless::WhenTopLevelAppears(WC_DIALOG, [nButton](HWND hWnd) {
        auto* pMixer = dynamic_cast<CColorMixerDlg*>(CWnd::FromHandlePermanent(hWnd));
        ASSERT_NE(pMixer, nullptr);
        CRect rc;
        pMixer->GetDlgItem(nButton)->GetWindowRect(&rc);
        headless::Click(rc.CenterPoint().x, rc.CenterPoint().y);
    });
    EXPECT_EQ(dlg.DoModal(), nButton);
    // OK without dragging gives the starting colour back.
    EXPECT_EQ(dlg.GetColor(), RGB(10, 20, 30));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MixerModalTest, ::testing::Values(IDOK, IDCANCEL));

}  // namespace
