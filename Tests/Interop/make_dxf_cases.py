#!/usr/bin/python3
"""Writes, with ezdxf, one DXF file per version from R12 to R2018 holding what files from the real world
carry: non-ASCII texts and layer names, aligned texts, points, and from R2000 on MTEXT with formatting
codes, hatches bounded by polylines with bulges, holes and islands under each hatch style, splines by control points (clamped,
non-uniform and rational), and from R2004 on a true colour. Beside each file, "<file>.splines" lists
ezdxf's own evaluation of each spline: "<spline number> <x> <y>" per line. Read by
Tests/Exchange/DxfPeerFilesTest.cpp.

    /usr/bin/python3 Tests/Interop/make_dxf_cases.py <output folder>
"""
import os
import sys

import ezdxf

VERSIONS = ["R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]
TEXT = "Grüße Łódź Ωμέγα Привет 中文 15°"

SPLINES = [
    # clamped and uniform: the drawing's own spline
    dict(points=[(0, 0), (10, 20), (30, 20), (40, 0), (60, 10)], degree=3, knots=None, weights=None),
    # non-uniform knots
    dict(points=[(100, 0), (110, 30), (130, -10), (140, 20), (150, 0), (170, 15)], degree=3,
         knots=[0, 0, 0, 0, 1, 4, 5, 5, 5, 5], weights=None),
    # rational: a quarter circle and on
    dict(points=[(200, 0), (200, 20), (220, 20), (240, 0)], degree=2, knots=[0, 0, 0, 1, 2, 2, 2],
         weights=[1, 0.7071067811865476, 1, 1]),
    # degree 2, clamped uniform
    dict(points=[(300, 0), (310, 10), (320, 0), (330, 10)], degree=2, knots=None, weights=None),
]


def write(version, folder):
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    doc.layers.new("Wände", dxfattribs={"color": 3})
    doc.layers.new("Стены", dxfattribs={"color": 4})
    msp.add_line((0, -10), (10, -10), dxfattribs={"layer": "Wände"})
    msp.add_line((0, -20), (10, -20), dxfattribs={"layer": "Стены"})
    msp.add_text(TEXT, dxfattribs={"height": 2.5}).set_pos((0, -30))
    msp.add_text("OBLIQUE", dxfattribs={"height": 2.5}).set_pos((10, 20), (34, 38), align="ALIGNED")
    msp.add_point((5, 5))
    if version != "R12":
        msp.add_mtext("{\\fArial|b1|i0;Bold} \\Ltext\\l\\Psecond \\S1/2; \\U+00B1" + "0.1",
                      dxfattribs={"insert": (0, -50), "char_height": 2.5})
        hatch = msp.add_hatch(color=2)
        hatch.paths.add_polyline_path([(400, 0, 0), (440, 0, 1), (440, 40, 0), (400, 40, 0)], is_closed=True,
                                      flags=1)
        hatch.paths.add_polyline_path([(410, 10), (420, 10), (420, 20), (410, 20)], is_closed=True, flags=0)
        solid = msp.add_hatch(color=5)
        solid.set_solid_fill(color=5)
        solid.paths.add_polyline_path([(500, 0), (520, 0), (510, 15)], is_closed=True, flags=3)
        # a hole with an island in it, under each hatch style: nested, outer, ignore
        for style in range(3):
            nested = msp.add_hatch(color=3)
            nested.dxf.hatch_style = style
            x = 600 + 100 * style
            for size, flags in ((40, 1), (25, 16), (10, 0)):
                nested.paths.add_polyline_path([(x - size, -size), (x + size, -size), (x + size, size),
                                                (x - size, size)], is_closed=True, flags=flags)
        with open(os.path.join(folder, version + ".dxf.splines"), "w") as out:
            for number, s in enumerate(SPLINES):
                if s["weights"]:
                    spline = msp.add_rational_spline(s["points"], s["weights"], degree=s["degree"],
                                                     knots=s["knots"])
                else:
                    spline = msp.add_open_spline(s["points"], degree=s["degree"], knots=s["knots"])
                for p in spline.construction_tool().approximate(400):
                    out.write("%d %.9f %.9f\n" % (number, p.x, p.y))
    if version not in ("R12", "R2000"):
        msp.add_line((0, -60), (10, -60), dxfattribs={"true_color": 0x123456, "color": 1})
    doc.saveas(os.path.join(folder, version + ".dxf"))


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for version in VERSIONS:
        write(version, folder)


if __name__ == "__main__":
    main()
