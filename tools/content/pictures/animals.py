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
    p.poly([(57, 26), (58, 10), (69, 19)], PINK)      # inner ears
    p.poly([(97, 26), (96, 10), (85, 19)], PINK)
    p.ellipse(63, 24, 73, 38, LIME)                     # eyes
    p.ellipse(81, 24, 91, 38, LIME)
    p.dot(68, 32, 2.2)
    p.dot(86, 32, 2.2)
    p.poly([(73, 40), (81, 40), (77, 45)], PINK)        # nose
    p.line([(77, 45), (77, 48)])
    p.arc(74, 48, 3, 0, 180)                            # a smile under the nose
    p.arc(80, 48, 3, 0, 180)
    for y in (40, 45):                                  # whiskers
        p.line([(58, y - 2), (68, y)])
        p.line([(96, y - 2), (86, y)])


def dog(p):
    p.rect(0, 0, 150, 100, SKY)
    cloud(p, 72, 14, 34)
    p.wave(70, 1.5, 1, GRASS)
    p.poly([(2, 34), (26, 12), (50, 34)], RED)         # kennel roof
    p.rect(6, 34, 46, 84, SAND)
    p.rect(16, 52, 36, 84, BROWN, r=8)                 # doorway
    p.rect(14, 38, 38, 46, PAPER)                       # name plate
    p.ellipse(8, 88, 38, 98, RED)                       # bowl
    p.ellipse(12, 86, 34, 92, BROWN)
    p.poly([(58, 56), (48, 34), (54, 32), (66, 52)], SAND)   # tail up, wagging
    for x in (64, 78, 100, 114):                         # legs
        p.rect(x - 5, 70, x + 5, 94, SAND, r=3)
    p.ellipse(56, 44, 124, 82, SAND)                    # body
    p.ellipse(70, 52, 94, 70, BROWN)                    # patch
    p.ellipse(106, 16, 120, 50, BROWN)                  # ear behind
    p.circle(122, 36, 18, SAND)                         # head
    p.ellipse(124, 40, 148, 58, PAPER)                  # muzzle
    p.dot(142, 44, 3)
    p.arc(138, 50, 5, 20, 140)
    p.dot(124, 30, 2.4)
    p.ellipse(100, 18, 116, 52, BROWN)                  # front ear


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
    p.line([(38, 50), (38, 52)])
    p.arc(35.5, 52, 2.5, 0, 180)
    p.arc(40.5, 52, 2.5, 0, 180)


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
    p.poly([(88, 60), (104, 40), (112, 50), (102, 72)], ORANGE)   # tail feathers
    p.poly([(90, 66), (112, 56), (114, 66), (98, 76)], RED)
    p.ellipse(40, 52, 98, 90, PAPER)                    # body
    p.ellipse(58, 60, 88, 80, SILVER)                   # wing
    p.blob([(37, 30, 4), (43, 28, 4.5), (49, 30, 4)], RED)   # comb
    p.circle(43, 44, 13, PAPER)                         # head
    p.poly([(32, 38), (16, 45), (32, 52)], GOLD)        # beak
    p.ellipse(32, 50, 39, 60, RED)                      # wattle
    p.dot(39, 41, 2)
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
    p.rect(54, 70, 68, 96, GREY, r=3)                   # legs
    p.rect(72, 72, 84, 96, GREY, r=3)
    p.rect(88, 72, 100, 96, GREY, r=3)
    p.rect(102, 70, 114, 96, GREY, r=3)
    p.line([(114, 52), (124, 66)])                      # tail
    p.ellipse(121, 64, 129, 72, DARK_GREY)
    p.ellipse(48, 24, 78, 68, SILVER)                   # ear behind the head
    p.poly([(18, 44), (30, 50), (26, 70), (22, 80), (28, 86), (22, 92), (12, 84), (14, 70)], GREY)   # trunk
    p.circle(34, 42, 20, GREY)                          # head
    p.poly([(26, 56), (38, 60), (24, 68)], PAPER)       # tusk
    p.ellipse(38, 28, 54, 58, SILVER)                   # front ear
    p.dot(28, 36, 2.2)
    p.arc(34, 50, 6, 20, 140)
    p.ellipse(64, 28, 102, 44, RED)                     # a little blanket with a tassel
    p.circle(83, 47, 3.5, YELLOW)


def giraffe(p):
    p.rect(0, 0, 150, 100, SKY)
    sun(p, 132, 16, 9)
    cloud(p, 88, 14, 28)
    p.wave(84, 1.5, 1, SAND)
    tree(p, 128, 88, 60, crown=LEAF)
    for x in (58, 70, 96, 108):                          # legs
        p.rect(x - 4, 66, x + 4, 96, GOLD)
    p.line([(114, 56), (124, 74)])                      # tail
    p.ellipse(120, 72, 128, 80, BROWN)
    p.poly([(48, 60), (64, 56), (50, 16), (36, 20)], GOLD)   # neck
    p.ellipse(48, 40, 118, 76, GOLD)                    # body
    for cx, cy, r in ((64, 58, 6), (82, 52, 6), (100, 60, 6), (84, 66, 4.5), (50, 40, 4), (44, 28, 3.5)):
        p.circle(cx, cy, r, BROWN)
    p.line([(34, 10), (32, 2)])                         # horns
    p.line([(44, 8), (46, 0)])
    p.circle(32, 3, 3, BROWN)
    p.circle(46, 2, 3, BROWN)
    p.ellipse(48, 6, 62, 14, GOLD)                      # ear
    p.ellipse(16, 6, 52, 28, GOLD)                      # head
    p.ellipse(8, 14, 28, 30, SAND)                      # muzzle
    p.dot(36, 14, 2.4)
    p.dot(14, 20, 1.2)
    p.arc(20, 22, 4, 20, 140)


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
    p.circle(63, 34, 11, PAPER)                         # eyes
    p.circle(87, 34, 11, PAPER)
    p.circle(63, 34, 7, GOLD)
    p.circle(87, 34, 7, GOLD)
    p.dot(63, 34, 2.6)
    p.dot(87, 34, 2.6)
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
    p.poly([(6, 92), (10, 72), (20, 60), (32, 62), (42, 76), (128, 80), (142, 92)], LEMON)   # body
    p.line([(18, 62), (12, 38)])                        # feelers
    p.line([(28, 62), (32, 38)])
    p.circle(12, 36, 4, LEMON)
    p.circle(32, 36, 4, LEMON)
    p.dot(18, 70, 2)
    p.arc(22, 76, 5, 20, 140)
    p.circle(78, 46, 34, ORANGE)                        # shell
    p.circle(78, 46, 25, GOLD)
    p.circle(78, 46, 16, ORANGE)
    p.circle(78, 46, 7, GOLD)
    p.circle(14, 92, 4, RED)                            # ladybird
    p.dot(13, 91, 1)


PICTURES = [
    Picture("cat", cat, 1, sample=True),
    Picture("dog", dog, 2, sample=True, square=(48, 0, 100, 100)),
    Picture("rabbit", rabbit, 1, sample=True, square=(20, 0, 100, 100)),
    Picture("hen", hen, 2),
    Picture("elephant", elephant, 2, sample=True, square=(12, 0, 100, 100)),
    Picture("giraffe", giraffe, 2),
    Picture("owl", owl, 2, sample=True),
    Picture("butterflies", butterflies, 2),
    Picture("snail", snail, 1),
]
