// Small x86 vector helpers shared by the transforms' vector paths. Include
// only from files built for x86-64.
#pragma once
#include <immintrin.h>

namespace audio::simd_x86 {

typedef float v4 __attribute__((vector_size(16)));
typedef float v8 __attribute__((vector_size(32)));

// r[i][j] becomes r[j][i] for an 8 x 8 block of floats.
__attribute__((target("avx2,fma"), always_inline)) inline void transpose8(__m256* r) {
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
        r[j] = _mm256_permute2f128_ps(b[j], b[j + 4], 0x20);
        r[j + 4] = _mm256_permute2f128_ps(b[j], b[j + 4], 0x31);
    }
}

// The same for 4 x 4.
__attribute__((always_inline)) inline void transpose4(__m128* r) {
    _MM_TRANSPOSE4_PS(r[0], r[1], r[2], r[3]);
}

}  // namespace audio::simd_x86
