// Fuzz target: the WBMP decoder.
#include "img_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzDecoder<PixImageWBMP>(data, size);
}
