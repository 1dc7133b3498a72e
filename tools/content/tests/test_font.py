import os
import tempfile
import unicodedata
import unittest

from fontTools.ttLib import TTFont

import build_font
import tcvn3


class FontTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        path = os.path.join(cls.tmp.name, "lsansrf.ttf")
        build_font.build(build_font.DEFAULT_SOURCE, path)
        cls.font = TTFont(path)
        cls.cmap = cls.font.getBestCmap()
        cls.source_cmap = TTFont(build_font.DEFAULT_SOURCE).getBestCmap()

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def glyphs_for_bytes(self, data):
        # The drawing layer reads each byte as its Windows-1252 code point.
        return [self.cmap[ord(ch)] for ch in data.decode("cp1252")]

    def glyphs_for_text(self, text):
        return [self.source_cmap[ord(ch)] for ch in text]

    def test_all_topics_label_draws_vietnamese(self):
        self.assertEqual(self.glyphs_for_bytes(bytes.fromhex("54CA742063B6")),
                         self.glyphs_for_text("Tất cả"))

    def test_sentence_with_every_vowel_family(self):
        text = "Đàn gà con lông vàng ươm, bé tô màu ngôi nhà, quả bóng và chiếc xe đẹp nhất"
        self.assertEqual(self.glyphs_for_bytes(tcvn3.encode(text)), self.glyphs_for_text(text))

    def test_every_lowercase_toned_letter_is_reachable(self):
        vowels = "aăâeêioôơuưy"
        marks = "\u0300\u0309\u0303\u0301\u0323"
        reachable = set()
        for b in range(0xA1, 0x100):
            reachable.add(self.cmap.get(b))
        for v in vowels:
            for m in marks:
                ch = unicodedata.normalize("NFC", v + m)
                self.assertIn(self.source_cmap[ord(ch)], reachable, ch)
        for ch in "ăâêôơưđĂÂÊÔƠƯĐ":
            self.assertIn(self.source_cmap[ord(ch)], reachable, ch)

    def test_table_has_no_duplicate_letters(self):
        values = list(tcvn3.TCVN3_TO_UNICODE.values())
        self.assertEqual(len(values), len(set(values)))

    def test_ascii_and_unicode_mappings_are_kept(self):
        for ch in "AZaz09 .,!?":
            self.assertEqual(self.cmap[ord(ch)], self.source_cmap[ord(ch)])
        self.assertEqual(self.cmap[ord("ấ")], self.source_cmap[ord("ấ")])

    def test_font_is_renamed(self):
        names = self.font["name"]
        self.assertEqual(names.getDebugName(1), "Lumora Sans Serif")
        self.assertEqual(names.getDebugName(2), "Regular")
        for record in names.names:
            if record.nameID in (1, 3, 4, 6):
                self.assertNotIn("DejaVu", record.toUnicode())

    def test_encoder_refuses_what_tcvn3_cannot_hold(self):
        self.assertEqual(tcvn3.encode("Ấn"), tcvn3.encode("ấn"))
        with self.assertRaises(ValueError):
            tcvn3.encode("€uro")
        self.assertEqual(tcvn3.decode(tcvn3.encode("Bé vẽ hoa")), "Bé vẽ hoa")


if __name__ == "__main__":
    unittest.main()
