// Fast Huffman lookup for Layer III, built once from the code tables.
#pragma once
#include <stdint.h>

#include "audio/bitstream.h"

namespace audio {

// Entries: a leaf holds (bits to consume) | value << 8, and for big values
// the count of non-zero values (the sign bits that follow) << 16; a link
// has bit 31 set, the next level's width in bits 24..27 and its offset below.
struct huffman_lookup {
    const uint32_t* entries;
    int first_bits;
};

// Big-value table 0..31 (entries null for the tables that code nothing).
const huffman_lookup* huffman_big_value_lookup(int table);

// Count1 quadruples with their signs in one step: indexed by the next 10
// bits (the longest code, 6 bits, and four signs), an entry holds the bits
// taken (bits 0..3), which of the four lines are non-zero (bit 4 + i for line i)
// and which of those are negative (bit 8 + i). table 0 is the coded table
// A, 1 the plain four bits of table B.
const uint16_t* huffman_count1_quads(int table);

// The next bits from pos, most significant first, in the top of a 64-bit
// word: at least 57 of them are valid. Past the data's end it sees only the
// zeroed slack behind it, like bits_get.
static inline uint64_t bits_window(const bit_reader* r, size_t pos) {
    size_t byte = pos >> 3;
    if (byte > r->limit) byte = r->limit;
    uint64_t v;
    __builtin_memcpy(&v, r->data + byte, 8);
    return __builtin_bswap64(v) << (pos & 7);
}

// The leaf of the code at the top of a window (codes are at most 19 bits
// long); adds its length to *used.
static inline uint32_t huffman_leaf_window(const huffman_lookup* t, uint64_t w, int* used) {
    int width = t->first_bits;
    uint32_t e = t->entries[w >> (64 - width)];
    int base = 0;
    while (e & 0x80000000u) {
        base += width;
        width = (e >> 24) & 15;
        e = t->entries[(e & 0xFFFFFF) + (uint32_t)((w << base) >> (64 - width))];
    }
    *used += base + (int)(e & 0xFF);
    return e;
}

// Decodes one symbol: the value that was coded (x << 4 | y, or the vwxy
// index); adds its length to *used.
static inline int huffman_decode_window(const huffman_lookup* t, uint64_t w, int* used) {
    return (int)((huffman_leaf_window(t, w, used) >> 8) & 0xFF);
}

}  // namespace audio
