// The library's own MPEG decoder behind the engine's decoder interface.
#include <cstdlib>

#include "decoder.h"
#include "engine.h"

namespace {

void* create(decoder_read_function read, void* context) {
    decoder_state* d = static_cast<decoder_state*>(malloc(sizeof(decoder_state)));
    if (d) decoder_init(d, read, context);
    return d;
}

void destroy(void* state) {
    if (!state) return;
    decoder_free(static_cast<decoder_state*>(state));
    free(state);
}

void reset(void* state) { decoder_reset(static_cast<decoder_state*>(state)); }

void reset_synthesis(void* state) {
    decoder_state* d = static_cast<decoder_state*>(state);
    synthesis_clear(&d->left);
    synthesis_clear(&d->right);
}

int decode_frame(void* state, int16_t* samples, FrameFormat* format) {
    decoder_frame_info info{};
    int result = decoder_decode_frame(static_cast<decoder_state*>(state), samples, &info);
    if (result < 0) return result;
    format->level = info.level;
    format->layer = info.layer;
    format->bitrate = info.bitrate;
    format->frequency = info.frequency;
    format->mode = info.mode;
    format->channels = info.channels;
    format->stereo = info.stereo;
    format->sample_rate = info.sample_rate;
    format->count = info.samples;
    format->samples_per_frame = 0;
    return 0;
}

// The header's version code (1 MPEG-1, 0 MPEG-2, 2 MPEG-2.5) as a level.
int level_of(int version) { return version == 1 ? 1 : version == 0 ? 2 : 0; }

int parse_header(const uint8_t* bytes, int length, FrameFormat* format) {
    if (length < 4) return -600;
    uint32_t word = static_cast<uint32_t>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
    frame_header h{};
    if (!header_decode(word, &h)) return -600;
    format->level = level_of(h.version);
    format->layer = h.layer;
    format->bitrate = h.bitrate;
    format->frequency = h.frequency;
    format->mode = h.mode;
    format->channels = h.channels;
    format->samples_per_frame = header_samples_per_channel(&h);
    return 0;
}

void set_options(void* state, int channel_mode, int quality) {
    decoder_state* d = static_cast<decoder_state*>(state);
    d->channel_mode = channel_mode;
    d->quality = quality;
}

void set_equalizer(void* state, const signed char* bands) {
    decoder_set_equalizer(static_cast<decoder_state*>(state), bands);
}

const DecoderOps ops = {create,       destroy,     reset,         reset_synthesis, decode_frame,
                        parse_header, set_options, set_equalizer};

}  // namespace

const DecoderOps* mpeg_decoder_ops() { return &ops; }
