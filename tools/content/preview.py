#!/usr/bin/python3
"""Renders the pictures of one topic module (or all) to a PNG for a look,
with each picture's region count: python3 preview.py animals out.png"""
import importlib
import sys

from PIL import Image, ImageDraw

import lineart
from build_screens import FREE_SIZE as FREE, SAMPLE_SIZE as SAMPLE


def sheet(pics, path):
    cols = 2
    cell_w, cell_h = 600 + 318 + 20, 420
    rows = (len(pics) + cols - 1) // cols
    out = Image.new("RGB", (cols * cell_w, rows * cell_h), (200, 200, 200))
    d = ImageDraw.Draw(out)
    for i, pic in enumerate(pics):
        x, y = (i % cols) * cell_w, (i // cols) * cell_h
        art, sample = pic.render(FREE)
        out.paste(art, (x, y + 18))
        n = len(lineart.regions(art))
        text = f"{pic.name} L{pic.level} free:{n}"
        if pic.sample:
            sart, s = pic.render(SAMPLE, pic.square)
            out.paste(s, (x + 605, y + 18))
            text += f" sample:{len(lineart.regions(sart))}"
        else:
            out.paste(sample.resize(SAMPLE, Image.NEAREST), (x + 605, y + 18))
        lo, hi = lineart.Picture.LEVELS[pic.level]
        d.text((x + 4, y + 3), text, fill=(0, 0, 0) if lo <= n <= hi else (255, 0, 0))
    out.save(path)


if __name__ == "__main__":
    mod = importlib.import_module("pictures." + sys.argv[1])
    sheet(mod.PICTURES, sys.argv[2])
