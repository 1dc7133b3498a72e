// The 36-point IMDCT comes from an 18-point DCT-IV: its outputs are the
// DCT-IV's values in three mirrored, sign-changed runs.
#include "audio/layer3_imdct.h"

#include <math.h>
#include <string.h>

namespace audio {

namespace {

struct imdct_tables {
    // cos(pi/72 (2j+1)(2k+1)) by input k, outputs j padded to 20 for
    // four-wide sums.
    alignas(16) float dct4[18][20];
    float window[4][36];  // block types 0 normal, 1 start, 3 stop (2 unused here)
    float short_cos[12][6];
    float short_window[12];

    imdct_tables() {
        for (int k = 0; k < 18; ++k)
            for (int j = 0; j < 20; ++j)
                dct4[k][j] = j < 18 ? (float)cos(M_PI / 72.0 * (2 * j + 1) * (2 * k + 1)) : 0.0f;
        for (int i = 0; i < 36; ++i) {
            double normal = sin(M_PI / 36.0 * (i + 0.5));
            window[0][i] = window[2][i] = (float)normal;
            // Start block: long rise, flat, short fall, zeros.
            if (i < 18)
                window[1][i] = (float)normal;
            else if (i < 24)
                window[1][i] = 1.0f;
            else if (i < 30)
                window[1][i] = (float)sin(M_PI / 12.0 * (i - 18 + 0.5));
            else
                window[1][i] = 0.0f;
            // Stop block: the mirror image.
            if (i < 6)
                window[3][i] = 0.0f;
            else if (i < 12)
                window[3][i] = (float)sin(M_PI / 12.0 * (i - 6 + 0.5));
            else if (i < 18)
                window[3][i] = 1.0f;
            else
                window[3][i] = (float)normal;
        }
        for (int i = 0; i < 12; ++i) {
            for (int k = 0; k < 6; ++k)
                short_cos[i][k] = (float)cos(M_PI / 24.0 * (2 * i + 7) * (2 * k + 1));
            short_window[i] = (float)sin(M_PI / 12.0 * (i + 0.5));
        }
    }
};
const imdct_tables& tables() {
    static const imdct_tables t;
    return t;
}

}  // namespace

void imdct36(const float* in, int block_type, float* out) {
    const imdct_tables& t = tables();
    typedef float v4 __attribute__((vector_size(16)));
    v4 acc[5] = {};
    for (int k = 0; k < 18; ++k) {
        if (in[k] == 0.0f) continue;  // high lines are mostly zero
        v4 x = {in[k], in[k], in[k], in[k]};
        const v4* row = reinterpret_cast<const v4*>(t.dct4[k]);
        for (int q = 0; q < 5; ++q) acc[q] += x * row[q];
    }
    float y[20];
    memcpy(y, acc, sizeof y);
    const float* w = t.window[block_type & 3];
    for (int i = 0; i < 9; ++i) out[i] = y[i + 9] * w[i];
    for (int i = 9; i < 27; ++i) out[i] = -y[26 - i] * w[i];
    for (int i = 27; i < 36; ++i) out[i] = -y[i - 27] * w[i];
}

void imdct_short(const float* w0, const float* w1, const float* w2, float* out) {
    const imdct_tables& t = tables();
    const float* windows[3] = {w0, w1, w2};
    memset(out, 0, 36 * sizeof(float));
    for (int w = 0; w < 3; ++w) {
        const float* in = windows[w];
        for (int i = 0; i < 12; ++i) {
            float s = 0.0f;
            for (int k = 0; k < 6; ++k) s += in[k] * t.short_cos[i][k];
            out[6 + 6 * w + i] += s * t.short_window[i];
        }
    }
}

}  // namespace audio
