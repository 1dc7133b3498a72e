// The home screen, run through the program's real start-up.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/coloring_app.h"
#include "app_harness.h"
#include "backends/headless/headless.h"
#include "res/resource.h"
#include "screens/home_dlg.h"

using namespace app_test;

namespace {

// The button's rectangle in the home screen's client coordinates.
RECT ClientRectOf(HWND home, int id) {
    RECT rect{};
    HWND button = ::GetDlgItem(home, id);
    ::GetWindowRect(button, &rect);
    ::MapWindowPoints(nullptr, home, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

TEST_F(ProgramTest, HomeScreenShowsThePictureAtTheTemplatesSizeAndEscapeEndsTheProgram) {
    PrepareContent(kAllContent);
    script.Then("home screen", [&] {
        HWND home = Home();
        if (!home) return false;
        RECT client{};
        ::GetClientRect(home, &client);
        EXPECT_EQ(client.right, 698);  // 465 x 286 dialog units
        EXPECT_EQ(client.bottom, 465);
        // The picture is painted 1:1 at the top-left, also under the buttons.
        for (POINT p : {POINT{5, 5}, POINT{350, 100}, POINT{697, 464}, POINT{400, 230}})
            EXPECT_EQ(headless::PixelAt(home, p.x, p.y),
                      FilePixel(AppDir() + "Backgrnd/home.bmp", p.x, p.y))
                << p.x << "," << p.y;
        EXPECT_NE(headless::WindowIcon(home, ICON_BIG), nullptr);
        EXPECT_NE(g_fontUI.GetSafeHandle(), nullptr);
        EXPECT_EQ(g_strAppDir, CString(AppDir().c_str()));
        // No control is IDOK: the command leaves the screen open.
        ::PostMessageA(home, WM_COMMAND, IDOK, 0);
        return true;
    });
    script.Then("still open after IDOK", [&] {
        if (!Home()) return false;
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(AfxGetApp()->m_pMainWnd, nullptr);
}

TEST_F(ProgramTest, HoveringAButtonRaisesItsBorderAndPlaysTheHoverSound) {
    PrepareContent(kAllContent);
    RECT button{};
    script.Then("hover the music button", [&] {
        HWND home = Home();
        if (!home) return false;
        button = ClientRectOf(home, IDC_HOME_MUSIC);
        // At rest the button is the picture itself.
        EXPECT_EQ(headless::PixelAt(home, button.left, button.top),
                  FilePixel(AppDir() + "Backgrnd/home.bmp", button.left, button.top));
        TakeSoundsPlayed();
        POINT centre = CentreOf(home, IDC_HOME_MUSIC);
        headless::MouseMove(centre.x, centre.y);
        return true;
    });
    script.Then("raised border", [&] {
        HWND home = Home();
        EXPECT_EQ(headless::PixelAt(home, button.left, button.top),
                  ::GetSysColor(COLOR_BTNHIGHLIGHT) & 0xFFFFFF);
        EXPECT_EQ(headless::PixelAt(home, button.right - 1, button.bottom - 1),
                  ::GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF);
        // Inside, the picture stays.
        int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2;
        EXPECT_EQ(headless::PixelAt(home, cx, cy),
                  FilePixel(AppDir() + "Backgrnd/home.bmp", cx, cy));
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_HOVER});
        // Moving within the button plays nothing more; leaving ends the light.
        headless::MouseMove(cx + 2, cy + 1);
        return true;
    });
    // One move per step: a pointer is in one place at a time.
    script.Then("moved within", [&] {
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{});
        headless::MouseMove(5, 5);
        return true;
    });
    script.Then("border gone", [&] {
        HWND home = Home();
        EXPECT_EQ(headless::PixelAt(home, button.left, button.top),
                  FilePixel(AppDir() + "Backgrnd/home.bmp", button.left, button.top));
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{});
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    RunProgram();
}

TEST_F(ProgramTest, TheSpareButtonOnlyPlaysTheClickSound) {
    PrepareContent(kAllContent);
    script.Then("click the spare button", [&] {
        HWND home = Home();
        if (!home) return false;
        POINT p = CentreOf(home, IDC_HOME_SPARE);
        headless::MouseMove(p.x, p.y);
        return true;
    });
    script.Then("hovered", [&] {
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_HOVER});
        POINT p = CentreOf(Home(), IDC_HOME_SPARE);
        headless::Click(p.x, p.y);
        return true;
    });
    script.Then("nothing else happened", [&] {
        EXPECT_EQ(TakeSoundsPlayed(), std::vector<int>{IDW_CLICK});
        EXPECT_EQ(ScreenScript::VisibleWindows().size(), 1u);
        EXPECT_TRUE(headless::TakeShellRequests().empty());
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(Home(), IDC_HOME_SPARE));  // a click takes the focus
        headless::KeyPress(VK_RETURN);                                  // Enter runs nothing either
        return true;
    });
    script.Then("still open after Enter", [&] {
        EXPECT_EQ(ScreenScript::VisibleWindows().size(), 1u);
        POINT p = CentreOf(Home(), IDCANCEL);
        headless::Click(p.x, p.y);  // the exit button
        return true;
    });
    EXPECT_EQ(RunProgram(), 0);
}

TEST_F(ProgramTest, TheHelpButtonOpensTheHelpPageAndTheHomeScreenStays) {
    PrepareContent(kAllContent);
    script.Then("click help", [&] {
        HWND home = Home();
        if (!home) return false;
        POINT p = CentreOf(home, IDC_HOME_HELP);
        headless::Click(p.x, p.y);
        return true;
    });
    script.Then("the shell was asked", [&] {
        auto requests = headless::TakeShellRequests();
        EXPECT_EQ(requests.size(), 1u);
        if (!requests.empty()) {
            EXPECT_EQ(requests[0].operation, "open");
            EXPECT_EQ(requests[0].file, AppDir() + "Help/Help.htm");
            EXPECT_EQ(requests[0].show, SW_SHOW);
        }
        EXPECT_NE(Home(), nullptr);
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    RunProgram();
}

TEST_F(ProgramTest, TheSystemMenuCarriesTheAboutItemWhichOpensTheAboutBox) {
    PrepareContent(kAllContent);
    script.Then("system menu", [&] {
        HWND home = Home();
        if (!home) return false;
        HMENU menu = ::GetSystemMenu(home, FALSE);
        EXPECT_NE(menu, nullptr);
        int count = ::GetMenuItemCount(menu);
        EXPECT_GE(count, 2);
        char text[64] = {};
        ::GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, "&About Tintorama...");
        EXPECT_EQ(::GetMenuItemID(menu, count - 1), 16u);
        EXPECT_TRUE(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
        ::PostMessageA(home, WM_SYSCOMMAND, 16, 0);
        return true;
    });
    script.Then("About box", [&] {
        HWND about = ScreenOverHome();
        if (!about) return false;
        RECT client{};
        ::GetClientRect(about, &client);
        EXPECT_EQ(client.right, 353);  // 235 x 55 dialog units
        EXPECT_EQ(client.bottom, 89);
        EXPECT_FALSE(::IsWindowEnabled(Home()));  // modal over the home screen
        POINT ok = CentreOf(about, IDOK);
        headless::Click(ok.x, ok.y);
        return true;
    });
    script.Then("back on the home screen", [&] {
        if (ScreenOverHome()) return false;
        EXPECT_TRUE(::IsWindowEnabled(Home()));
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    RunProgram();
}
