#include "player_harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace test_player {

namespace {

unsigned be16(const uint8_t* b) { return static_cast<unsigned>(b[0]) << 8 | b[1]; }

// --- Fake decoder ------------------------------------------------------------

struct FakeDecoder {
    decoder_read_function read;
    void* context;
};

void* fake_create(decoder_read_function read, void* context) {
    FakeDecoder* d = static_cast<FakeDecoder*>(calloc(1, sizeof(FakeDecoder)));
    if (d) {
        d->read = read;
        d->context = context;
    }
    return d;
}
void fake_destroy(void* d) { free(d); }
void fake_reset(void*) {}

int parse(const uint8_t* b, int length, FrameFormat* f) {
    if (length < 16 || b[0] != 'F' || b[1] != 'K') return -600;
    f->level = b[2];
    f->layer = b[3];
    f->bitrate = static_cast<int>(be16(b + 4));
    f->frequency = static_cast<int>(be16(b + 6));
    f->mode = b[8];
    f->stereo = b[9];
    f->channels = b[9] ? 2 : 1;
    f->count = static_cast<int>(be16(b + 10));
    f->sample_rate = f->frequency;
    f->samples_per_frame = f->level == 1 ? 1152 : 576;
    return 0;
}

int read_exactly(FakeDecoder* d, uint8_t* buffer, int size) {
    int got = 0;
    while (got < size) {
        int n = d->read(d->context, buffer + got, size - got);
        if (n < 0) return n;
        if (n == 0) break;
        got += n;
    }
    return got;
}

int fake_decode(void* state, int16_t* samples, FrameFormat* format) {
    FakeDecoder* d = static_cast<FakeDecoder*>(state);
    uint8_t header[16];
    int got = read_exactly(d, header, 16);
    if (got < 0) return got;
    if (got < 16) return -514;
    if (parse(header, 16, format) != 0) return -600;
    int length = static_cast<int>(be16(header + 14));
    uint8_t skip[256];
    for (int left = length - 16; left > 0;) {
        int n = read_exactly(d, skip, left < 256 ? left : 256);
        if (n <= 0) return n < 0 ? n : -514;
        left -= n;
    }
    int16_t value = static_cast<int16_t>(be16(header + 12));
    if (format->count > 2304) return -600;
    for (int i = 0; i < format->count; ++i) samples[i] = value;
    return 0;
}

void fake_options(void*, int, int) {}
void fake_equalizer(void*, const signed char*) {}

const DecoderOps fake_ops = {fake_create, fake_destroy, fake_reset,     fake_reset, fake_decode,
                             parse,       fake_options, fake_equalizer, nullptr};

// --- Memory input ------------------------------------------------------------

std::mutex files_lock;
std::map<std::string, std::vector<uint8_t>> files;

std::atomic<int> memory_news{0};
std::atomic<int> memory_opens{0};
std::atomic<long long> memory_seek{-1};

struct MemoryFile {
    std::vector<uint8_t> bytes;
    size_t position;
    bool pipe;  // "mem:pipe:<key>": no seeking and no known size, as a pipe
};

int mem_probe(const char* name) { return strncmp(name, "mem:", 4) == 0 ? 0 : 1; }
int mem_new(void** instance, const char* name, ModuleEntry*, Engine*) {
    std::lock_guard<std::mutex> hold(files_lock);
    bool pipe = strncmp(name, "mem:pipe:", 9) == 0;
    auto it = files.find(name + (pipe ? 9 : 4));
    if (it == files.end()) return -513;
    *instance = new MemoryFile{it->second, 0, pipe};
    ++memory_news;
    return 0;
}
int mem_delete(void* instance) {
    delete static_cast<MemoryFile*>(instance);
    return 0;
}
int mem_open(void* instance) {
    static_cast<MemoryFile*>(instance)->position = 0;
    ++memory_opens;
    return 0;
}
int mem_close(void*) { return 0; }
int mem_read(void* instance, void* buffer, int count) {
    MemoryFile* f = static_cast<MemoryFile*>(instance);
    size_t n = std::min(static_cast<size_t>(count), f->bytes.size() - f->position);
    memcpy(buffer, f->bytes.data() + f->position, n);
    f->position += n;
    return static_cast<int>(n);
}
int mem_seek(void* instance, int64_t offset) {
    MemoryFile* f = static_cast<MemoryFile*>(instance);
    if (f->pipe || offset < 0 || static_cast<size_t>(offset) > f->bytes.size()) return -1;
    f->position = static_cast<size_t>(offset);
    memory_seek = offset;
    return 0;
}
unsigned mem_caps(void* instance) { return static_cast<MemoryFile*>(instance)->pipe ? 0 : 1; }
int64_t mem_size(void* instance) {
    MemoryFile* f = static_cast<MemoryFile*>(instance);
    return f->pipe ? 0 : static_cast<int64_t>(f->bytes.size());
}
int mem_message(void*, int type, const void*, int size) { return type * 1000 + size; }

// --- Recording output ----------------------------------------------------------

std::mutex recording_lock;
Recording recorded;
unsigned recording_caps = 0x20000;

struct Recorder {
    std::string name;
    Engine* engine;
};

int rec_probe(const char* name) { return strncmp(name, "rec:", 4) == 0 ? 0 : 1; }
int rec_new(void** instance, const char* name, ModuleEntry*, Engine* engine) {
    *instance = new Recorder{name, engine};
    return 0;
}
int rec_delete(void* instance) {
    delete static_cast<Recorder*>(instance);
    return 0;
}
int rec_open(void* instance) {
    std::lock_guard<std::mutex> hold(recording_lock);
    ++recorded.opens;
    recorded.last_name = static_cast<Recorder*>(instance)->name;
    return 0;
}
int rec_close(void*) {
    std::lock_guard<std::mutex> hold(recording_lock);
    ++recorded.closes;
    return 0;
}
int rec_write(void* instance, const void* samples, int size, int bytes_per_sample, int stereo,
              int rate) {
    // "rec:fail": a device that no longer takes sound.
    if (static_cast<Recorder*>(instance)->name == "rec:fail") return -503;
    std::lock_guard<std::mutex> hold(recording_lock);
    const uint8_t* b = static_cast<const uint8_t*>(samples);
    recorded.writes.push_back(
        {size, bytes_per_sample, stereo, rate, std::vector<uint8_t>(b, b + std::min(size, 16))});
    return size;
}
int rec_set_control(void*, OutputControl* control, unsigned flags) {
    std::lock_guard<std::mutex> hold(recording_lock);
    recorded.controls.push_back({flags, control != nullptr, control ? *control : OutputControl{}});
    return 0;
}
// A message to the recording output is a debug report: its type is the
// level, its block the text (the reason is "why" when the type is odd).
int rec_message(void* instance, int type, const void* data, int size) {
    Engine* e = static_cast<Recorder*>(instance)->engine;
    std::string text(static_cast<const char*>(data), static_cast<size_t>(size));
    if (e && e->report_debug)
        e->report_debug(e->user, 7, type, text.c_str(), type % 2 ? "why" : "");
    return 0;
}
unsigned rec_caps(void*) {
    std::lock_guard<std::mutex> hold(recording_lock);
    return recording_caps;
}

// Strings a notification carries, copied out of the string area.
void copy_texts(const PlayerMessage& m, Note* note) {
    const PlayerPayload& p = m.payload;
    auto s = [](const char* t) { return std::string(t ? t : ""); };
    switch (m.code) {
        case ntf_input_name:
        case ntf_output_name: note->text = s(p.text); break;
        case ntf_environment_integer: note->text = s(p.text_value.text); break;
        case ntf_environment_string:
            note->text = s(p.texts.a);
            note->text2 = s(p.texts.b);
            break;
        case ntf_input_filter_info:
        case ntf_output_filter_info: note->text = s(p.named.text); break;
        case ntf_input_module_info:
        case ntf_output_module_info:
            note->text = s(p.module_info.name);
            note->text2 = s(p.module_info.description);
            break;
        case ntf_input_device_info:
        case ntf_output_device_info:
            note->text = s(p.device_info.name);
            note->text2 = s(p.device_info.description);
            break;
        case ntf_progress: note->text = s(p.progress.text); break;
        case ntf_debug: note->text = s(p.debug.text); break;
        case ntf_error: note->text = s(p.error.text); break;
        case ntf_codec_equalizer:
            if (p.equalizer) {
                const uint8_t* b = static_cast<const uint8_t*>(p.equalizer);
                note->block.assign(b, b + 64);
            }
            break;
        default: break;
    }
}

}  // namespace

std::vector<uint8_t> fake_frame(const FakeFrame& f) {
    std::vector<uint8_t> b(static_cast<size_t>(std::max(f.length, 16)), 0);
    auto put16 = [&](int at, int v) {
        b[at] = static_cast<uint8_t>(v >> 8);
        b[at + 1] = static_cast<uint8_t>(v);
    };
    b[0] = 'F';
    b[1] = 'K';
    b[2] = static_cast<uint8_t>(f.level);
    b[3] = static_cast<uint8_t>(f.layer);
    put16(4, f.bitrate);
    put16(6, f.frequency);
    b[8] = static_cast<uint8_t>(f.mode);
    b[9] = static_cast<uint8_t>(f.stereo);
    put16(10, f.count);
    put16(12, f.value);
    put16(14, static_cast<int>(b.size()));
    return b;
}

std::vector<uint8_t> fake_stream(const FakeFrame& f, int frames) {
    std::vector<uint8_t> all;
    for (int i = 0; i < frames; ++i) {
        std::vector<uint8_t> one = fake_frame(f);
        all.insert(all.end(), one.begin(), one.end());
    }
    return all;
}

const DecoderOps* fake_decoder() { return &fake_ops; }

void put_memory_file(const std::string& key, std::vector<uint8_t> bytes) {
    std::lock_guard<std::mutex> hold(files_lock);
    files[key] = std::move(bytes);
}

int memory_input_register(void* descriptor) {
    *static_cast<InputModule*>(descriptor) =
        InputModule{mem_probe, nullptr,  mem_new,  mem_delete, mem_open,   mem_close,
                    mem_read,  mem_seek, mem_caps, mem_size,   mem_message};
    return 0;
}

MemoryStats memory_stats() { return {memory_news, memory_opens, memory_seek}; }

void set_recording_caps(unsigned caps) {
    std::lock_guard<std::mutex> hold(recording_lock);
    recording_caps = caps;
}
Recording recording() {
    std::lock_guard<std::mutex> hold(recording_lock);
    return recorded;
}
void clear_recording() {
    std::lock_guard<std::mutex> hold(recording_lock);
    recorded = Recording{};
    recording_caps = 0x20000;
}

int recording_output_register(void* descriptor) {
    *static_cast<OutputModule*>(descriptor) = OutputModule{
        rec_probe, nullptr,         rec_new, rec_delete, rec_open, rec_close,  rec_write,
        nullptr,   rec_set_control, nullptr, nullptr,    rec_caps, rec_message};
    return 0;
}

std::string function_spec(register_function f) {
    char text[64];
    snprintf(text, sizeof text, "function@%llx",
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(f)));
    return text;
}

Harness::Harness(const DecoderOps* decoder) {
    clear_recording();
    options.decoder = decoder;
    start_result = control_start(&control, nullptr, engine_thread_routine, &options);
    if (start_result == 0) wait_for(ntf_ready);
}

Harness::~Harness() {
    if (!control) return;
    // Let the player finish and collect everything it sent, so that no heap
    // copy is left in this thread's queue.
    send(cmd_exit);
    wait_for(ntf_exited);
    control_stop(control);
}

void Harness::register_test_modules() {
    send(cmd_input_module_register, function_spec(memory_input_register).c_str());
    EXPECT_EQ(answer(cmd_input_module_register), 0);
    send(cmd_output_module_register, function_spec(recording_output_register).c_str());
    EXPECT_EQ(answer(cmd_output_module_register), 0);
}

bool Harness::receive(Note* note, int timeout_ms) {
    PlayerMessage m;
    if (control_wait(control, &m, timeout_ms * 1000LL) != 0) return false;
    Note n{m.code, m.payload, {}, {}, {}};
    copy_texts(m, &n);
    seen.push_back(n);
    if (note) *note = n;
    return true;
}

bool Harness::wait_for(unsigned code, Note* note) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        Note n;
        if (left <= 0 || !receive(&n, static_cast<int>(left))) return false;
        if (n.code == code) {
            if (note) *note = n;
            return true;
        }
    }
}

int Harness::answer(unsigned command) {
    for (;;) {
        Note n;
        if (!receive(&n, 5000)) {
            ADD_FAILURE() << "no answer to command " << command;
            return 1;
        }
        if (n.code == ntf_nack && n.payload.byte_short.a == command) return n.payload.byte_short.b;
        if (n.code == ntf_ack && n.payload.byte == command) return 0;
    }
}

void Harness::sync() {
    uint32_t tag = ++ping_tag;
    send(cmd_ping, tag);
    for (;;) {
        Note n;
        if (!wait_for(ntf_pong, &n)) {
            ADD_FAILURE() << "no pong";
            return;
        }
        if (n.payload.value == tag) break;
    }
    EXPECT_EQ(answer(cmd_ping), 0);
}

std::vector<Note> Harness::take_seen() {
    std::vector<Note> out;
    out.swap(seen);
    return out;
}

std::vector<unsigned> Harness::codes_seen() {
    std::vector<unsigned> codes;
    for (const Note& n : seen) codes.push_back(n.code);
    return codes;
}

}  // namespace test_player
