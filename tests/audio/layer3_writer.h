// A small Layer III writer for the decoder tests: one joint-stereo frame
// whose side information, scale factors and spectra the test chooses, for
// cases no encoder writes (intensity stereo above all).
//
// Spectral values are -1, 0 or +1 and all go into the count1 region with
// table B (a 4-bit code per quadruple, then a sign bit per non-zero value),
// so no big-value Huffman tables are involved.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace decoder_test {

// Bits written most significant first.
struct bit_writer {
    std::vector<uint8_t> bytes;
    size_t bits = 0;

    void put(uint32_t value, int n) {
        for (int i = n - 1; i >= 0; --i) {
            if (bits % 8 == 0) bytes.push_back(0);
            if ((value >> i) & 1) bytes.back() |= (uint8_t)(0x80 >> (bits % 8));
            ++bits;
        }
    }
    void append(const bit_writer& other) {
        for (size_t i = 0; i < other.bits; ++i) put((other.bytes[i / 8] >> (7 - i % 8)) & 1, 1);
    }
};

// One granule of one channel.
struct layer3_granule {
    int global_gain = 210;
    int scalefac_compress = 0;  // 4 bits in MPEG-1, 9 in MPEG-2
    int scalefac_scale = 0;
    int block_type = 0;  // 0 normal; 1, 2 (short) and 3 switch windows
    bool mixed = false;
    int subblock_gain[3] = {0, 0, 0};
    // The scale factors in the order they are sent, each with its length
    // in bits (which must agree with scalefac_compress).
    std::vector<int> scale_factors;
    std::vector<int> scale_factor_bits;
    int8_t values[576] = {};  // -1, 0 or +1, in the order they are sent
};

struct layer3_frame {
    int version = 1;             // as in the header: 1 MPEG-1, 0 MPEG-2, 2 MPEG-2.5
    int sampling_frequency = 0;  // the header's index
    int bitrate_index = 14;      // large enough for 576 values of +-1 per channel
    int mode_extension = 1;      // 1 intensity, 2 middle/side, 3 both
    // [granule][channel]; MPEG-2 and 2.5 use granule 0 only.
    layer3_granule granule[2][2];
};

// The frame's bytes: header, side information, main data (main_data_begin
// 0), padded with zeros to the frame's length. Empty if the data do not fit.
std::vector<uint8_t> write_layer3_frame(const layer3_frame& f);

}  // namespace decoder_test
