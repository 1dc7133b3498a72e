// The globals that every screen and control of the program uses, set up by
// the application object at start-up.
#pragma once

#include <afxwin.h>

// The program directory: the executable's folder, ending with a separator.
// Data paths are this followed by a relative path written with backslashes.
extern CString g_strAppDir;
// The executable's folder, ending with a separator, however long the path
// (a buffer of MAX_PATH would cut a deep one); empty when it is unknown.
CString ExecutableDirectory();
// The shared 10-point interface font, face "Lumora Sans Serif".
extern CFont g_fontUI;

// The program's font file and face, beside the executable.
inline constexpr const char* kFontFile = "lsansrf.ttf";
inline constexpr const char* kFontFace = "Lumora Sans Serif";
