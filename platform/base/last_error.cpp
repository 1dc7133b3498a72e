// The calling thread's last error, set by every layer above.
#include <windows.h>

namespace {

thread_local DWORD t_lastError = 0;

}  // namespace

DWORD WINAPI GetLastError() { return t_lastError; }
void WINAPI SetLastError(DWORD error) { t_lastError = error; }
