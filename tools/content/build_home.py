#!/usr/bin/python3
"""Builds the home picture (Backgrnd/home.bmp) at the home screen's client size.

The home screen's buttons are invisible: the picture is their face. So each
button rectangle of the home template gets a signboard that shows what the
button does, and nothing else important lies near them.
"""
import math
import sys

import dialog_units as du
from style import (font, BLUE, BROWN, CREAM, Canvas, GRASS, GREEN, INK, ORANGE, PINK, PURPLE, RED,
                   SKY, TEAL, WHITE, YELLOW, note, star_points)

SIZE = du.size(465, 286)

# The home template's buttons, in dialog units (x, y, width, height).
BUTTONS = {
    "exit": (252, 136, 61, 22),
    "sample": (145, 68, 89, 28),
    "free": (43, 94, 86, 27),
    "music": (203, 160, 64, 21),
    "spare": (83, 141, 84, 26),
    "help": (343, 244, 29, 22),
}


def button_rect(name):
    return du.rect(*BUTTONS[name])


def cloud(c, x, y, s):
    for dx, dy, r in ((0, 0, 1.0), (0.9, -0.35, 1.2), (1.9, 0, 0.95), (0.95, 0.25, 1.0)):
        c.circle(x + dx * s, y + dy * s, r * s, WHITE)


def tree(c, x, ground, h, colour):
    c.rrect((x - 4, ground - h * 0.45, x + 4, ground), 3, BROWN, outline=INK, width=1.5)
    c.circle(x, ground - h * 0.62, h * 0.32, colour, outline=INK, width=1.5)
    c.circle(x - h * 0.05, ground - h * 0.66, h * 0.12, tuple(min(255, v + 40) for v in colour))


def flower(c, x, y, r, colour):
    c.line([(x, y + r), (x, y + r * 3.2)], GREEN, 2)
    for k in range(5):
        a = math.radians(k * 72 - 90)
        c.circle(x + r * 0.9 * math.cos(a), y + r * 0.9 * math.sin(a), r * 0.62, colour,
                 outline=INK, width=1)
    c.circle(x, y, r * 0.5, YELLOW, outline=INK, width=1)


def house(c, x, ground):
    c.rrect((x, ground - 70, x + 86, ground), 4, (255, 228, 180), outline=INK, width=2.5)
    c.poly([(x - 10, ground - 68), (x + 43, ground - 112), (x + 96, ground - 68)], RED, outline=INK,
           width=2.5)
    c.rrect((x + 33, ground - 40, x + 55, ground), 3, BLUE, outline=INK, width=2)
    c.circle(x + 50, ground - 20, 1.6, YELLOW)
    c.rrect((x + 8, ground - 56, x + 26, ground - 38), 2, SKY, outline=INK, width=2)
    c.rrect((x + 62, ground - 56, x + 80, ground - 38), 2, SKY, outline=INK, width=2)


def fitting_size(text, size, width, bold):
    """The largest text size up to `size` whose width fits in `width` pixels."""
    while size > 6 and font(int(size * 8), bold).getlength(text) / 8 > width:
        size -= 0.5
    return size


def sign(c, rect, fill, label, sub):
    """A signboard filling a button rectangle, with room on the left for a pictogram."""
    l, t, r, b = rect
    c.rrect((l + 2, t + 2, r - 2, b - 2), 9, fill, outline=INK, width=2.5)
    c.rrect((l + 6, t + 5, r - 6, t + 9), 2, tuple(min(255, v + 45) for v in fill))
    h = b - t
    left = l + h * 0.9
    room = r - 7 - left
    x = left + room / 2
    size = fitting_size(label, h * 0.38, room, bold=True)
    c.text((x, t + h * 0.42), label, size, WHITE, stroke=1.6, stroke_fill=INK)
    c.text((x, t + h * 0.78), sub, fitting_size(sub, h * 0.21, room, bold=False), INK, bold=False)


def picto_free(c, l, t, h):
    """A paintbrush making a rainbow stroke."""
    cx, cy = l + h * 0.55, t + h * 0.52
    for i, col in enumerate((RED, ORANGE, YELLOW, GREEN, BLUE)):
        c.arc(cx - 2, cy + 6, h * 0.36 - i * 3, 200, 340, col, 3)
    c.line([(cx + h * 0.05, cy + h * 0.05), (cx + h * 0.32, cy - h * 0.3)], BROWN, 4)
    c.poly([(cx - h * 0.02, cy + h * 0.02), (cx + h * 0.1, cy + h * 0.12),
            (cx - h * 0.05, cy + h * 0.25), (cx - h * 0.14, cy + h * 0.16)], PURPLE, outline=INK,
           width=1)


def picto_sample(c, l, t, h):
    """A coloured star beside the same star in outline."""
    y = t + h * 0.5
    c.poly(star_points(l + h * 0.3, y - h * 0.1, h * 0.21, h * 0.09), YELLOW, outline=INK, width=1.3)
    c.poly(star_points(l + h * 0.68, y + h * 0.12, h * 0.21, h * 0.09), WHITE, outline=INK, width=1.3)


def picto_music(c, l, t, h):
    note(c, l + h * 0.3, t + h * 0.72, h * 0.48, INK)


def picto_exit(c, l, t, h):
    """An open door with an arrow leaving through it."""
    c.rrect((l + h * 0.2, t + h * 0.18, l + h * 0.62, t + h * 0.84), 2, BROWN, outline=INK, width=1.5)
    c.poly([(l + h * 0.2, t + h * 0.18), (l + h * 0.45, t + h * 0.28), (l + h * 0.45, t + h * 0.92),
            (l + h * 0.2, t + h * 0.84)], (200, 140, 90), outline=INK, width=1.2)
    c.line([(l + h * 0.5, t + h * 0.52), (l + h * 0.74, t + h * 0.52)], WHITE, 3)
    c.poly([(l + h * 0.88, t + h * 0.52), (l + h * 0.72, t + h * 0.38), (l + h * 0.72, t + h * 0.66)],
           WHITE, outline=INK, width=0.8)


def title(c, w):
    letters = "Tintorama"
    colours = [RED, ORANGE, YELLOW, GREEN, TEAL, BLUE, PURPLE, PINK, RED]
    size = 46
    face = font(size * c.k)
    widths = [face.getlength(ch) / c.k + 3 for ch in letters]
    x = w / 2 - 10 - sum(widths) / 2
    for i, (ch, col) in enumerate(zip(letters, colours)):
        y = 48 + 5 * math.sin(i * 0.9)
        c.text((x, y), ch, size, col, anchor="ls", stroke=3, stroke_fill=INK)
        x += widths[i]


def build(path):
    w, h = SIZE
    c = Canvas(w, h, scale=2, background=SKY + (255,))
    # Sky: lighter towards the horizon.
    for i in range(12):
        y = i * 25
        tint = tuple(int(v + (255 - v) * i / 16) for v in SKY)
        c.rrect((0, y, w, y + 26), 0, tint)
    c.circle(640, 52, 30, YELLOW, outline=ORANGE, width=3)
    for k in range(12):
        a = math.radians(k * 30)
        c.line([(640 + 38 * math.cos(a), 52 + 38 * math.sin(a)),
                (640 + 48 * math.cos(a), 52 + 48 * math.sin(a))], ORANGE, 3)
    cloud(c, 40, 60, 18)
    cloud(c, 470, 95, 14)
    cloud(c, 560, 150, 12)
    # A rainbow behind the title.
    for i, col in enumerate((RED, ORANGE, YELLOW, GREEN, BLUE, PURPLE)):
        c.arc(w / 2 - 10, 190, 160 - i * 9, 200, 340, col, 9)
    title(c, w)
    # Hills.
    c.ellipse((-150, 290, 420, 620), GRASS)
    c.ellipse((300, 300, 900, 640), (100, 185, 80))
    c.rrect((0, 360, w, h), 0, GRASS)
    house(c, 560, 340)
    tree(c, 520, 345, 60, GREEN)
    tree(c, 30, 330, 70, (70, 160, 70))
    tree(c, 675, 360, 50, GREEN)
    for x, y, col in ((40, 400, RED), (95, 420, PINK), (160, 395, YELLOW), (260, 420, PURPLE),
                      (330, 405, ORANGE), (430, 425, RED), (470, 385, PINK), (620, 445, BLUE),
                      (660, 400, YELLOW)):
        flower(c, x, y, 7, col)
    # The activities, each on its own signboard exactly where its button lies.
    for name, fill, label, sub, picto in (
            ("free", ORANGE, "Tô tự do", "Free colouring", picto_free),
            ("sample", GREEN, "Tô theo mẫu", "Colour a sample", picto_sample),
            ("music", PINK, "Âm nhạc", "Music", picto_music),
            ("exit", RED, "Thoát", "Exit", picto_exit)):
        rect = button_rect(name)
        sign(c, rect, fill, label, sub)
        picto(c, rect[0] + 4, rect[1], rect[3] - rect[1])
    # The spare button has no action: a bed of flowers decorates its place.
    l, t, r, b = button_rect("spare")
    c.rrect((l + 4, t + (b - t) * 0.55, r - 4, b - 2), 8, BROWN, outline=INK, width=2)
    for i, col in enumerate((RED, YELLOW, PINK, PURPLE, ORANGE, BLUE)):
        flower(c, l + 16 + i * (r - l - 32) / 5, t + 8, 6, col)
    # The help button shows its own icon; a plain round plate lies under it.
    l, t, r, b = button_rect("help")
    c.rrect((l + 1, t + 1, r - 1, b - 1), 12, CREAM, outline=INK, width=2)
    c.text((r + 6, (t + b) / 2 - 6), "Hướng dẫn", 12, INK, anchor="lm")
    c.text((r + 6, (t + b) / 2 + 8), "Help", 11, INK, anchor="lm", bold=False)
    c.result().convert("RGB").save(path)


if __name__ == "__main__":
    build(sys.argv[1] if len(sys.argv) > 1 else "home.bmp")
