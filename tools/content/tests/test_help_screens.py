"""The help page's pictures from the tour's screenshots."""
import os
import stat
import tempfile
import unittest

from PIL import Image

import help_screens


class HelpScreensTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.tour = os.path.join(self.dir.name, "tour")
        self.help = os.path.join(self.dir.name, "Help")
        os.makedirs(self.tour)

    def tearDown(self):
        self.dir.cleanup()

    def test_screenshots_become_the_pages_pictures_and_missing_ones_are_named(self):
        Image.new("RGB", (30, 20), (10, 200, 30)).save(os.path.join(self.tour, "free-coloring.bmp"))
        missing = help_screens.convert(self.tour, os.path.join(self.help, "images"))
        self.assertEqual(sorted(missing), ["browse", "color-mixer", "home", "sample-coloring"])
        picture = Image.open(os.path.join(self.help, "images", "free-coloring.png"))
        self.assertEqual((picture.format, picture.size, picture.getpixel((5, 5))), ("PNG", (30, 20), (10, 200, 30)))
        self.assertEqual(os.listdir(os.path.join(self.help, "images")), ["free-coloring.png"])

    def test_a_tour_that_fails_does_not_fail_the_build(self):
        program = os.path.join(self.dir.name, "broken")
        with open(program, "w") as f:
            f.write("#!/bin/sh\nexit 3\n")
        os.chmod(program, stat.S_IRWXU)
        stamp = os.path.join(self.dir.name, "stamp")
        self.assertEqual(help_screens.main([program, self.tour, self.help, "--stamp", stamp]), 0)
        self.assertNotEqual(help_screens.run_tour(program, self.tour), "")
        with open(stamp) as f:
            self.assertIn("home", f.read())


if __name__ == "__main__":
    unittest.main()
