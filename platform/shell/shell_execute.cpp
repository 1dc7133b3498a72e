// ShellExecuteA: only "open" (or no verb) is supported. A file that does not
// exist is refused before anything is launched; addresses (scheme://, mailto:)
// go to the launcher as they are.
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "base/paths.h"
#include "shell/shell.h"

extern char** environ;

namespace win::shell {
namespace {

std::mutex& LauncherLock() {
    static std::mutex lock;
    return lock;
}

Launcher& CurrentLauncher() {
    static auto* launcher = new Launcher;
    return *launcher;
}

// Children are reaped by the system: the program never waits for xdg-open.
void IgnoreChildren() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction sa {};
        sa.sa_handler = SIG_IGN;
        sa.sa_flags = SA_NOCLDWAIT;
        sigaction(SIGCHLD, &sa, nullptr);
    });
}

}  // namespace

void SetLauncher(Launcher launcher) {
    std::lock_guard<std::mutex> guard(LauncherLock());
    CurrentLauncher() = std::move(launcher);
}

bool IsUrl(const std::string& file) {
    size_t colon = file.find(':');
    if (colon == std::string::npos || colon < 2) return false;  // "C:" is no scheme
    for (size_t i = 0; i < colon; ++i) {
        char c = file[i];
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                  (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok) return false;
    }
    return true;
}

INT_PTR LaunchWithXdgOpen(const Request& request) {
    IgnoreChildren();
    std::string target = request.file;
    if (!IsUrl(target) && !request.directory.empty() && !target.empty() && target[0] != '/')
        target = request.directory + "/" + target;
    char program[] = "xdg-open";
    char* argv[] = {program, target.data(), nullptr};
    pid_t pid;
    int rc = posix_spawnp(&pid, program, nullptr, nullptr, argv, environ);
    if (rc == ENOENT) return SE_ERR_NOASSOC;
    if (rc == ENOMEM) return SE_ERR_OOM;
    if (rc != 0) return SE_ERR_ACCESSDENIED;
    return 42;
}

}  // namespace win::shell

HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                               LPCSTR directory, INT showCommand) {
    using namespace win::shell;
    auto result = [](INT_PTR value) { return reinterpret_cast<HINSTANCE>(value); };
    if (!file || !*file) return result(ERROR_FILE_NOT_FOUND);
    Request request;
    request.operation = operation && *operation ? operation : "open";
    if (request.operation != "open") return result(SE_ERR_NOASSOC);
    request.parameters = parameters ? parameters : "";
    // Paths are written the Windows way; addresses go on as they are.
    request.file = IsUrl(file) ? std::string(file) : win::NativePath(file);
    request.directory = win::NativePath(directory);
    request.show = showCommand;
    if (!IsUrl(request.file)) {
        std::string path = request.file;
        if (path[0] != '/' && !request.directory.empty()) path = request.directory + "/" + path;
        struct stat info {};
        if (stat(path.c_str(), &info) != 0)
            return result(errno == ENOENT    ? ERROR_FILE_NOT_FOUND
                          : errno == ENOTDIR ? SE_ERR_PNF
                                             : ERROR_ACCESS_DENIED);
    }
    Launcher launcher;
    {
        std::lock_guard<std::mutex> guard(LauncherLock());
        launcher = CurrentLauncher();
    }
    return result(launcher ? launcher(request) : LaunchWithXdgOpen(request));
}
