// The module registry: ids and lookup order, validation, spec resolution
// (including a real shared library), queries, filter chains and the
// variable store with its watchers.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "audio/engine.h"
#include "audio/errors.h"

namespace {

struct Report {
    int source;
    int level;
    std::string message;
    std::string reason;
};
std::vector<Report> g_reports;

void record_debug(void*, int source, int level, const char* message, const char* reason) {
    g_reports.push_back({source, level, message, reason ? reason : ""});
}

std::string function_spec(register_function f) {
    char text[64];
    snprintf(text, sizeof text, "function@%llx",
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(f)));
    return text;
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        g_reports.clear();
        engine = engine_create(nullptr);
        ASSERT_NE(engine, nullptr);
        engine->report_debug = record_debug;
    }
    void TearDown() override { engine_destroy(engine); }
    Engine* engine = nullptr;
};

// --- Input modules of our own ------------------------------------------------

int accept_a(const char* name) { return name[0] == 'a' ? 0 : 1; }
int accept_all(const char*) { return 0; }
int ok_new(void** instance, const char*, ModuleEntry*, Engine*) {
    *instance = nullptr;
    return 0;
}
int ok_delete(void*) { return 0; }
int ok_open(void*) { return 0; }
int ok_close(void*) { return 0; }
int ok_read(void*, void*, int) { return 0; }

void fill_input(InputModule* m) {
    m->new_instance = ok_new;
    m->delete_instance = ok_delete;
    m->open = ok_open;
    m->close = ok_close;
    m->read = ok_read;
}
int register_a(void* d) {
    fill_input(static_cast<InputModule*>(d));
    static_cast<InputModule*>(d)->probe = accept_a;
    return 0;
}
int register_all(void* d) {
    fill_input(static_cast<InputModule*>(d));
    static_cast<InputModule*>(d)->probe = accept_all;
    return 0;
}
int register_no_probe(void* d) {
    fill_input(static_cast<InputModule*>(d));
    return 0;
}

TEST_F(Registry, IdsCountAndNewestFirstLookup) {
    EXPECT_EQ(registry_register_module(engine, kind_input, function_spec(register_a).c_str()), 0);
    EXPECT_EQ(registry_register_module(engine, kind_input, function_spec(register_all).c_str()), 0);
    EXPECT_EQ(
        registry_register_module(engine, kind_input, function_spec(register_no_probe).c_str()), 0);
    EXPECT_EQ(registry_module_count(engine, kind_input), 3);
    EXPECT_EQ(registry_module_count(engine, kind_output), 0);

    ModuleEntry* by_name = registry_find_module(engine, kind_input, -1, "abc");
    ASSERT_NE(by_name, nullptr);
    EXPECT_EQ(by_name->id, 1) << "the newer module that accepts the name wins";
    EXPECT_EQ(by_name->module.input.probe, accept_all);
    ASSERT_NE(registry_find_module(engine, kind_input, 0, nullptr), nullptr);
    EXPECT_EQ(registry_find_module(engine, kind_input, 0, nullptr)->module.input.probe, accept_a);
    EXPECT_EQ(registry_find_module(engine, kind_input, 2, nullptr)->module.input.probe, nullptr);
    EXPECT_EQ(registry_find_module(engine, kind_input, 3, nullptr), nullptr);
    EXPECT_EQ(registry_find_module(engine, kind_output, -1, "abc"), nullptr);
}

int missing_new(void* d) {
    register_all(d);
    static_cast<InputModule*>(d)->new_instance = nullptr;
    return 0;
}
int missing_delete(void* d) {
    register_all(d);
    static_cast<InputModule*>(d)->delete_instance = nullptr;
    return 0;
}
int missing_open(void* d) {
    register_all(d);
    static_cast<InputModule*>(d)->open = nullptr;
    return 0;
}
int missing_close_and_read(void* d) {
    register_all(d);
    static_cast<InputModule*>(d)->close = nullptr;
    static_cast<InputModule*>(d)->read = nullptr;
    return 0;
}
int missing_read(void* d) {
    register_all(d);
    static_cast<InputModule*>(d)->read = nullptr;
    return 0;
}
int output_missing_write(void* d) {
    OutputModule* m = static_cast<OutputModule*>(d);
    m->new_instance = ok_new;
    m->delete_instance = ok_delete;
    m->open = ok_open;
    m->close = ok_close;
    return 0;
}

TEST_F(Registry, ValidationNamesTheFirstMissingSlot) {
    struct Case {
        ModuleKind kind;
        register_function f;
        const char* reason;
    } cases[] = {
        {kind_input, missing_new, "null 'new' method in module"},
        {kind_input, missing_delete, "null 'new' method in module"},
        {kind_input, missing_open, "null 'open' method in module"},
        {kind_input, missing_close_and_read, "null 'close' method in module"},
        {kind_input, missing_read, "null 'read' method in module"},
        {kind_output, output_missing_write, "null 'write' method in module"},
    };
    for (const Case& c : cases) {
        g_reports.clear();
        EXPECT_EQ(registry_register_module(engine, c.kind, function_spec(c.f).c_str()), -102);
        ASSERT_EQ(g_reports.size(), 1u) << c.reason;
        EXPECT_EQ(g_reports[0].source, 0);
        EXPECT_EQ(g_reports[0].level, 0);
        EXPECT_EQ(g_reports[0].message, "internal error");
        EXPECT_EQ(g_reports[0].reason, c.reason);
    }
    EXPECT_EQ(registry_module_count(engine, kind_input), 0);
    EXPECT_EQ(registry_module_count(engine, kind_output), 0);
}

TEST_F(Registry, BadSpecsAreRefused) {
    EXPECT_EQ(registry_register_module(engine, kind_input, nullptr), -101);
    EXPECT_EQ(registry_register_module(engine, kind_input, ""), -101);
    EXPECT_EQ(registry_register_module(engine, kind_input, "function@"), -101);
    EXPECT_EQ(registry_register_module(engine, kind_input, "function@12zz"), -101);
    EXPECT_EQ(registry_register_module(engine, kind_input, "function@0"), -101);
    EXPECT_EQ(registry_register_module(engine, kind_input, "/no/such/library.so"), -700);
    EXPECT_EQ(registry_register_module(engine, kind_input, "symbol@"), -700);
    EXPECT_EQ(registry_add_filter(engine, kind_input, "x@/no/such/library.so", -1), -700);
    EXPECT_EQ(registry_module_count(engine, kind_input), 0);
}

TEST_F(Registry, ModulesAndFiltersFromASharedLibrary) {
    const std::string library = AUDIO_TEST_PLUGIN;
    EXPECT_EQ(registry_register_module(engine, kind_input, library.c_str()), 0);
    EXPECT_EQ(
        registry_register_module(engine, kind_input, ("plain_counter_register@" + library).c_str()),
        0);
    EXPECT_EQ(registry_register_module(engine, kind_input, ("no_such_symbol@" + library).c_str()),
              -701);
    EXPECT_EQ(registry_register_module(engine, kind_output, library.c_str()), -701)
        << "the library has no output module under the default symbol";
    EXPECT_EQ(registry_module_count(engine, kind_input), 2);

    ModuleInfo info{};
    EXPECT_EQ(registry_query_module(engine, kind_input, 0, &info, query_module), 0);
    EXPECT_STREQ(info.name, "Plugin Counter");
    EXPECT_EQ(registry_query_module(engine, kind_input, 1, &info, query_module), 0);
    EXPECT_STREQ(info.name, "unknown module name") << "no query slot: the registry answers";

    // The module really works: make an instance and read through it.
    ModuleEntry* entry = registry_find_module(engine, kind_input, -1, "plugin:5");
    ASSERT_NE(entry, nullptr);
    void* instance = nullptr;
    ASSERT_EQ(entry->module.input.new_instance(&instance, "plugin:5", entry, engine), 0);
    unsigned char bytes[8] = {};
    EXPECT_EQ(entry->module.input.read(instance, bytes, 8), 5);
    EXPECT_EQ(bytes[4], 4);
    entry->module.input.delete_instance(instance);

    int id = registry_add_filter(engine, kind_output, library.c_str(), -1);
    EXPECT_EQ(id, 1);
    ASSERT_NE(registry_first_filter(engine, kind_output), nullptr);
    EXPECT_STREQ(registry_first_filter(engine, kind_output)->slots.output.get_name(),
                 "plugin filter");
}

TEST_F(Registry, QueryDefaultsWithoutQuerySlot) {
    ASSERT_EQ(registry_register_module(engine, kind_input, function_spec(register_all).c_str()), 0);
    ModuleInfo info{};
    EXPECT_EQ(registry_query_module(engine, kind_input, 1, &info, query_module), -507);
    EXPECT_EQ(registry_query_module(engine, kind_input, -1, &info, query_module), -507);

    EXPECT_EQ(
        registry_query_module(engine, kind_input, 0, &info, query_module | query_device_count), 0);
    EXPECT_STREQ(info.name, "unknown module name");
    EXPECT_STREQ(info.description, "");
    EXPECT_EQ(info.index_or_count, 1);

    info = ModuleInfo{};
    info.index_or_count = 0;
    EXPECT_EQ(registry_query_module(engine, kind_input, 0, &info, query_device), 0);
    EXPECT_EQ(info.device_flags, 1);
    EXPECT_STREQ(info.name, "unknown device name");

    info.index_or_count = 1;
    EXPECT_EQ(registry_query_module(engine, kind_input, 0, &info, query_device), -101);
}

// --- Filters -----------------------------------------------------------------

// Every filter appends its id to a trace on open, so the chain order shows.
std::vector<int> g_trace;
int g_deleted = 0;

const char* name_alpha() { return "alpha"; }
const char* name_beta() { return "beta"; }
int trace_open(FilterNode* node) {
    g_trace.push_back(node->id);
    return node->next->slots.input.open(node->next);
}
int filter_new(void** instance, int id, Engine*) {
    *instance = reinterpret_cast<void*>(static_cast<intptr_t>(id * 10));
    return 0;
}
int filter_delete(void*) {
    ++g_deleted;
    return 0;
}
int failing_new(void**, int, Engine*) { return -100; }
// Doubles every byte count on its way to the engine.
int doubling_read(FilterNode* node, void* buffer, int count) {
    int n = node->next->slots.input.read(node->next, buffer, count);
    return n > 0 ? 2 * n : n;
}

int alpha_register(void* d) {
    InputFilter* f = static_cast<InputFilter*>(d);
    f->get_name = name_alpha;
    f->new_instance = filter_new;
    f->delete_instance = filter_delete;
    f->open = trace_open;
    return 0;
}
int beta_register(void* d) {
    InputFilter* f = static_cast<InputFilter*>(d);
    f->get_name = name_beta;
    f->open = trace_open;
    f->read = doubling_read;
    return 0;
}
int nameless_register(void*) { return 0; }
int failing_register(void* d) {
    alpha_register(d);
    static_cast<InputFilter*>(d)->new_instance = failing_new;
    return 0;
}

std::vector<int> chain_ids(Engine* engine) {
    std::vector<int> ids;
    for (FilterNode* n = registry_first_filter(engine, kind_input); n; n = registry_next_filter(n))
        ids.push_back(n->id);
    return ids;
}

class Filters : public Registry {
protected:
    void SetUp() override {
        Registry::SetUp();
        g_trace.clear();
        g_deleted = 0;
        alpha = function_spec(alpha_register);
        beta = function_spec(beta_register);
    }
    std::string alpha, beta;
};

TEST_F(Filters, PositionsAndIds) {
    EXPECT_EQ(registry_add_filter(engine, kind_input, alpha.c_str(), 0), 1);
    EXPECT_EQ(registry_add_filter(engine, kind_input, alpha.c_str(), -1), 2);
    EXPECT_EQ(chain_ids(engine), (std::vector<int>{2, 1}));
    // where 1 means "in front of the module", even though a filter 1 exists.
    EXPECT_EQ(registry_add_filter(engine, kind_input, beta.c_str(), 1), 3);
    EXPECT_EQ(chain_ids(engine), (std::vector<int>{2, 1, 3}));
    // where 2 or more: in front of that id, or of the module when absent.
    EXPECT_EQ(registry_add_filter(engine, kind_input, beta.c_str(), 3), 4);
    EXPECT_EQ(registry_add_filter(engine, kind_input, beta.c_str(), 99), 5);
    EXPECT_EQ(chain_ids(engine), (std::vector<int>{2, 1, 4, 3, 5}));
    EXPECT_EQ(registry_first_filter(engine, kind_input)->instance, reinterpret_cast<void*>(20));
    EXPECT_EQ(registry_first_filter(engine, kind_output), nullptr);

    EXPECT_EQ(registry_add_filter(engine, kind_input, alpha.c_str(), -2), -101);
    EXPECT_EQ(registry_add_filter(engine, kind_input, function_spec(nameless_register).c_str(), 0),
              -101);
    EXPECT_EQ(registry_add_filter(engine, kind_input, function_spec(failing_register).c_str(), 0),
              -100);
    EXPECT_EQ(chain_ids(engine).size(), 5u) << "refused filters are not linked in";
}

TEST_F(Filters, CallsTravelFrontToBackWithPassThroughs) {
    ASSERT_EQ(registry_register_module(engine, kind_input, function_spec(register_all).c_str()), 0);
    registry_add_filter(engine, kind_input, alpha.c_str(), 0);  // 1
    registry_add_filter(engine, kind_input, beta.c_str(), -1);  // 2, at the head
    registry_add_filter(engine, kind_input, beta.c_str(), 0);   // 3, next to the module

    // The terminal node refuses while no module instance is there.
    EXPECT_EQ(engine->input_head->slots.input.open(engine->input_head), -102);
    EXPECT_EQ(g_trace, (std::vector<int>{2, 1, 3}));

    ModuleEntry* entry = registry_find_module(engine, kind_input, 0, nullptr);
    engine->input.descriptor = &entry->module.input;
    engine->input.instance = entry;  // any non-null instance
    g_trace.clear();
    EXPECT_EQ(engine->input_head->slots.input.open(engine->input_head), 0);
    EXPECT_EQ(g_trace, (std::vector<int>{2, 1, 3}));
    // Missing module slots get the registry's defaults at the terminal node.
    EXPECT_EQ(engine->input_head->slots.input.seek(engine->input_head, 0), -1);
    EXPECT_EQ(engine->input_head->slots.input.get_caps(engine->input_head), 0u);
    EXPECT_EQ(engine->input_head->slots.input.send_message(engine->input_head, 1, nullptr, 0), -1);
    engine->input.instance = nullptr;
    engine->input.descriptor = nullptr;
}

TEST_F(Filters, OutputTerminalDefaults) {
    OutputControl control{};
    FilterNode* head = engine->output_head;
    EXPECT_EQ(head->slots.output.get_control(head, &control, 0x78), 0);
    EXPECT_EQ(control.stereo, 1);
    EXPECT_EQ(control.master_level, 100);
    EXPECT_EQ(control.pcm_level, 100);
    EXPECT_EQ(control.balance, 50);
    EXPECT_EQ(control.ports, 1);
    EXPECT_EQ(head->slots.output.get_caps(head), 0x8FBFFFFFu);
    EXPECT_EQ(head->slots.output.get_buffer(head, 4608), nullptr);
    unsigned delay = 7;
    EXPECT_EQ(head->slots.output.get_status(head, &delay), -1);
    EXPECT_EQ(head->slots.output.set_control(head, nullptr, control_reset), 0);
}

TEST_F(Filters, RemovalByNameFirstLastAndId) {
    EXPECT_EQ(registry_remove_filter(engine, kind_input, "", 0), -1) << "empty chain";
    EXPECT_EQ(registry_remove_filter(engine, kind_input, "alpha", -2), -1);
    registry_add_filter(engine, kind_input, alpha.c_str(), 0);  // 1
    registry_add_filter(engine, kind_input, beta.c_str(), 0);   // 2
    registry_add_filter(engine, kind_input, alpha.c_str(), 0);  // 3
    registry_add_filter(engine, kind_input, beta.c_str(), 0);   // 4
    ASSERT_EQ(chain_ids(engine), (std::vector<int>{1, 2, 3, 4}));

    EXPECT_EQ(registry_remove_filter(engine, kind_input, "", -2), -1);
    EXPECT_EQ(registry_remove_filter(engine, kind_input, "gamma", -2), -1);
    EXPECT_EQ(registry_remove_filter(engine, kind_input, "beta", -2), 1);  // takes 2
    EXPECT_EQ(chain_ids(engine), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(registry_remove_filter(engine, kind_input, nullptr, 0), 1);   // last: 4
    EXPECT_EQ(registry_remove_filter(engine, kind_input, nullptr, -1), 3);  // first: 1
    EXPECT_EQ(g_deleted, 1) << "only alpha has a delete slot";
    EXPECT_EQ(registry_remove_filter(engine, kind_input, nullptr, -7), -1) << "looks for id 1";
    EXPECT_EQ(registry_remove_filter(engine, kind_input, nullptr, 9), -1);
    // A freed id is handed out again.
    EXPECT_EQ(registry_add_filter(engine, kind_input, beta.c_str(), -1), 1);
    EXPECT_EQ(registry_remove_filter(engine, kind_input, nullptr, -5), 3);
    EXPECT_EQ(registry_remove_filter(engine, kind_input, nullptr, 3), 0) << "only the module left";
    EXPECT_EQ(registry_first_filter(engine, kind_input), nullptr);
    EXPECT_EQ(g_deleted, 2);
}

TEST_F(Filters, TeardownDeletesRemainingFilters) {
    registry_add_filter(engine, kind_input, alpha.c_str(), 0);
    registry_add_filter(engine, kind_input, alpha.c_str(), 0);
    engine_destroy(engine);
    engine = nullptr;
    EXPECT_EQ(g_deleted, 2);
}

// --- Variables -----------------------------------------------------------------

struct Seen {
    std::string watcher;
    std::string name;
    std::string value;  // "<int>N", "<none>" or the text
};
std::vector<Seen> g_seen;

void watch(void* user, const char* name, const void* value) {
    std::string shown;
    if (!value)
        shown = "<none>";
    else if (std::string(name).find("INT") != std::string::npos)
        shown = "<int>" + std::to_string(*static_cast<const int*>(value));
    else
        shown = static_cast<const char*>(value);
    g_seen.push_back({static_cast<const char*>(user), name, shown});
}

TEST_F(Registry, IntegerAndStringVariables) {
    int value = 0;
    char text[16];
    EXPECT_EQ(variable_get_integer(engine, "A.INT", &value), -800);
    EXPECT_EQ(variable_set_integer(engine, nullptr, 1), -101);
    EXPECT_EQ(variable_set_integer(engine, "A.INT", -42), 0);
    EXPECT_EQ(variable_get_integer(engine, "A.INT", &value), 0);
    EXPECT_EQ(value, -42) << "a negative value is not an error";
    EXPECT_EQ(variable_get_integer(engine, "a.int", &value), -800) << "case counts";

    EXPECT_EQ(variable_set_string(engine, "B.TEXT", "first"), 0);
    EXPECT_EQ(variable_set_string(engine, "B.TEXT", "second"), 0);
    EXPECT_EQ(variable_get_string(engine, "B.TEXT", text, sizeof text), 0);
    EXPECT_STREQ(text, "second");
    EXPECT_EQ(variable_get_string(engine, "B.TEXT", text, 4), 0);
    EXPECT_STREQ(text, "sec") << "cut to the buffer";

    // No conversion between the types, and nothing changes.
    EXPECT_EQ(variable_set_integer(engine, "B.TEXT", 5), -801);
    EXPECT_EQ(variable_set_string(engine, "A.INT", "x"), -801);
    EXPECT_EQ(variable_get_integer(engine, "B.TEXT", &value), -801);
    EXPECT_EQ(variable_get_string(engine, "A.INT", text, sizeof text), -801);
    EXPECT_EQ(variable_get_string(engine, "B.TEXT", text, sizeof text), 0);
    EXPECT_STREQ(text, "second");

    EXPECT_EQ(variable_unset(engine, "B.TEXT"), 0);
    EXPECT_EQ(variable_get_string(engine, "B.TEXT", text, sizeof text), -800);
    EXPECT_EQ(variable_unset(engine, "B.TEXT"), -800);
    EXPECT_EQ(variable_set_string(engine, "C.TEXT", nullptr), 0) << "absent text is empty";
    EXPECT_EQ(variable_get_string(engine, "C.TEXT", text, sizeof text), 0);
    EXPECT_STREQ(text, "");
}

TEST_F(Registry, WatchersAreToldNewestFirst) {
    g_seen.clear();
    VariableWatcher* first = nullptr;
    VariableWatcher* second = nullptr;
    VariableWatcher* other = nullptr;
    char w1[] = "w1", w2[] = "w2", w3[] = "w3";
    ASSERT_EQ(variable_add_watcher(engine, "X.INT", w1, watch, &first), 0);
    ASSERT_EQ(variable_add_watcher(engine, "X.INT", w2, watch, &second), 0);
    ASSERT_EQ(variable_add_watcher(engine, "Y.TEXT", w3, watch, &other), 0);
    EXPECT_EQ(variable_add_watcher(engine, "X.INT", w1, nullptr, nullptr), -101);

    variable_set_integer(engine, "X.INT", 7);
    variable_set_string(engine, "Y.TEXT", "hello");
    variable_unset(engine, "X.INT");
    ASSERT_EQ(g_seen.size(), 5u);
    EXPECT_EQ(g_seen[0].watcher, "w2");
    EXPECT_EQ(g_seen[0].value, "<int>7");
    EXPECT_EQ(g_seen[1].watcher, "w1");
    EXPECT_EQ(g_seen[2].watcher, "w3");
    EXPECT_EQ(g_seen[2].value, "hello");
    EXPECT_EQ(g_seen[3].value, "<none>");
    EXPECT_EQ(g_seen[4].name, "X.INT");

    EXPECT_EQ(variable_remove_watcher(engine, second), 0);
    EXPECT_EQ(variable_remove_watcher(engine, second), -1) << "no longer in the list";
    EXPECT_EQ(variable_remove_watcher(engine, nullptr), -101);
    g_seen.clear();
    variable_set_integer(engine, "X.INT", 8);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].watcher, "w1");
}

// A watcher whose callback removes another watcher and unsets the variable
// it watches (again while it is being unset): the removed watcher is not
// called, the nested unset finds nothing, nothing is used after it is freed.
struct Meddler {
    Engine* engine;
    VariableWatcher* victim;
    int calls;
};
void meddle(void* user, const char* name, const void*) {
    Meddler* m = static_cast<Meddler*>(user);
    ++m->calls;
    if (m->victim) variable_remove_watcher(m->engine, m->victim);
    m->victim = nullptr;
    variable_unset(m->engine, name);
}
void must_not_run(void*, const char*, const void*) {
    ADD_FAILURE() << "a removed watcher was called";
}

TEST_F(Registry, WatchersMayChangeTheStoreFromTheirCallback) {
    Meddler m{engine, nullptr, 0};
    ASSERT_EQ(variable_add_watcher(engine, "Z.INT", nullptr, must_not_run, &m.victim), 0);
    ASSERT_EQ(variable_add_watcher(engine, "Z.INT", &m, meddle, nullptr), 0);
    EXPECT_EQ(variable_set_integer(engine, "Z.INT", 1), 0);
    EXPECT_EQ(m.calls, 2) << "told of the value, then of the unset inside the callback";
    EXPECT_EQ(variable_unset(engine, "Z.INT"), -800) << "the callback unset it already";
    EXPECT_EQ(variable_set_string(engine, "Z.INT", "text"), 0);
    EXPECT_EQ(m.calls, 4);
    int value = 0;
    EXPECT_EQ(variable_get_integer(engine, "Z.INT", &value), -800);
}

}  // namespace
