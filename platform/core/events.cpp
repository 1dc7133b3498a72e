// Events, waits and CloseHandle.
#include <map>
#include <new>
#include <vector>

#include "backend.h"
#include "wait.h"

namespace win::core {
namespace {

// Named events are process-local: a name maps to the live event, if any.
std::map<std::string, std::weak_ptr<EventObject>>& NamedEvents() {
    static auto* names = new std::map<std::string, std::weak_ptr<EventObject>>;
    return *names;
}

}  // namespace

EventObject::~EventObject() {
    if (name.empty()) return;
    Guard lock(BigLock());
    auto it = NamedEvents().find(name);
    if (it != NamedEvents().end() && it->second.expired()) NamedEvents().erase(it);
}

void BlockUntil(Guard& lock, bool hasDeadline, Clock::time_point deadline, bool forInput) {
    if (forInput && BlockOnBackend(lock, hasDeadline, deadline)) return;
    if (hasDeadline)
        StateChanged().wait_until(lock, deadline);
    else
        StateChanged().wait(lock);
}

DWORD WaitForObjects(const HANDLE* handles, DWORD count, bool waitAll, DWORD milliseconds,
                     const std::function<bool()>& inputReady) {
    if (count > MAXIMUM_WAIT_OBJECTS || (count > 0 && !handles)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    Guard lock(BigLock());
    // A fixed array: waiting must not need memory.
    std::shared_ptr<KernelObject> objects[MAXIMUM_WAIT_OBJECTS];
    for (DWORD i = 0; i < count; ++i) {
        std::shared_ptr<KernelObject> object;
        try {
            if (handles[i] == CurrentThreadPseudoHandle())
                object = CurrentThreadObject();
            else
                object = KernelHandles().Find(handles[i]);
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return WAIT_FAILED;
        }
        if (!object || !object->IsWaitable()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects[i] = std::move(object);
    }
    bool hasDeadline = HasDeadline(milliseconds);
    auto deadline = hasDeadline ? DeadlineAfter(milliseconds) : Clock::time_point{};
    for (;;) {
        if (waitAll && count > 0) {
            bool all = true;
            for (DWORD i = 0; i < count; ++i) all = all && objects[i]->IsSignalled();
            if (all) {
                for (DWORD i = 0; i < count; ++i) objects[i]->Acquire();
                return WAIT_OBJECT_0;
            }
        } else {
            for (DWORD i = 0; i < count; ++i) {
                if (objects[i]->IsSignalled()) {
                    objects[i]->Acquire();
                    return WAIT_OBJECT_0 + i;
                }
            }
        }
        if (inputReady && inputReady()) return WAIT_OBJECT_0 + count;
        if (hasDeadline && Clock::now() >= deadline) return WAIT_TIMEOUT;
        BlockUntil(lock, hasDeadline, deadline, static_cast<bool>(inputReady));
    }
}

}  // namespace win::core

using namespace win::core;

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState,
                           LPCSTR name) {
    Guard lock(BigLock());
    if (name && *name) {
        auto it = NamedEvents().find(name);
        if (it != NamedEvents().end()) {
            if (auto existing = it->second.lock()) {
                HANDLE handle = reinterpret_cast<HANDLE>(KernelHandles().Add(existing));
                SetLastError(ERROR_ALREADY_EXISTS);
                return handle;
            }
        }
    }
    try {
        auto event = std::make_shared<EventObject>();
        event->manualReset = manualReset != FALSE;
        event->signalled = initialState != FALSE;
        if (name && *name) {
            event->name = name;
            NamedEvents()[name] = event;  // a weak entry: it expires with the event
        }
        HANDLE handle = reinterpret_cast<HANDLE>(KernelHandles().Add(event));
        SetLastError(ERROR_SUCCESS);
        return handle;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
}

HANDLE WINAPI OpenEventA(DWORD, BOOL, LPCSTR name) {
    Guard lock(BigLock());
    if (name) {
        auto it = NamedEvents().find(name);
        if (it != NamedEvents().end()) {
            if (auto existing = it->second.lock())
                return reinterpret_cast<HANDLE>(KernelHandles().Add(existing));
        }
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

static BOOL ChangeEvent(HANDLE handle, bool signalled) {
    Guard lock(BigLock());
    auto event = FindKernelObject<EventObject>(handle);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    event->signalled = signalled;
    if (signalled) {
        StateChanged().notify_all();
        WakeBackend();
    }
    return TRUE;
}

BOOL WINAPI SetEvent(HANDLE event) { return ChangeEvent(event, true); }
BOOL WINAPI ResetEvent(HANDLE event) { return ChangeEvent(event, false); }

DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return WaitForObjects(&handle, 1, false, milliseconds, nullptr);
}

DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                    DWORD milliseconds) {
    if (count == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    return WaitForObjects(handles, count, waitAll != FALSE, milliseconds, nullptr);
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> object;  // released after the lock
    Guard lock(BigLock());
    object = KernelHandles().Find(handle);
    if (!object || !KernelHandles().Remove(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
