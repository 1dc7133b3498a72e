"""The 80 songs of the music list: public-domain melodies in our note language
(see melody.py). Codes run group by group: "11" ... "116", "21" ... "516".

Group 1 nursery rhymes, 2 folk and traditional songs, 3 classical themes,
4 holiday and world songs, 5 quiet songs and music-box arrangements.
"""
from melody import Tune

T = Tune

NURSERY = [
    T("Twinkle Twinkle Little Star", "C", "4/4", 100,
      "c c g g | a a g8 | f f e e | d d c8 | g g f f | e e d8 | g g f f | e e d8 |"
      " c c g g | a a g8 | f f e e | d d c8"),
    T("Mary Had a Little Lamb", "C", "4/4", 112,
      "e d c d | e e e8 | d d d8 | e g g8 | e d c d | e e e e | d d e d | c16"),
    T("Row Row Row Your Boat", "C", "6/8", 60,
      "c6 c6 | c4 d2 e6 | e4 d2 e4 f2 | g12 | c'2 c'2 c'2 g2 g2 g2 | e2 e2 e2 c2 c2 c2 |"
      " g4 f2 e4 d2 | c12"),
    T("Frere Jacques", "C", "4/4", 112,
      "c d e c | c d e c | e f g8 | e f g8 | g2 a2 g2 f2 e c | g2 a2 g2 f2 e c |"
      " c G c8 | c G c8"),
    T("London Bridge", "C", "4/4", 112,
      "g6 a2 g f | e f g8 | d e f8 | e f g8 | g6 a2 g f | e f g8 | d8 g8 | e c12"),
    T("Old MacDonald Had a Farm", "G", "4/4", 120,
      "g g g d | e e d8 | b b a a | g12 d | g g g d | e e d8 | b b a a | g16 |"
      " d2 d2 g g g | d2 d2 g g g | g2 g2 g4 g2 g2 g4 | g2 g2 g2 g2 g4 g4 | g g g d | e e d8 |"
      " b b a a | g16"),
    T("Hot Cross Buns", "C", "4/4", 100,
      "e d c8 | e d c8 | c2 c2 c2 c2 d2 d2 d2 d2 | e d c8"),
    T("Three Blind Mice", "C", "6/8", 64,
      "e6 d6 | c12 | e6 d6 | c12 | g6 f4 f2 | e12 | g6 f4 f2 | e10 g2 |"
      " c'4 c'2 b2 a2 b2 | c'4 g2 g4 g2 | c'2 c'2 c'2 b2 a2 b2 | c'4 g2 g4 f2 | e6 d6 | c12"),
    T("This Old Man", "C", "4/4", 120,
      "g e g8 | g e g8 | a g f e | d e f8 | e f g c | c c c2 d2 e2 f2 | g d d f | e d c8"),
    T("Itsy Bitsy Spider", "C", "6/8", 60,
      "G2 | c4 c2 c4 d2 | e6 e4 e2 | d4 c2 d4 e2 | c10 e2 | e6 e4 f2 | g6 g6 | f4 e2 f4 g2 |"
      " e10 c2 | c6 c4 d2 | e6 e6 | d4 c2 d4 e2 | c6 G4 G2 | c4 c2 c4 d2 | e6 e4 e2 |"
      " d4 c2 d4 e2 | c10", pickup=2),
    T("Pop Goes the Weasel", "C", "6/8", 64,
      "c4 c2 d4 d2 | e2 g2 e2 c6 | c4 c2 d4 d2 | e6 c6 | c4 c2 d4 d2 | e2 g2 e2 c4 z2 |"
      " g6 d4 f2 | e6 c6"),
    T("The Farmer in the Dell", "C", "6/8", 64,
      "G2 | c4 c2 c4 c2 | c6 z4 c2 | d4 d2 d4 d2 | d6 z4 g2 | g6 a4 g2 | e4 c2 d4 e2 |"
      " e4 d2 d4 e2 | c10", pickup=2),
    T("Baa Baa Black Sheep", "C", "4/4", 104,
      "c c g g | a2 a2 a2 a2 g8 | f f e e | d d c8 | g g2 g2 f f | e e2 e2 d8 |"
      " g g2 g2 f2 f2 f2 f2 | e e2 e2 d8 | c c g g | a2 a2 a2 a2 g8 | f f e e | d d c8"),
    T("Lightly Row", "C", "4/4", 112,
      "g e e8 | f d d8 | c d e f | g g g8 | g e e8 | f d d8 | c e g g | c16 |"
      " d d d d | d e f8 | e e e e | e f g8 | g e e8 | f d d8 | c e g g | c16"),
    T("All My Little Ducklings", "C", "4/4", 112,
      "c d e f | g8 g8 | a a a a | g16 | a a a a | g16 | f f f f | e8 e8 | d d d d | c16"),
    T("Good Morning to All", "C", "3/4", 100,
      "g3 g1 | a4 g4 c'4 | b8 g3 g1 | a4 g4 d'4 | c'8 g3 g1 | g'4 e'4 c'4 | b4 a4 f'3 f'1 |"
      " e'4 c'4 d'4 | c'8", pickup=4, transpose=-5),
]

FOLK = [
    T("Oh Susanna", "C", "4/4", 120,
      "c2 d2 | e g g6 a2 | g e c6 d2 | e e d c | d12 c2 d2 | e g g6 a2 | g e c6 d2 |"
      " e e d d | c12 z4 | f8 f8 | a a8 a | g g e c | d12 c2 d2 | e g g6 a2 | g e c6 d2 |"
      " e e d d | c12", pickup=4),
    T("Camptown Races", "C", "4/4", 132,
      "g2 g2 e2 g2 a2 g2 e4 | e2 d6 e2 d6 | g2 g2 e2 g2 a2 g2 e4 | d4 e2 d2 c8 |"
      " g2 g2 e2 g2 a2 g2 e4 | e2 d6 e2 d6 | g2 g2 e2 g2 a2 g2 e4 | d4 e2 d2 c8"),
    T("Yankee Doodle", "C", "4/4", 120,
      "c c d e | c e d G | c c d e | c8 B8 | c c d e | f e d c | B G A B | c8 c8"),
    T("Clementine", "C", "3/4", 100,
      "c3 c1 c4 G4 | e3 e1 e4 c4 | c3 e1 g6 g2 | f2 e2 d8 | d3 e1 f4 f4 | e3 d1 e4 c4 |"
      " c3 e1 d6 G2 | B2 d2 c8"),
    T("My Bonnie", "C", "3/4", 120,
      "G4 | e4 d4 c4 | d4 c4 A4 | G4 E8 | z8 G4 | e4 d4 c4 | c4 B4 c4 | d12 | z8 G4 |"
      " e4 d4 c4 | d4 c4 A4 | G4 E8 | z8 G4 | A4 d4 c4 | B4 A4 B4 | c12 | z8",
      pickup=4, transpose=5),
    T("Auld Lang Syne", "C", "4/4", 84,
      "G | c6 c2 c e | d6 c2 d e2 d2 | c6 c2 e g | a12 a | g6 e2 e c | d6 c2 d e2 d2 |"
      " c6 A2 A G | c12", pickup=4, transpose=5),
    T("When the Saints", "C", "4/4", 132,
      "c e f | g16 | z4 c e f | g16 | z4 c e f | g8 e8 | c8 e8 | d16 | z4 e e d | c12 c4 |"
      " e8 g8 | g4 f12 | z4 e f g | e8 c8 | d8 d8 | c16", pickup=12),
    T("Go Tell Aunt Rhody", "C", "4/4", 108,
      "e8 e d | c8 c8 | d d f e | d c e8 | e8 e d | c8 c8 | d d e d | c16"),
    T("Did You Ever See a Lassie", "C", "3/4", 132,
      "g6 a2 g2 f2 | e4 c4 c4 | d4 G4 G4 | e4 c4 c4 | g6 a2 g2 f2 | e4 c4 c4 | d4 G4 B4 |"
      " c12 | d4 G4 G4 | e4 c4 c4 | d4 G4 G4 | e4 c4 c4 | g6 a2 g2 f2 | e4 c4 c4 |"
      " d4 G4 B4 | c12"),
    T("Early in the Morning", "Dm", "4/4", 120,
      "a2 a1 a1 a2 a1 a1 a2 d2 f2 a2 | g2 g1 g1 g2 g1 g1 g2 c2 e2 g2 |"
      " a2 a1 a1 a2 a1 a1 a2 b2 c'2 d'2 | c'2 a2 g2 e2 d4 d4 |"
      " a8 a2 d2 f2 a2 | g8 g2 c2 e2 g2 | a8 a2 b2 c'2 d'2 | c'2 a2 g2 e2 d4 d4",
      chords="Dm C Dm Dm Dm C Dm Dm", segment=16),
    T("Korobeiniki", "Am", "4/4", 120,
      "e'4 b2 c'2 d'4 c'2 b2 | a4 a2 c'2 e'4 d'2 c'2 | b6 c'2 d'4 e'4 | c'4 a4 a8 |"
      " z2 d'4 f'2 a'4 g'2 f'2 | e'6 c'2 e'4 d'2 c'2 | b4 b2 c'2 d'4 e'4 | c'4 a4 a8",
      transpose=-12, chords="Am E Am E7 Dm Am E Am", segment=16),
    T("Daisy Bell", "C", "3/4", 150,
      "g12 | e12 | c12 | G12 | A4 B4 c4 | A8 c4 | G12 | z12 | d12 | g12 | e12 | c12 |"
      " A4 B4 c4 | d8 e4 | d12 | z12 | c8 e4 | d8 G4 | c8 e4 | d4 e4 f4 | g4 e4 c4 |"
      " d8 G4 | c12 | z12"),
    T("Michael Row the Boat", "C", "4/4", 100,
      "c e g6 e2 | g a g8 | e g a6 g2 | g16 | e f e6 d2 | c d c8 | d e d6 c2 | c16"),
    T("Skip to My Lou", "C", "4/4", 120,
      "e8 c8 | e4 e4 g8 | d8 B8 | d4 d4 f8 | e8 c8 | e4 e4 g8 | d4 e4 f4 d4 | c16"),
    T("Aura Lee", "C", "4/4", 84,
      "g c' b c' | d' a d'8 | c' b a b | c'16 | g c' b c' | d' a d'8 | c' b a b | c'16 |"
      " e' e' e'8 | e' e' e'8 | e' d' c' d' | e'16 | e' e' f' e' | d' a d'8 | c' b a b | c'16",
      transpose=-5),
    T("Westminster Chimes", "C", "4/4", 72,
      "e c d G8 z4 | G d e c8 z4 | e d c G8 z4 | G d e c8 z4", style="arpeggio", segment=16),
]

CLASSICAL = [
    T("Ode to Joy", "C", "4/4", 112,
      "e e f g | g f e d | c c d e | e6 d2 d8 | e e f g | g f e d | c c d e | d6 c2 c8 |"
      " d d e c | d e2 f2 e c | d e2 f2 e d | c d G8 | e e f g | g f e d | c c d e | d6 c2 c8"),
    T("Eine Kleine Nachtmusik", "G", "4/4", 120,
      "g4 z2 d2 g4 z2 d2 | g2 d2 g2 b2 d'4 z4 | c'4 z2 a2 c'4 z2 a2 | c'2 a2 ^f2 a2 d4 z4 |"
      " g4 z2 d2 g4 z2 d2 | g2 d2 g2 b2 d'4 z4 | c'4 z2 a2 c'4 z2 a2 | ^f2 a2 d'2 ^f2 g8",
      chords="G G G G D D D D G G G G D D D G", segment=8),
    T("Fur Elise", "Am", "3/4", 100,
      "e'2 ^d'2 | e'2 ^d'2 e'2 b2 d'2 c'2 | a6 c2 e2 a2 | b6 e2 ^g2 b2 | c'6 e2 e'2 ^d'2 |"
      " e'2 ^d'2 e'2 b2 d'2 c'2 | a6 c2 e2 a2 | b6 e2 c'2 b2 | a8", pickup=4,
      chords="Am Am E Am Am Am E Am"),
    T("Minuet in G", "G", "3/4", 120,
      "d'4 g2 a2 b2 c'2 | d'4 g4 g4 | e'4 c'2 d'2 e'2 ^f'2 | g'4 g4 g4 | c'4 d'2 c'2 b2 a2 |"
      " b4 c'2 b2 a2 g2 | ^f4 g2 a2 b2 g2 | a12 | d'4 g2 a2 b2 c'2 | d'4 g4 g4 |"
      " e'4 c'2 d'2 e'2 ^f'2 | g'4 g4 g4 | c'4 d'2 c'2 b2 a2 | b4 c'2 b2 a2 g2 |"
      " a4 b2 a2 g2 ^f2 | g12", transpose=-12),
    T("Canon in D", "D", "4/4", 60,
      "^f'8 e'8 | d'8 ^c'8 | b8 a8 | b8 ^c'8 | d'8 ^c'8 | b8 a8 | g8 ^f8 | g8 a8 |"
      " ^f'4 e'4 d'4 ^c'4 | b4 a4 b4 ^c'4 | d'4 ^c'4 b4 a4 | g4 ^f4 g4 e4 |"
      " d4 ^f4 a4 g4 | ^f4 d4 ^f4 e4 | d4 B4 d4 a4 | g4 b4 a4 g4",
      transpose=-12, chords="D A Bm F#m G D G A", style="arpeggio"),
    T("Morning Mood", "C", "6/8", 56,
      "g2 e2 d2 c2 d2 e2 | g2 e2 d2 c2 d2 e2 | g2 e2 g2 a2 e2 a2 | g2 e2 d2 c6 |"
      " g2 e2 d2 c2 d2 e2 | g2 e2 d2 c2 d2 e2 | g2 e2 g2 a2 e2 a2 | g2 e2 d2 c6",
      style="arpeggio"),
    T("Hall of the Mountain King", "Am", "4/4", 112,
      "a2 b2 c'2 d'2 e'2 c'2 e'4 | ^d'2 b2 ^d'4 d'2 _b2 d'4 | a2 b2 c'2 d'2 e'2 c'2 e'2 a'2 |"
      " g'2 e'2 c'2 e'2 g'8 | a2 b2 c'2 d'2 e'2 c'2 e'4 | ^d'2 b2 ^d'4 d'2 _b2 d'4 |"
      " a2 b2 c'2 d'2 e'2 c'2 e'2 a'2 | g'2 e'2 c'2 e'2 a8", transpose=-12,
      chords="Am E Am C Am E Am Am", segment=16),
    T("Can-Can", "C", "4/4", 138,
      "c8 d2 f2 e2 d2 | g4 g4 g2 a2 e2 f2 | d4 d4 d2 f2 e2 d2 | c2 c'2 b2 a2 g2 f2 e2 d2 |"
      " c8 d2 f2 e2 d2 | g4 g4 g2 a2 e2 f2 | d4 d4 d2 f2 e2 d2 | c2 g2 e2 d2 c8",
      chords="C G G C C G G C", segment=16),
    T("Blue Danube", "C", "3/4", 160,
      "c4 | c4 e4 g4 | g8 z4 | z4 g'4 g'4 | z4 e'4 e'4 | c4 c4 e4 | g8 z4 | z4 g'4 g'4 |"
      " z4 f'4 f'4 | B4 B4 d4 | a8 z4 | z4 a'4 a'4 | z4 f'4 f'4 | B4 B4 d4 | a8 z4 |"
      " z4 a'4 a'4 | z4 g'4 g'4 | c4 c4 e4 | g8 z4 | z4 c''4 c''4 | z4 g'4 g'4 |"
      " c4 c4 e4 | g8 z4 | z4 c''4 c''4 | z4 a'4 a'4 | d4 d4 f4 | a8 z4 | g4 g4 b4 |"
      " c'8", pickup=4, transpose=-5,
      chords="C C C C C C C G G G G G G G G C C C C C C C C F F G G C"),
    T("Turkish March", "Am", "2/4", 100,
      "b1 a1 ^g1 a1 | c'8 | d'1 c'1 b1 c'1 e'8 | f'1 e'1 ^d'1 e'1 b'1 a'1 ^g'1 a'1 |"
      " b'1 a'1 ^g'1 a'1 c''4 | a'2 c''2 | b'2 a'2 ^g'2 a'2 | b'2 a'2 ^g'2 a'2 |"
      " b'2 a'2 ^g'2 ^f'2 | e'8", pickup=4, transpose=-12,
      chords="Am Am Am Am Am E E E Am", segment=4),
    T("Surprise Symphony", "C", "2/4", 100,
      "c2 c2 e2 e2 | g2 g2 e4 | f2 f2 d2 d2 | B2 B2 G4 | c2 c2 e2 e2 | g2 g2 c'4 |"
      " f2 d2 B2 G2 | c4 z4", chords="C C G G C C G C"),
    T("Going Home", "C", "4/4", 66,
      "e6 g2 g8 | e6 d2 c8 | d e g e | d16 | e6 g2 g8 | e6 d2 c8 | d e d c | c16",
      style="arpeggio"),
    T("The Entertainer", "C", "2/4", 76,
      "d1 ^d1 | e1 c'2 e1 c'2 e1 c'1 | c'6 c'1 d'1 | ^d'1 e'1 c'1 d'1 e'2 b1 d'1 | c'6 d1 ^d1 |"
      " e1 c'2 e1 c'2 e1 c'1 | c'6 a1 g1 | ^f1 a1 c'1 e'1 e'1 d'1 c'1 a1 | d'6 d1 ^d1 |"
      " e1 c'2 e1 c'2 e1 c'1 | c'6 c'1 d'1 | ^d'1 e'1 c'1 d'1 e'2 b1 d'1 | c'6 c'1 d'1 |"
      " e'1 c'1 d'1 e'2 c'1 d'1 c'1 | e'1 c'1 d'1 e'2 c'1 d'1 c'1 | e'1 c'1 d'1 e'2 b2 d'1 |"
      " c'6", pickup=2, chords="C C G7 C C C D7 G C C G7 C C C G7 C"),
    T("Spring", "C", "4/4", 100,
      "c | e e e d2 c2 | g12 g2 f2 | e e e d2 c2 | g12 g2 f2 | e f2 g2 f e | d12 c |"
      " e e e d2 c2 | g12 g2 f2 | e e e d2 c2 | g12 g2 f2 | e f2 g2 f e | d8 c8", pickup=4),
    T("Prelude in C", "C", "4/4", 66,
      "c2 e2 g2 c'2 e'2 g2 c'2 e'2 c2 e2 g2 c'2 e'2 g2 c'2 e'2 |"
      " c2 d2 a2 d'2 f'2 a2 d'2 f'2 c2 d2 a2 d'2 f'2 a2 d'2 f'2 |"
      " B2 d2 g2 d'2 f'2 g2 d'2 f'2 B2 d2 g2 d'2 f'2 g2 d'2 f'2 |"
      " c2 e2 g2 c'2 e'2 g2 c'2 e'2 c2 e2 g2 c'2 e'2 g2 c'2 e'2 |"
      " c2 e2 a2 e'2 a'2 a2 e'2 a'2 c2 e2 a2 e'2 a'2 a2 e'2 a'2 |"
      " c2 d2 ^f2 a2 d'2 ^f2 a2 d'2 c2 d2 ^f2 a2 d'2 ^f2 a2 d'2 |"
      " B2 d2 g2 d'2 g'2 g2 d'2 g'2 B2 d2 g2 d'2 g'2 g2 d'2 g'2 |"
      " B2 c2 e2 g2 c'2 e2 g2 c'2 B2 c2 e2 g2 c'2 e2 g2 c'2 |"
      " A2 c2 e2 g2 c'2 e2 g2 c'2 A2 c2 e2 g2 c'2 e2 g2 c'2 |"
      " D2 A2 d2 ^f2 c'2 d2 ^f2 c'2 D2 A2 d2 ^f2 c'2 d2 ^f2 c'2 |"
      " G2 B2 d2 g2 b2 d2 g2 b2 G2 B2 d2 g2 b2 d2 g2 b2 |"
      " C2 G2 c2 e2 g2 c2 e2 g2 C2 G2 c2 e2 g2 c2 e2 g2",
      style="drone", chords="C Dm G C Am D G C Am D G C", segment=16),
    T("Jesu Joy of Man's Desiring", "G", "9/8", 44,
      "g2 a2 b2 d'2 c'2 c'2 e'2 d'2 d'2 | g'2 ^f'2 g'2 d'2 b2 g2 a2 b2 c'2 |"
      " d'2 e'2 d'2 c'2 b2 a2 b2 g2 ^f2 | g2 a2 d2 ^f2 a2 c'2 b2 a2 b2 |"
      " g2 a2 b2 d'2 c'2 c'2 e'2 d'2 d'2 | g'2 ^f'2 g'2 d'2 b2 g2 a2 b2 c'2 |"
      " d'2 e'2 d'2 c'2 b2 a2 b2 g2 ^f2 | g2 d2 ^f2 g12",
      chords="G C G D G C G G", segment=18),
]

HOLIDAY = [
    T("Jingle Bells", "C", "4/4", 132,
      "e e e8 | e e e8 | e g c6 d2 | e16 | f f f6 f2 | f e e e2 e2 | e d d e | d8 g8 |"
      " e e e8 | e e e8 | e g c6 d2 | e16 | f f f6 f2 | f e e e2 e2 | g g f d | c16"),
    T("Deck the Halls", "C", "4/4", 120,
      "g6 f2 e d | c d e c | d2 e2 f2 d2 e6 d2 | c B c8 | g6 f2 e d | c d e c |"
      " d2 e2 f2 d2 e6 d2 | c B c8 | d6 e2 f d | e6 f2 g d | e2 f2 g a2 b2 c' | b a g8 |"
      " g6 f2 e d | c d e c | a2 a2 a2 a2 g6 f2 | e d c8"),
    T("We Wish You a Merry Christmas", "C", "3/4", 132,
      "G4 | c4 c2 d2 c2 B2 | A4 A4 A4 | d4 d2 e2 d2 c2 | B4 G4 G4 | e4 e2 f2 e2 d2 |"
      " c4 A4 G2 G2 | A4 d4 B4 | c8", pickup=4, transpose=5),
    T("Silent Night", "C", "6/8", 48,
      "g6 a2 g4 e12 | g6 a2 g4 e12 | d'8 d'4 b12 | c'8 c'4 g12 | a8 a4 c'6 b2 a4 |"
      " g6 a2 g4 e12 | a8 a4 c'6 b2 a4 | g6 a2 g4 e12 | d'8 d'4 f'6 d'2 b4 | c'12 e'12 |"
      " c'4 g4 e4 g6 f2 d4 | c24", segment=12),
    T("Good King Wenceslas", "G", "4/4", 112,
      "g g g a | g g d8 | e d e ^f | g8 g8 | g g g a | g g d8 | e d e ^f | g8 g8 |"
      " d' c' b a | b a g8 | e d e ^f | g8 g8 | d d e ^f | g g a8 | d' c' b a | g8 c'8 | g16"),
    T("Joy to the World", "C", "4/4", 96,
      "c'8 b6 a2 | g12 f4 | e8 d8 | c12 g4 | a12 a4 | b12 b4 | c'12 c'4 | c' b a g |"
      " g6 f2 e c' | c' b a g | g6 f2 e e | e e e e2 f2 | g12 f2 e2 | d d d d2 e2 |"
      " f12 e2 d2 | c c'8 a | g6 f2 e f | e8 d8 | c16", transpose=-5),
    T("O Christmas Tree", "F", "3/4", 100,
      "c4 | f3 f1 f6 g2 | a3 a1 a6 a2 | g2 a2 _b4 e4 | g4 f4 c4 | f3 f1 f6 g2 |"
      " a3 a1 a6 a2 | g2 a2 _b4 e4 | g4 f8", pickup=4),
    T("The First Noel", "C", "3/4", 120,
      "e2 d2 | c6 d2 e2 f2 | g8 a2 b2 | c'4 b4 a4 | g8 a2 b2 | c'4 b4 a4 | g4 a4 b4 |"
      " c'4 g4 f4 | e8 e2 d2 | c6 d2 e2 f2 | g8 c'2 b2 | a8 a4 | g12 | c'4 b4 a4 |"
      " g4 a4 b4 | c'4 g4 f4 | e8", pickup=4),
    T("O Come All Ye Faithful", "G", "4/4", 96,
      "g | g8 d g | a8 d8 | b a b c' | b8 a g | g8 ^f e | ^f g a b | ^f8 e6 d2 | d12",
      pickup=4),
    T("Away in a Manger", "F", "3/4", 96,
      "c4 | f4 f4 g2 a2 | f4 f4 a2 _b2 | c'4 c'4 d'4 | _b8 g2 a2 | _b4 _b4 c'4 |"
      " a4 a4 f2 a2 | g4 d4 f4 | e8 c4 | f4 f4 g2 a2 | f4 f4 a2 _b2 | c'4 c'4 d'4 |"
      " _b8 g2 a2 | _b4 _b4 c'4 | a4 a4 f2 a2 | g4 d4 e4 | f8", pickup=4),
    T("Angels We Have Heard on High", "C", "4/4", 108,
      "e e e g | g6 f2 e8 | e d e g | e6 d2 c8 | e e e g | g6 f2 e8 | e d e g | e6 d2 c8 |"
      " g8 a2 g2 f2 e2 | f8 g2 f2 e2 d2 | e8 f2 e2 d2 c2 | d6 G2 G8 | c d e f | e8 d8 |"
      " g8 a2 g2 f2 e2 | f8 g2 f2 e2 d2 | e8 f2 e2 d2 c2 | d6 G2 G8 | c d e f | d8 c8"),
    T("Hark the Herald Angels Sing", "G", "4/4", 104,
      "d | g g6 ^f2 g b | b a d'8 | d' d'6 c'2 b a | b12 d | g g6 ^f2 g b | b a d'8 |"
      " d' a a6 ^f2 | ^f e d8 | e'6 e'2 e' d' | c' b c'8 | a b2 c'2 d'6 g2 | g a b8 |"
      " e'6 e'2 e' d' | c' b c'8 | a b2 c'2 d'6 g2 | g a g8", pickup=4, transpose=-2),
    T("Alouette", "C", "4/4", 120,
      "c6 d2 e e | d2 c2 d2 e2 c G | c6 d2 e e | d2 c2 d2 e2 c8 |"
      " c6 d2 e e | d2 c2 d2 e2 c G | c6 d2 e e | d2 c2 d2 e2 c8"),
    T("Au Clair de la Lune", "C", "4/4", 100,
      "c c c d | e8 d8 | c e d d | c16 | c c c d | e8 d8 | c e d d | c16 |"
      " d d d d | A8 A8 | d c B A | G16 | c c c d | e8 d8 | c e d d | c16"),
    T("Sakura", "Am", "4/4", 72,
      "a a b8 | a a b8 | a b c' b | a b2 a2 f8 | e c e f | e e2 c2 B8 | a b c' b |"
      " a b2 a2 f8 | e c e f | e e2 c2 B8 | a a b8 | a a b8 | e f b2 a2 f | e16",
      style="drone"),
    T("Cuckoo", "C", "3/4", 132,
      "g8 e4 | g8 e4 | f4 e4 d4 | c12 | d4 d4 e4 | f8 d4 | e4 e4 f4 | g8 e4 |"
      " g8 e4 | g8 e4 | f4 e4 d4 | c12"),
]

QUIET = [
    T("Brahms' Lullaby", "C", "3/4", 84,
      "e2 e2 | g8 e2 e2 | g8 e2 g2 | c'4 b6 a2 | a4 g4 d2 e2 | f4 d4 d2 e2 | f8 d2 f2 |"
      " b2 a2 g4 b4 | c'8 c2 c2 | c'8 a2 f2 | g8 e2 c2 | f4 g4 a4 | g8 c2 c2 | c'8 a2 f2 |"
      " g8 e2 c2 | f4 e4 d4 | c8", pickup=4, style="arpeggio"),
    T("Greensleeves", "Am", "6/8", 54,
      "a2 | c'4 d'2 e'3 f'1 e'2 | d'4 b2 g3 a1 b2 | c'4 a2 a3 ^g1 a2 | b4 ^g2 e4 a2 |"
      " c'4 d'2 e'3 f'1 e'2 | d'4 b2 g3 a1 b2 | c'3 b1 a2 ^g3 ^f1 ^g2 | a10 z2 |"
      " g'6 g'3 ^f'1 e'2 | d'4 b2 g3 a1 b2 | c'4 a2 a3 ^g1 a2 | b4 ^g2 e6 |"
      " g'6 g'3 ^f'1 e'2 | d'4 b2 g3 a1 b2 | c'3 b1 a2 ^g3 ^f1 ^g2 | a10",
      pickup=2, transpose=-12, style="arpeggio"),
    T("Amazing Grace", "C", "3/4", 80,
      "G4 | c8 e2 c2 | e8 d4 | c8 A4 | G8 G4 | c8 e2 c2 | e8 d2 e2 | g12 | g8 e4 |"
      " g8 e2 c2 | e8 d4 | c8 A4 | G8 G4 | c8 e2 c2 | e8 d4 | c8", pickup=4,
      transpose=5, style="arpeggio"),
    T("Swan Lake", "Bm", "4/4", 72,
      "^f'16 | b4 ^c'4 d'4 e'4 | ^f'12 d'4 | ^f'12 d'4 | ^f'12 b4 | d'4 b4 g4 d'4 | b16 | z16",
      transpose=-12, chords="Bm Bm D D Bm G Bm Bm", segment=16, style="arpeggio"),
    T("Symphony No. 40", "Gm", "4/4", 104,
      "_e2 d2 | d4 _e2 d2 d4 _e2 d2 | d4 _b4 z4 _b2 a2 | g4 g2 f2 _e4 _e2 d2 |"
      " c4 c4 z4 d2 c2 | c4 d2 c2 c4 d2 c2 | c4 a4 z4 a2 g2 | ^f4 ^f2 _e2 d4 d2 c2 |"
      " B4 B4 z4", pickup=4,
      chords="Gm Gm Gm Cm Cm D7 D7 D D Gm", segment=16),
]

# Gentle tunes played again as slow music-box arrangements.
MUSIC_BOX = ["Twinkle Twinkle Little Star", "Au Clair de la Lune", "Frere Jacques",
             "Ode to Joy", "Minuet in G", "Silent Night", "Lightly Row", "Hot Cross Buns",
             "Mary Had a Little Lamb", "London Bridge", "Jingle Bells"]


def _music_box(title):
    base = next(t for t in NURSERY + FOLK + CLASSICAL + HOLIDAY if t.title == title)
    return Tune(f"{title} (Music Box)", base.key, base.meter, max(40, int(base.tempo * 0.8)),
                base.melody, pickup=base.pickup, transpose=base.transpose + 12,
                chords=base.chords, style="musicbox", segment=base.segment)


GROUPS = [NURSERY, FOLK, CLASSICAL, HOLIDAY, QUIET + [_music_box(t) for t in MUSIC_BOX]]


def songs():
    """[(code, tune)] in music-list order: "11".."116", "21".., .."516"."""
    out = []
    for g, tunes in enumerate(GROUPS, start=1):
        if len(tunes) != 16:
            raise ValueError(f"group {g} has {len(tunes)} songs, not 16")
        for n, tune in enumerate(tunes, start=1):
            out.append((f"{g}{n}", tune))
    return out
