// The thumbnail control on a dialog of its own: scrolling and its stops, the
// page image's cells, the selection ring's pixels, picking with the mouse and
// the notification with its sound.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/headless/headless.h"
#include "controls/coloring_thumbnail_ctrl.h"
#include "res/resource.h"
#include "screens_support.h"

using namespace screens_test;

namespace {

constexpr int kThumbsId = 1000;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A dialog holding one thumbnail control; it records the notifications.
class CHostDlg : public CDialog {
public:
    CHostDlg() : CDialog(IDD_COLOR_MIXER) {}

    CColoringThumbnailCtrl m_ctlThumbs;
    std::vector<DWORD> m_values;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        const auto* pRecord = reinterpret_cast<const NMCTRLVALUE*>(lParam);
        if (wParam == kThumbsId && pRecord->hdr.code == THN_ITEMSELECTED &&
            pRecord->hdr.hwndFrom == m_ctlThumbs.m_hWnd && pRecord->hdr.idFrom == kThumbsId) {
            m_values.push_back(pRecord->dwValue);
            *pResult = 1;
            return TRUE;
        }
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
};

class ThumbnailTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordSounds();
        ASSERT_TRUE(host.Create(IDD_COLOR_MIXER, nullptr));
        host.ShowWindow(SW_SHOW);
        Shape(3, 2, 80, 60);
        headless::RunUntilIdle();
    }
    void TearDown() override {
        headless::MouseUp(0, 0);
        host.DestroyWindow();
        headless::RunUntilIdle();
        StopRecordingSounds();
    }

    // Gives the control a shape and creates it (once) at its ideal size.
    void Shape(int rows, int columns, int cx, int cy) {
        CColoringThumbnailCtrl& c = host.m_ctlThumbs;
        c.SetRows(rows);
        c.SetColumns(columns);
        c.SetThumbnailSize(cx, cy);
        const CSize size = c.GetIdealSize();
        if (!c.m_hWnd)
            ASSERT_TRUE(c.Create(kThumbnailClassName, "", WS_CHILD | WS_VISIBLE,
                                 CRect(10, 10, 10 + size.cx, 10 + size.cy), &host, kThumbsId));
        else
            c.MoveWindow(10, 10, size.cx, size.cy);
    }
    // n items, item i with the number 100 + i, each naming `file(i)`.
    template <typename F>
    void Fill(int n, F file) {
        ctl().RemoveAll();
        for (int i = 0; i < n; ++i) ctl().AddItem(file(i).c_str(), UINT(100 + i), "caption");
        ctl().Refresh();
        ctl().Invalidate();
        headless::RunUntilIdle();
    }
    void FillMissing(int n) {
        Fill(n, [&](int i) { return folder.Path() + "missing" + std::to_string(i) + ".bmp"; });
    }

    CColoringThumbnailCtrl& ctl() { return host.m_ctlThumbs; }
    COLORREF Pixel(int x, int y) { return headless::PixelAt(ctl().m_hWnd, x, y); }
    POINT OnScreen(int x, int y) {
        POINT p{x, y};
        ctl().ClientToScreen(&p);
        return p;
    }
    void ClickAt(int x, int y) {
        POINT p = OnScreen(x, y);
        headless::Click(p.x, p.y);
        headless::RunUntilIdle();
    }

    TempFolder folder;
    CHostDlg host;
};

// --- Scrolling ----------------------------------------------------------------

enum class Op { RowDown, RowUp, NextPage, PreviousPage };

struct ScrollCase {
    const char* name;
    int rows, columns, items;
    std::vector<Op> ops;
    std::vector<int> firsts;  // GetFirstVisible after each operation
};

class ThumbnailScrollTest : public ThumbnailTest,
                            public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(ThumbnailScrollTest, FirstVisibleAfterEachStep) {
    const ScrollCase& c = GetParam();
    Shape(c.rows, c.columns, 20, 15);
    FillMissing(c.items);
    ASSERT_EQ(ctl().GetFirstVisible(), 0);
    for (size_t i = 0; i < c.ops.size(); ++i) {
        switch (c.ops[i]) {
            case Op::RowDown: ctl().ScrollRowDown(); break;
            case Op::RowUp: ctl().ScrollRowUp(); break;
            case Op::NextPage: ctl().NextPage(); break;
            case Op::PreviousPage: ctl().PreviousPage(); break;
        }
        EXPECT_EQ(ctl().GetFirstVisible(), c.firsts[i]) << "after step " << i;
    }
}

using enum Op;
INSTANTIATE_TEST_SUITE_P(
    Sequences, ThumbnailScrollTest,
    ::testing::Values(
        ScrollCase{"StripOfSevenTenItems",
                   7,
                   1,
                   10,
                   {RowDown, RowDown, RowDown, RowDown, RowUp, RowUp, RowUp, RowUp},
                   {1, 2, 3, 3, 2, 1, 0, 0}},
        ScrollCase{"GridSixteenItems",
                   3,
                   5,
                   16,
                   {NextPage, NextPage, PreviousPage, PreviousPage},
                   {15, 15, 0, 0}},
        ScrollCase{"GridRowsOfFive",
                   3,
                   5,
                   26,
                   {RowDown, RowDown, RowDown, RowDown, RowUp, NextPage},
                   {5, 10, 15, 15, 10, 25}},
        ScrollCase{"PreviousPageStopsAtZero",
                   3,
                   5,
                   30,
                   {RowDown, NextPage, PreviousPage, PreviousPage},
                   {5, 20, 5, 0}},
        ScrollCase{"OneItem", 3, 5, 1, {RowDown, NextPage, RowUp, PreviousPage}, {0, 0, 0, 0}},
        ScrollCase{"TwoItems", 7, 1, 2, {RowDown, NextPage}, {0, 0}},
        ScrollCase{"ThreeItems", 7, 1, 3, {RowDown, NextPage}, {0, 0}},
        ScrollCase{"FifteenItemsFillOnePage", 3, 5, 15, {RowDown, NextPage}, {0, 0}},
        ScrollCase{"EightItemsInAStripOfSeven",
                   7,
                   1,
                   8,
                   {NextPage, NextPage, RowUp, RowDown},
                   {7, 7, 6, 6}},
        ScrollCase{"NoItems", 7, 1, 0, {RowDown, NextPage, RowUp, PreviousPage}, {0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ThumbnailTest, ARowStepKeepsAVisibleSelectionRingedAndDropsOneScrolledOut) {
    Shape(3, 1, 40, 30);
    FillMissing(6);
    ClickAt(5, 45);  // row 1: item 1
    ASSERT_EQ(ctl().GetSelectedIndex(), 1);
    ctl().ScrollRowDown();  // item 1 moves to row 0
    headless::RunUntilIdle();
    EXPECT_EQ(ctl().GetSelectedIndex(), 1);
    EXPECT_EQ(ctl().GetSelectionRect(), CRect(0, 0, 44, 34));
    EXPECT_EQ(Pixel(1, 0), kRed);
    EXPECT_EQ(Pixel(1, 32), kGrey);  // the old ring's place below is plain again
    ctl().ScrollRowDown();           // item 1 leaves the page
    headless::RunUntilIdle();
    EXPECT_EQ(ctl().GetSelectedIndex(), -1);
    for (int x = 0; x < 44; ++x) EXPECT_EQ(Pixel(x, 0), kGrey) << x;

    // Scrolling up keeps a selection still inside the page.
    ClickAt(5, 80);  // row 2: item 4
    ASSERT_EQ(ctl().GetSelectedIndex(), 4);
    ctl().ScrollRowUp();  // first 1: item 4 is on row 3, past the page
    EXPECT_EQ(ctl().GetSelectedIndex(), -1);
    ClickAt(5, 5);        // item 1
    ctl().ScrollRowUp();  // first 0: item 1 on row 1
    EXPECT_EQ(ctl().GetSelectedIndex(), 1);
    EXPECT_EQ(ctl().GetSelectionRect(), CRect(0, 32, 44, 66));
}

TEST_F(ThumbnailTest, PageStepsClearTheSelection) {
    Shape(1, 2, 40, 30);
    FillMissing(4);
    ClickAt(5, 5);
    ASSERT_EQ(ctl().GetSelectedIndex(), 0);
    ctl().NextPage();
    EXPECT_EQ(ctl().GetSelectedIndex(), -1);
    ClickAt(50, 5);
    ASSERT_EQ(ctl().GetSelectedIndex(), 3);
    ctl().PreviousPage();
    EXPECT_EQ(ctl().GetSelectedIndex(), -1);
}

// --- The page image --------------------------------------------------------------

TEST_F(ThumbnailTest, TheWindowClassIsRegisteredOnceWithTheArrowCursor) {
    CColoringThumbnailCtrl second;  // finds the class already there
    WNDCLASS wc{};
    ASSERT_TRUE(::GetClassInfo(AfxGetInstanceHandle(), kThumbnailClassName, &wc));
    EXPECT_EQ(wc.style, UINT(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
    EXPECT_EQ(wc.hCursor, ::LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(wc.hbrBackground), 15);
    // Painting before the first Refresh shows the grey of an empty page.
    EXPECT_EQ(Pixel(5, 5), kGrey);
}

TEST_F(ThumbnailTest, IdealSizeAndShapeBounds) {
    ctl().SetRows(3);
    ctl().SetColumns(5);
    ctl().SetThumbnailSize(145, 142);
    EXPECT_EQ(ctl().GetIdealSize(), CSize(737, 434));
    ctl().SetRows(0);
    ctl().SetColumns(-4);
    ctl().SetThumbnailSize(0, -1);
    EXPECT_EQ(ctl().GetRows(), 1);
    EXPECT_EQ(ctl().GetColumns(), 1);
    EXPECT_EQ(ctl().GetIdealSize(), CSize(5, 5));
}

TEST_F(ThumbnailTest, APictureIsShrunkCentredAndOutlinedAndAMissingOneIsAnEmptyCell) {
    const std::string wide = folder.Path() + "wide.bmp";
    const std::string small = folder.Path() + "small.bmp";
    const std::string broken = folder.Path() + "broken.bmp";
    ASSERT_TRUE(WriteSolidBmp(wide, 160, 60, RGB(0, 0, 255)));
    ASSERT_TRUE(WriteSolidBmp(small, 20, 10, RGB(0, 200, 0)));
    ASSERT_TRUE(WriteBytes(broken, "BM this is not a picture"));
    const std::vector<std::string> files = {wide, folder.Path() + "none.bmp", small, broken,
                                            folder.Path()};
    Fill(int(files.size()), [&](int i) { return files[size_t(i)]; });

    // The grey margin and gaps.
    EXPECT_EQ(Pixel(0, 0), kGrey);
    EXPECT_EQ(Pixel(83, 30), kGrey);    // gap between columns
    EXPECT_EQ(Pixel(30, 63), kGrey);    // gap between rows
    EXPECT_EQ(Pixel(165, 187), kGrey);  // bottom-right margin

    // Cell 0 at (2, 2): 160 x 60 shrinks to 80 x 30, 15 white rows above and
    // below, the black outline on the cell's own edge pixels.
    for (int y = 2; y < 62; ++y) {
        const COLORREF expected = (y == 2 || y == 61)   ? kBlack
                                  : (y < 17 || y >= 47) ? kWhite
                                                        : RGB(0, 0, 255);
        EXPECT_EQ(Pixel(40, y), expected) << y;
        EXPECT_EQ(Pixel(2, y), kBlack) << y;
        EXPECT_EQ(Pixel(81, y), kBlack) << y;
    }
    // Cell 2 at (2, 64): a 20 x 10 picture keeps its size, centred on white.
    EXPECT_EQ(Pixel(2 + 30, 64 + 25), RGB(0, 200, 0));
    EXPECT_EQ(Pixel(2 + 49, 64 + 34), RGB(0, 200, 0));
    EXPECT_EQ(Pixel(2 + 29, 64 + 25), kWhite);
    EXPECT_EQ(Pixel(2 + 50, 64 + 25), kWhite);
    EXPECT_EQ(Pixel(2 + 30, 64 + 24), kWhite);
    EXPECT_EQ(Pixel(2 + 30, 64 + 35), kWhite);

    // A missing file, a file that is no picture, a folder, and a cell past the
    // end of the list: white inside a black outline.
    for (POINT cell : {POINT{84, 2}, POINT{84, 64}, POINT{2, 126}, POINT{84, 126}}) {
        EXPECT_EQ(Pixel(cell.x, cell.y), kBlack);
        EXPECT_EQ(Pixel(cell.x + 79, cell.y + 59), kBlack);
        EXPECT_EQ(Pixel(cell.x + 40, cell.y), kBlack);
        for (int y = cell.y + 1; y < cell.y + 59; y += 7)
            for (int x = cell.x + 1; x < cell.x + 79; x += 7)
                ASSERT_EQ(Pixel(x, y), kWhite) << x << "," << y;
    }
}

TEST_F(ThumbnailTest, TheListChangesOnScreenOnlyAfterRefresh) {
    const std::string red = folder.Path() + "red.bmp";
    ASSERT_TRUE(WriteSolidBmp(red, 80, 60, kRed));
    Fill(1, [&](int) { return red; });
    ASSERT_EQ(Pixel(40, 30), kRed);
    ctl().RemoveAll();
    ctl().Invalidate();
    headless::RunUntilIdle();
    EXPECT_EQ(Pixel(40, 30), kRed);
    ctl().Refresh();
    ctl().Invalidate();
    headless::RunUntilIdle();
    EXPECT_EQ(Pixel(40, 30), kWhite);
}

// --- The ring and the mouse ----------------------------------------------------------

TEST_F(ThumbnailTest, TheRingIsRedInTheGapWithGreyCorners) {
    FillMissing(6);
    ClickAt(84 + 10, 64 + 10);  // column 1, row 1
    ASSERT_EQ(ctl().GetSelectedIndex(), 3);
    const CRect ring(82, 62, 166, 126);
    EXPECT_EQ(ctl().GetSelectionRect(), ring);
    for (int x = ring.left; x < ring.right; ++x) {
        const bool corner = x == ring.left || x == ring.right - 1;
        EXPECT_EQ(Pixel(x, ring.top), corner ? kGrey : kRed) << x;
        EXPECT_EQ(Pixel(x, ring.bottom - 1), corner ? kGrey : kRed) << x;
        if (!corner) {
            EXPECT_EQ(Pixel(x, ring.top + 1), kGrey) << x;  // one pixel from the outline
        }
    }
    for (int y = ring.top + 1; y < ring.bottom - 1; ++y) {
        EXPECT_EQ(Pixel(ring.left, y), kRed) << y;
        EXPECT_EQ(Pixel(ring.right - 1, y), kRed) << y;
    }
    EXPECT_EQ(Pixel(84, 64), kBlack);  // the cell's outline is untouched

    // Another pick moves the ring: the old place is plain grey again.
    ClickAt(10, 10);
    EXPECT_EQ(Pixel(100, ring.top), kGrey);
    EXPECT_EQ(Pixel(ring.left, 90), kGrey);
    EXPECT_EQ(Pixel(40, 0), kRed);
}

TEST_F(ThumbnailTest, AClickPlaysTheSoundAndSendsTheItemsNumberOrMinusOnePastTheEnd) {
    FillMissing(3);
    TakeSoundsPlayed();
    ClickAt(100, 10);  // item 1
    ClickAt(10, 70);   // item 2
    ClickAt(100, 70);  // cell 3: past the end of the list
    EXPECT_EQ(host.m_values, (std::vector<DWORD>{101, 102, DWORD(-1)}));
    EXPECT_EQ(TakeSoundsPlayed(), (std::vector<int>{IDW_THUMBNAIL, IDW_THUMBNAIL, IDW_THUMBNAIL}));
    EXPECT_EQ(ctl().GetSelectedIndex(), 3);  // the empty cell is ringed
    EXPECT_EQ(Pixel(100, 62), kRed);
}

struct HitCase {
    const char* name;
    int x, y;
    int selected;  // -1: a miss
};

class ThumbnailHitTest : public ThumbnailTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(ThumbnailHitTest, WhereAClickLands) {
    FillMissing(6);
    TakeSoundsPlayed();
    const HitCase& c = GetParam();
    ClickAt(c.x, c.y);
    EXPECT_EQ(ctl().GetSelectedIndex(), c.selected);
    if (c.selected < 0) {
        EXPECT_TRUE(host.m_values.empty());
        EXPECT_TRUE(TakeSoundsPlayed().empty());
    } else {
        EXPECT_EQ(host.m_values, std::vector<DWORD>{DWORD(100 + c.selected)});
    }
}

INSTANTIATE_TEST_SUITE_P(Points, ThumbnailHitTest,
                         ::testing::Values(HitCase{"TopLeftMarginIsTheFirstCell", 0, 0, 0},
                                           HitCase{"GapLeftOfACellIsThatCell", 82, 20, 1},
                                           HitCase{"GapAboveACellIsThatCell", 20, 63, 2},
                                           HitCase{"LastPixelOfTheLastCell", 163, 185, 5},
                                           HitCase{"RightMarginIsOutside", 164, 20, -1},
                                           HitCase{"BottomMarginIsOutside", 20, 186, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ThumbnailTest, DraggingMovesTheRingAndReleasingOutsideSendsNothing) {
    FillMissing(6);
    TakeSoundsPlayed();
    POINT a = OnScreen(10, 10), b = OnScreen(100, 130), outside = OnScreen(300, 130);
    headless::MouseDown(a.x, a.y);
    headless::RunUntilIdle();
    EXPECT_EQ(::GetCapture(), ctl().m_hWnd);
    EXPECT_EQ(::GetFocus(), ctl().m_hWnd);
    headless::MouseMove(b.x, b.y);
    headless::RunUntilIdle();
    EXPECT_EQ(ctl().GetSelectedIndex(), 5);
    EXPECT_EQ(Pixel(100, 124), kRed);
    EXPECT_EQ(Pixel(40, 0), kGrey);
    // Beyond the grid the ring stays where it was.
    headless::MouseMove(outside.x, outside.y);
    headless::RunUntilIdle();
    EXPECT_EQ(ctl().GetSelectedIndex(), 5);
    headless::MouseUp(outside.x, outside.y);
    headless::RunUntilIdle();
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(host.m_values.empty());
    EXPECT_TRUE(TakeSoundsPlayed().empty());
    // Without the button, moving over the grid changes nothing.
    headless::MouseMove(a.x, a.y);
    headless::RunUntilIdle();
    EXPECT_EQ(ctl().GetSelectedIndex(), 5);
}

TEST_F(ThumbnailTest, AReleaseWithoutAPressOnTheControlPicksNothing) {
    FillMissing(6);
    TakeSoundsPlayed();
    POINT away = OnScreen(300, 100), cell = OnScreen(10, 10);
    headless::MouseDown(away.x, away.y);
    headless::RunUntilIdle();
    headless::MouseMove(cell.x, cell.y);
    headless::MouseUp(cell.x, cell.y);
    headless::RunUntilIdle();
    EXPECT_EQ(ctl().GetSelectedIndex(), -1);
    EXPECT_TRUE(host.m_values.empty());
    EXPECT_TRUE(TakeSoundsPlayed().empty());
}

TEST_F(ThumbnailTest, ADoubleClickPicksTwice) {
    FillMissing(2);
    POINT p = OnScreen(100, 10);
    headless::Click(p.x, p.y);
    headless::Click(p.x, p.y);
    headless::RunUntilIdle();
    EXPECT_EQ(host.m_values, (std::vector<DWORD>{101, 101}));
}

}  // namespace
