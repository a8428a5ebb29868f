#!/usr/bin/env python3
"""Draws the owner-drawn theme's pictures for Tessaly.dll: BMP files and one cursor."""
import os
import struct
import sys

MAGENTA = (255, 0, 255)


def write_bmp(path, width, height, pixel):
    """24-bit bottom-up BMP; pixel(x, y) gives (r, g, b) with y counted from the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - width * 3)
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(data), 0, 0, 14 + len(header)))
        f.write(header + data)


def button_strip(x, y):
    """Four 16 x 16 round buttons side by side on a magenta key: normal, hover, down, off."""
    cell, cx = x // 16, x % 16
    dx, dy = cx - 7.5, y - 7.5
    if dx * dx + dy * dy > 7.5 * 7.5:
        return MAGENTA
    fills = [(70, 120, 200), (100, 160, 240), (40, 80, 150), (150, 150, 150)]
    r, g, b = fills[cell]
    shade = max(0, 40 - y * 4)
    return (min(255, r + shade), min(255, g + shade), min(255, b + shade))


def background_tile(x, y):
    """A soft 16 x 16 tile with a diagonal weave."""
    v = 226 + (8 if (x + y) % 8 < 4 else 0)
    return (v - 12, v - 4, v)


def border_bitmap(x, y):
    """10 x 10 checker used as an ordinary bitmap resource."""
    return (20, 48, 87) if (x // 5 + y // 5) % 2 == 0 else (181, 209, 226)


def scroll_arrows(x, y):
    """Two 12 x 12 arrow cells (up, down) over a light face."""
    cell, cx = x // 12, x % 12
    face = (214, 228, 242)
    row = y if cell == 0 else 11 - y
    half = max(0, row - 3)
    return (30, 60, 110) if 3 <= row <= 8 and abs(cx - 5.5) <= half else face


def scroll_strip(x, y):
    """The scroll bars' image strip for part sizes 13: four vertical cells (up, down, thumb,
    track), four horizontal ones (left, right, thumb, track) and the size box column; rows
    normal, hot and pressed."""
    n = 13
    row, ry = y // n, y % n
    face = [(214, 228, 242), (229, 240, 250), (181, 209, 226)][row]
    thumb = [(160, 190, 220), (130, 170, 210), (90, 130, 180)][row]
    ink, border, track = (30, 60, 110), (20, 48, 87), (236, 242, 248)
    if x >= 8 * n:  # size box: three grip dots on the face
        cx = (x - 8 * n) % n
        return ink if ry % 13 in (9, 10) and cx in (3, 6, 9) else face
    vertical = x < 4 * n
    cell, along_x = divmod(x if vertical else x - 4 * n, n)
    along, across = (ry, along_x) if vertical else (along_x, ry)
    edge = across in (0, n - 1)
    if cell in (0, 1):  # arrows: a triangle pointing out of the bar
        a = along if cell == 0 else n - 1 - along
        if edge or along in (0, n - 1):
            return border
        return ink if 3 <= a <= 8 and abs(across - 6) <= a - 3 else face
    if cell == 2:  # thumb: caps of 6 pixels either side of the stretched middle line
        if edge or along in (0, n - 2):
            return border
        return thumb
    return border if edge else track


def password_marks(x, y):
    """Four 10 x 12 diamond cells on a magenta key: two blinking frames of the normal state,
    then two of the selected state."""
    cell, cx = x // 10, x % 10
    if abs(cx - 4.5) + abs(y - 5.5) > 4.6:
        return MAGENTA
    fills = [(20, 48, 87), (60, 110, 180), (255, 255, 255), (214, 228, 242)]
    return fills[cell]


def submenu_marks(x, y):
    """Three 8 x 9 cells of a right-pointing mark on a magenta key: normal, marked, hot."""
    cell, cx = x // 8, x % 8
    if not (2 <= cx <= 5 and abs(y - 4) <= 5 - cx):
        return MAGENTA
    return [(20, 48, 87), (60, 110, 180), (255, 255, 255)][cell]


def check_mark(on):
    """A 13 x 13 box on a magenta key, ticked when on."""
    def pixel(x, y):
        if x in (0, 12) or y in (0, 12):
            return (20, 48, 87)
        if on and ((x - 3 == y - 6 and 3 <= x <= 5) or (x + y == 14 and 5 <= x <= 9)):
            return (20, 48, 87)
        return (255, 255, 255)
    return pixel


def radio_mark(on):
    """A 13 x 13 ring on a magenta key, with a dot when on."""
    def pixel(x, y):
        d = (x - 6) ** 2 + (y - 6) ** 2
        if d > 36:
            return MAGENTA
        if d > 25:
            return (20, 48, 87)
        if on and d <= 6:
            return (20, 48, 87)
        return (255, 255, 255)
    return pixel


def button_face(pressed):
    """A 120 x 28 rounded face on a magenta key: light when out, deeper when in."""
    def pixel(x, y):
        r = 8
        cx = min(max(x, r), 119 - r)
        cy = min(max(y, r), 27 - r)
        d = (x - cx) ** 2 + (y - cy) ** 2
        if d > r * r:
            return MAGENTA
        if d > (r - 1) * (r - 1) or y in (0, 27) and 8 <= x <= 111 or x in (0, 119) and 8 <= y <= 19:
            return (20, 48, 87)
        top = (181, 209, 226) if pressed else (236, 244, 252)
        bottom = (120, 160, 200) if pressed else (200, 222, 240)
        return tuple(top[i] + (bottom[i] - top[i]) * y // 27 for i in range(3))
    return pixel


def flip_arrow(left, pressed):
    """A 12 x 12 flip button pointing left or right: a framed face with a triangle."""
    def pixel(x, y):
        if x in (0, 11) or y in (0, 11):
            return (20, 48, 87)
        tip = 3 if left else 8
        reach = abs(x - tip)
        if 3 <= x <= 8 and abs(y - 5.5) <= reach * 0.6 + 0.5 and (x >= tip if left else x <= tip):
            return (255, 255, 255) if pressed else (20, 48, 87)
        return (20, 48, 87) if pressed else (220, 243, 255)
    return pixel


def drop_button(pressed):
    """A 16 x 20 drop button: a framed face with a down-pointing triangle."""
    def pixel(x, y):
        if x in (0, 15) or y in (0, 19):
            return (20, 48, 87)
        if 8 <= y <= 11 and abs(x - 7.5) <= 11.5 - y:
            return (255, 255, 255) if pressed else (20, 48, 87)
        return (20, 48, 87) if pressed else (214, 228, 242)
    return pixel


def write_cursor(path):
    """32 x 32 monochrome cursor: a small cross with its hot spot in the middle."""
    w = h = 32
    xor = bytearray(w * h // 8)
    andm = bytearray(b"\xff" * (w * h // 8))
    for y in range(h):
        for x in range(w):
            on = (abs(x - 15) <= 1 and 4 <= y <= 27) or (abs(y - 15) <= 1 and 4 <= x <= 27)
            if on:
                row = h - 1 - y  # bottom-up
                andm[row * 4 + x // 8] &= ~(0x80 >> (x % 8)) & 0xFF
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + bytes(xor) + bytes(andm)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1))
        f.write(struct.pack("<BBBBHHII", w, h, 0, 0, 15, 15, len(image), 6 + 16))
        f.write(image)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, "buttons.bmp"), 64, 16, button_strip)
    write_bmp(os.path.join(out, "background.bmp"), 16, 16, background_tile)
    write_bmp(os.path.join(out, "border.bmp"), 10, 10, border_bitmap)
    write_bmp(os.path.join(out, "arrows.bmp"), 24, 12, scroll_arrows)
    write_bmp(os.path.join(out, "pwdmarks.bmp"), 40, 12, password_marks)
    write_bmp(os.path.join(out, "submarks.bmp"), 24, 9, submenu_marks)
    write_bmp(os.path.join(out, "checkon.bmp"), 13, 13, check_mark(True))
    write_bmp(os.path.join(out, "checkoff.bmp"), 13, 13, check_mark(False))
    write_bmp(os.path.join(out, "radioon.bmp"), 13, 13, radio_mark(True))
    write_bmp(os.path.join(out, "radiooff.bmp"), 13, 13, radio_mark(False))
    write_bmp(os.path.join(out, "faceout.bmp"), 120, 28, button_face(False))
    write_bmp(os.path.join(out, "facein.bmp"), 120, 28, button_face(True))
    write_bmp(os.path.join(out, "flipleftout.bmp"), 12, 12, flip_arrow(True, False))
    write_bmp(os.path.join(out, "flipleftin.bmp"), 12, 12, flip_arrow(True, True))
    write_bmp(os.path.join(out, "fliprightout.bmp"), 12, 12, flip_arrow(False, False))
    write_bmp(os.path.join(out, "fliprightin.bmp"), 12, 12, flip_arrow(False, True))
    write_bmp(os.path.join(out, "dropout.bmp"), 16, 20, drop_button(False))
    write_bmp(os.path.join(out, "dropin.bmp"), 16, 20, drop_button(True))
    write_bmp(os.path.join(out, "scrollbar.bmp"), 9 * 13, 3 * 13, scroll_strip)
    write_cursor(os.path.join(out, "hand.cur"))


if __name__ == "__main__":
    main()
