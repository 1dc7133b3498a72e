// Steps and helpers shared by the colouring screens' end-to-end tests: the
// screens are opened from the home screen and driven with real pointer and
// key input only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app_harness.h"
#include "coloring_content.h"

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

    // Adds a step that clicks the home screen's button `id`, which opens a
    // colouring screen.
    void OpenScreen(int id);
};

}  // namespace app_test
