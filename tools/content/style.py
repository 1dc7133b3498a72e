"""The one palette and drawing helpers that every picture of the program shares."""
import math

from PIL import Image, ImageDraw, ImageFont

INK = (43, 45, 66)          # outlines
WHITE = (255, 255, 255)
RED = (232, 74, 95)
ORANGE = (255, 154, 60)
YELLOW = (255, 210, 63)
GREEN = (59, 178, 115)
TEAL = (38, 166, 154)
BLUE = (61, 139, 217)
SKY = (150, 210, 245)
PURPLE = (142, 92, 196)
PINK = (245, 130, 180)
BROWN = (150, 96, 60)
GREY = (160, 164, 176)
CREAM = (255, 246, 220)
GRASS = (120, 200, 90)

BOLD_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
REGULAR_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def font(size, bold=True):
    return ImageFont.truetype(BOLD_FONT if bold else REGULAR_FONT, size)


class Canvas:
    """An oversampled RGBA drawing that is shrunk at the end, for smooth edges.

    Coordinates are given in final pixels; `s` scales them to the oversampled
    image.
    """

    def __init__(self, w, h, scale=8, background=(0, 0, 0, 0)):
        self.w, self.h, self.k = w, h, scale
        self.img = Image.new("RGBA", (w * scale, h * scale), background)
        self.d = ImageDraw.Draw(self.img)

    def s(self, *v):
        return [x * self.k for x in v]

    def pts(self, points):
        return [(x * self.k, y * self.k) for x, y in points]

    def circle(self, cx, cy, r, fill, outline=None, width=0):
        self.d.ellipse(self.s(cx - r, cy - r, cx + r, cy + r), fill=fill,
                       outline=outline, width=int(width * self.k))

    def ellipse(self, box, fill, outline=None, width=0):
        self.d.ellipse(self.s(*box), fill=fill, outline=outline, width=int(width * self.k))

    def rrect(self, box, radius, fill, outline=None, width=0):
        self.d.rounded_rectangle(self.s(*box), radius=radius * self.k, fill=fill,
                                 outline=outline, width=int(width * self.k))

    def poly(self, points, fill, outline=None, width=0):
        self.d.polygon(self.pts(points), fill=fill)
        if outline:
            self.line(points + [points[0]], outline, width)

    def line(self, points, fill, width, round_ends=True):
        pts = self.pts(points)
        self.d.line(pts, fill=fill, width=int(width * self.k), joint="curve")
        if round_ends:
            r = width * self.k / 2
            for x, y in (pts[0], pts[-1]):
                self.d.ellipse((x - r, y - r, x + r, y + r), fill=fill)

    def arc(self, cx, cy, r, start, end, fill, width):
        self.d.arc(self.s(cx - r, cy - r, cx + r, cy + r), start, end, fill=fill,
                   width=int(width * self.k))

    def text(self, xy, text, size, fill, anchor="mm", bold=True, stroke=0, stroke_fill=None):
        self.d.text(self.s(*xy), text, font=font(int(size * self.k), bold), fill=fill,
                    anchor=anchor, stroke_width=int(stroke * self.k), stroke_fill=stroke_fill)

    def result(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


def star_points(cx, cy, r_out, r_in, n=5, rotation=-90):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(rotation + i * 180 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def note(c, x, y, size, fill):
    """A beamed pair of quavers with its lower-left note head at (x, y)."""
    r = size * 0.22
    c.ellipse((x - r * 1.2, y - r, x + r * 1.2, y + r), fill)
    c.ellipse((x + size * 0.7 - r * 1.2, y - r * 0.6 - size * 0.12, x + size * 0.7 + r * 1.2,
               y + r * 1.4 - size * 0.12 - r * 0.4), fill)
    sw = size * 0.12
    c.line([(x + r * 1.0, y), (x + r * 1.0, y - size * 0.9)], fill, sw, round_ends=False)
    c.line([(x + size * 0.7 + r, y - size * 0.12), (x + size * 0.7 + r, y - size * 1.02)], fill,
           sw, round_ends=False)
    c.poly([(x + r * 1.0 - sw / 2, y - size * 0.9), (x + size * 0.7 + r + sw / 2, y - size * 1.02),
            (x + size * 0.7 + r + sw / 2, y - size * 0.8), (x + r * 1.0 - sw / 2, y - size * 0.68)], fill)
