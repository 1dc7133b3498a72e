// Fuzzes the frame decoder over all layers: the first byte picks the
// channel routing, the quality and the read size (so short reads and the
// resumable states are exercised); the rest is the stream.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "audio/decoder.h"

using namespace audio;  // the decoder's internals

namespace {

struct input {
    const uint8_t* data;
    size_t size;
    size_t pos;
    int chunk;
    int calls;
};

int read_input(void* ctx, void* buf, int size) {
    input* in = static_cast<input*>(ctx);
    ++in->calls;
    if (in->calls % 13 == 0) return -502;  // a transient input error now and then
    size_t left = in->size - in->pos;
    if (left == 0) return decoder_error_input_end;
    size_t n = (size_t)size < left ? (size_t)size : left;
    if (n > (size_t)in->chunk) n = (size_t)in->chunk;
    memcpy(buf, in->data + in->pos, n);
    in->pos += n;
    return (int)n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static decoder_state d;
    static const int chunks[4] = {1, 7, 418, 1 << 20};
    input in{data + 1, size - 1, 0, chunks[(data[0] >> 4) & 3], 0};
    decoder_init(&d, read_input, &in);
    d.channel_mode = data[0] & 3;
    d.quality = (data[0] >> 2) % 3;
    if (data[0] & 0x40) {
        signed char eq[64];
        for (int i = 0; i < 64; ++i) eq[i] = (signed char)(i * 37 - 100);
        decoder_set_equalizer(&d, eq);
    }
    int16_t block[decoder_max_samples + 1];
    block[decoder_max_samples] = 0x5A5A;
    for (int turns = 0; turns < 100000; ++turns) {
        decoder_frame_info info;
        int r = decoder_decode_frame(&d, block, &info);
        if (r == decoder_error_input_end) break;
        if (r == 0 && (info.samples < 0 || info.samples > decoder_max_samples)) __builtin_trap();
    }
    if (block[decoder_max_samples] != 0x5A5A) __builtin_trap();  // wrote past the block
    decoder_free(&d);
    return 0;
}
