#!/usr/bin/python3
"""Builds the click sounds 153-157: short, soft, 16-bit PCM WAVE files.

153 pointer enters a button   stereo 22050 Hz  a soft high blip
154 button click              mono   44100 Hz  a wooden "tock"
155 thumbnail pick            mono   22050 Hz  two rising chime notes
156 canvas fill               mono   22050 Hz  a water-drop "bloop"
157 palette pick              mono   22050 Hz  a bright pluck
"""
import argparse
import os
import sys
import wave

import numpy as np

PEAK = 0.35          # well below full scale
EDGE_FADE_S = 0.004  # no click at either end


def envelope(n, rate, attack_s, decay_s):
    t = np.arange(n) / rate
    env = np.minimum(1.0, t / attack_s) * np.exp(-t / decay_s)
    return env


def finish(signal, rate):
    """Normalises to the soft peak and fades both ends to exact silence."""
    signal = signal / np.max(np.abs(signal)) * PEAK
    fade = max(2, int(EDGE_FADE_S * rate))
    ramp = 0.5 - 0.5 * np.cos(np.linspace(0, np.pi, fade))
    signal[..., :fade] *= ramp
    signal[..., -fade:] *= ramp[::-1]
    return signal


def tone(freq, n, rate, partials=((1, 1.0),)):
    t = np.arange(n) / rate
    return sum(a * np.sin(2 * np.pi * freq * k * t) for k, a in partials)


def hover(rate=22050):
    n = int(0.09 * rate)
    mono = tone(1760, n, rate, ((1, 1.0), (2, 0.15))) * envelope(n, rate, 0.003, 0.025)
    mono = finish(mono, rate)
    # A gentle pan from left to right gives the stereo image some life.
    pan = np.linspace(0.3, 0.7, n)
    return np.stack([mono * (1 - pan) * 1.4, mono * pan * 1.4])


def click(rate=44100):
    n = int(0.11 * rate)
    t = np.arange(n) / rate
    freq = 900 * np.exp(-t / 0.03) + 420        # a falling knock
    phase = 2 * np.pi * np.cumsum(freq) / rate
    body = np.sin(phase) + 0.3 * np.sin(2.01 * phase)
    return finish(body * envelope(n, rate, 0.001, 0.018), rate)


def thumbnail(rate=22050):
    n_note = int(0.14 * rate)
    notes = []
    for freq in (1046.5, 1568.0):               # C6 then G6
        env = envelope(n_note, rate, 0.002, 0.06)
        notes.append(tone(freq, n_note, rate, ((1, 1.0), (2, 0.25), (3, 0.08))) * env)
    gap = int(0.07 * rate)
    out = np.zeros(gap + n_note + gap)
    out[:n_note] += notes[0]
    out[gap:gap + n_note] += notes[1]
    return finish(out, rate)


def fill(rate=22050):
    n = int(0.3 * rate)
    t = np.arange(n) / rate
    freq = 300 + 900 * (1 - np.exp(-t / 0.05))   # rising drop
    phase = 2 * np.pi * np.cumsum(freq) / rate
    body = np.sin(phase) * envelope(n, rate, 0.004, 0.07)
    return finish(body, rate)


def palette(rate=22050):
    n = int(0.18 * rate)
    t = np.arange(n) / rate
    partials = ((1, 1.0), (2, 0.5), (3, 0.25), (4, 0.12))
    sig = sum(a * np.sin(2 * np.pi * 1318.5 * k * t) * np.exp(-t * k / 0.05)
              for k, a in partials)
    return finish(sig * envelope(n, rate, 0.001, 1.0), rate)


SOUNDS = {
    153: (hover, 22050, 2),
    154: (click, 44100, 1),
    155: (thumbnail, 22050, 1),
    156: (fill, 22050, 1),
    157: (palette, 22050, 1),
}


def write_wave(path, signal, rate):
    data = np.atleast_2d(signal)
    pcm = np.round(data.T * 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(data.shape[0])
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(pcm.tobytes())


def build(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for number, (make, rate, channels) in SOUNDS.items():
        signal = make(rate)
        assert np.atleast_2d(signal).shape[0] == channels
        write_wave(os.path.join(out_dir, f"sound{number}.wav"), signal, rate)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("out_dir")
    build(parser.parse_args(argv).out_dir)


if __name__ == "__main__":
    main(sys.argv[1:])
