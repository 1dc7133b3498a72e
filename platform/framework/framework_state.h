// State the framework keeps per user-interface thread: which objects own
// which windows, temporary wrappers for windows without an object, the
// message being handled, and the object waiting for its window.
#pragma once

#include <afxwin.h>

#include <map>

#include "temporary_map.h"

namespace afx {

struct ThreadState {
    std::map<HWND, CWnd*> permanent;  // windows with an object of their own
    TemporaryMap<HWND, CWnd> temporary{[](HWND h) { return ::IsWindow(h) != FALSE; },
                                       64};  // made by FromHandle
    MSG lastMessage{};                       // the message WindowProc is handling
    CWnd* pendingCreate = nullptr;           // the object whose window is being created
    HHOOK createHook = nullptr;
};

ThreadState& State();

// Binds `wnd` to the window being created on this thread, before its first
// message. Pair every call with UnhookCreate.
void HookCreate(CWnd* wnd);
void UnhookCreate();

}  // namespace afx
