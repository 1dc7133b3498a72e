// The music list and the music toggle of both colouring screens, with a real
// song playing through the null sound device at real-time pace.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/coloring_app.h"
#include "backends/headless/headless.h"
#include "coloring_screen_support.h"
#include "music/music_player.h"
#include "res/resource.h"
#include "screens/home_dlg.h"
#include "support/test_data.h"

using namespace app_test;
namespace fs = std::filesystem;

namespace {

CHomeDlg* HomeObject() { return static_cast<CHomeDlg*>(AfxGetApp()->m_pMainWnd); }

struct ScreenPair {
    const char* name;
    int first;   // the home button of the screen used first
    int second;  // and of the one opened after it
};

class ScreenMusicTest : public ColoringTest, public ::testing::WithParamInterface<ScreenPair> {
protected:
    void SetUp() override {
        ColoringTest::SetUp();
        PrepareContent(kAllContent | kScreenPictures);
        WriteFreeContent(1, {"One"}, [](int) { return 1; });
        WriteSampleContent(1, {"One"}, [](int) { return 1; });
    }
    // Song "11" (the list's first row): a short MPEG stream repeated so that
    // it lasts many seconds.
    bool WriteSong() {
        std::ifstream in(test_support::MpegTestData("l1-fl1.bit"), std::ios::binary);
        std::string stream((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (stream.empty()) return false;
        fs::create_directories(AppDir() + "Data/Media/Music");
        std::ofstream out(AppDir() + "Data/Media/Music/11.mp3", std::ios::binary);
        for (int i = 0; i < 40; ++i) out << stream;
        return bool(out);
    }
    static void Click(POINT p) { headless::Click(p.x, p.y); }
    static bool ScreenUp() {
        HWND screen = Screen();
        return screen && ::GetDlgItem(screen, IDC_CANVAS) && ::GetDlgItem(screen, IDC_MUSIC_TOGGLE);
    }
};

}  // namespace

TEST_P(ScreenMusicTest, TheToggleSendsNothingBeforeASongThenFollowsTheListAndThePlayer) {
    ASSERT_TRUE(WriteSong()) << "no MPEG test stream in tests/data";
    ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::Null));
    OpenScreen(GetParam().first);
    script.Then("unchecked; check it", [&] {
        if (!ScreenUp()) return false;
        EXPECT_EQ(CheckOf(Screen(), IDC_MUSIC_TOGGLE), BST_UNCHECKED);
        Click(CentreOf(Screen(), IDC_MUSIC_TOGGLE));
        return true;
    });
    script.Then("checked, nothing to play; the music list", [&] {
        EXPECT_EQ(CheckOf(Screen(), IDC_MUSIC_TOGGLE), BST_CHECKED);
        EXPECT_TRUE(HomeObject()->m_strSongFile.IsEmpty());
        EXPECT_FALSE(HomeObject()->IsMusicPlaying());
        Click(CentreOf(Screen(), IDC_MUSIC_TOGGLE));
        return true;
    });
    script.Then("unchecked again; open the music list", [&] {
        EXPECT_EQ(CheckOf(Screen(), IDC_MUSIC_TOGGLE), BST_UNCHECKED);
        EXPECT_EQ(ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass), nullptr);
        Click(CentreOf(Screen(), IDC_MUSIC_LIST));
        return true;
    });
    script.Then("choose the first song", [&] {
        HWND list = ScreenScript::Topmost();
        if (!list || !::GetDlgItem(list, IDC_SONGS)) return false;
        RECT songs = ScreenRectOf(list, IDC_SONGS);
        headless::Click(songs.left + 30, songs.top + 5);
        headless::Click(songs.left + 30, songs.top + 5);  // a double click chooses
        return true;
    });
    script.Then("playing, and the toggle shows it", [&] {
        if (!ScreenUp() || !HomeObject()->IsMusicPlaying()) return false;
        EXPECT_EQ(HomeObject()->m_strSongFile, CString("11.mp3"));
        EXPECT_EQ(CheckOf(Screen(), IDC_MUSIC_TOGGLE), BST_CHECKED);
        Click(CentreOf(Screen(), IDC_MUSIC_TOGGLE));
        return true;
    });
    script.Then("music off", [&] {
        if (HomeObject()->IsMusicPlaying()) return false;
        EXPECT_EQ(CheckOf(Screen(), IDC_MUSIC_TOGGLE), BST_UNCHECKED);
        EXPECT_EQ(HomeObject()->m_pPlayer->m_nState, CMusicPlayer::STOPPED);
        Click(CentreOf(Screen(), IDC_MUSIC_TOGGLE));
        return true;
    });
    script.Then("music on again; close the screen", [&] {
        if (!HomeObject()->IsMusicPlaying()) return false;
        EXPECT_EQ(CheckOf(Screen(), IDC_MUSIC_TOGGLE), BST_CHECKED);
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    OpenScreen(GetParam().second);
    script.Then("the other screen opens with the toggle checked", [&] {
        if (!ScreenUp()) return false;
        EXPECT_TRUE(HomeObject()->IsMusicPlaying());
        EXPECT_EQ(CheckOf(Screen(), IDC_MUSIC_TOGGLE), BST_CHECKED);
        Click(CentreOf(Screen(), IDC_MUSIC_TOGGLE));
        return true;
    });
    script.Then("off from here too", [&] {
        if (HomeObject()->IsMusicPlaying()) return false;
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    script.Then("leave", [&] {
        if (ScreenOverHome()) return false;
        EXPECT_EQ(ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass), nullptr);
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    RunProgram();
}

INSTANTIATE_TEST_SUITE_P(
    BothScreens, ScreenMusicTest,
    ::testing::Values(ScreenPair{"FreeThenSample", IDC_HOME_FREE, IDC_HOME_SAMPLE},
                      ScreenPair{"SampleThenFree", IDC_HOME_SAMPLE, IDC_HOME_FREE}),
    [](const auto& info) { return std::string(info.param.name); });
