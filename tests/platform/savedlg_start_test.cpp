// Where the save dialog opens and which extension a bare name gets, and the
// user's folders behind SHGetFolderPathA.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "controls/user_folders.h"
#include "ctl_helpers.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

class SaveDialogStart : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        win::controls::RememberFileDialogFolder("");
        for (const char* name : {"pictures", "initial", "last", "proposed"})
            fs::create_directories(dir / name);
        setenv("XDG_PICTURES_DIR", (dir / "pictures").c_str(), 1);
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = parent;
        ofn.lpstrFilter = "Bitmaps (*.bmp)\0*.bmp\0PNG pictures (*.png)\0*.png\0All\0*\0";
        ofn.lpstrFile = file;
        ofn.nMaxFile = sizeof file;
        ofn.lpstrDefExt = "bmp";
        initial = (dir / "initial").string();
        ofn.lpstrInitialDir = initial.c_str();
    }
    void TearDown() override {
        unsetenv("XDG_PICTURES_DIR");
        win::controls::RememberFileDialogFolder("");
        ControlTest::TearDown();
    }
    // Runs the dialog, typing `name` and choosing type `type` (from 0); the
    // chosen path, "" when cancelled.
    std::string Run(const char* name, int type, std::string* proposedName = nullptr) {
        // A run leaves its result in `file`, where the next run would take
        // it as a proposed name: the callers clear it.
        headless::WhenTopLevelAppears(headless::kFileDialogClass, [=](HWND dialog) {
            char shown[256] = {};
            GetDlgItemTextA(dialog, 1152, shown, sizeof shown);
            if (proposedName) *proposedName = shown;
            SendDlgItemMessageA(dialog, 1136, CB_SETCURSEL, WPARAM(type), 0);
            SetDlgItemTextA(dialog, 1152, name);
            SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        });
        return GetSaveFileNameA(&ofn) ? std::string(file) : std::string();
    }

    test_support::TempDir dir{"savedlg_start"};
    std::string initial;
    OPENFILENAMEA ofn{};
    char file[MAX_PATH] = "";
};

}  // namespace

TEST_F(SaveDialogStart, TheProposedFolderThenTheLastThenTheCallersThenPictures) {
    // A proposed name with its folder: the dialog opens there, showing the
    // name alone.
    const std::string proposed = (dir / "proposed" / "mine.png").string();
    std::snprintf(file, sizeof file, "%s", proposed.c_str());
    std::string shown;
    EXPECT_EQ(Run("again", 1, &shown), (dir / "proposed" / "again.png").string());
    EXPECT_EQ(shown, "mine.png");

    win::controls::RememberFileDialogFolder((dir / "last").string());
    file[0] = '\0';
    EXPECT_EQ(Run("a", 0), (dir / "last" / "a.bmp").string());

    win::controls::RememberFileDialogFolder("");
    file[0] = '\0';
    EXPECT_EQ(Run("b", 0), (dir / "initial" / "b.bmp").string());

    win::controls::RememberFileDialogFolder("");
    file[0] = '\0';
    ofn.lpstrInitialDir = nullptr;
    EXPECT_EQ(Run("c", 0), (dir / "pictures" / "c.bmp").string());
}

TEST_F(SaveDialogStart, ABareNameTakesTheChosenTypesExtension) {
    EXPECT_EQ(Run("picture", 1), (dir / "initial" / "picture.png").string());
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    // A name with its own extension keeps it, whatever the type.
    file[0] = '\0';
    EXPECT_EQ(Run("picture.bmp", 1), (dir / "initial" / "picture.bmp").string());
    // A type without one plain extension leaves the caller's default.
    file[0] = '\0';
    EXPECT_EQ(Run("other", 2), (dir / "initial" / "other.bmp").string());
}

TEST(UserFolders, DataAndCacheFollowTheEnvironmentElseHome) {
    char path[MAX_PATH];
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    setenv("HOME", "/home/kim", 1);
    setenv("XDG_DATA_HOME", "/data", 1);
    setenv("XDG_CACHE_HOME", "relative", 1);  // not absolute: ignored
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path), S_OK);
    EXPECT_STREQ(path, "/data");
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_INTERNET_CACHE, nullptr, 0, path), S_OK);
    EXPECT_STREQ(path, "/home/kim/.cache");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path), S_OK);
    EXPECT_STREQ(path, "/home/kim/.local/share");
    setenv("XDG_PICTURES_DIR", "/pics", 1);
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_MYPICTURES, nullptr, 0, path), S_OK);
    EXPECT_STREQ(path, "/pics");
    EXPECT_EQ(SHGetFolderPathA(nullptr, 0x0005, nullptr, 0, path), E_FAIL);
    unsetenv("XDG_PICTURES_DIR");
    unsetenv("XDG_CACHE_HOME");
    if (home)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}
