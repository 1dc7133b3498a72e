"""The sea: under the waves, on the beach and on the water."""
from lineart import *  # noqa: F401,F403

TOPIC = "Biển"


def seaweed(p, x, bottom, h, c=LEAF):
    p.poly([(x - 3, bottom), (x - 6, bottom - h * 0.4), (x - 2, bottom - h * 0.7), (x - 5, bottom - h),
            (x + 3, bottom - h * 0.7), (x + 1, bottom - h * 0.4), (x + 4, bottom)], c)


def fish(p, x, y, w, body, fin):
    """A fish `w` units long facing left with its nose at (x, y)."""
    k = w / 40
    p.poly([(x + 32 * k, y), (x + 42 * k, y - 9 * k), (x + 42 * k, y + 9 * k)], fin)
    p.poly([(x + 14 * k, y - 9 * k), (x + 22 * k, y - 16 * k), (x + 28 * k, y - 8 * k)], fin)
    p.ellipse(x, y - 11 * k, x + 35 * k, y + 11 * k, body)
    p.line([(x + 20 * k, y - 10 * k), (x + 18 * k, y), (x + 20 * k, y + 10 * k)])
    p.dot(x + 8 * k, y - 2 * k, 1.6 * k)


def fish_big(p):
    p.rect(0, 0, 150, 100, CYAN)
    p.wave(88, 2, 1.5, SAND)
    seaweed(p, 14, 90, 40)
    seaweed(p, 136, 92, 34)
    p.circle(120, 18, 6, ICE)                           # bubbles
    p.circle(132, 30, 4.5, ICE)
    p.circle(26, 22, 5, ICE)
    # A big friendly fish
    p.poly([(100, 50), (134, 24), (128, 50), (134, 76)], ORANGE)   # tail
    p.poly([(54, 24), (72, 6), (90, 28)], ORANGE)       # fin
    p.ellipse(26, 18, 110, 82, GOLD)                    # body
    p.poly([(76, 18), (84, 50), (76, 82), (92, 78), (100, 50), (92, 22)], ORANGE)  # stripe
    p.circle(46, 42, 9, PAPER)
    p.dot(44, 42, 4)
    p.ellipse(54, 56, 72, 66, ORANGE)                   # side fin
    p.arc(40, 60, 7, 20, 150)                           # smile


def octopus(p):
    p.rect(0, 0, 150, 100, TEAL)
    p.wave(86, 2, 1, SAND)
    p.circle(20, 92, 6, PINK)                           # shells and a starfish
    p.star(132, 90, 8, 3.5, ORANGE)
    seaweed(p, 140, 80, 34)
    for i, x in enumerate((38, 52, 66, 84, 98, 112)):   # legs
        dx = -8 if i < 3 else 8
        p.poly([(x - 5, 50), (x + 5, 50), (x + 4 + dx / 2, 76), (x + dx, 88), (x + dx - 6, 86),
                (x - 4 + dx / 2, 74)], MAGENTA)
    p.ellipse(34, 8, 116, 66, ORCHID)                   # head
    p.circle(60, 34, 9, PAPER)
    p.circle(90, 34, 9, PAPER)
    p.dot(62, 35, 4)
    p.dot(88, 35, 4)
    p.arc(75, 46, 10, 20, 160)
    p.circle(50, 20, 4, LILAC)
    p.circle(100, 20, 4, LILAC)
    p.circle(14, 20, 5, ICE)
    p.circle(24, 34, 3.5, ICE)


def whale(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 132, 16, 9)
    cloud(p, 100, 16, 28)
    p.poly([(46, 20), (42, 8), (50, 14), (56, 4), (58, 16), (64, 10), (60, 22)], AQUA)  # spout
    p.wave(56, 3, 3, BLUE)
    p.wave(80, 3, 3, ROYAL, phase=1)
    p.poly([(112, 46), (140, 30), (132, 50), (142, 68)], PERIWINKLE)   # tail
    p.d.chord(p.box(14, 24, 120, 92), 180, 360, fill=PERIWINKLE, outline=BLACK, width=LINE)
    p.chord(14, 40, 120, 76, 0, 180, LAVENDER)          # belly
    p.dot(40, 46, 2.5)
    p.arc(34, 56, 7, 20, 120)


def crab(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 20, 16, 9)
    p.wave(44, 2, 2, BLUE)
    p.wave(58, 2, 1, SAND)
    p.poly([(126, 38), (126, 16), (140, 38)], PAPER)    # a boat far away
    p.poly([(116, 40), (144, 40), (140, 46), (120, 46)], RED)
    p.chord(116, 62, 144, 90, 180, 360, PINK)           # a shell
    p.line([(130, 62), (130, 76)])
    p.line([(130, 76), (122, 66)])
    p.line([(130, 76), (138, 66)])
    for x in (40, 50, 100, 110):                         # legs
        p.line([(x, 78), (x + (-12 if x < 75 else 12), 94)], width=LINE + 2)
    p.ellipse(46, 56, 104, 92, RED)                     # body
    p.ellipse(22, 48, 44, 66, RED)                      # claws
    p.ellipse(106, 48, 128, 66, RED)
    p.poly([(24, 50), (30, 56), (22, 58)], PAPER)
    p.poly([(126, 50), (120, 56), (128, 58)], PAPER)
    p.line([(42, 64), (52, 70)], width=LINE + 2)
    p.line([(108, 64), (98, 70)], width=LINE + 2)
    p.line([(66, 58), (62, 46)])
    p.line([(84, 58), (88, 46)])
    p.circle(62, 44, 5, PAPER)
    p.circle(88, 44, 5, PAPER)
    p.dot(62, 44, 2)
    p.dot(88, 44, 2)
    p.arc(75, 72, 8, 20, 160)


def turtle(p):
    p.rect(0, 0, 150, 100, AQUA)
    p.wave(90, 1.5, 1, SAND)
    seaweed(p, 12, 92, 30)
    seaweed(p, 140, 92, 40, FOREST)
    fish(p, 104, 18, 22, YELLOW, ORANGE)
    p.ellipse(20, 30, 50, 52, LIME)                     # flippers
    p.ellipse(20, 62, 48, 82, LIME)
    p.ellipse(96, 28, 124, 46, LIME)
    p.ellipse(98, 64, 124, 80, LIME)
    p.ellipse(108, 48, 140, 64, LIME)                   # head
    p.dot(130, 54, 2)
    p.ellipse(30, 24, 118, 86, LEAF)                    # shell
    p.poly([(60, 42), (86, 42), (94, 55), (86, 68), (60, 68), (52, 55)], OLIVE)
    for a, b in (((60, 42), (50, 30)), ((86, 42), (96, 30)), ((52, 55), (32, 55)),
                 ((94, 55), (116, 55)), ((60, 68), (50, 80)), ((86, 68), (96, 80))):
        p.line([a, b])


def beach(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 22, 18, 10)
    cloud(p, 70, 14, 30)
    p.wave(44, 2, 3, CYAN)
    p.wave(52, 2, 3, TEAL, phase=2)
    p.rect(0, 60, 150, 100, SAND)
    p.line([(112, 94), (122, 20)], width=LINE + 1)      # umbrella
    p.chord(90, 6, 152, 46, 180, 360, RED)
    p.poly([(102, 26), (112, 8), (121, 26)], YELLOW)
    p.poly([(121, 26), (132, 8), (142, 26)], YELLOW)
    p.rect(24, 68, 56, 92, ORANGE)                      # bucket
    p.rect(20, 64, 60, 70, ORANGE)
    p.line([(24, 66), (40, 52), (56, 66)])
    p.rect(62, 74, 88, 92, SAND)                        # sandcastle
    p.rect(66, 62, 84, 74, SAND)
    p.poly([(72, 62), (75, 54), (78, 62)], RED)
    p.star(98, 88, 8, 3.5, ORANGE)
    p.ellipse(128, 84, 146, 96, PINK)                   # shell
    p.line([(137, 84), (137, 96)])


def lighthouse(p):
    p.rect(0, 0, 150, 100, NAVY)
    p.circle(126, 18, 10, LEMON)
    for x, y in ((20, 18), (40, 40), (100, 12), (140, 46)):
        p.star(x, y, 7, 3, YELLOW)
    p.poly([(76, 22), (10, 8), (10, 30)], LEMON)        # light beams
    p.poly([(76, 22), (140, 60), (140, 80)], LEMON)
    p.wave(70, 2, 3, ROYAL)
    p.wave(84, 2, 2, BLUE, phase=1)
    p.poly([(44, 100), (56, 66), (104, 70), (116, 100)], GREY)   # rocks
    p.poly([(62, 70), (66, 30), (86, 30), (90, 70)], PAPER)     # tower
    p.poly([(64, 56), (88, 56), (89, 64), (63, 64)], RED)
    p.poly([(65, 40), (87, 40), (88, 48), (64, 48)], RED)
    p.rect(62, 24, 90, 30, DARK_GREY)
    p.rect(66, 12, 86, 24, YELLOW)
    p.poly([(62, 12), (76, 2), (90, 12)], RED)
    p.rect(72, 56, 80, 70, BROWN, r=3)                  # door


def sailboat(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 128, 18, 10)
    cloud(p, 28, 14, 34)
    p.wave(60, 2, 3, CYAN)
    p.poly([(70, 12), (70, 64), (118, 64)], PAPER)      # sails
    p.poly([(66, 18), (66, 64), (30, 64)], LEMON)
    p.poly([(70, 12), (70, 2), (84, 6)], RED)           # flag
    p.poly([(20, 66), (130, 66), (114, 86), (36, 86)], RED)
    p.line([(26, 74), (124, 74)])
    for x in (50, 75, 100):
        p.circle(x, 80, 3.5, PAPER)
    p.wave(86, 2, 4, BLUE)
    p.wave(94, 1.5, 3, ROYAL, phase=1)
    p.ellipse(8, 70, 22, 78, GREY)                      # a gull's island? a fish's fin
    p.poly([(134, 80), (140, 70), (144, 82)], DARK_GREY)


def seahorse(p):
    p.rect(0, 0, 150, 100, BLUE)
    p.wave(88, 2, 2, SAND)
    seaweed(p, 122, 90, 50)
    seaweed(p, 136, 90, 36, FOREST)
    p.poly([(20, 92), (24, 70), (34, 66), (38, 80), (44, 72), (48, 92)], PINK)  # coral
    fish(p, 96, 22, 24, ORANGE, RED)
    fish(p, 100, 52, 18, LIME, LEAF)
    p.circle(20, 16, 5, ICE)
    p.circle(30, 30, 4, ICE)
    # The seahorse
    p.poly(lens(76, 44, 14, 9, 60), GOLD)              # fin on its back
    p.poly([(60, 60), (76, 66), (74, 84), (64, 90), (58, 84)], YELLOW)   # tail
    p.poly(crescent(56, 84, 8, -20, 250, 7), YELLOW)    # its curl
    p.ellipse(50, 30, 80, 72, YELLOW)                   # belly
    for y in (42, 50, 58):
        p.arc(66, y - 10, 12, 60, 120)
    p.circle(58, 22, 12, YELLOW)                        # head
    p.poly([(48, 18), (30, 20), (30, 28), (48, 28)], YELLOW)   # snout
    p.poly([(54, 10), (58, 0), (64, 10)], GOLD)         # crest
    p.circle(60, 19, 3.5, PAPER)
    p.dot(61, 19, 1.6)


PICTURES = [
    Picture("fish", fish_big, 1, sample=True, square=(20, 0, 100, 100)),
    Picture("octopus", octopus, 2, sample=True),
    Picture("whale", whale, 1, sample=True, square=(30, 0, 100, 100)),
    Picture("crab", crab, 1),
    Picture("turtle", turtle, 1, sample=True),
    Picture("beach", beach, 2),
    Picture("lighthouse", lighthouse, 2),
    Picture("sailboat", sailboat, 1, sample=True, square=(35, 0, 100, 100)),
    Picture("seahorse", seahorse, 2),
]
