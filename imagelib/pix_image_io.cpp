// Saving, loading and the format detection of the image container.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "imagelib/pix_codecs.h"
#include "imagelib/pix_io_file.h"

namespace {

// Runs one decoder on the stream; on success the result moves into `into`.
template <class Codec>
bool DecodeWith(PixImage& into, PixFile* stream, std::string& error)
{
    Codec codec;
    try {
        if (codec.DecodeFile(stream) && into.Transfer(codec))
            return true;
        error = codec.GetLastError();
    } catch (const std::bad_alloc&) {
        // Working buffers are vectors; the library raises nothing.
        error = "can't allocate memory";
    }
    return false;
}

bool DecodeFormat(PixImage& into, PixFile* stream, DWORD format, std::string& error)
{
    switch (format) {
    case PIX_FORMAT_BMP: return DecodeWith<PixImageBMP>(into, stream, error);
    case PIX_FORMAT_GIF: return DecodeWith<PixImageGIF>(into, stream, error);
    case PIX_FORMAT_ICO: return DecodeWith<PixImageICO>(into, stream, error);
    case PIX_FORMAT_TGA: return DecodeWith<PixImageTGA>(into, stream, error);
    case PIX_FORMAT_PCX: return DecodeWith<PixImagePCX>(into, stream, error);
    case PIX_FORMAT_WBMP: return DecodeWith<PixImageWBMP>(into, stream, error);
    case PIX_FORMAT_WMF: return DecodeWith<PixImageWMF>(into, stream, error);
    default: error = "Decode: Unknown or wrong format"; return false;
    }
}

// A name beside `path` for writing the new file before it replaces the
// old one; created exclusively, with the permissions a plain fopen gives.
FILE* OpenTemporaryBeside(const char* path, std::string& tempPath)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = std::string(path) + ".tmp" + std::to_string(getpid()) + "-" +
                   std::to_string(counter.fetch_add(1));
        int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            FILE* f = fdopen(fd, "wb");
            if (!f) {
                close(fd);
                unlink(tempPath.c_str());
            }
            return f;
        }
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

}  // namespace

bool PixImage::Save(const char* path, DWORD format)
{
    if (!path || !*path) {
        return Fail("Save: no file name");
    }
    // Written to a temporary file first, so that a failed save never leaves
    // a half-written file where a good one was.
    if (access(path, F_OK) == 0 && access(path, W_OK) != 0) {
        return Fail("Save: %s is not writable", path);
    }
    std::string tempPath;
    FILE* file = OpenTemporaryBeside(path, tempPath);
    if (!file) {
        return Fail("Save: can't create %s", path);
    }
    bool encoded;
    bool written;
    {
        PixIOFile stream(file);
        encoded = Encode(&stream, format);
        written = stream.Flush() && stream.Error() == 0;
    }
    written = (fsync(fileno(file)) == 0 || errno == EINVAL) && written;
    written = std::fclose(file) == 0 && written;
    bool ok = encoded && written;
    if (encoded && !written)
        Fail("Save: writing %s failed", path);
    if (ok && std::rename(tempPath.c_str(), path) != 0) {
        Fail("Save: can't replace %s", path);
        ok = false;
    }
    if (!ok)
        unlink(tempPath.c_str());
    return ok;
}

bool PixImage::Encode(FILE* stream, DWORD format)
{
    if (!stream) {
        return Fail("null file handler");
    }
    PixIOFile file(stream);
    return Encode(&file, format);
}

bool PixImage::Encode(PixFile* stream, DWORD format)
{
    if (format == PIX_FORMAT_BMP) {
        PixImageBMP codec;
        codec.Ghost(this);
        if (codec.EncodeFile(stream))
            return true;
        CopyLastError(codec);
        return false;
    }
    if (format >= PIX_FORMAT_GIF && format <= PIX_FORMAT_WMF) {
        return Fail("Encode: this library writes BMP files only");
    }
    return Fail("Encode: Unknown format");
}

bool PixImage::Load(const char* path, DWORD format)
{
    std::string remembered;
    if (format >= PIX_FORMAT_BMP && format <= PIX_FORMAT_WMF) {
        FILE* file = path ? std::fopen(path, "rb") : nullptr;
        if (!file) {
            return Fail("Load: can't open %s", path ? path : "(null)");
        }
        bool ok = Decode(file, format);
        std::fclose(file);
        if (ok)
            return true;
        remembered = GetLastError();
    }
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) {
        return Fail("Load: can't open %s", path ? path : "(null)");
    }
    bool ok = Decode(file, PIX_FORMAT_UNKNOWN);
    std::fclose(file);
    if (!ok && !remembered.empty())
        Fail("%s", remembered.c_str());
    return ok;
}

bool PixImage::Decode(FILE* stream, DWORD format)
{
    if (!stream) {
        return Fail("null file handler");
    }
    PixIOFile file(stream);
    return Decode(&file, format);
}

bool PixImage::Decode(PixFile* stream, DWORD format)
{
    if (!stream) {
        return Fail("null file handler");
    }
    if (m_state.pOwner) {
        return Fail("Decode: this image borrows another's pixels");
    }
    std::string error;
    if (format != PIX_FORMAT_UNKNOWN) {
        if (DecodeFormat(*this, stream, format, error))
            return true;
        return Fail("%s", error.c_str());
    }
    const long start = stream->Tell();
    for (DWORD f : {PIX_FORMAT_BMP, PIX_FORMAT_ICO, PIX_FORMAT_GIF, PIX_FORMAT_TGA, PIX_FORMAT_PCX,
                    PIX_FORMAT_WBMP, PIX_FORMAT_WMF}) {
        if (DecodeFormat(*this, stream, f, error))
            return true;
        stream->Seek(start, SEEK_SET);
    }
    return Fail("Decode: Unknown or wrong format");
}
