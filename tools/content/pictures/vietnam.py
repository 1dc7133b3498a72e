"""Vietnam: the Mid-Autumn festival, Tết, the countryside and the river."""
import math

from lineart import *  # noqa: F401,F403

TOPIC = "Việt Nam"


def non_la(p, cx, top, half_width, height, c=SAND):
    """The conical palm-leaf hat, its tip at (cx, top)."""
    base = top + height
    p.poly([(cx - half_width, base), (cx, top), (cx + half_width, base)], c)
    p.line([(cx - half_width * 0.5, top + height * 0.5), (cx + half_width * 0.5, top + height * 0.5)])


def star_lantern(p):
    p.rect(0, 0, 150, 100, NAVY)
    p.circle(126, 22, 14, LEMON)                        # the full moon of Trung Thu
    for x, y in ((20, 16), (56, 10), (96, 30), (140, 56), (14, 60)):
        p.star(x, y, 6, 2.6, YELLOW)
    p.line([(75, 98), (75, 80)], width=LINE + 2)        # the stick
    p.line([(75, 80), (75, 48)])
    p.star(75, 46, 36, 15, RED)                         # five-pointed star lantern
    p.star(75, 46, 20, 8.5, YELLOW)
    p.circle(75, 48, 6, ORANGE)
    for a in (54, 126):                                  # tassels
        x = 75 + 36 * math.cos(math.radians(a)) * 0.9
        p.poly([(x - 3, 74), (x + 3, 74), (x + 5, 90), (x - 5, 90)], GOLD)
    p.wave(90, 1.5, 1, FOREST)
    for x in (2, 112):                                   # the village's roofs
        p.rect(x + 4, 70, x + 34, 92, SAND)
        p.poly([(x, 72), (x + 19, 58), (x + 38, 72)], MAROON)
        p.rect(x + 14, 76, x + 24, 84, YELLOW)


def carp_lantern(p):
    p.rect(0, 0, 150, 100, PLUM)
    p.circle(24, 20, 12, LEMON)
    p.line([(0, 6), (150, 14)])                         # the string it hangs from
    p.line([(80, 10), (80, 24)])
    p.poly([(118, 50), (146, 28), (138, 52), (146, 76)], ORANGE)   # tail
    p.ellipse(24, 24, 124, 78, RED)                     # body
    p.poly([(60, 26), (74, 8), (92, 26)], ORANGE)       # fin
    p.ellipse(30, 28, 66, 74, GOLD)                     # face
    p.circle(46, 44, 6, PAPER)
    p.dot(46, 44, 2.5)
    p.arc(36, 58, 6, 20, 140)
    for x in (78, 96):                                   # scales
        p.arc(x, 40, 8, 270, 90)
        p.arc(x, 60, 8, 270, 90)
    p.rect(64, 78, 84, 86, GOLD)                        # candle box
    p.poly([(66, 86), (82, 86), (78, 96), (70, 96)], GOLD)


def conical_hat(p):
    """A girl in a nón lá carrying two baskets on a shoulder pole through the
    rice field."""
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 132, 16, 9)
    cloud(p, 20, 14, 28)
    p.wave(52, 3, 1, LEAF, phase=2)                     # far hills
    p.rect(0, 62, 150, 100, LIME)                       # rice field
    p.line([(0, 80), (150, 78)])
    for x in range(4, 150, 14):                          # rice plants
        p.poly([(x, 78), (x + 3, 66), (x + 6, 78)], GREEN)
        p.poly([(x + 5, 96), (x + 8, 84), (x + 11, 96)], GREEN)
    p.rect(62, 78, 72, 98, DARK_GREY)                   # trousers
    p.rect(78, 78, 88, 98, DARK_GREY)
    p.poly([(62, 40), (88, 40), (94, 80), (56, 80)], AQUA)   # áo bà ba
    p.line([(75, 40), (75, 80)])
    p.rect(70, 34, 80, 42, PEACH)                       # neck
    p.circle(75, 28, 10, PEACH)                         # face
    p.dot(71, 28, 1.5)
    p.dot(79, 28, 1.5)
    p.arc(75, 31, 3.5, 30, 150)
    non_la(p, 75, 2, 26, 20)
    p.line([(8, 44), (142, 40)], width=LINE + 3)        # the shoulder pole
    for x in (22, 128):                                  # baskets of fruit
        p.line([(x - 4, 44), (x - 12, 66)])
        p.line([(x + 4, 43), (x + 12, 66)])
        p.circle(x - 6, 64, 5, ORANGE)
        p.circle(x + 6, 64, 5, YELLOW)
        p.circle(x, 60, 5, RED)
        p.rect(x - 14, 66, x + 14, 88, BROWN, r=3)
        p.line([(x - 14, 77), (x + 14, 77)])

def lotus_pond(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 22, 16, 9)
    cloud(p, 116, 14, 30)
    p.wave(36, 3, 1, LEAF)                              # the far bank
    p.rect(0, 44, 150, 100, TEAL)                       # the pond
    for cx, cy, r in ((20, 74, 16), (128, 80, 15), (84, 90, 12)):   # leaves with their notch
        p.pie(cx - r, cy - r * 0.55, cx + r, cy + r * 0.55, 290, 250 + 360, LEAF)
    p.line([(75, 62), (75, 86)], width=LINE + 1)        # stems
    p.line([(118, 46), (118, 70)], width=LINE + 1)
    # The open flower
    for angle, c in ((-62, ROSE), (62, ROSE), (-32, PINK), (32, PINK), (0, ROSE)):
        p.poly(lens(75, 64, 36, 17, angle), c)
    # A bud and a half-open flower
    p.poly(lens(118, 48, 24, 13, 0), PINK)
    p.poly(lens(42, 54, 16, 10, -20), ROSE)
    p.line([(42, 54), (44, 70)], width=LINE + 1)


def buffalo(p):
    """A boy playing the flute on the back of a water buffalo in the rice field."""
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 132, 16, 9)
    cloud(p, 60, 12, 26)
    p.wave(46, 4, 1, LEAF, phase=1)                     # hills
    p.rect(0, 56, 150, 100, LIME)                       # rice field
    p.line([(0, 78), (150, 72)])
    tree(p, 16, 58, 40)                                 # the village tree
    for x in (68, 82, 108, 120):                         # legs
        p.rect(x - 5, 70, x + 5, 94, GREY)
    p.line([(128, 50), (136, 74)])                      # tail
    p.ellipse(132, 72, 140, 80, DARK_GREY)
    p.ellipse(58, 38, 134, 80, GREY)                    # body
    p.poly(crescent(42, 40, 16, 160, 280, 7), PAPER)    # horns, curving back
    p.poly(crescent(56, 40, 16, 260, 380, 7), PAPER)
    p.ellipse(36, 22, 46, 32, GREY)                     # ears
    p.ellipse(52, 22, 62, 32, GREY)
    p.poly([(38, 30), (60, 30), (58, 56), (50, 66), (44, 64), (38, 54)], GREY)   # long face
    p.ellipse(38, 56, 58, 70, SILVER)                   # muzzle
    p.dot(44, 63, 1.5)
    p.dot(52, 63, 1.5)
    p.dot(43, 40, 2)
    p.dot(55, 40, 2)
    # The boy
    p.rect(84, 30, 100, 46, RED)                        # shirt
    p.rect(86, 44, 98, 54, DARK_GREY)                   # shorts over the back
    p.circle(92, 22, 7, PEACH)
    non_la(p, 92, 6, 11, 11)
    p.line([(96, 26), (116, 20)], width=LINE + 1)       # flute

def dragon_boat(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 22, 18, 9)
    cloud(p, 104, 16, 32)
    p.wave(50, 2, 3, CYAN)
    p.poly([(10, 70), (140, 70), (130, 84), (24, 84)], RED)   # hull
    p.poly([(130, 72), (140, 46), (150, 40), (146, 56), (140, 72)], GOLD)   # dragon head
    p.poly([(140, 46), (130, 36), (144, 40)], GOLD)
    p.poly([(10, 70), (2, 54), (20, 66)], GOLD)          # tail
    p.rect(24, 70, 130, 76, YELLOW)
    for x in (40, 62, 84, 106):                          # rowers
        p.rect(x - 5, 56, x + 5, 70, BLUE)
        p.circle(x, 51, 5, PEACH)
        p.line([(x + 2, 62), (x + 12, 90)])
    p.wave(84, 2, 4, BLUE)
    p.wave(94, 1.5, 3, ROYAL, phase=1)


def ao_dai(p):
    """A girl in an áo dài holding a nón lá, between two apricot trees in
    yellow blossom at Tết."""
    p.rect(0, 0, 150, 100, SKY)
    cloud(p, 102, 10, 22)
    cloud(p, 46, 12, 20)
    p.rect(0, 86, 150, 100, SAND)
    for x, side in ((20, -1), (130, 1)):                 # hoa mai trees
        p.poly([(x - 3, 88), (x - 2, 50), (x + 2, 50), (x + 3, 88)], BROWN)
        p.line([(x, 60), (x + 12 * side, 44)], width=LINE + 2)
        p.line([(x, 56), (x - 12 * side, 40)], width=LINE + 2)
        for fx, fy in ((x + 12 * side, 40), (x - 12 * side, 36)):
            flower(p, fx, fy, 7, petals=YELLOW, heart=ORANGE, stem=False)
    p.poly([(64, 16), (86, 16), (90, 50), (60, 50)], DARK_GREY)   # long hair behind
    p.poly([(66, 60), (84, 60), (86, 96), (64, 96)], PAPER)      # trousers
    p.poly([(66, 32), (84, 32), (82, 52), (96, 96), (78, 96), (75, 70), (72, 96), (54, 96),
            (68, 52)], RED)                             # the long tunic, split at the sides
    p.poly([(66, 32), (58, 36), (50, 62), (56, 64), (64, 42)], RED)   # sleeves
    p.poly([(84, 32), (92, 36), (100, 62), (94, 64), (86, 42)], RED)
    p.circle(53, 66, 3.5, PEACH)
    p.circle(97, 66, 3.5, PEACH)
    non_la(p, 108, 50, 14, 14)                          # the hat in her hand
    p.rect(71, 26, 79, 34, PEACH)
    p.circle(75, 18, 10, PEACH)
    p.chord(65, 8, 85, 28, 180, 360, DARK_GREY)         # fringe
    p.dot(71, 20, 1.4)
    p.dot(79, 20, 1.4)
    p.arc(75, 23, 3, 30, 150)
    p.circle(75, 44, 3.5, YELLOW)                       # a flower on the silk
    p.circle(75, 80, 4, YELLOW)

def banh_chung(p):
    p.rect(0, 0, 150, 100, PEACH)
    for x, y in ((18, 16), (44, 10), (106, 10), (132, 18)):   # peach blossoms of Tết
        flower(p, x, y, 9, petals=ROSE, heart=RED, stem=False)
    p.rect(0, 70, 150, 100, BROWN)                      # table
    p.ellipse(18, 66, 132, 96, PAPER)                   # plate
    p.rect(40, 30, 110, 80, LEAF)                       # bánh chưng
    p.line([(58, 30), (58, 80)])
    p.line([(92, 30), (92, 80)])
    p.line([(40, 46), (110, 46)])
    p.line([(40, 64), (110, 64)])
    p.rect(8, 52, 30, 78, RED)                          # a red envelope
    p.rect(12, 56, 26, 62, GOLD)
    p.circle(130, 64, 10, ORANGE)                       # mandarins
    p.circle(118, 72, 8, ORANGE)


def pagoda(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 130, 16, 9)
    cloud(p, 28, 16, 30)
    p.rect(0, 70, 150, 100, TEAL)                       # the pond
    p.rect(68, 56, 82, 96, GREY)                        # the one pillar
    p.rect(44, 44, 106, 58, BROWN)                      # the hall
    p.rect(52, 36, 98, 48, RED)
    for x in (56, 70, 84):
        p.rect(x, 38, x + 10, 46, GOLD)
    p.poly([(30, 38), (40, 28), (110, 28), (120, 38), (110, 34), (40, 34)], RED)   # curved roof
    p.poly([(40, 28), (56, 14), (94, 14), (110, 28)], CRIMSON)
    p.circle(75, 10, 4, GOLD)
    p.ellipse(10, 80, 44, 92, LEAF)                     # lotus leaves on the pond
    p.ellipse(106, 84, 142, 96, LEAF)


def mooncake(p):
    p.rect(0, 0, 150, 100, NAVY)
    p.circle(122, 22, 14, LEMON)
    p.rect(0, 66, 150, 100, RED)                        # tablecloth
    p.circle(62, 66, 30, GOLD)                          # mooncake
    p.circle(62, 66, 20, SAND)
    p.star(62, 66, 10, 4.5, ORANGE)
    p.rect(104, 52, 134, 84, LEAF, r=3)                 # a cup of tea
    p.ellipse(128, 58, 142, 76, LEAF)
    p.ellipse(104, 46, 134, 56, PAPER)
    for x, y in ((20, 16), (60, 10), (90, 30), (140, 50), (14, 44)):
        p.star(x, y, 6, 2.6, YELLOW)


PICTURES = [
    Picture("starlantern", star_lantern, 2, sample=True),
    Picture("carplantern", carp_lantern, 1),
    Picture("conicalhat", conical_hat, 2, sample=True),
    Picture("lotuspond", lotus_pond, 1, sample=True),
    Picture("buffalo", buffalo, 2, sample=True, square=(40, 0, 100, 100)),
    Picture("dragonboat", dragon_boat, 2),
    Picture("aodai", ao_dai, 2),
    Picture("banhchung", banh_chung, 2, sample=True, square=(28, 0, 100, 100)),
    Picture("pagoda", pagoda, 1),
    Picture("mooncake", mooncake, 1),
]
