// The 36-point IMDCT comes from an 18-point DCT-IV: its outputs are the
// DCT-IV's values in three mirrored, sign-changed runs. The DCT-IV itself
// (layer3_imdct_kernels.h) runs on the active vector path.
#include "audio/layer3_imdct.h"

#include <math.h>
#include <string.h>

#include "audio/layer3_imdct_kernels.h"
#include "audio/simd.h"

namespace audio {

namespace imdct_detail {

dct4_coefficients::dct4_coefficients() {
    for (int n = 0; n < 9; ++n) {
        double a = -M_PI * (4 * n + 1) / 72.0, b = -M_PI * n / 18.0;
        pre_cos[n] = (float)cos(a);
        pre_sin[n] = (float)sin(a);
        post_cos[n] = (float)cos(b);
        post_sin[n] = (float)sin(b);
    }
    for (int m = 0; m < 5; ++m) {
        twiddle_cos[m] = (float)cos(-2.0 * M_PI * m / 9.0);
        twiddle_sin[m] = (float)sin(-2.0 * M_PI * m / 9.0);
    }
}
const dct4_coefficients dct4;

}  // namespace imdct_detail

namespace {

struct imdct_tables {
    float window[4][36];  // block types 0 normal, 1 start, 3 stop (2 unused here)
    // The same with the IMDCT's sign changes folded in (minus from output 9 on).
    alignas(16) float signed_window[4][36];
    float short_cos[12][6];
    float short_window[12];

    imdct_tables() {
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
        for (int b = 0; b < 4; ++b)
            for (int i = 0; i < 36; ++i) signed_window[b][i] = i < 9 ? window[b][i] : -window[b][i];
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

void imdct36_transform(const float* in, int count, float (*y)[18]) {
    using namespace imdct_detail;
    if (count <= 0) return;
    switch (simd_active()) {
#if defined(__x86_64__)
        case simd_path::avx2: dct4_many_avx2(in, count, y); return;
        case simd_path::sse2: dct4_many_sse2(in, count, y); return;
#endif
        default:
            for (int sb = 0; sb < count; ++sb) dct4_18(in + 18 * sb, y[sb]);
            return;
    }
}

namespace {

// The 36 outputs before the window are the DCT-IV's values in three runs:
// 9..17, 17 down to 0, 0..8 (signs are in the window). Laid out in that
// order, the windowing and the overlap are plain element-wise loops that
// the compiler vectorises.
inline void output_order(const float* y, float* e) {
    for (int i = 0; i < 9; ++i) e[i] = y[9 + i];
    for (int i = 0; i < 18; ++i) e[9 + i] = y[17 - i];
    for (int i = 0; i < 9; ++i) e[27 + i] = y[i];
}

}  // namespace

void imdct36_window(const float* y, int block_type, float* out) {
    const float* w = tables().signed_window[block_type & 3];
    float e[36];
    output_order(y, e);
    for (int i = 0; i < 36; ++i) out[i] = e[i] * w[i];
}

void imdct36_overlap(const float* y, int block_type, float* overlap, float* out) {
    const float* w = tables().signed_window[block_type & 3];
    // Straight from y (no reordered copy, whose pieces a vector load would
    // straddle): the runs 9..17 and 17 down to 9, then 8 down to 0 and 0..8.
    for (int i = 0; i < 9; ++i) out[i] = y[9 + i] * w[i] + overlap[i];
    for (int i = 9; i < 18; ++i) out[i] = y[26 - i] * w[i] + overlap[i];
    for (int i = 18; i < 27; ++i) overlap[i - 18] = y[26 - i] * w[i];
    for (int i = 27; i < 36; ++i) overlap[i - 18] = y[i - 27] * w[i];
}

void imdct36(const float* in, int block_type, float* out) {
    float y[1][18];
    imdct36_transform(in, 1, y);
    imdct36_window(y[0], block_type, out);
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
