"""Vietnam: the Mid-Autumn festival, Tết, the countryside and the river."""
import math

from lineart import *  # noqa: F401,F403

TOPIC = "Việt Nam"


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
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 130, 18, 10)
    cloud(p, 26, 14, 30)
    p.rect(0, 66, 150, 100, LIME)                       # rice field
    for x in range(4, 150, 12):                          # rows of rice
        p.poly([(x, 90), (x + 4, 74), (x + 8, 90)], LEAF)
    p.poly([(54, 46), (96, 46), (104, 98), (46, 98)], AQUA)   # áo
    p.poly([(62, 46), (88, 46), (84, 62), (66, 62)], AQUA)
    p.rect(66, 40, 84, 48, PEACH)                       # neck
    p.circle(75, 34, 12, PEACH)                         # face
    p.dot(70, 34, 1.6)
    p.dot(80, 34, 1.6)
    p.arc(75, 38, 4, 30, 150)
    p.line([(60, 22), (66, 44)])                        # strap
    p.line([(90, 22), (84, 44)])
    p.poly([(30, 28), (75, 2), (120, 28)], SAND)        # nón lá
    p.line([(52, 15), (98, 15)])
    p.rect(38, 76, 54, 96, BROWN)                       # basket
    p.rect(96, 76, 112, 96, BROWN)


def lotus_pond(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 22, 18, 9)
    cloud(p, 120, 14, 30)
    p.rect(0, 40, 150, 100, TEAL)                       # the pond
    p.ellipse(4, 56, 48, 74, LEAF)                      # leaves
    p.ellipse(100, 70, 146, 90, LEAF)
    p.ellipse(40, 82, 84, 98, LEAF)
    p.line([(75, 72), (75, 98)], width=LINE + 1)
    for cx, cy, s in ((75, 50, 1.0), (120, 44, 0.65)):  # lotus flowers
        for dx, dy, w in ((-16, 8, 12), (16, 8, 12), (-8, 2, 12), (8, 2, 12), (0, 0, 10)):
            x, y = cx + dx * s, cy + dy * s
            p.poly([(x, y - 22 * s), (x + w * s / 2 + 4 * s, y), (x, y + 18 * s),
                    (x - w * s / 2 - 4 * s, y)], PINK if abs(dx) != 8 else ROSE)
    p.rect(112, 56, 128, 58, LEAF)
    p.poly([(18, 48), (26, 34), (34, 48)], ROSE)        # a bud


def buffalo(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 130, 18, 10)
    p.wave(44, 4, 1, LEAF, phase=1)                     # hills
    p.rect(0, 54, 150, 100, LIME)                       # rice field
    p.line([(0, 76), (150, 70)])
    tree(p, 18, 56, 34)                                 # the village tree
    p.ellipse(52, 38, 126, 78, GREY)                    # buffalo body
    for x in (60, 74, 104, 116):
        p.rect(x - 5, 68, x + 4, 92, GREY)
    p.line([(124, 52), (134, 72)])                      # tail
    p.ellipse(30, 40, 62, 68, GREY)                     # head
    p.poly([(30, 42), (14, 28), (22, 26), (40, 40)], PAPER)   # horns
    p.poly([(56, 40), (66, 22), (72, 28), (60, 46)], PAPER)
    p.ellipse(30, 54, 50, 68, SILVER)                   # nose
    p.dot(36, 60, 1.5)
    p.dot(44, 60, 1.5)
    p.dot(40, 48, 2)
    # A child in a nón lá on its back, with a flute
    p.rect(78, 24, 96, 42, RED)
    p.circle(87, 18, 6, PEACH)
    p.poly([(76, 16), (87, 4), (98, 16)], SAND)
    p.line([(92, 22), (110, 16)])


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
    p.rect(0, 0, 150, 100, LEMON)
    p.circle(20, 20, 12, PAPER)                         # round lanterns
    p.circle(130, 20, 12, PAPER)
    p.rect(0, 88, 150, 100, BROWN)
    p.poly([(52, 96), (60, 60), (90, 60), (98, 96)], PAPER)   # trousers
    p.poly([(62, 34), (88, 34), (92, 60), (100, 96), (78, 96), (75, 62), (72, 96), (50, 96), (58, 60)], RED)
    p.poly([(62, 34), (50, 36), (44, 66), (52, 68), (60, 44)], RED)     # sleeves
    p.poly([(88, 34), (100, 36), (106, 66), (98, 68), (90, 44)], RED)
    p.circle(48, 70, 4, PEACH)
    p.circle(102, 70, 4, PEACH)
    p.rect(69, 26, 81, 36, PEACH)
    p.circle(75, 18, 11, PEACH)
    p.chord(63, 6, 87, 30, 180, 360, DARK_GREY)         # hair
    p.dot(71, 19, 1.4)
    p.dot(79, 19, 1.4)
    p.arc(75, 22, 3, 30, 150)
    for x, y in ((66, 46), (84, 50), (75, 74)):         # flowers on the silk
        p.circle(x, y, 4, YELLOW)
    p.blob([(20, 60, 8), (30, 54, 8), (130, 60, 8), (120, 54, 8)], ROSE)   # blossom branches
    p.poly([(20, 86), (24, 66), (28, 86)], BROWN)
    p.poly([(122, 86), (126, 66), (130, 86)], BROWN)


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
    Picture("starlantern", star_lantern, 1, sample=True),
    Picture("carplantern", carp_lantern, 1),
    Picture("conicalhat", conical_hat, 2, sample=True),
    Picture("lotuspond", lotus_pond, 2, sample=True),
    Picture("buffalo", buffalo, 2, sample=True),
    Picture("dragonboat", dragon_boat, 2),
    Picture("aodai", ao_dai, 2),
    Picture("banhchung", banh_chung, 2, sample=True),
    Picture("pagoda", pagoda, 1),
    Picture("mooncake", mooncake, 1),
]
