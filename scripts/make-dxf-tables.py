#!/usr/bin/env python3
"""Writes Resources/text_900.txt (the DXF colour index palette) and Resources/text_10000.txt (the
code-page tables for DXF texts) from the public colour index values and the system's iconv tables.

text_900.txt: 255 lines "n r g b", colour numbers 1 to 255, components as reals from 0 to 1.
text_10000.txt: 128 rows, one per byte 128 to 255: the byte, then for code pages dos437, dos850,
dos852, dos855, dos857, dos860, dos861, dos863, dos864, dos865, dos869, ISO 8859-1, ISO 8859-2 and
Mac Roman the character that byte stands for, all in upper-case hexadecimal. A character that Mac
Roman holds is written as its Mac Roman byte; any other as a unique value above 255 (its Unicode
code point, or 0xF000 plus the code point for the few Latin-1 characters Mac Roman lacks). A byte
that a code page leaves undefined is 0.

Run: python3 scripts/make-dxf-tables.py  (needs iconv)
"""
import os
import subprocess
import sys

# Colour numbers 1 to 255 as 8-bit RGB, the published colour index table.
ACI = [
    (255, 0, 0), (255, 255, 0), (0, 255, 0), (0, 255, 255), (0, 0, 255), (255, 0, 255), (255, 255, 255), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (255, 127, 127), (165, 0, 0), (165, 82, 82), (127, 0, 0), (127, 63, 63), (76, 0, 0),
    (76, 38, 38), (38, 0, 0), (38, 19, 19), (255, 63, 0), (255, 159, 127), (165, 41, 0), (165, 103, 82), (127, 31, 0),
    (127, 79, 63), (76, 19, 0), (76, 47, 38), (38, 9, 0), (38, 23, 19), (255, 127, 0), (255, 191, 127), (165, 82, 0),
    (165, 124, 82), (127, 63, 0), (127, 95, 63), (76, 38, 0), (76, 57, 38), (38, 19, 0), (38, 28, 19), (255, 191, 0),
    (255, 223, 127), (165, 124, 0), (165, 145, 82), (127, 95, 0), (127, 111, 63), (76, 57, 0), (76, 66, 38), (38, 28, 0),
    (38, 33, 19), (255, 255, 0), (255, 255, 127), (165, 165, 0), (165, 165, 82), (127, 127, 0), (127, 127, 63), (76, 76, 0),
    (76, 76, 38), (38, 38, 0), (38, 38, 19), (191, 255, 0), (223, 255, 127), (124, 165, 0), (145, 165, 82), (95, 127, 0),
    (111, 127, 63), (57, 76, 0), (66, 76, 38), (28, 38, 0), (33, 38, 19), (127, 255, 0), (191, 255, 127), (82, 165, 0),
    (124, 165, 82), (63, 127, 0), (95, 127, 63), (38, 76, 0), (57, 76, 38), (19, 38, 0), (28, 38, 19), (63, 255, 0),
    (159, 255, 127), (41, 165, 0), (103, 165, 82), (31, 127, 0), (79, 127, 63), (19, 76, 0), (47, 76, 38), (9, 38, 0),
    (23, 38, 19), (0, 255, 0), (127, 255, 127), (0, 165, 0), (82, 165, 82), (0, 127, 0), (63, 127, 63), (0, 76, 0),
    (38, 76, 38), (0, 38, 0), (19, 38, 19), (0, 255, 63), (127, 255, 159), (0, 165, 41), (82, 165, 103), (0, 127, 31),
    (63, 127, 79), (0, 76, 19), (38, 76, 47), (0, 38, 9), (19, 88, 23), (0, 255, 127), (127, 255, 191), (0, 165, 82),
    (82, 165, 124), (0, 127, 63), (63, 127, 95), (0, 76, 38), (38, 76, 57), (0, 38, 19), (19, 88, 28), (0, 255, 191),
    (127, 255, 223), (0, 165, 124), (82, 165, 145), (0, 127, 95), (63, 127, 111), (0, 76, 57), (38, 76, 66), (0, 38, 28),
    (19, 88, 88), (0, 255, 255), (127, 255, 255), (0, 165, 165), (82, 165, 165), (0, 127, 127), (63, 127, 127), (0, 76, 76),
    (38, 76, 76), (0, 38, 38), (19, 88, 88), (0, 191, 255), (127, 223, 255), (0, 124, 165), (82, 145, 165), (0, 95, 127),
    (63, 111, 127), (0, 57, 76), (38, 66, 126), (0, 28, 38), (19, 88, 88), (0, 127, 255), (127, 191, 255), (0, 82, 165),
    (82, 124, 165), (0, 63, 127), (63, 95, 127), (0, 38, 76), (38, 57, 126), (0, 19, 38), (19, 28, 88), (0, 63, 255),
    (127, 159, 255), (0, 41, 165), (82, 103, 165), (0, 31, 127), (63, 79, 127), (0, 19, 76), (38, 47, 126), (0, 9, 38),
    (19, 23, 88), (0, 0, 255), (127, 127, 255), (0, 0, 165), (82, 82, 165), (0, 0, 127), (63, 63, 127), (0, 0, 76),
    (38, 38, 126), (0, 0, 38), (19, 19, 88), (63, 0, 255), (159, 127, 255), (41, 0, 165), (103, 82, 165), (31, 0, 127),
    (79, 63, 127), (19, 0, 76), (47, 38, 126), (9, 0, 38), (23, 19, 88), (127, 0, 255), (191, 127, 255), (82, 0, 165),
    (124, 82, 165), (63, 0, 127), (95, 63, 127), (38, 0, 76), (57, 38, 126), (19, 0, 38), (28, 19, 88), (191, 0, 255),
    (223, 127, 255), (124, 0, 165), (145, 82, 165), (95, 0, 127), (111, 63, 127), (57, 0, 76), (66, 38, 76), (28, 0, 38),
    (88, 19, 88), (255, 0, 255), (255, 127, 255), (165, 0, 165), (165, 82, 165), (127, 0, 127), (127, 63, 127), (76, 0, 76),
    (76, 38, 76), (38, 0, 38), (88, 19, 88), (255, 0, 191), (255, 127, 223), (165, 0, 124), (165, 82, 145), (127, 0, 95),
    (127, 63, 111), (76, 0, 57), (76, 38, 66), (38, 0, 28), (88, 19, 88), (255, 0, 127), (255, 127, 191), (165, 0, 82),
    (165, 82, 124), (127, 0, 63), (127, 63, 95), (76, 0, 38), (76, 38, 57), (38, 0, 19), (88, 19, 28), (255, 0, 63),
    (255, 127, 159), (165, 0, 41), (165, 82, 103), (127, 0, 31), (127, 63, 79), (76, 0, 19), (76, 38, 47), (38, 0, 9),
    (88, 19, 23), (0, 0, 0), (101, 101, 101), (102, 102, 102), (153, 153, 153), (204, 204, 204), (255, 255, 255),
]

CODE_PAGES = ["CP437", "CP850", "CP852", "CP855", "CP857", "CP860", "CP861", "CP863", "CP864",
              "CP865", "CP869", "ISO-8859-1", "ISO-8859-2"]


def decode_byte(charset, byte):
    """The Unicode code point of one byte in the charset, or None when iconv refuses it."""
    result = subprocess.run(["iconv", "-f", charset, "-t", "UTF-32BE"], input=bytes([byte]),
                            capture_output=True)
    if result.returncode != 0 or len(result.stdout) != 4:
        return None
    return int.from_bytes(result.stdout, "big")


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    resources = os.path.join(root, "Resources")
    if len(ACI) != 255:
        sys.exit("the colour table must hold 255 entries")

    with open(os.path.join(resources, "text_900.txt"), "w", newline="\n") as f:
        for n, (r, g, b) in enumerate(ACI, start=1):
            f.write("%d %.6f %.6f %.6f\n" % (n, r / 255.0, g / 255.0, b / 255.0))

    # Mac Roman as the program's own table has it (0xDB the euro sign, 0xF0 U+F8FF).
    mac_to_unicode = {b: ord(bytes([b]).decode("mac_roman")) for b in range(256)}
    unicode_to_mac = {u: b for b, u in mac_to_unicode.items()}

    def encode(code_point):
        if code_point is None:
            return 0
        if code_point in unicode_to_mac:
            return unicode_to_mac[code_point]
        return code_point if code_point > 255 else 0xF000 + code_point

    columns = [[encode(decode_byte(cp, b)) for b in range(128, 256)] for cp in CODE_PAGES]
    columns.append(list(range(128, 256)))
    with open(os.path.join(resources, "text_10000.txt"), "w", newline="\n") as f:
        for row in range(128):
            values = [row + 128] + [column[row] for column in columns]
            f.write(" ".join("%X" % v for v in values) + "\n")


if __name__ == "__main__":
    main()
