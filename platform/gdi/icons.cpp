// The icon and cursor handle table, loading from resources and files, and
// the USER32 calls that create, copy, inspect and free icons.
#include "gdi/icons.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>

#include "base/handle_table.h"
#include "base/paths.h"
#include "resources/icon_file.h"
#include "win/res.h"

namespace win::icons {

std::shared_ptr<IconObject> MakeStandardImage(int id, bool cursor);  // icon_standard.cpp

namespace {

std::mutex& TableLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

core::HandleTable<const IconObject>& Table() {
    // Apart from the window, GDI and kernel handle ranges.
    static auto* table = new core::HandleTable<const IconObject>(0x20000000);
    return *table;
}

constexpr long kMaxIconFileBytes = 4L << 20;

bool ReadSmallFile(const char* name, std::vector<uint8_t>& data) {
    const std::string path = win::NativePath(name);
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!f) return false;
    if (std::fseek(f.get(), 0, SEEK_END) != 0) return false;
    const long size = std::ftell(f.get());
    if (size <= 0 || size > kMaxIconFileBytes || std::fseek(f.get(), 0, SEEK_SET) != 0)
        return false;
    data.resize(size_t(size));
    return std::fread(data.data(), 1, data.size(), f.get()) == data.size();
}

// Nearest-pixel scaling of colour, mask and hot spot.
std::shared_ptr<IconObject> Scaled(const IconObject& src, int w, int h) {
    auto out = std::make_shared<IconObject>(src);
    if (w == src.width && h == src.height) return out;
    out->width = w;
    out->height = h;
    out->color.assign(size_t(w) * h, 0);
    out->mask.assign(size_t(w) * h, 1);
    for (int y = 0; y < h; ++y) {
        const int sy = int((2 * int64_t(y) + 1) * src.height / (2 * int64_t(h)));
        for (int x = 0; x < w; ++x) {
            const int sx = int((2 * int64_t(x) + 1) * src.width / (2 * int64_t(w)));
            out->color[size_t(y) * w + x] = src.color[size_t(sy) * src.width + sx];
            out->mask[size_t(y) * w + x] = src.mask[size_t(sy) * src.width + sx];
        }
    }
    out->hotspotX = int(int64_t(src.hotspotX) * w / src.width);
    out->hotspotY = int(int64_t(src.hotspotY) * h / src.height);
    return out;
}

}  // namespace

HICON Add(std::shared_ptr<const IconObject> icon) {
    if (!icon || icon->width <= 0 || icon->height <= 0 ||
        icon->color.size() != size_t(icon->width) * icon->height ||
        icon->mask.size() != icon->color.size())
        return nullptr;
    std::lock_guard<std::mutex> guard(TableLock());
    return reinterpret_cast<HICON>(Table().Add(std::move(icon)));
}

std::shared_ptr<const IconObject> Find(HICON handle) {
    if (!handle) return nullptr;
    std::lock_guard<std::mutex> guard(TableLock());
    return Table().Find(handle);
}

bool Remove(HICON handle, bool* wasShared) {
    if (wasShared) *wasShared = false;
    std::lock_guard<std::mutex> guard(TableLock());
    auto icon = Table().Find(handle);
    if (!icon) return false;
    if (icon->shared) {
        if (wasShared) *wasShared = true;
        return false;
    }
    return Table().Remove(handle);
}

HICON Standard(int id, bool cursor) {
    static std::mutex lock;
    static auto* made = new std::map<std::pair<int, bool>, HICON>;
    std::lock_guard<std::mutex> guard(lock);
    auto key = std::make_pair(id, cursor);
    auto it = made->find(key);
    if (it != made->end()) return it->second;
    std::shared_ptr<IconObject> image = MakeStandardImage(id, cursor);
    if (!image) return nullptr;
    image->shared = true;
    image->systemId = id;
    image->isIcon = !cursor;
    HICON handle = Add(image);
    if (handle) (*made)[key] = handle;
    return handle;
}

HICON LoadIconImage(LPCSTR name, bool cursor, int cx, int cy, UINT flags, bool fromFile) {
    // Icons are small: a request beyond the largest image a file can hold
    // is refused rather than scaled to an enormous size.
    if (!name || cx < 0 || cy < 0 || cx > res::kMaxIconSide || cy > res::kMaxIconSide)
        return nullptr;
    const int systemSize = GetSystemMetrics(cursor ? SM_CXCURSOR : SM_CXICON);
    if (flags & LR_DEFAULTSIZE) {
        if (cx == 0) cx = systemSize;
        if (cy == 0) cy = systemSize;
    }
    res::IconImage image;
    const int wanted = cx || cy ? std::max(cx, cy) : systemSize;
    if (fromFile) {
        if (IS_INTRESOURCE(name)) return nullptr;
        std::vector<uint8_t> data;
        if (!ReadSmallFile(name, data)) return nullptr;
        if (!res::ParseIconFile(data.data(), data.size(), cursor, wanted, image)) return nullptr;
    } else if (!res::LoadIconResource(name, cursor, wanted, image)) {
        return nullptr;
    }
    IconObject icon;
    icon.width = image.width;
    icon.height = image.height;
    icon.hotspotX = image.hotspotX;
    icon.hotspotY = image.hotspotY;
    icon.isIcon = !cursor;
    icon.hasAlpha = image.hasAlpha;
    icon.color = std::move(image.color);
    icon.mask = std::move(image.mask);
    // Without alpha the colour of a transparent pixel is XORed onto the
    // screen; the parser leaves alpha bits there that must not count.
    if (!icon.hasAlpha)
        for (uint32_t& p : icon.color) p &= 0xFFFFFF;
    const int w = cx ? cx : (cy ? cy : icon.width);
    const int h = cy ? cy : (cx ? cx : icon.height);
    auto made = Scaled(icon, w, h);
    // Files are never shared (Windows forbids it): their icons stay the
    // caller's to destroy.
    made->shared = (flags & LR_SHARED) && !fromFile;
    return Add(std::move(made));
}

HICON LoadShared(LPCSTR name, bool cursor, int cx, int cy, UINT flags) {
    // One object per resource and size, as Windows hands out the same
    // handle for every shared load.
    std::string key = IS_INTRESOURCE(name)
                          ? "#" + std::to_string(LOWORD(reinterpret_cast<ULONG_PTR>(name)))
                          : std::string(name);
    for (char& ch : key) ch = char(std::toupper(static_cast<unsigned char>(ch)));
    key += cursor ? "/C/" : "/I/";
    key += std::to_string(cx) + "x" + std::to_string(cy) + "/" +
           std::to_string(flags & LR_DEFAULTSIZE);
    static std::mutex lock;
    static auto* loaded = new std::map<std::string, HICON>;
    std::lock_guard<std::mutex> guard(lock);
    auto it = loaded->find(key);
    if (it != loaded->end()) return it->second;
    HICON icon = LoadIconImage(name, cursor, cx, cy, flags | LR_SHARED, false);
    if (icon) (*loaded)[key] = icon;
    return icon;
}

}  // namespace win::icons

using namespace win::icons;

namespace {

bool IsStandardRequest(HINSTANCE instance, LPCSTR name) {
    return !instance && IS_INTRESOURCE(name) && LOWORD(reinterpret_cast<ULONG_PTR>(name)) >= 32512;
}

int IdOf(LPCSTR name) { return LOWORD(reinterpret_cast<ULONG_PTR>(name)); }

HICON Loaded(HICON icon) {
    if (!icon) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return icon;
}

}  // namespace

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (!name) return Loaded(nullptr);
    if (IsStandardRequest(instance, name)) return Loaded(Standard(IdOf(name), false));
    // Icons of the executable are shared: each load gives the same pixels,
    // and programs never destroy what LoadIcon gave them.
    return Loaded(LoadShared(name, false, 0, 0, LR_DEFAULTSIZE));
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (!name) return Loaded(nullptr);
    if (IsStandardRequest(instance, name)) return Loaded(Standard(IdOf(name), true));
    return Loaded(LoadShared(name, true, 0, 0, LR_DEFAULTSIZE));
}

BOOL WINAPI DestroyIcon(HICON icon) {
    bool shared = false;
    if (Remove(icon, &shared)) return TRUE;
    if (shared) return TRUE;  // shared icons stay; freeing one is harmless
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

BOOL WINAPI DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }

HICON WINAPI CopyIcon(HICON icon) {
    auto found = Find(icon);
    if (!found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto copy = std::make_shared<IconObject>(*found);
    copy->shared = false;
    return Add(std::move(copy));
}
