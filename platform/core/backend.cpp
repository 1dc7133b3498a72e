#include "backend.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "window.h"

namespace win::core {
namespace {

std::unique_ptr<Backend>& Slot() {
    static auto* slot = new std::unique_ptr<Backend>;
    return *slot;
}

std::atomic<BackendFactory>& DefaultFactory() {
    static std::atomic<BackendFactory> factory{nullptr};
    return factory;
}

std::atomic<FullScreenListener> gFullScreenListener{nullptr};

}  // namespace

void SetFullScreenListener(FullScreenListener listener) { gFullScreenListener = listener; }

void SwitchFullScreen() {
    bool on;
    {
        Guard lock(BigLock());
        Backend& backend = CurrentBackend();
        on = !backend.FullScreen();
        backend.SetFullScreen(on);
    }
    if (FullScreenListener listener = gFullScreenListener.load()) listener(on);
}

Backend& CurrentBackend() {
    Guard lock(BigLock());
    auto& slot = Slot();
    if (!slot) {
        BackendFactory factory = DefaultFactory().load();
        if (!factory) {
            // Only a build that links no backend at all gets here.
            std::fprintf(stderr, "platform: no display backend is linked\n");
            std::abort();
        }
        InstallBackend(factory());
    }
    return *slot;
}

void SetDefaultBackend(BackendFactory factory) { DefaultFactory().store(factory); }

void InstallBackend(std::unique_ptr<Backend> backend) {
    Guard lock(BigLock());
    Slot() = std::move(backend);
    SIZE size = Slot()->ScreenSize();
    Desktop().rect = {0, 0, size.cx, size.cy};
}

bool BlockOnBackend(Guard& lock, bool hasDeadline, Clock::time_point deadline) {
    Backend& backend = CurrentBackend();
    DWORD self = GetCurrentThreadId();
    unsigned long long seen = StateChanged().generation;
    lock.unlock();
    bool acted = backend.BeforeBlock();
    lock.lock();
    // A post while the lock was free has already notified: waiting now
    // would sleep through it, so let the caller look again.
    if (acted || StateChanged().generation != seen) return true;
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
