// The dialog manager: templates to pixels, initialisation, the modal loop
// and its keyboard interface, and templates that cannot be built.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "backends/headless/headless.h"

namespace {

constexpr const char* kControl = "DlgTestControl";

// Builds a template in the classic in-memory format.
class TemplateBuilder {
public:
    TemplateBuilder(DWORD style, short x, short y, short cx, short cy, const char* title) {
        Dword(style);
        Dword(0);
        countAt_ = words_.size();
        Word(0);
        Word(WORD(x)), Word(WORD(y)), Word(WORD(cx)), Word(WORD(cy));
        Word(0);  // no menu
        Word(0);  // the dialog class
        String(title);
    }
    TemplateBuilder& Item(const char* cls, const char* text, int id, DWORD style, short x, short y,
                          short cx, short cy) {
        if (words_.size() % 2) Word(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(WORD(x)), Word(WORD(y)), Word(WORD(cx)), Word(WORD(cy));
        Word(WORD(id));
        String(cls);
        String(text);
        Word(0);  // no creation data
        ++words_[countAt_];
        return *this;
    }
    const void* data() {
        words_.resize(words_.size() + 8, 0);  // padding a reader may align into
        return words_.data();
    }

private:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
    void String(const char* s) {
        while (*s) Word(WORD(static_cast<unsigned char>(*s++)));
        Word(0);
    }
    std::vector<WORD> words_;
    size_t countAt_ = 0;
};

struct Log {
    std::vector<UINT> messages;
    LPARAM initParam = 0;
    HWND initFocus = nullptr;
    int fontsSet = 0;
    bool ownerEnabledDuringCommand = true;
    HWND owner = nullptr;
    std::vector<UINT> keysToPress;
    int clickId = 0;  // a control to click once the dialog is up
} gLog;

// Input for a modal loop is injected once it waits for messages, when the
// dialog is up and has the focus.
std::deque<std::function<void()>> gActions;
void Later(std::function<void()> action) { gActions.push_back(std::move(action)); }

LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFONT: ++gLog.fontsSet; return 0;
        case WM_LBUTTONUP:
            SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                         reinterpret_cast<LPARAM>(hwnd));
            return 0;
        default: return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    gLog.messages.push_back(message);
    switch (message) {
        case WM_INITDIALOG:
            gLog.initParam = lParam;
            for (UINT key : gLog.keysToPress) Later([key] { headless::KeyPress(key); });
            if (gLog.clickId) {
                Later([dialog] {
                    RECT r;
                    GetWindowRect(GetDlgItem(dialog, gLog.clickId), &r);
                    headless::Click(r.left + 2, r.top + 2);
                });
            }
            return TRUE;
        case WM_COMMAND:
            if (gLog.owner) gLog.ownerEnabledDuringCommand = IsWindowEnabled(gLog.owner) != FALSE;
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        default: return FALSE;
    }
}

class DialogManager : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = ControlProc;
            wc.lpszClassName = kControl;
            return RegisterClassA(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        gLog = Log{};
        // A modal loop with nothing left to do would wait for ever: end it.
        gActions.clear();
        headless::SetIdleHandler([] {
            if (!gActions.empty()) {
                auto action = std::move(gActions.front());
                gActions.pop_front();
                action();
                return true;
            }
            if (HWND active = GetActiveWindow(); active && IsWindow(active)) EndDialog(active, -7);
            return true;
        });
        headless::RunUntilIdle();
    }
    void TearDown() override {
        headless::SetIdleHandler(nullptr);
        for (HWND h : made_)
            if (IsWindow(h)) DestroyWindow(h);
        headless::RunUntilIdle();
    }
    HWND Keep(HWND h) {
        made_.push_back(h);
        return h;
    }
    std::vector<HWND> made_;
};

TEST_F(DialogManager, DialogUnitsBecomePixelsAndTheTemplateSizeIsTheClientSize) {
    TemplateBuilder t(WS_POPUP | WS_BORDER | WS_VISIBLE, 10, 20, 100, 50, "Geometry");
    t.Item(kControl, "first", 101, WS_TABSTOP, 7, 5, 50, 14)
        .Item(kControl, "second", 102, WS_TABSTOP, 60, 30, 30, 10);
    HWND dialog = Keep(CreateDialogIndirectParamA(nullptr, t.data(), nullptr, RecordingProc, 1234));
    ASSERT_NE(dialog, nullptr);
    RECT client, window;
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &window);
    EXPECT_EQ(client.right, 150);  // 100 * 6 / 4
    EXPECT_EQ(client.bottom, 81);  // 50 * 13 / 8 = 81.25
    EXPECT_EQ(window.left, 15);
    EXPECT_EQ(window.top, 33);                   // 20 * 13 / 8 = 32.5 rounds up
    EXPECT_EQ(window.right - window.left, 152);  // a pixel of border each side
    EXPECT_EQ(window.bottom - window.top, 83);

    HWND first = GetDlgItem(dialog, 101);
    ASSERT_NE(first, nullptr);
    RECT item;
    GetWindowRect(first, &item);
    EXPECT_EQ(item.left - window.left - 1, 11);  // 7 * 6 / 4 = 10.5
    EXPECT_EQ(item.top - window.top - 1, 8);     // 5 * 13 / 8 = 8.125
    EXPECT_EQ(item.right - item.left, 75);
    EXPECT_EQ(item.bottom - item.top, 23);  // 14 * 13 / 8 = 22.75

    // Initialisation: the parameter, a font for every control, focus on the
    // first tab stop, and the window shown as the template asks.
    EXPECT_EQ(gLog.initParam, 1234);
    EXPECT_EQ(gLog.fontsSet, 2);
    EXPECT_EQ(GetFocus(), first);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_NE(SendMessageA(dialog, WM_GETFONT, 0, 0), 0);

    RECT units{4, 8, 8, 16};
    ASSERT_TRUE(MapDialogRect(dialog, &units));
    EXPECT_EQ(units.left, 6);
    EXPECT_EQ(units.top, 13);
    EXPECT_EQ(units.right, 12);
    EXPECT_EQ(units.bottom, 26);
    EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(6, 13));
}

TEST_F(DialogManager, ItemTextHelpersReachTheControls) {
    TemplateBuilder t(WS_POPUP, 0, 0, 80, 40, "Items");
    t.Item(kControl, "old", 5, WS_TABSTOP, 0, 0, 20, 10);
    HWND dialog = Keep(CreateDialogIndirectParamA(nullptr, t.data(), nullptr, nullptr, 0));
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowVisible(dialog));
    char text[8];
    EXPECT_EQ(GetDlgItemTextA(dialog, 5, text, sizeof text), 3u);
    EXPECT_STREQ(text, "old");
    ASSERT_TRUE(SetDlgItemTextA(dialog, 5, "-42"));
    BOOL ok = FALSE;
    EXPECT_EQ(int(GetDlgItemInt(dialog, 5, &ok, TRUE)), -42);
    EXPECT_TRUE(ok);
    GetDlgItemInt(dialog, 5, &ok, FALSE);  // negative is no unsigned number
    EXPECT_FALSE(ok);
    SetDlgItemTextA(dialog, 5, "12x");
    GetDlgItemInt(dialog, 5, &ok, TRUE);
    EXPECT_FALSE(ok);
    EXPECT_EQ(GetDlgItemTextA(dialog, 99, text, sizeof text), 0u);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(SendDlgItemMessageA(dialog, 99, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 5, WM_GETTEXTLENGTH, 0, 0), 3);
}

TEST_F(DialogManager, CentredDialogsSitInTheMiddleOfTheScreen) {
    TemplateBuilder t(WS_POPUP | DS_CENTER, 0, 0, 200, 100, "Centre");
    HWND dialog = Keep(CreateDialogIndirectParamA(nullptr, t.data(), nullptr, nullptr, 0));
    ASSERT_NE(dialog, nullptr);
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, (1024 - 300) / 2);
    EXPECT_EQ(r.top, (768 - 163) / 2);
}

TEST_F(DialogManager, TemplatesThatCannotBeBuiltAreRefused) {
    TemplateBuilder missing(WS_POPUP, 0, 0, 50, 50, "Missing");
    missing.Item("NoSuchClass", "", 1, 0, 0, 0, 10, 10);
    EXPECT_EQ(CreateDialogIndirectParamA(nullptr, missing.data(), nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "Missing"), nullptr);  // nothing left behind
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, missing.data(), nullptr, nullptr, 0), -1);
    EXPECT_EQ(CreateDialogIndirectParamA(nullptr, nullptr, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(DialogBoxParamA(nullptr, "NO_SUCH_DIALOG", nullptr, nullptr, 0), -1);
    EXPECT_FALSE(EndDialog(nullptr, 1));
}

class ModalDialog : public DialogManager {
protected:
    INT_PTR Run(DWORD extraStyle = 0) {
        owner_ = Keep(CreateWindowExA(0, kControl, "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300,
                                      nullptr, nullptr, nullptr, nullptr));
        gLog.owner = owner_;
        TemplateBuilder t(WS_POPUP | WS_VISIBLE | extraStyle, 10, 10, 120, 60, "Modal");
        t.Item(kControl, "Yes", 11, WS_TABSTOP, 5, 5, 40, 14)
            .Item(kControl, "No", 12, WS_TABSTOP, 50, 5, 40, 14);
        return DialogBoxIndirectParamA(nullptr, t.data(), owner_, RecordingProc, 0);
    }
    HWND owner_ = nullptr;
};

TEST_F(ModalDialog, EnterAndEscapeEndTheLoopWithOkAndCancel) {
    gLog.keysToPress = {VK_RETURN};
    EXPECT_EQ(Run(), IDOK);
    EXPECT_FALSE(gLog.ownerEnabledDuringCommand);
    EXPECT_TRUE(IsWindowEnabled(owner_));  // enabled again afterwards
    EXPECT_EQ(FindWindowA(nullptr, "Modal"), nullptr);

    gLog = Log{};
    gLog.keysToPress = {VK_ESCAPE};
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(ModalDialog, AClickedControlEndsTheLoopWithItsId) {
    gLog.clickId = 12;
    EXPECT_EQ(Run(), 12);
}

TEST_F(ModalDialog, TabMovesFocusSoEnterUsesTheDefaultId) {
    // Enter on a control that is no push button clicks the default id.
    struct SetDef {
        static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_INITDIALOG) {
                SendMessageA(dialog, DM_SETDEFID, 12, 0);
                EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(12, DC_HASDEFID));
                Later([] { headless::KeyPress(VK_TAB); });
                Later([] { headless::KeyPress(VK_RETURN); });
                return TRUE;
            }
            if (message == WM_COMMAND) {
                EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 12));
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            (void)lParam;
            return FALSE;
        }
    };
    TemplateBuilder t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 50, "Tabs");
    t.Item(kControl, "a", 11, WS_TABSTOP, 0, 0, 20, 10)
        .Item(kControl, "b", 12, WS_TABSTOP, 30, 0, 20, 10);
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, t.data(), nullptr, SetDef::Proc, 0), 12);
}

TEST_F(ModalDialog, EndDialogDuringInitialisationSkipsTheLoop) {
    struct Early {
        static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM, LPARAM) {
            if (message == WM_INITDIALOG) EndDialog(dialog, 77);
            return FALSE;
        }
    };
    TemplateBuilder t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 50, "Early");
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, t.data(), nullptr, Early::Proc, 0), 77);
}

TEST_F(ModalDialog, NestedDialogsEndInnermostFirst) {
    struct Outer {
        static INT_PTR CALLBACK Inner(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
            if (message == WM_INITDIALOG) Later([] { headless::KeyPress(VK_ESCAPE); });
            if (message == WM_COMMAND) EndDialog(dialog, 100 + LOWORD(wParam));
            return message == WM_INITDIALOG || message == WM_COMMAND;
        }
        static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM, LPARAM) {
            if (message != WM_INITDIALOG) return FALSE;
            TemplateBuilder inner(WS_POPUP | WS_VISIBLE, 0, 0, 50, 30, "Inner");
            INT_PTR got = DialogBoxIndirectParamA(nullptr, inner.data(), dialog, Inner, 0);
            EXPECT_TRUE(IsWindowEnabled(dialog));
            EndDialog(dialog, got + 1000);
            return TRUE;
        }
    };
    TemplateBuilder t(WS_POPUP | WS_VISIBLE, 0, 0, 100, 50, "Outer");
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, t.data(), nullptr, Outer::Proc, 0),
              1000 + 100 + IDCANCEL);
}

}  // namespace
