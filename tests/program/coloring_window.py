#!/usr/bin/python3
"""The colouring screens in a real window: under a private Xvfb server the
free colouring screen opens on a click on the home picture, a thumbnail
click shows a picture, palette and canvas clicks colour it, Escape closes
the screen; the same for the sample colouring screen; a last Escape ends
the program. Without a display the program refuses to run, clearly.
With --shots DIR a half-coloured picture of each screen is
saved there as free-coloring.png and sample-coloring.png.
Exits 77 (skipped) when Xvfb, xdotool, ImageMagick's import or PIL is
missing."""
import argparse
import ctypes
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import xvfb  # noqa: E402

SKIP = 77
try:
    from PIL import Image
except ImportError:
    Image = None


def mul_div(a, b, c):
    """Windows' MulDiv: rounds half away from zero."""
    return (2 * a * b + c) // (2 * c)


def du_rect(x, y, w, h):
    """A template rectangle in dialog units, in pixels (6 x 13 base units)."""
    return (mul_div(x, 6, 4), mul_div(y, 13, 8), mul_div(w, 6, 4), mul_div(h, 13, 8))


def centre(rect):
    return (rect[0] + rect[2] // 2, rect[1] + rect[3] // 2)


HOME_FREE = centre(du_rect(43, 94, 86, 27))
HOME_SAMPLE = centre(du_rect(145, 68, 89, 28))
# The screens' client sizes (templates of 496 x 331 and 521 x 321 dialog
# units), their strips' top-left, palettes (top-left, columns) and the areas
# the pictures are centred in.
SCREENS = {
    "free": dict(button=HOME_FREE, size=(744, 538), strip=du_rect(7, 17, 0, 0)[:2], palette=((120, 450), 26),
                 area=(110, 40, 600, 400), cell=2),
    "sample": dict(button=HOME_SAMPLE, size=(782, 522), strip=du_rect(7, 20, 0, 0)[:2],
                   palette=((120, 420), 28), area=(445, 60, 320, 320), cell=1),
}
# Palette entries to colour with: yellow, red, green, blue, orange, magenta, cyan.
SWATCHES = [(20, (255, 255, 0)), (8, (255, 0, 0)), (26, (0, 255, 0)), (38, (0, 0, 255)),
            (15, (255, 128, 0)), (44, (255, 0, 255)), (32, (0, 255, 255))]


def die_with_parent():
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def wait_for(check, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        result = check()
        if result:
            return result
        time.sleep(0.1)
    return check()


class Desktop:
    def __init__(self, env):
        self.env = env

    def run(self, *args):
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True, timeout=30)

    def windows(self):
        out = self.run("xdotool", "search", "--onlyvisible", "--class", "")
        return [w for w in out.stdout.split() if w]

    def geometry(self, window):
        out = self.run("xdotool", "getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.stdout.split() if "=" in line)
        try:
            return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        except KeyError:
            return None

    def click(self, x, y):
        self.run("xdotool", "mousemove", str(x), str(y))
        time.sleep(0.05)
        self.run("xdotool", "click", "1")
        time.sleep(0.15)

    def key(self, name):
        self.run("xdotool", "key", name)

    def grab(self, rect, path):
        x, y, w, h = rect
        subprocess.run(["import", "-silent", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", path],
                       env=self.env, check=True, timeout=30)
        return Image.open(path).convert("RGB")


def window_of_size(desk, size, before):
    for w in desk.windows():
        if w in before:
            continue
        g = desk.geometry(w)
        if g and g[2:] == (size[0] + 2, size[1] + 2):  # the one-pixel border
            return w, g
    return None


def colour_screen(desk, name, home_rect, shots, scratch):
    spec = SCREENS[name]
    before = set(desk.windows())
    hx, hy = home_rect[0] + 1 + spec["button"][0], home_rect[1] + 1 + spec["button"][1]
    desk.click(hx, hy)
    found = wait_for(lambda: window_of_size(desk, spec["size"], before), 45)
    if not found:
        print(f"FAIL: the {name} colouring screen did not open on a click")
        return False
    _, rect = found
    ox, oy = rect[0] + 1, rect[1] + 1  # client origin on the screen
    client = (ox, oy, spec["size"][0], spec["size"][1])
    time.sleep(1.0)

    # A picture from the strip.
    sx, sy = spec["strip"]
    desk.click(ox + sx + 42, oy + sy + spec["cell"] * 62 + 32)
    time.sleep(0.5)

    # Colour about half of the white paper in the picture's area, one region
    # per point, each with the next colour; keep what was clicked.
    image = desk.grab(client, os.path.join(scratch, "before.png"))
    ax, ay, aw, ah = spec["area"]
    (px, py), columns = spec["palette"]
    clicked = []
    grid = 6
    for n in range(grid * grid):
        if (n % grid + n // grid) % 2:
            continue
        x = ax + aw * (1 + 2 * (n % grid)) // (2 * grid)
        y = ay + ah * (1 + 2 * (n // grid)) // (2 * grid)
        if image.getpixel((x, y)) != (255, 255, 255):
            continue
        swatch, colour = SWATCHES[len(clicked) % len(SWATCHES)]
        desk.click(ox + px + 21 * (swatch % columns) + 10, oy + py + 21 * (swatch // columns) + 10)
        desk.click(ox + x, oy + y)
        clicked.append(((x, y), colour))
    time.sleep(0.5)
    image = desk.grab(client, os.path.join(scratch, "after.png"))
    coloured = sum(1 for (x, y), colour in clicked if image.getpixel((x, y)) == colour)
    if coloured < 3:
        print(f"FAIL: {name}: {coloured} of {len(clicked)} clicks on white paper coloured it")
        return False
    if shots:
        image.save(os.path.join(shots, f"{name}-coloring.png"))

    gone = lambda: window_of_size(desk, spec["size"], before) is None
    for _ in range(4):
        desk.key("Escape")
        if wait_for(gone, 10):
            break
    if not gone():
        print(f"FAIL: Escape did not close the {name} colouring screen")
        return False
    print(f"real window: {name} colouring opened, {coloured} regions coloured, closed by Escape")
    return True


def real_window(program, shots):
    # The server picks a free display itself and writes its number, so that
    # other real-window tests running at the same time never collide.
    server = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                              preexec_fn=die_with_parent)
    run = None
    try:
        number = server.stdout.readline().strip()
        if not number.isdigit():
            print("FAIL: Xvfb did not start")
            return False
        env = dict(os.environ, DISPLAY=f":{number}", TINTO_AUDIO="null")
        desk = Desktop(env)
        if not wait_for(lambda: desk.run("xdotool", "getmouselocation").returncode == 0, 10):
            print("FAIL: Xvfb did not start")
            return False
        # Xvfb now and then turns a connection away while this script's own
        # xdotool clients come and go; the program then rightly says it has
        # no display. That start is tried again, at most twice.
        err = b""
        for attempt in range(3):
            run = subprocess.Popen([program], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   preexec_fn=die_with_parent)
            home = wait_for(lambda: run.poll() is not None or
                            [w for w in desk.windows() if (desk.geometry(w) or ())[2:] == (700, 467)], 60)
            if home is True:
                _, err = run.communicate(timeout=10)
                if b"cannot open a display" in err and attempt < 2:
                    print(f"note: the X server turned the program away ({err.splitlines()[-2:]!r}); starting it again")
                    continue
                home = None
            break
        if not home:
            shown = [(w, desk.geometry(w)) for w in desk.windows()]
            if run.poll() is None:
                run.kill()
                _, err = run.communicate(timeout=10)
            print(f"FAIL: the home screen's window never appeared (program status {run.returncode}, "
                  f"windows {shown}, stderr {err[-2000:]!r})")
            return False
        home_rect = desk.geometry(home[0])
        time.sleep(1.0)
        with tempfile.TemporaryDirectory() as scratch:
            for name in ("free", "sample"):
                if not colour_screen(desk, name, home_rect, shots, scratch):
                    return False
        for _ in range(4):
            desk.key("Escape")
            try:
                run.wait(timeout=3)
                break
            except subprocess.TimeoutExpired:
                pass
        if run.poll() is None:
            print("FAIL: Escape did not end the program")
            return False
        if run.returncode != 0:
            print(f"FAIL: the program ended with {run.returncode}: {run.stderr.read()!r}")
            return False
        return True
    finally:
        if run and run.poll() is None:
            run.kill()
            run.wait()
        server.terminate()
        try:
            server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()
            server.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("program")
    parser.add_argument("--shots", help="folder for free-coloring.png and sample-coloring.png")
    args = parser.parse_args()
    if not xvfb.refuses_without_display(args.program):
        return 1
    missing = [tool for tool in ("Xvfb", "xdotool", "import") if not shutil.which(tool)]
    if Image is None:
        missing.append("python3-pil")
    if missing:
        print("SKIP: the real-window check needs " + ", ".join(missing))
        return SKIP
    return 0 if real_window(args.program, args.shots) else 1


if __name__ == "__main__":
    sys.exit(main())
