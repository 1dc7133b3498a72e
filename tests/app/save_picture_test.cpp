// Saving from both colouring screens: a save that cannot be written says so
// and leaves the old file alone; a cancelled save does nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "backends/headless/headless.h"
#include "coloring_screen_support.h"
#include "res/resource.h"

using namespace app_test;
namespace fs = std::filesystem;

namespace {

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Which screen, opened by which home button.
struct ScreenCase {
    const char* name;
    int homeButton;
};

class SavePictureTest : public ColoringTest, public ::testing::WithParamInterface<ScreenCase> {
protected:
    void SetUp() override {
        ColoringTest::SetUp();
        PrepareContent(kAllContent | kScreenPictures);
        WriteFreeContent(2, {"One"}, [](int) { return 1; });
        WriteSampleContent(2, {"One"}, [](int) { return 1; });
    }
    void TearDown() override {
        if (m_bDropped) {
            EXPECT_EQ(::seteuid(0), 0);
        }
        ColoringTest::TearDown();
    }
    // Makes the program run as a user whom the folder's permissions bind;
    // root ignores them.
    void RunAsOrdinaryUser() {
        if (::geteuid() != 0) return;
        // The program directory is made private to its creator; the user
        // must be able to reach the folders below it.
        ASSERT_EQ(::chmod(AppDir().c_str(), 0755), 0);
        ASSERT_EQ(::seteuid(65534), 0);
        m_bDropped = true;
    }
    void BackToRoot() {
        if (!m_bDropped) return;
        ASSERT_EQ(::seteuid(0), 0);
        m_bDropped = false;
    }
    void OpenScreenAndSave(std::function<void(HWND)> answerDialog) {
        OpenScreen(GetParam().homeButton);
        script.Then("save", [answerDialog] {
            HWND screen = Screen();
            if (!screen || !::GetDlgItem(screen, IDC_CANVAS)) return false;
            headless::WhenTopLevelAppears(headless::kFileDialogClass, answerDialog);
            POINT p = CentreOf(screen, IDC_SAVE);
            headless::Click(p.x, p.y);
            return true;
        });
    }
    bool m_bDropped = false;
};

void Type(const char* text) {
    for (const char* p = text; *p; ++p) headless::TypeChar(static_cast<unsigned char>(*p));
}

}  // namespace

TEST_P(SavePictureTest, ASaveIntoAReadOnlyFolderSaysWhyAndKeepsTheOldFile) {
    const std::string locked = SaveFolder() + "locked/";
    fs::create_directories(locked);
    ASSERT_TRUE(WriteLineArt(locked + "drawing.bmp", 40, 30));
    const std::string before = Contents(locked + "drawing.bmp");
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    ::setenv("XDG_PICTURES_DIR", locked.c_str(), 1);

    int overwriteQuestions = 0;
    OpenScreenAndSave([&](HWND) {
        // The file is there: the dialog asks before replacing it.
        headless::WhenTopLevelAppears(headless::kMessageBoxClass, [&](HWND box) {
            ++overwriteQuestions;
            ::SendMessageA(::GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
        });
        Type("drawing");
        headless::KeyPress(VK_RETURN);
    });
    std::string text, caption;
    HWND owner = nullptr, screen = nullptr;
    script.Then("the failure box", [&] {
        if (ScreenScript::FindVisible(nullptr, headless::kFileDialogClass)) return false;
        HWND box = ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass);
        if (!box) return false;
        char buffer[1024] = {};
        ::GetWindowTextA(::GetDlgItem(box, 0xFFFF), buffer, sizeof buffer);
        text = buffer;
        ::GetWindowTextA(box, buffer, sizeof buffer);
        caption = buffer;
        owner = ::GetWindow(box, GW_OWNER);
        for (HWND w : ScreenScript::VisibleWindows())
            if (::GetDlgItem(w, IDC_CANVAS)) screen = w;
        headless::KeyPress(VK_RETURN);
        return true;
    });
    script.Then("back on the screen", [&] {
        if (ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass)) return false;
        EXPECT_EQ(Screen(), screen);
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    script.Then("leave", [&] {
        if (ScreenOverHome()) return false;
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    RunAsOrdinaryUser();
    RunProgram();
    BackToRoot();

    EXPECT_EQ(overwriteQuestions, 1);
    EXPECT_EQ(caption, "Save Picture");
    EXPECT_NE(text.find(locked + "drawing.bmp"), std::string::npos) << text;
    EXPECT_NE(text.find("Permission denied"), std::string::npos) << text;
    EXPECT_NE(screen, nullptr);
    EXPECT_EQ(owner, screen);
    EXPECT_EQ(Contents(locked + "drawing.bmp"), before);
    // Nothing half-written was left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 1);
    ::chmod(locked.c_str(), 0755);
}

TEST_P(SavePictureTest, CancellingTheSaveDialogWritesNothingAndSaysNothing) {
    OpenScreenAndSave([](HWND) {
        Type("never");
        headless::KeyPress(VK_ESCAPE);
    });
    script.Then("back on the screen", [&] {
        if (ScreenScript::FindVisible(nullptr, headless::kFileDialogClass)) return false;
        EXPECT_EQ(ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass), nullptr);
        HWND screen = Screen();
        EXPECT_TRUE(screen && ::GetDlgItem(screen, IDC_CANVAS));
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    script.Then("leave", [&] {
        if (ScreenOverHome()) return false;
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    RunProgram();
    EXPECT_TRUE(fs::is_empty(SaveFolder()));
}

INSTANTIATE_TEST_SUITE_P(BothScreens, SavePictureTest,
                         ::testing::Values(ScreenCase{"Free", IDC_HOME_FREE},
                                           ScreenCase{"Sample", IDC_HOME_SAMPLE}),
                         [](const auto& info) { return std::string(info.param.name); });
