// The module registry: input and output modules (tables of functions that a
// module fills in when it is registered), the chains of filters in front of
// them, and the engine's variable store with its watchers. Everything here
// runs on the player thread and takes no locks.
#pragma once
#include <cstdint>

struct Engine;
struct ModuleEntry;
struct FilterNode;

// What a module's `query` fills in. Flags: 0x1 name and description of the
// module; 0x2 index_or_count := number of devices; 0x4 describe the device
// whose index is in index_or_count.
struct ModuleInfo {
    int index_or_count;
    int device_flags;
    char name[255];
    char description[255];
};

enum : int {
    query_module = 0x1,
    query_device_count = 0x2,
    query_device = 0x4,
};

// The settings that an output's set_control/get_control carry. Which fields
// are meant is said by the control flags below.
struct OutputControl {
    int bytes_per_sample;
    int sample_rate;
    int stereo;
    int master_level;
    int pcm_level;
    int balance;
    int ports;
};

enum : unsigned {
    control_bytes_per_sample = 0x1,
    control_stereo = 0x2,
    control_sample_rate = 0x4,
    control_master_level = 0x8,
    control_pcm_level = 0x10,
    control_balance = 0x20,
    control_ports = 0x40,
    control_mute = 0x80,
    control_unmute = 0x100,
    control_reset = 0x200,
    control_pause = 0x400,
    control_resume = 0x800,
    control_drain = 0x1000,
};

// Input capability bits.
enum : unsigned { input_can_seek = 0x1 };

// Output capability bits that the engine reads.
enum : unsigned {
    output_caps_default = 0x8FBFFFFF,
    output_takes_8bit_companded = 0x10000,
    output_takes_16bit = 0x20000,
    output_has_status = 0x400000,
};

// An input module: a name (file, URL) becomes a byte stream. `new` and
// `delete` are keywords here, hence new_instance and delete_instance.
struct InputModule {
    int (*probe)(const char* name);
    int (*query)(ModuleInfo* info, int flags);
    int (*new_instance)(void** instance, const char* name, ModuleEntry* entry, Engine* engine);
    int (*delete_instance)(void* instance);
    int (*open)(void* instance);
    int (*close)(void* instance);
    int (*read)(void* instance, void* buffer, int count);
    int (*seek)(void* instance, int64_t offset);
    unsigned (*get_caps)(void* instance);
    int64_t (*get_size)(void* instance);
    int (*send_message)(void* instance, int type, const void* data, int size);
};

// An output module: takes blocks of PCM samples.
struct OutputModule {
    int (*probe)(const char* name);
    int (*query)(ModuleInfo* info, int flags);
    int (*new_instance)(void** instance, const char* name, ModuleEntry* entry, Engine* engine);
    int (*delete_instance)(void* instance);
    int (*open)(void* instance);
    int (*close)(void* instance);
    int (*write)(void* instance, const void* samples, int size, int bytes_per_sample, int stereo,
                 int sample_rate);
    void* (*get_buffer)(void* instance, int size);
    int (*set_control)(void* instance, OutputControl* control, unsigned flags);
    int (*get_control)(void* instance, OutputControl* control, unsigned flags);
    int (*get_status)(void* instance, unsigned* microseconds);
    unsigned (*get_caps)(void* instance);
    int (*send_message)(void* instance, int type, const void* data, int size);
};

// Filters sit in front of a module. The slots after delete_instance receive
// the filter's node and pass calls on to node->next.
struct InputFilter {
    const char* (*get_name)();
    int (*new_instance)(void** instance, int id, Engine* engine);
    int (*delete_instance)(void* instance);
    int (*open)(FilterNode* node);
    int (*close)(FilterNode* node);
    int (*read)(FilterNode* node, void* buffer, int count);
    int (*seek)(FilterNode* node, int64_t offset);
    unsigned (*get_caps)(FilterNode* node);
    int64_t (*get_size)(FilterNode* node);
    int (*send_message)(FilterNode* node, int type, const void* data, int size);
};

struct OutputFilter {
    const char* (*get_name)();
    int (*new_instance)(void** instance, int id, Engine* engine);
    int (*delete_instance)(void* instance);
    int (*open)(FilterNode* node);
    int (*close)(FilterNode* node);
    int (*write)(FilterNode* node, const void* samples, int size, int bytes_per_sample, int stereo,
                 int sample_rate);
    void* (*get_buffer)(FilterNode* node, int size);
    int (*set_control)(FilterNode* node, OutputControl* control, unsigned flags);
    int (*get_control)(FilterNode* node, OutputControl* control, unsigned flags);
    int (*get_status)(FilterNode* node, unsigned* microseconds);
    unsigned (*get_caps)(FilterNode* node);
    int (*send_message)(FilterNode* node, int type, const void* data, int size);
};

// One element of a chain. The terminal node (id 0) belongs to the Engine and
// calls the open module instance; `engine` lets it find that instance.
struct FilterNode {
    int id;
    void* instance;
    union {
        InputFilter input;
        OutputFilter output;
    } slots;
    FilterNode* next;      // toward the module
    FilterNode* previous;  // toward the engine
    Engine* engine;
};

struct ModuleEntry {
    int id;
    union {
        InputModule input;
        OutputModule output;
    } module;  // the registry's own copy of the module's table
    ModuleEntry* next;
};

enum ModuleKind : int { kind_input = 0, kind_output = 1 };

// A register function fills the slots it implements of a cleared descriptor
// (InputModule, OutputModule, InputFilter or OutputFilter) and returns 0.
typedef int (*register_function)(void* descriptor);

// Called with the variable's name and its value: the string, a pointer to
// the integer, or null when the variable is removed.
typedef void (*variable_callback)(void* user, const char* name, const void* value);

enum VariableType : int { variable_string = 0, variable_integer = 1 };

struct Variable {
    char* name;
    int type;
    char* text;
    int integer;
    Variable* previous;
    Variable* next;
};

struct VariableWatcher {
    char* name;
    void* user;
    variable_callback callback;
    VariableWatcher* next;
    VariableWatcher* previous;
};

// Modules and filters. Specs: "function@<hex address>", "symbol@library",
// or "library" (the kind's default symbol).
int registry_register_module(Engine* engine, ModuleKind kind, const char* spec);
int registry_add_filter(Engine* engine, ModuleKind kind, const char* spec, int where);
int registry_remove_filter(Engine* engine, ModuleKind kind, const char* name, int id);
ModuleEntry* registry_find_module(Engine* engine, ModuleKind kind, int id, const char* name);
int registry_module_count(const Engine* engine, ModuleKind kind);
int registry_query_module(Engine* engine, ModuleKind kind, int id, ModuleInfo* info, int flags);
// The chain's filters from the head, the terminal node not included.
FilterNode* registry_first_filter(Engine* engine, ModuleKind kind);
FilterNode* registry_next_filter(FilterNode* node);
// Sets up both chains with only their terminal node; frees everything the
// registry holds (filters' delete called, entries, variables, watchers).
void registry_init(Engine* engine);
void registry_free(Engine* engine);

// The variable store. get_integer stores the value through `value`, so that
// a negative value is not mistaken for an error. get_string copies into a
// buffer of `capacity` bytes, cutting a longer value.
int variable_set_integer(Engine* engine, const char* name, int value);
int variable_get_integer(Engine* engine, const char* name, int* value);
int variable_set_string(Engine* engine, const char* name, const char* text);
int variable_get_string(Engine* engine, const char* name, char* buffer, int capacity);
int variable_unset(Engine* engine, const char* name);
int variable_add_watcher(Engine* engine, const char* name, void* user, variable_callback callback,
                         VariableWatcher** handle);
int variable_remove_watcher(Engine* engine, VariableWatcher* handle);
