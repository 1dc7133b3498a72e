// Timers: WM_TIMER is synthesised when a timer is due and nothing else
// waits, as on Windows. Callers hold BigLock().
#pragma once
#include <windows.h>

#include "lock.h"

namespace win::core {

// Takes (or only looks at) a due timer of the thread matching the filter.
bool TakeDueTimer(DWORD threadId, HWND filter, bool remove, MSG* out);
// The earliest time a timer of the thread falls due; false when it has none.
bool NextTimerDue(DWORD threadId, Clock::time_point* due);
// Whether `proc` is the callback of the timer (hwnd, id).
bool IsTimerProc(HWND hwnd, UINT_PTR id, LPARAM proc);
void KillWindowTimers(HWND hwnd);
void KillThreadTimers(DWORD threadId);

}  // namespace win::core
