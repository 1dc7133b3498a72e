// Start-up and shut-down of the program.
#include "app/coloring_app.h"

#include "screens/home_dlg.h"

CColoringApp theApp;

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

    {
        CHomeDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    return FALSE;
}

int CColoringApp::ExitInstance() {
    ::RemoveFontResourceA(g_strAppDir + kFontFile);
    return CWinApp::ExitInstance();
}
