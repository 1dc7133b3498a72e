// Resources compiled into the executable: lookup by type and name, string
// tables, and the standard resource types. Dialog templates, icons and
// cursors are parsed by platform/resources/ for the framework and the GDI.
#pragma once
#include "types.h"

#define RT_CURSOR MAKEINTRESOURCEA(1)
#define RT_BITMAP MAKEINTRESOURCEA(2)
#define RT_ICON MAKEINTRESOURCEA(3)
#define RT_MENU MAKEINTRESOURCEA(4)
#define RT_DIALOG MAKEINTRESOURCEA(5)
#define RT_STRING MAKEINTRESOURCEA(6)
#define RT_RCDATA MAKEINTRESOURCEA(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEA(12)
#define RT_GROUP_ICON MAKEINTRESOURCEA(14)

// Resource names and types are either integer ids (MAKEINTRESOURCEA) or
// strings, compared without regard to case; "#123" names the id 123. Every
// module handle, including NULL, means the executable: it is the only
// module that carries resources.
HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource);
LPVOID WINAPI LockResource(HGLOBAL data);
DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource);
BOOL WINAPI FreeResource(HGLOBAL data);

// Copies string `id` (Windows-1252) into `buffer`, at most size - 1
// characters plus a terminator; returns the characters copied, 0 when the
// string does not exist. With size 0, stores a read-only pointer to the
// string in *(LPCSTR*)buffer and returns its length.
int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size);
