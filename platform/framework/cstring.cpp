#include "afxstr.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "resources/strings.h"

namespace {

bool IsSpace(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }
char AsciiUpper(char ch) {
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}
char AsciiLower(char ch) {
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}
const char* OrEmpty(LPCTSTR text) { return text ? text : ""; }

// Clamps [first, first + count) to a string of `length`.
void ClampRange(int length, int& first, int& count) {
    first = std::clamp(first, 0, length);
    count = std::clamp(count, 0, length - first);
}

}  // namespace

CString::CString(LPCTSTR text) {
    if (text && IS_INTRESOURCE(text)) {
        LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)));
        return;
    }
    m_str = OrEmpty(text);
}

CString::CString(LPCTSTR text, int length) {
    if (!text || length <= 0) return;
    m_str.assign(text, strnlen(text, static_cast<size_t>(length)));
}

CString::CString(TCHAR ch, int repeat) {
    if (repeat > 0) m_str.assign(static_cast<size_t>(repeat), ch);
}

CString& CString::operator=(LPCTSTR text) {
    m_str = OrEmpty(text);
    return *this;
}

CString& CString::operator=(TCHAR ch) {
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& text) {
    m_str += text.m_str;
    return *this;
}

CString& CString::operator+=(LPCTSTR text) {
    m_str += OrEmpty(text);
    return *this;
}

CString& CString::operator+=(TCHAR ch) {
    m_str += ch;
    return *this;
}

TCHAR CString::GetAt(int index) const {
    return index >= 0 && index < GetLength() ? m_str[static_cast<size_t>(index)] : '\0';
}

void CString::SetAt(int index, TCHAR ch) {
    if (index >= 0 && index < GetLength()) m_str[static_cast<size_t>(index)] = ch;
}

int CString::Compare(LPCTSTR text) const { return std::strcmp(m_str.c_str(), OrEmpty(text)); }

int CString::CompareNoCase(LPCTSTR text) const {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_str.c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(OrEmpty(text));
    for (;; ++a, ++b) {
        const int x = static_cast<unsigned char>(AsciiLower(static_cast<char>(*a)));
        const int y = static_cast<unsigned char>(AsciiLower(static_cast<char>(*b)));
        if (x != y || x == 0) return x - y;
    }
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    ClampRange(GetLength(), first, count);
    CString result;
    result.m_str = m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count));
    return result;
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(LPCTSTR set) const {
    size_t end = m_str.find_first_not_of(OrEmpty(set));
    return Left(end == std::string::npos ? GetLength() : static_cast<int>(end));
}

CString CString::SpanExcluding(LPCTSTR set) const {
    size_t end = m_str.find_first_of(OrEmpty(set));
    return Left(end == std::string::npos ? GetLength() : static_cast<int>(end));
}

int CString::Find(TCHAR ch, int start) const {
    if (start < 0 || start >= GetLength()) return -1;
    size_t at = m_str.find(ch, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCTSTR text, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    size_t at = m_str.find(OrEmpty(text), static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(TCHAR ch) const {
    size_t at = m_str.rfind(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(LPCTSTR set) const {
    if (!set || !*set) return -1;
    size_t at = m_str.find_first_of(set);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

void CString::MakeUpper() { std::transform(m_str.begin(), m_str.end(), m_str.begin(), AsciiUpper); }
void CString::MakeLower() { std::transform(m_str.begin(), m_str.end(), m_str.begin(), AsciiLower); }
void CString::MakeReverse() { std::reverse(m_str.begin(), m_str.end()); }

void CString::TrimLeft() {
    auto first = std::find_if(m_str.begin(), m_str.end(), [](char c) { return !IsSpace(c); });
    m_str.erase(m_str.begin(), first);
}

void CString::TrimLeft(TCHAR ch) { m_str.erase(0, m_str.find_first_not_of(ch)); }

void CString::TrimLeft(LPCTSTR set) { m_str.erase(0, m_str.find_first_not_of(OrEmpty(set))); }

void CString::TrimRight() {
    while (!m_str.empty() && IsSpace(m_str.back())) m_str.pop_back();
}

void CString::TrimRight(TCHAR ch) {
    while (!m_str.empty() && m_str.back() == ch) m_str.pop_back();
}

void CString::TrimRight(LPCTSTR set) {
    size_t keep = m_str.find_last_not_of(OrEmpty(set));
    m_str.erase(keep == std::string::npos ? 0 : keep + 1);
}

int CString::Replace(TCHAR from, TCHAR to) {
    int count = 0;
    for (char& c : m_str) {
        if (c == from) {
            c = to;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCTSTR from, LPCTSTR to) {
    const std::string needle = OrEmpty(from);
    if (needle.empty()) return 0;
    const std::string replacement = OrEmpty(to);
    std::string result;
    int count = 0;
    size_t at = 0;
    for (size_t found; (found = m_str.find(needle, at)) != std::string::npos;
         at = found + needle.size()) {
        result.append(m_str, at, found - at);
        result += replacement;
        ++count;
    }
    result.append(m_str, at, std::string::npos);
    m_str.swap(result);
    return count;
}

int CString::Remove(TCHAR ch) {
    const size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int index, TCHAR ch) {
    index = std::clamp(index, 0, GetLength());
    m_str.insert(static_cast<size_t>(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, LPCTSTR text) {
    index = std::clamp(index, 0, GetLength());
    m_str.insert(static_cast<size_t>(index), OrEmpty(text));
    return GetLength();
}

int CString::Delete(int index, int count) {
    ClampRange(GetLength(), index, count);
    m_str.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

void CString::FormatV(LPCTSTR format, va_list args) {
    m_str.clear();
    if (!format) return;
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) return;
    m_str.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(m_str.data(), m_str.size(), format, args);
    m_str.resize(static_cast<size_t>(length));
}

void CString::Format(LPCTSTR format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCTSTR format, ...) {
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_str += tail.m_str;
}

BOOL CString::LoadString(UINT id) {
    auto text = win::res::LoadStringResource(id);
    m_str = text ? *text : std::string();
    return text.has_value();
}

LPTSTR CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) m_str.resize(static_cast<size_t>(minLength));
    return m_str.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) newLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(std::min(newLength, GetLength())));
}

LPTSTR CString::GetBufferSetLength(int length) {
    m_str.resize(static_cast<size_t>(std::max(length, 0)));
    return m_str.data();
}

CString operator+(const CString& a, const CString& b) { return CString(a) += b; }
CString operator+(const CString& a, LPCTSTR b) { return CString(a) += b; }
CString operator+(LPCTSTR a, const CString& b) { return CString(a) += b; }
CString operator+(const CString& a, TCHAR b) { return CString(a) += b; }
CString operator+(TCHAR a, const CString& b) { return CString(a) += b; }

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
bool operator!=(const CString& a, LPCTSTR b) { return a.Compare(b) != 0; }
bool operator!=(LPCTSTR a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, LPCTSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCTSTR a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, LPCTSTR b) { return a.Compare(b) > 0; }
bool operator>(LPCTSTR a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, LPCTSTR b) { return a.Compare(b) <= 0; }
bool operator<=(LPCTSTR a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, LPCTSTR b) { return a.Compare(b) >= 0; }
bool operator>=(LPCTSTR a, const CString& b) { return b.Compare(a) <= 0; }
