#!/usr/bin/python3
"""Decodes every song with mpg123 and prints its length, loudness and peak,
plus the step between its last and first sample (the loop's seam).

    python3 measure_songs.py build/app/Data/Media/Music
"""
import os
import subprocess
import sys

import numpy as np

import tunes


def measure(path):
    raw = subprocess.run(["mpg123", "-q", "-s", "--mono", "-r", "44100", path],
                         check=True, capture_output=True).stdout
    x = np.frombuffer(raw, "<i2").astype(float) / 32768
    rms = 20 * np.log10(np.sqrt(np.mean(x ** 2)))
    peak = 20 * np.log10(np.max(np.abs(x)))
    return len(x) / 44100, rms, peak, abs(x[-1] - x[0])


def main(folder):
    worst = []
    for code, tune in tunes.songs():
        seconds, rms, peak, seam = measure(os.path.join(folder, f"{code}.mp3"))
        worst.append((rms, code))
        print(f"{code:>4} {seconds:6.1f} s  rms {rms:6.1f} dBFS  peak {peak:6.1f} dBFS  "
              f"seam {seam:.4f}  {tune.title}")
    levels = [r for r, _ in worst]
    print(f"loudness spread: {min(levels):.1f} .. {max(levels):.1f} dBFS")


if __name__ == "__main__":
    main(sys.argv[1])
