// The standard control classes. They are registered before the first window
// is created, through the window core's start-up hook, so a program never has to.
#pragma once
#include <windows.h>

namespace win::controls {

// Registers "BUTTON", "STATIC", "LISTBOX", "COMBOBOX", "ComboLBox" and
// "EDIT", "tooltips_class32" once; later calls do nothing.
void RegisterControlClasses();

WNDPROC ButtonWindowProc();
WNDPROC StaticWindowProc();
WNDPROC ListBoxWindowProc();
WNDPROC ComboBoxWindowProc();
WNDPROC ToolTipWindowProc();
WNDPROC EditWindowProc();

}  // namespace win::controls
