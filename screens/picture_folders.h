// The folders outside the program directory that the colouring screens use:
// where the child's drawings are saved, where parents put pictures of their
// own, and where those pictures are kept once made colourable. Paths are
// native, without a separator at the end.
#pragma once

#include <afxwin.h>

// "Tintorama" in the user's pictures folder (`xdg-user-dir PICTURES`, else
// home).
CString DrawingsFolder();
// $XDG_DATA_HOME/tintorama/pictures (by default
// ~/.local/share/tintorama/pictures).
CString AddedPicturesFolder();
// $XDG_CACHE_HOME/tintorama/pictures (by default
// ~/.cache/tintorama/pictures).
CString PreparedPicturesFolder();

// Creates the folder and any missing parents; TRUE when it exists after.
BOOL MakeFolder(const CString& strFolder);

// Whether strPath names a file directly inside strFolder (not in a folder
// below it, and without "." or ".." components).
BOOL IsFileInFolder(const CString& strPath, const CString& strFolder);
