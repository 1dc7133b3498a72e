// The fast IMDCTs against the standard's defining sums and windows, on each
// vector path (portable, SSE2, AVX2).
#include <gtest/gtest.h>
#include <math.h>

#include <string>
#include <vector>

#include "audio/layer3_imdct.h"
#include "decoder_support.h"

// The decoder's internals, under test.
using namespace audio;
using decoder_test::all_paths;
using decoder_test::path_scope;

namespace {

double long_window(int type, int i) {
    double normal = sin(M_PI / 36 * (i + 0.5));
    switch (type) {
        case 1:
            if (i < 18) return normal;
            if (i < 24) return 1.0;
            if (i < 30) return sin(M_PI / 12 * (i - 18 + 0.5));
            return 0.0;
        case 3:
            if (i < 6) return 0.0;
            if (i < 12) return sin(M_PI / 12 * (i - 6 + 0.5));
            if (i < 18) return 1.0;
            return normal;
        default: return normal;
    }
}

// sum over k of in[k] cos(pi/72 (2i + 19)(2k + 1)): output i of the IMDCT.
double long_sum(const float* in, int i) {
    double x = 0.0;
    for (int k = 0; k < 18; ++k) x += in[k] * cos(M_PI / 72 * (2 * i + 1 + 18) * (2 * k + 1));
    return x;
}

class Layer3Imdct : public testing::TestWithParam<simd_path> {
protected:
    void SetUp() override {
        if (!path_.ok())
            GTEST_SKIP() << "this processor has no " << simd_path_name(GetParam()) << " path";
    }
    path_scope path_{GetParam()};
};

}  // namespace

TEST_P(Layer3Imdct, LongBlocksMatchTheDefinition) {
    for (int type : {0, 1, 3}) {
        for (int probe = 0; probe < 18; ++probe) {
            float in[18] = {};
            in[probe] = 1.0f;
            in[(probe * 7 + 3) % 18] += -0.5f;
            float out[36];
            imdct36(in, type, out);
            for (int i = 0; i < 36; ++i) {
                ASSERT_NEAR(out[i], long_sum(in, i) * long_window(type, i), 1e-5)
                    << "type " << type << " i " << i;
            }
        }
    }
}

// Every count of subbands, so each lane of the vector paths and each short
// tail is checked, with full-scale random spectra: no lane may take another
// subband's values or lose its own.
TEST_P(Layer3Imdct, ManySubbandsAtOnceMatchTheDefinition) {
    uint32_t seed = 99;
    std::vector<float> in(18 * 32);
    for (float& v : in) {
        seed = seed * 1664525u + 1013904223u;
        v = 4000.0f * (((seed >> 8) / 16777216.0f) * 2.0f - 1.0f);
    }
    for (int count = 1; count <= 32; ++count) {
        float y[32][18];
        imdct36_transform(in.data(), count, y);
        for (int sb = 0; sb < count; ++sb) {
            float out[36];
            imdct36_window(y[sb], 0, out);
            for (int i = 0; i < 36; ++i) {
                double expect = long_sum(&in[18 * sb], i) * long_window(0, i);
                // Float rounding of sums of eighteen values up to 4000.
                ASSERT_NEAR(out[i], expect, 0.05)
                    << "count " << count << " subband " << sb << " i " << i;
            }
        }
    }
}

// The fused window and overlap step: this block's first half plus the last
// block's second half, and the second half kept for the next block.
TEST(Layer3ImdctOverlap, AddsTheLastHalfAndKeepsTheNext) {
    for (int type : {0, 1, 3}) {
        float y[18], previous[18], overlap[18], out[18], whole[36];
        for (int k = 0; k < 18; ++k) {
            y[k] = (float)(0.5 - 0.07 * k);
            previous[k] = overlap[k] = (float)(0.01 * k - 0.1);
        }
        imdct36_window(y, type, whole);
        imdct36_overlap(y, type, overlap, out);
        for (int i = 0; i < 18; ++i) {
            EXPECT_FLOAT_EQ(out[i], whole[i] + previous[i]) << "type " << type << " i " << i;
            EXPECT_FLOAT_EQ(overlap[i], whole[18 + i]) << "type " << type << " i " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, Layer3Imdct, testing::ValuesIn(all_paths),
                         [](const testing::TestParamInfo<simd_path>& i) {
                             return std::string(simd_path_name(i.param));
                         });

TEST(Layer3ImdctShort, ShortBlocksOverlapThreeWindows) {
    float w[3][6];
    for (int j = 0; j < 3; ++j)
        for (int k = 0; k < 6; ++k) w[j][k] = (float)(0.1 * (j + 1) - 0.03 * k);
    float out[36];
    imdct_short(w[0], w[1], w[2], out);
    double expect[36] = {};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 12; ++i) {
            double x = 0.0;
            for (int k = 0; k < 6; ++k)
                x += w[j][k] * cos(M_PI / 24 * (2 * i + 1 + 6) * (2 * k + 1));
            expect[6 + 6 * j + i] += x * sin(M_PI / 12 * (i + 0.5));
        }
    for (int i = 0; i < 36; ++i) EXPECT_NEAR(out[i], expect[i], 1e-5) << i;
    // Nothing lands in the first six or the last six outputs.
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(out[i], 0.0f);
        EXPECT_EQ(out[30 + i], 0.0f);
    }
}
