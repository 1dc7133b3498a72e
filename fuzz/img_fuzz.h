// The body of every image decoder's fuzz target: decode the input from
// memory with one codec and, when it decodes, exercise what the program
// does next with a picture (thumbnail, BMP writing).
#pragma once
#include <cstdint>
#include <vector>

#include "imagelib/pix_codecs.h"
#include "imagelib/pix_mem_file.h"

template <class Codec>
int FuzzDecoder(const uint8_t* data, size_t size) {
    std::vector<BYTE> bytes(data, data + size);
    PixMemFile stream(bytes.empty() ? nullptr : bytes.data(), DWORD(bytes.size()));
    if (bytes.empty()) stream.Open();
    Codec codec;
    if (!codec.DecodeFile(&stream)) return 0;
    // Huge pictures (a few bytes of run-length data can make one) decode,
    // but resampling them every time would only slow the search down.
    if (uint64_t(codec.GetWidth()) * codec.GetHeight() > (1u << 22)) return 0;
    PixImage cell;
    codec.Thumbnail(40, 30, PixRGBQuad{255, 255, 255, 0}, &cell);
    PixMemFile out;
    out.Open();
    codec.Encode(&out, PIX_FORMAT_BMP);
    return 0;
}
