// The synthesis filter bank against the standard's direct algorithm, and its
// scaling, rounding, clipping, down-sampling, strides and equaliser, on each
// vector path (portable, SSE2, AVX2) and with the slot layouts the layers use.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <vector>

#include "audio/mpeg_tables.h"
#include "audio/synthesis.h"
#include "decoder_support.h"

// The decoder's internals, under test.
using namespace audio;
using decoder_test::all_paths;
using decoder_test::path_scope;

namespace {

// The standard's synthesis, literally: a 1024-value shifting V, matrixing
// with cos((16 + i)(2k + 1) pi / 64), windowing with D[512], summation.
struct reference_synthesis {
    double v[1024] = {};
    double d[512];
    reference_synthesis() {
        for (int i = 0; i <= 256; ++i) d[i] = synthesis_window_base[i] / 65536.0;
        for (int i = 257; i < 512; ++i) d[i] = (i % 64 == 0) ? d[512 - i] : -d[512 - i];
    }
    void run(const float* s, double* out) {
        memmove(v + 64, v, sizeof(double) * 960);
        for (int i = 0; i < 64; ++i) {
            double sum = 0.0;
            for (int k = 0; k < 32; ++k) sum += cos((16 + i) * (2 * k + 1) * M_PI / 64.0) * s[k];
            v[i] = sum;
        }
        double u[512];
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 32; ++j) {
                u[64 * i + j] = v[128 * i + j];
                u[64 * i + 32 + j] = v[128 * i + 96 + j];
            }
        for (int j = 0; j < 32; ++j) {
            double sum = 0.0;
            for (int i = 0; i < 16; ++i) sum += u[j + 32 * i] * d[j + 32 * i];
            out[j] = sum * 32768.0;
        }
    }
};

struct filter {
    synthesis_state s;
    std::vector<int16_t> out;
    filter(int shift = 0, int stride = 1) {
        synthesis_init(&s);
        s.shift = shift;
        s.stride = stride;
    }
    void run(const float* in) {
        size_t at = out.size();
        out.resize(at + 64, -1);
        s.output = out.data() + at;
        s.input = in;
        synthesis_run(&s);
        out.resize((size_t)(s.output - out.data()));
    }
};

// Deterministic pseudo-random subband values in [-amp, amp].
void random_block(uint32_t* seed, float amp, float* v) {
    for (int k = 0; k < 32; ++k) {
        *seed = *seed * 1664525u + 1013904223u;
        v[k] = amp * (((*seed >> 8) / 16777216.0f) * 2.0f - 1.0f);
    }
}

// Each test runs on one vector path; a path the processor lacks is skipped.
class Synthesis : public testing::TestWithParam<simd_path> {
protected:
    void SetUp() override {
        if (!path_.ok())
            GTEST_SKIP() << "this processor has no " << simd_path_name(GetParam()) << " path";
    }
    path_scope path_{GetParam()};
};

// How a layer hands its slots over: slot t's subband k at t * slot_step + k *
// band_step, count slots per call.
struct slot_layout {
    const char* name;
    int slot_step, band_step, count;
};

}  // namespace

TEST_P(Synthesis, MatchesTheStandardsAlgorithm) {
    reference_synthesis ref;
    filter f;
    uint32_t seed = 7;
    int worst = 0;
    for (int call = 0; call < 64; ++call) {
        float in[32];
        random_block(&seed, 0.05f, in);
        double expect[32];
        ref.run(in, expect);
        f.out.clear();
        f.run(in);
        ASSERT_EQ(f.out.size(), 32u);
        for (int j = 0; j < 32; ++j) {
            int e = (int)lrint(fmax(-32768.0, fmin(32767.0, expect[j])));
            worst = std::max(worst, abs(e - f.out[j]));
        }
    }
    EXPECT_LE(worst, 1);
}

TEST_P(Synthesis, ZerosAfterClearGiveZeros) {
    filter f;
    float loud[32];
    uint32_t seed = 3;
    random_block(&seed, 0.5f, loud);
    for (int i = 0; i < 5; ++i) f.run(loud);
    synthesis_clear(&f.s);
    f.out.clear();
    float zeros[32] = {};
    f.run(zeros);
    ASSERT_EQ(f.out.size(), 32u);
    for (int16_t v : f.out) EXPECT_EQ(v, 0);
}

TEST_P(Synthesis, ClipsAtFullScaleWithoutWrapping) {
    for (float level : {4.0f, -4.0f}) {
        filter f;
        float in[32] = {};
        in[0] = level;  // far beyond full scale in the lowest subband
        for (int i = 0; i < 20; ++i) f.run(in);
        // After the window has filled, every sample sits at the rail.
        for (size_t i = f.out.size() - 64; i < f.out.size(); ++i)
            EXPECT_EQ(f.out[i], level > 0 ? 32767 : -32768) << i;
    }
}

TEST_P(Synthesis, DownSamplingWritesEverySecondOrFourthSample) {
    uint32_t seed = 11;
    std::vector<std::vector<float>> blocks(30, std::vector<float>(32));
    for (auto& b : blocks) random_block(&seed, 0.2f, b.data());
    filter full(0), half(1), quarter(2);
    for (auto& b : blocks) {
        full.run(b.data());
        half.run(b.data());
        quarter.run(b.data());
    }
    ASSERT_EQ(half.out.size(), full.out.size() / 2);
    ASSERT_EQ(quarter.out.size(), full.out.size() / 4);
    // Same sums, truncated instead of rounded: within one step of the full
    // rate's samples 0, 2, 4 ... and 0, 4, 8 ...
    for (size_t i = 0; i < half.out.size(); ++i)
        EXPECT_LE(abs(half.out[i] - full.out[2 * i]), 1) << i;
    for (size_t i = 0; i < quarter.out.size(); ++i)
        EXPECT_LE(abs(quarter.out[i] - full.out[4 * i]), 1) << i;
}

TEST_P(Synthesis, StrideInterleavesAndSilenceKeepsTheLength) {
    int16_t block[128];
    for (int16_t& v : block) v = 1234;
    synthesis_state s;
    synthesis_init(&s);
    s.stride = 2;
    s.output = block;
    float in[32] = {};
    s.input = in;
    synthesis_run(&s);
    synthesis_silence(&s);
    EXPECT_EQ(s.output, block + 128);
    for (int i = 0; i < 128; ++i) EXPECT_EQ(block[i], i % 2 == 0 ? 0 : 1234) << i;
    s.shift = 2;
    s.stride = 1;
    s.output = block;
    synthesis_silence(&s);
    EXPECT_EQ(s.output, block + 8);
}

TEST_P(Synthesis, EqualiserScalesSubbands) {
    uint32_t seed = 5;
    std::vector<std::vector<float>> blocks(20, std::vector<float>(32));
    for (auto& b : blocks) random_block(&seed, 0.1f, b.data());

    signed char bytes[32];
    for (int k = 0; k < 32; ++k) bytes[k] = k % 2 ? -32 : 32;  // halve odd, double even subbands
    filter eq, scaled;
    synthesis_set_equalizer(&eq.s, bytes);
    for (auto& b : blocks) {
        std::vector<float> manual(b);
        for (int k = 0; k < 32; ++k) manual[k] *= k % 2 ? 0.5f : 2.0f;
        eq.run(b.data());
        scaled.run(manual.data());
    }
    EXPECT_EQ(eq.out, scaled.out);

    synthesis_set_equalizer(&eq.s, nullptr);
    signed char back[32];
    EXPECT_EQ(synthesis_get_equalizer(&eq.s, back), 0);
    for (signed char b : back) EXPECT_EQ(b, 0);
}

// Many slots per call, in the layouts the layers use, at strides 1 and 2,
// with and without the equaliser: the same samples as the standard's
// algorithm slot by slot, and nothing written but this channel's samples
// (the vector paths merge whole pairs when interleaving).
TEST_P(Synthesis, SlotLayoutsMatchTheStandardsAlgorithm) {
    const slot_layout layouts[] = {
        {"layer3 subbands side by side", 1, 18, 18},
        {"layer2 rows of two channels", 64, 1, 36},
        {"odd count", 32, 1, 7},
    };
    signed char bytes[32];
    for (int k = 0; k < 32; ++k) bytes[k] = (signed char)(k * 7 % 64 - 32);  // gains 0.5 to 2
    for (const slot_layout& l : layouts)
        for (int stride : {1, 2})
            for (bool equalised : {false, true}) {
                SCOPED_TRACE(std::string(l.name) + ", stride " + std::to_string(stride) +
                             (equalised ? ", equaliser" : ""));
                std::vector<float> in((size_t)(l.slot_step * (l.count - 1) + l.band_step * 31 + 1));
                uint32_t seed = 19;
                reference_synthesis ref;
                synthesis_state s;
                synthesis_init(&s);
                s.stride = stride;
                if (equalised) synthesis_set_equalizer(&s, bytes);
                const int16_t guard = 0x5a5a;
                std::vector<int16_t> out((size_t)(32 * stride * 2 * l.count + 8), guard);
                s.output = out.data() + 4;
                int worst = 0;
                for (int round = 0; round < 2; ++round) {  // the second reads the first's ring
                    float slot[32];
                    std::vector<std::vector<double>> expect;
                    for (int t = 0; t < l.count; ++t) {
                        random_block(&seed, 0.3f, slot);
                        for (int k = 0; k < 32; ++k)
                            in[(size_t)(t * l.slot_step + k * l.band_step)] = slot[k];
                        if (equalised)
                            for (int k = 0; k < 32; ++k)
                                slot[k] *= synthesis_gain_from_byte(bytes[k]);
                        expect.emplace_back(32);
                        ref.run(slot, expect.back().data());
                    }
                    int16_t* first = s.output;
                    synthesis_run_slots(&s, in.data(), l.slot_step, l.band_step, l.count);
                    ASSERT_EQ(s.output, first + 32 * stride * l.count);
                    for (int t = 0; t < l.count; ++t)
                        for (int j = 0; j < 32; ++j) {
                            double e = fmax(-32768.0, fmin(32767.0, expect[t][j]));
                            int got = first[(32 * t + j) * stride];
                            worst = std::max(worst, (int)ceil(fabs(got - e) - 1e-9));
                        }
                }
                EXPECT_LE(worst, 1);
                // The other channel's places and the guards around the run.
                for (size_t i = 0; i < out.size(); ++i) {
                    bool ours = i >= 4 && i < out.size() - 4 && (i - 4) % stride == 0;
                    if (!ours) ASSERT_EQ(out[i], guard) << "index " << i;
                }
            }
}

// The paths differ only in the order of float operations.
TEST_P(Synthesis, AgreesWithThePortablePath) {
    uint32_t seed = 23;
    std::vector<float> in(32 * 18);
    for (int t = 0; t < 18; ++t) random_block(&seed, 0.4f, &in[32 * t]);
    auto run_on = [&](simd_path p) {
        path_scope scope(p);
        synthesis_state s;
        synthesis_init(&s);
        std::vector<int16_t> out(32 * 18 * 3);
        s.output = out.data();
        for (int i = 0; i < 3; ++i) synthesis_run_slots(&s, in.data(), 32, 1, 18);
        return out;
    };
    std::vector<int16_t> ours = run_on(GetParam()), portable = run_on(simd_path::portable);
    int worst = 0;
    for (size_t i = 0; i < ours.size(); ++i) worst = std::max(worst, abs(ours[i] - portable[i]));
    EXPECT_LE(worst, 1);
}

INSTANTIATE_TEST_SUITE_P(Paths, Synthesis, testing::ValuesIn(all_paths),
                         [](const testing::TestParamInfo<simd_path>& i) {
                             return std::string(simd_path_name(i.param));
                         });

TEST(SynthesisGains, EqualiserBytesRoundTrip) {
    EXPECT_FLOAT_EQ(synthesis_gain_from_byte(-32), 0.5f);
    EXPECT_FLOAT_EQ(synthesis_gain_from_byte(32), 2.0f);
    EXPECT_FLOAT_EQ(synthesis_gain_from_byte(0), 1.0f);
    for (int b = -128; b <= 127; ++b)
        EXPECT_EQ(synthesis_byte_from_gain(synthesis_gain_from_byte((signed char)b)), b) << b;
    // Gains between the steps truncate toward zero.
    EXPECT_EQ(synthesis_byte_from_gain(1.0f + 1.9f / 32.0f), 1);
    EXPECT_EQ(synthesis_byte_from_gain(1.0f / (1.0f + 1.9f / 32.0f)), -1);
}
