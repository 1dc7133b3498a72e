#include "lock.h"

namespace win::core {

// Both live for the whole process (never destroyed), so threads that end
// during exit can still take them.
std::recursive_mutex& BigLock() {
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

StateSignal& StateChanged() {
    static auto* cv = new StateSignal;
    return *cv;
}

}  // namespace win::core
