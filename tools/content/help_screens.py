#!/usr/bin/python3
"""Puts the program's real screens into the help page: runs the program's
tour (headless, silent), which writes a screenshot of every screen, and turns
the screenshots the page shows into its PNG pictures. Run at build time
after the program is linked, so the help page never shows screens that the
program no longer has. A tour that fails leaves the pictures the content
builder made and says so; it does not fail the build."""
import argparse
import os
import subprocess
import sys
import tempfile

from PIL import Image

# Screenshot of the tour -> picture of the help page.
SHOTS = {
    "home": "home.png",
    "free-coloring": "free-coloring.png",
    "sample-coloring": "sample-coloring.png",
    "browse": "browse.png",
    "color-mixer": "color-mixer.png",
}


def run_tour(program, tour_dir):
    # The user's folders (drawings, added pictures and their copies) are
    # empty folders of the build's own, so the builder's pictures neither
    # show on the help page nor get a folder made among them.
    with tempfile.TemporaryDirectory(prefix="tinto-tour-") as user:
        env = dict(os.environ, TINTO_AUDIO="null", XDG_PICTURES_DIR=os.path.join(user, "pictures"),
                   XDG_DATA_HOME=os.path.join(user, "data"), XDG_CACHE_HOME=os.path.join(user, "cache"))
        os.makedirs(env["XDG_PICTURES_DIR"])
        try:
            run = subprocess.run([program, "--tour", tour_dir], env=env, capture_output=True,
                                 text=True, timeout=300)
        except (OSError, subprocess.TimeoutExpired) as error:
            return str(error)
    return "" if run.returncode == 0 else f"exit code {run.returncode}: {run.stderr.strip()}"


def convert(tour_dir, images_dir):
    """Returns the names of the screenshots that were missing."""
    os.makedirs(images_dir, exist_ok=True)
    missing = []
    for shot, picture in SHOTS.items():
        source = os.path.join(tour_dir, shot + ".bmp")
        if not os.path.exists(source):
            missing.append(shot)
            continue
        target = os.path.join(images_dir, picture)
        Image.open(source).convert("RGB").save(target + ".tmp", "PNG")
        os.replace(target + ".tmp", target)
    return missing


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("program")
    parser.add_argument("tour_dir")
    parser.add_argument("help_dir")
    parser.add_argument("--stamp")
    args = parser.parse_args(argv)
    failure = run_tour(args.program, args.tour_dir)
    if failure:
        print(f"help pictures: the tour failed ({failure}); keeping what it did write", file=sys.stderr)
    missing = convert(args.tour_dir, os.path.join(args.help_dir, "images"))
    if missing:
        print("help pictures: no screenshot of " + ", ".join(missing), file=sys.stderr)
    if args.stamp:
        with open(args.stamp, "w") as stamp:
            stamp.write("missing: " + " ".join(missing) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
