// The codec classes. Each is an image that can fill itself from a stream
// (DecodeFile) and, for BMP, write itself (EncodeFile). A decoder returns
// false with a last error on anything it does not understand, so format
// detection can move on to the next one.
#pragma once
#include "imagelib/pix_image.h"

class PixImageBMP : public PixImage {
public:
    PixImageBMP() : PixImage(PIX_FORMAT_BMP) {}
    bool DecodeFile(PixFile* stream);
    bool EncodeFile(PixFile* stream);
    // Reads a device-independent bitmap (info header, colour table, rows) at
    // the stream's position. `pixelOffset` (from `base`) is where the rows
    // start, or -1 when they follow the colour table. An icon's header
    // counts its colour rows and its mask rows in the height.
    bool DecodeDib(PixFile* stream, long base, long pixelOffset, bool icon);
};

class PixImageICO : public PixImage {
public:
    PixImageICO() : PixImage(PIX_FORMAT_ICO) {}
    bool DecodeFile(PixFile* stream);
};

class PixImageGIF : public PixImage {
public:
    PixImageGIF() : PixImage(PIX_FORMAT_GIF) {}
    bool DecodeFile(PixFile* stream);
};

class PixImageTGA : public PixImage {
public:
    PixImageTGA() : PixImage(PIX_FORMAT_TGA) {}
    bool DecodeFile(PixFile* stream);
};

class PixImagePCX : public PixImage {
public:
    PixImagePCX() : PixImage(PIX_FORMAT_PCX) {}
    bool DecodeFile(PixFile* stream);
};

class PixImageWBMP : public PixImage {
public:
    PixImageWBMP() : PixImage(PIX_FORMAT_WBMP) {}
    bool DecodeFile(PixFile* stream);
};

// Metafiles are recognised, so that the error says what the file is, but
// not drawn: the library has no vector renderer.
class PixImageWMF : public PixImage {
public:
    PixImageWMF() : PixImage(PIX_FORMAT_WMF) {}
    bool DecodeFile(PixFile* stream);
};

// Helpers the decoders share.
namespace pix {

// Bytes left in the stream after its current position (0 when unknown).
long Remaining(PixFile* stream);
bool ReadExact(PixFile* stream, void* dst, size_t count);
// Sets pixel x of a 1-, 4- or 8-bit row to a colour index.
void SetIndex(BYTE* row, DWORD x, WORD bpp, BYTE index);
// Turns the rows upside down (top-down files become bottom-up images).
void FlipRows(PixImage& image);
// Checks a decoded header's size before anything is allocated for it.
bool SizeIsSane(uint64_t width, uint64_t height);

}  // namespace pix
