// Standard dialogs of the framework: the save and open file dialogs.
#pragma once

#include <string>

#include "afxwin.h"

class CFileDialog : public CDialog {
public:
    // lpszFilter: pairs of "description|patterns|", ended by "||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr,
                         LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCTSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    // IDOK with the chosen path, IDCANCEL when the user cancelled or the
    // dialog failed (CommDlgExtendedError tells which).
    INT_PTR DoModal() override;
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;

    OPENFILENAME m_ofn{};

protected:
    BOOL m_bOpenFileDialog;
    std::string m_strFilter;  // "|" turned into the NUL separators the dialog reads
    CString m_strDefExt;
    char m_szFileName[MAX_PATH] = {};
    char m_szFileTitle[MAX_PATH] = {};
};
