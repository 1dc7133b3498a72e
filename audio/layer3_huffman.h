// Fast Huffman lookup for Layer III, built once from the code tables.
#pragma once
#include <stdint.h>

#include "audio/bitstream.h"

namespace audio {

// Entries: a leaf holds (bits to consume) | value << 8; a link has bit 31
// set, the next level's width in bits 24..27 and its offset below.
struct huffman_lookup {
    const uint32_t* entries;
    int first_bits;
};

// Big-value table 0..31 (entries null for the tables that code nothing),
// and count1 table A.
const huffman_lookup* huffman_big_value_lookup(int table);
const huffman_lookup* huffman_count1_lookup();

// Next n bits without moving on (n 1..32).
static inline uint32_t bits_peek(const bit_reader* r, int n) {
    size_t byte = r->pos >> 3;
    if (byte > r->limit) byte = r->limit;
    uint64_t v;
    __builtin_memcpy(&v, r->data + byte, 8);
    v = __builtin_bswap64(v) << (r->pos & 7);
    return (uint32_t)(v >> (64 - n));
}

// Decodes one symbol: the value that was coded (x << 4 | y, or the vwxy index).
static inline int huffman_decode(bit_reader* r, const huffman_lookup* t) {
    uint32_t e = t->entries[bits_peek(r, t->first_bits)];
    int consumed = t->first_bits;
    while (e & 0x80000000u) {
        int width = (e >> 24) & 15;
        r->pos += consumed;
        e = t->entries[(e & 0xFFFFFF) + bits_peek(r, width)];
        consumed = width;
    }
    r->pos += e & 0xFF;
    return (int)(e >> 8);
}

}  // namespace audio
