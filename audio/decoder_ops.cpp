// The engine's view of the MPEG decoder: the DecoderOps table over the
// decoder_state record.
#include <stdlib.h>

#include "audio/decoder.h"
#include "audio/engine.h"

namespace audio {
namespace {

void fill_format(const frame_header* h, FrameFormat* f) {
    f->level = 2 - h->version;
    f->layer = h->layer;
    f->bitrate = h->bitrate;
    f->frequency = h->frequency;
    f->mode = h->mode;
    f->channels = h->channels;
    f->samples_per_frame = header_samples_per_channel(h);
}

void* create(decoder_read_function read, void* context) {
    decoder_state* d = static_cast<decoder_state*>(malloc(sizeof(decoder_state)));
    if (d) decoder_init(d, read, context);
    return d;
}

void destroy(void* decoder) {
    decoder_state* d = static_cast<decoder_state*>(decoder);
    decoder_free(d);
    free(d);
}

void reset(void* decoder) { decoder_reset(static_cast<decoder_state*>(decoder)); }

void start_at(void* decoder, int64_t position, int64_t size) {
    decoder_start_at(static_cast<decoder_state*>(decoder), position, size);
}

void reset_synthesis(void* decoder) {
    decoder_state* d = static_cast<decoder_state*>(decoder);
    synthesis_clear(&d->left);
    synthesis_clear(&d->right);
}

int decode_frame(void* decoder, int16_t* samples, FrameFormat* format) {
    decoder_state* d = static_cast<decoder_state*>(decoder);
    decoder_frame_info info;
    int r = decoder_decode_frame(d, samples, &info);
    if (r < 0) return r;
    fill_format(&d->reader.header, format);
    format->stereo = info.stereo;
    format->sample_rate = info.sample_rate;
    format->count = info.samples;
    return 0;
}

int parse_header(const uint8_t* bytes, int length, FrameFormat* format) {
    if (length < 4) return decoder_error_invalid_frame;
    uint32_t word =
        (uint32_t)bytes[0] << 24 | (uint32_t)bytes[1] << 16 | (uint32_t)bytes[2] << 8 | bytes[3];
    frame_header h;
    if (!header_decode(word, &h)) return decoder_error_invalid_frame;
    fill_format(&h, format);
    return 0;
}

void set_options(void* decoder, int channel_mode, int quality) {
    decoder_state* d = static_cast<decoder_state*>(decoder);
    d->channel_mode = channel_mode;
    d->quality = quality;
}

void set_equalizer(void* decoder, const signed char* bands) {
    decoder_set_equalizer(static_cast<decoder_state*>(decoder), bands);
}

const DecoderOps ops = {create,       destroy,     reset,         reset_synthesis, decode_frame,
                        parse_header, set_options, set_equalizer, start_at};

}  // namespace
}  // namespace audio

const DecoderOps* mpeg_decoder_ops() { return &audio::ops; }
