// A background whose folder and file names differ from the program's only
// in letter case is still found: the screens load their pictures by name
// through the same path helper as the catalogues.
#include <gtest/gtest.h>

#include <filesystem>

#include "app_harness.h"
#include "backends/headless/headless.h"

using namespace app_test;

namespace {

class BackgroundNamesTest : public ProgramTest {};

TEST_F(BackgroundNamesTest, TheHomePictureIsFoundWhateverTheCaseOfItsName) {
    PrepareContent(kAllContent);
    namespace fs = std::filesystem;
    fs::rename(AppDir() + "Backgrnd/home.bmp", AppDir() + "Backgrnd/HOME.Bmp");
    fs::rename(AppDir() + "Backgrnd", AppDir() + "backgrnd");
    const std::string picture = AppDir() + "backgrnd/HOME.Bmp";
    script.Then("home screen", [&] {
        HWND home = Home();
        if (!home) return false;
        for (POINT p : {POINT{5, 5}, POINT{350, 100}, POINT{400, 230}})
            EXPECT_EQ(headless::PixelAt(home, p.x, p.y), FilePixel(picture, p.x, p.y))
                << p.x << "," << p.y;
        ::PostMessageA(home, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_EQ(RunProgram(), 0);
}

}  // namespace
