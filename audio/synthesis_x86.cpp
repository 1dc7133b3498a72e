// The synthesis filter bank's x86 paths: four slots side by side through the
// DCT with SSE2, eight with AVX2; the windowing with SSE2 adds or AVX2 fused
// multiply-adds; the 16-bit conversion with vector rounding and saturation.
// The AVX2 functions carry their own target attribute, so the build needs
// no processor flag and the path is chosen at run time.
#if defined(__x86_64__)
#include <immintrin.h>

#include "audio/synthesis_kernels.h"

namespace audio::synthesis_detail {

namespace {

typedef float v4 __attribute__((vector_size(16)));
typedef float v8 __attribute__((vector_size(32)));

// Rounds to nearest (ties to even, the default rounding mode) and clips.
TINTO_INLINE void round_sse2(const float* v, int16_t* out) {
    const __m128 top = _mm_set1_ps(32767.0f);
    for (int j = 0; j < 32; j += 8) {
        __m128 fa = _mm_load_ps(v + j), fb = _mm_load_ps(v + j + 4);
        __m128i a = _mm_cvtps_epi32(fa);
        __m128i b = _mm_cvtps_epi32(fb);
        // Floats too large convert to INT_MIN; those must clip high. Too
        // small ones and NaN stay INT_MIN and saturate low.
        __m128i hi_a = _mm_castps_si128(_mm_cmpge_ps(fa, top));
        __m128i hi_b = _mm_castps_si128(_mm_cmpge_ps(fb, top));
        a = _mm_or_si128(_mm_andnot_si128(hi_a, a), _mm_and_si128(hi_a, _mm_set1_epi32(32767)));
        b = _mm_or_si128(_mm_andnot_si128(hi_b, b), _mm_and_si128(hi_b, _mm_set1_epi32(32767)));
        _mm_storeu_si128((__m128i*)(out + j), _mm_packs_epi32(a, b));
    }
}

// Slots side by side: four rows of four subbands transposed at a time.
TINTO_INLINE void stage_sse2(const float* in, int slot_step, int band_step, int count, v4* x) {
    if (band_step != 1) return stage_lanes<v4, 4>(in, slot_step, band_step, count, x);
    for (int k = 0; k < 32; k += 4) {
        __m128 r[4];
        for (int t = 0; t < 4; ++t)
            r[t] = t < count ? _mm_loadu_ps(in + t * slot_step + k) : _mm_setzero_ps();
        _MM_TRANSPOSE4_PS(r[0], r[1], r[2], r[3]);
        for (int j = 0; j < 4; ++j) x[k + j] = (v4)r[j];
    }
}

// Eight rows of eight subbands transposed at a time.
__attribute__((target("avx2,fma"))) TINTO_INLINE void stage_avx2(const float* in, int slot_step,
                                                                 int band_step, int count, v8* x) {
    if (band_step != 1) return stage_lanes<v8, 8>(in, slot_step, band_step, count, x);
    for (int k = 0; k < 32; k += 8) {
        __m256 r[8];
        for (int t = 0; t < 8; ++t)
            r[t] = t < count ? _mm256_loadu_ps(in + t * slot_step + k) : _mm256_setzero_ps();
        __m256 a[8], b[8];
        for (int t = 0; t < 8; t += 2) {
            a[t] = _mm256_unpacklo_ps(r[t], r[t + 1]);
            a[t + 1] = _mm256_unpackhi_ps(r[t], r[t + 1]);
        }
        for (int t = 0; t < 8; t += 4) {
            b[t] = _mm256_shuffle_ps(a[t], a[t + 2], _MM_SHUFFLE(1, 0, 1, 0));
            b[t + 1] = _mm256_shuffle_ps(a[t], a[t + 2], _MM_SHUFFLE(3, 2, 3, 2));
            b[t + 2] = _mm256_shuffle_ps(a[t + 1], a[t + 3], _MM_SHUFFLE(1, 0, 1, 0));
            b[t + 3] = _mm256_shuffle_ps(a[t + 1], a[t + 3], _MM_SHUFFLE(3, 2, 3, 2));
        }
        for (int j = 0; j < 4; ++j) {
            x[k + j] = (v8)_mm256_permute2f128_ps(b[j], b[j + 4], 0x20);
            x[k + j + 4] = (v8)_mm256_permute2f128_ps(b[j], b[j + 4], 0x31);
        }
    }
}

TINTO_INLINE void window_sse2(const synthesis_state* s, float* sums) {
    __m128 acc[8];
    for (int q = 0; q < 8; ++q) acc[q] = _mm_setzero_ps();
    for (int t = 0; t < 16; ++t) {
        const float* row = s->ring[(s->offset + t) & 15] + ((t & 1) ? 32 : 0);
        const float* w = window.w[t];
        for (int q = 0; q < 8; ++q)
            acc[q] = _mm_add_ps(acc[q], _mm_mul_ps(_mm_load_ps(w + 4 * q), _mm_loadu_ps(row + 4 * q)));
    }
    for (int q = 0; q < 8; ++q) _mm_store_ps(sums + 4 * q, acc[q]);
}

__attribute__((target("avx2,fma"))) TINTO_INLINE void window_avx2(const synthesis_state* s,
                                                                  float* sums) {
    __m256 acc[4];
    for (int q = 0; q < 4; ++q) acc[q] = _mm256_setzero_ps();
    for (int t = 0; t < 16; ++t) {
        const float* row = s->ring[(s->offset + t) & 15] + ((t & 1) ? 32 : 0);
        const float* w = window.w[t];
        for (int q = 0; q < 4; ++q)
            acc[q] = _mm256_fmadd_ps(_mm256_load_ps(w + 8 * q), _mm256_loadu_ps(row + 8 * q), acc[q]);
    }
    for (int q = 0; q < 4; ++q) _mm256_store_ps(sums + 8 * q, acc[q]);
}

}  // namespace

void run_slots_sse2(synthesis_state* s, const float* in, int slot_step, int band_step, int count) {
    auto window_fn = [](const synthesis_state* st, float* sums) { window_sse2(st, sums); };
    auto round_fn = [](const float* v, int16_t* out) { round_sse2(v, out); };
    for (int t = 0; t < count; t += 4) {
        int n = count - t < 4 ? count - t : 4;
        run_batch<v4, 4>(s, in + t * slot_step, slot_step, band_step, n, stage_sse2, window_fn,
                         round_fn);
    }
}

__attribute__((target("avx2,fma"))) void run_slots_avx2(synthesis_state* s, const float* in,
                                                        int slot_step, int band_step, int count) {
    auto window_fn = [](const synthesis_state* st, float* sums)
                         __attribute__((target("avx2,fma"))) { window_avx2(st, sums); };
    auto round_fn = [](const float* v, int16_t* out)
                        __attribute__((target("avx2,fma"))) { round_sse2(v, out); };
    auto stage8 = [](const float* in8, int slot8, int band8, int n8, v8* x)
                      __attribute__((target("avx2,fma"))) { stage_avx2(in8, slot8, band8, n8, x); };
    auto stage4 = [](const float* in4, int slot4, int band4, int n4, v4* x)
                      __attribute__((target("avx2,fma"))) { stage_sse2(in4, slot4, band4, n4, x); };
    for (int t = 0; t < count;) {
        // Short batches (Layer I and II slots, the tail of a granule) go
        // four wide: the idle lanes of an eight-wide DCT would cost as much.
        int left = count - t;
        if (left > 4) {
            int n = left < 8 ? left : 8;
            run_batch<v8, 8>(s, in + t * slot_step, slot_step, band_step, n, stage8, window_fn,
                             round_fn);
            t += n;
        } else {
            run_batch<v4, 4>(s, in + t * slot_step, slot_step, band_step, left, stage4, window_fn,
                             round_fn);
            t += left;
        }
    }
}

}  // namespace audio::synthesis_detail
#endif
