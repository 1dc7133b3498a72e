// The synthesis filter bank's x86 paths: four slots side by side through the
// DCT with SSE2, eight with AVX2; the windowing with SSE2 adds or AVX2 fused
// multiply-adds; the 16-bit conversion with vector rounding and saturation.
// The AVX2 functions carry their own target attribute, so the build needs
// no processor flag and the path is chosen at run time.
#if defined(__x86_64__)
#include <immintrin.h>

#include "audio/simd_x86.h"
#include "audio/synthesis_kernels.h"

namespace audio::synthesis_detail {

namespace {

using namespace simd_x86;

// Rounds to nearest (ties to even, the default rounding mode), clips, and
// writes at the stride. Interleaved stereo keeps the other channel's samples
// by merging whole pairs, instead of 32 single stores.
TINTO_INLINE void round_sse2(const float* v, int16_t* out, int stride) {
    const __m128 top = _mm_set1_ps(32767.0f);
    alignas(16) int16_t pcm[32];
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
        __m128i packed = _mm_packs_epi32(a, b);
        if (stride == 1)
            _mm_storeu_si128((__m128i*)(out + j), packed);
        else
            _mm_store_si128((__m128i*)(pcm + j), packed);
    }
    if (stride == 1) return;
    if (stride == 2) {
        // Samples 0..27 as 7 blocks of 4 pairs, each pair's other half kept;
        // the last 4 alone, so nothing past this slot's last sample is touched.
        const __m128i keep = _mm_set1_epi32((int)0xFFFF0000u);
        for (int q = 0; q < 7; ++q) {
            __m128i* at = (__m128i*)(out + 8 * q);
            __m128i ours = _mm_unpacklo_epi16(_mm_loadl_epi64((const __m128i*)(pcm + 4 * q)),
                                              _mm_setzero_si128());
            _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(_mm_loadu_si128(at), keep), ours));
        }
        for (int j = 28; j < 32; ++j) out[2 * j] = pcm[j];
        return;
    }
    for (int j = 0; j < 32; ++j) out[j * stride] = pcm[j];
}

// Slots side by side: four rows of four subbands transposed at a time.
TINTO_INLINE void stage_sse2(const float* in, int slot_step, int band_step, int count, v4* x) {
    if (slot_step == 1 && (count == 4 || count == 2)) {
        // A subband's slots lie side by side (Layer III): plain loads.
        for (int k = 0; k < 32; ++k) {
            const float* p = in + k * band_step;
            x[k] =
                (v4)(count == 4 ? _mm_loadu_ps(p) : _mm_castpd_ps(_mm_load_sd((const double*)p)));
        }
        return;
    }
    if (band_step != 1) return stage_lanes<v4, 4>(in, slot_step, band_step, count, x);
    for (int k = 0; k < 32; k += 4) {
        __m128 r[4];
        for (int t = 0; t < 4; ++t)
            r[t] = t < count ? _mm_loadu_ps(in + t * slot_step + k) : _mm_setzero_ps();
        transpose4(r);
        for (int j = 0; j < 4; ++j) x[k + j] = (v4)r[j];
    }
}

// Back to rows: the transposes above in reverse.
TINTO_INLINE void unstage_sse2(const v4* y, float (*z)[40]) {
    for (int k = 0; k < 32; k += 4) {
        __m128 r[4];
        for (int j = 0; j < 4; ++j) r[j] = (__m128)y[k + j];
        transpose4(r);
        for (int t = 0; t < 4; ++t) _mm_store_ps(z[t] + k, r[t]);
    }
    for (int t = 0; t < 4; ++t) {
        _mm_store_ps(z[t] + 32, _mm_setzero_ps());
        _mm_store_ps(z[t] + 36, _mm_setzero_ps());
    }
}

__attribute__((target("avx2,fma"))) TINTO_INLINE void unstage_avx2(const v8* y, float (*z)[40]) {
    for (int k = 0; k < 32; k += 8) {
        __m256 r[8];
        for (int j = 0; j < 8; ++j) r[j] = (__m256)y[k + j];
        transpose8(r);
        for (int t = 0; t < 8; ++t) _mm256_store_ps(z[t] + k, r[t]);
    }
    for (int t = 0; t < 8; ++t) _mm256_store_ps(z[t] + 32, _mm256_setzero_ps());
}

// Eight rows of eight subbands transposed at a time.
__attribute__((target("avx2,fma"))) TINTO_INLINE void stage_avx2(const float* in, int slot_step,
                                                                 int band_step, int count, v8* x) {
    if (slot_step == 1 && count == 8) {
        for (int k = 0; k < 32; ++k) x[k] = (v8)_mm256_loadu_ps(in + k * band_step);
        return;
    }
    if (band_step != 1) return stage_lanes<v8, 8>(in, slot_step, band_step, count, x);
    for (int k = 0; k < 32; k += 8) {
        __m256 r[8];
        for (int t = 0; t < 8; ++t)
            r[t] = t < count ? _mm256_loadu_ps(in + t * slot_step + k) : _mm256_setzero_ps();
        transpose8(r);
        for (int j = 0; j < 8; ++j) x[k + j] = (v8)r[j];
    }
}

TINTO_INLINE void window_sse2(const synthesis_state* s, float* sums) {
    __m128 acc[8];
    for (int q = 0; q < 8; ++q) acc[q] = _mm_setzero_ps();
#pragma GCC unroll 16
    for (int t = 0; t < 16; ++t) {
        const float* row = s->ring[(s->offset + t) & 15] + ((t & 1) ? 32 : 0);
        const float* w = window.w[t];
        for (int q = 0; q < 8; ++q)
            acc[q] =
                _mm_add_ps(acc[q], _mm_mul_ps(_mm_load_ps(w + 4 * q), _mm_loadu_ps(row + 4 * q)));
    }
    for (int q = 0; q < 8; ++q) _mm_store_ps(sums + 4 * q, acc[q]);
}

// Sums j and 32 - j share their ring values, so each row loads 16 of them
// instead of 32; the bit pattern of every sum is that of the plain form
// (the folded window only moves signs).
__attribute__((target("avx2,fma"))) TINTO_INLINE void window_avx2(const synthesis_state* s,
                                                                  float* sums) {
    __m256 lo0 = _mm256_setzero_ps(), lo1 = _mm256_setzero_ps();
    __m256 hi0 = _mm256_setzero_ps(), hi1 = _mm256_setzero_ps();
    float mid = 0.0f;
#pragma GCC unroll 16
    for (int t = 0; t < 16; ++t) {
        const float* row = s->ring[(s->offset + t) & 15] + ((t & 1) ? 32 : 0);
        const float* w = window.w[t];
        const float* f = folded_window.hi[t];
        __m256 d0 = _mm256_loadu_ps(row), d1 = _mm256_loadu_ps(row + 8);
        lo0 = _mm256_fmadd_ps(_mm256_load_ps(w), d0, lo0);
        lo1 = _mm256_fmadd_ps(_mm256_load_ps(w + 8), d1, lo1);
        hi0 = _mm256_fmadd_ps(_mm256_load_ps(f), d0, hi0);
        hi1 = _mm256_fmadd_ps(_mm256_load_ps(f + 8), d1, hi1);
        // Sum 16 reads zero in the first half of a vector.
        if (t & 1) mid = __builtin_fmaf(w[16], row[16], mid);
    }
    _mm256_store_ps(sums, lo0);
    _mm256_store_ps(sums + 8, lo1);
    alignas(32) float folded[16];
    _mm256_store_ps(folded, hi0);
    _mm256_store_ps(folded + 8, hi1);
    sums[16] = mid;
    for (int j = 1; j < 16; ++j) sums[32 - j] = folded[j];
}

}  // namespace

void run_slots_sse2(synthesis_state* s, const float* in, int slot_step, int band_step, int count) {
    auto window_fn = [](const synthesis_state* st, float* sums) { window_sse2(st, sums); };
    auto round_fn = [](const float* v, int16_t* out, int stride) { round_sse2(v, out, stride); };
    for (int t = 0; t < count; t += 4) {
        int n = count - t < 4 ? count - t : 4;
        run_batch<v4, 4>(s, in + t * slot_step, slot_step, band_step, n, stage_sse2, unstage_sse2,
                         window_fn, round_fn);
    }
}

__attribute__((target("avx2,fma"))) void run_slots_avx2(synthesis_state* s, const float* in,
                                                        int slot_step, int band_step, int count) {
    auto window_fn =
        [](const synthesis_state* st, float* sums) __attribute__((target("avx2,fma"))) {
        window_avx2(st, sums);
    };
    auto round_fn =
        [](const float* v, int16_t* out, int stride) __attribute__((target("avx2,fma"))) {
        round_sse2(v, out, stride);
    };
    auto stage8 = [](const float* in8, int slot8, int band8, int n8, v8* x)
        __attribute__((target("avx2,fma"))) {
        stage_avx2(in8, slot8, band8, n8, x);
    };
    auto stage4 = [](const float* in4, int slot4, int band4, int n4, v4* x)
        __attribute__((target("avx2,fma"))) {
        stage_sse2(in4, slot4, band4, n4, x);
    };
    auto unstage8 = [](const v8* y, float(*z)[40]) __attribute__((target("avx2,fma"))) {
        unstage_avx2(y, z);
    };
    auto unstage4 = [](const v4* y, float(*z)[40]) __attribute__((target("avx2,fma"))) {
        unstage_sse2(y, z);
    };
    for (int t = 0; t < count;) {
        // Short batches (Layer I and II slots, the tail of a granule) go
        // four wide: the idle lanes of an eight-wide DCT would cost as much.
        int left = count - t;
        if (left > 4) {
            int n = left < 8 ? left : 8;
            run_batch<v8, 8>(s, in + t * slot_step, slot_step, band_step, n, stage8, unstage8,
                             window_fn, round_fn);
            t += n;
        } else {
            run_batch<v4, 4>(s, in + t * slot_step, slot_step, band_step, left, stage4, unstage4,
                             window_fn, round_fn);
            t += left;
        }
    }
}

}  // namespace audio::synthesis_detail
#endif
