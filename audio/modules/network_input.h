// The built-in input module that streams http://, ftp://, tcp:// and udp://
// URLs through a ring buffer.
#pragma once

// Fills an InputModule descriptor; returns 0 (-1 if sockets cannot start).
int network_input_register(void* descriptor);
