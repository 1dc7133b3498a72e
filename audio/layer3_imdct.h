// The inverse MDCTs of Layer III with their windows.
#pragma once

namespace audio {

// 18 spectral values in, 36 windowed outputs (block types 0, 1, 3).
void imdct36(const float* in, int block_type, float* out);
// The same in two steps, so several subbands transform at once: the
// unwindowed 18-point outputs of count subbands (18 inputs each, one after
// the other), then one subband's window into 36 outputs.
void imdct36_transform(const float* in, int count, float (*y)[18]);
void imdct36_window(const float* y, int block_type, float* out);
// The window step fused with the overlap: out[i] = first half + overlap[i],
// then overlap takes the second half (18 values each).
void imdct36_overlap(const float* y, int block_type, float* overlap, float* out);
// Three windows of 6 values each, overlapped into 36 windowed outputs.
void imdct_short(const float* w0, const float* w1, const float* w2, float* out);

}  // namespace audio
