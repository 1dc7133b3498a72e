// Dialogs opened from dialogs: who owns a dialog or message box made without
// a parent, which windows are disabled, who is active (and told to the
// backend as having the keyboard) when each one ends, where a modal dialog
// is placed, and what a press on a disabled owner brings forward.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

#include "backends/headless/headless.h"

namespace {

constexpr int kOpenBox = 1001;
constexpr int kOpenList = 1004;
constexpr UINT kHomeTemplate = 710;
constexpr UINT kScreenTemplate = 711;
constexpr UINT kListTemplate = 712;
constexpr UINT kPlacedTemplate = 713;

// Runs one step each time the thread is about to wait. When the steps are
// spent and a loop still waits, the test has gone wrong: WM_QUIT unwinds
// every modal loop so that it fails instead of hanging.
class Script {
public:
    explicit Script(std::deque<std::function<void()>> steps) : steps_(std::move(steps)) {
        headless::SetIdleHandler([this] {
            if (steps_.empty()) {
                if (quitPosted_) return false;
                quitPosted_ = true;
                PostQuitMessage(99);
                return true;
            }
            auto step = std::move(steps_.front());
            steps_.pop_front();
            step();
            return true;
        });
    }
    ~Script() {
        headless::SetIdleHandler(nullptr);
        MSG msg;  // a WM_QUIT left by the fallback must not end later loops
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    }
    bool Finished() const { return steps_.empty() && !quitPosted_; }

private:
    std::deque<std::function<void()>> steps_;
    bool quitPosted_ = false;
};

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("modal rules") {}
};

// The inner dialog: made without a parent, as the program's lists are.
class ListDialog : public CDialog {
public:
    ListDialog() : CDialog(kListTemplate) {}
};

// A screen over the main window: its buttons open the list and a message
// box, both without a parent.
class ScreenDialog : public CDialog {
public:
    explicit ScreenDialog(UINT id = kScreenTemplate, CWnd* parent = nullptr)
        : CDialog(id, parent) {}
    INT_PTR listResult = 0;
    int boxResult = 0;

protected:
    afx_msg void OnOpenList() {
        ListDialog list;
        listResult = list.DoModal();
    }
    afx_msg void OnOpenBox() { boxResult = AfxMessageBox("Saved.", MB_OKCANCEL); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ScreenDialog, CDialog)
ON_BN_CLICKED(kOpenList, &ScreenDialog::OnOpenList)
ON_BN_CLICKED(kOpenBox, &ScreenDialog::OnOpenBox)
END_MESSAGE_MAP()

// The visible dialog sized like the given template's window.
HWND VisibleOfSize(int width, int height) {
    for (const auto& w : headless::TopLevelWindows())
        if (w.visible && w.rect.right - w.rect.left == width &&
            w.rect.bottom - w.rect.top == height)
            return w.hwnd;
    return nullptr;
}

void ClickItem(HWND dialog, int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    headless::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The program's arrangement: a main window (like the home screen) that is
// up and active, and the application object naming it.
class ModalRules : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.Create(kHomeTemplate));
        home.ShowWindow(SW_SHOW);
        home.SetActiveWindow();
        app.m_pMainWnd = &home;
        headless::RunUntilIdle();
    }
    void TearDown() override {
        app.m_pMainWnd = nullptr;
        home.DestroyWindow();
        headless::RunUntilIdle();
    }

    TestApp app;
    CDialog home;
};

TEST_F(ModalRules, ADialogFromADialogIsOwnedByItAndEscapeWorksOnEachInTurn) {
    ScreenDialog screen;
    HWND screenHwnd = nullptr, listHwnd = nullptr;
    Script script({
        [&] {
            screenHwnd = VisibleOfSize(746, 540);
            ASSERT_TRUE(screenHwnd);
            EXPECT_EQ(GetWindow(screenHwnd, GW_OWNER), home.m_hWnd);
            EXPECT_FALSE(home.IsWindowEnabled());
            EXPECT_EQ(headless::NativeFocus(), screenHwnd);
            ClickItem(screenHwnd, kOpenList);
        },
        [&] {
            listHwnd = GetActiveWindow();
            ASSERT_NE(listHwnd, screenHwnd);
            // Owned by the screen (the main window's last active popup),
            // which is disabled beneath it; the main window stays disabled.
            EXPECT_EQ(GetWindow(listHwnd, GW_OWNER), screenHwnd);
            EXPECT_FALSE(IsWindowEnabled(screenHwnd));
            EXPECT_FALSE(home.IsWindowEnabled());
            EXPECT_EQ(GetLastActivePopup(home.m_hWnd), listHwnd);
            EXPECT_EQ(headless::NativeFocus(), listHwnd);
            // The screen beneath takes no clicks: a second list cannot open.
            ClickItem(screenHwnd, kOpenList);
        },
        [&] {
            EXPECT_EQ(GetActiveWindow(), listHwnd);
            headless::KeyPress(VK_ESCAPE);
        },
        [&] {
            // The list is gone: the screen is active again, has the keyboard
            // natively, and Escape reaches it.
            EXPECT_FALSE(IsWindow(listHwnd));
            EXPECT_EQ(GetActiveWindow(), screenHwnd);
            EXPECT_EQ(headless::NativeFocus(), screenHwnd);
            EXPECT_TRUE(IsWindowEnabled(screenHwnd));
            EXPECT_FALSE(home.IsWindowEnabled());
            EXPECT_TRUE(GetFocus() && IsChild(screenHwnd, GetFocus()));
            headless::KeyPress(VK_ESCAPE);
        },
    });
    EXPECT_EQ(screen.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(screen.listResult, IDCANCEL);
    // After DoModal the owner is active, and the backend was told so.
    EXPECT_TRUE(home.IsWindowEnabled());
    EXPECT_EQ(GetActiveWindow(), home.m_hWnd);
    EXPECT_EQ(headless::NativeFocus(), home.m_hWnd);
}

TEST_F(ModalRules, AMessageBoxWithoutAParentIsOwnedByTheInnermostDialog) {
    ScreenDialog screen;
    HWND screenHwnd = nullptr;
    HWND boxOwner = nullptr;
    bool screenDisabled = false;
    Script script({
        [&] {
            screenHwnd = GetActiveWindow();
            headless::WhenTopLevelAppears(headless::kMessageBoxClass, [&](HWND box) {
                boxOwner = GetWindow(box, GW_OWNER);
                screenDisabled = !IsWindowEnabled(screenHwnd);
                EXPECT_EQ(headless::NativeFocus(), box);
                PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            });
            ClickItem(screenHwnd, kOpenBox);
        },
        [&] {
            EXPECT_EQ(GetActiveWindow(), screenHwnd);
            EXPECT_EQ(headless::NativeFocus(), screenHwnd);
            headless::KeyPress(VK_ESCAPE);
        },
    });
    EXPECT_EQ(screen.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(boxOwner, screenHwnd);
    EXPECT_TRUE(screenDisabled);
    EXPECT_EQ(screen.boxResult, IDCANCEL);
}

TEST_F(ModalRules, GetSafeOwnerClimbsFromAChildToItsTopLevelWindow) {
    HWND button = GetDlgItem(home.m_hWnd, kOpenList);
    ASSERT_TRUE(button);
    HWND top = reinterpret_cast<HWND>(1);
    EXPECT_EQ(CWnd::GetSafeOwner_(button, &top), home.m_hWnd);
    EXPECT_EQ(top, nullptr);  // the owner is its own top: nothing more to disable
    EXPECT_EQ(CWnd::GetSafeOwner_(nullptr, nullptr), home.m_hWnd);
}

// Where a modal dialog opened over the main window is placed.
struct Placement {
    const char* name;
    UINT templateId;
    bool centred;
};

class ModalPlacement : public ModalRules, public ::testing::WithParamInterface<Placement> {};

TEST_P(ModalPlacement, HiddenDialogsWithADisabledOwnerAreCentredOnIt) {
    const Placement& p = GetParam();
    ScreenDialog dialog(p.templateId);
    RECT placed{};
    Script script({[&] {
        GetWindowRect(GetActiveWindow(), &placed);
        headless::KeyPress(VK_ESCAPE);
    }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    RECT owner;
    home.GetWindowRect(&owner);
    if (p.centred) {
        const POINT a = Centre(placed), b = Centre(owner);
        EXPECT_NEAR(a.x, b.x, 1);
        EXPECT_NEAR(a.y, b.y, 1);
    } else {
        // A template that gives its own position keeps it: relative to the
        // owner's client origin (inside the one-pixel border).
        EXPECT_EQ(placed.left, owner.left + 1 + 30);
        EXPECT_EQ(placed.top, owner.top + 1 + 16);
    }
    // Every placement stays on the screen.
    EXPECT_GE(placed.left, 0);
    EXPECT_GE(placed.top, 0);
    EXPECT_LE(placed.right, headless::ScreenSize().cx);
    EXPECT_LE(placed.bottom, headless::ScreenSize().cy);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, ModalPlacement,
    ::testing::Values(Placement{"ScreenLargerThanTheOwner", kScreenTemplate, true},
                      Placement{"SmallList", kListTemplate, true},
                      Placement{"TemplateWithItsOwnPosition", kPlacedTemplate, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModalRules, ADialogMovedDuringInitialisationStaysWhereItWasPut) {
    struct Moved : ListDialog {
        BOOL OnInitDialog() override {
            ListDialog::OnInitDialog();
            SetWindowPos(nullptr, 5, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            return TRUE;
        }
    } dialog;
    RECT placed{};
    Script script({[&] {
        GetWindowRect(GetActiveWindow(), &placed);
        headless::KeyPress(VK_ESCAPE);
    }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(placed.left, 5);
    EXPECT_EQ(placed.top, 7);
}

// A chain of modal windows made by hand: a press on the disabled first one
// brings the innermost one forward, with the keyboard.
LRESULT CALLBACK Plain(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(ModalChain, APressOnADisabledOwnerActivatesTheLastActivePopupOfTheChain) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Plain;
    wc.lpszClassName = "ModalChainPlain";
    RegisterClassA(&wc);
    auto make = [&](int x, HWND owner) {
        return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, x, 10, 100, 100,
                               owner, nullptr, nullptr, nullptr);
    };
    HWND first = make(10, nullptr);
    HWND second = make(200, first);
    HWND third = make(400, second);
    HWND other = make(600, nullptr);
    EnableWindow(first, FALSE);
    EnableWindow(second, FALSE);
    SetActiveWindow(third);
    EXPECT_EQ(GetLastActivePopup(first), third);
    EXPECT_EQ(GetLastActivePopup(second), third);
    EXPECT_EQ(GetLastActivePopup(other), other);
    SetActiveWindow(other);
    headless::RunUntilIdle();

    headless::Click(50, 50);  // on the first, disabled window
    headless::RunUntilIdle();
    EXPECT_EQ(GetActiveWindow(), third);
    EXPECT_EQ(headless::NativeFocus(), third);

    // The innermost window gone, its owner's chain ends at the owner.
    DestroyWindow(third);
    EXPECT_EQ(GetLastActivePopup(first), first);
    EXPECT_EQ(GetLastActivePopup(nullptr), nullptr);
    for (HWND h : {second, first, other}) DestroyWindow(h);
}

TEST(ModalChain, ActivationKeepsWindowsThatStayOnTopAboveTheRest) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Plain;
    wc.lpszClassName = "ModalChainTopmost";
    RegisterClassA(&wc);
    HWND normal = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND topmost = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP,
                                   50, 50, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(topmost, SW_SHOWNA);
    SetActiveWindow(normal);
    // A press where both overlap reaches the window that stays on top.
    EXPECT_EQ(WindowFromPoint({70, 70}), topmost);
    DestroyWindow(topmost);
    DestroyWindow(normal);
}

}  // namespace
