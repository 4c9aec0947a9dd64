#!/usr/bin/env python3
"""Reads DXF files with ezdxf and prints, per file, one line "<file> <kind>=<count> ..." of the
entities in all blocks together (model space among them); with --audit, an audit must find no errors
and fix nothing, and the counts are taken after it, so an entity it removed shows as missing.
Exit status 0 when every file was read (and audited clean where asked), 2 when ezdxf is missing."""
import sys
from collections import Counter

try:
    import ezdxf
except ImportError:
    sys.exit(2)


def main():
    args = sys.argv[1:]
    status = 0
    audit_next = False
    for arg in args:
        if arg == "--audit":
            audit_next = True
            continue
        try:
            doc = ezdxf.readfile(arg)
        except Exception as e:  # the reader's own errors: the file is not taken
            print("%s READ-ERROR %s" % (arg, e))
            status = 1
            audit_next = False
            continue
        if audit_next:
            auditor = doc.audit()
            for err in auditor.errors + auditor.fixes:
                status = 1
                print("%s AUDIT %s" % (arg, err.message))
        counts = Counter()
        for block in doc.blocks:
            for e in block:
                counts[e.dxftype()] += 1
        print(arg + " " + " ".join("%s=%d" % kv for kv in sorted(counts.items())))
        audit_next = False
    return status


if __name__ == "__main__":
    sys.exit(main())
