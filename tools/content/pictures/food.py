"""Food and fruit: what a child eats and likes to look at on the table."""
from lineart import *  # noqa: F401,F403

TOPIC = "Đồ ăn và hoa quả"


def table(p, y=70, wall=CREAM, top=ORANGE, cloth=None):
    p.rect(0, 0, 150, 100, wall)
    p.rect(0, y, 150, 100, top)
    if cloth:
        for x in range(0, 150, 30):
            p.rect(x, y, x + 15, y + 15, cloth)
            p.rect(x + 15, y + 15, x + 30, 100, cloth)


def apple(p, cx, cy, r, c=RED):
    p.line([(cx, cy - r * 0.8), (cx + r * 0.2, cy - r * 1.3)], width=LINE + 1)
    p.ellipse(cx + r * 0.2, cy - r * 1.45, cx + r * 0.9, cy - r * 1.05, LEAF)
    p.circle(cx, cy, r, c)


def fruit_bowl(p):
    table(p)
    p.rect(100, 8, 140, 40, SKY)                        # window
    p.line([(120, 8), (120, 40)])
    p.circle(70, 44, 16, ORANGE)                        # an orange
    apple(p, 100, 52, 15, RED)
    apple(p, 42, 52, 14, LEAF)
    for x in (60, 72, 84):                               # grapes
        p.circle(x, 62, 6, PURPLE)
    p.chord(16, 40, 134, 96, 0, 180, AQUA)              # bowl
    p.rect(58, 88, 92, 96, AQUA)


def watermelon(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 22, 18, 10, face=True)
    p.rect(0, 62, 150, 100, GRASS)
    p.pie(18, 14, 132, 124, 180, 360, LEAF)             # rind
    p.pie(26, 22, 124, 116, 180, 360, MINT)
    p.pie(32, 28, 118, 110, 180, 360, RED)
    for x, y in ((52, 50), (66, 40), (84, 40), (98, 50), (75, 58), (60, 60), (90, 60)):
        p.ellipse(x - 2, y - 3.5, x + 2, y + 3.5, CHOCOLATE)
    p.rect(16, 69, 134, 76, BROWN)                      # a little plate rim
    apple(p, 136, 88, 7, RED)
    apple(p, 14, 88, 7, ORANGE)


def cake(p):
    table(p, y=76, wall=LILAC, top=PEACH)
    for x, y in ((12, 14), (138, 18), (16, 56), (134, 56)):   # bunting dots
        p.circle(x, y, 5, YELLOW)
    p.ellipse(20, 72, 130, 92, PAPER)                   # plate
    p.rect(32, 52, 118, 82, ROSE)                       # lower layer
    p.rect(44, 30, 106, 54, CREAM)                      # upper layer
    p.poly([(44, 30), (106, 30), (106, 38), (98, 42), (90, 38), (82, 42), (74, 38), (66, 42), (58, 38),
            (50, 42), (44, 38)], PINK)                  # icing
    p.poly([(32, 52), (118, 52), (118, 60), (108, 64), (98, 60), (88, 64), (78, 60), (68, 64),
            (58, 60), (48, 64), (38, 60), (32, 60)], PAPER)
    for x in (56, 75, 94):                               # candles
        p.rect(x - 2.5, 14, x + 2.5, 30, AQUA)
        p.ellipse(x - 3, 3, x + 3, 13, GOLD)
    for x in (46, 64, 86, 104):
        p.circle(x, 72, 3.5, RED)


def ice_cream(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 128, 18, 10)
    p.rect(0, 74, 150, 100, SAND)
    cone = [(50, 50), (100, 50), (75, 98)]
    p.poly(cone, GOLD)
    p.lines_in_poly(cone, [[(50 + i * 14, 40), (100 + i * 14, 100)] for i in range(-3, 2)]
                    + [[(100 - i * 14, 40), (50 - i * 14, 100)] for i in range(-3, 2)])
    p.circle(75, 38, 20, PINK)                          # scoops
    p.circle(60, 52, 14, LIME)
    p.circle(90, 52, 14, LEMON)
    p.circle(75, 14, 7, RED)                            # cherry
    p.line([(75, 7), (80, 1)])
    for x, c in ((22, AQUA), (128, ORCHID)):            # wrapped sweets
        p.poly([(x - 8, 68), (x - 18, 60), (x - 18, 76)], c)
        p.poly([(x + 8, 68), (x + 18, 60), (x + 18, 76)], c)
        p.ellipse(x - 10, 61, x + 10, 75, YELLOW)


def breakfast(p):
    table(p, y=40, wall=SKY, top=MINT)
    for x in range(0, 150, 25):
        p.line([(x, 40), (x + 10, 100)])
    p.circle(62, 70, 26, PAPER)                         # plate
    p.blob([(54, 66, 12), (66, 74, 10), (64, 62, 10)], PAPER)   # egg white
    p.circle(60, 68, 7, YELLOW)
    p.rect(96, 54, 124, 86, ICE)                        # glass of milk
    p.rect(98, 64, 122, 84, PAPER)
    p.rect(126, 58, 146, 82, SAND, r=4)                 # toast
    p.rect(130, 62, 142, 78, CREAM, r=2)
    p.rect(17, 66, 23, 92, SILVER)                      # spoon
    p.ellipse(12, 48, 28, 68, SILVER)
    p.rect(8, 4, 50, 36, PAPER)                         # window with the morning sun
    p.rect(13, 9, 45, 31, SKY)
    p.circle(28, 22, 6, YELLOW)
    p.circle(128, 22, 12, PAPER)                        # clock
    p.line([(128, 22), (128, 14)])
    p.line([(128, 22), (134, 22)])


def pineapple(p):
    table(p, y=76, wall=LEMON, top=BROWN)
    p.poly([(60, 30), (56, 6), (68, 24), (75, 2), (82, 24), (94, 6), (90, 30)], LEAF)   # crown
    p.ellipse(46, 26, 104, 92, GOLD)
    lines = []
    for i in range(-3, 4):                               # criss-cross
        lines += [[(60 + i * 14, 20), (90 + i * 14, 100)], [(90 - i * 14, 20), (60 - i * 14, 100)]]
    p.lines_in_ellipse((46, 26, 104, 92), lines)
    p.circle(22, 68, 14, ORANGE)                        # oranges beside it
    p.circle(128, 68, 14, ORANGE)
    p.ellipse(22, 52, 30, 58, LEAF)
    p.ellipse(128, 52, 136, 58, LEAF)


def strawberry(p, x, y, k=1.0):
    p.poly([(x - 10 * k, y - 5 * k), (x - 6 * k, y - 9 * k), (x + 6 * k, y - 9 * k), (x + 10 * k, y - 5 * k),
            (x + 9 * k, y + 3 * k), (x + 4 * k, y + 10 * k), (x, y + 13 * k), (x - 4 * k, y + 10 * k),
            (x - 9 * k, y + 3 * k)], RED)
    p.star(x, y - 9 * k, 7 * k, 3 * k, LEAF, n=5, turn=90)
    for dx, dy in ((-4, -1), (4, -1), (0, 4), (-3, 7), (3, 7)):
        p.dot(x + dx * k, y + dy * k, 0.7)


def strawberries(p):
    p.rect(0, 0, 150, 100, ROSE)
    p.rect(0, 70, 150, 100, PAPER)
    for x in range(0, 150, 20):                          # gingham
        p.rect(x, 70, x + 10, 100, PINK)
    p.ellipse(30, 6, 120, 100, BROWN)                   # handle loop
    p.ellipse(38, 14, 112, 92, ROSE)
    p.rect(30, 56, 120, 92, SAND, r=4)                  # basket
    p.line([(30, 68), (120, 68)])
    p.line([(30, 80), (120, 80)])
    for x, y in ((46, 46), (66, 42), (86, 42), (104, 46)):
        strawberry(p, x, y)
    strawberry(p, 16, 86, 0.9)                          # two on the cloth
    strawberry(p, 136, 86, 0.9)


def pizza(p):
    table(p, y=0, wall=SAND, top=SAND)
    for x in range(0, 150, 30):
        for y in range(0, 100, 20):
            if (x // 30 + y // 20) % 2:
                p.rect(x, y, x + 30, y + 20, RED)
    p.circle(75, 50, 46, SILVER)                        # tray
    p.circle(75, 50, 40, GOLD)                          # crust
    p.circle(75, 50, 34, ORANGE)                        # sauce and cheese
    for a in range(0, 360, 60):
        r = math.radians(a)
        p.line([(75, 50), (75 + 34 * math.cos(r), 50 + 34 * math.sin(r))])
    for x, y in ((60, 34), (92, 34), (52, 56), (98, 58), (75, 72), (75, 28)):
        p.circle(x, y, 5, CRIMSON)


PICTURES = [
    Picture("fruitbowl", fruit_bowl, 1, sample=True),
    Picture("watermelon", watermelon, 1, sample=True),
    Picture("cake", cake, 2, sample=True),
    Picture("icecream", ice_cream, 2, sample=True),
    Picture("breakfast", breakfast, 2),
    Picture("pineapple", pineapple, 2),
    Picture("strawberries", strawberries, 2),
    Picture("pizza", pizza, 2),
]
