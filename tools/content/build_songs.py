#!/usr/bin/python3
"""Renders the 80 songs with our synthesiser and encodes them with lame into
<out_dir>/<code>.mp3 (MPEG-1 Layer III, 44100 Hz mono, 64 kbit/s).

A song is rendered again only when its tune or the synthesiser changed: a
small <code>.hash file in the stamp folder (by default the output folder)
records what made each song. The songs are made side by side, one process
per core; each appears whole (written aside, then renamed), so a program
already running never opens half a song.
"""
import argparse
import concurrent.futures
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
# lame's usual quality: at 64 kbit/s mono the slower searches of "-q 2" are
# not heard, and they took three times as long.
LAME_OPTIONS = ["--quiet", "-m", "m", "-b", str(BITRATE), "--cbr", "-q", "5"]


def fingerprint(tune):
    """What a song's sound depends on: its tune, the synthesiser, the encoder settings."""
    h = hashlib.sha256()
    h.update(repr(tune).encode())
    for module in (melody, synth):
        h.update(inspect.getsource(module).encode())
    h.update(" ".join(LAME_OPTIONS).encode())
    return h.hexdigest()


def pcm_bytes(samples):
    return np.round(np.clip(samples, -1, 1) * 32767).astype("<i2").tobytes()


def write_wave(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(synth.RATE)
        w.writeframes(pcm_bytes(samples))


def encode(samples, target):
    # The result is written beside the target under a name of this
    # process's own, then renamed.
    partial = f"{target}.{os.getpid()}.part"
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "song.wav")
        write_wave(wav, samples)
        try:
            subprocess.run(["lame", *LAME_OPTIONS, wav, partial], check=True)
            os.replace(partial, target)
        finally:
            if os.path.exists(partial):
                os.remove(partial)


def make_song(code, tune, target, stamp, digest):
    """Renders and encodes one song, then records what made it."""
    samples, _ = synth.render(tune)
    encode(samples, target)
    with open(stamp, "w") as f:
        f.write(digest + "\n")
    return code, tune.title


def build(out_dir, only=None, stamp_dir=None, jobs=None):
    stamp_dir = stamp_dir or out_dir
    os.makedirs(out_dir, exist_ok=True)
    os.makedirs(stamp_dir, exist_ok=True)
    work = []
    for code, tune in tunes.songs():
        if only and code not in only:
            continue
        target = os.path.join(out_dir, f"{code}.mp3")
        stamp = os.path.join(stamp_dir, f"{code}.hash")
        digest = fingerprint(tune)
        if os.path.exists(target) and os.path.exists(stamp):
            with open(stamp) as f:
                if f.read().strip() == digest:
                    continue
        work.append((code, tune, target, stamp, digest))
    built = 0
    jobs = jobs or os.cpu_count() or 1
    if jobs == 1 or len(work) <= 1:
        for item in work:
            code, title = make_song(*item)
            built += 1
            print(f"song {code}: {title}", flush=True)
    else:
        with concurrent.futures.ProcessPoolExecutor(max_workers=jobs) as pool:
            for future in concurrent.futures.as_completed([pool.submit(make_song, *item) for item in work]):
                code, title = future.result()
                built += 1
                print(f"song {code}: {title}", flush=True)
    print(f"{built} songs built", flush=True)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("out_dir")
    parser.add_argument("codes", nargs="*", help="build only these songs")
    parser.add_argument("--stamps", help="folder for the .hash files (default: out_dir)")
    parser.add_argument("-j", "--jobs", type=int, help="songs made at once (default: one per core)")
    args = parser.parse_args(argv)
    build(args.out_dir, set(args.codes), args.stamps, args.jobs)


if __name__ == "__main__":
    main(sys.argv[1:])
