#!/usr/bin/env python3
"""Draws the tool palette's pictograms as 32 x 32 PNG files in Resources/: for every tool of the
twelve groups its button (cicn_<1000 + 2 x row>.png, row = group x 12 + tool) and the same button
pressed (the next number), the group buttons of the pop-up's group mode (10000 + 2 x group and the
next number) and the empty cell (20000). Each group has its picture; the tool's number stands in
small digits in the corner. Plain pixel drawings; run again after changing one."""
import importlib.util
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location("status_icons", os.path.join(here, "draw-status-icons.py"))
status_icons = importlib.util.module_from_spec(spec)
spec.loader.exec_module(status_icons)
Icon = status_icons.Icon
BLACK, GREY, LIGHT, FACE = status_icons.BLACK, status_icons.GREY, status_icons.LIGHT, status_icons.FACE
PRESSED, BLUE, RED, WHITE = status_icons.PRESSED, status_icons.BLUE, status_icons.RED, status_icons.WHITE

TOOLS_PER_GROUP = [12, 7, 7, 8, 12, 5, 7, 10, 3, 5, 10, 8]

DIGITS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "001", "001", "001"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
}


def digits(icon, x, y, text, colour):
    for k, ch in enumerate(text):
        for row, bits in enumerate(DIGITS[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    icon.set(x + 4 * k + col, y + row, colour)


def face(pressed):
    i = Icon(32, 32)
    i.rect(0, 0, 31, 31, GREY, PRESSED if pressed else FACE)
    light, dark = (GREY, WHITE) if pressed else (WHITE, GREY)
    i.line(1, 1, 30, 1, light)
    i.line(1, 1, 1, 30, light)
    i.line(1, 30, 30, 30, dark)
    i.line(30, 1, 30, 30, dark)
    return i


def picture(i, group):
    """The group's picture in the upper part of the button."""
    if group == 0:  # lines
        i.line(6, 21, 25, 6, BLACK)
        i.line(6, 22, 25, 7, BLACK)
    elif group == 1:  # circles
        i.circle(16, 13, 8, BLACK)
    elif group == 2:  # arcs
        for x in range(32):
            for y in range(32):
                d = ((x - 16) ** 2 + (y - 19) ** 2) ** 0.5
                if abs(d - 10) < 0.6 and y <= 19:
                    i.set(x, y, BLACK)
    elif group == 3:  # texts
        i.rect(9, 5, 22, 7, BLACK, BLACK)
        i.rect(15, 5, 16, 22, BLACK, BLACK)
    elif group == 4:  # dimensions
        i.line(5, 13, 26, 13, BLACK)
        i.line(5, 6, 5, 20, BLACK)
        i.line(26, 6, 26, 20, BLACK)
        for k in range(4):
            i.line(6 + k, 13 - k, 6 + k, 13 + k, BLACK)
            i.line(25 - k, 13 - k, 25 - k, 13 + k, BLACK)
    elif group == 5:  # trim and cut
        i.circle(10, 18, 3, BLACK)
        i.circle(21, 18, 3, BLACK)
        i.line(12, 16, 22, 5, BLACK)
        i.line(19, 16, 9, 5, BLACK)
    elif group == 6:  # select and transform
        for y in range(14):
            i.line(9, 4 + y, 9 + min(y, 8), 4 + y, BLACK)
        i.line(13, 15, 17, 22, BLACK)
        i.line(14, 15, 18, 22, BLACK)
    elif group == 7:  # attributes and information
        i.circle(16, 13, 9, BLUE)
        i.rect(15, 6, 16, 7, BLUE, BLUE)
        i.rect(15, 10, 16, 19, BLUE, BLUE)
    elif group == 8:  # delete
        i.line(8, 5, 23, 20, RED)
        i.line(9, 5, 24, 20, RED)
        i.line(23, 5, 8, 20, RED)
        i.line(24, 5, 9, 20, RED)
    elif group == 9:  # areas
        i.rect(6, 5, 25, 21, BLACK)
        for k in range(-20, 20, 4):
            for x in range(7, 25):
                y = x + k
                if 6 <= y <= 20:
                    i.set(x, y, GREY)
    elif group == 10:  # point lists and polylines
        pts = [(5, 20), (11, 7), (17, 17), (22, 6), (27, 14)]
        for a, b in zip(pts, pts[1:]):
            i.line(a[0], a[1], b[0], b[1], BLACK)
        for x, y in pts:
            i.rect(x - 1, y - 1, x + 1, y + 1, BLUE, BLUE)
    else:  # edit elements
        i.line(6, 20, 25, 8, BLACK)
        for x, y in ((6, 20), (16, 14), (25, 8)):
            i.rect(x - 2, y - 2, x + 2, y + 2, BLACK, WHITE)
    return i


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "Resources")
    icons = {20000: face(False)}
    for group, count in enumerate(TOOLS_PER_GROUP):
        for pressed in (False, True):
            icons[10000 + 2 * group + pressed] = picture(face(pressed), group)
            for tool in range(count):
                i = picture(face(pressed), group)
                digits(i, 4, 24, str(tool + 1), BLUE if pressed else BLACK)
                icons[1000 + 2 * (group * 12 + tool) + pressed] = i
    for number, icon in icons.items():
        with open(os.path.join(out, "cicn_%d.png" % number), "wb") as f:
            f.write(icon.png())


if __name__ == "__main__":
    main()
