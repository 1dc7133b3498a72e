// The canvas: loading, painting, the fill on button release and saving.
#include "controls/coloring_canvas_ctrl.h"

#include "controls/coloring_window_class.h"
#include "controls/control_notify.h"
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

// A 32-bit top-down DIB of the picture's size, the way the history sees it.
BITMAPINFO PixelsInfo(int width, int height) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
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

void CColoringCanvasCtrl::ReadPixels(std::vector<uint32_t>& pixels) const {
    const int w = GetPictureWidth(), h = GetPictureHeight();
    if (w <= 0 || h <= 0) {
        pixels.clear();
        return;
    }
    // The same size again costs neither an allocation nor a clearing.
    pixels.resize(size_t(w) * size_t(h));
    BITMAPINFO bmi = PixelsInfo(w, h);
    if (::GetDIBits(nullptr, static_cast<HBITMAP>(m_bmpPicture.GetSafeHandle()), 0, UINT(h),
                    pixels.data(), &bmi, DIB_RGB_COLORS) != h)
        pixels.clear();
}

void CColoringCanvasCtrl::ShowPixels(const RECT& rcChanged) {
    const int w = GetPictureWidth(), h = GetPictureHeight();
    BITMAPINFO bmi = PixelsInfo(w, h);
    ::SetDIBits(nullptr, static_cast<HBITMAP>(m_bmpPicture.GetSafeHandle()), 0, UINT(h),
                m_pixels.data(), &bmi, DIB_RGB_COLORS);
    if (m_hWnd) InvalidateRect(&rcChanged, FALSE);
}

void CColoringCanvasCtrl::RecordChange() {
    ReadPixels(m_after);
    if (m_after.size() == m_pixels.size() && !m_after.empty())
        m_history.Record(m_pixels.data(), m_after.data(), GetPictureWidth(), GetPictureHeight());
    else
        m_history.Clear();  // another size, or no picture: no way back
    m_pixels.swap(m_after);
    NotifyHistory();
}

void CColoringCanvasCtrl::NotifyHistory() {
    CWnd* pParent = m_hWnd ? GetParent() : nullptr;
    if (!pParent) return;
    NMCTRLVALUE nm{};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = UINT_PTR(GetDlgCtrlID());
    nm.hdr.code = CVN_HISTORYCHANGED;
    nm.dwValue = (CanUndo() ? CVN_CANUNDO : 0) | (CanRedo() ? CVN_CANREDO : 0);
    pParent->SendMessage(WM_NOTIFY, WPARAM(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&nm));
}

void CColoringCanvasCtrl::LoadPicture(CString strPath) {
    Load(strPath);
    m_strPicturePath = strPath;
    m_strStartAgainPath.Empty();
    // Another picture: the steps of the last one lead nowhere here.
    m_history.Clear();
    ReadPixels(m_pixels);
    NotifyHistory();
}

void CColoringCanvasCtrl::SetStartAgainPicture(CString strPath) { m_strStartAgainPath = strPath; }

void CColoringCanvasCtrl::ReloadPicture() {
    // The uncoloured picture a drawing came from, else the file itself.
    Load(m_strStartAgainPath.IsEmpty() ? m_strPicturePath : m_strStartAgainPath);
    if (!HasPicture() && !m_strStartAgainPath.IsEmpty()) Load(m_strPicturePath);
    RecordChange();
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

BOOL CColoringCanvasCtrl::Undo() {
    RECT rcChanged{};
    if (!m_history.Undo(m_pixels.data(), GetPictureWidth(), GetPictureHeight(), &rcChanged))
        return FALSE;
    ShowPixels(rcChanged);
    NotifyHistory();
    return TRUE;
}

BOOL CColoringCanvasCtrl::Redo() {
    RECT rcChanged{};
    if (!m_history.Redo(m_pixels.data(), GetPictureWidth(), GetPictureHeight(), &rcChanged))
        return FALSE;
    ShowPixels(rcChanged);
    NotifyHistory();
    return TRUE;
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
    RecordChange();
    // Repaint and sound even when nothing changed: the child sees and hears
    // that the click was taken.
    InvalidateRect(nullptr, FALSE);
    ::PlaySound(MAKEINTRESOURCE(kFillSoundId), AfxGetInstanceHandle(),
                SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_NOWAIT);
    CWnd::OnLButtonUp(nFlags, point);
    brush.DeleteObject();
}
