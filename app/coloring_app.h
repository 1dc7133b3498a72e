// The application object.
#pragma once

#include <afxwin.h>

#include "common/globals.h"

class CColoringApp : public CWinApp {
public:
    CColoringApp();

    // Prepares the font and the program directory, runs the home screen
    // modally and returns FALSE, so the program ends when it closes.
    BOOL InitInstance() override;
    // Takes the program's font out of the font table again.
    int ExitInstance() override;

private:
    // Makes the interface font the message boxes' font.
    static void UseInterfaceFontForMessages();
};

extern CColoringApp theApp;
