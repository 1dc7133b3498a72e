// The settings file: reading with every line checked, writing atomically.
#include "common/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace settings {
namespace {

// A settings file is a few lines; anything larger is not one.
constexpr size_t kMaxFileBytes = 64 * 1024;
constexpr size_t kMaxValueBytes = 4096;

std::map<std::string, std::string>& Values() {
    static auto* values = new std::map<std::string, std::string>;
    return *values;
}

bool IsKey(const std::string& key) {
    if (key.empty() || key.size() > 64) return false;
    for (char c : key)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '-'))
            return false;
    return true;
}

bool IsValue(const std::string& value) {
    if (value.size() > kMaxValueBytes) return false;
    for (unsigned char c : value)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

std::string Folder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/tintorama";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.config/tintorama";
    return std::string();
}

// The lines of `text` as settings; false when any line is not one
// (comments starting with '#' and empty lines aside).
bool Parse(const std::string& text, std::map<std::string, std::string>* out) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) return false;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (!IsKey(key) || !IsValue(value)) return false;
        (*out)[key] = value;
    }
    return true;
}

bool MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = slash == std::string::npos ? path : path.substr(0, slash);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

bool Write(const std::map<std::string, std::string>& values) {
    const std::string folder = Folder();
    if (folder.empty() || !MakeFolders(folder)) return false;
    std::string text = "# Tintorama's settings\n";
    for (const auto& [key, value] : values) text += key + "=" + value + "\n";
    std::string temp = folder + "/.settings-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0644) == 0;
    for (size_t done = 0; ok && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += size_t(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    // The rename puts the whole new file in place, or nothing.
    if (ok) ok = ::rename(temp.c_str(), (folder + "/settings").c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace

CString FilePath() {
    const std::string folder = Folder();
    return folder.empty() ? CString() : CString((folder + "/settings").c_str());
}

void Load() {
    Values().clear();
    const std::string folder = Folder();
    if (folder.empty()) return;
    std::FILE* f = std::fopen((folder + "/settings").c_str(), "rb");
    if (!f) return;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() <= kMaxFileBytes)
        text.append(buffer, n);
    const bool bReadWhole = !std::ferror(f) && text.size() <= kMaxFileBytes;
    std::fclose(f);
    std::map<std::string, std::string> values;
    if (bReadWhole && text.find('\0') == std::string::npos && Parse(text, &values))
        Values() = std::move(values);
}

CString Get(const char* key, const char* fallback) {
    auto it = key ? Values().find(key) : Values().end();
    return it == Values().end() ? CString(fallback ? fallback : "") : CString(it->second.c_str());
}

BOOL GetBool(const char* key, BOOL bFallback) {
    const CString value = Get(key);
    if (value == "1") return TRUE;
    if (value == "0") return FALSE;
    return bFallback;
}

BOOL Set(const char* key, const CString& value) {
    if (!key || !IsKey(key) || !IsValue(static_cast<LPCSTR>(value))) return FALSE;
    std::map<std::string, std::string> values = Values();
    values[key] = static_cast<LPCSTR>(value);
    if (!Write(values)) return FALSE;
    Values() = std::move(values);
    return TRUE;
}

BOOL SetBool(const char* key, BOOL bValue) { return Set(key, bValue ? "1" : "0"); }

}  // namespace settings
