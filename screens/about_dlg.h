// The About box, opened from the home screen's system menu.
#pragma once

#include <afxwin.h>

class CAboutDlg : public CDialog {
public:
    enum { IDD = 100 };

    CAboutDlg() : CDialog(IDD) {}
};
