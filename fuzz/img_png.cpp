// Fuzz target: the PNG decoder (libpng behind the image library's limits).
#include "img_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzDecoder<PixImagePNG>(data, size);
}
