// Dialog creation for modal loops run outside the dialog manager (the
// framework's dialogs run their own loop so that windows can pre-translate
// their messages).
#pragma once
#include <windows.h>

namespace win::core {

// Creates the dialog of a template resource hidden and without WS_CHILD,
// owned by the owner's top-level window, as a modal dialog is before its
// loop starts. Null when the template is missing or creation failed.
HWND CreateDialogFromResource(LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param);

}  // namespace win::core
