// Start-up and shut-down of the program.
#include "app/coloring_app.h"

#include "screens/home_dlg.h"

CColoringApp theApp;

CColoringApp::CColoringApp() = default;

BOOL CColoringApp::InitInstance() {
    AfxEnableControlContainer();

    // The program directory is the executable's; its data lives below it.
    g_strAppDir = ExecutableDirectory();

    ::AddFontResourceA(g_strAppDir + kFontFile);
    ::SendMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);

    // A second run in the same process (tests) starts from a fresh font.
    g_fontUI.DeleteObject();
    g_fontUI.CreatePointFont(100, kFontFace, nullptr);

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
