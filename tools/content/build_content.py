#!/usr/bin/python3
"""Builds the program directory's content: the interface font, the screen
backgrounds, the pictures with their catalogues and the help page.

The songs are built by build_songs.py (a separate, slower step).
"""
import argparse
import os
import sys

import build_font
import build_help
import build_home
import build_screens


def build(app_dir):
    os.makedirs(os.path.join(app_dir, "Backgrnd"), exist_ok=True)
    build_font.build(build_font.DEFAULT_SOURCE, os.path.join(app_dir, "lsansrf.ttf"))
    build_home.build(os.path.join(app_dir, "Backgrnd", "home.bmp"))
    build_screens.build(app_dir)
    # After the screens: the help page starts from their backgrounds.
    build_help.build(os.path.join(app_dir, "Help"))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("app_dir")
    build(parser.parse_args(argv).app_dir)


if __name__ == "__main__":
    main(sys.argv[1:])
