// Building, packing and unpacking player messages: the part of the
// transport that needs no threads. Used by control.cpp.
#pragma once
#include "audio/control.h"

// Fills `message` from the send arguments as the code's shape says:
// 0, or -306 for a code that is not carried.
int message_build(unsigned code, const ControlArg* args, int count, PlayerMessage* message);
// The Windows message's parameters, with heap copies of strings and blocks
// that the receiver owns: 0, or -100 when a copy cannot be made.
int message_pack(const PlayerMessage* message, WPARAM* wparam, LPARAM* lparam);
// The inverse of packing: strings and blocks go into `area` (a thread's
// string area of control_string_area bytes) and their heap copies are freed.
void message_unpack_into(UINT id, WPARAM wparam, LPARAM lparam, char* area, PlayerMessage* message);
// Frees the heap copies of a packed message that will never be unpacked.
void message_discard(UINT id, LPARAM lparam);
