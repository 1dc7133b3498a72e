#include "text/render.h"

#include <algorithm>
#include <climits>

#include "text/cp1252.h"

namespace text {
namespace {

uint32_t ToPixel(COLORREF color) {
    // 0x00BBGGRR to 0x00RRGGBB.
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

uint32_t Blend(uint32_t under, uint32_t over, unsigned alpha) {
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        const unsigned mixed = (a * (255 - alpha) + b * alpha + 127) / 255;
        result |= mixed << shift;
    }
    return result;
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

}  // namespace

TextMask RenderMask(const Font& font, std::string_view text, int underlineIndex) {
    const FontMetrics& metrics = font.Metrics();
    // First pass: the ink box relative to the cell's top-left.
    int pen = 0;
    int minX = 0, minY = 0, maxX = 0, maxY = metrics.height;
    for (unsigned char byte : text) {
        const Glyph& glyph = font.GlyphFor(DecodeCp1252(byte));
        if (glyph.width > 0 && glyph.rows > 0) {
            minX = std::min(minX, pen + glyph.left);
            maxX = std::max(maxX, pen + glyph.left + glyph.width);
            minY = std::min(minY, metrics.ascent - glyph.top);
            maxY = std::max(maxY, metrics.ascent - glyph.top + glyph.rows);
        }
        pen += glyph.advance;
    }
    maxX = std::max(maxX, pen);

    TextMask mask;
    mask.width = maxX - minX;
    mask.height = maxY - minY;
    mask.cellX = -minX;
    mask.cellY = -minY;
    mask.cellWidth = pen;
    mask.coverage.assign(static_cast<size_t>(mask.width) * mask.height, 0);

    auto plot = [&](int x, int y, uint8_t value) {
        x += mask.cellX;
        y += mask.cellY;
        if (x < 0 || y < 0 || x >= mask.width || y >= mask.height) return;
        uint8_t& cell = mask.coverage[static_cast<size_t>(y) * mask.width + x];
        cell = std::max(cell, value);
    };

    const int lineThickness = std::max(1, metrics.height / 16);
    const int underlineY = std::min(metrics.ascent + 1, metrics.height - lineThickness);
    const int strikeY = metrics.ascent - std::max(1, metrics.ascent / 3);
    auto rule = [&](int from, int to, int y) {
        for (int row = y; row < y + lineThickness; ++row)
            for (int x = from; x < to; ++x) plot(x, row, 255);
    };

    pen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const Glyph& glyph = font.GlyphFor(DecodeCp1252(static_cast<unsigned char>(text[i])));
        const int originY = metrics.ascent - glyph.top;
        for (int y = 0; y < glyph.rows; ++y)
            for (int x = 0; x < glyph.width; ++x)
                plot(pen + glyph.left + x, originY + y,
                     glyph.coverage[static_cast<size_t>(y) * glyph.width + x]);
        if (static_cast<int>(i) == underlineIndex) rule(pen, pen + glyph.advance, underlineY);
        pen += glyph.advance;
    }
    if (metrics.underline) rule(0, pen, underlineY);
    if (metrics.strikeOut) rule(0, pen, strikeY);
    return mask;
}

int DrawString(const Font& font, const PixelTarget& target, const RECT& clip, int x, int y,
               std::string_view text, const TextColors& colors, int underlineIndex) {
    const FontMetrics& metrics = font.Metrics();
    const int width = font.MeasureWidth(text);
    if (!target.pixels || target.width <= 0 || target.height <= 0 || target.stride < target.width)
        return width;
    const RECT bounds = Intersect(clip, RECT{0, 0, target.width, target.height});
    if (bounds.left >= bounds.right || bounds.top >= bounds.bottom) return width;

    auto row = [&](int py) { return target.pixels + static_cast<ptrdiff_t>(py) * target.stride; };
    // Positions are computed in 64 bits: a far-away origin must not wrap.
    auto visible = [&](long long left, long long top, long long right, long long bottom) {
        RECT r{static_cast<LONG>(std::clamp<long long>(left, INT_MIN, INT_MAX)),
               static_cast<LONG>(std::clamp<long long>(top, INT_MIN, INT_MAX)),
               static_cast<LONG>(std::clamp<long long>(right, INT_MIN, INT_MAX)),
               static_cast<LONG>(std::clamp<long long>(bottom, INT_MIN, INT_MAX))};
        return Intersect(r, bounds);
    };
    auto fill = [&](const RECT& area, uint32_t pixel) {
        for (int py = area.top; py < area.bottom; ++py)
            std::fill(row(py) + area.left, row(py) + area.right, pixel);
    };

    const uint32_t ink = ToPixel(colors.text);
    if (colors.opaque)
        fill(visible(x, y, static_cast<long long>(x) + width,
                     static_cast<long long>(y) + metrics.height),
             ToPixel(colors.background));

    const int thickness = std::max(1, metrics.height / 16);
    const long long underlineTop =
        static_cast<long long>(y) + std::min(metrics.ascent + 1, metrics.height - thickness);
    long long pen = x;
    for (size_t i = 0; i < text.size(); ++i) {
        const Glyph& glyph = font.GlyphFor(DecodeCp1252(static_cast<unsigned char>(text[i])));
        const long long left = pen + glyph.left;
        const long long top = static_cast<long long>(y) + metrics.ascent - glyph.top;
        const RECT area = visible(left, top, left + glyph.width, top + glyph.rows);
        for (int py = area.top; py < area.bottom; ++py) {
            const uint8_t* coverage =
                glyph.coverage.data() + static_cast<size_t>(py - top) * glyph.width;
            uint32_t* out = row(py);
            for (int px = area.left; px < area.right; ++px) {
                const unsigned alpha = coverage[px - left];
                if (alpha == 255)
                    out[px] = ink;
                else if (alpha)
                    out[px] = Blend(out[px], ink, alpha);
            }
        }
        if (static_cast<int>(i) == underlineIndex)
            fill(visible(pen, underlineTop, pen + glyph.advance, underlineTop + thickness), ink);
        pen += glyph.advance;
    }
    if (metrics.underline) fill(visible(x, underlineTop, pen, underlineTop + thickness), ink);
    if (metrics.strikeOut) {
        const long long strikeTop =
            static_cast<long long>(y) + metrics.ascent - std::max(1, metrics.ascent / 3);
        fill(visible(x, strikeTop, pen, strikeTop + thickness), ink);
    }
    return width;
}

}  // namespace text
