// The free colouring screen.
#include "screens/free_coloring_dlg.h"

#include "common/globals.h"
#include "controls/control_notify.h"
#include "res/resource.h"
#include "screens/browse_dlg.h"
#include "screens/coloring_screen.h"
#include "screens/home_dlg.h"
#include "screens/picture_sources.h"

using namespace coloring_screen;

BEGIN_MESSAGE_MAP(CFreeColoringDlg, CDialog)
ON_BN_CLICKED(IDC_FREE_BROWSE, &CFreeColoringDlg::OnBrowse)
ON_BN_CLICKED(IDC_START_AGAIN, &CFreeColoringDlg::OnStartAgain)
ON_BN_CLICKED(IDC_MUSIC_LIST, &CFreeColoringDlg::OnMusicList)
ON_BN_CLICKED(IDC_SAVE, &CFreeColoringDlg::OnSave)
ON_NOTIFY(PCN_COLORSELECTED, IDC_PALETTE, &CFreeColoringDlg::OnColorSelected)
ON_NOTIFY(THN_ITEMSELECTED, IDC_THUMBNAILS, &CFreeColoringDlg::OnThumbnailSelected)
ON_BN_CLICKED(IDC_STRIP_UP, &CFreeColoringDlg::OnStripUp)
ON_BN_CLICKED(IDC_STRIP_DOWN, &CFreeColoringDlg::OnStripDown)
ON_CBN_SELCHANGE(IDC_FREE_TOPICS, &CFreeColoringDlg::OnTopicChanged)
ON_BN_CLICKED(IDC_MUSIC_TOGGLE, &CFreeColoringDlg::OnMusicToggle)
ON_BN_CLICKED(IDC_UNDO, &CFreeColoringDlg::OnUndo)
ON_BN_CLICKED(IDC_REDO, &CFreeColoringDlg::OnRedo)
ON_NOTIFY(CVN_HISTORYCHANGED, IDC_CANVAS, &CFreeColoringDlg::OnHistoryChanged)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CFreeColoringDlg::CFreeColoringDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    LoadBackground(m_bmpBackground, "Freely");
}

CFreeColoringDlg::~CFreeColoringDlg() = default;

void CFreeColoringDlg::ReadCatalogues() {
    ::ReadCatalogues(m_astrTopics, m_aEntries);
    AppendPictureSources(m_astrTopics, m_aEntries);
}

void CFreeColoringDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FREE_TOPICS, m_cboTopic);
    DDX_Control(pDX, IDC_THUMBNAILS, m_ctlThumbs);
    DDX_Control(pDX, IDC_PALETTE, m_ctlPalette);
    DDX_Control(pDX, IDC_CANVAS, m_ctlCanvas);
    DDX_Control(pDX, IDCANCEL, m_btnClose);
    DDX_Control(pDX, IDC_SAVE, m_btnSave);
    DDX_Control(pDX, IDC_START_AGAIN, m_btnRestart);
    DDX_Control(pDX, IDC_FREE_BROWSE, m_btnBrowse);
    DDX_Control(pDX, IDC_STRIP_DOWN, m_btnDown);
    DDX_Control(pDX, IDC_STRIP_UP, m_btnUp);
    DDX_Control(pDX, IDC_MUSIC_LIST, m_btnMusicList);
    DDX_Control(pDX, IDC_MUSIC_TOGGLE, m_btnMusic);
    DDX_Control(pDX, IDC_RANGE_LABEL, m_btnRange);
    DDX_Control(pDX, IDC_UNDO, m_btnUndo);
    DDX_Control(pDX, IDC_REDO, m_btnRedo);
}

BOOL CFreeColoringDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    ReadCatalogues();
    ::FillTopicBox(m_cboTopic, m_astrTopics);

    PrepareButton(m_btnDown, IDI_STRIP_DOWN, 0);
    PrepareButton(m_btnUp, IDI_STRIP_UP, 0);
    PrepareButton(m_btnClose, IDI_CLOSE, 0);
    PrepareButton(m_btnSave, IDI_SAVE, 0);
    PrepareButton(m_btnRestart, IDI_START_AGAIN, 0);
    PrepareButton(m_btnMusicList, IDI_MUSIC_LIST, 0);
    PrepareButton(m_btnBrowse, IDI_BROWSE, 0);
    PrepareButton(m_btnMusic, IDI_MUSIC_ON, IDI_MUSIC_OFF);
    if (m_pHome && m_pHome->IsMusicPlaying()) m_btnMusic.SetChecked(TRUE, TRUE);
    PrepareHistoryButtons(m_btnUndo, m_btnRedo);
    m_btnRange.SetTransparent(FALSE);

    m_ctlCanvas.MoveWindow(kAreaLeft, kAreaTop, kAreaWidth, kAreaHeight, TRUE);
    m_ctlCanvas.SetFillColor(RGB(255, 255, 255));

    SizeStrip(this, m_ctlThumbs, 7);
    FillStrip();

    m_ctlPalette.SetColumns(26);
    m_ctlPalette.SetRows(2);
    CSize size = m_ctlPalette.GetIdealSize();
    m_ctlPalette.MoveWindow(120, 450, size.cx, size.cy, TRUE);

    ShowPicture(0);
    return TRUE;
}

void CFreeColoringDlg::FillStrip() {
    m_nShown = FillThumbnails(m_ctlThumbs, m_cboTopic.GetCurSel(), m_aEntries);
    UpdateRangeLabel();
}

void CFreeColoringDlg::ShowPicture(int nIndex) {
    if (nIndex < 0 || nIndex >= m_aEntries.GetSize() || nIndex == m_nCurrent) return;
    m_nCurrent = nIndex;
    LoadEntryPicture(m_ctlCanvas, m_aEntries[nIndex].strPicturePath);
    CentreCanvas(m_ctlCanvas, kAreaLeft, kAreaTop, kAreaWidth, kAreaHeight);
}

void CFreeColoringDlg::UpdateRangeLabel() { ::UpdateRangeLabel(m_btnRange, m_ctlThumbs, m_nShown); }

void CFreeColoringDlg::OnBrowse() {
    CBrowseDlg dlg;
    for (INT_PTR i = 0; i < m_aEntries.GetSize(); ++i)
        dlg.AddItem(m_aEntries[i].strPicturePath, m_aEntries[i].nTopic);
    for (INT_PTR i = 0; i < m_astrTopics.GetSize(); ++i) dlg.AddTopic(m_astrTopics[i]);
    if (dlg.DoModal() == IDOK && dlg.GetSelection() >= 0) ShowPicture(dlg.GetSelection());
}

void CFreeColoringDlg::OnStartAgain() { m_ctlCanvas.ReloadPicture(); }

void CFreeColoringDlg::OnMusicList() { RunMusicList(m_pHome, m_btnMusic); }

void CFreeColoringDlg::OnSave() { SavePictureAs(this, m_ctlCanvas); }

void CFreeColoringDlg::OnColorSelected(NMHDR* pNMHDR, LRESULT* pResult) {
    m_ctlCanvas.SetFillColor(reinterpret_cast<NMCTRLVALUE*>(pNMHDR)->dwValue);
    *pResult = 1;
}

void CFreeColoringDlg::OnThumbnailSelected(NMHDR* pNMHDR, LRESULT* pResult) {
    // An empty cell sends -1, which ShowPicture refuses.
    int nIndex = int(reinterpret_cast<NMCTRLVALUE*>(pNMHDR)->dwValue);
    if (nIndex < m_aEntries.GetSize()) ShowPicture(nIndex);
    *pResult = 1;
}

void CFreeColoringDlg::OnStripUp() {
    m_ctlThumbs.ScrollRowUp();
    UpdateRangeLabel();
}

void CFreeColoringDlg::OnStripDown() {
    m_ctlThumbs.ScrollRowDown();
    UpdateRangeLabel();
}

void CFreeColoringDlg::OnTopicChanged() {
    FillStrip();
    m_ctlThumbs.InvalidateRect(nullptr, TRUE);
}

void CFreeColoringDlg::OnMusicToggle() { FollowMusicToggle(m_pHome, m_btnMusic); }

BOOL CFreeColoringDlg::OnEraseBkgnd(CDC* pDC) {
    CSkinButton* const apButtons[] = {&m_btnClose, &m_btnDown, &m_btnUp,      &m_btnMusicList,
                                      &m_btnMusic, &m_btnSave, &m_btnRestart, &m_btnBrowse,
                                      &m_btnUndo,  &m_btnRedo};
    if (PaintBackground(this, pDC, m_bmpBackground, apButtons, int(std::size(apButtons))))
        return TRUE;
    return CDialog::OnEraseBkgnd(pDC);
}

BOOL CFreeColoringDlg::PreTranslateMessage(MSG* pMsg) {
    if (HandleHistoryKey(pMsg, m_ctlCanvas)) return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CFreeColoringDlg::OnUndo() { m_ctlCanvas.Undo(); }

void CFreeColoringDlg::OnRedo() { m_ctlCanvas.Redo(); }

void CFreeColoringDlg::OnHistoryChanged(NMHDR*, LRESULT* pResult) {
    ShowHistory(m_ctlCanvas, m_btnUndo, m_btnRedo);
    *pResult = 1;
}
