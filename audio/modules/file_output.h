// The built-in output module that writes PCM to a file or to standard
// output ("-"), raw or as WAV: names "raw:path", "wav:path", "aiff:path",
// "sun:path" or a bare path (raw).
#pragma once

// Fills an OutputModule descriptor; returns 0.
int file_output_register(void* descriptor);
