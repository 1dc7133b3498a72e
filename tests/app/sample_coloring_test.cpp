// The sample colouring screen, opened from the home screen of the running
// program and driven with clicks and keys only. The example on the left
// never changes; everything the child does lands on the right.
#include <gtest/gtest.h>

#include <filesystem>

#include "backends/headless/headless.h"
#include "coloring_screen_support.h"
#include "res/resource.h"

using namespace app_test;
namespace fs = std::filesystem;

namespace {

constexpr int kColumns = 28;

// Where a picture of w x h goes in a 320 x 320 box at (left, 60).
RECT InBox(int left, SIZE size) {
    int x = (320 - size.cx) / 2 + left, y = (320 - size.cy) / 2 + 60;
    return RECT{x, y, x + size.cx, y + size.cy};
}

class SampleColoringTest : public ColoringTest {
protected:
    void Prepare(int nEntries) {
        PrepareContent(kAllContent | kScreenPictures);
        WriteSampleContent(nEntries, {"Animals", "Sea"}, [](int i) { return i % 2 + 1; });
    }
    static bool Up() { return ScreenUp(IDC_EXAMPLE_CANVAS); }
    // The example canvas shows exactly the sample file of entry i.
    static void ExpectExample(int i) {
        SIZE size = SampleSize(i);
        HWND screen = Screen();
        ExpectRect(ClientRectOf(screen, IDC_EXAMPLE_CANVAS), InBox(110, size));
        EXPECT_EQ(CanvasPixel(screen, IDC_EXAMPLE_CANVAS, LeftRoom(size.cx, size.cy)), kSampleLeft);
        EXPECT_EQ(CanvasPixel(screen, IDC_EXAMPLE_CANVAS, RightRoom(size.cx, size.cy)),
                  kSampleRight);
        EXPECT_EQ(CanvasPixel(screen, IDC_EXAMPLE_CANVAS, Margin()), kWhite);
    }
};

}  // namespace

TEST_F(SampleColoringTest, ColourAfterTheExampleStartAgainAndSaveTheChildsPicture) {
    Prepare(4);
    const SIZE size = SampleSize(1);
    OpenScreen(IDC_HOME_SAMPLE);
    script.Then("the screen with the first pair", [&] {
        if (!Up()) return false;
        HWND screen = Screen();
        RECT client{};
        ::GetClientRect(screen, &client);
        EXPECT_EQ(client.right, 782);  // 521 x 321 dialog units
        EXPECT_EQ(client.bottom, 522);
        ExpectExample(0);
        ExpectRect(ClientRectOf(screen, IDC_CANVAS), InBox(445, SampleSize(0)));
        RECT strip = ClientRectOf(screen, IDC_THUMBNAILS);
        EXPECT_EQ(strip.right - strip.left, 84);
        EXPECT_EQ(strip.bottom - strip.top, 436);
        ExpectRect(ClientRectOf(screen, IDC_PALETTE), RECT{120, 420, 120 + 21 * 28 + 45, 420 + 43});
        EXPECT_EQ(TextOf(screen, IDC_RANGE_LABEL), "1-4/4");
        EXPECT_EQ(::SendDlgItemMessageA(screen, IDC_SAMPLE_TOPICS, CB_GETCOUNT, 0, 0), 5);
        Click(StripCell(screen, 1));
        return true;
    });
    script.Then("the second pair; pick red", [&] {
        ExpectExample(1);
        ExpectRect(ClientRectOf(Screen(), IDC_CANVAS), InBox(445, size));
        Click(Swatch(Screen(), 8, kColumns));
        return true;
    });
    script.Then("click the example", [&] {
        TakeSoundsPlayed();
        Click(OnCanvas(Screen(), IDC_EXAMPLE_CANVAS, LeftRoom(size.cx, size.cy)));
        return true;
    });
    script.Then("the example is as it was, silently; colour the child's picture", [&] {
        ExpectExample(1);
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{});
        Click(OnCanvas(Screen(), IDC_CANVAS, LeftRoom(size.cx, size.cy)));
        return true;
    });
    script.Then("coloured on the right only; start again", [&] {
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_FILL});
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, LeftRoom(size.cx, size.cy)), kRed);
        ExpectExample(1);
        ClickButton(IDC_START_AGAIN);
        return true;
    });
    script.Then("white again; the example stays; pick blue", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, LeftRoom(size.cx, size.cy)), kWhite);
        ExpectExample(1);
        Click(Swatch(Screen(), 38, kColumns));
        return true;
    });
    script.Then("colour the right room", [&] {
        Click(OnCanvas(Screen(), IDC_CANVAS, RightRoom(size.cx, size.cy)));
        return true;
    });
    script.Then("save", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, RightRoom(size.cx, size.cy)), kBlue);
        SaveAs("after the sample");
        return true;
    });
    script.Then("saved; the close button makes no click sound", [&] {
        if (ScreenScript::FindVisible(nullptr, headless::kFileDialogClass)) return false;
        EXPECT_EQ(ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass), nullptr);
        ExpectExample(1);
        TakeSoundsPlayed();
        POINT p = CentreOf(Screen(), IDCANCEL);
        headless::MouseMove(p.x, p.y);
        return true;
    });
    script.Then("close", [&] {
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_HOVER});
        ClickButton(IDCANCEL);
        return true;
    });
    script.Then("home again, silently", [&] {
        if (ScreenOverHome()) return false;
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{});
        return true;
    });
    ThenQuitFromHome();
    EXPECT_EQ(RunProgram(), 0);

    Picture saved = ReadPicture(SaveFolder() + "after the sample.bmp");
    ASSERT_EQ(saved.width, size.cx);
    ASSERT_EQ(saved.height, size.cy);
    POINT right = RightRoom(size.cx, size.cy), left = LeftRoom(size.cx, size.cy);
    EXPECT_EQ(saved.At(right.x, right.y), kBlue);
    EXPECT_EQ(saved.At(left.x, left.y), kWhite);
    EXPECT_EQ(saved.At(size.cx / 2, size.cy / 2), kBlack);
}

TEST_F(SampleColoringTest, ThePageArrowsStepBySevenAndStopAtTheEnds) {
    Prepare(16);
    const std::vector<std::pair<int, const char*>> presses = {
        {IDC_PAGE_NEXT, "8-14/16"},    {IDC_PAGE_NEXT, "15-16/16"},
        {IDC_PAGE_NEXT, "15-16/16"},   {IDC_PAGE_PREVIOUS, "8-14/16"},
        {IDC_PAGE_PREVIOUS, "1-7/16"}, {IDC_PAGE_PREVIOUS, "1-7/16"},
    };
    OpenScreen(IDC_HOME_SAMPLE);
    script.Then("screen", [&] {
        if (!Up()) return false;
        EXPECT_EQ(TextOf(Screen(), IDC_RANGE_LABEL), "1-7/16");
        return true;
    });
    ThenPressesShowRanges(presses);
    script.Then("to the last page", [&] {
        ClickButton(IDC_PAGE_NEXT);
        return true;
    });
    script.Then("and again", [&] {
        ClickButton(IDC_PAGE_NEXT);
        return true;
    });
    script.Then("an empty cell shows nothing", [&] {
        EXPECT_EQ(TextOf(Screen(), IDC_RANGE_LABEL), "15-16/16");
        Click(StripCell(Screen(), 4));
        return true;
    });
    script.Then("still the first pair; the last pair", [&] {
        ExpectExample(0);
        Click(StripCell(Screen(), 1));
        return true;
    });
    script.Then("the sixteenth pair", [&] {
        ExpectExample(15);
        ExpectRect(ClientRectOf(Screen(), IDC_CANVAS), InBox(445, SampleSize(15)));
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    ThenQuitFromHome();
    RunProgram();
}

TEST_F(SampleColoringTest, ATopicChangeLeavesBothCanvasesAndBrowseShowsThePairChosen) {
    Prepare(16);
    const SIZE size = SampleSize(0);
    OpenScreen(IDC_HOME_SAMPLE);
    auto browse = BrowseScreen;
    script.Then("pick red", [&] {
        if (!Up()) return false;
        Click(Swatch(Screen(), 8, kColumns));
        return true;
    });
    script.Then("colour", [&] {
        Click(OnCanvas(Screen(), IDC_CANVAS, RightRoom(size.cx, size.cy)));
        return true;
    });
    ThenChooseTopic(Screen, IDC_SAMPLE_TOPICS, 2);  // the second topic
    script.Then("refilled from its first page; canvases as they were", [&] {
        HWND screen = Screen();
        EXPECT_EQ(TextOf(screen, IDC_RANGE_LABEL), "1-7/8");
        ExpectExample(0);
        EXPECT_EQ(CanvasPixel(screen, IDC_CANVAS, RightRoom(size.cx, size.cy)), kRed);
        ClickButton(IDC_SAMPLE_BROWSE);
        return true;
    });
    ThenBrowseNextPageAndPick("1-15/16", "16-16/16", 0);  // the last pair
    script.Then("the sixteenth pair on both canvases", [&] {
        if (browse()) return false;
        ExpectExample(15);
        const SIZE last = SampleSize(15);
        ExpectRect(ClientRectOf(Screen(), IDC_CANVAS), InBox(445, last));
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, RightRoom(last.cx, last.cy)), kWhite);
        // The strip keeps its topic.
        EXPECT_EQ(TextOf(Screen(), IDC_RANGE_LABEL), "1-7/8");
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    ThenQuitFromHome();
    RunProgram();
}

// Pairs of one size: the example and the child's picture both change,
// although neither canvas moves.
TEST_F(SampleColoringTest, APairOfTheSameSizeAsTheShownOneIsShownOnBothCanvases) {
    PrepareContent(kAllContent | kScreenPictures);
    fs::create_directories(AppDir() + "Pictures");
    const COLORREF kPink = RGB(255, 128, 255), kCyan = RGB(0, 255, 255);
    ASSERT_TRUE(WriteLineArt(AppDir() + "Pictures/a.bmp", 200, 150));
    ASSERT_TRUE(WriteLineArt(AppDir() + "Pictures/a_s.bmp", 200, 150, kSampleLeft, kSampleRight));
    ASSERT_TRUE(WriteLineArt(AppDir() + "Pictures/b.bmp", 200, 150, kBlack, kWhite));
    ASSERT_TRUE(WriteLineArt(AppDir() + "Pictures/b_s.bmp", 200, 150, kPink, kCyan));
    ASSERT_TRUE(WriteCatalogue(AppDir() + "topic.txt", {{"1", "One"}}));
    ASSERT_TRUE(WriteCatalogue(AppDir() + "sample.txt",
                               {{"1", "1", "Pictures\\a_s.bmp", "Pictures\\a.bmp"},
                                {"2", "1", "Pictures\\b_s.bmp", "Pictures\\b.bmp"}}));
    OpenScreen(IDC_HOME_SAMPLE);
    script.Then("the first pair", [&] {
        if (!Up()) return false;
        EXPECT_EQ(CanvasPixel(Screen(), IDC_EXAMPLE_CANVAS, LeftRoom(200, 150)), kSampleLeft);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, LeftRoom(200, 150)), kWhite);
        Click(StripCell(Screen(), 1));
        return true;
    });
    script.Then("the second pair", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_EXAMPLE_CANVAS, LeftRoom(200, 150)), kPink);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_EXAMPLE_CANVAS, RightRoom(200, 150)), kCyan);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, LeftRoom(200, 150)), kBlack);
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    ThenQuitFromHome();
    RunProgram();
}
