#include "queue.h"

#include <new>
#include <unordered_map>

#include "backend.h"
#include "thread_state.h"
#include "timers.h"

namespace win::core {
namespace {

std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>>& Queues() {
    static auto* queues = new std::unordered_map<DWORD, std::shared_ptr<ThreadQueue>>;
    return *queues;
}

}  // namespace

std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId) {
    auto it = Queues().find(threadId);
    return it == Queues().end() ? nullptr : it->second;
}

std::shared_ptr<ThreadQueue> CurrentQueue() {
    DWORD self = GetCurrentThreadId();
    auto& slot = Queues()[self];
    if (!slot) {
        slot = std::make_shared<ThreadQueue>();
        slot->threadId = self;
    }
    return slot;
}

void WakeThread(DWORD threadId) {
    StateChanged().notify_all();
    if (CurrentBackend().WaitsForThread(threadId)) CurrentBackend().Wake();
}

bool PostToQueue(DWORD threadId, const MSG& msg) {
    auto queue = QueueOf(threadId);
    if (!queue) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return false;
    }
    if (queue->posted.size() >= kMaxPostedMessages) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return false;
    }
    try {
        queue->posted.push_back(msg);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    queue->newBits |= QS_POSTMESSAGE;
    WakeThread(threadId);
    return true;
}

bool PostInput(DWORD threadId, const MSG& msg) {
    auto queue = QueueOf(threadId);
    if (!queue || queue->input.size() >= kMaxPostedMessages) return false;
    queue->input.push_back(msg);
    WakeThread(threadId);
    return true;
}

void OnThreadEnd(DWORD threadId) {
    Guard lock(BigLock());
    Queues().erase(threadId);
    KillThreadTimers(threadId);
}

}  // namespace win::core
