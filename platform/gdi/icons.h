// Icon and cursor objects: pixels with an AND mask or alpha, a hot spot,
// and the handle table that hands them out. HICON and HCURSOR share it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace win::icons {

struct IconObject {
    int width = 0;
    int height = 0;
    int hotspotX = 0;
    int hotspotY = 0;
    bool isIcon = true;
    // Shared icons (the standard ones, LR_SHARED loads) live for the whole
    // process: DestroyIcon leaves them alone.
    bool shared = false;
    // The standard cursor or icon number (32512, ...) this object stands
    // for, 0 for any other; backends use it to pick a native cursor.
    int systemId = 0;
    // With alpha, colour is blended by its alpha; without, each pixel is
    // (screen AND mask) XOR colour, so mask 1 with colour 0 is transparent.
    bool hasAlpha = false;
    std::vector<uint32_t> color;  // 0xAARRGGBB, rows top-down
    std::vector<uint8_t> mask;    // 1 = transparent, rows top-down

    uint32_t At(int x, int y) const { return color[size_t(y) * width + x]; }
    bool Transparent(int x, int y) const {
        return hasAlpha ? (At(x, y) >> 24) == 0 : mask[size_t(y) * width + x] != 0;
    }
};

// Registers an object and returns its new handle (null for a malformed one).
HICON Add(std::shared_ptr<const IconObject> icon);
// The object behind a handle; null for a stale or made-up handle.
std::shared_ptr<const IconObject> Find(HICON handle);
// Removes a non-shared object; false when there is none (or it is shared,
// in which case `wasShared` is set).
bool Remove(HICON handle, bool* wasShared = nullptr);

// The standard cursor (IDC_*) or icon (IDI_*) number `id`, shared; null for
// an unknown number.
HICON Standard(int id, bool cursor);

// Loads group-icon or group-cursor resource `name` (or, with `fromFile`, the
// .ico/.cur file at path `name`) at cx x cy: 0 means the image's own size
// (choosing the one nearest the system size), LR_DEFAULTSIZE the system size.
HICON LoadIconImage(LPCSTR name, bool cursor, int cx, int cy, UINT flags, bool fromFile);
// A resource load with LR_SHARED: the same handle for the same resource and
// size every time.
HICON LoadShared(LPCSTR name, bool cursor, int cx, int cy, UINT flags);

}  // namespace win::icons
