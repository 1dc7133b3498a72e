// The program itself in real windows, on a private X server without and
// with a window manager, driven with xdotool as a child would: a click opens
// the music list, Escape closes it and the keyboard is the home screen's
// again, and then one Escape ends the program.
#include <gtest/gtest.h>
#include <limits.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "program_window.h"
#include "xvfb_fixture.h"

namespace {

using namespace sdl_test;

class SdlProgram : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool"})
            if (!sdl_test::OnPath(tool)) GTEST_SKIP() << tool << " is not installed";
        manager_ = std::string(GetParam()) == "none" ? nullptr : GetParam();
        if (manager_ && !sdl_test::OnPath(manager_))
            GTEST_SKIP() << manager_ << " is not installed";
        program_ = ProgramPath();
        if (access(program_.c_str(), X_OK) != 0)
            GTEST_SKIP() << "the program is not built: " << program_;
        std::string why;
        ASSERT_TRUE(x_.Start("1024x768x24", manager_, &why)) << why;
    }
    void TearDown() override {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
        x_.Stop();
    }

    void StartProgram() {
        child_ = fork();
        if (child_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            setenv("TINTO_AUDIO", "null", 1);
            execl(program_.c_str(), program_.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(child_, 0);
    }

    // Waits for the program to end; its exit status, or -1 on a time-out.
    int WaitForExit(double seconds) {
        int status = 0;
        bool ended =
            sdl_test::WaitFor([&] { return waitpid(child_, &status, WNOHANG) == child_; }, seconds);
        if (!ended) return -1;
        child_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    bool Running() { return child_ > 0 && waitpid(child_, nullptr, WNOHANG) == 0; }

    const char* manager_ = nullptr;
    std::string program_;
    sdl_test::XServer x_;
    pid_t child_ = 0;
};

TEST_P(SdlProgram, MusicListByAClickEscapeClosesItAndOneMoreEscapeEndsTheProgram) {
    StartProgram();
    const std::string home = Xdo("search --sync --onlyvisible --name '^Tintorama$'");
    ASSERT_FALSE(home.empty()) << "the home screen never appeared";
    ASSERT_EQ(home.find('\n'), std::string::npos) << "more than one home screen: " << home;
    ASSERT_TRUE(sdl_test::WaitFor([&] { return Xdo("getwindowfocus") == home; }, 10))
        << "the home screen never had the keyboard";
    const Geometry g = GeometryOf(home);
    ASSERT_EQ(g.width, 700);  // 698 x 465 inside a one-pixel border
    ASSERT_EQ(g.height, 467);

    // The music button (template 203, 160, 64, 21 dialog units) at its centre.
    const int x = g.x + 1 + 305 + 96 / 2, y = g.y + 1 + 260 + 34 / 2;
    Xdo("mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1");
    std::string list;
    ASSERT_TRUE(sdl_test::WaitFor([&] { return !(list = VisibleOfSize(300, 297)).empty(); }, 15))
        << "the music list did not open on a click";
    ASSERT_TRUE(sdl_test::WaitFor([&] { return Xdo("getwindowfocus") == list; }, 10))
        << "the music list does not have the keyboard";
    // Centred over the home screen.
    const Geometry l = GeometryOf(list);
    EXPECT_NEAR(l.x + l.width / 2, g.x + g.width / 2, 2);
    EXPECT_NEAR(l.y + l.height / 2, g.y + g.height / 2, 2);

    Xdo("key Escape");
    EXPECT_TRUE(sdl_test::WaitFor([&] { return VisibleOfSize(300, 297).empty(); }, 10))
        << "Escape did not close the music list";
    EXPECT_TRUE(sdl_test::WaitFor([&] { return Xdo("getwindowfocus") == home; }, 10))
        << "the keyboard did not come back to the home screen: " << Xdo("getwindowfocus");
    ASSERT_TRUE(Running());

    Xdo("key Escape");
    EXPECT_EQ(WaitForExit(15), 0) << "one Escape did not end the program";
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, SdlProgram, ::testing::Values("none", "openbox"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
