// CStdioFile: buffered files with the framework's open flags. Text mode (the
// default) ends a line at LF or CR LF when reading and writes CR LF for each
// '\n'; typeBinary leaves bytes alone. Backslashes in paths become '/'.
#pragma once
#include <cstdio>

#include "afxstr.h"

class CFileException {
public:
    enum {
        none = 0,
        generic = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        diskFull = 14,
        endOfFile = 15
    };
    int m_cause = none;
    LONG m_lOsError = 0;
    CString m_strFileName;
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };
};

class CStdioFile : public CFile {
public:
    CStdioFile() = default;
    ~CStdioFile();
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    // FALSE when the file cannot be opened; `error` (optional) says why.
    BOOL Open(LPCTSTR path, UINT flags, CFileException* error = nullptr);
    void Close();

    // Reads the next line without its line end. FALSE at the end of the
    // file when nothing was read.
    BOOL ReadString(CString& line);
    // Reads at most max - 1 characters, stopping after a '\n' (which is
    // kept; in text mode CR LF reads as '\n'). Null at the end of the file.
    LPTSTR ReadString(LPTSTR buffer, UINT max);
    // Returns FALSE on a write error (the framework would throw).
    BOOL WriteString(LPCTSTR text);

    UINT Read(void* buffer, UINT count);
    BOOL Write(const void* buffer, UINT count);
    LONGLONG GetLength() const;
    LONGLONG GetPosition() const;
    LONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    LONGLONG SeekToEnd() { return Seek(0, end); }
    CString GetFilePath() const { return m_strFileName; }

    FILE* m_pStream = nullptr;

private:
    CString m_strFileName;
    bool m_text = true;
};
