"""A small note language for the songs, and a simple harmoniser.

A melody is a string of space-separated tokens. A note is an optional
accidental (^ sharp, _ flat), a letter (c..b for the octave from middle C,
C..B for the octave below), any number of ' (octave up) or , (octave down),
then an optional length in sixteenths (default 4, a quarter note). `z` is a
rest. `|` marks bar lines for the reader and is ignored.
"""
import re
from dataclasses import dataclass, field

_TOKEN = re.compile(r"^([_^=]?)([a-gA-GzZ])([',]*)(\d*)$")
_STEP = {"c": 0, "d": 2, "e": 4, "f": 5, "g": 7, "a": 9, "b": 11}

METERS = {  # bar length and beat length in sixteenths
    "2/4": (8, 4),
    "3/4": (12, 4),
    "4/4": (16, 4),
    "6/8": (12, 6),
    "9/8": (18, 6),
}


@dataclass
class Note:
    start: int          # sixteenths from the start of the tune
    length: int         # sixteenths
    pitch: int | None   # MIDI number, None for a rest


def parse(text):
    notes, t = [], 0
    for token in text.split():
        if token == "|":
            continue
        m = _TOKEN.match(token)
        if not m:
            raise ValueError(f"bad note {token!r}")
        accidental, letter, octaves, length = m.groups()
        length = int(length) if length else 4
        if length <= 0:
            raise ValueError(f"bad length in {token!r}")
        if letter in "zZ":
            pitch = None
        else:
            pitch = 60 + _STEP[letter.lower()] - (12 if letter.isupper() else 0)
            pitch += 12 * octaves.count("'") - 12 * octaves.count(",")
            pitch += {"^": 1, "_": -1}.get(accidental, 0)
        notes.append(Note(t, length, pitch))
        t += length
    return notes


_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def key_tonic(key):
    """'G' -> 7, 'Bb' -> 10, 'F#m' -> 6; returns (tonic pitch class, minor?)."""
    m = re.match(r"^([A-G])([#b]?)(m?)$", key)
    if not m:
        raise ValueError(f"bad key {key!r}")
    pc = _NAMES[m.group(1)] + {"#": 1, "b": -1}.get(m.group(2), 0)
    return pc % 12, bool(m.group(3))


def chord_from_name(name):
    """'Am' -> (9, 'min'); 'G' -> (7, 'maj'); 'E7' -> (4, 'dom7')."""
    m = re.match(r"^([A-G])([#b]?)(m?)(7?)$", name)
    if not m:
        raise ValueError(f"bad chord {name!r}")
    root = (_NAMES[m.group(1)] + {"#": 1, "b": -1}.get(m.group(2), 0)) % 12
    if m.group(3):
        return root, "min"
    return root, "dom7" if m.group(4) else "maj"


def chord_intervals(quality):
    return {"maj": (0, 4, 7), "min": (0, 3, 7), "dom7": (0, 4, 7, 10)}[quality]


def chord_tones(chord):
    root, quality = chord
    return {(root + i) % 12 for i in chord_intervals(quality)}


def candidates(tonic, minor):
    """Chords of the key with a prior liking for each (tonic and dominant first)."""
    if minor:
        degrees = [(0, "min", 2.0), (5, "min", 1.2), (7, "dom7", 1.5), (8, "maj", 0.4),
                   (3, "maj", 0.4), (10, "maj", 0.3)]
    else:
        degrees = [(0, "maj", 2.0), (5, "maj", 1.2), (7, "dom7", 1.5), (9, "min", 0.3),
                   (2, "min", 0.1), (4, "min", 0.0)]
    return [((tonic + step) % 12, quality, prior) for step, quality, prior in degrees]


def harmonise(notes, tonic, minor, segment, offset):
    """Picks one chord per segment of the tune (segments start at `offset`,
    the end of the pick-up). Notes on strong beats and long notes count most;
    the last segment always ends on the tonic chord."""
    end = notes[-1].start + notes[-1].length
    bounds = [0] + list(range(offset, end, segment)) if offset else list(range(0, end, segment))
    bounds = sorted(set(b for b in bounds if b < end)) + [end]
    chosen = []
    options = candidates(tonic, minor)
    previous = None
    for i, (a, b) in enumerate(zip(bounds, bounds[1:])):
        best, best_score = None, None
        for root, quality, prior in options:
            tones = chord_tones((root, quality))
            score = prior * 2
            for n in notes:
                if n.pitch is None:
                    continue
                lo, hi = max(a, n.start), min(b, n.start + n.length)
                if hi <= lo:
                    continue
                weight = (hi - lo) * (2.0 if n.start == a else 1.0)
                score += weight * (1.0 if n.pitch % 12 in tones else -0.7)
            if previous == (root, quality):
                score += 1.5
            if best_score is None or score > best_score:
                best, best_score = (root, quality), score
        if i == len(bounds) - 2:
            best = (tonic, "min" if minor else "maj")
        chosen.append((a, b, best))
        previous = best
    return chosen


@dataclass
class Tune:
    title: str
    key: str
    meter: str
    tempo: int                  # beats per minute (the meter's beat)
    melody: str
    pickup: int = 0             # sixteenths before the first bar line
    transpose: int = 0          # semitones applied to everything
    chords: str | None = None   # chord names, one per segment, instead of harmonising
    style: str = "auto"         # auto, arpeggio (gentle), drone
    segment: int | None = None  # sixteenths per chord; default half a 4/4 bar, else a bar
    notes: list = field(default=None, repr=False)

    def bar(self):
        return METERS[self.meter][0]

    def beat(self):
        return METERS[self.meter][1]

    def chord_segment(self):
        if self.segment:
            return self.segment
        return 8 if self.meter == "4/4" else self.bar()

    def parsed(self):
        return parse(self.melody)

    def length(self):
        """Whole bars: the last bar is padded with rest, so repeats keep the beat."""
        notes = self.parsed()
        end = notes[-1].start + notes[-1].length
        bar = self.bar()
        return -(-end // bar) * bar

    def harmony(self):
        notes = self.parsed()
        tonic, minor = key_tonic(self.key)
        if self.chords:
            names = self.chords.split()
            seg = self.chord_segment()
            out, t = [], 0
            end = self.length()
            i = 0
            if self.pickup:
                out.append((0, self.pickup, chord_from_name(names[0])))
                t = self.pickup
            while t < end:
                out.append((t, min(end, t + seg), chord_from_name(names[i % len(names)])))
                t += seg
                i += 1
            return out
        return harmonise(notes, tonic, minor, self.chord_segment(), self.pickup)
