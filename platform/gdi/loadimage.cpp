// LoadImageA (BMP files and bitmap resources; icons and cursors through
// the icon code) and LoadBitmapA.
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include <windows.h>
#include "base/paths.h"

#include "gdi/bmpfile.h"
#include "gdi/canvas.h"
#include "gdi/icons.h"
#include "resources/registry.h"
#include "win/res.h"

using namespace win::gdi;

namespace {

constexpr size_t kFileHeader = sizeof(BITMAPFILEHEADER);
constexpr long kMaxFileBytes = 256L << 20;

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The header a DIB section made from `f` reports through GetObject.
BITMAPINFOHEADER SectionHeader(const DibFormat& f) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = f.width;
    h.biHeight = f.height;
    h.biPlanes = 1;
    h.biBitCount = WORD(f.bitCount);
    h.biCompression = f.bitCount == 16 || f.bitCount == 32 ? BI_BITFIELDS : BI_RGB;
    h.biClrUsed = DWORD(f.palette.size());
    return h;
}

bool ReadFile(const char* name, std::vector<uint8_t>& data) {
    const std::string path = win::NativePath(name);
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!f) return false;
    if (std::fseek(f.get(), 0, SEEK_END) != 0) return false;
    const long size = std::ftell(f.get());
    if (size <= 0 || size > kMaxFileBytes || std::fseek(f.get(), 0, SEEK_SET) != 0) return false;
    try {
        data.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return std::fread(data.data(), 1, data.size(), f.get()) == data.size();
}

}  // namespace

namespace win::gdi {

HBITMAP BitmapFromBmp(const uint8_t* data, size_t size, int cx, int cy, UINT flags) {
    if (!data || size < kFileHeader + sizeof(BITMAPCOREHEADER)) return nullptr;
    if (data[0] != 'B' || data[1] != 'M') return nullptr;
    DibFormat f;
    if (!ReadDibFormat(data + kFileHeader, size - kFileHeader, DIB_RGB_COLORS, f)) return nullptr;
    // The pixels start where the file header says, or else right after the
    // colour table.
    size_t offset = U32(data + 10);
    if (offset < kFileHeader + f.headerBytes) offset = kFileHeader + f.headerBytes;
    if (offset >= size) return nullptr;
    // Uncompressed pixels must all be there before anything is allocated.
    const bool rle = f.compression == BI_RLE4 || f.compression == BI_RLE8;
    if (!rle && size - offset < f.imageBytes) return nullptr;

    const int w = cx > 0 ? cx : f.width, h = cy > 0 ? cy : f.height;
    if (cx < 0 || cy < 0 || !SizeAllowed(w, h)) return nullptr;
    const bool scale = w != f.width || h != f.height;
    const bool section = (flags & LR_CREATEDIBSECTION) != 0;

    // A plain DDB of the file's size is decoded straight into its pixels;
    // otherwise through a buffer.
    std::unique_ptr<Bitmap> bm;
    std::vector<uint32_t> pixels;
    if (!section && !scale) {
        bm = NewBitmap(w, h, (flags & LR_MONOCHROME) != 0);
        if (!bm) return nullptr;
        pixels.swap(bm->pixels);
    } else {
        try {
            pixels.assign(size_t(f.width) * size_t(f.height), 0);
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    if (!DecodeDib(f, data + offset, size - offset, pixels.data(), f.width)) return nullptr;

    if (scale) {  // nearest-pixel scaling to the size asked for
        std::vector<uint32_t> scaled;
        try {
            scaled.resize(size_t(w) * size_t(h));
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        for (int y = 0; y < h; ++y) {
            const size_t sy = size_t((2 * int64_t(y) + 1) * f.height / (2 * int64_t(h)));
            for (int x = 0; x < w; ++x)
                scaled[size_t(y) * w + x] =
                    pixels[sy * f.width +
                           size_t((2 * int64_t(x) + 1) * f.width / (2 * int64_t(w)))];
        }
        pixels.swap(scaled);
    }

    if (section) {
        DibFormat s = f;
        s.width = w;
        s.height = h;
        s.topDown = false;
        s.stride = DibStride(w, s.bitCount);
        s.imageBytes = s.stride * size_t(h);
        if (s.bitCount <= 8 && s.palette.empty()) s.palette = DefaultPalette(s.bitCount);
        bm = NewDibSection(s, SectionHeader(s));
        if (!bm) return nullptr;
        EncodeDib(bm->dib, pixels.data(), w, bm->dibBits.get());
    } else {
        if (!bm) {
            bm = NewBitmap(w, h, (flags & LR_MONOCHROME) != 0);
            if (!bm) return nullptr;
        }
        if (bm->mono)
            for (uint32_t& p : pixels) p = MonoPixel(p);
        bm->pixels.swap(pixels);
    }
    return static_cast<HBITMAP>(AddObject(std::move(bm)));
}

}  // namespace win::gdi

namespace {

// A bitmap resource is a BMP file without its file header.
HBITMAP BitmapFromResource(LPCSTR name, int cx, int cy, UINT flags) {
    const unsigned char* data = nullptr;
    size_t size = 0;
    if (!win::res::FindData(name, RT_BITMAP, &data, &size)) return nullptr;
    std::vector<uint8_t> file(kFileHeader, 0);
    file[0] = 'B';
    file[1] = 'M';  // a zero pixel offset means "right after the colour table"
    file.insert(file.end(), data, data + size);
    return BitmapFromBmp(file.data(), file.size(), cx, cy, flags);
}

}  // namespace

// Bitmaps from files or resources; icons and cursors go to the icon code.
HANDLE WINAPI LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    // Paths, file contents and colour tables are vectors and strings: when
    // memory runs out the picture is not loaded, and nothing is raised.
    try {
        if (!name || cx < 0 || cy < 0) return nullptr;
        const bool fromFile = (flags & LR_LOADFROMFILE) != 0;
        switch (type) {
            case IMAGE_BITMAP: {
                if (!fromFile) return BitmapFromResource(name, cx, cy, flags);
                if (IS_INTRESOURCE(name)) return nullptr;
                std::vector<uint8_t> data;
                if (!ReadFile(name, data)) return nullptr;
                return BitmapFromBmp(data.data(), data.size(), cx, cy, flags);
            }
            case IMAGE_ICON:
            case IMAGE_CURSOR: {
                const bool cursor = type == IMAGE_CURSOR;
                if (!fromFile && (flags & LR_SHARED))
                    return win::icons::LoadShared(name, cursor, cx, cy, flags);
                return win::icons::LoadIconImage(name, cursor, cx, cy, flags, fromFile);
            }
            default: return nullptr;
        }
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE, LPCSTR name) {
    if (!name) return nullptr;
    HBITMAP bitmap = BitmapFromResource(name, 0, 0, 0);
    if (!bitmap) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return bitmap;
}
