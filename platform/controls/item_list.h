// The strings and item data of a list box or a combo box, with the index
// rules both share: LB_ERR/CB_ERR (-1) for an index out of range.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace win::controls {

struct Item {
    std::string text;
    LPARAM data = 0;
};

class ItemList {
public:
    int Count() const { return int(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    const Item& At(int index) const { return items_[size_t(index)]; }
    Item& At(int index) { return items_[size_t(index)]; }

    // Appends, or inserts in case-insensitive order when `sorted`.
    int Add(const char* text, bool sorted);
    // Inserts before `index`; -1 appends. Returns the index or -1.
    int Insert(int index, const char* text);
    // Returns the count left, or -1.
    int Delete(int index);
    void Clear() { items_.clear(); }
    // First item after `start` (wrapping; -1 searches all) whose text equals
    // `text`, or only begins with it when `prefix`; case-insensitive. -1 when
    // none.
    int Find(int start, const char* text, bool prefix) const;
    // Copies the item's text into `buffer` (assumed large enough, as on
    // Windows: the caller asks for the length first). Returns the length or -1.
    int GetText(int index, char* buffer) const;

private:
    std::vector<Item> items_;
};

}  // namespace win::controls
