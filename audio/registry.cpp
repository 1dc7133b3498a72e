#include "audio/registry.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "audio/engine.h"
#include "audio/errors.h"

namespace {

char* copy_string(const char* text) {
    if (!text) text = "";
    size_t length = strlen(text) + 1;
    char* copy = static_cast<char*>(malloc(length));
    if (copy) memcpy(copy, text, length);
    return copy;
}

void report_engine_error(Engine* engine, const char* reason) {
    if (engine->report_debug) engine->report_debug(engine->user, 0, 0, "internal error", reason);
}

// ---------------------------------------------------------------------------
// Spec resolution

const char* default_symbol(ModuleKind kind, bool filter) {
    if (filter) return kind == kind_input ? "input_filter_register" : "output_filter_register";
    return kind == kind_input ? "input_module_register" : "output_module_register";
}

int parse_address(const char* digits, register_function* out) {
    if (!*digits) return err_invalid_parameters;
    uintptr_t address = 0;
    for (const char* p = digits; *p; ++p) {
        int digit;
        if (*p >= '0' && *p <= '9')
            digit = *p - '0';
        else if (*p >= 'a' && *p <= 'f')
            digit = *p - 'a' + 10;
        else if (*p >= 'A' && *p <= 'F')
            digit = *p - 'A' + 10;
        else
            return err_invalid_parameters;
        if (address >> (sizeof address * 8 - 4)) return err_invalid_parameters;  // too long
        address = address << 4 | static_cast<uintptr_t>(digit);
    }
    if (address == 0) return err_invalid_parameters;
    *out = reinterpret_cast<register_function>(address);
    return 0;
}

int load_symbol(const char* library, const char* symbol, register_function* out) {
    if (!*library) return err_library_not_found;
    // Loaded libraries stay loaded: registered tables point into them.
    HMODULE module = LoadLibraryA(library);
    if (!module) return err_library_not_found;
    FARPROC address = *symbol ? GetProcAddress(module, symbol) : nullptr;
    if (!address) return err_symbol_not_found;
    *out = reinterpret_cast<register_function>(reinterpret_cast<void*>(address));
    return 0;
}

int resolve_spec(const char* spec, ModuleKind kind, bool filter, register_function* out) {
    if (!spec || !*spec) return err_invalid_parameters;
    static const char function_prefix[] = "function@";
    if (strncmp(spec, function_prefix, sizeof function_prefix - 1) == 0)
        return parse_address(spec + sizeof function_prefix - 1, out);
    const char* at = strchr(spec, '@');
    if (!at) return load_symbol(spec, default_symbol(kind, filter), out);
    char* symbol = copy_string(spec);
    if (!symbol) return err_out_of_memory;
    symbol[at - spec] = '\0';
    int result = load_symbol(at + 1, symbol, out);
    free(symbol);
    return result;
}

// ---------------------------------------------------------------------------
// Terminal nodes: they call the open module instance, with the registry's
// defaults for the optional slots a module left empty.

InputSlot& in(FilterNode* node) { return node->engine->input; }
OutputSlot& out(FilterNode* node) { return node->engine->output; }

int terminal_input_open(FilterNode* node) {
    InputSlot& s = in(node);
    return s.descriptor && s.instance ? s.descriptor->open(s.instance) : err_internal;
}
int terminal_input_close(FilterNode* node) {
    InputSlot& s = in(node);
    return s.descriptor && s.instance ? s.descriptor->close(s.instance) : err_internal;
}
int terminal_input_read(FilterNode* node, void* buffer, int count) {
    InputSlot& s = in(node);
    return s.descriptor && s.instance ? s.descriptor->read(s.instance, buffer, count)
                                      : err_internal;
}
int terminal_input_seek(FilterNode* node, int64_t offset) {
    InputSlot& s = in(node);
    return s.descriptor && s.instance && s.descriptor->seek ? s.descriptor->seek(s.instance, offset)
                                                            : -1;
}
unsigned terminal_input_get_caps(FilterNode* node) {
    InputSlot& s = in(node);
    return s.descriptor && s.instance && s.descriptor->get_caps ? s.descriptor->get_caps(s.instance)
                                                                : 0;
}
int64_t terminal_input_get_size(FilterNode* node) {
    InputSlot& s = in(node);
    return s.descriptor && s.instance && s.descriptor->get_size ? s.descriptor->get_size(s.instance)
                                                                : 0;
}
int terminal_input_send_message(FilterNode* node, int type, const void* data, int size) {
    InputSlot& s = in(node);
    return s.descriptor && s.instance && s.descriptor->send_message
               ? s.descriptor->send_message(s.instance, type, data, size)
               : -1;
}

int terminal_output_open(FilterNode* node) {
    OutputSlot& s = out(node);
    return s.descriptor && s.instance ? s.descriptor->open(s.instance) : err_internal;
}
int terminal_output_close(FilterNode* node) {
    OutputSlot& s = out(node);
    return s.descriptor && s.instance ? s.descriptor->close(s.instance) : err_internal;
}
int terminal_output_write(FilterNode* node, const void* samples, int size, int bytes_per_sample,
                          int stereo, int sample_rate) {
    OutputSlot& s = out(node);
    return s.descriptor && s.instance ? s.descriptor->write(s.instance, samples, size,
                                                            bytes_per_sample, stereo, sample_rate)
                                      : err_internal;
}
void* terminal_output_get_buffer(FilterNode* node, int size) {
    OutputSlot& s = out(node);
    return s.descriptor && s.instance && s.descriptor->get_buffer
               ? s.descriptor->get_buffer(s.instance, size)
               : nullptr;
}
int terminal_output_set_control(FilterNode* node, OutputControl* control, unsigned flags) {
    OutputSlot& s = out(node);
    return s.descriptor && s.instance && s.descriptor->set_control
               ? s.descriptor->set_control(s.instance, control, flags)
               : 0;
}
int terminal_output_get_control(FilterNode* node, OutputControl* control, unsigned flags) {
    OutputSlot& s = out(node);
    if (s.descriptor && s.instance && s.descriptor->get_control)
        return s.descriptor->get_control(s.instance, control, flags);
    if (control) {
        control->stereo = 1;
        control->master_level = 100;
        control->pcm_level = 100;
        control->balance = 50;
        control->ports = 1;
    }
    return 0;
}
int terminal_output_get_status(FilterNode* node, unsigned* microseconds) {
    OutputSlot& s = out(node);
    return s.descriptor && s.instance && s.descriptor->get_status
               ? s.descriptor->get_status(s.instance, microseconds)
               : -1;
}
unsigned terminal_output_get_caps(FilterNode* node) {
    OutputSlot& s = out(node);
    return s.descriptor && s.instance && s.descriptor->get_caps ? s.descriptor->get_caps(s.instance)
                                                                : output_caps_default;
}
int terminal_output_send_message(FilterNode* node, int type, const void* data, int size) {
    OutputSlot& s = out(node);
    return s.descriptor && s.instance && s.descriptor->send_message
               ? s.descriptor->send_message(s.instance, type, data, size)
               : -1;
}

// ---------------------------------------------------------------------------
// Pass-throughs for the I/O slots a filter leaves empty.

int pass_input_open(FilterNode* n) { return n->next->slots.input.open(n->next); }
int pass_input_close(FilterNode* n) { return n->next->slots.input.close(n->next); }
int pass_input_read(FilterNode* n, void* b, int c) {
    return n->next->slots.input.read(n->next, b, c);
}
int pass_input_seek(FilterNode* n, int64_t o) { return n->next->slots.input.seek(n->next, o); }
unsigned pass_input_get_caps(FilterNode* n) { return n->next->slots.input.get_caps(n->next); }
int64_t pass_input_get_size(FilterNode* n) { return n->next->slots.input.get_size(n->next); }
int pass_input_send_message(FilterNode* n, int t, const void* d, int s) {
    return n->next->slots.input.send_message(n->next, t, d, s);
}

int pass_output_open(FilterNode* n) { return n->next->slots.output.open(n->next); }
int pass_output_close(FilterNode* n) { return n->next->slots.output.close(n->next); }
int pass_output_write(FilterNode* n, const void* s, int z, int b, int st, int r) {
    return n->next->slots.output.write(n->next, s, z, b, st, r);
}
void* pass_output_get_buffer(FilterNode* n, int s) {
    return n->next->slots.output.get_buffer(n->next, s);
}
int pass_output_set_control(FilterNode* n, OutputControl* c, unsigned f) {
    return n->next->slots.output.set_control(n->next, c, f);
}
int pass_output_get_control(FilterNode* n, OutputControl* c, unsigned f) {
    return n->next->slots.output.get_control(n->next, c, f);
}
int pass_output_get_status(FilterNode* n, unsigned* v) {
    return n->next->slots.output.get_status(n->next, v);
}
unsigned pass_output_get_caps(FilterNode* n) { return n->next->slots.output.get_caps(n->next); }
int pass_output_send_message(FilterNode* n, int t, const void* d, int s) {
    return n->next->slots.output.send_message(n->next, t, d, s);
}

template <class Slot, class Fallback>
void fill(Slot& slot, Fallback fallback) {
    if (!slot) slot = fallback;
}

void fill_pass_throughs(InputFilter& f) {
    fill(f.open, pass_input_open);
    fill(f.close, pass_input_close);
    fill(f.read, pass_input_read);
    fill(f.seek, pass_input_seek);
    fill(f.get_caps, pass_input_get_caps);
    fill(f.get_size, pass_input_get_size);
    fill(f.send_message, pass_input_send_message);
}

void fill_pass_throughs(OutputFilter& f) {
    fill(f.open, pass_output_open);
    fill(f.close, pass_output_close);
    fill(f.write, pass_output_write);
    fill(f.get_buffer, pass_output_get_buffer);
    fill(f.set_control, pass_output_set_control);
    fill(f.get_control, pass_output_get_control);
    fill(f.get_status, pass_output_get_status);
    fill(f.get_caps, pass_output_get_caps);
    fill(f.send_message, pass_output_send_message);
}

// ---------------------------------------------------------------------------
// Chains

FilterNode*& head(Engine* engine, ModuleKind kind) {
    return kind == kind_input ? engine->input_head : engine->output_head;
}
FilterNode* terminal(Engine* engine, ModuleKind kind) {
    return kind == kind_input ? &engine->input_terminal : &engine->output_terminal;
}
ModuleEntry*& entries(Engine* engine, ModuleKind kind) {
    return kind == kind_input ? engine->input_modules : engine->output_modules;
}

const char* filter_name(const FilterNode* node, ModuleKind kind) {
    // get_name is at the same place in both descriptors.
    const char* (*get_name)() =
        kind == kind_input ? node->slots.input.get_name : node->slots.output.get_name;
    return get_name ? get_name() : nullptr;
}

int filter_delete(FilterNode* node, ModuleKind kind) {
    int (*destroy)(void*) =
        kind == kind_input ? node->slots.input.delete_instance : node->slots.output.delete_instance;
    return destroy ? destroy(node->instance) : 0;
}

void insert_before(Engine* engine, ModuleKind kind, FilterNode* node, FilterNode* before) {
    node->next = before;
    node->previous = before->previous;
    if (before->previous)
        before->previous->next = node;
    else
        head(engine, kind) = node;
    before->previous = node;
}

void unlink(Engine* engine, ModuleKind kind, FilterNode* node) {
    if (node->previous)
        node->previous->next = node->next;
    else
        head(engine, kind) = node->next;
    node->next->previous = node->previous;
}

FilterNode* find_by_id(Engine* engine, ModuleKind kind, int id) {
    for (FilterNode* n = head(engine, kind); n; n = n->next)
        if (n->id == id) return n;
    return nullptr;
}

int smallest_free_id(Engine* engine, ModuleKind kind) {
    for (int id = 1;; ++id)
        if (!find_by_id(engine, kind, id)) return id;
}

void free_chain(Engine* engine, ModuleKind kind) {
    FilterNode* end = terminal(engine, kind);
    FilterNode* n = head(engine, kind);
    while (n && n != end) {
        FilterNode* next = n->next;
        filter_delete(n, kind);
        free(n);
        n = next;
    }
    head(engine, kind) = end;
    end->previous = nullptr;
}

// ---------------------------------------------------------------------------
// Variables

Variable* find_variable(Engine* engine, const char* name) {
    for (Variable* v = engine->variables; v; v = v->next)
        if (strcmp(v->name, name) == 0) return v;
    return nullptr;
}

bool watcher_listed(Engine* engine, const VariableWatcher* watcher) {
    for (VariableWatcher* w = engine->watchers; w; w = w->next)
        if (w == watcher) return true;
    return false;
}

// A callback may add or remove watchers, its own or others': the watchers
// to tell are taken first, and each is called only if it is still listed.
void tell_watchers(Engine* engine, const char* name, const void* value) {
    std::vector<VariableWatcher*> due;
    for (VariableWatcher* w = engine->watchers; w; w = w->next)
        if (strcmp(w->name, name) == 0) due.push_back(w);
    for (VariableWatcher* w : due)
        if (watcher_listed(engine, w)) w->callback(w->user, name, value);
}

Variable* new_variable(Engine* engine, const char* name, int type) {
    Variable* v = static_cast<Variable*>(calloc(1, sizeof(Variable)));
    if (!v) return nullptr;
    v->name = copy_string(name);
    if (!v->name) {
        free(v);
        return nullptr;
    }
    v->type = type;
    v->next = engine->variables;
    if (engine->variables) engine->variables->previous = v;
    engine->variables = v;
    return v;
}

bool missing(const char* name) { return !name || !*name; }

}  // namespace

// ---------------------------------------------------------------------------

void registry_init(Engine* engine) {
    FilterNode* in_end = &engine->input_terminal;
    memset(in_end, 0, sizeof *in_end);
    in_end->engine = engine;
    in_end->slots.input = InputFilter{nullptr,
                                      nullptr,
                                      nullptr,
                                      terminal_input_open,
                                      terminal_input_close,
                                      terminal_input_read,
                                      terminal_input_seek,
                                      terminal_input_get_caps,
                                      terminal_input_get_size,
                                      terminal_input_send_message};
    engine->input_head = in_end;

    FilterNode* out_end = &engine->output_terminal;
    memset(out_end, 0, sizeof *out_end);
    out_end->engine = engine;
    out_end->slots.output = OutputFilter{nullptr,
                                         nullptr,
                                         nullptr,
                                         terminal_output_open,
                                         terminal_output_close,
                                         terminal_output_write,
                                         terminal_output_get_buffer,
                                         terminal_output_set_control,
                                         terminal_output_get_control,
                                         terminal_output_get_status,
                                         terminal_output_get_caps,
                                         terminal_output_send_message};
    engine->output_head = out_end;
}

void registry_free(Engine* engine) {
    free_chain(engine, kind_input);
    free_chain(engine, kind_output);
    for (ModuleKind kind : {kind_input, kind_output}) {
        ModuleEntry* e = entries(engine, kind);
        while (e) {
            ModuleEntry* next = e->next;
            free(e);
            e = next;
        }
        entries(engine, kind) = nullptr;
    }
    engine->input_module_count = engine->output_module_count = 0;
    while (engine->variables) {
        Variable* v = engine->variables;
        engine->variables = v->next;
        free(v->name);
        free(v->text);
        free(v);
    }
    while (engine->watchers) {
        VariableWatcher* w = engine->watchers;
        engine->watchers = w->next;
        free(w->name);
        free(w);
    }
}

int registry_register_module(Engine* engine, ModuleKind kind, const char* spec) {
    if (!engine) return err_invalid_parameters;
    register_function fill_descriptor = nullptr;
    int result = resolve_spec(spec, kind, false, &fill_descriptor);
    if (result < 0) return result;

    ModuleEntry candidate;
    memset(&candidate, 0, sizeof candidate);
    fill_descriptor(&candidate.module);

    // The slots every module needs, in the order they are checked. The
    // first five slots after query have the same places in both tables.
    const void* slots[5];
    if (kind == kind_input) {
        const InputModule& m = candidate.module.input;
        const void* in_slots[] = {(void*)m.new_instance, (void*)m.delete_instance, (void*)m.open,
                                  (void*)m.close, (void*)m.read};
        memcpy(slots, in_slots, sizeof slots);
    } else {
        const OutputModule& m = candidate.module.output;
        const void* out_slots[] = {(void*)m.new_instance, (void*)m.delete_instance, (void*)m.open,
                                   (void*)m.close, (void*)m.write};
        memcpy(slots, out_slots, sizeof slots);
    }
    static const char* const reasons[] = {
        "null 'new' method in module", "null 'new' method in module",
        "null 'open' method in module", "null 'close' method in module", nullptr};
    for (int i = 0; i < 5; ++i) {
        if (slots[i]) continue;
        const char* reason = reasons[i];
        if (!reason)
            reason = kind == kind_input ? "null 'read' method in module"
                                        : "null 'write' method in module";
        report_engine_error(engine, reason);
        return err_internal;
    }

    ModuleEntry* entry = static_cast<ModuleEntry*>(malloc(sizeof(ModuleEntry)));
    if (!entry) return err_out_of_memory;
    *entry = candidate;
    ModuleEntry*& list = entries(engine, kind);
    entry->id = list ? list->id + 1 : 0;
    entry->next = list;
    list = entry;
    if (kind == kind_input)
        ++engine->input_module_count;
    else
        ++engine->output_module_count;
    return 0;
}

ModuleEntry* registry_find_module(Engine* engine, ModuleKind kind, int id, const char* name) {
    if (!engine) return nullptr;
    for (ModuleEntry* e = entries(engine, kind); e; e = e->next) {
        if (id != -1) {
            if (e->id == id) return e;
            continue;
        }
        int (*probe)(const char*) =
            kind == kind_input ? e->module.input.probe : e->module.output.probe;
        if (probe && probe(name ? name : "") == 0) return e;
    }
    return nullptr;
}

int registry_module_count(const Engine* engine, ModuleKind kind) {
    if (!engine) return 0;
    return kind == kind_input ? engine->input_module_count : engine->output_module_count;
}

int registry_query_module(Engine* engine, ModuleKind kind, int id, ModuleInfo* info, int flags) {
    if (!info) return err_invalid_parameters;
    ModuleEntry* e = id < 0 ? nullptr : registry_find_module(engine, kind, id, nullptr);
    if (!e) return err_module_not_found;
    int (*query)(ModuleInfo*, int) =
        kind == kind_input ? e->module.input.query : e->module.output.query;
    if (query) return query(info, flags);

    if (flags & (query_module | query_device_count)) {
        if (flags & query_module) {
            strcpy(info->name, "unknown module name");
            info->description[0] = '\0';
        }
        if (flags & query_device_count) info->index_or_count = 1;
        return 0;
    }
    if (flags & query_device) {
        if (info->index_or_count > 0) return err_invalid_parameters;
        info->device_flags = 1;
        strcpy(info->name, "unknown device name");
        info->description[0] = '\0';
    }
    return 0;
}

int registry_add_filter(Engine* engine, ModuleKind kind, const char* spec, int where) {
    if (!engine) return err_invalid_parameters;
    register_function fill_descriptor = nullptr;
    int result = resolve_spec(spec, kind, true, &fill_descriptor);
    if (result < 0) return result;

    FilterNode candidate;
    memset(&candidate, 0, sizeof candidate);
    fill_descriptor(&candidate.slots);
    bool named = kind == kind_input ? candidate.slots.input.get_name != nullptr
                                    : candidate.slots.output.get_name != nullptr;
    if (!named || where < -1) return err_invalid_parameters;

    FilterNode* node = static_cast<FilterNode*>(malloc(sizeof(FilterNode)));
    if (!node) return err_out_of_memory;
    *node = candidate;
    node->engine = engine;
    if (kind == kind_input)
        fill_pass_throughs(node->slots.input);
    else
        fill_pass_throughs(node->slots.output);
    node->id = smallest_free_id(engine, kind);

    FilterNode* before = terminal(engine, kind);
    if (where == -1) {
        before = head(engine, kind);
    } else if (where >= 2) {
        if (FilterNode* n = find_by_id(engine, kind, where)) before = n;
    }

    int (*create)(void**, int, Engine*) =
        kind == kind_input ? node->slots.input.new_instance : node->slots.output.new_instance;
    if (create) {
        result = create(&node->instance, node->id, engine);
        if (result < 0) {
            free(node);
            return result;
        }
    }
    insert_before(engine, kind, node, before);
    return node->id;
}

int registry_remove_filter(Engine* engine, ModuleKind kind, const char* name, int id) {
    if (!engine) return err_invalid_parameters;
    FilterNode* end = terminal(engine, kind);
    FilterNode* found = nullptr;
    if (id == -2) {
        if (!name || !*name || head(engine, kind) == end) return -1;
        for (FilterNode* n = head(engine, kind); n != end; n = n->next) {
            const char* filter = filter_name(n, kind);
            if (filter && strcmp(filter, name) == 0) {
                found = n;
                break;
            }
        }
    } else if (id == -1) {
        found = head(engine, kind);
    } else if (id == 0) {
        found = end->previous;
    } else {
        found = find_by_id(engine, kind, id < 0 ? 1 : id);
    }
    if (!found || found == end) return -1;

    unlink(engine, kind, found);
    filter_delete(found, kind);
    free(found);
    return head(engine, kind)->id;
}

FilterNode* registry_first_filter(Engine* engine, ModuleKind kind) {
    FilterNode* first = head(engine, kind);
    return first == terminal(engine, kind) ? nullptr : first;
}

FilterNode* registry_next_filter(FilterNode* node) {
    FilterNode* next = node ? node->next : nullptr;
    return next && next->id != 0 ? next : nullptr;
}

// ---------------------------------------------------------------------------

int variable_set_integer(Engine* engine, const char* name, int value) {
    if (!engine || missing(name)) return err_invalid_parameters;
    Variable* v = find_variable(engine, name);
    if (v && v->type != variable_integer) return err_variable_type;
    if (!v) {
        v = new_variable(engine, name, variable_integer);
        if (!v) return err_out_of_memory;
    }
    v->integer = value;
    // Watchers get copies: a callback may change or unset the variable.
    std::string kept(v->name);
    tell_watchers(engine, kept.c_str(), &value);
    return 0;
}

int variable_get_integer(Engine* engine, const char* name, int* value) {
    if (!engine || missing(name)) return err_no_such_variable;
    Variable* v = find_variable(engine, name);
    if (!v) return err_no_such_variable;
    if (v->type != variable_integer) return err_variable_type;
    if (value) *value = v->integer;
    return 0;
}

int variable_set_string(Engine* engine, const char* name, const char* text) {
    if (!engine || missing(name)) return err_invalid_parameters;
    Variable* v = find_variable(engine, name);
    if (v && v->type != variable_string) return err_variable_type;
    char* copy = copy_string(text);
    if (!copy) return err_out_of_memory;
    if (!v) {
        v = new_variable(engine, name, variable_string);
        if (!v) {
            free(copy);
            return err_out_of_memory;
        }
    }
    free(v->text);
    v->text = copy;
    std::string kept(v->name), kept_text(copy);
    tell_watchers(engine, kept.c_str(), kept_text.c_str());
    return 0;
}

int variable_get_string(Engine* engine, const char* name, char* buffer, int capacity) {
    if (!engine || missing(name)) return err_no_such_variable;
    Variable* v = find_variable(engine, name);
    if (!v) return err_no_such_variable;
    if (v->type != variable_string) return err_variable_type;
    if (!buffer || capacity <= 0) return err_invalid_parameters;
    size_t length = strnlen(v->text, static_cast<size_t>(capacity) - 1);
    memcpy(buffer, v->text, length);
    buffer[length] = '\0';
    return 0;
}

int variable_unset(Engine* engine, const char* name) {
    if (!engine || missing(name)) return err_no_such_variable;
    Variable* v = find_variable(engine, name);
    if (!v || v->removing) return err_no_such_variable;
    v->removing = true;  // an unset from a watcher's callback finds nothing
    std::string kept(v->name);
    tell_watchers(engine, kept.c_str(), nullptr);
    v = find_variable(engine, kept.c_str());
    if (!v) return 0;
    if (v->previous)
        v->previous->next = v->next;
    else
        engine->variables = v->next;
    if (v->next) v->next->previous = v->previous;
    free(v->name);
    free(v->text);
    free(v);
    return 0;
}

int variable_add_watcher(Engine* engine, const char* name, void* user, variable_callback callback,
                         VariableWatcher** handle) {
    if (!engine || !name || !callback) return err_invalid_parameters;
    VariableWatcher* w = static_cast<VariableWatcher*>(calloc(1, sizeof(VariableWatcher)));
    if (!w) return err_out_of_memory;
    w->name = copy_string(name);
    if (!w->name) {
        free(w);
        return err_out_of_memory;
    }
    w->user = user;
    w->callback = callback;
    w->next = engine->watchers;
    if (engine->watchers) engine->watchers->previous = w;
    engine->watchers = w;
    if (handle) *handle = w;
    return 0;
}

int variable_remove_watcher(Engine* engine, VariableWatcher* handle) {
    if (!engine || !handle) return err_invalid_parameters;
    VariableWatcher* w = engine->watchers;
    while (w && w != handle) w = w->next;
    if (!w) return -1;
    if (w->previous)
        w->previous->next = w->next;
    else
        engine->watchers = w->next;
    if (w->next) w->next->previous = w->previous;
    free(w->name);
    free(w);
    return 0;
}
