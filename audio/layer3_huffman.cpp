// Builds multi-level lookup tables from the standard's (length, code) lists.
#include "audio/layer3_huffman.h"

#include <vector>

#include "audio/mpeg_tables.h"

namespace audio {

namespace {

struct code {
    int length;
    uint32_t bits;
    int value;
};

// Fills entries for codes that start with `prefix` of `depth` bits (the
// codes handed in), using a level of `width` bits at `base`; longer codes
// get linked sub-levels. Each code is visited once per level, so building
// every table at start-up stays well under a millisecond.
void build_level(std::vector<uint32_t>& out, size_t base, int width, const std::vector<code>& codes,
                 uint32_t prefix, int depth) {
    int d = depth + width;
    uint32_t mask = (1u << width) - 1;
    std::vector<int> longest(1u << width, 0);
    for (const code& c : codes) {
        if (c.length <= d) {
            // A code that ends within this level fills every slot it covers.
            uint32_t first = (c.bits << (d - c.length)) & mask;
            uint32_t leaf = (uint32_t)(c.length - depth) | (uint32_t)c.value << 8;
            for (uint32_t j = 0; j < (1u << (d - c.length)); ++j) out[base + first + j] = leaf;
        } else {
            uint32_t slot = (c.bits >> (c.length - d)) & mask;
            if (c.length - d > longest[slot]) longest[slot] = c.length - d;
        }
    }
    for (uint32_t i = 0; i <= mask; ++i) {
        if (longest[i] == 0) continue;  // a leaf, or unreachable for a complete code (decodes as 0)
        int sub = longest[i] > 6 ? 6 : longest[i];
        size_t at = out.size();
        out.resize(at + (1u << sub), 0);
        out[base + i] = 0x80000000u | (uint32_t)sub << 24 | (uint32_t)at;
        // Only the longer codes under this prefix can land in the sub-level.
        uint32_t p = (prefix << width) | i;
        std::vector<code> under;
        for (const code& c : codes)
            if (c.length > d && (c.bits >> (c.length - d)) == p) under.push_back(c);
        build_level(out, at, sub, under, p, d);
    }
}

struct lookup_set {
    std::vector<uint32_t> storage[33];
    huffman_lookup tables[33];

    lookup_set() {
        for (int t = 0; t < 33; ++t) {
            std::vector<code> codes;
            if (t < 32) {
                const huffman_table& h = layer3_huffman[t];
                if (!h.codes) {
                    tables[t] = {nullptr, 0};
                    continue;
                }
                for (int x = 0; x < h.size; ++x)
                    for (int y = 0; y < h.size; ++y) {
                        uint32_t w = h.codes[x * h.size + y];
                        codes.push_back({(int)(w >> 24), w & 0xFFFFFF,
                                         ((x != 0) + (y != 0)) << 8 | x << 4 | y});
                    }
            } else {
                for (int i = 0; i < 16; ++i)
                    codes.push_back(
                        {(int)(layer3_count1_a[i] >> 24), layer3_count1_a[i] & 0xFFFFFF, i});
            }
            int longest = 0;
            for (const code& c : codes) longest = c.length > longest ? c.length : longest;
            int first = longest > 8 ? 8 : longest;
            std::vector<uint32_t>& out = storage[t];
            out.assign(1u << first, 0);
            build_level(out, 0, first, codes, 0, 0);
            tables[t] = {out.data(), first};
        }
    }
};

const lookup_set& lookups() {
    static const lookup_set set;
    return set;
}

struct quad_set {
    uint16_t entries[2][1024];
    quad_set() {
        const huffman_lookup* a = &lookups().tables[32];
        for (int t = 0; t < 2; ++t)
            for (uint32_t index = 0; index < 1024; ++index) {
                uint64_t w = (uint64_t)index << 54;
                int used = 0;
                int v;
                if (t == 0) {
                    v = huffman_decode_window(a, w, &used);
                } else {
                    v = 15 - (int)(index >> 6);
                    used = 4;
                }
                uint16_t e = 0;
                for (int i = 0; i < 4; ++i) {
                    if (!(v & (8 >> i))) continue;
                    e |= (uint16_t)(1u << (4 + i));
                    if ((w << used) >> 63) e |= (uint16_t)(1u << (8 + i));
                    ++used;
                }
                entries[t][index] = (uint16_t)(e | used);
            }
    }
};

}  // namespace

const huffman_lookup* huffman_big_value_lookup(int table) {
    const huffman_lookup* t = &lookups().tables[table & 31];
    return t->entries ? t : nullptr;
}

const uint16_t* huffman_count1_quads(int table) {
    static const quad_set set;
    return set.entries[table ? 1 : 0];
}

}  // namespace audio
