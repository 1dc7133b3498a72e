#!/usr/bin/env bash
# Seeds for the image decoders' fuzz targets, written by ImageMagick:
# fuzz/make_img_corpus.sh OUTDIR makes OUTDIR/{bmp,png,ico,gif,tga,pcx,wbmp}/.
set -euo pipefail
out=${1:?usage: make_img_corpus.sh OUTDIR}
mkdir -p "$out"/{bmp,png,ico,gif,tga,pcx,wbmp}
src="$out/source.png"
convert -size 23x17 xc: -sparse-color Bilinear '0,0 red 22,0 lime 0,16 blue 22,16 white' "$src"
convert "$src" -type TrueColor BMP3:"$out/bmp/rgb24.bmp"
convert "$src" -type TrueColor BMP2:"$out/bmp/os2.bmp"
convert "$src" -colors 60 -type Palette -compress RLE BMP3:"$out/bmp/rle8.bmp"
convert "$src" -colors 60 -type Palette -compress None BMP3:"$out/bmp/pal8.bmp"
convert "$src" -colors 16 -type Palette BMP3:"$out/bmp/pal4.bmp"
convert "$src" -monochrome BMP3:"$out/bmp/mono.bmp"
convert "$src" -define bmp:subtype=RGB565 BMP:"$out/bmp/rgb565.bmp"
convert "$src" -alpha on BMP:"$out/bmp/argb.bmp"
convert "$src" "$out/png/rgb.png"
convert "$src" -colors 30 PNG8:"$out/png/palette.png"
convert "$src" -colorspace Gray -depth 2 "$out/png/grey2.png"
convert "$src" -depth 16 -interlace PNG "$out/png/deep-interlaced.png"
convert "$src" -alpha set -channel A -fx 'i<5?0.5:1' +channel "$out/png/alpha.png"
convert "$src" -monochrome "$out/png/mono.png"
convert "$src" -resize 16x16! "$out/ico/one.ico"
convert "$src" -define icon:auto-resize=16,32 "$out/ico/two.ico"
convert "$src" -colors 32 "$out/gif/plain.gif"
convert "$src" -colors 32 -interlace GIF "$out/gif/interlaced.gif"
convert "$src" -type TrueColor "$out/tga/rgb.tga"
convert "$src" -type TrueColor -compress RLE "$out/tga/rle.tga"
convert "$src" -colors 30 -type Palette "$out/tga/mapped.tga"
convert "$src" -type TrueColor "$out/pcx/rgb.pcx"
convert "$src" -colors 30 -type Palette "$out/pcx/pal.pcx"
convert "$src" -monochrome "$out/wbmp/mono.wbmp"
rm "$src"
