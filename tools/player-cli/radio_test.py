#!/usr/bin/env python3
"""player-cli on live streams, in real time: the sound it plays on SDL's disk
audio driver is read as it is written and searched for gaps (silences of
10 ms or more between the first and the last sound).

  radio_test.py PLAYER-CLI icecast   a mount of icecast2 fed by ezstream,
                                     without a burst on connect, for 20 s:
                                     no gap at all
  radio_test.py PLAYER-CLI stall     a server that sends frames at real-time
                                     pace, stalls 5 s, resumes, and closes
                                     in the middle of a frame: one gap only,
                                     ended within 1.5 s of the resumption,
                                     and a clean end

The stream is a tone encoded by lame without its tag frame, long enough
that no loop seam of the playlist is heard. A server or tool that is not
installed fails the test (scripts/deps.sh installs them)."""
import fcntl
import math
import os
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import wave

RATE = 44100
GAP_FRAMES = RATE // 100  # 10 ms
cli, mode = sys.argv[1], sys.argv[2]
work = tempfile.mkdtemp(prefix="radio_test_")
procs = []


def fail(text):
    print("FAIL:", text)
    sys.exit(1)


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def make_tone(seconds):
    """A 330 Hz tone as a tagless 128 kbit/s MP3: a stream without silence."""
    wav = os.path.join(work, "tone.wav")
    with wave.open(wav, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        one = b"".join(struct.pack("<hh", v, v) for v in (
            int(9000 * math.sin(2 * math.pi * 330 * i / RATE)) for i in range(RATE)))
        for _ in range(seconds):  # 330 whole periods a second: the seconds join smoothly
            w.writeframes(one)
    mp3 = os.path.join(work, "tone.mp3")
    subprocess.run(["lame", "--quiet", "-t", "--cbr", "-b", "128", wav, mp3], check=True)
    return mp3


def mp3_frames(data):
    """The MPEG-1 Layer III frames of a CBR file, as byte strings."""
    rates = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320]
    frames, at = [], 0
    while at + 4 <= len(data):
        h = data[at:at + 4]
        if h[0] != 0xFF or (h[1] & 0xFE) != 0xFA:
            fail(f"no frame header at byte {at}")
        length = 144000 * rates[h[2] >> 4] // RATE + ((h[2] >> 1) & 1)
        frames.append(data[at:at + length])
        at += length
    return frames


class Capture:
    """Takes the disk audio driver's output from a FIFO at the pace of a
    sound card, 44100 frames a second, noting when each piece was taken: the
    driver itself is told not to wait, and the FIFO is kept to one page, so
    that the writer is held back as a device would hold it. A device that
    SDL closes and opens again writes into the same FIFO."""

    def __init__(self):
        self.path = os.path.join(work, "sound.fifo")
        os.mkfifo(self.path)
        self.pieces = []  # (time taken, bytes)
        self.done = False
        self.thread = threading.Thread(target=self.run, daemon=True)
        self.thread.start()

    def run(self):
        taken, start = 0, None
        while not self.done:
            with open(self.path, "rb", buffering=0) as f:
                try:
                    fcntl.fcntl(f.fileno(), 1031, 4096)  # F_SETPIPE_SZ: 1024 frames
                except OSError:
                    pass
                while True:
                    now = time.monotonic()
                    if start is None or now - (start + taken / 4 / RATE) > 0.5:
                        start = now - taken / 4 / RATE  # a new device: the clock starts again
                    due = start + taken / 4 / RATE
                    if due > now:
                        time.sleep(due - now)
                    piece = f.read(2048)
                    if not piece:
                        break
                    self.pieces.append((time.monotonic(), piece))
                    taken += len(piece)

    def stop(self):
        self.done = True
        try:  # wakes a reader that waits for a writer
            fd = os.open(self.path, os.O_WRONLY | os.O_NONBLOCK)
            os.close(fd)
        except OSError:
            pass
        self.thread.join(5)

    def gaps(self):
        """Silences of 10 ms or more between the first and the last sound:
        (start time, end time, length in ms), the times when the sound
        around them reached the device; and the frames of sound played."""
        times, samples = [], bytearray()
        for t, piece in self.pieces:
            times.append((len(samples) // 4, t))
            samples += piece
        frames = len(samples) // 4
        values = struct.unpack(f"<{frames * 2}h", bytes(samples[:frames * 4]))
        loud = [i for i in range(frames) if values[2 * i] or values[2 * i + 1]]
        if not loud:
            return None, 0
        arrival, k = [], 0
        for i in range(frames + 1):
            while k + 1 < len(times) and times[k + 1][0] <= i:
                k += 1
            arrival.append(times[k][1] if times else 0)
        found, silent = [], 0
        for a, b in zip(loud, loud[1:]):
            if b - a - 1 >= GAP_FRAMES:
                found.append((arrival[a + 1], arrival[b], (b - a - 1) * 1000 // RATE))
                silent += b - a - 1
        return found, loud[-1] - loud[0] + 1 - silent


def play(url, seconds=None, timeout=60):
    """Runs player-cli on the disk driver; with `seconds`, stops it with
    Ctrl-C after that long. Returns its status and error output."""
    capture = Capture()
    env = dict(os.environ, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=capture.path,
               SDL_DISKAUDIODELAY="0")
    player = subprocess.Popen([cli, "-q", url], env=env, stderr=subprocess.PIPE, text=True)
    try:
        if seconds:
            time.sleep(seconds)
            player.send_signal(signal.SIGINT)
        _, errors = player.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        player.kill()
        player.communicate()
        capture.stop()
        fail(f"player-cli did not end within {timeout} s")
    capture.stop()
    return player.returncode, errors, capture


def need(*tools):
    for tool in tools:
        if not shutil.which(tool) and not os.path.exists("/usr/bin/" + tool):
            fail(f"{tool} is not installed (scripts/deps.sh installs it)")


def wait_for_mount(url_port, mount, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        try:
            with socket.create_connection(("127.0.0.1", url_port), 1) as s:
                s.sendall(f"GET {mount} HTTP/1.0\r\n\r\n".encode())
                if s.recv(64).startswith(b"HTTP/1.0 200"):
                    return True
        except OSError:
            pass
        time.sleep(0.2)
    return False


def icecast():
    need("icecast2", "ezstream", "lame")
    mp3 = make_tone(60)
    port = free_port()
    os.chmod(work, 0o777)  # icecast2 started as root runs as nobody
    os.mkdir(os.path.join(work, "log"))
    os.chmod(os.path.join(work, "log"), 0o777)
    owner = ("<changeowner><user>nobody</user><group>nogroup</group></changeowner>"
             if os.geteuid() == 0 else "")
    conf = os.path.join(work, "icecast.xml")
    with open(conf, "w") as f:
        f.write(f"""<icecast>
  <limits><clients>8</clients><sources>2</sources><queue-size>524288</queue-size>
    <source-timeout>10</source-timeout><burst-on-connect>0</burst-on-connect>
    <burst-size>0</burst-size></limits>
  <authentication><source-password>radio</source-password>
    <admin-user>admin</admin-user><admin-password>radio</admin-password></authentication>
  <hostname>127.0.0.1</hostname>
  <listen-socket><port>{port}</port><bind-address>127.0.0.1</bind-address></listen-socket>
  <paths><basedir>/usr/share/icecast2</basedir><logdir>{work}/log</logdir>
    <webroot>/usr/share/icecast2/web</webroot><adminroot>/usr/share/icecast2/admin</adminroot></paths>
  <logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog>
    <loglevel>2</loglevel></logging>
  <security><chroot>0</chroot>{owner}</security>
</icecast>
""")
    procs.append(subprocess.Popen(["icecast2", "-c", conf], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL))
    playlist = os.path.join(work, "playlist.m3u")
    with open(playlist, "w") as f:
        f.write(mp3 + "\n")
    feed = os.path.join(work, "ezstream.xml")
    with open(feed, "w") as f:
        f.write(f"""<ezstream>
  <servers><server><hostname>127.0.0.1</hostname><port>{port}</port>
    <password>radio</password><tls>None</tls></server></servers>
  <streams><stream><mountpoint>/radio.mp3</mountpoint><format>MP3</format></stream></streams>
  <intakes><intake><type>playlist</type><filename>{playlist}</filename></intake></intakes>
</ezstream>
""")
    os.chmod(feed, 0o600)
    time.sleep(0.5)
    procs.append(subprocess.Popen(["ezstream", "-c", feed], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL))
    if not wait_for_mount(port, "/radio.mp3"):
        log = os.path.join(work, "log", "error.log")
        fail("the icecast2 mount did not come up: " +
             (open(log).read()[-2000:] if os.path.exists(log) else "no log"))
    status, errors, capture = play(f"http://127.0.0.1:{port}/radio.mp3", seconds=20)
    if status != 130:
        fail(f"player-cli ended with {status}: {errors.strip()}")
    gaps, _ = capture.gaps()
    if gaps is None:
        fail("no sound was played")
    print(f"icecast2 without burst: {len(gaps)} gaps " +
          ", ".join(f"{ms} ms" for _, _, ms in gaps))
    if gaps:
        fail("the live stream played with gaps")


def stall():
    need("lame")
    frames = mp3_frames(open(make_tone(12), "rb").read())
    frame_time = 1152 / RATE
    resumed = []
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(1)
    port = listener.getsockname()[1]

    def serve():
        conn, _ = listener.accept()
        with conn:
            request = b""
            while b"\r\n\r\n" not in request:
                request += conn.recv(1024)
            conn.sendall(b"HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n")
            start, sent = time.monotonic(), 0
            for i, frame in enumerate(frames[:-1]):
                if i == int(4 / frame_time):  # 4 s of sound, then nothing for 5 s
                    time.sleep(5)
                    start += 5
                    resumed.append(time.monotonic())
                due = start + sent * frame_time
                wait = due - time.monotonic()
                if wait > 0:
                    time.sleep(wait)
                conn.sendall(frame)
                sent += 1
            conn.sendall(frames[-1][:len(frames[-1]) // 2])  # ends inside a frame

    threading.Thread(target=serve, daemon=True).start()
    status, errors, capture = play(f"http://127.0.0.1:{port}/live.mp3", timeout=60)
    if status != 0:
        fail(f"player-cli did not end cleanly: status {status}: {errors.strip()}")
    gaps, played = capture.gaps()
    if gaps is None or not resumed:
        fail("no sound was played")
    # Every whole frame is heard, less the encoder's delay at the start,
    # part of which decodes to silence.
    whole = (len(frames) - 1) * 1152
    if played < whole - 1152:
        fail(f"{played} frames of sound played, of {whole} sent in whole frames")
    print(f"real-time server with a 5 s stall: {len(gaps)} gaps " +
          ", ".join(f"{ms} ms (ended {end - resumed[0]:+.2f} s from the resumption)"
                    for _, end, ms in gaps))
    stall_began = resumed[0] - 5
    for start, end, ms in gaps:
        if start < stall_began or end > resumed[0] + 1.5:
            fail(f"a gap of {ms} ms outside the stall, or too long after it")


try:
    {"icecast": icecast, "stall": stall}[mode]()
finally:
    for p in procs[::-1]:
        p.terminate()
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
    shutil.rmtree(work, ignore_errors=True)
print("ok")
