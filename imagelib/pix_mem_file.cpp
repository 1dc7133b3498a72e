#include "imagelib/pix_mem_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
// Positions and sizes are longs and DWORDs; a stream never grows past what
// both can hold.
constexpr uint64_t kMaxStreamSize = 0x7FFFF000u;
}  // namespace

PixMemFile::PixMemFile(BYTE* data, DWORD size)
    : m_pData(data),
      m_nSize(size),
      m_bOwnsData(data == nullptr),
      m_nPosition(0),
      m_nCapacity(static_cast<long>(size)) {
    if (!data) {
        m_nSize = 0;
        m_nCapacity = 0;
    }
}

PixMemFile::~PixMemFile() { Close(); }

bool PixMemFile::Open() {
    if (m_pData) return false;
    m_nSize = 0;
    m_nCapacity = 0;
    m_nPosition = 0;
    m_pData = static_cast<BYTE*>(std::malloc(1));
    m_bOwnsData = true;
    return m_pData != nullptr;
}

bool PixMemFile::Close() {
    if (m_pData && m_bOwnsData) {
        std::free(m_pData);
        m_pData = nullptr;
        m_nSize = 0;
        m_nCapacity = 0;
        m_nPosition = 0;
    }
    return true;
}

BYTE* PixMemFile::GetBuffer(bool detach) {
    // Ownership can be given up, never gained: a caller's block stays the
    // caller's.
    if (detach) m_bOwnsData = false;
    return m_pData;
}

size_t PixMemFile::Read(void* dst, size_t itemSize, size_t itemCount) {
    if (!dst || !m_pData || m_nPosition < 0 || static_cast<DWORD>(m_nPosition) >= m_nSize) return 0;
    if (itemSize == 0 || itemCount == 0 || itemCount > SIZE_MAX / itemSize) return 0;
    size_t wanted = itemSize * itemCount;
    size_t available = m_nSize - static_cast<DWORD>(m_nPosition);
    size_t count = wanted < available ? wanted : available;
    std::memcpy(dst, m_pData + m_nPosition, count);
    m_nPosition += static_cast<long>(count);
    return count / itemSize;
}

size_t PixMemFile::Write(const void* src, size_t itemSize, size_t itemCount) {
    if (!m_pData || !src || itemSize == 0 || itemCount == 0 || itemCount > SIZE_MAX / itemSize)
        return 0;
    size_t n = itemSize * itemCount;
    uint64_t end = static_cast<uint64_t>(m_nPosition) + n;
    if (end > kMaxStreamSize) return 0;
    if (end > static_cast<uint64_t>(m_nCapacity) && !Alloc(static_cast<DWORD>(end))) return 0;
    ZeroGap();
    std::memcpy(m_pData + m_nPosition, src, n);
    m_nPosition = static_cast<long>(end);
    if (static_cast<DWORD>(m_nPosition) > m_nSize) m_nSize = static_cast<DWORD>(m_nPosition);
    return itemCount;
}

bool PixMemFile::Seek(long offset, int from) {
    if (!m_pData) return false;
    int64_t base;
    switch (from) {
        case 0: base = 0; break;
        case 1: base = m_nPosition; break;
        case 2: base = m_nSize; break;
        default: return false;
    }
    int64_t position = base + offset;
    if (position < 0) position = 0;
    if (position > static_cast<int64_t>(kMaxStreamSize)) return false;
    m_nPosition = static_cast<long>(position);
    return true;
}

long PixMemFile::Tell() { return m_pData ? m_nPosition : -1; }

long PixMemFile::Size() { return m_pData ? static_cast<long>(m_nSize) : -1; }

bool PixMemFile::Flush() { return m_pData != nullptr; }

bool PixMemFile::Eof() { return !m_pData || static_cast<DWORD>(m_nPosition) >= m_nSize; }

long PixMemFile::Error() {
    if (!m_pData) return -1;
    return static_cast<DWORD>(m_nPosition) > m_nSize ? 1 : 0;
}

bool PixMemFile::PutC(unsigned char byte) {
    if (!m_pData) return false;
    uint64_t end = static_cast<uint64_t>(m_nPosition) + 1;
    if (end > kMaxStreamSize) return false;
    if (end > static_cast<uint64_t>(m_nCapacity) && !Alloc(static_cast<DWORD>(end))) return false;
    ZeroGap();
    m_pData[m_nPosition++] = byte;
    if (static_cast<DWORD>(m_nPosition) > m_nSize) m_nSize = static_cast<DWORD>(m_nPosition);
    return true;
}

long PixMemFile::GetC() {
    if (Eof()) return -1;
    return m_pData[m_nPosition++];
}

bool PixMemFile::Alloc(DWORD needed) {
    if (m_nCapacity >= 0 && static_cast<uint64_t>(m_nCapacity) >= needed) return true;
    // Always at least one whole 4096-byte step beyond the need.
    uint64_t capacity = (static_cast<uint64_t>(needed) / 4096) * 4096 + 4096;
    if (capacity > kMaxStreamSize + 4096) return false;
    BYTE* block;
    if (m_pData && m_bOwnsData) {
        block = static_cast<BYTE*>(std::realloc(m_pData, capacity));
    } else {
        // A caller's block is never reallocated: its contents move to a new,
        // owned block and the caller keeps the old one.
        block = static_cast<BYTE*>(std::malloc(capacity));
        if (block && m_pData) std::memcpy(block, m_pData, m_nSize);
    }
    if (!block) return false;
    m_pData = block;
    m_nCapacity = static_cast<long>(capacity);
    m_bOwnsData = true;
    return true;
}

void PixMemFile::Free() { Close(); }

void PixMemFile::ZeroGap() {
    // A write after a seek past the end must not expose stale memory.
    if (static_cast<DWORD>(m_nPosition) > m_nSize)
        std::memset(m_pData + m_nSize, 0, static_cast<DWORD>(m_nPosition) - m_nSize);
}
