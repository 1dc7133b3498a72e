#!/usr/bin/python3
"""Builds the interface font "Lumora Sans Serif" (lsansrf.ttf) from DejaVu Sans.

The program's Vietnamese text is TCVN3; the drawing layer reads each byte as
a Windows-1252 code point. So the font maps those code points (U+00A1 to
U+00FE) to the Vietnamese glyphs that the TCVN3 bytes stand for. Every other
mapping of the free font is kept, so ASCII and real Unicode text still draw.
"""
import argparse
import sys

from fontTools.ttLib import TTFont

import tcvn3

FAMILY = "Lumora Sans Serif"
POSTSCRIPT = "LumoraSansSerif"
DEFAULT_SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def remap_cmap(font):
    """Points the Latin-1 code points of the TCVN3 bytes at Vietnamese glyphs."""
    best = font.getBestCmap()
    targets = {}
    for byte, ch in tcvn3.TCVN3_TO_UNICODE.items():
        glyph = best.get(ord(ch))
        if glyph is None:
            raise SystemExit(f"source font has no glyph for U+{ord(ch):04X}")
        targets[byte] = glyph   # byte == its Windows-1252 code point here
    for table in font["cmap"].tables:
        if table.isUnicode():
            table.cmap.update(targets)


def rename(font):
    name = font["name"]
    # Drop the typographic family names; a single regular face needs none.
    name.names = [n for n in name.names if n.nameID not in (16, 17, 18, 21, 22)]
    for record_id, text in ((1, FAMILY), (2, "Regular"), (3, f"{FAMILY} Regular"),
                            (4, FAMILY), (6, POSTSCRIPT)):
        name.setName(text, record_id, 3, 1, 0x409)
        name.setName(text, record_id, 1, 0, 0)
    font["OS/2"].ulCodePageRange1 |= 1 << 8   # Vietnamese


def build(source, target):
    font = TTFont(source, recalcTimestamp=False)
    remap_cmap(font)
    rename(font)
    font.save(target)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--source", default=DEFAULT_SOURCE)
    parser.add_argument("output")
    args = parser.parse_args(argv)
    build(args.source, args.output)


if __name__ == "__main__":
    main(sys.argv[1:])
