#include <string>

#include "controls/message_box_layout.h"
#include "ctl_helpers.h"

using win::controls::LayOutMessageBox;
using win::controls::MessageBoxButtons;

namespace {

std::string TextOf(HWND hwnd) {
    char buffer[512] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

}  // namespace

TEST(MessageBoxLayout, ButtonsAndGeometry) {
    auto yesNoCancel = MessageBoxButtons(MB_YESNOCANCEL);
    ASSERT_EQ(yesNoCancel.size(), 3u);
    EXPECT_EQ(yesNoCancel[0].id, IDYES);
    EXPECT_EQ(yesNoCancel[2].id, IDCANCEL);
    EXPECT_EQ(win::controls::MessageBoxDefault(MB_YESNO | MB_DEFBUTTON2, 2), 1);
    EXPECT_EQ(win::controls::MessageBoxDefault(MB_OK | MB_DEFBUTTON3, 1), 0);
    EXPECT_EQ(win::controls::MessageBoxEscape(MB_YESNO), 0);
    EXPECT_EQ(win::controls::MessageBoxEscape(MB_OK), IDOK);

    auto withIcon = LayOutMessageBox(SIZE{200, 40}, true, 3, 0);
    auto plain = LayOutMessageBox(SIZE{200, 40}, false, 3, 0);
    EXPECT_GT(withIcon.text.left, withIcon.icon.right);
    EXPECT_LT(plain.text.left, withIcon.text.left);
    ASSERT_EQ(withIcon.buttons.size(), 3u);
    for (size_t i = 1; i < 3; ++i)
        EXPECT_GT(withIcon.buttons[i].left, withIcon.buttons[i - 1].right);
    // The buttons sit below the text and inside the box, centred.
    EXPECT_GE(withIcon.buttons[0].top, withIcon.text.bottom);
    EXPECT_LE(withIcon.buttons[2].right, withIcon.client.cx);
    EXPECT_EQ(withIcon.buttons[0].left, withIcon.client.cx - withIcon.buttons[2].right);
    // A long caption widens the box.
    EXPECT_GT(LayOutMessageBox(SIZE{50, 13}, false, 1, 500).client.cx, plain.client.cx);
}

class MessageBoxTest : public ControlTest {};

TEST_F(MessageBoxTest, AnsweredByButtonAndKeys) {
    std::string seenText, seenTitle;
    bool ownerDisabled = false;
    headless::WhenTopLevelAppears(headless::kMessageBoxClass, [&](HWND box) {
        seenTitle = TextOf(box);
        seenText = TextOf(GetDlgItem(box, 0xFFFF));
        ownerDisabled = !IsWindowEnabled(parent);
        SendMessageA(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(MessageBoxA(parent, "Save your picture?\nIt is not saved yet.", "Colouring",
                          MB_YESNO | MB_ICONQUESTION),
              IDNO);
    EXPECT_EQ(seenTitle, "Colouring");
    EXPECT_EQ(seenText, "Save your picture?\nIt is not saved yet.");
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(parent));
    for (auto& t : headless::TopLevelWindows()) EXPECT_NE(t.className, headless::kMessageBoxClass);

    // Enter takes the default button, MB_DEFBUTTON2 here.
    headless::WhenTopLevelAppears(headless::kMessageBoxClass,
                                  [](HWND) { headless::KeyPress(VK_RETURN); });
    EXPECT_EQ(MessageBoxA(parent, "Replace?", "Save", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);

    // Escape is Cancel; a lone OK button answers IDOK to Escape.
    headless::WhenTopLevelAppears(headless::kMessageBoxClass,
                                  [](HWND) { headless::KeyPress(VK_ESCAPE); });
    EXPECT_EQ(MessageBoxA(parent, "Go on?", "Q", MB_OKCANCEL), IDCANCEL);
    headless::WhenTopLevelAppears(headless::kMessageBoxClass,
                                  [](HWND) { headless::KeyPress(VK_ESCAPE); });
    EXPECT_EQ(MessageBoxA(nullptr, "Done.", "Info", MB_OK | MB_ICONINFORMATION), IDOK);

    // Tab moves to the next button before Enter.
    headless::WhenTopLevelAppears(headless::kMessageBoxClass, [](HWND) {
        headless::KeyPress(VK_TAB);
        headless::KeyPress(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxA(parent, "Go on?", "Q", MB_OKCANCEL), IDCANCEL);
}

TEST_F(MessageBoxTest, WithoutOwnerOtherWindowsStayEnabledAndIconIsDrawn) {
    bool parentEnabled = false;
    COLORREF iconPixel = CLR_INVALID;
    headless::WhenTopLevelAppears(headless::kMessageBoxClass, [&](HWND box) {
        parentEnabled = IsWindowEnabled(parent);
        UpdateWindow(box);
        iconPixel =
            headless::PixelAt(box, 12 + 16, 12 + 4);  // inside the red disc, above the cross
        headless::Click(1, 1);                        // outside: nothing happens
        headless::WhenTopLevelAppears(headless::kMessageBoxClass, [](HWND b) {
            SendMessageA(GetDlgItem(b, IDOK), BM_CLICK, 0, 0);
        });
    });
    EXPECT_EQ(
        MessageBoxA(nullptr, "The picture could not be saved.", "Error", MB_OK | MB_ICONERROR),
        IDOK);
    EXPECT_TRUE(parentEnabled);
    EXPECT_EQ(iconPixel, RGB(255, 0, 0));
}
