#!/usr/bin/env python3
"""Finds the sheet frames of blocks.dxf from its geometry alone and prints them, rows
from the bottom and left to right in a row, one "minx miny maxx maxy" a line; then
compares them with the frames make_sample.py means the drawing to have (BLOCK_SHEETS,
POLYLINE_SHEETS) and exits 1 when they differ.

A frame is a closed four-vertex polyline on MORVEL whose sides run along the axes, or a
block reference on MORVEL turned by a multiple of 90 degrees: the box round everything
the reference draws, nested references and attribute values included. Text counts with
a box wider than it is drawn (one text height a character), so a value that reaches
out of its outline shows as a wider frame. A frame whose four sides lie within 1.0 of
those of an earlier one is the same frame drawn twice and is listed once.

Run: python3 check_blocks.py [DRAWING]   (default: blocks.dxf beside this script)
Standard library only; it reads the file with its own reading of DXF groups.
"""

import cmath
import math
import os
import re
import sys

LAYER = "MORVEL"
SAME_WITHIN = 1.0
ROW_GAP = 1000.0  # bottoms further apart than this start a new row


def records(path):
    """The file's entity records, as (type, [(code, value), ...])."""
    with open(path, encoding="ascii") as f:
        lines = f.read().split("\n")
    pairs = [(int(lines[i]), lines[i + 1].strip()) for i in range(0, len(lines) - 1, 2)]
    current = None
    for code, value in pairs:
        if code == 0:
            if current:
                yield current
            current = (value, [])
        elif current:
            current[1].append((code, value))
    if current:
        yield current


def value(fields, code, default=None, convert=float):
    for c, v in fields:
        if c == code:
            return convert(v)
    return default


def text_of(raw):
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), raw)


class Entity:
    def __init__(self, kind, fields):
        self.kind, self.fields = kind, fields
        self.layer = value(fields, 8, "0", str)
        self.attributes = []  # the ATTRIB records after an INSERT
        self.children = None  # a block's entities


def read_drawing(path):
    """(blocks {name: (base, entities)}, model-space entities)."""
    blocks, model = {}, []
    section, block, into = None, None, None
    for kind, fields in records(path):
        if kind == "SECTION":
            section = value(fields, 2, convert=str)
            into = model if section == "ENTITIES" else None
        elif kind == "ENDSEC":
            section, into = None, None
        elif section == "BLOCKS" and kind == "BLOCK":
            block = (complex(value(fields, 10, 0.0), value(fields, 20, 0.0)), [])
            blocks[value(fields, 2, convert=str)] = block
            into = block[1]
        elif section == "BLOCKS" and kind == "ENDBLK":
            into = None
        elif into is not None and kind == "ATTRIB":
            into[-1].attributes.append(Entity(kind, fields))
        elif into is not None and kind not in ("SEQEND", "ATTDEF"):  # definitions are not drawn
            into.append(Entity(kind, fields))
    return blocks, model


def points_of(entity):
    """Points whose box holds the entity, in its own coordinates."""
    f = entity.fields
    if entity.kind == "LWPOLYLINE":
        xs = [float(v) for c, v in f if c == 10]
        ys = [float(v) for c, v in f if c == 20]
        return [complex(x, y) for x, y in zip(xs, ys)]
    if entity.kind == "LINE":
        return [complex(value(f, 10), value(f, 20)), complex(value(f, 11), value(f, 21))]
    if entity.kind in ("CIRCLE", "ARC"):
        c, r = complex(value(f, 10), value(f, 20)), value(f, 40)
        return [c + r * complex(dx, dy) for dx in (-1, 1) for dy in (-1, 1)]
    if entity.kind in ("TEXT", "ATTRIB"):
        height = value(f, 40)
        width = height * len(text_of(value(f, 1, "", str)))
        justified = value(f, 72, 0, int) != 0
        at = complex(value(f, 11), value(f, 21)) if justified else complex(value(f, 10), value(f, 20))
        left = {0: 0.0, 1: -width / 2, 2: -width}.get(value(f, 72, 0, int), -width / 2)
        turn = cmath.exp(1j * math.radians(value(f, 50, 0.0)))
        return [at + turn * complex(left + dx, dy) for dx in (0, width) for dy in (0, height)]
    return []


def placement(insert, outer):
    """The map of a reference's block coordinates into those `outer` maps from."""
    f = insert.fields
    at = complex(value(f, 10, 0.0), value(f, 20, 0.0))
    sx, sy = value(f, 41, 1.0), value(f, 42, 1.0)
    turn = cmath.exp(1j * math.radians(value(f, 50, 0.0)))
    return lambda p, base: outer(at + turn * complex(sx * (p - base).real, sy * (p - base).imag))


def drawn_points(insert, blocks, outer=lambda p: p):
    base, entities = blocks[value(insert.fields, 2, convert=str)]
    place = placement(insert, outer)
    points = [outer(p) for a in insert.attributes for p in points_of(a)]
    for e in entities:
        if e.kind == "INSERT":
            points += drawn_points(e, blocks, lambda p, place=place: place(p, base))
        else:
            points += [place(p, base) for p in points_of(e)]
    return points


def box(points):
    return (min(p.real for p in points), min(p.imag for p in points),
            max(p.real for p in points), max(p.imag for p in points))


def frames_of(path):
    """The frames in file order, and what on MORVEL is no frame, as text."""
    blocks, model = read_drawing(path)
    frames, others = [], []
    for e in model:
        if e.layer != LAYER:
            continue
        if e.kind == "INSERT":
            rotation = value(e.fields, 50, 0.0)
            if math.remainder(rotation, 90) != 0:
                others.append("%s turned by %g degrees" % (value(e.fields, 2, convert=str), rotation))
                continue
            frames.append(box(drawn_points(e, blocks)))
            continue
        points = points_of(e)
        closed = value(e.fields, 70, 0, int) & 1
        rectangle = len(points) == 4 and all(
            (points[k] - points[k - 1]).real == 0 or (points[k] - points[k - 1]).imag == 0 for k in range(4))
        if e.kind == "LWPOLYLINE" and closed and rectangle:
            frames.append(box(points))
        else:
            others.append("%s on %s" % (e.kind, LAYER))
    return frames, others


def once(frames):
    kept = []
    for f in frames:
        if not any(all(abs(a - b) <= SAME_WITHIN for a, b in zip(f, k)) for k in kept):
            kept.append(f)
    return kept


def reading_order(frames):
    rows = []
    for f in sorted(frames, key=lambda f: f[1]):
        if rows and f[1] - rows[-1][0][1] <= ROW_GAP:
            rows[-1].append(f)
        else:
            rows.append([f])
    return [f for row in rows for f in sorted(row, key=lambda f: f[0])]


def intended():
    import make_sample as m
    frames = [row[-1] for row in m.BLOCK_SHEETS if row[-1] is not None]
    for paper, scale, portrait, x0, y0, _ in m.POLYLINE_SHEETS:
        w, h = m.sheet_size(paper, scale, portrait)
        frames.append((x0, y0, x0 + w, y0 + h))
    return reading_order(frames)


def shown(f):
    return " ".join("%.6f" % v for v in f).replace(".000000", "")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "blocks.dxf")
    found, others = frames_of(path)
    frames = reading_order(once(found))
    for f in frames:
        print(shown(f))
    print("# %d frames (%d found, %d drawn twice); on %s but no frame: %s"
          % (len(frames), len(found), len(found) - len(frames), LAYER, ", ".join(others) or "nothing"))
    expected = intended()
    differ = len(expected) != len(frames) or any(
        abs(a - b) > 1e-6 for e, f in zip(expected, frames) for a, b in zip(e, f))
    if differ:
        print("# make_sample.py means these instead:", file=sys.stderr)
        for f in expected:
            print(shown(f), file=sys.stderr)
        return 1
    print("# as make_sample.py means them")
    return 0


if __name__ == "__main__":
    sys.exit(main())
