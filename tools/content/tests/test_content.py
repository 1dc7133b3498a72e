import os
import re
import tempfile
import unittest

import numpy as np
from PIL import Image

import build_content
import build_home


_APP = None


def setUpModule():
    # The whole program directory is built once and read by every test here.
    global _APP
    _APP = tempfile.TemporaryDirectory()
    build_content.build(_APP.name)


def tearDownModule():
    _APP.cleanup()


class ContentTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.app = _APP.name

    def test_program_directory_layout(self):
        for path in ("lsansrf.ttf", "Backgrnd/home.bmp", "Help/Help.htm"):
            self.assertTrue(os.path.isfile(os.path.join(self.app, path)), path)

    def test_home_picture_fills_the_client_area_with_a_sign_on_each_button(self):
        with Image.open(os.path.join(self.app, "Backgrnd", "home.bmp")) as img:
            self.assertEqual((img.size, img.mode), ((698, 465), "RGB"))
            pixels = np.array(img).astype(int)
        for name in ("free", "sample", "music", "exit"):
            l, t, r, b = build_home.button_rect(name)
            inner = pixels[t + 4:b - 4, l + 4:r - 4]
            # Just outside the button lies the scenery; inside, the sign's own colour.
            outside = pixels[t - 6, (l + r) // 2]
            differs = np.abs(inner - outside).sum(axis=-1) > 60
            self.assertGreater(differs.mean(), 0.7, name)

    def test_dialog_unit_conversion_rounds_like_muldiv(self):
        self.assertEqual(build_home.du.rect(43, 94, 86, 27), (65, 153, 194, 197))
        self.assertEqual(build_home.du.size(465, 286), (698, 465))
        self.assertEqual(build_home.du.muldiv(-3, 1, 2), -2)

    def test_help_page_is_bilingual_and_its_pictures_exist(self):
        with open(os.path.join(self.app, "Help", "Help.htm"), encoding="utf-8") as f:
            page = f.read()
        self.assertIn('<meta charset="utf-8">', page)
        self.assertIn('id="vi"', page)
        self.assertIn('id="en"', page)
        self.assertIn("Hướng dẫn", page)
        images = re.findall(r'src="([^"]+)"', page)
        self.assertGreater(len(images), 5)
        for src in images:
            self.assertTrue(os.path.isfile(os.path.join(self.app, "Help", src)), src)


if __name__ == "__main__":
    unittest.main()


class PicturesTest(unittest.TestCase):
    """The pictures, samples and catalogues that the colouring screens read."""

    @classmethod
    def setUpClass(cls):
        cls.app = _APP.name

    def read_catalogue(self, name):
        import tcvn3
        with open(os.path.join(self.app, name), "rb") as f:
            lines = f.read().split(b"\r\n")
        self.assertEqual(lines[-1], b"")
        return [tcvn3.decode(line).split("\t") for line in lines[1:-1]]

    def picture(self, path):
        self.assertNotIn("/", path)
        with Image.open(os.path.join(self.app, *path.split("\\"))) as img:
            img.load()
            return img

    def test_backgrounds_have_their_screens_client_sizes(self):
        sizes = {"Backgrnd/Freely/bg1.bmp": (744, 538), "Backgrnd/Samples/bg1.bmp": (782, 522),
                 "Backgrnd/browse.bmp": (761, 525), "Backgrnd/mixed.bmp": (594, 320)}
        for path, size in sizes.items():
            with Image.open(os.path.join(self.app, path)) as img:
                self.assertEqual((img.size, img.mode), (size, "RGB"), path)

    def test_topics_are_vietnamese_in_tcvn3(self):
        topics = self.read_catalogue("topic.txt")
        self.assertEqual([t[1] for t in topics][:2], ["Con vật", "Xe cộ"])
        with open(os.path.join(self.app, "topic.txt"), "rb") as f:
            self.assertIn(b"Con v\xcbt", f.read())

    def test_free_catalogue_lists_colourable_line_art(self):
        topics = len(self.read_catalogue("topic.txt"))
        rows = self.read_catalogue("freely.txt")
        self.assertGreaterEqual(len(rows), 16)
        import lineart
        for number, topic, path in rows:
            self.assertTrue(1 <= int(topic) <= topics, path)
            img = self.picture(path)
            self.assertEqual(img.mode, "RGB")
            self.assertLessEqual(img.size, (600, 400))
            pixels = np.array(img).reshape(-1, 3)
            colours = {tuple(c) for c in np.unique(pixels, axis=0)}
            self.assertEqual(colours, {(0, 0, 0), (255, 255, 255)}, path)   # no smoothing
            regions = lineart.regions(img)
            self.assertTrue(8 <= len(regions) <= 40, (path, len(regions)))
            for w, h, _ in regions:
                self.assertGreaterEqual(min(w, h), 8, path)

    def test_samples_are_the_line_art_coloured_inside_its_outlines(self):
        rows = self.read_catalogue("sample.txt")
        self.assertGreaterEqual(len(rows), 16)
        for number, topic, sample_path, picture_path in rows:
            sample = np.array(self.picture(sample_path)).astype(int)
            picture = np.array(self.picture(picture_path)).astype(int)
            self.assertEqual(sample.shape, picture.shape)
            self.assertLessEqual(sample.shape[:2], (320, 320))
            ink = np.all(picture == 0, axis=-1)
            self.assertTrue(np.all(sample[ink] == 0), sample_path)     # same outlines
            coloured = np.any(sample != picture, axis=-1)
            self.assertGreater(coloured.mean(), 0.1, sample_path)      # really coloured in
