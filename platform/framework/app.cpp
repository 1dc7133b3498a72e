// The application object, the program's entry through it, and the global
// framework helpers.
#include <afxwin.h>

#include <cstdio>
#include <cstring>

#include "backends/display.h"

namespace {

CWinApp* gApp = nullptr;  // the one application object

}  // namespace

// ---------------------------------------------------------------------------
// Threads and the application

BOOL CWinThread::InitInstance() { return FALSE; }
int CWinThread::ExitInstance() { return int(m_msgCur.wParam); }

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) { return AfxPreTranslateMessage(pMsg); }

int CWinThread::Run() {
    for (;;) {
        const BOOL got = ::GetMessageA(&m_msgCur, nullptr, 0, 0);
        if (got <= 0) break;  // WM_QUIT (or a broken queue) ends the loop
        if (!PreTranslateMessage(&m_msgCur)) {
            ::TranslateMessage(&m_msgCur);
            ::DispatchMessageA(&m_msgCur);
        }
    }
    return ExitInstance();
}

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_pszAppName(lpszAppName) { gApp = this; }

CWinApp::~CWinApp() {
    if (gApp == this) gApp = nullptr;
}

BOOL CWinApp::InitApplication() { return TRUE; }
HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const {
    return ::LoadIconA(m_hInstance, lpszResourceName);
}
HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCE(nIDResource)); }
HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const {
    return ::LoadIconA(nullptr, lpszIconName);
}
HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const {
    return ::LoadCursorA(m_hInstance, lpszResourceName);
}
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const {
    return LoadCursor(MAKEINTRESOURCE(nIDResource));
}
HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const {
    return ::LoadCursorA(nullptr, lpszCursorName);
}

int AfxWinMain(int argc, char** argv) {
    CWinApp* app = gApp;
    if (!app) {
        std::fprintf(stderr, "No application object.\n");
        return 1;
    }
    if (!win::StartDisplay(argc, argv)) return 1;
    app->m_hInstance = ::GetModuleHandleA(nullptr);
    app->m_lpCmdLine = argc > 1 ? argv[1] : const_cast<char*>("");
    if (!app->InitApplication() || !app->InitInstance()) return app->ExitInstance();
    return app->Run();
}

// ---------------------------------------------------------------------------
// Global helpers

CWinApp* AfxGetApp() { return gApp; }
CWnd* AfxGetMainWnd() { return gApp ? gApp->GetMainWnd() : nullptr; }
HINSTANCE AfxGetInstanceHandle() {
    return gApp && gApp->m_hInstance ? gApp->m_hInstance : ::GetModuleHandleA(nullptr);
}
HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

// The program is one module: whatever resource is asked for, the module
// that would hold it is the executable, whose resources AfxGetResourceHandle
// names (a name it lacks then fails to load there, as it would on Windows).
HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR, LPCTSTR) { return AfxGetResourceHandle(); }
void AfxEnableControlContainer() {}

BOOL AfxRegisterClass(WNDCLASS* lpWndClass) {
    if (!lpWndClass || !lpWndClass->lpszClassName) return FALSE;
    WNDCLASS existing{};
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing)) return TRUE;
    return ::RegisterClassA(lpWndClass) != 0;
}

// Owned by the innermost open dialog, as every dialog without a parent.
int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
    HWND top = nullptr;
    HWND owner = CWnd::GetSafeOwner_(nullptr, &top);
    const char* caption = gApp && gApp->m_pszAppName ? gApp->m_pszAppName : "";
    const int result = ::MessageBoxA(owner, lpszText, caption, nType);
    if (top) ::EnableWindow(top, TRUE);
    return result;
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    char text[1024] = {};
    ::LoadStringA(AfxGetResourceHandle(), nIDPrompt, text, sizeof text);
    return AfxMessageBox(text, nType, nIDHelp);
}

// ---------------------------------------------------------------------------
// Exceptions

namespace {

BOOL CopyMessage(const char* message, LPSTR lpszError, UINT nMaxError) {
    if (!lpszError || nMaxError == 0) return FALSE;
    std::strncpy(lpszError, message, nMaxError - 1);
    lpszError[nMaxError - 1] = '\0';
    return TRUE;
}

}  // namespace

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT) const {
    return CopyMessage("An unknown error occurred.", lpszError, nMaxError);
}
BOOL CResourceException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT) const {
    return CopyMessage("A required resource was unavailable.", lpszError, nMaxError);
}
BOOL CNotSupportedException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT) const {
    return CopyMessage("An unsupported operation was attempted.", lpszError, nMaxError);
}

void AfxThrowResourceException() { throw new CResourceException; }
void AfxThrowNotSupportedException() { throw new CNotSupportedException; }
