// The long-block IMDCT's x86 paths: four (SSE2) or eight (AVX2) subbands
// side by side through the 18-point DCT-IV, moved into and out of lanes by
// transposes. AVX2 code carries its own target attribute.
#if defined(__x86_64__)
#include <string.h>

#include "audio/layer3_imdct_kernels.h"
#include "audio/simd_x86.h"

namespace audio::imdct_detail {

using namespace simd_x86;

void dct4_many_sse2(const float* in, int count, float (*y)[18]) {
    for (int sb = 0; sb < count; sb += 4) {
        int n = count - sb < 4 ? count - sb : 4;
        const float* rows = in + 18 * sb;
        v4 x[18];
        for (int k = 0; k < 16; k += 4) {
            __m128 r[4];
            for (int t = 0; t < 4; ++t)
                r[t] = t < n ? _mm_loadu_ps(rows + 18 * t + k) : _mm_setzero_ps();
            transpose4(r);
            for (int j = 0; j < 4; ++j) x[k + j] = (v4)r[j];
        }
        for (int k = 16; k < 18; ++k) {
            float lane[4];
            for (int t = 0; t < 4; ++t) lane[t] = t < n ? rows[18 * t + k] : 0.0f;
            x[k] = (v4)_mm_setr_ps(lane[0], lane[1], lane[2], lane[3]);
        }
        v4 out[18];
        dct4_18(x, out);
        for (int k = 0; k < 16; k += 4) {
            __m128 r[4];
            for (int j = 0; j < 4; ++j) r[j] = (__m128)out[k + j];
            transpose4(r);
            for (int t = 0; t < n; ++t) _mm_storeu_ps(y[sb + t] + k, r[t]);
        }
        for (int k = 16; k < 18; ++k)
            for (int t = 0; t < n; ++t) y[sb + t][k] = out[k][t];
    }
}

__attribute__((target("avx2,fma"))) void dct4_many_avx2(const float* in, int count,
                                                        float (*y)[18]) {
    for (int sb = 0; sb < count;) {
        int n = count - sb;
        if (n <= 4) {
            // A short tail goes four wide: idle lanes cost as much as busy ones.
            dct4_many_sse2(in + 18 * sb, n, y + sb);
            return;
        }
        if (n > 8) n = 8;
        const float* rows = in + 18 * sb;
        v8 x[18];
        for (int k = 0; k < 16; k += 8) {
            __m256 r[8];
            for (int t = 0; t < 8; ++t)
                r[t] = t < n ? _mm256_loadu_ps(rows + 18 * t + k) : _mm256_setzero_ps();
            transpose8(r);
            for (int j = 0; j < 8; ++j) x[k + j] = (v8)r[j];
        }
        for (int k = 16; k < 18; ++k) {
            float lane[8];
            for (int t = 0; t < 8; ++t) lane[t] = t < n ? rows[18 * t + k] : 0.0f;
            x[k] = (v8)_mm256_setr_ps(lane[0], lane[1], lane[2], lane[3], lane[4], lane[5], lane[6],
                                      lane[7]);
        }
        v8 out[18];
        dct4_18(x, out);
        for (int k = 0; k < 16; k += 8) {
            __m256 r[8];
            for (int j = 0; j < 8; ++j) r[j] = (__m256)out[k + j];
            transpose8(r);
            for (int t = 0; t < n; ++t) _mm256_storeu_ps(y[sb + t] + k, r[t]);
        }
        for (int k = 16; k < 18; ++k)
            for (int t = 0; t < n; ++t) y[sb + t][k] = out[k][t];
        sb += n;
    }
}

}  // namespace audio::imdct_detail
#endif
