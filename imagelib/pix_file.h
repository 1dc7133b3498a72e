// An abstract byte stream, so that the same codec reads and writes a disk
// file or a block of memory.
#pragma once
#include <cstddef>

class PixFile {
public:
    PixFile() = default;
    // A stream may own its memory or its FILE: a copy would free or close
    // it a second time, so streams are not copied.
    PixFile(const PixFile&) = delete;
    PixFile& operator=(const PixFile&) = delete;
    virtual ~PixFile() = default;
    virtual bool Close() = 0;
    // Read and Write count whole items, as fread and fwrite do.
    virtual size_t Read(void* dst, size_t itemSize, size_t itemCount) = 0;
    virtual size_t Write(const void* src, size_t itemSize, size_t itemCount) = 0;
    // `from` as for fseek: 0 start, 1 current position, 2 end.
    virtual bool Seek(long offset, int from) = 0;
    virtual long Tell() = 0;
    virtual long Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual long Error() = 0;
    virtual bool PutC(unsigned char byte) { return Write(&byte, 1, 1) == 1; }
    // The byte read (0 to 255), or -1 at the end or on failure.
    virtual long GetC() = 0;
};
