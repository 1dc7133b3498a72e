// Layer III decoding of one frame down to subband samples.
#include "audio/layer3.h"

#include <math.h>
#include <string.h>

#include "audio/decoder_errors.h"
#include "audio/layer3_huffman.h"
#include "audio/layer3_imdct.h"
#include "audio/layer3_stereo.h"
#include "audio/mpeg_tables.h"
#include "audio/simd.h"

namespace audio {

namespace {

struct granule_channel {
    int part2_3_length;
    int big_values;
    int global_gain;
    int scalefac_compress;
    int window_switching;
    int block_type;
    int mixed;
    int table_select[3];
    int subblock_gain[3];
    int region0_count;
    int region1_count;
    int preflag;
    int scalefac_scale;
    int count1_table;
    int region1_start;
    int region2_start;
};

struct side_info {
    int main_data_begin;
    int scfsi[2];
    granule_channel gr[2][2];
};

// |v|^(4/3) for every magnitude big values can code (15 + 13 linbits).
struct power_table {
    float v[8207];
    power_table() {
        for (int i = 0; i < 8207; ++i) v[i] = (float)pow((double)i, 4.0 / 3.0);
    }
};
const power_table& powers() {
    static const power_table t;
    return t;
}

int band_table_index(const frame_header* h) {
    int base = h->version == 1 ? 0 : h->version == 0 ? 3 : 6;
    return base + h->sampling_frequency;
}

int read_side_info(bit_reader* r, const frame_header* h, side_info* si) {
    int channels = h->channels;
    bool mpeg1 = h->version == 1;
    int granules = mpeg1 ? 2 : 1;
    memset(si, 0, sizeof *si);
    if (mpeg1) {
        si->main_data_begin = bits_get(r, 9);
        bits_get(r, channels == 1 ? 5 : 3);
        for (int ch = 0; ch < channels; ++ch) si->scfsi[ch] = bits_get(r, 4);
    } else {
        si->main_data_begin = bits_get(r, 8);
        bits_get(r, channels == 1 ? 1 : 2);
    }
    const int16_t* long_bands = layer3_long_bands[band_table_index(h)];
    const int16_t* short_bands = layer3_short_bands[band_table_index(h)];
    for (int gr = 0; gr < granules; ++gr) {
        for (int ch = 0; ch < channels; ++ch) {
            granule_channel* g = &si->gr[gr][ch];
            g->part2_3_length = bits_get(r, 12);
            g->big_values = bits_get(r, 9);
            g->global_gain = bits_get(r, 8);
            g->scalefac_compress = bits_get(r, mpeg1 ? 4 : 9);
            g->window_switching = bits_get(r, 1);
            if (g->window_switching) {
                g->block_type = bits_get(r, 2);
                g->mixed = bits_get(r, 1);
                g->table_select[0] = bits_get(r, 5);
                g->table_select[1] = bits_get(r, 5);
                for (int w = 0; w < 3; ++w) g->subblock_gain[w] = bits_get(r, 3);
                if (g->block_type == 0) return decoder_error_invalid_frame;
                // Region 1 starts at the fourth short band boundary for short
                // blocks (line 36, or 72 at 8000 Hz), else at the ninth long one.
                g->region1_start = g->block_type == 2 ? 3 * short_bands[3] : long_bands[8];
                g->region2_start = 576;
            } else {
                for (int i = 0; i < 3; ++i) g->table_select[i] = bits_get(r, 5);
                g->region0_count = bits_get(r, 4);
                g->region1_count = bits_get(r, 3);
                int r1 = g->region0_count + 1;
                int r2 = g->region0_count + g->region1_count + 2;
                g->region1_start = long_bands[r1 > 22 ? 22 : r1];
                g->region2_start = long_bands[r2 > 22 ? 22 : r2];
            }
            if (mpeg1) g->preflag = bits_get(r, 1);
            g->scalefac_scale = bits_get(r, 1);
            g->count1_table = bits_get(r, 1);
            if (g->big_values > 288) return decoder_error_invalid_frame;
        }
    }
    return 0;
}

// MPEG-1 scale factors; returns the bits read (part2_length).
int read_layer3_scale_factors_mpeg1(bit_reader* r, const granule_channel* g, int scfsi, int gr,
                                    layer3_scale_factors* sf) {
    int slen1 = layer3_slen[0][g->scalefac_compress];
    int slen2 = layer3_slen[1][g->scalefac_compress];
    size_t start = r->pos;
    if (g->window_switching && g->block_type == 2) {
        int sfb = 0;
        if (g->mixed) {
            for (; sfb < 8; ++sfb) sf->l[sfb] = bits_get(r, slen1);
            sfb = 3;
        }
        for (; sfb < 12; ++sfb) {
            int n = sfb < 6 ? slen1 : slen2;
            for (int w = 0; w < 3; ++w) sf->s[sfb][w] = bits_get(r, n);
        }
        for (int w = 0; w < 3; ++w) sf->s[12][w] = 0;
    } else {
        static const int group_start[5] = {0, 6, 11, 16, 21};
        for (int grp = 0; grp < 4; ++grp) {
            int n = grp < 2 ? slen1 : slen2;
            if (gr == 1 && (scfsi & (8 >> grp))) continue;  // kept from granule 0
            for (int sfb = group_start[grp]; sfb < group_start[grp + 1]; ++sfb)
                sf->l[sfb] = bits_get(r, n);
        }
        sf->l[21] = 0;
    }
    for (int i = 0; i < 21; ++i) sf->l_max[i] = 7;
    for (int i = 0; i < 12; ++i) sf->s_max[i] = 7;
    return (int)(r->pos - start);
}

// MPEG-2 and 2.5 scale factors; right_intensity selects the intensity
// variant of the length coding.
int read_layer3_scale_factors_mpeg2(bit_reader* r, granule_channel* g, bool right_intensity,
                                    layer3_scale_factors* sf) {
    int slen[4] = {0, 0, 0, 0};
    int table;
    int sfc = g->scalefac_compress;
    g->preflag = 0;
    if (!right_intensity) {
        if (sfc < 400) {
            slen[0] = (sfc >> 4) / 5;
            slen[1] = (sfc >> 4) % 5;
            slen[2] = (sfc % 16) >> 2;
            slen[3] = sfc % 4;
            table = 0;
        } else if (sfc < 500) {
            int s = sfc - 400;
            slen[0] = (s >> 2) / 5;
            slen[1] = (s >> 2) % 5;
            slen[2] = s % 4;
            table = 1;
        } else {
            int s = sfc - 500;
            slen[0] = s / 3;
            slen[1] = s % 3;
            g->preflag = 1;
            table = 2;
        }
        sf->intensity_scale = 0;
    } else {
        int s = sfc >> 1;
        sf->intensity_scale = sfc & 1;
        if (s < 180) {
            slen[0] = s / 36;
            slen[1] = (s % 36) / 6;
            slen[2] = (s % 36) % 6;
            table = 3;
        } else if (s < 244) {
            s -= 180;
            slen[0] = (s % 64) >> 4;
            slen[1] = (s % 16) >> 2;
            slen[2] = s % 4;
            table = 4;
        } else {
            s -= 244;
            if (s > 11) s = 11;
            slen[0] = s / 3;
            slen[1] = s % 3;
            table = 5;
        }
    }
    int kind = (g->window_switching && g->block_type == 2) ? (g->mixed ? 2 : 1) : 0;
    const uint8_t* parts = layer3_partitions[table][kind];

    // Values in transmission order, with the length each was read with.
    int values[54], lengths[54];
    int n = 0;
    size_t start = r->pos;
    for (int p = 0; p < 4; ++p)
        for (int i = 0; i < parts[p] && n < 54; ++i) {
            lengths[n] = slen[p];
            values[n++] = slen[p] ? (int)bits_get(r, slen[p]) : 0;
        }
    for (; n < 54; ++n) values[n] = lengths[n] = 0;

    int k = 0;
    if (kind == 0) {
        for (int sfb = 0; sfb < 21; ++sfb, ++k) {
            sf->l[sfb] = values[k];
            sf->l_max[sfb] = (1 << lengths[k]) - 1;
        }
        sf->l[21] = 0;
    } else {
        int sfb = 0;
        if (kind == 2) {
            for (; sfb < 6; ++sfb, ++k) {
                sf->l[sfb] = values[k];
                sf->l_max[sfb] = (1 << lengths[k]) - 1;
            }
            sfb = 3;
        }
        for (; sfb < 12; ++sfb) {
            for (int w = 0; w < 3; ++w, ++k) sf->s[sfb][w] = values[k];
            sf->s_max[sfb] = (1 << lengths[k - 1]) - 1;
        }
        for (int w = 0; w < 3; ++w) sf->s[12][w] = 0;
    }
    return (int)(r->pos - start);
}

// 2^(q/4) for any whole q.
inline float quarter_power(int q) {
    static const float fraction[4] = {1.0f, 1.18920712f, 1.41421356f, 1.68179283f};
    int e = q >> 2;
    // Building the power of two from its exponent bits is exact and far
    // cheaper than a library call; very small gains are subnormal and go
    // the slow way.
    if (e < -126 || e > 127) return ldexpf(fraction[q & 3], e);
    uint32_t bits = (uint32_t)(e + 127) << 23;
    float scale;
    memcpy(&scale, &bits, sizeof scale);
    return fraction[q & 3] * scale;
}

// Gain of each line's scale-factor band, as a list of (end line, gain).
struct band_gains {
    int end[40];
    float gain[40];
    int count;
};

void compute_gains(const granule_channel* g, const layer3_scale_factors* sf, int table_index,
                   bool mpeg1, int gain_offset, band_gains* out) {
    const int16_t* lb = layer3_long_bands[table_index];
    const int16_t* sb = layer3_short_bands[table_index];
    int base = g->global_gain - 210 - gain_offset;
    int shift = g->scalefac_scale ? 4 : 2;  // quarter steps per scale-factor unit
    int n = 0;
    bool short_blocks = g->window_switching && g->block_type == 2;
    int long_bands = 22;
    int first_short = 0;
    if (short_blocks) {
        long_bands = g->mixed ? (mpeg1 ? 8 : 6) : 0;
        first_short = g->mixed ? 3 : 0;
    }
    for (int b = 0; b < long_bands; ++b) {
        int pre = g->preflag ? layer3_pretab[b] : 0;
        out->end[n] = lb[b + 1];
        out->gain[n++] = quarter_power(base - shift * (sf->l[b] + pre));
    }
    for (int b = first_short; short_blocks && b < 13; ++b) {
        int width = sb[b + 1] - sb[b];
        int line = 3 * sb[b];
        for (int w = 0; w < 3; ++w) {
            line += width;
            out->end[n] = line;
            out->gain[n++] = quarter_power(base - 8 * g->subblock_gain[w] - shift * sf->s[b][w]);
        }
    }
    out->count = n;
}

// v with the sign bit set when sign is 1 (sign 0 or 1).
inline float with_sign(float v, uint32_t sign) {
    uint32_t bits;
    memcpy(&bits, &v, sizeof bits);
    bits |= sign << 31;
    memcpy(&v, &bits, sizeof v);
    return v;
}

// Huffman decoding with requantisation into xr[576]. Returns the number of
// lines written (all lines from there up are zero).
//
// One 64-bit window holds everything a pair of big values can take (a
// 19-bit code, two 13-bit extensions and two signs: 47 bits), so each pair
// costs one load. Band and region boundaries are all even, so a pair never
// straddles a change of gain: the lines run band segment by band segment.
int decode_spectrum(bit_reader* r, const granule_channel* g, int part2_bits,
                    const band_gains* gains, float* xr) {
    const float* pow43 = powers().v;
    size_t pos = r->pos;
    size_t end = pos + (g->part2_3_length - part2_bits);
    if (g->part2_3_length < part2_bits) end = pos;  // scale factors overran: no spectrum
    int band = 0;
    int line = 0;

    int big_end = g->big_values * 2;
    int region_end[3] = {g->region1_start, g->region2_start, 576};
    for (int region = 0; region < 3 && line < big_end; ++region) {
        int stop = region_end[region] < big_end ? region_end[region] : big_end;
        if (stop <= line) continue;
        const huffman_lookup* t = huffman_big_value_lookup(g->table_select[region]);
        int linbits = layer3_huffman[g->table_select[region]].linbits;
        if (!t) {  // a table that codes only zeros takes no bits
            for (; line < stop; ++line) xr[line] = 0.0f;
            continue;
        }
        // Bits for the next pair at the least: a 19-bit code and two signs,
        // or two 13-bit extensions as well.
        const int need = linbits ? 47 : 21;
        uint64_t w = bits_window(r, pos);
        int avail = 57;
        while (line < stop) {
            while (line >= gains->end[band] && band + 1 < gains->count) ++band;
            int segment =
                gains->end[band] < stop && band + 1 < gains->count ? gains->end[band] : stop;
            if (segment <= line) segment = stop;  // past the last band's end
            const float gain = gains->gain[band];
            if (!linbits) {
                // The common case: the signs follow the code directly, and
                // the leaf knows how many there are, so the next pair's
                // position is known before the values are.
                for (; line < segment; line += 2) {
                    if (avail < need) {
                        w = bits_window(r, pos);
                        avail = 57;
                    }
                    int length = 0;
                    uint32_t e = huffman_leaf_window(t, w, &length);
                    int x = (int)(e >> 12) & 15, y = (int)(e >> 8) & 15;
                    int used = length + (int)((e >> 16) & 3);
                    uint64_t signs = w << length;
                    uint32_t sx = x ? (uint32_t)(signs >> 63) : 0;
                    uint32_t sy = y ? (uint32_t)((signs << (x != 0)) >> 63) : 0;
                    xr[line] = with_sign(pow43[x], sx) * gain;
                    xr[line + 1] = with_sign(pow43[y], sy) * gain;
                    pos += (size_t)used;
                    w <<= used;
                    avail -= used;
                }
                continue;
            }
            for (; line < segment; line += 2) {
                if (avail < need) {
                    w = bits_window(r, pos);
                    avail = 57;
                }
                int used = 0;
                int v = huffman_decode_window(t, w, &used);
                int x = v >> 4, y = v & 15;
                if (x == 15 && linbits) {
                    x += (int)((w << used) >> (64 - linbits));
                    used += linbits;
                }
                uint32_t sign = x ? (uint32_t)((w << used) >> 63) : 0;
                used += x != 0;
                xr[line] = with_sign(pow43[x], sign) * gain;
                if (y == 15 && linbits) {
                    y += (int)((w << used) >> (64 - linbits));
                    used += linbits;
                }
                sign = y ? (uint32_t)((w << used) >> 63) : 0;
                used += y != 0;
                xr[line + 1] = with_sign(pow43[y], sign) * gain;
                pos += (size_t)used;
                w <<= used;
                avail -= used;
            }
        }
    }

    // Count1 region: quadruples until the bits are spent. Each line is 0 or
    // +-gain: one lookup gives the quadruple and its signs, and masks stand
    // in for branches, as the set bits follow no pattern a branch predictor
    // could learn.
    const uint16_t* quads = huffman_count1_quads(g->count1_table);
    uint64_t w = bits_window(r, pos);
    int avail = 57;
    while (line + 4 <= 576 && pos < end) {
        if (avail < 10) {
            w = bits_window(r, pos);
            avail = 57;
        }
        uint32_t e = quads[w >> 54];
        int used = (int)(e & 15);
        w <<= used;
        avail -= used;
        pos += (size_t)used;
        float lg[4];
        if (line + 4 <= gains->end[band] || band + 1 >= gains->count) {
            lg[0] = lg[1] = lg[2] = lg[3] = gains->gain[band];
        } else {
            for (int i = 0; i < 4; ++i) {
                while (line + i >= gains->end[band] && band + 1 < gains->count) ++band;
                lg[i] = gains->gain[band];
            }
        }
        for (int i = 0; i < 4; ++i) {
            uint32_t bits;
            memcpy(&bits, &lg[i], sizeof bits);
            bits = (bits | ((e >> (8 + i)) & 1) << 31) & (0u - ((e >> (4 + i)) & 1));
            memcpy(&xr[line + i], &bits, sizeof bits);
        }
        line += 4;
    }
    int written = line;
    for (; line < 576; ++line) xr[line] = 0.0f;
    // Exactly part2_3_length bits belong to this channel.
    r->pos = end;
    return written;
}

// Lines of short-block data are ordered band, window, line.
struct short_span {
    int start, width;
};
inline short_span short_band_window(const int16_t* sb, int b, int w) {
    int width = sb[b + 1] - sb[b];
    return {3 * sb[b] + w * width, width};
}

void alias_reduce(float* xr, int boundaries) {
    static struct coeffs {
        alignas(16) float cs[8];
        alignas(16) float ca[8];
        coeffs() {
            for (int i = 0; i < 8; ++i) {
                double c = layer3_alias_c[i];
                double sq = sqrt(1.0 + c * c);
                cs[i] = (float)(1.0 / sq);
                ca[i] = (float)(c / sq);
            }
        }
    } const k;
    if (simd_active() == simd_path::portable) {
        for (int sb = 1; sb <= boundaries; ++sb) {
            float* lo = xr + 18 * sb - 1;
            float* hi = xr + 18 * sb;
            for (int i = 0; i < 8; ++i) {
                float a = lo[-i], b = hi[i];
                lo[-i] = a * k.cs[i] - b * k.ca[i];
                hi[i] = b * k.cs[i] + a * k.ca[i];
            }
        }
        return;
    }
    // Four butterflies at a time: the lines below each boundary run
    // downwards, so they are reversed on load and store.
    typedef float v4 __attribute__((vector_size(16)));
    for (int sb = 1; sb <= boundaries; ++sb) {
        float* edge = xr + 18 * sb;
        for (int q = 0; q < 8; q += 4) {
            v4 a, b, cs, ca;
            memcpy(&a, edge - q - 4, sizeof a);
            memcpy(&b, edge + q, sizeof b);
            memcpy(&cs, k.cs + q, sizeof cs);
            memcpy(&ca, k.ca + q, sizeof ca);
            a = __builtin_shufflevector(a, a, 3, 2, 1, 0);
            v4 lo = a * cs - b * ca;
            lo = __builtin_shufflevector(lo, lo, 3, 2, 1, 0);
            v4 hi = b * cs + a * ca;
            memcpy(edge - q - 4, &lo, sizeof lo);
            memcpy(edge + q, &hi, sizeof hi);
        }
    }
}

// Subbands in the long part of mixed blocks: the first eight long bands in
// MPEG-1, six in MPEG-2 and 2.5; 36 lines, but 72 at 8000 Hz.
int mixed_long_subbands(int table_index) {
    return layer3_long_bands[table_index][table_index < 3 ? 8 : 6] / 18;
}

// Hybrid synthesis of one channel into out[32][18] (subband, time slot).
void hybrid(const float* xr, const granule_channel* g, int table_index, int k,
            float overlap[32][18], float out[32][18]) {
    bool short_blocks = g->window_switching && g->block_type == 2;
    int mixed_sb = g->mixed && g->window_switching ? mixed_long_subbands(table_index) : 0;
    int long_sb = short_blocks ? mixed_sb : k;
    int type = g->window_switching ? g->block_type : 0;
    if (short_blocks) type = 0;  // the long part of mixed blocks uses the normal window

    float buf[36];
    int sb = 0;
    if (long_sb > 32) long_sb = 32;
    // All long subbands through the transform at once (side by side on the
    // vector paths), then each under its window.
    float y[32][18];
    imdct36_transform(xr, long_sb, y);
    for (; sb < long_sb; ++sb) {
        // The mixed flag puts the lowest subbands under the normal window,
        // whatever the block type.
        imdct36_overlap(y[sb], sb < mixed_sb ? 0 : type, overlap[sb], out[sb]);
    }
    if (short_blocks) {
        // Frequencies of each window back in natural order.
        const int16_t* sbt = layer3_short_bands[table_index];
        float win[3][192];
        memset(win, 0, sizeof win);
        for (int b = g->mixed ? 3 : 0; b < 13; ++b)
            for (int w = 0; w < 3; ++w) {
                short_span sp = short_band_window(sbt, b, w);
                for (int j = 0; j < sp.width; ++j) win[w][sbt[b] + j] = xr[sp.start + j];
            }
        for (; sb < k; ++sb) {
            imdct_short(win[0] + 6 * sb, win[1] + 6 * sb, win[2] + 6 * sb, buf);
            for (int i = 0; i < 18; ++i) {
                out[sb][i] = buf[i] + overlap[sb][i];
                overlap[sb][i] = buf[18 + i];
            }
        }
    }
    for (; sb < 32; ++sb) {
        for (int i = 0; i < 18; ++i) {
            out[sb][i] = overlap[sb][i];
            overlap[sb][i] = 0.0f;
        }
    }
    // Frequency inversion: odd time slots of odd subbands change sign.
    for (int s = 1; s < 32; s += 2)
        for (int i = 1; i < 18; i += 2) out[s][i] = -out[s][i];
}

}  // namespace

void layer3_reset(layer3_state* s) { memset(s->overlap, 0, sizeof s->overlap); }

int layer3_decode(frame_reader* f, layer3_state* st, synthesis_state* left,
                  synthesis_state* right) {
    const frame_header* h = &f->header;
    bool mpeg1 = h->version == 1;
    int granules = mpeg1 ? 2 : 1;
    int channels = h->channels;
    bool ms = h->mode == 1 && (h->mode_extension & 2);
    bool is = h->mode == 1 && (h->mode_extension & 1);
    int table_index = band_table_index(h);

    side_info si;
    int r = read_side_info(&f->bits, h, &si);
    if (r < 0) return r;
    int total_bits = 0;
    for (int gr = 0; gr < granules; ++gr)
        for (int ch = 0; ch < channels; ++ch) total_bits += si.gr[gr][ch].part2_3_length;

    synthesis_state* outs[2] = {left, right};
    bool mixed_out = left && left == right;
    int shift = left ? left->shift : right ? right->shift : 0;

    r = frame_reader_gather(f, si.main_data_begin, total_bits);
    if (r < 0) return r;
    // After a start or seek mid-stream the first frames borrow bytes that
    // were never read; they read as zeros. A granule's channel whose bits
    // begin there is silent, the rest decode as usual, so the sound comes
    // back within the frame instead of a frame later.
    size_t missing_bits = (size_t)r * 8;

    bit_reader* bits = &f->bits;
    layer3_scale_factors sf[2];
    memset(sf, 0, sizeof sf);
    float(*xr)[576] = st->xr;
    float(*hyb)[32][18] = st->hybrid;
    bool lost[2] = {false, false};  // per channel, in the granule last decoded

    for (int gr = 0; gr < granules; ++gr) {
        int written[2] = {0, 0};
        for (int ch = 0; ch < channels; ++ch) {
            granule_channel* g = &si.gr[gr][ch];
            // Scale factors shared from a lost first granule are not known
            // (zeros would play those bands too loud); joint coding ties the
            // second channel to the first, without which it would play the
            // side signal alone.
            bool shares = gr == 1 && mpeg1 && si.scfsi[ch] && lost[ch];
            lost[ch] = bits->pos < missing_bits || shares || (ch == 1 && lost[0] && (ms || is));
            if (lost[ch]) {
                bits->pos += (size_t)g->part2_3_length;
                memset(xr[ch], 0, sizeof xr[ch]);
                written[ch] = 0;
                continue;
            }
            int part2;
            if (mpeg1)
                part2 = read_layer3_scale_factors_mpeg1(bits, g, si.scfsi[ch], gr, &sf[ch]);
            else
                part2 = read_layer3_scale_factors_mpeg2(bits, g, is && ch == 1, &sf[ch]);
            band_gains gains;
            // With middle/side alone the 1/sqrt(2) of the step goes into the gain.
            int offset = (ms && !is) ? 2 : 0;
            compute_gains(g, &sf[ch], table_index, mpeg1, offset, &gains);
            written[ch] = decode_spectrum(bits, g, part2, &gains, xr[ch]);
        }

        if (channels == 2 && (ms || is)) {
            if (is) {
                {
                    const granule_channel* g = &si.gr[gr][1];
                    bool short_blocks = g->window_switching && g->block_type == 2;
                    layer3_stereo(xr[0], xr[1], short_blocks, g->mixed, &sf[1], table_index, mpeg1,
                                  ms);
                }
                written[1] = written[0] > written[1] ? written[0] : written[1];
            } else {
                // Above both channels' last written line the sum and the
                // difference of zeros stay zero.
                int top = written[0] > written[1] ? written[0] : written[1];
                for (int i = 0; i < top; ++i) {
                    float a = xr[0][i], b = xr[1][i];
                    xr[0][i] = a + b;
                    xr[1][i] = a - b;
                }
            }
            int m = written[0] > written[1] ? written[0] : written[1];
            written[0] = written[1] = m;
        }

        int used = 32 >> shift;
        for (int ch = 0; ch < channels; ++ch) {
            granule_channel* g = &si.gr[gr][ch];
            bool short_blocks = g->window_switching && g->block_type == 2;
            int nonzero_sb = (written[ch] + 17) / 18;
            if (!short_blocks)
                alias_reduce(xr[ch], nonzero_sb < 31 ? nonzero_sb : 31);
            else if (g->mixed)
                alias_reduce(xr[ch], mixed_long_subbands(table_index) - 1);
            int k = nonzero_sb + 1;
            if (k > 32) k = 32;
            if (short_blocks) k = 32;
            if (k > used) k = used;
            bool wanted = channels == 1 ? ch == 0 : (mixed_out || outs[ch]);
            if (wanted) hybrid(xr[ch], g, table_index, k, st->overlap[ch], hyb[ch]);
        }

        // The 18 slots of each channel in one call, so the synthesis can
        // transform several side by side.
        if (channels == 1) {
            synthesis_run_slots(left, hyb[0][0], 1, 18, 18);
        } else if (mixed_out) {
            float mix[32][18];
            for (int s = 0; s < 32; ++s)
                for (int t = 0; t < 18; ++t) mix[s][t] = (hyb[0][s][t] + hyb[1][s][t]) * 0.5f;
            synthesis_run_slots(left, mix[0], 1, 18, 18);
        } else {
            if (left) synthesis_run_slots(left, hyb[0][0], 1, 18, 18);
            if (right) synthesis_run_slots(right, hyb[1][0], 1, 18, 18);
        }
    }
    return 0;
}

}  // namespace audio
