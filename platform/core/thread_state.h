// What the layer keeps per thread: its kernel object and its TLS slots.
#pragma once
#include <windows.h>

namespace win::core {

// Called when a thread ends (its routine returned, or a foreign thread
// exits): drops the thread's message queue and windows' timers.
void OnThreadEnd(DWORD threadId);

}  // namespace win::core
