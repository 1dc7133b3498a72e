import filecmp
import os
import tempfile
import unittest
import wave

import numpy as np
from PIL import Image

import build_resources
import iconfile

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.normpath(os.path.join(HERE, "..", "..", "..", "res"))


class ResourcesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.out = cls.tmp.name
        build_resources.build(cls.out)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def read(self, name):
        with open(os.path.join(self.out, name), "rb") as f:
            return f.read()

    def test_repository_copy_matches_the_builders(self):
        def files(root):
            return sorted(os.path.relpath(os.path.join(d, f), root)
                          for d, _, names in os.walk(root) for f in names)
        names = files(self.out)
        # res/ also holds hand-written sources (the resource scripts); only
        # what the builders make is compared.
        _, mismatch, errors = filecmp.cmpfiles(RES, self.out, names, shallow=False)
        self.assertEqual(mismatch + errors, [], "run tools/content/build_resources.py")

    def test_desktop_entry_names_the_program_and_its_icon(self):
        with open(os.path.join(self.out, "linux", "tintorama.desktop"), encoding="utf-8") as f:
            entry = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        self.assertEqual(entry["Type"], "Application")
        self.assertEqual(entry["Name"], "Tintorama")
        self.assertEqual(entry["Icon"], "tintorama")
        self.assertTrue(entry["Categories"].endswith(";"))
        icon = Image.open(os.path.join(self.out, "linux", "tintorama.png"))
        self.assertEqual((icon.size, icon.mode), ((256, 256), "RGBA"))
        for size in (16, 24, 32, 48, 64, 128, 256):
            themed = Image.open(os.path.join(self.out, "linux", f"tintorama-{size}.png"))
            self.assertEqual((themed.size, themed.mode), ((size, size), "RGBA"))

    def test_manifest_names_existing_files_once(self):
        ids = []
        with open(os.path.join(self.out, "resources.txt")) as f:
            for line in f:
                if line.startswith("#"):
                    continue
                number, kind, name = line.rstrip("\n").split("\t")
                self.assertTrue(os.path.isfile(os.path.join(self.out, name)), name)
                ids.append((int(number), kind))
        self.assertEqual(len(ids), len(set(ids)))
        wanted = {128, 132, 134, 135, 136, 137, 139, 144, 145, 146, 149, 150, 151, 164,
                  165, 166, 167, 168}
        self.assertEqual({n for n, k in ids if k == "ICON"}, wanted)
        self.assertEqual({n for n, k in ids if k == "WAVE"}, {153, 154, 155, 156, 157})
        self.assertEqual({n for n, k in ids if k == "BITMAP"}, {142, 143, 148})
        self.assertIn((131, "CURSOR"), ids)

    def test_icons_are_round_badges_with_transparent_corners(self):
        for name in os.listdir(self.out):
            if not name.endswith(".ico"):
                continue
            kind, (count, _, planes, bpp, _), rgba = iconfile.read_ico(self.read(name))
            self.assertEqual((kind, count, planes, bpp), (1, 1, 1, 32), name)
            self.assertEqual(rgba.shape, (32, 32, 4), name)
            self.assertEqual(rgba[0, 0, 3], 0, name)
            self.assertEqual(rgba[31, 31, 3], 0, name)
            self.assertEqual(rgba[16, 16, 3], 255, name)

    def test_arrows_point_where_their_buttons_move(self):
        def widest_line(number, axis):
            _, _, rgba = iconfile.read_ico(self.read(f"icon{number}.ico"))
            white = np.all(rgba[:, :, :3] > 240, axis=-1) & (rgba[:, :, 3] > 200)
            return np.argmax(white.sum(axis=axis)) - 15.5
        # The arrow is widest at the base of its head, on the side it points to.
        self.assertLess(widest_line(134, 1), 0)      # up
        self.assertGreater(widest_line(132, 1), 0)   # down
        self.assertLess(widest_line(145, 0), 0)      # previous: left
        self.assertGreater(widest_line(146, 0), 0)   # next: right

    def test_cursor_is_a_16_colour_brush_with_its_tip_at_the_hot_spot(self):
        kind, (count, colours, hx, hy, bpp), rgba = iconfile.read_ico(self.read("cursor131.cur"))
        self.assertEqual((kind, count, colours, bpp), (2, 1, 16, 4))
        self.assertEqual((hx, hy), (16, 15))
        self.assertEqual(rgba[15, 16, 3], 255)          # the tip is painted
        # Nothing of the brush lies below or left of the tip's neighbourhood.
        self.assertFalse(rgba[19:, :, 3].any())
        self.assertFalse(rgba[:, :13, 3].any())

    def test_sounds_have_their_formats_and_are_soft_without_clicks(self):
        formats = {153: (2, 22050), 154: (1, 44100), 155: (1, 22050), 156: (1, 22050),
                   157: (1, 22050)}
        for number, (channels, rate) in formats.items():
            with wave.open(os.path.join(self.out, f"sound{number}.wav")) as w:
                self.assertEqual((w.getnchannels(), w.getframerate(), w.getsampwidth()),
                                 (channels, rate, 2), number)
                frames = w.getnframes()
                pcm = np.frombuffer(w.readframes(frames), "<i2").reshape(-1, channels)
            self.assertLess(frames / rate, 0.5, number)
            self.assertGreater(frames / rate, 0.05, number)
            peak = np.abs(pcm).max() / 32768
            self.assertLess(peak, 0.5, number)
            self.assertGreater(peak, 0.1, number)
            # Both ends start from silence and ramp in smoothly: no click.
            edge = max(1, rate // 1000)
            self.assertLess(np.abs(pcm[[0, -1]]).max(), 50, number)
            step = 0.1 * peak * 32768
            self.assertLess(np.abs(np.diff(pcm[:edge], axis=0)).max(), step, number)
            self.assertLess(np.abs(np.diff(pcm[-edge:], axis=0)).max(), step, number)

    def test_colour_wheel_hues_lie_where_the_mixer_expects_them(self):
        wheel = np.array(Image.open(os.path.join(self.out, "bitmap142.bmp")))
        self.assertEqual(wheel.shape, (201, 202, 3))
        near = lambda angle: wheel[int(round(100 - 95 * np.sin(np.radians(angle)))),
                                   int(round(100 + 95 * np.cos(np.radians(angle))))]
        expected = {0: (255, 0, 0), 60: (255, 255, 0), 120: (0, 255, 0), 180: (0, 255, 255),
                    240: (0, 0, 255), 300: (255, 0, 255)}
        for angle, rgb in expected.items():
            np.testing.assert_allclose(near(angle), rgb, atol=20, err_msg=str(angle))
        np.testing.assert_array_equal(wheel[100, 100], (255, 255, 255))
        self.assertTrue(np.all(wheel[0, 0] == wheel[200, 201]))   # background outside

    def test_cube_corners_sit_on_the_axis_ends(self):
        cube = np.array(Image.open(os.path.join(self.out, "bitmap143.bmp")))
        self.assertEqual(cube.shape, (190, 174, 3))
        centre = np.array([86.0, 108.0])
        axes = [np.array(p) - centre for p in ((86.0, 9.0), (6.0, 148.0), (165.0, 148.0))]

        def at(weights):
            x, y = centre + sum(w * a for w, a in zip(weights, axes))
            return cube[int(round(y)), int(round(x))].astype(int)
        # Just off each axis, inside a face, the colour is mostly that axis' primary.
        for k in range(3):
            weights = [0.0, 0.0, 0.0]
            weights[k] = 0.85
            weights[(k + 1) % 3] = 0.08
            colour = at(weights)
            self.assertGreater(colour[k], 190, (k, colour))
            self.assertLess(colour[(k + 2) % 3], 10, (k, colour))
        np.testing.assert_allclose(at([0.05, 0.05, 0]), (13, 13, 0), atol=12)

    def test_music_list_picture_size(self):
        img = Image.open(os.path.join(self.out, "bitmap148.bmp"))
        self.assertEqual((img.size, img.mode), ((300, 297), "RGB"))


if __name__ == "__main__":
    unittest.main()
