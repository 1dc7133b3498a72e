"""Line-art pictures for colouring and their coloured samples.

A picture is a function that draws a whole scene back to front on a Pen, in
a design space 150 units wide and 100 high, whatever the pixel size. Every
shape gets a fill colour from the palette's first 56 entries and a pure black
outline 3 px wide; nothing is smoothed. One drawing gives both files:

- the line art keeps the black pixels and turns everything else white;
- the sample is the line art with every white region flooded by the colour
  that covers most of it in the drawing, so a child can copy it exactly with
  the palette and one click per region.

Shapes drawn later cover earlier ones, so outlines always close; a frame
around the picture closes the regions that touch its edge. White pockets
that thick lines leave where they meet, too small for a child's click, are
inked.
"""
import math

import numpy as np
from PIL import Image, ImageDraw

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
LINE = 3            # outline width in pixels, at every size
DESIGN = (150, 100)

# The palette's initial table, entries 0 to 55: what the sample screen's
# 28 x 2 palette shows, so every sample colour is one a child can pick.
PALETTE = [
    (255, 255, 255), (224, 224, 224), (192, 192, 192), (128, 128, 128), (64, 64, 64), (0, 0, 0),
    (255, 192, 192), (255, 128, 128), (255, 0, 0), (192, 0, 0), (128, 0, 0), (64, 0, 0),
    (255, 224, 192), (255, 224, 128), (255, 192, 0), (255, 128, 0), (128, 64, 0), (128, 64, 64),
    (255, 255, 192), (255, 255, 128), (255, 255, 0), (192, 192, 0), (128, 128, 0), (64, 64, 0),
    (192, 255, 192), (128, 255, 128), (0, 255, 0), (0, 192, 0), (0, 128, 0), (0, 64, 0),
    (192, 255, 255), (128, 255, 255), (0, 255, 255), (0, 192, 192), (0, 128, 128), (0, 64, 64),
    (192, 192, 255), (128, 128, 255), (0, 0, 255), (0, 0, 192), (0, 0, 128), (0, 0, 64),
    (255, 192, 255), (255, 128, 255), (255, 0, 255), (192, 0, 192), (128, 0, 128), (64, 0, 64),
] + [WHITE] * 8

# Names for the colours the pictures use.
PAPER, SILVER, GREY, DARK_GREY = PALETTE[0], PALETTE[1], PALETTE[2], PALETTE[3]
ROSE, PINK, RED, CRIMSON, MAROON = PALETTE[6], PALETTE[7], PALETTE[8], PALETTE[9], PALETTE[10]
PEACH, SAND, GOLD, ORANGE, BROWN, CHOCOLATE = PALETTE[12:18]
CREAM, LEMON, YELLOW, OLIVE, KHAKI = PALETTE[18:23]
MINT, LIME, GREEN, LEAF, FOREST = PALETTE[24:29]
ICE, AQUA, CYAN, TEAL, DEEP_TEAL = PALETTE[30:35]
LAVENDER, PERIWINKLE, BLUE, ROYAL, NAVY = PALETTE[36:41]
LILAC, ORCHID, MAGENTA, PURPLE, PLUM = PALETTE[42:47]
SKY = ICE
GRASS = LIME


class Pen:
    """Draws filled, black-outlined shapes in design units on one image."""

    def __init__(self, img, scale, x0=0.0, y0=0.0):
        self.img = img
        self.d = ImageDraw.Draw(img)
        self.k, self.x0, self.y0 = scale, x0, y0

    def p(self, x, y):
        return (round(self.x0 + x * self.k), round(self.y0 + y * self.k))

    def box(self, x1, y1, x2, y2):
        (a, b), (c, d) = self.p(x1, y1), self.p(x2, y2)
        return [min(a, c), min(b, d), max(a, c), max(b, d)]

    @staticmethod
    def _fill(colour):
        # Black is the outlines' colour: a black region could not be told
        # from them.
        if colour not in PALETTE or colour == BLACK:
            raise ValueError(f"{colour} is not a fill colour of the palette")
        return colour

    def rect(self, x1, y1, x2, y2, c, r=0):
        if r:
            self.d.rounded_rectangle(self.box(x1, y1, x2, y2), radius=round(r * self.k),
                                     fill=self._fill(c), outline=BLACK, width=LINE)
        else:
            self.d.rectangle(self.box(x1, y1, x2, y2), fill=self._fill(c), outline=BLACK,
                             width=LINE)

    def ellipse(self, x1, y1, x2, y2, c):
        self.d.ellipse(self.box(x1, y1, x2, y2), fill=self._fill(c), outline=BLACK, width=LINE)

    def circle(self, cx, cy, r, c):
        self.ellipse(cx - r, cy - r, cx + r, cy + r, c)

    def poly(self, pts, c):
        self.d.polygon([self.p(x, y) for x, y in pts], fill=self._fill(c), outline=BLACK,
                       width=LINE)

    def chord(self, x1, y1, x2, y2, start, end, c):
        """The part of an ellipse cut off by the chord from `start` to `end`
        degrees (clockwise from three o'clock)."""
        self.d.chord(self.box(x1, y1, x2, y2), start, end, fill=self._fill(c), outline=BLACK,
                     width=LINE)

    def pie(self, x1, y1, x2, y2, start, end, c):
        self.d.pieslice(self.box(x1, y1, x2, y2), start, end, fill=self._fill(c), outline=BLACK,
                        width=LINE)

    def half(self, cx, cy, r, c):
        """An upper half disc standing on its diameter."""
        self.chord(cx - r, cy - r, cx + r, cy + r, 180, 360, c)

    def line(self, pts, width=LINE):
        pix = [self.p(x, y) for x, y in pts]
        self.d.line(pix, fill=BLACK, width=width, joint="curve")
        r = (width - 1) / 2
        if width > LINE:
            for x, y in (pix[0], pix[-1]):
                self.d.ellipse((x - r, y - r, x + r, y + r), fill=BLACK)

    def arc(self, cx, cy, r, start, end, ry=None):
        ry = r if ry is None else ry
        self.d.arc(self.box(cx - r, cy - ry, cx + r, cy + ry), start, end, fill=BLACK, width=LINE)

    def lines_in_ellipse(self, box, lines):
        """Lines clipped to the inside of an ellipse: scales, netting,
        criss-cross skins."""
        mask = Image.new("1", self.img.size, 0)
        ImageDraw.Draw(mask).ellipse(self.box(*box), fill=1)
        self._clipped(mask, lines)

    def lines_in_poly(self, pts, lines):
        """Lines clipped to the inside of a polygon: a wafer cone's grid."""
        mask = Image.new("1", self.img.size, 0)
        ImageDraw.Draw(mask).polygon([self.p(x, y) for x, y in pts], fill=1)
        self._clipped(mask, lines)

    def _clipped(self, mask, lines):
        ink = Image.new("1", self.img.size, 0)
        d = ImageDraw.Draw(ink)
        for pts in lines:
            d.line([self.p(x, y) for x, y in pts], fill=1, width=LINE)
        self.img.paste(BLACK, mask=Image.fromarray(np.array(mask) & np.array(ink)))

    def dot(self, cx, cy, r):
        """A solid black dot: eyes, noses, seeds."""
        self.d.ellipse(self.box(cx - r, cy - r, cx + r, cy + r), fill=BLACK)

    def blob(self, circles, c):
        """The union of circles (cx, cy, r) under one outline: clouds,
        bushes, tree crowns, foam."""
        for cx, cy, r in circles:
            self.circle(cx, cy, r, c)
        inset = (LINE + 0.5) / self.k
        for cx, cy, r in circles:
            self.d.ellipse(self.box(cx - r + inset, cy - r + inset, cx + r - inset, cy + r - inset),
                           fill=self._fill(c))

    def wave(self, y, amp, n, c, bottom=100, phase=0.0, x1=0, x2=150):
        """A band from a wavy top edge down to `bottom`: sea, hills, ground."""
        steps = 60
        top = [(x1 + (x2 - x1) * i / steps,
                y + amp * math.sin(phase + 2 * math.pi * n * i / steps)) for i in range(steps + 1)]
        self.poly(top + [(x2, bottom), (x1, bottom)], c)

    def star(self, cx, cy, ro, ri, c, n=5, turn=-90):
        self.poly(star(cx, cy, ro, ri, n, turn), c)

    def frame(self):
        w, h = self.img.size
        self.d.rectangle((0, 0, w - 1, h - 1), outline=BLACK, width=LINE)


def star(cx, cy, ro, ri, n=5, turn=-90):
    return [(cx + (ro if i % 2 == 0 else ri) * math.cos(math.radians(turn + i * 180 / n)),
             cy + (ro if i % 2 == 0 else ri) * math.sin(math.radians(turn + i * 180 / n)))
            for i in range(2 * n)]


def lens(cx, cy, length, width, angle):
    """A pointed petal or leaf from its base (cx, cy), `angle` degrees from
    straight up, as polygon points."""
    a = math.radians(angle)
    ux, uy = math.sin(a), -math.cos(a)          # along the petal
    vx, vy = -uy, ux                            # across it
    pts = []
    for i in range(13):
        t = i / 12
        w = width / 2 * math.sin(math.pi * t) ** 0.8
        pts.append((cx + ux * length * t + vx * w, cy + uy * length * t + vy * w))
    for i in range(11, 0, -1):
        t = i / 12
        w = width / 2 * math.sin(math.pi * t) ** 0.8
        pts.append((cx + ux * length * t - vx * w, cy + uy * length * t - vy * w))
    return pts


def crescent(cx, cy, r, start, end, thick):
    """A horn or a moon: a band along a circle from `start` to `end` degrees
    (clockwise from three o'clock), tapering to points at both ends."""
    outer, inner = [], []
    for i in range(17):
        t = i / 16
        a = math.radians(start + (end - start) * t)
        w = thick * math.sin(math.pi * t) ** 0.7
        outer.append((cx + (r + w / 2) * math.cos(a), cy + (r + w / 2) * math.sin(a)))
        inner.append((cx + (r - w / 2) * math.cos(a), cy + (r - w / 2) * math.sin(a)))
    return outer + inner[::-1][1:-1]


def sun(p, cx, cy, r, c=YELLOW, rays=GOLD, face=False):
    # At sample size the ring of rays is too thin to colour and would be
    # inked into black spikes: the sun is a plain disc there.
    if r * (1.8 - 1.3) * p.k >= 1.4 * SMALLEST:
        p.star(cx, cy, r * 1.8, r * 1.3, rays, n=10)
    p.circle(cx, cy, r, c)
    if face:
        p.dot(cx - r * 0.35, cy - r * 0.15, max(0.9, r * 0.1))
        p.dot(cx + r * 0.35, cy - r * 0.15, max(0.9, r * 0.1))
        p.arc(cx, cy + r * 0.1, r * 0.45, 30, 150)


def cloud(p, cx, cy, w, c=PAPER):
    """A cloud `w` units wide centred on (cx, cy)."""
    k = w / 30
    p.blob([(cx - 9 * k, cy + 2 * k, 6 * k), (cx, cy - 2 * k, 8 * k), (cx + 9 * k, cy + 2 * k, 6 * k),
            (cx - 3 * k, cy + 4 * k, 6 * k), (cx + 4 * k, cy + 4 * k, 6 * k)], c)


def flower(p, cx, cy, r, petals=PINK, heart=YELLOW, stem=True, n=5):
    """A little flower with its head at (cx, cy), its stem down to the ground."""
    if stem:
        p.line([(cx, cy + r), (cx, cy + r * 4)], width=LINE + 1)
    pr = r * 0.62
    for i in range(n):
        a = math.radians(-90 + i * 360 / n)
        p.circle(cx + r * 0.78 * math.cos(a), cy + r * 0.78 * math.sin(a), pr, petals)
    p.circle(cx, cy, r * 0.55, heart)


def tree(p, cx, ground, h, crown=LEAF, trunk=BROWN, fruit=None):
    """A round tree standing on `ground`, `h` units tall."""
    k = h / 40
    p.rect(cx - 3 * k, ground - 16 * k, cx + 3 * k, ground, trunk)
    p.blob([(cx - 8 * k, ground - 22 * k, 8 * k), (cx + 8 * k, ground - 22 * k, 8 * k),
            (cx, ground - 30 * k, 10 * k)], crown)
    for fx, fy in fruit or ():
        p.circle(cx + fx * k, ground - fy * k, 2.6 * k, RED)


class Picture:
    """A scene with its topic-file name, level and whether it has a sample.

    Level 1 pictures have 8 to 20 big regions (for the youngest), level 2
    pictures 20 to 60."""

    LEVELS = {1: (8, 20), 2: (20, 60)}
    WHOLE = (0, 0) + DESIGN
    # The sample pair's square: the middle of the scene, full height.
    SQUARE = (25, 0, 100, 100)

    def __init__(self, name, draw, level, sample=False, square=SQUARE):
        """`square` is the part of the design space (left, top, width,
        height) that the sample pair shows: its own composition, framed on
        the subject, so that it fills a square board."""
        self.name, self.draw, self.level, self.sample = name, draw, level, sample
        self.square = square

    def render(self, size, view=WHOLE):
        """(line art, coloured sample) of `size` pixels: the `view` part of
        the scene (left, top, width, height in design units) scaled to fill
        it; what lies outside the view is cut at the frame."""
        w, h = size
        vx, vy, vw, vh = view
        scale = min(w / vw, h / vh)
        img = Image.new("RGB", size, WHITE)
        pen = Pen(img, scale, (w - vw * scale) / 2 - vx * scale, (h - vh * scale) / 2 - vy * scale)
        self.draw(pen)
        pen.frame()
        drawing = np.array(img)
        ink = np.all(drawing == 0, axis=-1)
        art = np.where(ink[..., None], 0, 255).astype(np.uint8).repeat(3, axis=-1)
        art = np.array(close_pockets(Image.fromarray(art)))
        return Image.fromarray(art), Image.fromarray(colour_regions(art, drawing))


def colour_regions(art, drawing):
    """The line art with each white region flooded by the colour that covers
    most of it in the drawing."""
    labels, info = label_regions(Image.fromarray(art))
    index = {c: i for i, c in reversed(list(enumerate(PALETTE)))}
    flat = drawing.reshape(-1, 3).astype(np.int64)
    keys = (flat[:, 0] << 16) | (flat[:, 1] << 8) | flat[:, 2]
    lut = {(r << 16) | (g << 8) | b: i for (r, g, b), i in index.items()}
    colour_of = np.vectorize(lambda k: lut.get(k, 0), otypes=[np.int64])
    uniq, inverse = np.unique(keys, return_inverse=True)
    pal = colour_of(uniq)[inverse]
    lab = labels.reshape(-1)
    inside = lab >= 0
    pairs, counts = np.unique(lab[inside] * 64 + pal[inside], return_counts=True)
    best = {}
    for pair, count in zip(pairs, counts):
        region, colour = divmod(int(pair), 64)
        if count > best.get(region, (0, 0))[0]:
            best[region] = (count, colour)
    table = np.zeros((max(best) + 2 if best else 1, 3), np.uint8)
    for region, (_, colour) in best.items():
        table[region] = PALETTE[colour]
    out = np.zeros_like(art)
    out[inside.reshape(labels.shape)] = table[labels[labels >= 0]]
    return out


def label_regions(img):
    """Labels the white 4-connected regions of a picture by runs.

    Returns (labels, info): labels is an int array (-1 outside white), info
    maps a label to (width, height, pixels)."""
    white = np.all(np.array(img) == 255, axis=-1)
    h, w = white.shape
    parent = []

    def find(i):
        while parent[i] != i:
            parent[i] = parent[parent[i]]
            i = parent[i]
        return i

    runs = []          # (y, x0, x1, id)
    previous = []
    for y in range(h):
        row = np.concatenate(([0], white[y].astype(np.int8), [0]))
        edges = np.flatnonzero(np.diff(row))
        current = []
        j = 0
        for x0, x1 in zip(edges[::2].tolist(), edges[1::2].tolist()):
            rid = len(parent)
            parent.append(rid)
            # Runs of both rows are sorted: walk the previous row once.
            while j < len(previous) and previous[j][1] <= x0:
                j += 1
            k = j
            while k < len(previous) and previous[k][0] < x1:
                a, b = find(rid), find(previous[k][2])
                if a != b:
                    parent[max(a, b)] = min(a, b)
                k += 1
            current.append((x0, x1, rid))
            runs.append((y, x0, x1, rid))
        previous = current
    labels = np.full((h, w), -1, dtype=np.int32)
    boxes = {}
    for y, x0, x1, rid in runs:
        root = find(rid)
        labels[y, x0:x1] = root
        bx = boxes.setdefault(root, [x0, y, x1, y, 0])
        bx[0], bx[1] = min(bx[0], x0), min(bx[1], y)
        bx[2], bx[3] = max(bx[2], x1), max(bx[3], y)
        bx[4] += x1 - x0
    info = {k: (v[2] - v[0], v[3] - v[1] + 1, v[4]) for k, v in boxes.items()}
    return labels, info


def regions(img):
    """(width, height, pixels) of each white 4-connected region of a picture."""
    return list(label_regions(img)[1].values())


def hittable(labels, side):
    """The labels of the regions that hold a whole side x side square: a
    child's fingertip-sized click lands inside them."""
    h, w = labels.shape
    if h < side or w < side:
        return set()
    # Rows first: the pixels that start `side` equal labels to their right;
    # then columns of those, with equal labels below.
    wide = labels[:, :w - side + 1]
    across = wide >= 0
    for dx in range(1, side):
        across &= labels[:, dx:dx + w - side + 1] == wide
    base = wide[:h - side + 1]
    ok = across[:h - side + 1].copy()
    for dy in range(1, side):
        ok &= across[dy:dy + h - side + 1] & (wide[dy:dy + h - side + 1] == base)
    return set(np.unique(base[ok]).tolist())


SMALLEST = 10       # a region must hold a SMALLEST x SMALLEST square


def close_pockets(img, side=SMALLEST):
    """Inks the white regions too small for a child's click (pockets and
    slivers that thick lines leave where they meet): they would stay white
    after colouring."""
    labels, info = label_regions(img)
    keep = hittable(labels, side)
    a = np.array(img)
    small = (labels >= 0) & ~np.isin(labels, list(keep))
    a[small] = BLACK
    return Image.fromarray(a)
