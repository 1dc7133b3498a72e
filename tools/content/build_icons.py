#!/usr/bin/python3
"""Builds the program's icons (32 x 32, with transparency) and its brush cursor.

Every icon is a round badge in one colour of the shared palette with a thick
dark rim and a bold white symbol, so that all screens speak the same visual
language.
"""
import argparse
import math
import os
import sys

import numpy as np
from PIL import Image, ImageDraw

import iconfile
from style import (BLUE, BROWN, Canvas, GREEN, GREY, INK, ORANGE, PINK, PURPLE, RED, TEAL,
                   WHITE, YELLOW, note)


def badge(colour, radius=15.0):
    c = Canvas(32, 32)
    c.circle(16, 16, radius, fill=INK)
    c.circle(16, 16, radius - 1.6, fill=colour)
    # A soft highlight on the upper left gives the badge some roundness.
    tint = tuple(int(v + (255 - v) * 0.35) for v in colour)
    c.ellipse((16 - radius * 0.62, 16 - radius * 0.8, 16 + radius * 0.1, 16 - radius * 0.3),
              fill=tint)
    return c


def arrow(direction, radius=15.0):
    c = badge(BLUE, radius)
    k = radius / 15.0
    pts = [(0, -9), (7.5, -1.5), (3, -1.5), (3, 8), (-3, 8), (-3, -1.5), (-7.5, -1.5)]
    angle = {"up": 0, "right": 90, "down": 180, "left": 270}[direction]
    a = math.radians(angle)
    rot = [(16 + k * (x * math.cos(a) - y * math.sin(a)), 16 + k * (x * math.sin(a) + y * math.cos(a)))
           for x, y in pts]
    c.poly(rot, WHITE, outline=WHITE, width=1.6 * k)
    return c


def cross():
    c = badge(RED)
    c.line([(10.5, 10.5), (21.5, 21.5)], WHITE, 4)
    c.line([(21.5, 10.5), (10.5, 21.5)], WHITE, 4)
    return c


def check():
    c = badge(GREEN)
    c.line([(9.5, 16.5), (14, 21), (22.5, 11)], WHITE, 4)
    return c


def save():
    c = badge(BLUE)
    c.rrect((9, 9, 23, 23), 2, WHITE)
    c.rrect((12, 9, 20, 14), 0.5, BLUE)
    c.rrect((17, 10, 19, 13), 0.3, WHITE)
    c.rrect((11.5, 16.5, 20.5, 23), 1, (200, 225, 250))
    return c


def restart():
    c = badge(ORANGE)
    r = 6.8
    c.arc(16, 16.5, r, -20, 235, WHITE, 3.2)
    # Arrow head at the upper-left end of the open ring, pointing clockwise.
    a = math.radians(235)
    x, y = 16 + r * math.cos(a), 16.5 + r * math.sin(a)
    tx, ty = -math.sin(a), math.cos(a)          # clockwise tangent
    nx, ny = math.cos(a), math.sin(a)            # outward normal
    c.poly([(x + tx * 5.5, y + ty * 5.5), (x + nx * 4.2 - tx * 0.5, y + ny * 4.2 - ty * 0.5),
            (x - nx * 4.2 - tx * 0.5, y - ny * 4.2 - ty * 0.5)], WHITE)
    return c


def browse():
    c = badge(PURPLE)
    for gx in (0, 1):
        for gy in (0, 1):
            x, y = 9.5 + gx * 7.5, 9.5 + gy * 7.5
            c.rrect((x, y, x + 5.5, y + 5.5), 1.2, WHITE)
    return c


def music_on():
    c = badge(YELLOW)
    note(c, 12, 20.5, 10, INK)
    return c


def music_off():
    c = badge(GREY)
    note(c, 12, 20.5, 10, WHITE)
    c.line([(9, 9), (23, 23)], RED, 2.6)
    return c


def music_list():
    c = badge(PINK)
    for i, y in enumerate((11, 16, 21)):
        c.line([(9.5, y), (14.5 if i == 0 else 13, y)], WHITE, 2.2)
    note(c, 16.5, 20.5, 8.5, WHITE)
    return c


def turn_arrow(forward, colour, symbol):
    """A curved arrow on the badge: back (undo) turns over the top to the
    left, forward (redo) is its mirror image."""
    c = badge(colour)
    r, cy = 6.5, 17.5
    # Angles run clockwise from three o'clock (y grows downwards).
    first, last = (200, 400) if not forward else (140, 340)
    c.arc(16, cy, r, first, last, symbol, 3.2)
    a = math.radians(first if not forward else last)
    x, y = 16 + r * math.cos(a), cy + r * math.sin(a)
    # The head points on along the ring, away from it.
    tx, ty = (math.sin(a), -math.cos(a)) if not forward else (-math.sin(a), math.cos(a))
    nx, ny = math.cos(a), math.sin(a)
    c.poly([(x + tx * 5.5, y + ty * 5.5), (x + nx * 4.2 - tx * 0.5, y + ny * 4.2 - ty * 0.5),
            (x - nx * 4.2 - tx * 0.5, y - ny * 4.2 - ty * 0.5)], symbol)
    return c


# The greyed-out faces of buttons that have nothing to do: the same shape,
# quiet grey on grey.
GREYED_BADGE = (196, 199, 207)
GREYED_SYMBOL = (236, 238, 242)


def help_icon():
    c = badge(GREEN)
    c.text((16, 16.8), "?", 20, WHITE)
    return c


def app_icon(size=32):
    """The program's own mark: an artist's palette with bright paint dots and a brush."""
    c = Canvas(32, 32, scale=max(8, size // 4))
    c.ellipse((2, 5, 30, 28), INK)
    c.ellipse((3.6, 6.6, 28.4, 26.4), (250, 232, 200))
    c.circle(20.5, 21, 3.2, INK)                 # thumb hole
    c.circle(20.5, 21, 2.0, (0, 0, 0, 0))
    for (x, y), col in zip([(9, 11.5), (15.5, 9.5), (22, 11.5), (8.5, 18.5)],
                           [RED, YELLOW, GREEN, BLUE]):
        c.circle(x, y, 3.0, col, outline=INK, width=0.8)
    c.line([(13, 25), (26, 4)], BROWN, 2.6)
    c.poly([(11.2, 24.2), (14.8, 26.2), (12.2, 30.5), (9.8, 29)], PURPLE, outline=INK, width=0.8)
    img = c.result()
    return img if size == 32 else c.img.resize((size, size), Image.LANCZOS)


def brush_cursor():
    """The paint-brush cursor: 16 colours, no smoothing, tip at (16, 15)."""
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    black, wood, ferrule, paint = (0, 0, 0, 255), (192, 128, 64, 255), (192, 192, 192, 255), (255, 0, 0, 255)
    # Handle up and to the right of the tip, bristles leading down to (16, 15).
    d.polygon([(26, 1), (30, 5), (22, 13), (18, 9)], fill=black)
    d.polygon([(26, 2), (29, 5), (22, 12), (19, 9)], fill=wood)
    d.polygon([(18, 8), (23, 13), (20, 16), (15, 11)], fill=black)
    d.polygon([(18, 9), (22, 13), (20, 15), (16, 11)], fill=ferrule)
    d.polygon([(15, 10), (21, 16), (17, 16), (16, 15), (15, 14)], fill=black)
    d.polygon([(16, 11), (20, 15), (17, 15), (16, 14)], fill=paint)
    # A one-pixel white halo keeps the brush visible on dark colours.
    arr = np.array(img)
    opaque = arr[:, :, 3] > 0
    halo = np.zeros_like(opaque)
    for dy in (-1, 0, 1):
        for dx in (-1, 0, 1):
            halo |= np.roll(np.roll(opaque, dy, 0), dx, 1)
    arr[halo & ~opaque] = (255, 255, 255, 255)
    return arr


CURSOR_HOTSPOT = (16, 15)

ICONS = {
    128: ("application", lambda: app_icon()),
    132: ("strip down", lambda: arrow("down", 12.5)),
    134: ("strip up", lambda: arrow("up", 12.5)),
    135: ("close / cancel", cross),
    136: ("save", save),
    137: ("start again", restart),
    139: ("browse", browse),
    144: ("OK", check),
    145: ("previous page", lambda: arrow("left")),
    146: ("next page", lambda: arrow("right")),
    149: ("music on", music_on),
    150: ("music list", music_list),
    151: ("music off", music_off),
    164: ("help", help_icon),
    165: ("undo", lambda: turn_arrow(False, TEAL, WHITE)),
    166: ("redo", lambda: turn_arrow(True, TEAL, WHITE)),
    167: ("undo, nothing to undo", lambda: turn_arrow(False, GREYED_BADGE, GREYED_SYMBOL)),
    168: ("redo, nothing to redo", lambda: turn_arrow(True, GREYED_BADGE, GREYED_SYMBOL)),
}


def icon_rgba(make):
    made = make()
    img = made.result() if isinstance(made, Canvas) else made
    return np.array(img.convert("RGBA"), dtype=np.uint8)


def build(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for number, (_, make) in ICONS.items():
        with open(os.path.join(out_dir, f"icon{number}.ico"), "wb") as f:
            f.write(iconfile.ico_bytes(icon_rgba(make)))
    with open(os.path.join(out_dir, "cursor131.cur"), "wb") as f:
        f.write(iconfile.cur_bytes(brush_cursor(), CURSOR_HOTSPOT))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("out_dir")
    build(parser.parse_args(argv).out_dir)


if __name__ == "__main__":
    main(sys.argv[1:])
