// The music list: a small modal dialog in which the child picks the
// background song. It returns the chosen song's code.
#pragma once

#include <afxwin.h>

#include "controls/skin_button.h"

class CMusicListDlg : public CDialog {
public:
    enum { IDD = 147 };

    explicit CMusicListDlg(CWnd* pParent = nullptr);

    // The code of the song chosen; read it only after DoModal gave IDOK.
    CString GetChosenCode() const { return m_strChosen; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    afx_msg void OnDblclkSongs();
    DECLARE_MESSAGE_MAP()

public:
    CSkinButton m_btnOK;      // 1 (IDOK)
    CSkinButton m_btnCancel;  // 2 (IDCANCEL)
    CListBox m_lstSongs;      // 1035: the song titles
    CString m_strChosen;
    CStringArray m_astrCodes;
    CStringArray m_astrTitles;
    CBitmap m_bmpBackground;  // bitmap resource 148
};
