#include "imagelib/pix_io_file.h"

PixIOFile::PixIOFile(FILE* stream) : m_pStream(stream), m_bOwnsStream(stream == nullptr) {}

PixIOFile::~PixIOFile() { Close(); }

bool PixIOFile::Open(const char* name, const char* mode) {
    if (m_pStream || !name || !mode) return false;
    m_pStream = std::fopen(name, mode);
    if (!m_pStream) return false;
    m_bOwnsStream = true;
    return true;
}

bool PixIOFile::Close() {
    if (!m_pStream || !m_bOwnsStream) return true;
    int result = std::fclose(m_pStream);
    m_pStream = nullptr;
    return result == 0;
}

size_t PixIOFile::Read(void* dst, size_t itemSize, size_t itemCount) {
    if (!m_pStream || !dst) return 0;
    return std::fread(dst, itemSize, itemCount, m_pStream);
}

size_t PixIOFile::Write(const void* src, size_t itemSize, size_t itemCount) {
    if (!m_pStream || !src) return 0;
    return std::fwrite(src, itemSize, itemCount, m_pStream);
}

bool PixIOFile::Seek(long offset, int from) {
    return m_pStream && std::fseek(m_pStream, offset, from) == 0;
}

long PixIOFile::Tell() { return m_pStream ? std::ftell(m_pStream) : 0; }

long PixIOFile::Size() {
    if (!m_pStream) return -1;
    long position = std::ftell(m_pStream);
    std::fseek(m_pStream, 0, SEEK_END);
    long size = std::ftell(m_pStream);
    std::fseek(m_pStream, position, SEEK_SET);
    return size;
}

bool PixIOFile::Flush() { return m_pStream && std::fflush(m_pStream) == 0; }

bool PixIOFile::Eof() { return !m_pStream || std::feof(m_pStream) != 0; }

long PixIOFile::Error() { return m_pStream ? std::ferror(m_pStream) : -1; }

bool PixIOFile::PutC(unsigned char byte) {
    return m_pStream && std::fputc(byte, m_pStream) == byte;
}

long PixIOFile::GetC() { return m_pStream ? std::getc(m_pStream) : -1; }
