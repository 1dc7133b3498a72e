// The process font table: font files added with AddFontResourceA, found by
// family name before the system's fonts. Also owns the FreeType library that
// every font of the text engine uses.
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace text {

// FreeType's library object is not thread-safe: every FreeType call of the
// engine runs with this lock held.
std::recursive_mutex& FreeTypeLock();
// The shared library object; call with FreeTypeLock() held. Null when
// FreeType could not start.
FT_Library FreeTypeLibrary();

// One face of a registered file.
struct RegisteredFace {
    std::string path;
    int index = 0;
    std::string family;
    bool bold = false;
    bool italic = false;
};

// Registers every face of the file; returns how many, 0 when the file is
// missing or not a font. A second add of the same file adds a reference.
int RegisterFontFile(const std::string& path);
// Drops one reference; false when the file was not registered.
bool UnregisterFontFile(const std::string& path);
// The registered faces of a family (case-insensitive), ordered by file path.
std::vector<RegisteredFace> FindRegisteredFamily(const std::string& family);

}  // namespace text
