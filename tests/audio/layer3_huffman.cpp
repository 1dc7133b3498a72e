// The Layer III Huffman lookups the spectrum decoder reads with: every code
// of every table, at any bit offset, with junk behind it, must give its value
// and its length; the count1 table must give each quadruple with its signs.
#include <gtest/gtest.h>

#include <vector>

#include "audio/layer3_huffman.h"
#include "audio/mpeg_tables.h"

// The decoder's internals, under test.
using namespace audio;

namespace {

// Bits written most significant first, with the reader's zero slack behind.
struct bit_buffer {
    std::vector<uint8_t> bytes;
    size_t bits = 0;
    void put(uint32_t value, int n) {
        for (int i = n - 1; i >= 0; --i) {
            if (bits / 8 >= bytes.size()) bytes.push_back(0);
            if ((value >> i) & 1) bytes[bits / 8] |= (uint8_t)(0x80 >> (bits % 8));
            ++bits;
        }
    }
    bit_reader reader() {
        data = bytes;
        data.resize(bytes.size() + frame_buffer_slack, 0);
        bit_reader r;
        bits_start(&r, data.data(), bytes.size());
        return r;
    }
    std::vector<uint8_t> data;
};

}  // namespace

class BigValueLookup : public testing::TestWithParam<int> {};

TEST_P(BigValueLookup, EveryCodeAtEveryOffsetGivesItsValueAndLength) {
    int t = GetParam();
    const huffman_table& h = layer3_huffman[t];
    const huffman_lookup* lookup = huffman_big_value_lookup(t);
    ASSERT_NE(lookup, nullptr);
    for (int offset = 0; offset < 8; ++offset)
        for (int x = 0; x < h.size; ++x)
            for (int y = 0; y < h.size; ++y) {
                uint32_t word = h.codes[x * h.size + y];
                int length = (int)(word >> 24);
                bit_buffer b;
                b.put(0x5A >> (8 - offset), offset);  // whatever came before
                b.put(word & 0xFFFFFF, length);
                b.put(0xFFFFFFFFu, 32);  // junk behind must not matter
                bit_reader r = b.reader();
                int used = 0;
                int v = huffman_decode_window(lookup, bits_window(&r, (size_t)offset), &used);
                ASSERT_EQ(v, x << 4 | y) << "table " << t << " offset " << offset;
                ASSERT_EQ(used, length) << "table " << t << " x " << x << " y " << y;
                // The leaf also tells how many sign bits follow the code.
                used = 0;
                uint32_t leaf = huffman_leaf_window(lookup, bits_window(&r, (size_t)offset), &used);
                ASSERT_EQ((int)(leaf >> 16) & 3, (x != 0) + (y != 0)) << "table " << t;
            }
}

INSTANTIATE_TEST_SUITE_P(Tables, BigValueLookup,
                         testing::Values(1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 20, 24,
                                         31));

class Count1Quads : public testing::TestWithParam<int> {};

TEST_P(Count1Quads, EachQuadrupleAndSignsInOneEntry) {
    int table = GetParam();
    const uint16_t* quads = huffman_count1_quads(table);
    for (int v = 0; v < 16; ++v) {
        int ones = __builtin_popcount((unsigned)v);
        for (int signs = 0; signs < (1 << ones); ++signs) {
            bit_buffer b;
            int length;
            if (table == 0) {
                length = (int)(layer3_count1_a[v] >> 24);
                b.put(layer3_count1_a[v] & 0xFFFFFF, length);
            } else {
                length = 4;
                b.put((uint32_t)(15 - v), 4);
            }
            b.put((uint32_t)signs, ones);
            b.put(0x3FF, 10);
            bit_reader r = b.reader();
            uint32_t e = quads[bits_window(&r, 0) >> 54];
            EXPECT_EQ((int)(e & 15), length + ones) << "v " << v;
            int k = ones;
            for (int i = 0; i < 4; ++i) {
                bool set = v & (8 >> i);
                EXPECT_EQ(((e >> (4 + i)) & 1) != 0, set) << "v " << v << " line " << i;
                bool negative = set && ((signs >> --k) & 1);
                EXPECT_EQ(((e >> (8 + i)) & 1) != 0, negative) << "v " << v << " line " << i;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(TablesAandB, Count1Quads, testing::Values(0, 1));

TEST(BitWindow, ReadsPastTheDataSeeOnlyZeros) {
    bit_buffer b;
    b.put(0xFFFFFFFFu, 32);
    bit_reader r = b.reader();
    EXPECT_EQ(bits_window(&r, 0) >> 32, 0xFFFFFFFFu);
    EXPECT_EQ(bits_window(&r, 28), 0xF000000000000000u);
    EXPECT_EQ(bits_window(&r, 32), 0u);
    // Far past the end (hostile lengths) the read stays inside the slack.
    EXPECT_EQ(bits_window(&r, 1u << 20), 0u);
}

// The spectrum decoder takes big values in pairs under one gain: it needs
// every band boundary, long and short, to be even.
TEST(Layer3Bands, BoundariesAreEven) {
    for (int t = 0; t < 9; ++t) {
        for (int b = 0; b < 23; ++b) EXPECT_EQ(layer3_long_bands[t][b] % 2, 0) << t << " " << b;
        for (int b = 0; b < 14; ++b) EXPECT_EQ(layer3_short_bands[t][b] % 2, 0) << t << " " << b;
    }
}
