// ShellExecuteA's way out: a launcher that opens a document or address with
// the desktop's handler. The default runs xdg-open in a child process; the
// headless backend installs one that only records the request.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace win::shell {

struct Request {
    std::string operation;  // "open" when none was given
    std::string file;
    std::string parameters;
    std::string directory;
    int show = SW_SHOWNORMAL;
};

// Returns what ShellExecuteA returns: a value above 32 on success, else a
// Windows error number (ERROR_FILE_NOT_FOUND, SE_ERR_NOASSOC, ...).
using Launcher = std::function<INT_PTR(const Request&)>;

// Installs `launcher`; an empty one restores xdg-open.
void SetLauncher(Launcher launcher);

// Starts xdg-open on the request's file without waiting for it.
INT_PTR LaunchWithXdgOpen(const Request& request);

// True for an address handed to a browser rather than a file to look up.
bool IsUrl(const std::string& file);

}  // namespace win::shell
