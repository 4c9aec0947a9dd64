#!/usr/bin/env python3
"""Draws the pictograms of the document window's chrome as small PNG files in Resources/:
the status-bar fields, the snap and side buttons, the command-field history and the Scripts menu
picture. Plain pixel drawings; run again after changing one."""
import os
import struct
import sys
import zlib

BLACK = (0, 0, 0, 255)
GREY = (120, 120, 120, 255)
LIGHT = (200, 200, 200, 255)
FACE = (232, 232, 232, 255)
PRESSED = (170, 170, 170, 255)
BLUE = (40, 90, 200, 255)
RED = (200, 40, 40, 255)
WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)


class Icon:
    def __init__(self, w, h, fill=CLEAR):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def rect(self, x0, y0, x1, y1, c, fill=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge:
                    self.set(x, y, c)
                elif fill:
                    self.set(x, y, fill)

    def circle(self, cx, cy, r, c, fill=None):
        for y in range(self.h):
            for x in range(self.w):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if abs(d - r) < 0.6:
                    self.set(x, y, c)
                elif fill and d < r:
                    self.set(x, y, fill)

    def png(self):
        raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in self.px)

        def chunk(tag, data):
            return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def button(pressed=False):
    i = Icon(16, 16)
    i.rect(0, 0, 15, 15, GREY, PRESSED if pressed else FACE)
    return i


def pen(direct):
    i = Icon(11, 10)
    i.line(1, 9, 8, 2, BLACK)
    i.line(2, 9, 9, 2, BLACK)
    i.line(8, 1, 10, 3, BLACK)
    if direct:
        i.rect(0, 0, 3, 3, BLUE, BLUE)
    return i


def layer():
    i = Icon(11, 10)
    i.rect(0, 4, 7, 9, BLACK, WHITE)
    i.rect(3, 0, 10, 5, BLACK, LIGHT)
    return i


def group():
    i = Icon(10, 10)
    i.circle(3, 3, 2.5, BLACK)
    i.line(5, 5, 9, 9, BLACK)
    i.line(7, 9, 9, 7, BLACK)
    return i


def switch(on):
    i = Icon(8, 10)
    i.rect(0, 1, 7, 8, BLACK, WHITE)
    if on:
        i.rect(2, 3, 5, 6, BLACK, BLACK)
    return i


def pick_mode(mode):
    i = Icon(16, 10)
    # An arrow, then as many dots as the mode.
    for y in range(8):
        i.line(0, y, min(y, 4), y, BLACK)
    i.line(2, 6, 4, 9, BLACK)
    for k in range(min(mode, 9)):
        i.set(7 + (k % 5) * 2, 3 + (k // 5) * 3, BLUE)
    if mode > 9:
        i.line(7, 5, 15, 5, BLUE)
    return i


DASHES = {1: [(0, 24)], 2: [(0, 5), (8, 13), (16, 21)], 3: [(0, 1), (4, 5), (8, 9), (12, 13), (16, 17), (20, 21)],
          4: [(0, 7), (10, 11), (14, 21)], 5: [(0, 6), (9, 10), (13, 14), (17, 23)], 6: [(0, 10), (14, 23)]}


def line_style(style):
    i = Icon(24, 14)
    for a, b in DASHES.get(style, []):
        i.line(a, 7, min(b, 23), 7, BLACK)
    return i


def end_mark(kind, width, pointing_left):
    i = Icon(width, 10)
    x_tip, x_tail = (0, width - 1) if pointing_left else (width - 1, 0)
    step = 1 if pointing_left else -1
    i.line(x_tail, 5, x_tip, 5, BLACK)
    if kind == 1:
        for k in range(5):
            i.line(x_tip + step * k, 5 - k // 2, x_tip + step * k, 5 + k // 2, BLACK)
    elif kind == 2:
        i.line(x_tip, 5, x_tip + step * 4, 2, BLACK)
        i.line(x_tip, 5, x_tip + step * 4, 8, BLACK)
    elif kind == 3:
        i.circle(x_tip + step * 2, 5, 1.6, BLACK, BLACK)
    elif kind == 4:
        i.line(x_tip + step * 4, 1, x_tip, 9, BLACK)
    elif kind == 5:
        i.circle(x_tip + step * 3, 5, 2.5, BLACK, WHITE)
    elif kind == 6:
        i.line(x_tip, 1, x_tip, 9, BLACK)
    return i


def popup_mark():
    i = Icon(8, 10)
    for k in range(4):
        i.line(k, 3 + k, 7 - k, 3 + k, BLACK)
    return i


def presets(have):
    i = Icon(10, 11)
    i.rect(0, 0, 9, 10, BLACK if have else GREY, WHITE)
    for y in (3, 5, 7):
        i.line(2, y, 7, y, BLACK if have else LIGHT)
    return i


def snap(mode, on):
    i = button(on)
    c = BLACK
    if mode == 0:
        for x in (3, 7, 11):
            for y in (3, 7, 11):
                i.rect(x, y, x + 1, y + 1, c, c)
    elif mode == 1:
        i.line(2, 3, 13, 12, c)
        i.line(2, 12, 13, 3, c)
        i.circle(7.5, 7.5, 2.5, RED)
    elif mode == 2:
        i.line(2, 12, 13, 3, c)
        i.rect(1, 11, 4, 14, RED)
        i.rect(11, 1, 14, 4, RED)
    else:
        i.line(3, 7, 12, 7, RED)
        i.line(7, 3, 7, 12, RED)
        i.circle(7.5, 7.5, 4.5, RED)
    return i


def side(index, pressed):
    i = button(pressed)
    c = BLACK
    if index == 0:  # save: a disk
        i.rect(3, 3, 12, 12, c, WHITE)
        i.rect(5, 3, 10, 6, c, LIGHT)
    elif index == 1:  # fit: four corners
        for x0, y0, dx, dy in ((3, 3, 1, 1), (12, 3, -1, 1), (3, 12, 1, -1), (12, 12, -1, -1)):
            i.line(x0, y0, x0 + 3 * dx, y0, c)
            i.line(x0, y0, x0, y0 + 3 * dy, c)
    elif index == 2:  # redraw: a circle with an arrow head
        i.circle(7.5, 7.5, 4.5, c)
        i.line(11, 2, 12, 6, c)
        i.line(12, 6, 8, 6, c)
    elif index in (3, 4):  # zoom in and out: a loupe with + or -
        i.circle(6.5, 6.5, 3.8, c, WHITE)
        i.line(9, 9, 13, 13, c)
        i.line(10, 9, 13, 12, c)
        i.line(5, 6, 8, 6, c)
        if index == 3:
            i.line(6, 5, 6, 8, c)
            i.line(7, 5, 7, 8, c)
    elif index == 5:  # close the symbol window
        i.line(4, 4, 11, 11, c)
        i.line(4, 11, 11, 4, c)
    return i


def history(have):
    i = Icon(13, 17)
    c = BLACK if have else LIGHT
    for k in range(4):
        i.line(6 - k, 7 + k, 6 + k, 7 + k, c)
    return i


def script_picture():
    i = Icon(16, 16)
    i.rect(2, 1, 13, 14, BLACK, WHITE)
    for y in (4, 7, 10):
        i.line(4, y, 11, y, GREY)
    return i


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "Resources")
    icons = {128: pen(False), 145: pen(True), 129: layer(), 130: group(), 131: switch(True), 132: switch(False),
             191: popup_mark(), 210: presets(True), 211: presets(False), 910: history(True), 911: history(False)}
    for mode in range(10):
        icons[133 + mode] = pick_mode(mode)
    icons[142] = pick_mode(10)
    for style in range(7):
        icons[149 + style] = line_style(style)
    for kind in range(7):
        icons[160 + kind] = end_mark(kind, 13, True)
        icons[170 + kind] = end_mark(kind, 12, False)
    for mode in range(4):
        icons[500 + 2 * mode] = snap(mode, False)
        icons[501 + 2 * mode] = snap(mode, True)
    for index in range(6):
        icons[800 + index] = side(index, False)
        icons[810 + index] = side(index, True)
    for number, icon in icons.items():
        with open(os.path.join(out, "cicn_%d.png" % number), "wb") as f:
            f.write(icon.png())
    with open(os.path.join(out, "script.png"), "wb") as f:
        f.write(script_picture().png())


if __name__ == "__main__":
    main()
