// CDib: one block of header, colour table and rows, drawn with
// SetDIBitsToDevice.
#include "controls/dib.h"

#include <cstring>
#include <new>

namespace {

constexpr int kMaxSide = 16384;

int ColorsFor(int nBitCount) { return nBitCount <= 8 ? 1 << nBitCount : 0; }

}  // namespace

BOOL CDib::Create(int nWidth, int nHeight, int nBitCount) {
    Destroy();
    if (nWidth < 1 || nHeight < 1 || nWidth > kMaxSide || nHeight > kMaxSide) return FALSE;
    if (nBitCount != 1 && nBitCount != 4 && nBitCount != 8 && nBitCount != 24 && nBitCount != 32)
        return FALSE;
    const size_t nPitch = ((size_t(nWidth) * size_t(nBitCount) + 31) / 32) * 4;
    const size_t nColors = size_t(ColorsFor(nBitCount));
    const size_t nHeader = sizeof(BITMAPINFOHEADER) + nColors * sizeof(RGBQUAD);
    const size_t nSize = nHeader + nPitch * size_t(nHeight);
    std::unique_ptr<BYTE[]> pBlock(new (std::nothrow) BYTE[nSize]());
    if (!pBlock) return FALSE;
    auto* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(pBlock.get());
    pHeader->biSize = sizeof(BITMAPINFOHEADER);
    pHeader->biWidth = nWidth;
    pHeader->biHeight = nHeight;  // bottom-up
    pHeader->biPlanes = 1;
    pHeader->biBitCount = WORD(nBitCount);
    pHeader->biCompression = BI_RGB;
    pHeader->biSizeImage = DWORD(nPitch * size_t(nHeight));
    pHeader->biClrUsed = DWORD(nColors);
    m_pBlock = std::move(pBlock);
    m_pBits = m_pBlock.get() + nHeader;
    // The top row is stored last.
    m_rows.resize(size_t(nHeight));
    for (int y = 0; y < nHeight; ++y)
        m_rows[size_t(y)] = m_pBits + size_t(nHeight - 1 - y) * nPitch;
    return TRUE;
}

void CDib::Destroy() {
    m_pBlock.reset();
    m_pBits = nullptr;
    m_rows.clear();
}

int CDib::GetWidth() const { return m_pBlock ? int(Header()->biWidth) : 0; }
int CDib::GetHeight() const { return m_pBlock ? int(Header()->biHeight) : 0; }
int CDib::GetBitCount() const { return m_pBlock ? int(Header()->biBitCount) : 0; }
int CDib::GetColorCount() const { return m_pBlock ? int(Header()->biClrUsed) : 0; }

int CDib::GetPitch() const {
    return m_pBlock ? int(((size_t(GetWidth()) * size_t(GetBitCount()) + 31) / 32) * 4) : 0;
}

RGBQUAD* CDib::Colors() const {
    return m_pBlock ? reinterpret_cast<RGBQUAD*>(m_pBlock.get() + sizeof(BITMAPINFOHEADER))
                    : nullptr;
}

int CDib::SetColorTable(const BYTE* pRgbTriples, int nCount) {
    if (!pRgbTriples || nCount <= 0) return 0;
    const int n = std::min(nCount, GetColorCount());
    RGBQUAD* pColors = Colors();
    for (int i = 0; i < n; ++i) {
        pColors[i].rgbRed = pRgbTriples[3 * i];
        pColors[i].rgbGreen = pRgbTriples[3 * i + 1];
        pColors[i].rgbBlue = pRgbTriples[3 * i + 2];
        pColors[i].rgbReserved = 0;
    }
    return n;
}

BOOL CDib::SetColor(int nIndex, COLORREF cr) {
    if (nIndex < 0 || nIndex >= GetColorCount()) return FALSE;
    RGBQUAD& q = Colors()[nIndex];
    q.rgbRed = GetRValue(cr);
    q.rgbGreen = GetGValue(cr);
    q.rgbBlue = GetBValue(cr);
    q.rgbReserved = 0;
    return TRUE;
}

COLORREF CDib::GetColor(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetColorCount()) return CLR_INVALID;
    const RGBQUAD& q = Colors()[nIndex];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

BYTE* CDib::GetRow(int y) { return y >= 0 && y < int(m_rows.size()) ? m_rows[size_t(y)] : nullptr; }

const BYTE* CDib::GetRow(int y) const {
    return y >= 0 && y < int(m_rows.size()) ? m_rows[size_t(y)] : nullptr;
}

int CDib::Draw(HDC hDC, int x, int y, int cx, int cy) const {
    if (!m_pBlock || !hDC || cx <= 0 || cy <= 0) return 0;
    const int nWidth = std::min(cx, GetWidth());
    const int nHeight = std::min(cy, GetHeight());
    // Of a bottom-up DIB, the top nHeight rows start at scan GetHeight() - nHeight.
    return ::SetDIBitsToDevice(hDC, x, y, DWORD(nWidth), DWORD(nHeight), 0, GetHeight() - nHeight,
                               0, UINT(GetHeight()), m_pBits,
                               reinterpret_cast<const BITMAPINFO*>(m_pBlock.get()), DIB_RGB_COLORS);
}
