// Time, modules and MulDiv; the last error lives in platform/base.
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>

#include "kernel_objects.h"

namespace win::core {
namespace {

struct Module {
    void* library = nullptr;  // dlopen handle; null for the executable
};

HandleTable<Module>& Modules() {
    static auto* table = new HandleTable<Module>(0x400000);
    return *table;
}

// The executable's module handle, as GetModuleHandleA(NULL) returns it.
HMODULE ExecutableModule() {
    static HMODULE self = [] {
        Guard lock(BigLock());
        return reinterpret_cast<HMODULE>(Modules().Add(std::make_shared<Module>()));
    }();
    return self;
}

std::mutex& ExecutablePathLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

// Set by tests through the headless API; empty means the real executable.
std::string& ExecutablePathOverride() {
    static auto* path = new std::string;
    return *path;
}

std::string ExecutablePath() {
    {
        std::lock_guard<std::mutex> hold(ExecutablePathLock());
        if (!ExecutablePathOverride().empty()) return ExecutablePathOverride();
    }
    std::string path(4096, '\0');
    ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return {};
    path.resize(static_cast<size_t>(n));
    return path;
}

void FillSystemTime(LPSYSTEMTIME out, bool local) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm parts{};
    if (local)
        localtime_r(&now.tv_sec, &parts);
    else
        gmtime_r(&now.tv_sec, &parts);
    out->wYear = static_cast<WORD>(parts.tm_year + 1900);
    out->wMonth = static_cast<WORD>(parts.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
    out->wDay = static_cast<WORD>(parts.tm_mday);
    out->wHour = static_cast<WORD>(parts.tm_hour);
    out->wMinute = static_cast<WORD>(parts.tm_min);
    out->wSecond = static_cast<WORD>(parts.tm_sec);
    out->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

// Copies `text` into a Windows-style buffer: truncated to size - 1 with a
// terminator; returns the characters copied.
DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size) {
    if (!buffer || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    DWORD n = static_cast<DWORD>(std::min<size_t>(text.size(), size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    SetLastError(n < text.size() ? ERROR_INSUFFICIENT_BUFFER : ERROR_SUCCESS);
    return n < text.size() ? size : n;
}

}  // namespace

void SetExecutablePathOverride(const std::string& path) {
    std::lock_guard<std::mutex> hold(ExecutablePathLock());
    ExecutablePathOverride() = path;
}
}  // namespace win::core

using namespace win::core;

void WINAPI Sleep(DWORD milliseconds) {
    if (milliseconds == INFINITE) {
        for (;;) std::this_thread::sleep_for(std::chrono::hours(24));
    }
    if (milliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void WINAPI GetSystemTime(LPSYSTEMTIME time) {
    if (time) FillSystemTime(time, false);
}

void WINAPI GetLocalTime(LPSYSTEMTIME time) {
    if (time) FillSystemTime(time, true);
}

DWORD WINAPI GetTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms);  // wraps after 49.7 days, as on Windows
}

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    if (!fileName || !*fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* library = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    auto module = std::make_shared<Module>();
    module->library = library;
    Guard lock(BigLock());
    return reinterpret_cast<HMODULE>(Modules().Add(module));
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR procName) {
    Guard lock(BigLock());
    auto module = Modules().Find(handle);
    if (!module) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // Lookups by ordinal have no meaning for shared objects.
    if (!procName || IS_INTRESOURCE(procName)) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    void* library = module->library ? module->library : dlopen(nullptr, RTLD_NOW);
    void* symbol = dlsym(library, procName);
    if (!symbol) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

BOOL WINAPI FreeLibrary(HMODULE handle) {
    Guard lock(BigLock());
    auto module = Modules().Find(handle);
    if (!module || !module->library) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Modules().Remove(handle);
    dlclose(module->library);
    return TRUE;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    if (!moduleName) return ExecutableModule();
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD WINAPI GetModuleFileNameA(HMODULE handle, LPSTR fileName, DWORD size) {
    std::string path;
    if (!handle || handle == ExecutableModule()) {
        path = ExecutablePath();
    } else {
        Guard lock(BigLock());
        auto module = Modules().Find(handle);
        link_map* map = nullptr;
        if (!module || !module->library || dlinfo(module->library, RTLD_DI_LINKMAP, &map) != 0 ||
            !map || !map->l_name) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        path = map->l_name;
    }
    if (path.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    return CopyOut(path, fileName, size);
}

int WINAPI MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    long long product = static_cast<long long>(number) * numerator;
    bool negative = (product < 0) != (denominator < 0);
    long long magnitude = product < 0 ? -product : product;
    long long divisor = denominator < 0 ? -static_cast<long long>(denominator) : denominator;
    // Rounds half away from zero, as Windows does.
    long long result = (magnitude + divisor / 2) / divisor;
    if (negative) result = -result;
    if (result > INT32_MAX || result < INT32_MIN) return -1;
    return static_cast<int>(result);
}
