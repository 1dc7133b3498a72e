// The music list dialog.
#include "screens/music_list_dlg.h"

#include "music/song_table.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CMusicListDlg, CDialog)
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_LBN_DBLCLK(IDC_SONGS, &CMusicListDlg::OnDblclkSongs)
END_MESSAGE_MAP()

CMusicListDlg::CMusicListDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    m_bmpBackground.LoadBitmap(IDB_MUSIC_LIST);
}

void CMusicListDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_SONGS, m_lstSongs);
}

BOOL CMusicListDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    m_btnOK.SetIcons(IDI_OK, 0);
    m_btnOK.SetTransparent(FALSE);
    m_btnCancel.SetIcons(IDI_CLOSE, 0);
    m_btnCancel.SetTransparent(FALSE);

    m_astrCodes.SetSize(kSongCount);
    m_astrTitles.SetSize(kSongCount);
    for (int i = 0; i < kSongCount; ++i) {
        m_astrCodes[i] = SongAt(i).code;
        m_astrTitles[i] = SongAt(i).title;
    }
    for (int i = 0; i < kSongCount; ++i) m_lstSongs.AddString(m_astrTitles[i]);

    // The window takes the size of its picture, whatever the template says.
    BITMAP bm{};
    if (m_bmpBackground.GetSafeHandle() && m_bmpBackground.GetBitmap(&bm)) {
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        MoveWindow(rcWindow.left, rcWindow.top, bm.bmWidth, bm.bmHeight, TRUE);
    }
    return TRUE;
}

BOOL CMusicListDlg::OnEraseBkgnd(CDC* pDC) {
    BITMAP bm{};
    if (!m_bmpBackground.GetSafeHandle() || !m_bmpBackground.GetBitmap(&bm))
        return CDialog::OnEraseBkgnd(pDC);
    CDC dcMem;
    dcMem.CreateCompatibleDC(pDC);
    CBitmap* pOld = dcMem.SelectObject(&m_bmpBackground);
    pDC->BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
    return TRUE;
}

void CMusicListDlg::OnOK() {
    int nIndex = m_lstSongs.GetCurSel();
    if (nIndex < 0 || nIndex >= m_astrCodes.GetSize()) return;  // nothing chosen: stay open
    m_strChosen = m_astrCodes[nIndex];
    EndDialog(IDOK);
}

void CMusicListDlg::OnDblclkSongs() { OnOK(); }

void CMusicListDlg::OnDestroy() {
    CDialog::OnDestroy();
    m_bmpBackground.DeleteObject();
}
