// Structure of the transcribed standard tables: a slip in transcription
// shows up as a code that is not prefix-free, a band table that does not
// reach 576 lines, or a window that breaks its symmetry.
#include <gtest/gtest.h>

#include <math.h>

#include <string>
#include <vector>

#include "audio/mpeg_tables.h"

// The decoder's internals, under test.
using namespace audio;

namespace {

struct code {
    int length;
    uint32_t bits;
};

std::string as_string(const code& c) {
    std::string s;
    for (int i = c.length - 1; i >= 0; --i) s += ((c.bits >> i) & 1) ? '1' : '0';
    return s;
}

// A code set is usable when no codeword is a prefix of another and the
// Kraft sum is exactly 1 (every bit string decodes).
void expect_prefix_free_and_complete(const std::vector<code>& codes, const std::string& what) {
    double kraft = 0.0;
    std::vector<std::string> words;
    for (const code& c : codes) {
        ASSERT_GT(c.length, 0) << what;
        ASSERT_LE(c.length, 19) << what;
        ASSERT_LT(c.bits, 1u << c.length) << what;
        kraft += 1.0 / (double)(1u << c.length);
        words.push_back(as_string(c));
    }
    EXPECT_DOUBLE_EQ(kraft, 1.0) << what;
    for (size_t i = 0; i < words.size(); ++i)
        for (size_t j = 0; j < words.size(); ++j)
            if (i != j) {
                ASSERT_NE(words[j].rfind(words[i], 0), 0u)
                    << what << ": " << words[i] << " prefixes " << words[j];
            }
}

}  // namespace

TEST(Layer3Tables, HuffmanTablesArePrefixFreeAndComplete) {
    int checked = 0;
    for (int t = 0; t < 32; ++t) {
        const huffman_table& h = layer3_huffman[t];
        if (!h.codes) {
            EXPECT_TRUE(t == 0 || t == 4 || t == 14) << "table " << t << " missing";
            continue;
        }
        std::vector<code> codes;
        for (int i = 0; i < h.size * h.size; ++i)
            codes.push_back({(int)(h.codes[i] >> 24), h.codes[i] & 0xFFFFFF});
        expect_prefix_free_and_complete(codes, "table " + std::to_string(t));
        ++checked;
    }
    EXPECT_EQ(checked, 29);
    std::vector<code> quad;
    for (int i = 0; i < 16; ++i)
        quad.push_back({(int)(layer3_count1_a[i] >> 24), layer3_count1_a[i] & 0xFFFFFF});
    expect_prefix_free_and_complete(quad, "count1 table A");
}

TEST(Layer3Tables, HuffmanTableShapesAndLinbits) {
    const int sizes[32] = {0,  2,  3,  3,  0,  4,  4,  6,  6,  6,  8,  8,  8,  16, 0,  16,
                           16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};
    const int linbits[32] = {0, 0, 0, 0, 0, 0, 0,  0,  0, 0, 0, 0, 0, 0, 0,  0,
                             1, 2, 3, 4, 6, 8, 10, 13, 4, 5, 6, 7, 8, 9, 11, 13};
    for (int t = 0; t < 32; ++t) {
        EXPECT_EQ(layer3_huffman[t].size, sizes[t]) << t;
        EXPECT_EQ(layer3_huffman[t].linbits, linbits[t]) << t;
    }
    // The shortest code of every table codes (0, 0) except where the
    // standard gives (0,0) a longer one (tables 6, 12, 15, 24 among them).
    EXPECT_EQ(layer3_huffman[1].codes[0] >> 24, 1u);
    EXPECT_EQ(layer3_huffman[13].codes[0] >> 24, 1u);
}

TEST(Layer3Tables, BandTablesCoverTheGranule) {
    for (int t = 0; t < 9; ++t) {
        const int16_t* l = layer3_long_bands[t];
        EXPECT_EQ(l[0], 0);
        EXPECT_EQ(l[22], 576) << t;
        int sum = 0;
        for (int b = 0; b < 22; ++b) {
            EXPECT_GT(l[b + 1], l[b]) << t << " band " << b;
            EXPECT_EQ(l[b + 1] % 2, 0) << "pairs of big values never straddle a band";
            sum += l[b + 1] - l[b];
        }
        EXPECT_EQ(sum, 576);
        const int16_t* s = layer3_short_bands[t];
        int short_sum = 0;
        for (int b = 0; b < 13; ++b) {
            EXPECT_GT(s[b + 1], s[b]) << t;
            short_sum += 3 * (s[b + 1] - s[b]);
        }
        EXPECT_EQ(short_sum, 576) << t;
        // Mixed blocks switch from long to short at line 36 (MPEG-1: after
        // 8 long bands; MPEG-2: after 6), short band 3 starting there. The
        // 8000 Hz tables have wider bands.
        if (t != 8) {
            EXPECT_EQ(l[t < 3 ? 8 : 6], 36) << t;
            EXPECT_EQ(3 * s[3], 36) << t;
        }
    }
}

TEST(Layer3Tables, Mpeg2PartitionsHoldEveryBand) {
    for (int table = 0; table < 6; ++table) {
        int counts[3] = {0, 0, 0};
        for (int kind = 0; kind < 3; ++kind)
            for (int p = 0; p < 4; ++p) counts[kind] += layer3_partitions[table][kind][p];
        EXPECT_EQ(counts[0], 21) << table;      // long: bands 0..20
        EXPECT_EQ(counts[1], 36) << table;      // short: 12 bands x 3 windows
        EXPECT_EQ(counts[2], 6 + 27) << table;  // mixed: 6 long + 9 short bands x 3
    }
}

TEST(SynthesisWindow, FollowsTheStandardsSymmetryAndFirstRow) {
    double d[512];
    for (int i = 0; i <= 256; ++i) d[i] = synthesis_window_base[i] / 65536.0;
    for (int i = 257; i < 512; ++i) d[i] = (i % 64 == 0) ? d[512 - i] : -d[512 - i];
    // The window scaled by 32768, read 32 apart: its published first row.
    const double row[16] = {0,     -14.5,   106.5, -229.5, 1018.5, -2576.5, 3287,  -18744.5,
                            37519, 18744.5, 3287,  2576.5, 1018.5, 229.5,   106.5, 14.5};
    for (int t = 0; t < 16; ++t) EXPECT_DOUBLE_EQ(d[32 * t] * 32768.0, row[t]) << t;
    // The prototype filter |D| rises smoothly to its peak at 256 within each
    // 64-coefficient block: no transcription jumps between neighbours.
    for (int i = 1; i < 256; ++i) {
        if (i % 64 == 0) continue;
        EXPECT_LT(fabs(d[i] - d[i - 1]), 0.04) << i;
    }
    EXPECT_DOUBLE_EQ(d[256], 75038 / 65536.0);
}

TEST(Layer2Tables, AllocationTablesMatchTheirLimits) {
    const int limits[5] = {27, 30, 8, 12, 30};
    for (int t = 0; t < 5; ++t) {
        const layer2_table& table = layer2_tables[t];
        EXPECT_EQ(table.sblimit, limits[t]);
        for (int sb = 0; sb < table.sblimit; ++sb) {
            const layer2_subband& s = table.subbands[sb];
            ASSERT_GE(s.nbal, 2);
            ASSERT_LE(s.nbal, 4);
            // Every allocation value 1 .. 2^nbal - 1 selects a class, levels
            // grow, and each class is one of the standard's.
            int prev = 0;
            for (int a = 1; a < (1 << s.nbal); ++a) {
                int levels = layer2_class_rows[s.first_class][a - 1];
                ASSERT_GT(levels, prev) << t << " sb " << sb << " a " << a;
                bool grouped = levels == 3 || levels == 5 || levels == 9;
                bool power = ((levels + 1) & levels) == 0;
                ASSERT_TRUE(grouped || power) << levels;
                prev = levels;
            }
            EXPECT_EQ(layer2_class_rows[s.first_class][(1 << s.nbal) - 1], 0)
                << "row longer than its field";
        }
    }
}
