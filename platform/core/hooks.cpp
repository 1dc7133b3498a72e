// Window hooks of the calling thread. Only WH_CBT is kept, and the only
// notice sent through it is HCBT_CREATEWND (from CreateWindowExA).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "hooks.h"

namespace {

struct Hook {
    HHOOK handle;
    HOOKPROC proc;
};

// Newest first, as Windows calls them.
thread_local std::vector<Hook> tCbtHooks;

}  // namespace

HHOOK WINAPI SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
    if (idHook != WH_CBT || !proc || (threadId != 0 && threadId != GetCurrentThreadId())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    static std::atomic<ULONG_PTR> next{1};
    HHOOK handle = reinterpret_cast<HHOOK>(next.fetch_add(1));
    tCbtHooks.insert(tCbtHooks.begin(), Hook{handle, proc});
    return handle;
}

BOOL WINAPI UnhookWindowsHookEx(HHOOK hook) {
    auto it = std::find_if(tCbtHooks.begin(), tCbtHooks.end(),
                           [&](const Hook& h) { return h.handle == hook; });
    if (it == tCbtHooks.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    tCbtHooks.erase(it);
    return TRUE;
}

LRESULT WINAPI CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    auto it = std::find_if(tCbtHooks.begin(), tCbtHooks.end(),
                           [&](const Hook& h) { return h.handle == hook; });
    if (it == tCbtHooks.end() || ++it == tCbtHooks.end()) return 0;
    return it->proc(code, wParam, lParam);
}

namespace win::core {

bool CbtCreateRefused(HWND hwnd, CREATESTRUCTA* cs) {
    if (tCbtHooks.empty()) return false;
    CBT_CREATEWNDA notice{cs, HWND_TOP};
    // A copy: a hook may unhook itself while it runs.
    const Hook first = tCbtHooks.front();
    return first.proc(HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd),
                      reinterpret_cast<LPARAM>(&notice)) != 0;
}

}  // namespace win::core
