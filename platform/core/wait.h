// The one blocking primitive of the layer: wait for kernel objects and,
// optionally, for the calling thread's message queue.
#pragma once
#include <functional>

#include "kernel_objects.h"

namespace win::core {

// Waits until one (or all, with waitAll) of the handles is signalled, or
// `inputReady` (when given) answers true, or the time-out passes. Returns
// WAIT_OBJECT_0 + index, WAIT_OBJECT_0 + count for input, WAIT_TIMEOUT or
// WAIT_FAILED. `inputReady` runs under BigLock().
DWORD WaitForObjects(const HANDLE* handles, DWORD count, bool waitAll, DWORD milliseconds,
                     const std::function<bool()>& inputReady);

// Blocks the calling thread, holding `lock` (released while blocked), until
// StateChanged() is notified, the backend wakes it, or the deadline passes.
void BlockUntil(Guard& lock, bool hasDeadline, Clock::time_point deadline, bool forInput);

}  // namespace win::core
