// A window at 2× in a real window under a private Xvfb server: the native
// window is twice the core's, the screen the program sees is half the real
// one, and a click at the doubled position of a button reaches that button.
#include <atomic>
#include <string>
#include <vector>

#include "xvfb_fixture.h"

namespace {

std::vector<int> gClicked;

LRESULT CALLBACK Panel(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) gClicked.push_back(LOWORD(wParam));
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Runs the user-interface thread's messages until `done` or `seconds` pass.
bool PumpUntil(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    MSG msg;
    while (!done() && std::chrono::steady_clock::now() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return done();
}

class SdlScale : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool"})
            if (!sdl_test::OnPath(tool)) GTEST_SKIP() << tool << " is not installed";
        std::string why;
        ASSERT_TRUE(x_.Start("1280x960x24", nullptr, &why)) << why;
        win::sdl::Options options;
        options.scale = 2;
        std::string error;
        std::unique_ptr<win::core::Backend> backend;
        for (int i = 0; i < 50 && !backend; ++i) {
            backend = win::sdl::CreateBackend(&error, options);
            if (!backend) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ASSERT_TRUE(backend) << error;
        win::core::InstallBackend(std::move(backend));
    }
    void TearDown() override {
        if (panel_) DestroyWindow(panel_);
        win::core::InstallBackend(win::core::CreateHeadlessBackend());
        x_.Stop();
    }

    sdl_test::XServer x_;
    HWND panel_ = nullptr;
};

TEST_F(SdlScale, AClickAtTheDoubledPositionReachesTheRightButton) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);

    WNDCLASSA wc{};
    wc.lpfnWndProc = Panel;
    wc.lpszClassName = "SdlScalePanel";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&wc);
    panel_ = CreateWindowExA(0, "SdlScalePanel", "scaled panel", WS_POPUP, 50, 40, 200, 100,
                             nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(panel_);
    // Two buttons side by side: a click mapped without the factor, or with
    // it twice, lands on the other one or on neither.
    for (int id : {1, 2})
        ASSERT_TRUE(CreateWindowExA(0, "BUTTON", id == 1 ? "One" : "Two",
                                    WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, id == 1 ? 10 : 110, 10,
                                    80, 40, panel_, reinterpret_cast<HMENU>(INT_PTR(id)), nullptr,
                                    nullptr));
    ShowWindow(panel_, SW_SHOW);
    SetActiveWindow(panel_);

    std::string id;
    PumpUntil(
        [&] {
            id = sdl_test::Output("timeout 20 xdotool search --onlyvisible --classname test_sdl");
            return !id.empty();
        },
        10);
    ASSERT_FALSE(id.empty()) << "the native window did not appear";
    const std::string shell =
        sdl_test::Output("timeout 20 xdotool getwindowgeometry --shell " + id);
    EXPECT_NE(shell.find("X=100\n"), std::string::npos) << shell;
    EXPECT_NE(shell.find("Y=80\n"), std::string::npos) << shell;
    EXPECT_NE(shell.find("WIDTH=400\n"), std::string::npos) << shell;
    EXPECT_NE(shell.find("HEIGHT=200"), std::string::npos) << shell;
    PumpUntil([] { return false; }, 0.3);

    // The second button's middle: (50 + 150, 40 + 30) in the program's
    // pixels, (400, 140) on the real screen.
    std::system("timeout 20 xdotool mousemove --sync 400 140 click 1");
    ASSERT_TRUE(PumpUntil([] { return !gClicked.empty(); }, 10)) << "no button was clicked";
    EXPECT_EQ(gClicked, std::vector<int>{2});

    // The first button's, at the far corner of its last doubled pixel.
    std::system("timeout 20 xdotool mousemove --sync 279 179 click 1");
    ASSERT_TRUE(PumpUntil([] { return gClicked.size() == 2; }, 10));
    EXPECT_EQ(gClicked, (std::vector<int>{2, 1}));

    // Where the program's own pixels of the second button would be on an
    // unscaled screen lies outside the native window: nothing is clicked.
    std::system("timeout 20 xdotool mousemove --sync 200 70 click 1");
    PumpUntil([] { return gClicked.size() > 2; }, 1.0);
    EXPECT_EQ(gClicked.size(), 2u);

    // What the screen shows is the panel doubled: between the buttons
    // (program x 100) it is white, a button's face (program x 50) is not.
    if (!sdl_test::OnPath("import")) return;
    auto colour = [](int x, int y) {
        return sdl_test::Output("timeout 20 import -window root -crop 1x1+" + std::to_string(x) +
                                "+" + std::to_string(y) + " txt:- | tail -1");
    };
    EXPECT_NE(colour(300, 120).find("#FFFFFF"), std::string::npos) << colour(300, 120);
    EXPECT_EQ(colour(200, 120).find("#FFFFFF"), std::string::npos) << colour(200, 120);
    EXPECT_EQ(colour(200, 120), colour(201, 121)) << "one program pixel, two by two native ones";
}

}  // namespace
