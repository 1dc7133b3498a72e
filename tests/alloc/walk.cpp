#include "walk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>

namespace alloc_walk {

namespace {

// Threads that finish after the operation returns (a player thread after
// its stop) free their last blocks a moment later.
long SettledLive(long expected, const Operation& op) {
    if (op.Threads() == alloc_failure::Threads::Current) return alloc_failure::Live(op.Kinds());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (alloc_failure::Live(op.Kinds()) != expected &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return alloc_failure::Live(op.Kinds());
}

// An attempt's outcome without a block of its own.
struct Summary {
    bool ok = false, outOfMemory = false, fired = false;
    char detail[512] = {};
    Summary() = default;
    Summary(const Attempt& a, bool fired_) : ok(a.ok), outOfMemory(a.outOfMemory), fired(fired_) {
        std::snprintf(detail, sizeof detail, "%s", a.detail.c_str());
    }
};

// Blocks made during the last attempt and still there, once its threads
// have had time to end.
long SettledTraced(alloc_failure::Kinds kinds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (alloc_failure::TracedCount(kinds) != 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const long left = alloc_failure::TracedCount(kinds);
    if (left) alloc_failure::TracedLive();
    return left;
}

// One attempt with `failAt` failing (0: none); the allocations counted.
long Once(Operation& op, long failAt, Attempt& attempt) {
    alloc_failure::Arm(failAt, op.Threads(), op.Kinds());
    try {
        op.Act();
    } catch (const std::exception& e) {
        // The libraries and the layer raise nothing to their callers.
        const long counted = alloc_failure::Disarm();
        attempt = Attempt{false, false, std::string("raised ") + e.what()};
        return counted;
    }
    const long counted = alloc_failure::Disarm();
    attempt = op.Check();
    return counted;
}

}  // namespace

Report Walk(Operation& op, const std::string& name) {
    Report report;
    // A first run outside the count: lazily built tables and caches are
    // made once and then stay, and are nobody's leak.
    Attempt attempt;
    op.Prepare();
    Once(op, 0, attempt);
    op.Release();
    EXPECT_TRUE(attempt.ok) << name << ": the operation fails without any injected failure: "
                            << attempt.detail;
    if (!attempt.ok) return report;

    // Other threads' long-lived containers (the calling thread's message
    // queue, a deque) take and give back blocks as they fill and empty, so
    // an operation on threads of its own is judged by the blocks made while
    // it ran that are still there after it, not by the process's count.
    const bool threaded = op.Threads() == alloc_failure::Threads::All;
    alloc_failure::Trace(threaded);

    long live = alloc_failure::Live(op.Kinds());
    op.Prepare();
    report.sites = Once(op, 0, attempt);
    long leaked = threaded ? SettledTraced(op.Kinds()) : 0;
    op.Release();
    if (!threaded) leaked = SettledLive(live, op) - live;
    EXPECT_TRUE(attempt.ok) << name << ": counting run: " << attempt.detail;
    EXPECT_EQ(leaked, 0) << name << ": the counting run leaks " << leaked << " blocks";

    // TINTO_ALLOC_SITE=n replays one failure of a walk.
    long first = 1, last = report.sites;
    if (const char* only = std::getenv("TINTO_ALLOC_SITE")) first = last = std::atol(only);
    for (long n = first; n <= last; ++n) {
        // What the attempts gave is kept in fixed buffers and judged after
        // the leak count: the attempts' texts and gtest's failure records are
        // the test's own blocks, not the operation's.
        Summary failing, again;
        live = alloc_failure::Live(op.Kinds());
        op.Prepare();
        leaked = 0;
        {
            Attempt a;
            Once(op, n, a);
            failing = Summary(a, alloc_failure::Fired());
        }
        if (threaded) leaked = SettledTraced(op.Kinds());
        if (!failing.ok && failing.fired) {
            // The same objects, once more with memory to spare.
            Attempt a;
            Once(op, 0, a);
            again = Summary(a, false);
        }
        op.Release();
        if (!threaded) leaked = SettledLive(live, op) - live;

        EXPECT_TRUE(failing.ok || failing.outOfMemory)
            << name << ", allocation " << n << " of " << report.sites
            << " failing: neither success nor out of memory: " << failing.detail;
        if (!failing.ok && failing.fired) {
            ++report.reported;
            EXPECT_TRUE(again.ok) << name << ", allocation " << n
                                  << ": no recovery after the failure: " << again.detail;
        } else if (failing.ok) {
            ++report.absorbed;
        }
        EXPECT_EQ(leaked, 0) << name << ", allocation " << n << " of " << report.sites
                             << " failing: leaks " << leaked << " blocks";
    }
    alloc_failure::Trace(false);
    if (report.sites > 0 && first == 1) {
        EXPECT_GT(report.reported, 0) << name << ": no failure ever came back as out of memory";
    }
    std::printf("[ alloc    ] %s: %ld allocation sites, %ld reported out of memory, %ld absorbed\n",
                name.c_str(), report.sites, report.reported, report.absorbed);
    return report;
}

}  // namespace alloc_walk
