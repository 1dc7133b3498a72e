#include "common/program_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "common/globals.h"

namespace {

bool IsSeparator(char ch) { return ch == '/' || ch == '\\'; }

// The parts that remain once "." and ".." are taken into account; false when
// ".." climbs above the start or a control byte shows up.
bool SplitParts(const std::string& relative, std::vector<std::string>& parts) {
    std::string part;
    for (size_t i = 0; i <= relative.size(); ++i) {
        if (i < relative.size()) {
            const unsigned char ch = static_cast<unsigned char>(relative[i]);
            if (ch < 0x20 || ch == 0x7F) return false;
            if (!IsSeparator(char(ch))) {
                part += char(ch);
                continue;
            }
        }
        if (part == "..") {
            if (parts.empty()) return false;
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    }
    return true;
}

// ASCII letters only: the bytes above 0x7F are TCVN3 or UTF-8 text whose
// case this cannot know.
bool SameIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// The name in `folder` that equals `name` but for letter case; the first
// in byte order when there are several, so that the choice is stable.
bool FindIgnoringCase(const std::string& folder, const std::string& name, std::string& found) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return false;
    bool bFound = false;
    while (const dirent* entry = ::readdir(dir)) {
        if (!SameIgnoringCase(name, entry->d_name)) continue;
        if (!bFound || found > entry->d_name) found = entry->d_name;
        bFound = true;
    }
    ::closedir(dir);
    return bFound;
}

}  // namespace

BOOL ResolveProgramPath(const CString& strAppDir, const CString& strRelative, CString& strPath) {
    std::vector<std::string> parts;
    if (!SplitParts(strRelative.str(), parts)) return FALSE;
    std::string native = strAppDir.str();
    for (char& ch : native)
        if (ch == '\\') ch = '/';
    // Folder by folder; once a part is not there at all, what follows
    // cannot be either and keeps its spelling.
    bool bLooking = true;
    std::string result = strAppDir.str();
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string name = parts[i];
        if (bLooking && !Exists(native + name)) {
            std::string found;
            if (FindIgnoringCase(native, name, found))
                name = found;
            else
                bLooking = false;
        }
        native += name + "/";
        result += name;
        if (i + 1 < parts.size()) result += '\\';
    }
    strPath = CString(result.c_str(), int(result.size()));
    return TRUE;
}

BOOL StaysInProgramDirectory(const CString& strRelative) {
    std::vector<std::string> parts;
    return SplitParts(strRelative.str(), parts);
}

CString ProgramFile(const CString& strRelative) {
    CString strPath;
    ResolveProgramPath(g_strAppDir, strRelative, strPath);
    return strPath;
}
