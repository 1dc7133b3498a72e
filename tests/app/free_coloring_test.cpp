// The free colouring screen, opened from the home screen of the running
// program and driven as a child would: clicks and keys only.
#include <gtest/gtest.h>

#include <filesystem>

#include "backends/headless/headless.h"
#include "coloring_screen_support.h"
#include "res/resource.h"

using namespace app_test;
namespace fs = std::filesystem;

namespace {

constexpr int kColumns = 26;

// Where the screen puts a picture of w x h: centred in the 600 x 400 area at
// (110, 40), overhanging it equally when larger.
RECT Centred(SIZE size) {
    int left = (600 - size.cx) / 2 + 110, top = (400 - size.cy) / 2 + 40;
    return RECT{left, top, left + size.cx, top + size.cy};
}

class FreeColoringTest : public ColoringTest {
protected:
    // Two topics; entry i is in topic 1 when i is even, 2 when odd.
    void Prepare(int nEntries) {
        PrepareContent(kAllContent | kScreenPictures);
        WriteFreeContent(nEntries, {"Animals", "Sea"}, [](int i) { return i % 2 + 1; });
    }
    static RECT Canvas() { return ClientRectOf(Screen(), IDC_CANVAS); }
};

}  // namespace

TEST_F(FreeColoringTest, PickColourFillStartAgainColourAgainAndSave) {
    Prepare(10);
    const SIZE size = FreeSize(2);
    OpenScreen(IDC_HOME_FREE);
    script.Then("the screen with the first picture", [&] {
        if (!ScreenUp()) return false;
        HWND screen = Screen();
        RECT client{};
        ::GetClientRect(screen, &client);
        EXPECT_EQ(client.right, 744);  // 496 x 331 dialog units
        EXPECT_EQ(client.bottom, 538);
        EXPECT_FALSE(::IsWindowEnabled(Home()));
        ExpectRect(Canvas(), Centred(FreeSize(0)));
        RECT strip = ClientRectOf(screen, IDC_THUMBNAILS);
        EXPECT_EQ(strip.right - strip.left, 84);
        EXPECT_EQ(strip.bottom - strip.top, 436);
        ExpectRect(ClientRectOf(screen, IDC_PALETTE), RECT{120, 450, 120 + 21 * 26 + 45, 450 + 43});
        EXPECT_EQ(TextOf(screen, IDC_RANGE_LABEL), "1-7/10");
        // All, the two topics, the added pictures and the drawings.
        EXPECT_EQ(::SendDlgItemMessageA(screen, IDC_FREE_TOPICS, CB_GETCOUNT, 0, 0), 5);
        EXPECT_EQ(::SendDlgItemMessageA(screen, IDC_FREE_TOPICS, CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(CheckOf(screen, IDC_MUSIC_TOGGLE), BST_UNCHECKED);  // no song chosen yet
        TakeSoundsPlayed();
        Click(StripCell(screen, 2));
        return true;
    });
    script.Then("the third picture, centred", [&] {
        ExpectRect(Canvas(), Centred(size));
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_THUMBNAIL});
        Click(Swatch(Screen(), 8, kColumns));
        return true;
    });
    script.Then("red picked; fill the left room", [&] {
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_PALETTE});
        Click(OnCanvas(Screen(), IDC_CANVAS, LeftRoom(size.cx, size.cy)));
        return true;
    });
    script.Then("the left room is red", [&] {
        HWND screen = Screen();
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_FILL});
        EXPECT_EQ(CanvasPixel(screen, IDC_CANVAS, LeftRoom(size.cx, size.cy)), kRed);
        EXPECT_EQ(CanvasPixel(screen, IDC_CANVAS, RightRoom(size.cx, size.cy)), kWhite);
        EXPECT_EQ(CanvasPixel(screen, IDC_CANVAS, Margin()), kWhite);
        ClickButton(IDC_START_AGAIN);
        return true;
    });
    script.Then("started again: white", [&] {
        HWND screen = Screen();
        EXPECT_EQ(CanvasPixel(screen, IDC_CANVAS, LeftRoom(size.cx, size.cy)), kWhite);
        ExpectRect(Canvas(), Centred(size));
        Click(Swatch(screen, 38, kColumns));
        return true;
    });
    script.Then("blue picked; fill the right room", [&] {
        Click(OnCanvas(Screen(), IDC_CANVAS, RightRoom(size.cx, size.cy)));
        return true;
    });
    script.Then("save", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, RightRoom(size.cx, size.cy)), kBlue);
        SaveAs("drawing");
        return true;
    });
    script.Then("saved; close the screen", [&] {
        if (ScreenScript::FindVisible(nullptr, headless::kFileDialogClass)) return false;
        EXPECT_TRUE(fs::exists(SaveFolder() + "drawing.bmp"));
        EXPECT_EQ(ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass), nullptr);
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    script.Then("home enabled again",
                [&] { return !ScreenOverHome() && ::IsWindowEnabled(Home()); });
    ThenQuitFromHome();
    EXPECT_EQ(RunProgram(), 0);

    Picture saved = ReadPicture(SaveFolder() + "drawing.bmp");
    ASSERT_EQ(saved.width, size.cx);
    ASSERT_EQ(saved.height, size.cy);
    POINT right = RightRoom(size.cx, size.cy), left = LeftRoom(size.cx, size.cy);
    EXPECT_EQ(saved.At(right.x, right.y), kBlue);
    EXPECT_EQ(saved.At(left.x, left.y), kWhite);  // the red went with the start again
    EXPECT_EQ(saved.At(size.cx / 2, size.cy / 2), kBlack);
    EXPECT_EQ(saved.At(0, 0), kWhite);
}

TEST_F(FreeColoringTest, TheStripArrowsStopAtBothEndsOfTenEntries) {
    Prepare(10);
    const std::vector<std::pair<int, const char*>> presses = {
        {IDC_STRIP_DOWN, "2-8/10"},  {IDC_STRIP_DOWN, "3-9/10"}, {IDC_STRIP_DOWN, "4-10/10"},
        {IDC_STRIP_DOWN, "4-10/10"}, {IDC_STRIP_UP, "3-9/10"},   {IDC_STRIP_UP, "2-8/10"},
        {IDC_STRIP_UP, "1-7/10"},    {IDC_STRIP_UP, "1-7/10"},
    };
    OpenScreen(IDC_HOME_FREE);
    script.Then("screen", [&] {
        if (!ScreenUp()) return false;
        HWND screen = Screen();
        EXPECT_EQ(TextOf(screen, IDC_RANGE_LABEL), "1-7/10");
        return true;
    });
    ThenPressesShowRanges(presses);
    script.Then("a scrolled strip picks by what it shows", [&] {
        ClickButton(IDC_STRIP_DOWN);
        return true;
    });
    script.Then("pick the top cell", [&] {
        EXPECT_EQ(TextOf(Screen(), IDC_RANGE_LABEL), "2-8/10");
        Click(StripCell(Screen(), 0));
        return true;
    });
    script.Then("entry 1 shown", [&] {
        ExpectRect(Canvas(), Centred(FreeSize(1)));
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    ThenQuitFromHome();
    RunProgram();
}

TEST_F(FreeColoringTest, TheShownPicturesThumbnailAndATopicChangeKeepTheColouring) {
    Prepare(10);
    const SIZE size = FreeSize(0);
    OpenScreen(IDC_HOME_FREE);
    script.Then("pick red", [&] {
        if (!ScreenUp()) return false;
        HWND screen = Screen();
        Click(Swatch(screen, 8, kColumns));
        return true;
    });
    script.Then("colour", [&] {
        Click(OnCanvas(Screen(), IDC_CANVAS, LeftRoom(size.cx, size.cy)));
        return true;
    });
    script.Then("the thumbnail of the picture shown", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, LeftRoom(size.cx, size.cy)), kRed);
        TakeSoundsPlayed();
        Click(StripCell(Screen(), 0));
        return true;
    });
    script.Then("not reloaded", [&] {
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_THUMBNAIL});
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, LeftRoom(size.cx, size.cy)), kRed);
        return true;
    });
    ThenChooseTopic(Screen, IDC_FREE_TOPICS, 2);  // the second topic
    script.Then("the strip holds the topic; the canvas is as it was", [&] {
        HWND screen = Screen();
        EXPECT_EQ(::SendDlgItemMessageA(screen, IDC_FREE_TOPICS, CB_GETCURSEL, 0, 0), 2);
        EXPECT_EQ(TextOf(screen, IDC_RANGE_LABEL), "1-5/5");
        ExpectRect(Canvas(), Centred(size));
        EXPECT_EQ(CanvasPixel(screen, IDC_CANVAS, LeftRoom(size.cx, size.cy)), kRed);
        Click(StripCell(screen, 1));  // the second entry of topic 2: entry 3
        return true;
    });
    script.Then("entry 3 shown, uncoloured", [&] {
        const SIZE three = FreeSize(3);
        ExpectRect(Canvas(), Centred(three));
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, LeftRoom(three.cx, three.cy)), kWhite);
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    ThenQuitFromHome();
    RunProgram();
}

TEST_F(FreeColoringTest, APictureLargerThanTheAreaOverhangsItEqually) {
    PrepareContent(kAllContent | kScreenPictures);
    fs::create_directories(AppDir() + "Pictures");
    ASSERT_TRUE(WriteLineArt(AppDir() + "Pictures/big.bmp", 800, 500));
    ASSERT_TRUE(WriteCatalogue(AppDir() + "topic.txt", {{"1", "Big"}}));
    ASSERT_TRUE(WriteCatalogue(AppDir() + "freely.txt", {{"1", "1", "Pictures\\big.bmp"}}));
    OpenScreen(IDC_HOME_FREE);
    script.Then("at (10, -10)", [&] {
        if (!ScreenUp()) return false;
        HWND screen = Screen();
        ExpectRect(Canvas(), RECT{10, -10, 810, 490});
        TakeSoundsPlayed();
        EXPECT_EQ(TextOf(screen, IDC_RANGE_LABEL), "1-1/1");
        // The canvas lies over the palette down to y 490; only the last
        // pixels of the second row of swatches show below it.
        RECT palette = ScreenRectOf(screen, IDC_PALETTE);
        headless::Click(palette.left + 21 * 8 + 10, palette.top + 40);  // swatch 34
        return true;
    });
    script.Then("colour the overhanging picture", [&] {
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_PALETTE});
        Click(OnCanvas(Screen(), IDC_CANVAS, RightRoom(800, 500)));
        return true;
    });
    script.Then("coloured", [&] {
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, RightRoom(800, 500)), RGB(0, 128, 128));
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    ThenQuitFromHome();
    RunProgram();
}

TEST_F(FreeColoringTest, WithoutCataloguesTheScreenIsEmptyButWorks) {
    PrepareContent(kAllContent);  // no catalogues, no background
    OpenScreen(IDC_HOME_FREE);
    script.Then("empty screen", [&] {
        if (!ScreenUp()) return false;
        HWND screen = Screen();
        EXPECT_EQ(TextOf(screen, IDC_RANGE_LABEL), "0-0/0");
        // All, the added pictures and the drawings.
        EXPECT_EQ(::SendDlgItemMessageA(screen, IDC_FREE_TOPICS, CB_GETCOUNT, 0, 0), 3);
        // No picture was shown: the canvas still covers the whole area.
        ExpectRect(Canvas(), RECT{110, 40, 710, 440});
        Click(StripCell(screen, 0));  // an empty cell: nothing to show
        return true;
    });
    script.Then("browse shows nothing either", [&] {
        ClickButton(IDC_FREE_BROWSE);
        return true;
    });
    script.Then("browse screen", [&] {
        HWND browse = ScreenScript::Topmost();
        if (!browse || !::GetDlgItem(browse, IDC_BROWSE_TOPICS)) return false;
        EXPECT_EQ(TextOf(browse, IDC_RANGE_LABEL), "0-0/0");
        headless::KeyPress(VK_RETURN);  // OK with nothing chosen
        return true;
    });
    script.Then("leave", [&] {
        if (!ScreenUp()) return false;
        ExpectRect(Canvas(), RECT{110, 40, 710, 440});
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    ThenQuitFromHome();
    RunProgram();
}

TEST_F(FreeColoringTest, AMissingPictureLeavesAnEmptyCanvasAtTheCentre) {
    PrepareContent(kAllContent | kScreenPictures);
    ASSERT_TRUE(WriteCatalogue(AppDir() + "topic.txt", {{"1", "Lost"}}));
    ASSERT_TRUE(WriteCatalogue(AppDir() + "freely.txt", {{"1", "1", "Pictures\\nowhere.bmp"}}));
    OpenScreen(IDC_HOME_FREE);
    script.Then("empty canvas, no size", [&] {
        if (!ScreenUp()) return false;
        HWND screen = Screen();
        ExpectRect(Canvas(), RECT{410, 240, 410, 240});
        EXPECT_EQ(TextOf(screen, IDC_RANGE_LABEL), "1-1/1");
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    ThenQuitFromHome();
    RunProgram();
}

// Browsing from the free colouring screen: paging, a topic, OK, Cancel.
TEST_F(FreeColoringTest, BrowsePagesFiltersAndShowsThePictureChosen) {
    Prepare(16);
    OpenScreen(IDC_HOME_FREE);
    auto browse = BrowseScreen;
    HWND free = nullptr;
    script.Then("open browse", [&] {
        if (!ScreenUp()) return false;
        HWND screen = Screen();
        free = screen;
        ClickButton(IDC_FREE_BROWSE);
        return true;
    });
    script.Then("browse is modal over the screen", [&] {
        if (!browse()) return false;
        EXPECT_FALSE(::IsWindowEnabled(free));
        return true;
    });
    ThenBrowseNextPageAndPick("1-15/16", "16-16/16", 0);  // the last entry
    script.Then("entry 15 shown; browse again", [&] {
        if (browse()) return false;
        ExpectRect(Canvas(), Centred(FreeSize(15)));
        ClickButton(IDC_FREE_BROWSE);
        return true;
    });
    HWND opened = nullptr;
    script.Then("browse again", [&] { return (opened = browse()) != nullptr; });
    ThenChooseTopic([&] { return opened; }, IDC_BROWSE_TOPICS, 1);  // the first topic
    script.Then("browse: pick its third picture", [&] {
        HWND b = opened;
        EXPECT_EQ(TextOf(b, IDC_RANGE_LABEL), "1-8/8");
        Click(BrowseCell(b, 2));  // entry 4
        return true;
    });
    script.Then("browse: OK by Enter", [&] {
        headless::KeyPress(VK_RETURN);
        return true;
    });
    script.Then("entry 4 shown; browse, pick, cancel", [&] {
        if (browse()) return false;
        ExpectRect(Canvas(), Centred(FreeSize(4)));
        ClickButton(IDC_FREE_BROWSE);
        return true;
    });
    script.Then("browse: pick", [&] {
        HWND b = browse();
        if (!b) return false;
        Click(BrowseCell(b, 7));
        return true;
    });
    script.Then("browse: cancel", [&] {
        Click(CentreOf(browse(), IDCANCEL));
        return true;
    });
    script.Then("nothing changed; browse, OK without a choice", [&] {
        if (browse()) return false;
        ExpectRect(Canvas(), Centred(FreeSize(4)));
        ClickButton(IDC_FREE_BROWSE);
        return true;
    });
    script.Then("browse: OK", [&] {
        HWND b = browse();
        if (!b) return false;
        Click(CentreOf(b, IDOK));
        return true;
    });
    script.Then("still entry 4", [&] {
        if (browse()) return false;
        ExpectRect(Canvas(), Centred(FreeSize(4)));
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    ThenQuitFromHome();
    RunProgram();
}

// Two pictures of one size: choosing the second must show it, although the
// canvas keeps its place.
TEST_F(FreeColoringTest, APictureOfTheSameSizeAsTheShownOneIsShownToo) {
    PrepareContent(kAllContent | kScreenPictures);
    fs::create_directories(AppDir() + "Pictures");
    ASSERT_TRUE(WriteLineArt(AppDir() + "Pictures/a.bmp", 300, 200));
    ASSERT_TRUE(
        WriteLineArt(AppDir() + "Pictures/b.bmp", 300, 200, RGB(0, 255, 0), RGB(255, 255, 0)));
    ASSERT_TRUE(WriteCatalogue(AppDir() + "topic.txt", {{"1", "One"}}));
    ASSERT_TRUE(WriteCatalogue(AppDir() + "freely.txt",
                               {{"1", "1", "Pictures\\a.bmp"}, {"2", "1", "Pictures\\b.bmp"}}));
    OpenScreen(IDC_HOME_FREE);
    script.Then("the first picture", [&] {
        if (!ScreenUp()) return false;
        HWND screen = Screen();
        EXPECT_EQ(CanvasPixel(screen, IDC_CANVAS, LeftRoom(300, 200)), kWhite);
        Click(StripCell(screen, 1));
        return true;
    });
    script.Then("the second picture in the same place", [&] {
        ExpectRect(Canvas(), Centred(SIZE{300, 200}));
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, LeftRoom(300, 200)), RGB(0, 255, 0));
        EXPECT_EQ(CanvasPixel(Screen(), IDC_CANVAS, RightRoom(300, 200)), RGB(255, 255, 0));
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    ThenQuitFromHome();
    RunProgram();
}
