// The GDI's objects (DCs, bitmaps, pens, brushes, fonts, regions) and the
// handle table that hands them out. Every handle a caller gives is looked up
// here; a stale or made-up handle finds nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/surface.h"
#include "gdi/dib.h"
#include "win/gdi.h"

namespace win::gdi {

enum class Kind { Dc, Bitmap, Pen, Brush, Font, Region };

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Kind kind;
    bool stock = false;      // stock objects are never freed
    int selections = 0;      // number of DCs this object is selected into
    void* handle = nullptr;  // the handle the table gave it
};

struct Pen : Object {
    Pen() : Object(Kind::Pen) {}
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};

struct Brush : Object {
    Brush() : Object(Kind::Brush) {}
    bool hollow = false;
    COLORREF color = 0;
};

struct Font : Object {
    Font() : Object(Kind::Font) {}
    LOGFONTA log{};
};

struct Region : Object {
    Region() : Object(Kind::Region) {}
    RECT rect{};
};

// A bitmap keeps 32-bit pixels (0x00RRGGBB) that every drawing works on.
// A DDB owns them. A 32-bit DIB section with the usual masks draws straight
// into the caller-visible bits; any other DIB section keeps its own bits and
// a 32-bit shadow that is refreshed before and written back after each
// drawing (see PixelAccess).
struct Bitmap : Object {
    Bitmap() : Object(Kind::Bitmap) {}
    int width = 0;
    int height = 0;
    int bitsPixel = 32;            // what GetObject reports: 1 or 32 for DDBs
    bool mono = false;             // one bit per pixel: pixels are 0 or 0xFFFFFF
    std::vector<uint32_t> pixels;  // DDB pixels or the DIB section's shadow

    // DIB section only.
    bool dibSection = false;
    bool dibDirect = false;  // bits are 32-bit BGRX: draw in place
    DibFormat dib;
    BITMAPINFOHEADER dibHeader{};  // as created, for GetObject
    std::unique_ptr<uint8_t[]> dibBits;
    size_t dibBytes = 0;

    void* selectedInto = nullptr;  // the DC holding it, if any
};

// Where a DC's drawing lands: rows of 32-bit pixels.
struct PixelView {
    uint32_t* base = nullptr;  // row 0
    ptrdiff_t pitch = 0;       // pixels from one row to the next (may be < 0)
    int width = 0;
    int height = 0;
    bool mono = false;
    uint32_t* row(int y) const { return base + y * pitch; }
};

struct Dc : Object {
    Dc() : Object(Kind::Dc) {}
    bool window = false;         // a window DC draws on a Surface
    Surface* surface = nullptr;  // window DC
    POINT origin{};              // window DC: device (0, 0) in surface pixels
    RECT visible{};              // window DC: visible area in surface pixels
    HWND owner = nullptr;
    Bitmap* bitmap = nullptr;  // memory DC: selected bitmap (never null)
    Pen* pen = nullptr;
    Brush* brush = nullptr;
    Font* font = nullptr;
    bool hasClip = false;
    RECT clip{};  // caller's clip rectangle, in surface pixels
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    POINT pos{};  // current position, logical
    POINT viewportOrg{};
    POINT windowOrg{};
};

// Handle table. All functions are safe to call from any thread.
void* AddObject(std::unique_ptr<Object> object);
Object* FindObject(const void* handle);
// Removes the object from the table and frees it.
void FreeObject(Object* object);

template <class T>
T* Find(const void* handle, Kind kind) {
    Object* o = FindObject(handle);
    return (o && o->kind == kind) ? static_cast<T*>(o) : nullptr;
}
inline Dc* FindDc(const void* h) { return Find<Dc>(h, Kind::Dc); }
inline Bitmap* FindBitmap(const void* h) { return Find<Bitmap>(h, Kind::Bitmap); }
inline Pen* FindPen(const void* h) { return Find<Pen>(h, Kind::Pen); }
inline Brush* FindBrush(const void* h) { return Find<Brush>(h, Kind::Brush); }
inline Region* FindRegion(const void* h) { return Find<Region>(h, Kind::Region); }

// Stock objects (created on first use).
Object* Stock(int which);
Bitmap* StockBitmap();  // the 1 x 1 monochrome bitmap of a new memory DC

// A new bitmap of the given size, zero (black) pixels; null when too big or
// out of memory.
std::unique_ptr<Bitmap> NewBitmap(int width, int height, bool mono);
// A new DIB section for `format` (already checked); null when out of memory.
std::unique_ptr<Bitmap> NewDibSection(const DibFormat& format, const BITMAPINFOHEADER& header);

// Gives drawing code the 32-bit pixels of a bitmap for one operation: for a
// DIB section kept in another format, the bits are converted in, and (when
// `writes`) converted back when the access ends.
class PixelAccess {
public:
    PixelAccess(Bitmap* bitmap, bool writes);
    ~PixelAccess();
    PixelAccess(const PixelAccess&) = delete;
    PixelAccess& operator=(const PixelAccess&) = delete;
    const PixelView& view() const { return view_; }

private:
    Bitmap* bitmap_;
    bool writes_;
    PixelView view_;
};

// COLORREF (0x00BBGGRR) to a pixel (0x00RRGGBB) and back.
inline uint32_t ToPixel(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF ToColorref(uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
// Colours drawn on a monochrome bitmap become black or white, whichever is
// nearer.
inline uint32_t MonoPixel(uint32_t p) {
    unsigned sum = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    return sum >= 383 ? 0xFFFFFF : 0;
}

}  // namespace win::gdi
