// Window classes. Names compare without regard to case, as on Windows; the
// instance is ignored, since the program is a single module.
#include <strings.h>

#include <cstring>
#include <vector>

#include "window.h"

namespace win::core {
namespace {

std::vector<std::shared_ptr<WindowClass>>& Classes() {
    static auto* classes = new std::vector<std::shared_ptr<WindowClass>>;
    return *classes;
}

}  // namespace

std::shared_ptr<WindowClass> FindClass(const char* nameOrAtom) {
    if (!nameOrAtom) return nullptr;
    for (auto& cls : Classes()) {
        if (IS_INTRESOURCE(nameOrAtom)
                ? cls->atom == LOWORD(reinterpret_cast<ULONG_PTR>(nameOrAtom))
                : strcasecmp(cls->name.c_str(), nameOrAtom) == 0)
            return cls;
    }
    return nullptr;
}

}  // namespace win::core

using namespace win::core;

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !*wc->lpszClassName ||
        wc->cbWndExtra < 0 || wc->cbWndExtra > 4096 || wc->cbClsExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Guard lock(BigLock());
    if (FindClass(wc->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    static ATOM nextAtom = 0xC000;
    auto cls = std::make_shared<WindowClass>();
    cls->name = wc->lpszClassName;
    cls->atom = nextAtom++;
    cls->info = *wc;
    cls->info.lpszClassName = cls->name.c_str();
    cls->info.lpszMenuName = nullptr;
    Classes().push_back(cls);
    return cls->atom;
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSA plain{wc->style,        wc->lpfnWndProc,  wc->cbClsExtra, wc->cbWndExtra,
                    wc->hInstance,    wc->hIcon,        wc->hCursor,    wc->hbrBackground,
                    wc->lpszMenuName, wc->lpszClassName};
    return RegisterClassA(&plain);
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
    Guard lock(BigLock());
    auto cls = FindClass(className);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    bool used = false;
    Windows().ForEach(
        [&](uintptr_t, const std::shared_ptr<Window>& w) { used = used || w->cls == cls; });
    if (used) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    std::erase(Classes(), cls);
    return TRUE;
}

BOOL WINAPI GetClassInfoA(HINSTANCE, LPCSTR className, LPWNDCLASSA wc) {
    Guard lock(BigLock());
    auto cls = FindClass(className);
    if (!cls || !wc) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    *wc = cls->info;
    return TRUE;
}

int WINAPI GetClassNameA(HWND hwnd, LPSTR className, int size) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    if (!w || !className || size <= 0) {
        SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    std::string name = w->cls ? w->cls->name : std::string("#32769");
    int n = std::min<int>(size - 1, int(name.size()));
    std::memcpy(className, name.data(), size_t(n));
    className[n] = '\0';
    return n;
}

ULONG_PTR WINAPI GetClassLongPtrA(HWND hwnd, int index) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    if (!w || !w->cls) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const WNDCLASSA& info = w->cls->info;
    switch (index) {
        case GCL_STYLE: return info.style;
        case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(info.hbrBackground);
        case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(info.hCursor);
        case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(info.hIcon);
        case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(info.lpfnWndProc);
    }
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
}

ULONG_PTR WINAPI SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    Guard lock(BigLock());
    auto w = LookupWindow(hwnd);
    if (!w || !w->cls) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    WNDCLASSA& info = w->cls->info;
    ULONG_PTR previous = 0;
    switch (index) {
        case GCL_STYLE:
            previous = info.style;
            info.style = UINT(value);
            break;
        case GCLP_HBRBACKGROUND:
            previous = reinterpret_cast<ULONG_PTR>(info.hbrBackground);
            info.hbrBackground = reinterpret_cast<HBRUSH>(value);
            break;
        case GCLP_HCURSOR:
            previous = reinterpret_cast<ULONG_PTR>(info.hCursor);
            info.hCursor = reinterpret_cast<HCURSOR>(value);
            break;
        default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
    return previous;
}
