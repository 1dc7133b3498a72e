// CString: an 8-bit (Windows-1252) string with the framework's interface.
// Indexes out of range are clamped or ignored rather than trusted. A CString
// is not a C pointer: pass (LPCTSTR)s, not s, to printf-style functions.
#pragma once
#include <cstdarg>
#include <string>

#include "win/types.h"

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    // A null pointer gives an empty string; an integer resource
    // (MAKEINTRESOURCE) loads that string resource.
    CString(LPCTSTR text);
    CString(LPCTSTR text, int length);
    CString(TCHAR ch, int repeat = 1);
    ~CString() = default;

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCTSTR text);
    CString& operator=(TCHAR ch);

    CString& operator+=(const CString& text);
    CString& operator+=(LPCTSTR text);
    CString& operator+=(TCHAR ch);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    // The character at `index`, or '\0' outside the string.
    TCHAR GetAt(int index) const;
    TCHAR operator[](int index) const { return GetAt(index); }
    void SetAt(int index, TCHAR ch);
    operator LPCTSTR() const { return m_str.c_str(); }

    // strcmp-style comparisons; NoCase folds ASCII letters only.
    int Compare(LPCTSTR text) const;
    int CompareNoCase(LPCTSTR text) const;
    int Collate(LPCTSTR text) const { return Compare(text); }

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    CString SpanIncluding(LPCTSTR set) const;
    CString SpanExcluding(LPCTSTR set) const;

    // Index of the first match at or after `start`, or -1.
    int Find(TCHAR ch, int start = 0) const;
    int Find(LPCTSTR text, int start = 0) const;
    int ReverseFind(TCHAR ch) const;
    int FindOneOf(LPCTSTR set) const;

    // Case changes touch ASCII letters only: 8-bit text keeps its bytes.
    void MakeUpper();
    void MakeLower();
    void MakeReverse();

    // Whitespace is ' ', '\t', '\n', '\v', '\f', '\r'.
    void TrimLeft();
    void TrimLeft(TCHAR ch);
    void TrimLeft(LPCTSTR set);
    void TrimRight();
    void TrimRight(TCHAR ch);
    void TrimRight(LPCTSTR set);
    void Trim() {
        TrimRight();
        TrimLeft();
    }

    // Return the number of replacements or removals.
    int Replace(TCHAR from, TCHAR to);
    int Replace(LPCTSTR from, LPCTSTR to);
    int Remove(TCHAR ch);
    // Return the new length.
    int Insert(int index, TCHAR ch);
    int Insert(int index, LPCTSTR text);
    int Delete(int index, int count = 1);

    // printf formatting; a format that fails leaves the string empty.
    void Format(LPCTSTR format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(LPCTSTR format, va_list args);
    void AppendFormat(LPCTSTR format, ...) __attribute__((format(printf, 2, 3)));

    // Loads string resource `id`; FALSE (and an empty string) when missing.
    BOOL LoadString(UINT id);

    // A writable buffer of at least minLength characters plus a terminator;
    // ReleaseBuffer(-1) takes the length up to the first '\0'.
    LPTSTR GetBuffer(int minLength = 0);
    void ReleaseBuffer(int newLength = -1);
    LPTSTR GetBufferSetLength(int length);
    void FreeExtra() { m_str.shrink_to_fit(); }

    const std::string& str() const { return m_str; }

private:
    std::string m_str;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCTSTR b);
CString operator+(LPCTSTR a, const CString& b);
CString operator+(const CString& a, TCHAR b);
CString operator+(TCHAR a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCTSTR b);
bool operator==(LPCTSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCTSTR b);
bool operator!=(LPCTSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCTSTR b);
bool operator<(LPCTSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCTSTR b);
bool operator>(LPCTSTR a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, LPCTSTR b);
bool operator<=(LPCTSTR a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, LPCTSTR b);
bool operator>=(LPCTSTR a, const CString& b);
