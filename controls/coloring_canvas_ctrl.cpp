// The canvas: loading, painting, the fill on button release and saving.
#include "controls/coloring_canvas_ctrl.h"

#include "controls/coloring_window_class.h"
#include "controls/picture_file.h"
#include "imagelib/pix_image.h"

namespace {

// The fill's click sound, a WAVE resource of the executable.
constexpr UINT kFillSoundId = 156;

// A picture the image library could not take as a whole (to save it) is
// refused when it is loaded, so that the canvas never holds what it cannot
// write back.
bool FitsImageLibrary(const BITMAP& bm) {
    if (bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
    if (DWORD(bm.bmWidth) > kPixMaxDimension || DWORD(bm.bmHeight) > kPixMaxDimension) return false;
    return uint64_t(bm.bmWidth) * uint64_t(bm.bmHeight) <= kPixMaxPixels;
}

}  // namespace

BEGIN_MESSAGE_MAP(CColoringCanvasCtrl, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_CREATE()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CColoringCanvasCtrl::CColoringCanvasCtrl() {
    m_dcMem.CreateCompatibleDC(nullptr);
    RegisterColoringWindowClass(kClassName);
}

CColoringCanvasCtrl::~CColoringCanvasCtrl() {
    m_bmpPicture.DeleteObject();
    m_dcMem.DeleteDC();
}

// --- Operations ----------------------------------------------------------

void CColoringCanvasCtrl::Load(const CString& strPath) {
    m_bmpPicture.DeleteObject();
    HBITMAP hImage = LoadPictureFile(strPath);
    if (!hImage) return;
    m_bmpPicture.Attach(hImage);
    BITMAP bm{};
    if (!m_bmpPicture.GetBitmap(&bm) || !FitsImageLibrary(bm)) m_bmpPicture.DeleteObject();
}

void CColoringCanvasCtrl::LoadPicture(CString strPath) {
    Load(strPath);
    m_strPicturePath = strPath;
    m_strStartAgainPath.Empty();
}

void CColoringCanvasCtrl::SetStartAgainPicture(CString strPath) { m_strStartAgainPath = strPath; }

void CColoringCanvasCtrl::ReloadPicture() {
    // The uncoloured picture a drawing came from, else the file itself.
    Load(m_strStartAgainPath.IsEmpty() ? m_strPicturePath : m_strStartAgainPath);
    if (!HasPicture() && !m_strStartAgainPath.IsEmpty()) Load(m_strPicturePath);
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

int CColoringCanvasCtrl::GetPictureWidth() const {
    BITMAP bm{};
    if (!m_bmpPicture.GetSafeHandle() || !m_bmpPicture.GetBitmap(&bm)) return 0;
    return bm.bmWidth;
}

int CColoringCanvasCtrl::GetPictureHeight() const {
    BITMAP bm{};
    if (!m_bmpPicture.GetSafeHandle() || !m_bmpPicture.GetBitmap(&bm)) return 0;
    return bm.bmHeight;
}

void CColoringCanvasCtrl::SetFillColor(COLORREF crFill) { m_crFill = crFill; }

void CColoringCanvasCtrl::SetReadOnly(BOOL bReadOnly) { m_bReadOnly = bReadOnly; }

BOOL CColoringCanvasCtrl::SavePicture(CString strPath, CString* pstrError) {
    if (!m_bmpPicture.GetSafeHandle()) return TRUE;
    // The bitmap is never selected outside a paint or a fill, so the image
    // library can read it here.
    PixImage image(0);
    if (image.CreateFromHBITMAP(static_cast<HBITMAP>(m_bmpPicture.GetSafeHandle()), nullptr) &&
        image.Save(strPath, PixFormatForPath(strPath)))
        return TRUE;
    if (pstrError) *pstrError = image.GetLastError();
    return FALSE;
}

// --- Messages ------------------------------------------------------------

void CColoringCanvasCtrl::OnPaint() {
    CPaintDC dc(this);
    if (!m_bmpPicture.GetSafeHandle()) return;
    BITMAP bm{};
    m_bmpPicture.GetBitmap(&bm);
    CBitmap* pOldBitmap = m_dcMem.SelectObject(&m_bmpPicture);
    // The whole picture on every paint: the paint DC clips to what needs it.
    dc.BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &m_dcMem, 0, 0, SRCCOPY);
    m_dcMem.SelectObject(pOldBitmap);
}

BOOL CColoringCanvasCtrl::OnEraseBkgnd(CDC* pDC) {
    if (m_bmpPicture.GetSafeHandle()) return TRUE;
    return CWnd::OnEraseBkgnd(pDC);
}

int CColoringCanvasCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    return 0;
}

void CColoringCanvasCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
    if (!m_bmpPicture.GetSafeHandle() || m_bReadOnly) {
        CWnd::OnLButtonUp(nFlags, point);
        return;
    }
    CBrush brush;
    brush.CreateSolidBrush(m_crFill);
    CBitmap* pOldBitmap = m_dcMem.SelectObject(&m_bmpPicture);
    CBrush* pOldBrush = m_dcMem.SelectObject(&brush);
    // The region is every pixel joined to the clicked one, sideways or up
    // and down, through its exact colour; outlines are regions like any.
    COLORREF crArea = m_dcMem.GetPixel(point.x, point.y);
    m_dcMem.ExtFloodFill(point.x, point.y, crArea, FLOODFILLSURFACE);
    m_dcMem.SelectObject(pOldBrush);
    m_dcMem.SelectObject(pOldBitmap);
    // Repaint and sound even when nothing changed: the child sees and hears
    // that the click was taken.
    InvalidateRect(nullptr, FALSE);
    ::PlaySound(MAKEINTRESOURCE(kFillSoundId), AfxGetInstanceHandle(),
                SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_NOWAIT);
    CWnd::OnLButtonUp(nFlags, point);
    brush.DeleteObject();
}
