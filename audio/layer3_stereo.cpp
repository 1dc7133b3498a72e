// Intensity stereo as the MPEG-1 and MPEG-2 standards define it: bands above
// the last non-zero band of the right channel carry only the left channel's
// values, shared out by the position in the right channel's scale factor.
#include "audio/layer3_stereo.h"

#include <math.h>
#include <stdint.h>

#include "audio/mpeg_tables.h"

namespace audio {

void layer3_intensity_factors(bool mpeg1, int pos, int intensity_scale, float* kl, float* kr) {
    if (mpeg1) {
        double a = pos * M_PI / 12.0;
        double s = sin(a), c = cos(a);
        *kl = (float)(s / (s + c));
        *kr = (float)(c / (s + c));
        return;
    }
    double io = intensity_scale ? M_SQRT1_2 : pow(2.0, -0.25);
    if (pos == 0) {
        *kl = *kr = 1.0f;
    } else if (pos & 1) {
        *kl = (float)pow(io, (pos + 1) / 2);
        *kr = 1.0f;
    } else {
        *kl = 1.0f;
        *kr = (float)pow(io, pos / 2);
    }
}

namespace {

// Lines of short-block data are ordered band, window, line; these helpers
// give the extent of one band's window.
struct short_span {
    int start, width;
};
inline short_span short_band_window(const int16_t* sb, int b, int w) {
    int width = sb[b + 1] - sb[b];
    return {3 * sb[b] + w * width, width};
}

bool any_nonzero(const float* v, int from, int to) {
    for (int i = from; i < to; ++i)
        if (v[i] != 0.0f) return true;
    return false;
}

// Middle/side or plain stereo for lines [from, to).
void stereo_lines(float* l, float* r, int from, int to, bool ms) {
    if (!ms) return;
    for (int i = from; i < to; ++i) {
        float m = l[i], s = r[i];
        l[i] = (m + s) * (float)M_SQRT1_2;
        r[i] = (m - s) * (float)M_SQRT1_2;
    }
}

void intensity_lines(float* l, float* r, int from, int to, int pos, int max, bool mpeg1, int iscale,
                     bool ms) {
    // The illegal position (and, in MPEG-1, anything above it, which no
    // valid stream holds): the band is coded as usual.
    if (pos == max || (mpeg1 && pos > 6)) {
        stereo_lines(l, r, from, to, ms);
        return;
    }
    float kl, kr;
    layer3_intensity_factors(mpeg1, pos, iscale, &kl, &kr);
    for (int i = from; i < to; ++i) {
        float v = l[i];
        l[i] = v * kl;
        r[i] = v * kr;
    }
}

// The top band (long band 21, short band 12 of each window) carries no
// position of its own. When the band below it is intensity coded it takes
// that band's position; when the band below holds right-channel values it
// takes the default: position 0 (both channels at the full level, no
// middle/side factor) in MPEG-2, and in MPEG-1 no intensity coding at all.
void top_band(float* l, float* r, int from, int to, bool below_is_intensity, int below_pos,
              int below_max, bool mpeg1, int iscale, bool ms) {
    if (below_is_intensity)
        intensity_lines(l, r, from, to, below_pos, below_max, mpeg1, iscale, ms);
    else if (mpeg1)
        stereo_lines(l, r, from, to, ms);
    else
        intensity_lines(l, r, from, to, 0, -1, false, iscale, ms);
}

}  // namespace

// Bands above the right channel's last non-zero band (per window for short
// blocks) take their position from the right's scale factors.

void layer3_stereo(float* l, float* r, bool short_blocks, bool mixed,
                   const layer3_scale_factors* sf, int table_index, bool mpeg1, bool ms) {
    const int16_t* lb = layer3_long_bands[table_index];
    const int16_t* sb = layer3_short_bands[table_index];
    int iscale = sf->intensity_scale;

    auto long_part = [&](int bands, bool all_intensity_above) {
        // Highest long band with data in the right channel.
        int first_is = 0;
        for (int b = bands - 1; b >= 0; --b)
            if (any_nonzero(r, lb[b], lb[b + 1])) {
                first_is = b + 1;
                break;
            }
        if (!all_intensity_above) first_is = bands;  // data above: no intensity here
        for (int b = 0; b < bands; ++b) {
            if (b < first_is)
                stereo_lines(l, r, lb[b], lb[b + 1], ms);
            else if (b == 21)
                top_band(l, r, lb[21], lb[22], first_is <= 20, sf->l[20], sf->l_max[20], mpeg1,
                         iscale, ms);
            else
                intensity_lines(l, r, lb[b], lb[b + 1], sf->l[b], sf->l_max[b], mpeg1, iscale, ms);
        }
    };

    if (!short_blocks) {
        long_part(22, true);
        return;
    }
    // Mixed blocks: the short part starts at short band 3; each window has
    // its own boundary there, and the long part is intensity coded above its
    // own boundary only when no window of the short part has right data.
    int first_short = mixed ? 3 : 0;
    bool short_has_data = false;
    int first_is[3];
    for (int w = 0; w < 3; ++w) {
        first_is[w] = first_short;
        for (int b = 12; b >= first_short; --b) {
            short_span sp = short_band_window(sb, b, w);
            if (any_nonzero(r, sp.start, sp.start + sp.width)) {
                first_is[w] = b + 1;
                short_has_data = true;
                break;
            }
        }
    }
    if (mixed) long_part(mpeg1 ? 8 : 6, !short_has_data);
    for (int w = 0; w < 3; ++w)
        for (int b = first_short; b < 13; ++b) {
            short_span sp = short_band_window(sb, b, w);
            int from = sp.start, to = sp.start + sp.width;
            if (b < first_is[w])
                stereo_lines(l, r, from, to, ms);
            else if (b == 12)
                top_band(l, r, from, to, first_is[w] <= 11, sf->s[11][w], sf->s_max[11], mpeg1,
                         iscale, ms);
            else
                intensity_lines(l, r, from, to, sf->s[b][w], sf->s_max[b], mpeg1, iscale, ms);
        }
}

}  // namespace audio
