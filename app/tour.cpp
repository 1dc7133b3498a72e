// The tour's steps: home screen, About box, music list, the message box of
// a failed music command; the free colouring screen with a picture half
// coloured, the browse screen over it, the colour mixer of its palette and
// the save dialog; the sample colouring screen, half coloured, and the
// browse screen over it; then the exit button.
#include "app/tour.h"

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <memory>

#include "app/coloring_app.h"
#include "backends/headless/headless.h"
#include "res/resource.h"
#include "screens/home_dlg.h"

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

// The topmost window if it holds control `nId`: tells the screens apart.
HWND TopWith(int nId) {
    HWND hwnd = ScreenScript::Topmost();
    return hwnd && ::GetDlgItem(hwnd, nId) ? hwnd : nullptr;
}

// A pointer click at a point of a control, as a child makes it.
void ClickAt(HWND hwndDialog, int nId, int x, int y,
             headless::Button button = headless::Button::Left) {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(hwndDialog, nId), &rect);
    headless::Click(rect.left + x, rect.top + y, button);
}

// Colours about half of a canvas's picture: on a grid of points, every
// other one that still shows white paper gets the next of a few palette
// colours. One click a call; false once the grid is done.
class HalfColouring {
public:
    HalfColouring(int nCanvas, int nColumns) : m_nCanvas(nCanvas), m_nColumns(nColumns) {}
    bool Step(HWND hwndScreen) {
        static const int anSwatches[] = {20, 8,  26, 38,
                                         15, 44, 32};  // yellow, red, green, blue, ...
        HWND hwndCanvas = ::GetDlgItem(hwndScreen, m_nCanvas);
        RECT rect{};
        ::GetClientRect(hwndCanvas, &rect);
        while (m_nPoint < kGrid * kGrid) {
            int n = m_nPoint++;
            int x = rect.right * (1 + 2 * (n % kGrid)) / (2 * kGrid);
            int y = rect.bottom * (1 + 2 * (n / kGrid)) / (2 * kGrid);
            if ((n % kGrid + n / kGrid) % 2) continue;  // every other point only
            if (headless::PixelAt(hwndCanvas, x, y) != RGB(255, 255, 255)) continue;
            if (m_bColourPicked) {
                m_bColourPicked = false;
                ClickAt(hwndScreen, m_nCanvas, x, y);
                return true;
            }
            int nSwatch = anSwatches[m_nColour++ % std::size(anSwatches)];
            ClickAt(hwndScreen, 1008, 21 * (nSwatch % m_nColumns) + 10,
                    21 * (nSwatch / m_nColumns) + 10);
            m_bColourPicked = true;
            --m_nPoint;  // the point is coloured on the next call
            return true;
        }
        return false;
    }

private:
    static constexpr int kGrid = 6;
    int m_nCanvas;
    int m_nColumns;
    int m_nPoint = 0;
    int m_nColour = 0;
    bool m_bColourPicked = false;
};

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
    // The free colouring screen.
    script.Then("free colouring opens", [=] {
        if (ScreenScript::Topmost() != *home) return false;
        Click(*home, IDC_HOME_FREE);
        return true;
    });
    script.Then("a picture from the strip", [=] {
        HWND hwnd = TopWith(IDC_CANVAS);
        if (!hwnd) return false;
        ClickAt(hwnd, IDC_THUMBNAILS, 42, 2 * 62 + 32);  // the third cell
        return true;
    });
    auto freeColouring = std::make_shared<HalfColouring>(IDC_CANVAS, 26);
    script.Then("half coloured", [=] {
        HWND hwnd = TopWith(IDC_CANVAS);
        if (!hwnd) return false;
        if (freeColouring->Step(hwnd)) return false;  // one click per turn of the loop
        shot(hwnd, "free-coloring");
        Click(hwnd, IDC_FREE_BROWSE);
        return true;
    });
    script.Then("browse over free colouring", [=] {
        HWND hwnd = TopWith(IDC_BROWSE_TOPICS);
        if (!hwnd) return false;
        ClickAt(hwnd, IDC_THUMBNAILS, 147 + 74, 73);  // the second picture
        return true;
    });
    script.Then("a picture chosen in browse", [=] {
        HWND hwnd = TopWith(IDC_BROWSE_TOPICS);
        if (!hwnd) return false;
        shot(hwnd, "browse");
        Click(hwnd, IDOK);
        return true;
    });
    script.Then("the colour mixer from the palette", [=] {
        HWND hwnd = TopWith(IDC_CANVAS);
        if (!hwnd) return false;
        ClickAt(hwnd, IDC_PALETTE, 21 * 14 + 10, 10, headless::Button::Right);  // an orange swatch
        return true;
    });
    script.Then("colour mixer", [=] {
        HWND hwnd = TopWith(IDC_HSB_AREA);
        if (!hwnd) return false;
        shot(hwnd, "color-mixer");
        Click(hwnd, IDCANCEL);
        return true;
    });
    script.Then("the save dialog", [=] {
        HWND hwnd = TopWith(IDC_CANVAS);
        if (!hwnd) return false;
        Click(hwnd, IDC_SAVE);
        return true;
    });
    script.Then("save dialog", [=] {
        HWND hwnd = ScreenScript::FindVisible(nullptr, headless::kFileDialogClass);
        if (!hwnd) return false;
        shot(hwnd, "save-dialog");
        ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    script.Then("free colouring closes", [=] {
        HWND hwnd = TopWith(IDC_CANVAS);
        if (!hwnd) return false;
        Click(hwnd, IDCANCEL);
        return true;
    });

    // The sample colouring screen.
    script.Then("sample colouring opens", [=] {
        if (ScreenScript::Topmost() != *home) return false;
        Click(*home, IDC_HOME_SAMPLE);
        return true;
    });
    script.Then("a pair from the strip", [=] {
        HWND hwnd = TopWith(IDC_EXAMPLE_CANVAS);
        if (!hwnd) return false;
        ClickAt(hwnd, IDC_THUMBNAILS, 42, 62 + 32);  // the second cell
        return true;
    });
    auto sampleColouring = std::make_shared<HalfColouring>(IDC_CANVAS, 28);
    script.Then("half coloured after the sample", [=] {
        HWND hwnd = TopWith(IDC_EXAMPLE_CANVAS);
        if (!hwnd) return false;
        if (sampleColouring->Step(hwnd)) return false;
        shot(hwnd, "sample-coloring");
        Click(hwnd, IDC_SAMPLE_BROWSE);
        return true;
    });
    script.Then("browse over sample colouring", [=] {
        HWND hwnd = TopWith(IDC_BROWSE_TOPICS);
        if (!hwnd) return false;
        shot(hwnd, "browse-samples");
        Click(hwnd, IDCANCEL);
        return true;
    });
    script.Then("sample colouring closes", [=] {
        HWND hwnd = TopWith(IDC_EXAMPLE_CANVAS);
        if (!hwnd) return false;
        Click(hwnd, IDCANCEL);
        return true;
    });

    script.Then("exit", [=] {
        if (ScreenScript::Topmost() != *home) return false;
        Click(*home, IDCANCEL);
        return true;
    });
}
