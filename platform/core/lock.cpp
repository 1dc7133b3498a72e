#include "lock.h"

namespace win::core {

// Both live for the whole process (never destroyed), so threads that end
// during exit can still take them.
std::recursive_mutex& BigLock() {
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

std::condition_variable_any& StateChanged() {
    static auto* cv = new std::condition_variable_any;
    return *cv;
}

}  // namespace win::core
