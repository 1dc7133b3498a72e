// mixer*: the devices here have no hardware volume control (SDL2 offers
// none), so there is no mixer device; every call gives the answer Windows
// gives on a machine without one, and callers fall back to waveOut volume.
#include "win/mmsystem.h"

UINT WINAPI mixerGetNumDevs() { return 0; }

MMRESULT WINAPI mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR, DWORD_PTR, DWORD fdwOpen) {
    if (phmx) *phmx = nullptr;
    if (!phmx) return MMSYSERR_INVALPARAM;
    // Asked for the mixer of a wave output: the output may exist, its mixer
    // does not.
    if ((fdwOpen & 0x70000000) == MIXER_OBJECTF_WAVEOUT) {
        if (fdwOpen & MIXER_OBJECTF_HANDLE) {
            DWORD volume;
            auto wave = reinterpret_cast<HWAVEOUT>(UINT_PTR(uMxId));
            return waveOutGetVolume(wave, &volume) == MMSYSERR_NOERROR ? MMSYSERR_NODRIVER
                                                                       : MMSYSERR_INVALHANDLE;
        }
        WAVEOUTCAPSA caps;
        if (waveOutGetDevCapsA(uMxId, &caps, sizeof caps) == MMSYSERR_NOERROR)
            return MMSYSERR_NODRIVER;
    }
    return MMSYSERR_BADDEVICEID;
}

MMRESULT WINAPI mixerClose(HMIXER) { return MMSYSERR_INVALHANDLE; }

MMRESULT WINAPI mixerGetDevCapsA(UINT_PTR, LPMIXERCAPSA pmxcaps, UINT) {
    return pmxcaps ? MMSYSERR_BADDEVICEID : MMSYSERR_INVALPARAM;
}

MMRESULT WINAPI mixerGetLineInfoA(HMIXEROBJ, LPMIXERLINEA pmxl, DWORD) {
    return pmxl ? MMSYSERR_INVALHANDLE : MMSYSERR_INVALPARAM;
}

MMRESULT WINAPI mixerGetLineControlsA(HMIXEROBJ, LPMIXERLINECONTROLSA pmxlc, DWORD) {
    return pmxlc ? MMSYSERR_INVALHANDLE : MMSYSERR_INVALPARAM;
}

MMRESULT WINAPI mixerGetControlDetailsA(HMIXEROBJ, LPMIXERCONTROLDETAILS pmxcd, DWORD) {
    return pmxcd ? MMSYSERR_INVALHANDLE : MMSYSERR_INVALPARAM;
}

MMRESULT WINAPI mixerSetControlDetails(HMIXEROBJ, LPMIXERCONTROLDETAILS pmxcd, DWORD) {
    return pmxcd ? MMSYSERR_INVALHANDLE : MMSYSERR_INVALPARAM;
}
