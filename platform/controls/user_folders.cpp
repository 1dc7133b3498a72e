#include "user_folders.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace win::controls {
namespace {

std::mutex gLastMutex;
std::string gLast;  // guarded by gLastMutex

// The value of `XDG_PICTURES_DIR="..."` on one line, or false. Only the two
// forms the desktop writes are taken: "$HOME/rest" and "/absolute".
bool ValueOf(const std::string& line, const std::string& home, std::string* out) {
    size_t at = line.find_first_not_of(" \t");
    const std::string key = "XDG_PICTURES_DIR=";
    if (at == std::string::npos || line.compare(at, key.size(), key) != 0) return false;
    at += key.size();
    if (at >= line.size() || line[at] != '"') return false;
    const size_t close = line.find('"', at + 1);
    if (close == std::string::npos) return false;
    const std::string value = line.substr(at + 1, close - at - 1);
    if (value == "$HOME" || value == "$HOME/") {
        *out = home;
    } else if (value.compare(0, 6, "$HOME/") == 0) {
        *out = home + value.substr(5);
    } else if (!value.empty() && value[0] == '/') {
        *out = value;
    } else {
        return false;
    }
    return true;
}

std::string ReadSmallFile(const std::string& path) {
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        // The file is a few lines; anything past 64 KiB is not one of it.
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() < 65536)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

}  // namespace

std::string PicturesFolderFrom(const char* fromEnvironment, const std::string& userDirs,
                               const std::string& home) {
    if (fromEnvironment && fromEnvironment[0] == '/') return fromEnvironment;
    std::string found;
    size_t start = 0;
    while (start < userDirs.size()) {
        size_t end = userDirs.find('\n', start);
        if (end == std::string::npos) end = userDirs.size();
        std::string value;
        // The last definition wins, as when the shell reads the file.
        if (ValueOf(userDirs.substr(start, end - start), home, &value)) found = value;
        start = end + 1;
    }
    return found.empty() ? home : found;
}

std::string UserPicturesFolder() {
    const char* home = std::getenv("HOME");
    const std::string homeDir = home && home[0] == '/' ? home : "/";
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string dirs = config && config[0] == '/' ? std::string(config) + "/user-dirs.dirs"
                                                        : homeDir + "/.config/user-dirs.dirs";
    return PicturesFolderFrom(std::getenv("XDG_PICTURES_DIR"), ReadSmallFile(dirs), homeDir);
}

namespace {

// An XDG base folder: the variable when it holds an absolute path, else
// the default below home.
std::string BaseFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    const char* home = std::getenv("HOME");
    return std::string(home && home[0] == '/' ? home : "") + underHome;
}

}  // namespace

std::string UserFolder(int csidl) {
    switch (csidl) {
        case CSIDL_MYPICTURES: return UserPicturesFolder();
        case CSIDL_LOCAL_APPDATA: return BaseFolder("XDG_DATA_HOME", "/.local/share");
        case CSIDL_INTERNET_CACHE: return BaseFolder("XDG_CACHE_HOME", "/.cache");
        default: return std::string();
    }
}

std::string LastFileDialogFolder() {
    std::lock_guard<std::mutex> lock(gLastMutex);
    return gLast;
}

void RememberFileDialogFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(gLastMutex);
    gLast = folder;
}

}  // namespace win::controls

HRESULT WINAPI SHGetFolderPathA(HWND, int folder, HANDLE, DWORD, LPSTR path) {
    if (!path) return E_FAIL;
    const std::string found = win::controls::UserFolder(folder & 0xFF);
    if (found.empty() || found.size() >= MAX_PATH) {
        path[0] = '\0';
        return E_FAIL;
    }
    std::memcpy(path, found.c_str(), found.size() + 1);
    return S_OK;
}
