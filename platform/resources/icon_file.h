// Icons and cursors from .ico/.cur files (the form the resource compiler
// stores them in): the directory is read, the image closest to the wanted
// size is decoded into colour pixels and a mask, ready for GetIconInfo.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "win/types.h"

namespace win::res {

struct IconImage {
    int width = 0;
    int height = 0;
    int hotspotX = 0;  // cursors: from the file; icons: the centre
    int hotspotY = 0;
    bool hasAlpha = false;        // the image carried its own alpha channel
    std::vector<uint32_t> color;  // 0xAARRGGBB, rows top-down
    std::vector<uint8_t> mask;    // 1 where the pixel is transparent, rows top-down
};

// The largest image side accepted; bigger entries are refused.
constexpr int kMaxIconSide = 256;

// Decodes the image of `data` (an .ico file, or a .cur file when `cursor`)
// whose size is closest to desiredSize x desiredSize, preferring more colours
// on a tie. Entries that fail to decode are skipped. Returns false for a
// malformed file or when no entry decodes.
bool ParseIconFile(const void* data, size_t size, bool cursor, int desiredSize, IconImage& out);

// The icon (RT_GROUP_ICON) or cursor (RT_GROUP_CURSOR) resource `name`.
bool LoadIconResource(LPCSTR name, bool cursor, int desiredSize, IconImage& out);

}  // namespace win::res
