#include "text/font_registry.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "win/text.h"

namespace text {
namespace {

struct RegisteredFile {
    int references = 0;
    std::vector<RegisteredFace> faces;
};

// Keyed by the native path; guarded by FreeTypeLock().
std::map<std::string, RegisteredFile>& Files() {
    static std::map<std::string, RegisteredFile> files;
    return files;
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string NativePath(const char* path) {
    std::string native = path ? path : "";
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

std::vector<RegisteredFace> ReadFaces(const std::string& path) {
    std::vector<RegisteredFace> faces;
    FT_Library library = FreeTypeLibrary();
    if (!library) return faces;
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) return faces;
    const long count = std::min<long>(face->num_faces, 64);
    for (long i = 0; i < count; ++i) {
        if (i > 0 && FT_New_Face(library, path.c_str(), i, &face) != 0) break;
        if (FT_IS_SCALABLE(face) && face->family_name) {
            RegisteredFace entry;
            entry.path = path;
            entry.index = static_cast<int>(i);
            entry.family = face->family_name;
            entry.bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
            entry.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
            faces.push_back(entry);
        }
        FT_Done_Face(face);
        face = nullptr;
    }
    return faces;
}

}  // namespace

std::recursive_mutex& FreeTypeLock() {
    static std::recursive_mutex lock;
    return lock;
}

FT_Library FreeTypeLibrary() {
    // Created once and kept for the life of the process: fonts may be
    // destroyed by static destructors in any order.
    static FT_Library library = [] {
        FT_Library created = nullptr;
        return FT_Init_FreeType(&created) == 0 ? created : nullptr;
    }();
    return library;
}

int RegisterFontFile(const std::string& path) {
    std::lock_guard<std::recursive_mutex> hold(FreeTypeLock());
    auto found = Files().find(path);
    if (found != Files().end()) {
        ++found->second.references;
        return static_cast<int>(found->second.faces.size());
    }
    std::vector<RegisteredFace> faces = ReadFaces(path);
    if (faces.empty()) return 0;
    RegisteredFile& file = Files()[path];
    file.references = 1;
    file.faces = std::move(faces);
    return static_cast<int>(file.faces.size());
}

bool UnregisterFontFile(const std::string& path) {
    std::lock_guard<std::recursive_mutex> hold(FreeTypeLock());
    auto found = Files().find(path);
    if (found == Files().end()) return false;
    if (--found->second.references == 0) Files().erase(found);
    return true;
}

std::vector<RegisteredFace> FindRegisteredFamily(const std::string& family) {
    std::lock_guard<std::recursive_mutex> hold(FreeTypeLock());
    std::vector<RegisteredFace> result;
    for (const auto& [path, file] : Files()) {
        for (const RegisteredFace& face : file.faces) {
            if (SameName(face.family, family)) result.push_back(face);
        }
    }
    return result;
}

}  // namespace text

int WINAPI AddFontResourceA(LPCSTR path) {
    if (!path || !*path) return 0;
    return text::RegisterFontFile(text::NativePath(path));
}

BOOL WINAPI RemoveFontResourceA(LPCSTR path) {
    if (!path || !*path) return FALSE;
    return text::UnregisterFontFile(text::NativePath(path)) ? TRUE : FALSE;
}
