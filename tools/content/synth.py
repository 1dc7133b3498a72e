"""A small additive synthesiser that renders a Tune to a seamless mono loop."""
import numpy as np

import melody

RATE = 44100
TARGET_RMS = 10 ** (-20 / 20)   # every song is brought to the same loudness
PEAK_LIMIT = 0.7
MAX_PASS_S = 60.0
TARGET_S = 45.0


def midi_hz(m):
    return 440.0 * 2 ** ((m - 69) / 12)


# Instruments: (partials as (ratio, level, decay factor), attack s, decay tau s or None for
# sustained, release s, vibrato depth)
INSTRUMENTS = {
    "flute": ([(1, 1.0, 0), (2, 0.3, 0), (3, 0.1, 0), (4, 0.04, 0)], 0.04, None, 0.12, 0.004),
    "marimba": ([(1, 1.0, 1.0), (2, 0.12, 2.0), (4, 0.2, 4.0)], 0.004, 0.45, 0.1, 0.0),
    "musicbox": ([(1, 1.0, 1.0), (2, 0.18, 1.5), (3, 0.22, 3.0), (6, 0.06, 5.0)], 0.002, 0.9,
                 0.15, 0.0),
    "piano": ([(1, 1.0, 1.0), (2, 0.3, 1.6), (3, 0.08, 2.5)], 0.006, 0.7, 0.08, 0.0),
    "bass": ([(1, 1.0, 1.0), (2, 0.35, 1.5), (3, 0.1, 2.0)], 0.01, 0.9, 0.08, 0.0),
    "pad": ([(1, 1.0, 0), (2, 0.15, 0), (3, 0.05, 0)], 0.3, None, 0.4, 0.0),
}


def note_samples(instrument, midi, seconds, level):
    partials, attack, tau, release, vibrato = INSTRUMENTS[instrument]
    total = seconds + release + (3 * tau if tau else 0)
    if tau:
        total = min(total, seconds + 1.5 * tau + release)
    n = int(total * RATE)
    t = np.arange(n) / RATE
    freq = midi_hz(midi)
    phase = 2 * np.pi * freq * t
    if vibrato:
        onset = np.clip((t - 0.15) / 0.3, 0, 1)
        phase += onset * vibrato * freq / 5.0 * np.sin(2 * np.pi * 5.0 * t)
    out = np.zeros(n)
    for ratio, amp, decay in partials:
        if ratio * freq > RATE / 2.5:
            continue
        wave = amp * np.sin(ratio * phase)
        if tau and decay:
            wave *= np.exp(-t * decay / tau)
        out += wave
    env = np.minimum(1.0, t / attack)
    # Release: a raised-cosine fall after the note's written length.
    rel = np.clip((t - seconds) / release, 0, 1)
    env *= 0.5 + 0.5 * np.cos(np.pi * rel)
    return out * env * level


class Mixer:
    """A circular buffer: whatever rings past the end wraps to the start, so
    the song loops without a seam."""

    def __init__(self, seconds):
        self.buf = np.zeros(int(round(seconds * RATE)))

    def add(self, start_s, samples):
        n = len(self.buf)
        i = int(round(start_s * RATE)) % n
        while len(samples):
            chunk = samples[: n - i]
            self.buf[i:i + len(chunk)] += chunk
            samples = samples[len(chunk):]
            i = 0


def voicing(root_pc, quality, low):
    """Chord tones from the lowest root at or above `low`."""
    root = low + (root_pc - low) % 12
    return [root + i for i in melody.chord_intervals(quality)]


def accompany(mix, tune, harmony, offset_s, spb, shift, style):
    """Adds bass and chords for one pass of the tune; spb = seconds per sixteenth."""
    beat = tune.beat()
    bar = tune.bar()
    for a, b, (root_pc, quality) in harmony:
        root_pc = (root_pc + shift) % 12
        bass = 38 + (root_pc - 38) % 12
        chord = voicing(root_pc, quality, 55)
        start, length = offset_s + a * spb, (b - a) * spb
        if style == "drone":
            for m in (bass, bass + 7, chord[1] + 12):
                mix.add(start, note_samples("pad", m, length, 0.22))
            continue
        if style in ("arpeggio", "musicbox"):
            inst, level = ("musicbox", 0.22) if style == "musicbox" else ("piano", 0.2)
            pattern = [chord[0], chord[2], chord[1] + 12, chord[-1]]
            mix.add(start, note_samples("bass", bass, min(length, 2.0), 0.45))
            for k, t in enumerate(range(a, b, 2)):
                dur = min(2, b - t) * spb
                mix.add(offset_s + t * spb, note_samples(inst, pattern[k % 4], dur * 1.5, level))
            continue
        # Plain style: bass on the strong beats, soft chords on the others.
        for t in range(a, b, beat):
            in_bar = (t - tune.pickup) % bar // beat
            dur = min(beat, b - t) * spb
            when = offset_s + t * spb
            if in_bar == 0 or (bar // beat == 4 and in_bar == 2):
                m = bass if in_bar == 0 else bass + 7
                mix.add(when, note_samples("bass", m, dur, 0.5))
            else:
                for m in chord:
                    mix.add(when, note_samples("piano", m, dur * 0.8, 0.42 / len(chord)))


def reverb(signal, seed=7):
    """A small room, applied circularly so that the tail wraps to the start."""
    rng = np.random.default_rng(seed)
    n = int(0.9 * RATE)
    t = np.arange(n) / RATE
    ir = rng.standard_normal(n) * np.exp(-t / 0.22)
    ir[: int(0.012 * RATE)] = 0
    ir /= np.sqrt(np.sum(ir ** 2))
    kernel = np.zeros(len(signal))
    kernel[: min(n, len(signal))] = ir[: len(signal)]
    wet = np.fft.irfft(np.fft.rfft(signal) * np.fft.rfft(kernel), len(signal))
    return signal + 0.25 * wet


def render(tune):
    """Returns (samples, passes): a float array in -1..1 that loops seamlessly."""
    notes = tune.parsed()
    harmony = tune.harmony()
    length16 = tune.length()
    spb = 60.0 / tune.tempo / tune.beat()
    if length16 * spb > MAX_PASS_S:
        spb = MAX_PASS_S / length16
    pass_s = length16 * spb
    passes = max(1, int(round(TARGET_S / pass_s)))
    while passes > 1 and passes * pass_s > MAX_PASS_S:
        passes -= 1
    mix = Mixer(passes * pass_s)
    style = tune.style
    for k in range(passes):
        offset = k * pass_s
        if style == "musicbox":
            lead, level = "musicbox", 0.8
        else:
            lead, level = ("flute", 0.75) if k % 2 == 0 else ("marimba", 0.9)
        for n in notes:
            if n.pitch is None:
                continue
            dur = n.length * spb
            if lead == "flute":
                dur *= 0.92       # a little breath between notes
            mix.add(offset + n.start * spb, note_samples(lead, n.pitch + tune.transpose, dur, level))
        accompany(mix, tune, harmony, offset, spb, tune.transpose,
                  "arpeggio" if style == "auto" and k % 2 == 1 and passes > 2 else style)
    out = reverb(mix.buf)
    rms = np.sqrt(np.mean(out ** 2))
    out *= TARGET_RMS / rms
    peak = np.max(np.abs(out))
    if peak > PEAK_LIMIT:
        # Soft knee above the limit keeps loudness even without hard clipping.
        over = np.abs(out) > PEAK_LIMIT * 0.8
        knee = PEAK_LIMIT * 0.8
        room = PEAK_LIMIT - knee
        out[over] = np.sign(out[over]) * (knee + room * np.tanh((np.abs(out[over]) - knee) / room))
    return out, passes
