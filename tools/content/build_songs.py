#!/usr/bin/python3
"""Renders the 80 songs with our synthesiser and encodes them with lame into
<out_dir>/<code>.mp3 (MPEG-1 Layer III, 44100 Hz mono, 64 kbit/s).

A song is rendered again only when its tune or the synthesiser changed: a
small <code>.hash file beside each song records what made it.
"""
import argparse
import hashlib
import inspect
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

import melody
import synth
import tunes

BITRATE = 64


def fingerprint(tune):
    h = hashlib.sha256()
    h.update(repr(tune).encode())
    for module in (melody, synth, sys.modules[__name__]):
        h.update(inspect.getsource(module).encode())
    return h.hexdigest()


def write_wave(path, samples):
    pcm = np.round(np.clip(samples, -1, 1) * 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(synth.RATE)
        w.writeframes(pcm.tobytes())


def encode(samples, target):
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "song.wav")
        write_wave(wav, samples)
        partial = target + ".part"
        subprocess.run(["lame", "--quiet", "-m", "m", "-b", str(BITRATE), "--cbr", "-q", "2",
                        wav, partial], check=True)
        os.replace(partial, target)


def build(out_dir, only=None):
    os.makedirs(out_dir, exist_ok=True)
    built = 0
    for code, tune in tunes.songs():
        if only and code not in only:
            continue
        target = os.path.join(out_dir, f"{code}.mp3")
        stamp = os.path.join(out_dir, f"{code}.hash")
        digest = fingerprint(tune)
        if os.path.exists(target) and os.path.exists(stamp):
            with open(stamp) as f:
                if f.read().strip() == digest:
                    continue
        samples, _ = synth.render(tune)
        encode(samples, target)
        with open(stamp, "w") as f:
            f.write(digest + "\n")
        built += 1
        print(f"song {code}: {tune.title}", flush=True)
    print(f"{built} songs built", flush=True)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("out_dir")
    parser.add_argument("codes", nargs="*", help="build only these songs")
    args = parser.parse_args(argv)
    build(args.out_dir, set(args.codes))


if __name__ == "__main__":
    main(sys.argv[1:])
