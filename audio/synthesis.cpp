// Polyphase synthesis: a fast 32-point DCT builds each new 64-value vector,
// a ring of the last 16 vectors stands in for the standard's shifting
// buffer, and each output sample is a 16-term dot product with the window.
// This file holds the state, the portable path and the choice of path; the
// vector paths are in synthesis_x86.cpp.
#include "audio/synthesis.h"

#include <math.h>
#include <string.h>

#include "audio/mpeg_tables.h"
#include "audio/simd.h"
#include "audio/synthesis_kernels.h"

namespace audio {

namespace synthesis_detail {

window_table::window_table() {
    double d[512];
    for (int i = 0; i <= 256; ++i) d[i] = synthesis_window_base[i] / 65536.0;
    for (int i = 257; i < 512; ++i) d[i] = (i % 64 == 0) ? d[512 - i] : -d[512 - i];
    for (int t = 0; t < 16; ++t)
        for (int j = 0; j < 32; ++j) w[t][j] = (float)(d[32 * t + j] * 32768.0);
}
const window_table window;

folded_window_table::folded_window_table() {
    for (int t = 0; t < 16; ++t) {
        hi[t][0] = 0.0f;
        for (int j = 1; j < 16; ++j)
            hi[t][j] = (t & 1) ? window.w[t][32 - j] : -window.w[t][32 - j];
    }
}
const folded_window_table folded_window;

namespace {
void fill_halving(float* c, int n) {
    for (int k = 0; k < n / 2; ++k)
        c[k] = (float)(1.0 / (2.0 * cos((2 * k + 1) * M_PI / (2.0 * n))));
}
}  // namespace

dct_coefficients::dct_coefficients() {
    fill_halving(c32, 32);
    fill_halving(c16, 16);
    fill_halving(c8, 8);
    fill_halving(c4, 4);
    fill_halving(c2, 2);
}
const dct_coefficients coefficients;

}  // namespace synthesis_detail

namespace {

using namespace synthesis_detail;

// Vector of age t contributes its first half at even t and its second half
// at odd t, against window row t.
void window_portable(const synthesis_state* s, float* sums) {
    for (int j = 0; j < 32; ++j) sums[j] = 0.0f;
    for (int t = 0; t < 16; ++t) {
        const float* row = s->ring[(s->offset + t) & 15] + ((t & 1) ? 32 : 0);
        const float* w = window.w[t];
        for (int j = 0; j < 32; ++j) sums[j] += w[j] * row[j];
    }
}

// Rounds to nearest (ties to even) and clips to 16 bits.
void round_portable(const float* v, int16_t* out, int stride) {
    for (int j = 0; j < 32; ++j) out[j * stride] = clip(nearbyintf(v[j]));
}

void run_slots_portable(synthesis_state* s, const float* in, int slot_step, int band_step,
                        int count) {
    for (int t = 0; t < count; ++t)
        run_batch<float, 1>(s, in + t * slot_step, slot_step, band_step, 1, stage_lanes<float, 1>,
                            unstage_lanes<float, 1>, window_portable, round_portable);
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

void synthesis_run_slots(synthesis_state* s, const float* in, int slot_step, int band_step,
                         int count) {
    if (count <= 0) return;
    switch (simd_active()) {
#if defined(__x86_64__)
        case simd_path::avx2: run_slots_avx2(s, in, slot_step, band_step, count); return;
        case simd_path::sse2: run_slots_sse2(s, in, slot_step, band_step, count); return;
#endif
        default: run_slots_portable(s, in, slot_step, band_step, count); return;
    }
}

void synthesis_run(synthesis_state* s) { synthesis_run_slots(s, s->input, 32, 1, 1); }

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
