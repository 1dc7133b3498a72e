// A framework dialog in a real window: built from its template, shown by the
// SDL2 backend on a private X server, and closed by a real click.
#include <afxwin.h>

#include <atomic>
#include <string>
#include <thread>

#include "xvfb_fixture.h"

namespace {

// The OK button's centre is read once the dialog is up: a modal dialog is
// centred after its initialisation.
CPoint OkCentre(HWND dialog) {
    RECT ok{};
    ::GetWindowRect(::GetDlgItem(dialog, IDOK), &ok);
    return CPoint((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
}

class SdlDialog : public sdl_test::XvfbTest {};

}  // namespace

TEST_F(SdlDialog, OpensInARealWindowAndTakesARealClick) {
    if (!sdl_test::OnPath("xdotool")) GTEST_SKIP() << "xdotool is not installed";
    CDialog dlg(700u);
    std::atomic<bool> done{false};
    // Clicks OK from outside the program once the window is up; gives up
    // with Cancel so a lost click fails the test instead of hanging it.
    std::thread user([&] {
        for (int i = 0; i < 50 && !done && !IsWindowVisible(dlg.m_hWnd); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const CPoint okCentre = OkCentre(dlg.m_hWnd);
        const std::string click = "xdotool mousemove " + std::to_string(okCentre.x) + " " +
                                  std::to_string(okCentre.y) + " click 1";
        std::system(click.c_str());
        for (int i = 0; i < 100 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!done) PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    const INT_PTR result = dlg.DoModal();
    done = true;
    user.join();
    EXPECT_EQ(result, IDOK);
}
