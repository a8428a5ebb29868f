#!/usr/bin/env python3
"""Draws the bitmaps, icons and WAVE sounds of the resource library and writes art.rc.

Standard library only: a small raster canvas with anti-aliased shapes, text from the
glyph grids in art/glyphs.txt, and our own BMP, ICO and WAV writers.
Usage: gen_art.py <glyphs.txt> <output folder>
"""
import math
import os
import random
import struct
import sys

# ---------------------------------------------------------------- raster canvas


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def shade(c, f):
    """f > 0 lightens toward white, f < 0 darkens toward black."""
    return mix(c, (255, 255, 255), f) if f >= 0 else mix(c, (0, 0, 0), -f)


class Canvas:
    def __init__(self, w, h, color=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[tuple(color) for _ in range(w)] for _ in range(h)]

    def blend(self, x, y, color, a):
        if 0 <= x < self.w and 0 <= y < self.h and a > 0:
            if a >= 1:
                self.px[y][x] = tuple(color)
            else:
                self.px[y][x] = mix(self.px[y][x], color, a)

    def fill(self, color):
        for y in range(self.h):
            for x in range(self.w):
                self.px[y][x] = tuple(color)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        for y in range(max(0, y0), min(self.h, y1)):
            t = (y - y0) / max(1, (y1 - y0 - 1))
            c = mix(top, bottom, t)
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y][x] = c

    def shape(self, sdf, color, box=None, hard=False, fill_fn=None):
        """Paints where the signed distance is negative; edges are anti-aliased."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        for y in range(max(0, int(y0) - 1), min(self.h, int(y1) + 2)):
            for x in range(max(0, int(x0) - 1), min(self.w, int(x1) + 2)):
                d = sdf(x + 0.5, y + 0.5)
                a = 1.0 if d <= -0.5 else 0.0 if d >= 0.5 else 0.5 - d
                if hard:
                    a = 1.0 if a >= 0.5 else 0.0
                if a > 0:
                    self.blend(x, y, fill_fn(x, y) if fill_fn else color, a)

    def round_rect(self, x0, y0, x1, y1, r, color, hard=False, fill_fn=None):
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        hw, hh = (x1 - x0) / 2, (y1 - y0) / 2

        def sdf(x, y):
            qx, qy = abs(x - cx) - hw + r, abs(y - cy) - hh + r
            out = math.hypot(max(qx, 0), max(qy, 0))
            return out + min(max(qx, qy), 0) - r
        self.shape(sdf, color, (x0, y0, x1, y1), hard, fill_fn)

    def circle(self, cx, cy, r, color, hard=False):
        self.shape(lambda x, y: math.hypot(x - cx, y - cy) - r, color, (cx - r, cy - r, cx + r, cy + r), hard)

    def ring(self, cx, cy, r, width, color):
        self.shape(lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2, color,
                   (cx - r - width, cy - r - width, cx + r + width, cy + r + width))

    def line(self, xa, ya, xb, yb, width, color, hard=False):
        dx, dy = xb - xa, yb - ya
        ll = dx * dx + dy * dy or 1

        def sdf(x, y):
            t = clamp(((x - xa) * dx + (y - ya) * dy) / ll)
            return math.hypot(x - xa - t * dx, y - ya - t * dy) - width / 2
        self.shape(sdf, color, (min(xa, xb) - width, min(ya, yb) - width, max(xa, xb) + width, max(ya, yb) + width),
                   hard)

    def polygon(self, pts, color, hard=False):
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]

        def sdf(x, y):
            d, inside = 1e9, False
            n = len(pts)
            for i in range(n):
                ax, ay = pts[i]
                bx, by = pts[(i + 1) % n]
                ex, ey = bx - ax, by - ay
                t = clamp(((x - ax) * ex + (y - ay) * ey) / ((ex * ex + ey * ey) or 1))
                d = min(d, math.hypot(x - ax - t * ex, y - ay - t * ey))
                if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ((by - ay) or 1e-9):
                    inside = not inside
            return -d if inside else d
        self.shape(sdf, color, (min(xs), min(ys), max(xs), max(ys)), hard)

    def blit(self, other, dx, dy):
        for y in range(other.h):
            for x in range(other.w):
                if 0 <= x + dx < self.w and 0 <= y + dy < self.h:
                    self.px[y + dy][x + dx] = other.px[y][x]

    def copy(self):
        c = Canvas(self.w, self.h)
        c.px = [row[:] for row in self.px]
        return c

# ---------------------------------------------------------------- text


GLYPHS = {}


def load_glyphs(path):
    with open(path, encoding="utf-8") as f:
        lines = [l.rstrip("\n") for l in f if not l.startswith("#")]
    i = 0
    while i < len(lines):
        head = lines[i].split()
        if head and head[0] == "glyph":
            ch = chr(int(head[1], 16))
            grid = [[int(c, 16) / 15.0 for c in lines[i + 1 + r]] for r in range(32)]
            GLYPHS[ch] = grid
            i += 33
        else:
            i += 1


def glyph_columns(ch):
    g = GLYPHS[ch]
    cols = [x for x in range(32) if any(g[y][x] > 0.1 for y in range(32))]
    return (cols[0], cols[-1] + 1) if cols else (12, 20)


def sample(g, x, y):
    if x < 0 or y < 0 or x >= 31 or y >= 31:
        return 0.0
    ix, iy = int(x), int(y)
    fx, fy = x - ix, y - iy
    top = g[iy][ix] * (1 - fx) + g[iy][ix + 1] * fx
    bot = g[iy + 1][ix] * (1 - fx) + g[iy + 1][ix + 1] * fx
    return top * (1 - fy) + bot * fy


def text_width(text, size):
    k = size / 32.0
    w = 0.0
    for ch in text:
        if ord(ch) > 0x2000:
            w += 30 * k
        else:
            a, b = glyph_columns(ch)
            w += (b - a + 3) * k
    return w


def draw_text(cv, text, cx, cy, size, color, bold=False, shadow=None):
    """Centres the text on (cx, cy); size is the em height in pixels."""
    if shadow:
        draw_text(cv, text, cx + 1, cy + 1, size, shadow, bold)
    k = size / 32.0
    x = cx - text_width(text, size) / 2
    top = cy - size / 2
    for ch in text:
        g = GLYPHS[ch]
        if ord(ch) > 0x2000:
            src0, adv = 1, 30
        else:
            a, b = glyph_columns(ch)
            src0, adv = a - 1, b - a + 3
        w = int(adv * k) + 2
        for py in range(int(top) - 1, int(top + size) + 2):
            for px in range(int(x) - 1, int(x) + w + 1):
                acc = 0.0
                for sy in (0.25, 0.75):
                    for sx in (0.25, 0.75):
                        gx = (px + sx - x) / k + src0
                        gy = (py + sy - top) / k
                        acc += sample(g, gx, gy)
                a = acc / 4
                if bold:
                    a = clamp(a * 1.5)
                if a > 0.02:
                    cv.blend(px, py, color, a)
        x += adv * k

# ---------------------------------------------------------------- writers


def write_bmp(cv, path):
    row = (cv.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(cv.h - 1, -1, -1):
        line = bytearray()
        for x in range(cv.w):
            r, g, b = (int(round(clamp(v, 0, 255))) for v in cv.px[y][x])
            line += bytes((b, g, r))
        line += b"\0" * (row - cv.w * 3)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def write_ico(images, path):
    """images: list of (Canvas, alpha rows) pairs; written as 32-bit DIB entries."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for cv, alpha in images:
        xor = bytearray()
        for y in range(cv.h - 1, -1, -1):
            for x in range(cv.w):
                r, g, b = (int(round(clamp(v, 0, 255))) for v in cv.px[y][x])
                xor += bytes((b, g, r, int(round(clamp(alpha[y][x]) * 255))))
        mask_row = ((cv.w + 31) // 32) * 4
        andm = bytearray()
        for y in range(cv.h - 1, -1, -1):
            bits = bytearray(mask_row)
            for x in range(cv.w):
                if alpha[y][x] < 0.5:
                    bits[x // 8] |= 0x80 >> (x % 8)
            andm += bits
        info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h * 2, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
        blob = info + xor + andm
        entries.append(struct.pack("<BBBBHHII", cv.w % 256, cv.h % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs))


RATE = 22050


def write_wav(samples, path):
    pcm = bytearray()
    for s in samples:
        pcm += struct.pack("<h", int(clamp(s, -1, 1) * 32000))
    # A full WAVEFORMATEX (cbSize 0): the player reads 18 bytes of the format.
    fmt = struct.pack("<HHIIHHH", 1, 1, RATE, RATE * 2, 2, 16, 0)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(pcm)) + pcm
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)

# ---------------------------------------------------------------- palette

GOLD = (236, 190, 72)
GOLD_DARK = (150, 100, 20)
FELT = (22, 110, 60)
FELT_DARK = (12, 70, 38)
NAVY = (24, 44, 92)
WHITE = (255, 255, 255)
CREAM = (255, 248, 225)
RED = (196, 36, 36)
GREEN = (40, 150, 70)
BLUE = (40, 100, 200)
ORANGE = (232, 128, 32)
GREY = (150, 150, 150)
KEY = (0, 255, 0)

# ---------------------------------------------------------------- buttons


def button_strip(cw, ch, base, label, cells=4, size=None, icon=None, text_color=WHITE, radius=5):
    """Four states side by side: normal, hover, pressed, disabled."""
    cv = Canvas(cw * cells, ch, FELT)
    states = [(0.0, 0), (0.18, 0), (-0.22, 1), None]
    for i in range(cells):
        st = states[i] if i < len(states) else states[0]
        ox = i * cw
        if st is None:
            top, bot, tc, edge = (190, 190, 190), (150, 150, 150), (235, 235, 235), (110, 110, 110)
            off = 0
        else:
            f, off = st
            top, bot = shade(base, f + 0.25), shade(base, f - 0.25)
            tc, edge = text_color, shade(base, -0.55)
        cv.round_rect(ox + 0.5, 0.5, ox + cw - 0.5, ch - 0.5, radius, edge)
        cv.round_rect(ox + 1.5, 1.5, ox + cw - 1.5, ch - 1.5, radius - 1, top,
                      fill_fn=lambda x, y, t=top, b=bot: mix(t, b, y / ch))
        cv.round_rect(ox + 3, 2.5, ox + cw - 3, ch / 2, radius - 2, shade(top, 0.25))
        cv.round_rect(ox + 3, 2.5, ox + cw - 3, ch / 2, radius - 2, top,
                      fill_fn=lambda x, y, t=top: mix(shade(t, 0.35), t, (y - 2) / (ch / 2)))
        if icon:
            icon(cv, ox + cw / 2 + off, ch / 2 + off, tc)
        if label:
            draw_text(cv, label, ox + cw / 2 + off, ch / 2 + off, size or ch * 0.62, tc, bold=True,
                      shadow=shade(edge, -0.2) if st is not None else None)
    return cv


def badge(w, h, base, label, text_color=WHITE):
    cv = Canvas(w, h, FELT)
    cv.round_rect(0.5, 0.5, w - 0.5, h - 0.5, 6, GOLD_DARK)
    cv.round_rect(1.5, 1.5, w - 1.5, h - 1.5, 5, GOLD)
    cv.round_rect(3, 3, w - 3, h - 3, 4, base, fill_fn=lambda x, y: mix(shade(base, 0.3), shade(base, -0.3), y / h))
    draw_text(cv, label, w / 2, h / 2, min(h * 0.55, w / (len(label) + 0.3)), text_color, bold=True,
              shadow=shade(base, -0.6))
    return cv


def shield(w, h, base, label):
    cv = Canvas(w, h, FELT)
    pts = [(2, 3), (w - 2, 3), (w - 2, h * 0.55), (w / 2, h - 2), (2, h * 0.55)]
    cv.polygon(pts, GOLD_DARK)
    inner = [(4, 5), (w - 4, 5), (w - 4, h * 0.54), (w / 2, h - 5), (4, h * 0.54)]
    cv.polygon(inner, GOLD)
    core = [(6, 7), (w - 6, 7), (w - 6, h * 0.53), (w / 2, h - 8.5), (6, h * 0.53)]
    cv.polygon(core, base)
    draw_text(cv, label[0], w / 2, h * 0.30, 13, CREAM, bold=True, shadow=shade(base, -0.6))
    draw_text(cv, label[1], w / 2, h * 0.58, 13, CREAM, bold=True, shadow=shade(base, -0.6))
    return cv

# ---------------------------------------------------------------- pictures


def felt_tile(w, h, seed):
    rnd = random.Random(seed)
    cv = Canvas(w, h, FELT)
    for y in range(h):
        for x in range(w):
            n = rnd.uniform(-0.06, 0.06) + 0.03 * math.sin((x + y) * 0.7)
            cv.px[y][x] = shade(FELT, n)
    return cv


def talk_tile():
    cv = Canvas(64, 64, (238, 242, 230))
    for y in range(64):
        for x in range(64):
            if (x + y) % 16 == 0 or (x - y) % 16 == 0:
                cv.px[y][x] = (226, 232, 214)
    return cv


def card_back():
    cv = Canvas(71, 96, WHITE)
    cv.round_rect(0.5, 0.5, 70.5, 95.5, 5, (90, 90, 90))
    cv.round_rect(1.5, 1.5, 69.5, 94.5, 4, WHITE)
    cv.round_rect(5, 5, 66, 91, 3, (30, 60, 140))
    for y in range(6, 90):
        for x in range(6, 65):
            if (x + y) % 8 < 2 or (x - y) % 8 < 2:
                cv.blend(x, y, (70, 110, 200), 0.8)
    cv.polygon([(35.5, 30), (52, 48), (35.5, 66), (19, 48)], GOLD)
    cv.polygon([(35.5, 36), (46, 48), (35.5, 60), (25, 48)], RED)
    return cv


def player_panel():
    cv = Canvas(280, 157, FELT)
    for cell, base in ((0, (28, 62, 110)), (1, (96, 40, 60))):
        ox = cell * 140
        cv.round_rect(ox + 0.5, 0.5, ox + 139.5, 156.5, 10, GOLD_DARK)
        cv.round_rect(ox + 2, 2, ox + 138, 155, 9, GOLD)
        cv.round_rect(ox + 4, 4, ox + 136, 153, 8, base,
                      fill_fn=lambda x, y, b=base: mix(shade(b, 0.25), shade(b, -0.35), y / 157))
        cv.round_rect(ox + 24, 10, ox + 116, 118, 6, shade(base, -0.45))
        cv.line(ox + 14, 126, ox + 126, 126, 1, shade(GOLD, -0.2))
    return cv


def clock_digits():
    """Seven-segment digits 0..9 and a colon, 11 cells of 14 x 20 on the clock face colour."""
    segs = {0: "abcedf", 1: "bc", 2: "abged", 3: "abgcd", 4: "fgbc", 5: "afgcd", 6: "afgedc", 7: "abc",
            8: "abcdefg", 9: "abcdfg"}
    cw, ch = 14, 20
    face = (30, 30, 30)
    cv = Canvas(cw * 11, ch, face)
    on = (255, 190, 40)
    for i in range(11):
        ox = i * cw
        if i == 10:
            cv.circle(ox + 7, 7, 1.6, on)
            cv.circle(ox + 7, 13, 1.6, on)
            continue
        x0, x1, y0, ym, y1 = ox + 3.5, ox + 10.5, 2.5, 10, 17.5
        lines = {"a": (x0, y0, x1, y0), "b": (x1, y0, x1, ym), "c": (x1, ym, x1, y1), "d": (x0, y1, x1, y1),
                 "e": (x0, ym, x0, y1), "f": (x0, y0, x0, ym), "g": (x0, ym, x1, ym)}
        for s, (xa, ya, xb, yb) in lines.items():
            lit = s in segs[i]
            cv.line(xa, ya, xb, yb, 2.2, on if lit else (60, 50, 40))
    return cv


def clock_face():
    cv = Canvas(48, 40, FELT)
    cv.round_rect(0.5, 0.5, 47.5, 39.5, 7, GOLD_DARK)
    cv.round_rect(2, 2, 46, 38, 6, GOLD)
    cv.round_rect(4, 4, 44, 36, 5, (30, 30, 30))
    cv.circle(24, 4, 3, GOLD)
    return cv


def small_digits():
    cv = Canvas(11 * 11, 14, WHITE)
    for i, ch in enumerate("0123456789x"):
        draw_text(cv, ch, i * 11 + 5.5, 7, 14, NAVY, bold=True)
    return cv


def turn_marker():
    """Four frames of a bouncing arrow on the green key colour (no soft edges)."""
    cv = Canvas(128, 32, KEY)
    for i, dy in enumerate((0, 2, 4, 2)):
        ox = i * 32
        pts = [(ox + 8, 6 + dy), (ox + 24, 6 + dy), (ox + 24, 14 + dy), (ox + 29, 14 + dy), (ox + 16, 28 + dy),
               (ox + 3, 14 + dy), (ox + 8, 14 + dy)]
        cv.polygon([(p[0], min(p[1], 31)) for p in pts], GOLD_DARK, hard=True)
        inner = [(ox + 10, 8 + dy), (ox + 22, 8 + dy), (ox + 22, 16 + dy), (ox + 25, 16 + dy),
                 (ox + 16, 26 + dy), (ox + 7, 16 + dy), (ox + 10, 16 + dy)]
        cv.polygon([(p[0], min(p[1], 31)) for p in inner], (255, 214, 60), hard=True)
    return cv


def hourglass(size, bg):
    cv = Canvas(size, size, bg)
    s = size / 32.0
    cv.round_rect(6 * s, 2 * s, 26 * s, 6 * s, 1.5 * s, (120, 70, 30))
    cv.round_rect(6 * s, 26 * s, 26 * s, 30 * s, 1.5 * s, (120, 70, 30))
    cv.polygon([(9 * s, 6 * s), (23 * s, 6 * s), (17 * s, 16 * s), (23 * s, 26 * s), (9 * s, 26 * s), (15 * s, 16 * s)],
               (200, 225, 245))
    cv.polygon([(11 * s, 8 * s), (21 * s, 8 * s), (16 * s, 14 * s)], (230, 180, 60))
    cv.polygon([(16 * s, 19 * s), (21 * s, 25 * s), (11 * s, 25 * s)], (230, 180, 60))
    return cv


def status_mark(kind):
    cv = Canvas(14, 14, WHITE)
    colours = {29708: GREEN, 29709: GREY, 29710: BLUE, 29711: GOLD, 29712: ORANGE, 29713: BLUE}
    c = colours[kind]
    cv.circle(7, 7, 6.5, shade(c, -0.4))
    cv.circle(7, 7, 5.5, c)
    if kind == 29708:     # ready: a tick
        cv.line(4, 7, 6, 10, 1.8, WHITE)
        cv.line(6, 10, 10.5, 4, 1.8, WHITE)
    elif kind == 29709:   # offline: a cross
        cv.line(4.5, 4.5, 9.5, 9.5, 1.8, WHITE)
        cv.line(9.5, 4.5, 4.5, 9.5, 1.8, WHITE)
    elif kind == 29710:   # watching: an eye
        cv.circle(7, 7, 2.2, WHITE)
    elif kind == 29711:   # a star
        pts = []
        for i in range(10):
            r = 4.5 if i % 2 == 0 else 2
            a = -math.pi / 2 + i * math.pi / 5
            pts.append((7 + r * math.cos(a), 7 + r * math.sin(a)))
        cv.polygon(pts, WHITE)
    elif kind == 29712:   # trusteeship after a time-out: a clock
        cv.line(7, 7, 7, 3.5, 1.4, WHITE)
        cv.line(7, 7, 9.5, 8.5, 1.4, WHITE)
    else:                 # trusteeship: a small screen
        cv.round_rect(3.5, 4, 10.5, 9, 1, WHITE)
        cv.line(7, 9, 7, 11, 1.2, WHITE)
    return cv


def frame_pieces():
    cap, edge, bottom = 26, 4, 5
    top_c, bot_c = (74, 128, 196), (40, 84, 150)
    pieces = {}

    def caption(w):
        cv = Canvas(w, cap, top_c)
        cv.vgradient(0, 0, w, cap, top_c, bot_c)
        for x in range(w):
            cv.px[0][x] = shade(top_c, 0.5)
            cv.px[cap - 1][x] = shade(bot_c, -0.3)
        return cv

    tl = caption(8)
    for y in range(cap):
        tl.px[y][0] = shade(bot_c, -0.4)
    tl.px[0][0] = tl.px[0][1] = tl.px[1][0] = (200, 200, 200)
    tr = caption(8)
    for y in range(cap):
        tr.px[y][7] = shade(bot_c, -0.4)
    tr.px[0][7] = tr.px[0][6] = tr.px[1][7] = (200, 200, 200)
    pieces[29664], pieces[29665], pieces[29666] = tl, caption(8), tr

    def side(left):
        cv = Canvas(edge, 8, bot_c)
        for y in range(8):
            cv.px[y][0 if left else edge - 1] = shade(bot_c, -0.4)
            cv.px[y][edge - 1 if left else 0] = (200, 214, 232)
        return cv
    pieces[29667], pieces[29668] = side(True), side(False)

    def bottom_piece(w, corner):
        cv = Canvas(w, bottom, bot_c)
        for x in range(w):
            cv.px[bottom - 1][x] = shade(bot_c, -0.4)
            cv.px[0][x] = (200, 214, 232)
        if corner == "l":
            for y in range(bottom):
                cv.px[y][0] = shade(bot_c, -0.4)
        if corner == "r":
            for y in range(bottom):
                cv.px[y][w - 1] = shade(bot_c, -0.4)
        return cv
    pieces[29669], pieces[29670], pieces[29671] = bottom_piece(8, "l"), bottom_piece(8, ""), bottom_piece(8, "r")
    back = Canvas(16, 16, (246, 249, 253))
    for y in range(16):
        for x in range(16):
            if (x + y) % 8 == 0:
                back.px[y][x] = (238, 243, 250)
    pieces[29672] = back
    close = Canvas(72, 18, top_c)
    close.vgradient(0, 0, 72, 18, shade(top_c, -0.1), shade(bot_c, 0.05))
    for i, col in enumerate(((200, 70, 60), (232, 96, 80), (160, 40, 36), (150, 150, 150))):
        ox = i * 18
        close.round_rect(ox + 1, 1, ox + 17, 17, 3, shade(col, -0.4))
        close.round_rect(ox + 2, 2, ox + 16, 16, 2.5, col)
        off = 1 if i == 2 else 0
        close.line(ox + 6 + off, 6 + off, ox + 12 + off, 12 + off, 1.8, WHITE)
        close.line(ox + 12 + off, 6 + off, ox + 6 + off, 12 + off, 1.8, WHITE)
    pieces[29673] = close
    return pieces


def logo():
    cv = felt_tile(120, 44, 7)
    cv.round_rect(1, 1, 119, 43, 10, GOLD_DARK)
    cv.round_rect(3, 3, 117, 41, 9, (120, 20, 24), fill_fn=lambda x, y: mix((170, 36, 40), (100, 14, 20), y / 44))
    draw_text(cv, "Vesk", 60, 22, 30, GOLD, bold=True, shadow=(60, 8, 10))
    return cv


def arrow_icon(clockwise):
    def draw(cv, cx, cy, col):
        r = 8
        start, end = (200, 480) if clockwise else (340, 60)
        pts = []
        for i in range(21):
            a = math.radians(start + (end - start) * i / 20)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        for i in range(20):
            cv.line(pts[i][0], pts[i][1], pts[i + 1][0], pts[i + 1][1], 2.2, col)
        a = math.radians(end)
        tip = (cx + r * math.cos(a), cy + r * math.sin(a))
        d = 1 if clockwise else -1
        tx, ty = -math.sin(a) * d, math.cos(a) * d
        nx, ny = math.cos(a), math.sin(a)
        cv.polygon([(tip[0] + tx * 5, tip[1] + ty * 5), (tip[0] + nx * 4, tip[1] + ny * 4),
                    (tip[0] - nx * 4, tip[1] - ny * 4)], col)
    return draw


def pictures():
    pics = {}
    tool = lambda label, base=NAVY: button_strip(44, 31, base, label, size=14)
    pics[136] = tool("上轮")
    pics[166] = tool("亮牌", (150, 40, 40))
    pics[168] = tool("设置")
    pics[185] = tool("理牌")
    pics[186] = tool("积分")
    pics[29714] = button_strip(44, 31, NAVY, None, icon=arrow_icon(False))
    pics[29715] = button_strip(44, 31, NAVY, None, icon=arrow_icon(True))
    pics[29716] = tool("托管", (30, 110, 120))
    pics[29717] = tool("解托", (30, 110, 120))
    pics[211] = button_strip(78, 31, (110, 70, 150), "意见反馈", size=14)
    pics[153] = small_digits()
    pics[155] = shield(40, 45, (170, 30, 34), "地主")
    pics[202] = shield(40, 45, (30, 120, 60), "农民")
    pics[169] = player_panel()
    jf = Canvas(240, 28, FELT)
    for i, label in enumerate(("不叫", "1分", "2分", "3分")):
        jf.blit(badge(60, 28, (170, 40, 40) if i else (90, 90, 110), label), i * 60, 0)
    pics[171] = jf
    pics[172] = badge(60, 28, (90, 90, 110), "不出")
    pics[173] = talk_tile()
    pics[174] = felt_tile(64, 64, 3)
    pics[175] = logo()
    pics[176] = clock_digits()
    pics[177] = clock_face()
    for bid, label, base in ((178, "开始", (200, 120, 20)), (179, "出牌", (190, 50, 40)),
                             (180, "不出", (60, 90, 150)), (181, "提示", (40, 130, 80))):
        pics[bid] = button_strip(82, 26, base, label, size=16)
    pics[182] = card_back()
    pics[184] = turn_marker()
    pics[219] = hourglass(32, (246, 249, 253))
    pics.update(frame_pieces())
    for k in range(29708, 29714):
        pics[k] = status_mark(k)
    for bid, label in ((29718, "不叫"), (29719, "1分"), (29720, "2分"), (29721, "3分")):
        pics[bid] = button_strip(85, 29, (90, 90, 110) if bid == 29718 else (190, 60, 30), label, size=17)
    for bid, label, base in ((29725, "开始", (200, 120, 20)), (29722, "出牌", (190, 50, 40)),
                             (29723, "不出", (60, 90, 150)), (29724, "提示", (40, 130, 80))):
        pics[bid] = button_strip(82, 26, base, label, size=16, radius=12)
    return pics

# ---------------------------------------------------------------- icons


def icon_image(kind, size):
    """Draws the icon on black and on white; the difference gives each pixel's opacity."""
    dark, light = icon_draw(kind, size, (0, 0, 0)), icon_draw(kind, size, (255, 255, 255))
    cv = Canvas(size, size)
    alpha = [[0.0] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            d, l = dark.px[y][x], light.px[y][x]
            a = clamp(1 - (sum(l) - sum(d)) / (3 * 255.0))
            alpha[y][x] = a
            cv.px[y][x] = tuple(clamp(c / a, 0, 255) for c in d) if a > 0 else (0, 0, 0)
    return cv, alpha


def icon_draw(kind, size, bg):
    cv = Canvas(size, size, bg)
    s = size / 32.0
    if kind in (128, 209, 29894):
        # Two fanned cards with a gold "V".
        cv.round_rect(5 * s, 4 * s, 21 * s, 26 * s, 2.5 * s, (60, 60, 60))
        cv.round_rect(6 * s, 5 * s, 20 * s, 25 * s, 2 * s, (30, 60, 140))
        cv.round_rect(11 * s, 6 * s, 28 * s, 30 * s, 2.5 * s, (60, 60, 60))
        cv.round_rect(12 * s, 7 * s, 27 * s, 29 * s, 2 * s, WHITE)
        cv.line(15 * s, 11 * s, 19.5 * s, 24 * s, 2.6 * s, RED)
        cv.line(24 * s, 11 * s, 19.5 * s, 24 * s, 2.6 * s, RED)
        if kind == 209:
            cv.circle(8 * s, 24 * s, 5 * s, GOLD_DARK)
            cv.circle(8 * s, 24 * s, 4 * s, GOLD)
    elif kind == 29801:
        cv = hourglass(size, bg)
    else:
        cv.circle(16 * s, 16 * s, 14.5 * s, shade(BLUE, -0.4))
        cv.circle(16 * s, 16 * s, 13.5 * s, BLUE)
        if kind == 29846:     # information
            cv.circle(16 * s, 9.5 * s, 2.2 * s, WHITE)
            cv.line(16 * s, 14 * s, 16 * s, 24 * s, 3.6 * s, WHITE)
        else:                 # question
            for i in range(16):
                a1 = math.radians(200 + i * 13)
                a2 = math.radians(200 + (i + 1) * 13)
                cv.line(16 * s + 5 * s * math.cos(a1), 12 * s + 5 * s * math.sin(a1),
                        16 * s + 5 * s * math.cos(a2), 12 * s + 5 * s * math.sin(a2), 3 * s, WHITE)
            cv.line(16 * s, 17 * s, 16 * s, 20 * s, 3 * s, WHITE)
            cv.circle(16 * s, 24.5 * s, 1.9 * s, WHITE)
    return cv

# ---------------------------------------------------------------- sounds


def tone(freqs, dur, vol=0.5, attack=0.005, decay=None, harmonics=(1.0,), sweep=0.0):
    n = int(RATE * dur)
    out = []
    decay = decay if decay is not None else dur
    for i in range(n):
        t = i / RATE
        env = min(1.0, t / attack) * math.exp(-t / decay * 3) * min(1.0, (dur - t) / 0.01)
        v = 0.0
        for f in freqs:
            f2 = f * (1 + sweep * t / dur)
            for h, amp in enumerate(harmonics, 1):
                v += amp * math.sin(2 * math.pi * f2 * h * t)
        out.append(v * env * vol / (len(freqs) * sum(harmonics)))
    return out


def noise(dur, vol, decay, seed, lowpass=0.2):
    rnd = random.Random(seed)
    out, y = [], 0.0
    n = int(RATE * dur)
    for i in range(n):
        t = i / RATE
        y += lowpass * (rnd.uniform(-1, 1) - y)
        out.append(y * vol * math.exp(-t / decay) * min(1.0, (dur - t) / 0.01))
    return out


def seq(*parts, gap=0.0):
    out = []
    for p in parts:
        out += p + [0.0] * int(RATE * gap)
    return out


def overlay(a, b):
    n = max(len(a), len(b))
    return [(a[i] if i < len(a) else 0) + (b[i] if i < len(b) else 0) for i in range(n)]


def sounds():
    bell = (1.0, 0.4, 0.2)
    return {
        166: seq(*[noise(0.05, 0.5, 0.02, s, 0.5) for s in range(6)], gap=0.02),        # deal
        171: overlay(noise(0.06, 0.7, 0.015, 11, 0.6), tone([1800], 0.05, 0.3, decay=0.02)),  # cards down
        172: tone([180, 190], 0.28, 0.6, harmonics=(1.0, 0.5, 0.3)),                     # refused
        173: tone([2200], 0.03, 0.25, decay=0.01),                                       # hover
        177: tone([1000], 0.05, 0.45, decay=0.02, harmonics=bell),                        # tick
        183: seq(tone([880], 0.12, 0.5, harmonics=bell), tone([880], 0.12, 0.5, harmonics=bell),
                 tone([660], 0.3, 0.5, harmonics=bell), gap=0.04),                       # time up
        184: seq(tone([659], 0.09, 0.45, harmonics=bell), tone([988], 0.2, 0.45, harmonics=bell)),  # ready
        185: tone([784], 0.16, 0.45, harmonics=bell),                                    # bid
        186: seq(tone([523], 0.18, 0.45), tone([466], 0.18, 0.45), tone([392], 0.45, 0.45)),  # lose
        187: overlay(noise(0.6, 1.0, 0.18, 5, 0.08), tone([60], 0.6, 0.6, decay=0.3, sweep=-0.5)),  # bomb
        188: seq(tone([523], 0.1, 0.5, harmonics=bell), tone([659], 0.1, 0.5, harmonics=bell),
                 tone([784], 0.1, 0.5, harmonics=bell), tone([1047, 784, 659], 0.5, 0.6, harmonics=bell)),
        189: seq(tone([587], 0.14, 0.45), tone([440], 0.25, 0.45)),                      # player left
        190: seq(tone([523], 0.1, 0.5, harmonics=bell), tone([659], 0.1, 0.5, harmonics=bell),
                 tone([784], 0.3, 0.5, harmonics=bell)),                                 # win
        196: tone([1319, 1976], 0.5, 0.45, harmonics=bell, decay=0.4),                   # start
    }

# ---------------------------------------------------------------- main


def main():
    glyphs, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    load_glyphs(glyphs)
    lines = ["// Generated by gen_art.py: bitmaps, icons and WAVE sounds.",
             "LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED"]
    for rid, cv in sorted(pictures().items()):
        name = "bmp_%d.bmp" % rid
        write_bmp(cv, os.path.join(out, name))
        lines.append('%d BITMAP "%s"' % (rid, name))
    for rid in (128, 209, 29801, 29846, 29847, 29894):
        name = "icon_%d.ico" % rid
        write_ico([icon_image(rid, 32), icon_image(rid, 16)], os.path.join(out, name))
        lines.append('%d ICON "%s"' % (rid, name))
    for rid, samples in sorted(sounds().items()):
        name = "wave_%d.wav" % rid
        write_wav(samples, os.path.join(out, name))
        lines.append('%d WAVE "%s"' % (rid, name))
    with open(os.path.join(out, "art.rc"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
