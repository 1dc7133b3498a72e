// Test doubles for driving the real player thread: a decoder of our own
// over a simple frame format, an input module that serves memory "files",
// an output module that records what it is given, and a harness that starts
// the player and collects its notifications.
#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "audio/control.h"
#include "audio/engine.h"

namespace test_player {

// --- Fake frames -------------------------------------------------------------
// A frame: "FK", level, layer, bitrate (kbit/s, 16-bit BE), frequency (16-bit
// BE), mode, stereo, count of 16-bit values (16-bit BE), sample value
// (16-bit BE, signed), frame length in bytes (16-bit BE, at least 16).
struct FakeFrame {
    int level = 1, layer = 3, bitrate = 128, frequency = 44100, mode = 0, stereo = 1;
    int count = 2304;
    int value = 1000;
    int length = 16;
};
std::vector<uint8_t> fake_frame(const FakeFrame& f);
std::vector<uint8_t> fake_stream(const FakeFrame& f, int frames);
const DecoderOps* fake_decoder();

// --- Memory input ("mem:<key>"; "mem:pipe:<key>" serves the same bytes as a
// stream that cannot seek and has no known size) --------------------------------
void put_memory_file(const std::string& key, std::vector<uint8_t> bytes);
int memory_input_register(void* descriptor);
// Counts of the module's new and open calls, and the last offset sought.
struct MemoryStats {
    int news, opens;
    long long last_seek;
};
MemoryStats memory_stats();

// --- Recording output ("rec:<anything>"; cmd_output_send_message makes it
// report its block as a debug text at the level of the message's type) ------
struct Written {
    int size, bytes_per_sample, stereo, sample_rate;
    std::vector<uint8_t> first_bytes;  // up to 16
};
struct ControlCall {
    unsigned flags;
    bool has_record;
    OutputControl record;
};
struct Recording {
    int opens = 0, closes = 0;
    std::vector<Written> writes;
    std::vector<ControlCall> controls;
    std::string last_name;
};
// Capabilities the recording output reports (default: 16-bit only).
void set_recording_caps(unsigned caps);
Recording recording();  // a copy, taken under the lock
void clear_recording();
int recording_output_register(void* descriptor);

std::string function_spec(register_function f);

// --- The player --------------------------------------------------------------
struct Note {
    unsigned code;
    PlayerPayload payload;
    std::string text, text2;  // the message's strings, copied
    std::vector<uint8_t> block;
};

class Harness {
public:
    // Starts a player thread whose notifications come to this thread.
    explicit Harness(const DecoderOps* decoder = fake_decoder());
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    // Registers the memory input and the recording output through the
    // transport and waits for both acknowledgements.
    void register_test_modules();

    template <class... Args>
    int send(unsigned code, Args... args) {
        return control_send(control, code, args...);
    }
    // Takes the next notification (kept in `seen`); false on time-out.
    bool receive(Note* note, int timeout_ms);
    // Waits (at most 30 s: a safety net for loaded machines, not a timing) for the next notification with this code,
    // keeping every notification seen on the way in `seen`. Returns false on
    // time-out.
    bool wait_for(unsigned code, Note* note = nullptr);
    // Waits for the ack or nack of `command`: its result (0 for ack).
    int answer(unsigned command);
    // Sends ping and waits for the pong: everything before it has been
    // handled and notified.
    void sync();
    std::vector<Note> take_seen();
    std::vector<unsigned> codes_seen();

    PlayerControl* control = nullptr;
    int start_result = 0;
    std::vector<Note> seen;

private:
    EngineOptions options{};
    uint32_t ping_tag = 1000;
};

}  // namespace test_player
