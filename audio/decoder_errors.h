// Error codes the decoder returns: the audio library's own codes
// (errors.h) under the decoder's names.
#pragma once
#include "audio/errors.h"

enum decoder_error {
    decoder_error_bad_argument = err_invalid_parameters,  // "invalid parameters"
    decoder_error_input_end = err_input_end,              // "input end"
    decoder_error_invalid_frame = err_invalid_frame,      // "invalid frame"
};
