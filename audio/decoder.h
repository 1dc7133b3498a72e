// The MPEG audio decoder (MPEG-1, 2 and 2.5, Layers I, II and III) as a
// plain state record: the engine fills in the input callback, calls
// decoder_decode_frame once per frame and gets 16-bit PCM and the frame's
// stream info.
#pragma once
#include <stdint.h>

#include "audio/bitstream.h"
#include "audio/decoder_errors.h"
#include "audio/layer3.h"
#include "audio/synthesis.h"

namespace audio {

// Largest block one frame produces: 1152 stereo sample pairs.
enum { decoder_max_samples = 2304 };

struct decoder_frame_info {
    int level;        // 1 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer;        // 1, 2 or 3
    int bitrate;      // kbit/s of this frame
    int frequency;    // Hz of the stream
    int mode;         // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    int channels;     // channels in the stream
    int stereo;       // 1 when the block is interleaved stereo
    int sample_rate;  // output rate after down-sampling
    int samples;      // 16-bit values written
};

struct decoder_state {
    frame_reader reader;
    layer3_state layer3;
    synthesis_state left, right;
    int channel_mode;  // 0 both, 1 left only, 2 right only, 3 mixed
    int quality;       // 0 full rate, 1 half, 2 quarter (high rates only)

    // The encoder's tag frame ("Xing" or "Info") that leads a Layer III
    // stream carries no sound; its encoder tag gives the samples the encoder
    // put before and after the music, which are cut so that a song loops
    // without a gap.
    int at_first_frame;  // the next frame is the stream's first
    int64_t skip;        // output samples per channel still to drop at the start
    int64_t remaining;   // output samples per channel left to play; -1: unknown
};

// What the tag frame says (see decoder_read_tag_frame).
struct decoder_tag_frame {
    int is_tag;      // 1: the frame is "Xing" or "Info", not sound
    int64_t frames;  // frames of sound behind it; -1 when not given
    int has_encoder_delay;
    int delay, padding;  // samples per channel the encoder added
};
// Looks for the tag at the start of a Layer III frame's main data (`bytes`,
// `length` of them).
void decoder_read_tag_frame(const uint8_t* bytes, int length, decoder_tag_frame* tag);

void decoder_init(decoder_state* d, decoder_read_fn read, void* ctx);
// Forgets the stream position: reader, reservoir, overlap and filter memory.
void decoder_reset(decoder_state* d);
// Tells the decoder where its input now stands (after a reset): at byte
// `position` of a stream of `size` bytes (0: unknown).
void decoder_start_at(decoder_state* d, int64_t position, int64_t size);
void decoder_free(decoder_state* d);
// Finds and decodes the next frame into out (room for decoder_max_samples).
// Returns 0, the input's error (-514 at the end) or -600 for a frame that
// could not be decoded; after -600 the next call goes on with the next frame.
int decoder_decode_frame(decoder_state* d, int16_t* out, decoder_frame_info* info);
// 64 equaliser bytes (left subbands, then right), or null to switch it off.
void decoder_set_equalizer(decoder_state* d, const signed char* bytes);
// Fills 64 bytes; returns 1 when both channels have gains, else 0.
int decoder_get_equalizer(const decoder_state* d, signed char* bytes);

}  // namespace audio
