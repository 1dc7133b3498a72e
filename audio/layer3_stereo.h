// Stereo processing of Layer III: middle/side and intensity stereo.
#pragma once

namespace audio {

struct layer3_scale_factors {
    int l[22];
    int s[13][3];
    // Intensity positions equal to these (per band) mark bands that are not
    // intensity coded: 7 in MPEG-1, the largest value of the band's length
    // in MPEG-2. The top bands (long 21, short 12) carry no position.
    int l_max[21];
    int s_max[12];
    int intensity_scale;  // MPEG-2: scalefac_compress bit 0 of the right channel
};

// Left and right factors for an intensity position.
void layer3_intensity_factors(bool mpeg1, int pos, int intensity_scale, float* kl, float* kr);

// Intensity stereo over one granule, with middle/side (the 1/sqrt(2) step)
// in the bands that are not intensity coded when ms is set. l holds the
// coded left channel, r the right; sf are the right channel's scale factors.
void layer3_stereo(float* l, float* r, bool short_blocks, bool mixed,
                   const layer3_scale_factors* sf, int table_index, bool mpeg1, bool ms);

}  // namespace audio
