// Layer III: side information, scale factors, Huffman decoding with
// requantisation, stereo processing, alias reduction, hybrid synthesis.
#pragma once
#include "audio/bitstream.h"
#include "audio/synthesis.h"

namespace audio {

struct layer3_state {
    float overlap[2][32][18];  // second half of the last IMDCT per subband
    // Working space of one granule: spectrum, then subband samples by
    // subband and slot (each subband's 18 slots side by side, as the
    // synthesis loads them).
    float xr[2][576];
    float hybrid[2][32][18];
};

void layer3_reset(layer3_state* s);
// Decodes the frame in place; left/right may be null, or equal to mix the
// channels. Returns 0, or -600 for an invalid frame.
int layer3_decode(frame_reader* f, layer3_state* s, synthesis_state* left, synthesis_state* right);

}  // namespace audio
