#!/usr/bin/env python3
"""Pictures for the net-skin end-to-end test.

  net_skin_pictures.py make THEME_DIR SKIN_DIR ORDER
      copies the window skin's frame pictures, the right pane's caption and background and
      draws a table fill into SKIN_DIR/theme, with the colour channels reordered by ORDER
      (e.g. "bgr": red and blue swapped), so that the skinned frame is told apart at a glance.
  net_skin_pictures.py pixel PNG X Y
      prints the red, green and blue bytes of one pixel of a screenshot.
"""
import os
import struct
import sys
import zlib


def read_bmp24(path):
    data = open(path, "rb").read()
    off, = struct.unpack_from("<I", data, 10)
    w, h, _, bpp = struct.unpack_from("<iiHH", data, 18)
    if bpp != 24:
        raise ValueError("%s: %d bits per pixel" % (path, bpp))
    return data[:off], bytearray(data[off:]), w, abs(h)


def reorder(src, dst, order):
    head, px, w, h = read_bmp24(src)
    row = (w * 3 + 3) & ~3
    pick = ["rgb".index(c) for c in order]
    for y in range(h):
        for x in range(w):
            i = y * row + x * 3
            b, g, r = px[i], px[i + 1], px[i + 2]
            rgb = (r, g, b)
            px[i + 2], px[i + 1], px[i] = rgb[pick[0]], rgb[pick[1]], rgb[pick[2]]
    with open(dst, "wb") as f:
        f.write(head + px)


def checks(path, w=16, h=16, a=(150, 40, 160), b=(90, 20, 110)):
    row = (w * 3 + 3) & ~3
    px = bytearray()
    for y in range(h):
        line = bytearray()
        for x in range(w):
            r, g, bl = a if ((x // 8) + (y // 8)) % 2 == 0 else b
            line += bytes((bl, g, r))
        px += line + b"\0" * (row - len(line))
    head = struct.pack("<2sIHHI", b"BM", 54 + len(px), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(px), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(head + info + px)


def make(theme, skin, order):
    out = os.path.join(skin, "theme")
    os.makedirs(os.path.join(out, "respic"), exist_ok=True)
    for name in os.listdir(theme):
        low = name.lower()
        if low.startswith("frame") and low.endswith(".bmp"):
            reorder(os.path.join(theme, name), os.path.join(out, name), order)
    # The right pane's pictures, from the theme's own folder layout.
    for rel in ("pi_caption160.bmp", "pi_caption240.bmp", os.path.join("respic", "Talk_win.bmp")):
        for base in (theme, os.path.join(theme, "..")):
            src = os.path.join(base, rel)
            if os.path.exists(src):
                reorder(src, os.path.join(out, rel), order)
                break
    checks(os.path.join(out, "bkgFill.bmp"))


def pixel(path, x, y):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat = 8, b""
    while pos < len(data):
        n, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            w, h, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("unsupported PNG")
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = w * bpp
    prev = bytearray(stride)
    for row in range(y + 1):
        f = raw[row * (stride + 1)]
        line = bytearray(raw[row * (stride + 1) + 1:(row + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = line
    return tuple(prev[x * bpp:x * bpp + 3])


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "make":
        make(sys.argv[2], sys.argv[3], sys.argv[4])
    elif len(sys.argv) == 5 and sys.argv[1] == "pixel":
        print(*pixel(sys.argv[2], int(sys.argv[3]), int(sys.argv[4])))
    else:
        sys.stderr.write(__doc__)
        sys.exit(2)
