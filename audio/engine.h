// The player engine: the body of the player thread. It owns the Engine (what
// the modules and the decoder share) and the Player record, carries out the
// client's commands one at a time and, while playing, decodes one frame per
// turn of its loop into the open output.
#pragma once
#include <cstdint>

#include "audio/registry.h"

struct PlayerControl;

enum PlayerState : int {
    state_stopped = 0,
    state_playing = 1,
    state_paused = 2,
    state_end_of_input = 3,
};

// Player mode bits.
enum : unsigned {
    mode_close_on_stop = 0x1,
    mode_close_on_pause = 0x2,
    mode_drain_at_end = 0x4,
};

// Notification mask bits: a notification whose bit is clear is not sent.
enum : unsigned {
    mask_error = 0x1,
    mask_debug = 0x2,
    mask_progress = 0x4,
    mask_ack = 0x8,
    mask_nack = 0x10,
    mask_player_state = 0x20,
    mask_input_state = 0x40,
    mask_input_name = 0x80,
    mask_input_caps = 0x100,
    mask_input_duration = 0x200,
    mask_input_position = 0x400,
    mask_input_position_range = 0x800,
    mask_input_timecode = 0x1000,
    mask_input_timecode_granularity = 0x2000,
    mask_input_stream_info = 0x4000,
    mask_output_state = 0x8000,
    mask_output_name = 0x10000,
    mask_output_caps = 0x20000,
    mask_output_balance = 0x80000,
    mask_output_pcm_level = 0x100000,
    mask_output_master_level = 0x200000,
    mask_output_ports = 0x400000,
};

// PcmBuffer flags: which format fields changed with the latest block.
enum : unsigned {
    format_bytes_per_sample = 0x1,
    format_stereo = 0x2,
    format_sample_rate = 0x4,
};

struct InputSlot {
    int state;  // 0 closed, 1 open
    unsigned caps;
    int64_t position;  // bytes consumed since open or the last seek
    int64_t size;      // 0 = unknown
    int duration;      // whole seconds, 0 = unknown
    void* instance;
    const InputModule* descriptor;
    char* name;
};

struct OutputSlot {
    int state;
    unsigned caps;
    void* instance;
    const OutputModule* descriptor;
    char* name;
};

struct StreamInfo {
    int changed;
    int level;  // 1 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer;
    int bitrate;  // kbit/s, running average
    int frequency;
    int mode;  // 0 stereo, 1 joint, 2 dual, 3 single channel
};

struct Timecode {
    int hours;
    int minutes;
    int seconds;
    int hundredths;
};

struct StreamStatus {
    unsigned frame_count;
    float fraction;
    StreamInfo info;
    Timecode timecode;
};

struct PcmBuffer {
    unsigned flags;
    void* samples;
    int size;  // 16-bit values after decoding, then bytes
    int bytes_per_sample;
    int stereo;
    int sample_rate;
    unsigned status;  // output delay in microseconds, 0 when unknown
};

// What the decoder tells about the frame it decoded (or the header it read).
struct FrameFormat {
    int level;  // 1 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer;
    int bitrate;
    int frequency;
    int mode;
    int channels;           // in the stream
    int samples_per_frame;  // per channel, at the stream's own rate
    int stereo;             // the decoded block is interleaved stereo
    int sample_rate;        // of the decoded block, after down-sampling
    int count;              // 16-bit values in the decoded block
};

// How the engine drives a frame decoder. The read callback that create()
// receives pulls bytes from the input chain: the count read, 0 at the end,
// or a negative error.
typedef int (*decoder_read_function)(void* context, void* buffer, int size);
struct DecoderOps {
    void* (*create)(decoder_read_function read, void* context);
    void (*destroy)(void* decoder);
    // Forgets everything between frames: bit reader, reservoir, synthesis.
    void (*reset)(void* decoder);
    // Clears only the synthesis filters' memory (a new output).
    void (*reset_synthesis)(void* decoder);
    // Decodes one frame into `samples` (room for 2304 16-bit values): 0 and
    // the format, or a negative code (-514 at the end of the input, -600
    // for a frame that was abandoned).
    int (*decode_frame)(void* decoder, int16_t* samples, FrameFormat* format);
    // Reads a frame header from the first bytes of a stream: 0 and the
    // format (without the block fields), or a negative code.
    int (*parse_header)(const uint8_t* bytes, int length, FrameFormat* format);
    void (*set_options)(void* decoder, int channel_mode, int quality);
    // 64 signed bytes, or null to switch the equaliser off.
    void (*set_equalizer)(void* decoder, const signed char* bands);
    // After a reset: the input now stands at byte `position` of `size` bytes
    // (0: unknown). Optional; a tag at the stream's start is skipped only
    // when the decoder knows it is there.
    void (*start_at)(void* decoder, int64_t position, int64_t size);
};

// The library's own decoder.
const DecoderOps* mpeg_decoder_ops();

// Start options for the engine's thread routine: null (or a null decoder)
// runs the library's own decoder; tests hand in a decoder of their own.
struct EngineOptions {
    const DecoderOps* decoder;
};

typedef void (*report_progress_function)(void* user, int source, int code, int value,
                                         const char* message);
typedef void (*report_debug_function)(void* user, int source, int level, const char* message,
                                      const char* reason);
typedef void (*report_error_function)(void* user, int source, int code, const char* message,
                                      const char* reason);

struct Engine {
    char name_tag[8];  // "AUDIO"
    InputSlot input;
    OutputSlot output;
    int input_module_count;
    int output_module_count;
    StreamStatus status;
    PcmBuffer pcm;
    void* user;  // the Player; first argument of the report callbacks
    report_progress_function report_progress;
    report_debug_function report_debug;
    report_error_function report_error;
    int (*get_integer_variable)(Engine* engine, const char* name, int* value);
    int (*get_string_variable)(Engine* engine, const char* name, char* buffer, int capacity);
    int (*add_variable_watcher)(Engine* engine, const char* name, void* user,
                                variable_callback callback, VariableWatcher** handle);
    int (*remove_variable_watcher)(Engine* engine, VariableWatcher* handle);
    // How long the open output takes to play the sound it holds: 0 and the
    // delay, or -1 when no output is open or it cannot tell. A network input
    // asks it to tell a stream that only keeps pace from one that stalled.
    int (*get_output_delay)(Engine* engine, unsigned* microseconds);

    // Decoder state.
    DecoderOps decoder_ops;
    void* decoder;
    int16_t own_buffer[2304];  // 4608 bytes, used when the output offers none
    bool has_toc;
    uint8_t toc[100];
    int vbr;
    int channel_mode;  // 0..3
    int quality;       // 0..2
    bool equalizer_on;
    signed char equalizer[64];

    // Registry state.
    FilterNode* input_head;
    FilterNode input_terminal;
    FilterNode* output_head;
    FilterNode output_terminal;
    ModuleEntry* input_modules;
    ModuleEntry* output_modules;
    Variable* variables;
    VariableWatcher* watchers;
};

// Creates an Engine with its slots cleared, both chains holding only their
// terminal node and the variable functions hooked up. Without a decoder
// the Engine serves the registry only. Null when memory runs out.
Engine* engine_create(const DecoderOps* decoder);
void engine_destroy(Engine* engine);

// The player thread's routine: runs the player until cmd_exit. `user` is an
// EngineOptions pointer or null.
int engine_thread_routine(PlayerControl* control, void* user);
