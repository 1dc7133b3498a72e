// The fast IMDCTs against the standard's defining sums and windows.
#include <gtest/gtest.h>
#include <math.h>

#include "audio/layer3_imdct.h"

// The decoder's internals, under test.
using namespace audio;

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

}  // namespace

TEST(Layer3Imdct, LongBlocksMatchTheDefinition) {
    for (int type : {0, 1, 3}) {
        for (int probe = 0; probe < 18; ++probe) {
            float in[18] = {};
            in[probe] = 1.0f;
            in[(probe * 7 + 3) % 18] += -0.5f;
            float out[36];
            imdct36(in, type, out);
            for (int i = 0; i < 36; ++i) {
                double x = 0.0;
                for (int k = 0; k < 18; ++k)
                    x += in[k] * cos(M_PI / 72 * (2 * i + 1 + 18) * (2 * k + 1));
                ASSERT_NEAR(out[i], x * long_window(type, i), 1e-5)
                    << "type " << type << " i " << i;
            }
        }
    }
}

TEST(Layer3Imdct, ShortBlocksOverlapThreeWindows) {
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
