// A byte stream over a growable block of memory.
#pragma once
#include "imagelib/pix_file.h"
#include "win/types.h"

class PixMemFile : public PixFile {
public:
    // Uses the caller's block (never freed by the stream unless a write
    // outgrows it); with no block the stream owns what it allocates.
    explicit PixMemFile(BYTE* data = nullptr, DWORD size = 0);
    ~PixMemFile() override;

    bool Open();
    bool Close() override;
    // Returns the block; with `detach` the caller takes it over.
    BYTE* GetBuffer(bool detach = true);

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

    long Capacity() const { return m_nCapacity; }

protected:
    // Makes room for `needed` bytes; false when memory could not be had
    // (the block is then left as it was).
    bool Alloc(DWORD needed);
    void Free();
    void ZeroGap();

    BYTE* m_pData;
    DWORD m_nSize;
    bool m_bOwnsData;
    long m_nPosition;
    long m_nCapacity;
};
