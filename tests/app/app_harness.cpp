#include "app_harness.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "app/start.h"
#include "backends/headless/headless.h"

namespace fs = std::filesystem;

namespace app_test {
namespace {

std::mutex g_soundsLock;
std::vector<int> g_sounds;

}  // namespace

// Records the id, then finds the resource as PlaySoundA would.
bool RecordingLookup(HMODULE, LPCSTR name, const void** data, DWORD* size) {
    if (IS_INTRESOURCE(name)) {
        std::lock_guard<std::mutex> hold(g_soundsLock);
        g_sounds.push_back(int(reinterpret_cast<uintptr_t>(name)));
    }
    HRSRC hResource = ::FindResourceA(nullptr, name, "WAVE");
    if (!hResource) return false;
    HGLOBAL hData = ::LoadResource(nullptr, hResource);
    if (!hData) return false;
    *data = ::LockResource(hData);
    *size = ::SizeofResource(nullptr, hResource);
    return *data != nullptr;
}

std::vector<int> TakeSoundsPlayed() {
    std::lock_guard<std::mutex> hold(g_soundsLock);
    return std::exchange(g_sounds, {});
}

void ProgramTest::SetUp() {
    m_pAppDir = std::make_unique<test_support::TempDir>("tinto_app");
    m_strAppDir = m_pAppDir->str() + "/";
    // The user's own folders (added pictures, their colourable copies, the
    // settings) are temporary folders of the test, never the real ones.
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"}) {
        const char* value = std::getenv(name);
        m_savedEnvironment.emplace_back(name,
                                        value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("HOME", (m_strAppDir + "home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (m_strAppDir + "home/data").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (m_strAppDir + "home/cache").c_str(), 1);
    headless::SetExecutablePath(m_strAppDir + "tintorama");
    ::setenv("XDG_CONFIG_HOME", (m_strAppDir + "config").c_str(), 1);
    ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::NullInstant));
    win::SetWaveResourceLookup(&RecordingLookup);
    TakeSoundsPlayed();
    headless::TakeShellRequests();
}

void ProgramTest::TearDown() {
    script.Stop();
    win::SetWaveResourceLookup(nullptr);
    headless::SetExecutablePath("");
    for (const auto& [name, value] : m_savedEnvironment) {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
    m_savedEnvironment.clear();
    m_pAppDir.reset();
}

void ProgramTest::PrepareContent(unsigned content) {
    const fs::path built = TINTO_APP_DIR;
    auto copy = [&](const char* relative) {
        fs::path to = fs::path(m_strAppDir) / relative;
        fs::create_directories(to.parent_path());
        fs::copy_file(built / relative, to, fs::copy_options::overwrite_existing);
    };
    if (content & kHomePicture) copy("Backgrnd/home.bmp");
    if (content & kFont) copy("lsansrf.ttf");
    if (content & kHelpPage) copy("Help/Help.htm");
    if (content & kScreenPictures) {
        for (const char* relative : {"Backgrnd/Freely/bg1.bmp", "Backgrnd/Samples/bg1.bmp",
                                     "Backgrnd/browse.bmp", "Backgrnd/mixed.bmp"})
            copy(relative);
    }
    if (content & kCatalogues) {
        for (const char* relative : {"topic.txt", "freely.txt", "sample.txt"}) copy(relative);
        fs::copy(built / "Pictures", fs::path(m_strAppDir) / "Pictures",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }
}

int ProgramTest::RunProgram() {
    char name[] = "tintorama";
    char headlessOption[] = "--headless";
    char* argv[] = {name, headlessOption, nullptr};
    script.Start();
    int code = RunTintorama(2, argv);
    script.Stop();
    EXPECT_EQ(script.Failure(), "") << "a step waited in vain";
    EXPECT_TRUE(script.Done()) << "the program ended before the script did";
    EXPECT_TRUE(ScreenScript::VisibleWindows().empty()) << "a window outlived the program";
    return code;
}

HWND ProgramTest::Home() { return ScreenScript::FindVisible("Tintorama"); }

RECT ProgramTest::ScreenRectOf(HWND dialog, int id) {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    return rect;
}

COLORREF ProgramTest::FilePixel(const std::string& file, int x, int y) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap) return CLR_INVALID;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    COLORREF colour = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    return colour;
}

POINT ProgramTest::CentreOf(HWND dialog, int id) {
    RECT rect = ScreenRectOf(dialog, id);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HWND ProgramTest::ScreenOverHome() {
    HWND top = ScreenScript::Topmost();
    HWND home = Home();
    return top && top != home ? top : nullptr;
}

}  // namespace app_test
