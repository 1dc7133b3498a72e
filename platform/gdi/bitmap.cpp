// Bitmaps: DDBs, DIB sections, and moving pixels between DIBs and bitmaps
// (CreateDIBitmap, SetDIBits, GetDIBits).
#include <climits>
#include <cstring>
#include <new>

#include <windows.h>

#include "gdi/canvas.h"

using namespace win::gdi;

namespace {

HBITMAP Register(std::unique_ptr<Bitmap> bm) {
    return bm ? static_cast<HBITMAP>(AddObject(std::move(bm))) : nullptr;
}

// Windows makes a bitmap "compatible" with a memory DC in the format of the
// bitmap selected into it, so a DC still holding its first 1 x 1 bitmap
// gives monochrome bitmaps. A window DC (or none) gives 32-bit ones.
bool MonoCompatible(HDC handle, bool& mono) {
    mono = false;
    if (!handle) return true;
    Dc* dc = FindDc(handle);
    if (!dc) return false;
    mono = !dc->window && dc->bitmap->mono;
    return true;
}

// Bytes a caller's bits may hold for this DIB, as far as the header says.
size_t BitsAvailable(const DibFormat& f) {
    if (f.compression == BI_RLE4 || f.compression == BI_RLE8)
        return f.imageBytes ? f.imageBytes : SIZE_MAX;
    return f.imageBytes;
}

// Writes scan lines [start, start + lines) of a DIB into a bitmap.
int PutScans(Bitmap* bm, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
             UINT usage) {
    DibFormat f;
    if (!bits || !ReadDibFormat(info, SIZE_MAX, usage, f)) return 0;
    if (start >= UINT(f.height) || lines == 0) return 0;
    const bool rle = f.compression == BI_RLE4 || f.compression == BI_RLE8;
    DibFormat part = f;
    if (!rle) {  // the bits hold only the scan lines asked for
        part.height = int(std::min<UINT>(lines, UINT(f.height) - start));
        part.imageBytes = part.stride * size_t(part.height);
    } else {
        start = 0;
    }
    std::vector<uint32_t> tmp;
    try {
        tmp.assign(size_t(part.width) * size_t(part.height), 0);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    if (!DecodeDib(part, static_cast<const uint8_t*>(bits), BitsAvailable(part), tmp.data(),
                   part.width))
        return 0;
    PixelAccess access(bm, true);
    const PixelView& v = access.view();
    const int w = std::min(part.width, v.width);
    for (int r = 0; r < part.height; ++r) {
        // Scan lines count from the bottom of a bottom-up DIB.
        const int scan = part.topDown ? int(start) + r : int(start) + (part.height - 1 - r);
        const int y = f.topDown ? scan : f.height - 1 - scan;
        if (y < 0 || y >= v.height) continue;
        const uint32_t* src = tmp.data() + size_t(r) * part.width;
        uint32_t* dst = v.row(y);
        for (int x = 0; x < w; ++x) dst[x] = v.mono ? MonoPixel(src[x]) : src[x];
    }
    return part.height;
}

}  // namespace

HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
    bool mono;
    if (!MonoCompatible(dc, mono) || width < 0 || height < 0) return nullptr;
    if (width == 0 || height == 0) return static_cast<HBITMAP>(StockBitmap()->handle);
    return Register(NewBitmap(width, height, mono));
}

HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
    if (width < 0 || height < 0 || planes != 1) return nullptr;
    if (width == 0 || height == 0) return static_cast<HBITMAP>(StockBitmap()->handle);
    switch (bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32: break;
        default: return nullptr;
    }
    std::unique_ptr<Bitmap> bm = NewBitmap(width, height, bitCount == 1);
    if (!bm) return nullptr;
    if (bits) {
        // DDB rows are top-down and word-aligned.
        DibFormat f;
        f.width = width;
        f.height = height;
        f.topDown = true;
        f.bitCount = int(bitCount);
        f.stride = (size_t(width) * bitCount + 15) / 16 * 2;
        try {
            f.palette = DefaultPalette(f.bitCount);
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        DefaultMasks(f.bitCount, f.masks);
        DecodeDib(f, static_cast<const uint8_t*>(bits), f.stride * size_t(height),
                  bm->pixels.data(), width);
        if (bm->mono)
            for (uint32_t& p : bm->pixels) p = MonoPixel(p);
    }
    return Register(std::move(bm));
}

HBITMAP WINAPI CreateBitmapIndirect(const BITMAP* bm) {
    if (!bm) return nullptr;
    return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP WINAPI CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                HANDLE section, DWORD) {
    if (bits) *bits = nullptr;
    if ((dc && !FindDc(dc)) || section) return nullptr;  // file mappings are not supported
    DibFormat f;
    try {
        if (!ReadDibFormat(info, SIZE_MAX, usage, f)) return nullptr;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;  // no room for the colour table
    }
    if (f.compression != BI_RGB && f.compression != BI_BITFIELDS) return nullptr;
    BITMAPINFOHEADER header{};
    if (info->bmiHeader.biSize >= sizeof(BITMAPINFOHEADER)) {
        header = info->bmiHeader;
        header.biSize = sizeof(BITMAPINFOHEADER);
    } else {
        header.biSize = sizeof(BITMAPINFOHEADER);
        header.biWidth = f.width;
        header.biHeight = f.height;
        header.biPlanes = 1;
        header.biBitCount = WORD(f.bitCount);
    }
    std::unique_ptr<Bitmap> bm = NewDibSection(f, header);
    if (!bm) return nullptr;
    void* p = bm->dibBits.get();
    HBITMAP handle = Register(std::move(bm));
    if (handle && bits) *bits = p;
    return handle;
}

HBITMAP WINAPI CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                              const BITMAPINFO* info, UINT usage) {
    bool mono;
    if (!header || !MonoCompatible(dc, mono)) return nullptr;
    int64_t width, height;
    if (header->biSize == sizeof(BITMAPCOREHEADER)) {
        auto core = reinterpret_cast<const BITMAPCOREHEADER*>(header);
        width = core->bcWidth;
        height = core->bcHeight;
    } else if (header->biSize >= 16) {
        width = header->biWidth;
        height = header->biHeight < 0 ? -int64_t(header->biHeight) : header->biHeight;
    } else {
        return nullptr;
    }
    if (!SizeAllowed(width, height)) return nullptr;
    std::unique_ptr<Bitmap> bm = NewBitmap(int(width), int(height), mono);
    if (!bm) return nullptr;
    if ((init & CBM_INIT) && bits && info) {
        if (PutScans(bm.get(), 0, UINT(height), bits, info, usage) == 0) return nullptr;
    }
    return Register(std::move(bm));
}

int WINAPI SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
                     const BITMAPINFO* info, UINT usage) {
    Bitmap* bm = FindBitmap(bitmap);
    if ((dc && !FindDc(dc)) || !bm) return 0;
    return PutScans(bm, start, lines, bits, info, usage);
}

int WINAPI GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
                     UINT usage) {
    Bitmap* bm = FindBitmap(bitmap);
    if ((dc && !FindDc(dc)) || !bm || !info || usage != DIB_RGB_COLORS) return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;

    if (h.biBitCount == 0) {  // the caller asks for the bitmap's own format
        if (bits) return 0;
        h.biWidth = bm->width;
        h.biHeight = bm->height;
        h.biPlanes = 1;
        h.biBitCount = WORD(bm->bitsPixel);
        h.biCompression = BI_RGB;
        h.biSizeImage = DWORD(DibStride(bm->width, bm->bitsPixel) * size_t(bm->height));
        h.biXPelsPerMeter = h.biYPelsPerMeter = 0;
        h.biClrUsed = h.biClrImportant = 0;
        return bm->height;
    }

    DibFormat f;
    f.bitCount = h.biBitCount;
    switch (f.bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32: break;
        default: return 0;
    }
    if (h.biCompression == BI_BITFIELDS) {
        if (f.bitCount != 16 && f.bitCount != 32) return 0;
    } else if (h.biCompression != BI_RGB) {
        return 0;
    }
    if (h.biWidth <= 0 || h.biHeight == 0) return 0;
    const int64_t height = h.biHeight < 0 ? -int64_t(h.biHeight) : h.biHeight;
    if (!SizeAllowed(h.biWidth, height)) return 0;
    f.width = h.biWidth;
    f.height = int(height);
    f.topDown = h.biHeight < 0;
    f.stride = DibStride(f.width, f.bitCount);
    DefaultMasks(f.bitCount, f.masks);
    h.biPlanes = 1;
    h.biSizeImage = DWORD(f.stride * size_t(f.height));

    // Masks and colour table follow the header.
    uint8_t* after = reinterpret_cast<uint8_t*>(info) + h.biSize;
    if (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER))
        std::memcpy(after, f.masks, sizeof(f.masks));
    if (f.bitCount <= 8) {
        std::vector<uint32_t> own;
        const uint32_t max = 1u << f.bitCount;
        const uint32_t entries = (h.biClrUsed && h.biClrUsed < max) ? h.biClrUsed : max;
        try {
            if (bm->dibSection && bm->bitsPixel == f.bitCount)
                own = bm->dib.palette;
            else if (bm->mono && f.bitCount == 1)
                own = DefaultPalette(1);
            else
                own = DefaultPalette(f.bitCount);
            own.resize(entries, 0);
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;  // no room for the colour table: no scan lines
        }
        RGBQUAD* table = reinterpret_cast<RGBQUAD*>(after);
        for (uint32_t i = 0; i < entries; ++i)
            table[i] = RGBQUAD{BYTE(own[i]), BYTE(own[i] >> 8), BYTE(own[i] >> 16), 0};
        f.palette = std::move(own);
    }
    if (!bits) return f.height;
    if (start >= UINT(f.height)) return 0;
    const int n = int(std::min<UINT>(lines, UINT(f.height) - start));
    if (n <= 0) return 0;

    std::vector<uint32_t> tmp;
    try {
        tmp.assign(size_t(f.width) * size_t(n), 0);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    {
        PixelAccess access(bm, false);
        const PixelView& v = access.view();
        const int w = std::min(f.width, v.width);
        for (int i = 0; i < n; ++i) {
            const int scan = int(start) + i;
            const int y = f.topDown ? scan : f.height - 1 - scan;
            if (y < 0 || y >= v.height) continue;
            std::memcpy(tmp.data() + size_t(i) * f.width, v.row(y), size_t(w) * 4);
        }
    }
    DibFormat part = f;
    part.height = n;
    part.topDown = true;  // tmp holds the scan lines in the order they are written
    EncodeDib(part, tmp.data(), f.width, static_cast<uint8_t*>(bits));
    return n;
}
