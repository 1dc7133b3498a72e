// The codec classes. Each is an image that can fill itself from a stream
// (DecodeFile) and, for BMP, write itself (EncodeFile). A decoder returns
// false with a last error on anything it does not understand, so format
// detection can move on to the next one. PixImage::Decode is their only
// caller and hands them a stream that is never null.
#pragma once
#include "imagelib/pix_image.h"

// BMP: the 12-byte core header and any header of 40 bytes or more (info,
// OS/2 2.x, V4, V5); 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed,
// RLE8, RLE4 and bit fields (16 and 32 bits); bottom-up and top-down rows.
// Not read: JPEG or PNG payloads, OS/2 Huffman and RLE24.
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

// PNG, through libpng: every colour type and depth, interlaced or not,
// decoded to 24 bits with transparency laid over white; written as RGB (24
// bits) or with the colour table (1, 4, 8 bits).
class PixImagePNG : public PixImage {
public:
    PixImagePNG() : PixImage(PIX_FORMAT_PNG) {}
    bool DecodeFile(PixFile* stream);
    bool EncodeFile(PixFile* stream);
};

// ICO and CUR: the largest entry (then the deepest) stored as a DIB that
// decodes. PNG-compressed entries are skipped.
class PixImageICO : public PixImage {
public:
    PixImageICO() : PixImage(PIX_FORMAT_ICO) {}
    bool DecodeFile(PixFile* stream);
};

// GIF87a and GIF89a: the first frame only, LZW-decoded, interlaced or not,
// placed on the logical screen, with its transparent index. Animation is
// not read.
class PixImageGIF : public PixImage {
public:
    PixImageGIF() : PixImage(PIX_FORMAT_GIF) {}
    bool DecodeFile(PixFile* stream);
};

// TGA: colour-mapped (8 bits), true colour (15, 16, 24, 32 bits) and grey
// (8 bits), raw or run-length encoded, either row order. Interleaved files
// are refused; the extension area is not read.
class PixImageTGA : public PixImage {
public:
    PixImageTGA() : PixImage(PIX_FORMAT_TGA) {}
    bool DecodeFile(PixFile* stream);
};

// PCX: 1 bit in 1 to 4 planes, 2 or 4 bits in one plane, 8 bits in 1, 3 or
// 4 planes, run-length encoded; the header's 16 colours or the 256-colour
// table at the end of the file.
class PixImagePCX : public PixImage {
public:
    PixImagePCX() : PixImage(PIX_FORMAT_PCX) {}
    bool DecodeFile(PixFile* stream);
};

// WBMP: type 0 only (1 bit, uncompressed, multi-byte integer sizes).
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
