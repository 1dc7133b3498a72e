// The program's settings: one small text file of "key=value" lines,
// $XDG_CONFIG_HOME/tintorama/settings (~/.config/tintorama/settings when
// the variable is unset or not an absolute path). Read once at start-up;
// each change is written at once, through a temporary file renamed over the
// old one, so the file is always whole. A missing, unreadable or damaged
// file gives the defaults, and the program starts as usual.
//
// Keys are short lower-case words ([a-z0-9_.-]); values are one line of
// text. Keys the program does not know are kept as they are.
#pragma once

#include <afxwin.h>

namespace settings {

// The keys in use.
inline constexpr const char* kFullScreen = "fullscreen";   // "1" or "0"
inline constexpr const char* kSaveFolder = "save_folder";  // the folder last saved to

// Reads the file, forgetting what was read before.
void Load();
// The file's path ("" when neither the variable nor HOME gives one).
CString FilePath();

// The value of `key`, or `fallback` when the file holds none.
CString Get(const char* key, const char* fallback = "");
BOOL GetBool(const char* key, BOOL bFallback);
// Sets `key` and writes the file. FALSE when the key or the value is not
// one the file can hold (a line break, say), or the file could not be
// written; the value is then not kept.
BOOL Set(const char* key, const CString& value);
BOOL SetBool(const char* key, BOOL bValue);

}  // namespace settings
