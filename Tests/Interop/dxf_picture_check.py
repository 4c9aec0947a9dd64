#!/usr/bin/env python3
"""Compares the picture another CAD program draws of a DXF file with the program's own PDF of the same
drawing: LibreCAD prints the DXF file to PDF (its dxf2pdf command), pdftoppm rasterises both PDFs,
each picture is cut to the box of its ink and pooled onto one grid, and every inked cell of either
picture must have ink of the other within two cells. Prints "<dxf> <ours-in-theirs> <theirs-in-ours>"
(fractions of inked cells that found a partner) and leaves the PDFs beside the DXF file to look at.
Both PDFs are rasterised to 1000 pixels on their longer side, whatever their page sizes.

    dxf_picture_check.py OURS.pdf FILE.dxf [FILE.dxf ...]

Exit status 0 when every file was drawn, 1 when one was not, 2 when LibreCAD or pdftoppm is
missing."""
import os
import shutil
import subprocess
import sys
import tempfile

GRID = 240  # cells across the longer side
REACH = 2  # cells a line may stand off


def raster(pdf, folder, name):
    stem = os.path.join(folder, name)
    subprocess.run(["pdftoppm", "-gray", "-scale-to", "1000", "-singlefile", pdf, stem], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(stem + ".pgm", "rb") as f:
        data = f.read()
    # P5, width, height, maximum, one byte per pixel after a single blank
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[at + 1:at + 1 + width * height]


def cells(width, height, pixels):
    """The inked cells of the picture cut to its ink's box, scaled so the box's longer side is GRID."""
    ink = [(x, y) for y in range(height) for x in range(width) if pixels[y * width + x] < 160]
    if not ink:
        return set()
    x0 = min(x for x, _ in ink)
    y0 = min(y for _, y in ink)
    side = max(max(x for x, _ in ink) - x0, max(y for _, y in ink) - y0) + 1
    return {((x - x0) * GRID // side, (y - y0) * GRID // side) for x, y in ink}


def reached(a, b):
    if not a:
        return 0.0
    near = set()
    for x, y in b:
        for dx in range(-REACH, REACH + 1):
            for dy in range(-REACH, REACH + 1):
                near.add((x + dx, y + dy))
    return sum(1 for c in a if c in near) / len(a)


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 1
    if not shutil.which("librecad") or not shutil.which("pdftoppm"):
        return 2
    folder = tempfile.mkdtemp(prefix="dxf-picture-")
    ours = cells(*raster(sys.argv[1], folder, "ours"))
    status = 0
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for dxf in sys.argv[2:]:
        # dxf2pdf names its PDF after the DXF file, in the folder given
        printed = os.path.join(folder, os.path.splitext(os.path.basename(dxf))[0] + ".pdf")
        done = subprocess.run(["librecad", "dxf2pdf", "-a", "-m", "-t", folder, dxf], env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        if done.returncode != 0 or not os.path.exists(printed):
            print("%s NOT-DRAWN" % dxf)
            status = 1
            continue
        shutil.copyfile(printed, os.path.splitext(dxf)[0] + ".librecad.pdf")
        theirs = cells(*raster(printed, folder, "theirs"))
        print("%s %.4f %.4f" % (dxf, reached(ours, theirs), reached(theirs, ours)))
    shutil.rmtree(folder, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
