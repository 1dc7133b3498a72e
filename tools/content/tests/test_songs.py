import os
import tempfile
import unittest

import numpy as np

import build_songs
import melody
import synth
import tunes


class TuneDataTest(unittest.TestCase):
    def test_codes_follow_the_music_list_order(self):
        codes = [code for code, _ in tunes.songs()]
        expected = [f"{g}{n}" for g in range(1, 6) for n in range(1, 17)]
        self.assertEqual(codes, expected)
        self.assertEqual((codes[0], codes[-1]), ("11", "516"))

    def test_titles_are_short_plain_ascii_and_distinct(self):
        titles = [t.title for _, t in tunes.songs()]
        self.assertEqual(len(titles), len(set(titles)))
        for title in titles:
            self.assertTrue(title.isascii() and title.isprintable(), title)
            self.assertLessEqual(len(title), 40, title)

    def test_every_tune_fills_whole_bars(self):
        # A wrong note length shows as a last bar that is neither full nor
        # shortened by exactly the pick-up.
        for code, tune in tunes.songs():
            notes = tune.parsed()
            end = notes[-1].start + notes[-1].length
            bar = tune.bar()
            self.assertTrue((end - tune.pickup) % bar == 0 or end % bar == 0,
                            f"{code} {tune.title}: {end} sixteenths")

    def test_harmony_covers_the_tune_and_ends_at_home(self):
        for code, tune in tunes.songs():
            harmony = tune.harmony()
            self.assertEqual(harmony[0][0], 0, code)
            for (a, b, _), (c, _, _) in zip(harmony, harmony[1:]):
                self.assertEqual(b, c, code)
            tonic, minor = melody.key_tonic(tune.key)
            if not tune.chords:
                self.assertEqual(harmony[-1][2], (tonic, "min" if minor else "maj"), code)

    def test_note_language(self):
        notes = melody.parse("c ^f,2 _B'8 | z c''")
        self.assertEqual([(n.start, n.length, n.pitch) for n in notes],
                         [(0, 4, 60), (4, 2, 54), (6, 8, 70), (14, 4, None), (18, 4, 84)])
        for bad in ("h", "c0", "cc", "^"):
            with self.assertRaises(ValueError):
                melody.parse(bad)

    def test_harmoniser_picks_the_chord_that_holds_the_melody(self):
        notes = melody.parse("c e g c' | f a c' a | g b d' f' | c'16")
        chords = [c for _, _, c in melody.harmonise(notes, 0, False, 16, 0)]
        self.assertEqual(chords, [(0, "maj"), (5, "maj"), (7, "dom7"), (0, "maj")])


class RenderTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tune = dict(tunes.songs())["17"]            # a short one: Hot Cross Buns
        cls.samples, cls.passes = synth.render(cls.tune)

    def test_length_and_even_loudness(self):
        seconds = len(self.samples) / synth.RATE
        self.assertGreaterEqual(seconds, 30)
        self.assertLessEqual(seconds, 60)
        self.assertGreater(self.passes, 1)
        rms = np.sqrt(np.mean(self.samples ** 2))
        self.assertAlmostEqual(rms, synth.TARGET_RMS, delta=synth.TARGET_RMS * 0.05)
        self.assertLessEqual(np.max(np.abs(self.samples)), synth.PEAK_LIMIT + 1e-9)

    def test_the_loop_joins_without_a_step(self):
        x = self.samples
        typical = np.percentile(np.abs(np.diff(x)), 99)
        self.assertLess(abs(x[0] - x[-1]), typical)

    def test_encoded_song_is_mpeg1_layer3_mono(self):
        with tempfile.TemporaryDirectory() as tmp:
            build_songs.build(tmp, {"17"})
            with open(os.path.join(tmp, "17.mp3"), "rb") as f:
                data = f.read()
            stamp = os.path.getmtime(os.path.join(tmp, "17.mp3"))
            build_songs.build(tmp, {"17"})            # unchanged: not rebuilt
            self.assertEqual(stamp, os.path.getmtime(os.path.join(tmp, "17.mp3")))
        self.assertFalse(data.startswith(b"ID3"))
        sync = data.index(b"\xff")
        header = int.from_bytes(data[sync:sync + 4], "big")
        self.assertEqual(header >> 21, 0x7FF)              # frame sync
        self.assertEqual((header >> 19) & 3, 3)            # MPEG-1
        self.assertEqual((header >> 17) & 3, 1)            # Layer III
        self.assertEqual((header >> 10) & 3, 0)            # 44100 Hz
        self.assertEqual((header >> 6) & 3, 3)             # mono


if __name__ == "__main__":
    unittest.main()
