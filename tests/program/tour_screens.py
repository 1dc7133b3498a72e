#!/usr/bin/python3
"""What the tour's screenshots show a child: range labels that can be read
(a contrast of at least 4.5 : 1, the WCAG AA level for text), every fixed
control of the colouring screens inside its drawn frame with even margins,
and sample pictures that fill their 320 x 320 boards.

    tour_screens.py PROGRAM [TOUR_DIR]

Runs PROGRAM --tour into a temporary folder (or reads TOUR_DIR) and checks
the screenshots; exits 1 with every failure named."""
import os
import subprocess
import sys
import tempfile

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                                "content"))
import dialog_units as du  # noqa: E402

LABEL_TEXT = (128, 128, 128)   # the disabled caption's grey
DARK = 110                     # an outline's pixels are darker than this

# Range labels: screenshot, template rectangle of control 1037.
LABELS = {"free-coloring": (3, 287, 64, 12), "sample-coloring": (3, 289, 64, 12),
          "browse": (357, 278, 72, 12)}

# Groups of fixed controls (client pixels, right and bottom exclusive) and
# where to look outward from each side: the row for left and right, the
# column for top and bottom, chosen clear of the controls' own plates.
FRAMES = {
    "free-coloring": {
        "thumbnail strip, label and arrows": ((11, 28, 95, 518), (250, 250, 53, 53)),
        "drawing board": ((110, 40, 710, 440), (240, 240, 410, 410)),
        # The palette with its own frame (1 pixel from it, 1 pixel wide).
        "palette and buttons": ((118, 448, 734, 530), (471, 513, 415, 600)),
        "palette": ((120, 450, 711, 493), (471, 471, 415, 415)),
    },
    "sample-coloring": {
        "thumbnail strip, label and arrows": ((11, 33, 95, 517), (250, 250, 53, 53)),
        "sample board": ((110, 60, 430, 380), (220, 220, 270, 270)),
        "picture board": ((445, 60, 765, 380), (220, 220, 605, 605)),
        "palette and buttons": ((118, 418, 771, 517), (441, 498, 400, 660)),
        "palette": ((120, 420, 753, 463), (441, 441, 400, 400)),
    },
}


def luminance(rgb):
    def channel(v):
        v /= 255
        return v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(v) for v in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


class Shot:
    """A screenshot read in the screen's client coordinates (the window's
    one-pixel border left out)."""

    def __init__(self, path):
        self.img = Image.open(path).convert("RGB")
        self.px = self.img.load()
        self.border = 1

    def at(self, x, y):
        return self.px[x + self.border, y + self.border]

    def dark(self, x, y):
        r, g, b = self.at(x, y)
        return 0.299 * r + 0.587 * g + 0.114 * b < DARK

    def gap(self, x, y, dx, dy):
        """Light pixels from (x, y) outward before the first dark one."""
        n = 0
        w, h = self.img.size
        while 0 <= x + self.border < w and 0 <= y + self.border < h and not self.dark(x, y):
            n, x, y = n + 1, x + dx, y + dy
        return n if 0 <= x + self.border < w and 0 <= y + self.border < h else None


def check_label(shot, name, template):
    l, t, r, b = du.rect(*template)
    grey = [(x, y) for y in range(t, b) for x in range(l, r) if shot.at(x, y) == LABEL_TEXT]
    if not grey:
        return [f"{name}: no label text in {(l, t, r, b)}"]
    x0, x1 = min(x for x, _ in grey), max(x for x, _ in grey)
    y0, y1 = min(y for _, y in grey), max(y for _, y in grey)
    counts = {}
    for y in range(y0 - 1, y1 + 2):
        for x in range(x0 - 2, x1 + 3):
            counts[shot.at(x, y)] = counts.get(shot.at(x, y), 0) + 1
    for text in (LABEL_TEXT, (255, 255, 255)):
        counts.pop(text, None)
    behind = max(counts, key=counts.get)
    ratio = contrast(LABEL_TEXT, behind)
    print(f"{name}: label on {behind}, contrast {ratio:.2f} : 1")
    return [] if ratio >= 4.5 else [f"{name}: label contrast {ratio:.2f} : 1 on {behind}"]


def margins(shot, rect, lines):
    l, t, r, b = rect
    row_l, row_r, col_t, col_b = lines
    return (shot.gap(l - 1, row_l, -1, 0), shot.gap(r, row_r, 1, 0), shot.gap(col_t, t - 1, 0, -1),
            shot.gap(col_b, b, 0, 1))


def check_frames(shot, name, groups):
    failures, found = [], {}
    for what, (rect, lines) in groups.items():
        m = margins(shot, rect, lines)
        found[what] = m
        print(f"{name}: {what} margins left, right, top, bottom {m}")
        if None in m or min(m) < 1 or max(m) != min(m):
            failures.append(f"{name}: {what} not evenly inside its frame: {m}")
    return failures, found


def check_samples(shot):
    failures = []
    for l, t, r, b in ((110, 60, 430, 380), (445, 60, 765, 380)):
        # The pictures' own black frame bounds them; the board around is
        # white but for a faint edge where the frame's ring is smoothed.
        drawn = [(x, y) for y in range(t, b) for x in range(l, r) if min(shot.at(x, y)) < 200]
        w = max(x for x, _ in drawn) - min(x for x, _ in drawn) + 1 if drawn else 0
        h = max(y for _, y in drawn) - min(y for _, y in drawn) + 1 if drawn else 0
        print(f"sample-coloring: picture of {w} x {h} in the board at {(l, t)}")
        if not (300 <= w <= 320 and 300 <= h <= 320):
            failures.append(f"sample-coloring: the picture at {(l, t)} is {w} x {h}")
    return failures


def main(argv):
    program = argv[1]
    with tempfile.TemporaryDirectory() as scratch:
        tour = argv[2] if len(argv) > 2 else os.path.join(scratch, "tour")
        if len(argv) <= 2:
            env = dict(os.environ, TINTO_AUDIO="null")
            subprocess.run([program, "--tour", tour], env=env, check=True, timeout=300,
                           stdout=subprocess.DEVNULL)
        shots = {name: Shot(os.path.join(tour, name + ".bmp"))
                 for name in ("free-coloring", "sample-coloring", "browse")}
        failures = []
        for name, template in LABELS.items():
            failures += check_label(shots[name], name, template)
        strips = {}
        for name, groups in FRAMES.items():
            more, found = check_frames(shots[name], name, groups)
            failures += more
            strips[name] = found["thumbnail strip, label and arrows"][3]
        if strips["sample-coloring"] != strips["free-coloring"]:
            failures.append(f"the page arrows' margins under them differ: {strips}")
        failures += check_samples(shots["sample-coloring"])
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
