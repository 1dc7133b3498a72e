// Start-up and shut-down of the program.
#include "app/coloring_app.h"

#include "backends/display.h"
#include "common/settings.h"
#include "screens/home_dlg.h"

CColoringApp theApp;

namespace {

// The colour at the top of the home picture, its sky: full screen shows it
// all round the program's windows. The content's sky when the picture is
// missing.
COLORREF HomeSky() {
    COLORREF crSky = RGB(150, 210, 245);
    HANDLE hImage = ::LoadImageA(nullptr, g_strAppDir + "Backgrnd\\home.bmp", IMAGE_BITMAP, 0, 0,
                                 LR_LOADFROMFILE);
    if (!hImage) return crSky;
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hdc, hImage);
    const COLORREF crTop = ::GetPixel(hdc, 0, 0);
    if (crTop != CLR_INVALID) crSky = crTop;
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    ::DeleteObject(hImage);
    return crSky;
}

// F11 switched full screen: the next start opens the same way.
void RememberFullScreen(bool bOn) { settings::SetBool(settings::kFullScreen, bOn); }

}  // namespace

CColoringApp::CColoringApp() = default;

// The program's text is TCVN3, which only its own font draws: message boxes
// (a failed save, a failed song) show it in that font, as its screens do.
void CColoringApp::UseInterfaceFontForMessages() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONT font{};
    if (!g_fontUI.GetSafeHandle() || !g_fontUI.GetLogFont(&font) ||
        !::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return;
    metrics.lfMessageFont = font;
    ::SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
}

BOOL CColoringApp::InitInstance() {
    AfxEnableControlContainer();

    // The program directory is the executable's; its data lives below it.
    g_strAppDir = ExecutableDirectory();

    ::AddFontResourceA(g_strAppDir + kFontFile);
    ::SendMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);

    // A second run in the same process (tests) starts from a fresh font.
    g_fontUI.DeleteObject();
    g_fontUI.CreatePointFont(100, kFontFace, nullptr);
    UseInterfaceFontForMessages();

    Enable3dControls();

    // Full screen as the child left it (or as --fullscreen asked).
    win::SetFullScreenBackdrop(HomeSky());
    if (settings::GetBool(settings::kFullScreen, FALSE)) win::SetFullScreen(true);
    win::SetFullScreenListener(&RememberFullScreen);

    {
        CHomeDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    win::SetFullScreenListener(nullptr);
    win::SetFullScreen(false);  // the display as it was
    return FALSE;
}

int CColoringApp::ExitInstance() {
    ::RemoveFontResourceA(g_strAppDir + kFontFile);
    return CWinApp::ExitInstance();
}
