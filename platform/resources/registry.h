// The table of resources compiled into the executable. The resource
// compiler (tools/rc) generates a source file holding one ResourceTable;
// its constructor registers the entries before main runs.
#pragma once
#include <cstddef>
#include <string>

#include "win/types.h"

namespace win::res {

// A type or name is either a string (upper case, as the compiler stores it)
// or, when `text` is null, the integer id.
struct ResourceEntry {
    const char* typeName;
    unsigned typeId;
    const char* name;
    unsigned nameId;
    const unsigned char* data;
    size_t size;
};

class ResourceTable {
public:
    // Registers the entries for the rest of the program; they are never
    // removed, since static destruction order is unknown.
    ResourceTable(const ResourceEntry* entries, size_t count);
    ResourceTable(const ResourceTable&) = delete;
    ResourceTable& operator=(const ResourceTable&) = delete;
};

// The entry for a type and a name given as Windows passes them (an
// integer resource, "#id", or a string); null when there is none.
const ResourceEntry* FindEntry(LPCSTR name, LPCSTR type);
// Whether `entry` is one of the registered entries (handles from callers
// are checked before use).
bool IsRegisteredEntry(const void* entry);

// The bytes of a resource, or false when it is missing.
bool FindData(LPCSTR name, LPCSTR type, const unsigned char** data, size_t* size);

}  // namespace win::res
