// The framework's arrays: CStringArray and CUIntArray. Out-of-range
// indexes never touch memory outside the array: reads give an empty value,
// writes are ignored (InsertAt and SetAtGrow grow the array, as they do in
// the framework).
#pragma once
#include <algorithm>
#include <vector>

#include "afxstr.h"

namespace afx {

template <typename T>
class ValueArray {
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_items.empty(); }
    // `growBy` is accepted for compatibility; storage grows as needed.
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1) {
        (void)growBy;
        m_items.resize(static_cast<size_t>(std::max<INT_PTR>(newSize, 0)));
    }
    void RemoveAll() { m_items.clear(); }
    void FreeExtra() { m_items.shrink_to_fit(); }

    const T& GetAt(INT_PTR index) const {
        return InRange(index) ? m_items[static_cast<size_t>(index)] : Empty();
    }
    void SetAt(INT_PTR index, const T& value) {
        if (InRange(index)) m_items[static_cast<size_t>(index)] = value;
    }
    // Outside the array this gives a scratch element that the array ignores.
    T& ElementAt(INT_PTR index) {
        if (InRange(index)) return m_items[static_cast<size_t>(index)];
        m_scratch = T();
        return m_scratch;
    }
    const T& operator[](INT_PTR index) const { return GetAt(index); }
    T& operator[](INT_PTR index) { return ElementAt(index); }
    const T* GetData() const { return m_items.empty() ? nullptr : m_items.data(); }
    T* GetData() { return m_items.empty() ? nullptr : m_items.data(); }

    INT_PTR Add(const T& value) {
        m_items.push_back(value);
        return GetUpperBound();
    }
    void SetAtGrow(INT_PTR index, const T& value) {
        if (index < 0) return;
        if (index >= GetSize()) SetSize(index + 1);
        m_items[static_cast<size_t>(index)] = value;
    }
    // Inserts `count` copies at `index`; beyond the end the array grows.
    void InsertAt(INT_PTR index, const T& value, INT_PTR count = 1) {
        if (index < 0 || count <= 0) return;
        if (index >= GetSize()) SetSize(index);
        m_items.insert(m_items.begin() + index, static_cast<size_t>(count), value);
    }
    // Removes up to `count` elements from `index`, clipped to the array.
    void RemoveAt(INT_PTR index, INT_PTR count = 1) {
        if (index < 0 || index >= GetSize() || count <= 0) return;
        const INT_PTR last = std::min(GetSize(), index + count);
        m_items.erase(m_items.begin() + index, m_items.begin() + last);
    }
    INT_PTR Append(const ValueArray& other) {
        const INT_PTR first = GetSize();
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
        return first;
    }
    void Copy(const ValueArray& other) { m_items = other.m_items; }

private:
    bool InRange(INT_PTR index) const { return index >= 0 && index < GetSize(); }
    static const T& Empty() {
        static const T empty{};
        return empty;
    }
    std::vector<T> m_items;
    T m_scratch{};
};

}  // namespace afx

class CStringArray : public afx::ValueArray<CString> {
public:
    using ValueArray::Add;
    INT_PTR Add(LPCTSTR value) { return Add(CString(value)); }
};

class CUIntArray : public afx::ValueArray<UINT> {};
