// Walks an operation through every allocation it makes: first counted with
// none failing, then once per allocation with that one failing.
#pragma once
#include <string>

#include "support/alloc_failure.h"

namespace alloc_walk {

// What one attempt gave.
struct Attempt {
    bool ok = false;           // succeeded, and its result is right
    bool outOfMemory = false;  // failed with the documented out-of-memory result
    std::string detail;        // anything else: what came back
};

class Operation {
public:
    virtual ~Operation() = default;
    // Unarmed, before each attempt: inputs and objects the attempt works on.
    virtual void Prepare() {}
    // Armed: the library calls only, their results kept in members (the
    // test's own checking must not allocate while armed).
    virtual void Act() = 0;
    // Unarmed: judges what Act left.
    virtual Attempt Check() = 0;
    // Unarmed, after each attempt: gives back what Prepare and Act made.
    virtual void Release() {}
    // The player works on threads of its own; everything else on the
    // caller's thread.
    virtual alloc_failure::Threads Threads() const { return alloc_failure::Threads::Current; }
    virtual alloc_failure::Kinds Kinds() const { return alloc_failure::Kinds::All; }
};

struct Report {
    long sites = 0;     // allocations the operation makes
    long reported = 0;  // failures that came back as out of memory
    long absorbed = 0;  // failures the operation got over and succeeded anyway
};

// Counts the sites, then fails each in turn. Every attempt must succeed or
// report out of memory; nothing may leak; the object must work again on a
// second attempt without a failure. Failures are reported through gtest.
Report Walk(Operation& operation, const std::string& name);

}  // namespace alloc_walk
