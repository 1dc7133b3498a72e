import os
import re
import tempfile
import unittest

import numpy as np
from PIL import Image

import build_content
import build_home
import lineart


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

    def test_backgrounds_have_their_screens_client_sizes(self):
        sizes = {"Backgrnd/Freely/bg1.bmp": (744, 538), "Backgrnd/Samples/bg1.bmp": (782, 522),
                 "Backgrnd/browse.bmp": (761, 525), "Backgrnd/mixed.bmp": (594, 320)}
        for path, size in sizes.items():
            with Image.open(os.path.join(self.app, path)) as img:
                self.assertEqual((img.size, img.mode), (size, "RGB"), path)

    def test_topics_are_named_in_tcvn3(self):
        import tcvn3
        with open(os.path.join(self.app, "topic.txt"), "rb") as f:
            raw = f.read()
        self.assertIn(b"Con v\xcbt", raw)                          # "Con vật"
        names = [line.split(b"\t")[1] for line in raw.split(b"\r\n")[1:-1]]
        self.assertGreaterEqual(len(names), 8)
        self.assertEqual(len(set(names)), len(names))
        for name in names:
            with self.subTest(name=name):
                # Every high byte is a TCVN3 letter: nothing falls back to
                # another code page, and the text survives a round trip.
                self.assertTrue(all(b < 0x80 or b in tcvn3.TCVN3_TO_UNICODE for b in name))
                self.assertEqual(tcvn3.encode(tcvn3.decode(name)), name)
                self.assertTrue(name.strip())

    def test_catalogue_lines_point_at_pictures_of_listed_topics(self):
        topics = len(self.read_catalogue("topic.txt"))
        free = self.read_catalogue("freely.txt")
        samples = self.read_catalogue("sample.txt")
        self.assertGreaterEqual(len(free), 60)
        self.assertGreaterEqual(len(samples), 30)
        for row in free + samples:
            with self.subTest(row=row):
                self.assertTrue(1 <= int(row[1]) <= topics)
                for path in row[2:]:
                    self.assertNotIn("/", path)
                    self.assertTrue(os.path.isfile(os.path.join(self.app, *path.split("\\"))))
        # Every topic offers pictures of both kinds.
        self.assertEqual({int(r[1]) for r in free}, set(range(1, topics + 1)))
        self.assertEqual({int(r[1]) for r in samples}, set(range(1, topics + 1)))

    def test_no_picture_is_listed_or_drawn_twice(self):
        free = [r[2] for r in self.read_catalogue("freely.txt")]
        self.assertEqual(len(set(free)), len(free))
        drawings = {np.array(self.picture(path)).tobytes() for path in free}
        self.assertEqual(len(drawings), len(free))

    def test_free_pictures_follow_the_line_art_rules(self):
        levels = self.levels()
        rows = self.read_catalogue("freely.txt")
        simple = 0
        for _, _, path in rows:
            with self.subTest(path=path):
                img = self.picture(path)
                self.assertLessEqual(img.size[0], 600)
                self.assertLessEqual(img.size[1], 400)
                # A picture that fills the canvas area, not a stamp in it.
                self.assertGreaterEqual(img.size[0] * img.size[1], 500 * 330)
                level = levels[self.name(path)]
                simple += level == 1
                info = self.check_line_art(img, *lineart.Picture.LEVELS[level])
                # A whole scene: no first click on the background floods
                # most of the page.
                largest = max(pixels for _, _, pixels in info.values())
                self.assertLess(largest, 0.6 * img.size[0] * img.size[1])
        # About a third are simple pictures for the youngest.
        self.assertTrue(0.25 <= simple / len(rows) <= 0.45, simple)

    def test_samples_are_their_line_art_coloured_one_palette_colour_per_region(self):
        allowed = {lineart.PALETTE[i] for i in range(56)}
        for _, _, sample_path, picture_path in self.read_catalogue("sample.txt"):
            with self.subTest(sample=sample_path):
                art = self.picture(picture_path)
                # Its own square composition, filling the 320 x 320 board.
                self.assertTrue(300 <= art.size[0] <= 320 and 300 <= art.size[1] <= 320, art.size)
                self.check_line_art(art, 8, 60)
                sample = np.array(self.picture(sample_path))
                picture = np.array(art)
                self.assertEqual(sample.shape, picture.shape)
                ink = np.all(picture == 0, axis=-1)
                # The outlines exactly, and nothing else black.
                np.testing.assert_array_equal(np.all(sample == 0, axis=-1), ink)
                labels, _ = lineart.label_regions(art)
                keys = (sample[..., 0].astype(np.int64) << 16) | (sample[..., 1].astype(np.int64) << 8) \
                    | sample[..., 2]
                pairs = np.unique(np.stack([labels[~ink], keys[~ink]]), axis=1)
                # One colour per region: as many (region, colour) pairs as regions.
                self.assertEqual(pairs.shape[1], len(np.unique(labels[~ink])))
                colours = {((k >> 16) & 255, (k >> 8) & 255, k & 255) for k in pairs[1].tolist()}
                self.assertLessEqual(colours, allowed)
                self.assertGreaterEqual(len(colours), 4)                      # cheerful
                white = np.all(sample[~ink] == 255, axis=-1).mean()
                self.assertLess(white, 0.3)                                   # really coloured in

    def check_line_art(self, img, fewest, most):
        with open(img.filename, "rb") as f:
            header = f.read(30)
        self.assertEqual(header[:2], b"BM")
        self.assertEqual(int.from_bytes(header[28:30], "little"), 24)        # 24-bit BMP
        pixels = np.array(img)
        black = np.all(pixels == 0, axis=-1)
        white = np.all(pixels == 255, axis=-1)
        self.assertTrue(np.all(black | white), "only pure black and pure white, no smoothing")
        labels, info = lineart.label_regions(img)
        self.assertTrue(fewest <= len(info) <= most, len(info))
        # Every region is big enough for a child's click.
        small = set(info) - lineart.hittable(labels, lineart.SMALLEST)
        self.assertFalse(small, [info[k] for k in small])
        return info

    def levels(self):
        import pictures
        return {pic.name: pic.level for _, pic in pictures.all_pictures()}

    @staticmethod
    def name(path):
        return os.path.splitext(path.split("\\")[-1])[0]

    def picture(self, path):
        self.assertNotIn("/", path)
        img = Image.open(os.path.join(self.app, *path.split("\\")))
        img.load()
        return img


if __name__ == "__main__":
    unittest.main()
