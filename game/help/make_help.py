#!/usr/bin/env python3
"""Writes the help folder shipped beside the program: Help.htm in GBK (the page is kept in
UTF-8 in the tree and declares gb2312, which is what the player's system reads) and the
pictures it shows, drawn here so that no binary file lives in the tree.

Usage: make_help.py <Help.htm source> <output folder>
"""
import os
import struct
import sys
import zlib

# 5 x 7 glyphs of the card ranks.
GLYPHS = {
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    "3": ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "7": ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    "8": ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    "9": ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    "J": ["00111", "00010", "00010", "00010", "00010", "10010", "01100"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "*": ["00100", "10101", "01110", "11111", "01110", "10101", "00100"],
}

RED = (200, 30, 40)
BLACK = (20, 20, 20)


class Canvas:
    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def frame(self, x0, y0, x1, y1, c):
        self.fill(x0, y0, x1, y0 + 1, c)
        self.fill(x0, y1 - 1, x1, y1, c)
        self.fill(x0, y0, x0 + 1, y1, c)
        self.fill(x1 - 1, y0, x1, y1, c)

    def glyph(self, ch, x, y, c, scale=1):
        for gy, line in enumerate(GLYPHS[ch]):
            for gx, bit in enumerate(line):
                if bit == "1":
                    self.fill(x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale, c)

    def text(self, s, x, y, c, scale=1):
        for ch in s:
            self.glyph(ch, x, y, c, scale)
            x += 6 * scale

    def save_png(self, path):
        raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in self.px)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        head = struct.pack(">IIBBBBB", self.w, self.h, 8, 2, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                    chunk(b"IEND", b""))


CARD_W, CARD_H, STEP = 34, 48, 18


def card(cv, x, y, rank, red):
    """One card face at (x, y): white with a grey edge, its rank in the top-left corner;
    a joker shows a star, red for the big one."""
    cv.fill(x + 1, y + 1, x + CARD_W - 1, y + CARD_H - 1, (255, 255, 255))
    cv.frame(x, y, x + CARD_W, y + CARD_H, (110, 110, 110))
    colour = RED if red else BLACK
    if rank in ("big", "small"):
        cv.glyph("*", x + 3, y + 4, RED if rank == "big" else BLACK, 2)
        return
    cv.text(rank, x + 3, y + 4, colour, 1 if len(rank) > 1 else 2)


def hand(ranks, background=(236, 242, 230)):
    """A row of overlapping cards: ranks like "3" or "10", "small"/"big" for the jokers;
    hearts and diamonds alternate with spades and clubs so equal ranks are told apart."""
    w = STEP * (len(ranks) - 1) + CARD_W + 8
    cv = Canvas(w, CARD_H + 8, background)
    for i, r in enumerate(ranks):
        card(cv, 4 + i * STEP, 4, r, i % 2 == 1)
    return cv


def banner(w=720, h=72):
    """The page's header: a green table cloth fading to the page's colour, with a fan of cards."""
    cv = Canvas(w, h, (0, 0, 0))
    for y in range(h):
        for x in range(w):
            t = x / (w - 1)
            cv.px[y][x] = (int(20 + 200 * t), int(100 + 130 * t), int(50 + 170 * t))
    for i, r in enumerate(["3", "4", "5", "6", "7"]):
        card(cv, 24 + i * STEP, 10 + abs(2 - i) * 3, r, i % 2 == 1)
    card(cv, 24 + 5 * STEP + 24, 12, "small", False)
    card(cv, 24 + 5 * STEP + 24 + STEP, 12, "big", True)
    return cv


HANDS = {
    "single": ["K"],
    "pair": ["9", "9"],
    "triple": ["7", "7", "7"],
    "triple1": ["7", "7", "7", "3"],
    "triple2": ["7", "7", "7", "4", "4"],
    "straight": ["3", "4", "5", "6", "7", "8"],
    "pairrun": ["5", "5", "6", "6", "7", "7"],
    "plane": ["8", "8", "8", "9", "9", "9", "3", "K"],
    "four2": ["J", "J", "J", "J", "4", "6"],
    "bomb": ["6", "6", "6", "6"],
    "rocket": ["small", "big"],
}


def main():
    if len(sys.argv) != 3:
        sys.stderr.write("usage: make_help.py <Help.htm source> <output folder>\n")
        return 2
    source, out = sys.argv[1], sys.argv[2]
    os.makedirs(os.path.join(out, "images"), exist_ok=True)
    with open(source, encoding="utf-8") as f:
        page = f.read()
    with open(os.path.join(out, "Help.htm"), "wb") as f:
        f.write(page.encode("gbk"))
    banner().save_png(os.path.join(out, "images", "banner.png"))
    for name, ranks in HANDS.items():
        hand(ranks).save_png(os.path.join(out, "images", name + ".png"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
