// Error codes the decoder returns; values are the audio library's own.
#pragma once

enum decoder_error {
    decoder_error_bad_argument = -101,  // "invalid argument"
    decoder_error_input_end = -514,     // "input end"
    decoder_error_invalid_frame = -600, // "invalid frame"
};
