// CFileDialog: the save and open dialogs behind the framework's interface.
#include <afxdlgs.h>

#include <cstring>

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CDialog(static_cast<LPCTSTR>(nullptr), pParentWnd), m_bOpenFileDialog(bOpenFileDialog) {
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    if (lpszDefExt) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFileName) {
        std::strncpy(m_szFileName, lpszFileName, sizeof m_szFileName - 1);
    }
    if (lpszFilter) {
        // "Bitmaps (*.bmp)|*.bmp||" becomes "Bitmaps (*.bmp)\0*.bmp\0\0".
        m_strFilter = lpszFilter;
        for (char& c : m_strFilter) {
            if (c == '|') c = '\0';
        }
        m_strFilter.push_back('\0');
        m_strFilter.push_back('\0');
        m_ofn.lpstrFilter = m_strFilter.c_str();
    }
}

INT_PTR CFileDialog::DoModal() {
    // Owned as a dialog is: by the parent, else by the innermost open dialog.
    HWND top = nullptr;
    m_ofn.hwndOwner = CWnd::GetSafeOwner_(afx::HwndOf(m_pParentWnd), &top);
    m_ofn.hInstance = AfxGetInstanceHandle();
    const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    if (top) ::EnableWindow(top, TRUE);
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return CString(m_ofn.lpstrFile); }

CString CFileDialog::GetFileName() const {
    const char* path = m_ofn.lpstrFile;
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/') name = p + 1;
    }
    return CString(name);
}

CString CFileDialog::GetFileExt() const {
    const CString name = GetFileName();
    const char* text = name;
    const char* dot = std::strrchr(text, '.');
    return CString(dot ? dot + 1 : "");
}

CString CFileDialog::GetFileTitle() const {
    const CString name = GetFileName();
    const char* text = name;
    const char* dot = std::strrchr(text, '.');
    return dot ? CString(std::string(text, size_t(dot - text)).c_str()) : name;
}
