// Per-thread message queues. Callers hold BigLock().
#pragma once
#include <windows.h>

#include <deque>
#include <memory>

#include "lock.h"

namespace win::core {

struct ThreadQueue {
    DWORD threadId = 0;
    std::deque<MSG> posted;
    std::deque<MSG> input;
    bool quit = false;
    int quitCode = 0;
    // QS_* bits of what arrived since the thread last looked at its queue.
    DWORD newBits = 0;
    // The last message retrieved, for GetMessageTime/GetMessagePos.
    DWORD lastTime = 0;
    POINT lastPos{};
};

// A generous bound: a runaway poster fails (as a full Windows queue does)
// instead of exhausting memory.
constexpr size_t kMaxPostedMessages = 1000000;

std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId);  // null: the thread has none
std::shared_ptr<ThreadQueue> CurrentQueue();           // created on first use

// Appends a posted message to the thread's queue and wakes the thread.
bool PostToQueue(DWORD threadId, const MSG& msg);
// Appends an input message (already routed to its window) and wakes.
bool PostInput(DWORD threadId, const MSG& msg);

// Wakes whatever the thread blocks on.
void WakeThread(DWORD threadId);

}  // namespace win::core

namespace win::core {
// Whether a message of the QS_* kinds in `wakeMask` waits in the queue.
bool HasMessageFor(ThreadQueue& queue, DWORD wakeMask);
}  // namespace win::core
