// The canvas on a host dialog: the 4-connected fill on button release, its
// sound and repaint, read-only and empty canvases, reloading and saving.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app_harness.h"
#include "controls/coloring_canvas_ctrl.h"
#include "controls_host.h"
#include "res/resource.h"

using app_test::TakeSoundsPlayed;
using namespace controls_test;

namespace {

constexpr UINT kCanvasId = 3001;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr COLORREF kRed = RGB(255, 0, 0);
// Where the canvas lies on the host before a picture gives it its size.
constexpr RECT kCanvasRect{10, 10, 90, 70};

// Two white blocks that touch only at a corner, on black: the top-left
// one (0..5, 0..5) and the bottom-right one (6..11, 6..11).
Picture CornerBlocks() {
    Picture p = MakePicture(12, 12, kBlack);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            if ((x < 6 && y < 6) || (x >= 6 && y >= 6)) p.At(x, y) = kWhite;
    return p;
}

// A black ring two pixels thick, (3, 3) to (12, 12), on white.
Picture Ring() {
    Picture p = MakePicture(16, 16, kWhite);
    for (int y = 3; y <= 12; ++y)
        for (int x = 3; x <= 12; ++x)
            if (x <= 4 || x >= 11 || y <= 4 || y >= 11) p.At(x, y) = kBlack;
    return p;
}

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::NullInstant));
        win::SetWaveResourceLookup(&app_test::RecordingLookup);
        folder = TestFolder();
        ASSERT_TRUE(host.Create(IDD_COLOR_MIXER, nullptr));
        host.AddControl(canvas, CColoringCanvasCtrl::kClassName, kCanvasId, kCanvasRect);
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
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }

    // Loads a picture as the screens do: load, then move the canvas to the
    // picture's size, which repaints.
    void Load(const Picture& picture, const char* name = "picture.bmp") {
        const std::string path = folder + name;
        WritePicture(picture, path);
        canvas.LoadPicture(path.c_str());
        canvas.MoveWindow(kCanvasRect.left, kCanvasRect.top, canvas.GetPictureWidth(),
                          canvas.GetPictureHeight(), TRUE);
        headless::RunUntilIdle();
        TakeSoundsPlayed();
    }
    POINT OnCanvas(int x, int y) {
        POINT p{x, y};
        canvas.ClientToScreen(&p);
        return p;
    }
    void ClickCanvas(int x, int y) {
        POINT p = OnCanvas(x, y);
        headless::Click(p.x, p.y);
        headless::RunUntilIdle();
    }
    // The canvas's pixels over the picture's area.
    Picture Shown(int width, int height) {
        headless::Image image = ClientPixels(canvas.m_hWnd);
        Picture p = MakePicture(width, height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) p.At(x, y) = Rgb(image.At(x, y));
        return p;
    }

    std::string folder;
    CControlsHostDlg host;
    CColoringCanvasCtrl canvas;
};

TEST_F(CanvasTest, TheWindowClassIsRegisteredWithTheBrushCursorAndHighlightTextBrush) {
    WNDCLASS wc{};
    ASSERT_TRUE(::GetClassInfo(AfxGetInstanceHandle(), "ColoringCanvasCtrl", &wc));
    EXPECT_EQ(wc.style, UINT(0x000B));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(wc.hbrBackground), 15);
    EXPECT_NE(wc.hCursor, nullptr);
    // A second control finds the class and registers nothing.
    CColoringCanvasCtrl second;
    EXPECT_EQ(second.GetPictureWidth(), 0);
}

TEST_F(CanvasTest, ShowsThePictureOneToOneAndReportsItsSize) {
    const Picture ring = Ring();
    Load(ring);
    EXPECT_EQ(canvas.GetPictureWidth(), 16);
    EXPECT_EQ(canvas.GetPictureHeight(), 16);
    EXPECT_EQ(Shown(16, 16).pixels, ring.pixels);
}

TEST_F(CanvasTest, FillsOnlyThe4ConnectedRegionOfTheClickedColour) {
    const Picture blocks = CornerBlocks();
    Load(blocks);
    canvas.SetFillColor(kRed);
    ClickCanvas(2, 3);
    Picture expected = blocks;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) expected.At(x, y) = 0xFF0000;
    EXPECT_EQ(Shown(12, 12).pixels, expected.pixels);
    EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_FILL});
}

TEST_F(CanvasTest, ClickingAnOutlineRecoloursTheWholeConnectedOutline) {
    const Picture ring = Ring();
    Load(ring);
    canvas.SetFillColor(RGB(0, 0, 255));
    ClickCanvas(12, 7);
    Picture expected = ring;
    for (uint32_t& p : expected.pixels)
        if (p == kBlack) p = 0x0000FF;
    EXPECT_EQ(Shown(16, 16).pixels, expected.pixels);
}

TEST_F(CanvasTest, AClickThatChangesNothingStillSoundsAndRepaints) {
    Load(CornerBlocks());
    canvas.SetFillColor(kRed);
    ClickCanvas(1, 1);
    const Picture once = Shown(12, 12);
    ASSERT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_FILL});
    headless::TakePresented();

    ClickCanvas(4, 4);  // already red
    EXPECT_EQ(Shown(12, 12).pixels, once.pixels);
    EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_FILL});
    EXPECT_FALSE(headless::TakePresented().empty());

    // On the canvas, beyond the picture.
    canvas.MoveWindow(kCanvasRect.left, kCanvasRect.top, 60, 60, TRUE);
    headless::RunUntilIdle();
    ClickCanvas(40, 40);
    EXPECT_EQ(Shown(12, 12).pixels, once.pixels);
    EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_FILL});
}

TEST_F(CanvasTest, AReadOnlyCanvasNeitherColoursNorSounds) {
    const Picture blocks = CornerBlocks();
    Load(blocks);
    canvas.SetReadOnly(TRUE);
    canvas.SetFillColor(kRed);
    ClickCanvas(2, 2);
    EXPECT_EQ(Shown(12, 12).pixels, blocks.pixels);
    EXPECT_TRUE(TakeSoundsPlayed().empty());

    canvas.SetReadOnly(FALSE);
    ClickCanvas(2, 2);
    EXPECT_EQ(Shown(12, 12).At(2, 2), 0xFF0000u);
}

TEST_F(CanvasTest, TheFillFollowsTheReleaseNotThePress) {
    const Picture blocks = CornerBlocks();
    Load(blocks);
    canvas.SetFillColor(kRed);
    POINT away{0, 0};
    host.ClientToScreen(&away);
    away.x += 300;
    away.y += 200;

    // Pressed on the canvas, released elsewhere: no fill.
    POINT p = OnCanvas(2, 2);
    headless::MouseDown(p.x, p.y);
    headless::MouseMove(away.x, away.y);
    headless::MouseUp(away.x, away.y);
    headless::RunUntilIdle();
    EXPECT_EQ(Shown(12, 12).pixels, blocks.pixels);
    EXPECT_TRUE(TakeSoundsPlayed().empty());

    // Pressed elsewhere, released on the canvas: a fill at the release.
    p = OnCanvas(8, 8);
    headless::MouseDown(away.x, away.y);
    headless::MouseMove(p.x, p.y);
    headless::MouseUp(p.x, p.y);
    headless::RunUntilIdle();
    const Picture shown = Shown(12, 12);
    EXPECT_EQ(shown.At(8, 8), 0xFF0000u);
    EXPECT_EQ(shown.At(2, 2), kWhite);
    EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_FILL});
}

TEST_F(CanvasTest, SavingWritesTheColouredPictureAsA24BitBmpOfTheSameSize) {
    Load(CornerBlocks());
    canvas.SetFillColor(RGB(10, 200, 30));
    ClickCanvas(9, 9);
    const std::string saved = folder + "saved.bmp";
    canvas.SavePicture(saved.c_str());
    int nBits = 0;
    const Picture read = ReadPicture(saved, &nBits);
    EXPECT_EQ(nBits, 24);
    EXPECT_EQ(read.width, 12);
    EXPECT_EQ(read.height, 12);
    EXPECT_EQ(read.pixels, Shown(12, 12).pixels);
    EXPECT_EQ(read.At(9, 9), 0x0AC81Eu);
}

TEST_F(CanvasTest, ReloadingDiscardsTheColouringAndASaveThenWritesTheFilesPicture) {
    const Picture ring = Ring();
    Load(ring);
    canvas.SetFillColor(kRed);
    ClickCanvas(0, 0);
    ClickCanvas(7, 7);
    ASSERT_NE(Shown(16, 16).pixels, ring.pixels);

    canvas.ReloadPicture();
    headless::RunUntilIdle();
    EXPECT_EQ(Shown(16, 16).pixels, ring.pixels);
    const std::string saved = folder + "again.bmp";
    canvas.SavePicture(saved.c_str());
    EXPECT_EQ(ReadPicture(saved).pixels, ring.pixels);
}

// Files that do not give a picture the canvas can hold.
class CanvasRefusalTest : public CanvasTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CanvasRefusalTest, LeavesTheCanvasEmptySilentAndUnsaved) {
    const std::string kind = GetParam();
    const std::string path = folder + "bad.bmp";
    if (kind == "text") {
        std::ofstream(path) << "not a picture\n";
    } else if (kind == "too-wide" || kind == "too-many-pixels") {
        // A header that claims more than the image library can take, with
        // the pixels cut short.
        const int32_t w = kind == "too-wide" ? 40000 : 9000, h = kind == "too-wide" ? 1 : 9000;
        unsigned char header[54] = {'B', 'M'};
        auto put32 = [&](int at, uint32_t v) {
            for (int i = 0; i < 4; ++i) header[at + i] = (unsigned char)(v >> (8 * i));
        };
        put32(10, 54);
        put32(14, 40);
        put32(18, uint32_t(w));
        put32(22, uint32_t(h));
        header[26] = 1;
        header[28] = 24;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<char*>(header), sizeof header);
    }  // "missing": no file at all
    // A picture first, so that a refusal must also drop it.
    Load(Ring());
    canvas.LoadPicture(path.c_str());
    EXPECT_EQ(canvas.GetPictureWidth(), 0);
    EXPECT_EQ(canvas.GetPictureHeight(), 0);
    canvas.ReloadPicture();
    headless::RunUntilIdle();
    EXPECT_EQ(canvas.GetPictureWidth(), 0);
    ClickCanvas(5, 5);
    EXPECT_TRUE(TakeSoundsPlayed().empty());
    const std::string saved = folder + "never.bmp";
    canvas.SavePicture(saved.c_str());
    EXPECT_FALSE(std::filesystem::exists(saved));
    // With nothing held, the class brush shows.
    EXPECT_EQ(headless::PixelAt(canvas.m_hWnd, 5, 5),
              ::GetSysColor(COLOR_HIGHLIGHTTEXT) & 0xFFFFFF);
}

INSTANTIATE_TEST_SUITE_P(Files, CanvasRefusalTest,
                         ::testing::Values("missing", "text", "too-wide", "too-many-pixels"),
                         [](const auto& info) {
                             std::string s = info.param;
                             for (char& c : s)
                                 if (c == '-') c = '_';
                             return s;
                         });

}  // namespace
