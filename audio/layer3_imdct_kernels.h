// The 18-point DCT-IV at the heart of the long-block IMDCT, written once over
// a lane type: plain floats transform one subband, four- or eight-wide
// vectors transform that many subbands side by side.
//
// y[j] = sum over k of x[k] cos(pi/72 (2j+1)(2k+1)) through a 9-point
// complex DFT: the pairs (x[2n], x[17-2n]) rotated by -pi (4n+1)/72 form
// its input, and its outputs rotated by -pi k/18 give y[2k] (real part) and
// y[17-2k] (minus the imaginary part). The DFT is three 3-point DFTs, nine
// twiddles, three more 3-point DFTs. Only rotations and butterflies: as
// exact in floats as the plain sums, at about a third of their cost.
#pragma once

#define TINTO_INLINE __attribute__((always_inline)) inline

namespace audio::imdct_detail {

struct dct4_coefficients {
    float pre_cos[9], pre_sin[9];          // angle -pi (4n+1)/72
    float post_cos[9], post_sin[9];        // angle -pi k/18
    float twiddle_cos[5], twiddle_sin[5];  // angle -2 pi m/9
    dct4_coefficients();
};
extern const dct4_coefficients dct4;

// X[m] = sum over n of (a, b, c)[n] e^(-2 pi i n m/3), real and imaginary
// parts apart.
template <class V>
TINTO_INLINE void dft3(V ar, V ai, V br, V bi, V cr, V ci, V* xr, V* xi) {
    const float h = 0.86602540378443864676f;  // sin(pi/3)
    V sr = br + cr, si = bi + ci, dr = br - cr, di = bi - ci;
    xr[0] = ar + sr;
    xi[0] = ai + si;
    V tr = ar - sr * 0.5f, ti = ai - si * 0.5f;
    xr[1] = tr + di * h;  // t - i h (b - c)
    xi[1] = ti - dr * h;
    xr[2] = tr - di * h;
    xi[2] = ti + dr * h;
}

template <class V>
TINTO_INLINE void dct4_18(const V* x, V* y) {
    const dct4_coefficients& c = dct4;
    V zr[9], zi[9];
    for (int n = 0; n < 9; ++n) {
        V a = x[2 * n], b = x[17 - 2 * n];
        zr[n] = a * c.pre_cos[n] - b * c.pre_sin[n];
        zi[n] = a * c.pre_sin[n] + b * c.pre_cos[n];
    }
    // Index n = 3 n1 + n2, output k = k1 + 3 k2.
    V br[3][3], bi[3][3];
    for (int n2 = 0; n2 < 3; ++n2) {
        V ar[3], ai[3];
        dft3(zr[n2], zi[n2], zr[3 + n2], zi[3 + n2], zr[6 + n2], zi[6 + n2], ar, ai);
        for (int k1 = 0; k1 < 3; ++k1) {
            int m = n2 * k1;
            if (m == 0) {
                br[n2][k1] = ar[k1];
                bi[n2][k1] = ai[k1];
            } else {
                br[n2][k1] = ar[k1] * c.twiddle_cos[m] - ai[k1] * c.twiddle_sin[m];
                bi[n2][k1] = ar[k1] * c.twiddle_sin[m] + ai[k1] * c.twiddle_cos[m];
            }
        }
    }
    for (int k1 = 0; k1 < 3; ++k1) {
        V zr3[3], zi3[3];
        dft3(br[0][k1], bi[0][k1], br[1][k1], bi[1][k1], br[2][k1], bi[2][k1], zr3, zi3);
        for (int k2 = 0; k2 < 3; ++k2) {
            int k = k1 + 3 * k2;
            y[2 * k] = zr3[k2] * c.post_cos[k] - zi3[k2] * c.post_sin[k];
            y[17 - 2 * k] = -(zr3[k2] * c.post_sin[k] + zi3[k2] * c.post_cos[k]);
        }
    }
}

// The vector paths: raw DCT-IV outputs for count subbands (18 inputs each,
// contiguous) into y[count][18].
void dct4_many_sse2(const float* in, int count, float (*y)[18]);
void dct4_many_avx2(const float* in, int count, float (*y)[18]);

}  // namespace audio::imdct_detail
