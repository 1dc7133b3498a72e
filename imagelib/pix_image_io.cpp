// Saving, loading and the format detection of the image container.
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "imagelib/pix_codecs.h"
#include "imagelib/pix_io_file.h"
#include "imagelib/pix_mem_file.h"

namespace {

// Runs one decoder on the stream; on success the result moves into `into`.
template <class Codec>
bool DecodeWith(PixImage& into, PixFile* stream, std::string& error) {
    Codec codec;
    try {
        if (codec.DecodeFile(stream) && into.Transfer(codec)) return true;
        error = codec.GetLastError();
    } catch (const std::bad_alloc&) {
        // Working buffers are vectors; the library raises nothing.
        error = "can't allocate memory";
    }
    return false;
}

bool DecodeFormat(PixImage& into, PixFile* stream, DWORD format, std::string& error) {
    switch (format) {
        case PIX_FORMAT_BMP: return DecodeWith<PixImageBMP>(into, stream, error);
        case PIX_FORMAT_GIF: return DecodeWith<PixImageGIF>(into, stream, error);
        case PIX_FORMAT_ICO: return DecodeWith<PixImageICO>(into, stream, error);
        case PIX_FORMAT_TGA: return DecodeWith<PixImageTGA>(into, stream, error);
        case PIX_FORMAT_PCX: return DecodeWith<PixImagePCX>(into, stream, error);
        case PIX_FORMAT_WBMP: return DecodeWith<PixImageWBMP>(into, stream, error);
        case PIX_FORMAT_WMF: return DecodeWith<PixImageWMF>(into, stream, error);
        case PIX_FORMAT_PNG: return DecodeWith<PixImagePNG>(into, stream, error);
        default: error = "Decode: Unknown or wrong format"; return false;
    }
}

// Every out-of-memory text of the library says "allocate memory".
bool IsOutOfMemory(const std::string& error) {
    return strcasestr(error.c_str(), "allocate memory") != nullptr;
}

// The file a save writes: the path itself, or where its symbolic links
// lead, so that a link stays a link and its target gets the picture.
std::string SaveTarget(const char* path) {
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        char link[4096];
        ssize_t n = readlink(target.c_str(), link, sizeof link - 1);
        if (n < 0) break;
        link[n] = '\0';
        if (link[0] == '/') {
            target = link;
        } else {
            size_t slash = target.find_last_of('/');
            target =
                (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + link;
        }
    }
    return target;
}

// Writes all of `bytes` to `fd` and makes them durable.
bool WriteAll(int fd, const BYTE* bytes, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= size_t(n);
    }
    return fsync(fd) == 0 || errno == EINVAL;
}

// A file beside `path`, created exclusively, for writing the new picture
// before it replaces the old one; -1 with errno when none can be made.
int OpenTemporaryBeside(const std::string& path, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter.fetch_add(1));
        int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

DWORD PixFormatForPath(const char* path) {
    const size_t length = path ? std::strlen(path) : 0;
    if (length >= 4 && strcasecmp(path + length - 4, ".png") == 0) return PIX_FORMAT_PNG;
    return PIX_FORMAT_BMP;
}

bool PixImage::Save(const char* path, DWORD format) {
    // The names of the files are strings: running out of memory for them is
    // a failed save, reported like any other.
    try {
        if (!path || !*path) {
            return Fail("Save: no file name");
        }
        const std::string target = SaveTarget(path);
        struct stat old;
        const bool exists = stat(target.c_str(), &old) == 0;
        if (exists && access(target.c_str(), W_OK) != 0) {
            Fail("Save: %s is not writable", path);
            return false;
        }
        // Encoded in memory first: a picture that cannot be encoded touches no
        // file.
        PixMemFile memory;
        if (!memory.Open()) return Fail("Save: can't allocate memory");
        if (!Encode(&memory, format)) {
            // A block of memory refuses a write only when it cannot grow.
            if (std::strcmp(GetLastError(), "BMP write failed") == 0 ||
                std::strcmp(GetLastError(), "PNG: write failed") == 0)
                Fail("Save: can't allocate memory for the encoded picture");
            return false;
        }
        const BYTE* bytes = memory.GetBuffer(false);
        const size_t size = size_t(memory.Size());

        // Written to a temporary file that then replaces the old one, so a
        // failed save never leaves a half-written file where a good one was.
        std::string tempPath;
        int fd = OpenTemporaryBeside(target, tempPath);
        if (fd >= 0) {
            // The new file keeps the old one's permissions.
            bool ok =
                (!exists || fchmod(fd, old.st_mode & 07777) == 0) && WriteAll(fd, bytes, size);
            ok = close(fd) == 0 && ok;
            if (!ok) {
                Fail("Save: writing %s failed: %s", path, std::strerror(errno));
            } else if (std::rename(tempPath.c_str(), target.c_str()) != 0) {
                Fail("Save: can't replace %s: %s", path, std::strerror(errno));
                ok = false;
            }
            if (!ok) unlink(tempPath.c_str());
            return ok;
        }
        const int tempError = errno;
        if (!exists) {
            Fail("Save: can't create %s: %s", path, std::strerror(tempError));
            return false;
        }
        // No temporary file can be made beside it (a folder that is not
        // writable, holding a file that is): the file is overwritten in place.
        int in_place = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        bool ok = in_place >= 0 && WriteAll(in_place, bytes, size);
        ok = (in_place < 0 || close(in_place) == 0) && ok;
        if (!ok)
            Fail(
                "Save: can't make a temporary file beside %s (%s), and writing it in place failed: "
                "%s",
                path, std::strerror(tempError), std::strerror(errno));
        return ok;
    } catch (const std::bad_alloc&) {
        return Fail("Save: can't allocate memory");
    }
}

bool PixImage::Encode(FILE* stream, DWORD format) {
    if (!stream) {
        return Fail("null file handler");
    }
    PixIOFile file(stream);
    return Encode(&file, format);
}

bool PixImage::Encode(PixFile* stream, DWORD format) {
    if (format == PIX_FORMAT_BMP) {
        PixImageBMP codec;
        codec.Ghost(this);
        if (codec.EncodeFile(stream)) return true;
        CopyLastError(codec);
        return false;
    }
    if (format == PIX_FORMAT_PNG) {
        PixImagePNG codec;
        codec.Ghost(this);
        if (codec.EncodeFile(stream)) return true;
        CopyLastError(codec);
        return false;
    }
    if (format >= PIX_FORMAT_GIF && format <= kPixLastFormat) {
        return Fail("Encode: this library writes BMP and PNG files only");
    }
    return Fail("Encode: Unknown format");
}

bool PixImage::Load(const char* path, DWORD format) {
    std::string remembered;
    if (format >= PIX_FORMAT_BMP && format <= kPixLastFormat) {
        FILE* file = path ? std::fopen(path, "rb") : nullptr;
        if (!file) {
            return Fail("Load: can't open %s: %s", path ? path : "(null)", std::strerror(errno));
        }
        bool ok = Decode(file, format);
        std::fclose(file);
        if (ok) return true;
        remembered = GetLastError();
    }
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) {
        return Fail("Load: can't open %s: %s", path ? path : "(null)", std::strerror(errno));
    }
    bool ok = Decode(file, PIX_FORMAT_UNKNOWN);
    std::fclose(file);
    if (!ok && !remembered.empty()) Fail("%s", remembered.c_str());
    return ok;
}

bool PixImage::Decode(FILE* stream, DWORD format) {
    if (!stream) {
        return Fail("null file handler");
    }
    PixIOFile file(stream);
    return Decode(&file, format);
}

bool PixImage::Decode(PixFile* stream, DWORD format) {
    if (!stream) {
        return Fail("null file handler");
    }
    if (m_state.pOwner) {
        return Fail("Decode: this image borrows another's pixels");
    }
    std::string error;
    if (format != PIX_FORMAT_UNKNOWN) {
        if (DecodeFormat(*this, stream, format, error)) return true;
        return Fail("%s", error.c_str());
    }
    const long start = stream->Tell();
    std::string outOfMemory;
    // PNG, with its signature, goes before TGA, which has none.
    for (DWORD f : {PIX_FORMAT_BMP, PIX_FORMAT_PNG, PIX_FORMAT_ICO, PIX_FORMAT_GIF, PIX_FORMAT_TGA,
                    PIX_FORMAT_PCX, PIX_FORMAT_WBMP, PIX_FORMAT_WMF}) {
        if (DecodeFormat(*this, stream, f, error)) return true;
        if (outOfMemory.empty() && IsOutOfMemory(error)) outOfMemory = error;
        stream->Seek(start, SEEK_SET);
    }
    // A decoder that ran out of memory had recognised the file: that is the
    // failure to report, not an unknown format.
    if (!outOfMemory.empty()) return Fail("%s", outOfMemory.c_str());
    return Fail("Decode: Unknown or wrong format");
}
