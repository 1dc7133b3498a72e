// The player thread: start-up, the main loop, the commands and teardown.
#include "audio/engine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/engine_internal.h"
#include "audio/errors.h"
#include "audio/modules/file_input.h"
#include "audio/modules/file_output.h"
#include "audio/modules/network_input.h"
#include "audio/modules/wave_output.h"

namespace audio {
namespace {

// --- Reports from modules and the engine -------------------------------------

void format_report(char (&text)[1024], const char* message, const char* reason) {
    if (!message) message = "";
    if (reason && *reason)
        snprintf(text, sizeof text, "%s (%s)", message, reason);
    else
        snprintf(text, sizeof text, "%s", message);
}

void on_progress(void* user, int source, int code, int value, const char* message) {
    Player* player = static_cast<Player*>(user);
    notify(player, mask_progress, ntf_progress, source, code, value, message);
}

void on_debug(void* user, int source, int level, const char* message, const char* reason) {
    Player* player = static_cast<Player*>(user);
    if (level > player->debug_level || !(player->notification_mask & mask_debug)) return;
    char text[1024];
    format_report(text, message, reason);
    notify(player, mask_debug, ntf_debug, source, level, static_cast<const char*>(text));
}

void on_error(void* user, int source, int code, const char* message, const char* reason) {
    Player* player = static_cast<Player*>(user);
    if (!(player->notification_mask & mask_error)) return;
    char text[1024];
    format_report(text, message, reason);
    notify(player, mask_error, ntf_error, source, code, static_cast<const char*>(text));
}

// --- Module reports ----------------------------------------------------------

void module_report(Player* player, ModuleKind kind, int id) {
    ModuleInfo info{};
    if (registry_query_module(player->engine, kind, id, &info, query_module | query_device_count) <
        0)
        return;
    int count = info.index_or_count;
    if (count < 0) count = 0;
    if (count > 255) count = 255;  // the notification carries a byte
    notify(player, 0, kind == kind_input ? ntf_input_module_info : ntf_output_module_info, id,
           count, static_cast<const char*>(info.name), static_cast<const char*>(info.description));
    for (int index = 0; index < count; ++index) {
        ModuleInfo device{};
        device.index_or_count = index;
        if (registry_query_module(player->engine, kind, id, &device, query_device) < 0) continue;
        notify(player, 0, kind == kind_input ? ntf_input_device_info : ntf_output_device_info, id,
               index, device.device_flags, static_cast<const char*>(device.name),
               static_cast<const char*>(device.description));
    }
}

int query_command(Player* player, ModuleKind kind, int id) {
    if (id < 0 || id >= registry_module_count(player->engine, kind)) return err_module_not_found;
    module_report(player, kind, id);
    return 0;
}

int list_modules(Player* player, ModuleKind kind) {
    for (int id = 0; id < registry_module_count(player->engine, kind); ++id)
        module_report(player, kind, id);
    return 0;
}

void filter_info(Player* player, ModuleKind kind, FilterNode* node) {
    const char* (*get_name)() =
        kind == kind_input ? node->slots.input.get_name : node->slots.output.get_name;
    const char* name = get_name ? get_name() : nullptr;
    notify(player, 0, kind == kind_input ? ntf_input_filter_info : ntf_output_filter_info,
           name ? name : "", node->id);
}

int add_filter(Player* player, ModuleKind kind, const char* spec, int where) {
    int id = registry_add_filter(player->engine, kind, spec, where);
    if (id < 0) return id;
    for (FilterNode* n = registry_first_filter(player->engine, kind); n;
         n = registry_next_filter(n))
        if (n->id == id) filter_info(player, kind, n);
    return id;
}

int list_filters(Player* player, ModuleKind kind) {
    for (FilterNode* n = registry_first_filter(player->engine, kind); n;
         n = registry_next_filter(n))
        filter_info(player, kind, n);
    return 0;
}

int set_module(Player* player, ModuleKind kind, int id) {
    if (id < -1 || id >= registry_module_count(player->engine, kind)) return err_module_not_found;
    (kind == kind_input ? player->input_module : player->output_module) = id;
    return 0;
}

// Stores a copy of the name; reopens the slot with it when it is open.
int set_name(Player* player, ModuleKind kind, const char* name) {
    char*& stored = kind == kind_input ? player->input_name : player->output_name;
    size_t length = strlen(name) + 1;
    char* copy = static_cast<char*>(malloc(length));
    if (!copy) return err_out_of_memory;
    memcpy(copy, name, length);
    free(stored);
    stored = copy;
    Engine* e = player->engine;
    if (kind == kind_input && e->input.state) return open_input(player, nullptr);
    if (kind == kind_output && e->output.state) return open_output(player, nullptr);
    return 0;
}

int output_control(Player* player, OutputControl* control, unsigned flags) {
    if (!player->engine->output.state) return err_internal;
    return output_set_control(player, control, flags);
}

int set_volume(Player* player, const PlayerPayload& p) {
    OutputControl control{};
    unsigned flags = 0;
    if (p.volume.master_level <= 100) {
        control.master_level = p.volume.master_level;
        flags |= control_master_level;
    }
    if (p.volume.pcm_level <= 100) {
        control.pcm_level = p.volume.pcm_level;
        flags |= control_pcm_level;
    }
    if (p.volume.balance <= 100) {
        control.balance = p.volume.balance;
        flags |= control_balance;
    }
    return output_control(player, &control, flags);
}

void apply_decoder_options(Engine* e) {
    if (e->decoder && e->decoder_ops.set_options)
        e->decoder_ops.set_options(e->decoder, e->channel_mode, e->quality);
}

int set_equalizer(Player* player, const void* bands) {
    Engine* e = player->engine;
    e->equalizer_on = bands != nullptr;
    if (bands) memcpy(e->equalizer, bands, sizeof e->equalizer);
    if (e->decoder && e->decoder_ops.set_equalizer)
        e->decoder_ops.set_equalizer(e->decoder, bands ? e->equalizer : nullptr);
    return 0;
}

// Carries out one command (not cmd_exit) and returns its result.
int run_command(Player* player, const PlayerMessage& m) {
    Engine* e = player->engine;
    const PlayerPayload& p = m.payload;
    switch (m.code) {
        case cmd_ping: notify(player, 0, ntf_pong, p.value); return 0;
        case cmd_play: return play(player);
        case cmd_pause: return pause(player);
        case cmd_stop: return stop(player);
        case cmd_seek: return seek(player, p.values.a, p.values.b);
        case cmd_input_open: return open_input(player, p.text);
        case cmd_input_close: set_state(player, state_stopped); return close_input(player);
        case cmd_input_send_message:
            if (!e->input.state) return err_internal;
            return e->input_head->slots.input.send_message(e->input_head, p.block.type,
                                                           p.block.data, p.block.size);
        case cmd_input_filter_add: return add_filter(player, kind_input, p.named.text, p.named.id);
        case cmd_input_filter_remove:
            return registry_remove_filter(e, kind_input, p.named.text, p.named.id);
        case cmd_input_filters_list: return list_filters(player, kind_input);
        case cmd_input_module_register: return registry_register_module(e, kind_input, p.text);
        case cmd_input_module_query: return query_command(player, kind_input, p.short_value);
        case cmd_input_modules_list: return list_modules(player, kind_input);
        case cmd_output_open: return open_output(player, p.text);
        case cmd_output_close: set_state(player, state_stopped); return close_output(player);
        case cmd_output_send_message:
            if (!e->output.state) return err_internal;
            return e->output_head->slots.output.send_message(e->output_head, p.block.type,
                                                             p.block.data, p.block.size);
        case cmd_output_mute: return output_control(player, nullptr, control_mute);
        case cmd_output_unmute: return output_control(player, nullptr, control_unmute);
        case cmd_output_reset: return output_control(player, nullptr, control_reset);
        case cmd_output_drain: return output_control(player, nullptr, control_drain);
        case cmd_output_filter_add:
            return add_filter(player, kind_output, p.named.text, p.named.id);
        case cmd_output_filter_remove:
            return registry_remove_filter(e, kind_output, p.named.text, p.named.id);
        case cmd_output_filters_list: return list_filters(player, kind_output);
        case cmd_output_module_register: return registry_register_module(e, kind_output, p.text);
        case cmd_output_module_query: return query_command(player, kind_output, p.short_value);
        case cmd_output_modules_list: return list_modules(player, kind_output);
        case cmd_set_player_mode: player->mode = p.value; return 0;
        case cmd_get_player_mode: notify(player, 0, ntf_player_mode, player->mode); return 0;
        case cmd_set_environment_integer:
            return variable_set_integer(e, p.text_value.text, static_cast<int>(p.text_value.value));
        case cmd_get_environment_integer: {
            int value = 0;
            int result = variable_get_integer(e, p.text, &value);
            if (result < 0) return result;
            notify(player, 0, ntf_environment_integer, p.text, value);
            return 0;
        }
        case cmd_set_environment_string: return variable_set_string(e, p.texts.a, p.texts.b);
        case cmd_get_environment_string: {
            char value[1028];
            int result = variable_get_string(e, p.text, value, sizeof value);
            if (result < 0) return result;
            notify(player, 0, ntf_environment_string, p.text, static_cast<const char*>(value));
            return 0;
        }
        case cmd_unset_environment: return variable_unset(e, p.text);
        case cmd_set_input_name: return set_name(player, kind_input, p.text);
        case cmd_get_input_name:
            notify(player, mask_input_name, ntf_input_name,
                   player->input_name ? player->input_name : "");
            return 0;
        case cmd_set_input_module: return set_module(player, kind_input, p.short_value);
        case cmd_get_input_module:
            notify(player, 0, ntf_input_module, player->input_module);
            return 0;
        case cmd_set_input_position_range:
            if (p.value == 0) return err_invalid_parameters;
            player->position_range = p.value;
            return 0;
        case cmd_get_input_position_range:
            notify(player, mask_input_position_range, ntf_input_position_range,
                   player->position_range);
            return 0;
        case cmd_set_input_timecode_granularity:
            if (static_cast<int>(p.value) <= 0) return err_invalid_parameters;
            player->timecode_granularity = static_cast<int>(p.value);
            return 0;
        case cmd_get_input_timecode_granularity:
            notify(player, mask_input_timecode_granularity, ntf_input_timecode_granularity,
                   player->timecode_granularity);
            return 0;
        case cmd_set_output_name: return set_name(player, kind_output, p.text);
        case cmd_get_output_name:
            notify(player, mask_output_name, ntf_output_name,
                   player->output_name ? player->output_name : "");
            return 0;
        case cmd_set_output_module: return set_module(player, kind_output, p.short_value);
        case cmd_get_output_module:
            notify(player, 0, ntf_output_module, player->output_module);
            return 0;
        case cmd_set_output_volume: return set_volume(player, p);
        case cmd_get_output_volume: volume_report(player); return 0;
        case cmd_set_output_channels:
            if (p.byte > 3) return err_invalid_parameters;
            e->channel_mode = p.byte;
            apply_decoder_options(e);
            output_set_control(player, nullptr, control_reset);
            return 0;
        case cmd_get_output_channels:
            notify(player, 0, ntf_output_channels, e->channel_mode);
            return 0;
        case cmd_set_output_ports: {
            OutputControl control{};
            control.ports = p.byte;
            return output_control(player, &control, control_ports);
        }
        case cmd_get_output_ports: ports_report(player); return 0;
        case cmd_set_output_feedback_rate:
            player->feedback_period = p.byte ? 1000000 / p.byte : 0;
            return 0;
        case cmd_get_output_feedback_rate:
            notify(player, 0, ntf_output_feedback_rate,
                   player->feedback_period ? 1000000 / player->feedback_period : 0);
            return 0;
        case cmd_set_codec_quality:
            if (p.byte > 2) return err_invalid_parameters;
            e->quality = p.byte;
            apply_decoder_options(e);
            return 0;
        case cmd_get_codec_quality: notify(player, 0, ntf_codec_quality, e->quality); return 0;
        case cmd_set_codec_equalizer: return set_equalizer(player, p.equalizer);
        case cmd_get_codec_equalizer:
            notify(player, 0, ntf_codec_equalizer,
                   e->equalizer_on ? static_cast<const void*>(e->equalizer) : nullptr);
            return 0;
        case cmd_set_notification_mask: player->notification_mask = p.value; return 0;
        case cmd_get_notification_mask:
            notify(player, 0, ntf_notification_mask, player->notification_mask);
            return 0;
        case cmd_set_debug_level: player->debug_level = p.byte; return 0;
        case cmd_get_debug_level: notify(player, 0, ntf_debug_level, player->debug_level); return 0;
        default: return 0;
    }
}

// Returns false after cmd_exit.
bool handle(Player* player, const PlayerMessage& m) {
    if (m.code == cmd_exit) return false;
    if (m.code < 1 || m.code > 63) return true;  // not a command: no answer
    int result = run_command(player, m);
    if (result >= 0)
        notify(player, mask_ack, ntf_ack, m.code);
    else
        notify(player, mask_nack, ntf_nack, m.code, result);
    return true;
}

void teardown(Player* player) {
    player->state = state_stopped;
    delete_input_instance(player);
    delete_output_instance(player);
    engine_destroy(player->engine);
    player->engine = nullptr;
    free(player->input_name);
    free(player->output_name);
    control_send(player->control, ntf_exited);
}

// Inputs: file (0), network (1); outputs: file (0), wave (1). Lookup by
// name tries the newest first, so URLs go to the network input and every
// other input name to the file input, and "" and "/dev/wave/N" go to the
// wave output and every other output name to the file output.
int register_builtin_modules(Engine* e) {
    struct Builtin {
        ModuleKind kind;
        register_function fill;
    } builtins[] = {{kind_input, file_input_register},
                    {kind_input, network_input_register},
                    {kind_output, file_output_register},
                    {kind_output, wave_output_register}};
    for (const Builtin& b : builtins) {
        char spec[64];
        snprintf(spec, sizeof spec, "function@%llx",
                 static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(b.fill)));
        int r = registry_register_module(e, b.kind, spec);
        if (r < 0) return r;
    }
    return 0;
}

// A player that cannot set itself up says why and ends at once; its client
// sees the error and the exit instead of a ready player.
int start_failed(PlayerControl* control, int code) {
    control_send(control, ntf_error, 0, code, error_name(code));
    control_send(control, ntf_exited);
    return code;
}

}  // namespace

void set_state(Player* player, int state) {
    if (player->state == state) return;
    player->state = state;
    notify(player, mask_player_state, ntf_player_state, state);
}

void report_internal(Player* player, const char* reason) {
    on_debug(player, 0, 0, "internal error", reason);
}

}  // namespace audio

using namespace audio;

int engine_thread_routine(PlayerControl* control, void* user) {
    const EngineOptions* options = static_cast<const EngineOptions*>(user);
    const DecoderOps* decoder = options && options->decoder ? options->decoder : mpeg_decoder_ops();
    Engine* engine = engine_create(decoder);
    if (!engine) return start_failed(control, err_out_of_memory);

    Player player{};
    player.engine = engine;
    player.control = control;
    player.position_range = 400;
    player.timecode_granularity = 100;
    player.last_hours = player.last_minutes = player.last_seconds = player.last_hundredths = -1;
    player.input_module = -1;
    player.output_module = -1;
    player.notification_mask = 0xFFFFFFFF;
    engine->user = &player;
    engine->report_progress = on_progress;
    engine->report_debug = on_debug;
    engine->report_error = on_error;
    int registered = register_builtin_modules(engine);
    if (registered < 0) {
        engine_destroy(engine);
        return start_failed(control, registered);
    }
    apply_decoder_options(engine);
    control_send(control, ntf_ready);

    PlayerMessage message;
    int result = 1;
    for (;;) {
        int r;
        bool running = true;
        while (running && (r = control_poll(control, &message)) != 0) {
            if (r < 0) {
                result = r;
                running = false;
            } else {
                running = handle(&player, message);
            }
        }
        if (!running) break;
        if (player.state == state_playing) {
            report_step(&player, decode_step(&player));
            continue;
        }
        r = control_wait(control, &message, -1);
        if (r < 0) {
            result = r;
            break;
        }
        if (!handle(&player, message)) break;
    }
    teardown(&player);
    return result;
}
