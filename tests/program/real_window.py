#!/usr/bin/env python3
"""Tintorama in a real window: under a private Xvfb server the home screen
must appear with its picture, a click on the music button must open the
music list, Escape must close the list and then end the program. With
--shots DIR the home screen and the music list are saved there as PNG files.
Also checked: without a display the program refuses to run, clearly.
Exits 77 (skipped) when Xvfb, xdotool or ImageMagick's import is missing."""
import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import xvfb  # noqa: E402
from xvfb import SKIP, wait_for  # noqa: E402
# The music button (1015) in the home screen's client area: template
# 203, 160, 64, 21 dialog units, converted to pixels, at its centre.
MUSIC_BUTTON = (305 + 96 // 2, 260 + 34 // 2)


def windows(display, name):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], env=display,
                         capture_output=True, text=True, timeout=10)
    return [w for w in out.stdout.split() if w]


def all_windows(display):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", ""], env=display,
                         capture_output=True, text=True, timeout=10)
    return [w for w in out.stdout.split() if w]


def geometry(display, window):
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=display,
                         capture_output=True, text=True, timeout=10)
    values = dict(line.split("=", 1) for line in out.stdout.split() if "=" in line)
    return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def shoot(display, rect, path):
    x, y, w, h = rect
    subprocess.run(["import", "-silent", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", path],
                   env=display, check=True, timeout=30)


def colourful(display, rect):
    """The home picture is on screen: many colours, not a flat dialog grey."""
    x, y, w, h = rect
    out = subprocess.run(["import", "-silent", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}",
                          "-format", "%k", "info:"], env=display, capture_output=True, text=True, timeout=30)
    return out.returncode == 0 and out.stdout.strip().isdigit() and int(out.stdout) > 500


def real_window(program, shots):
    with xvfb.server(80, TINTO_AUDIO="null") as display:
        if display is None:
            print("FAIL: Xvfb did not start")
            return False
        run = xvfb.start([program], display)
        try:
            return check_program(display, run, shots)
        finally:
            xvfb.stop(run)


def check_program(display, run, shots):
    home = wait_for(lambda: windows(display, "^Tintorama$"), 20)
    if not home:
        print("FAIL: the home screen's window never appeared")
        return False
    home_rect = geometry(display, home[0])
    if home_rect[2:] != (700, 467):  # 698 x 465 and the one-pixel border
        print(f"FAIL: the home screen is {home_rect[2]} x {home_rect[3]}")
        return False
    if not wait_for(lambda: colourful(display, home_rect), 15):
        print("FAIL: the home picture never reached the screen")
        return False
    time.sleep(0.5)
    if shots:
        shoot(display, home_rect, os.path.join(shots, "home.png"))

    before = set(all_windows(display))
    x, y = home_rect[0] + 1 + MUSIC_BUTTON[0], home_rect[1] + 1 + MUSIC_BUTTON[1]
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=display, check=True)
    time.sleep(0.3)
    subprocess.run(["xdotool", "click", "1"], env=display, check=True)
    def music_list():
        new = [w for w in all_windows(display) if w not in before]
        sized = [w for w in new if geometry(display, w)[2:] == (300, 297)]
        return sized
    found = wait_for(music_list, 15)
    if not found:
        print("FAIL: the music list did not open on a click")
        return False
    list_rect = geometry(display, found[0])
    time.sleep(0.8)
    if shots:
        subprocess.run(["xdotool", "mousemove", str(list_rect[0] + 60), str(list_rect[1] + 90),
                        "click", "1"], env=display, check=True)
        time.sleep(0.5)
        shoot(display, list_rect, os.path.join(shots, "music-list.png"))

    # Escape closes the list, then the home screen (the first synthetic
    # key after start may be spent on a keymap change).
    for _ in range(6):
        subprocess.run(["xdotool", "key", "Escape"], env=display, check=True)
        try:
            run.wait(timeout=2)
            break
        except subprocess.TimeoutExpired:
            pass
    if run.poll() is None:
        print("FAIL: Escape did not end the program")
        return False
    if run.returncode != 0:
        print(f"FAIL: the program ended with {run.returncode}: {run.stderr.read()!r}")
        return False
    print("real window: home screen with its picture, music list on a click, Escape ends it")
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("program")
    parser.add_argument("--shots", help="folder for home.png and music-list.png")
    args = parser.parse_args()
    ok = xvfb.refuses_without_display(args.program)
    missing = xvfb.missing_tools()
    if missing:
        print("SKIP: the real-window check needs " + ", ".join(missing))
        return 1 if not ok else SKIP
    return 0 if real_window(args.program, args.shots) and ok else 1


if __name__ == "__main__":
    sys.exit(main())
