#include <windows.h>

#include "gdi/objects.h"

#include <cstring>
#include <mutex>
#include <new>

namespace win::gdi {
namespace {

// A handle is the slot index (plus one) and the slot's generation, with a tag
// bit so that small integers and pointers of other kinds never match.
constexpr uintptr_t kTag = uintptr_t(1) << 30;
constexpr int kIndexBits = 20;
constexpr uint32_t kIndexMask = (1u << kIndexBits) - 1;
constexpr uint32_t kGenerationMask = 0xFF;

struct Slot {
    std::unique_ptr<Object> object;
    uint32_t generation = 1;
};

struct Table {
    std::mutex lock;
    std::vector<Slot> slots;
    std::vector<uint32_t> free;
};

Table& TheTable() {
    static Table* table = new Table;  // never destroyed: stock objects live to the end
    return *table;
}

void* MakeHandle(uint32_t index, uint32_t generation) {
    return reinterpret_cast<void*>(kTag | uintptr_t(generation & kGenerationMask) << kIndexBits |
                                   uintptr_t(index + 1));
}

// Records why a creation failed, for GetLastError.
std::nullptr_t OutOfMemory() {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

bool SplitHandle(const void* handle, uint32_t& index, uint32_t& generation) {
    uintptr_t v = reinterpret_cast<uintptr_t>(handle);
    if ((v & ~(kTag | uintptr_t(kGenerationMask) << kIndexBits | kIndexMask)) != 0 || !(v & kTag))
        return false;
    uint32_t slot = uint32_t(v & kIndexMask);
    if (slot == 0) return false;
    index = slot - 1;
    generation = uint32_t(v >> kIndexBits) & kGenerationMask;
    return true;
}

}  // namespace

void* AddObject(std::unique_ptr<Object> object) {
    if (!object) return nullptr;
    Table& t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    uint32_t index;
    if (!t.free.empty()) {
        index = t.free.back();
        t.free.pop_back();
    } else {
        if (t.slots.size() >= kIndexMask) return nullptr;  // table full
        index = uint32_t(t.slots.size());
        try {
            t.slots.emplace_back();
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;  // the object goes with `object`
        }
    }
    Slot& s = t.slots[index];
    void* handle = MakeHandle(index, s.generation);
    object->handle = handle;
    s.object = std::move(object);
    return handle;
}

Object* FindObject(const void* handle) {
    uint32_t index, generation;
    if (!SplitHandle(handle, index, generation)) return nullptr;
    Table& t = TheTable();
    std::lock_guard<std::mutex> guard(t.lock);
    if (index >= t.slots.size()) return nullptr;
    Slot& s = t.slots[index];
    if (!s.object || (s.generation & kGenerationMask) != generation) return nullptr;
    return s.object.get();
}

void FreeObject(Object* object) {
    uint32_t index, generation;
    if (!object || !SplitHandle(object->handle, index, generation)) return;
    std::unique_ptr<Object> doomed;
    {
        Table& t = TheTable();
        std::lock_guard<std::mutex> guard(t.lock);
        if (index >= t.slots.size() || t.slots[index].object.get() != object) return;
        Slot& s = t.slots[index];
        doomed = std::move(s.object);
        s.generation = (s.generation + 1) & kGenerationMask;
        if (s.generation == 0) s.generation = 1;
        t.free.insert(t.free.begin(), index);  // reuse the oldest slot last
    }
}

std::unique_ptr<Bitmap> NewBitmap(int width, int height, bool mono) {
    if (!SizeAllowed(width, height)) return nullptr;
    std::unique_ptr<Bitmap> bm(new (std::nothrow) Bitmap());
    if (!bm) return OutOfMemory();
    bm->width = width;
    bm->height = height;
    bm->mono = mono;
    bm->bitsPixel = mono ? 1 : 32;
    try {
        bm->pixels.assign(size_t(width) * size_t(height), 0);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return bm;
}

std::unique_ptr<Bitmap> NewDibSection(const DibFormat& format, const BITMAPINFOHEADER& header) {
    std::unique_ptr<Bitmap> bm(new (std::nothrow) Bitmap());
    if (!bm) return OutOfMemory();
    bm->width = format.width;
    bm->height = format.height;
    bm->bitsPixel = format.bitCount;
    bm->dibSection = true;
    try {
        bm->dib = format;  // the colour table is a copy
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    bm->dib.compression =
        format.bitCount == 16 || format.bitCount == 32 ? DWORD(BI_BITFIELDS) : DWORD(BI_RGB);
    bm->dibHeader = header;
    bm->dibHeader.biSizeImage = DWORD(format.imageBytes);
    bm->dibDirect = format.bitCount == 32 && format.masks[0] == 0xFF0000 &&
                    format.masks[1] == 0xFF00 && format.masks[2] == 0xFF;
    bm->dibBytes = format.imageBytes;
    bm->dibBits.reset(new (std::nothrow) uint8_t[bm->dibBytes]);
    if (!bm->dibBits) return nullptr;
    std::memset(bm->dibBits.get(), 0, bm->dibBytes);
    if (!bm->dibDirect) {
        try {
            bm->pixels.assign(size_t(format.width) * size_t(format.height), 0);
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    return bm;
}

PixelAccess::PixelAccess(Bitmap* bitmap, bool writes) : bitmap_(bitmap), writes_(writes) {
    Bitmap& b = *bitmap_;
    view_.width = b.width;
    view_.height = b.height;
    view_.mono = b.mono;
    if (b.dibDirect) {
        uint32_t* first = reinterpret_cast<uint32_t*>(b.dibBits.get());
        if (b.dib.topDown) {
            view_.base = first;
            view_.pitch = b.width;
        } else {  // bottom-up: the top row is the last one in memory
            view_.base = first + ptrdiff_t(b.height - 1) * b.width;
            view_.pitch = -ptrdiff_t(b.width);
        }
        return;
    }
    if (b.dibSection) DecodeDib(b.dib, b.dibBits.get(), b.dibBytes, b.pixels.data(), b.width);
    view_.base = b.pixels.data();
    view_.pitch = b.width;
}

PixelAccess::~PixelAccess() {
    Bitmap& b = *bitmap_;
    if (writes_ && b.dibSection && !b.dibDirect)
        EncodeDib(b.dib, b.pixels.data(), b.width, b.dibBits.get());
}

namespace {

std::unique_ptr<Object> MakeStock(int which) {
    auto brush = [](COLORREF c, bool hollow) {
        auto b = std::make_unique<Brush>();
        b->color = c;
        b->hollow = hollow;
        return std::unique_ptr<Object>(std::move(b));
    };
    auto pen = [](COLORREF c, int style) {
        auto p = std::make_unique<Pen>();
        p->color = c;
        p->style = style;
        return std::unique_ptr<Object>(std::move(p));
    };
    auto font = [](const char* face, LONG height, BYTE pitch) {
        auto f = std::make_unique<Font>();
        std::strncpy(f->log.lfFaceName, face, LF_FACESIZE - 1);
        f->log.lfHeight = height;
        f->log.lfWeight = 400;
        f->log.lfPitchAndFamily = pitch;
        return std::unique_ptr<Object>(std::move(f));
    };
    switch (which) {
        case WHITE_BRUSH: return brush(RGB(255, 255, 255), false);
        case LTGRAY_BRUSH: return brush(RGB(192, 192, 192), false);
        case GRAY_BRUSH: return brush(RGB(128, 128, 128), false);
        case DKGRAY_BRUSH: return brush(RGB(64, 64, 64), false);
        case BLACK_BRUSH: return brush(RGB(0, 0, 0), false);
        case NULL_BRUSH: return brush(0, true);
        case WHITE_PEN: return pen(RGB(255, 255, 255), PS_SOLID);
        case BLACK_PEN: return pen(RGB(0, 0, 0), PS_SOLID);
        case NULL_PEN: return pen(0, PS_NULL);
        case OEM_FIXED_FONT:
        case ANSI_FIXED_FONT:
        case SYSTEM_FIXED_FONT: return font("Courier", 16, 1);
        case ANSI_VAR_FONT:
        case DEVICE_DEFAULT_FONT:
        case SYSTEM_FONT: return font("System", 16, 2);
        case DEFAULT_GUI_FONT: return font("MS Sans Serif", -11, 2);
        default: return nullptr;
    }
}

}  // namespace

Object* Stock(int which) {
    static std::mutex lock;
    static Object* stock[DEFAULT_GUI_FONT + 1] = {};
    if (which < 0 || which > DEFAULT_GUI_FONT) return nullptr;
    std::lock_guard<std::mutex> guard(lock);
    if (!stock[which]) {
        std::unique_ptr<Object> o = MakeStock(which);
        if (!o) return nullptr;
        o->stock = true;
        Object* raw = o.get();
        if (!AddObject(std::move(o))) return nullptr;
        stock[which] = raw;
    }
    return stock[which];
}

Bitmap* StockBitmap() {
    static Bitmap* bitmap = [] {
        std::unique_ptr<Bitmap> b = NewBitmap(1, 1, true);
        b->stock = true;
        Bitmap* raw = b.get();
        AddObject(std::move(b));
        return raw;
    }();
    return bitmap;
}

}  // namespace win::gdi
