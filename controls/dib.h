// CDib: a small device-independent bitmap in one block: the 40-byte
// BITMAPINFOHEADER, the colour table (2, 16 or 256 entries for 1, 4 or 8 bits
// per pixel, none above) and the pixel rows, each padded to 4 bytes, bottom
// row first. Rows are reached from the top down.
#pragma once

#include <afxwin.h>

#include <cstddef>
#include <memory>
#include <vector>

class CDib {
public:
    CDib() = default;
    ~CDib() = default;
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Bit counts 1, 4, 8, 24 or 32; sizes from 1 to 16384. FALSE (and the
    // bitmap left empty) otherwise. The pixels start at 0.
    BOOL Create(int nWidth, int nHeight, int nBitCount);
    void Destroy();
    BOOL IsValid() const { return m_pBlock != nullptr; }

    int GetWidth() const;
    int GetHeight() const;
    int GetBitCount() const;
    int GetColorCount() const;
    // Bytes per row, padded to 4.
    int GetPitch() const;

    // Sets the colour table from red, green, blue triples, one per entry
    // from the first, nCount entries at most the table's size. Returns the
    // number of entries set.
    int SetColorTable(const BYTE* pRgbTriples, int nCount);
    // One entry; FALSE outside the table.
    BOOL SetColor(int nIndex, COLORREF cr);
    COLORREF GetColor(int nIndex) const;

    // Row y counted from the top; null outside the bitmap.
    BYTE* GetRow(int y);
    const BYTE* GetRow(int y) const;

    BITMAPINFO* GetInfo() { return reinterpret_cast<BITMAPINFO*>(m_pBlock.get()); }
    const BYTE* GetBits() const { return m_pBits; }

    // Draws the whole bitmap with SetDIBitsToDevice at (x, y), clipped to
    // cx x cy. Returns the scan lines drawn.
    int Draw(HDC hDC, int x, int y, int cx, int cy) const;
    int Draw(HDC hDC, int x, int y) const { return Draw(hDC, x, y, GetWidth(), GetHeight()); }

private:
    const BITMAPINFOHEADER* Header() const {
        return reinterpret_cast<const BITMAPINFOHEADER*>(m_pBlock.get());
    }
    RGBQUAD* Colors() const;

    std::unique_ptr<BYTE[]> m_pBlock;
    BYTE* m_pBits = nullptr;
    std::vector<BYTE*> m_rows;
};
