#!/usr/bin/python3
"""Writes the DXF fixtures of the reader tests with ezdxf (Debian package python3-ezdxf): per version,
R12 and R2000, one file holding every geometric entity kind that version has, and one holding
layers with their line types, texts, blocks with inserts nested in them, and dimensions. The geometry is
fixed here and checked by Tests/Exchange/DxfFixturesTest.cpp. A new run changes only the stamps ezdxf
writes at saving (update time, its own version note).

    /usr/bin/python3 scripts/make-dxf-fixtures.py [output folder]
"""
import os
import sys

import ezdxf

FIXED_HEADER = {
    "$TDCREATE": 2460000.5,
    "$TDUCREATE": 2460000.5,
    "$TDUPDATE": 2460000.5,
    "$TDUUPDATE": 2460000.5,
    "$FINGERPRINTGUID": "{00000000-0000-0000-0000-000000000001}",
    "$VERSIONGUID": "{00000000-0000-0000-0000-000000000002}",
}


def common(msp):
    msp.add_line((1, 2), (11, 7), dxfattribs={"color": 1})
    msp.add_circle((20, 5), 4, dxfattribs={"color": 5})
    msp.add_arc((30, 5), 3, 0, 90)
    # Seen from below: the same arc mirrored about the y axis.
    msp.add_arc((30, 15), 3, 0, 90, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_solid([(0, 20), (4, 20), (0, 23), (4, 23)])
    msp.add_trace([(10, 20), (14, 20), (10, 23), (14, 23)])
    msp.add_point((50, 50))
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 1), (0, 1, 1)])
    # An open polyline of four vertices, a closed one, and one with a bulge.
    msp.add_polyline2d([(40, 0), (44, 0), (44, 3), (48, 3)])
    msp.add_polyline2d([(40, 10), (44, 10), (44, 13)], close=True)
    bulged = msp.add_polyline2d([(50, 0), (60, 0), (60, 10)], format="xyb")
    bulged.vertices[0].dxf.bulge = 1.0


def r2000_only(msp):
    msp.add_lwpolyline([(0, 30, 0), (10, 30, 1), (10, 40, 0), (0, 40, 0)], format="xyb", close=True)
    msp.add_ellipse((70, 0), major_axis=(10, 0), ratio=0.5, start_param=0, end_param=3.141592653589793)
    msp.add_spline(fit_points=[(80, 0), (82, 3), (85, 1), (88, 4)])
    msp.add_ray((90, 0), (1, 1))
    msp.add_xline((95, 0), (0, 1))
    hatch = msp.add_hatch(color=3)
    hatch.paths.add_edge_path(flags=1).add_line((100, 0), (110, 0))
    edges = hatch.paths.edges[0] if hasattr(hatch.paths, "edges") else hatch.paths.paths[0]
    edges.add_line((110, 0), (110, 10))
    edges.add_line((110, 10), (100, 10))
    edges.add_line((100, 10), (100, 0))
    hole = hatch.paths.add_edge_path(flags=0)
    hole.add_arc((105, 5), 2, 0, 360)
    # A hatch with its external path alone (a half disc): imported as an area.
    alone = msp.add_hatch(color=4)
    half = alone.paths.add_edge_path(flags=1)
    half.add_arc((120, 0), 5, 0, 180)
    half.add_line((115, 0), (125, 0))


def annotations(doc, msp, version):
    doc.layers.add("WALLS", color=1, linetype="DASHED")
    doc.layers.add("NOTES", color=5)
    msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "WALLS"})
    msp.add_text("Plain", dxfattribs={"height": 2.5, "insert": (1, 2), "layer": "NOTES"})
    centred = msp.add_text("Centred", dxfattribs={"height": 2.0, "rotation": 30})
    centred.set_placement((20, 10), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)
    inner = doc.blocks.new(name="INNER", base_point=(0, 0))
    inner.add_line((0, 0), (5, 0))
    inner.add_circle((0, 0), 1)
    outer = doc.blocks.new(name="OUTER", base_point=(10, 0))
    outer.add_arc((10, 0), 4, 30, 120)
    outer.add_blockref("INNER", (20, 0), dxfattribs={"rotation": 90})
    msp.add_blockref("INNER", (100, 50), dxfattribs={"rotation": 45, "xscale": 2, "yscale": 3})
    msp.add_blockref("OUTER", (200, 0))
    msp.add_linear_dim(base=(0, 20), p1=(0, 10), p2=(30, 10)).render()
    msp.add_radius_dim(center=(50, 50), radius=10, angle=45).render()
    if version != "R12":
        msp.add_mtext("First line\\Psecond line", dxfattribs={
            "char_height": 2.0, "insert": (40, 30), "width": 60, "attachment_point": 5,
            "text_direction": (0, 1, 0)})


def write_annotations(version, folder):
    doc = ezdxf.new(version, setup=["linetypes"])
    for name, value in FIXED_HEADER.items():
        if name in doc.header:
            doc.header[name] = value
    annotations(doc, doc.modelspace(), version)
    path = os.path.join(folder, f"annotations-{version}.dxf")
    doc.saveas(path)
    print(path)


def write(version, folder):
    doc = ezdxf.new(version)
    for name, value in FIXED_HEADER.items():
        if name in doc.header:
            doc.header[name] = value
    msp = doc.modelspace()
    common(msp)
    if version != "R12":
        r2000_only(msp)
    path = os.path.join(folder, f"entities-{version}.dxf")
    doc.saveas(path)
    print(path)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "Tests", "Fixtures", "Dxf")
    os.makedirs(folder, exist_ok=True)
    for version in ("R12", "R2000"):
        write(version, folder)
        write_annotations(version, folder)


if __name__ == "__main__":
    main()
