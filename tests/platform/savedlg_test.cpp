#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "controls/user_folders.h"
#include "ctl_helpers.h"

namespace fs = std::filesystem;

class SaveDialogTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        win::controls::RememberFileDialogFolder("");  // as at the program's start
        // One folder per process: CTest runs these tests side by side.
        folder = fs::path(testing::TempDir()) / ("savedlg_pictures_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "sub");
        std::FILE* f = std::fopen((folder / "old.pic").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
        setenv("XDG_PICTURES_DIR", folder.c_str(), 1);
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = parent;
        ofn.lpstrFilter = "Pictures (*.pic)\0*.pic\0All files\0*.*\0";
        ofn.lpstrFile = file;
        ofn.nMaxFile = sizeof file;
        ofn.lpstrDefExt = "pic";
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    }
    void TearDown() override {
        unsetenv("XDG_PICTURES_DIR");
        fs::remove_all(folder);
        ControlTest::TearDown();
    }
    static void Type(const char* text) {
        for (const char* p = text; *p; ++p) headless::TypeChar(static_cast<unsigned char>(*p));
    }

    fs::path folder;
    OPENFILENAMEA ofn{};
    char file[MAX_PATH] = "";
};

TEST_F(SaveDialogTest, TypedNameGetsTheDefaultExtensionInThePicturesFolder) {
    bool ownerDisabled = false;
    headless::WhenTopLevelAppears(headless::kFileDialogClass, [&](HWND) {
        ownerDisabled = !IsWindowEnabled(parent);
        Type("my drawing");
        headless::KeyPress(VK_BACK);
        Type("G");
        headless::KeyPress(VK_RETURN);
    });
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(std::string(file), (folder / "my drawinG.pic").string());
    EXPECT_EQ(std::string(file + ofn.nFileOffset), "my drawinG.pic");
    EXPECT_EQ(std::string(file + ofn.nFileExtension), "pic");
    EXPECT_EQ(ofn.nFilterIndex, 1u);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(parent));
}

TEST_F(SaveDialogTest, OverwritePromptAndCancel) {
    int prompts = 0;
    std::string promptText;
    headless::WhenTopLevelAppears(headless::kFileDialogClass, [&](HWND dialog) {
        headless::WhenTopLevelAppears(headless::kMessageBoxClass, [&, dialog](HWND box) {
            ++prompts;
            char text[256] = {};
            GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
            promptText = text;
            SendMessageA(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
            // Refused: the dialog is still up; cancel it.
            headless::WhenTopLevelAppears(headless::kFileDialogClass, [](HWND d) {
                SendMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0);
            });
        });
        SetWindowTextA(GetDlgItem(dialog, 1152), "old");
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(prompts, 1);
    EXPECT_NE(promptText.find("old.pic already exists."), std::string::npos);

    // Answered Yes, the existing file is chosen.
    headless::WhenTopLevelAppears(headless::kFileDialogClass, [](HWND dialog) {
        headless::WhenTopLevelAppears(headless::kMessageBoxClass, [](HWND box) {
            SendMessageA(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
        });
        SetWindowTextA(GetDlgItem(dialog, 1152), "old.pic");
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(std::string(file), (folder / "old.pic").string());
}

TEST_F(SaveDialogTest, FolderNavigationAndSmallBuffer) {
    headless::WhenTopLevelAppears(headless::kFileDialogClass, [](HWND dialog) {
        HWND name = GetDlgItem(dialog, 1152);
        SetWindowTextA(name, "sub");  // a folder: opened, not chosen
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        SetWindowTextA(name, "inside");
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(std::string(file), (folder / "sub" / "inside.pic").string());

    // A path through a missing folder is refused with a message.
    int warnings = 0;
    headless::WhenTopLevelAppears(headless::kFileDialogClass, [&](HWND dialog) {
        headless::WhenTopLevelAppears(headless::kMessageBoxClass, [&, dialog](HWND box) {
            ++warnings;
            SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            headless::WhenTopLevelAppears(headless::kFileDialogClass, [](HWND d) {
                headless::KeyPress(VK_ESCAPE);
                (void)d;
            });
        });
        SetWindowTextA(GetDlgItem(dialog, 1152), "nowhere/x");
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(warnings, 1);

    char tiny[8];
    ofn.lpstrFile = tiny;
    ofn.nMaxFile = sizeof tiny;
    tiny[0] = '\0';
    headless::WhenTopLevelAppears(headless::kFileDialogClass, [](HWND dialog) {
        SetWindowTextA(GetDlgItem(dialog, 1152), "long name");
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), DWORD(FNERR_BUFFERTOOSMALL));
}

// The folder of the last file chosen is where the next dialog opens, while
// the program runs; a folder that has gone since is passed over.
TEST_F(SaveDialogTest, TheNextDialogOpensInTheFolderOfTheLastFileChosen) {
    headless::WhenTopLevelAppears(headless::kFileDialogClass, [](HWND dialog) {
        HWND name = GetDlgItem(dialog, 1152);
        SetWindowTextA(name, "sub");
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        SetWindowTextA(name, "first");
        SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    ASSERT_EQ(std::string(file), (folder / "sub" / "first.pic").string());

    auto saveAs = [&](const char* typed) {
        headless::WhenTopLevelAppears(headless::kFileDialogClass, [typed](HWND dialog) {
            SetWindowTextA(GetDlgItem(dialog, 1152), typed);
            SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        });
        return GetSaveFileNameA(&ofn) ? std::string(file) : std::string();
    };
    EXPECT_EQ(saveAs("second"), (folder / "sub" / "second.pic").string());

    fs::remove_all(folder / "sub");
    EXPECT_EQ(saveAs("third"), (folder / "third.pic").string());
}
