// Allocation failures on demand, for the tests that walk an operation's
// out-of-memory paths one allocation at a time.
//
// The executable that links alloc_failure.cpp replaces the global operator
// new and delete (every variant) and, in the normal build, the C allocation
// functions (malloc, calloc, realloc, free and the aligned ones), which it
// forwards to the C library's own allocator. While armed, the hooks count
// the allocations of the arming thread (or of every thread) and make the
// chosen one fail: a null result for C allocation and nothrow new, a
// std::bad_alloc from throwing new.
//
// Under AddressSanitizer the sanitizer owns malloc and its relatives, so
// only operator new is counted there; `CountsCAllocations()` says which,
// and the tests of C-allocating code skip in that build.
//
// Link it into one executable only: it changes every allocation of the
// process it is in.
#pragma once
#include <cstddef>

namespace alloc_failure {

enum class Threads { Current, All };
// Which allocations count: all, or only the C functions (malloc, calloc,
// realloc and the aligned ones), the way the audio library allocates.
enum class Kinds { All, COnly };

// Starts counting from zero; the `failAt`-th allocation counted (1 for the
// first) fails, 0 for none. Only one arming at a time.
void Arm(long failAt, Threads threads = Threads::Current, Kinds kinds = Kinds::All);
// Stops counting; returns the allocations counted while armed.
long Disarm();
// Whether the chosen allocation has been reached (and failed) since Arm.
bool Fired();
// Blocks allocated through the hooks and not yet freed, process wide; of
// the C functions only, or of all.
long Live(Kinds kinds = Kinds::All);
// Whether malloc and its relatives are counted (false under ThreadSanitizer).
bool CountsCAllocations();
// Whether the C functions hand on to AddressSanitizer's allocator, whose own
// start of a new thread allocates through malloc and cannot take a failure.
bool UnderAddressSanitizer();
// With TINTO_ALLOC_TRACE set in the environment, the blocks made while
// armed are remembered with their callers; this prints those not yet freed.
void TracedLive();
// Turns the remembering on for the blocks of each arming (it slows every
// allocation), and counts those of the last arming still live.
void Trace(bool on);
long TracedCount(Kinds kinds);

// Arms for the life of the object.
class Scope {
public:
    explicit Scope(long failAt, Threads threads = Threads::Current) { Arm(failAt, threads); }
    ~Scope() { Disarm(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

}  // namespace alloc_failure
