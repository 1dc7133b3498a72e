// Undo and redo on both colouring screens, driven as a child would: fills by
// clicks, then the arrow buttons or Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z.
#include <gtest/gtest.h>

#include <algorithm>

#include "backends/headless/headless.h"
#include "coloring_screen_support.h"
#include "res/resource.h"

using namespace app_test;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);    // palette entry 8
constexpr COLORREF kBlue = RGB(0, 0, 255);   // palette entry 38
constexpr COLORREF kGreen = RGB(0, 128, 0);  // palette entry 28

class UndoRedoTest : public ColoringTest {
protected:
    static void Click(POINT p) { headless::Click(p.x, p.y); }
    static void ClickButton(int id) { Click(CentreOf(Screen(), id)); }
    // A key with Ctrl (and Shift) held.
    static void Control(UINT vk, bool bShift = false) {
        headless::KeyDown(VK_CONTROL);
        if (bShift) headless::KeyDown(VK_SHIFT);
        headless::KeyPress(vk);
        if (bShift) headless::KeyUp(VK_SHIFT);
        headless::KeyUp(VK_CONTROL);
    }
    static bool Enabled(int id) { return ::IsWindowEnabled(::GetDlgItem(Screen(), id)) != FALSE; }
    // The lower part of a button's round badge (icon pixel (16, 28), the
    // 32 x 32 icon centred on the button): its face's colour.
    static COLORREF Badge(int id) {
        const RECT r = ClientRectOf(Screen(), id);
        const int left = r.left + (r.right - r.left - 32) / 2;
        const int top = r.top + (r.bottom - r.top - 32) / 2;
        return headless::PixelAt(Screen(), left + 16, top + 28);
    }
    // The greyed-out face is grey; the arrows' own face teal.
    static bool Grey(COLORREF c) {
        const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        return std::max({r, g, b}) - std::min({r, g, b}) < 24 && r > 150;
    }
    static bool Teal(COLORREF c) { return GetGValue(c) > GetRValue(c) + 100; }
    // Picks swatch `swatch` and fills at `p` of the canvas.
    static void Fill(int swatch, int columns, POINT p) {
        Click(Swatch(Screen(), swatch, columns));
        Click(OnCanvas(Screen(), IDC_CANVAS, p));
    }
    static COLORREF At(POINT p) { return CanvasPixel(Screen(), IDC_CANVAS, p); }
    void EndProgram() {
        script.Then("close the screen", [] {
            headless::KeyPress(VK_ESCAPE);
            return true;
        });
        script.Then("and the program", [] {
            if (ScreenOverHome()) return false;
            headless::KeyPress(VK_ESCAPE);
            return true;
        });
        EXPECT_EQ(RunProgram(), 0);
    }
};

TEST_F(UndoRedoTest, ThreeFillsTwoUndonePlusOneRedoneWithButtonsAndKeys) {
    PrepareContent(kAllContent | kScreenPictures);
    WriteFreeContent(2, {"Animals"}, [](int) { return 1; });
    const SIZE size = FreeSize(0);
    const POINT left = LeftRoom(size.cx, size.cy), right = RightRoom(size.cx, size.cy);
    const POINT margin = Margin();
    OpenScreen(IDC_HOME_FREE);
    script.Then("nothing to undo yet; colour three regions", [&] {
        if (!Screen() || !::GetDlgItem(Screen(), IDC_CANVAS)) return false;
        EXPECT_FALSE(Enabled(IDC_UNDO));
        EXPECT_FALSE(Enabled(IDC_REDO));
        EXPECT_TRUE(Grey(Badge(IDC_UNDO))) << Badge(IDC_UNDO);  // its own grey face
        Fill(8, 26, left);
        Fill(38, 26, right);
        Fill(28, 26, margin);
        return true;
    });
    script.Then("undo by the button, then by Ctrl+Z", [&] {
        EXPECT_EQ(At(margin), kGreen);
        EXPECT_TRUE(Enabled(IDC_UNDO));
        EXPECT_FALSE(Enabled(IDC_REDO));
        EXPECT_TRUE(Teal(Badge(IDC_UNDO))) << Badge(IDC_UNDO);
        EXPECT_TRUE(Grey(Badge(IDC_REDO))) << Badge(IDC_REDO);
        TakeSoundsPlayed();
        ClickButton(IDC_UNDO);
        Control('Z');
        return true;
    });
    script.Then("two fills undone; redo one by Ctrl+Y", [&] {
        const std::vector<int> sounds = TakeSoundsPlayed();
        EXPECT_EQ(std::count(sounds.begin(), sounds.end(), IDW_CLICK), 1);
        EXPECT_EQ(At(left), kRed);
        EXPECT_EQ(At(right), kWhite);
        EXPECT_EQ(At(margin), kWhite);
        EXPECT_TRUE(Enabled(IDC_REDO));
        Control('Y');
        return true;
    });
    script.Then("the second fill is back; redo by the button", [&] {
        EXPECT_EQ(At(left), kRed);
        EXPECT_EQ(At(right), kBlue);
        EXPECT_EQ(At(margin), kWhite);
        ClickButton(IDC_REDO);
        return true;
    });
    script.Then("all three again: nothing left to redo", [&] {
        EXPECT_EQ(At(margin), kGreen);
        EXPECT_FALSE(Enabled(IDC_REDO));
        // A new fill after an undo forgets what was undone.
        Control('Z');
        Fill(8, 26, right);
        return true;
    });
    script.Then("the undone fill is gone for good", [&] {
        EXPECT_EQ(At(right), kRed);
        EXPECT_EQ(At(margin), kWhite);
        EXPECT_FALSE(Enabled(IDC_REDO));
        Control('Z', true);  // Ctrl+Shift+Z: nothing to redo
        return true;
    });
    script.Then("still so", [&] {
        EXPECT_EQ(At(margin), kWhite);
        return true;
    });
    EndProgram();
}

TEST_F(UndoRedoTest, StartAgainIsOneStepAndAnotherPictureForgetsTheSteps) {
    PrepareContent(kAllContent | kScreenPictures);
    WriteFreeContent(2, {"Animals"}, [](int) { return 1; });
    const SIZE size = FreeSize(0);
    const POINT left = LeftRoom(size.cx, size.cy), right = RightRoom(size.cx, size.cy);
    OpenScreen(IDC_HOME_FREE);
    script.Then("two fills, then start again", [&] {
        if (!Screen() || !::GetDlgItem(Screen(), IDC_CANVAS)) return false;
        Fill(8, 26, left);
        Fill(38, 26, right);
        ClickButton(IDC_START_AGAIN);
        return true;
    });
    script.Then("white; one undo brings both colours back", [&] {
        EXPECT_EQ(At(left), kWhite);
        EXPECT_EQ(At(right), kWhite);
        Control('Z');
        return true;
    });
    script.Then("both back; redo starts again once more", [&] {
        EXPECT_EQ(At(left), kRed);
        EXPECT_EQ(At(right), kBlue);
        Control('Z', true);
        return true;
    });
    script.Then("white again; choose another picture", [&] {
        EXPECT_EQ(At(left), kWhite);
        EXPECT_TRUE(Enabled(IDC_UNDO));
        Click(StripCell(Screen(), 1));
        return true;
    });
    const SIZE other = FreeSize(1);
    const POINT room = LeftRoom(other.cx, other.cy);
    script.Then("another picture: nothing to undo or redo", [&] {
        EXPECT_FALSE(Enabled(IDC_UNDO));
        EXPECT_FALSE(Enabled(IDC_REDO));
        Fill(8, 26, room);
        Control('Z');
        Control('Z');  // the first picture's steps are not this one's
        return true;
    });
    script.Then("only its own fill undone", [&] {
        EXPECT_EQ(At(room), kWhite);
        EXPECT_EQ(At(Margin()), kWhite);
        EXPECT_FALSE(Enabled(IDC_UNDO));
        return true;
    });
    EndProgram();
}

TEST_F(UndoRedoTest, SampleScreenUndoesTheChildsPictureOnly) {
    PrepareContent(kAllContent | kScreenPictures);
    WriteSampleContent(2, {"Animals"}, [](int) { return 1; });
    const SIZE size = SampleSize(0);
    const POINT left = LeftRoom(size.cx, size.cy);
    OpenScreen(IDC_HOME_SAMPLE);
    script.Then("greyed out; fill the child's picture", [&] {
        if (!Screen() || !::GetDlgItem(Screen(), IDC_CANVAS)) return false;
        EXPECT_FALSE(Enabled(IDC_UNDO));
        EXPECT_FALSE(Enabled(IDC_REDO));
        Fill(8, 28, left);
        return true;
    });
    script.Then("undo by the button", [&] {
        EXPECT_EQ(At(left), kRed);
        EXPECT_TRUE(Enabled(IDC_UNDO));
        ClickButton(IDC_UNDO);
        return true;
    });
    script.Then("white again; the example untouched", [&] {
        EXPECT_EQ(At(left), kWhite);
        EXPECT_EQ(CanvasPixel(Screen(), IDC_EXAMPLE_CANVAS, left), kSampleLeft);
        EXPECT_FALSE(Enabled(IDC_UNDO));
        EXPECT_TRUE(Enabled(IDC_REDO));
        Control('Y');
        return true;
    });
    script.Then("redone", [&] {
        EXPECT_EQ(At(left), kRed);
        return true;
    });
    EndProgram();
}

}  // namespace
