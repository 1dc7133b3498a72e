// A loadable module library for the registry tests: an input module under
// the default symbol that serves names "plugin:N" as N bytes counting up,
// a second register function under a symbol of its own, and an output filter.
#include <cstdlib>
#include <cstring>

#include "audio/registry.h"

namespace {

struct Counter {
    int size;
    int position;
};

int probe(const char* name) { return strncmp(name, "plugin:", 7) == 0 ? 0 : 1; }

int query(ModuleInfo* info, int flags) {
    if (flags & 1) {
        strcpy(info->name, "Plugin Counter");
        strcpy(info->description, "counts bytes");
    }
    if (flags & 2) info->index_or_count = 0;
    return 0;
}

int create(void** instance, const char* name, ModuleEntry*, Engine*) {
    Counter* c = static_cast<Counter*>(calloc(1, sizeof(Counter)));
    if (!c) return -100;
    c->size = atoi(name + 7);
    *instance = c;
    return 0;
}
int destroy(void* instance) {
    free(instance);
    return 0;
}
int open(void*) { return 0; }
int close(void*) { return 0; }
int read(void* instance, void* buffer, int count) {
    Counter* c = static_cast<Counter*>(instance);
    int n = 0;
    unsigned char* out = static_cast<unsigned char*>(buffer);
    while (n < count && c->position < c->size) out[n++] = static_cast<unsigned char>(c->position++);
    return n;
}

const char* filter_name() { return "plugin filter"; }

}  // namespace

extern "C" int input_module_register(void* descriptor) {
    InputModule* m = static_cast<InputModule*>(descriptor);
    m->probe = probe;
    m->query = query;
    m->new_instance = create;
    m->delete_instance = destroy;
    m->open = open;
    m->close = close;
    m->read = read;
    return 0;
}

// Registers the same module without a query slot.
extern "C" int plain_counter_register(void* descriptor) {
    input_module_register(descriptor);
    static_cast<InputModule*>(descriptor)->query = nullptr;
    return 0;
}

extern "C" int output_filter_register(void* descriptor) {
    static_cast<OutputFilter*>(descriptor)->get_name = filter_name;
    return 0;
}
