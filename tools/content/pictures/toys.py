"""Toys and play: the toy box, the playground and the bath."""
import math

from lineart import *  # noqa: F401,F403

TOPIC = "Đồ chơi"


def room(p, wall=LEMON, floor=SAND, y=72):
    p.rect(0, 0, 150, 100, wall)
    p.rect(0, y, 150, 100, floor)


def teddy(p):
    room(p, wall=ICE)
    p.rect(104, 10, 140, 40, PAPER)                     # window
    p.line([(122, 10), (122, 40)])
    p.circle(40, 16, 8, RED)                            # balloon
    p.line([(40, 24), (44, 50)])
    p.circle(52, 24, 10, ORANGE)                        # ears
    p.circle(98, 24, 10, ORANGE)
    p.circle(52, 24, 5, PEACH)
    p.circle(98, 24, 5, PEACH)
    p.ellipse(38, 66, 60, 96, ORANGE)                   # legs
    p.ellipse(90, 66, 112, 96, ORANGE)
    p.ellipse(50, 50, 100, 94, ORANGE)                  # body
    p.ellipse(62, 62, 88, 88, PEACH)                    # tummy
    p.ellipse(36, 52, 56, 74, ORANGE)                   # arms
    p.ellipse(94, 52, 114, 74, ORANGE)
    p.circle(75, 34, 20, ORANGE)                        # head
    p.ellipse(65, 38, 85, 50, PEACH)
    p.dot(75, 41, 2.5)
    p.dot(68, 30, 2)
    p.dot(82, 30, 2)
    p.poly([(64, 52), (75, 58), (86, 52), (86, 62), (75, 56), (64, 62)], RED)   # bow
    p.circle(130, 84, 11, BLUE)                         # a ball and a block beside him
    p.chord(119, 73, 141, 95, 200, 340, YELLOW)
    p.rect(8, 76, 28, 96, LEAF)
    p.circle(18, 86, 5, PAPER)


def blocks(p):
    room(p, wall=MINT, floor=PEACH, y=80)
    p.rect(10, 56, 42, 88, RED)
    p.rect(42, 56, 74, 88, BLUE)
    p.rect(74, 56, 106, 88, YELLOW)
    p.rect(26, 24, 58, 56, LEAF)
    p.rect(58, 24, 90, 56, ORANGE)
    p.poly([(42, 24), (58, 2), (74, 24)], PURPLE)       # roof block
    p.circle(126, 74, 16, RED)                          # ball
    p.chord(110, 58, 142, 90, 200, 340, PAPER)
    p.line([(110, 74), (142, 74)])
    for x, y, c in ((26, 72, PAPER), (58, 72, PAPER), (90, 72, PAPER), (42, 40, PAPER), (74, 40, PAPER)):
        p.circle(x, y, 7, c)


def kite(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 20, 18, 10)
    cloud(p, 122, 70, 30)
    p.wave(84, 3, 1, GRASS)
    p.line([(70, 76), (60, 84), (40, 96)])              # string
    p.poly([(70, 4), (104, 36), (70, 76), (36, 36)], RED)
    p.line([(70, 4), (70, 76)])
    p.line([(36, 36), (104, 36)])
    p.line([(70, 76), (86, 82), (102, 78), (118, 84)])  # tail
    for x, y, c in ((86, 82, YELLOW), (102, 78, LIME), (118, 84, ORCHID)):
        p.poly([(x, y - 5), (x + 5, y), (x, y + 5), (x - 5, y)], c)
    p.circle(36, 94, 5, ORANGE)


def robot(p):
    room(p, wall=LAVENDER, floor=SILVER)
    p.line([(75, 16), (75, 6)])                         # antenna
    p.circle(75, 6, 4, RED)
    p.rect(50, 16, 100, 44, SILVER, r=4)                # head
    p.circle(64, 28, 6, YELLOW)
    p.circle(86, 28, 6, YELLOW)
    p.rect(64, 36, 86, 40, DARK_GREY)
    p.rect(66, 44, 84, 50, GREY)                        # neck
    p.rect(44, 50, 106, 84, BLUE, r=4)                  # body
    p.rect(56, 58, 94, 76, ICE)                         # panel
    p.circle(66, 67, 4, RED)
    p.circle(84, 67, 4, LIME)
    p.rect(30, 52, 42, 78, GREY, r=3)                   # arms
    p.rect(108, 52, 120, 78, GREY, r=3)
    p.circle(36, 82, 6, SILVER)
    p.circle(114, 82, 6, SILVER)
    p.rect(52, 84, 70, 96, GREY)                        # feet
    p.rect(80, 84, 98, 96, GREY)
    p.rect(8, 78, 26, 96, RED)                          # blocks on the floor
    p.rect(124, 78, 142, 96, YELLOW)
    p.rect(112, 12, 140, 36, PAPER)                     # a drawing on the wall
    p.circle(126, 24, 7, ORANGE)


def duck_bath(p):
    p.rect(0, 0, 150, 100, AQUA)                        # tiled wall
    for x in range(0, 150, 25):
        p.line([(x, 0), (x, 60)])
    for y in (20, 40):
        p.line([(0, y), (150, y)])
    p.line([(128, 0), (128, 12), (112, 20)], width=LINE + 2)   # the shower
    p.pie(96, 12, 120, 36, 180, 360, SILVER)
    for x, y in ((100, 30), (108, 34), (116, 30)):
        p.ellipse(x - 2, y, x + 2, y + 6, ICE)
    p.blob([(20, 56, 10), (36, 52, 11), (50, 58, 8), (112, 56, 9), (126, 52, 11), (138, 58, 8)], PAPER)   # foam
    p.ellipse(54, 34, 104, 66, YELLOW)                  # rubber duck
    p.poly([(96, 44), (108, 34), (104, 50)], YELLOW)    # its tail
    p.ellipse(66, 42, 90, 58, GOLD)                     # wing
    p.circle(60, 30, 12, YELLOW)
    p.poly([(50, 26), (36, 31), (50, 36)], ORANGE)
    p.dot(58, 26, 2)
    p.rect(2, 60, 148, 68, PAPER, r=3)                  # the tub's rim
    p.chord(6, 30, 144, 106, 0, 180, PAPER)             # the tub
    p.rect(18, 92, 28, 100, SILVER)                     # its feet
    p.rect(122, 92, 132, 100, SILVER)
    for x, y in ((24, 26), (38, 14), (132, 40)):        # bubbles
        p.circle(x, y, 5, ICE)


def drum(p):
    room(p, wall=CREAM, floor=ORANGE, y=80)
    p.ellipse(30, 30, 120, 50, PAPER)                   # drum top
    p.rect(30, 40, 120, 82, RED)
    p.ellipse(30, 72, 120, 92, RED)
    p.rect(30, 40, 120, 82, RED)
    for i in range(5):                                   # zigzag cords
        x = 30 + i * 18
        p.line([(x, 44), (x + 9, 80), (x + 18, 44)])
    p.rect(30, 40, 120, 46, YELLOW)
    p.ellipse(30, 30, 120, 50, PAPER)
    p.line([(18, 8), (60, 36)], width=LINE + 3)         # sticks
    p.line([(132, 8), (90, 36)], width=LINE + 3)
    p.circle(18, 8, 5, BROWN)
    p.circle(132, 8, 5, BROWN)


def sandcastle(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 130, 16, 9)
    p.wave(38, 2, 3, CYAN)
    p.rect(0, 46, 150, 100, SAND)
    p.rect(36, 50, 114, 90, GOLD)                       # walls
    p.rect(26, 30, 50, 90, GOLD)                        # towers
    p.rect(100, 30, 124, 90, GOLD)
    p.rect(60, 24, 90, 60, GOLD)
    for x in (26, 42, 100, 116):
        p.rect(x, 24, x + 8, 30, GOLD)
    p.poly([(75, 24), (75, 4), (90, 10), (75, 14)], RED)   # flag
    p.chord(64, 66, 86, 110, 180, 360, BROWN)           # gate
    p.rect(32, 42, 44, 54, BROWN, r=5)
    p.rect(106, 42, 118, 54, BROWN, r=5)
    p.rect(6, 70, 22, 92, BLUE)                          # bucket
    p.rect(4, 66, 24, 72, BLUE)
    p.poly([(130, 92), (142, 62), (146, 64), (136, 94)], RED)   # spade


def slide(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 22, 18, 10, face=True)
    cloud(p, 80, 14, 30)
    p.wave(76, 2, 1, GRASS)
    p.rect(100, 26, 106, 90, RED)                       # ladder
    p.rect(126, 26, 132, 90, RED)
    for y in (38, 50, 62, 74):
        p.rect(106, y, 126, y + 4, YELLOW)
    p.rect(96, 20, 136, 28, BLUE)                       # platform
    p.poly([(100, 22), (40, 82), (28, 82), (28, 90), (46, 90), (106, 30)], YELLOW)   # the slide
    p.circle(20, 88, 7, ORANGE)                         # ball
    flower(p, 60, 80, 5, petals=PINK, stem=False)


def balloons(p):
    p.rect(0, 0, 150, 100, SKY)
    cloud(p, 24, 20, 30)
    cloud(p, 128, 28, 28)
    p.wave(86, 2, 1, GRASS)
    for x, y, c in ((46, 30, RED), (75, 20, YELLOW), (104, 30, BLUE), (60, 50, LIME), (90, 50, ORCHID)):
        p.line([(x, y + 16), (75, 88)])
    for x, y, c in ((46, 30, RED), (75, 20, YELLOW), (104, 30, BLUE), (60, 50, LIME), (90, 50, ORCHID)):
        p.ellipse(x - 13, y - 16, x + 13, y + 16, c)
        p.poly([(x - 3, y + 19), (x, y + 15), (x + 3, y + 19)], c)
    p.rect(68, 84, 82, 96, PURPLE)                      # the present they are tied to
    p.rect(73, 84, 77, 96, YELLOW)


PICTURES = [
    Picture("teddy", teddy, 2, sample=True, square=(10, 0, 100, 100)),
    Picture("blocks", blocks, 1, sample=True, square=(5, 0, 100, 100)),
    Picture("kite", kite, 1, sample=True),
    Picture("robot", robot, 2, sample=True),
    Picture("rubberduck", duck_bath, 2),
    Picture("drum", drum, 1),
    Picture("sandcastle", sandcastle, 2),
    Picture("slide", slide, 2),
    Picture("balloons", balloons, 1),
]
