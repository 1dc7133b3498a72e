#!/usr/bin/env python3
"""The demo in a real window: under a private Xvfb server, a click sent with
xdotool must fill a region, the fill must reach the screen, the idle program
must use no CPU, and Escape must end it cleanly. Without a display the demo
must refuse to run. Exits 77 (skipped) when Xvfb, xdotool or ImageMagick's
import is missing."""
import ctypes
import os
import shutil
import signal
import subprocess
import sys
import time

SKIP = 77
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


def wait_for(check, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if check():
            return True
        time.sleep(0.1)
    return check()


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def refuses_without_display():
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    run = subprocess.run([DEMO], env=env, capture_output=True, text=True, timeout=30)
    if run.returncode == 0 or "cannot open a display" not in run.stderr:
        print(f"FAIL: without a display the demo answered {run.returncode}: {run.stderr!r}")
        return False
    return True


def die_with_parent():
    # PR_SET_PDEATHSIG: the server and the demo go when this script does.
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)


def real_window():
    number = 90 + os.getpid() % 9
    display = dict(os.environ, DISPLAY=f":{number}")
    server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              preexec_fn=die_with_parent)
    demo = None
    try:
        answers = lambda: subprocess.run(["xdotool", "getmouselocation"], env=display, capture_output=True,
                                         timeout=10).returncode == 0
        if not wait_for(answers, 10):
            print("FAIL: Xvfb did not start")
            return False
        demo = subprocess.Popen([DEMO], env=display, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                preexec_fn=die_with_parent)
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
    finally:
        if demo and demo.poll() is None:
            demo.kill()
            demo.wait()
        server.terminate()
        try:
            server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()
            server.wait()


def main():
    ok = refuses_without_display()
    missing = [tool for tool in ("Xvfb", "xdotool", "import") if not shutil.which(tool)]
    if missing:
        print("SKIP: the real-window check needs " + ", ".join(missing))
        return 1 if not ok else SKIP
    return 0 if real_window() and ok else 1


if __name__ == "__main__":
    sys.exit(main())
