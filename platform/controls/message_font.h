// The system parameters that the controls keep for the process: the
// non-client metrics, whose message font the message boxes draw in.
#pragma once

#include <windows.h>

namespace win::controls {

// A new font made from the message font; the caller deletes it.
HFONT CreateMessageFont();

}  // namespace win::controls
