#!/usr/bin/python3
"""Builds the activity screens' backgrounds, the line-art pictures with their
coloured samples, and the three catalogues (topic.txt, freely.txt, sample.txt)
whose Vietnamese text is written in TCVN3.

Controls draw themselves over the backgrounds, so each background keeps the
places of the controls plain: a white drawing board under each canvas, a
panel under the thumbnail strip, light plates under the icon buttons, a dark
plate under each range label. Every fixed control sits in its frame with
the same margin on every side.
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
WELL = (246, 226, 184)       # the palette's own frame inside the tray
# Under the range labels: the label's grey caption (128, 128, 128) reads on
# it at a contrast of 4.9 : 1.
LABEL_PLATE = (12, 14, 26)
FREE_SIZE = (600, 400)       # fills the free screen's 600 x 400 canvas area
SAMPLE_SIZE = (316, 316)     # each scene's square, filling the sample screen's 320 x 320 boxes

# The fixed controls in client pixels (left, top, right, bottom; right and
# bottom exclusive), from the templates and the screens' own layout.
FREE_STRIP = (11, 28, 95, 518)       # strip 84 x 436 with its label and arrows
FREE_CANVAS = (110, 40, 710, 440)
FREE_PALETTE = (120, 450, 711, 493)  # 26 x 2 swatches
FREE_TRAY = (118, 448, 734, 530)     # the palette in its frame, and the button row
SAMPLE_STRIP = (11, 33, 95, 517)
SAMPLE_BOXES = ((110, 60, 430, 380), (445, 60, 765, 380))
SAMPLE_PALETTE = (120, 420, 753, 463)  # 28 x 2 swatches
SAMPLE_TRAY = (118, 418, 771, 517)
STRIP_GAP = 2                        # what the sample screen's height leaves under its arrows


def sky(c, w, h):
    for i in range(h // 20 + 1):
        tint = tuple(int(v + (255 - v) * min(1, i * 20 / h) * 0.7) for v in SKY)
        c.rrect((0, i * 20, w, i * 20 + 21), 0, tint)


def framed(c, rect, gap, fill, radius=8, outline=2):
    """A panel whose outline lies `gap` pixels outside `rect` on every side:
    the controls in `rect` sit in it with even margins."""
    l, t, r, b = rect
    d = gap + outline
    # Half a pixel in from the right and bottom: the outline covers whole
    # pixels once the oversampled drawing is shrunk.
    c.rrect((l - d, t - d, r + d - 0.5, b + d - 0.5), radius, fill, outline=INK, width=outline)


def plate(c, rect, pad=3):
    """A light plate under an icon button: the button's face."""
    framed(c, rect, pad - 2, PLATE, radius=9)


def label_plate(c, rect):
    """A dark plate under a range label's caption, as wide as its longest
    text ("70-70/70") needs."""
    l, t, r, b = rect
    cx = (l + r) / 2
    c.rrect((cx - 40, t + 1, cx + 40 - 0.5, b - 1 - 0.5), 6, LABEL_PLATE)


def confetti(c, points):
    colours = [RED, YELLOW, GREEN, BLUE, PURPLE, PINK, ORANGE]
    for i, (x, y) in enumerate(points):
        c.poly(star_points(x, y, 7, 3), colours[i % len(colours)], outline=INK, width=1)


def free_background(path):
    w, h = du.size(496, 331)
    c = Canvas(w, h, scale=2, background=SKY + (255,))
    sky(c, w, h)
    framed(c, FREE_STRIP, STRIP_GAP, PANEL)                             # thumbnail column
    label_plate(c, du.rect(3, 287, 64, 12))
    # The tray of palette and buttons under the drawing board; the board's
    # bottom outline is the tray's top one.
    framed(c, FREE_TRAY, 2, PANEL, radius=10)
    framed(c, FREE_PALETTE, 1, WELL, radius=3, outline=1)
    framed(c, FREE_CANVAS, 4, ORANGE, radius=6)
    c.rrect((110, 40, 710 - 0.5, 440 - 0.5), 0, WHITE)
    c.text((112, 20), "Tô tự do  ·  Free colouring", 16, INK, anchor="lm", stroke=2,
           stroke_fill=WHITE)
    for x in (141, 187, 233, 279, 325, 371, 412, 459):   # 371, 412: undo and redo
        plate(c, du.rect(x, 305, 30, 21), pad=0)
    confetti(c, [(140, 512), (170, 505), (160, 524)])
    c.result().convert("RGB").save(path)


def samples_background(path):
    w, h = du.size(521, 321)
    c = Canvas(w, h, scale=2, background=SKY + (255,))
    sky(c, w, h)
    framed(c, SAMPLE_STRIP, STRIP_GAP, PANEL)
    label_plate(c, du.rect(3, 289, 64, 12))
    for box in SAMPLE_BOXES:
        framed(c, box, 4, ORANGE, radius=6)
        c.rrect((box[0], box[1], box[2] - 0.5, box[3] - 0.5), 0, WHITE)
    c.text((112, 18), "Tô theo mẫu  ·  Colour a sample", 16, INK, anchor="lm", stroke=2,
           stroke_fill=WHITE)
    c.text((270, 40), "Mẫu  ·  Sample", 13, INK)
    c.text((605, 40), "Tranh của bé  ·  Your picture", 13, INK)
    framed(c, SAMPLE_TRAY, 2, PANEL, radius=10)
    framed(c, SAMPLE_PALETTE, 1, WELL, radius=3, outline=1)
    for x in (80, 134, 199, 264, 329, 394, 438, 482):    # 80: undo, 438: redo
        plate(c, du.rect(x, 295, 32, 23), pad=0)
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
    label_plate(c, du.rect(357, 278, 72, 12))
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
            art, sample = pic.render(SAMPLE_SIZE, pic.square)
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
