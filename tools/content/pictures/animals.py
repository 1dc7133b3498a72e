"""Animals: pets and farm and zoo animals, each in its own little scene."""
from lineart import *  # noqa: F401,F403  (the shape helpers and palette names)

TOPIC = "Con vật"


def cat(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 20, 20, 10)
    cloud(p, 118, 18, 34)
    p.wave(80, 2, 1.5, GRASS)
    p.ellipse(96, 70, 132, 84, ORANGE)                  # tail
    p.ellipse(50, 44, 104, 94, ORANGE)                  # body
    p.ellipse(62, 60, 92, 92, CREAM)                    # tummy
    p.ellipse(52, 82, 70, 96, ORANGE)                   # paws
    p.ellipse(86, 82, 104, 96, ORANGE)
    p.poly([(52, 30), (54, 4), (72, 18)], ORANGE)       # ears
    p.poly([(102, 30), (100, 4), (82, 18)], ORANGE)
    p.circle(77, 34, 24, ORANGE)                        # head
    p.poly([(57, 22), (58, 11), (66, 18)], PINK)
    p.poly([(97, 22), (96, 11), (88, 18)], PINK)
    p.ellipse(63, 24, 73, 38, LIME)                     # eyes
    p.ellipse(81, 24, 91, 38, LIME)
    p.dot(68, 32, 2.2)
    p.dot(86, 32, 2.2)
    p.poly([(73, 40), (81, 40), (77, 45)], PINK)        # nose
    p.line([(77, 45), (77, 48), (72, 51)])
    p.line([(77, 48), (82, 51)])


def dog(p):
    p.rect(0, 0, 150, 100, SKY)
    cloud(p, 40, 14, 36)
    p.wave(72, 1.5, 1, GRASS)
    p.poly([(94, 34), (120, 12), (146, 34)], RED)      # kennel roof
    p.rect(98, 34, 142, 86, SAND)
    p.rect(110, 56, 130, 86, BROWN, r=8)               # doorway
    p.rect(108, 40, 132, 50, PAPER)                     # name plate
    p.circle(126, 94, 5, RED)                           # bowl
    p.ellipse(88, 88, 104, 97, PAPER)                   # bone
    p.ellipse(30, 46, 86, 82, SAND)                     # body
    p.ellipse(38, 58, 56, 72, BROWN)                    # patch
    p.ellipse(78, 44, 92, 56, SAND)                     # tail
    p.rect(36, 74, 46, 94, SAND, r=3)                   # legs
    p.rect(50, 76, 60, 94, SAND, r=3)
    p.rect(66, 76, 76, 94, SAND, r=3)
    p.circle(32, 38, 18, SAND)                          # head
    p.ellipse(10, 28, 22, 56, BROWN)                    # ears
    p.ellipse(42, 28, 54, 56, BROWN)
    p.ellipse(24, 40, 40, 54, PAPER)                    # muzzle
    p.dot(32, 42, 3)
    p.ellipse(24, 28, 30, 36, PAPER)                    # eyes
    p.ellipse(34, 28, 40, 36, PAPER)
    p.dot(27, 32, 1.5)
    p.dot(37, 32, 1.5)
    p.line([(32, 45), (32, 50)])
    p.rect(20, 58, 44, 63, RED)                         # collar
    p.circle(32, 66, 3.5, YELLOW)


def rabbit(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 128, 18, 9)
    p.wave(70, 4, 1, LIME, phase=1)
    p.wave(82, 2, 2, LEAF)
    p.ellipse(86, 56, 118, 74, ORANGE)                  # carrot
    p.poly([(86, 58), (66, 50), (84, 64)], ORANGE)
    p.poly([(114, 60), (126, 48), (124, 58), (134, 54), (120, 66)], GREEN)
    p.ellipse(26, 44, 82, 94, SILVER)                   # body
    p.circle(78, 80, 7, PAPER)                          # tail
    p.ellipse(36, 82, 56, 96, SILVER)                   # feet
    p.ellipse(58, 84, 78, 98, SILVER)
    p.ellipse(22, 2, 36, 40, SILVER)                    # ears
    p.ellipse(40, 2, 54, 40, SILVER)
    p.ellipse(26, 8, 32, 34, ROSE)
    p.ellipse(44, 8, 50, 34, ROSE)
    p.circle(38, 44, 18, SILVER)                        # head
    p.dot(31, 40, 2.2)
    p.dot(45, 40, 2.2)
    p.ellipse(35, 46, 41, 50, PINK)
    p.line([(38, 50), (38, 54), (34, 56)])
    p.line([(38, 54), (42, 56)])


def hen(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 22, 18, 9)
    p.rect(0, 60, 150, 100, SAND)                       # farmyard
    p.rect(92, 30, 150, 60, RED)                        # barn behind the fence
    p.poly([(88, 32), (121, 6), (154, 32)], CRIMSON)
    p.rect(108, 40, 130, 60, PAPER)
    for x in range(4, 92, 16):                          # fence
        p.rect(x, 42, x + 10, 66, BROWN)
    p.rect(0, 48, 92, 54, BROWN)
    p.poly([(86, 56), (102, 48), (100, 66)], ORANGE)    # tail feathers
    p.ellipse(40, 52, 98, 90, PAPER)                    # body
    p.ellipse(58, 62, 86, 80, SILVER)                   # wing
    p.circle(42, 46, 13, PAPER)                         # head
    p.poly([(36, 34), (38, 26), (42, 32), (46, 25), (48, 34)], RED)   # comb
    p.poly([(29, 46), (20, 49), (29, 52)], GOLD)        # beak
    p.ellipse(33, 52, 38, 60, RED)                      # wattle
    p.dot(37, 43, 2)
    p.line([(60, 89), (58, 97)])
    p.line([(72, 89), (74, 97)])
    for x in (110, 130):                                 # chicks
        p.circle(x, 84, 8, YELLOW)
        p.circle(x - 6, 74, 5, YELLOW)
        p.poly([(x - 11, 73), (x - 15, 75), (x - 11, 77)], ORANGE)
        p.dot(x - 7, 73, 1)


def elephant(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 130, 16, 9)
    cloud(p, 74, 12, 30)
    p.wave(78, 2, 1, SAND)
    tree(p, 128, 80, 40, crown=LEAF)
    p.ellipse(46, 30, 116, 82, GREY)                    # body
    p.poly([(114, 52), (124, 62), (120, 64)], GREY)     # tail
    p.rect(54, 70, 68, 96, GREY, r=3)                   # legs
    p.rect(72, 72, 84, 96, GREY, r=3)
    p.rect(88, 72, 100, 96, GREY, r=3)
    p.rect(102, 70, 114, 96, GREY, r=3)
    p.ellipse(48, 24, 78, 68, SILVER)                   # ear behind the head
    p.circle(34, 42, 20, GREY)                          # head
    p.poly([(16, 48), (26, 52), (22, 76), (16, 88), (8, 88), (12, 76)], GREY)   # trunk
    p.poly([(28, 56), (38, 58), (26, 68)], PAPER)       # tusk
    p.ellipse(38, 30, 52, 56, SILVER)                   # front ear
    p.dot(28, 36, 2.2)
    p.rect(56, 26, 96, 34, RED, r=3)                    # blanket
    p.poly([(60, 34), (92, 34), (86, 54), (66, 54)], MAGENTA)


def giraffe(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 22, 18, 9)
    p.wave(84, 1.5, 1, SAND)
    tree(p, 124, 86, 56, crown=LEAF)
    p.poly([(58, 30), (70, 26), (80, 60), (64, 64)], GOLD)   # neck
    p.ellipse(54, 54, 108, 80, GOLD)                    # body
    for x in (60, 74, 90, 102):                          # legs
        p.rect(x - 4, 70, x + 3, 96, GOLD)
    p.line([(106, 60), (116, 74)])                      # tail
    p.circle(116, 76, 2.5, BROWN)
    for cx, cy, r in ((72, 66, 5), (88, 62, 5), (98, 70, 4), (66, 46, 3.6), (70, 34, 3)):
        p.circle(cx, cy, r, BROWN)
    p.line([(52, 16), (50, 6)])                         # horns
    p.line([(60, 14), (60, 4)])
    p.circle(50, 6, 2.5, BROWN)
    p.circle(60, 4, 2.5, BROWN)
    p.ellipse(38, 12, 68, 30, GOLD)                     # head
    p.ellipse(30, 18, 44, 32, SAND)                     # muzzle
    p.ellipse(62, 10, 74, 16, GOLD)                     # ear
    p.dot(50, 19, 2)
    p.dot(35, 24, 1)


def owl(p):
    p.rect(0, 0, 150, 100, NAVY)
    p.circle(128, 20, 12, LEMON)                        # moon
    for x, y in ((20, 14), (60, 10), (96, 24), (34, 40), (140, 52)):
        p.star(x, y, 7, 3, YELLOW)
    p.poly([(0, 78), (150, 70), (150, 80), (0, 88)], BROWN)   # branch
    p.ellipse(10, 62, 30, 72, LEAF)                     # leaves
    p.ellipse(120, 60, 142, 70, LEAF)
    p.ellipse(46, 28, 104, 86, BROWN)                   # body
    p.ellipse(58, 50, 92, 84, SAND)                     # chest
    p.ellipse(40, 44, 58, 78, CHOCOLATE)                # wings
    p.ellipse(92, 44, 110, 78, CHOCOLATE)
    p.poly([(48, 30), (52, 12), (62, 26)], BROWN)       # ear tufts
    p.poly([(102, 30), (98, 12), (88, 26)], BROWN)
    p.ellipse(48, 18, 102, 52, BROWN)                   # head
    p.circle(64, 34, 10, PAPER)                         # eyes
    p.circle(86, 34, 10, PAPER)
    p.circle(64, 34, 5, GOLD)
    p.circle(86, 34, 5, GOLD)
    p.dot(64, 34, 2)
    p.dot(86, 34, 2)
    p.poly([(71, 42), (79, 42), (75, 50)], ORANGE)      # beak
    for x in (64, 72, 80, 88):                           # toes on the branch
        p.ellipse(x - 3, 80, x + 3, 86, ORANGE)


def butterflies(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 132, 16, 9)
    p.wave(78, 2, 2, GRASS)
    flower(p, 16, 66, 7, petals=RED)
    flower(p, 136, 64, 7, petals=ORCHID)
    flower(p, 112, 76, 5, petals=YELLOW, heart=ORANGE)
    # The big butterfly
    p.ellipse(28, 10, 72, 52, PURPLE)                   # upper wings
    p.ellipse(78, 10, 122, 52, PURPLE)
    p.ellipse(38, 46, 72, 84, ORCHID)                   # lower wings
    p.ellipse(78, 46, 112, 84, ORCHID)
    p.circle(50, 30, 9, YELLOW)                         # spots
    p.circle(100, 30, 9, YELLOW)
    p.circle(56, 66, 6, AQUA)
    p.circle(94, 66, 6, AQUA)
    p.line([(75, 18), (64, 4)])                         # antennae
    p.line([(75, 18), (86, 4)])
    p.circle(64, 4, 2.5, BROWN)
    p.circle(86, 4, 2.5, BROWN)
    p.ellipse(70, 22, 80, 86, BROWN)                    # body
    p.circle(75, 18, 6, BROWN)
    # A small one
    p.ellipse(14, 20, 26, 32, ORANGE)
    p.ellipse(26, 20, 38, 32, ORANGE)
    p.ellipse(24, 22, 28, 36, BROWN)


def snail(p):
    p.rect(0, 0, 150, 100, SKY)
    cloud(p, 30, 16, 32)
    cloud(p, 112, 12, 26)
    p.wave(80, 1.5, 1, GRASS)
    p.ellipse(118, 48, 148, 68, LEAF)                   # leaf
    p.line([(120, 58), (146, 58)])
    p.poly([(10, 90), (22, 62), (120, 74), (136, 92)], LEMON)   # body
    p.line([(26, 66), (18, 40)])
    p.line([(34, 66), (34, 40)])
    p.circle(18, 38, 4, LEMON)
    p.circle(34, 38, 4, LEMON)
    p.dot(28, 74, 2)
    p.circle(78, 46, 34, ORANGE)                        # shell
    p.circle(78, 46, 25, GOLD)
    p.circle(78, 46, 16, ORANGE)
    p.circle(78, 46, 7, GOLD)
    p.circle(14, 92, 4, RED)                            # ladybird
    p.dot(13, 91, 1)


PICTURES = [
    Picture("cat", cat, 1, sample=True),
    Picture("dog", dog, 2, sample=True),
    Picture("rabbit", rabbit, 1, sample=True),
    Picture("hen", hen, 2),
    Picture("elephant", elephant, 2, sample=True),
    Picture("giraffe", giraffe, 2),
    Picture("owl", owl, 2, sample=True),
    Picture("butterflies", butterflies, 2),
    Picture("snail", snail, 1),
]
