// Published tables of the MPEG audio standards, in our own layout.
#pragma once
#include <stdint.h>

namespace audio {

// Bit rates in kbit/s: [0 MPEG-1, 1 MPEG-2/2.5][layer - 1][bitrate_index].
extern const int16_t mpeg_bitrates[2][3][16];
// Sampling frequencies in Hz: [version][sampling_frequency]; version as in
// the header (1 MPEG-1, 0 MPEG-2, 2 MPEG-2.5).
extern const int mpeg_frequencies[3][3];

// Scale-factor band boundaries in spectral lines, per table index
// (0..2 MPEG-1 44.1/48/32 kHz, 3..5 MPEG-2 22.05/24/16, 6..8 MPEG-2.5
// 11.025/12/8): 22 long bands (23 boundaries) and 13 short bands (14).
extern const int16_t layer3_long_bands[9][23];
extern const int16_t layer3_short_bands[9][14];
extern const uint8_t layer3_pretab[22];
extern const uint8_t layer3_slen[2][16];
// MPEG-2 scale-factor partitions: [table][block kind: long, short, mixed][4].
extern const uint8_t layer3_partitions[6][3][4];
// Alias reduction coefficients c[i] of the standard.
extern const float layer3_alias_c[8];

struct huffman_table {
    int size;  // x and y run 0..size-1
    int linbits;
    const uint32_t* codes;  // size * size words: length << 24 | code
};
// Big-value tables 0..31; size 0 marks tables that hold only zeros or are unused.
extern const huffman_table layer3_huffman[32];
// Count1 table A: 16 words for v*8 + w*4 + x*2 + y; table B is the 4-bit
// complement code.
extern const uint32_t layer3_count1_a[16];

// Synthesis window D[i] x 65536 for i = 0..256, as the standard's table;
// the rest follows from D[512 - i] = D[i] when i is a multiple of 64,
// -D[i] otherwise.
extern const int32_t synthesis_window_base[257];

// Layer II allocation: per subband the allocation field width and the
// quantisation classes (numbers of levels) that its values select.
struct layer2_subband {
    uint8_t nbal;
    uint8_t first_class;  // index into layer2_class_rows
};
struct layer2_table {
    int sblimit;
    const layer2_subband* subbands;
};
// 0: 27 subbands, 1: 30, 2: 8, 3: 12 (MPEG-1), 4: 30 (MPEG-2 low rates).
extern const layer2_table layer2_tables[5];
// Rows of levels; entry 0 of a row is allocation 1.
extern const uint16_t layer2_class_rows[][16];

}  // namespace audio
