// The hooks behind alloc_failure.h. Nothing here may allocate: every
// function below can be reached from inside malloc.
#include "support/alloc_failure.h"

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__SANITIZE_THREAD__)
#define TINTO_HOOK_C_ALLOCATION 0
#else
#define TINTO_HOOK_C_ALLOCATION 1
#endif

#if defined(__SANITIZE_ADDRESS__) && !defined(TINTO_ASAN_ALLOCATOR)
#define TINTO_ASAN_ALLOCATOR 1
#endif

#if !defined(TINTO_ASAN_ALLOCATOR)
// The C library's allocator under its own names, so the replacements below
// can hand every request on to it.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}
#endif

namespace {

#if defined(TINTO_ASAN_ALLOCATOR)
// Under AddressSanitizer the sanitizer's allocator is the next definition
// after ours. Finding it may itself allocate (dlsym): those few requests are
// served from a fixed area that is never given back.
struct Next {
    void* (*malloc)(size_t);
    void* (*calloc)(size_t, size_t);
    void* (*realloc)(void*, size_t);
    void* (*memalign)(size_t, size_t);
    void (*free)(void*);
};
Next g_next;
std::atomic<int> g_resolving{0};
alignas(64) char g_early[65536];
std::atomic<size_t> g_earlyUsed{0};

bool Early(const void* block) {
    return static_cast<const char*>(block) >= g_early &&
           static_cast<const char*>(block) < g_early + sizeof g_early;
}

void* EarlyBlock(size_t size) {
    size = (size + 63) & ~size_t(63);
    size_t at = g_earlyUsed.fetch_add(size);
    return at + size <= sizeof g_early ? g_early + at : nullptr;
}

bool Resolved() {
    if (g_next.free) return true;
    if (g_resolving.exchange(1)) return false;  // dlsym is asking: serve it early blocks
    Next next;
    next.malloc = reinterpret_cast<void* (*)(size_t)>(dlsym(RTLD_NEXT, "malloc"));
    next.calloc = reinterpret_cast<void* (*)(size_t, size_t)>(dlsym(RTLD_NEXT, "calloc"));
    next.realloc = reinterpret_cast<void* (*)(void*, size_t)>(dlsym(RTLD_NEXT, "realloc"));
    next.memalign = reinterpret_cast<void* (*)(size_t, size_t)>(dlsym(RTLD_NEXT, "memalign"));
    next.free = reinterpret_cast<void (*)(void*)>(dlsym(RTLD_NEXT, "free"));
    g_next = next;
    return true;
}

void* RealMalloc(size_t size) { return Resolved() ? g_next.malloc(size) : EarlyBlock(size); }
void* RealCalloc(size_t count, size_t size) {
    if (Resolved()) return g_next.calloc(count, size);
    return count && size > SIZE_MAX / count ? nullptr : EarlyBlock(count * size);  // zeroed
}
void* RealRealloc(void* block, size_t size) {
    if (!Early(block)) return Resolved() ? g_next.realloc(block, size) : nullptr;
    void* moved = RealMalloc(size);
    if (moved) std::memcpy(moved, block, size);
    return moved;
}
void* RealMemalign(size_t alignment, size_t size) {
    return Resolved() ? g_next.memalign(alignment, size) : nullptr;
}
void RealFree(void* block) {
    if (block && !Early(block) && Resolved()) g_next.free(block);
}
#else
void* RealMalloc(size_t size) { return __libc_malloc(size); }
void* RealCalloc(size_t count, size_t size) { return __libc_calloc(count, size); }
void* RealRealloc(void* block, size_t size) { return __libc_realloc(block, size); }
void* RealMemalign(size_t alignment, size_t size) { return __libc_memalign(alignment, size); }
void RealFree(void* block) { __libc_free(block); }
#endif

}  // namespace

namespace {

std::atomic<bool> g_armed{false};
std::atomic<bool> g_allThreads{false};
std::atomic<bool> g_cOnly{false};
std::atomic<bool> g_fired{false};
std::atomic<long> g_count{0};
std::atomic<long> g_failAt{0};
std::atomic<long> g_live{0};
std::atomic<long> g_liveC{0};  // of them, from the C functions
pthread_t g_owner{};

// The C library ends the process when it cannot record a thread_local
// object's destructor for a new thread; no program can answer that, so the
// allocation it makes there is never failed.
bool CannotFail(const void* caller) {
    Dl_info info;
    return caller && dladdr(caller, &info) && info.dli_sname &&
           std::strcmp(info.dli_sname, "__cxa_thread_atexit_impl") == 0;
}

// Counts one allocation; true when it is the one to fail.
bool ShouldFail(const void* caller = nullptr) {
    if (!g_armed.load(std::memory_order_acquire)) return false;
    // operator new passes no caller; the C functions always do.
    if (!caller && g_cOnly.load(std::memory_order_relaxed)) return false;
    if (!g_allThreads.load(std::memory_order_relaxed) && !pthread_equal(pthread_self(), g_owner))
        return false;
    const long n = g_count.fetch_add(1, std::memory_order_relaxed) + 1;
    if (n != g_failAt.load(std::memory_order_relaxed) || CannotFail(caller)) return false;
    g_fired.store(true, std::memory_order_relaxed);
    return true;
}

// With TINTO_ALLOC_TRACE set, the blocks made while armed are kept with
// their callers, to name a leak's site (TracedLive).
struct Traced {
    std::atomic<void*> block;
    const void* caller;
    bool c;  // from a C function
};
Traced g_traced[8192];
std::atomic<bool> g_trace{std::getenv("TINTO_ALLOC_TRACE") != nullptr};

void* Counted(void* block, const void* caller = nullptr, bool c = false) {
    if (!block) return block;
    g_live.fetch_add(1, std::memory_order_relaxed);
    if (g_trace.load(std::memory_order_relaxed) && g_armed.load(std::memory_order_relaxed)) {
        for (Traced& t : g_traced) {
            void* expected = nullptr;
            if (t.block.compare_exchange_strong(expected, block)) {
                t.caller = caller;
                t.c = c;
                break;
            }
        }
    }
    return block;
}

void* CountedC(void* block, const void* caller) {
    if (block) g_liveC.fetch_add(1, std::memory_order_relaxed);
    return Counted(block, caller, true);
}

void Uncount(void* block) {
    if (!block) return;
    g_live.fetch_sub(1, std::memory_order_relaxed);
    if (g_trace.load(std::memory_order_relaxed)) {
        for (Traced& t : g_traced) {
            void* expected = block;
            if (t.block.compare_exchange_strong(expected, nullptr)) break;
        }
    }
}

void* RawAlloc(size_t size) { return RealMalloc(size); }
void* RawAligned(size_t alignment, size_t size) {
    return RealMemalign(alignment < sizeof(void*) ? sizeof(void*) : alignment, size);
}
void RawFree(void* block) { RealFree(block); }

void* NewBlock(size_t size, const void* caller) {
    if (ShouldFail()) return nullptr;
    return Counted(RawAlloc(size ? size : 1), caller);
}

void* NewAligned(size_t size, std::align_val_t alignment) {
    if (ShouldFail()) return nullptr;
    return Counted(RawAligned(size_t(alignment), size ? size : 1));
}

void DeleteBlock(void* block) {
    Uncount(block);
    RawFree(block);
}

}  // namespace

namespace alloc_failure {

void Arm(long failAt, Threads threads, Kinds kinds) {
    g_armed.store(false, std::memory_order_release);
    g_owner = pthread_self();
    g_allThreads.store(threads == Threads::All, std::memory_order_relaxed);
    g_cOnly.store(kinds == Kinds::COnly, std::memory_order_relaxed);
    if (g_trace.load(std::memory_order_relaxed))
        for (Traced& t : g_traced) t.block.store(nullptr);
    g_count.store(0, std::memory_order_relaxed);
    g_failAt.store(failAt, std::memory_order_relaxed);
    g_fired.store(false, std::memory_order_relaxed);
    g_armed.store(true, std::memory_order_release);
}

long Disarm() {
    g_armed.store(false, std::memory_order_release);
    return g_count.load(std::memory_order_relaxed);
}

bool Fired() { return g_fired.load(std::memory_order_relaxed); }

long Live(Kinds kinds) {
    return (kinds == Kinds::COnly ? g_liveC : g_live).load(std::memory_order_relaxed);
}

bool CountsCAllocations() { return TINTO_HOOK_C_ALLOCATION != 0; }

bool UnderAddressSanitizer() {
#if defined(TINTO_ASAN_ALLOCATOR)
    return true;
#else
    return false;
#endif
}

void Trace(bool on) {
    for (Traced& t : g_traced) t.block.store(nullptr);
    g_trace.store(on || std::getenv("TINTO_ALLOC_TRACE") != nullptr);
}

// The dynamic loader's blocks for a new thread's TLS stay with the C
// library's cache of thread stacks after the thread ends: not a leak.
bool FromLoader(const void* caller) {
    Dl_info info;
    return caller && dladdr(caller, &info) && info.dli_fname &&
           std::strstr(info.dli_fname, "/ld-linux") != nullptr;
}

long TracedCount(Kinds kinds) {
    long n = 0;
    for (Traced& t : g_traced)
        if (t.block.load() && (kinds == Kinds::All || t.c) && !FromLoader(t.caller)) ++n;
    return n;
}

void TracedLive() {
    for (Traced& t : g_traced) {
        void* block = t.block.load();
        if (!block || FromLoader(t.caller)) continue;
        Dl_info info{};
        dladdr(t.caller, &info);
        std::fprintf(stderr, "  still live: %p from %p (%s)\n", block, t.caller,
                     info.dli_sname ? info.dli_sname : "?");
    }
}

}  // namespace alloc_failure

// --- operator new and delete, every variant ---------------------------------

void* operator new(size_t size) {
    void* block = NewBlock(size, __builtin_return_address(0));
    if (!block) throw std::bad_alloc();
    return block;
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return NewBlock(size, __builtin_return_address(0));
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return NewBlock(size, __builtin_return_address(0));
}
void* operator new(size_t size, std::align_val_t alignment) {
    void* block = NewAligned(size, alignment);
    if (!block) throw std::bad_alloc();
    return block;
}
void* operator new[](size_t size, std::align_val_t alignment) {
    return operator new(size, alignment);
}
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return NewAligned(size, alignment);
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return NewAligned(size, alignment);
}

void operator delete(void* block) noexcept { DeleteBlock(block); }
void operator delete[](void* block) noexcept { DeleteBlock(block); }
void operator delete(void* block, size_t) noexcept { DeleteBlock(block); }
void operator delete[](void* block, size_t) noexcept { DeleteBlock(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { DeleteBlock(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { DeleteBlock(block); }
void operator delete(void* block, std::align_val_t) noexcept { DeleteBlock(block); }
void operator delete[](void* block, std::align_val_t) noexcept { DeleteBlock(block); }
void operator delete(void* block, size_t, std::align_val_t) noexcept { DeleteBlock(block); }
void operator delete[](void* block, size_t, std::align_val_t) noexcept { DeleteBlock(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    DeleteBlock(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    DeleteBlock(block);
}

// --- The C allocation functions (normal build only) -------------------------

#if TINTO_HOOK_C_ALLOCATION
extern "C" {

void* malloc(size_t size) {
    if (ShouldFail(__builtin_return_address(0))) {
        errno = ENOMEM;
        return nullptr;
    }
    return CountedC(RealMalloc(size), __builtin_return_address(0));
}

void free(void* block) {
    if (block) g_liveC.fetch_sub(1, std::memory_order_relaxed);
    Uncount(block);
    RealFree(block);
}

void* calloc(size_t count, size_t size) {
    if (ShouldFail(__builtin_return_address(0))) {
        errno = ENOMEM;
        return nullptr;
    }
    return CountedC(RealCalloc(count, size), __builtin_return_address(0));
}

void* realloc(void* block, size_t size) {
    if (!block) return malloc(size);
    if (size == 0) {
        free(block);
        return nullptr;
    }
    // A failed growth leaves the old block where it was.
    if (ShouldFail(__builtin_return_address(0))) {
        errno = ENOMEM;
        return nullptr;
    }
    return RealRealloc(block, size);
}

void* memalign(size_t alignment, size_t size) {
    if (ShouldFail(__builtin_return_address(0))) {
        errno = ENOMEM;
        return nullptr;
    }
    return CountedC(RealMemalign(alignment, size), __builtin_return_address(0));
}

void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }

int posix_memalign(void** out, size_t alignment, size_t size) {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
    void* block = memalign(alignment, size);
    if (!block) return ENOMEM;
    *out = block;
    return 0;
}

void* valloc(size_t size) { return memalign(4096, size); }

void* pvalloc(size_t size) { return memalign(4096, (size + 4095) & ~size_t(4095)); }

}  // extern "C"
#endif
