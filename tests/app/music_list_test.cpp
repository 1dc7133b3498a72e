// The music list, opened from the home screen of the running program.
#include <gtest/gtest.h>

#include "app/coloring_app.h"
#include "app_harness.h"
#include "backends/headless/headless.h"
#include "res/resource.h"
#include "screens/home_dlg.h"

using namespace app_test;

namespace {

CHomeDlg* HomeObject() { return static_cast<CHomeDlg*>(AfxGetApp()->m_pMainWnd); }

// Opens the music list with a click on the home screen's music button.
void OpenMusicList(ScreenScript& script) {
    script.Then("open the music list", [] {
        HWND home = ScreenScript::FindVisible("Tintorama");
        if (!home) return false;
        RECT r{};
        ::GetWindowRect(::GetDlgItem(home, IDC_HOME_MUSIC), &r);
        headless::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return true;
    });
}

// The failure box of a song that is not there: answered, and its text kept.
void AnswerTheFailureBox(ScreenScript& script, std::string* text) {
    script.Then("failure box", [text] {
        HWND box = ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass);
        if (!box) return false;
        char buffer[256] = {};
        ::GetWindowTextA(::GetDlgItem(box, 0xFFFF), buffer, sizeof buffer);
        *text = buffer;
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
}

}  // namespace

TEST_F(ProgramTest, MusicListStaysOpenWithoutAChoiceAndReturnsTheLastRowsCode) {
    PrepareContent(kAllContent);
    std::string failure;
    OpenMusicList(script);
    script.Then("music list", [&] {
        HWND list = ScreenOverHome();
        if (!list) return false;
        // The window takes its picture's size, not the template's 296 x 294.
        RECT rect{};
        ::GetWindowRect(list, &rect);
        EXPECT_EQ(rect.right - rect.left, 300);
        EXPECT_EQ(rect.bottom - rect.top, 297);
        HWND songs = ::GetDlgItem(list, IDC_SONGS);
        EXPECT_EQ(::SendMessageA(songs, LB_GETCOUNT, 0, 0), 80);
        EXPECT_EQ(::SendMessageA(songs, LB_GETCURSEL, 0, 0), LB_ERR);  // nothing chosen yet
        POINT ok = CentreOf(list, IDOK);
        headless::Click(ok.x, ok.y);
        return true;
    });
    script.Then("still open after OK", [&] {
        HWND list = ScreenOverHome();
        EXPECT_NE(list, nullptr);
        if (!list) return true;
        headless::KeyPress(VK_RETURN);  // Enter, too, wants a choice
        return true;
    });
    script.Then("choose the last song", [&] {
        HWND list = ScreenOverHome();
        EXPECT_NE(list, nullptr);
        if (!list) return true;
        ::SendDlgItemMessageA(list, IDC_SONGS, LB_SETCURSEL, 79, 0);
        POINT ok = CentreOf(list, IDOK);
        headless::Click(ok.x, ok.y);
        return true;
    });
    script.Then("the song was asked for", [&] {
        if (ScreenOverHome() && !ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass))
            return false;
        EXPECT_EQ(HomeObject()->m_strSongFile, CString("516.mp3"));
        return true;
    });
    // The prepared folder has no songs: the player refuses the file.
    AnswerTheFailureBox(script, &failure);
    script.Then("leave", [] {
        if (ScreenOverHome()) return false;
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    RunProgram();
    EXPECT_EQ(failure.rfind("Command 7 failed\n[", 0), 0u) << failure;
}

TEST_F(ProgramTest, DoubleClickingATitleChoosesItAtOnce) {
    PrepareContent(kAllContent);
    std::string failure;
    OpenMusicList(script);
    script.Then("double-click the first title", [&] {
        HWND list = ScreenOverHome();
        if (!list) return false;
        RECT songs = ScreenRectOf(list, IDC_SONGS);
        int x = songs.left + 30, y = songs.top + 5;
        headless::Click(x, y);
        headless::Click(x, y);
        return true;
    });
    script.Then("chosen", [&] {
        if (ScreenOverHome() && !ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass))
            return false;
        EXPECT_EQ(HomeObject()->m_strSongFile, CString("11.mp3"));
        return true;
    });
    AnswerTheFailureBox(script, &failure);
    script.Then("leave", [] {
        if (ScreenOverHome()) return false;
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    RunProgram();
}

TEST_F(ProgramTest, CancellingTheMusicListChoosesNothing) {
    PrepareContent(kAllContent);
    OpenMusicList(script);
    script.Then("pick, then cancel", [&] {
        HWND list = ScreenOverHome();
        if (!list) return false;
        ::SendDlgItemMessageA(list, IDC_SONGS, LB_SETCURSEL, 3, 0);
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    script.Then("nothing chosen", [&] {
        if (ScreenOverHome()) return false;
        EXPECT_TRUE(HomeObject()->m_strSongFile.IsEmpty());
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    RunProgram();
}

// The list is centred over the home screen, takes the keyboard, and gives it
// back to the home screen when it ends, so that one more Escape ends the
// program.
TEST_F(ProgramTest, TheMusicListIsCentredOverHomeAndHandsTheKeyboardBack) {
    PrepareContent(kAllContent);
    OpenMusicList(script);
    script.Then("centred, with the keyboard", [&] {
        HWND list = ScreenOverHome();
        if (!list) return false;
        RECT home{}, rect{};
        ::GetWindowRect(Home(), &home);
        ::GetWindowRect(list, &rect);
        EXPECT_NEAR((rect.left + rect.right) / 2, (home.left + home.right) / 2, 1);
        EXPECT_NEAR((rect.top + rect.bottom) / 2, (home.top + home.bottom) / 2, 1);
        EXPECT_EQ(::GetWindow(list, GW_OWNER), Home());
        EXPECT_EQ(headless::NativeFocus(), list);
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    script.Then("home has the keyboard again", [&] {
        if (ScreenOverHome()) return false;
        EXPECT_EQ(::GetActiveWindow(), Home());
        EXPECT_EQ(headless::NativeFocus(), Home());
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(RunProgram(), 0);
}
