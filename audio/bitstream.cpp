// Frame headers, the resumable frame reader and the Layer III reservoir.
#include "audio/bitstream.h"

#include <string.h>

#include "audio/decoder_errors.h"
#include "audio/mpeg_tables.h"

namespace audio {

int header_decode(uint32_t word, frame_header* h) {
    memset(h, 0, sizeof *h);
    h->word = word;
    if ((word & 0xFFE00000u) != 0xFFE00000u) return 0;
    int v20 = (word >> 20) & 1, v19 = (word >> 19) & 1;
    h->version = v20 ? (v19 ? 1 : 0) : (v19 ? 3 : 2);
    h->layer_code = (word >> 17) & 3;
    h->protection = (word >> 16) & 1;
    h->bitrate_index = (word >> 12) & 15;
    h->sampling_frequency = (word >> 10) & 3;
    h->padding = (word >> 9) & 1;
    h->private_bit = (word >> 8) & 1;
    h->mode = (word >> 6) & 3;
    h->mode_extension = (word >> 4) & 3;
    h->emphasis = word & 3;

    if (h->bitrate_index == 0 || h->bitrate_index == 15) return 0;
    if (h->layer_code == 0) return 0;
    // Padding is only needed (and only accepted) at 44100, 22050 and 11025 Hz.
    if (h->padding && h->sampling_frequency != 0) return 0;
    if (h->sampling_frequency == 3) return 0;
    if (h->version == 3) return 0;
    if (h->version == 2 && h->layer_code != 1) return 0;

    h->layer = 4 - h->layer_code;
    h->channels = h->mode == 3 ? 1 : 2;
    if (h->version == 1 && h->layer == 2) {
        int i = h->bitrate_index;
        bool mono_only = i == 1 || i == 2 || i == 3 || i == 5;
        bool stereo_only = i >= 11;
        if (mono_only && h->mode != 3) return 0;
        if (stereo_only && h->mode == 3) return 0;
    }
    h->bitrate = mpeg_bitrates[h->version == 1 ? 0 : 1][h->layer - 1][h->bitrate_index];
    h->frequency = mpeg_frequencies[h->version][h->sampling_frequency];
    h->length = header_frame_length(h);
    return 1;
}

int header_frame_length(const frame_header* h) {
    int p = (h->padding && h->sampling_frequency == 0) ? 1 : 0;
    switch (h->layer) {
        case 1: return (12000 * h->bitrate / h->frequency + p) * 4;
        case 2: return 144000 * h->bitrate / h->frequency + p;
        default: {
            int n = 144000 * h->bitrate / h->frequency;
            if (h->version != 1) n /= 2;
            return n + p;
        }
    }
}

int header_side_info_length(const frame_header* h) {
    int n;
    if (h->version == 1)
        n = h->channels == 2 ? 32 : 17;
    else
        n = h->channels == 2 ? 17 : 9;
    return n + (h->protection == 0 ? 2 : 0);
}

int header_samples_per_channel(const frame_header* h) {
    if (h->layer == 1) return 384;
    if (h->layer == 3 && h->version != 1) return 576;
    return 1152;
}

const char* header_layer_name(int layer_code) {
    static const char* const names[4] = {"INVALID", "layer III", "layer II", "layer I"};
    return names[layer_code & 3];
}

const char* header_mode_name(int mode) {
    static const char* const names[4] = {"stereo", "joint stereo", "dual channel", "mono"};
    return names[mode & 3];
}

// ---- bit reader ----------------------------------------------------------

void bits_start(bit_reader* r, const uint8_t* data, size_t bytes) {
    r->data = data;
    r->pos = 0;
    // Every buffer the reader is given has frame_buffer_slack zero bytes
    // behind its data; a read past the data starts at its end and so sees
    // only zeros.
    r->limit = bytes < (size_t)frame_buffer_size ? bytes : (size_t)frame_buffer_size;
}

void bits_put_back(bit_reader* r, int n) { r->pos = (size_t)n > r->pos ? 0 : r->pos - n; }

void bits_skip(bit_reader* r, size_t n) { r->pos += n; }

// ---- frame reader --------------------------------------------------------

void frame_reader_reset(frame_reader* f) {
    f->state = 0;
    f->has_lookahead = 0;
    f->at_start = 0;
    f->stream_size = 0;
    f->skip_remaining = 0;
    f->window_fill = 0;
    f->pending_fill = 0;
    f->pending_pos = 0;
    f->stage_fill = 0;
    f->frame_bytes = 0;
    f->write_pos = 0;
    f->main_start = 0;
    f->main_bytes = 0;
    f->fill = 0;
    memset(f->frame, 0, sizeof f->frame);
    bits_start(&f->bits, f->frame, 0);
}

void frame_reader_start_at(frame_reader* f, int64_t position, int64_t size) {
    f->at_start = position == 0;
    f->stream_size = size > 0 ? size : 0;
}

// Reads from the bytes the header search took too far first, then from
// the input.
static int source_read(frame_reader* f, uint8_t* dst, int size) {
    if (f->pending_pos < f->pending_fill) {
        int n = f->pending_fill - f->pending_pos;
        if (n > size) n = size;
        memcpy(dst, f->pending + f->pending_pos, (size_t)n);
        f->pending_pos += n;
        return n;
    }
    int n = f->read(f->ctx, dst, size);
    if (n > size) n = size;  // a callback that overstates
    return n;
}

// Reads until `need` bytes are at dst; the count so far lives in *have so
// that an input error can be resumed later.
static int read_fully(frame_reader* f, uint8_t* dst, int need, int* have) {
    while (*have < need) {
        int n = source_read(f, dst + *have, need - *have);
        if (n == 0) return decoder_error_input_end;
        if (n < 0) return n;
        *have += n;
    }
    return 0;
}

static uint32_t be32(const uint8_t* p) {
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

// Skips an ID3v2 tag at the very start of the input, so that no false sync
// inside it is decoded. The 10-byte tag header sits in the window.
static int skip_tag(frame_reader* f) {
    uint8_t scratch[512];
    while (f->skip_remaining > 0) {
        int want =
            f->skip_remaining > sizeof scratch ? (int)sizeof scratch : (int)f->skip_remaining;
        int n = source_read(f, scratch, want);
        if (n == 0) return decoder_error_input_end;
        if (n < 0) return n;
        f->skip_remaining -= n;
    }
    return 0;
}

// The size of the ID3v2 tag whose 10-byte header is in the window, or -1
// when those bytes are no tag this stream can hold.
static int64_t tag_size(const frame_reader* f) {
    const uint8_t* w = f->window;
    if ((w[6] | w[7] | w[8] | w[9]) >= 0x80) return -1;
    int64_t size = (int64_t)w[6] << 21 | (int64_t)w[7] << 14 | (int64_t)w[8] << 7 | w[9];
    if (w[5] & 0x10) size += 10;  // footer
    if (f->stream_size > 0 && 10 + size > f->stream_size) return -1;
    return size;
}

// Finds the next valid header; the search window survives input errors.
// The search moves on one byte at a time, so a header that starts inside
// rejected bytes is still found.
static int find_header(frame_reader* f, frame_header* h) {
    for (;;) {
        if (f->skip_remaining > 0) {
            int r = skip_tag(f);
            if (r < 0) return r;
            f->window_fill = 0;
        }
        int r = read_fully(f, f->window, 4, &f->window_fill);
        if (r < 0) return r;
        if (f->at_start && memcmp(f->window, "ID3", 3) == 0) {
            r = read_fully(f, f->window, 10, &f->window_fill);
            if (r < 0) return r;
            f->at_start = 0;
            int64_t size = tag_size(f);
            if (size >= 0) {
                f->skip_remaining = (uint32_t)size;
                f->window_fill = 0;
                continue;
            }
        }
        f->at_start = 0;
        if (f->window[0] == 0xFF && (f->window[1] & 0xE0) == 0xE0 &&
            header_decode(be32(f->window), h)) {
            // Bytes read behind the header belong to the frame.
            f->pending_fill = f->window_fill - 4;
            f->pending_pos = 0;
            memcpy(f->pending, f->window + 4, (size_t)f->pending_fill);
            f->window_fill = 0;
            return 0;
        }
        memmove(f->window, f->window + 1, (size_t)f->window_fill - 1);
        f->window_fill -= 1;
    }
}

int frame_reader_next(frame_reader* f) {
    frame_header* h = &f->header;
    for (;;) {
        switch (f->state) {
            case 0: {
                if (f->has_lookahead) {
                    header_decode(f->lookahead, h);
                    f->has_lookahead = 0;
                } else {
                    int r = find_header(f, h);
                    if (r < 0) return r;
                }
                f->state = 1;
                f->stage_fill = 0;
                break;
            }
            case 1: {
                if (h->layer != 3) {
                    int need = h->length - 4;
                    if (need > frame_buffer_size)
                        need = frame_buffer_size;  // cannot happen with valid headers
                    int r = read_fully(f, f->frame, need, &f->stage_fill);
                    if (r < 0) return r;
                    f->frame_bytes = need;
                    memset(f->frame + need, 0, frame_buffer_slack);
                    bits_start(&f->bits, f->frame, need);
                    if (h->protection == 0) bits_skip(&f->bits, 16);
                    f->state = 4;
                    f->stage_fill = 0;
                    break;
                }
                int side = header_side_info_length(h);
                int r = read_fully(f, f->frame, side, &f->stage_fill);
                if (r < 0) return r;
                f->frame_bytes = side;
                memset(f->frame + side, 0, frame_buffer_slack);
                bits_start(&f->bits, f->frame, side);
                if (h->protection == 0) bits_skip(&f->bits, 16);
                f->main_start = f->write_pos;
                f->main_bytes = 0;
                f->state = 2;
                f->stage_fill = 0;
                break;
            }
            case 2:
            case 3: {
                int total = h->length - 4 - header_side_info_length(h);
                if (total < 0) total = 0;
                // Main data goes to the ring at the write position; a run past
                // the ring's end is finished at its start.
                while (f->main_bytes < total) {
                    int room = reservoir_size - f->write_pos;
                    int want = total - f->main_bytes;
                    if (want > room) {
                        want = room;
                        f->state = 3;
                    }
                    int have = 0;
                    int r = read_fully(f, f->ring + f->write_pos, want, &have);
                    // Partial progress is kept even when the read fails.
                    f->main_bytes += have;
                    f->write_pos = (f->write_pos + have) % reservoir_size;
                    if (r < 0) return r;
                }
                f->state = 4;
                f->stage_fill = 0;
                break;
            }
            case 4: {
                int r = read_fully(f, f->window, 4, &f->stage_fill);
                if (r == decoder_error_input_end) {
                    // The last frame of the input is decoded without a follower.
                    f->state = 0;
                    f->stage_fill = 0;
                    f->window_fill = 0;
                    return 0;
                }
                if (r < 0) return r;
                f->state = 0;
                f->stage_fill = 0;
                uint32_t word = be32(f->window);
                frame_header next;
                if (header_decode(word, &next)) {
                    f->lookahead = word;
                    f->has_lookahead = 1;
                    f->window_fill = 0;
                    return 0;
                }
                // Not followed by a header: drop this frame and search on from
                // the bytes just read, so a header among them is not lost.
                f->window_fill = 4;
                memmove(f->window, f->window + 1, 3);
                f->window_fill = 3;
                return decoder_error_invalid_frame;
            }
        }
    }
}

int frame_reader_gather(frame_reader* f, int main_data_begin, int bits) {
    int d = f->main_bytes;
    f->fill += d;
    int available = f->fill;
    if (f->fill > reservoir_size) f->fill = reservoir_size;
    // The frame's main data runs from main_data_begin bytes before its own
    // to the end of its own; what lies before the oldest byte kept (after a
    // start or seek mid-stream) was never read.
    int reach = main_data_begin + d;
    int missing = available < reach ? reach - available : 0;
    if (bits == 0) return 0;  // nothing to borrow, nothing missing
    int bytes = (bits + 7) / 8;
    // The frame's Huffman data must lie within the frame and what it may borrow.
    if (bytes > reach || bytes > frame_buffer_size) return decoder_error_invalid_frame;
    int zeros = missing < bytes ? missing : bytes;
    memset(f->frame, 0, (size_t)zeros);
    int start = (f->main_start - main_data_begin + zeros + 2 * reservoir_size) % reservoir_size;
    int count = bytes - zeros;
    int first = reservoir_size - start;
    if (first >= count) {
        memcpy(f->frame + zeros, f->ring + start, (size_t)count);
    } else {
        memcpy(f->frame + zeros, f->ring + start, (size_t)first);
        memcpy(f->frame + zeros + first, f->ring, (size_t)(count - first));
    }
    memset(f->frame + bytes, 0, frame_buffer_slack);
    f->frame_bytes = bytes;
    bits_start(&f->bits, f->frame, bytes);
    return missing;
}

}  // namespace audio
