// The About box's text fits its statics: no line is cut or wrapped away.
#include <gtest/gtest.h>
#include <strings.h>

#include <string>
#include <vector>

#include "app_harness.h"
#include "backends/headless/headless.h"

using namespace app_test;

TEST_F(ProgramTest, EveryLineOfTheAboutBoxFitsItsStatic) {
    PrepareContent(kAllContent);
    std::vector<std::string> checked;
    script.Then("About box", [&] {
        HWND home = Home();
        if (!home) return false;
        ::PostMessageA(home, WM_SYSCOMMAND, 16, 0);
        return true;
    });
    script.Then("measure", [&] {
        HWND about = ScreenOverHome();
        if (!about) return false;
        for (HWND child = ::GetWindow(about, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            char cls[32] = {}, text[128] = {};
            ::GetClassNameA(child, cls, sizeof cls);
            ::GetWindowTextA(child, text, sizeof text);
            bool icon = (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
            if (::strcasecmp(cls, "Static") != 0 || icon || !text[0]) continue;
            RECT client{};
            ::GetClientRect(child, &client);
            HDC dc = ::GetDC(child);
            HGDIOBJ old = ::SelectObject(
                dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(child, WM_GETFONT, 0, 0)));
            SIZE extent{};
            ::GetTextExtentPoint32A(dc, text, int(std::string(text).size()), &extent);
            ::SelectObject(dc, old);
            ::ReleaseDC(child, dc);
            EXPECT_LE(extent.cx, client.right) << text;
            EXPECT_LE(extent.cy, client.bottom) << text;
            checked.push_back(text);
        }
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    script.Then("leave", [&] {
        if (ScreenOverHome()) return false;
        headless::KeyPress(VK_ESCAPE);
        return true;
    });
    RunProgram();
    EXPECT_EQ(checked, (std::vector<std::string>{"Tintorama Version 1.0",
                                                 "A colouring book for young children"}));
}
