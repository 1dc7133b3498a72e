"""Writers for Windows icon (.ico) and cursor (.cur) files, one image each."""
import struct

import numpy as np


def _and_mask(opaque):
    """1-bit mask, bottom-up, rows padded to 32 bits: 1 = transparent."""
    h, w = opaque.shape
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        bits = np.packbits(~opaque[y]).tobytes()
        out += bits + bytes(stride - len(bits))
    return bytes(out)


def _file(kind, w, h, colours, field1, field2, image):
    header = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, field1, field2,
                        len(image), 6 + 16)
    return header + entry + image


def ico_bytes(rgba):
    """A 32-bit icon (BGRA with alpha) plus its AND mask, from an HxWx4 array."""
    rgba = np.asarray(rgba, dtype=np.uint8)
    h, w, _ = rgba.shape
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    bgra = rgba[::-1, :, [2, 1, 0, 3]].tobytes()
    image = info + bgra + _and_mask(rgba[:, :, 3] >= 128)
    return _file(1, w, h, 0, 1, 32, image)


def cur_bytes(rgba, hotspot):
    """A 16-colour (4-bit) cursor from an HxWx4 array of at most 16 opaque colours."""
    rgba = np.asarray(rgba, dtype=np.uint8)
    h, w, _ = rgba.shape
    opaque = rgba[:, :, 3] >= 128
    colours = [(0, 0, 0)]
    index = np.zeros((h, w), dtype=np.uint8)
    for y in range(h):
        for x in range(w):
            if opaque[y, x]:
                c = tuple(int(v) for v in rgba[y, x, :3])
                if c not in colours:
                    colours.append(c)
                index[y, x] = colours.index(c)
    if len(colours) > 16:
        raise ValueError(f"cursor has {len(colours)} colours, at most 16 fit")
    colours += [(0, 0, 0)] * (16 - len(colours))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    stride = ((w * 4 + 31) // 32) * 4
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(0, w, 2):
            row.append((index[y, x] << 4) | (index[y, x + 1] if x + 1 < w else 0))
        xor += row + bytes(stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    image = info + palette + bytes(xor) + _and_mask(opaque)
    return _file(2, w, h, 16, hotspot[0], hotspot[1], image)


def read_ico(data):
    """Reads back the first image of an .ico or .cur file as (kind, fields, rgba).

    Used by the tests; handles the 32-bit and 4-bit images written above.
    """
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    w, h, colours, _, f1, f2, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
    w = w or 256
    h = h or 256
    hdr = struct.unpack_from("<IiiHHIIiiII", data, offset)
    bpp = hdr[4]
    pos = offset + hdr[0]
    if bpp == 32:
        bgra = np.frombuffer(data, np.uint8, w * h * 4, pos).reshape(h, w, 4)[::-1]
        rgba = bgra[:, :, [2, 1, 0, 3]].copy()
        pos += w * h * 4
    elif bpp == 4:
        pal = np.frombuffer(data, np.uint8, 64, pos).reshape(16, 4)
        pos += 64
        stride = ((w * 4 + 31) // 32) * 4
        rgba = np.zeros((h, w, 4), np.uint8)
        for y in range(h):
            row = data[pos + (h - 1 - y) * stride:]
            for x in range(w):
                byte = row[x // 2]
                i = byte >> 4 if x % 2 == 0 else byte & 15
                rgba[y, x, :3] = pal[i, [2, 1, 0]]
        pos += stride * h
        rgba[:, :, 3] = 255
    else:
        raise ValueError(f"unsupported depth {bpp}")
    mstride = ((w + 31) // 32) * 4
    for y in range(h):
        row = data[pos + (h - 1 - y) * mstride:pos + (h - y) * mstride]
        bits = np.unpackbits(np.frombuffer(row, np.uint8))[:w]
        if bpp == 4:
            rgba[y, bits == 1, 3] = 0
    return kind, (count, colours, f1, f2, bpp), rgba
