#include "layer3_writer.h"

#include "audio/bitstream.h"
#include "decoder_support.h"

namespace decoder_test {

namespace {

// Scale factors, then the values as count1 quadruples (table B) up to the
// last non-zero one.
bit_writer main_data(const layer3_granule& g) {
    bit_writer w;
    for (size_t i = 0; i < g.scale_factors.size(); ++i)
        w.put((uint32_t)g.scale_factors[i], g.scale_factor_bits[i]);
    int end = 576;
    while (end > 0 && g.values[end - 1] == 0) --end;
    for (int q = 0; q < end; q += 4) {
        uint32_t set = 0;
        for (int i = 0; i < 4; ++i) set = set << 1 | (g.values[q + i] != 0);
        w.put(15 - set, 4);
        for (int i = 0; i < 4; ++i)
            if (g.values[q + i]) w.put(g.values[q + i] < 0, 1);
    }
    return w;
}

void side_info(bit_writer& w, const layer3_granule& g, int part2_3_length, bool mpeg1) {
    w.put((uint32_t)part2_3_length, 12);
    w.put(0, 9);  // big_values: everything is in the count1 region
    w.put((uint32_t)g.global_gain, 8);
    w.put((uint32_t)g.scalefac_compress, mpeg1 ? 4 : 9);
    bool switched = g.block_type != 0;
    w.put(switched, 1);
    if (switched) {
        w.put((uint32_t)g.block_type, 2);
        w.put(g.mixed, 1);
        w.put(0, 10);  // table_select
        for (int s : g.subblock_gain) w.put((uint32_t)s, 3);
    } else {
        w.put(0, 15 + 4 + 3);  // table_select, region0_count, region1_count
    }
    if (mpeg1) w.put(0, 1);  // preflag
    w.put((uint32_t)g.scalefac_scale, 1);
    w.put(1, 1);  // count1 table B
}

}  // namespace

std::vector<uint8_t> write_layer3_frame(const layer3_frame& f) {
    bool mpeg1 = f.version == 1;
    int granules = mpeg1 ? 2 : 1;
    uint32_t word =
        header_word(f.version, 3, f.bitrate_index, f.sampling_frequency, 0, 1, f.mode_extension);
    frame_header h;
    if (!header_decode(word, &h)) return {};

    bit_writer side, data;
    side.put(word, 32);
    side.put(0, mpeg1 ? 9 + 3 + 8 : 8 + 2);  // main_data_begin, private bits, scfsi
    for (int gr = 0; gr < granules; ++gr)
        for (int ch = 0; ch < 2; ++ch) {
            bit_writer m = main_data(f.granule[gr][ch]);
            side_info(side, f.granule[gr][ch], (int)m.bits, mpeg1);
            data.append(m);
        }
    side.append(data);
    size_t length = (size_t)header_frame_length(&h);
    if (side.bytes.size() > length) return {};
    side.bytes.resize(length, 0);
    return side.bytes;
}

}  // namespace decoder_test
