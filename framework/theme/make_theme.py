#!/usr/bin/env python3
"""Draws the skin pictures and writes Vesk.thm.

Usage: make_theme.py <thm dir> <image dir>
The same folder for both gives the layout beside the program (Theme\\ holds
everything); the platform layout keeps the pictures in Theme\\share\\.

Pictures are 24-bit BMPs (icons 32-bit ICOs) drawn with a little rasteriser:
shapes are sampled 4 x 4 per pixel so edges are smooth against what lies below
them, while the outside of window corners stays the exact key colour (magenta)
that the window shapes are cut from.
"""
import math
import os
import struct
import sys

KEY = (255, 0, 255)

# One palette for every window: a deep blue caption, a light body.
CAP_TOP = (74, 134, 214)
CAP_BOTTOM = (29, 84, 158)
CAP_NA_TOP = (158, 172, 192)
CAP_NA_BOTTOM = (120, 136, 160)
OUTLINE = (16, 44, 86)
OUTLINE_NA = (92, 104, 124)
SIDE = (33, 92, 170)
SIDE_NA = (130, 144, 166)
BODY = (243, 246, 251)
TABLE = (24, 92, 64)  # under the view; shows only before a view covers it
GLYPH = (255, 255, 255)


class Canvas:
    def __init__(self, w, h, fill=KEY):
        self.w, self.h = w, h
        self.px = [[fill for _ in range(w)] for _ in range(h)]

    def get(self, x, y):
        return self.px[y][x]

    def put(self, x, y, c, a=1.0):
        if 0 <= x < self.w and 0 <= y < self.h and a > 0:
            if a >= 1:
                self.px[y][x] = c
            elif self.px[y][x] == KEY:
                # Never blend into the key colour: the window shape keeps exactly the
                # pixels that are not the key, so an edge pixel is all in or all out.
                if a >= 0.5:
                    self.px[y][x] = c
            else:
                o = self.px[y][x]
                self.px[y][x] = tuple(int(round(o[i] + (c[i] - o[i]) * a)) for i in range(3))

    def fill(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y][x] = c

    def shape(self, inside, colour, x0=0, y0=0, x1=None, y1=None, samples=4):
        """Paints colour(x, y) wherever inside(fx, fy) holds, with sampled coverage."""
        x1 = self.w if x1 is None else x1
        y1 = self.h if y1 is None else y1
        step = 1.0 / samples
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for sy in range(samples):
                    for sx in range(samples):
                        if inside(x + (sx + 0.5) * step, y + (sy + 0.5) * step):
                            hits += 1
                if hits:
                    self.put(x, y, colour(x, y) if callable(colour) else colour, hits / (samples * samples))

    def blit(self, other, dx, dy):
        for y in range(other.h):
            for x in range(other.w):
                self.put(dx + x, dy + y, other.px[y][x])

    def save_bmp(self, path):
        row = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for x in range(self.w):
                r, g, b = self.px[y][x]
                line += bytes((b, g, r))
            line += b"\0" * (row - len(line))
            data += line
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + data)


def lerp(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def rounded(x0, y0, x1, y1, r_top, r_bottom=None):
    """Inside test of a rectangle with rounded corners (radius per row of corners)."""
    r_bottom = r_top if r_bottom is None else r_bottom

    def inside(fx, fy):
        if fx < x0 or fx >= x1 or fy < y0 or fy >= y1:
            return False
        for r, cy in ((r_top, y0 + r_top), (r_bottom, y1 - r_bottom)):
            if r <= 0:
                continue
            if (fy < cy and cy == y0 + r) or (fy > cy and cy == y1 - r):
                for cx in (x0 + r, x1 - r):
                    if (fx < cx and cx == x0 + r) or (fx > cx and cx == x1 - r):
                        if (fx - cx) ** 2 + (fy - cy) ** 2 > r * r:
                            return False
        return True

    return inside


def segment(ax, ay, bx, by, width):
    def inside(fx, fy):
        vx, vy = bx - ax, by - ay
        t = ((fx - ax) * vx + (fy - ay) * vy) / float(vx * vx + vy * vy or 1)
        t = max(0.0, min(1.0, t))
        dx, dy = fx - (ax + t * vx), fy - (ay + t * vy)
        return dx * dx + dy * dy <= (width / 2.0) ** 2

    return inside


def ring(cx, cy, r0, r1):
    return lambda fx, fy: r0 * r0 <= (fx - cx) ** 2 + (fy - cy) ** 2 <= r1 * r1


def disc(cx, cy, r):
    return lambda fx, fy: (fx - cx) ** 2 + (fy - cy) ** 2 <= r * r


def union(*tests):
    return lambda fx, fy: any(t(fx, fy) for t in tests)


def box(x0, y0, x1, y1):
    return lambda fx, fy: x0 <= fx < x1 and y0 <= fy < y1


# 5 x 7 glyphs for the question mark and the help button.
QUESTION = ["01110", "10001", "00001", "00010", "00100", "00000", "00100"]


def glyph(pattern, x0, y0, cell):
    rects = []
    for j, line in enumerate(pattern):
        for i, ch in enumerate(line):
            if ch == "1":
                rects.append(box(x0 + i * cell, y0 + j * cell, x0 + (i + 1) * cell, y0 + (j + 1) * cell))
    return union(*rects)


# ---- window skins ------------------------------------------------------------------

def caption_colour(y, height, active):
    top, bottom = (CAP_TOP, CAP_BOTTOM) if active else (CAP_NA_TOP, CAP_NA_BOTTOM)
    return lerp(top, bottom, y / float(max(1, height - 1)))


def dialog_background(active, cell=28, caption=28, border=4):
    """Nine cells of `cell` pixels; the caption fills the top row."""
    size = cell * 3
    c = Canvas(size, size)
    outline = OUTLINE if active else OUTLINE_NA
    side = SIDE if active else SIDE_NA
    c.shape(rounded(0, 0, size, size, 7, 4), outline)
    c.shape(rounded(1, 1, size - 1, size - 1, 6, 3), side)
    c.shape(rounded(1, 1, size - 1, caption, 6, 0), lambda x, y: caption_colour(y, caption, active))
    # A light line under the caption and a thin bevel around the body.
    c.fill(border, caption - 1, size - border, caption, lerp(side, (255, 255, 255), 0.25))
    c.fill(border - 1, caption, size - border + 1, size - border + 1, lerp(side, (0, 0, 0), 0.2))
    c.fill(border, caption, size - border, size - border, BODY)
    return c


def panel_background(cell=8, border=4):
    """A light panel with a blue frame and no caption strip (the wait box)."""
    size = cell * 3
    c = Canvas(size, size)
    c.shape(rounded(0, 0, size, size, 4), OUTLINE)
    c.shape(rounded(1, 1, size - 1, size - 1, 3), SIDE)
    c.fill(border - 1, border - 1, size - border + 1, size - border + 1, lerp(SIDE, (0, 0, 0), 0.2))
    c.fill(border, border, size - border, size - border, BODY)
    return c


def strip(cells, cell_w, cell_h, draw_cell):
    c = Canvas(cell_w * cells, cell_h)
    for i in range(cells):
        part = Canvas(cell_w, cell_h)
        draw_cell(part, i)
        c.blit(part, i * cell_w, 0)
    return c


def caption_button(kind, w, h, top, caption_h, active=True):
    """Four cells: normal, hover, pressed, disabled, over the caption gradient at row `top`."""

    def draw(c, state):
        for y in range(h):
            c.fill(0, y, w, y + 1, caption_colour(top + y, caption_h, active))
        if kind == "close":
            face = [None, (226, 72, 64), (176, 44, 38), None][state]
        else:
            face = [None, (120, 172, 236), (22, 64, 126), None][state]
        if face:
            c.shape(rounded(0, 0, w, h, 3), face)
        elif state == 0:
            c.shape(rounded(0, 0, w, h, 3), lerp(caption_colour(top + h // 2, caption_h, active), (255, 255, 255), 0.12))
        ink = GLYPH if state != 3 else (176, 188, 204)
        cx, cy = w / 2.0, h / 2.0
        s = min(w, h) * 0.26
        if kind == "close":
            shape = union(segment(cx - s, cy - s, cx + s, cy + s, 1.8), segment(cx - s, cy + s, cx + s, cy - s, 1.8))
        elif kind == "min":
            shape = box(cx - s, cy + s - 1, cx + s + 1, cy + s + 1)
        elif kind == "max":
            shape = union(box(cx - s, cy - s, cx + s + 1, cy - s + 2), box(cx - s, cy - s, cx - s + 1, cy + s + 1),
                          box(cx + s, cy - s, cx + s + 1, cy + s + 1), box(cx - s, cy + s, cx + s + 1, cy + s + 1))
        elif kind == "restore":
            a = s * 0.75
            o = s * 0.45
            back = union(box(cx - a + o, cy - a - o, cx + a + o + 1, cy - a - o + 1),
                         box(cx + a + o, cy - a - o, cx + a + o + 1, cy + a - o + 1))
            front = union(box(cx - a - o, cy - a + o, cx + a - o + 1, cy - a + o + 2),
                          box(cx - a - o, cy - a + o, cx - a - o + 1, cy + a + o + 1),
                          box(cx + a - o, cy - a + o, cx + a - o + 1, cy + a + o + 1),
                          box(cx - a - o, cy + a + o, cx + a - o + 1, cy + a + o + 1))
            shape = union(back, front)
        elif kind == "help":
            cell = max(2, int(h / 10))
            shape = glyph(QUESTION, int(cx - 2.5 * cell), int(cy - 3.5 * cell), cell)
        else:  # setup: three bars
            shape = union(*(box(cx - s, cy + d - 0.5, cx + s + 1, cy + d + 1) for d in (-s * 0.8, 0, s * 0.8)))
        c.shape(shape, ink)

    return strip(4, w, h, draw)


def push_button(w=80, h=24):
    """The generic dialog button; its caption text is drawn by the program."""
    faces = [((253, 254, 255), (214, 228, 246), (58, 110, 182)),
             ((255, 255, 255), (196, 220, 250), (44, 118, 214)),
             ((186, 208, 238), (214, 228, 246), (30, 78, 150)),
             ((238, 240, 243), (226, 229, 233), (176, 182, 190))]

    def draw(c, state):
        c.fill(0, 0, w, h, BODY)
        top, bottom, edge = faces[state]
        c.shape(rounded(0, 0, w, h, 4), edge)
        c.shape(rounded(1, 1, w - 1, h - 1, 3), lambda x, y: lerp(top, bottom, y / float(h - 2)))

    return strip(4, w, h, draw)


def splitter_bar(w=8, h=64):
    """The main frame's splitter bar: a band lit in its middle, as wide as the bar."""
    c = Canvas(w, h)
    for x in range(w):
        t = abs(x - (w - 1) / 2.0) / (w / 2.0)
        c.fill(x, 0, x + 1, h, lerp((132, 172, 220), (46, 88, 148), t))
    return c


def splitter_arrow(pointing_left, w=8, h=48):
    """Four cells (normal, hover, pressed, disabled): a small triangle on a rounded tab."""

    def draw(c, state):
        face = [(70, 116, 184), (120, 172, 236), (22, 64, 126), (150, 160, 176)][state]
        c.fill(0, 0, w, h, (46, 88, 148))
        c.shape(rounded(0, 0, w, h, 3), face)
        cy = h / 2.0
        if pointing_left:
            tip, base = 1.5, w - 1.5
        else:
            tip, base = w - 1.5, 1.5

        def inside(fx, fy):
            # Between the base edge and the tip, narrowing towards the tip.
            t = (fx - base) / (tip - base)
            return 0.0 <= t <= 1.0 and abs(fy - cy) <= 4.0 * (1.0 - t)

        c.shape(inside, GLYPH)

    return strip(4, w, h, draw)


def chat_background(w=32, h=32):
    """The right pane's background tile: a pale blue weave that tiles without seams."""
    c = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            t = ((x + y) % 16) / 15.0
            shade = 0.5 + 0.5 * abs(t - 0.5) * 2
            c.px[y][x] = lerp((214, 226, 242), (228, 236, 248), shade)
    for i in range(0, w, 8):
        c.fill(i, 0, i + 1, h, (206, 219, 238))
    return c


def pane_caption(w, h=22, top=CAP_TOP, bottom=CAP_BOTTOM):
    """A caption strip of the right pane: a gradient band with a lit top line and a
    speech-balloon mark at its left."""
    c = Canvas(w, h)
    for y in range(h):
        c.fill(0, y, w, y + 1, lerp(top, bottom, y / float(h - 1)))
    c.fill(0, 0, w, 1, lerp(top, (255, 255, 255), 0.45))
    c.fill(0, h - 1, w, h, OUTLINE)
    # The live panel covers the strip's upper half: the mark sits in the lower one.
    c.shape(rounded(5, h - 11, 19, h - 4, 3), GLYPH)
    c.shape(lambda fx, fy: 7 <= fx <= 10 and h - 5 <= fy <= h - 2 - (fx - 7), GLYPH)
    for x in (8, 11, 14):
        c.fill(x, h - 8, x + 2, h - 6, bottom)
    return c


def help_picture(w=520, h=720):
    """The help window's picture: a page of coloured sections, taller than its window so
    that it scrolls."""
    c = Canvas(w, h, (250, 250, 246))
    colours = [(46, 88, 148), (24, 92, 64), (176, 44, 38), (214, 160, 40)]
    for i, y in enumerate(range(20, h - 40, 140)):
        col = colours[i % len(colours)]
        c.fill(20, y, w - 20, y + 24, col)
        for line in range(4):
            ly = y + 40 + line * 18
            c.fill(36, ly, w - 60 - (line * 37) % 120, ly + 6, (150, 156, 166))
    return c


def scroll_grid(cell=16):
    """The help picture's scroll bar: 9 columns by 3 rows (normal, hot, pressed) of cells:
    up arrow, down arrow, thumb, track (vertical), the same four horizontal, the size box."""
    c = Canvas(cell * 9, cell * 3, (236, 238, 242))
    faces = [(214, 222, 236), (190, 206, 232), (150, 172, 212)]
    for row, face in enumerate(faces):
        y0 = row * cell
        for col in range(9):
            x0 = col * cell
            kind = col % 4 if col < 8 else 4
            if kind == 3:  # the track
                c.fill(x0, y0, x0 + cell, y0 + cell, (226, 230, 238))
                continue
            c.fill(x0 + 1, y0 + 1, x0 + cell - 1, y0 + cell - 1, face)
            c.fill(x0, y0, x0 + cell, y0 + 1, (120, 132, 156))
            c.fill(x0, y0 + cell - 1, x0 + cell, y0 + cell, (120, 132, 156))
            c.fill(x0, y0, x0 + 1, y0 + cell, (120, 132, 156))
            c.fill(x0 + cell - 1, y0, x0 + cell, y0 + cell, (120, 132, 156))
            if kind in (0, 1):  # an arrow head, up or down (left or right in the horizontal cells)
                for i in range(4):
                    y = y0 + cell // 2 - 2 + i if kind == 0 else y0 + cell // 2 + 1 - i
                    if col < 4:
                        c.fill(x0 + cell // 2 - i, y, x0 + cell // 2 + i + 1, y + 1, (40, 52, 80))
                    else:
                        x = x0 + cell // 2 - 2 + i if kind == 0 else x0 + cell // 2 + 1 - i
                        c.fill(x, y0 + cell // 2 - i, x + 1, y0 + cell // 2 + i + 1, (40, 52, 80))
    return c


def frame_pieces(active):
    """The game frame's eight border pieces: a 30-pixel caption, 4-pixel sides."""
    # Corner pieces are at least 16 pixels each way: the frame's shape takes the
    # window's edges only from 16 pixels in, the rest from the corner pieces.
    title, side_w, bottom_h, corner = 30, 4, 4, 18
    outline = OUTLINE if active else OUTLINE_NA
    side = SIDE if active else SIDE_NA
    pieces = {}

    def top_piece(w, left_round, right_round):
        c = Canvas(w, title)
        x0 = 0 if left_round else -20
        x1 = w if right_round else w + 20
        c.shape(rounded(x0, 0, x1, title + 20, 8, 0), outline)
        c.shape(rounded(x0 + 1, 1, x1 - 1, title + 20, 7, 0), lambda x, y: caption_colour(y, title, active))
        c.fill(0, title - 1, w, title, lerp(side, (0, 0, 0), 0.2))
        return c

    pieces["00"] = top_piece(corner, True, False)
    pieces["01"] = top_piece(8, False, False)
    pieces["02"] = top_piece(corner, False, True)

    def edge(w, h, draw):
        c = Canvas(w, h)
        draw(c)
        return c

    pieces["10"] = edge(side_w, 8, lambda c: (c.fill(0, 0, side_w, 8, side), c.fill(0, 0, 1, 8, outline),
                                              c.fill(side_w - 1, 0, side_w, 8, lerp(side, (0, 0, 0), 0.2))))
    pieces["12"] = edge(side_w, 8, lambda c: (c.fill(0, 0, side_w, 8, side), c.fill(side_w - 1, 0, side_w, 8, outline),
                                              c.fill(0, 0, 1, 8, lerp(side, (0, 0, 0), 0.2))))
    pieces["21"] = edge(8, bottom_h, lambda c: (c.fill(0, 0, 8, bottom_h, side), c.fill(0, bottom_h - 1, 8, bottom_h, outline),
                                                c.fill(0, 0, 8, 1, lerp(side, (0, 0, 0), 0.2))))

    def bottom_corner(left):
        size = 16
        c = Canvas(corner, size)
        x0, x1 = (0, corner + 10) if left else (-10, corner)
        c.shape(rounded(x0, -10, x1, size, 0, 4), outline)
        c.shape(rounded(x0 + 1, -10, x1 - 1, size - 1, 0, 3), side)
        inner = (side_w, 0, corner + 10, size - bottom_h) if left else (-10, 0, corner - side_w, size - bottom_h)
        shade = lerp(side, (0, 0, 0), 0.2)
        c.fill(inner[0] - 1, inner[1], inner[2] + 1, inner[3] + 1, shade)
        c.fill(inner[0], inner[1], inner[2], inner[3], TABLE)
        return c

    pieces["20"] = bottom_corner(True)
    pieces["22"] = bottom_corner(False)
    return pieces


# ---- icons -------------------------------------------------------------------------

def icon_canvas(size, draw):
    """RGBA picture: draw(sample(fx, fy)) -> colour or None; 4 x 4 samples per pixel."""
    px = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(4):
                for sx in range(4):
                    c = draw(x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0)
                    if c is not None:
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
                        acc[3] += 1
            if acc[3]:
                row.append((int(acc[0] / acc[3]), int(acc[1] / acc[3]), int(acc[2] / acc[3]), int(255 * acc[3] / 16)))
            else:
                row.append((0, 0, 0, 0))
        px.append(row)
    return px


def save_ico(path, px):
    size = len(px)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for r, g, b, a in px[y]:
            xor += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    andm = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(mask_row)
        for x in range(size):
            if px[y][x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        andm += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
    image = info + xor + andm
    header = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), 22)
    with open(path, "wb") as f:
        f.write(header + image)


def round_icon(face_top, face_bottom, symbol):
    size = 64
    c, r = 32.0, 29.0

    def draw(fx, fy):
        d2 = (fx - c) ** 2 + (fy - c) ** 2
        if d2 > r * r:
            return None
        if symbol(fx, fy):
            return (255, 255, 255)
        if d2 > (r - 2) ** 2:
            return lerp(face_bottom, (0, 0, 0), 0.25)
        return lerp(face_top, face_bottom, (fy - 3) / 58.0)

    return icon_canvas(size, draw)


def make_icons(out):
    cross = union(segment(21, 21, 43, 43, 7), segment(21, 43, 43, 21, 7))
    bang = union(rounded(28.5, 13, 35.5, 39, 3), disc(32, 47.5, 4.2))
    info = union(disc(32, 17.5, 4.2), rounded(28.5, 25, 35.5, 51, 2))
    question = glyph(QUESTION, 19, 12, 5.2)
    clock = union(ring(32, 32, 17, 21), segment(32, 32, 32, 18, 4.5), segment(32, 32, 41, 37, 4.5), disc(32, 32, 3.5))
    icons = {
        "iconhand.ico": ((236, 96, 86), (176, 34, 30), cross),
        "iconexclamation.ico": ((250, 196, 72), (214, 132, 16), bang),
        "iconasterisk.ico": ((96, 160, 236), (30, 88, 176), info),
        "iconquestion.ico": ((96, 160, 236), (30, 88, 176), question),
        "iconwait.ico": ((96, 190, 150), (28, 128, 88), clock),
    }
    for name, (top, bottom, symbol) in icons.items():
        save_ico(os.path.join(out, name), round_icon(top, bottom, symbol))


THEME = """; Vesk.thm: the skin of the game's windows (written at build time).
[QKDLG]
backgrdbmp=dialogBK.bmp
backgrdbmpNA=dialogBKNA.bmp
AnomalyFrame=1
usetitlemax=0
ctrlcolor=0xFFFFFF
ctrltextcolor=0x1E2A3A
BorderWidth=4
CaptionHeight=28
titlecolor=0xFFFFFF
titleclose=dlgclose.bmp
titlemax=dlgmax.bmp
titlerestore=dlgmax.bmp, dlgrestore.bmp
SysBtnRight=6
SysBtnTop=5

[QKDLG_MsgBox]
ICONHAND=iconhand.ico
ICONQUESTION=iconquestion.ico
ICONEXCLAMATION=iconexclamation.ico
ICONASTERISK=iconasterisk.ico
IDI_EXCLAMATION=iconexclamation.ico

[QKDLG_Wait]
Icon=iconwait.ico
; The wait box is a light panel; with a button its heading sits on the panel.
backgrdbmp=waitBK.bmp
titlecolor=0x1E5AA6

[Frame]
frame00=frame00.bmp
frame01=frame01.bmp
frame02=frame02.bmp
frame10=frame10.bmp
frame12=frame12.bmp
frame20=frame20.bmp
frame21=frame21.bmp
frame22=frame22.bmp
frame00NA=frame00NA.bmp
frame01NA=frame01NA.bmp
frame02NA=frame02NA.bmp
TitleColor=0xFFFFFF
TitleHeight=30
SysmenuStyle=1,16,4,36,24
; "Frame" and "frame" name one section: the keys of both live here.
AnomalyFrame=1
AnomalyFrameBottom=1
ShowTitleIcon=1
CanNotChangeWidth=0
SysBtnRight=8
SysBtnTop=5
framesetup=framesetup.bmp
framehelp=framehelp.bmp
framemin=framemin.bmp
framemax=framemax.bmp
framerestore=framemax.bmp, framerestore.bmp
frameclose=frameclose.bmp

[QKDLG_help]
; The help window opens the help page beside the program; the picture stays for picture mode.
HelpType=1
HelpBmp=help.bmp

[QKSPLITTER]
SPLITTER=splitter.bmp
LARROW=larrow.bmp
RARROW=rarrow.bmp
"""


def main():
    if len(sys.argv) != 3:
        sys.stderr.write("usage: make_theme.py <thm dir> <image dir>\n")
        return 2
    thm_dir, img_dir = sys.argv[1], sys.argv[2]
    os.makedirs(thm_dir, exist_ok=True)
    os.makedirs(img_dir, exist_ok=True)
    img = lambda name: os.path.join(img_dir, name)
    dialog_background(True).save_bmp(img("dialogBK.bmp"))
    dialog_background(False).save_bmp(img("dialogBKNA.bmp"))
    caption_button("close", 24, 18, 5, 28).save_bmp(img("dlgclose.bmp"))
    caption_button("max", 24, 18, 5, 28).save_bmp(img("dlgmax.bmp"))
    caption_button("restore", 24, 18, 5, 28).save_bmp(img("dlgrestore.bmp"))
    for kind in ("close", "max", "restore", "min", "help", "setup"):
        caption_button(kind, 26, 20, 5, 30).save_bmp(img("frame%s.bmp" % kind))
    push_button().save_bmp(img("dlgbutton.bmp"))
    panel_background().save_bmp(img("waitBK.bmp"))
    for active, suffix in ((True, ""), (False, "NA")):
        pieces = frame_pieces(active)
        for key, canvas in pieces.items():
            if active or key in ("00", "01", "02"):
                canvas.save_bmp(img("frame%s%s.bmp" % (key, suffix)))
    make_icons(img_dir)
    help_picture().save_bmp(img("help.bmp"))
    scroll_grid().save_bmp(img("Scroll.bmp"))
    # The splitter's pictures live in the theme folder itself ("<Path>\theme\<name>").
    splitter_bar().save_bmp(os.path.join(thm_dir, "splitter.bmp"))
    splitter_arrow(True).save_bmp(os.path.join(thm_dir, "larrow.bmp"))
    splitter_arrow(False).save_bmp(os.path.join(thm_dir, "rarrow.bmp"))
    # The right pane's pictures: captions and news strips in the theme folder, the chat
    # background among the numbered pictures ("<Path>\theme\respic\Talk_win.bmp").
    for w in (160, 240):
        pane_caption(w).save_bmp(os.path.join(thm_dir, "pi_caption%d.bmp" % w))
        pane_caption(w, top=(238, 160, 64), bottom=(196, 108, 24)).save_bmp(os.path.join(thm_dir, "News%d.bmp" % w))
    os.makedirs(os.path.join(thm_dir, "respic"), exist_ok=True)
    chat_background().save_bmp(os.path.join(thm_dir, "respic", "Talk_win.bmp"))
    with open(os.path.join(thm_dir, "Vesk.thm"), "w", newline="\r\n") as f:
        f.write(THEME)
    return 0


if __name__ == "__main__":
    sys.exit(main())
