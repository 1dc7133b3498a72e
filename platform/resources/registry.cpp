#include "resources/registry.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <vector>

#include "win/res.h"

namespace win::res {
namespace {

struct Table {
    const ResourceEntry* entries;
    size_t count;
};

std::mutex& TablesLock() {
    static std::mutex lock;
    return lock;
}

std::vector<Table>& Tables() {
    static std::vector<Table> tables;
    return tables;
}

// A key as Windows passes it: an integer id below 0x10000, "#123", or a
// string compared without regard to case.
struct Key {
    bool isId = false;
    unsigned id = 0;
    const char* text = nullptr;
};

bool ParseKey(LPCSTR value, Key& key) {
    if (IS_INTRESOURCE(value)) {
        key.isId = true;
        key.id = static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(value));
        return true;
    }
    if (value[0] == '#') {
        char* end = nullptr;
        unsigned long id = std::strtoul(value + 1, &end, 10);
        if (end == value + 1 || *end != '\0' || id > 0xFFFF) return false;
        key.isId = true;
        key.id = static_cast<unsigned>(id);
        return true;
    }
    key.text = value;
    return true;
}

bool Matches(const Key& key, const char* text, unsigned id) {
    if (key.isId) return text == nullptr && id == key.id;
    if (text == nullptr) return false;
    const char* a = key.text;
    const char* b = text;
    for (; *a && *b; ++a, ++b) {
        if (std::toupper(static_cast<unsigned char>(*a)) !=
            std::toupper(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

}  // namespace

ResourceTable::ResourceTable(const ResourceEntry* entries, size_t count) {
    // PlaySoundA(SND_RESOURCE) finds its WAVE resources here through
    // FindResourceA: the sound layer sits above this one and asks it.
    std::lock_guard<std::mutex> hold(TablesLock());
    Tables().push_back(Table{entries, count});
}

const ResourceEntry* FindEntry(LPCSTR name, LPCSTR type) {
    if (!name || !type) return nullptr;
    Key nameKey, typeKey;
    if (!ParseKey(name, nameKey) || !ParseKey(type, typeKey)) return nullptr;
    std::lock_guard<std::mutex> hold(TablesLock());
    for (const Table& table : Tables()) {
        for (size_t i = 0; i < table.count; ++i) {
            const ResourceEntry& entry = table.entries[i];
            if (Matches(typeKey, entry.typeName, entry.typeId) &&
                Matches(nameKey, entry.name, entry.nameId))
                return &entry;
        }
    }
    return nullptr;
}

bool IsRegisteredEntry(const void* entry) {
    if (!entry) return false;
    std::lock_guard<std::mutex> hold(TablesLock());
    const std::less<const void*> before;
    for (const Table& table : Tables()) {
        const void* first = table.entries;
        const void* last = table.entries + table.count;
        if (!before(entry, first) && before(entry, last)) {
            const auto offset =
                reinterpret_cast<uintptr_t>(entry) - reinterpret_cast<uintptr_t>(first);
            return offset % sizeof(ResourceEntry) == 0;
        }
    }
    return false;
}

bool FindData(LPCSTR name, LPCSTR type, const unsigned char** data, size_t* size) {
    const ResourceEntry* entry = FindEntry(name, type);
    if (!entry) return false;
    *data = entry->data;
    *size = entry->size;
    return true;
}

}  // namespace win::res

HRSRC WINAPI FindResourceA(HMODULE, LPCSTR name, LPCSTR type) {
    return reinterpret_cast<HRSRC>(
        const_cast<win::res::ResourceEntry*>(win::res::FindEntry(name, type)));
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC resource) {
    if (!win::res::IsRegisteredEntry(resource)) return nullptr;
    const auto* entry = reinterpret_cast<const win::res::ResourceEntry*>(resource);
    return const_cast<unsigned char*>(entry->data);
}

LPVOID WINAPI LockResource(HGLOBAL data) { return data; }

DWORD WINAPI SizeofResource(HMODULE, HRSRC resource) {
    if (!win::res::IsRegisteredEntry(resource)) return 0;
    return static_cast<DWORD>(reinterpret_cast<const win::res::ResourceEntry*>(resource)->size);
}

BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }
