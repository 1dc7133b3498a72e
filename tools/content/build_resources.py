#!/usr/bin/python3
"""Regenerates the resource sources in res/: icons, the cursor, the click
sounds, the dialog bitmaps, the manifest that the resource compiler reads
and the song table (songs.txt) of the music list.

Run it by hand after changing a builder; the files it writes are kept in the
repository so that building the program needs no generator. The test
`content_resources_current` checks that they match what the builders make.
"""
import argparse
import os
import sys

import build_bitmaps
import build_icons
import build_sounds
import tunes

MANIFEST = "resources.txt"
SONG_TABLE = "songs.txt"   # code<TAB>title, in music-list order


def manifest_lines():
    lines = ["# id\ttype\tfile (relative to this folder)"]
    for number in sorted(build_icons.ICONS):
        lines.append(f"{number}\tICON\ticon{number}.ico")
    lines.append("131\tCURSOR\tcursor131.cur")
    for number in sorted(build_bitmaps.BITMAPS):
        lines.append(f"{number}\tBITMAP\tbitmap{number}.bmp")
    for number in sorted(build_sounds.SOUNDS):
        lines.append(f"{number}\tWAVE\tsound{number}.wav")
    return lines


DESKTOP_ENTRY = """[Desktop Entry]
Type=Application
Name=Tintorama
GenericName=Colouring for children
GenericName[vi]=Tô màu cho bé
Comment=Colour line-art pictures with a click, with music
Comment[vi]=Tô màu tranh chỉ với một cú bấm, có nhạc
Exec=tintorama
Icon=tintorama
Terminal=false
Categories=Education;Art;Game;KidsGame;
Keywords=colouring;coloring;paint;drawing;children;kids;
"""


ICON_THEME_SIZES = (16, 24, 32, 48, 64, 128, 256)


def build_linux(out_dir):
    """The desktop entry and its icon, so the installed program shows in menus."""
    linux = os.path.join(out_dir, "linux")
    os.makedirs(linux, exist_ok=True)
    with open(os.path.join(linux, "tintorama.desktop"), "w", encoding="utf-8", newline="\n") as f:
        f.write(DESKTOP_ENTRY)
    build_icons.app_icon(256).save(os.path.join(linux, "tintorama.png"))
    # The sizes of the icon theme, each drawn at its size rather than shrunk.
    for size in ICON_THEME_SIZES:
        build_icons.app_icon(size).save(os.path.join(linux, f"tintorama-{size}.png"))


def build(out_dir):
    build_linux(out_dir)
    build_icons.build(out_dir)
    build_sounds.build(out_dir)
    build_bitmaps.build_resources(out_dir)
    with open(os.path.join(out_dir, MANIFEST), "w", newline="\n") as f:
        f.write("\n".join(manifest_lines()) + "\n")
    with open(os.path.join(out_dir, SONG_TABLE), "w", newline="\n") as f:
        f.write("".join(f"{code}\t{tune.title}\n" for code, tune in tunes.songs()))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("out_dir", nargs="?", default=os.path.join(here, "..", "..", "res"))
    build(parser.parse_args(argv).out_dir)


if __name__ == "__main__":
    main(sys.argv[1:])
