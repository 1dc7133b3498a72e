// Fuzz target: format detection. The input is decoded with no format named,
// as Load does for a file of unknown kind, so every codec's signature test
// and the hand-over to the chosen decoder are searched; a decoded picture is
// then thumbnailed and written back as a BMP.
#include <cstdint>
#include <vector>

#include "imagelib/pix_codecs.h"
#include "imagelib/pix_mem_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<BYTE> bytes(data, data + size);
    PixMemFile stream(bytes.empty() ? nullptr : bytes.data(), DWORD(bytes.size()));
    if (bytes.empty()) stream.Open();
    PixImage image;
    if (!image.Decode(&stream, PIX_FORMAT_UNKNOWN)) return 0;
    if (!image.IsValid() || uint64_t(image.GetWidth()) * image.GetHeight() > (1u << 22)) return 0;
    PixImage cell;
    image.Thumbnail(40, 30, PixRGBQuad{255, 255, 255, 0}, &cell);
    PixMemFile out;
    out.Open();
    image.Encode(&out, PIX_FORMAT_BMP);
    return 0;
}
