// One lock guards every kernel object, message queue and window of the
// layer. It is never held while a window procedure or a thread routine runs,
// so a procedure may block on another thread that posts to it.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace win::core {

std::recursive_mutex& BigLock();
// Notified whenever an event is set, a thread ends or a message is posted.
std::condition_variable_any& StateChanged();

using Guard = std::unique_lock<std::recursive_mutex>;
using Clock = std::chrono::steady_clock;

// The deadline for a Windows time-out in milliseconds (INFINITE: none).
inline bool HasDeadline(unsigned long ms) { return ms != 0xFFFFFFFFul; }
inline Clock::time_point DeadlineAfter(unsigned long ms) {
    return Clock::now() + std::chrono::milliseconds(ms);
}

}  // namespace win::core
