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
fi
echo "ok"
