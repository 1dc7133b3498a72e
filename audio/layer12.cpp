// Layers I and II: allocation, scale factors and requantised subband
// samples, fed to the synthesis filter bank one time slot at a time.
#include "audio/layer12.h"

#include <math.h>
#include <string.h>

#include "audio/decoder_errors.h"
#include "audio/mpeg_tables.h"

namespace audio {

namespace {

// Scale factors 2^(1 - i/3); index 63 is not a valid factor and gives 0.
struct scale_table {
    float v[64];
    scale_table() {
        for (int i = 0; i < 63; ++i) v[i] = (float)pow(2.0, 1.0 - i / 3.0);
        v[63] = 0.0f;
    }
};
const scale_table& scales() {
    static const scale_table t;
    return t;
}

// A codeword c of a quantiser with `levels` steps stands for
// (2c - (levels - 1)) / levels.
inline float requantise(int c, int levels) { return (float)(2 * c - (levels - 1)) / (float)levels; }

// Grouped classes (3, 5, 9 levels): three values per codeword, looked up.
struct grouped_table {
    float v3[27][3], v5[125][3], v9[729][3];
    grouped_table() {
        fill(&v3[0][0], 3);
        fill(&v5[0][0], 5);
        fill(&v9[0][0], 9);
    }
    static void fill(float* out, int levels) {
        int n = levels * levels * levels;
        for (int c = 0; c < n; ++c) {
            int v = c;
            for (int i = 0; i < 3; ++i) {
                out[3 * c + i] = requantise(v % levels, levels);
                v /= levels;
            }
        }
    }
};
const grouped_table& grouped() {
    static const grouped_table t;
    return t;
}

int bound_of(const frame_header* h, int sblimit) {
    if (h->channels == 1) return 0;
    if (h->mode == 1) return 4 * (h->mode_extension + 1);
    return sblimit;
}

// Feeds count time slots, samples[slot][ch][32], to the output states, all
// at once so the synthesis can transform several side by side.
void synthesise_slots(float (*samples)[2][32], int count, const int used[2][32], int channels,
                      synthesis_state* left, synthesis_state* right) {
    if (channels == 1) {
        synthesis_run_slots(left, samples[0][0], 64, 1, count);
        return;
    }
    if (left && left == right) {
        for (int i = 0; i < count; ++i)
            for (int s = 0; s < 32; ++s) {
                float a = used[0][s] ? samples[i][0][s] : 0.0f;
                float b = used[1][s] ? samples[i][1][s] : 0.0f;
                samples[i][0][s] = (a + b) * 0.5f;
            }
        synthesis_run_slots(left, samples[0][0], 64, 1, count);
        return;
    }
    if (left) synthesis_run_slots(left, samples[0][0], 64, 1, count);
    if (right) synthesis_run_slots(right, samples[0][1], 64, 1, count);
}

int used_subbands(const synthesis_state* left, const synthesis_state* right) {
    const synthesis_state* s = left ? left : right;
    return 32 >> (s ? s->shift : 0);
}

}  // namespace

int layer1_decode(bit_reader* r, const frame_header* h, synthesis_state* left,
                  synthesis_state* right) {
    int channels = h->channels;
    int bound = h->mode == 1 ? 4 * (h->mode_extension + 1) : 32;
    if (channels == 1) bound = 32;
    int alloc[2][32] = {};
    int scale[2][32] = {};

    for (int sb = 0; sb < 32; ++sb) {
        if (sb < bound) {
            for (int ch = 0; ch < channels; ++ch) alloc[ch][sb] = bits_get(r, 4);
        } else {
            alloc[0][sb] = alloc[1][sb] = bits_get(r, 4);
        }
        if (alloc[0][sb] == 15 || alloc[1][sb] == 15) return decoder_error_invalid_frame;
    }
    for (int sb = 0; sb < 32; ++sb)
        for (int ch = 0; ch < channels; ++ch)
            if (alloc[ch][sb]) {
                scale[ch][sb] = bits_get(r, 6);
                if (scale[ch][sb] == 63) return decoder_error_invalid_frame;
            }

    // A codeword c of n + 1 bits gives (c - offset) x (2 / levels) x scale
    // factor, levels = 2^(n+1) - 1: one factor per subband and channel.
    const float* sf = scales().v;
    float factor[2][32] = {};
    for (int sb = 0; sb < 32; ++sb)
        for (int ch = 0; ch < channels; ++ch)
            if (alloc[ch][sb]) {
                int levels = (1 << (alloc[ch][sb] + 1)) - 1;
                factor[ch][sb] = 2.0f / levels * sf[scale[ch][sb]];
            }
    int used = used_subbands(left, right);
    float slots[12][2][32];
    memset(slots, 0, sizeof slots);
    for (int slot = 0; slot < 12; ++slot) {
        float(*samples)[32] = slots[slot];
        for (int sb = 0; sb < 32; ++sb) {
            if (sb < bound) {
                for (int ch = 0; ch < channels; ++ch) {
                    int n = alloc[ch][sb];
                    if (!n) continue;
                    float c = (float)bits_get(r, n + 1) - ((1 << (n + 1)) - 2) * 0.5f;
                    samples[ch][sb] = c * factor[ch][sb];
                }
            } else if (alloc[0][sb]) {
                int n = alloc[0][sb];
                float c = (float)bits_get(r, n + 1) - ((1 << (n + 1)) - 2) * 0.5f;
                samples[0][sb] = c * factor[0][sb];
                samples[1][sb] = c * factor[1][sb];
            }
        }
        for (int sb = used; sb < 32; ++sb) samples[0][sb] = samples[1][sb] = 0.0f;
    }
    synthesise_slots(slots, 12, alloc, channels, left, right);
    return 0;
}

int layer2_decode(bit_reader* r, const frame_header* h, synthesis_state* left,
                  synthesis_state* right) {
    int channels = h->channels;
    int table;
    if (h->version != 1) {
        table = 4;
    } else {
        int i = h->bitrate_index;
        if (channels == 2) i = i == 4 ? 1 : i - 4;
        // i selects the table by bit rate per channel (see the table header).
        if (i < 1) i = 1;
        bool low = i <= 2;
        if (h->sampling_frequency == 1)
            table = low ? 2 : 0;  // 48 kHz
        else if (h->sampling_frequency == 0)
            table = low ? 2 : (i <= 5 ? 0 : 1);  // 44.1 kHz
        else
            table = low ? 3 : (i <= 5 ? 0 : 1);  // 32 kHz
    }
    const layer2_table& t = layer2_tables[table];
    int sblimit = t.sblimit;
    int bound = channels == 1 ? sblimit : bound_of(h, sblimit);
    if (channels == 2 && h->mode == 1 && bound > sblimit) return decoder_error_invalid_frame;
    if (bound > sblimit) bound = sblimit;

    int alloc[2][32] = {};
    int scfsi[2][32] = {};
    int scale[2][32][3] = {};
    for (int sb = 0; sb < sblimit; ++sb) {
        int nbal = t.subbands[sb].nbal;
        if (sb < bound) {
            for (int ch = 0; ch < channels; ++ch) alloc[ch][sb] = bits_get(r, nbal);
        } else {
            alloc[0][sb] = alloc[1][sb] = bits_get(r, nbal);
        }
    }
    for (int sb = 0; sb < sblimit; ++sb)
        for (int ch = 0; ch < channels; ++ch)
            if (alloc[ch][sb]) scfsi[ch][sb] = bits_get(r, 2);
    for (int sb = 0; sb < sblimit; ++sb)
        for (int ch = 0; ch < channels; ++ch) {
            if (!alloc[ch][sb]) continue;
            int* s = scale[ch][sb];
            switch (scfsi[ch][sb]) {
                case 0:
                    s[0] = bits_get(r, 6);
                    s[1] = bits_get(r, 6);
                    s[2] = bits_get(r, 6);
                    break;
                case 1:
                    s[0] = s[1] = bits_get(r, 6);
                    s[2] = bits_get(r, 6);
                    break;
                case 2: s[0] = s[1] = s[2] = bits_get(r, 6); break;
                default: s[0] = bits_get(r, 6); s[1] = s[2] = bits_get(r, 6);
            }
        }

    // Per subband and channel: the class's codeword width and, for grouped
    // classes, the lookup table; ungrouped codewords c give
    // (c - offset) x step with step = 2 / levels.
    struct quantiser {
        int bits;
        const float* grouped;  // three values per codeword, or null
        int codewords;         // valid grouped codewords
        float offset, step;
    };
    const float* sf = scales().v;
    const grouped_table& gt = grouped();
    quantiser q[2][32] = {};
    for (int sb = 0; sb < sblimit; ++sb)
        for (int ch = 0; ch < channels; ++ch) {
            int a = alloc[ch][sb];
            if (!a) continue;
            int levels = layer2_class_rows[t.subbands[sb].first_class][a - 1];
            quantiser& z = q[ch][sb];
            if (levels == 3)
                z = {5, &gt.v3[0][0], 27, 0, 0};
            else if (levels == 5)
                z = {7, &gt.v5[0][0], 125, 0, 0};
            else if (levels == 9)
                z = {10, &gt.v9[0][0], 729, 0, 0};
            else {
                int bitsn = 0;
                while ((1 << bitsn) < levels + 1) ++bitsn;
                z = {bitsn, nullptr, 0, (levels - 1) * 0.5f, 2.0f / levels};
            }
        }

    int used = used_subbands(left, right);
    float slots[36][2][32];
    memset(slots, 0, sizeof slots);
    for (int gr = 0; gr < 12; ++gr) {
        int part = gr / 4;
        float(*samples)[2][32] = slots + 3 * gr;
        for (int sb = 0; sb < sblimit; ++sb) {
            int nch = sb < bound ? channels : 1;
            for (int ch = 0; ch < nch; ++ch) {
                if (!alloc[ch][sb]) continue;
                const quantiser& z = q[ch][sb];
                float v[3];
                if (z.grouped) {
                    int c = (int)bits_get(r, z.bits);
                    if (c >= z.codewords) c = z.codewords - 1;  // codes past the table: clamp
                    const float* g = z.grouped + 3 * c;
                    v[0] = g[0];
                    v[1] = g[1];
                    v[2] = g[2];
                } else {
                    for (int i = 0; i < 3; ++i)
                        v[i] = ((float)bits_get(r, z.bits) - z.offset) * z.step;
                }
                if (sb < bound) {
                    float f = sf[scale[ch][sb][part]];
                    for (int i = 0; i < 3; ++i) samples[i][ch][sb] = v[i] * f;
                } else {
                    float f0 = sf[scale[0][sb][part]], f1 = sf[scale[1][sb][part]];
                    for (int i = 0; i < 3; ++i) {
                        samples[i][0][sb] = v[i] * f0;
                        samples[i][1][sb] = v[i] * f1;
                    }
                }
            }
        }
        for (int i = 0; i < 3; ++i)
            for (int sb = used; sb < 32; ++sb) samples[i][0][sb] = samples[i][1][sb] = 0.0f;
    }
    synthesise_slots(slots, 36, alloc, channels, left, right);
    return 0;
}

}  // namespace audio
