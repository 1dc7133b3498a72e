// Runs the real program in-process on the headless backend, on a prepared
// copy of its program directory, with a script that drives its screens.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/screen_script.h"
#include "support/temp_dir.h"

namespace app_test {

// The content files a prepared program directory may hold.
enum Content : unsigned {
    kHomePicture = 1,
    kFont = 2,
    kHelpPage = 4,
    kAllContent = kHomePicture | kFont | kHelpPage,
    // The backgrounds of the colouring, browse and mixer screens.
    kScreenPictures = 8,
    // The real catalogues and every picture they list.
    kCatalogues = 16,
};

// A WAVE resource lookup for PlaySoundA that records which ids were asked
// for; TakeSoundsPlayed answers them in order.
bool RecordingLookup(HMODULE module, LPCSTR name, const void** data, DWORD* size);
std::vector<int> TakeSoundsPlayed();

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the program directory hold the given content (copies of what
    // tools/content built) and nothing else.
    void PrepareContent(unsigned content);
    // The prepared directory, ending with '/'.
    const std::string& AppDir() const { return m_strAppDir; }

    // Runs the program from its real entry point; the script's steps run
    // inside its loops. Returns the program's exit code.
    int RunProgram();

    ScreenScript script;

    // Helpers for steps.
    static HWND Home();  // the home screen's window, once it is up
    // Screen point at the centre of dialog item `id` of `dialog`.
    static POINT CentreOf(HWND dialog, int id);
    // The pixel at (x, y) of a picture file, as the program reads it.
    static COLORREF FilePixel(const std::string& file, int x, int y);
    static RECT ScreenRectOf(HWND dialog, int id);
    // Whether a screen other than the home screen is up (the topmost one).
    static HWND ScreenOverHome();

private:
    std::unique_ptr<test_support::TempDir> m_pAppDir;  // removed after each test
    std::string m_strAppDir;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_savedEnvironment;
};

}  // namespace app_test
