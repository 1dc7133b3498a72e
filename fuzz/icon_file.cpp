// Icon and cursor files: any bytes must be refused or decoded within bounds.
#include <cstddef>
#include <cstdint>

#include "resources/icon_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    win::res::IconImage image;
    for (bool cursor : {false, true}) {
        if (win::res::ParseIconFile(data, size, cursor, 32, image)) {
            if (image.color.size() != static_cast<size_t>(image.width) * image.height ||
                image.mask.size() != image.color.size())
                __builtin_trap();
        }
    }
    return 0;
}
