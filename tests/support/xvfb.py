"""A private Xvfb server for the real-window checks, and what they share:
waiting for a condition, the tools they need, children that die with the
script. Used by tests/program/real_window.py and
tools/platform-demo/test_real_window.py:

    with xvfb.server(80, TINTO_AUDIO="null") as display:
        if display is None: ...          # the server did not start
        program = xvfb.start([path], display)
"""
import contextlib
import ctypes
import os
import shutil
import signal
import subprocess
import time

SKIP = 77  # CTest's SKIP_RETURN_CODE for these checks
TOOLS = ("Xvfb", "xdotool", "import")


def die_with_parent():
    """preexec_fn: PR_SET_PDEATHSIG, so a child goes when the script does."""
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)


def wait_for(check, seconds):
    """Calls check every 0.1 s until it gives something true or time is up;
    returns its last answer."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        result = check()
        if result:
            return result
        time.sleep(0.1)
    return check()


def missing_tools(tools=TOOLS):
    return [tool for tool in tools if not shutil.which(tool)]


def refuses_without_display(program, what="program"):
    """Without DISPLAY the program must fail with a clear message."""
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    run = subprocess.run([program], env=env, capture_output=True, text=True, timeout=30)
    if run.returncode == 0 or "cannot open a display" not in run.stderr:
        print(f"FAIL: without a display the {what} answered {run.returncode}: {run.stderr!r}")
        return False
    return True


def start(command, display):
    """Starts a program on the display, its output captured."""
    return subprocess.Popen(command, env=display, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            preexec_fn=die_with_parent)


def stop(process):
    if process and process.poll() is None:
        process.kill()
        process.wait()


@contextlib.contextmanager
def server(first_number, screen="1024x768x24", **environment):
    """A 1024 x 768 Xvfb server on a display number from first_number to
    first_number + 8 (chosen by the process id, so parallel checks do not
    meet). Yields the environment that reaches it, or None when it did not
    start; the server is stopped on leaving."""
    number = first_number + os.getpid() % 9
    display = dict(os.environ, DISPLAY=f":{number}", **environment)
    process = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", screen, "-nolisten", "tcp"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               preexec_fn=die_with_parent)
    try:
        answers = lambda: subprocess.run(["xdotool", "getmouselocation"], env=display,
                                         capture_output=True, timeout=10).returncode == 0
        yield display if wait_for(answers, 10) else None
    finally:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
