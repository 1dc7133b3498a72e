// The palette: the shared colour table, painting, selection by the left
// button (also while dragged), and the right-click path to the colour mixer.
#include "controls/coloring_palette_ctrl.h"

#include <algorithm>
#include <array>

#include "controls/color_mixer_dlg.h"
#include "controls/coloring_window_class.h"

namespace {

// The pick's click sound, a WAVE resource of the executable.
constexpr UINT kPickSoundId = 157;
// The swatch pitch: a 20-pixel swatch and a 1-pixel gap.
constexpr int kPitch = 21;
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Eight groups of six, each from light to dark: a grey ramp, then red,
// orange-brown, yellow, green, cyan, blue and magenta; twelve white slots for
// mixed colours.
constexpr std::array<COLORREF, CColoringPaletteCtrl::kColorCount> kInitialColors = {
    RGB(255, 255, 255),
    RGB(224, 224, 224),
    RGB(192, 192, 192),
    RGB(128, 128, 128),
    RGB(64, 64, 64),
    RGB(0, 0, 0),
    RGB(255, 192, 192),
    RGB(255, 128, 128),
    RGB(255, 0, 0),
    RGB(192, 0, 0),
    RGB(128, 0, 0),
    RGB(64, 0, 0),
    RGB(255, 224, 192),
    RGB(255, 224, 128),
    RGB(255, 192, 0),
    RGB(255, 128, 0),
    RGB(128, 64, 0),
    RGB(128, 64, 64),
    RGB(255, 255, 192),
    RGB(255, 255, 128),
    RGB(255, 255, 0),
    RGB(192, 192, 0),
    RGB(128, 128, 0),
    RGB(64, 64, 0),
    RGB(192, 255, 192),
    RGB(128, 255, 128),
    RGB(0, 255, 0),
    RGB(0, 192, 0),
    RGB(0, 128, 0),
    RGB(0, 64, 0),
    RGB(192, 255, 255),
    RGB(128, 255, 255),
    RGB(0, 255, 255),
    RGB(0, 192, 192),
    RGB(0, 128, 128),
    RGB(0, 64, 64),
    RGB(192, 192, 255),
    RGB(128, 128, 255),
    RGB(0, 0, 255),
    RGB(0, 0, 192),
    RGB(0, 0, 128),
    RGB(0, 0, 64),
    RGB(255, 192, 255),
    RGB(255, 128, 255),
    RGB(255, 0, 255),
    RGB(192, 0, 192),
    RGB(128, 0, 128),
    RGB(64, 0, 64),
    kWhite,
    kWhite,
    kWhite,
    kWhite,
    kWhite,
    kWhite,
    kWhite,
    kWhite,
    kWhite,
    kWhite,
    kWhite,
    kWhite,
};

// The one table of the process, shared by every palette.
std::array<COLORREF, CColoringPaletteCtrl::kColorCount> g_crPaletteColors = kInitialColors;

bool InTable(int nIndex) { return nIndex >= 0 && nIndex < CColoringPaletteCtrl::kColorCount; }

}  // namespace

BEGIN_MESSAGE_MAP(CColoringPaletteCtrl, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_ERASEBKGND()
ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CColoringPaletteCtrl::CColoringPaletteCtrl() { RegisterColoringWindowClass(kClassName); }

CColoringPaletteCtrl::~CColoringPaletteCtrl() = default;

// --- The shared table ----------------------------------------------------

COLORREF CColoringPaletteCtrl::GetTableColor(int nIndex) {
    return InTable(nIndex) ? g_crPaletteColors[nIndex] : kWhite;
}

BOOL CColoringPaletteCtrl::SetTableColor(int nIndex, COLORREF cr) {
    if (!InTable(nIndex)) return FALSE;
    g_crPaletteColors[nIndex] = cr & 0x00FFFFFF;
    return TRUE;
}

void CColoringPaletteCtrl::ResetTable() { g_crPaletteColors = kInitialColors; }

// --- Grid and geometry ---------------------------------------------------

void CColoringPaletteCtrl::SetColumns(int nColumns) {
    m_nColumns = std::clamp(nColumns, 0, kMaxGridSide);
}

void CColoringPaletteCtrl::SetRows(int nRows) { m_nRows = std::clamp(nRows, 0, kMaxGridSide); }

CSize CColoringPaletteCtrl::GetIdealSize() const {
    return CSize(kPitch * m_nColumns + 45, kPitch * m_nRows + 1);
}

CRect CColoringPaletteCtrl::GetSwatchRect(int nColumn, int nRow) {
    return CRect(kPitch * nColumn + 1, kPitch * nRow + 1, kPitch * nColumn + 21,
                 kPitch * nRow + 21);
}

CRect CColoringPaletteCtrl::GetSelectionRect(int nColumn, int nRow) {
    return CRect(kPitch * nColumn, kPitch * nRow, kPitch * nColumn + 22, kPitch * nRow + 22);
}

CRect CColoringPaletteCtrl::GetHitArea() const {
    return CRect(0, 0, kPitch * m_nColumns, kPitch * m_nRows);
}

CRect CColoringPaletteCtrl::GetPreviewRect() const {
    return CRect(kPitch * m_nColumns + 2, 1, kPitch * m_nColumns + 44, kPitch * m_nRows);
}

// --- Selection -----------------------------------------------------------

BOOL CColoringPaletteCtrl::SelectAt(CPoint point) {
    if (!GetHitArea().PtInRect(point)) return FALSE;
    // A gap pixel belongs to the swatch to its right or below it; the top
    // and left margins to the first column and row.
    const int nColumn = point.x / kPitch;
    const int nRow = point.y / kPitch;
    const int nIndex = nRow * m_nColumns + nColumn;
    if (nIndex == m_nSelected) return TRUE;
    InvalidateRect(&m_rcSelection, TRUE);
    m_nSelected = nIndex;
    m_rcSelection = GetSelectionRect(nColumn, nRow);
    InvalidateRect(&m_rcSelection, TRUE);
    CRect rcPreview = GetPreviewRect();
    InvalidateRect(&rcPreview, TRUE);
    // The frame follows the pointer without waiting for the queue.
    UpdateWindow();
    return TRUE;
}

void CColoringPaletteCtrl::NotifyParent(COLORREF cr) {
    CWnd* pParent = GetParent();
    if (!pParent) return;
    NMCTRLVALUE nm{};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = UINT_PTR(GetDlgCtrlID());
    nm.hdr.code = PCN_COLORSELECTED;
    nm.dwValue = cr;
    pParent->SendMessage(WM_NOTIFY, WPARAM(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&nm));
}

void CColoringPaletteCtrl::ChangeSwatch() {
    // A swatch beyond the table shows white and has nowhere to keep a
    // colour: there is nothing to mix.
    const int nIndex = m_nSelected;
    if (!InTable(nIndex)) return;
    CColorMixerDlg dlg(GetTableColor(nIndex), this);
    if (dlg.DoModal() != IDOK) return;
    const COLORREF cr = RGB(dlg.m_nRed & 0xFF, dlg.m_nGreen & 0xFF, dlg.m_nBlue & 0xFF);
    SetTableColor(nIndex, cr);
    if (m_hWnd) {
        InvalidateRect(nullptr, TRUE);
        NotifyParent(cr);
    }
}

// --- Messages ------------------------------------------------------------

void CColoringPaletteCtrl::OnPaint() {
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    dc.FillSolidRect(&rcClient, kGrey);

    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* pOldPen = dc.SelectObject(&pen);
    CBrush* pOldBrush = dc.GetCurrentBrush();
    HGDIOBJ hOldBrush = afx::HandleOf(pOldBrush);
    for (int nRow = 0; nRow < m_nRows; ++nRow) {
        for (int nColumn = 0; nColumn < m_nColumns; ++nColumn) {
            CBrush brush(GetTableColor(nRow * m_nColumns + nColumn));
            dc.SelectObject(&brush);
            dc.Rectangle(GetSwatchRect(nColumn, nRow));
            dc.SelectObject(hOldBrush);
        }
    }

    if (m_nSelected != -1) {
        CBrush white(kWhite);
        dc.FrameRect(&m_rcSelection, &white);
        // Clipped corners: the ring sits in the gaps without touching the
        // neighbours' frames.
        const CRect rc(m_rcSelection);
        dc.SetPixelV(rc.left, rc.top, kGrey);
        dc.SetPixelV(rc.right - 1, rc.top, kGrey);
        dc.SetPixelV(rc.left, rc.bottom - 1, kGrey);
        dc.SetPixelV(rc.right - 1, rc.bottom - 1, kGrey);
    }

    CBrush preview(m_nSelected == -1 ? kWhite : GetTableColor(m_nSelected));
    dc.SelectObject(&preview);
    dc.Rectangle(GetPreviewRect());

    dc.SelectObject(pOldPen);
    dc.SelectObject(hOldBrush);
}

void CColoringPaletteCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
    CWnd::OnLButtonDown(nFlags, point);
    m_bTracking = 1;
    SetCapture();
    SelectAt(point);
}

void CColoringPaletteCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
    m_bTracking = 0;
    ::ReleaseCapture();
    CWnd::OnLButtonUp(nFlags, point);
    if (!SelectAt(point)) return;
    ::PlaySound(MAKEINTRESOURCE(kPickSoundId), AfxGetInstanceHandle(),
                SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_NOWAIT);
    NotifyParent(GetTableColor(m_nSelected));
}

void CColoringPaletteCtrl::OnMouseMove(UINT nFlags, CPoint point) {
    CWnd::OnMouseMove(nFlags, point);
    if (m_bTracking) SelectAt(point);
}

BOOL CColoringPaletteCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CColoringPaletteCtrl::OnRButtonUp(UINT nFlags, CPoint point) {
    CWnd::OnRButtonUp(nFlags, point);
    if (SelectAt(point)) ChangeSwatch();
}
