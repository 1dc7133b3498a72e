// Opening and closing inputs and outputs, and the transport commands:
// play, pause, stop and seek.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "audio/engine_internal.h"
#include "audio/errors.h"

namespace audio {

namespace {

char* copy_string(const char* text) {
    size_t length = strlen(text) + 1;
    char* copy = static_cast<char*>(malloc(length));
    if (copy) memcpy(copy, text, length);
    return copy;
}

bool same_name(const char* a, const char* b) { return a && b && strcmp(a, b) == 0; }

FilterNode* in_head(Player* p) { return p->engine->input_head; }
FilterNode* out_head(Player* p) { return p->engine->output_head; }

uint32_t big_endian32(const uint8_t* b) {
    return static_cast<uint32_t>(b[0]) << 24 | b[1] << 16 | b[2] << 8 | b[3];
}

// Reads up to `size` bytes from the input chain, across short reads.
int read_fully(Player* player, uint8_t* buffer, int size) {
    int got = 0;
    while (got < size) {
        int n = in_head(player)->slots.input.read(in_head(player), buffer + got, size - got);
        if (n <= 0) break;
        got += n;
    }
    return got;
}

// The "Xing" tag of a variable-bit-rate stream: frame count, byte count and
// table of contents, right behind the first frame's side information.
void read_xing_tag(Player* player, const uint8_t* bytes, int length, const FrameFormat& header) {
    Engine* e = player->engine;
    int offset;
    if (header.level == 1)
        offset = header.channels == 2 ? 36 : 21;
    else
        offset = header.channels == 2 ? 21 : 13;
    if (offset + 8 > length || memcmp(bytes + offset, "Xing", 4) != 0) return;
    uint32_t flags = big_endian32(bytes + offset + 4);
    int at = offset + 8;
    if (flags & 0x1) {
        if (at + 4 > length) return;
        uint32_t frames = big_endian32(bytes + at);
        at += 4;
        int samples_per_frame = header.level == 1 ? 1152 : 576;
        if (header.frequency > 0) {
            e->input.duration = static_cast<int>(static_cast<uint64_t>(frames) * samples_per_frame /
                                                 static_cast<uint64_t>(header.frequency));
        }
        e->status.info.bitrate =
            e->input.duration ? static_cast<int>(e->input.size / e->input.duration / 125) : 0;
        e->vbr = 1;
    }
    if (flags & 0x2) at += 4;
    if ((flags & 0x4) && at + 100 <= length) {
        memcpy(e->toc, bytes + at, 100);
        e->has_toc = true;
    }
}

// Reads the first bytes of a seekable input for its format and duration.
void probe_duration(Player* player) {
    Engine* e = player->engine;
    e->has_toc = false;
    if (!(e->input.caps & input_can_seek) || !e->decoder_ops.parse_header) return;
    uint8_t bytes[196];
    int length = read_fully(player, bytes, sizeof bytes);
    FrameFormat header{};
    if (length >= 4 && e->decoder_ops.parse_header(bytes, length, &header) == 0) {
        StreamInfo& info = e->status.info;
        info.level = header.level;
        info.layer = header.layer;
        info.bitrate = header.bitrate;
        info.frequency = header.frequency;
        info.mode = header.mode;
        info.changed = 1;
        e->input.duration =
            header.bitrate > 0 ? static_cast<int>(e->input.size / (header.bitrate * 125)) : 0;
        read_xing_tag(player, bytes, length, header);
    }
    in_head(player)->slots.input.seek(in_head(player), 0);
    e->input.position = 0;
}

void reset_decoder(Engine* e, int64_t position) {
    if (!e->decoder) return;
    if (e->decoder_ops.reset) e->decoder_ops.reset(e->decoder);
    if (e->decoder_ops.start_at) e->decoder_ops.start_at(e->decoder, position, e->input.size);
}

void send_stream_info(Player* player) {
    const StreamInfo& info = player->engine->status.info;
    notify(player, mask_input_stream_info, ntf_input_stream_info, info.level, info.layer,
           info.bitrate, info.frequency, info.mode);
}

// Finds the module for `name` and makes sure the slot holds an instance of
// it made for that name. Works for both kinds through the two slot types.
template <class Slot, class Module>
int prepare_instance(Player* player, Slot& slot, const Module& module, ModuleEntry* entry,
                     const char* name, void (*drop)(Player*)) {
    if (slot.instance && slot.descriptor == &module && same_name(slot.name, name)) return 0;
    drop(player);
    slot.state = 0;
    free(slot.name);
    slot.name = copy_string(name);
    if (!slot.name) return err_out_of_memory;
    slot.descriptor = &module;
    void* instance = nullptr;
    int result = module.new_instance(&instance, name, entry, player->engine);
    if (result < 0) return result;
    slot.instance = instance;
    return 0;
}

int store_name(char** stored, const char* name) {
    if (!name) return 0;
    char* copy = copy_string(name);
    if (!copy) return err_out_of_memory;
    free(*stored);
    *stored = copy;
    return 0;
}

}  // namespace

void delete_input_instance(Player* player) {
    InputSlot& slot = player->engine->input;
    if (!slot.instance) return;
    if (slot.state) close_input(player);
    slot.descriptor->delete_instance(slot.instance);
    slot.instance = nullptr;
}

void delete_output_instance(Player* player) {
    OutputSlot& slot = player->engine->output;
    if (!slot.instance) return;
    if (slot.state) close_output(player);
    slot.descriptor->delete_instance(slot.instance);
    slot.instance = nullptr;
}

int open_input(Player* player, const char* name) {
    Engine* e = player->engine;
    if (name && !*name) name = nullptr;
    if (e->input.state) close_input(player);
    int result = store_name(&player->input_name, name);
    if (result < 0) return result;
    const char* use = player->input_name ? player->input_name : "";

    ModuleEntry* entry = registry_find_module(e, kind_input, player->input_module, use);
    if (!entry) return player->input_module != -1 ? err_module_not_found : err_unsupported_input;
    result =
        prepare_instance(player, e->input, entry->module.input, entry, use, delete_input_instance);
    if (result < 0) return result;
    e->input.caps = 0;

    // Open the slot.
    if (!e->input.descriptor) {
        report_internal(player, "null input module");
        result = err_internal;
    } else if (!e->input.instance) {
        report_internal(player, "null input device");
        result = err_internal;
    } else if (e->input.state) {
        report_internal(player, "input not closed");
        result = err_internal;
    } else {
        result = in_head(player)->slots.input.open(in_head(player));
    }
    if (result >= 0) {
        e->input.position = 0;
        if (e->input.size == 0)
            e->input.size = in_head(player)->slots.input.get_size(in_head(player));
        if (e->input.size < 0) e->input.size = 0;
        memset(&e->status, 0, sizeof e->status);
        reset_decoder(e, 0);
        e->input.state = 1;
        e->vbr = 0;
        e->input.caps = in_head(player)->slots.input.get_caps(in_head(player));
        probe_duration(player);
    }

    notify(player, mask_input_state, ntf_input_state, e->input.state ? 0 : 1);
    if (result < 0) {
        set_state(player, state_stopped);
        return result;
    }
    notify(player, mask_input_name, ntf_input_name, use);
    notify(player, mask_input_caps, ntf_input_caps, e->input.caps);
    player->last_duration = e->input.duration;
    notify(player, mask_input_duration, ntf_input_duration, e->input.duration);
    if (e->status.info.changed) send_stream_info(player);
    if (player->state == state_playing) return play(player);
    return 0;
}

int close_input(Player* player) {
    Engine* e = player->engine;
    if (!e->input.state) {
        report_internal(player, "input not open");
        return err_internal;
    }
    reset_decoder(e, 0);
    e->input.caps = 0;
    e->input.size = 0;
    e->input.duration = 0;
    e->input.state = 0;
    e->has_toc = false;
    in_head(player)->slots.input.close(in_head(player));
    notify(player, mask_input_state, ntf_input_state, 1);
    return 0;
}

int open_output(Player* player, const char* name) {
    Engine* e = player->engine;
    if (name && !*name) name = nullptr;
    if (e->output.state) close_output(player);
    int result = store_name(&player->output_name, name);
    if (result < 0) return result;
    const char* use = player->output_name ? player->output_name : "";

    ModuleEntry* entry = registry_find_module(e, kind_output, player->output_module, use);
    if (!entry) return player->output_module != -1 ? err_module_not_found : err_unsupported_output;
    result = prepare_instance(player, e->output, entry->module.output, entry, use,
                              delete_output_instance);
    if (result < 0) return result;

    if (!e->output.descriptor) {
        report_internal(player, "null output module");
        result = err_internal;
    } else if (!e->output.instance) {
        report_internal(player, "null output device");
        result = err_internal;
    } else if (e->output.state) {
        report_internal(player, "output not closed");
        result = err_internal;
    } else {
        result = out_head(player)->slots.output.open(out_head(player));
    }
    if (result >= 0) {
        e->pcm.stereo = -1;
        e->pcm.bytes_per_sample = 0;
        e->pcm.sample_rate = 0;
        if (e->decoder && e->decoder_ops.reset_synthesis)
            e->decoder_ops.reset_synthesis(e->decoder);
        e->output.caps = out_head(player)->slots.output.get_caps(out_head(player));
        e->output.state = 1;
    }

    notify(player, mask_output_state, ntf_output_state, e->output.state ? 0 : 1);
    if (result < 0) {
        set_state(player, state_stopped);
        return result;
    }
    notify(player, mask_output_name, ntf_output_name, use);
    notify(player, mask_output_caps, ntf_output_caps, e->output.caps);
    volume_report(player);
    ports_report(player);
    return 0;
}

int close_output(Player* player) {
    Engine* e = player->engine;
    if (!e->output.state) {
        report_internal(player, "output not open");
        return err_internal;
    }
    e->output.state = 0;
    e->output.caps = 0;
    out_head(player)->slots.output.close(out_head(player));
    notify(player, mask_output_state, ntf_output_state, 1);
    return 0;
}

int output_set_control(Player* player, OutputControl* control, unsigned flags) {
    return out_head(player)->slots.output.set_control(out_head(player), control, flags);
}

void volume_report(Player* player) {
    // What a module leaves untouched reads as the usual defaults.
    OutputControl control{};
    control.master_level = 100;
    control.pcm_level = 100;
    control.balance = 50;
    control.ports = 1;
    out_head(player)->slots.output.get_control(
        out_head(player), &control,
        control_master_level | control_pcm_level | control_balance | control_ports);
    notify(player, mask_output_balance, ntf_output_balance, control.balance);
    notify(player, mask_output_pcm_level, ntf_output_pcm_level, control.pcm_level);
    notify(player, mask_output_master_level, ntf_output_master_level, control.master_level);
}

void ports_report(Player* player) {
    if (!(player->notification_mask & mask_output_ports)) return;
    OutputControl control{};
    out_head(player)->slots.output.get_control(out_head(player), &control, control_ports);
    notify(player, mask_output_ports, ntf_output_ports, control.ports);
}

int play(Player* player) {
    Engine* e = player->engine;
    int result;
    if (!e->input.state && (result = open_input(player, nullptr)) < 0) return result;
    if (!e->output.state && (result = open_output(player, nullptr)) < 0) return result;
    output_set_control(player, nullptr, control_resume);
    set_state(player, state_playing);
    return 0;
}

int pause(Player* player) {
    Engine* e = player->engine;
    if (!e->input.state) return err_internal;
    if (player->mode & mode_close_on_pause) {
        output_set_control(player, nullptr, control_reset);
        if (e->output.state) close_output(player);
    } else {
        output_set_control(player, nullptr, control_pause);
    }
    set_state(player, state_paused);
    return 0;
}

int stop(Player* player) {
    Engine* e = player->engine;
    if (!e->input.state) return err_internal;
    output_set_control(player, nullptr, control_reset);
    if ((player->mode & mode_close_on_stop) && e->output.state) close_output(player);
    seek_to_fraction(player, 0.0);
    set_state(player, state_stopped);
    return 0;
}

void timecode_from_seconds(Timecode* t, double s) {
    t->hours = static_cast<int>(s) / 3600;
    double r = s - 3600.0 * t->hours;
    t->minutes = static_cast<int>(r) / 60;
    r -= 60.0 * t->minutes;
    t->seconds = static_cast<int>(r);
    t->hundredths = static_cast<int>(100.0 * r - 100.0 * t->seconds);
}

namespace {

int seek_to_byte(Player* player, int64_t byte) {
    Engine* e = player->engine;
    if (!e->input.state) {
        report_internal(player, "input not open");
        return err_internal;
    }
    if (!(e->input.caps & input_can_seek) || e->input.size == 0) return -1;
    if (byte > e->input.size) byte = e->input.size;
    if (byte < 0) byte = 0;
    e->input.position = byte;
    e->status.fraction = static_cast<float>(static_cast<double>(byte) / e->input.size);
    timecode_from_seconds(&e->status.timecode, e->input.duration * e->status.fraction);
    reset_decoder(e, byte);
    return in_head(player)->slots.input.seek(in_head(player), byte);
}

}  // namespace

int seek_to_fraction(Player* player, double f) {
    Engine* e = player->engine;
    if (std::isnan(f)) f = 0;
    f = f < 0 ? 0 : f > 1 ? 1 : f;
    if (e->has_toc) {
        double p = 100.0 * f;
        int i = static_cast<int>(p);
        double next;
        // The last entry runs up to the end of the stream (256).
        if (i >= 99) {
            i = 99;
            next = 256;
        } else {
            next = e->toc[i + 1];
        }
        f = (e->toc[i] + (next - e->toc[i]) * (p - i)) / 256.0;
    }
    return seek_to_byte(player, static_cast<int64_t>(f * static_cast<double>(e->input.size)));
}

int seek(Player* player, uint32_t offset, uint32_t range) {
    Engine* e = player->engine;
    if (range == 0) return err_invalid_parameters;
    if (!e->input.state) return -1;
    output_set_control(player, nullptr, control_reset);
    int result = seek_to_fraction(player, static_cast<double>(offset) / range);
    if (result != 0) return result < 0 ? result : -1;
    notify(player, mask_input_position, ntf_input_position, offset, range);
    const Timecode& t = e->status.timecode;
    player->last_hours = t.hours;
    player->last_minutes = t.minutes;
    player->last_seconds = t.seconds;
    player->last_hundredths = t.hundredths;
    notify(player, mask_input_timecode, ntf_input_timecode, t.hours, t.minutes, t.seconds,
           t.hundredths);
    return 0;
}

}  // namespace audio
