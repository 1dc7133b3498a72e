#!/usr/bin/env bash
# Seeds for every fuzz target, made by our own tools and Debian's encoders:
# fuzz/make_seeds.sh OUTDIR makes OUTDIR/<target>/ for each target. The kept
# corpora (fuzz/corpus/<target>/) are these seeds after fuzzing and
# minimising (docs/fuzzing.md).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${1:?usage: make_seeds.sh OUTDIR}
mkdir -p "$out"

# The image codecs, one folder per codec (ImageMagick).
bash "$here/make_img_corpus.sh" "$out/img"
for c in bmp png ico gif tga pcx wbmp; do
  mkdir -p "$out/img_$c"
  cp "$out/img/$c/"* "$out/img_$c/"
done
# Format detection sees every codec's files, and a metafile header.
mkdir -p "$out/img_detect"
for c in bmp png ico gif tga pcx wbmp; do
  for f in "$out/img/$c/"*; do cp "$f" "$out/img_detect/$c-$(basename "$f")"; done
done
printf '\xd7\xcd\xc6\x9a\x00\x00\x00\x00\x00\x00\x10\x00\x10\x00\x60\x00\x00\x00\x00\x00\x31\x60' \
  >"$out/img_detect/placeable.wmf"
# LoadImageA's BMP reader: the codec's BMPs.
mkdir -p "$out/bmp_loadimage"
cp "$out/img/bmp/"* "$out/bmp_loadimage/"
rm -rf "$out/img"

# Icon and cursor files: the program's own, and ImageMagick's.
mkdir -p "$out/icon_file"
cp "$root/res/icon128.ico" "$root/res/cursor131.cur" "$out/icon_file/"
cp "$out/img_ico/"* "$out/icon_file/"

# WAVE: the program's own sounds (cut short) and PCM of every layout the
# mixer takes, written by Python's wave module.
mkdir -p "$out/sound_wave"
python3 - "$root" "$out/sound_wave" <<'PY'
import struct, sys, wave, os
root, out = sys.argv[1], sys.argv[2]
for bits in (8, 16):
    for channels in (1, 2):
        for rate in (11025, 22050, 44100):
            name = os.path.join(out, 'pcm%d_%dch_%d.wav' % (bits, channels, rate))
            with wave.open(name, 'wb') as w:
                w.setnchannels(channels)
                w.setsampwidth(bits // 8)
                w.setframerate(rate)
                frames = bytearray()
                for i in range(64):
                    for c in range(channels):
                        v = ((i * 37 + c * 11) % 256) - 128
                        frames += bytes([v + 128]) if bits == 8 else struct.pack('<h', v * 200)
                w.writeframes(bytes(frames))
# The program's click sound, with its header and its first samples.
data = open(os.path.join(root, 'res', 'sound153.wav'), 'rb').read()
size = 44 + 256
head = bytearray(data[:size])
struct.pack_into('<I', head, 4, size - 8)
struct.pack_into('<I', head, 40, size - 44)
open(os.path.join(out, 'click.wav'), 'wb').write(bytes(head))
PY

# MPEG frames: the first byte picks the routing, quality and read size
# (fuzz/mpeg_frame.cpp). Layer I from the conformance streams, layers II and
# III from twolame and lame, all a few frames long.
mkdir -p "$out/mpeg_frame"
python3 - "$out/mpeg_frame/tone.wav" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], 'wb') as w:
    w.setnchannels(2); w.setsampwidth(2); w.setframerate(44100)
    w.writeframes(b''.join(struct.pack('<hh', int(8000 * math.sin(i / 7.0)),
                                       int(6000 * math.sin(i / 3.0))) for i in range(4608)))
PY
tone="$out/mpeg_frame/tone.wav"
seed() {  # seed NAME MODEBYTE FILE [BYTES]
  { printf "\\x$2"; head -c "${4:-6000}" "$3"; } >"$out/mpeg_frame/$1"
}
lame --quiet -b 128 "$tone" "$out/l3.mp3"
lame --quiet -m m -b 32 --resample 22.05 "$tone" "$out/l3-mpeg2.mp3"
lame --quiet -V 4 "$tone" "$out/l3-vbr.mp3"
twolame --quiet -b 192 "$tone" "$out/l2.mp2"
twolame --quiet -m m -b 64 "$tone" "$out/l2-mono.mp2"
seed l3.bin 30 "$out/l3.mp3"
seed l3-mpeg2.bin 21 "$out/l3-mpeg2.mp3"
seed l3-vbr.bin 06 "$out/l3-vbr.mp3"
seed l2.bin 10 "$out/l2.mp2"
seed l2-mono.bin 25 "$out/l2-mono.mp2"
testdata="$root/tests/data/mpeg"
if [ -d "$testdata" ]; then
  seed l1.bin 30 "$testdata/l1-fl1.bit" 3000
  seed l3-block.bin 40 "$testdata/l3-si_block.bit" 6000
fi
rm -f "$out"/l3*.mp3 "$out"/l2*.mp2 "$tone"

# Dialog templates: every dialog of the program, compiled by our own
# resource compiler.
mkdir -p "$out/dialog_template"
python3 - "$root" "$out/dialog_template" <<'PY'
import os, sys
root, out = sys.argv[1], sys.argv[2]
sys.path.insert(0, os.path.join(root, 'tools', 'rc'))
import rc
resources, _ = rc.compile_rc(os.path.join(root, 'res', 'dialogs.rc'))
for (rtype, name), data in sorted(resources.items(), key=lambda kv: repr(kv[0])):
    if rtype == rc.RT_DIALOG:
        open(os.path.join(out, 'dialog-%s.bin' % name), 'wb').write(data)
PY

# Catalogues: the program's own.
mkdir -p "$out/catalogue"
for f in topic freely sample; do
  [ -f "$root/build/app/$f.txt" ] && cp "$root/build/app/$f.txt" "$out/catalogue/"
done
printf '1\t2\tPictures\\a.bmp\r\n2\t1\t"Pictures\\b c.bmp"\r\n' >"$out/catalogue/small.txt"
