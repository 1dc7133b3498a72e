#!/usr/bin/python3
"""Builds the dialog pictures: the colour wheel (142), the RGB cube (143), the
music list background (148) and the colour mixer's window picture (mixed.bmp).
"""
import argparse
import math
import os
import sys

import numpy as np
from PIL import Image, ImageDraw

import dialog_units as du
from style import (BLUE, CREAM, Canvas, GREEN, INK, ORANGE, PINK, PURPLE, RED, SKY, WHITE,
                   YELLOW, note, star_points)

MIXER_BACKGROUND = CREAM     # the mixer's window colour, also behind the wheel and cube


def hsb_to_rgb(h, s, v):
    """Hue in degrees, saturation and brightness 0..1, arrays allowed."""
    h = np.mod(h, 360) / 60.0
    i = np.floor(h).astype(int) % 6
    f = h - np.floor(h)
    p, q, t = v * (1 - s), v * (1 - s * f), v * (1 - s * (1 - f))
    choices = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)]
    out = np.zeros(np.shape(h) + (3,))
    for k, (r, g, b) in enumerate(choices):
        m = i == k
        out[m] = np.stack([np.broadcast_to(r, np.shape(h))[m], np.broadcast_to(g, np.shape(h))[m],
                           np.broadcast_to(b, np.shape(h))[m]], -1)
    return out


def colour_wheel():
    """202 x 201: hue by angle (red at the right, counter-clockwise), saturation
    by distance from the white centre at (100, 100), radius 100."""
    w, h = 202, 201
    y, x = np.mgrid[0:h, 0:w]
    dx, dy = x - 100.0, 100.0 - y
    dist = np.hypot(dx, dy)
    hue = np.degrees(np.arctan2(dy, dx))
    rgb = hsb_to_rgb(hue, np.clip(dist / 100.0, 0, 1), 1.0) * 255
    img = np.empty((h, w, 3), np.uint8)
    img[:] = MIXER_BACKGROUND
    inside = dist <= 100.0
    img[inside] = np.round(rgb[inside]).astype(np.uint8)
    return Image.fromarray(img)


CUBE_CENTRE = np.array([86.0, 108.0])
CUBE_AXES = {"r": np.array([86.0, 9.0]), "g": np.array([6.0, 148.0]), "b": np.array([165.0, 148.0])}


def rgb_cube():
    """174 x 190: the cube seen along its black-to-white diagonal, black corner
    in front at (86, 108); each visible face shows the colours on it."""
    w, h = 174, 190
    img = np.empty((h, w, 3), np.uint8)
    img[:] = MIXER_BACKGROUND
    vec = {k: v - CUBE_CENTRE for k, v in CUBE_AXES.items()}
    y, x = np.mgrid[0:h, 0:w]
    p = np.stack([x - CUBE_CENTRE[0], y - CUBE_CENTRE[1]], -1).astype(float)
    for a, b in (("r", "g"), ("r", "b"), ("g", "b")):
        m = np.array([vec[a], vec[b]]).T
        inv = np.linalg.inv(m)
        coef = p @ inv.T
        ok = np.all((coef >= 0) & (coef <= 1), axis=-1)
        col = np.zeros((h, w, 3))
        col[..., "rgb".index(a)] = coef[..., 0]
        col[..., "rgb".index(b)] = coef[..., 1]
        img[ok] = np.round(col[ok] * 255).astype(np.uint8)
    pic = Image.fromarray(img)
    d = ImageDraw.Draw(pic)
    for end in CUBE_AXES.values():
        d.line([tuple(CUBE_CENTRE), tuple(end)], fill=WHITE, width=1)
        direction = (end - CUBE_CENTRE) / np.linalg.norm(end - CUBE_CENTRE)
        normal = np.array([-direction[1], direction[0]])
        tip = end
        base = end - direction * 7
        d.polygon([tuple(tip), tuple(base + normal * 3.5), tuple(base - normal * 3.5)], fill=INK)
    return pic


def paint_splash(c, cx, cy, r, colour, seed):
    rng = np.random.default_rng(seed)
    pts = []
    for i in range(18):
        a = 2 * math.pi * i / 18
        rr = r * (0.8 + 0.35 * rng.random())
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    c.poly(pts, colour)
    for _ in range(4):
        a = rng.random() * 2 * math.pi
        d = r * (1.4 + 0.4 * rng.random())
        c.circle(cx + d * math.cos(a), cy + d * math.sin(a), r * 0.18, colour)


def mixer_background():
    """The colour mixer's window: plain cream where the pickers and previews lie,
    paint splashes along the edges, a title at the top."""
    w, h = du.size(396, 197)
    c = Canvas(w, h, scale=2, background=MIXER_BACKGROUND + (255,))
    c.rrect((4, 4, w - 4, h - 4), 14, None, outline=ORANGE, width=3)
    c.text((w / 2, 18), "Pha màu  ·  Mix a colour", 15, INK)
    for (x, y, r, col, seed) in ((22, 22, 10, RED, 1), (w - 24, 22, 10, BLUE, 2),
                                 (24, h - 26, 11, GREEN, 3), (w - 26, h - 24, 11, YELLOW, 4),
                                 (w / 2 - 145, h - 22, 7, PINK, 5), (w / 2 + 150, h - 22, 7, PURPLE, 6)):
        paint_splash(c, x, y, r, col, seed)
    return c.result().convert("RGB")


def music_list_background():
    """300 x 297: the music list's picture. The list box lies at template
    (7, 30, 183, 116) and the buttons at y 155, so the title goes above and the
    buttons sit on a plain band."""
    w, h = 300, 297
    c = Canvas(w, h, scale=4, background=(255, 238, 245, 255))
    # Stave lines across the top, with notes dancing on them.
    for i in range(5):
        c.line([(8, 8 + i * 6), (w - 8, 8 + i * 6)], (240, 190, 210), 1.2, round_ends=False)
    for x, y, col in ((22, 34, RED), (270, 36, GREEN)):
        note(c, x, y, 16, col)
    c.text((w / 2, 23), "Bài hát  ·  Songs", 16, INK, stroke=3, stroke_fill=(255, 238, 245))
    l, t, r, b = du.rect(7, 30, 183, 116)
    c.rrect((l - 5, t - 5, r + 5, b + 5), 8, SKY, outline=INK, width=2)
    c.rrect((l - 1, t - 1, r + 1, b + 1), 2, WHITE)
    # A soft band behind the two buttons, with stars at its ends.
    top = du.rect(56, 155, 33, 22)[1]
    c.rrect((14, top - 6, w - 14, h - 8), 16, (255, 250, 252), outline=PINK, width=2)
    for x in (40, w - 40):
        c.poly(star_points(x, (top + h - 8) / 2 - 3, 11, 5), YELLOW, outline=INK, width=1.2)
    return c.result().convert("RGB")


BITMAPS = {
    142: ("colour wheel", colour_wheel),
    143: ("RGB cube", rgb_cube),
    148: ("music list background", music_list_background),
}


def build_resources(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for number, (_, make) in BITMAPS.items():
        make().save(os.path.join(out_dir, f"bitmap{number}.bmp"))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("out_dir")
    build_resources(parser.parse_args(argv).out_dir)


if __name__ == "__main__":
    main(sys.argv[1:])
