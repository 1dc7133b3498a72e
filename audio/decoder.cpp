// The frame dispatcher: finds the next frame, fixes the output format and
// channel routing, and calls the layer decoder.
#include "audio/decoder.h"

#include <fenv.h>
#include <string.h>

#include "audio/layer12.h"

namespace audio {

void decoder_init(decoder_state* d, decoder_read_fn read, void* ctx) {
    memset(d, 0, sizeof *d);
    d->reader.read = read;
    d->reader.ctx = ctx;
    synthesis_init(&d->left);
    synthesis_init(&d->right);
    decoder_reset(d);
    // A new decoder reads a stream from its start.
    frame_reader_start_at(&d->reader, 0, 0);
}

void decoder_start_at(decoder_state* d, int64_t position, int64_t size) {
    frame_reader_start_at(&d->reader, position, size);
}

void decoder_reset(decoder_state* d) {
    frame_reader_reset(&d->reader);
    layer3_reset(&d->layer3);
    synthesis_clear(&d->left);
    synthesis_clear(&d->right);
}

void decoder_free(decoder_state* d) {
    // Everything lives inside the record; nothing to release.
    (void)d;
}

static int quality_shift(int quality, int frequency) {
    if (quality == 1 && frequency >= 32000) return 1;
    if (quality == 2) {
        if (frequency >= 32000) return 2;
        if (frequency >= 16000) return 1;
    }
    return 0;
}

static int decode_frame(decoder_state* d, int16_t* out, decoder_frame_info* info);

int decoder_decode_frame(decoder_state* d, int16_t* out, decoder_frame_info* info) {
    // Rounding to 16 bits follows the floating-point rounding mode; the
    // output must not change when a host sets another one.
    int mode = fegetround();
    if (mode != FE_TONEAREST) fesetround(FE_TONEAREST);
    int r = decode_frame(d, out, info);
    if (mode != FE_TONEAREST) fesetround(mode);
    return r;
}

static int decode_frame(decoder_state* d, int16_t* out, decoder_frame_info* info) {
    int r;
    do {
        r = frame_reader_next(&d->reader);
    } while (r == decoder_error_invalid_frame);
    if (r < 0) return r;

    const frame_header* h = &d->reader.header;
    int shift = quality_shift(d->quality, h->frequency);
    d->left.shift = d->right.shift = shift;

    // Routing: which synthesis states the layer decoder writes.
    synthesis_state* left = &d->left;
    synthesis_state* right = nullptr;
    int stereo = 0;
    if (h->channels == 2) {
        switch (d->channel_mode) {
            case 1: break;
            case 2:
                left = nullptr;
                right = &d->right;
                break;
            case 3: right = &d->left; break;
            default: right = &d->right; stereo = 1;
        }
    }
    d->left.output = out;
    d->left.stride = stereo ? 2 : 1;
    d->right.output = stereo ? out + 1 : out;
    d->right.stride = stereo ? 2 : 1;

    if (info) {
        info->level = 2 - h->version;
        info->layer = h->layer;
        info->bitrate = h->bitrate;
        info->frequency = h->frequency;
        info->mode = h->mode;
        info->channels = h->channels;
        info->stereo = stereo;
        info->sample_rate = h->frequency >> shift;
        info->samples = 0;
    }

    switch (h->layer) {
        case 3: r = layer3_decode(&d->reader, &d->layer3, left, right); break;
        case 2: r = layer2_decode(&d->reader.bits, h, left, right); break;
        default: r = layer1_decode(&d->reader.bits, h, left, right); break;
    }
    if (r < 0) return r;

    if (info) info->samples = (header_samples_per_channel(h) << stereo) >> shift;
    return 0;
}

void decoder_set_equalizer(decoder_state* d, const signed char* bytes) {
    synthesis_set_equalizer(&d->left, bytes);
    synthesis_set_equalizer(&d->right, bytes ? bytes + 32 : nullptr);
}

int decoder_get_equalizer(const decoder_state* d, signed char* bytes) {
    int l = synthesis_get_equalizer(&d->left, bytes);
    int r = synthesis_get_equalizer(&d->right, bytes + 32);
    return l && r;
}

}  // namespace audio
