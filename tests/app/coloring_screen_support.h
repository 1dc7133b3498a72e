// Steps and helpers shared by the colouring screens' end-to-end tests: the
// screens are opened from the home screen and driven with real pointer and
// key input only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app_harness.h"
#include "backends/headless/headless.h"
#include "coloring_content.h"
#include "res/resource.h"

namespace app_test {

class ColoringTest : public ProgramTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes "topic.txt" with `topics` and a "freely.txt" of line-art
    // pictures; entry i is Pictures\free<i>.bmp of FreeSize(i), in topic
    // topicOf(i).
    void WriteFreeContent(int nEntries, const std::vector<std::string>& topics,
                          const std::function<int(int)>& topicOf);
    // Writes "topic.txt" and a "sample.txt" of pairs: entry i is
    // Pictures\sample<i>_s.bmp (rooms filled) and Pictures\sample<i>.bmp.
    void WriteSampleContent(int nEntries, const std::vector<std::string>& topics,
                            const std::function<int(int)>& topicOf);
    static SIZE FreeSize(int i) { return SIZE{200 + 20 * i, 100 + 10 * i}; }
    static SIZE SampleSize(int i) { return SIZE{150 + 10 * i, 120 + 5 * i}; }
    static constexpr COLORREF kSampleLeft = RGB(0, 255, 0);
    static constexpr COLORREF kSampleRight = RGB(255, 255, 0);
    static constexpr COLORREF kRed = RGB(255, 0, 0);   // palette entry 8
    static constexpr COLORREF kBlue = RGB(0, 0, 255);  // palette entry 38

    // The user's pictures folder, and the drawings' folder in it, where the
    // save dialog opens.
    std::string PicturesFolder() const { return AppDir() + "saved/"; }
    std::string SaveFolder() const { return PicturesFolder() + "Tintorama/"; }
    // Where parents add pictures ($XDG_DATA_HOME of the test).
    std::string AddedFolder() const { return AppDir() + "home/data/tintorama/pictures/"; }

    // Screen helpers; the screen is the topmost window over the home screen.
    static HWND Screen() { return ScreenOverHome(); }
    static RECT ClientRectOf(HWND dialog, int id);
    static std::string TextOf(HWND dialog, int id);
    static int CheckOf(HWND dialog, int id);
    // Screen point of cell `k` of a one-column strip of 80 x 60 cells.
    static POINT StripCell(HWND dialog, int k);
    // Screen point of palette swatch `index` in a grid of `columns`.
    static POINT Swatch(HWND dialog, int index, int columns);
    // Screen point of picture point `p` on canvas `id`.
    static POINT OnCanvas(HWND dialog, int id, POINT p);
    // Screen point of cell `k` of the browse screen's 5 x 3 grid.
    static POINT BrowseCell(HWND browse, int k);
    static COLORREF CanvasPixel(HWND dialog, int id, POINT p);
    static void ExpectRect(RECT actual, RECT expected);

    // Input on the screen.
    static void Click(POINT p) { headless::Click(p.x, p.y); }
    static void ClickButton(int id) { Click(CentreOf(Screen(), id)); }
    // Whether the screen is up, with its canvas `canvas`.
    static bool ScreenUp(int canvas = IDC_CANVAS);
    // The browse screen, when it is the topmost window.
    static HWND BrowseScreen();
    // Clicks Save and answers the file dialog with `name` and Enter.
    static void SaveAs(const std::string& name);

    // Adds a step that clicks the home screen's button `id`, which opens a
    // colouring screen.
    void OpenScreen(int id);
    // Adds steps that click each button of `presses` on the screen in turn,
    // each expecting the range label to read its text afterwards.
    void ThenPressesShowRanges(const std::vector<std::pair<int, const char*>>& presses);
    // Adds steps that open the topic box `combo` of `owner` and choose the
    // entry `downs` rows below the one shown, then wait for the list to close.
    void ThenChooseTopic(const std::function<HWND()>& owner, int combo, int downs);
    // Adds steps on an opening browse screen: its range label reads `first`;
    // the next page's reads `second`; cell `k` of that page is picked, and OK.
    void ThenBrowseNextPageAndPick(const char* first, const char* second, int k);
    // Adds the last step: once the screen has closed, Escape on the home
    // screen ends the program.
    void ThenQuitFromHome();
};

}  // namespace app_test
