// The user's folders for drawings and added pictures.
#include "screens/picture_folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

namespace {

CString UserFolder(int nFolder, const char* pszBelow) {
    char szPath[MAX_PATH] = {};
    if (::SHGetFolderPathA(nullptr, nFolder, nullptr, 0, szPath) != S_OK || szPath[0] != '/')
        return CString();
    std::string path = szPath;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    // Without a home there is no folder of the user's to use: nothing is
    // made at the root.
    if (path == "/") return CString();
    return CString((path + pszBelow).c_str());
}

}  // namespace

CString DrawingsFolder() { return UserFolder(CSIDL_MYPICTURES, "/Tintorama"); }

CString AddedPicturesFolder() { return UserFolder(CSIDL_LOCAL_APPDATA, "/tintorama/pictures"); }

CString PreparedPicturesFolder() { return UserFolder(CSIDL_INTERNET_CACHE, "/tintorama/pictures"); }

BOOL MakeFolder(const CString& strFolder) {
    const std::string folder = static_cast<LPCSTR>(strFolder);
    if (folder.empty() || folder[0] != '/') return FALSE;
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return FALSE;
        if (slash == std::string::npos) break;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

BOOL IsFileInFolder(const CString& strPath, const CString& strFolder) {
    const std::string path = static_cast<LPCSTR>(strPath);
    const std::string folder = static_cast<LPCSTR>(strFolder);
    if (folder.empty() || path.size() <= folder.size() + 1) return FALSE;
    if (path.compare(0, folder.size(), folder) != 0 || path[folder.size()] != '/') return FALSE;
    const std::string name = path.substr(folder.size() + 1);
    return name.find('/') == std::string::npos && name != "." && name != "..";
}
