// The built-in output module that plays PCM on the system's waveform output
// device through a ring of 64 device buffers; it answers for the empty name
// and for "/dev/wave/N" (0: the wave mapper, N >= 1: device N - 1).
#pragma once

// Fills an OutputModule descriptor; returns 0.
int wave_output_register(void* descriptor);

// How many sleeps of 10 ms each of the ring's two waits lasts before the
// device counts as stalled (5001, about 50 s; 0 or less restores that).
// Tests shorten it.
void wave_output_set_wait_limit(int sleeps);
