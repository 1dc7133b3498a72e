// Polyphase synthesis: a fast 32-point DCT builds each new 64-value vector,
// a ring of the last 16 vectors stands in for the standard's shifting
// buffer, and each output sample is a 16-term dot product with the window.
#include "audio/synthesis.h"

#include <math.h>
#include <string.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "audio/mpeg_tables.h"

namespace audio {

namespace {

// window[t][j] = D[32 t + j] x 32768 (the standard's window, scaled so that
// sums come out as 16-bit sample values).
struct window_table {
    alignas(16) float w[16][32];
    window_table() {
        double d[512];
        for (int i = 0; i <= 256; ++i) d[i] = synthesis_window_base[i] / 65536.0;
        for (int i = 257; i < 512; ++i) d[i] = (i % 64 == 0) ? d[512 - i] : -d[512 - i];
        for (int t = 0; t < 16; ++t)
            for (int j = 0; j < 32; ++j) w[t][j] = (float)(d[32 * t + j] * 32768.0);
    }
};
const window_table window;

// Halving coefficients 1 / (2 cos((2k+1) pi / 2N)) for N = 32, 16, 8, 4, 2.
struct dct_coefficients {
    float c32[16], c16[8], c8[4], c4[2], c2[1];
    dct_coefficients() {
        fill(c32, 32);
        fill(c16, 16);
        fill(c8, 8);
        fill(c4, 4);
        fill(c2, 2);
    }
    static void fill(float* c, int n) {
        for (int k = 0; k < n / 2; ++k)
            c[k] = (float)(1.0 / (2.0 * cos((2 * k + 1) * M_PI / (2.0 * n))));
    }
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
const dct_coefficients coefficients;

// X[m] = sum over k of x[k] cos((2k+1) m pi / 2N), by halving (the even
// outputs from the sums, the odd ones from the scaled differences).
template <int N>
__attribute__((always_inline)) inline void dct(const float* x, float* out) {
    if constexpr (N == 1) {
        out[0] = x[0];
    } else {
        const float* c = coefficients.for_size(N);
        float a[N / 2], b[N / 2], ea[N / 2], eb[N / 2];
        for (int k = 0; k < N / 2; ++k) {
            a[k] = x[k] + x[N - 1 - k];
            b[k] = (x[k] - x[N - 1 - k]) * c[k];
        }
        dct<N / 2>(a, ea);
        dct<N / 2>(b, eb);
        for (int m = 0; m < N / 2; ++m) {
            out[2 * m] = ea[m];
            out[2 * m + 1] = eb[m] + (m + 1 < N / 2 ? eb[m + 1] : 0.0f);
        }
    }
}

// Truncates toward zero and clips; anything that is not a number clips low.
inline int16_t clip(float v) {
    if (v >= 32767.0f) return 32767;
    if (!(v > -32768.0f)) return -32768;
    return (int16_t)v;
}

// Rounds to nearest (ties to even) and clips to 16 bits.
inline void to_pcm_rounded(const float* v, int16_t* out) {
#if defined(__SSE2__)
    for (int j = 0; j < 32; j += 8) {
        __m128i a = _mm_cvtps_epi32(_mm_loadu_ps(v + j));  // current rounding mode: nearest even
        __m128i b = _mm_cvtps_epi32(_mm_loadu_ps(v + j + 4));
        // Out-of-range floats convert to INT_MIN; clamp those from the float side.
        __m128 hi = _mm_cmpge_ps(_mm_loadu_ps(v + j), _mm_set1_ps(32767.0f));
        __m128 hi2 = _mm_cmpge_ps(_mm_loadu_ps(v + j + 4), _mm_set1_ps(32767.0f));
        a = _mm_or_si128(_mm_andnot_si128(_mm_castps_si128(hi), a),
                         _mm_and_si128(_mm_castps_si128(hi), _mm_set1_epi32(32767)));
        b = _mm_or_si128(_mm_andnot_si128(_mm_castps_si128(hi2), b),
                         _mm_and_si128(_mm_castps_si128(hi2), _mm_set1_epi32(32767)));
        _mm_storeu_si128((__m128i*)(out + j), _mm_packs_epi32(a, b));  // saturates to -32768..32767
    }
#else
    for (int j = 0; j < 32; ++j) out[j] = clip(nearbyintf(v[j]));
#endif
}

}  // namespace

void synthesis_init(synthesis_state* s) {
    memset(s, 0, sizeof *s);
    s->stride = 1;
}

void synthesis_clear(synthesis_state* s) {
    memset(s->ring, 0, sizeof s->ring);
    s->offset = 0;
}

void synthesis_run(synthesis_state* s) {
    float in[32];
    if (s->has_equalizer) {
        for (int k = 0; k < 32; ++k) in[k] = s->input[k] * s->gains[k];
    } else {
        memcpy(in, s->input, sizeof in);
    }

    // The standard's V[i] = sum of cos((16+i)(2k+1) pi/64) S[k] in terms of
    // the DCT above: mirror images and sign changes of its 32 outputs.
    float x[32];
    dct<32>(in, x);
    s->offset = (s->offset + 15) & 15;
    float* v = s->ring[s->offset];
    for (int i = 0; i < 16; ++i) v[i] = x[16 + i];
    v[16] = 0.0f;
    for (int i = 17; i < 48; ++i) v[i] = -x[48 - i];
    for (int i = 48; i < 64; ++i) v[i] = -x[i - 48];

    // Vector of age t contributes its first half at even t and its second
    // half at odd t, against window row t; four sums at a time.
    typedef float v4 __attribute__((vector_size(16)));
    v4 sum[8] = {};
    for (int t = 0; t < 16; ++t) {
        const float* row = s->ring[(s->offset + t) & 15] + ((t & 1) ? 32 : 0);
        const float* w = window.w[t];
        for (int q = 0; q < 8; ++q) {
            v4 a, b;
            memcpy(&a, w + 4 * q, sizeof a);
            memcpy(&b, row + 4 * q, sizeof b);
            sum[q] += a * b;
        }
    }
    float sums[32];
    memcpy(sums, sum, sizeof sums);

    int16_t* out = s->output;
    if (s->shift == 0) {
        int16_t pcm[32];
        to_pcm_rounded(sums, pcm);
        if (s->stride == 1) {
            memcpy(out, pcm, sizeof pcm);
            out += 32;
        } else {
            for (int j = 0; j < 32; ++j, out += s->stride) *out = pcm[j];
        }
    } else {
        int step = 1 << s->shift;
        for (int j = 0; j < 32; j += step) {
            *out = clip(sums[j]);  // truncation toward zero
            out += s->stride;
        }
    }
    s->output = out;
}

void synthesis_silence(synthesis_state* s) {
    int n = 32 >> s->shift;
    for (int j = 0; j < n; ++j) {
        *s->output = 0;
        s->output += s->stride;
    }
}

float synthesis_gain_from_byte(signed char b) {
    if (b >= 0) return 1.0f + b / 32.0f;
    return 1.0f / (1.0f - b / 32.0f);
}

signed char synthesis_byte_from_gain(float g) {
    float b = g >= 1.0f ? (g - 1.0f) * 32.0f : (1.0f - 1.0f / g) * 32.0f;
    // Float steps such as 1/(1+1/32) may land a hair below the whole value.
    b = b >= 0 ? b + 1e-4f : b - 1e-4f;
    if (b > 127.0f) b = 127.0f;
    if (b < -128.0f) b = -128.0f;
    return (signed char)b;
}

void synthesis_set_equalizer(synthesis_state* s, const signed char* bytes) {
    if (!bytes) {
        s->has_equalizer = 0;
        return;
    }
    for (int k = 0; k < 32; ++k) s->gains[k] = synthesis_gain_from_byte(bytes[k]);
    s->has_equalizer = 1;
}

int synthesis_get_equalizer(const synthesis_state* s, signed char* bytes) {
    for (int k = 0; k < 32; ++k)
        bytes[k] = s->has_equalizer ? synthesis_byte_from_gain(s->gains[k]) : 0;
    return s->has_equalizer;
}

}  // namespace audio
