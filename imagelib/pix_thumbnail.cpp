// Thumbnails: shrink to fit a cell, keeping the proportions, then centre on
// a background of the cell's size. The result is always 24 bits per pixel.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "imagelib/pix_image.h"

namespace {

// One source pixel's share of a destination pixel.
struct Tap {
    DWORD source;
    float weight;
};

// For each destination pixel along an axis of `from` pixels shrunk to `to`:
// the source pixels it covers, weighted by how much of each it covers.
std::vector<std::vector<Tap>> AreaTaps(DWORD from, DWORD to) {
    std::vector<std::vector<Tap>> taps(to);
    const double scale = double(from) / to;
    for (DWORD d = 0; d < to; ++d) {
        const double begin = d * scale, end = (d + 1) * scale;
        for (DWORD s = DWORD(begin); s < from && s < end; ++s) {
            double cover = std::min<double>(end, s + 1) - std::max<double>(begin, s);
            if (cover > 0) taps[d].push_back({s, float(cover / scale)});
        }
    }
    return taps;
}

// Averages the covered source area: each destination row sums the source
// rows it covers, each first averaged across. Only two rows of working
// memory, whatever the source's height.
void AreaAverage(const PixImage& src, PixImage& dst) {
    const DWORD sw = src.GetWidth(), sh = src.GetHeight();
    const DWORD dw = dst.GetWidth(), dh = dst.GetHeight();
    const auto xTaps = AreaTaps(sw, dw), yTaps = AreaTaps(sh, dh);
    std::vector<float> across(size_t(dw) * 3);
    std::vector<float> sum(size_t(dw) * 3);
    for (DWORD y = 0; y < dh; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (const Tap& ty : yTaps[y]) {
            const BYTE* row = src.GetRow(ty.source);
            for (DWORD x = 0; x < dw; ++x) {
                float b = 0, g = 0, r = 0;
                for (const Tap& t : xTaps[x]) {
                    const BYTE* p = row + size_t(t.source) * 3;
                    b += p[0] * t.weight;
                    g += p[1] * t.weight;
                    r += p[2] * t.weight;
                }
                across[x * 3] = b;
                across[x * 3 + 1] = g;
                across[x * 3 + 2] = r;
            }
            for (size_t k = 0; k < sum.size(); ++k) sum[k] += across[k] * ty.weight;
        }
        BYTE* out = dst.GetRow(y);
        for (size_t k = 0; k < sum.size(); ++k)
            out[k] = BYTE(std::clamp(std::lround(sum[k]), 0L, 255L));
    }
}

// The colour of pixel x of a stored row, whatever the depth.
inline void ReadPixel(const PixImage& src, const BYTE* row, DWORD x, const PixRGBQuad* palette,
                      BYTE out[3]) {
    DWORD index;
    switch (src.GetBpp()) {
        case 24:
            out[0] = row[x * 3];
            out[1] = row[x * 3 + 1];
            out[2] = row[x * 3 + 2];
            return;
        case 8: index = row[x]; break;
        case 4: index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F; break;
        default: index = (row[x / 8] >> (7 - x % 8)) & 1; break;
    }
    out[0] = palette[index].rgbBlue;
    out[1] = palette[index].rgbGreen;
    out[2] = palette[index].rgbRed;
}

// Where destination pixel d samples a source axis of `from` pixels: the
// two neighbours and the weight of the second, at pixel centres.
struct Sample {
    DWORD i0, i1;
    float f;
};

std::vector<Sample> BilinearSamples(DWORD from, DWORD to) {
    std::vector<Sample> samples(to);
    for (DWORD d = 0; d < to; ++d) {
        double s = std::clamp((d + 0.5) * double(from) / to - 0.5, 0.0, double(from - 1));
        DWORD i0 = DWORD(s);
        samples[d] = {i0, std::min(i0 + 1, from - 1), float(s - i0)};
    }
    return samples;
}

// Bilinear interpolation between the four nearest source pixels, read
// straight from the source rows (no expanded copy of a large picture).
void Bilinear(const PixImage& src, PixImage& dst) {
    const auto xs = BilinearSamples(src.GetWidth(), dst.GetWidth());
    const auto ys = BilinearSamples(src.GetHeight(), dst.GetHeight());
    const PixRGBQuad* palette = src.GetPalette();
    for (DWORD y = 0; y < dst.GetHeight(); ++y) {
        const BYTE* r0 = src.GetRow(ys[y].i0);
        const BYTE* r1 = src.GetRow(ys[y].i1);
        BYTE* out = dst.GetRow(y);
        for (DWORD x = 0; x < dst.GetWidth(); ++x) {
            BYTE a[3], b[3], c[3], d[3];
            ReadPixel(src, r0, xs[x].i0, palette, a);
            ReadPixel(src, r0, xs[x].i1, palette, b);
            ReadPixel(src, r1, xs[x].i0, palette, c);
            ReadPixel(src, r1, xs[x].i1, palette, d);
            const float fx = xs[x].f, fy = ys[y].f;
            for (int k = 0; k < 3; ++k) {
                float top = a[k] + (b[k] - a[k]) * fx;
                float bottom = c[k] + (d[k] - c[k]) * fx;
                out[x * 3 + k] = BYTE(std::clamp(std::lround(top + (bottom - top) * fy), 0L, 255L));
            }
        }
    }
}

}  // namespace

bool PixImage::Thumbnail(long cx, long cy, PixRGBQuad background, PixImage* target) {
    if (!IsValid() || cx <= 0 || cy <= 0) {
        return Fail(IsValid() ? "Thumbnail: the size must be positive" : "Thumbnail: no image");
    }
    if (cx > long(kPixMaxDimension) || cy > long(kPixMaxDimension) ||
        uint64_t(cx) * uint64_t(cy) > kPixMaxPixels) {
        return Fail("Thumbnail: %ld x %ld is too large", cx, cy);
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
    try {
        if (GetBpp() == 24 && fitW < w && fitH < h)
            AreaAverage(*this, fitted);
        else
            Bilinear(*this, fitted);
    } catch (const std::bad_alloc&) {
        return Fail("Thumbnail: can't allocate memory");
    }

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
        return Fail("Thumbnail: the target image borrows another's pixels");
    }
    return true;
}
