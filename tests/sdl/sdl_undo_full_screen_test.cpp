// Undo, redo and full screen in the program's real windows on a private X
// server, with the keys a child (or a parent) would press: Ctrl+Z, Ctrl+Y
// and F11.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "program_window.h"
#include "xvfb_fixture.h"

using namespace sdl_test;

namespace {

class SdlUndoFullScreen : public ::testing::Test {
protected:
    void SetUp() override { Begin(nullptr); }
    void Begin(const char* manager) {
        for (const char* tool : {"Xvfb", "xdotool", "import"})
            if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed";
        if (manager && !OnPath(manager)) GTEST_SKIP() << manager << " is not installed";
        program_ = ProgramPath();
        if (access(program_.c_str(), X_OK) != 0)
            GTEST_SKIP() << "the program is not built: " << program_;
        std::string why;
        ASSERT_TRUE(x_.Start("1920x1080x24", manager, &why)) << why;
    }
    void TearDown() override {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
        x_.Stop();
    }

    void StartProgram(const char* option = nullptr) {
        child_ = fork();
        if (child_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            setenv("TINTO_AUDIO", "null", 1);
            // The settings go to the test's own folder (its working one).
            char config[PATH_MAX] = {};
            if (getcwd(config, sizeof config)) setenv("XDG_CONFIG_HOME", config, 1);
            execl(program_.c_str(), program_.c_str(), option, static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(child_, 0);
    }

    // The colour on the screen at (x, y), as "#RRGGBB".
    std::string ScreenColour(int x, int y) {
        const std::string text =
            Output("import -display " + x_.Display() + " -window root -crop 1x1+" +
                   std::to_string(x) + "+" + std::to_string(y) + " -depth 8 txt:- 2>/dev/null");
        // Past the heading line, "0,0: (255,0,0)  #FF0000  red".
        const size_t hash = text.find('#', text.find('\n') + 1);
        return hash == std::string::npos ? text : text.substr(hash, 7);
    }

    std::string program_;
    XServer x_;
    pid_t child_ = 0;
};

TEST_F(SdlUndoFullScreen, CtrlZAndCtrlYUndoAndRedoAFillAndF11FillsTheScreen) {
    StartProgram();
    const std::string home = Xdo("search --sync --onlyvisible --name '^Tintorama$'");
    ASSERT_FALSE(home.empty()) << "the home screen never appeared";
    ASSERT_TRUE(WaitFor([&] { return Xdo("getwindowfocus") == home; }, 10));
    const Geometry g = GeometryOf(home);
    // The free colouring button (template 43, 94, 86, 27 dialog units).
    Xdo("mousemove --sync " + std::to_string(g.x + 1 + 129) + " " + std::to_string(g.y + 1 + 175) +
        " click 1");
    std::string screen;
    ASSERT_TRUE(WaitFor([&] { return !(screen = VisibleOfSize(746, 540)).empty(); }, 15))
        << "the free colouring screen did not open";
    ASSERT_TRUE(WaitFor([&] { return Xdo("getwindowfocus") == screen; }, 10));
    const Geometry s = GeometryOf(screen);
    // Red (swatch 8 of the palette at (120, 450)), then a click on the
    // picture's white corner, inside the 600 x 400 canvas at (110, 40).
    auto click = [&](int x, int y) {
        Xdo("mousemove --sync " + std::to_string(s.x + 1 + x) + " " + std::to_string(s.y + 1 + y) +
            " click 1");
    };
    const int cornerX = s.x + 1 + 116, cornerY = s.y + 1 + 46;
    ASSERT_TRUE(WaitFor([&] { return ScreenColour(cornerX, cornerY) == "#FFFFFF"; }, 10))
        << ScreenColour(cornerX, cornerY);
    click(120 + 21 * 8 + 10, 460);
    click(116, 46);
    ASSERT_TRUE(WaitFor([&] { return ScreenColour(cornerX, cornerY) == "#FF0000"; }, 10))
        << "the click did not fill";

    Xdo("key ctrl+z");
    EXPECT_TRUE(WaitFor([&] { return ScreenColour(cornerX, cornerY) == "#FFFFFF"; }, 10))
        << "Ctrl+Z did not undo the fill";
    Xdo("key ctrl+y");
    EXPECT_TRUE(WaitFor([&] { return ScreenColour(cornerX, cornerY) == "#FF0000"; }, 10))
        << "Ctrl+Y did not redo it";

    // F11: the screen at twice its size (1492 x 1080 fits 1920 x 1080),
    // centred, over the sky; the corner's pixel is now a 2 x 2 block.
    Xdo("key F11");
    ASSERT_TRUE(WaitFor([&] { return GeometryOf(screen).width == 1492; }, 10))
        << "F11 did not enlarge the screen";
    const Geometry big = GeometryOf(screen);
    EXPECT_EQ(big.x, (1920 - 1492) / 2);
    EXPECT_EQ(big.y, 0);
    EXPECT_EQ(ScreenColour(10, 540), "#96D2F5");  // the backdrop: the home picture's sky
    EXPECT_TRUE(WaitFor(
        [&] {
            return ScreenColour(big.x + 2 * (1 + 116) + 1, big.y + 2 * (1 + 46) + 1) == "#FF0000";
        },
        10));
    // A click maps as at 2x: Ctrl+Z, then a fill of the corner in red again
    // by clicks at the doubled places.
    Xdo("key ctrl+z");
    ASSERT_TRUE(WaitFor(
        [&] { return ScreenColour(big.x + 2 * (1 + 116), big.y + 2 * (1 + 46)) == "#FFFFFF"; },
        10));
    Xdo("mousemove --sync " + std::to_string(big.x + 2 * (1 + 116)) + " " +
        std::to_string(big.y + 2 * (1 + 46)) + " click 1");
    EXPECT_TRUE(WaitFor(
        [&] { return ScreenColour(big.x + 2 * (1 + 116), big.y + 2 * (1 + 46)) == "#FF0000"; }, 10))
        << "a click in full screen did not reach the canvas";

    Xdo("key F11");
    EXPECT_TRUE(WaitFor([&] { return GeometryOf(screen).width == 746; }, 10))
        << "F11 again did not leave full screen";
    Xdo("key Escape");
    ASSERT_TRUE(WaitFor([&] { return VisibleOfSize(746, 540).empty(); }, 10));
    Xdo("key Escape");
    int status = 0;
    EXPECT_TRUE(WaitFor([&] { return waitpid(child_, &status, WNOHANG) == child_; }, 15));
    child_ = 0;
}

// Under a window manager: its keys neither close nor move the program in
// full screen, and Escape still ends it.
class SdlFullScreenUnderAManager : public SdlUndoFullScreen {
protected:
    void SetUp() override { Begin("openbox"); }
};

TEST_F(SdlFullScreenUnderAManager, AltF4AndAnAltDragLeaveItWhereItIsEscapeEndsIt) {
    StartProgram("--fullscreen");
    const std::string home = Xdo("search --sync --onlyvisible --name '^Tintorama$'");
    ASSERT_FALSE(home.empty()) << "the home screen never appeared";
    // 700 x 467 at 2x: 1400 x 934, centred on 1920 x 1080.
    ASSERT_TRUE(WaitFor([&] { return GeometryOf(home).width == 1400; }, 10));
    ASSERT_TRUE(WaitFor([&] { return Xdo("getwindowfocus") == home; }, 10));
    Xdo("key alt+F4");
    Xdo("mousemove --sync 900 700 keydown alt mousedown 1 mousemove 1000 800 mousemove 1100 850 "
        "mouseup 1 keyup alt");
    // Nothing to wait for but time: a close would end the program.
    WaitFor([] { return false; }, 1.5);
    int status = 0;
    ASSERT_EQ(waitpid(child_, &status, WNOHANG), 0) << "the window manager closed the program";
    const Geometry g = GeometryOf(home);
    EXPECT_EQ(g.x, 260);
    EXPECT_EQ(g.y, 73);
    Xdo("windowactivate --sync " + home);
    Xdo("key Escape");
    EXPECT_TRUE(WaitFor([&] { return waitpid(child_, &status, WNOHANG) == child_; }, 15))
        << "Escape did not end the program";
    child_ = 0;
}

}  // namespace
