// The two operations that meet the GDI: taking a device-dependent bitmap
// into an image, and drawing an image stretched on a device context.
#include <cstring>

#include "imagelib/pix_image.h"
#include "windows.h"

bool PixImage::CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette) {
    if (!Destroy()) return false;
    if (!bitmap) {
        return Fail("CreateFromHBITMAP: no bitmap");
    }
    BITMAP info{};
    if (GetObject(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) {
        return Fail("CreateFromHBITMAP: not a bitmap");
    }
    // 16- and 32-bit bitmaps become 24-bit images; 1, 4 and 8 stay.
    if (!Create(DWORD(info.bmWidth), DWORD(info.bmHeight), info.bmBitsPixel, PIX_FORMAT_UNKNOWN))
        return false;
    // The GDI tells running out of memory apart from other failures only
    // through the thread's last error.
    SetLastError(0);
    HDC screen = GetDC(nullptr);
    if (!screen) {
        if (::GetLastError() == ERROR_NOT_ENOUGH_MEMORY)
            Fail("CreateFromHBITMAP: can't allocate memory");
        else
            Fail("CreateFromHBITMAP: no screen device context");
        Destroy();
        return false;
    }
    HPALETTE previous = nullptr;
    if (palette) {
        previous = SelectPalette(screen, palette, FALSE);
        RealizePalette(screen);
    }
    // The GDI converts the pixels to the image's depth and, for 8 bits and
    // less, fills the colour table that follows the header in the block.
    int lines = GetDIBits(screen, bitmap, 0, GetHeight(), m_state.pFirstRow,
                          reinterpret_cast<BITMAPINFO*>(m_pBlock), DIB_RGB_COLORS);
    if (palette) SelectPalette(screen, previous, FALSE);
    ReleaseDC(nullptr, screen);
    if (lines == 0) {
        if (::GetLastError() == ERROR_NOT_ENOUGH_MEMORY)
            Fail("GetDIBits failed: can't allocate memory");
        else
            Fail("GetDIBits failed");
        Destroy();
        return false;
    }
    SyncBlockHeader();
    return true;
}

void PixImage::Draw2(HDC dc, const RECT& rect) {
    const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (!m_pBlock || !dc || width == 0 || height == 0) return;
    SyncBlockHeader();
    SetStretchBltMode(dc, COLORONCOLOR);
    const long transparent = m_state.nTransparentIndex;
    if (transparent < 0 || transparent >= long(GetNumColors())) {
        StretchDIBits(dc, rect.left, rect.top, width, height, 0, 0, int(GetWidth()),
                      int(GetHeight()), m_state.pFirstRow,
                      reinterpret_cast<const BITMAPINFO*>(m_pBlock), DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    // Through a mask: white where the transparent colour is, black
    // elsewhere. AND-ing it keeps the destination under the transparent
    // pixels and clears the rest; OR-ing the picture, with its transparent
    // colour made black, then paints the rest.
    PixImage mask;
    PixImage picture(*this);
    if (!mask.Create(GetWidth(), GetHeight(), 1, PIX_FORMAT_UNKNOWN) || !picture.IsValid()) return;
    mask.GetPalette()[0] = PixRGBQuad{0, 0, 0, 0};
    mask.GetPalette()[1] = PixRGBQuad{255, 255, 255, 0};
    for (DWORD y = 0; y < GetHeight(); ++y) {
        BYTE* row = mask.GetRow(y);
        for (DWORD x = 0; x < GetWidth(); ++x) {
            DWORD index;
            const BYTE* src = GetRow(y);
            switch (GetBpp()) {
                case 8: index = src[x]; break;
                case 4: index = (src[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F; break;
                default: index = (src[x / 8] >> (7 - x % 8)) & 1; break;
            }
            if (long(index) == transparent) row[x / 8] |= BYTE(0x80 >> (x % 8));
        }
    }
    picture.GetPalette()[transparent] = PixRGBQuad{0, 0, 0, 0};
    picture.SyncBlockHeader();
    StretchDIBits(dc, rect.left, rect.top, width, height, 0, 0, int(GetWidth()), int(GetHeight()),
                  mask.GetRow(0), reinterpret_cast<const BITMAPINFO*>(mask.GetBlock()),
                  DIB_RGB_COLORS, SRCAND);
    StretchDIBits(dc, rect.left, rect.top, width, height, 0, 0, int(GetWidth()), int(GetHeight()),
                  picture.GetRow(0), reinterpret_cast<const BITMAPINFO*>(picture.GetBlock()),
                  DIB_RGB_COLORS, SRCPAINT);
}
