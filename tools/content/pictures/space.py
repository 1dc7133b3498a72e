"""Space: rockets, planets, the moon and friendly visitors."""
from lineart import *  # noqa: F401,F403

TOPIC = "Vũ trụ"


def night(p, c=NAVY, stars=((14, 14), (50, 8), (140, 60), (10, 56), (120, 12), (36, 36), (100, 8),
                                     (140, 34), (12, 88))):
    p.rect(0, 0, 150, 100, c)
    for x, y in stars:
        p.star(x, y, 7, 3, YELLOW)


def rocket(p):
    night(p, stars=((14, 14), (40, 50), (108, 12), (112, 56), (20, 70), (34, 24), (100, 34),
                   (140, 56), (134, 76)))
    p.circle(130, 30, 12, ORANGE)                       # a planet
    p.wave(86, 3, 1, SILVER)                            # the moon's ground
    p.poly([(66, 80), (75, 98), (84, 80)], ORANGE)      # flame
    p.poly([(70, 80), (75, 92), (80, 80)], YELLOW)
    p.poly([(58, 60), (44, 86), (62, 80)], RED)         # fins
    p.poly([(92, 60), (106, 86), (88, 80)], RED)
    p.rect(58, 24, 92, 82, PAPER)                       # body
    p.poly([(58, 24), (75, 2), (92, 24)], RED)
    p.circle(75, 42, 9, AQUA)
    p.rect(58, 64, 92, 70, RED)
    p.rect(69, 74, 81, 82, SILVER)
    cloud(p, 46, 90, 30)                                # smoke
    cloud(p, 104, 90, 30)


def astronaut(p):
    night(p, c=ROYAL)
    p.circle(30, 26, 14, ORANGE)                        # a planet with a ring
    p.ellipse(8, 22, 52, 31, GOLD)
    p.chord(16, 12, 44, 40, 180, 360, ORANGE)
    p.wave(82, 3, 1, SILVER)                            # the moon's ground
    p.circle(24, 92, 6, GREY)
    p.circle(132, 90, 5, GREY)
    p.rect(54, 46, 96, 84, PAPER, r=6)                  # suit
    p.rect(40, 48, 56, 76, PAPER, r=6)                  # arms
    p.rect(94, 48, 110, 76, PAPER, r=6)
    p.rect(58, 80, 72, 98, PAPER)                       # legs
    p.rect(78, 80, 92, 98, PAPER)
    p.rect(62, 56, 88, 70, LAVENDER)                    # panel
    p.circle(69, 63, 3.5, RED)
    p.circle(81, 63, 3.5, LIME)
    p.circle(75, 30, 20, PAPER)                         # helmet
    p.ellipse(61, 20, 89, 42, AQUA)
    p.line([(110, 60), (110, 36)])                      # flag
    p.rect(110, 36, 132, 48, RED)
    p.star(121, 42, 5, 2.2, YELLOW)


def saturn(p):
    night(p, c=PLUM)
    p.circle(75, 50, 36, ORANGE)                        # the planet
    p.ellipse(2, 40, 148, 64, GOLD)                     # its ring, in front
    p.chord(39, 14, 111, 86, 180, 360, ORANGE)          # the top half over the ring
    p.lines_in_ellipse((39, 14, 111, 86), [[(30, 26), (120, 26)], [(30, 36), (120, 36)]])   # cloud bands
    p.circle(24, 84, 8, CYAN)                           # little moons
    p.circle(128, 86, 6, PINK)
    p.circle(136, 14, 7, LIME)
    p.circle(16, 22, 6, SILVER)


def moon(p):
    night(p, c=NAVY, stars=((20, 16), (60, 10), (128, 20), (138, 62), (96, 36), (16, 60)))
    p.circle(72, 52, 34, LEMON)                         # the moon with a face
    p.circle(58, 38, 6, SAND)
    p.circle(90, 64, 7, SAND)
    p.circle(82, 34, 4.5, SAND)
    p.dot(60, 54, 2.5)
    p.dot(80, 52, 2.5)
    p.arc(70, 62, 9, 20, 160)
    p.wave(86, 4, 1, FOREST)                            # a hill with a house
    p.rect(104, 70, 126, 90, SAND)
    p.poly([(100, 72), (115, 60), (130, 72)], RED)
    p.rect(110, 76, 120, 84, YELLOW)
    cloud(p, 24, 80, 30, LAVENDER)


def ufo(p):
    night(p, c=DEEP_TEAL)
    p.circle(24, 24, 12, PINK)
    p.poly([(60, 60), (90, 60), (118, 98), (32, 98)], LEMON)   # beam
    p.wave(80, 3, 1, LEAF)
    p.rect(8, 64, 26, 86, RED)                          # a barn and a fence
    p.poly([(4, 66), (17, 54), (30, 66)], CRIMSON)
    for x in (122, 132, 142):
        p.rect(x, 70, x + 6, 88, SAND)
    p.half(75, 46, 18, ICE)                             # dome
    p.circle(75, 38, 7, LIME)                           # the visitor
    p.dot(72, 37, 1.5)
    p.dot(78, 37, 1.5)
    p.line([(72, 31), (69, 24)])
    p.line([(78, 31), (81, 24)])
    p.ellipse(30, 42, 120, 62, MAGENTA)                 # saucer
    for x in (46, 62, 88, 104):
        p.circle(x, 52, 4.5, YELLOW)


def rover(p):
    night(p, c=ROYAL, stars=((14, 14), (50, 8), (140, 60), (10, 50)))
    p.circle(120, 22, 16, CYAN)                         # the earth
    p.blob([(112, 16, 5), (116, 22, 4.5)], LEAF)        # land
    p.blob([(128, 30, 4.5), (124, 34, 4)], LEAF)
    p.wave(74, 3, 1.5, SILVER)
    p.circle(30, 88, 8, GREY)
    p.circle(136, 90, 5, GREY)
    p.rect(40, 44, 110, 70, GOLD, r=4)                  # body
    p.rect(50, 50, 74, 62, AQUA)
    p.rect(82, 50, 100, 62, AQUA)
    p.line([(60, 44), (60, 30)])                        # antenna and dish
    p.chord(48, 18, 72, 34, 0, 180, PAPER)
    p.rect(86, 34, 116, 40, BLUE)                       # solar panel
    p.line([(100, 40), (100, 44)])
    for x in (52, 75, 98):
        p.circle(x, 76, 8, DARK_GREY)
        p.circle(x, 76, 3.5, SILVER)


def planets(p):
    night(p, c=NAVY, stars=((70, 10), (100, 90), (140, 50), (40, 88), (84, 84), (128, 16),
                            (142, 94), (60, 70)))
    sun(p, 0, 50, 30, rays=ORANGE)
    p.circle(46, 48, 6, GREY)
    p.circle(62, 26, 10, GOLD)
    p.circle(80, 62, 13, CYAN)
    p.blob([(76, 58, 4), (84, 66, 4)], LEAF)
    p.circle(106, 28, 11, RED)
    p.circle(126, 74, 16, SAND)
    p.ellipse(102, 69, 150, 79, PEACH)
    p.chord(110, 58, 142, 90, 180, 360, SAND)


def comet(p):
    night(p, c=PURPLE, stars=((20, 80), (60, 86), (130, 20), (140, 80), (90, 10)))
    p.poly([(110, 30), (20, 8), (10, 30), (20, 50)], LEMON)   # tail
    p.poly([(110, 30), (30, 20), (24, 30), (30, 40)], YELLOW)
    p.circle(112, 30, 14, GOLD)
    p.circle(40, 66, 13, LIME)                          # a ringed planet
    p.ellipse(20, 62, 60, 70, AQUA)
    p.chord(27, 53, 53, 79, 180, 360, LIME)
    p.wave(84, 3, 1, SILVER)                            # the ground we watch it from
    p.circle(100, 92, 5, GREY)
    p.rect(124, 66, 130, 90, DARK_GREY)                 # a telescope
    p.poly([(112, 62), (140, 48), (144, 56), (116, 70)], ORCHID)


PICTURES = [
    Picture("rocket", rocket, 2, sample=True),
    Picture("astronaut", astronaut, 2, sample=True, square=(0, 0, 100, 100)),
    Picture("saturn", saturn, 1, sample=True),
    Picture("moon", moon, 1),
    Picture("ufo", ufo, 2, sample=True),
    Picture("rover", rover, 2),
    Picture("planets", planets, 2),
    Picture("comet", comet, 1),
]
