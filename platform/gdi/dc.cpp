// Device contexts: memory DCs, window DCs on a Surface, object selection,
// attributes, origins and rectangle clipping.
#include <cstring>
#include <new>

#include <windows.h>

#include "gdi/canvas.h"

namespace win::gdi {
namespace {

// Pixel = logical + offset; device = logical - window origin + viewport
// origin, and a window DC's device (0, 0) lies at `origin` of its surface.
POINT PixelOffset(const Dc* dc) {
    int64_t x = int64_t(dc->viewportOrg.x) - dc->windowOrg.x;
    int64_t y = int64_t(dc->viewportOrg.y) - dc->windowOrg.y;
    if (dc->window) {
        x += dc->origin.x;
        y += dc->origin.y;
    }
    return POINT{Clamp(x), Clamp(y)};
}

RECT Bounds(const Dc* dc) {
    if (dc->window) {
        const Surface* s = dc->surface;
        RECT all{0, 0, s->pixels ? s->width : 0, s->pixels ? s->height : 0};
        return Intersect(all, dc->visible);
    }
    return RECT{0, 0, dc->bitmap->width, dc->bitmap->height};
}

RECT EffectiveClip(const Dc* dc) {
    RECT r = Bounds(dc);
    return dc->hasClip ? Intersect(r, dc->clip) : r;
}

template <class T>
void Select(T*& slot, T* object) {
    if (slot) --slot->selections;
    slot = object;
    if (slot) ++slot->selections;
}

void ReleaseSelections(Dc* dc) {
    Select(dc->pen, static_cast<Pen*>(nullptr));
    Select(dc->brush, static_cast<Brush*>(nullptr));
    Select(dc->font, static_cast<Font*>(nullptr));
    if (dc->bitmap) {
        --dc->bitmap->selections;
        if (dc->bitmap->selectedInto == dc) dc->bitmap->selectedInto = nullptr;
        dc->bitmap = nullptr;
    }
}

std::unique_ptr<Dc> NewDc() {
    std::unique_ptr<Dc> dc(new (std::nothrow) Dc());
    if (!dc) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    if (!dc) return nullptr;
    Select(dc->pen, static_cast<Pen*>(Stock(BLACK_PEN)));
    Select(dc->brush, static_cast<Brush*>(Stock(WHITE_BRUSH)));
    Select(dc->font, static_cast<Font*>(Stock(SYSTEM_FONT)));
    return dc;
}

}  // namespace

Canvas::Canvas(Dc* dc, bool writes) {
    if (dc->window) {
        Surface* s = dc->surface;
        view_ = PixelView{s->pixels, s->stride, s->width, s->height, false};
    } else {
        access_.emplace(dc->bitmap, writes);
        view_ = access_->view();
    }
    clip_ = EffectiveClip(dc);
    if (!view_.base) clip_ = RECT{0, 0, 0, 0};
    POINT off = PixelOffset(dc);
    dx_ = off.x;
    dy_ = off.y;
}

}  // namespace win::gdi

using namespace win::gdi;

namespace win {

HDC CreateWindowDC(Surface* target, POINT origin, const RECT& clip, HWND owner) {
    if (!target) return nullptr;
    std::unique_ptr<Dc> dc = NewDc();
    if (!dc) return nullptr;
    dc->window = true;
    dc->surface = target;
    dc->origin = origin;
    dc->visible = clip;
    dc->owner = owner;
    return static_cast<HDC>(AddObject(std::move(dc)));
}

void ReleaseWindowDC(HDC handle) {
    Dc* dc = FindDc(handle);
    if (!dc || !dc->window) return;
    ReleaseSelections(dc);
    FreeObject(dc);
}

}  // namespace win

HDC WINAPI CreateCompatibleDC(HDC other) {
    if (other && !FindDc(other)) return nullptr;
    std::unique_ptr<Dc> dc = NewDc();
    if (!dc) return nullptr;
    Bitmap* first = StockBitmap();
    dc->bitmap = first;
    ++first->selections;
    HDC handle = static_cast<HDC>(AddObject(std::move(dc)));
    if (!handle) --first->selections;  // the DC is gone with its selection
    return handle;
}

BOOL WINAPI DeleteDC(HDC handle) {
    Dc* dc = FindDc(handle);
    if (!dc || dc->window) return FALSE;  // window DCs go back through their window
    ReleaseSelections(dc);
    FreeObject(dc);
    return TRUE;
}

HWND WINAPI WindowFromDC(HDC handle) {
    Dc* dc = FindDc(handle);
    return dc ? dc->owner : nullptr;
}

int WINAPI GetDeviceCaps(HDC handle, int index) {
    Dc* dc = FindDc(handle);
    if (!dc) return 0;
    RECT b = Bounds(dc);
    switch (index) {
        case HORZRES: return b.right - b.left;
        case VERTRES: return b.bottom - b.top;
        case BITSPIXEL: return (!dc->window && dc->bitmap->mono) ? 1 : 32;
        case PLANES: return 1;
        case NUMCOLORS: return -1;
        case SIZEPALETTE: return 0;
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        case RASTERCAPS:
            return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT |
                   RC_FLOODFILL | RC_STRETCHDIB;
        default: return 0;
    }
}

HGDIOBJ WINAPI SelectObject(HDC handle, HGDIOBJ obj) {
    Dc* dc = FindDc(handle);
    Object* o = FindObject(obj);
    if (!dc || !o) return nullptr;
    switch (o->kind) {
        case Kind::Pen: {
            HGDIOBJ old = dc->pen->handle;
            Select(dc->pen, static_cast<Pen*>(o));
            return old;
        }
        case Kind::Brush: {
            HGDIOBJ old = dc->brush->handle;
            Select(dc->brush, static_cast<Brush*>(o));
            return old;
        }
        case Kind::Font: {
            HGDIOBJ old = dc->font->handle;
            Select(dc->font, static_cast<Font*>(o));
            return old;
        }
        case Kind::Bitmap: {
            Bitmap* bm = static_cast<Bitmap*>(o);
            if (dc->window) return nullptr;
            if (bm == dc->bitmap) return bm->handle;
            if (!bm->stock && bm->selectedInto) return nullptr;  // held by another DC
            Bitmap* old = dc->bitmap;
            --old->selections;
            if (old->selectedInto == dc) old->selectedInto = nullptr;
            dc->bitmap = bm;
            ++bm->selections;
            if (!bm->stock) bm->selectedInto = dc;
            return old->handle;
        }
        case Kind::Region:
            return reinterpret_cast<HGDIOBJ>(
                static_cast<intptr_t>(SelectClipRgn(handle, static_cast<HRGN>(obj))));
        case Kind::Dc: return nullptr;
    }
    return nullptr;
}

HGDIOBJ WINAPI GetCurrentObject(HDC handle, UINT type) {
    Dc* dc = FindDc(handle);
    if (!dc) return nullptr;
    switch (type) {
        case OBJ_PEN: return dc->pen->handle;
        case OBJ_BRUSH: return dc->brush->handle;
        case OBJ_FONT: return dc->font->handle;
        case OBJ_BITMAP: return dc->window ? nullptr : dc->bitmap->handle;
        default: return nullptr;
    }
}

COLORREF WINAPI SetBkColor(HDC handle, COLORREF color) {
    Dc* dc = FindDc(handle);
    if (!dc) return CLR_INVALID;
    COLORREF old = dc->bkColor;
    dc->bkColor = color & 0xFFFFFF;
    return old;
}
COLORREF WINAPI GetBkColor(HDC handle) {
    Dc* dc = FindDc(handle);
    return dc ? dc->bkColor : CLR_INVALID;
}
COLORREF WINAPI SetTextColor(HDC handle, COLORREF color) {
    Dc* dc = FindDc(handle);
    if (!dc) return CLR_INVALID;
    COLORREF old = dc->textColor;
    dc->textColor = color & 0xFFFFFF;
    return old;
}
COLORREF WINAPI GetTextColor(HDC handle) {
    Dc* dc = FindDc(handle);
    return dc ? dc->textColor : CLR_INVALID;
}
int WINAPI SetBkMode(HDC handle, int mode) {
    Dc* dc = FindDc(handle);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int old = dc->bkMode;
    dc->bkMode = mode;
    return old;
}
int WINAPI GetBkMode(HDC handle) {
    Dc* dc = FindDc(handle);
    return dc ? dc->bkMode : 0;
}
int WINAPI SetROP2(HDC handle, int rop2) {
    Dc* dc = FindDc(handle);
    if (!dc || rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
    int old = dc->rop2;
    dc->rop2 = rop2;
    return old;
}
int WINAPI GetROP2(HDC handle) {
    Dc* dc = FindDc(handle);
    return dc ? dc->rop2 : 0;
}
int WINAPI SetStretchBltMode(HDC handle, int mode) {
    Dc* dc = FindDc(handle);
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    int old = dc->stretchMode;
    dc->stretchMode = mode;
    return old;
}
int WINAPI GetStretchBltMode(HDC handle) {
    Dc* dc = FindDc(handle);
    return dc ? dc->stretchMode : 0;
}

namespace {
BOOL SetOrigin(HDC handle, POINT Dc::*field, int x, int y, LPPOINT old, bool relative) {
    Dc* dc = FindDc(handle);
    if (!dc) return FALSE;
    POINT& p = dc->*field;
    if (old) *old = p;
    p = relative ? POINT{Clamp(int64_t(p.x) + x), Clamp(int64_t(p.y) + y)}
                 : POINT{Clamp(x), Clamp(y)};
    return TRUE;
}
BOOL GetPoint(HDC handle, POINT Dc::*field, LPPOINT out) {
    Dc* dc = FindDc(handle);
    if (!dc || !out) return FALSE;
    *out = dc->*field;
    return TRUE;
}
}  // namespace

BOOL WINAPI SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old) {
    return SetOrigin(dc, &Dc::viewportOrg, x, y, old, false);
}
BOOL WINAPI OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT old) {
    return SetOrigin(dc, &Dc::viewportOrg, dx, dy, old, true);
}
BOOL WINAPI GetViewportOrgEx(HDC dc, LPPOINT org) { return GetPoint(dc, &Dc::viewportOrg, org); }
BOOL WINAPI SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old) {
    return SetOrigin(dc, &Dc::windowOrg, x, y, old, false);
}
BOOL WINAPI GetWindowOrgEx(HDC dc, LPPOINT org) { return GetPoint(dc, &Dc::windowOrg, org); }
BOOL WINAPI GetCurrentPositionEx(HDC dc, LPPOINT pos) { return GetPoint(dc, &Dc::pos, pos); }

HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom) {
    auto rgn = std::make_unique<Region>();
    // Windows orders the corners of a region's rectangle.
    rgn->rect = RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                     std::max(top, bottom)};
    return static_cast<HRGN>(AddObject(std::move(rgn)));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* r) {
    return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr;
}

int WINAPI SelectClipRgn(HDC handle, HRGN rgn) {
    Dc* dc = FindDc(handle);
    if (!dc) return ERROR;
    if (!rgn) {
        dc->hasClip = false;
        return SIMPLEREGION;
    }
    Region* region = FindRegion(rgn);
    if (!region) return ERROR;
    // A region is in device coordinates.
    RECT r = region->rect;
    if (dc->window) {
        r = RECT{Clamp(int64_t(r.left) + dc->origin.x), Clamp(int64_t(r.top) + dc->origin.y),
                 Clamp(int64_t(r.right) + dc->origin.x), Clamp(int64_t(r.bottom) + dc->origin.y)};
    }
    dc->hasClip = true;
    dc->clip = r;
    return IsEmpty(EffectiveClip(dc)) ? NULLREGION : SIMPLEREGION;
}

int WINAPI IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
    Dc* dc = FindDc(handle);
    if (!dc) return ERROR;
    POINT off = PixelOffset(dc);
    RECT r{Clamp(int64_t(left) + off.x), Clamp(int64_t(top) + off.y), Clamp(int64_t(right) + off.x),
           Clamp(int64_t(bottom) + off.y)};
    dc->clip = dc->hasClip ? Intersect(dc->clip, r) : r;
    dc->hasClip = true;
    return IsEmpty(EffectiveClip(dc)) ? NULLREGION : SIMPLEREGION;
}

int WINAPI GetClipBox(HDC handle, LPRECT out) {
    Dc* dc = FindDc(handle);
    if (!dc || !out) return ERROR;
    RECT r = EffectiveClip(dc);
    POINT off = PixelOffset(dc);
    if (IsEmpty(r)) {
        *out = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    *out = RECT{Clamp(int64_t(r.left) - off.x), Clamp(int64_t(r.top) - off.y),
                Clamp(int64_t(r.right) - off.x), Clamp(int64_t(r.bottom) - off.y)};
    return SIMPLEREGION;
}

HPALETTE WINAPI SelectPalette(HDC, HPALETTE, BOOL) {
    return nullptr;  // no logical palettes: every DC is true colour
}

UINT WINAPI RealizePalette(HDC handle) { return FindDc(handle) ? 0 : GDI_ERROR; }

BOOL WINAPI GdiFlush(void) { return TRUE; }
