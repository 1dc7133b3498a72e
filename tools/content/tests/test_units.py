"""The small building blocks the builders share."""
import unittest

import numpy as np
from PIL import Image

import build_songs
import dialog_units
import iconfile
import lineart
import melody
import synth
import tunes


class IconFileTest(unittest.TestCase):
    def test_icon_round_trip_keeps_colours_and_transparency(self):
        rng = np.random.default_rng(1)
        rgba = rng.integers(0, 256, (32, 32, 4), dtype=np.uint8)
        rgba[:, :, 3] = np.where(rgba[:, :, 3] > 127, 255, 0)
        kind, (count, _, planes, bpp, _), back = iconfile.read_ico(iconfile.ico_bytes(rgba))
        self.assertEqual((kind, count, planes, bpp), (1, 1, 1, 32))
        np.testing.assert_array_equal(back, rgba)

    def test_cursor_keeps_its_hot_spot_and_mask(self):
        rgba = np.zeros((32, 32, 4), np.uint8)
        rgba[5:9, 20:30] = (200, 100, 50, 255)
        rgba[10, 10] = (0, 0, 255, 255)
        kind, (_, colours, hx, hy, bpp), back = iconfile.read_ico(iconfile.cur_bytes(rgba, (3, 7)))
        self.assertEqual((kind, colours, hx, hy, bpp), (2, 16, 3, 7, 4))
        np.testing.assert_array_equal(back[:, :, 3], rgba[:, :, 3])
        np.testing.assert_array_equal(back[6, 25, :3], (200, 100, 50))
        np.testing.assert_array_equal(back[10, 10, :3], (0, 0, 255))

    def test_cursor_refuses_more_than_sixteen_colours(self):
        rgba = np.zeros((32, 32, 4), np.uint8)
        for i in range(17):
            rgba[0, i] = (i * 10, 0, 0, 255)
        with self.assertRaises(ValueError):
            iconfile.cur_bytes(rgba, (0, 0))


class DialogUnitsTest(unittest.TestCase):
    def test_muldiv_rounds_half_away_from_zero(self):
        self.assertEqual(dialog_units.muldiv(1, 3, 2), 2)     # 1.5
        self.assertEqual(dialog_units.muldiv(5, 6, 4), 8)     # 7.5
        self.assertEqual(dialog_units.muldiv(7, 13, 8), 11)   # 11.375
        self.assertEqual(dialog_units.muldiv(-5, 6, 4), -8)

    def test_rectangles_convert_their_corners(self):
        # The home screen's exit button.
        self.assertEqual(dialog_units.rect(252, 136, 61, 22), (378, 221, 470, 257))


class MelodyTest(unittest.TestCase):
    def test_chord_names(self):
        self.assertEqual(melody.chord_from_name("F#m"), (6, "min"))
        self.assertEqual(melody.chord_from_name("Bb"), (10, "maj"))
        self.assertEqual(melody.chord_from_name("E7"), (4, "dom7"))
        self.assertEqual(melody.chord_tones((7, "dom7")), {7, 11, 2, 5})
        for bad in ("H", "Cmaj", ""):
            with self.assertRaises(ValueError):
                melody.chord_from_name(bad)
        self.assertEqual(melody.key_tonic("Gm"), (7, True))

    def test_length_pads_to_whole_bars_and_chords_cover_the_pickup(self):
        tune = melody.Tune("t", "C", "3/4", 100, "g4 | c12 | e8", pickup=4, chords="C G")
        self.assertEqual(tune.length(), 24)
        harmony = tune.harmony()
        self.assertEqual([(a, b) for a, b, _ in harmony], [(0, 4), (4, 16), (16, 24)])
        self.assertEqual([c for _, _, c in harmony], [(0, "maj"), (0, "maj"), (7, "maj")])


class SynthTest(unittest.TestCase):
    def test_notes_fade_out_to_silence(self):
        for name in synth.INSTRUMENTS:
            x = synth.note_samples(name, 60, 0.3, 1.0)
            self.assertLess(abs(x[-1]), 1e-3, name)
            self.assertLess(abs(x[0]), 0.05, name)
            self.assertGreater(np.max(np.abs(x)), 0.3, name)

    def test_mixer_wraps_what_rings_past_the_end(self):
        mix = synth.Mixer(1.0)
        mix.add(0.9, np.ones(int(0.2 * synth.RATE)))
        ring = mix.buf
        self.assertEqual(ring.sum(), int(0.2 * synth.RATE))
        self.assertEqual(ring[0], 1.0)
        self.assertEqual(ring[int(0.5 * synth.RATE)], 0.0)

    def test_seventh_chords_are_voiced_with_their_seventh(self):
        self.assertEqual(synth.voicing(7, "dom7", 55), [55, 59, 62, 65])
        self.assertEqual(synth.voicing(9, "min", 55), [57, 60, 64])

    def test_a_changed_tune_gets_a_new_fingerprint(self):
        tune = dict(tunes.songs())["11"]
        changed = melody.Tune(**{**tune.__dict__, "tempo": tune.tempo + 1})
        self.assertNotEqual(build_songs.fingerprint(tune), build_songs.fingerprint(changed))
        self.assertEqual(build_songs.fingerprint(tune), build_songs.fingerprint(tune))


class LineArtTest(unittest.TestCase):
    def test_regions_are_four_connected(self):
        # Two white cells touching only at a corner are two regions, as the
        # canvas's flood fill sees them.
        a = np.zeros((4, 4, 3), np.uint8)
        a[1, 1] = a[2, 2] = 255
        self.assertEqual(len(lineart.regions(Image.fromarray(a))), 2)
        a[1, 2] = 255
        self.assertEqual(len(lineart.regions(Image.fromarray(a))), 1)

    def test_regions_too_small_for_a_click_are_inked_and_real_ones_kept(self):
        a = np.zeros((40, 60, 3), np.uint8)
        a[2:38, 2:30] = 255        # a region a child can hit
        a[10:13, 40:43] = 255      # a pocket
        a[5:35, 50:54] = 255       # a sliver four pixels wide
        a[20:30, 34:44] = 255      # exactly the smallest square: kept
        out = np.array(lineart.close_pockets(Image.fromarray(a)))
        self.assertTrue(np.all(out[2:38, 2:30] == 255))
        self.assertTrue(np.all(out[20:30, 34:44] == 255))
        self.assertFalse(out[:, 45:].any())
        self.assertFalse(out[10:13, 40:43].any())

    def test_a_long_thin_region_cannot_be_hit(self):
        # 9 pixels wide and long: a bounding box test would pass it, a
        # fingertip would not land inside it.
        labels = np.full((30, 60), -1, np.int32)
        labels[5:14, 0:60] = 7
        labels[15:27, 0:12] = 8
        self.assertEqual(lineart.hittable(labels, 10), {8})

    def test_sample_fills_each_region_with_the_colour_that_covers_most_of_it(self):
        def scene(p):
            p.rect(0, 0, 150, 100, lineart.SKY)
            p.circle(75, 50, 30, lineart.RED)
            # A line that does not split the disc: it stays one region and
            # takes one colour.
            p.line([(60, 50), (90, 50)])
        art, sample = lineart.Picture("t", scene, 1).render((150, 100))
        art, sample = np.array(art), np.array(sample)
        np.testing.assert_array_equal(np.all(art == 0, axis=-1), np.all(sample == 0, axis=-1))
        self.assertEqual(tuple(sample[50, 75 - 20]), lineart.RED)
        self.assertEqual(tuple(sample[10, 10]), lineart.SKY)
        colours = {tuple(c) for c in sample.reshape(-1, 3)}
        self.assertEqual(colours, {lineart.BLACK, lineart.RED, lineart.SKY})
        self.assertEqual({tuple(c) for c in art.reshape(-1, 3)}, {lineart.BLACK, lineart.WHITE})

    def test_frame_closes_the_regions_at_the_edge(self):
        art, _ = lineart.Picture("t", lambda p: p.rect(0, 60, 150, 100, lineart.GRASS), 1).render((300, 200))
        a = np.array(art)
        for edge in (a[0], a[-1], a[:, 0], a[:, -1]):
            self.assertTrue(np.all(edge == 0))
        self.assertEqual(len(lineart.regions(art)), 2)

    def test_only_palette_colours_other_than_black_fill_shapes(self):
        pen = lineart.Pen(Image.new("RGB", (50, 50), lineart.WHITE), 0.3)
        for colour in (lineart.BLACK, (1, 2, 3)):
            with self.subTest(colour=colour):
                with self.assertRaises(ValueError):
                    pen.circle(20, 20, 10, colour)


if __name__ == "__main__":
    unittest.main()
