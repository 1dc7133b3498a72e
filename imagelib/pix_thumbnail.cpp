// Thumbnails: shrink to fit a cell, keeping the proportions, then centre on
// a background of the cell's size. The result is always 24 bits per pixel.
#include <algorithm>
#include <cmath>
#include <vector>

#include "pix_image.h"

namespace {

// One source pixel's share of a destination pixel.
struct Tap {
    DWORD source;
    float weight;
};

// For each destination pixel along an axis of `from` pixels shrunk to `to`:
// the source pixels it covers, weighted by how much of each it covers.
std::vector<std::vector<Tap>> AreaTaps(DWORD from, DWORD to)
{
    std::vector<std::vector<Tap>> taps(to);
    const double scale = double(from) / to;
    for (DWORD d = 0; d < to; ++d) {
        const double begin = d * scale, end = (d + 1) * scale;
        for (DWORD s = DWORD(begin); s < from && s < end; ++s) {
            double cover = std::min<double>(end, s + 1) - std::max<double>(begin, s);
            if (cover > 0)
                taps[d].push_back({s, float(cover / scale)});
        }
    }
    return taps;
}

// Averages the covered source area: rows first, then columns.
void AreaAverage(const PixImage& src, PixImage& dst)
{
    const DWORD sw = src.GetWidth(), sh = src.GetHeight();
    const DWORD dw = dst.GetWidth(), dh = dst.GetHeight();
    const auto xTaps = AreaTaps(sw, dw), yTaps = AreaTaps(sh, dh);
    std::vector<float> across(size_t(dw) * sh * 3);
    for (DWORD y = 0; y < sh; ++y) {
        const BYTE* row = src.GetRow(y);
        float* out = &across[size_t(y) * dw * 3];
        for (DWORD x = 0; x < dw; ++x) {
            float b = 0, g = 0, r = 0;
            for (const Tap& t : xTaps[x]) {
                const BYTE* p = row + size_t(t.source) * 3;
                b += p[0] * t.weight;
                g += p[1] * t.weight;
                r += p[2] * t.weight;
            }
            out[x * 3] = b;
            out[x * 3 + 1] = g;
            out[x * 3 + 2] = r;
        }
    }
    std::vector<float> sum(size_t(dw) * 3);
    for (DWORD y = 0; y < dh; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (const Tap& t : yTaps[y]) {
            const float* in = &across[size_t(t.source) * dw * 3];
            for (size_t k = 0; k < sum.size(); ++k)
                sum[k] += in[k] * t.weight;
        }
        BYTE* out = dst.GetRow(y);
        for (size_t k = 0; k < sum.size(); ++k)
            out[k] = BYTE(std::clamp(std::lround(sum[k]), 0L, 255L));
    }
}

// The source as 24-bit rows (bottom row first), palette colours expanded.
std::vector<BYTE> TrueColourRows(const PixImage& src)
{
    const DWORD w = src.GetWidth(), h = src.GetHeight();
    std::vector<BYTE> rgb(size_t(w) * h * 3);
    for (DWORD y = 0; y < h; ++y) {
        BYTE* out = &rgb[size_t(y) * w * 3];
        if (src.GetBpp() == 24) {
            std::copy_n(src.GetRow(y), size_t(w) * 3, out);
            continue;
        }
        for (DWORD x = 0; x < w; ++x) {
            PixRGBQuad c = src.GetPixelColor(long(x), long(h - 1 - y));
            out[x * 3] = c.rgbBlue;
            out[x * 3 + 1] = c.rgbGreen;
            out[x * 3 + 2] = c.rgbRed;
        }
    }
    return rgb;
}

// Bilinear interpolation between the four nearest source pixels.
void Bilinear(const PixImage& src, PixImage& dst)
{
    const DWORD sw = src.GetWidth(), sh = src.GetHeight();
    const DWORD dw = dst.GetWidth(), dh = dst.GetHeight();
    const std::vector<BYTE> rgb = TrueColourRows(src);
    auto locate = [](DWORD d, DWORD from, DWORD to, DWORD& i0, DWORD& i1, float& f) {
        double s = (d + 0.5) * double(from) / to - 0.5;
        s = std::clamp(s, 0.0, double(from - 1));
        i0 = DWORD(s);
        i1 = std::min(i0 + 1, from - 1);
        f = float(s - i0);
    };
    for (DWORD y = 0; y < dh; ++y) {
        DWORD y0, y1;
        float fy;
        locate(y, sh, dh, y0, y1, fy);
        const BYTE* r0 = &rgb[size_t(y0) * sw * 3];
        const BYTE* r1 = &rgb[size_t(y1) * sw * 3];
        BYTE* out = dst.GetRow(y);
        for (DWORD x = 0; x < dw; ++x) {
            DWORD x0, x1;
            float fx;
            locate(x, sw, dw, x0, x1, fx);
            for (int c = 0; c < 3; ++c) {
                float top = r0[x0 * 3 + c] + (r0[x1 * 3 + c] - r0[x0 * 3 + c]) * fx;
                float bottom = r1[x0 * 3 + c] + (r1[x1 * 3 + c] - r1[x0 * 3 + c]) * fx;
                out[x * 3 + c] = BYTE(std::clamp(std::lround(top + (bottom - top) * fy), 0L, 255L));
            }
        }
    }
}

}  // namespace

bool PixImage::Thumbnail(long cx, long cy, PixRGBQuad background, PixImage* target)
{
    if (!IsValid() || cx <= 0 || cy <= 0) {
        SetLastError(IsValid() ? "Thumbnail: the size must be positive" : "Thumbnail: no image");
        return false;
    }
    if (cx > long(kPixMaxDimension) || cy > long(kPixMaxDimension) ||
        uint64_t(cx) * uint64_t(cy) > kPixMaxPixels) {
        SetLastError("Thumbnail: %ld x %ld is too large", cx, cy);
        return false;
    }
    const DWORD w = GetWidth(), h = GetHeight();
    DWORD fitW = w, fitH = h;
    if (DWORD(cx) < w || DWORD(cy) < h) {
        const double factor = (double(cx) / double(cy)) * h > w ? double(cy) / h : double(cx) / w;
        // A very thin picture keeps at least one pixel across.
        fitW = std::clamp<DWORD>(DWORD(w * factor), 1, DWORD(cx));
        fitH = std::clamp<DWORD>(DWORD(h * factor), 1, DWORD(cy));
    }

    PixImage fitted(m_state.nFormat);
    fitted.SetXDPI(m_state.nXDPI);
    fitted.SetYDPI(m_state.nYDPI);
    if (!fitted.Create(fitW, fitH, 24, m_state.nFormat)) {
        CopyLastError(fitted);
        return false;
    }
    // Same size: the bilinear mapping lands on every pixel exactly.
    if (GetBpp() == 24 && fitW < w && fitH < h)
        AreaAverage(*this, fitted);
    else
        Bilinear(*this, fitted);

    PixImage cell(m_state.nFormat);
    cell.SetXDPI(m_state.nXDPI);
    cell.SetYDPI(m_state.nYDPI);
    if (!cell.Create(DWORD(cx), DWORD(cy), 24, m_state.nFormat)) {
        CopyLastError(cell);
        return false;
    }
    // The odd leftover pixel goes to the right and to the bottom.
    const DWORD left = (DWORD(cx) - fitW) / 2, top = (DWORD(cy) - fitH) / 2;
    const DWORD bottom = DWORD(cy) - fitH - top;
    auto paint = [&background](BYTE* row, DWORD from, DWORD to) {
        for (DWORD x = from; x < to; ++x) {
            row[x * 3] = background.rgbBlue;
            row[x * 3 + 1] = background.rgbGreen;
            row[x * 3 + 2] = background.rgbRed;
        }
    };
    for (DWORD y = 0; y < DWORD(cy); ++y) {
        BYTE* row = cell.GetRow(y);
        if (y >= bottom && y < bottom + fitH) {
            paint(row, 0, left);
            std::copy_n(fitted.GetRow(y - bottom), size_t(fitW) * 3, row + size_t(left) * 3);
            paint(row, left + fitW, DWORD(cx));
        } else {
            paint(row, 0, DWORD(cx));
        }
    }
    PixImage& destination = target ? *target : *this;
    if (!destination.Transfer(cell)) {
        SetLastError("Thumbnail: the target image borrows another's pixels");
        return false;
    }
    return true;
}
