// The tour's steps: home screen, About box, music list, the message box of
// a failed music command, the browse screen, then the exit button.
#include "app/tour.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/coloring_app.h"
#include "screens/browse_dlg.h"
#include "screens/catalogues.h"
#include "screens/home_dlg.h"
#include "backends/headless/headless.h"
#include "res/resource.h"

namespace {

bool Screenshot(HWND hwnd, const std::string& path) {
    headless::Image image;
    if (!headless::ReadPixels(hwnd, &image, false) || !headless::SaveBmp(image, path)) {
        std::fprintf(stderr, "tour: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("tour: %s\n", path.c_str());
    return true;
}

// The window that a screen opened over the home screen, if any.
HWND ScreenOver(HWND hwndHome) {
    HWND hwnd = ScreenScript::Topmost();
    return hwnd && hwnd != hwndHome ? hwnd : nullptr;
}

void Click(HWND hwndDialog, int nId) {
    ::PostMessageA(hwndDialog, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hwndDialog, nId)));
}

// Opens the browse screen over the free colouring catalogue, as the free
// colouring screen does, from a one-shot timer so that its modal loop runs
// inside the home screen's loop and the script's later steps run inside it.
void CALLBACK OpenBrowseScreen(HWND, UINT, UINT_PTR nIDEvent, DWORD) {
    ::KillTimer(nullptr, nIDEvent);
    CStringArray astrTopics;
    CFreePictureArray aEntries;
    ReadCatalogues(astrTopics, aEntries);
    CBrowseDlg dlg;
    for (INT_PTR i = 0; i < aEntries.GetSize(); ++i) dlg.AddItem(aEntries[i].strPicturePath, aEntries[i].nTopic);
    for (INT_PTR i = 0; i < astrTopics.GetSize(); ++i) dlg.AddTopic(astrTopics[i]);
    dlg.DoModal();
}

}  // namespace

void AddTourSteps(ScreenScript& script, const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    auto shot = [dir](HWND hwnd, const char* name) { Screenshot(hwnd, dir + "/" + name + ".bmp"); };
    auto home = std::make_shared<HWND>(nullptr);

    script.Then("home screen", [=] {
        *home = ScreenScript::FindVisible("Tintorama");
        if (!*home) return false;
        shot(*home, "home");
        ::PostMessageA(*home, WM_SYSCOMMAND, 0x0010, 0);  // the system menu's About item
        return true;
    });
    script.Then("About box", [=] {
        HWND hwnd = ScreenOver(*home);
        if (!hwnd) return false;
        shot(hwnd, "about");
        Click(hwnd, IDOK);
        return true;
    });
    script.Then("music list opens", [=] {
        if (ScreenScript::Topmost() != *home) return false;
        Click(*home, IDC_HOME_MUSIC);
        return true;
    });
    script.Then("a song is picked", [=] {
        HWND hwnd = ScreenOver(*home);
        if (!hwnd) return false;
        ::SendDlgItemMessageA(hwnd, IDC_SONGS, LB_SETCURSEL, 2, 0);
        return true;
    });
    script.Then("music list", [=] {
        HWND hwnd = ScreenOver(*home);
        if (!hwnd) return false;
        shot(hwnd, "music-list");
        Click(hwnd, IDCANCEL);
        return true;
    });
    script.Then("a missing song", [=] {
        if (ScreenScript::Topmost() != *home) return false;
        // A song file that is not there: the player's refusal shows the
        // program's one message box.
        auto* pHome = static_cast<CHomeDlg*>(AfxGetApp()->m_pMainWnd);
        if (!pHome) return false;
        pHome->PlaySong("0");
        return true;
    });
    script.Then("message box", [=] {
        HWND hwnd = ScreenScript::FindVisible(nullptr, headless::kMessageBoxClass);
        if (!hwnd) return false;
        shot(hwnd, "message-box");
        ::PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
        return true;
    });
    script.Then("browse screen opens", [=] {
        if (ScreenScript::Topmost() != *home) return false;
        ::SetTimer(nullptr, 0, 1, &OpenBrowseScreen);
        return true;
    });
    script.Then("a picture is picked", [=] {
        HWND hwnd = ScreenOver(*home);
        if (!hwnd) return false;
        RECT rcGrid{};
        ::GetWindowRect(::GetDlgItem(hwnd, IDC_THUMBNAILS), &rcGrid);
        headless::Click(rcGrid.left + 2 * 147 + 70, rcGrid.top + 70);  // the third picture
        return true;
    });
    script.Then("browse screen", [=] {
        HWND hwnd = ScreenOver(*home);
        if (!hwnd) return false;
        shot(hwnd, "browse");
        Click(hwnd, IDCANCEL);
        return true;
    });
    script.Then("exit", [=] {
        if (ScreenScript::Topmost() != *home) return false;
        Click(*home, IDCANCEL);
        return true;
    });
}
