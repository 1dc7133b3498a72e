// Threads and thread-local storage.
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <new>

#include <atomic>
#include <thread>
#include <vector>

#include "kernel_objects.h"
#include "thread_state.h"

namespace win::core {
namespace {

DWORD NewThreadId() {
    static std::atomic<DWORD> next{0x104};
    return next.fetch_add(4);
}

struct TlsSlot {
    uint64_t generation = 0;
    void* value = nullptr;
};

// Per-thread record; its destructor runs when the thread ends.
struct ThreadInfo {
    std::shared_ptr<ThreadObject> self;
    std::vector<TlsSlot> tls;
    ~ThreadInfo() {
        if (self) OnThreadEnd(self->id);
    }
};
thread_local ThreadInfo t_info;

// Process-wide TLS index allocation: a generation per index, bumped on every
// allocation, so a reused index reads as null in every thread (as Windows
// zeroes it).
constexpr DWORD kTlsSlots = 1088;
struct TlsIndexes {
    bool used[kTlsSlots] = {};
    uint64_t generation[kTlsSlots] = {};
};
TlsIndexes& Indexes() {
    static auto* indexes = new TlsIndexes;
    return *indexes;
}

long NativeThreadId() { return static_cast<long>(syscall(SYS_gettid)); }

struct StartRecord {
    std::shared_ptr<ThreadObject> thread;
    LPTHREAD_START_ROUTINE routine;
    void* parameter;
};

void RunThread(StartRecord record) {
    auto thread = record.thread;
    {
        Guard lock(BigLock());
        t_info.self = thread;
        thread->nativeId = NativeThreadId();
        StateChanged().wait(lock, [&] { return thread->started; });
    }
    DWORD code = record.routine(record.parameter);
    // Drop the queue before the thread reads as finished, so a waiter that
    // saw it finish finds no stale queue.
    OnThreadEnd(thread->id);
    t_info.self.reset();
    Guard lock(BigLock());
    thread->exitCode = code;
    thread->finished = true;
    StateChanged().notify_all();
}

std::shared_ptr<ThreadObject> ResolveThread(HANDLE handle) {
    if (handle == CurrentThreadPseudoHandle()) return CurrentThreadObject();
    return FindKernelObject<ThreadObject>(handle);
}

// Best effort: lowering a thread's nice value needs no privilege, raising
// it usually fails quietly for ordinary users.
void ApplyPriority(long nativeId, int priority) {
    int nice = 0;
    if (priority >= THREAD_PRIORITY_TIME_CRITICAL)
        nice = -10;
    else if (priority <= THREAD_PRIORITY_IDLE)
        nice = 19;
    else
        nice = -priority * 2;
    if (nativeId > 0) setpriority(PRIO_PROCESS, static_cast<id_t>(nativeId), nice);
}

}  // namespace

HandleTable<KernelObject>& KernelHandles() {
    static auto* table = new HandleTable<KernelObject>(0x100);
    return *table;
}

std::shared_ptr<ThreadObject> CurrentThreadObject() {
    if (!t_info.self) {
        auto self = std::make_shared<ThreadObject>();
        self->id = NewThreadId();
        self->nativeId = NativeThreadId();
        self->started = true;
        t_info.self = self;
    }
    return t_info.self;
}

}  // namespace win::core

using namespace win::core;

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start,
                           LPVOID parameter, DWORD creationFlags, LPDWORD threadId) {
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<ThreadObject> thread;
    HANDLE handle;
    try {
        thread = std::make_shared<ThreadObject>();
        thread->id = NewThreadId();
        thread->started = (creationFlags & CREATE_SUSPENDED) == 0;
        Guard lock(BigLock());
        handle = reinterpret_cast<HANDLE>(KernelHandles().Add(thread));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    try {
        std::thread(RunThread, StartRecord{thread, start, parameter}).detach();
    } catch (...) {
        Guard lock(BigLock());
        KernelHandles().Remove(handle);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (threadId) *threadId = thread->id;
    return handle;
}

DWORD WINAPI ResumeThread(HANDLE handle) {
    Guard lock(BigLock());
    auto thread = ResolveThread(handle);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return DWORD(-1);
    }
    DWORD previous = thread->started ? 0 : 1;
    thread->started = true;
    StateChanged().notify_all();
    return previous;
}

HANDLE WINAPI GetCurrentThread() { return CurrentThreadPseudoHandle(); }

DWORD WINAPI GetCurrentThreadId() { return CurrentThreadObject()->id; }

DWORD WINAPI GetThreadId(HANDLE handle) {
    Guard lock(BigLock());
    auto thread = ResolveThread(handle);
    if (!thread) SetLastError(ERROR_INVALID_HANDLE);
    return thread ? thread->id : 0;
}

BOOL WINAPI SetThreadPriority(HANDLE handle, int priority) {
    Guard lock(BigLock());
    auto thread = ResolveThread(handle);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    bool valid = (priority >= THREAD_PRIORITY_LOWEST && priority <= THREAD_PRIORITY_HIGHEST) ||
                 priority == THREAD_PRIORITY_IDLE || priority == THREAD_PRIORITY_TIME_CRITICAL;
    if (!valid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    thread->priority = priority;
    if (!thread->finished) ApplyPriority(thread->nativeId, priority);
    return TRUE;
}

int WINAPI GetThreadPriority(HANDLE handle) {
    Guard lock(BigLock());
    auto thread = ResolveThread(handle);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return THREAD_PRIORITY_ERROR_RETURN;
    }
    return thread->priority;
}

BOOL WINAPI GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
    Guard lock(BigLock());
    auto thread = ResolveThread(handle);
    if (!thread || !exitCode) {
        SetLastError(thread ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *exitCode = thread->finished ? thread->exitCode : STILL_ACTIVE;
    return TRUE;
}

DWORD WINAPI TlsAlloc() {
    Guard lock(BigLock());
    auto& indexes = Indexes();
    for (DWORD i = 0; i < kTlsSlots; ++i) {
        if (!indexes.used[i]) {
            indexes.used[i] = true;
            ++indexes.generation[i];
            return i;
        }
    }
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return TLS_OUT_OF_INDEXES;
}

LPVOID WINAPI TlsGetValue(DWORD index) {
    uint64_t generation;
    {
        Guard lock(BigLock());
        if (index >= kTlsSlots || !Indexes().used[index]) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        generation = Indexes().generation[index];
    }
    SetLastError(ERROR_SUCCESS);
    auto& tls = t_info.tls;
    if (index >= tls.size() || tls[index].generation != generation) return nullptr;
    return tls[index].value;
}

BOOL WINAPI TlsSetValue(DWORD index, LPVOID value) {
    uint64_t generation;
    {
        Guard lock(BigLock());
        if (index >= kTlsSlots || !Indexes().used[index]) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        generation = Indexes().generation[index];
    }
    auto& tls = t_info.tls;
    if (index >= tls.size()) {
        try {
            tls.resize(index + 1);
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
    }
    tls[index] = {generation, value};
    return TRUE;
}

BOOL WINAPI TlsFree(DWORD index) {
    Guard lock(BigLock());
    if (index >= kTlsSlots || !Indexes().used[index]) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Indexes().used[index] = false;
    return TRUE;
}
