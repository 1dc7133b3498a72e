// The application object and the globals that every screen uses.
#pragma once

#include <afxwin.h>

class CColoringApp : public CWinApp {
public:
    CColoringApp();

    // Prepares the font and the program directory, runs the home screen
    // modally and returns FALSE, so the program ends when it closes.
    BOOL InitInstance() override;
    // Takes the program's font out of the font table again.
    int ExitInstance() override;
};

extern CColoringApp theApp;

// The program directory: the executable's folder, ending with a separator.
// Data paths are this followed by a relative path written with backslashes.
extern CString g_strAppDir;
// The shared 10-point interface font, face "Lumora Sans Serif".
extern CFont g_fontUI;

// The program's font file and face, beside the executable.
inline constexpr const char* kFontFile = "lsansrf.ttf";
inline constexpr const char* kFontFace = "Lumora Sans Serif";
