// The program without its content files: it still starts, works and ends.
#include <cstring>
#include <string>

#include <gtest/gtest.h>
#include "text/font.h"

#include "app/coloring_app.h"
#include "app_harness.h"
#include "backends/headless/headless.h"
#include "res/resource.h"

using namespace app_test;

TEST_F(ProgramTest, WithoutAnyContentTheHomeScreenStillWorks) {
    PrepareContent(0);
    RECT button{};
    script.Then("home screen in the dialog colour", [&] {
        HWND home = Home();
        if (!home) return false;
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE) & 0xFFFFFF;
        EXPECT_EQ(headless::PixelAt(home, 5, 5), face);
        EXPECT_EQ(headless::PixelAt(home, 600, 400), face);
        // The interface font is there, in whatever face stood in for it.
        EXPECT_NE(g_fontUI.GetSafeHandle(), nullptr);

        ::GetWindowRect(::GetDlgItem(home, IDC_HOME_FREE), &button);
        ::MapWindowPoints(nullptr, home, reinterpret_cast<POINT*>(&button), 2);
        POINT p = CentreOf(home, IDC_HOME_FREE);
        headless::MouseMove(p.x, p.y);
        return true;
    });
    script.Then("buttons still light up", [&] {
        HWND home = Home();
        EXPECT_EQ(headless::PixelAt(home, button.left, button.top),
                  ::GetSysColor(COLOR_BTNHIGHLIGHT) & 0xFFFFFF);
        EXPECT_EQ(headless::PixelAt(home, button.right - 1, button.bottom - 1),
                  ::GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF);
        POINT p = CentreOf(home, IDC_HOME_HELP);
        headless::Click(p.x, p.y);
        return true;
    });
    script.Then("no help page, nothing said", [&] {
        EXPECT_TRUE(headless::TakeShellRequests().empty());
        EXPECT_EQ(ScreenScript::VisibleWindows().size(), 1u);  // no message box
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(RunProgram(), 0);
}

namespace {

// The family the text engine draws a face name with.
std::string ResolvedFamily(const char* faceName) {
    LOGFONTA lf{};
    lf.lfHeight = -13;
    std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    auto font = text::Font::Create(lf);
    return font ? font->FamilyName() : "";
}

}  // namespace

TEST_F(ProgramTest, WithTheFontTheInterfaceFaceIsTheProgramsOwn) {
    PrepareContent(kFont);
    std::string during;
    script.Then("font", [&] {
        if (!Home()) return false;
        LOGFONTA lf{};
        g_fontUI.GetLogFont(&lf);
        during = ResolvedFamily(lf.lfFaceName);
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    RunProgram();
    EXPECT_EQ(during, "Lumora Sans Serif");
    // Once the program has ended, its font is out of the table again.
    EXPECT_NE(ResolvedFamily("Lumora Sans Serif"), "Lumora Sans Serif");
}
