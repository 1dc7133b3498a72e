// The play loop's work: decode one frame into the output, keep the stream
// status, report position, timecode, duration and stream info, and take
// PCM snapshots.
#include <cmath>
#include <cstring>
#include <ctime>

#include "audio/engine_internal.h"
#include "audio/errors.h"

namespace audio {

namespace {

FilterNode* out_head(Player* p) { return p->engine->output_head; }

// Companding: magnitude m (index for v >= 0, -index - 1 for v < 0) maps to a
// code that is linear up to 8 and then grows with the logarithm of m; these
// anchors fix the curve, and between them the code follows log(m).
struct Anchor {
    int magnitude;
    int code;
};
const Anchor anchors[] = {{0, 1}, {1, 2}, {8, 9}, {32, 24}, {128, 50}, {512, 80}, {1023, 96}};

int compand_code(int m) {
    for (size_t i = 1; i < sizeof anchors / sizeof anchors[0]; ++i) {
        const Anchor& lo = anchors[i - 1];
        const Anchor& hi = anchors[i];
        if (m > hi.magnitude) continue;
        if (m == hi.magnitude) return hi.code;
        if (lo.magnitude == 0) return lo.code;                       // only m = 0 lies below 1
        if (hi.magnitude <= 8) return lo.code + (m - lo.magnitude);  // the linear start
        double t = std::log(static_cast<double>(m) / lo.magnitude) /
                   std::log(static_cast<double>(hi.magnitude) / lo.magnitude);
        return lo.code + static_cast<int>(std::lround(t * (hi.code - lo.code)));
    }
    return anchors[sizeof anchors / sizeof anchors[0] - 1].code;
}

struct CompandTable {
    uint8_t bytes[2048];
    CompandTable() {
        for (int index = -1024; index < 1024; ++index) {
            int m = index >= 0 ? index : -index - 1;
            int value = 127 - compand_code(m);
            bytes[index + 1024] = static_cast<uint8_t>(index >= 0 ? value : 0x80 | value);
        }
    }
};

void to_8bit(Engine* e, int16_t* samples, int count) {
    uint8_t* out = reinterpret_cast<uint8_t*>(samples);
    bool companded = e->output.caps & output_takes_8bit_companded;
    for (int i = 0; i < count; ++i) {
        int v = samples[i];  // read before the byte at i overwrites anything
        out[i] = companded ? companded_byte(v / 32) : static_cast<uint8_t>(v / 256 + 128);
    }
}

void status_update(Player* player, const FrameFormat& frame) {
    Engine* e = player->engine;
    StreamStatus& status = e->status;
    StreamInfo& info = status.info;
    ++status.frame_count;
    if (!e->vbr) {
        info.changed = 0;
        if (frame.level != info.level || frame.layer != info.layer ||
            frame.frequency != info.frequency || frame.mode != info.mode) {
            info.level = frame.level;
            info.layer = frame.layer;
            info.bitrate = frame.bitrate;
            info.frequency = frame.frequency;
            info.mode = frame.mode;
            info.changed = 1;
        }
        int a = info.bitrate, b = frame.bitrate;
        if (b != a) {
            info.bitrate = a == 0 ? b : (31 * a + b) / 32;
            if (info.bitrate != a) info.changed = 1;
        }
        if (info.bitrate > 0)
            e->input.duration = static_cast<int>(e->input.size / (info.bitrate * 125));
    } else {
        info.changed = 0;
    }

    double seconds = -1;
    if (e->input.size != 0) {
        status.fraction =
            static_cast<float>(static_cast<double>(e->input.position) / e->input.size);
        seconds = e->input.duration * static_cast<double>(status.fraction);
    } else if (info.bitrate > 0) {
        seconds = static_cast<double>(e->input.position * 8 / (info.bitrate * 1000LL));
    }
    if (seconds >= 0) timecode_from_seconds(&status.timecode, seconds);

    e->pcm.status = 0;
    if (e->output.instance && (e->output.caps & output_has_status)) {
        unsigned value = 0;
        if (out_head(player)->slots.output.get_status(out_head(player), &value) == 0)
            e->pcm.status = value;
    }
}

void now(long long* seconds, long long* microseconds) {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    *seconds = t.tv_sec;
    *microseconds = t.tv_nsec / 1000;
}

// A 256-byte picture of the last block, built and handed to control_drop:
// the client never receives it.
void feedback_step(Player* player) {
    Engine* e = player->engine;
    long long s, us;
    now(&s, &us);
    long long due_us = player->feedback_next_microseconds + player->feedback_period;
    long long due_s = player->feedback_next_seconds + due_us / 1000000;
    due_us %= 1000000;
    if (due_s > s || (due_s == s && due_us > us)) return;
    player->feedback_next_seconds = s;
    player->feedback_next_microseconds = us;
    long long stamp_us = us + e->pcm.status;
    long long stamp_s = s + stamp_us / 1000000;
    stamp_us %= 1000000;

    const uint8_t* block = static_cast<const uint8_t*>(e->pcm.samples);
    int size = e->pcm.size;
    uint8_t picture[256];
    if (e->pcm.bytes_per_sample == 2) {
        if (size < 4) return;
        int step = (size / 256) * 2;
        for (int series = 0; series < 2; ++series) {
            for (int i = 0; i < 128; ++i) {
                int at = series * 2 + i * step;
                uint16_t v = static_cast<uint16_t>(block[at] | block[at + 1] << 8);
                picture[series * 128 + i] = static_cast<uint8_t>((v + 0x8000u) >> 8);
            }
        }
    } else {
        if (size < 2) return;
        int step = size / 128;
        for (int series = 0; series < 2; ++series)
            for (int i = 0; i < 128; ++i) picture[series * 128 + i] = block[series + i * step];
    }
    control_drop(player->control, ntf_output_pcm_snapshot, static_cast<uint32_t>(stamp_s),
                 static_cast<uint32_t>(stamp_us), 2, 256, static_cast<const void*>(picture));
}

}  // namespace

uint8_t companded_byte(int index) {
    static const CompandTable table;
    if (index < -1024) index = -1024;
    if (index > 1023) index = 1023;
    return table.bytes[index + 1024];
}

int decode_step(Player* player) {
    Engine* e = player->engine;
    // A slot that a failed reopen left closed stops the player: the loop
    // would otherwise go round at full speed, reporting it each turn.
    if (!e->output.state || !e->input.state) {
        report_internal(player, e->output.state ? "input not open" : "output not open");
        set_state(player, state_stopped);
        return err_internal;
    }
    void* buffer = out_head(player)->slots.output.get_buffer(out_head(player), 4608);
    if (!e->decoder || !e->decoder_ops.decode_frame) {
        report_internal(player, "no decoder");
        return err_internal;
    }
    PcmBuffer& pcm = e->pcm;
    int old_bytes = pcm.bytes_per_sample, old_stereo = pcm.stereo, old_rate = pcm.sample_rate;
    int16_t* samples = buffer ? static_cast<int16_t*>(buffer) : e->own_buffer;
    pcm.samples = samples;
    pcm.bytes_per_sample = 2;

    FrameFormat frame{};
    int result = e->decoder_ops.decode_frame(e->decoder, samples, &frame);
    if (result < 0) return result;
    int count = frame.count;
    if (count < 0) count = 0;
    if (count > 2304) count = 2304;
    pcm.sample_rate = frame.sample_rate;
    pcm.stereo = frame.stereo ? 1 : 0;

    if (e->output.caps & output_takes_16bit) {
        pcm.size = count * 2;
    } else {
        pcm.bytes_per_sample = 1;
        to_8bit(e, samples, count);
        pcm.size = count;
    }

    pcm.flags = 0;
    if (pcm.bytes_per_sample != old_bytes) pcm.flags |= format_bytes_per_sample;
    if (pcm.stereo != old_stereo) pcm.flags |= format_stereo | format_sample_rate;
    if (pcm.sample_rate != old_rate) pcm.flags |= format_sample_rate;

    status_update(player, frame);

    if (pcm.flags) {
        OutputControl control{};
        control.bytes_per_sample = pcm.bytes_per_sample;
        control.sample_rate = pcm.sample_rate;
        control.stereo = pcm.stereo;
        out_head(player)->slots.output.set_control(out_head(player), &control, pcm.flags);
    }
    int written = out_head(player)->slots.output.write(
        out_head(player), pcm.samples, pcm.size, pcm.bytes_per_sample, pcm.stereo, pcm.sample_rate);
    // An output that can no longer take sound ends the stream.
    if (written == err_write_failed) return err_write_failed;
    return 0;
}

void report_step(Player* player, int result) {
    Engine* e = player->engine;
    if (result == err_input_end) {
        set_state(player, state_end_of_input);
        if ((player->mode & mode_drain_at_end) && e->output.state) {
            output_set_control(player, nullptr, control_drain);
            close_output(player);
        }
        return;
    }
    if (result == err_write_failed) {
        if (e->report_error)
            e->report_error(player, 0, result, "the output stopped taking sound", "");
        set_state(player, state_stopped);
        return;
    }
    if (result != 0) return;  // the frame is lost; the next turn reads on

    int position =
        static_cast<int>(player->position_range * static_cast<double>(e->status.fraction));
    if (position != player->last_position) {
        player->last_position = position;
        notify(player, mask_input_position, ntf_input_position, position, player->position_range);
    }
    const Timecode& t = e->status.timecode;
    int g = player->timecode_granularity;
    int f = g == 100 ? 0 : t.hundredths - t.hundredths % g;
    if (t.hours != player->last_hours || t.minutes != player->last_minutes ||
        t.seconds != player->last_seconds || f != player->last_hundredths) {
        player->last_hours = t.hours;
        player->last_minutes = t.minutes;
        player->last_seconds = t.seconds;
        player->last_hundredths = f;
        notify(player, mask_input_timecode, ntf_input_timecode, t.hours, t.minutes, t.seconds, f);
    }
    if (e->input.duration != player->last_duration) {
        player->last_duration = e->input.duration;
        notify(player, mask_input_duration, ntf_input_duration, e->input.duration);
    }
    if (e->status.info.changed) {
        const StreamInfo& info = e->status.info;
        notify(player, mask_input_stream_info, ntf_input_stream_info, info.level, info.layer,
               info.bitrate, info.frequency, info.mode);
    }
    if (player->feedback_period != 0) feedback_step(player);
}

}  // namespace audio
