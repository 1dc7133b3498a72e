// Where the file dialogs open: the user's pictures folder as the desktop
// names it (what `xdg-user-dir PICTURES` answers), and the folder the user
// last saved or opened a file in while the program runs.
#pragma once
#include <windows.h>

#include <string>

namespace win::controls {

// The pictures folder from its parts: XDG_PICTURES_DIR of the environment
// (`fromEnvironment`, may be null), else its line in the text of
// user-dirs.dirs (`userDirs`: `XDG_PICTURES_DIR="$HOME/Pictures"` or an
// absolute path in quotes), else `home`. Answers the path as written, not
// checked against the disk; a malformed line counts as no line.
std::string PicturesFolderFrom(const char* fromEnvironment, const std::string& userDirs,
                               const std::string& home);

// The same for this user: the environment, then
// $XDG_CONFIG_HOME/user-dirs.dirs (or ~/.config/user-dirs.dirs), then $HOME.
std::string UserPicturesFolder();

// CSIDL_MYPICTURES, CSIDL_LOCAL_APPDATA or CSIDL_INTERNET_CACHE as a path
// (SHGetFolderPathA); "" for another.
std::string UserFolder(int csidl);

// The folder of the last file a file dialog gave the program ("" before
// the first); kept for the life of the process.
std::string LastFileDialogFolder();
void RememberFileDialogFolder(const std::string& folder);

}  // namespace win::controls
