// What the engine's source files share: the Player record and the steps
// that several commands use.
#pragma once
#include "audio/control.h"
#include "audio/engine.h"

// Everything here is the engine's own: in the audio namespace, so that its
// short names (play, pause, stop, seek) meet neither the C library nor a
// program.
namespace audio {

struct Player {
    Engine* engine;
    PlayerControl* control;
    int state;
    unsigned mode;
    unsigned position_range;
    int last_position;
    int timecode_granularity;
    int last_hours, last_minutes, last_seconds, last_hundredths;
    int last_duration;
    int input_module;
    char* input_name;
    int output_module;
    char* output_name;
    int feedback_period;  // microseconds; 0 = off
    long long feedback_next_seconds, feedback_next_microseconds;
    unsigned notification_mask;
    int debug_level;
};

// Sends a notification when its mask bit is set (bit 0: always).
template <class... Args>
void notify(Player* player, unsigned mask_bit, unsigned code, Args... args) {
    if (mask_bit && !(player->notification_mask & mask_bit)) return;
    control_send(player->control, code, args...);
}

void set_state(Player* player, int state);
void report_internal(Player* player, const char* reason);

// Reads from the input chain for the decoder and counts the bytes.
int engine_read_input(void* engine, void* buffer, int size);

// Inputs, outputs and the transport (engine_io.cpp).
int open_input(Player* player, const char* name);
int close_input(Player* player);
int open_output(Player* player, const char* name);
int close_output(Player* player);
int play(Player* player);
int pause(Player* player);
int stop(Player* player);
int seek(Player* player, uint32_t offset, uint32_t range);
int seek_to_fraction(Player* player, double fraction);
void delete_input_instance(Player* player);
void delete_output_instance(Player* player);
int output_set_control(Player* player, OutputControl* control, unsigned flags);
void volume_report(Player* player);
void ports_report(Player* player);
void timecode_from_seconds(Timecode* timecode, double seconds);

// Decoding (engine_decode.cpp).
int decode_step(Player* player);
void report_step(Player* player, int result);
// The 8-bit companding table at index v / 32 (-1024 .. 1023).
uint8_t companded_byte(int index);

}  // namespace audio
