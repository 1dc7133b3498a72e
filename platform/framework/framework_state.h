// State the framework keeps per user-interface thread: which objects own
// which windows, temporary wrappers for windows without an object, the
// message being handled, and the object waiting for its window.
#pragma once

#include <afxwin.h>

#include <map>
#include <memory>

namespace afx {

struct ThreadState {
    std::map<HWND, CWnd*> permanent;                    // windows with an object of their own
    std::map<HWND, std::unique_ptr<CWnd>> temporary;    // wrappers made by FromHandle
    MSG lastMessage{};                                  // the message WindowProc is handling
    CWnd* pendingCreate = nullptr;                      // the object whose window is being created
    HHOOK createHook = nullptr;
};

ThreadState& State();

// Binds `wnd` to the window being created on this thread, before its first
// message. Pair every call with UnhookCreate.
void HookCreate(CWnd* wnd);
void UnhookCreate();

// Drops wrappers whose window is gone; wrappers of live windows stay valid.
void PruneTemporaries();

}  // namespace afx
