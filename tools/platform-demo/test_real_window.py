#!/usr/bin/env python3
"""The demo in a real window: under a private Xvfb server, a click sent with
xdotool must fill a region, the fill must reach the screen, the idle program
must use no CPU, and Escape must end it cleanly. Without a display the demo
must refuse to run. Exits 77 (skipped) when Xvfb, xdotool or ImageMagick's
import is missing."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "support"))
import xvfb  # noqa: E402
from xvfb import SKIP, wait_for  # noqa: E402

DEMO = sys.argv[1]
# The canvas's top-left on the screen: the frame at (100, 80), its 1-pixel
# border, and the canvas 20 pixels into the client area.
CANVAS = (121, 101)
WALLS = (70, 180)  # a point inside the house's walls
FIRST_FILL = (255, 90, 90)


def pixel(display, x, y):
    out = subprocess.run(["import", "-silent", "-window", "root", "-crop", f"1x1+{x}+{y}",
                          "-depth", "8", "rgb:-"], env=display, capture_output=True, timeout=20)
    if out.returncode != 0 or len(out.stdout) < 3:
        return None
    return tuple(out.stdout[:3])


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def real_window():
    with xvfb.server(90) as display:
        if display is None:
            print("FAIL: Xvfb did not start")
            return False
        demo = xvfb.start([DEMO], display)
        try:
            return check_demo(display, demo)
        finally:
            xvfb.stop(demo)


def check_demo(display, demo):
    x, y = CANVAS[0] + WALLS[0], CANVAS[1] + WALLS[1]
    if not wait_for(lambda: pixel(display, x, y) == (255, 255, 255), 15):
        print(f"FAIL: the white canvas never appeared on screen (pixel {pixel(display, x, y)})")
        return False
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=display, check=True)
    if not wait_for(lambda: pixel(display, x, y) == FIRST_FILL, 10):
        print(f"FAIL: the click's fill did not reach the screen (pixel {pixel(display, x, y)})")
        return False
    time.sleep(0.3)
    before = cpu_seconds(demo.pid)
    time.sleep(1.0)
    used = cpu_seconds(demo.pid) - before
    if used > 0.05:
        print(f"FAIL: the idle demo used {used:.3f} s of CPU in a second")
        return False
    # The first synthetic key after start may be spent on a keymap change.
    for _ in range(3):
        subprocess.run(["xdotool", "key", "Escape"], env=display, check=True)
        try:
            demo.wait(timeout=3)
            break
        except subprocess.TimeoutExpired:
            pass
    if demo.poll() is None:
        print("FAIL: Escape did not close the demo")
        return False
    if demo.returncode != 0:
        print(f"FAIL: the demo ended with {demo.returncode}: {demo.stderr.read()!r}")
        return False
    print(f"real window: click filled, on screen, idle CPU {used:.3f} s, closed by Escape")
    return True


def main():
    ok = xvfb.refuses_without_display(DEMO, "demo")
    missing = xvfb.missing_tools()
    if missing:
        print("SKIP: the real-window check needs " + ", ".join(missing))
        return 1 if not ok else SKIP
    return 0 if real_window() and ok else 1


if __name__ == "__main__":
    sys.exit(main())
