#include "startup.h"

#include <mutex>
#include <vector>

namespace win::core {
namespace {

std::mutex& HooksLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

std::vector<StartupHook>& Hooks() {
    static auto* hooks = new std::vector<StartupHook>;
    return *hooks;
}

}  // namespace

void AddStartupHook(StartupHook hook) {
    if (!hook) return;
    std::lock_guard<std::mutex> hold(HooksLock());
    Hooks().push_back(hook);
}

void RunStartupHooks() {
    std::vector<StartupHook> hooks;
    {
        // Copied so that a hook may create windows (and so run the hooks).
        std::lock_guard<std::mutex> hold(HooksLock());
        hooks = Hooks();
    }
    for (StartupHook hook : hooks) hook();
}

}  // namespace win::core
