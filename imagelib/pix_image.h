// The image container: a device-independent bitmap of 1, 4, 8 or 24 bits
// per pixel, stored bottom-up in one block (header, colour table, rows) as
// the GDI takes it. Reads BMP, PNG, ICO, GIF, TGA, PCX and WBMP files,
// writes BMP and PNG files, makes thumbnails and draws itself on a device context.
#pragma once
#include <cstdio>

#include "imagelib/pix_file.h"
#include "imagelib/pix_types.h"

// The format a picture is saved in, from its file name: PNG for a name
// ending in ".png" (any case), BMP for any other.
DWORD PixFormatForPath(const char* path);

struct PixImageState {
    DWORD nStride = 0;                 // bytes per pixel row, a multiple of 4
    BYTE* pFirstRow = nullptr;         // the bottom row, inside the block
    class PixImage* pOwner = nullptr;  // set while this object borrows a block
    DWORD nFormat = 0;
    char szLastError[256] = {};
    long nXDPI = 96;
    long nYDPI = 96;
    long nTransparentIndex = -1;
    BYTE nAlphaMax = 255;
    BYTE nJpegQuality = 90;
    bool bEnabled = true;
    long nProgress = 0;
    long nEscape = 0;
};

class PixImage {
public:
    explicit PixImage(DWORD format = PIX_FORMAT_UNKNOWN);
    // A deep copy. The library keeps no selection or alpha plane, so the
    // last two flags change nothing; without pixels the rows are zero.
    PixImage(const PixImage& src, bool withPixels = true, bool withSelection = true,
             bool withAlpha = true);
    PixImage& operator=(const PixImage&) = delete;
    virtual ~PixImage();

    // Frees the block; refuses (false) while the block is borrowed.
    bool Destroy();
    // Returns the new block, or null with a last error.
    void* Create(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD format = PIX_FORMAT_UNKNOWN);
    // Takes over from's header, state and block; from is left empty.
    bool Transfer(PixImage& from);

    bool CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette = nullptr);
    void Draw2(HDC dc, const RECT& rect);

    bool Save(const char* path, DWORD format);
    bool Encode(FILE* stream, DWORD format);
    bool Encode(PixFile* stream, DWORD format);
    bool Load(const char* path, DWORD format = PIX_FORMAT_UNKNOWN);
    bool Decode(FILE* stream, DWORD format);
    bool Decode(PixFile* stream, DWORD format);

    bool Thumbnail(long cx, long cy, PixRGBQuad background, PixImage* target = nullptr);

    const char* GetLastError() const { return m_state.szLastError; }
    void SetXDPI(long dpi);
    void SetYDPI(long dpi);
    long GetXDPI() const { return m_state.nXDPI; }
    long GetYDPI() const { return m_state.nYDPI; }

    bool IsValid() const { return m_pBlock != nullptr; }
    DWORD GetWidth() const { return DWORD(m_bih.biWidth); }
    DWORD GetHeight() const { return DWORD(m_bih.biHeight); }
    WORD GetBpp() const { return m_bih.biBitCount; }
    DWORD GetStride() const { return m_state.nStride; }
    DWORD GetFormat() const { return m_state.nFormat; }
    DWORD GetSize() const;
    const PixInfoHeader& GetHeader() const { return m_bih; }
    // The block: header copy, colour table, rows (as a BITMAPINFO).
    BYTE* GetBlock() const { return m_pBlock; }

    // Row `row` counted from the bottom, as stored; null when out of range.
    BYTE* GetRow(DWORD row) const;
    DWORD GetNumColors() const { return m_pBlock ? m_bih.biClrUsed : 0; }
    PixRGBQuad* GetPalette() const;
    // The colour of a pixel; y counts rows from the top. Black outside.
    PixRGBQuad GetPixelColor(long x, long y) const;
    long GetTransparentIndex() const { return m_state.nTransparentIndex; }
    void SetTransparentIndex(long index) { m_state.nTransparentIndex = index; }

protected:
    // True, with a last error, when an encoder must not go on.
    bool EncodeSafeCheck(PixFile* stream);
    void Ghost(PixImage* from);
    // Records the last error and returns false, so that a failure is one
    // statement: `return Fail("Not a BMP");`. (Named so that it does not
    // hide the layer's ::SetLastError.)
    bool Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void CopyLastError(const PixImage& from);
    // Writes m_bih into the block's header copy.
    void SyncBlockHeader();

    PixInfoHeader m_bih;
    BYTE* m_pBlock;
    PixImageState m_state;

private:
    void Reset(DWORD format);
};
