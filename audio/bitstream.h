// MPEG audio frames: header decoding and checks, frame lengths, the resumable
// frame reader with its look-ahead header, the Layer III bit reservoir, and
// the bit reader the layer decoders use.
#pragma once
#include <stddef.h>
#include <stdint.h>

namespace audio {

// Reads up to size bytes into buf: the count read, 0 or -514 at the end of
// input, or another negative error code.
typedef int (*decoder_read_fn)(void* ctx, void* buf, int size);

struct frame_header {
    uint32_t word;
    int version;     // 1 MPEG-1, 0 MPEG-2, 2 MPEG-2.5, 3 reserved
    int layer_code;  // 3 Layer I, 2 Layer II, 1 Layer III
    int protection;  // 0: a CRC follows the header
    int bitrate_index;
    int sampling_frequency;
    int padding;
    int private_bit;
    int mode;  // 0 stereo, 1 joint, 2 dual channel, 3 mono
    int mode_extension;
    int emphasis;
    // Derived from the fields above.
    int layer;      // 1, 2 or 3
    int bitrate;    // kbit/s
    int frequency;  // Hz
    int channels;   // 1 or 2
    int length;     // bytes, header included
};

// Splits a header word; returns 1 when it is a valid frame header.
int header_decode(uint32_t word, frame_header* h);
int header_frame_length(const frame_header* h);
int header_side_info_length(const frame_header* h);  // Layer III, CRC included
int header_samples_per_channel(const frame_header* h);
const char* header_layer_name(int layer_code);
const char* header_mode_name(int mode);

enum {
    frame_buffer_size = 2048,
    frame_buffer_slack = 16,  // zero bytes behind the data for over-reads
    reservoir_size = 4096,
};

struct bit_reader {
    const uint8_t* data;
    size_t pos;    // in bits from data
    size_t limit;  // the data's end: reads past it see only the zero slack
};

void bits_start(bit_reader* r, const uint8_t* data, size_t bytes);
// The next n bits (0..32), most significant first. Reads past the data see
// the zeroed slack behind it.
static inline uint32_t bits_get(bit_reader* r, int n) {
    if (n <= 0) return 0;
    size_t byte = r->pos >> 3;
    if (byte > r->limit) byte = r->limit;  // hostile lengths: read the slack
    uint64_t v;
    __builtin_memcpy(&v, r->data + byte, 8);
    v = __builtin_bswap64(v) << (r->pos & 7);
    r->pos += n;
    return (uint32_t)(v >> (64 - n));
}
void bits_put_back(bit_reader* r, int n);
void bits_skip(bit_reader* r, size_t n);

struct frame_reader {
    decoder_read_fn read;
    void* ctx;

    int state;            // 0 header, 1 side info, 2 main data, 3 wrapped rest, 4 next header
    frame_header header;  // the frame in place
    uint32_t lookahead;
    int has_lookahead;
    int at_start;         // at the stream's first byte: an ID3v2 tag may be skipped
    int64_t stream_size;  // the input's size in bytes, 0 when unknown
    uint32_t skip_remaining;

    // Partial reads survive an input error: window for the header search
    // and the byte count already read for the current stage.
    uint8_t window[10];
    int window_fill;
    // Bytes the search read behind a header; the frame's first bytes.
    uint8_t pending[10];
    int pending_fill;
    int pending_pos;
    int stage_fill;

    uint8_t frame[frame_buffer_size + frame_buffer_slack];
    int frame_bytes;  // valid bytes in frame[]
    bit_reader bits;

    uint8_t ring[reservoir_size];
    int write_pos;
    int main_start;  // where this frame's main data begins in the ring
    int main_bytes;  // bytes of main data this frame added
    int fill;        // reservoir bytes stored since reset (max 4096)
};

// Forgets everything; the reader then stands at an unknown place.
void frame_reader_reset(frame_reader* f);
// Tells the reader where the input stands: a tag is skipped only at the
// stream's start (position 0), never past a known size (0: unknown).
void frame_reader_start_at(frame_reader* f, int64_t position, int64_t size);
// 0 with the next good frame in place, or the input's error (-514 at end).
// -600 when the frame just read is not followed by a valid header.
int frame_reader_next(frame_reader* f);
// Copies bits of main data, from main_data_begin bytes before this frame's
// own, to the frame buffer. Returns how many of those leading bytes the
// reservoir no longer (or never) held, which read as zeros: 0 when all were
// there. -600 when the lengths cannot fit.
int frame_reader_gather(frame_reader* f, int main_data_begin, int bits);

}  // namespace audio
