// GetIconInfo and CreateIconIndirect: icons to and from a pair of bitmaps
// (a 32-bit colour DIB section carrying any alpha, and a monochrome AND
// mask where white is transparent).
#include <cstring>

#include "gdi/icons.h"
#include "gdi/objects.h"

using namespace win::gdi;
using win::icons::IconObject;

namespace {

HBITMAP ColorBitmap(const IconObject& icon) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = icon.width;
    info.bmiHeader.biHeight = -icon.height;  // top-down, as the icon keeps its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return nullptr;
    std::memcpy(bits, icon.color.data(), icon.color.size() * sizeof(uint32_t));
    return bitmap;
}

HBITMAP MaskBitmap(const IconObject& icon) {
    std::unique_ptr<Bitmap> mask = NewBitmap(icon.width, icon.height, true);
    if (!mask) return nullptr;
    mask->bitsPixel = 1;
    for (size_t i = 0; i < icon.mask.size(); ++i) mask->pixels[i] = icon.mask[i] ? 0xFFFFFF : 0;
    return static_cast<HBITMAP>(AddObject(std::move(mask)));
}

// Reads a bitmap's pixels as 0xAARRGGBB; alpha comes only from a 32-bit
// DIB section's own bits.
bool ReadPixels(Bitmap* bitmap, int width, int height, std::vector<uint32_t>& out, bool& alpha) {
    if (!bitmap || bitmap->width < width || bitmap->height < height) return false;
    out.assign(size_t(width) * height, 0);
    alpha = false;
    if (bitmap->dibSection && bitmap->dibDirect && bitmap->dib.bitCount == 32) {
        const uint8_t* bits = bitmap->dibBits.get();
        for (int y = 0; y < height; ++y) {
            const int row = bitmap->dib.topDown ? y : bitmap->height - 1 - y;
            std::memcpy(&out[size_t(y) * width], bits + size_t(row) * bitmap->dib.stride,
                        size_t(width) * 4);
        }
        for (uint32_t p : out) alpha |= (p >> 24) != 0;
        return true;
    }
    PixelAccess access(bitmap, false);
    const PixelView& view = access.view();
    if (!view.base) return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out[size_t(y) * width + x] = view.row(y)[x] & 0xFFFFFF;
    return true;
}

}  // namespace

BOOL WINAPI GetIconInfo(HICON handle, PICONINFO info) {
    auto icon = win::icons::Find(handle);
    if (!icon || !info) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    HBITMAP color = ColorBitmap(*icon);
    HBITMAP mask = color ? MaskBitmap(*icon) : nullptr;
    if (!mask) {
        if (color) DeleteObject(color);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    info->fIcon = icon->isIcon;
    info->xHotspot = DWORD(icon->hotspotX);
    info->yHotspot = DWORD(icon->hotspotY);
    info->hbmColor = color;
    info->hbmMask = mask;
    return TRUE;
}

HICON WINAPI CreateIconIndirect(PICONINFO info) {
    if (!info) return nullptr;
    Bitmap* maskBitmap = FindBitmap(info->hbmMask);
    if (!maskBitmap) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto icon = std::make_shared<IconObject>();
    std::vector<uint32_t> maskPixels;
    bool ignored = false;
    if (info->hbmColor) {
        Bitmap* color = FindBitmap(info->hbmColor);
        if (!color) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        icon->width = color->width;
        icon->height = color->height;
        if (!ReadPixels(color, icon->width, icon->height, icon->color, icon->hasAlpha) ||
            !ReadPixels(maskBitmap, icon->width, icon->height, maskPixels, ignored))
            return nullptr;
        icon->mask.resize(maskPixels.size());
        for (size_t i = 0; i < maskPixels.size(); ++i)
            icon->mask[i] = (maskPixels[i] & 0xFFFFFF) != 0;
    } else {
        // A monochrome icon: the AND mask above the XOR image in one bitmap.
        icon->width = maskBitmap->width;
        icon->height = maskBitmap->height / 2;
        if (icon->height <= 0 ||
            !ReadPixels(maskBitmap, icon->width, icon->height * 2, maskPixels, ignored))
            return nullptr;
        const size_t n = size_t(icon->width) * icon->height;
        icon->mask.resize(n);
        icon->color.resize(n);
        for (size_t i = 0; i < n; ++i) {
            icon->mask[i] = (maskPixels[i] & 0xFFFFFF) != 0;
            icon->color[i] = maskPixels[n + i] & 0xFFFFFF;
        }
    }
    if (!icon->hasAlpha)
        for (uint32_t& p : icon->color) p &= 0xFFFFFF;
    icon->isIcon = info->fIcon != FALSE;
    if (icon->isIcon) {
        icon->hotspotX = icon->width / 2;
        icon->hotspotY = icon->height / 2;
    } else {
        icon->hotspotX = int(std::min<DWORD>(info->xHotspot, DWORD(icon->width - 1)));
        icon->hotspotY = int(std::min<DWORD>(info->yHotspot, DWORD(icon->height - 1)));
    }
    return win::icons::Add(std::move(icon));
}
