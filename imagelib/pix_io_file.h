// A byte stream over a standard FILE stream.
#pragma once
#include <cstdio>

#include "imagelib/pix_file.h"

class PixIOFile : public PixFile {
public:
    // A stream given by the caller is never closed by the wrapper; one that
    // Open makes is.
    explicit PixIOFile(FILE* stream = nullptr);
    ~PixIOFile() override;

    bool Open(const char* name, const char* mode);
    bool Close() override;
    size_t Read(void* dst, size_t itemSize, size_t itemCount) override;
    size_t Write(const void* src, size_t itemSize, size_t itemCount) override;
    bool Seek(long offset, int from) override;
    long Tell() override;
    long Size() override;
    bool Flush() override;
    bool Eof() override;
    long Error() override;
    bool PutC(unsigned char byte) override;
    long GetC() override;

protected:
    FILE* m_pStream;
    bool m_bOwnsStream;
};
