// Intensity and middle/side stereo of Layer III.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include "audio/layer3_stereo.h"
#include "audio/mpeg_tables.h"

// The decoder's internals, under test.
using namespace audio;

namespace {

const int mpeg1_44k = 0;  // band table index
const int mpeg2_22k = 3;

struct granule {
    float l[576], r[576];
    layer3_scale_factors sf = {};
    granule() {
        for (int i = 0; i < 576; ++i) {
            l[i] = 1.0f + i * 0.01f;
            r[i] = 0.0f;
        }
    }
    void right_data_up_to_line(int end) {
        for (int i = 0; i < end; ++i) r[i] = 0.5f;
    }
};

float line_of_band(int table, int band) { return (float)layer3_long_bands[table][band]; }

}  // namespace

TEST(Layer3Stereo, Mpeg1IntensityFactorsShareTheSignal) {
    for (int pos = 0; pos <= 6; ++pos) {
        float kl, kr;
        layer3_intensity_factors(true, pos, 0, &kl, &kr);
        EXPECT_NEAR(kl + kr, 1.0f, 1e-6f) << pos;
        double ratio = tan(pos * M_PI / 12.0);
        if (pos < 6) {
            EXPECT_NEAR(kl / kr, ratio, 1e-4 * (1 + ratio)) << pos;
        }
    }
    float kl, kr;
    layer3_intensity_factors(true, 0, 0, &kl, &kr);
    EXPECT_FLOAT_EQ(kl, 0.0f);  // all in the right channel
    layer3_intensity_factors(true, 6, 0, &kl, &kr);
    EXPECT_NEAR(kr, 0.0f, 1e-6f);  // all in the left channel
}

TEST(Layer3Stereo, Mpeg2IntensityFactorsFollowTheScale) {
    float kl, kr;
    layer3_intensity_factors(false, 0, 0, &kl, &kr);
    EXPECT_FLOAT_EQ(kl, 1.0f);
    EXPECT_FLOAT_EQ(kr, 1.0f);
    layer3_intensity_factors(false, 3, 0, &kl, &kr);  // odd: left lowered by io^2
    EXPECT_NEAR(kl, pow(2.0, -0.5), 1e-6);
    EXPECT_FLOAT_EQ(kr, 1.0f);
    layer3_intensity_factors(false, 4, 1, &kl, &kr);  // even: right lowered, io = 2^-1/2
    EXPECT_FLOAT_EQ(kl, 1.0f);
    EXPECT_NEAR(kr, 0.5, 1e-6);
}

TEST(Layer3Stereo, LongBandsAboveRightDataAreIntensityCoded) {
    granule g;
    int first_is = 8;
    g.right_data_up_to_line((int)line_of_band(mpeg1_44k, first_is));  // bands 0..7 have data
    for (int b = 0; b < 21; ++b) g.sf.l[b] = 3, g.sf.l_max[b] = 7;
    g.sf.l[20] = 0;  // band 21 follows band 20: all to the right
    float before[576];
    memcpy(before, g.l, sizeof before);
    layer3_stereo(g.l, g.r, false, false, &g.sf, mpeg1_44k, true, false);

    int lo = layer3_long_bands[mpeg1_44k][first_is];
    for (int i = 0; i < lo; ++i) {
        ASSERT_FLOAT_EQ(g.l[i], before[i]) << i;
        ASSERT_FLOAT_EQ(g.r[i], 0.5f) << i;
    }
    int b20 = layer3_long_bands[mpeg1_44k][20];
    for (int i = lo; i < b20; ++i) {  // position 3: an even split
        ASSERT_NEAR(g.l[i], before[i] * 0.5f, 1e-5f) << i;
        ASSERT_NEAR(g.r[i], before[i] * 0.5f, 1e-5f) << i;
    }
    for (int i = b20; i < 576; ++i) {
        ASSERT_NEAR(g.l[i], 0.0f, 1e-6f) << i;
        ASSERT_NEAR(g.r[i], before[i], 1e-5f) << i;
    }
}

TEST(Layer3Stereo, IllegalPositionFallsBackToMiddleSide) {
    granule g;
    g.right_data_up_to_line(4);
    // 7 is the illegal position; larger values (hostile streams) count as
    // illegal too instead of giving infinite factors.
    for (int b = 0; b < 21; ++b) g.sf.l[b] = b % 2 ? 7 : 12, g.sf.l_max[b] = 7;
    float m = g.l[100], s = g.r[100];
    float m0 = g.l[0], s0 = g.r[0];
    layer3_stereo(g.l, g.r, false, false, &g.sf, mpeg1_44k, true, true);
    EXPECT_NEAR(g.l[100], (m + s) / sqrtf(2.0f), 1e-5f);
    EXPECT_NEAR(g.r[100], (m - s) / sqrtf(2.0f), 1e-5f);
    EXPECT_NEAR(g.l[0], (m0 + s0) / sqrtf(2.0f), 1e-5f);
    EXPECT_NEAR(g.r[0], (m0 - s0) / sqrtf(2.0f), 1e-5f);
    for (int i = 0; i < 576; ++i) ASSERT_TRUE(isfinite(g.l[i]) && isfinite(g.r[i])) << i;
}

TEST(Layer3Stereo, ShortBlocksFindTheBoundaryPerWindow) {
    granule g;
    const int16_t* sb = layer3_short_bands[mpeg2_22k];
    // Window 1 has right-channel data in short band 5; the others none.
    int w = 1, band = 5, width = sb[band + 1] - sb[band];
    g.r[3 * sb[band] + w * width] = 0.25f;
    for (int b = 0; b < 12; ++b) {
        for (int k = 0; k < 3; ++k) g.sf.s[b][k] = 2;
        g.sf.s_max[b] = 15;
    }
    float before[576];
    memcpy(before, g.l, sizeof before);
    layer3_stereo(g.l, g.r, true, false, &g.sf, mpeg2_22k, false, false);
    float kl, kr;
    layer3_intensity_factors(false, 2, 0, &kl, &kr);
    // Window 0 band 0 is intensity coded; window 1 band 5 is not, band 6 is.
    EXPECT_NEAR(g.r[0], before[0] * kr, 1e-5f);
    int w1b5 = 3 * sb[5] + 1 * width;
    EXPECT_FLOAT_EQ(g.l[w1b5], before[w1b5]);
    EXPECT_FLOAT_EQ(g.r[w1b5], 0.25f);
    int w1b6 = 3 * sb[6] + 1 * (sb[7] - sb[6]);
    EXPECT_NEAR(g.l[w1b6], before[w1b6] * kl, 1e-5f);
    EXPECT_NEAR(g.r[w1b6], before[w1b6] * kr, 1e-5f);
}
