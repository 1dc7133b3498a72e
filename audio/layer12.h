// Layers I and II: allocation, scale factors, requantisation into subband
// samples for the synthesis filter bank.
#pragma once
#include "audio/bitstream.h"
#include "audio/synthesis.h"

namespace audio {

// left/right may be null, or equal to mix the channels. 0 or -600.
int layer1_decode(bit_reader* r, const frame_header* h, synthesis_state* left,
                  synthesis_state* right);
int layer2_decode(bit_reader* r, const frame_header* h, synthesis_state* left,
                  synthesis_state* right);

}  // namespace audio
