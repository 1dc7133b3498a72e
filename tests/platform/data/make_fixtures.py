#!/usr/bin/env python3
"""Writes the small binary files the resource tests compile (run once; the
results are committed)."""
import struct
import zlib


def dib(width, height, bpp, pixels, mask, palette=()):
    """BITMAPINFOHEADER + palette + bottom-up XOR rows + AND mask rows."""
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, bpp, 0, 0, 0, 0, len(palette), 0)
    data = header + b''.join(struct.pack('<I', c) for c in palette)
    stride = ((width * bpp + 31) // 32) * 4
    for y in reversed(range(height)):
        row = b''
        if bpp == 8:
            row = bytes(pixels[y][x] for x in range(width))
        elif bpp == 32:
            row = b''.join(struct.pack('<I', pixels[y][x]) for x in range(width))
        elif bpp == 1:
            bits = 0
            for x in range(width):
                bits |= pixels[y][x] << (width - 1 - x)
            row = bits.to_bytes((width + 7) // 8, 'big')
        data += row + b'\0' * (stride - len(row))
    mstride = ((width + 31) // 32) * 4
    for y in reversed(range(height)):
        bits = 0
        for x in range(width):
            bits |= mask[y][x] << (width - 1 - x)
        row = bits.to_bytes((width + 7) // 8, 'big')
        data += row + b'\0' * (mstride - len(row))
    return data


def png(width, height, rgba):
    raw = b''.join(b'\0' + bytes(rgba) * width for _ in range(height))
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def icon_file(kind, images):
    """images: (width, height, field1, field2, data)."""
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for w, h, f1, f2, data in images:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, f1, f2, len(data), offset + len(body))
        body += data
    return out + body


# Icon: 16x16 8-bit (red, left half transparent), 32x32 32-bit with alpha
# (blue, alpha rising to the right), 48x48 PNG (green).
small = dib(16, 16, 8, [[1] * 16] * 16, [[1 if x < 8 else 0 for x in range(16)] for _ in range(16)],
            palette=(0, 0xFF0000))
big = dib(32, 32, 32, [[(x * 8 << 24) | 0x0000FF for x in range(32)] for _ in range(32)], [[0] * 32] * 32)
large = png(48, 48, (0, 255, 0, 255))
open('two.ico', 'wb').write(icon_file(1, [(16, 16, 1, 8, small), (32, 32, 1, 32, big), (48, 48, 1, 32, large)]))

# Cursor: 32x32 monochrome, hot spot (3, 5), a black square at the top-left.
pixels = [[0] * 32 for _ in range(32)]
mask = [[0 if x < 8 and y < 8 else 1 for x in range(32)] for y in range(32)]
cur = dib(32, 32, 1, pixels, mask, palette=(0, 0xFFFFFF))
open('arrow.cur', 'wb').write(icon_file(2, [(32, 32, 3, 5, cur)]))

# A 2x2 24-bit BMP.
rows = b'\x00\x00\xff\xff\xff\xff\x00\x00' + b'\x00\xff\x00\x00\x00\x00\x00\x00'
info = struct.pack('<IiiHHIIiiII', 40, 2, 2, 1, 24, 0, len(rows), 0, 0, 0, 0)
open('tiny.bmp', 'wb').write(b'BM' + struct.pack('<IHHI', 14 + 40 + len(rows), 0, 0, 54) + info + rows)

# A short 16-bit mono WAVE.
samples = struct.pack('<4h', 0, 1000, -1000, 0)
fmt = struct.pack('<HHIIHH', 1, 1, 22050, 44100, 2, 16)
wav = b'WAVE' + b'fmt ' + struct.pack('<I', 16) + fmt + b'data' + struct.pack('<I', len(samples)) + samples
open('click.wav', 'wb').write(b'RIFF' + struct.pack('<I', len(wav)) + wav)
