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

// Fills entries for codes that start with `prefix` of `depth` bits, using a
// level of `width` bits at `base`; longer codes get linked sub-levels.
void build_level(std::vector<uint32_t>& out, size_t base, int width, const std::vector<code>& codes,
                 uint32_t prefix, int depth) {
    for (uint32_t i = 0; i < (1u << width); ++i) {
        uint32_t p = (prefix << width) | i;
        int d = depth + width;
        // A code that ends within this level fills every slot it covers.
        const code* leaf = nullptr;
        int longest = 0;
        for (const code& c : codes) {
            if (c.length <= d) {
                if ((p >> (d - c.length)) == c.bits && c.length > depth) leaf = &c;
            } else if ((c.bits >> (c.length - d)) == p) {
                if (c.length - d > longest) longest = c.length - d;
            }
        }
        if (leaf) {
            out[base + i] = (uint32_t)(leaf->length - depth) | (uint32_t)leaf->value << 8;
        } else if (longest > 0) {
            int sub = longest > 6 ? 6 : longest;
            size_t at = out.size();
            out.resize(at + (1u << sub), 0);
            out[base + i] = 0x80000000u | (uint32_t)sub << 24 | (uint32_t)at;
            // Only the longer codes under this prefix can land in the
            // sub-level; handing down just those keeps start-up quick.
            std::vector<code> under;
            for (const code& c : codes)
                if (c.length > d && (c.bits >> (c.length - d)) == p) under.push_back(c);
            build_level(out, at, sub, under, p, d);
        } else {
            out[base + i] = 0;  // unreachable for a complete code; decodes as 0
        }
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
                        codes.push_back({(int)(w >> 24), w & 0xFFFFFF, x << 4 | y});
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

}  // namespace

const huffman_lookup* huffman_big_value_lookup(int table) {
    const huffman_lookup* t = &lookups().tables[table & 31];
    return t->entries ? t : nullptr;
}

const huffman_lookup* huffman_count1_lookup() { return &lookups().tables[32]; }

}  // namespace audio
