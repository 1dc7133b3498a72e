#include "imagelib/pix_image.h"

#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

// Resolutions beyond what the header's field holds are kept at its limit.
LONG PelsPerMeter(long dpi) {
    double pels = std::floor(double(dpi) * 39.37007874015748 + 0.5);
    return pels >= 2147483647.0 ? 2147483647 : LONG(pels);
}

DWORD StrideOf(DWORD width, DWORD bitsPerPixel) {
    return DWORD(((uint64_t(width) * bitsPerPixel + 31) / 32) * 4);
}

}  // namespace

PixImage::PixImage(DWORD format) : m_bih{}, m_pBlock(nullptr) { Reset(format); }

PixImage::PixImage(const PixImage& src, bool withPixels, bool, bool) : m_bih{}, m_pBlock(nullptr) {
    Reset(src.m_state.nFormat);
    m_bih = src.m_bih;
    m_state = src.m_state;
    m_state.pOwner = nullptr;
    m_state.pFirstRow = nullptr;
    if (!src.m_pBlock) return;
    DWORD size = src.GetSize();
    m_pBlock = static_cast<BYTE*>(std::calloc(1, size));
    if (!m_pBlock) {
        std::memset(&m_bih, 0, sizeof m_bih);
        Fail("PixImage::Create can't allocate memory");
        return;
    }
    DWORD head = m_bih.biSize + m_bih.biClrUsed * sizeof(PixRGBQuad);
    std::memcpy(m_pBlock, src.m_pBlock, withPixels ? size : head);
    m_state.pFirstRow = m_pBlock + head;
}

PixImage::~PixImage() { Destroy(); }

void PixImage::Reset(DWORD format) {
    std::memset(&m_bih, 0, sizeof m_bih);
    m_pBlock = nullptr;
    m_state = PixImageState{};
    m_state.nFormat = format;
    SetXDPI(96);
    SetYDPI(96);
}

bool PixImage::Destroy() {
    if (m_state.pOwner) return false;
    std::free(m_pBlock);
    m_pBlock = nullptr;
    m_state.pFirstRow = nullptr;
    return true;
}

void* PixImage::Create(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD format) {
    if (!Destroy()) return nullptr;
    // Until the new pixels exist the image is empty: a failure below leaves
    // no size without pixels behind it.
    m_bih.biWidth = 0;
    m_bih.biHeight = 0;
    m_bih.biSizeImage = 0;
    m_bih.biClrUsed = 0;
    m_state.nStride = 0;
    if (width == 0 || height == 0) {
        Fail("PixImage::Create : width and height must be greater than zero");
        return nullptr;
    }
    // Sizes the header fields cannot hold, or that no picture has, are
    // refused before any arithmetic on them.
    if (width > kPixMaxDimension || height > kPixMaxDimension ||
        uint64_t(width) * height > kPixMaxPixels) {
        Fail("PixImage::Create can't allocate memory");
        return nullptr;
    }
    DWORD bpp, colours;
    if (bitsPerPixel <= 1) {
        bpp = 1;
        colours = 2;
    } else if (bitsPerPixel <= 4) {
        bpp = 4;
        colours = 16;
    } else if (bitsPerPixel <= 8) {
        bpp = 8;
        colours = 256;
    } else {
        bpp = 24;
        colours = 0;
    }

    m_state.nFormat = format;
    m_state.nStride = StrideOf(width, bpp);
    m_bih.biSize = sizeof(PixInfoHeader);
    m_bih.biWidth = LONG(width);
    m_bih.biHeight = LONG(height);
    m_bih.biPlanes = 1;
    m_bih.biBitCount = WORD(bpp);
    m_bih.biCompression = 0;
    m_bih.biSizeImage = m_state.nStride * height;
    m_bih.biClrUsed = colours;
    m_bih.biClrImportant = 0;

    // Zeroed whole: codecs that leave pixels unset leave them black, never
    // stale memory.
    m_pBlock = static_cast<BYTE*>(std::calloc(1, GetSize()));
    if (!m_pBlock) {
        Fail("PixImage::Create can't allocate memory");
        return nullptr;
    }
    SyncBlockHeader();
    m_state.pFirstRow = m_pBlock + m_bih.biSize + colours * sizeof(PixRGBQuad);
    return m_pBlock;
}

DWORD PixImage::GetSize() const {
    return m_bih.biSize + m_bih.biSizeImage + m_bih.biClrUsed * DWORD(sizeof(PixRGBQuad));
}

void PixImage::SyncBlockHeader() {
    if (m_pBlock) std::memcpy(m_pBlock, &m_bih, sizeof m_bih);
}

bool PixImage::Transfer(PixImage& from) {
    if (&from == this || from.m_state.pOwner || !Destroy()) return false;
    m_bih = from.m_bih;
    m_pBlock = from.m_pBlock;
    // The last error stays this image's own until another failure.
    char szLastError[sizeof m_state.szLastError];
    std::memcpy(szLastError, m_state.szLastError, sizeof szLastError);
    m_state = from.m_state;
    std::memcpy(m_state.szLastError, szLastError, sizeof szLastError);
    from.m_pBlock = nullptr;
    from.Reset(from.m_state.nFormat);
    return true;
}

void PixImage::Ghost(PixImage* from) {
    if (!from) return;
    m_bih = from->m_bih;
    m_pBlock = from->m_pBlock;
    m_state = from->m_state;
    m_state.pOwner = from;
}

void PixImage::SetXDPI(long dpi) {
    if (dpi < 1) dpi = 96;
    m_state.nXDPI = dpi;
    m_bih.biXPelsPerMeter = PelsPerMeter(dpi);
}

void PixImage::SetYDPI(long dpi) {
    if (dpi < 1) dpi = 96;
    m_state.nYDPI = dpi;
    m_bih.biYPelsPerMeter = PelsPerMeter(dpi);
}

BYTE* PixImage::GetRow(DWORD row) const {
    if (!m_pBlock || row >= GetHeight()) return nullptr;
    return m_state.pFirstRow + size_t(row) * m_state.nStride;
}

PixRGBQuad* PixImage::GetPalette() const {
    if (!m_pBlock || m_bih.biClrUsed == 0) return nullptr;
    return reinterpret_cast<PixRGBQuad*>(m_pBlock + m_bih.biSize);
}

PixRGBQuad PixImage::GetPixelColor(long x, long y) const {
    PixRGBQuad colour{};
    if (!m_pBlock || x < 0 || y < 0 || DWORD(x) >= GetWidth() || DWORD(y) >= GetHeight())
        return colour;
    const BYTE* row = GetRow(GetHeight() - 1 - DWORD(y));
    DWORD index;
    switch (m_bih.biBitCount) {
        case 24:
            colour.rgbBlue = row[x * 3];
            colour.rgbGreen = row[x * 3 + 1];
            colour.rgbRed = row[x * 3 + 2];
            return colour;
        case 8: index = row[x]; break;
        case 4: index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F; break;
        default: index = (row[x / 8] >> (7 - x % 8)) & 1; break;
    }
    colour = GetPalette()[index];
    colour.rgbReserved = 0;
    return colour;
}

bool PixImage::EncodeSafeCheck(PixFile* stream) {
    if (!stream) {
        Fail("null file handler");
        return true;
    }
    if (!m_pBlock) {
        Fail("null image!!!");
        return true;
    }
    return false;
}

bool PixImage::Fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(m_state.szLastError, sizeof m_state.szLastError, format, args);
    va_end(args);
    return false;
}

void PixImage::CopyLastError(const PixImage& from) {
    std::memcpy(m_state.szLastError, from.m_state.szLastError, sizeof m_state.szLastError);
    m_state.szLastError[sizeof m_state.szLastError - 1] = '\0';
}
