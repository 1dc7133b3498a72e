// Files below the program directory named by a relative path, the way the
// catalogues and the screens name them: written with backslashes (or
// slashes), perhaps by hand, on a system where names ignore letter case.
#pragma once

#include <afxwin.h>

// Resolves strRelative below strAppDir (which ends with a separator) into
// strPath: "." and empty parts are dropped, each ".." takes back the part
// before it, and a part whose exact name is missing takes the name of the
// entry of its folder that differs from it only in letter case. The parts
// are joined with backslashes after strAppDir. FALSE (strPath untouched)
// for a path that climbs above strAppDir or holds a control byte.
BOOL ResolveProgramPath(const CString& strAppDir, const CString& strRelative, CString& strPath);

// TRUE when ResolveProgramPath would take strRelative: it stays below the
// directory once its ".." parts are resolved, and holds no control byte.
BOOL StaysInProgramDirectory(const CString& strRelative);

// ResolveProgramPath below g_strAppDir; an empty string for a path that leaves it.
CString ProgramFile(const CString& strRelative);
