// The 18-point DCT-IV at the heart of the long-block IMDCT, written once over
// a lane type: plain floats transform one subband, four- or eight-wide
// vectors transform that many subbands side by side.
//
// y[j] = sum over k of x[k] cos(pi/72 (2j+1)(2k+1)) comes from an 18-point
// DCT-II C of u[k] = 2 cos(pi (2k+1)/72) x[k]: C[m] = y[m] + y[m-1] (with
// y[-1] = y[0]). The DCT-II halves into two 9-point ones, whose mirrored
// inputs split into even and odd outputs: about 90 multiplies instead of 324.
#pragma once

#define TINTO_INLINE __attribute__((always_inline)) inline

namespace audio::imdct_detail {

struct dct4_coefficients {
    float pre[18];     // 2 cos(pi (2k+1)/72)
    float halve[9];    // 1 / (2 cos(pi (2k+1)/36))
    float even[5][5];  // 9-point DCT-II, even outputs 2p: cos(pi (2k+1) 2p/18), k = 0..4
    float odd[4][4];   // odd outputs 2p+1: cos(pi (2k+1)(2p+1)/18), k = 0..3
    dct4_coefficients();
};
extern const dct4_coefficients dct4;

// X[p] = sum over k < 9 of x[k] cos(pi (2k+1) p / 18). Inputs k and 8-k
// share their cosines up to the sign (-1)^p; the middle one has none at odd p.
template <class V>
TINTO_INLINE void dct2_9(const V* x, V* out) {
    V s[4], d[4];
    for (int k = 0; k < 4; ++k) {
        s[k] = x[k] + x[8 - k];
        d[k] = x[k] - x[8 - k];
    }
    for (int p = 0; p < 5; ++p) {
        const float* c = dct4.even[p];
        out[2 * p] = s[0] * c[0] + s[1] * c[1] + s[2] * c[2] + s[3] * c[3] + x[4] * c[4];
    }
    for (int p = 0; p < 4; ++p) {
        const float* c = dct4.odd[p];
        out[2 * p + 1] = d[0] * c[0] + d[1] * c[1] + d[2] * c[2] + d[3] * c[3];
    }
}

template <class V>
TINTO_INLINE void dct4_18(const V* x, V* y) {
    V u[18];
    for (int k = 0; k < 18; ++k) u[k] = x[k] * dct4.pre[k];
    V a[9], b[9], ea[9], eb[9];
    for (int k = 0; k < 9; ++k) {
        a[k] = u[k] + u[17 - k];
        b[k] = (u[k] - u[17 - k]) * dct4.halve[k];
    }
    dct2_9(a, ea);
    dct2_9(b, eb);
    // C[2m] = ea[m], C[2m+1] = eb[m] + eb[m+1]; then y[m] = C[m] - y[m-1].
    y[0] = ea[0] * 0.5f;
    y[1] = eb[0] + eb[1] - y[0];
    for (int m = 1; m < 8; ++m) {
        y[2 * m] = ea[m] - y[2 * m - 1];
        y[2 * m + 1] = eb[m] + eb[m + 1] - y[2 * m];
    }
    y[16] = ea[8] - y[15];
    y[17] = eb[8] - y[16];
}

// The vector paths: raw DCT-IV outputs for count subbands (18 inputs each,
// contiguous) into y[count][18].
void dct4_many_sse2(const float* in, int count, float (*y)[18]);
void dct4_many_avx2(const float* in, int count, float (*y)[18]);

}  // namespace audio::imdct_detail
