// The synthesis filter bank's inner work, written once over a lane type so
// each vector path (plain floats, four-wide, eight-wide) instantiates it.
// Several time slots run side by side, one per lane, through the 32-point
// DCT; each slot is then windowed on its own against the ring.
#pragma once
#include <stdint.h>
#include <string.h>

#include "audio/synthesis.h"

#define TINTO_INLINE __attribute__((always_inline)) inline

namespace audio::synthesis_detail {

// window[t][j] = D[32 t + j] x 32768 (the standard's window, scaled so that
// sums come out as 16-bit sample values).
struct window_table {
    alignas(32) float w[16][32];
    window_table();
};
extern const window_table window;

// The window folded for sums j and 32 - j, which read the same ring values
// (the first half of a vector is odd about 16, the second half even about
// 48): hi[t][j] = -+w[t][32 - j] (minus at even t), hi[t][0] = 0.
struct folded_window_table {
    alignas(32) float hi[16][16];
    folded_window_table();
};
extern const folded_window_table folded_window;

// Halving coefficients 1 / (2 cos((2k+1) pi / 2N)) for N = 32, 16, 8, 4, 2.
struct dct_coefficients {
    float c32[16], c16[8], c8[4], c4[2], c2[1];
    dct_coefficients();
    const float* for_size(int n) const {
        switch (n) {
            case 32: return c32;
            case 16: return c16;
            case 8: return c8;
            case 4: return c4;
            default: return c2;
        }
    }
};
extern const dct_coefficients coefficients;

// X[m] = sum over k of x[k] cos((2k+1) m pi / 2N), by halving (the even
// outputs from the sums, the odd ones from the scaled differences).
template <int N, class V>
TINTO_INLINE void dct(const V* x, V* out) {
    if constexpr (N == 1) {
        out[0] = x[0];
    } else {
        const float* c = coefficients.for_size(N);
        V a[N / 2], b[N / 2], ea[N / 2], eb[N / 2];
        for (int k = 0; k < N / 2; ++k) {
            a[k] = x[k] + x[N - 1 - k];
            b[k] = (x[k] - x[N - 1 - k]) * c[k];
        }
        dct<N / 2>(a, ea);
        dct<N / 2>(b, eb);
        for (int m = 0; m < N / 2 - 1; ++m) {
            out[2 * m] = ea[m];
            out[2 * m + 1] = eb[m] + eb[m + 1];
        }
        out[N - 2] = ea[N / 2 - 1];
        out[N - 1] = eb[N / 2 - 1];
    }
}

// Truncates toward zero and clips; anything that is not a number clips low.
TINTO_INLINE int16_t clip(float v) {
    if (v >= 32767.0f) return 32767;
    if (!(v > -32768.0f)) return -32768;
    return (int16_t)v;
}

// Writes one slot's 32 sums as samples: rounded at full rate by `round32`
// (sums, out, stride: rounds, clips and writes 32 samples at that stride),
// truncated when down-sampling.
template <class Round32>
TINTO_INLINE void emit(synthesis_state* s, const float* sums, Round32 round32) {
    int16_t* out = s->output;
    if (s->shift == 0) {
        round32(sums, out, s->stride);
        out += 32 * s->stride;
    } else {
        int step = 1 << s->shift;
        for (int j = 0; j < 32; j += step) {
            *out = clip(sums[j]);
            out += s->stride;
        }
    }
    s->output = out;
}

// Gathers count (1..L) slots into lanes one subband at a time: lane t of
// x[k] is slot t's subband k. The vector paths transpose whole rows instead
// where subbands are contiguous.
template <class V, int L>
TINTO_INLINE void stage_lanes(const float* in, int slot_step, int band_step, int count, V* x) {
    for (int k = 0; k < 32; ++k) {
        float lanes[L] = {};
        for (int t = 0; t < count; ++t) lanes[t] = in[t * slot_step + k * band_step];
        memcpy(&x[k], lanes, sizeof lanes);
    }
}

// The inverse of stage_lanes: z[t][k] = lane t of y[k], z[t][32..39] zero.
template <class V, int L>
TINTO_INLINE void unstage_lanes(const V* y, float (*z)[40]) {
    alignas(32) float lanes[32][L];
    memcpy(lanes, y, sizeof lanes);
    for (int t = 0; t < L; ++t) {
        for (int k = 0; k < 32; ++k) z[t][k] = lanes[k][t];
        for (int k = 32; k < 40; ++k) z[t][k] = 0.0f;
    }
}

// The standard's V[i] = sum of cos((16+i)(2k+1) pi/64) S[k] in terms of the
// DCT's outputs z (z[32] = 0): mirror images and sign changes.
TINTO_INLINE void write_ring(float* v, const float* z) {
    for (int i = 0; i < 16; ++i) v[i] = z[16 + i];
    for (int i = 0; i < 32; ++i) v[16 + i] = -z[32 - i];
    for (int i = 0; i < 16; ++i) v[48 + i] = -z[i];
}

// Runs count (1..L) slots: slot t's subband k is in[t * slot_step + k *
// band_step]. V holds L floats; Stage fills V[32] from the input, Unstage
// turns the DCT's V[32] back into rows of 40 floats (unstage_lanes); Window
// sums one slot against the ring into float[32]; Round32 converts at full
// rate.
template <class V, int L, class Stage, class Unstage, class Window, class Round32>
TINTO_INLINE void run_batch(synthesis_state* s, const float* in, int slot_step, int band_step,
                            int count, Stage stage, Unstage unstage, Window window_sums,
                            Round32 round32) {
    V x[32];
    stage(in, slot_step, band_step, count, x);
    if (s->has_equalizer)
        for (int k = 0; k < 32; ++k) x[k] *= s->gains[k];
    V y[32];
    dct<32>(x, y);
    // Back to one row per slot; z[t][32] is the zero the ring needs.
    alignas(32) float z[L][40];
    unstage(y, z);
    for (int t = 0; t < count; ++t) {
        s->offset = (s->offset + 15) & 15;
        write_ring(s->ring[s->offset], z[t]);
        alignas(32) float sums[32];
        window_sums(s, sums);
        emit(s, sums, round32);
    }
}

// The vector paths, defined where the processor has them.
void run_slots_sse2(synthesis_state* s, const float* in, int slot_step, int band_step, int count);
void run_slots_avx2(synthesis_state* s, const float* in, int slot_step, int band_step, int count);

}  // namespace audio::synthesis_detail
