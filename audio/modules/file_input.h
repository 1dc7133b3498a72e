// The built-in input module that reads a local file, or standard input for
// the name "-".
#pragma once

// Fills an InputModule descriptor; returns 0.
int file_input_register(void* descriptor);
