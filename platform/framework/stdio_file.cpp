#include "afxfile.h"

#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace {

int CauseOf(int error) {
    switch (error) {
        case ENOENT: return CFileException::fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG: return CFileException::badPath;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS: return CFileException::accessDenied;
        case EMFILE:
        case ENFILE: return CFileException::tooManyOpenFiles;
        case ENOSPC: return CFileException::diskFull;
        default: return CFileException::generic;
    }
}

}  // namespace

CStdioFile::~CStdioFile() { Close(); }

BOOL CStdioFile::Open(LPCTSTR path, UINT flags, CFileException* error) {
    Close();
    auto fail = [&](int osError) {
        if (error) {
            error->m_cause = CauseOf(osError);
            error->m_lOsError = osError;
            error->m_strFileName = path;
        }
        return FALSE;
    };
    if (!path || !*path) return fail(ENOENT);
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');

    const UINT access = flags & 3;
    const bool create = flags & modeCreate;
    const bool truncate = create && !(flags & modeNoTruncate);
    const char* mode = nullptr;
    if (access == modeRead)
        mode = "rb";
    else if (truncate)
        mode = access == modeWrite ? "wb" : "w+b";
    else
        mode = "r+b";  // existing file, kept as it is
    if (access == modeRead && create) mode = truncate ? "w+b" : "r+b";

    FILE* stream = std::fopen(native.c_str(), mode);
    if (!stream && create && !truncate && errno == ENOENT)
        stream = std::fopen(native.c_str(), "w+b");
    if (!stream) return fail(errno);
    struct stat info;
    if (fstat(fileno(stream), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(stream);
        return fail(EISDIR);
    }
    m_pStream = stream;
    m_strFileName = path;
    m_text = !(flags & typeBinary);
    return TRUE;
}

void CStdioFile::Close() {
    if (m_pStream) std::fclose(m_pStream);
    m_pStream = nullptr;
}

BOOL CStdioFile::ReadString(CString& line) {
    line.Empty();
    if (!m_pStream) return FALSE;
    std::string text;
    int ch = EOF;
    bool any = false;
    while ((ch = std::fgetc(m_pStream)) != EOF) {
        any = true;
        if (ch == '\n') break;
        text += static_cast<char>(ch);
    }
    if (!any) return FALSE;
    if (m_text && ch == '\n' && !text.empty() && text.back() == '\r') text.pop_back();
    line = CString(text.c_str(), static_cast<int>(text.size()));
    return TRUE;
}

LPTSTR CStdioFile::ReadString(LPTSTR buffer, UINT max) {
    if (!m_pStream || !buffer || max == 0) return nullptr;
    UINT used = 0;
    while (used + 1 < max) {
        int ch = std::fgetc(m_pStream);
        if (ch == EOF) break;
        if (m_text && ch == '\r') {
            int next = std::fgetc(m_pStream);
            if (next == '\n')
                ch = '\n';
            else if (next != EOF)
                std::ungetc(next, m_pStream);
        }
        buffer[used++] = static_cast<char>(ch);
        if (ch == '\n') break;
    }
    buffer[used] = '\0';
    return used ? buffer : nullptr;
}

BOOL CStdioFile::WriteString(LPCTSTR text) {
    if (!m_pStream || !text) return FALSE;
    for (const char* p = text; *p; ++p) {
        if (m_text && *p == '\n' && std::fputc('\r', m_pStream) == EOF) return FALSE;
        if (std::fputc(*p, m_pStream) == EOF) return FALSE;
    }
    return TRUE;
}

UINT CStdioFile::Read(void* buffer, UINT count) {
    if (!m_pStream || !buffer) return 0;
    return static_cast<UINT>(std::fread(buffer, 1, count, m_pStream));
}

BOOL CStdioFile::Write(const void* buffer, UINT count) {
    if (!m_pStream || (!buffer && count)) return FALSE;
    return std::fwrite(buffer, 1, count, m_pStream) == count;
}

LONGLONG CStdioFile::GetLength() const {
    if (!m_pStream) return 0;
    std::fflush(m_pStream);
    struct stat info;
    return fstat(fileno(m_pStream), &info) == 0 ? static_cast<LONGLONG>(info.st_size) : 0;
}

LONGLONG CStdioFile::GetPosition() const { return m_pStream ? std::ftell(m_pStream) : -1; }

LONGLONG CStdioFile::Seek(LONGLONG offset, UINT from) {
    if (!m_pStream || from > end) return -1;
    const int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
    if (fseeko(m_pStream, static_cast<off_t>(offset), whence) != 0) return -1;
    return ftello(m_pStream);
}
