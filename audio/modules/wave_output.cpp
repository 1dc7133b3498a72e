#include "audio/modules/wave_output.h"

#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/errors.h"
#include "audio/modules/module_report.h"

namespace {

constexpr int ring_size = 64;
constexpr int buffer_size = 4608;  // one MPEG frame of 16-bit stereo samples
constexpr unsigned wave_caps = 0x007FFFFF;
const char prefix[] = "/dev/wave/";
const char rate_variable[] = "OUTPUT.WAVE.PLAYBACK-RATE";

struct WaveOutput {
    ModuleEntry* entry;
    Engine* engine;
    UINT device;
    HWAVEOUT wave;
    HMIXER mixer;
    MIXERCONTROLA volume_control;
    WAVEHDR ring[ring_size];  // dwUser: the slot is in use
    int next;
    float balance;
    DWORD saved_volume;  // left in the low word, right in the high word
    int muted;
    DWORD rate;              // playback rate, 16.16 fixed point; 0x10000 is normal speed
    bool stalled;            // the device stopped taking sound: its headers stay queued
    DWORD bytes_per_second;  // of the open device's format
    unsigned caps;
    VariableWatcher* watcher;
};

void report(WaveOutput* w, const char* message, const char* reason) {
    module_report(w->engine, w->entry, message, reason);
}

int probe(const char* name) {
    return !name || !*name || strncmp(name, prefix, sizeof prefix - 1) == 0 ? 0 : -1;
}

int query(ModuleInfo* info, int flags) {
    if (!info) return err_invalid_parameters;
    if (flags & query_module) {
        module_info_text(info->name, "Win32 Sound Driver Interface");
        module_info_text(info->description, "Version 1.2");
    }
    UINT devices = waveOutGetNumDevs();
    if (flags & query_device_count) info->index_or_count = static_cast<int>(devices) + 1;
    if ((flags & (query_module | query_device_count)) || !(flags & query_device)) return 0;
    int index = info->index_or_count;
    if (index < 0 || index > static_cast<int>(devices)) return err_invalid_parameters;
    WAVEOUTCAPSA caps{};
    UINT device = index == 0 ? WAVE_MAPPER : static_cast<UINT>(index - 1);
    if (waveOutGetDevCapsA(device, &caps, sizeof caps) != MMSYSERR_NOERROR) return -1;
    info->device_flags = index == 0 ? 2 : 0;
    char name[32];
    snprintf(name, sizeof name, "/dev/wave/%d", index);
    module_info_text(info->name, name);
    caps.szPname[sizeof caps.szPname - 1] = '\0';
    module_info_text(info->description, caps.szPname);
    return 0;
}

// How long the ring waits, in sleeps of 10 ms, for the device to finish a
// buffer and then to let go of its header.
int wait_limit = 5001;

constexpr DWORD normal_rate = 0x10000;
constexpr DWORD slowest_rate = 0x1000;    // 1/16 of normal speed
constexpr DWORD fastest_rate = 0x100000;  // 16 times normal speed

// The playback rate from the variable, as whichever type it was created
// with; 0 when it is unset or not a sane rate.
DWORD read_rate(WaveOutput* w, const char* name, const void* value) {
    if (!value) return 0;
    long long rate = 0;
    int integer = 0;
    Engine* e = w->engine;
    if (e && e->get_integer_variable && e->get_integer_variable(e, name, &integer) == 0) {
        rate = integer;
    } else {
        char text[64];
        if (!e || !e->get_string_variable ||
            e->get_string_variable(e, name, text, sizeof text) != 0)
            return 0;
        char* end = nullptr;
        errno = 0;
        rate = strtoll(text, &end, 0);
        if (end == text || *end != '\0' || errno != 0) return 0;
    }
    if (rate < slowest_rate || rate > fastest_rate) return 0;
    return static_cast<DWORD>(rate);
}

void watch_rate(void* user, const char* name, const void* value) {
    WaveOutput* w = static_cast<WaveOutput*>(user);
    DWORD rate = read_rate(w, name, value);
    if (value && rate == 0) {
        report(w, "playback rate refused", "not a rate between 1/16 and 16");
        return;
    }
    w->rate = rate ? rate : normal_rate;  // unset: back to normal speed
    if (w->wave) waveOutSetPlaybackRate(w->wave, w->rate);
}

void clear_slots(WaveOutput* w) {
    for (WAVEHDR& h : w->ring) {
        h.dwUser = 0;
        h.dwFlags = 0;
        h.dwLoops = 0;
    }
}

void free_buffers(WaveOutput* w) {
    for (WAVEHDR& h : w->ring) {
        free(h.lpData);
        h.lpData = nullptr;
    }
}

int create(void** instance, const char* name, ModuleEntry* entry, Engine* engine) {
    if (!instance) return err_invalid_parameters;
    WaveOutput* w = static_cast<WaveOutput*>(calloc(1, sizeof(WaveOutput)));
    if (!w) return err_out_of_memory;
    size_t length = name ? strlen(name) : 0;
    if (length != 0 && length != sizeof prefix) {  // "/dev/wave/" and one character
        free(w);
        *instance = nullptr;
        return err_no_such_device_2;
    }
    if (length == 0 || name[length - 1] == '0')
        w->device = WAVE_MAPPER;
    else
        w->device = static_cast<UINT>(name[length - 1] - '1');
    for (WAVEHDR& h : w->ring) {
        h.lpData = static_cast<LPSTR>(calloc(1, buffer_size));
        if (!h.lpData) {
            free_buffers(w);
            free(w);
            return err_out_of_memory;
        }
        h.dwBufferLength = buffer_size;
    }
    clear_slots(w);
    w->rate = normal_rate;
    w->entry = entry;
    w->engine = engine;
    if (engine && engine->add_variable_watcher)
        engine->add_variable_watcher(engine, rate_variable, w, watch_rate, &w->watcher);
    *instance = w;
    return 0;
}

// The header's flags as the sound device's thread last wrote them: the
// device marks a buffer done from its own thread, so a plain read here would
// race with it (ThreadSanitizer reports it) and may never see the change.
DWORD header_flags(WAVEHDR& h) {
    return std::atomic_ref<DWORD>(h.dwFlags).load(std::memory_order_acquire);
}

// Waits until the slot's buffer has played and gives the slot back. False
// when the device still holds the header after both waits: the buffer is
// not ours to fill, and the device counts as stalled.
bool recycle(WaveOutput* w, WAVEHDR& h) {
    if (!(header_flags(h) & WHDR_PREPARED) || !w->wave) {
        h.dwUser = 0;
        return true;
    }
    if (w->stalled) return false;
    for (int sleeps = 0; h.dwUser && !(header_flags(h) & WHDR_DONE) && sleeps < wait_limit;
         ++sleeps)
        Sleep(10);
    MMRESULT r = WAVERR_STILLPLAYING;
    for (int tries = 0;
         (r = waveOutUnprepareHeader(w->wave, &h, sizeof h)) == WAVERR_STILLPLAYING &&
         tries < wait_limit;
         ++tries)
        Sleep(10);
    if (r == WAVERR_STILLPLAYING) {
        w->stalled = true;
        report(w, "the sound device stopped taking sound", "");
        return false;
    }
    h.dwUser = 0;
    return true;
}

void drain(WaveOutput* w) {
    if (!w->wave) return;
    waveOutRestart(w->wave);
    for (WAVEHDR& h : w->ring)
        if (!recycle(w, h)) break;  // a stalled device is reset, not waited for
}

void close_device(WaveOutput* w) {
    if (!w->wave) return;
    drain(w);
    waveOutReset(w->wave);  // hands back every header still queued
    for (WAVEHDR& h : w->ring) {
        if (header_flags(h) & WHDR_PREPARED) waveOutUnprepareHeader(w->wave, &h, sizeof h);
        h.dwUser = 0;
    }
    waveOutClose(w->wave);
    w->wave = nullptr;
    w->stalled = false;
}

// Opens the device for the format. A reopen for a new format keeps the
// volume, mute and playback rate the device had; the first open reads them
// from the new device.
int open_device(WaveOutput* w, int rate, int stereo, bool keep_settings) {
    if (rate <= 0) return err_unsupported_format;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(stereo ? 2 : 1);
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.nBlockAlign = static_cast<WORD>(format.nChannels * 2);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    format.wBitsPerSample = 16;
    close_device(w);
    w->bytes_per_second = format.nAvgBytesPerSec;
    MMRESULT r = waveOutOpen(&w->wave, w->device, &format, 0, 0, WAVE_ALLOWSYNC);
    if (r != MMSYSERR_NOERROR) {
        w->wave = nullptr;
        if (r == MMSYSERR_BADDEVICEID || r == MMSYSERR_NODRIVER) return err_no_such_device_2;
        if (r == MMSYSERR_ALLOCATED) return err_device_busy;
        return err_open_failed;
    }
    if (keep_settings) {
        waveOutSetVolume(w->wave, w->muted ? 0 : w->saved_volume);
        if (w->rate != normal_rate) waveOutSetPlaybackRate(w->wave, w->rate);
        return 0;
    }
    DWORD volume = 0;
    waveOutGetVolume(w->wave, &volume);
    w->saved_volume = volume;
    DWORD left = volume & 0xFFFF, right = volume >> 16;
    w->balance = volume != 0 ? static_cast<float>(right) / static_cast<float>(left + right) : 0.5f;
    if (w->rate != normal_rate) waveOutSetPlaybackRate(w->wave, w->rate);
    return 0;
}

int open_mixer(WaveOutput* w) {
    HMIXER mixer = nullptr;
    MMRESULT r = mixerOpen(&mixer, static_cast<UINT>(reinterpret_cast<uintptr_t>(w->wave)), 0, 0,
                           MIXER_OBJECTF_HWAVEOUT);
    if (r != MMSYSERR_NOERROR) return static_cast<int>(r);
    MIXERCAPSA caps{};
    r = mixerGetDevCapsA(reinterpret_cast<UINT_PTR>(mixer), &caps, sizeof caps);
    if (r == MMSYSERR_NOERROR) {
        char text[256];
        caps.szPname[sizeof caps.szPname - 1] = '\0';
        snprintf(text, sizeof text,
                 "mixer caps: mid=%d, pid=%d, version=%d.%d, name=%s, %d destinations", caps.wMid,
                 caps.wPid, caps.vDriverVersion >> 8, caps.vDriverVersion & 0xFF, caps.szPname,
                 static_cast<int>(caps.cDestinations));
        report(w, text, "");
        MIXERLINEA line{};
        line.cbStruct = sizeof line;
        line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        r = mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &line,
                              MIXER_GETLINEINFOF_COMPONENTTYPE);
        if (r == MMSYSERR_NOERROR) {
            MIXERLINECONTROLSA controls{};
            controls.cbStruct = sizeof controls;
            controls.dwLineID = line.dwLineID;
            controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
            controls.cControls = 1;
            controls.cbmxctrl = sizeof w->volume_control;
            controls.pamxctrl = &w->volume_control;
            r = mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer), &controls,
                                      MIXER_GETLINECONTROLSF_ONEBYTYPE);
        }
    }
    if (r != MMSYSERR_NOERROR) {
        mixerClose(mixer);
        return static_cast<int>(r);
    }
    char text[256];
    w->volume_control.szName[sizeof w->volume_control.szName - 1] = '\0';
    snprintf(text, sizeof text, "mixer control: name=%s, min=%d, max=%d, steps=%d",
             w->volume_control.szName, static_cast<int>(w->volume_control.Bounds.lMinimum),
             static_cast<int>(w->volume_control.Bounds.lMaximum),
             static_cast<int>(w->volume_control.Metrics.cSteps));
    report(w, text, "");
    w->mixer = mixer;
    return 0;
}

int destroy(void* instance) {
    WaveOutput* w = static_cast<WaveOutput*>(instance);
    if (!w) return 0;
    // The engine closes first; closing here only guards against a device
    // left open, whose queued headers point into the buffers freed below.
    close_device(w);
    if (w->mixer) mixerClose(w->mixer);
    if (w->watcher && w->engine && w->engine->remove_variable_watcher)
        w->engine->remove_variable_watcher(w->engine, w->watcher);
    free_buffers(w);
    free(w);
    return 0;
}

int open(void* instance) {
    WaveOutput* w = static_cast<WaveOutput*>(instance);
    if (!w) return err_internal;
    close_device(w);
    if (w->mixer) mixerClose(w->mixer);
    w->mixer = nullptr;
    w->next = 0;
    w->balance = 0.5f;
    w->saved_volume = 0;
    w->muted = 0;
    w->stalled = false;
    w->caps = wave_caps;
    int result = open_device(w, 44100, 1, false);
    if (result < 0) return result;
    clear_slots(w);
    int mixer_result = open_mixer(w);
    if (mixer_result != 0) {
        char reason[16];
        snprintf(reason, sizeof reason, "%d", mixer_result);
        report(w, "cannot open mixer", reason);
    }
    return 0;
}

int close(void* instance) {
    WaveOutput* w = static_cast<WaveOutput*>(instance);
    if (!w) return err_internal;
    close_device(w);
    if (w->mixer) mixerClose(w->mixer);
    w->mixer = nullptr;
    return 0;
}

void* get_buffer(void* instance, int) {
    WaveOutput* w = static_cast<WaveOutput*>(instance);
    if (!w) return nullptr;
    // A buffer the device may still be reading is never handed out.
    if (!recycle(w, w->ring[w->next])) return nullptr;
    return w->ring[w->next].lpData;
}

int write(void* instance, const void* samples, int size, int, int, int) {
    WaveOutput* w = static_cast<WaveOutput*>(instance);
    if (!w || !w->wave || size <= 0) return -1;
    WAVEHDR& h = w->ring[w->next];
    if (size > buffer_size) size = buffer_size;
    // Normally the samples were decoded into this very buffer; a caller
    // that wrote elsewhere has them copied in, once the slot is free.
    if (samples && samples != h.lpData) {
        if (!recycle(w, h)) return err_write_failed;
        memcpy(h.lpData, samples, static_cast<size_t>(size));
    } else if (w->stalled) {
        return err_write_failed;
    }
    h.dwBufferLength = static_cast<DWORD>(size);
    h.dwFlags = 0;
    h.dwUser = 1;
    w->next = (w->next + 1) % ring_size;
    if (waveOutPrepareHeader(w->wave, &h, sizeof h) != MMSYSERR_NOERROR ||
        waveOutWrite(w->wave, &h, sizeof h) != MMSYSERR_NOERROR) {
        h.dwUser = 0;
        return -1;
    }
    return size;
}

void apply_volume(WaveOutput* w, long double full, bool round_full) {
    long double left, right;
    if (w->balance > 0.5f) {
        if (round_full) full = static_cast<float>(full);
        right = full;
        left = 2 * (1 - static_cast<long double>(w->balance)) * full;
    } else {
        left = full;
        right = 2 * static_cast<long double>(w->balance) * full;
    }
    DWORD l = static_cast<DWORD>(left) & 0xFFFF, r = static_cast<DWORD>(right) & 0xFFFF;
    w->saved_volume = l | r << 16;
    if (!w->muted && w->wave) waveOutSetVolume(w->wave, w->saved_volume);
}

int set_control(void* instance, OutputControl* control, unsigned flags) {
    WaveOutput* w = static_cast<WaveOutput*>(instance);
    if (!w) return err_internal;
    if ((flags & control_reset) && w->wave) {
        waveOutReset(w->wave);
        w->stalled = false;  // the reset handed every queued header back
        drain(w);
    }
    if ((flags & control_pause) && w->wave) waveOutPause(w->wave);
    if ((flags & control_resume) && w->wave) waveOutRestart(w->wave);
    if ((flags & (control_sample_rate | control_stereo)) && control)
        open_device(w, control->sample_rate, control->stereo, true);
    if (flags & control_mute) {
        w->muted = 1;
        if (w->wave) waveOutSetVolume(w->wave, 0);
    }
    if (flags & control_unmute) {
        w->muted = 0;
        if (w->wave) waveOutSetVolume(w->wave, w->saved_volume);
    }
    if (!control) return 0;
    if ((flags & control_master_level) && w->mixer) {
        const MIXERCONTROLA& c = w->volume_control;
        MIXERCONTROLDETAILS_UNSIGNED value{};
        value.dwValue = static_cast<DWORD>(
            c.Bounds.lMinimum + static_cast<LONG>((c.Bounds.lMaximum - c.Bounds.lMinimum) *
                                                  control->master_level * 0.01));
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof details;
        details.dwControlID = c.dwControlID;
        details.cChannels = 1;
        details.cbDetails = sizeof value;
        details.paDetails = &value;
        mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(w->mixer), &details,
                               MIXER_SETCONTROLDETAILSF_VALUE);
    }
    if (flags & control_balance) w->balance = static_cast<float>(control->balance) * 0.01f;
    if (flags & control_pcm_level) {
        apply_volume(w, static_cast<long double>(control->pcm_level) * 655.35f, true);
    } else if (flags & control_balance) {
        DWORD left = w->saved_volume & 0xFFFF, right = w->saved_volume >> 16;
        apply_volume(w, left > right ? left : right, false);
    }
    return 0;
}

int get_control(void* instance, OutputControl* control, unsigned flags) {
    WaveOutput* w = static_cast<WaveOutput*>(instance);
    if (!w || !control) return err_internal;
    if ((flags & control_master_level) && w->mixer) {
        const MIXERCONTROLA& c = w->volume_control;
        MIXERCONTROLDETAILS_UNSIGNED value{};
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof details;
        details.dwControlID = c.dwControlID;
        details.cChannels = 1;
        details.cbDetails = sizeof value;
        details.paDetails = &value;
        long range = static_cast<long>(c.Bounds.lMaximum) - c.Bounds.lMinimum;
        if (mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(w->mixer), &details,
                                    MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR ||
            range <= 0)
            control->master_level = 0;
        else
            control->master_level = static_cast<int>(
                (static_cast<double>(value.dwValue) - c.Bounds.lMinimum) / range * 100);
    }
    if (flags & control_pcm_level) {
        DWORD left = w->saved_volume & 0xFFFF, right = w->saved_volume >> 16;
        control->pcm_level = static_cast<int>((left > right ? left : right) * 100 / 65535);
    }
    if (flags & control_balance) control->balance = static_cast<int>(w->balance * 100);
    return 0;
}

// The sound queued on the device and not yet played, in microseconds: the
// buffers written and not yet marked done (the one playing counts whole).
int get_status(void* instance, unsigned* value) {
    WaveOutput* w = static_cast<WaveOutput*>(instance);
    if (!value) return err_invalid_parameters;
    *value = 0;
    if (!w || !w->wave || w->bytes_per_second == 0) return 0;
    uint64_t queued = 0;
    for (WAVEHDR& h : w->ring)
        if (h.dwUser && (header_flags(h) & (WHDR_PREPARED | WHDR_DONE)) == WHDR_PREPARED)
            queued += h.dwBufferLength;
    *value = static_cast<unsigned>(queued * 1000000 / w->bytes_per_second);
    return 0;
}

unsigned get_caps(void* instance) {
    WaveOutput* w = static_cast<WaveOutput*>(instance);
    return w ? w->caps : 0;
}

}  // namespace

void wave_output_set_wait_limit(int sleeps) { wait_limit = sleeps > 0 ? sleeps : 5001; }

int wave_output_register(void* descriptor) {
    *static_cast<OutputModule*>(descriptor) =
        OutputModule{probe,      query,       create,      destroy,    open,     close,  write,
                     get_buffer, set_control, get_control, get_status, get_caps, nullptr};
    return 0;
}
