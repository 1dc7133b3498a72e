"""Line-art pictures for colouring: pure black outlines about 3 px wide on
pure white, no smoothing, so that every closed region fills cleanly.

Each subject draws itself back to front in a 100 x 100 design space: every
shape is filled white and outlined black, so a later shape covers what lies
behind it and the outlines always close. A subject returns the seed points
and colours that its coloured sample uses.
"""
import math

from PIL import Image, ImageDraw

from style import (BLUE, BROWN, GREEN, GREY, ORANGE, PINK, PURPLE, RED, SKY, TEAL, YELLOW)

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
LINE = 3


class Pen:
    """Maps design coordinates to pixels and draws outlined white shapes."""

    def __init__(self, img, x0, y0, scale):
        self.d = ImageDraw.Draw(img)
        self.x0, self.y0, self.k = x0, y0, scale

    def p(self, x, y):
        return (round(self.x0 + x * self.k), round(self.y0 + y * self.k))

    def box(self, x1, y1, x2, y2):
        return [*self.p(x1, y1), *self.p(x2, y2)]

    def ellipse(self, x1, y1, x2, y2, fill=WHITE):
        self.d.ellipse(self.box(x1, y1, x2, y2), fill=fill, outline=BLACK, width=LINE)

    def circle(self, cx, cy, r, fill=WHITE):
        self.ellipse(cx - r, cy - r, cx + r, cy + r, fill)

    def rect(self, x1, y1, x2, y2, fill=WHITE, radius=0):
        if radius:
            self.d.rounded_rectangle(self.box(x1, y1, x2, y2), radius=round(radius * self.k),
                                     fill=fill, outline=BLACK, width=LINE)
        else:
            self.d.rectangle(self.box(x1, y1, x2, y2), fill=fill, outline=BLACK, width=LINE)

    def poly(self, pts, fill=WHITE):
        pix = [self.p(x, y) for x, y in pts]
        self.d.polygon(pix, fill=fill, outline=BLACK, width=LINE)

    def line(self, pts, width=LINE):
        self.d.line([self.p(x, y) for x, y in pts], fill=BLACK, width=width, joint="curve")

    def dot(self, cx, cy, r):
        self.d.ellipse(self.box(cx - r, cy - r, cx + r, cy + r), fill=BLACK)


def star(cx, cy, ro, ri, n=5):
    return [(cx + (ro if i % 2 == 0 else ri) * math.cos(math.radians(-90 + i * 180 / n)),
             cy + (ro if i % 2 == 0 else ri) * math.sin(math.radians(-90 + i * 180 / n)))
            for i in range(2 * n)]


# Each subject: draw(pen) -> [(x, y, colour)] seeds in design coordinates.

def cat(p):
    p.ellipse(60, 62, 96, 72)                           # tail
    p.ellipse(28, 50, 78, 92)                           # body
    p.ellipse(34, 82, 48, 96)                           # paws
    p.ellipse(58, 82, 72, 96)
    p.poly([(14, 22), (18, 4), (32, 14)])               # ears
    p.poly([(42, 14), (56, 4), (60, 22)])
    p.circle(37, 32, 24)                                # head
    p.ellipse(24, 24, 34, 36)                           # eyes
    p.ellipse(40, 24, 50, 36)
    p.dot(29, 31, 2.2)
    p.dot(45, 31, 2.2)
    p.poly([(34, 40), (40, 40), (37, 44)], fill=BLACK)
    p.line([(37, 44), (37, 47), (32, 49)])
    p.line([(37, 47), (42, 49)])
    return [(50, 70, ORANGE), (80, 67, ORANGE), (37, 20, ORANGE), (18, 10, PINK), (56, 11, PINK),
            (41, 89, YELLOW), (65, 89, YELLOW), (27, 27, SKY), (47, 27, SKY)]


def fish(p):
    p.poly([(74, 50), (98, 28), (98, 72)])              # tail
    p.poly([(38, 26), (52, 8), (62, 28)])               # fin
    p.ellipse(6, 22, 84, 78)                            # body
    p.line([(40, 23), (36, 50), (40, 77)])              # stripes
    p.line([(56, 24), (52, 50), (56, 76)])
    p.circle(22, 44, 7)
    p.dot(23, 44, 3)
    p.line([(8, 56), (14, 58)])
    p.circle(10, 14, 4)                                 # bubbles
    p.circle(20, 6, 3)
    return [(25, 60, ORANGE), (46, 50, YELLOW), (66, 50, ORANGE), (88, 50, RED), (50, 20, RED),
            (19, 41, WHITE), (10, 14, SKY), (20, 6, SKY)]


def butterfly(p):
    p.ellipse(6, 10, 48, 52)                            # upper wings
    p.ellipse(52, 10, 94, 52)
    p.ellipse(14, 48, 48, 86)                           # lower wings
    p.ellipse(52, 48, 86, 86)
    p.circle(26, 30, 9)                                 # spots
    p.circle(74, 30, 9)
    p.circle(30, 67, 7)
    p.circle(70, 67, 7)
    p.line([(50, 18), (38, 2)])                         # antennae, under the head
    p.line([(50, 18), (62, 2)])
    p.ellipse(44, 22, 56, 88)                           # body
    p.circle(50, 18, 7)
    return [(14, 30, PURPLE), (86, 30, PURPLE), (22, 78, PINK), (78, 78, PINK), (26, 30, YELLOW),
            (74, 30, YELLOW), (30, 67, SKY), (70, 67, SKY), (50, 60, BROWN), (50, 18, BROWN)]


def snail(p):
    p.poly([(4, 88), (10, 70), (80, 70), (96, 88)])     # body
    p.line([(14, 72), (8, 52)])
    p.line([(20, 72), (20, 52)])
    p.circle(8, 50, 3)
    p.circle(20, 50, 3)
    p.circle(56, 46, 30)                                # shell
    p.circle(56, 46, 25)
    p.circle(56, 46, 19)
    p.circle(56, 46, 9)
    return [(40, 80, GREEN), (56, 18, ORANGE), (56, 24, RED), (56, 33, YELLOW), (56, 46, RED), (8, 50, GREEN),
            (20, 50, GREEN)]


def duck(p):
    p.rect(0, 78, 100, 100)                             # water
    p.line([(0, 88), (100, 88)])
    p.ellipse(18, 44, 90, 86)                           # body
    p.ellipse(36, 54, 74, 74)                           # wing
    p.poly([(6, 30), (20, 24), (20, 36)])               # beak
    p.circle(32, 30, 15)                                # head
    p.dot(30, 26, 2.5)
    p.circle(86, 14, 9)                                 # sun
    return [(86, 14, YELLOW), (60, 80, YELLOW), (55, 64, ORANGE), (32, 36, YELLOW), (12, 30, ORANGE),
            (50, 95, BLUE), (10, 84, SKY)]


def turtle(p):
    p.ellipse(4, 46, 26, 64)                            # head
    p.ellipse(20, 62, 36, 82)                           # legs
    p.ellipse(66, 62, 82, 82)
    p.poly([(86, 60), (98, 64), (86, 68)])              # tail
    p.d.chord(p.box(16, 24, 90, 96), 180, 360, fill=WHITE, outline=BLACK, width=LINE)
    p.line([(16, 60), (90, 60)])
    p.poly([(42, 34), (64, 34), (70, 47), (64, 60), (42, 60), (36, 47)])
    p.line([(42, 34), (34, 28)])
    p.line([(64, 34), (72, 28)])
    p.line([(36, 47), (18, 52)])
    p.line([(70, 47), (88, 52)])
    p.dot(11, 53, 1.8)
    return [(53, 47, YELLOW), (26, 50, GREEN), (80, 50, GREEN), (53, 28, GREEN), (12, 58, TEAL),
            (30, 56, GREEN), (78, 56, GREEN), (33, 38, GREEN), (73, 38, GREEN),
            (28, 75, TEAL), (74, 75, TEAL)]


def car(p):
    p.poly([(24, 40), (34, 20), (66, 20), (78, 40)])    # cabin
    p.poly([(30, 38), (38, 24), (49, 24), (49, 38)])    # windows
    p.poly([(53, 38), (53, 24), (64, 24), (72, 38)])
    p.rect(4, 38, 96, 70, radius=6)                     # body
    p.line([(50, 40), (50, 68)])
    p.rect(86, 44, 94, 54)                              # headlight
    p.circle(26, 70, 13)                                # wheels
    p.circle(74, 70, 13)
    p.circle(26, 70, 5)
    p.circle(74, 70, 5)
    return [(20, 55, RED), (70, 55, RED), (40, 32, SKY), (60, 32, SKY), (50, 22, RED),
            (90, 49, YELLOW), (26, 61, GREY), (74, 61, GREY)]


def rocket(p):
    p.poly([(40, 84), (50, 100), (60, 84)])             # flame
    p.poly([(30, 60), (16, 86), (36, 80)])              # fins
    p.poly([(70, 60), (84, 86), (64, 80)])
    p.rect(32, 22, 68, 84)                              # body
    p.poly([(32, 22), (50, 2), (68, 22)])
    p.circle(50, 44, 10)
    p.line([(32, 66), (68, 66)])
    return [(50, 14, RED), (40, 30, WHITE), (50, 75, RED), (26, 76, BLUE), (74, 76, BLUE),
            (50, 44, SKY), (50, 92, ORANGE)]


def boat(p):
    p.poly([(52, 10), (52, 62), (88, 62)])              # sails
    p.poly([(48, 16), (48, 62), (18, 62)])
    p.poly([(6, 64), (94, 64), (80, 82), (20, 82)])     # hull
    p.line([(10, 72), (90, 72)])
    p.rect(0, 86, 100, 100)                             # sea
    p.circle(14, 14, 9)                                 # sun
    p.poly([(52, 10), (52, 2), (64, 6)])                # flag
    p.ellipse(66, 8, 94, 22)                            # cloud
    return [(56, 6, GREEN), (80, 15, SKY), (64, 50, RED), (38, 52, YELLOW), (50, 68, BROWN), (50, 78, ORANGE), (50, 94, BLUE),
            (14, 14, YELLOW)]


def train(p):
    p.rect(60, 12, 74, 30)                              # chimney
    p.rect(6, 20, 36, 60)                               # cab
    p.rect(12, 26, 30, 42)                              # cab window
    p.rect(36, 30, 90, 60)                              # boiler
    p.poly([(90, 44), (98, 60), (90, 60)])
    p.rect(2, 60, 96, 70)
    for x in (18, 50, 78):
        p.circle(x, 76, 10)
        p.circle(x, 76, 3.5)
    return [(20, 52, RED), (21, 34, SKY), (62, 45, BLUE), (67, 20, GREY), (50, 65, YELLOW),
            (18, 68, GREY), (50, 69, GREY), (78, 69, GREY)]


def house(p):
    p.rect(64, 8, 76, 34)                               # chimney
    p.rect(14, 44, 86, 96)                              # walls
    p.poly([(6, 46), (50, 12), (94, 46)])               # roof
    p.rect(42, 64, 60, 96)                              # door
    p.dot(55, 81, 1.5)
    p.rect(20, 54, 36, 70)                              # windows
    p.line([(28, 54), (28, 70)])
    p.line([(20, 62), (36, 62)])
    p.rect(66, 54, 82, 70)
    p.line([(74, 54), (74, 70)])
    p.line([(66, 62), (82, 62)])
    p.circle(50, 32, 6)
    return [(30, 85, YELLOW), (22, 42, RED), (51, 80, BROWN), (24, 58, SKY), (32, 66, SKY),
            (70, 58, SKY), (78, 66, SKY), (70, 14, BROWN), (50, 32, SKY), (32, 58, SKY),
            (24, 66, SKY), (78, 58, SKY), (70, 66, SKY)]


def balloons(p):
    p.line([(26, 44), (46, 96)])
    p.line([(52, 38), (48, 96)])
    p.line([(76, 46), (50, 96)])
    p.ellipse(10, 8, 42, 46)
    p.ellipse(60, 12, 92, 50)
    p.ellipse(34, 0, 70, 40)
    p.poly([(38, 86), (58, 86), (54, 98), (42, 98)])
    p.poly(star(84, 76, 10, 4.5))
    p.poly(star(14, 70, 8, 3.6))
    return [(84, 76, YELLOW), (14, 70, ORANGE), (26, 26, RED), (76, 30, BLUE), (52, 18, YELLOW), (48, 92, PINK)]


def ice_cream(p):
    p.poly([(28, 54), (72, 54), (50, 98)])              # cone
    p.line([(38, 56), (58, 86)])
    p.line([(62, 56), (42, 86)])
    p.circle(50, 14, 6)                                 # cherry
    p.circle(50, 38, 18)                                # scoop
    p.ellipse(26, 46, 74, 62)                           # melting rim
    return [(50, 30, PINK), (50, 54, YELLOW), (50, 14, RED), (50, 66, ORANGE), (40, 70, ORANGE),
            (60, 70, ORANGE), (50, 88, ORANGE)]


def flower(p):
    p.rect(30, 78, 70, 98)                              # pot
    p.rect(26, 72, 74, 80)
    p.line([(50, 44), (50, 72)], width=LINE + 2)
    p.ellipse(24, 54, 48, 66)                           # leaves
    p.ellipse(52, 54, 76, 66)
    for k in range(6):
        a = math.radians(k * 60)
        p.circle(50 + 18 * math.cos(a), 30 + 18 * math.sin(a), 11)
    p.circle(50, 30, 11)
    return [(50, 30, YELLOW), (68, 30, PINK), (32, 30, PINK), (59, 45, RED), (41, 15, RED),
            (59, 15, PURPLE), (41, 45, PURPLE), (36, 60, GREEN), (64, 60, GREEN),
            (50, 90, BROWN), (50, 76, ORANGE)]


def tree(p):
    p.rect(42, 58, 58, 98)                              # trunk
    p.circle(50, 36, 30)                                # crown
    p.circle(24, 48, 14)
    p.circle(76, 48, 14)
    for x, y in ((40, 26), (62, 32), (48, 48), (22, 48), (78, 48)):
        p.circle(x, y, 5)
    return [(50, 80, BROWN), (50, 14, GREEN), (20, 40, GREEN), (82, 40, GREEN), (40, 26, RED),
            (62, 32, RED), (48, 48, RED), (22, 48, RED), (78, 48, RED)]


def sun_and_cloud(p):
    p.poly(star(40, 40, 38, 26, 10))                    # rays
    p.circle(40, 40, 22)
    p.ellipse(30, 34, 36, 40)
    p.ellipse(44, 34, 50, 40)
    p.line([(32, 48), (40, 53), (48, 48)])
    p.ellipse(48, 66, 98, 94)                           # cloud
    p.circle(62, 66, 12)
    p.circle(80, 64, 14)
    p.ellipse(48, 72, 98, 94)
    return [(40, 30, YELLOW), (40, 5, ORANGE), (75, 80, SKY), (80, 56, SKY), (62, 60, SKY)]


TOPICS = ["Con vật", "Xe cộ", "Nhà và đồ vật", "Cây và hoa"]

SUBJECTS = [  # name, topic number, draw
    ("cat", 1, cat), ("fish", 1, fish), ("butterfly", 1, butterfly), ("snail", 1, snail),
    ("duck", 1, duck), ("turtle", 1, turtle),
    ("car", 2, car), ("rocket", 2, rocket), ("boat", 2, boat), ("train", 2, train),
    ("house", 3, house), ("balloons", 3, balloons), ("icecream", 3, ice_cream),
    ("flower", 4, flower), ("tree", 4, tree), ("sun", 4, sun_and_cloud),
]


def draw(subject, size, margin):
    """The subject centred on a white picture of `size` (w, h)."""
    w, h = size
    img = Image.new("RGB", size, WHITE)
    side = min(w, h) - 2 * margin
    pen = Pen(img, (w - side) / 2, (h - side) / 2, side / 100)
    seeds = subject(pen)
    pix_seeds = [(pen.p(x, y), colour) for x, y, colour in seeds]
    return close_pockets(img), pix_seeds


def colour_in(img, seeds):
    """The coloured sample: each seed's region flooded with its colour."""
    out = img.copy()
    for (x, y), colour in seeds:
        if out.getpixel((x, y)) == WHITE:
            ImageDraw.floodfill(out, (x, y), colour, thresh=0)
    return out


def label_regions(img):
    """Labels the white 4-connected regions of a picture by runs.

    Returns (labels, info): labels is an int array (-1 outside white), info
    maps a label to (width, height, pixels)."""
    import numpy as np
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
        for x0, x1 in zip(edges[::2], edges[1::2]):
            rid = len(parent)
            parent.append(rid)
            for (px0, px1, pid) in previous:
                if px0 < x1 and x0 < px1:
                    a, b = find(rid), find(pid)
                    if a != b:
                        parent[max(a, b)] = min(a, b)
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


def close_pockets(img, smallest=40, narrowest=8):
    """Inks the tiny white pockets and slivers that thick lines leave where
    they meet: no child could hit them, and they would stay white after
    colouring."""
    import numpy as np
    labels, info = label_regions(img)
    a = np.array(img)
    for label, (w, h, pixels) in info.items():
        if pixels < smallest or min(w, h) < narrowest:
            a[labels == label] = BLACK
    return Image.fromarray(a)
