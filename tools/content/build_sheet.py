#!/usr/bin/python3
"""Draws the contact sheet of every picture and sample pair (docs/pictures.png):
one row per topic of free-colouring pictures, then the sample pairs, each
coloured sample beside its line art, with each picture's name and region
count.

    python3 tools/content/build_sheet.py docs/pictures.png
"""
import sys

from PIL import Image, ImageDraw

import lineart
import pictures
from build_screens import FREE_SIZE, SAMPLE_SIZE
from style import font

THUMB = (180, 120)
GAP = 8
LABEL = 16
HEAD = 26
BACK = (236, 240, 246)
INK = (43, 45, 66)


def _thumb(img, size=THUMB):
    return img.convert("RGB").resize(size, Image.LANCZOS)


def build(path):
    mods = pictures.modules()
    per_row = max(len(m.PICTURES) for m in mods)
    samples = [(m.TOPIC, pic) for m in mods for pic in m.PICTURES if pic.sample]
    cell_w, cell_h = THUMB[0] + GAP, THUMB[1] + LABEL + GAP
    width = GAP + per_row * cell_w
    # A pair: two square thumbnails side by side.
    pair_w = 2 * THUMB[1] + 2 + 3 * GAP
    pairs_per_row = (width - GAP) // pair_w
    pair_rows = (len(samples) + pairs_per_row - 1) // pairs_per_row
    height = (HEAD + len(mods) * (HEAD + cell_h) + HEAD + pair_rows * cell_h + GAP)
    sheet = Image.new("RGB", (width, height), BACK)
    d = ImageDraw.Draw(sheet)
    small, big = font(11, bold=False), font(15)

    y = GAP
    d.text((GAP, y), f"Free colouring: {sum(len(m.PICTURES) for m in mods)} pictures "
                     f"in {len(mods)} topics ({FREE_SIZE[0]} x {FREE_SIZE[1]})", font=big, fill=INK)
    y += HEAD
    for n, m in enumerate(mods, 1):
        d.text((GAP, y), f"{n}. {m.TOPIC}", font=big, fill=INK)
        y += HEAD
        for i, pic in enumerate(m.PICTURES):
            art, _ = pic.render(FREE_SIZE)
            x = GAP + i * cell_w
            sheet.paste(_thumb(art), (x, y))
            regions = len(lineart.regions(art))
            d.text((x, y + THUMB[1] + 2), f"{pic.name}  level {pic.level}, {regions} regions",
                   font=small, fill=INK)
        y += cell_h
    d.text((GAP, y), f"Samples: {len(samples)} pairs ({SAMPLE_SIZE[0]} x {SAMPLE_SIZE[1]}), "
                     "the coloured example beside the picture to colour", font=big, fill=INK)
    y += HEAD
    for i, (topic, pic) in enumerate(samples):
        art, sample = pic.render(SAMPLE_SIZE, pic.square)
        x = GAP + (i % pairs_per_row) * pair_w
        row_y = y + (i // pairs_per_row) * cell_h
        square = (THUMB[1], THUMB[1])
        sheet.paste(_thumb(sample, square), (x, row_y))
        sheet.paste(_thumb(art, square), (x + THUMB[1] + 2, row_y))
        d.text((x, row_y + THUMB[1] + 2), f"{pic.name} ({topic})", font=small, fill=INK)
    # A palette image: the sheet is a tenth of the size and looks the same.
    sheet.quantize(256, dither=Image.Dither.NONE).save(path, optimize=True)


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else "pictures.png")
