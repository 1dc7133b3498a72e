// Kernel objects behind HANDLE values: events, threads and loaded modules.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "base/handle_table.h"
#include "lock.h"

namespace win::core {

struct KernelObject {
    virtual ~KernelObject() = default;
    // Waitable objects answer whether a wait on them is satisfied now, and
    // take that state (an auto-reset event resets). Callers hold BigLock().
    virtual bool IsSignalled() const { return false; }
    virtual void Acquire() {}
    virtual bool IsWaitable() const { return false; }
};

struct EventObject : KernelObject {
    bool manualReset = false;
    bool signalled = false;
    std::string name;
    ~EventObject() override;
    bool IsSignalled() const override { return signalled; }
    void Acquire() override {
        if (!manualReset) signalled = false;
    }
    bool IsWaitable() const override { return true; }
};

struct ThreadObject : KernelObject {
    DWORD id = 0;
    long nativeId = 0;  // the kernel's thread id, for priorities
    bool started = false;
    bool finished = false;
    DWORD exitCode = STILL_ACTIVE;
    int priority = THREAD_PRIORITY_NORMAL;
    bool IsSignalled() const override { return finished; }
    bool IsWaitable() const override { return true; }
};

// The table of every kernel HANDLE. Callers hold BigLock().
HandleTable<KernelObject>& KernelHandles();

// What GetModuleFileNameA reports for the executable; empty restores the
// real path. For tests that give a program a prepared folder.
void SetExecutablePathOverride(const std::string& path);

template <typename T>
std::shared_ptr<T> FindKernelObject(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(KernelHandles().Find(handle));
}

// The calling thread's object: created on first use for threads that the
// layer did not start (the main thread), so every thread has an id.
std::shared_ptr<ThreadObject> CurrentThreadObject();

// The pseudo handle GetCurrentThread returns.
inline HANDLE CurrentThreadPseudoHandle() { return reinterpret_cast<HANDLE>(intptr_t(-2)); }

}  // namespace win::core
