#include "ctl_helpers.h"

using Ints = std::vector<int>;

class ButtonTest : public ControlTest {};

TEST_F(ButtonTest, ClicksOnlyOnReleaseOverItselfAfterPressOnItself) {
    HWND b = Control("BUTTON", "OK", BS_PUSHBUTTON, 10, 20, 20, 80, 24);
    POINT in = Screen(b, 40, 12), out = Screen(b, 200, 12);

    headless::MouseDown(in.x, in.y);
    Pump();
    EXPECT_EQ(GetCapture(), b);
    EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_TRUE(Codes(10).empty());
    headless::MouseUp(in.x, in.y);
    Pump();
    EXPECT_EQ(Codes(10), Ints{BN_CLICKED});
    EXPECT_EQ(GetCapture(), nullptr);

    // Dragged off before the release: no click, drawn up again.
    notifications.clear();
    headless::MouseDown(in.x, in.y);
    Pump();  // the capture is taken before the pointer moves
    headless::MouseMove(out.x, out.y);
    Pump();
    EXPECT_FALSE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
    headless::MouseUp(out.x, out.y);
    Pump();
    EXPECT_TRUE(Codes(10).empty());

    // Pressed elsewhere, released over the button: no click either.
    headless::MouseDown(out.x, out.y);
    headless::MouseUp(in.x, in.y);
    Pump();
    EXPECT_TRUE(Codes(10).empty());
}

TEST_F(ButtonTest, SpaceBarAndBmClickAndDisabled) {
    HWND b = Control("BUTTON", "Go", BS_PUSHBUTTON, 11, 20, 20, 80, 24);
    SetFocus(b);
    headless::KeyDown(VK_SPACE);
    Pump();
    EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
    headless::KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(Codes(11), Ints{BN_CLICKED});

    SendMessageA(b, BM_CLICK, 0, 0);
    EXPECT_EQ(Codes(11).size(), 2u);

    EnableWindow(b, FALSE);
    notifications.clear();
    ClickAt(b, 40, 12);
    SendMessageA(b, BM_CLICK, 0, 0);
    EXPECT_TRUE(Codes(11).empty());
}

TEST_F(ButtonTest, CheckBoxes) {
    HWND autoBox = Control("BUTTON", "Sound", BS_AUTOCHECKBOX, 12, 20, 20, 120, 20);
    HWND plainBox = Control("BUTTON", "Music", BS_CHECKBOX, 13, 20, 50, 120, 20);
    EXPECT_EQ(SendMessageA(autoBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ClickAt(autoBox, 5, 10);
    EXPECT_EQ(SendMessageA(autoBox, BM_GETCHECK, 0, 0), BST_CHECKED);
    ClickAt(autoBox, 5, 10);
    EXPECT_EQ(SendMessageA(autoBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Codes(12), (Ints{BN_CLICKED, BN_CLICKED}));

    // A plain check box tells its parent and leaves its state to it.
    ClickAt(plainBox, 5, 10);
    EXPECT_EQ(Codes(13), Ints{BN_CLICKED});
    EXPECT_EQ(SendMessageA(plainBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(plainBox, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(plainBox, BM_GETCHECK, 0, 0), BST_CHECKED);
    Pump();
    // The tick is drawn in the window-text colour inside the white box.
    bool tick = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 2; x < 11; ++x)
            tick = tick || headless::PixelAt(plainBox, x, y) == GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_TRUE(tick);
}

TEST_F(ButtonTest, DialogCodesFollowTheStyle) {
    HWND push = Control("BUTTON", "A", BS_PUSHBUTTON, 14, 20, 20, 80, 24);
    HWND def = Control("BUTTON", "B", BS_DEFPUSHBUTTON, 15, 120, 20, 80, 24);
    HWND group = Control("BUTTON", "G", BS_GROUPBOX, 16, 20, 60, 200, 80);
    HWND check = Control("BUTTON", "C", BS_AUTOCHECKBOX, 17, 20, 150, 80, 20);
    EXPECT_EQ(SendMessageA(push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(SendMessageA(def, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(SendMessageA(group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    EXPECT_EQ(SendMessageA(check, WM_GETDLGCODE, 0, 0), DLGC_BUTTON);

    // The default button wears a black frame; BM_SETSTYLE takes it away.
    Pump();
    EXPECT_EQ(headless::PixelAt(def, 0, 0), RGB(0, 0, 0));
    EXPECT_NE(headless::PixelAt(push, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(headless::PixelAt(push, 4, 4), GetSysColor(COLOR_BTNFACE));
    SendMessageA(def, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    Pump();
    EXPECT_EQ(SendMessageA(def, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    EXPECT_NE(headless::PixelAt(def, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetWindowLongA(def, GWL_STYLE) & WS_VISIBLE, WS_VISIBLE);

    // A group box is not clickable.
    ClickAt(group, 100, 40);
    EXPECT_TRUE(Codes(16).empty());
}

TEST_F(ButtonTest, OwnerDrawnStates) {
    HWND b = Control("BUTTON", "", BS_OWNERDRAW, 18, 20, 20, 60, 40);
    ASSERT_FALSE(drawStates.empty());
    EXPECT_EQ(drawStates.back(), 0u);
    EXPECT_EQ(headless::PixelAt(b, 30, 20), RGB(0, 255, 0));

    POINT in = Screen(b, 30, 20);
    headless::MouseDown(in.x, in.y);
    Pump();
    EXPECT_EQ(drawStates.back(), UINT(ODS_SELECTED | ODS_FOCUS));
    EXPECT_EQ(headless::PixelAt(b, 30, 20), RGB(255, 0, 0));
    headless::MouseUp(in.x, in.y);
    Pump();
    EXPECT_EQ(drawStates.back(), UINT(ODS_FOCUS));
    EXPECT_EQ(Codes(18), Ints{BN_CLICKED});

    EnableWindow(b, FALSE);
    Pump();
    EXPECT_TRUE(drawStates.back() & ODS_DISABLED);
}
