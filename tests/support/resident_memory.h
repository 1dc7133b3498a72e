// The process's resident memory, for long runs that must stay flat.
#pragma once
#include <unistd.h>

#include <fstream>

// Resident set size in KiB, from /proc/self/statm (0 when unreadable).
inline long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
