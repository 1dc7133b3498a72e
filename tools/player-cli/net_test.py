#!/usr/bin/env python3
"""player-cli on streams from real servers on loopback: a song fetched over
HTTP (directly and through tinyproxy) and over FTP in active mode
(pyftpdlib) must decode to the same bytes as the file played from disk;
a 404 and a redirect loop fail with the library's error names. A server
that is not installed skips its part."""
import math
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import wave
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

cli = sys.argv[1]
work = tempfile.mkdtemp(prefix="net_test_")
procs = []
failures = []


def fail(text):
    failures.append(text)
    print("FAIL:", text)


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def wait_port(port, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        try:
            socket.create_connection(("127.0.0.1", port), 0.2).close()
            return True
        except OSError:
            time.sleep(0.05)
    return False


def run(*args, env=None):
    return subprocess.run([cli, "-q", *args], capture_output=True, text=True, timeout=60,
                          env=env)


def same_as_disk(label, url, env=None):
    out = os.path.join(work, label + ".wav")
    r = run(url, out, env=env)
    if r.returncode != 0:
        fail(f"{label}: status {r.returncode}: {r.stderr.strip()}")
    elif open(out, "rb").read() != reference:
        fail(f"{label}: decoded bytes differ from the file's")


try:
    if not shutil.which("lame"):
        print("skipped: lame is not installed")
        sys.exit(0)
    with wave.open(os.path.join(work, "tone.wav"), "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(44100)
        w.writeframes(b"".join(struct.pack("<hh", v, -v) for v in (
            int(9000 * math.sin(2 * math.pi * 330 * i / 44100)) for i in range(44100 * 4))))
    subprocess.run(["lame", "--quiet", os.path.join(work, "tone.wav"),
                    os.path.join(work, "song.mp3")], check=True)
    r = run(os.path.join(work, "song.mp3"), os.path.join(work, "disk.wav"))
    if r.returncode != 0:
        fail("the file itself: " + r.stderr)
    reference = open(os.path.join(work, "disk.wav"), "rb").read()

    song = open(os.path.join(work, "song.mp3"), "rb").read()

    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.0"

        def log_message(self, *args):
            pass

        def do_GET(self):
            path = self.path.split("://", 1)[-1]
            path = path[path.find("/"):]
            if path == "/song.mp3":
                self.send_response(200)
                self.send_header("Content-Length", str(len(song)))
                self.end_headers()
                self.wfile.write(song)
            elif path == "/chunked.mp3":  # no length: the end is the close
                self.send_response(200)
                self.end_headers()
                for at in range(0, len(song), 4000):
                    self.wfile.write(song[at:at + 4000])
                    self.wfile.flush()
            elif path == "/moved":
                self.send_response(302)
                self.send_header("Location", f"http://127.0.0.1:{http_port}/song.mp3")
                self.end_headers()
            elif path == "/loop":
                self.send_response(302)
                self.send_header("Location", f"http://127.0.0.1:{http_port}/loop")
                self.end_headers()
            else:
                refused.append(path)
                self.send_error(404)

    refused = []
    http_port = free_port()
    class QuietServer(ThreadingHTTPServer):
        def handle_error(self, request, client_address):
            pass  # a client that gave up after the status line

    server = QuietServer(("127.0.0.1", http_port), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = f"http://127.0.0.1:{http_port}"
    same_as_disk("http", base + "/song.mp3")
    same_as_disk("http_no_length", base + "/chunked.mp3")
    same_as_disk("http_redirect", base + "/moved")
    r = run(base + "/none.mp3", os.path.join(work, "x.wav"))
    if r.returncode != 1 or "http error reply" not in r.stderr:
        fail(f"404: status {r.returncode}: {r.stderr.strip()}")
    # The failed open is not tried again by the play command behind it.
    if refused != ["/none.mp3"]:
        fail(f"404: the player asked {len(refused)} times: {refused}")
    r = run(base + "/loop", os.path.join(work, "x.wav"))
    if r.returncode != 1 or "http error" not in r.stderr:
        fail(f"redirect loop: status {r.returncode}: {r.stderr.strip()}")

    tinyproxy = shutil.which("tinyproxy") or ("/usr/bin/tinyproxy" if os.path.exists(
        "/usr/bin/tinyproxy") else None)
    if tinyproxy:
        proxy_port = free_port()
        conf = os.path.join(work, "tinyproxy.conf")
        with open(conf, "w") as f:
            f.write(f"Port {proxy_port}\nListen 127.0.0.1\nAllow 127.0.0.1\nTimeout 30\n"
                    f"MaxClients 4\nLogLevel Error\nLogFile \"{work}/tinyproxy.log\"\n")
            if os.geteuid() == 0:
                f.write("User nobody\nGroup nogroup\n")
        os.chmod(work, 0o777)
        procs.append(subprocess.Popen([tinyproxy, "-d", "-c", conf],
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        if wait_port(proxy_port):
            env = dict(os.environ, http_proxy=f"http://127.0.0.1:{proxy_port}/")
            same_as_disk("http_proxy", base + "/song.mp3", env=env)
            dead = dict(os.environ, http_proxy=f"127.0.0.1:{free_port()}")
            r = run(base + "/song.mp3", os.path.join(work, "x.wav"), env=dead)
            if r.returncode != 1 or "connection refused" not in r.stderr:
                fail(f"a dead proxy was not used: {r.returncode}: {r.stderr.strip()}")
        else:
            fail("tinyproxy did not start")
    else:
        print("skipped: tinyproxy is not installed")

    # Debian's pyftpdlib lives with Debian's interpreter.
    ftp_python = None
    for candidate in (sys.executable, "/usr/bin/python3"):
        if os.path.exists(candidate) and subprocess.run(
                [candidate, "-c", "import pyftpdlib"], capture_output=True).returncode == 0:
            ftp_python = candidate
            break
    if ftp_python:
        ftp_port = free_port()
        root = os.path.join(work, "ftp")
        os.mkdir(root)
        shutil.copy(os.path.join(work, "song.mp3"), root)
        procs.append(subprocess.Popen(
            [ftp_python, "-m", "pyftpdlib", "-i", "127.0.0.1", "-p", str(ftp_port), "-d",
             root], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        if wait_port(ftp_port):
            same_as_disk("ftp", f"ftp://127.0.0.1:{ftp_port}/song.mp3")
            r = run(f"ftp://127.0.0.1:{ftp_port}/missing.mp3", os.path.join(work, "x.wav"))
            if r.returncode != 1 or "ftp error" not in r.stderr:
                fail(f"ftp missing file: status {r.returncode}: {r.stderr.strip()}")
        else:
            fail("pyftpdlib did not start")
    else:
        print("skipped: python3-pyftpdlib is not installed")
finally:
    for p in procs:
        p.terminate()
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
    shutil.rmtree(work, ignore_errors=True)

if failures:
    sys.exit(1)
print("ok")
