#!/usr/bin/python3
"""Builds the activity screens' backgrounds, the line-art pictures with their
coloured samples, and the three catalogues (topic.txt, freely.txt, sample.txt)
whose Vietnamese text is written in TCVN3.

Controls draw themselves over the backgrounds, so each background keeps the
places of the controls plain: a white drawing board under each canvas, a
panel under the thumbnail strip, light plates under the icon buttons.
"""
import os
import shutil
import sys

import build_bitmaps
import dialog_units as du
import pictures
import tcvn3
from style import (BLUE, CREAM, Canvas, GREEN, INK, ORANGE, PINK, PURPLE, RED, SKY,
                   WHITE, YELLOW, star_points)

PANEL = CREAM
PLATE = (255, 252, 240)
FREE_SIZE = (600, 400)       # fills the free screen's 600 x 400 canvas area
SAMPLE_SIZE = (318, 212)     # the same scenes, as wide as the sample screen's 320 x 320 boxes


def sky(c, w, h):
    for i in range(h // 20 + 1):
        tint = tuple(int(v + (255 - v) * min(1, i * 20 / h) * 0.7) for v in SKY)
        c.rrect((0, i * 20, w, i * 20 + 21), 0, tint)


def plate(c, rect, pad=3):
    l, t, r, b = rect
    c.rrect((l - pad, t - pad, r + pad, b + pad), 9, PLATE, outline=INK, width=2)


def board(c, rect, pad=6):
    l, t, r, b = rect
    c.rrect((l - pad - 4, t - pad - 4, r + pad + 4, b + pad + 4), 14, ORANGE, outline=INK, width=2.5)
    c.rrect((l - pad, t - pad, r + pad, b + pad), 8, WHITE, outline=INK, width=2)


def confetti(c, points):
    colours = [RED, YELLOW, GREEN, BLUE, PURPLE, PINK, ORANGE]
    for i, (x, y) in enumerate(points):
        c.poly(star_points(x, y, 7, 3), colours[i % len(colours)], outline=INK, width=1)


def free_background(path):
    w, h = du.size(496, 331)
    c = Canvas(w, h, scale=2, background=SKY + (255,))
    sky(c, w, h)
    c.rrect((4, 20, 102, 524), 12, PANEL, outline=INK, width=2)         # thumbnail column
    board(c, (110, 40, 710, 440))
    c.text((112, 20), "Tô tự do  ·  Free colouring", 16, INK, anchor="lm", stroke=2,
           stroke_fill=WHITE)
    c.rrect((108, 488, w - 4, h - 4), 12, PANEL, outline=INK, width=2)  # button row
    for x in (141, 187, 233, 279, 325, 371, 412, 459):   # 371, 412: undo and redo
        plate(c, du.rect(x, 305, 30, 21))
    confetti(c, [(130, 512), (160, 505), (150, 524), (675, 518)])
    c.result().convert("RGB").save(path)


def samples_background(path):
    w, h = du.size(521, 321)
    c = Canvas(w, h, scale=2, background=SKY + (255,))
    sky(c, w, h)
    c.rrect((4, 24, 102, h - 4), 12, PANEL, outline=INK, width=2)
    board(c, (110, 60, 430, 380))
    board(c, (445, 60, 765, 380))
    c.text((112, 18), "Tô theo mẫu  ·  Colour a sample", 16, INK, anchor="lm", stroke=2,
           stroke_fill=WHITE)
    c.text((270, 40), "Mẫu  ·  Sample", 13, INK)
    c.text((605, 40), "Tranh của bé  ·  Your picture", 13, INK)
    c.rrect((108, 470, w - 4, h - 4), 12, PANEL, outline=INK, width=2)
    for x in (80, 134, 199, 264, 329, 394, 438, 482):    # 80: undo, 438: redo
        plate(c, du.rect(x, 295, 32, 23))
    confetti(c, [(184, 506), (186, 488)])
    c.result().convert("RGB").save(path)


def browse_background(path):
    w, h = du.size(507, 323)
    c = Canvas(w, h, scale=2, background=SKY + (255,))
    sky(c, w, h)
    c.rrect((4, 4, w - 4, 452), 12, PANEL, outline=INK, width=2)
    c.rrect((4, 445, w - 4, h - 4), 12, PANEL, outline=INK, width=2)
    for rect in ((201, 295, 31, 21), (275, 295, 31, 21), (7, 276, 36, 24), (461, 276, 36, 24)):
        plate(c, du.rect(*rect))
    confetti(c, [(120, 500), (160, 490), (600, 500), (640, 510)])
    c.result().convert("RGB").save(path)


def write_catalogue(path, heading, rows):
    """A tab-separated catalogue, heading first, TCVN3 text, CR LF line ends."""
    with open(path, "wb") as f:
        for row in [heading] + rows:
            f.write(tcvn3.encode("\t".join(str(v) for v in row)) + b"\r\n")


def build(app_dir):
    # Pictures of an earlier build that no catalogue lists any more go.
    for sub in ("Pictures/Freely", "Pictures/Samples"):
        shutil.rmtree(os.path.join(app_dir, sub), ignore_errors=True)
    for sub in ("Backgrnd/Freely", "Backgrnd/Samples", "Pictures/Freely", "Pictures/Samples"):
        os.makedirs(os.path.join(app_dir, sub), exist_ok=True)
    free_background(os.path.join(app_dir, "Backgrnd", "Freely", "bg1.bmp"))
    samples_background(os.path.join(app_dir, "Backgrnd", "Samples", "bg1.bmp"))
    browse_background(os.path.join(app_dir, "Backgrnd", "browse.bmp"))
    build_bitmaps.mixer_background().save(os.path.join(app_dir, "Backgrnd", "mixed.bmp"))

    free_rows, sample_rows = [], []
    for topic, pic in pictures.all_pictures():
        art, _ = pic.render(FREE_SIZE)
        art.save(os.path.join(app_dir, "Pictures", "Freely", f"{pic.name}.bmp"))
        free_rows.append((len(free_rows) + 1, topic, f"Pictures\\Freely\\{pic.name}.bmp"))
        if pic.sample:
            art, sample = pic.render(SAMPLE_SIZE)
            art.save(os.path.join(app_dir, "Pictures", "Samples", f"{pic.name}.bmp"))
            sample.save(os.path.join(app_dir, "Pictures", "Samples", f"{pic.name}_s.bmp"))
            sample_rows.append((len(sample_rows) + 1, topic, f"Pictures\\Samples\\{pic.name}_s.bmp",
                                f"Pictures\\Samples\\{pic.name}.bmp"))
    write_catalogue(os.path.join(app_dir, "topic.txt"), ("Số", "Chủ đề"),
                    [(i + 1, name) for i, name in enumerate(pictures.topics())])
    write_catalogue(os.path.join(app_dir, "freely.txt"), ("Số", "Chủ đề", "Tranh"), free_rows)
    write_catalogue(os.path.join(app_dir, "sample.txt"), ("Số", "Chủ đề", "Mẫu", "Tranh"),
                    sample_rows)


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else "app")
