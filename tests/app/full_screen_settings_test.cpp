// Full screen by F11 and the settings file that remembers it and the folder
// last saved to, across runs of the program on the headless backend.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "backends/headless/headless.h"
#include "coloring_screen_support.h"
#include "controls/user_folders.h"
#include "res/resource.h"

using namespace app_test;
namespace fs = std::filesystem;

namespace {

class SettingsTest : public ColoringTest {
protected:
    std::string SettingsFile() const { return AppDir() + "config/tintorama/settings"; }
    std::string SettingsText() const {
        std::ifstream in(SettingsFile(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Steps that check the state at the home screen, then close it.
    void AtHome(const char* name, std::function<void()> check) {
        script.Then(name, [check] {
            if (!Home()) return false;
            check();
            headless::KeyPress(VK_ESCAPE);
            return true;
        });
    }
    // A new run of the program starts with the file dialog's memory empty.
    void RunAgain() {
        win::controls::RememberFileDialogFolder("");
        script = ScreenScript();
    }
};

TEST_F(SettingsTest, F11SwitchesFullScreenAnywhereAndTheNextRunOpensTheSameWay) {
    PrepareContent(kAllContent | kScreenPictures);
    WriteFreeContent(1, {"Animals"}, [](int) { return 1; });
    script.Then("windowed at first; F11", [] {
        if (!Home()) return false;
        EXPECT_FALSE(headless::FullScreen());
        headless::KeyPress(VK_F11);
        return true;
    });
    script.Then("full screen, remembered; F11 leaves it", [&] {
        EXPECT_TRUE(headless::FullScreen());
        EXPECT_NE(SettingsText().find("fullscreen=1\n"), std::string::npos);
        headless::KeyPress(VK_F11);
        return true;
    });
    OpenScreen(IDC_HOME_FREE);
    script.Then("F11 over a colouring screen; Escape closes only the screen", [&] {
        if (!Screen()) return false;
        EXPECT_FALSE(headless::FullScreen());
        EXPECT_NE(SettingsText().find("fullscreen=0\n"), std::string::npos);
        headless::KeyPress(VK_F11);
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    AtHome("home, still full screen", [] { EXPECT_TRUE(headless::FullScreen()); });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_FALSE(headless::FullScreen());  // the program gave the display back

    RunAgain();
    AtHome("the next run opens full screen", [] { EXPECT_TRUE(headless::FullScreen()); });
    EXPECT_EQ(RunProgram(), 0);
}

TEST_F(SettingsTest, ADamagedOrUnreadableFileGivesTheDefaults) {
    PrepareContent(kAllContent);
    fs::create_directories(AppDir() + "config/tintorama");
    const std::string damaged[] = {
        std::string("fullscreen=1\n\x01\x02\x00 binary", 20),  // not text
        "fullscreen=1\nthis line has no value\n",              // a line that is no setting
        "fullscreen=1\n" + std::string(70000, 'x') + "\n",     // far too large
    };
    for (const std::string& text : damaged) {
        std::ofstream(SettingsFile(), std::ios::binary) << text;
        RunAgain();
        AtHome("starts as usual, windowed", [] { EXPECT_FALSE(headless::FullScreen()); });
        EXPECT_EQ(RunProgram(), 0);
    }
    // A folder where the file should be cannot be read, nor replaced.
    fs::remove(SettingsFile());
    fs::create_directories(SettingsFile());
    RunAgain();
    script.Then("F11 still works", [] {
        if (!Home()) return false;
        headless::KeyPress(VK_F11);
        return true;
    });
    AtHome("full screen for this run", [] { EXPECT_TRUE(headless::FullScreen()); });
    EXPECT_EQ(RunProgram(), 0);
}

TEST_F(SettingsTest, TheSaveDialogOpensInTheFolderLastSavedToInAnEarlierRun) {
    PrepareContent(kAllContent | kScreenPictures);
    WriteFreeContent(1, {"Animals"}, [](int) { return 1; });
    const std::string kids = SaveFolder() + "kids";
    fs::create_directories(kids);
    OpenScreen(IDC_HOME_FREE);
    script.Then("save into another folder", [&] {
        if (!Screen()) return false;
        headless::WhenTopLevelAppears(headless::kFileDialogClass, [&](HWND) {
            for (char c : kids + "/first") headless::TypeChar(static_cast<unsigned char>(c));
            headless::KeyPress(VK_RETURN);
        });
        const POINT p = CentreOf(Screen(), IDC_SAVE);
        headless::Click(p.x, p.y);
        return true;
    });
    script.Then("saved; close", [&] {
        if (ScreenScript::FindVisible(nullptr, headless::kFileDialogClass)) return false;
        EXPECT_TRUE(fs::exists(kids + "/first.bmp"));
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    AtHome("home", [] {});
    EXPECT_EQ(RunProgram(), 0);

    RunAgain();
    OpenScreen(IDC_HOME_FREE);
    script.Then("save by a name alone", [&] {
        if (!Screen()) return false;
        headless::WhenTopLevelAppears(headless::kFileDialogClass, [](HWND) {
            for (char c : std::string("second")) headless::TypeChar(static_cast<unsigned char>(c));
            headless::KeyPress(VK_RETURN);
        });
        const POINT p = CentreOf(Screen(), IDC_SAVE);
        headless::Click(p.x, p.y);
        return true;
    });
    script.Then("it went where the last save went", [&] {
        if (ScreenScript::FindVisible(nullptr, headless::kFileDialogClass)) return false;
        EXPECT_TRUE(fs::exists(kids + "/second.bmp"));
        EXPECT_FALSE(fs::exists(SaveFolder() + "second.bmp"));
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    AtHome("home", [] {});
    EXPECT_EQ(RunProgram(), 0);
}

}  // namespace
