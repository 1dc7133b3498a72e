// The sample colouring screen. Everything the child does acts on the
// right-hand canvas; the example on the left only ever changes with the pair.
#include "screens/sample_coloring_dlg.h"

#include "common/globals.h"
#include "controls/control_notify.h"
#include "res/resource.h"
#include "screens/browse_dlg.h"
#include "screens/coloring_screen.h"
#include "screens/home_dlg.h"
#include "screens/picture_sources.h"

using namespace coloring_screen;

BEGIN_MESSAGE_MAP(CSampleColoringDlg, CDialog)
ON_NOTIFY(THN_ITEMSELECTED, IDC_THUMBNAILS, &CSampleColoringDlg::OnThumbnailSelected)
ON_NOTIFY(PCN_COLORSELECTED, IDC_PALETTE, &CSampleColoringDlg::OnColorSelected)
ON_BN_CLICKED(IDC_START_AGAIN, &CSampleColoringDlg::OnStartAgain)
ON_BN_CLICKED(IDC_SAVE, &CSampleColoringDlg::OnSave)
ON_BN_CLICKED(IDC_PAGE_PREVIOUS, &CSampleColoringDlg::OnPreviousPage)
ON_BN_CLICKED(IDC_PAGE_NEXT, &CSampleColoringDlg::OnNextPage)
ON_BN_CLICKED(IDC_SAMPLE_BROWSE, &CSampleColoringDlg::OnBrowse)
ON_WM_ERASEBKGND()
ON_CBN_SELCHANGE(IDC_SAMPLE_TOPICS, &CSampleColoringDlg::OnTopicChanged)
ON_BN_CLICKED(IDC_MUSIC_LIST, &CSampleColoringDlg::OnMusicList)
ON_BN_CLICKED(IDC_MUSIC_TOGGLE, &CSampleColoringDlg::OnMusicToggle)
ON_BN_CLICKED(IDC_UNDO, &CSampleColoringDlg::OnUndo)
ON_BN_CLICKED(IDC_REDO, &CSampleColoringDlg::OnRedo)
ON_NOTIFY(CVN_HISTORYCHANGED, IDC_CANVAS, &CSampleColoringDlg::OnHistoryChanged)
END_MESSAGE_MAP()

CSampleColoringDlg::CSampleColoringDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    LoadBackground(m_bmpBackground, "Samples");
}

CSampleColoringDlg::~CSampleColoringDlg() = default;

void CSampleColoringDlg::ReadCatalogues() {
    ::ReadCatalogues(m_astrTopics, m_aEntries);
    AppendPictureSources(m_astrTopics, m_aEntries);
}

void CSampleColoringDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SAMPLE_TOPICS, m_cboTopic);
    DDX_Control(pDX, IDC_THUMBNAILS, m_ctlThumbs);
    DDX_Control(pDX, IDC_EXAMPLE_CANVAS, m_ctlSample);
    DDX_Control(pDX, IDC_CANVAS, m_ctlCanvas);
    DDX_Control(pDX, IDC_PALETTE, m_ctlPalette);
    DDX_Control(pDX, IDC_PAGE_NEXT, m_btnDown);
    DDX_Control(pDX, IDC_PAGE_PREVIOUS, m_btnUp);
    DDX_Control(pDX, IDC_SAVE, m_btnSave);
    DDX_Control(pDX, IDC_START_AGAIN, m_btnRestart);
    DDX_Control(pDX, IDCANCEL, m_btnClose);
    DDX_Control(pDX, IDC_MUSIC_LIST, m_btnMusicList);
    DDX_Control(pDX, IDC_SAMPLE_BROWSE, m_btnBrowse);
    DDX_Control(pDX, IDC_MUSIC_TOGGLE, m_btnMusic);
    DDX_Control(pDX, IDC_RANGE_LABEL, m_btnRange);
    DDX_Control(pDX, IDC_UNDO, m_btnUndo);
    DDX_Control(pDX, IDC_REDO, m_btnRedo);
}

BOOL CSampleColoringDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    ReadCatalogues();
    ::FillTopicBox(m_cboTopic, m_astrTopics);

    PrepareButton(m_btnDown, IDI_STRIP_DOWN, 0);
    PrepareButton(m_btnUp, IDI_STRIP_UP, 0);
    PrepareButton(m_btnClose, IDI_CLOSE, 0, FALSE);  // closing makes no click sound here
    PrepareButton(m_btnSave, IDI_SAVE, 0);
    PrepareButton(m_btnRestart, IDI_START_AGAIN, 0);
    PrepareButton(m_btnMusicList, IDI_MUSIC_LIST, 0);
    PrepareButton(m_btnBrowse, IDI_BROWSE, 0);
    PrepareButton(m_btnMusic, IDI_MUSIC_ON, IDI_MUSIC_OFF);
    if (m_pHome && m_pHome->IsMusicPlaying()) m_btnMusic.SetChecked(TRUE, TRUE);
    PrepareHistoryButtons(m_btnUndo, m_btnRedo);

    m_ctlSample.MoveWindow(kSampleLeft, kBoxTop, kBoxSize, kBoxSize, TRUE);
    m_ctlCanvas.MoveWindow(kCanvasLeft, kBoxTop, kBoxSize, kBoxSize, TRUE);
    m_ctlSample.SetReadOnly(TRUE);
    m_ctlCanvas.SetFillColor(RGB(255, 255, 255));
    m_btnRange.SetTransparent(FALSE);

    SizeStrip(this, m_ctlThumbs, 7);
    FillStrip();

    m_ctlPalette.SetColumns(28);
    m_ctlPalette.SetRows(2);
    CSize size = m_ctlPalette.GetIdealSize();
    m_ctlPalette.MoveWindow(120, 420, size.cx, size.cy, TRUE);

    ShowPair(0);
    return TRUE;
}

void CSampleColoringDlg::FillStrip() {
    m_nShown = FillThumbnails(m_ctlThumbs, m_cboTopic.GetCurSel(), m_aEntries);
    UpdateRangeLabel();
}

void CSampleColoringDlg::ShowPair(int nIndex) {
    if (nIndex < 0 || nIndex >= m_aEntries.GetSize() || nIndex == m_nCurrent) return;
    m_nCurrent = nIndex;
    m_ctlSample.LoadPicture(m_aEntries[nIndex].strSamplePath);
    LoadEntryPicture(m_ctlCanvas, m_aEntries[nIndex].strPicturePath);
    CentreCanvas(m_ctlSample, kSampleLeft, kBoxTop, kBoxSize, kBoxSize);
    CentreCanvas(m_ctlCanvas, kCanvasLeft, kBoxTop, kBoxSize, kBoxSize);
}

void CSampleColoringDlg::UpdateRangeLabel() {
    ::UpdateRangeLabel(m_btnRange, m_ctlThumbs, m_nShown);
}

void CSampleColoringDlg::OnThumbnailSelected(NMHDR* pNMHDR, LRESULT* pResult) {
    // An empty cell sends -1, which ShowPair refuses.
    int nIndex = int(reinterpret_cast<NMCTRLVALUE*>(pNMHDR)->dwValue);
    if (nIndex < m_aEntries.GetSize()) ShowPair(nIndex);
    *pResult = 1;
}

void CSampleColoringDlg::OnColorSelected(NMHDR* pNMHDR, LRESULT* pResult) {
    m_ctlCanvas.SetFillColor(reinterpret_cast<NMCTRLVALUE*>(pNMHDR)->dwValue);
    *pResult = 1;
}

void CSampleColoringDlg::OnStartAgain() { m_ctlCanvas.ReloadPicture(); }

void CSampleColoringDlg::OnSave() { SavePictureAs(this, m_ctlCanvas); }

void CSampleColoringDlg::OnPreviousPage() {
    m_ctlThumbs.PreviousPage();
    UpdateRangeLabel();
}

void CSampleColoringDlg::OnNextPage() {
    m_ctlThumbs.NextPage();
    UpdateRangeLabel();
}

void CSampleColoringDlg::OnBrowse() {
    // The browse screen, too, shows the coloured examples.
    CBrowseDlg dlg;
    for (INT_PTR i = 0; i < m_aEntries.GetSize(); ++i)
        dlg.AddItem(m_aEntries[i].strSamplePath, m_aEntries[i].nTopic);
    for (INT_PTR i = 0; i < m_astrTopics.GetSize(); ++i) dlg.AddTopic(m_astrTopics[i]);
    if (dlg.DoModal() == IDOK && dlg.GetSelection() >= 0) ShowPair(dlg.GetSelection());
}

BOOL CSampleColoringDlg::OnEraseBkgnd(CDC* pDC) {
    CSkinButton* const apButtons[] = {&m_btnClose, &m_btnDown, &m_btnUp,      &m_btnMusicList,
                                      &m_btnMusic, &m_btnSave, &m_btnRestart, &m_btnBrowse,
                                      &m_btnUndo,  &m_btnRedo};
    if (PaintBackground(this, pDC, m_bmpBackground, apButtons, int(std::size(apButtons))))
        return TRUE;
    return CDialog::OnEraseBkgnd(pDC);
}

void CSampleColoringDlg::OnTopicChanged() {
    FillStrip();
    m_ctlThumbs.InvalidateRect(nullptr, TRUE);
}

void CSampleColoringDlg::OnMusicList() { RunMusicList(m_pHome, m_btnMusic); }

void CSampleColoringDlg::OnMusicToggle() { FollowMusicToggle(m_pHome, m_btnMusic); }

BOOL CSampleColoringDlg::PreTranslateMessage(MSG* pMsg) {
    if (HandleHistoryKey(pMsg, m_ctlCanvas)) return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CSampleColoringDlg::OnUndo() { m_ctlCanvas.Undo(); }

void CSampleColoringDlg::OnRedo() { m_ctlCanvas.Redo(); }

void CSampleColoringDlg::OnHistoryChanged(NMHDR*, LRESULT* pResult) {
    ShowHistory(m_ctlCanvas, m_btnUndo, m_btnRedo);
    *pResult = 1;
}
