// Intensity stereo through the whole Layer III decoder: joint-stereo frames
// made by the test's writer are decoded, and the spectrum the decoder hands
// on to the transforms (after stereo processing and alias reduction) is
// compared with a double-precision model of the standard's formulas.
#include <gtest/gtest.h>
#include <math.h>

#include <string>
#include <tuple>
#include <vector>

#include "audio/mpeg_tables.h"
#include "decoder_support.h"
#include "layer3_writer.h"

using namespace decoder_test;

namespace {

enum class blocks { long_blocks, short_blocks, mixed_blocks };
// Where the right channel's values end: intensity coding starts exactly at
// the top band (in some windows), lower down, or lower down with the
// illegal position in the band below the top band and in one band further
// down.
enum class start { top, lower, lower_illegal };

struct intensity_case {
    bool mpeg1;
    blocks kind;
    start where;
    bool ms;
};

// One scale-factor band of one window (window -1: a long band), with the
// index of its scale factor in transmission order (-1 for the top band,
// which has none).
struct cell {
    int band, window, from, to, sf;
};

std::vector<cell> layout(bool mpeg1, blocks kind) {
    const int16_t* lb = layer3_long_bands[mpeg1 ? 0 : 3];
    const int16_t* sb = layer3_short_bands[mpeg1 ? 0 : 3];
    std::vector<cell> cells;
    int sf = 0;
    if (kind == blocks::long_blocks) {
        for (int b = 0; b < 22; ++b) cells.push_back({b, -1, lb[b], lb[b + 1], b < 21 ? sf++ : -1});
        return cells;
    }
    int first_short = 0;
    if (kind == blocks::mixed_blocks) {
        int long_bands = mpeg1 ? 8 : 6;
        for (int b = 0; b < long_bands; ++b) cells.push_back({b, -1, lb[b], lb[b + 1], sf++});
        first_short = 3;
    }
    for (int b = first_short; b < 13; ++b)
        for (int w = 0; w < 3; ++w) {
            int width = sb[b + 1] - sb[b];
            int from = 3 * sb[b] + w * width;
            cells.push_back({b, w, from, from + width, b < 12 ? sf++ : -1});
        }
    return cells;
}

// Highest band with right-channel values: [0] the long bands, [1..3] the
// windows; -1 for none.
std::vector<int> right_data_top(const intensity_case& c) {
    switch (c.kind) {
        case blocks::long_blocks: return {c.where == start::top ? 20 : 12, -1, -1, -1};
        case blocks::short_blocks:
            return c.where == start::top ? std::vector<int>{-1, 11, 4, 11}
                                         : std::vector<int>{-1, 5, -1, 2};
        case blocks::mixed_blocks:
            return c.where == start::top ? std::vector<int>{7, 11, -1, 11}
                                         : std::vector<int>{4, -1, -1, -1};
    }
    return {};
}

uint32_t next_random(uint32_t& seed) {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 16;
}

layer3_frame make_frame(const intensity_case& c) {
    layer3_frame f;
    f.version = c.mpeg1 ? 1 : 0;
    f.sampling_frequency = 0;  // 44.1 kHz, or 22.05 kHz
    f.bitrate_index = 14;      // 320 or 160 kbit/s
    f.mode_extension = c.ms ? 3 : 1;
    std::vector<cell> cells = layout(c.mpeg1, c.kind);
    std::vector<int> top = right_data_top(c);
    uint32_t seed = 7;
    for (int ch = 0; ch < 2; ++ch) {
        layer3_granule& g = f.granule[0][ch];
        g.global_gain = 200 + 3 * ch;
        g.scalefac_scale = ch;
        // Every scale factor 3 bits long: MPEG-1 slen1 = slen2 = 3; MPEG-2
        // slen 3 in every partition, for the right channel in the intensity
        // variant (which also picks intensity scale 1).
        g.scalefac_compress = c.mpeg1 ? 13 : ch == 0 ? 303 : 259;
        if (c.kind != blocks::long_blocks) {
            g.block_type = 2;
            g.mixed = c.kind == blocks::mixed_blocks;
            g.subblock_gain[0] = 0, g.subblock_gain[1] = 1, g.subblock_gain[2] = 2;
        }
        for (const cell& k : cells) {
            int data_top = top[k.window + 1];
            bool right_values = k.band <= data_top;
            if (k.sf >= 0) {
                int v = (3 * k.band + k.window + 6) % 8;  // an ordinary scale factor
                if (ch == 1 && !right_values) {           // an intensity position
                    v = (k.band + 2 * k.window + 2) % 7;
                    bool below_top = k.band == (k.window < 0 ? 20 : 11);
                    bool further_down = k.band == (k.window < 0 ? 15 : 8);
                    if (c.where == start::lower_illegal && (below_top || further_down)) v = 7;
                }
                g.scale_factors.push_back(v);
                g.scale_factor_bits.push_back(3);
            }
            for (int i = k.from; i < k.to; ++i) {
                if (ch == 1 && !right_values) continue;
                g.values[i] = (int8_t)((int)(next_random(seed) % 3) - 1);
            }
            // The band that ends the right channel's values holds one for sure.
            if (ch == 1 && k.band == data_top) g.values[k.from] = 1;
        }
        if (c.mpeg1) f.granule[1][ch] = g;  // the decoder keeps the last granule
    }
    return f;
}

// The standard's decoding of the granule: requantisation, the stereo step
// and alias reduction, in double precision.
void model(const intensity_case& c, const layer3_frame& f, double out[2][576]) {
    std::vector<cell> cells = layout(c.mpeg1, c.kind);
    const layer3_granule* g = f.granule[0];
    for (int ch = 0; ch < 2; ++ch)
        for (const cell& k : cells) {
            int sf = k.sf >= 0 ? g[ch].scale_factors[k.sf] : 0;
            double e = (g[ch].global_gain - 210) / 4.0 - (1 + g[ch].scalefac_scale) / 2.0 * sf;
            if (k.window >= 0) e -= 2.0 * g[ch].subblock_gain[k.window];
            for (int i = k.from; i < k.to; ++i) out[ch][i] = g[ch].values[i] * pow(2.0, e);
        }

    // Intensity coding starts above the band of the right channel's last
    // value: for long blocks once, for short blocks in each window; in
    // mixed blocks the long part only when no window has right values.
    int bound[4] = {0, 0, 0, 0};  // the long part, then each window
    bool short_values = false;
    for (const cell& k : cells)
        for (int i = k.from; i < k.to; ++i)
            if (g[1].values[i]) {
                int& b = bound[k.window + 1];
                if (k.band + 1 > b) b = k.band + 1;
                if (k.window >= 0) short_values = true;
            }
    int first_short = c.kind == blocks::mixed_blocks ? 3 : 0;
    for (int w = 1; w < 4; ++w)
        if (bound[w] < first_short) bound[w] = first_short;
    if (c.kind == blocks::mixed_blocks && short_values) bound[0] = 99;

    const int illegal = 7;  // 3-bit positions in both versions here
    double io = (g[1].scalefac_compress & 1) ? M_SQRT1_2 : pow(2.0, -0.25);
    std::vector<int> position(cells.size());
    for (size_t n = 0; n < cells.size(); ++n) {
        const cell& k = cells[n];
        bool intensity = k.band >= bound[k.window + 1];
        int pos = k.sf >= 0 ? g[1].scale_factors[k.sf] : illegal;
        if (intensity && k.sf < 0) {
            // The top band: the position of the band below when that one is
            // intensity coded, else the default.
            size_t below = n - (k.window < 0 ? 1 : 3);
            if (cells[below].band >= bound[k.window + 1])
                pos = position[below];
            else
                pos = c.mpeg1 ? illegal : 0;
        }
        position[n] = intensity ? pos : illegal;
        for (int i = k.from; i < k.to; ++i) {
            double l = out[0][i], r = out[1][i];
            if (position[n] != illegal) {
                double kl, kr;
                if (c.mpeg1) {
                    double ratio = tan(pos * M_PI / 12);
                    kl = ratio / (1 + ratio), kr = 1 / (1 + ratio);
                } else {
                    kl = pos % 2 ? pow(io, (pos + 1) / 2) : 1.0;
                    kr = pos % 2 ? 1.0 : pow(io, pos / 2);
                }
                out[0][i] = l * kl, out[1][i] = l * kr;
            } else if (c.ms) {
                out[0][i] = (l + r) * M_SQRT1_2, out[1][i] = (l - r) * M_SQRT1_2;
            }
        }
    }

    static const double ci[8] = {-0.6, -0.535, -0.33, -0.185, -0.095, -0.041, -0.0142, -0.0037};
    int boundaries = c.kind == blocks::long_blocks ? 31 : c.kind == blocks::mixed_blocks ? 1 : 0;
    for (int ch = 0; ch < 2; ++ch)
        for (int sb = 1; sb <= boundaries; ++sb)
            for (int i = 0; i < 8; ++i) {
                double cs = 1 / sqrt(1 + ci[i] * ci[i]), ca = ci[i] * cs;
                double lo = out[ch][18 * sb - 1 - i], hi = out[ch][18 * sb + i];
                out[ch][18 * sb - 1 - i] = lo * cs - hi * ca;
                out[ch][18 * sb + i] = hi * cs + lo * ca;
            }
}

class Layer3Intensity : public testing::TestWithParam<std::tuple<intensity_case, simd_path>> {};

TEST_P(Layer3Intensity, SpectrumFollowsTheStandard) {
    const intensity_case& c = std::get<0>(GetParam());
    path_scope path(std::get<1>(GetParam()));
    if (!path.ok())
        GTEST_SKIP() << "this processor has no " << simd_path_name(std::get<1>(GetParam()));

    layer3_frame f = make_frame(c);
    memory_input in;
    in.data = write_layer3_frame(f);
    ASSERT_FALSE(in.data.empty()) << "the test frame does not fit";
    auto* d = new decoder_state;
    decoder_init(d, memory_input::read, &in);
    int16_t block[decoder_max_samples];
    decoder_frame_info info;
    int result = decoder_decode_frame(d, block, &info);
    std::vector<float> got[2] = {{d->layer3.xr[0], d->layer3.xr[0] + 576},
                                 {d->layer3.xr[1], d->layer3.xr[1] + 576}};
    decoder_free(d);
    delete d;
    ASSERT_EQ(result, 0);

    double want[2][576];
    model(c, f, want);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 576; ++i)
            ASSERT_NEAR(got[ch][i], want[ch][i], 1e-5) << "channel " << ch << " line " << i;
}

std::string case_name(const testing::TestParamInfo<std::tuple<intensity_case, simd_path>>& i) {
    const intensity_case& c = std::get<0>(i.param);
    static const char* kinds[] = {"long", "short", "mixed"};
    static const char* starts[] = {"top", "lower", "illegal"};
    return std::string(c.mpeg1 ? "mpeg1_" : "mpeg2_") + kinds[(int)c.kind] + "_" +
           starts[(int)c.where] + (c.ms ? "_ms_" : "_") + simd_path_name(std::get<1>(i.param));
}

std::vector<intensity_case> all_cases() {
    std::vector<intensity_case> cases;
    for (bool mpeg1 : {true, false})
        for (blocks kind : {blocks::long_blocks, blocks::short_blocks, blocks::mixed_blocks})
            for (start where : {start::top, start::lower, start::lower_illegal})
                for (bool ms : {false, true}) cases.push_back({mpeg1, kind, where, ms});
    return cases;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Frames, Layer3Intensity,
                         testing::Combine(testing::ValuesIn(all_cases()),
                                          testing::ValuesIn(all_paths)),
                         case_name);
