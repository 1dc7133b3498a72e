// Polyphase synthesis filter bank: 32 subband values in, 32 PCM samples out
// (16 or 8 when down-sampling), with an optional 32-band equaliser.
#pragma once
#include <stdint.h>

namespace audio {

struct synthesis_state {
    // The last 16 matrixed vectors (64 values each), newest at ring[offset].
    float ring[16][64];
    int offset;
    const float* input;  // the 32 subband values of the next call
    int has_equalizer;
    float gains[32];
    int shift;        // down-sampling: 0 full rate, 1 half, 2 quarter
    int16_t* output;  // next sample to write
    int stride;       // 1 for one channel, 2 for interleaved stereo
};

void synthesis_init(synthesis_state* s);
void synthesis_clear(synthesis_state* s);
// Consumes 32 values at s->input, writes 32 >> shift samples at s->output.
void synthesis_run(synthesis_state* s);
// Runs count time slots in order, as count calls of synthesis_run would:
// slot t's subband k is in[t * slot_step + k * band_step]. Several slots
// per call let the vector paths transform them side by side.
void synthesis_run_slots(synthesis_state* s, const float* in, int slot_step, int band_step,
                         int count);
// Writes 32 >> shift zero samples.
void synthesis_silence(synthesis_state* s);

// Equaliser bytes: b >= 0 gives gain 1 + b/32, b < 0 gives 1 / (1 - b/32).
float synthesis_gain_from_byte(signed char b);
signed char synthesis_byte_from_gain(float g);
// 32 bytes for this state's subbands, or null to remove the gains.
void synthesis_set_equalizer(synthesis_state* s, const signed char* bytes);
// 32 bytes; zeros when the state has no gains. Returns has_equalizer.
int synthesis_get_equalizer(const synthesis_state* s, signed char* bytes);

}  // namespace audio
