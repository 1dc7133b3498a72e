// The PNG codec, on libpng. Reading: every colour type and bit depth,
// interlaced or not; the result is 24 bits, with transparency laid over
// white (a line drawing on a transparent background stays a line drawing).
// Writing: 24-bit images as RGB, 1-, 4- and 8-bit images with their colour
// table, and the resolution as a pHYs chunk.
//
// libpng reports errors by a long jump back to the setjmp of the function
// that called it. The functions that set one up hold nothing that needs a
// destructor, so the jump skips no clean-up.
#include <png.h>

#include <climits>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "imagelib/pix_codecs.h"

namespace {

// Where the error handler leaves libpng's message.
struct PngError {
    char text[300];
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    auto* error = static_cast<PngError*>(png_get_error_ptr(png));
    std::snprintf(error->text, sizeof error->text, "PNG: %s", message ? message : "error");
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// libpng's own allocations are rows, zlib's state and ancillary chunks: a
// request above this comes from a chunk length a hostile file made up
// (libpng allocates a text chunk's claimed length before reading it), and
// fails as running out of memory would.
constexpr png_alloc_size_t kMaxLibpngBlock = 16 * 1024 * 1024;

png_voidp LimitedMalloc(png_structp, png_alloc_size_t size) {
    return size <= kMaxLibpngBlock ? std::malloc(size) : nullptr;
}

void LimitedFree(png_structp, png_voidp block) { std::free(block); }

void ReadFromStream(png_structp png, png_bytep out, size_t count) {
    auto* stream = static_cast<PixFile*>(png_get_io_ptr(png));
    if (!pix::ReadExact(stream, out, count)) png_error(png, "data truncated");
}

void WriteToStream(png_structp png, png_bytep bytes, size_t count) {
    auto* stream = static_cast<PixFile*>(png_get_io_ptr(png));
    if (stream->Write(bytes, 1, count) != count) png_error(png, "write failed");
}

void FlushStream(png_structp) {}

long DpiOf(png_uint_32 pelsPerMeter) { return long(std::floor(pelsPerMeter * 0.0254 + 0.5)); }

// Reads the header, sets up the conversion to 8-bit BGR, then the rows
// straight into the image, the top row last in the block. `remaining` is
// the stream's size after the signature. False with the reason in `error`.
bool ReadRows(PixImage& image, png_structp png, png_infop info, PngError& error, long remaining) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!pix::SizeIsSane(width, height)) {
        std::snprintf(error.text, sizeof error.text, "PNG: picture too large (%u x %u)",
                      unsigned(width), unsigned(height));
        return false;
    }
    // Deflate shrinks data at most 1032 times, so a file shorter than its
    // rows could be is cut short: refused before the picture is allocated,
    // as a few hostile bytes claiming a huge picture would otherwise cost
    // the whole picture's memory.
    const uint64_t rowsBytes = uint64_t(height) * (uint64_t(png_get_rowbytes(png, info)) + 1);
    if (uint64_t(remaining) * 1032 < rowsBytes) {
        std::snprintf(error.text, sizeof error.text, "PNG: data truncated");
        return false;
    }
    png_set_expand(png);    // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_scale_16(png);  // 16 bits per channel to 8
    png_set_gray_to_rgb(png);
    // Laid over white as the stored values say, without a correction for
    // the file's gamma, as other viewers show it.
    png_set_gamma(png, 1.0, 1.0);
    png_color_16 white{};
    white.red = white.green = white.blue = white.gray = 255;
    png_set_background(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_channels(png, info) != 3 || png_get_bit_depth(png, info) != 8) {
        std::snprintf(error.text, sizeof error.text, "PNG: unexpected pixel layout");
        return false;
    }
    if (!image.Create(width, height, 24, PIX_FORMAT_PNG)) {
        std::snprintf(error.text, sizeof error.text, "%s", image.GetLastError());
        return false;
    }
    // Later passes of an interlaced picture fill in the rows the earlier
    // ones started, so each row is read where it is kept.
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, image.GetRow(height - 1 - y), nullptr);
    png_read_end(png, nullptr);

    png_uint_32 xPels = 0, yPels = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &xPels, &yPels, &unit) && unit == PNG_RESOLUTION_METER &&
        xPels > 0 && yPels > 0 && xPels < 10000000 && yPels < 10000000) {
        image.SetXDPI(DpiOf(xPels));
        image.SetYDPI(DpiOf(yPels));
    }
    return true;
}

bool WriteRows(const PixImage& image, png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) return false;
    const png_uint_32 width = image.GetWidth(), height = image.GetHeight();
    const int bpp = image.GetBpp();
    if (bpp == 24) {
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_bgr(png);
    } else {
        // A palette PNG packs its pixels most significant bit first, as the
        // image's rows do, so the rows are written unchanged.
        png_color palette[256];
        const PixRGBQuad* table = image.GetPalette();
        const int colours = int(image.GetNumColors());
        for (int i = 0; i < colours; ++i)
            palette[i] = png_color{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue};
        png_set_IHDR(png, info, width, height, bpp, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_PLTE(png, info, palette, colours);
    }
    const PixInfoHeader& header = image.GetHeader();
    png_set_pHYs(png, info, png_uint_32(header.biXPelsPerMeter),
                 png_uint_32(header.biYPelsPerMeter), PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (png_uint_32 y = 0; y < height; ++y) png_write_row(png, image.GetRow(height - 1 - y));
    png_write_end(png, info);
    return true;
}

}  // namespace

bool PixImagePNG::DecodeFile(PixFile* stream) {
    BYTE signature[8];
    if (!pix::ReadExact(stream, signature, sizeof signature) ||
        png_sig_cmp(signature, 0, sizeof signature) != 0)
        return Fail("Not a PNG");
    PngError error{"PNG: decode failed"};
    png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning,
                                               nullptr, LimitedMalloc, LimitedFree);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return Fail("PNG: can't allocate memory");
    }
    // Sizes beyond the library's are refused from the header, before any
    // row is allocated; so are ancillary chunks too large to be real.
    png_set_user_limits(png, kPixMaxDimension, kPixMaxDimension);
    png_set_chunk_malloc_max(png, kMaxLibpngBlock);
    png_set_read_fn(png, stream, ReadFromStream);
    // A stream of unknown size (a pipe) is not held to it.
    const long remaining = stream->Size() < 0 ? LONG_MAX : pix::Remaining(stream);
    const bool ok = ReadRows(*this, png, info, error, remaining);
    png_destroy_read_struct(&png, &info, nullptr);
    return ok || Fail("%s", error.text);
}

bool PixImagePNG::EncodeFile(PixFile* stream) {
    if (EncodeSafeCheck(stream)) return false;
    if (GetBpp() != 1 && GetBpp() != 4 && GetBpp() != 8 && GetBpp() != 24)
        return Fail("PNG: unsupported bit depth");
    PngError error{"PNG write failed"};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return Fail("PNG: can't allocate memory");
    }
    png_set_write_fn(png, stream, WriteToStream, FlushStream);
    const bool ok = WriteRows(*this, png, info);
    png_destroy_write_struct(&png, &info);
    return ok || Fail("%s", error.text);
}
