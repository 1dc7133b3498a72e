#!/usr/bin/env python3
"""Measures the program as a user meets it, in a real window on a private
Xvfb server: the time from start to a painted home screen, the resident
memory with the home screen up, and the processor time it uses while idle.

    scripts/measure-desktop.py [--program build/app/tintorama] [--runs 5]
                               [--screen 1920x1080x24] [--compare] [--check]

The first run fills the caches (fontconfig's, the disk's) and is not
counted; the others are, and the median is reported. "Painted" is the
moment the pixel at the centre of the screen, black on the bare server,
shows the home screen (read with Xlib through ctypes, every 2 ms).
--compare measures the GL-backed framebuffer too (SDL_FRAMEBUFFER_ACCELERATION=1);
--check exits non-zero when a goal is missed: under 40 MB resident, under
150 ms to paint, under 1% of a processor when idle.
"""
import argparse
import ctypes
import ctypes.util
import os
import shutil
import signal
import statistics
import subprocess
import sys
import time

GOAL_RSS_MB = 40
GOAL_PAINT_MS = 150
GOAL_IDLE_PERCENT = 1.0


class Xlib:
    """The three calls needed to read one pixel of the root window."""

    def __init__(self, display):
        name = ctypes.util.find_library("X11")
        if not name:
            sys.exit("libX11 is not installed")
        self.x = ctypes.CDLL(name)
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.c_void_p
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XGetPixel.restype = ctypes.c_ulong
        self.x.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        self.x.XDestroyImage = None  # a macro in Xlib; XFree frees the image here
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.dpy = self.x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise OSError("cannot open display " + display)
        self.root = self.x.XDefaultRootWindow(self.dpy)

    def pixel(self, px, py):
        image = self.x.XGetImage(self.dpy, self.root, px, py, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return 0
        value = self.x.XGetPixel(image, 0, 0)
        # XImage's data is freed with it; a 1-pixel image leaks nothing worth
        # the trouble of calling through its function table.
        return value & 0xFFFFFF


def start_xvfb(screen):
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", screen, "-br",
                               "-nolisten", "tcp"], pass_fds=[write],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    deadline = time.time() + 20
    while not number.endswith(b"\n") and time.time() < deadline:
        chunk = os.read(read, 16)
        if not chunk:
            break
        number += chunk
    os.close(read)
    if not number.endswith(b"\n"):
        server.kill()
        sys.exit("Xvfb did not start")
    return server, ":" + number.decode().strip()


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return (int(fields[11]) + int(fields[12])) / ticks  # utime + stime


def resident_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def one_run(program, display, xlib, centre, env_extra, idle_seconds):
    env = dict(os.environ, DISPLAY=display, TINTO_AUDIO="null", **env_extra)
    env.pop("WAYLAND_DISPLAY", None)
    start = time.perf_counter()
    proc = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE)
    painted = None
    while time.perf_counter() - start < 20:
        if proc.poll() is not None:
            sys.exit(f"the program ended early: {proc.stderr.read().decode(errors='replace')}")
        if xlib.pixel(*centre) != 0:
            painted = time.perf_counter() - start
            break
        time.sleep(0.002)
    if painted is None:
        proc.kill()
        sys.exit("the home screen never appeared")
    # A window shown before its pixels would change the centre twice: the
    # last change within the next second counts.
    seen = xlib.pixel(*centre)
    settle = time.perf_counter() + 1.0
    while time.perf_counter() < settle:
        now = xlib.pixel(*centre)
        if now != seen:
            seen, painted = now, time.perf_counter() - start
        time.sleep(0.002)
    rss = resident_mb(proc.pid)
    before = cpu_seconds(proc.pid)
    time.sleep(idle_seconds)
    idle = (cpu_seconds(proc.pid) - before) / idle_seconds * 100
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(5)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
    # The bare server again, so that the next run's paint is seen afresh.
    deadline = time.time() + 5
    while xlib.pixel(*centre) != 0 and time.time() < deadline:
        time.sleep(0.01)
    return painted * 1000, rss, idle


def measure(label, program, display, xlib, centre, env_extra, runs, idle_seconds):
    one_run(program, display, xlib, centre, env_extra, 0.5)  # fills the caches
    results = [one_run(program, display, xlib, centre, env_extra, idle_seconds)
               for _ in range(runs)]
    paint = statistics.median(r[0] for r in results)
    rss = statistics.median(r[1] for r in results)
    idle = statistics.median(r[2] for r in results)
    print(f"{label:48} {paint:8.0f} ms {rss:8.1f} MB {idle:8.2f} %")
    return paint, rss, idle


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", default=os.path.join(here, "..", "build", "app", "tintorama"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--screen", default="1920x1080x24")
    parser.add_argument("--idle", type=float, default=3.0, help="seconds of idle measured")
    parser.add_argument("--compare", action="store_true")
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    if not os.access(program, os.X_OK):
        sys.exit(f"no program at {program}: build it first (ninja -C build tintorama)")
    if not shutil.which("Xvfb"):
        sys.exit("Xvfb is not installed (apt-get install xvfb)")
    try:
        width, height = (int(v) for v in args.screen.split("x")[:2])
    except ValueError:
        sys.exit("--screen takes WIDTHxHEIGHTxDEPTH, for example 1920x1080x24")

    server, display = start_xvfb(args.screen)
    try:
        xlib = None
        for _ in range(100):
            try:
                xlib = Xlib(display)
                break
            except OSError:
                time.sleep(0.05)
        if not xlib:
            sys.exit("cannot connect to the private X server")
        centre = (width // 2, height // 2)
        print(f"{program} on Xvfb {args.screen}, median of {args.runs} runs after one warm-up")
        print(f"{'':48} {'to paint':>11} {'resident':>11} {'idle CPU':>10}")
        paint, rss, idle = measure("window framebuffer (default)", program, display, xlib,
                                   centre, {}, args.runs, args.idle)
        if args.compare:
            measure("GL framebuffer (SDL_FRAMEBUFFER_ACCELERATION=1)", program, display, xlib,
                    centre, {"SDL_FRAMEBUFFER_ACCELERATION": "1"}, args.runs, args.idle)
        print(f"goals: under {GOAL_PAINT_MS} ms, under {GOAL_RSS_MB} MB, "
              f"under {GOAL_IDLE_PERCENT} % idle")
        missed = [name for name, bad in (("paint", paint >= GOAL_PAINT_MS),
                                         ("memory", rss >= GOAL_RSS_MB),
                                         ("idle", idle >= GOAL_IDLE_PERCENT)) if bad]
        if missed:
            print("missed: " + ", ".join(missed))
            if args.check:
                return 1
        else:
            print("all goals met")
        return 0
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    sys.exit(main())
