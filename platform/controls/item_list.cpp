#include "controls/item_list.h"

#include <strings.h>

#include <cstring>

namespace win::controls {

int ItemList::Add(const char* text, bool sorted) {
    std::string s = text ? text : "";
    size_t at = items_.size();
    if (sorted) {
        at = 0;
        while (at < items_.size() && strcasecmp(items_[at].text.c_str(), s.c_str()) <= 0) ++at;
    }
    items_.insert(items_.begin() + ptrdiff_t(at), Item{std::move(s), 0});
    return int(at);
}

int ItemList::Insert(int index, const char* text) {
    if (index == -1) index = Count();
    if (index < 0 || index > Count()) return -1;
    items_.insert(items_.begin() + index, Item{text ? text : "", 0});
    return index;
}

int ItemList::Delete(int index) {
    if (!Valid(index)) return -1;
    items_.erase(items_.begin() + index);
    return Count();
}

int ItemList::Find(int start, const char* text, bool prefix) const {
    if (!text || items_.empty()) return -1;
    int n = Count();
    if (start < -1 || start >= n) start = -1;
    size_t len = std::strlen(text);
    for (int k = 1; k <= n; ++k) {
        int i = (start + k) % n;
        const std::string& t = items_[size_t(i)].text;
        bool match =
            prefix ? strncasecmp(t.c_str(), text, len) == 0 : strcasecmp(t.c_str(), text) == 0;
        if (match) return i;
    }
    return -1;
}

int ItemList::GetText(int index, char* buffer) const {
    if (!Valid(index) || !buffer) return -1;
    const std::string& t = At(index).text;
    std::memcpy(buffer, t.c_str(), t.size() + 1);
    return int(t.size());
}

}  // namespace win::controls
