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
    decoder_start_at(d, 0, 0);
}

static int quality_shift(int quality, int frequency);

// Samples every Layer III decoder outputs before the encoder's first one:
// the filter bank's and the overlap's delay together.
enum { decoder_delay = 529 };

void decoder_start_at(decoder_state* d, int64_t position, int64_t size) {
    frame_reader_start_at(&d->reader, position, size);
    // Only at the stream's start is the tag frame there to be read; past
    // it the count of samples left is not known.
    d->at_first_frame = position == 0;
    d->skip = 0;
    d->remaining = -1;
}

static uint32_t tag_be32(const uint8_t* b) {
    return (uint32_t)b[0] << 24 | (uint32_t)b[1] << 16 | (uint32_t)b[2] << 8 | b[3];
}

void decoder_read_tag_frame(const uint8_t* bytes, int length, decoder_tag_frame* tag) {
    memset(tag, 0, sizeof *tag);
    tag->frames = -1;
    if (length < 8 || (memcmp(bytes, "Xing", 4) != 0 && memcmp(bytes, "Info", 4) != 0)) return;
    tag->is_tag = 1;
    uint32_t flags = tag_be32(bytes + 4);
    int at = 8;
    if (flags & 0x1) {
        if (at + 4 > length) return;
        tag->frames = tag_be32(bytes + at);
        at += 4;
    }
    if (flags & 0x2) at += 4;    // byte count
    if (flags & 0x4) at += 100;  // table of contents
    if (flags & 0x8) at += 4;    // quality
    // The encoder tag: a 9-byte encoder name, then, 21 bytes in, the delay
    // and the padding in 12 bits each.
    if (at + 24 > length) return;
    const uint8_t* e = bytes + at;
    bool named = memcmp(e, "LAME", 4) == 0 || memcmp(e, "Lavc", 4) == 0 ||
                 memcmp(e, "Lavf", 4) == 0 || memcmp(e, "L3.", 3) == 0;
    if (!named) return;
    tag->has_encoder_delay = 1;
    tag->delay = e[21] << 4 | e[22] >> 4;
    tag->padding = (e[22] & 0x0F) << 8 | e[23];
}

// The stream's first frame: when it is the tag frame, takes the encoder's
// delay and padding from it and returns 1 (the frame is not sound).
static int take_tag_frame(decoder_state* d) {
    const frame_reader* f = &d->reader;
    const frame_header* h = &f->header;
    if (h->layer != 3) return 0;
    // The tag follows the side information: at the start of the main data,
    // or two bytes earlier when the frame has a CRC (encoders place it as if
    // there were none). The side information's last two bytes and the main
    // data are copied out together.
    uint8_t bytes[2 + 200];
    int side = f->frame_bytes;
    if (side < 2) return 0;
    bytes[0] = f->frame[side - 2];
    bytes[1] = f->frame[side - 1];
    int length = f->main_bytes < 200 ? f->main_bytes : 200;
    for (int i = 0; i < length; ++i) bytes[2 + i] = f->ring[(f->main_start + i) % reservoir_size];
    decoder_tag_frame tag;
    int at = h->protection == 0 ? 0 : 2;
    decoder_read_tag_frame(bytes + at, length + 2 - at, &tag);
    if (!tag.is_tag) return 0;
    if (tag.has_encoder_delay && tag.frames >= 0) {
        int shift = quality_shift(d->quality, h->frequency);
        int64_t total = tag.frames * header_samples_per_channel(h) - tag.delay - tag.padding;
        if (total < 0) total = 0;
        d->skip = (int64_t)(tag.delay + decoder_delay) >> shift;
        d->remaining = total >> shift;
    }
    return 1;
}

// Drops the samples the encoder added before and after the music from the
// block just decoded (n samples per channel, interleaved when stereo).
static int trim_block(decoder_state* d, int16_t* out, int n, int stereo) {
    if (d->skip > 0) {
        int drop = d->skip < n ? (int)d->skip : n;
        memmove(out, out + (drop << stereo), (size_t)((n - drop) << stereo) * sizeof *out);
        n -= drop;
        d->skip -= drop;
    }
    if (d->remaining >= 0) {
        if (n > d->remaining) n = (int)d->remaining;
        d->remaining -= n;
    }
    return n;
}

void decoder_reset(decoder_state* d) {
    frame_reader_reset(&d->reader);
    d->at_first_frame = 0;
    d->skip = 0;
    d->remaining = -1;
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
    decoder_frame_info own;
    if (!info) info = &own;
    int r;
    for (;;) {
        // Every sample the encoder gave has been played: the song ends here,
        // before the padding.
        if (d->remaining == 0) {
            r = decoder_error_input_end;
            break;
        }
        r = decode_frame(d, out, info);
        if (r < 0) break;
        int stereo = info->stereo;
        int n = trim_block(d, out, info->samples >> stereo, stereo);
        info->samples = n << stereo;
        if (n > 0) break;  // a block wholly cut goes on to the next frame
    }
    if (mode != FE_TONEAREST) fesetround(mode);
    return r;
}

static int decode_frame(decoder_state* d, int16_t* out, decoder_frame_info* info) {
    int r;
    for (;;) {
        do {
            r = frame_reader_next(&d->reader);
        } while (r == decoder_error_invalid_frame);
        if (r < 0) return r;
        if (!d->at_first_frame) break;
        d->at_first_frame = 0;
        if (!take_tag_frame(d)) break;
    }

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
