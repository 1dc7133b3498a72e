// The player's control interface: the message that travels between the
// client's thread and the player thread, the codes, and the functions that
// start and stop the player thread and carry messages both ways as Windows
// messages numbered 0x9000 + code.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <type_traits>

// Commands (client to player).
enum : unsigned {
    cmd_exit = 1,
    cmd_ping = 2,
    cmd_play = 3,
    cmd_pause = 4,
    cmd_stop = 5,
    cmd_seek = 6,
    cmd_input_open = 7,
    cmd_input_close = 8,
    cmd_input_send_message = 9,
    cmd_input_filter_add = 10,
    cmd_input_filter_remove = 11,
    cmd_input_filters_list = 12,
    cmd_input_module_register = 13,
    cmd_input_module_query = 14,
    cmd_input_modules_list = 15,
    cmd_output_open = 16,
    cmd_output_close = 17,
    cmd_output_send_message = 18,
    cmd_output_mute = 19,
    cmd_output_unmute = 20,
    cmd_output_reset = 21,
    cmd_output_drain = 22,
    cmd_output_filter_add = 23,
    cmd_output_filter_remove = 24,
    cmd_output_filters_list = 25,
    cmd_output_module_register = 26,
    cmd_output_module_query = 27,
    cmd_output_modules_list = 28,
    cmd_set_player_mode = 29,
    cmd_get_player_mode = 30,
    cmd_set_environment_integer = 31,
    cmd_get_environment_integer = 32,
    cmd_set_environment_string = 33,
    cmd_get_environment_string = 34,
    cmd_unset_environment = 35,
    cmd_set_input_name = 36,
    cmd_get_input_name = 37,
    cmd_set_input_module = 38,
    cmd_get_input_module = 39,
    cmd_set_input_position_range = 40,
    cmd_get_input_position_range = 41,
    cmd_set_input_timecode_granularity = 42,
    cmd_get_input_timecode_granularity = 43,
    cmd_set_output_name = 44,
    cmd_get_output_name = 45,
    cmd_set_output_module = 46,
    cmd_get_output_module = 47,
    cmd_set_output_volume = 48,
    cmd_get_output_volume = 49,
    cmd_set_output_channels = 50,
    cmd_get_output_channels = 51,
    cmd_set_output_ports = 52,
    cmd_get_output_ports = 53,
    cmd_set_output_feedback_rate = 54,
    cmd_get_output_feedback_rate = 55,
    cmd_set_codec_quality = 56,
    cmd_get_codec_quality = 57,
    cmd_set_codec_equalizer = 58,
    cmd_get_codec_equalizer = 59,
    cmd_set_notification_mask = 60,
    cmd_get_notification_mask = 61,
    cmd_set_debug_level = 62,
    cmd_get_debug_level = 63,
};

// Notifications (player to client).
enum : unsigned {
    ntf_ready = 64,
    ntf_ack = 65,
    ntf_nack = 66,
    ntf_pong = 67,
    ntf_exited = 68,
    ntf_player_state = 69,
    ntf_player_mode = 70,
    ntf_environment_integer = 71,
    ntf_environment_string = 72,
    ntf_input_state = 73,
    ntf_input_name = 74,
    ntf_input_caps = 75,
    ntf_input_position = 76,
    ntf_input_position_range = 77,
    ntf_input_timecode = 78,
    ntf_input_timecode_granularity = 79,
    ntf_input_duration = 80,
    ntf_input_stream_info = 81,
    ntf_input_module = 82,
    ntf_input_module_info = 83,
    ntf_input_device_info = 84,
    ntf_input_filter_info = 85,
    ntf_output_state = 86,
    ntf_output_name = 87,
    ntf_output_caps = 88,
    ntf_output_volume = 89,
    ntf_output_balance = 90,
    ntf_output_pcm_level = 91,
    ntf_output_master_level = 92,
    ntf_output_channels = 93,
    ntf_output_ports = 94,
    ntf_output_feedback_rate = 95,
    ntf_output_module = 96,
    ntf_output_module_info = 97,
    ntf_output_device_info = 98,
    ntf_output_filter_info = 99,
    ntf_codec_quality = 100,
    ntf_codec_equalizer = 101,
    ntf_notification_mask = 102,
    ntf_debug_level = 103,
    ntf_progress = 104,
    ntf_debug = 105,
    ntf_error = 106,
    ntf_output_pcm_snapshot = 107,
};

enum : UINT { player_message_base = 0x9000, player_message_last = 0x9000 + 113 };

// Size of the per-thread area that received strings and blocks live in.
enum : int { control_string_area = 4096 };

// The payload of a message, one member per shape. Strings and blocks point
// into the receiving thread's string area and stay valid until that thread
// unpacks its next message that carries one. Pointers are 8 bytes on this
// host, so pointer fields sit at offsets 8 and 16 rather than 4 and 8;
// every other field keeps its place.
union PlayerPayload {
    uint8_t bytes[32];  // bytes[1], bytes[2]: the "byte at 1/2" shapes
    uint32_t value;     // value by lParam or wParam
    uint8_t byte;
    int16_t short_value;
    struct {
        uint32_t a, b;  // offset and range for positions
    } values;
    struct {
        uint32_t a, b, c;
    } three;
    const char* text;
    struct {
        uint16_t type;
        uint16_t size;
        const void* data;
    } block;
    struct {
        int16_t id;
        const char* text;
    } named;
    struct {
        const char* text;
        uint32_t value;
    } text_value;
    struct {
        const char* a;
        const char* b;
    } texts;
    struct {
        uint8_t master_level, pcm_level, balance;
    } volume;
    struct {
        uint8_t a;
        int16_t b;
    } byte_short;     // ntf_nack: command code and error
    uint8_t four[4];  // timecode: hours, minutes, seconds, hundredths
    struct {
        uint8_t level, layer;
        uint16_t bitrate, frequency;
        uint8_t mode;
    } stream_info;
    struct {
        uint8_t id, count;
        const char* name;
        const char* description;
    } module_info;
    struct {
        uint8_t id, index, flags;
        const char* name;
        const char* description;
    } device_info;
    const void* equalizer;  // 64 signed bytes, or null
    struct {
        uint8_t source, code;
        int16_t value;
        const char* text;
    } progress;
    struct {
        uint8_t source, level;
        const char* text;
    } debug;
    struct {
        uint8_t source;
        int16_t code;
        const char* text;
    } error;
    struct {
        uint32_t seconds, microseconds;
        uint16_t channels, size;
        const void* data;
    } snapshot;
};

struct PlayerMessage {
    uint32_t code;
    PlayerPayload payload;
};

// One per player. Both threads hold a reference; the last one to let go
// releases the slot and the event, so a player thread that outlives
// control_stop's wait never touches freed memory.
struct PlayerControl {
    DWORD tls_slot;
    HANDLE done_event;  // "control done"
    std::atomic<int> references;
};

typedef int (*player_routine)(PlayerControl* control, void* user);

// One send argument: an integer of any width or a pointer. The shape of the
// code says how each is read; missing arguments count as 0.
struct ControlArg {
    intptr_t value;
    template <class T, std::enable_if_t<std::is_integral_v<T> || std::is_enum_v<T>, int> = 0>
    ControlArg(T v) : value(static_cast<intptr_t>(v)) {}
    ControlArg(const void* p) : value(reinterpret_cast<intptr_t>(p)) {}
    ControlArg(std::nullptr_t) : value(0) {}
};

int control_send_args(PlayerControl* control, unsigned code, const ControlArg* args, int count);
int control_drop_args(PlayerControl* control, unsigned code, const ControlArg* args, int count);

// control_send(control, code, arguments of the code's shape...): builds the
// message and posts it to the calling thread's target. 0, -306 for a code
// that is not carried, -100, -1 without a channel on this thread, -308.
template <class... Args>
int control_send(PlayerControl* control, unsigned code, Args... args) {
    const ControlArg list[] = {ControlArg(args)..., ControlArg(0)};
    return control_send_args(control, code, list, static_cast<int>(sizeof...(Args)));
}

// Builds the message and discards it: 0, or -306 for a refused code.
template <class... Args>
int control_drop(PlayerControl* control, unsigned code, Args... args) {
    const ControlArg list[] = {ControlArg(args)..., ControlArg(0)};
    return control_drop_args(control, code, list, static_cast<int>(sizeof...(Args)));
}

// Takes one waiting message without blocking: 0 when none, 1 when `message`
// was filled, or an error.
int control_poll(PlayerControl* control, PlayerMessage* message);
// Blocks for the next message, at most `timeout` microseconds (-1: no
// limit): 0 and the message, -103 on time-out, -1 on failure or WM_QUIT.
int control_wait(PlayerControl* control, PlayerMessage* message, long long timeout);
// Turns a received Windows message into a PlayerMessage on this thread.
int message_unpack(PlayerControl* control, const MSG* msg, PlayerMessage* message);

int control_start(PlayerControl** out, HWND* window, player_routine routine, void* user);
int control_stop(PlayerControl* control);

// kind 1: the library's version; kind 2: the client interface's version.
int library_version(int kind);
// True when `version` (library_version(2)) is an interface 3.2 that this
// client speaks; otherwise shows the "Audio Error" box, without an owner,
// and returns false once it is closed.
bool client_version_check(int version);
int player_start(PlayerControl** out, HWND* window);
int player_stop(PlayerControl* control);

// The client side of a player (the application derives from it). The
// constructor starts the player with a hidden window as the target of its
// notifications; DispatchNotification calls the handler of each code from
// 64 to 106 (except 95). Every handler of this class does nothing.
class PlayerClient {
public:
    explicit PlayerClient(HINSTANCE instance);
    // Runs `routine` with `user` on the player thread in place of the player
    // engine (a player of the caller's own, such as a test's).
    PlayerClient(HINSTANCE instance, player_routine routine, void* user);
    virtual ~PlayerClient();
    PlayerClient(const PlayerClient&) = delete;
    PlayerClient& operator=(const PlayerClient&) = delete;

    virtual void DispatchNotification(const PlayerMessage* message);

    virtual void OnReady() {}
    virtual void OnAck(int /*command*/) {}
    virtual void OnNack(const PlayerPayload* /*command, error*/) {}
    virtual void OnPong(uint32_t /*tag*/) {}
    virtual void OnExited() {}
    virtual void OnPlayerState(int /*state*/) {}
    virtual void OnPlayerMode(uint32_t /*mode*/) {}
    virtual void OnEnvironmentInteger(const char* /*name*/, int /*value*/) {}
    virtual void OnEnvironmentString(const char* /*name*/, const char* /*value*/) {}
    virtual void OnInputState(int /*state*/) {}
    virtual void OnInputName(const char* /*name*/) {}
    virtual void OnInputCaps(uint32_t /*caps*/) {}
    virtual void OnInputPosition(uint32_t /*offset*/, uint32_t /*range*/) {}
    virtual void OnInputPositionRange(uint32_t /*range*/) {}
    virtual void OnInputTimecode(const PlayerPayload* /*four bytes*/) {}
    virtual void OnInputTimecodeGranularity(uint32_t /*hundredths*/) {}
    virtual void OnInputDuration(uint32_t /*seconds*/) {}
    virtual void OnInputStreamInfo(const PlayerPayload* /*stream_info*/) {}
    virtual void OnInputModule(int /*id*/) {}
    virtual void OnInputModuleInfo(const PlayerPayload* /*module_info*/) {}
    virtual void OnInputDeviceInfo(const PlayerPayload* /*device_info*/) {}
    virtual void OnInputFilterInfo(const PlayerPayload* /*named*/) {}
    virtual void OnOutputState(int /*state*/) {}
    virtual void OnOutputName(const char* /*name*/) {}
    virtual void OnOutputCaps(uint32_t /*caps*/) {}
    virtual void OnOutputVolume(const PlayerPayload* /*volume*/) {}
    virtual void OnOutputBalance(int /*balance*/) {}
    virtual void OnOutputPcmLevel(int /*level*/) {}
    virtual void OnOutputMasterLevel(int /*level*/) {}
    virtual void OnOutputChannels(int /*channels*/) {}
    virtual void OnOutputPorts(int /*ports*/) {}
    virtual void OnOutputModule(int /*id*/) {}
    virtual void OnOutputModuleInfo(const PlayerPayload* /*module_info*/) {}
    virtual void OnOutputDeviceInfo(const PlayerPayload* /*device_info*/) {}
    virtual void OnOutputFilterInfo(const PlayerPayload* /*named*/) {}
    virtual void OnCodecQuality(int /*quality*/) {}
    virtual void OnCodecEqualizer(const void* /*64 bytes or null*/) {}
    virtual void OnNotificationMask(uint32_t /*mask*/) {}
    virtual void OnDebugLevel(int /*level*/) {}
    virtual void OnProgress(const PlayerPayload* /*progress*/) {}
    virtual void OnDebug(const PlayerPayload* /*debug*/) {}
    virtual void OnError(const PlayerPayload* /*error*/) {}

    PlayerControl* m_pControl;  // null when no player runs
    HWND m_hWnd;                // the hidden window

private:
    // The version check and the hidden window: false when neither may be.
    bool CreateHiddenWindow(HINSTANCE instance);
};
