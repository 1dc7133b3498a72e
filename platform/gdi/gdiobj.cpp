// Pens, brushes, fonts, stock objects, GetObject and DeleteObject.
#include <algorithm>
#include <cstring>

#include "gdi/objects.h"

using namespace win::gdi;

HGDIOBJ WINAPI GetStockObject(int which) {
    Object* o = Stock(which);
    return o ? o->handle : nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ obj) {
    Object* o = FindObject(obj);
    if (!o || o->kind == Kind::Dc) return FALSE;
    if (o->stock) return TRUE;            // deleting a stock object does nothing
    if (o->selections > 0) return FALSE;  // still selected into a DC
    FreeObject(o);
    return TRUE;
}

DWORD WINAPI GetObjectType(HGDIOBJ obj) {
    Object* o = FindObject(obj);
    if (!o) return 0;
    switch (o->kind) {
        case Kind::Dc: return static_cast<Dc*>(o)->window ? OBJ_DC : OBJ_MEMDC;
        case Kind::Bitmap: return OBJ_BITMAP;
        case Kind::Pen: return OBJ_PEN;
        case Kind::Brush: return OBJ_BRUSH;
        case Kind::Font: return OBJ_FONT;
        case Kind::Region: return OBJ_REGION;
    }
    return 0;
}

namespace {

BITMAP BitmapRecord(const Bitmap& b) {
    BITMAP bm{};
    bm.bmWidth = b.width;
    bm.bmHeight = b.height;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = WORD(b.bitsPixel);
    if (b.dibSection) {
        bm.bmWidthBytes = LONG(b.dib.stride);
        bm.bmBits = b.dibBits.get();
    } else {  // DDB rows are word-aligned
        bm.bmWidthBytes = LONG((int64_t(b.width) * b.bitsPixel + 15) / 16 * 2);
    }
    return bm;
}

template <class T>
int CopyOut(const T& value, int size, LPVOID out) {
    if (!out) return int(sizeof(T));
    if (size < int(sizeof(T))) return 0;
    std::memcpy(out, &value, sizeof(T));
    return int(sizeof(T));
}

}  // namespace

int WINAPI GetObjectA(HANDLE obj, int size, LPVOID out) {
    Object* o = FindObject(obj);
    if (!o || size < 0) return 0;
    switch (o->kind) {
        case Kind::Bitmap: {
            const Bitmap& b = *static_cast<Bitmap*>(o);
            if (b.dibSection && (!out || size >= int(sizeof(DIBSECTION)))) {
                DIBSECTION ds{};
                ds.dsBm = BitmapRecord(b);
                ds.dsBmih = b.dibHeader;
                if (b.bitsPixel == 16 || b.bitsPixel == 32)
                    std::memcpy(ds.dsBitfields, b.dib.masks, sizeof(ds.dsBitfields));
                return CopyOut(ds, size, out);
            }
            return CopyOut(BitmapRecord(b), size, out);
        }
        case Kind::Pen: {
            const Pen& p = *static_cast<Pen*>(o);
            LOGPEN lp{UINT(p.style), POINT{p.width, 0}, p.color};
            return CopyOut(lp, size, out);
        }
        case Kind::Brush: {
            const Brush& b = *static_cast<Brush*>(o);
            LOGBRUSH lb{UINT(b.hollow ? BS_NULL : BS_SOLID), b.color, 0};
            return CopyOut(lb, size, out);
        }
        case Kind::Font: return CopyOut(static_cast<Font*>(o)->log, size, out);
        case Kind::Dc:
        case Kind::Region: return 0;
    }
    return 0;
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
    auto pen = std::make_unique<Pen>();
    pen->style = style;
    // Width 0 means one pixel; widths are capped to keep drawing bounded.
    pen->width = std::min(std::max(width, 1), 256);
    pen->color = color & 0xFFFFFF;
    return static_cast<HPEN>(AddObject(std::move(pen)));
}

HPEN WINAPI CreatePenIndirect(const LOGPEN* lp) {
    return lp ? CreatePen(int(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor) : nullptr;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    auto brush = std::make_unique<Brush>();
    brush->color = color & 0xFFFFFF;
    return static_cast<HBRUSH>(AddObject(std::move(brush)));
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb) return nullptr;
    if (lb->lbStyle == BS_NULL) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    if (lb->lbStyle != BS_SOLID) return nullptr;  // hatches and patterns are not drawn here
    return CreateSolidBrush(lb->lbColor);
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lf) {
    if (!lf) return nullptr;
    auto font = std::make_unique<Font>();
    font->log = *lf;
    font->log.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(AddObject(std::move(font)));
}

HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight,
                         DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                         DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                         DWORD pitchAndFamily, LPCSTR face) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = BYTE(italic);
    lf.lfUnderline = BYTE(underline);
    lf.lfStrikeOut = BYTE(strikeOut);
    lf.lfCharSet = BYTE(charSet);
    lf.lfOutPrecision = BYTE(outPrecision);
    lf.lfClipPrecision = BYTE(clipPrecision);
    lf.lfQuality = BYTE(quality);
    lf.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}
