"""Home and garden: the house, its rooms and what grows around it."""
from lineart import *  # noqa: F401,F403

TOPIC = "Nhà và vườn"


def window(p, x1, y1, x2, y2, frame=PAPER, glass=ICE):
    """A window: a frame wide enough to colour, four panes of glass."""
    p.rect(x1, y1, x2, y2, frame)
    p.rect(x1 + 5, y1 + 5, x2 - 5, y2 - 5, glass)
    mx, my = (x1 + x2) / 2, (y1 + y2) / 2
    p.line([(mx, y1 + 5), (mx, y2 - 5)])
    p.line([(x1 + 5, my), (x2 - 5, my)])


def house(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 130, 18, 10, face=True)
    cloud(p, 24, 16, 30)
    p.wave(82, 1.5, 1, GRASS)
    p.rect(86, 10, 98, 36, BROWN)                       # chimney
    p.rect(36, 44, 114, 92, LEMON)                      # walls
    p.poly([(28, 46), (75, 12), (122, 46)], RED)        # roof
    p.circle(75, 32, 7, ICE)
    p.rect(66, 62, 84, 92, BROWN, r=3)                  # door
    p.dot(80, 78, 1.5)
    p.rect(44, 54, 60, 72, ICE)
    p.rect(90, 54, 106, 72, ICE)
    p.blob([(10, 84, 8), (22, 82, 9), (16, 76, 7)], LEAF)   # a bush
    p.poly([(66, 92), (84, 92), (90, 100), (60, 100)], SAND)   # the path to the door
    flower(p, 50, 82, 6, petals=RED, stem=False)
    flower(p, 100, 82, 6, petals=ORCHID, stem=False)
    tree(p, 134, 92, 44, crown=LEAF, fruit=[(-6, 26), (6, 30)])


def garden(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 22, 18, 10)
    cloud(p, 108, 14, 30)
    p.wave(56, 2, 1, GRASS)
    for x in range(0, 150, 15):                          # picket fence
        p.poly([(x, 64), (x, 42), (x + 7.5, 34), (x + 15, 42), (x + 15, 64)], PAPER)
    p.rect(0, 70, 150, 100, BROWN)                      # flower bed
    for x, c in ((24, RED), (62, YELLOW), (100, ORCHID), (134, ORANGE)):
        p.line([(x, 64), (x, 86)], width=LINE + 1)
        p.ellipse(x, 74, x + 12, 80, LEAF)
        flower(p, x, 56, 10, petals=c, stem=False)


def bedroom(p):
    p.rect(0, 0, 150, 100, LILAC)                       # wall
    p.rect(0, 74, 150, 100, SAND)                       # floor
    window(p, 96, 10, 140, 46)
    p.circle(128, 22, 5, YELLOW)                        # the moon through it
    p.rect(8, 14, 30, 36, PAPER)                        # picture on the wall
    p.poly([(11, 34), (19, 22), (27, 34)], LEAF)
    p.rect(8, 38, 16, 94, BROWN)                        # bed head
    p.rect(12, 60, 100, 84, BLUE)                       # bed
    p.rect(96, 54, 104, 94, BROWN)
    p.ellipse(18, 48, 42, 62, PAPER)                    # pillow
    p.rect(40, 56, 98, 82, PERIWINKLE, r=4)             # blanket
    for x in (54, 72, 88):
        p.star(x, 68, 5.5, 2.5, YELLOW)
    p.rect(112, 70, 142, 96, ORANGE)                    # bedside table
    p.rect(116, 76, 138, 84, GOLD)
    p.rect(124, 58, 130, 70, SILVER)                    # lamp
    p.poly([(116, 58), (138, 58), (132, 44), (122, 44)], YELLOW)
    p.ellipse(40, 86, 90, 98, ROSE)                     # rug


def kitchen(p):
    p.rect(0, 0, 150, 100, CREAM)                       # wall
    p.rect(0, 70, 150, 100, PEACH)                      # floor
    window(p, 10, 8, 50, 40)
    p.rect(66, 6, 94, 20, GOLD, r=3)                    # shelf clock
    p.circle(80, 20, 11, PAPER)
    p.line([(80, 20), (80, 13)])
    p.line([(80, 20), (85, 20)])
    p.rect(4, 50, 146, 58, BROWN)                       # table top
    p.rect(14, 58, 22, 96, BROWN)
    p.rect(128, 58, 136, 96, BROWN)
    p.ellipse(20, 32, 56, 50, RED)                      # teapot
    p.poly([(54, 38), (66, 28), (60, 44)], RED)
    p.ellipse(32, 26, 44, 34, RED)
    p.ellipse(70, 42, 104, 50, PAPER)                   # plate with apples
    p.circle(80, 40, 6, LEAF)
    p.circle(92, 40, 6, RED)
    p.rect(112, 34, 128, 50, AQUA)                      # cup
    p.ellipse(124, 38, 134, 46, AQUA)
    p.rect(30, 62, 120, 70, ORANGE)                     # cloth hanging down
    p.poly([(30, 70), (40, 78), (50, 70), (60, 78), (70, 70), (80, 78), (90, 70), (100, 78),
            (110, 70), (120, 78), (120, 70)], ORANGE)


def living_room(p):
    p.rect(0, 0, 150, 100, MINT)
    p.rect(0, 78, 150, 100, BROWN)
    p.rect(52, 8, 98, 34, PAPER)                        # painting
    p.rect(56, 12, 94, 30, SKY)
    p.wave(24, 3, 1, LEAF, bottom=30, x1=56, x2=94)
    p.rect(20, 44, 130, 70, RED, r=6)                   # sofa back
    p.rect(10, 54, 28, 86, RED, r=5)                    # arms
    p.rect(122, 54, 140, 86, RED, r=5)
    p.rect(28, 66, 122, 86, CRIMSON)                    # seat
    p.line([(75, 66), (75, 86)])
    p.rect(34, 50, 56, 66, YELLOW, r=4)                 # cushions
    p.rect(94, 50, 116, 66, YELLOW, r=4)
    p.ellipse(30, 88, 120, 99, GOLD)                    # rug
    p.blob([(8, 30, 7), (16, 24, 7), (12, 36, 6)], GREEN)   # plant
    p.rect(4, 40, 20, 56, ORANGE)
    p.circle(136, 26, 10, PAPER)                        # clock
    p.line([(136, 26), (136, 19)])
    p.line([(136, 26), (141, 26)])


def watering(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 130, 18, 10, face=True)
    p.wave(70, 2, 1, GRASS)
    for x, y in ((100, 30), (112, 38), (124, 30), (136, 40)):   # drops onto the flowers
        p.ellipse(x - 3, y - 5, x + 3, y + 5, CYAN)
    flower(p, 96, 64, 8, petals=RED)
    flower(p, 126, 64, 8, petals=ORCHID)
    p.poly([(60, 46), (86, 22), (92, 28), (70, 54)], GREEN)   # spout
    p.ellipse(84, 18, 96, 32, GREEN)
    p.rect(16, 40, 66, 86, GREEN, r=4)                  # can
    p.ellipse(26, 20, 56, 48, LEAF)                     # handle (a loop)
    p.ellipse(32, 26, 50, 44, SKY)
    p.rect(16, 40, 66, 86, GREEN, r=4)
    p.rect(16, 56, 66, 64, YELLOW)
    p.circle(14, 82, 4, DARK_GREY)                      # a ladybird on the grass
    p.circle(20, 88, 7, RED)
    p.line([(20, 81), (20, 95)])
    p.dot(17, 86, 1.3)
    p.dot(23, 90, 1.3)


def swing(p):
    p.rect(0, 0, 150, 100, SKY)
    cloud(p, 104, 16, 26)
    sun(p, 134, 16, 9)
    p.wave(76, 2, 1, GRASS)
    p.rect(26, 20, 46, 88, BROWN)                       # trunk
    p.blob([(10, 22, 18), (36, 12, 18), (62, 20, 16), (84, 22, 12), (30, 34, 14)], LEAF)
    p.line([(68, 30), (68, 70)])                        # ropes
    p.line([(88, 28), (88, 70)])
    p.rect(60, 70, 96, 76, RED)                         # seat
    p.rect(104, 78, 144, 96, BROWN)                     # sandpit
    p.rect(108, 82, 140, 92, SAND)
    p.poly([(116, 82), (120, 72), (124, 82)], RED)
    p.circle(134, 84, 6, ORANGE)                        # a ball in it
    p.rect(6, 86, 12, 94, PAPER)                        # mushroom
    p.half(9, 87, 6, RED)


def birdhouse(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 130, 16, 9)
    cloud(p, 30, 14, 30)
    p.wave(86, 2, 1, GRASS)
    p.rect(68, 56, 80, 90, BROWN)                       # post
    p.rect(50, 30, 98, 62, SAND)
    p.poly([(44, 32), (74, 8), (104, 32)], RED)
    p.circle(74, 42, 7, CHOCOLATE)
    p.rect(66, 52, 82, 56, BROWN)
    for x, y, c in ((26, 54, BLUE), (122, 58, YELLOW)):   # birds
        p.ellipse(x - 12, y - 8, x + 12, y + 10, c)
        p.circle(x - 10, y - 8, 7, c)
        p.poly([(x - 17, y - 9), (x - 22, y - 7), (x - 17, y - 5)], ORANGE)
        p.ellipse(x - 4, y - 4, x + 8, y + 4, PAPER)
        p.dot(x - 11, y - 9, 1.2)
    for x, c in ((14, RED), (40, YELLOW), (110, ORCHID), (136, ORANGE)):
        flower(p, x, 80, 5, petals=c)


PICTURES = [
    Picture("house", house, 2, sample=True),
    Picture("garden", garden, 2),
    Picture("bedroom", bedroom, 2, sample=True),
    Picture("kitchen", kitchen, 2, sample=True, square=(15, 0, 100, 100)),
    Picture("livingroom", living_room, 1),
    Picture("watering", watering, 2, sample=True, square=(10, 0, 100, 100)),
    Picture("swing", swing, 1),
    Picture("birdhouse", birdhouse, 2),
]
