// Drawing objects: pens, brushes, fonts, bitmaps and regions own their GDI
// handle and delete it with themselves.
#include <afxwin.h>

#include <cstdlib>
#include <cstring>

#include "temporary_map.h"

namespace {

afx::TemporaryMap<HGDIOBJ, CGdiObject>& Temporaries() {
    thread_local afx::TemporaryMap<HGDIOBJ, CGdiObject> temps(
        [](HGDIOBJ h) { return ::GetObjectType(h) != 0; }, 256);
    return temps;
}

template <class T>
T* TemporaryFor(HGDIOBJ handle) {
    return Temporaries().Get<T>(handle, [](T& wrapper, HGDIOBJ h) {
        wrapper.m_hObject = h;
        wrapper.m_bTemporary = true;
    });
}

}  // namespace

CGdiObject::~CGdiObject() {
    if (!m_bTemporary) DeleteObject();
}

HGDIOBJ CGdiObject::GetSafeHandle() const {
    const CGdiObject* self = this;
    asm("" : "+r"(self));  // callers may ask a null object
    return self ? self->m_hObject : nullptr;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return TemporaryFor<CGdiObject>(hObject); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (!hObject || m_hObject) return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ handle = m_hObject;
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    // Stock objects are shared; deleting one is a no-op that still lets go.
    const BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    return ::GetObjectA(m_hObject, nCount, lpObject);
}
UINT CGdiObject::GetObjectType() const { return UINT(::GetObjectType(m_hObject)); }

BOOL CGdiObject::CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }

// ---------------------------------------------------------------------------

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
CPen* CPen::FromHandle(HPEN hPen) { return TemporaryFor<CPen>(hPen); }
BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}
BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }

CBrush::CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
CBrush* CBrush::FromHandle(HBRUSH hBrush) { return TemporaryFor<CBrush>(hBrush); }
BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
    return Attach(::CreateBrushIndirect(lpLogBrush));
}
// A brush of its own in the system colour (deleting it is harmless).
BOOL CBrush::CreateSysColorBrush(int nIndex) {
    return Attach(::CreateSolidBrush(::GetSysColor(nIndex)));
}

CFont* CFont::FromHandle(HFONT hFont) { return TemporaryFor<CFont>(hFont); }
BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    return Attach(::CreateFontIndirectA(lpLogFont));
}
BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily,
                       LPCTSTR lpszFacename) {
    return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                                bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                                nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
    LOGFONT lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName) {
        std::strncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    }
    return CreatePointFontIndirect(&lf, pDC);
}

// lfHeight holds tenths of a point: the character height in pixels is
// that many tenths of 1/72 inch at the DC's resolution.
BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
    if (!lpLogFont) return FALSE;
    LOGFONT lf = *lpLogFont;
    int dpi = 96;
    if (pDC && pDC->m_hDC) {
        const int caps = ::GetDeviceCaps(pDC->m_hDC, LOGPIXELSY);
        if (caps > 0) dpi = caps;
    }
    lf.lfHeight = -MulDiv(std::abs(lf.lfHeight), dpi, 720);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const { return GetObject(sizeof(LOGFONT), pLogFont); }

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) { return TemporaryFor<CBitmap>(hBitmap); }
BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName) {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}
BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }
BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount,
                           const void* lpBits) {
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}
BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) {
    return Attach(::CreateBitmapIndirect(lpBitmap));
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(afx::HdcOf(pDC), nWidth, nHeight));
}
int CBitmap::GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }

CRgn* CRgn::FromHandle(HRGN hRgn) { return TemporaryFor<CRgn>(hRgn); }
BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}
BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
