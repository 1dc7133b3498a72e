// The palette on a host dialog: the shared table, the 21-pixel geometry for
// the screens' grids, selection by click and drag, the notification, and the
// right-click path through the colour mixer.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>

#include "app_harness.h"
#include "controls/color_mixer_dlg.h"
#include "controls/coloring_palette_ctrl.h"
#include "controls_host.h"
#include "res/resource.h"

using app_test::TakeSoundsPlayed;
using namespace controls_test;

namespace {

constexpr UINT kPaletteId = 3101;
constexpr UINT kOtherPaletteId = 3102;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kBlack = 0;
constexpr uint32_t kWhite = 0xFFFFFF;

class PaletteTest : public ::testing::Test {
protected:
    void SetUp() override {
        CColoringPaletteCtrl::ResetTable();
        ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::NullInstant));
        win::SetWaveResourceLookup(&app_test::RecordingLookup);
        ASSERT_TRUE(host.Create(IDD_COLOR_MIXER, nullptr));
        host.MoveWindow(0, 0, 700, 300, FALSE);
        host.AddControl(palette, CColoringPaletteCtrl::kClassName, kPaletteId,
                        CRect(10, 10, 20, 20));
        host.AddControl(other, CColoringPaletteCtrl::kClassName, kOtherPaletteId,
                        CRect(10, 100, 20, 110));
        Arrange(26, 2);
        host.ShowWindow(SW_SHOW);
        host.SetActiveWindow();
        headless::RunUntilIdle();
        TakeSoundsPlayed();
    }
    void TearDown() override {
        headless::MouseUp(0, 0);
        headless::MouseUp(0, 0, headless::Button::Right);
        host.DestroyWindow();
        headless::RunUntilIdle();
        win::SetWaveResourceLookup(nullptr);
        CColoringPaletteCtrl::ResetTable();
    }

    // As the screens do: the grid, then the ideal size.
    void Arrange(int nColumns, int nRows) {
        for (CColoringPaletteCtrl* p : {&palette, &other}) {
            p->SetColumns(nColumns);
            p->SetRows(nRows);
            CRect rc;
            p->GetWindowRect(&rc);
            host.ScreenToClient(&rc);
            const CSize size = p->GetIdealSize();
            p->MoveWindow(rc.left, rc.top, size.cx, size.cy, TRUE);
        }
        headless::RunUntilIdle();
    }
    POINT OnPalette(int x, int y, CWnd& which) {
        POINT p{x, y};
        which.ClientToScreen(&p);
        return p;
    }
    void Click(int x, int y, headless::Button button = headless::Button::Left) {
        POINT p = OnPalette(x, y, palette);
        headless::Click(p.x, p.y, button);
        headless::RunUntilIdle();
    }
    uint32_t Pixel(int x, int y, CWnd& which) { return Rgb(headless::PixelAt(which.m_hWnd, x, y)); }
    uint32_t Pixel(int x, int y) { return Pixel(x, y, palette); }
    std::vector<DWORD> Values() {
        std::vector<DWORD> values;
        for (const Notification& n : host.m_notifications) values.push_back(n.dwValue);
        host.m_notifications.clear();
        return values;
    }

    CControlsHostDlg host;
    CColoringPaletteCtrl palette;
    CColoringPaletteCtrl other;
};

TEST(PaletteTableTest, HoldsThePresetsAndTwelveFreeSlotsAndNothingBeyond) {
    CColoringPaletteCtrl::ResetTable();
    EXPECT_EQ(CColoringPaletteCtrl::kColorCount, 60);
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(0), RGB(255, 255, 255));
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(5), RGB(0, 0, 0));
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(8), RGB(255, 0, 0));
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(15), RGB(255, 128, 0));
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(17), RGB(128, 64, 64));
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(38), RGB(0, 0, 255));
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(47), RGB(64, 0, 64));
    for (int i = 48; i < 60; ++i)
        EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(i), RGB(255, 255, 255)) << i;
    // Outside the table: read as white, never written.
    EXPECT_FALSE(CColoringPaletteCtrl::SetTableColor(60, RGB(1, 2, 3)));
    EXPECT_FALSE(CColoringPaletteCtrl::SetTableColor(-1, RGB(1, 2, 3)));
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(60), RGB(255, 255, 255));
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(-1), RGB(255, 255, 255));
    EXPECT_TRUE(CColoringPaletteCtrl::SetTableColor(59, RGB(1, 2, 3)));
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(59), RGB(1, 2, 3));
    CColoringPaletteCtrl::ResetTable();
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(59), RGB(255, 255, 255));
}

// The screens' grids: free colouring 26 x 2, sample colouring 28 x 2.
class PaletteGeometryTest : public PaletteTest,
                            public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(PaletteGeometryTest, DrawsSwatchesGapsAndPreviewOnThe21PixelPitch) {
    const auto [N, M] = GetParam();
    Arrange(N, M);
    EXPECT_EQ(palette.GetIdealSize(), CSize(21 * N + 45, 21 * M + 1));
    CRect rcClient;
    palette.GetClientRect(&rcClient);
    ASSERT_EQ(rcClient.Size(), palette.GetIdealSize());

    const headless::Image image = ClientPixels(palette.m_hWnd);
    auto at = [&](int x, int y) { return Rgb(image.At(x, y)); };
    for (int r = 0; r < M; ++r) {
        for (int k = 0; k < N; ++k) {
            const CRect rc = CColoringPaletteCtrl::GetSwatchRect(k, r);
            ASSERT_EQ(rc, CRect(21 * k + 1, 21 * r + 1, 21 * k + 21, 21 * r + 21));
            const uint32_t colour = Rgb(CColoringPaletteCtrl::GetTableColor(r * N + k));
            for (int y = rc.top; y < rc.bottom; ++y)
                for (int x = rc.left; x < rc.right; ++x) {
                    const bool border =
                        x == rc.left || y == rc.top || x == rc.right - 1 || y == rc.bottom - 1;
                    ASSERT_EQ(at(x, y), border ? kBlack : colour)
                        << k << "," << r << " at " << x << "," << y;
                }
            // The gap to the left and above the swatch.
            ASSERT_EQ(at(21 * k, 21 * r + 10), kGrey);
            ASSERT_EQ(at(21 * k + 10, 21 * r), kGrey);
        }
    }
    // The preview box: black border, white while nothing is selected.
    const CRect rcPreview = palette.GetPreviewRect();
    EXPECT_EQ(rcPreview, CRect(21 * N + 2, 1, 21 * N + 44, 21 * M));
    EXPECT_EQ(at(rcPreview.left, 10), kBlack);
    EXPECT_EQ(at(rcPreview.right - 1, 10), kBlack);
    EXPECT_EQ(at(rcPreview.left + 5, rcPreview.top), kBlack);
    EXPECT_EQ(at(rcPreview.left + 5, rcPreview.bottom - 1), kBlack);
    EXPECT_EQ(at(rcPreview.left + 1, rcPreview.top + 1), kWhite);
    EXPECT_EQ(at(rcPreview.right - 2, rcPreview.bottom - 2), kWhite);
    EXPECT_EQ(at(rcPreview.left - 1, 10), kGrey);
    EXPECT_EQ(at(rcPreview.right, 10), kGrey);
    EXPECT_EQ(at(rcPreview.left + 5, rcPreview.bottom), kGrey);
}

TEST_P(PaletteGeometryTest, ASelectedSwatchHasAWhiteRingWithClippedCornersInTheGaps) {
    const auto [N, M] = GetParam();
    Arrange(N, M);
    const int k = N - 3, r = 1;
    Click(21 * k + 10, 21 * r + 10);
    EXPECT_EQ(palette.GetSelected(), r * N + k);
    const CRect ring = CColoringPaletteCtrl::GetSelectionRect(k, r);
    EXPECT_EQ(ring, CRect(21 * k, 21 * r, 21 * k + 22, 21 * r + 22));
    for (int x = ring.left; x < ring.right; ++x)
        for (int y : {int(ring.top), int(ring.bottom - 1)}) {
            const bool corner = x == ring.left || x == ring.right - 1;
            EXPECT_EQ(Pixel(x, y), corner ? kGrey : kWhite) << x << "," << y;
        }
    for (int y = ring.top + 1; y < ring.bottom - 1; ++y) {
        EXPECT_EQ(Pixel(ring.left, y), kWhite);
        EXPECT_EQ(Pixel(ring.right - 1, y), kWhite);
    }
    // The swatch keeps its border; the preview shows its colour.
    EXPECT_EQ(Pixel(ring.left + 1, ring.top + 5), kBlack);
    const uint32_t colour = Rgb(CColoringPaletteCtrl::GetTableColor(r * N + k));
    EXPECT_EQ(Pixel(palette.GetPreviewRect().left + 10, 10), colour);

    // Another swatch: the old ring is gone.
    Click(5, 5);
    EXPECT_EQ(Pixel(ring.left + 5, ring.top), kGrey);
    EXPECT_EQ(Pixel(ring.left, ring.top + 5), kGrey);
}

INSTANTIATE_TEST_SUITE_P(Grids, PaletteGeometryTest,
                         ::testing::Values(std::make_tuple(26, 2), std::make_tuple(28, 2)));

// Points and the swatch they pick with the 26 x 2 grid, -1 for none.
class PaletteHitTest : public PaletteTest,
                       public ::testing::WithParamInterface<std::tuple<int, int, int>> {};

TEST_P(PaletteHitTest, PicksTheSwatchUnderThePointAndTellsTheParent) {
    const auto [x, y, index] = GetParam();
    Click(x, y);
    if (index < 0) {
        EXPECT_EQ(palette.GetSelected(), -1);
        EXPECT_TRUE(host.m_notifications.empty());
        EXPECT_TRUE(TakeSoundsPlayed().empty());
        return;
    }
    EXPECT_EQ(palette.GetSelected(), index);
    ASSERT_EQ(host.m_notifications.size(), 1u);
    const Notification& n = host.m_notifications[0];
    EXPECT_EQ(n.code, PCN_COLORSELECTED);
    EXPECT_EQ(n.idFrom, kPaletteId);
    EXPECT_EQ(n.hwndFrom, palette.m_hWnd);
    EXPECT_EQ(n.dwValue, CColoringPaletteCtrl::GetTableColor(index));
    EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_PALETTE});
}

INSTANTIATE_TEST_SUITE_P(
    Points, PaletteHitTest,
    ::testing::Values(std::make_tuple(0, 0, 0),             // the margin
                      std::make_tuple(21 * 26 - 1, 5, 25),  // the row's last swatch
                      std::make_tuple(21, 21, 27),          // a gap pixel: right and below
                      std::make_tuple(200, 30, 35),
                      std::make_tuple(21 * 26, 5, -1),          // just past the grid
                      std::make_tuple(21 * 26 + 20, 20, -1)));  // the preview box

TEST_F(PaletteTest, DraggingMovesTheSelectionAndOnlyTheReleaseNotifies) {
    POINT p = OnPalette(2 * 21 + 10, 10, palette);
    headless::MouseDown(p.x, p.y);
    headless::RunUntilIdle();
    EXPECT_EQ(palette.GetSelected(), 2);
    p = OnPalette(5 * 21 + 10, 10, palette);
    headless::MouseMove(p.x, p.y);
    headless::RunUntilIdle();
    EXPECT_EQ(palette.GetSelected(), 5);
    EXPECT_EQ(Pixel(5 * 21 + 5, 0), kWhite);  // the ring followed
    EXPECT_EQ(Pixel(2 * 21 + 5, 0), kGrey);
    EXPECT_TRUE(host.m_notifications.empty());
    p = OnPalette(9 * 21 + 10, 21 + 10, palette);
    headless::MouseMove(p.x, p.y);
    headless::MouseUp(p.x, p.y);
    headless::RunUntilIdle();
    EXPECT_EQ(palette.GetSelected(), 26 + 9);
    EXPECT_EQ(Values(), std::vector<DWORD>{CColoringPaletteCtrl::GetTableColor(26 + 9)});
    EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_PALETTE});

    // Clicking the selected swatch tells the parent again.
    Click(9 * 21 + 10, 21 + 10);
    EXPECT_EQ(Values(), std::vector<DWORD>{CColoringPaletteCtrl::GetTableColor(26 + 9)});
}

TEST_F(PaletteTest, ReleasingOutsideTheGridAfterADragSendsNothing) {
    POINT p = OnPalette(30, 10, palette);
    headless::MouseDown(p.x, p.y);
    headless::RunUntilIdle();
    p = OnPalette(80, 10, palette);
    headless::MouseMove(p.x, p.y);
    headless::RunUntilIdle();
    // Off the control altogether: the capture keeps the moves coming.
    p = OnPalette(80, 200, palette);
    headless::MouseMove(p.x, p.y);
    headless::MouseUp(p.x, p.y);
    headless::RunUntilIdle();
    EXPECT_EQ(palette.GetSelected(), 3);
    EXPECT_TRUE(host.m_notifications.empty());
    EXPECT_TRUE(TakeSoundsPlayed().empty());
    EXPECT_EQ(::GetCapture(), nullptr) << (void*)palette.m_hWnd << " " << (void*)host.m_hWnd;
}

TEST_F(PaletteTest, SwatchesBeyondTheTableShowWhiteAndStayOutsideIt) {
    Arrange(31, 2);  // 62 swatches: the last two have no entry
    EXPECT_EQ(Pixel(30 * 21 + 10, 21 + 10), kWhite);
    Click(30 * 21 + 10, 21 + 10);
    EXPECT_EQ(palette.GetSelected(), 61);
    EXPECT_EQ(Values(), std::vector<DWORD>{RGB(255, 255, 255)});
    // No mixer opens for it: there is nowhere to keep its colour.
    Click(30 * 21 + 10, 21 + 10, headless::Button::Right);
    EXPECT_TRUE(host.m_notifications.empty());
    for (int i = 0; i < 60; ++i) {
        int row = i / 31, col = i % 31;
        ASSERT_EQ(Pixel(col * 21 + 10, row * 21 + 10), Rgb(CColoringPaletteCtrl::GetTableColor(i)))
            << i;
    }
}

TEST_F(PaletteTest, GridCountsStayInRange) {
    palette.SetColumns(-3);
    palette.SetRows(INT_MAX);
    EXPECT_EQ(palette.GetColumns(), 0);
    EXPECT_EQ(palette.GetRows(), CColoringPaletteCtrl::kMaxGridSide);
    EXPECT_EQ(palette.GetIdealSize(), CSize(45, 21 * CColoringPaletteCtrl::kMaxGridSide + 1));
    // No columns: nothing to hit.
    Click(0, 0);
    EXPECT_EQ(palette.GetSelected(), -1);
    EXPECT_TRUE(host.m_notifications.empty());
}

// The mixer that the right click opens: its red handle dragged to the centre
// (no red), then OK or Cancel, all as input in its own modal loop.
void DragRedOutThenPress(HWND hMixer, int nButton) {
    auto* pMixer = dynamic_cast<CColorMixerDlg*>(CWnd::FromHandlePermanent(hMixer));
    ASSERT_NE(pMixer, nullptr);
    POINT from = pMixer->GetHandleRect(0).CenterPoint();
    POINT to = pMixer->GetCubeCenter();
    to.y += 20;
    pMixer->ClientToScreen(&from);
    pMixer->ClientToScreen(&to);
    headless::MouseDown(from.x, from.y);
    headless::MouseMove(to.x, to.y);
    headless::MouseUp(to.x, to.y);
    CRect rcButton;
    pMixer->GetDlgItem(nButton)->GetWindowRect(&rcButton);
    headless::Click(rcButton.CenterPoint().x, rcButton.CenterPoint().y);
}

TEST_F(PaletteTest, ARightClickMixesANewColourIntoTheSharedTable) {
    const int k = 22, r = 1;  // entry 48, the first free slot: white
    headless::WhenTopLevelAppears(WC_DIALOG,
                                  [](HWND hMixer) { DragRedOutThenPress(hMixer, IDOK); });
    Click(21 * k + 10, 21 * r + 10, headless::Button::Right);
    EXPECT_EQ(palette.GetSelected(), 48);
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(48), RGB(0, 255, 255));
    EXPECT_EQ(Values(), std::vector<DWORD>{RGB(0, 255, 255)});
    const std::vector<int> sounds = TakeSoundsPlayed();
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), IDW_PALETTE), 0);
    EXPECT_EQ(Pixel(21 * k + 10, 21 * r + 10), 0x00FFFFu);
    // The other palette shows it at its next paint.
    other.Invalidate();
    headless::RunUntilIdle();
    EXPECT_EQ(Pixel(21 * k + 10, 21 * r + 10, other), 0x00FFFFu);
}

TEST_F(PaletteTest, CancellingTheMixerKeepsTheColourAndTellsNobody) {
    headless::WhenTopLevelAppears(WC_DIALOG,
                                  [](HWND hMixer) { DragRedOutThenPress(hMixer, IDCANCEL); });
    Click(8 * 21 + 10, 10, headless::Button::Right);  // entry 8: red
    EXPECT_EQ(palette.GetSelected(), 8);
    EXPECT_EQ(CColoringPaletteCtrl::GetTableColor(8), RGB(255, 0, 0));
    EXPECT_TRUE(host.m_notifications.empty());
    EXPECT_EQ(Pixel(8 * 21 + 10, 10), 0xFF0000u);
    EXPECT_EQ(Pixel(8 * 21 + 5, 0), kWhite);  // shown as selected
}

}  // namespace
