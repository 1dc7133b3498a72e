// The thumbnail control: the page image, painting with the selection ring,
// picking with the mouse, and scrolling by rows and pages.
#include "controls/coloring_thumbnail_ctrl.h"
#include "controls/coloring_window_class.h"

#include <algorithm>

#include "controls/picture_file.h"
#include "imagelib/pix_image.h"
#include "res/resource.h"

namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kRingColor = RGB(255, 0, 0);
// Cells and the page margin are 2 pixels apart.
constexpr int kGap = 2;
// Bounds that keep every page computation inside an int.
constexpr int kMaxCellSide = 32767;
constexpr int kMaxGridSide = 1024;

}  // namespace

BEGIN_MESSAGE_MAP(CColoringThumbnailCtrl, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CColoringThumbnailCtrl::CColoringThumbnailCtrl() {
    // The thumbnails show the standard arrow, not the paint brush.
    RegisterColoringWindowClass(kThumbnailClassName, ::LoadCursor(nullptr, IDC_ARROW));
}

CColoringThumbnailCtrl::~CColoringThumbnailCtrl() { m_bmpGrid.DeleteObject(); }

// --- Shape ----------------------------------------------------------------

void CColoringThumbnailCtrl::SetRows(int nRows) { m_nRows = std::clamp(nRows, 1, kMaxGridSide); }

void CColoringThumbnailCtrl::SetColumns(int nColumns) {
    m_nColumns = std::clamp(nColumns, 1, kMaxGridSide);
}

void CColoringThumbnailCtrl::SetThumbnailSize(int cx, int cy) {
    m_nThumbWidth = std::clamp(cx, 1, kMaxCellSide);
    m_nThumbHeight = std::clamp(cy, 1, kMaxCellSide);
}

CSize CColoringThumbnailCtrl::GetIdealSize() const {
    return CSize((m_nThumbWidth + kGap) * m_nColumns + kGap,
                 (m_nThumbHeight + kGap) * m_nRows + kGap);
}

CRect CColoringThumbnailCtrl::RingOfCell(int nCell) const {
    const int x0 = (nCell % m_nColumns) * (m_nThumbWidth + kGap) + kGap;
    const int y0 = (nCell / m_nColumns) * (m_nThumbHeight + kGap) + kGap;
    return CRect(x0 - kGap, y0 - kGap, x0 + m_nThumbWidth + kGap, y0 + m_nThumbHeight + kGap);
}

// --- The list ---------------------------------------------------------------

void CColoringThumbnailCtrl::RemoveAll() {
    m_astrCaptions.RemoveAll();
    m_astrImages.RemoveAll();
    m_anData.RemoveAll();
    m_nSelected = -1;
    m_nFirst = 0;
}

void CColoringThumbnailCtrl::AddItem(CString strImagePath, UINT nData, CString strCaption) {
    m_astrCaptions.Add(strCaption);
    m_astrImages.Add(strImagePath);
    m_anData.Add(nData);
}

// --- The page image -----------------------------------------------------------

void CColoringThumbnailCtrl::Refresh() {
    m_bmpGrid.DeleteObject();
    const CSize size = GetIdealSize();
    CClientDC dcWindow(this);
    if (!m_bmpGrid.CreateCompatibleBitmap(&dcWindow, size.cx, size.cy)) return;
    CDC dcMem;
    if (!dcMem.CreateCompatibleDC(&dcWindow)) {
        m_bmpGrid.DeleteObject();
        return;
    }
    CBitmap* pOldBitmap = dcMem.SelectObject(&m_bmpGrid);
    dcMem.FillSolidRect(0, 0, size.cx, size.cy, kGrey);
    CPen penOutline;
    penOutline.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    CBrush brushEmpty;
    brushEmpty.CreateSolidBrush(RGB(255, 255, 255));
    CPen* pOldPen = dcMem.SelectObject(&penOutline);
    CBrush* pOldBrush = dcMem.SelectObject(&brushEmpty);

    const int w = m_nThumbWidth, h = m_nThumbHeight;
    const int nCount = GetItemCount();
    for (int r = 0; r < m_nRows; ++r) {
        for (int k = 0; k < m_nColumns; ++k) {
            const int x0 = k * (w + kGap) + kGap;
            const int y0 = r * (h + kGap) + kGap;
            const int i = m_nFirst + r * m_nColumns + k;
            bool bDrawn = false;
            if (i >= 0 && i < nCount) {
                // Decoded, drawn and released before the next cell.
                PixImage image;
                if (image.Load(NativeFilePath(m_astrImages[i])) &&
                    image.Thumbnail(w, h, PixRGBQuad{255, 255, 255, 0})) {
                    image.Draw2(dcMem.GetSafeHdc(), CRect(x0, y0, x0 + w, y0 + h));
                    dcMem.MoveTo(x0, y0);
                    dcMem.LineTo(x0 + w - 1, y0);
                    dcMem.LineTo(x0 + w - 1, y0 + h - 1);
                    dcMem.LineTo(x0, y0 + h - 1);
                    dcMem.LineTo(x0, y0);
                    bDrawn = true;
                }
            }
            if (!bDrawn) dcMem.Rectangle(x0, y0, x0 + w, y0 + h);
        }
    }

    dcMem.SelectObject(pOldBrush);
    dcMem.SelectObject(pOldPen);
    dcMem.SelectObject(pOldBitmap);
}

// --- Painting -----------------------------------------------------------------

BOOL CColoringThumbnailCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CColoringThumbnailCtrl::OnPaint() {
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    BITMAP bm{};
    int cxPage = 0, cyPage = 0;
    if (m_bmpGrid.GetSafeHandle() && m_bmpGrid.GetBitmap(&bm)) {
        cxPage = std::min<int>(bm.bmWidth, rcClient.Width());
        cyPage = std::min<int>(bm.bmHeight, rcClient.Height());
        CDC dcMem;
        dcMem.CreateCompatibleDC(&dc);
        CBitmap* pOld = dcMem.SelectObject(&m_bmpGrid);
        dc.BitBlt(0, 0, cxPage, cyPage, &dcMem, 0, 0, SRCCOPY);
        dcMem.SelectObject(pOld);
    }
    // Beyond the page image (or before the first Refresh): the margin's grey.
    if (cxPage < rcClient.Width())
        dc.FillSolidRect(cxPage, 0, rcClient.Width() - cxPage, rcClient.Height(), kGrey);
    if (cyPage < rcClient.Height())
        dc.FillSolidRect(0, cyPage, cxPage, rcClient.Height() - cyPage, kGrey);

    const int nPage = m_nRows * m_nColumns;
    if (m_nSelected != -1 && m_nSelected >= m_nFirst && m_nSelected < m_nFirst + nPage) {
        CBrush brushRing;
        brushRing.CreateSolidBrush(kRingColor);
        const CRect rc(m_rcSelection);
        dc.FrameRect(&rc, &brushRing);
        // Clipped corners: the ring's corner pixels take the gap's grey.
        dc.SetPixelV(rc.left, rc.top, kGrey);
        dc.SetPixelV(rc.right - 1, rc.top, kGrey);
        dc.SetPixelV(rc.left, rc.bottom - 1, kGrey);
        dc.SetPixelV(rc.right - 1, rc.bottom - 1, kGrey);
    }
}

// --- The mouse ------------------------------------------------------------------

BOOL CColoringThumbnailCtrl::SelectAt(CPoint point) {
    const int cxCell = m_nThumbWidth + kGap, cyCell = m_nThumbHeight + kGap;
    if (point.x < 0 || point.y < 0 || point.x >= cxCell * m_nColumns || point.y >= cyCell * m_nRows)
        return FALSE;
    // A point in the gap belongs to the cell right of it or below it.
    const int nCell = (point.y / cyCell) * m_nColumns + point.x / cxCell;
    const int nIndex = m_nFirst + nCell;
    if (nIndex == m_nSelected) return TRUE;
    if (m_nSelected != -1) InvalidateRect(&m_rcSelection, TRUE);
    m_nSelected = nIndex;
    m_rcSelection = RingOfCell(nCell);
    InvalidateRect(&m_rcSelection, TRUE);
    UpdateWindow();
    return TRUE;
}

void CColoringThumbnailCtrl::OnMouseMove(UINT nFlags, CPoint point) {
    CWnd::OnMouseMove(nFlags, point);
    if (m_bTracking) SelectAt(point);
}

void CColoringThumbnailCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
    CWnd::OnLButtonDown(nFlags, point);
    SetFocus();
    m_bTracking = TRUE;
    SetCapture();
    SelectAt(point);
}

// The class has CS_DBLCLKS: a quick second press is a press all the same.
void CColoringThumbnailCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
    OnLButtonDown(nFlags, point);
}

void CColoringThumbnailCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
    // Only a release that ends a press on the control picks: a release
    // left over from a press elsewhere (a closing drop-down list) does not.
    const BOOL bWasTracking = m_bTracking;
    m_bTracking = FALSE;
    if (GetCapture() == this) ::ReleaseCapture();
    CWnd::OnLButtonUp(nFlags, point);
    if (!bWasTracking) return;
    if (SelectAt(point)) {
        ::PlaySoundA(MAKEINTRESOURCEA(IDW_THUMBNAIL), AfxGetInstanceHandle(),
                     SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_NOWAIT);
        NotifyParent();
    }
}

void CColoringThumbnailCtrl::OnCaptureChanged(CWnd* pWnd) {
    // The capture went elsewhere: the press no longer belongs to this control.
    if (pWnd != this) m_bTracking = FALSE;
    CWnd::OnCaptureChanged(pWnd);
}

void CColoringThumbnailCtrl::NotifyParent() {
    CWnd* pParent = GetParent();
    if (!pParent) return;
    NMCTRLVALUE record{};
    record.hdr.hwndFrom = m_hWnd;
    record.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    record.hdr.code = THN_ITEMSELECTED;
    record.dwValue = (m_nSelected >= 0 && m_nSelected < GetItemCount())
                         ? static_cast<DWORD>(m_anData[m_nSelected])
                         : static_cast<DWORD>(-1);
    pParent->SendMessage(WM_NOTIFY, record.hdr.idFrom, reinterpret_cast<LPARAM>(&record));
}

// --- Scrolling ----------------------------------------------------------------

void CColoringThumbnailCtrl::ShowPage() {
    Refresh();
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

void CColoringThumbnailCtrl::ScrollRowDown() {
    const int nPage = m_nRows * m_nColumns;
    if (nPage >= GetItemCount() - m_nFirst) return;
    m_nFirst += m_nColumns;
    if (m_nSelected < m_nFirst)
        m_nSelected = -1;
    else
        m_rcSelection = RingOfCell(m_nSelected - m_nFirst);
    ShowPage();
}

void CColoringThumbnailCtrl::ScrollRowUp() {
    if (m_nFirst <= 0) return;
    const int nPage = m_nRows * m_nColumns;
    m_nFirst = std::max(0, m_nFirst - m_nColumns);
    if (m_nSelected != -1 && m_nSelected >= m_nFirst && m_nSelected < m_nFirst + nPage)
        m_rcSelection = RingOfCell(m_nSelected - m_nFirst);
    else
        m_nSelected = -1;
    ShowPage();
}

void CColoringThumbnailCtrl::NextPage() {
    const int nPage = m_nRows * m_nColumns;
    if (m_nFirst + nPage >= GetItemCount()) return;
    m_nFirst += nPage;
    m_nSelected = -1;
    ShowPage();
}

void CColoringThumbnailCtrl::PreviousPage() {
    if (m_nFirst <= 0) return;
    m_nFirst = std::max(0, m_nFirst - m_nRows * m_nColumns);
    m_nSelected = -1;
    ShowPage();
}
