#include "backend.h"

#include <windows.h>

#include "window.h"

namespace win::core {
namespace {

std::unique_ptr<Backend>& Slot() {
    static auto* slot = new std::unique_ptr<Backend>;
    return *slot;
}

}  // namespace

Backend& CurrentBackend() {
    Guard lock(BigLock());
    auto& slot = Slot();
    if (!slot) InstallBackend(CreateHeadlessBackend());
    return *slot;
}

void InstallBackend(std::unique_ptr<Backend> backend) {
    Guard lock(BigLock());
    Slot() = std::move(backend);
    SIZE size = Slot()->ScreenSize();
    Desktop().rect = {0, 0, size.cx, size.cy};
}

bool BlockOnBackend(Guard& lock, bool hasDeadline, Clock::time_point deadline) {
    Backend& backend = CurrentBackend();
    DWORD self = GetCurrentThreadId();
    lock.unlock();
    bool acted = backend.BeforeBlock();
    lock.lock();
    if (acted) return true;
    if (!backend.WaitsForThread(self)) return false;
    int timeout = -1;
    if (hasDeadline) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        timeout = static_cast<int>(std::max<long long>(0, left.count()));
    }
    lock.unlock();
    backend.WaitForEvents(timeout);
    lock.lock();
    return true;
}

void WakeBackend() {
    if (Slot()) Slot()->Wake();
}

}  // namespace win::core
