#!/bin/sh
# player-cli seen from outside: usage errors, clear failures with the
# library's error names and non-zero statuses, and a real conversion when
# lame is installed.
cli="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$cli" >/dev/null 2>&1; [ $? -eq 2 ] || fail "no arguments must give status 2"

out=$("$cli" -q /no/such/file.mp3 "wav:$work/x.wav" 2>&1); st=$?
[ $st -eq 1 ] || fail "a missing input gave status $st"
echo "$out" | grep -q "no such file" || fail "missing input message: $out"

out=$("$cli" -q /etc/hostname "wav:$work/no/such/dir/x.wav" 2>&1); st=$?
[ $st -eq 1 ] || fail "an unwritable output gave status $st"
echo "$out" | grep -q "cannot open output file" || fail "unwritable output message: $out"

if command -v lame >/dev/null 2>&1 && command -v python3 >/dev/null 2>&1; then
    python3 - "$work/tone.wav" <<'PYTHON'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(2); w.setsampwidth(2); w.setframerate(44100)
    w.writeframes(b"".join(struct.pack("<hh", v, v) for v in
        (int(8000 * math.sin(2 * math.pi * 440 * i / 44100)) for i in range(44100))))
PYTHON
    lame --quiet "$work/tone.wav" "$work/tone.mp3" || fail "lame"
    "$cli" -q "$work/tone.mp3" "$work/out.wav" || fail "conversion failed"
    [ "$(head -c 4 "$work/out.wav")" = "RIFF" ] || fail "no WAV header"
    size=$(stat -c %s "$work/out.wav")
    [ "$size" -gt 170000 ] || fail "converted file too small: $size"

    # Ctrl-C ends playback at once (the sound device must not take the
    # signal for itself), with the shell's status for an interrupt. The
    # player is started with SIGINT at its default: a background job of a
    # script would otherwise begin with it ignored.
    # (Twenty seconds: the tone twenty times over, without the encoder's tag,
    # which would end the stream after the first.)
    lame --quiet -t "$work/tone.wav" "$work/bare.mp3" || fail "lame"
    for i in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20; do cat "$work/bare.mp3"; done > "$work/long.mp3"
    env --default-signal=INT SDL_AUDIODRIVER=dummy "$cli" -q "$work/long.mp3" 2>/dev/null &
    pid=$!
    sleep 1
    kill -INT $pid
    for i in 1 2 3 4 5 6 7 8 9 10; do kill -0 $pid 2>/dev/null || break; sleep 0.5; done
    if kill -0 $pid 2>/dev/null; then kill -KILL $pid; fail "Ctrl-C did not end playback"; fi
    wait $pid; st=$?
    [ $st -eq 130 ] || fail "an interrupted player gave status $st"

    # Interrupted while converting (its input stalls), the WAV file is still
    # whole: its header counts the samples written.
    mkfifo "$work/stall"
    env --default-signal=INT "$cli" -q - "$work/cut.wav" < "$work/stall" &
    pid=$!
    (cat "$work/bare.mp3"; sleep 3) > "$work/stall" &
    sleep 1.5
    kill -INT $pid
    wait $pid
    python3 - "$work/cut.wav" <<'PYTHON' || fail "the interrupted WAV file is not whole"
import os, sys, wave
with wave.open(sys.argv[1]) as w:
    frames = w.getnframes()
assert frames > 40000 and 44 + 4 * frames == os.path.getsize(sys.argv[1]), frames
PYTHON
fi
echo "ok"
