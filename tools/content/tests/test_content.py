import os
import re
import tempfile
import unittest

import numpy as np
from PIL import Image

import build_content
import build_home


class ContentTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.app = cls.tmp.name
        build_content.build(cls.app)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_program_directory_layout(self):
        for path in ("lsansrf.ttf", "Backgrnd/home.bmp", "Help/Help.htm"):
            self.assertTrue(os.path.isfile(os.path.join(self.app, path)), path)

    def test_home_picture_fills_the_client_area_with_a_sign_on_each_button(self):
        img = Image.open(os.path.join(self.app, "Backgrnd", "home.bmp"))
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
