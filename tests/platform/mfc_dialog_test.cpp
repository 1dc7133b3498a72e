// The framework's dialogs on the headless backend: templates to pixels,
// the modal loop's results, message maps, reflection, data exchange and the
// owner-drawn button's states. Each test drives the modal loop with a
// script whose steps run whenever the loop is about to wait.
#include <afxdlgs.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "backends/headless/headless.h"

namespace {

constexpr int kOwner = 1001;
constexpr int kList = 1002;
constexpr int kCombo = 1003;
constexpr int kPlain = 1004;

// Runs one step each time the thread is about to wait for messages.
class Script {
public:
    explicit Script(std::deque<std::function<void()>> steps) : steps_(std::move(steps)) {
        headless::SetIdleHandler([this] {
            if (steps_.empty()) return false;
            auto step = std::move(steps_.front());
            steps_.pop_front();
            step();
            return true;
        });
    }
    ~Script() { headless::SetIdleHandler(nullptr); }
    bool Finished() const { return steps_.empty(); }

private:
    std::deque<std::function<void()>> steps_;
};

POINT CentreOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void ClickOn(HWND hwnd) {
    const POINT p = CentreOf(hwnd);
    headless::Click(p.x, p.y);
}

class ReflectingButton : public CButton {
public:
    std::vector<std::string>* log = nullptr;
    bool letParentRun = true;
    bool presubclassed = false;
    std::vector<UINT> drawnStates;

protected:
    void PreSubclassWindow() override { presubclassed = true; }
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        drawnStates.push_back(dis->itemState);
        CDC* dc = CDC::FromHandle(dis->hDC);
        dc->FillSolidRect(&dis->rcItem,
                          (dis->itemState & ODS_SELECTED) ? RGB(200, 0, 0) : RGB(0, 0, 200));
    }
    afx_msg BOOL OnClicked() {
        if (log) log->push_back("child");
        return !letParentRun;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingButton, CButton)
ON_CONTROL_REFLECT_EX(BN_CLICKED, &ReflectingButton::OnClicked)
END_MESSAGE_MAP()

// A button that takes its click for itself.
class GreedyButton : public CButton {
public:
    int clicks = 0;

protected:
    afx_msg void OnClicked() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(GreedyButton, CButton)
ON_CONTROL_REFLECT(BN_CLICKED, &GreedyButton::OnClicked)
END_MESSAGE_MAP()

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(700u) {}

    ReflectingButton m_btnOwner;
    GreedyButton m_btnPlain;
    CListBox m_list;
    CComboBox m_combo;
    std::vector<std::string> log;
    CRect ownerRect;
    CRect clientRect;
    HWND focusAfterInit = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, kOwner, m_btnOwner);
        DDX_Control(pDX, kPlain, m_btnPlain);
        DDX_Control(pDX, kList, m_list);
        DDX_Control(pDX, kCombo, m_combo);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_btnOwner.log = &log;
        GetClientRect(&clientRect);
        m_btnOwner.GetWindowRect(&ownerRect);
        ScreenToClient(&ownerRect);
        for (const char* item : {"apple", "banana", "cherry"}) {
            m_list.AddString(item);
            m_combo.AddString(item);
        }
        return TRUE;
    }
    afx_msg void OnOwnerClicked() { log.push_back("parent"); }
    afx_msg void OnPlainClicked() { log.push_back("plain parent"); }
    afx_msg void OnListDblClk() { log.push_back("dblclk " + std::to_string(m_list.GetCurSel())); }
    afx_msg void OnComboChange() { log.push_back("combo " + std::to_string(m_combo.GetCurSel())); }
    afx_msg void OnTimer(UINT_PTR id) {
        log.push_back("timer " + std::to_string(id));
        KillTimer(id);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
ON_BN_CLICKED(kOwner, &TestDialog::OnOwnerClicked)
ON_BN_CLICKED(kPlain, &TestDialog::OnPlainClicked)
ON_LBN_DBLCLK(kList, &TestDialog::OnListDblClk)
ON_CBN_SELCHANGE(kCombo, &TestDialog::OnComboChange)
ON_WM_TIMER()
END_MESSAGE_MAP()

HWND Item(const CDialog& dlg, int id) { return ::GetDlgItem(dlg.m_hWnd, id); }

}  // namespace

TEST(FrameworkDialog, TemplateUnitsBecomePixelsAndControlsAreBound) {
    TestDialog dlg;
    bool bound = false;
    Script script({[&] {
        bound = dlg.m_btnOwner.m_hWnd == Item(dlg, kOwner) &&
                CWnd::FromHandlePermanent(Item(dlg, kOwner)) == &dlg.m_btnOwner &&
                CWnd::FromHandle(dlg.m_hWnd) == &dlg;
        headless::KeyPress(VK_ESCAPE);
    }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(bound);
    EXPECT_TRUE(dlg.m_btnOwner.presubclassed);
    // 200 x 100 dialog units at base units 6 x 13, rounded.
    EXPECT_EQ(dlg.clientRect, CRect(0, 0, 300, 163));
    EXPECT_EQ(dlg.ownerRect, CRect(195, 16, 270, 49));
    // Once closed, neither the dialog nor its controls keep a window.
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_btnOwner.m_hWnd, nullptr);
}

TEST(FrameworkDialog, ModalResultsFromButtonsAndKeys) {
    {
        TestDialog dlg;
        Script script({[&] { ClickOn(Item(dlg, IDOK)); }});
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    {
        TestDialog dlg;
        Script script({[&] { ClickOn(Item(dlg, IDCANCEL)); }});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    {
        // Enter in the list box presses the default button.
        TestDialog dlg;
        Script script(
            {[&] { ::SetFocus(Item(dlg, kList)); }, [] { headless::KeyPress(VK_RETURN); }});
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    {
        TestDialog dlg;
        Script script({[] { headless::KeyPress(VK_ESCAPE); }});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
    {
        TestDialog dlg;
        Script script({[&] { dlg.EndDialog(42); }});
        EXPECT_EQ(dlg.DoModal(), 42);
    }
}

TEST(FrameworkDialog, OwnerIsDisabledWhileTheDialogRuns) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    CWnd* ownerWnd = CWnd::FromHandle(owner);
    struct Child : TestDialog {
        explicit Child(CWnd* parent) { m_pParentWnd = parent; }
    } dlg(ownerWnd);
    bool disabled = false;
    Script script({[&] {
        disabled = !IsWindowEnabled(owner);
        headless::KeyPress(VK_ESCAPE);
    }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

TEST(FrameworkDialog, ReflectedClickRunsInTheChildFirst) {
    TestDialog dlg;
    std::vector<std::string> first, second;
    int greedyClicks = 0;
    Script script({[&] { ClickOn(Item(dlg, kOwner)); },
                   [&] {
                       first = dlg.log;
                       dlg.log.clear();
                       dlg.m_btnOwner.letParentRun = false;
                       ClickOn(Item(dlg, kOwner));
                   },
                   [&] {
                       second = dlg.log;
                       dlg.log.clear();
                       ClickOn(Item(dlg, kPlain));
                   },
                   [&] {
                       greedyClicks = dlg.m_btnPlain.clicks;
                       headless::KeyPress(VK_ESCAPE);
                   }});
    dlg.DoModal();
    EXPECT_EQ(first, (std::vector<std::string>{"child", "parent"}));
    EXPECT_EQ(second, (std::vector<std::string>{"child"}));
    // ON_CONTROL_REFLECT keeps the notification from the parent.
    EXPECT_EQ(greedyClicks, 1);
    EXPECT_TRUE(dlg.log.empty());
}

TEST(FrameworkDialog, OwnerDrawnButtonGetsItsStates) {
    TestDialog dlg;
    bool sawSelected = false, sawDisabled = false, sawFocus = false;
    COLORREF pressedPixel = 0;
    Script script({[&] {
                       dlg.m_btnOwner.drawnStates.clear();
                       const POINT p = CentreOf(Item(dlg, kOwner));
                       headless::MouseDown(p.x, p.y);
                   },
                   [&] {
                       pressedPixel = headless::PixelAt(Item(dlg, kOwner), 5, 5);
                       const POINT p = CentreOf(Item(dlg, kOwner));
                       headless::MouseUp(p.x, p.y);
                   },
                   [&] {
                       for (UINT s : dlg.m_btnOwner.drawnStates) {
                           sawSelected |= (s & ODS_SELECTED) != 0;
                           sawFocus |= (s & ODS_FOCUS) != 0;
                       }
                       dlg.m_btnOwner.drawnStates.clear();
                       dlg.m_btnOwner.EnableWindow(FALSE);
                       dlg.m_btnOwner.UpdateWindow();
                   },
                   [&] {
                       for (UINT s : dlg.m_btnOwner.drawnStates)
                           sawDisabled |= (s & ODS_DISABLED) != 0;
                       headless::KeyPress(VK_ESCAPE);
                   }});
    dlg.DoModal();
    EXPECT_TRUE(sawSelected);
    EXPECT_TRUE(sawFocus);
    EXPECT_TRUE(sawDisabled);
    EXPECT_EQ(pressedPixel, RGB(200, 0, 0));
}

TEST(FrameworkDialog, ListAndComboNotifyThroughTheMap) {
    TestDialog dlg;
    int outOfRange = 0, noSelection = 0;
    Script script({[&] {
                       noSelection = dlg.m_list.GetCurSel();
                       outOfRange = dlg.m_combo.SetCurSel(7);
                       ::SetFocus(Item(dlg, kCombo));
                   },
                   [] { headless::KeyPress(VK_DOWN); },
                   [&] {
                       RECT item;
                       ::SendMessageA(Item(dlg, kList), LB_GETITEMRECT, 1,
                                      reinterpret_cast<LPARAM>(&item));
                       POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
                       ::ClientToScreen(Item(dlg, kList), &p);
                       headless::Click(p.x, p.y);
                       headless::AdvanceClock(50);
                       headless::Click(p.x, p.y);
                   },
                   [] { headless::KeyPress(VK_ESCAPE); }});
    dlg.DoModal();
    EXPECT_EQ(noSelection, LB_ERR);
    EXPECT_EQ(outOfRange, CB_ERR);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"combo 0", "dblclk 1"}));
}

TEST(FrameworkDialog, TimersReachTheMap) {
    TestDialog dlg;
    Script script({[&] { dlg.SetTimer(5, 10, nullptr); },
                   [] { Sleep(30); },  // timers run on the real clock
                   [] {}, [] { headless::KeyPress(VK_ESCAPE); }});
    dlg.DoModal();
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"timer 5"}));
}

TEST(FrameworkDialog, MissingTemplateFailsWithoutAWindow) {
    CDialog dlg(9999u);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

// ---------------------------------------------------------------------------

namespace {

class RecordingWnd : public CWnd {
public:
    std::vector<std::string> log;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        log.push_back(std::string("create ") + cs->lpszName);
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnLButtonDown(UINT, CPoint point) {
        log.push_back("down " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
    afx_msg LRESULT OnCustom(WPARAM wParam, LPARAM lParam) { return LRESULT(wParam + lParam); }
    afx_msg void OnDestroy() {
        log.push_back("destroy");
        CWnd::OnDestroy();
    }
    afx_msg void OnNotifyCode(NMHDR* header, LRESULT* result) {
        log.push_back("notify " + std::to_string(header->idFrom));
        *result = 9;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWnd, CWnd)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_DESTROY()
ON_MESSAGE(WM_APP + 1, &RecordingWnd::OnCustom)
ON_NOTIFY(77, 12, &RecordingWnd::OnNotifyCode)
END_MESSAGE_MAP()

}  // namespace

TEST(FrameworkWindow, CreatedWindowsRouteThroughTheirMap) {
    WNDCLASS wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.lpszClassName = "FrameworkTestWnd";
    ASSERT_TRUE(AfxRegisterClass(&wc));
    ASSERT_TRUE(AfxRegisterClass(&wc));  // a second registration is no failure
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "FrameworkTestWnd", "hello", WS_POPUP | WS_VISIBLE, 100, 100, 50,
                             50, nullptr, nullptr));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    headless::Click(110, 120);
    headless::RunUntilIdle();
    EXPECT_EQ(wnd.SendMessage(WM_APP + 1, 2, 3), 5);
    NMHDR header{nullptr, 12, 77};
    header.hwndFrom = wnd.m_hWnd;
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&header)), 9);
    HWND hwnd = wnd.m_hWnd;
    wnd.DestroyWindow();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    EXPECT_EQ(wnd.log,
              (std::vector<std::string>{"create hello", "down 10,20", "notify 12", "destroy"}));
}

TEST(FrameworkWindow, ForeignWindowsGetTemporaryWrappers) {
    HWND plain = CreateWindowExA(0, "STATIC", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    CWnd* wrapper = CWnd::FromHandle(plain);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(wrapper->m_hWnd, plain);
    EXPECT_EQ(CWnd::FromHandle(plain), wrapper);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    DestroyWindow(plain);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

// ---------------------------------------------------------------------------

namespace {

struct ExitCodeApp : CWinApp {
    bool initialised = false;
    BOOL InitInstance() override {
        initialised = true;
        AfxEnableControlContainer();
        Enable3dControls();
        return FALSE;
    }
    int ExitInstance() override { return 7; }
};

}  // namespace

TEST(FrameworkApp, InitInstanceFalseEndsWithExitInstance) {
    ExitCodeApp app;
    char name[] = "test";
    char headlessFlag[] = "--headless";
    char* argv[] = {name, headlessFlag, nullptr};
    EXPECT_EQ(AfxWinMain(2, argv), 7);
    EXPECT_TRUE(app.initialised);
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_NE(AfxGetInstanceHandle(), nullptr);
}

TEST(FrameworkApp, ResourceExceptionsAreThrownAsPointers) {
    try {
        AfxThrowResourceException();
        FAIL() << "no exception";
    } catch (CResourceException* e) {
        char text[64];
        EXPECT_TRUE(e->GetErrorMessage(text, sizeof text));
        EXPECT_GT(std::string(text).size(), 0u);
        e->Delete();
    }
}

// ---------------------------------------------------------------------------

TEST(FrameworkFileDialog, FilterAndDefaultExtensionReachTheSaveDialog) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(testing::TempDir()) / ("mfc_save_" + std::to_string(getpid()));
    fs::create_directories(folder);
    setenv("XDG_PICTURES_DIR", folder.c_str(), 1);
    CFileDialog dlg(FALSE, "bmp", "picture", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "Bitmap pictures (*.bmp)|*.bmp|All files (*.*)|*.*||");
    headless::WhenTopLevelAppears(headless::kFileDialogClass,
                                  [](HWND) { headless::KeyPress(VK_RETURN); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(std::string(dlg.GetPathName()), (folder / "picture.bmp").string());
    EXPECT_EQ(std::string(dlg.GetFileName()), "picture.bmp");
    EXPECT_EQ(std::string(dlg.GetFileExt()), "bmp");
    EXPECT_EQ(std::string(dlg.GetFileTitle()), "picture");

    CFileDialog cancelled(FALSE, "bmp");
    headless::WhenTopLevelAppears(headless::kFileDialogClass,
                                  [](HWND) { headless::KeyPress(VK_ESCAPE); });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    unsetenv("XDG_PICTURES_DIR");
    fs::remove_all(folder);
}
