// waveOut*: each open handle is a voice of the mixer. Headers are queued in
// order; the mixer marks each one WHDR_DONE (an atomic store, so that a
// thread polling the flag sees it) once its last frame has been mixed.
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "sound/mixer.h"
#include "sound/voice.h"
#include "win/mmsystem.h"

namespace win::sound {

namespace {

constexpr size_t kMaxHandles = 32;
constexpr int kMinOpenRate = 8000;
constexpr int kMaxOpenRate = 48000;

void ChangeFlags(WAVEHDR* header, DWORD set, DWORD clear) {
    std::atomic_ref<DWORD> flags(header->dwFlags);
    flags.fetch_and(~clear, std::memory_order_acq_rel);
    flags.fetch_or(set, std::memory_order_release);
}

DWORD Flags(WAVEHDR* header) {
    return std::atomic_ref<DWORD>(header->dwFlags).load(std::memory_order_acquire);
}

class WaveOutVoice : public Voice {
public:
    WaveOutVoice(const PcmFormat& format, HWAVEOUT handle, LPWAVECALLBACK callback,
                 DWORD_PTR instance)
        : Voice(format), handle_(handle), callback_(callback), instance_(instance) {}

    // Under the mixer's lock; the callback itself runs later, outside it.
    void Notify(UINT message, DWORD_PTR param) {
        if (!callback_) return;
        Mixer::Get().Defer([cb = callback_, h = handle_, i = instance_, message, param] {
            cb(h, message, i, param, 0);
        });
    }

    // Marks the headers of a reset done at once.
    void Return(const std::vector<void*>& tags) {
        for (void* tag : tags) ChunkDone(tag);
    }

protected:
    void ChunkDone(void* tag) override {
        auto* header = static_cast<WAVEHDR*>(tag);
        ChangeFlags(header, WHDR_DONE, WHDR_INQUEUE);
        Notify(WOM_DONE, reinterpret_cast<DWORD_PTR>(header));
    }

private:
    HWAVEOUT handle_;
    LPWAVECALLBACK callback_;
    DWORD_PTR instance_;
};

// Open handles by their value; guarded by the mixer's lock. Values are never
// reused, so a stale handle is refused instead of reaching another stream.
std::map<uintptr_t, std::unique_ptr<WaveOutVoice>>& Handles() {
    static auto* handles = new std::map<uintptr_t, std::unique_ptr<WaveOutVoice>>;
    return *handles;
}
uintptr_t g_next_handle = 0x10000;

WaveOutVoice* Find(HWAVEOUT handle) {
    auto it = Handles().find(reinterpret_cast<uintptr_t>(handle));
    return it == Handles().end() ? nullptr : it->second.get();
}

MMRESULT CheckFormat(const WAVEFORMATEX* wfx, PcmFormat* format) {
    if (wfx->wFormatTag != WAVE_FORMAT_PCM) return WAVERR_BADFORMAT;
    format->channels = wfx->nChannels;
    format->bits = wfx->wBitsPerSample;
    format->rate = wfx->nSamplesPerSec > DWORD(kMaxOpenRate) ? 0 : int(wfx->nSamplesPerSec);
    if (!IsPlayableFormat(*format) || format->rate < kMinOpenRate) return WAVERR_BADFORMAT;
    if (wfx->nBlockAlign != format->FrameBytes() ||
        wfx->nAvgBytesPerSec != DWORD(format->rate * format->FrameBytes()))
        return WAVERR_BADFORMAT;
    return MMSYSERR_NOERROR;
}

bool IsMapper(UINT_PTR id) { return id == WAVE_MAPPER || id == UINT_PTR(-1); }

// No device to open: the mapper has no driver behind it, device 0 is not
// there.
MMRESULT MissingDevice(UINT_PTR id) {
    return IsMapper(id) ? MMSYSERR_NODRIVER : MMSYSERR_BADDEVICEID;
}

bool IsDevice(UINT_PTR id) {
    if (IsMapper(id) || id == 0) return true;
    std::lock_guard lock(Mixer::Get().mutex());
    return Find(reinterpret_cast<HWAVEOUT>(id)) != nullptr;
}

// Runs `step` on the handle's voice under the mixer's lock, then the
// callbacks it left, outside the lock.
template <typename Step>
MMRESULT WithVoice(HWAVEOUT handle, Step step) {
    Mixer& mixer = Mixer::Get();
    MMRESULT result;
    bool wake = false;
    {
        std::lock_guard lock(mixer.mutex());
        WaveOutVoice* voice = Find(handle);
        if (!voice) return MMSYSERR_INVALHANDLE;
        bool was_active = voice->Active();
        result = step(*voice);
        wake = !was_active && voice->Active();
    }
    if (wake) mixer.Wake();
    mixer.RunDeferred();
    return result;
}

}  // namespace

}  // namespace win::sound

using win::sound::DeviceOpen;
using win::sound::MissingDevice;
using win::sound::Mixer;
using win::sound::WaveOutVoice;

UINT WINAPI waveOutGetNumDevs() { return Mixer::Get().Available() ? 1 : 0; }

MMRESULT WINAPI waveOutGetDevCapsA(UINT_PTR uDeviceID, LPWAVEOUTCAPSA pwoc, UINT cbwoc) {
    if (!pwoc) return MMSYSERR_INVALPARAM;
    if (!win::sound::IsDevice(uDeviceID)) return MMSYSERR_BADDEVICEID;
    std::string name = Mixer::Get().DeviceName();
    if (name.empty()) return win::sound::MissingDevice(uDeviceID);
    WAVEOUTCAPSA caps{};
    caps.vDriverVersion = 0x0100;
    std::strncpy(caps.szPname, name.c_str(), MAXPNAMELEN - 1);
    caps.dwFormats = 0x0FFF;  // 11/22/44 kHz, mono/stereo, 8/16 bits
    caps.wChannels = 2;
    caps.dwSupport =
        WAVECAPS_VOLUME | WAVECAPS_LRVOLUME | WAVECAPS_PLAYBACKRATE | WAVECAPS_SAMPLEACCURATE;
    std::memcpy(pwoc, &caps, cbwoc < sizeof caps ? cbwoc : sizeof caps);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI waveOutOpen(LPHWAVEOUT phwo, UINT uDeviceID, LPCWAVEFORMATEX pwfx,
                            DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen) {
    const bool query = (fdwOpen & WAVE_FORMAT_QUERY) != 0;
    if (phwo && !query) *phwo = nullptr;
    if (!pwfx || (!phwo && !query)) return MMSYSERR_INVALPARAM;
    if (uDeviceID != WAVE_MAPPER && uDeviceID != 0) return MMSYSERR_BADDEVICEID;
    Mixer& mixer = Mixer::Get();
    if (!mixer.Available()) return MissingDevice(uDeviceID);

    LPWAVECALLBACK callback = nullptr;
    switch (fdwOpen & CALLBACK_TYPEMASK) {
        case CALLBACK_NULL: break;
        case CALLBACK_FUNCTION:
            callback = reinterpret_cast<LPWAVECALLBACK>(dwCallback);
            if (!callback) return MMSYSERR_INVALPARAM;
            break;
        default:  // windows, threads and events are not delivered here
            return MMSYSERR_NOTSUPPORTED;
    }
    win::sound::PcmFormat format;
    if (MMRESULT bad = win::sound::CheckFormat(pwfx, &format)) return bad;
    if (query) return MMSYSERR_NOERROR;

    {
        std::lock_guard lock(mixer.mutex());
        if (win::sound::Handles().size() >= win::sound::kMaxHandles) return MMSYSERR_ALLOCATED;
        auto handle = reinterpret_cast<HWAVEOUT>(win::sound::g_next_handle++);
        auto voice = std::make_unique<WaveOutVoice>(format, handle, callback, dwInstance);
        // SDL found no device to open (no sound card, a sound server that
        // refuses us): as missing as a driver that is not there. Only a
        // device that another program holds is in use.
        switch (mixer.Attach(voice.get())) {
            case DeviceOpen::Opened: break;
            case DeviceOpen::Busy: return MMSYSERR_ALLOCATED;
            case DeviceOpen::Missing: return MissingDevice(uDeviceID);
        }
        voice->Notify(WOM_OPEN, 0);
        win::sound::Handles()[reinterpret_cast<uintptr_t>(handle)] = std::move(voice);
        *phwo = handle;
    }
    mixer.RunDeferred();
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI waveOutClose(HWAVEOUT hwo) {
    Mixer& mixer = Mixer::Get();
    std::unique_ptr<WaveOutVoice> closing;
    {
        std::lock_guard lock(mixer.mutex());
        auto it = win::sound::Handles().find(reinterpret_cast<uintptr_t>(hwo));
        if (it == win::sound::Handles().end()) return MMSYSERR_INVALHANDLE;
        if (it->second->HasQueued()) return WAVERR_STILLPLAYING;
        closing = std::move(it->second);
        win::sound::Handles().erase(it);
        mixer.Detach(closing.get());
        closing->Notify(WOM_CLOSE, 0);
    }
    mixer.RunDeferred();
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI waveOutPrepareHeader(HWAVEOUT hwo, LPWAVEHDR pwh, UINT cbwh) {
    return win::sound::WithVoice(hwo, [&](WaveOutVoice&) -> MMRESULT {
        if (!pwh || cbwh < sizeof(WAVEHDR) || (!pwh->lpData && pwh->dwBufferLength))
            return MMSYSERR_INVALPARAM;
        if (win::sound::Flags(pwh) & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
        win::sound::ChangeFlags(pwh, WHDR_PREPARED, 0);
        return MMSYSERR_NOERROR;
    });
}

MMRESULT WINAPI waveOutUnprepareHeader(HWAVEOUT hwo, LPWAVEHDR pwh, UINT cbwh) {
    return win::sound::WithVoice(hwo, [&](WaveOutVoice&) -> MMRESULT {
        if (!pwh || cbwh < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
        if (win::sound::Flags(pwh) & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
        win::sound::ChangeFlags(pwh, 0, WHDR_PREPARED);
        return MMSYSERR_NOERROR;
    });
}

MMRESULT WINAPI waveOutWrite(HWAVEOUT hwo, LPWAVEHDR pwh, UINT cbwh) {
    return win::sound::WithVoice(hwo, [&](WaveOutVoice& voice) -> MMRESULT {
        if (!pwh || cbwh < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
        DWORD flags = win::sound::Flags(pwh);
        if (!(flags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
        if (flags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
        win::sound::ChangeFlags(pwh, WHDR_INQUEUE, WHDR_DONE);
        // Loops (WHDR_BEGINLOOP/ENDLOOP) are not honoured: each buffer plays once.
        voice.Queue(reinterpret_cast<const uint8_t*>(pwh->lpData), pwh->dwBufferLength, pwh);
        return MMSYSERR_NOERROR;
    });
}

MMRESULT WINAPI waveOutPause(HWAVEOUT hwo) {
    return win::sound::WithVoice(hwo, [](WaveOutVoice& voice) -> MMRESULT {
        voice.set_paused(true);
        return MMSYSERR_NOERROR;
    });
}

MMRESULT WINAPI waveOutRestart(HWAVEOUT hwo) {
    return win::sound::WithVoice(hwo, [](WaveOutVoice& voice) -> MMRESULT {
        voice.set_paused(false);
        return MMSYSERR_NOERROR;
    });
}

MMRESULT WINAPI waveOutReset(HWAVEOUT hwo) {
    return win::sound::WithVoice(hwo, [](WaveOutVoice& voice) -> MMRESULT {
        voice.Return(voice.Flush());
        voice.ResetPosition();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT WINAPI waveOutGetPosition(HWAVEOUT hwo, LPMMTIME pmmt, UINT cbmmt) {
    return win::sound::WithVoice(hwo, [&](WaveOutVoice& voice) -> MMRESULT {
        if (!pmmt || cbmmt < sizeof(MMTIME)) return MMSYSERR_INVALPARAM;
        uint64_t frames = voice.frames_played();
        switch (pmmt->wType) {
            case TIME_SAMPLES: pmmt->u.sample = DWORD(frames); break;
            case TIME_MS: pmmt->u.ms = DWORD(frames * 1000 / uint64_t(voice.format().rate)); break;
            default:  // other formats are answered in bytes, as Windows does
                pmmt->wType = TIME_BYTES;
                pmmt->u.cb = DWORD(frames * uint64_t(voice.format().FrameBytes()));
                break;
        }
        return MMSYSERR_NOERROR;
    });
}

MMRESULT WINAPI waveOutGetVolume(HWAVEOUT hwo, LPDWORD pdwVolume) {
    return win::sound::WithVoice(hwo, [&](WaveOutVoice& voice) -> MMRESULT {
        if (!pdwVolume) return MMSYSERR_INVALPARAM;
        *pdwVolume = DWORD(voice.left_volume()) | DWORD(voice.right_volume()) << 16;
        return MMSYSERR_NOERROR;
    });
}

MMRESULT WINAPI waveOutSetVolume(HWAVEOUT hwo, DWORD dwVolume) {
    return win::sound::WithVoice(hwo, [&](WaveOutVoice& voice) -> MMRESULT {
        voice.SetVolume(LOWORD(dwVolume), HIWORD(dwVolume));
        return MMSYSERR_NOERROR;
    });
}

MMRESULT WINAPI waveOutGetPlaybackRate(HWAVEOUT hwo, LPDWORD pdwRate) {
    return win::sound::WithVoice(hwo, [&](WaveOutVoice& voice) -> MMRESULT {
        if (!pdwRate) return MMSYSERR_INVALPARAM;
        *pdwRate = voice.rate();
        return MMSYSERR_NOERROR;
    });
}

MMRESULT WINAPI waveOutSetPlaybackRate(HWAVEOUT hwo, DWORD dwRate) {
    return win::sound::WithVoice(hwo, [&](WaveOutVoice& voice) -> MMRESULT {
        if (dwRate == 0) return MMSYSERR_INVALPARAM;
        voice.SetRate(dwRate);
        return MMSYSERR_NOERROR;
    });
}
