// The keyboard and the drop-down list in real windows, driven from outside
// with xdotool, once on a bare X server and once under a window manager: a
// drop-down list opens on a click, takes a choice on a click and closes on a
// click outside every window, and the dialog keeps the keyboard all along;
// Space presses the focused button.
#include <afxwin.h>

#include <atomic>
#include <string>
#include <thread>

#include "xvfb_fixture.h"

namespace {

constexpr int kCombo = 1003;

class ComboDialog : public CDialog {
public:
    ComboDialog() : CDialog(700u) {}
    std::atomic<int> chosen{-1};
    std::atomic<int> changes{0};

protected:
    CComboBox m_combo;
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, kCombo, m_combo);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        for (const char* item : {"apple", "banana", "cherry"}) m_combo.AddString(item);
        return TRUE;
    }
    afx_msg void OnChange() {
        chosen = m_combo.GetCurSel();
        ++changes;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ComboDialog, CDialog)
ON_CBN_SELCHANGE(kCombo, &ComboDialog::OnChange)
END_MESSAGE_MAP()

// Which window manager runs: none, or a real one.
class SdlModalFocus : public sdl_test::XvfbTest, public ::testing::WithParamInterface<const char*> {
protected:
    const char* WindowManager() const override {
        return std::string(GetParam()) == "none" ? nullptr : GetParam();
    }
    void SetUp() override {
        if (!sdl_test::OnPath("xdotool")) GTEST_SKIP() << "xdotool is not installed";
        sdl_test::XvfbTest::SetUp();
    }
};

void Xdo(const std::string& command) {
    EXPECT_EQ(std::system(("timeout 20 " + command + " >/dev/null 2>&1").c_str()), 0) << command;
}

void ClickAt(int x, int y) {
    Xdo("xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

// The X window that has the keyboard shows the dialog: same size, same place.
bool DialogHasTheKeyboard(HWND dialog) {
    RECT r;
    if (!IsWindowVisible(dialog) || !GetWindowRect(dialog, &r)) return false;
    const std::string shell =
        sdl_test::Output("timeout 10 xdotool getwindowfocus getwindowgeometry --shell");
    return shell.find("WIDTH=" + std::to_string(r.right - r.left) + "\n") != std::string::npos &&
           shell.find("HEIGHT=" + std::to_string(r.bottom - r.top)) != std::string::npos;
}

HWND OpenList() {
    HWND list = FindWindowA("ComboLBox", nullptr);
    return list && IsWindowVisible(list) ? list : nullptr;
}

// Runs `user` on a thread of its own while the dialog's modal loop runs;
// whatever happens, the dialog ends (with `fallback`, the result the test
// does not expect), so a lost event fails the test instead of hanging it.
template <typename User>
INT_PTR RunWithUser(CDialog& dlg, int fallback, User user) {
    std::atomic<bool> done{false};
    std::thread thread([&] {
        if (sdl_test::WaitFor([&] { return dlg.m_hWnd && IsWindowVisible(dlg.m_hWnd); }, 20))
            user();
        sdl_test::WaitFor([&] { return done.load(); }, 20);
        if (!done) PostMessageA(dlg.m_hWnd, WM_COMMAND, fallback, 0);
    });
    const INT_PTR result = dlg.DoModal();
    done = true;
    thread.join();
    return result;
}

TEST_P(SdlModalFocus, ADropDownListOpensTakesAChoiceAndClosesOnAClickOutside) {
    ComboDialog dlg;
    const INT_PTR result = RunWithUser(dlg, IDOK, [&] {
        ASSERT_TRUE(sdl_test::WaitFor([&] { return DialogHasTheKeyboard(dlg.m_hWnd); }, 10));
        RECT field;
        GetWindowRect(GetDlgItem(dlg.m_hWnd, kCombo), &field);
        ClickAt((field.left + field.right) / 2, (field.top + field.bottom) / 2);
        ASSERT_TRUE(sdl_test::WaitFor([] { return OpenList() != nullptr; }, 10))
            << "the list did not open";
        // The list stays open, and the dialog keeps the keyboard under it.
        ASSERT_TRUE(sdl_test::WaitFor([&] { return DialogHasTheKeyboard(dlg.m_hWnd); }, 10));
        HWND list = OpenList();
        ASSERT_TRUE(list) << "the list closed by itself";
        RECT r;
        GetWindowRect(list, &r);
        const int itemHeight = (r.bottom - r.top - 2) / 3;
        ClickAt((r.left + r.right) / 2, r.top + 1 + itemHeight * 5 / 2);  // the third item
        EXPECT_TRUE(sdl_test::WaitFor([&] { return dlg.changes > 0 && !OpenList(); }, 10));
        EXPECT_EQ(dlg.chosen, 2);

        // Open again, then press outside every window of the program.
        ClickAt((field.left + field.right) / 2, (field.top + field.bottom) / 2);
        ASSERT_TRUE(sdl_test::WaitFor([] { return OpenList() != nullptr; }, 10))
            << "the list did not open again";
        ClickAt(GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5);
        EXPECT_TRUE(sdl_test::WaitFor([] { return OpenList() == nullptr; }, 10))
            << "the list stayed open";
        EXPECT_EQ(dlg.chosen, 2);
        EXPECT_EQ(dlg.changes, 1);
        // The keyboard is still the dialog's: Escape ends it.
        ASSERT_TRUE(sdl_test::WaitFor([&] { return DialogHasTheKeyboard(dlg.m_hWnd); }, 10));
        Xdo("xdotool key Escape");
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_P(SdlModalFocus, SpacePressesTheFocusedButton) {
    CDialog dlg(700u);  // OK is the first tab stop: it has the focus
    const INT_PTR result = RunWithUser(dlg, IDCANCEL, [&] {
        ASSERT_TRUE(sdl_test::WaitFor([&] { return DialogHasTheKeyboard(dlg.m_hWnd); }, 10));
        Xdo("xdotool key space");
    });
    EXPECT_EQ(result, IDOK);
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, SdlModalFocus, ::testing::Values("none", "openbox"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
