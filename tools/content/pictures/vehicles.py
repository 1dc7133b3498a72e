"""Vehicles: on the road, on rails, in the air and at work."""
from lineart import *  # noqa: F401,F403

TOPIC = "Xe cộ"


def wheel(p, cx, cy, r, tyre=DARK_GREY, hub=SILVER):
    p.circle(cx, cy, r, tyre)
    p.circle(cx, cy, r * 0.45, hub)


def road(p, y=78):
    p.rect(0, y, 150, 100, GREY)
    for x in range(6, 150, 30):
        p.rect(x, y + 10, x + 16, y + 14, PAPER)


def car(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 22, 18, 10)
    cloud(p, 118, 16, 34)
    p.wave(62, 3, 1, GRASS)
    road(p)
    p.poly([(42, 44), (56, 22), (98, 22), (114, 44)], RED)     # cabin
    p.poly([(50, 42), (60, 27), (75, 27), (75, 42)], ICE)      # windows
    p.poly([(80, 42), (80, 27), (95, 27), (106, 42)], ICE)
    p.rect(16, 42, 136, 80, RED, r=8)                   # body
    p.line([(78, 44), (78, 78)])
    p.rect(126, 52, 135, 62, YELLOW)                    # headlight
    p.rect(17, 52, 26, 62, ORANGE)
    wheel(p, 44, 80, 13)
    wheel(p, 110, 80, 13)


def bus(p):
    p.rect(0, 0, 150, 100, SKY)
    cloud(p, 30, 12, 30)
    sun(p, 130, 14, 8)
    road(p, 80)
    p.rect(8, 22, 142, 82, YELLOW, r=8)                 # body
    for x in (14, 40, 66, 92):                           # windows
        p.rect(x, 30, x + 22, 50, ICE, r=3)
    p.rect(118, 30, 138, 66, ICE, r=3)                  # door
    p.line([(128, 30), (128, 66)])
    p.rect(8, 58, 116, 66, ORANGE)                      # stripe
    p.rect(136, 70, 146, 78, PAPER)                     # bumper light
    wheel(p, 36, 82, 12)
    wheel(p, 104, 82, 12)


def train(p):
    """A steam engine puffing to the left, a wagon behind it."""
    p.rect(0, 0, 150, 100, SKY)
    cloud(p, 30, 10, 22)                                # smoke
    cloud(p, 54, 8, 18)
    sun(p, 132, 16, 9)
    p.wave(56, 6, 0.7, LEAF, phase=2)
    p.wave(66, 2, 1, GRASS)
    p.rect(0, 88, 150, 94, BROWN)                       # rails
    for x in range(4, 150, 14):
        p.rect(x, 94, x + 8, 99, CHOCOLATE)
    p.rect(22, 18, 34, 38, DARK_GREY)                   # chimney
    p.poly([(18, 18), (38, 18), (34, 24), (22, 24)], DARK_GREY)
    p.rect(48, 12, 92, 20, RED)                         # cab roof
    p.rect(52, 20, 88, 72, RED)                         # cab
    p.rect(60, 28, 80, 46, ICE)
    p.rect(10, 38, 52, 72, GREEN)                       # boiler
    p.circle(42, 30, 5, GOLD)                           # bell
    p.poly([(10, 72), (2, 86), (12, 86)], RED)          # cow-catcher
    p.rect(88, 60, 96, 64, DARK_GREY)                   # coupling
    p.rect(96, 44, 146, 72, BLUE)                       # wagon
    p.rect(102, 50, 140, 62, ORANGE)
    for x in (20, 40, 66, 108, 134):
        wheel(p, x, 80, 8)


def plane(p):
    p.rect(0, 0, 150, 100, SKY)
    cloud(p, 24, 78, 40)
    cloud(p, 120, 84, 34)
    cloud(p, 118, 16, 26)
    sun(p, 20, 18, 9)
    p.poly([(60, 56), (80, 56), (62, 90), (48, 90)], BLUE)     # lower wing
    p.poly([(112, 48), (128, 16), (138, 16), (134, 54)], YELLOW)   # tail fin
    p.rect(20, 40, 140, 64, PAPER, r=12)                # body
    p.poly([(60, 48), (82, 48), (66, 16), (52, 16)], BLUE)     # upper wing
    for x in (88, 100, 112):
        p.circle(x, 50, 4.5, ICE)
    p.poly([(22, 46), (34, 44), (34, 54), (22, 54)], ICE)   # cockpit
    p.rect(20, 58, 140, 64, RED)


def fire_engine(p):
    p.rect(0, 0, 150, 100, SKY)
    cloud(p, 70, 12, 30)
    road(p, 82)
    p.rect(4, 44, 96, 84, RED)                          # body
    p.poly([(96, 84), (96, 30), (126, 30), (144, 56), (144, 84)], RED)   # cab
    p.poly([(102, 36), (122, 36), (136, 56), (102, 56)], ICE)
    p.rect(120, 18, 132, 30, BLUE)                      # siren
    p.poly([(8, 38), (92, 14), (94, 22), (10, 44)], SILVER)   # ladder
    for i in range(1, 6):
        x = 8 + i * 14
        p.line([(x, 40 - i * 4 + 0), (x + 2, 38 - i * 4 + 7)])
    p.rect(10, 52, 40, 74, SILVER, r=3)                 # hose reel
    p.circle(25, 63, 7, YELLOW)
    p.rect(48, 52, 90, 64, YELLOW)                      # stripe
    p.rect(138, 62, 146, 70, YELLOW)
    wheel(p, 30, 84, 12)
    wheel(p, 118, 84, 12)


def bicycle(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 128, 18, 10)
    p.wave(62, 3, 1, GRASS)
    p.rect(0, 86, 150, 100, SAND)
    flower(p, 16, 60, 5, petals=RED)
    tree(p, 30, 70, 40, crown=LEAF)
    for cx in (46, 112):
        p.circle(cx, 70, 20, DARK_GREY)
        p.circle(cx, 70, 15, PAPER)
        p.circle(cx, 70, 4, SILVER)
    p.line([(46, 70), (72, 70), (100, 42), (62, 42), (46, 70)], width=LINE + 2)   # frame
    p.line([(72, 70), (58, 34)], width=LINE + 2)
    p.line([(100, 42), (112, 70)], width=LINE + 2)
    p.line([(100, 42), (96, 28)], width=LINE + 2)
    p.ellipse(50, 28, 68, 36, BROWN)                    # saddle
    p.rect(88, 24, 104, 30, BROWN, r=2)                 # handlebar
    p.rect(100, 32, 122, 48, ORANGE)                    # basket
    p.circle(72, 70, 5, YELLOW)                         # pedal wheel


def tractor(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 20, 16, 9)
    cloud(p, 96, 12, 26)
    p.rect(0, 60, 150, 100, SAND)                       # field
    for y in (70, 82, 94):
        p.line([(0, y), (150, y - 4)])
    p.rect(96, 14, 102, 40, DARK_GREY)                  # exhaust
    p.rect(52, 18, 96, 22, GREEN)                       # roof
    p.line([(56, 22), (56, 44)], width=LINE + 1)
    p.line([(92, 22), (92, 44)], width=LINE + 1)
    p.rect(58, 24, 90, 44, ICE)
    p.rect(40, 44, 132, 72, GREEN, r=4)                 # body
    p.rect(106, 50, 128, 64, LEAF)                      # grille
    p.circle(128, 48, 4, YELLOW)
    wheel(p, 62, 74, 22, DARK_GREY, YELLOW)
    wheel(p, 118, 82, 13, DARK_GREY, YELLOW)


def helicopter(p):
    p.rect(0, 0, 150, 100, SKY)
    cloud(p, 24, 30, 34)
    cloud(p, 130, 70, 30)
    p.wave(86, 4, 1, GRASS)
    p.rect(30, 6, 120, 11, DARK_GREY)                   # rotor
    p.rect(72, 11, 78, 22, DARK_GREY)
    p.poly([(100, 44), (142, 40), (142, 48), (100, 58)], ORANGE)   # tail
    p.circle(140, 40, 8, SILVER)
    p.ellipse(38, 20, 110, 72, ORANGE)                  # cabin
    p.ellipse(42, 28, 70, 54, ICE)                      # the bubble window
    p.rect(44, 76, 108, 82, DARK_GREY, r=3)             # skids
    p.line([(60, 70), (58, 76)])
    p.line([(92, 70), (94, 76)])
    p.circle(96, 38, 6, YELLOW)


def ship(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 128, 18, 10)
    cloud(p, 24, 18, 30)
    p.wave(68, 2, 3, CYAN)
    p.rect(52, 18, 66, 40, RED)                         # funnels
    p.rect(76, 18, 90, 40, RED)
    p.rect(52, 18, 66, 24, DARK_GREY)
    p.rect(76, 18, 90, 24, DARK_GREY)
    p.rect(30, 40, 116, 60, PAPER)                      # cabins
    for x in (38, 56, 74, 92):
        p.circle(x + 4, 50, 4.5, ICE)
    p.poly([(8, 58), (142, 58), (126, 84), (22, 84)], ROYAL)   # hull
    p.rect(24, 66, 126, 72, PAPER)
    p.circle(116, 78, 7, RED)                           # lifebuoy
    p.circle(116, 78, 3, ROYAL)
    cloud(p, 70, 8, 20)
    p.wave(84, 2, 4, BLUE)
    p.wave(94, 1.5, 3, ROYAL, phase=1)


PICTURES = [
    Picture("car", car, 2, sample=True),
    Picture("bus", bus, 2, sample=True),
    Picture("train", train, 2, sample=True, square=(0, 0, 100, 100)),
    Picture("plane", plane, 1, sample=True),
    Picture("fireengine", fire_engine, 2),
    Picture("bicycle", bicycle, 2),
    Picture("tractor", tractor, 2),
    Picture("helicopter", helicopter, 1),
    Picture("ship", ship, 2),
]
