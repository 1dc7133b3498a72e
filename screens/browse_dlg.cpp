// The browse screen.
#include "screens/browse_dlg.h"

#include "common/globals.h"
#include "common/program_path.h"
#include "res/resource.h"
#include "screens/catalogues.h"
#include "screens/screen_background.h"

namespace {

const char* const kBrowseBackground = "Backgrnd\\browse.bmp";

// An icon, transparent drawing and the hover and click sounds.
void PrepareButton(CSkinButton& button, int nIcon) {
    HMODULE hModule = AfxGetInstanceHandle();
    button.SetIcons(nIcon, 0);
    button.SetTransparent(FALSE);
    button.SetEventSound(MAKEINTRESOURCEA(IDW_HOVER), hModule, CSkinButton::EVENT_HOVER, TRUE);
    button.SetEventSound(MAKEINTRESOURCEA(IDW_CLICK), hModule, CSkinButton::EVENT_CLICK, TRUE);
}

}  // namespace

BEGIN_MESSAGE_MAP(CBrowseDlg, CDialog)
ON_BN_CLICKED(IDC_PAGE_PREVIOUS, &CBrowseDlg::OnPreviousPage)
ON_BN_CLICKED(IDC_PAGE_NEXT, &CBrowseDlg::OnNextPage)
ON_CBN_SELCHANGE(IDC_BROWSE_TOPICS, &CBrowseDlg::OnSelchangeTopic)
ON_NOTIFY(THN_ITEMSELECTED, IDC_THUMBNAILS, &CBrowseDlg::OnThumbnailSelected)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CBrowseDlg::CBrowseDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    HANDLE hPicture =
        ::LoadImageA(nullptr, ProgramFile(kBrowseBackground), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (hPicture) m_bmpBackground.Attach(static_cast<HBITMAP>(hPicture));
}

void CBrowseDlg::AddItem(CString strImagePath, int nTopic) {
    BrowseItem item;
    item.nTopic = nTopic;
    item.strImagePath = strImagePath;
    m_aItems.Add(item);
}

void CBrowseDlg::AddTopic(CString strTopic) { m_astrTopics.Add(strTopic); }

void CBrowseDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BROWSE_TOPICS, m_cboTopic);
    DDX_Control(pDX, IDC_THUMBNAILS, m_ctlThumbs);
    DDX_Control(pDX, IDC_PAGE_NEXT, m_btnNext);
    DDX_Control(pDX, IDC_PAGE_PREVIOUS, m_btnPrevious);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_RANGE_LABEL, m_btnRange);
}

BOOL CBrowseDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    PrepareButton(m_btnOK, IDI_OK);
    PrepareButton(m_btnCancel, IDI_CLOSE);
    PrepareButton(m_btnNext, IDI_PAGE_NEXT);
    PrepareButton(m_btnPrevious, IDI_PAGE_PREVIOUS);
    m_btnRange.SetTransparent(FALSE);

    FillTopicBox(m_cboTopic, m_astrTopics);

    m_ctlThumbs.SetRows(kRows);
    m_ctlThumbs.SetColumns(kColumns);
    m_ctlThumbs.SetThumbnailSize(kCellWidth, kCellHeight);

    FillGrid();
    return TRUE;
}

void CBrowseDlg::FillGrid() {
    m_ctlThumbs.RemoveAll();
    m_nShown = 0;
    const int nBoxIndex = m_cboTopic.GetCurSel();
    for (INT_PTR p = 0; p < m_aItems.GetSize(); ++p) {
        if (!TopicMatches(nBoxIndex, m_aItems[p].nTopic)) continue;
        m_ctlThumbs.AddItem(m_aItems[p].strImagePath, static_cast<UINT>(p), CString());
        ++m_nShown;
    }
    m_ctlThumbs.Refresh();
    UpdateRangeLabel();
}

void CBrowseDlg::UpdateRangeLabel() { ::UpdateRangeLabel(m_btnRange, m_ctlThumbs, m_nShown); }

void CBrowseDlg::OnPreviousPage() {
    m_ctlThumbs.PreviousPage();
    UpdateRangeLabel();
}

void CBrowseDlg::OnNextPage() {
    m_ctlThumbs.NextPage();
    UpdateRangeLabel();
}

void CBrowseDlg::OnSelchangeTopic() {
    FillGrid();
    m_ctlThumbs.InvalidateRect(nullptr, TRUE);
}

void CBrowseDlg::OnThumbnailSelected(NMHDR* pNMHDR, LRESULT* pResult) {
    const auto* pRecord = reinterpret_cast<const NMCTRLVALUE*>(pNMHDR);
    // The value is a position in m_aItems, or -1 for an empty cell, which
    // clears the selection.
    const int nValue = static_cast<int>(pRecord->dwValue);
    if (nValue < m_aItems.GetSize()) m_nSelection = nValue < 0 ? -1 : nValue;
    *pResult = 1;
}

BOOL CBrowseDlg::OnEraseBkgnd(CDC* pDC) {
    if (PaintScreenBackground(this, pDC, m_bmpBackground)) return TRUE;
    return CDialog::OnEraseBkgnd(pDC);
}
