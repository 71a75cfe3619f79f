#!/usr/bin/env python3
"""Writes sample.dxf, the drawing the CAD stand-in opens when it is given none.

Sheets of A3 (420 x 297 mm) and A1 (841 x 594 mm) drawn at their drawing scales, their
frames closed four-vertex polylines on layer MORVEL, landscape and portrait, in three
rows whose bottoms differ by a few units. Each sheet holds an inner border, a title
block and some drawing. Around them: closed four-vertex polylines on MORVEL that are
not rectangles, open polylines on MORVEL, an old-style POLYLINE frame (coordinates with
x, y, z), and rectangles on other layers.

With --frames N it writes instead a large drawing for timing: N A3 sheets at 1:50 in
rows, each a frame on MORVEL with an inner border, a title and a cross of two lines;
the bottoms of the sheets in a row differ by a few units.

Run: python3 make_sample.py [--frames N] [OUTPUT]   (default: sample.dxf beside this script)
Standard library only; the output is the same on every run.
"""

import argparse
import math
import os

A3 = (420.0, 297.0)
A1 = (841.0, 594.0)

# (paper, scale denominator, portrait, lower-left x, lower-left y, title)
SHEETS = [
    # Row 1
    (A3, 50, False, 0.0, 0.0, "1F PLAN"),
    (A1, 25, False, 24000.0, 3.0, "SITE PLAN"),
    (A3, 50, True, 48000.0, -2.0, "SECTION A"),
    # Row 2
    (A3, 100, False, 0.0, 25000.0, "KEY PLAN"),
    (A3, 50, False, 45000.0, 25004.0, "2F PLAN"),
    (A1, 25, True, 69000.0, 24997.0, "ELEVATION"),
    # Row 3: details at large scales
    (A3, 1, False, 0.0, 58000.0, "DETAIL 1"),
    (A3, 10, False, 1000.0, 58003.0, "DETAIL 2"),
    (A3, 10, True, 6000.0, 57998.0, "DETAIL 3"),
]

DIMSCALE = 50.0

LAYERS = [
    ("0", 7),
    ("MORVEL", 4),
    ("BORDER", 8),
    ("TITLE", 2),
    ("PLAN", 7),
    ("NOTES", 3),
    ("GRID", 9),
]


def number(v):
    text = repr(float(v))
    return text[:-2] if text.endswith(".0") else text


def escaped(text):
    """Text for an R2000 file: characters beyond ASCII as \\U+XXXX."""
    return "".join(c if ord(c) < 128 else "\\U+%04X" % ord(c) for c in text)


class Dxf:
    def __init__(self):
        self.lines = []
        self.low = [math.inf, math.inf]
        self.high = [-math.inf, -math.inf]

    def extend(self, x, y):
        """Widens the drawing's extents (entities lie within their frames or polylines)."""
        self.low = [min(self.low[0], x), min(self.low[1], y)]
        self.high = [max(self.high[0], x), max(self.high[1], y)]

    def group(self, code, value):
        self.lines.append(str(code).rjust(3))
        self.lines.append(value if isinstance(value, str) else number(value))

    def point(self, x, y, first=10):
        self.group(first, x)
        self.group(first + 10, y)

    def lwpolyline(self, layer, points, closed):
        for x, y in points:
            self.extend(x, y)
        self.group(0, "LWPOLYLINE")
        self.group(8, layer)
        self.group(90, str(len(points)))
        self.group(70, "1" if closed else "0")
        for x, y in points:
            self.point(x, y)

    def old_polyline(self, layer, points, closed):
        for x, y in points:
            self.extend(x, y)
        self.group(0, "POLYLINE")
        self.group(8, layer)
        self.group(66, "1")
        self.point(0, 0)
        self.group(30, 0)
        self.group(70, "1" if closed else "0")
        for x, y in points:
            self.group(0, "VERTEX")
            self.group(8, layer)
            self.point(x, y)
            self.group(30, 0)
            self.group(70, "0")
        self.group(0, "SEQEND")
        self.group(8, layer)

    def line(self, layer, a, b):
        self.group(0, "LINE")
        self.group(8, layer)
        self.point(*a)
        self.point(*b, first=11)

    def circle(self, layer, c, r):
        self.group(0, "CIRCLE")
        self.group(8, layer)
        self.point(*c)
        self.group(40, r)

    def arc(self, layer, c, r, start, end):
        self.group(0, "ARC")
        self.group(8, layer)
        self.point(*c)
        self.group(40, r)
        self.group(50, start)
        self.group(51, end)

    def text(self, layer, at, height, content, rotation=0.0):
        self.group(0, "TEXT")
        self.group(8, layer)
        self.point(*at)
        self.group(40, height)
        self.group(1, escaped(content))
        if rotation:
            self.group(50, rotation)

    def mtext(self, layer, at, height, width, content):
        self.group(0, "MTEXT")
        self.group(8, layer)
        self.point(*at)
        self.group(40, height)
        self.group(41, width)
        self.group(71, "1")
        self.group(1, escaped(content))

    def insert(self, layer, block, at, scale, rotation=0.0):
        self.group(0, "INSERT")
        self.group(8, layer)
        self.group(2, block)
        self.point(*at)
        self.group(41, scale)
        self.group(42, scale)
        self.group(50, rotation)


def rectangle(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def sheet_size(paper, scale, portrait):
    w, h = paper
    if portrait:
        w, h = h, w
    return w * scale, h * scale


def draw_sheet(d, paper, scale, portrait, x0, y0, title, number_of_sheet):
    w, h = sheet_size(paper, scale, portrait)
    mm = scale  # one paper millimetre in drawing units
    d.lwpolyline("MORVEL", rectangle(x0, y0, x0 + w, y0 + h), True)
    # Inner border, 10 mm in (20 mm on the binding side).
    bx0, by0, bx1, by1 = x0 + 20 * mm, y0 + 10 * mm, x0 + w - 10 * mm, y0 + h - 10 * mm
    d.lwpolyline("BORDER", rectangle(bx0, by0, bx1, by1), True)

    # Title block: 170 x 40 mm in the lower right corner, in cells.
    tx0, ty1 = bx1 - 170 * mm, by0 + 40 * mm
    d.lwpolyline("TITLE", rectangle(tx0, by0, bx1, ty1), True)
    d.line("TITLE", (tx0, by0 + 20 * mm), (bx1, by0 + 20 * mm))
    d.line("TITLE", (tx0 + 110 * mm, by0), (tx0 + 110 * mm, ty1))
    d.line("TITLE", (tx0 + 140 * mm, by0), (tx0 + 140 * mm, by0 + 20 * mm))
    d.text("TITLE", (tx0 + 4 * mm, by0 + 26 * mm), 6 * mm, title)
    d.text("TITLE", (tx0 + 4 * mm, by0 + 6 * mm), 4 * mm, "QUILLON SAMPLE \u56f3\u9762")
    d.text("TITLE", (tx0 + 114 * mm, by0 + 26 * mm), 5 * mm, "A%d" % (3 if paper == A3 else 1))
    d.text("TITLE", (tx0 + 114 * mm, by0 + 6 * mm), 4 * mm, "1:%d" % scale)
    d.text("TITLE", (tx0 + 144 * mm, by0 + 6 * mm), 4 * mm, "%02d" % number_of_sheet)

    # The drawing: a grid of columns, walls, a stair of lines, doors as arcs.
    ax0, ay0 = bx0 + 15 * mm, ty1 + 15 * mm
    ax1, ay1 = bx1 - 15 * mm, by1 - 15 * mm
    columns = 4
    rows = 3
    for i in range(columns + 1):
        x = ax0 + (ax1 - ax0) * i / columns
        d.line("GRID", (x, ay0), (x, ay1))
        d.circle("GRID", (x, ay1 + 6 * mm), 4 * mm)
        d.text("GRID", (x - 1.5 * mm, ay1 + 4.5 * mm), 3 * mm, chr(ord("A") + i))
    for j in range(rows + 1):
        y = ay0 + (ay1 - ay0) * j / rows
        d.line("GRID", (ax0, y), (ax1, y))
    wall = 3 * mm
    d.lwpolyline("PLAN", rectangle(ax0 + wall, ay0 + wall, ax1 - wall, ay1 - wall), True)
    for i in range(1, columns):
        x = ax0 + (ax1 - ax0) * i / columns
        d.line("PLAN", (x, ay0 + wall), (x, ay0 + (ay1 - ay0) * 0.6))
        door = 9 * mm
        d.arc("PLAN", (x, ay0 + (ay1 - ay0) * 0.6), door, 0, 90)
    steps = 8
    sx0, sy0 = ax0 + (ax1 - ax0) * 0.05, ay0 + (ay1 - ay0) * 0.7
    for k in range(steps + 1):
        d.line("PLAN", (sx0 + k * 3 * mm, sy0), (sx0 + k * 3 * mm, sy0 + 20 * mm))
    d.mtext("NOTES", (bx0 + 5 * mm, ty1 + 10 * mm), 2.5 * mm, 90 * mm,
            "NOTES:\\P1. Dimensions in millimetres.\\P2. \u6ce8\u8a18")
    d.insert("NOTES", "NORTH", (bx1 - 20 * mm, by1 - 20 * mm), mm)


def north_block(d):
    d.group(0, "BLOCK")
    d.group(8, "0")
    d.group(2, "NORTH")
    d.group(70, "0")
    d.point(0, 0)
    d.group(3, "NORTH")
    d.circle("0", (0, 0), 8)
    d.line("0", (0, -8), (0, 8))
    d.line("0", (-4, 2), (0, 8))
    d.line("0", (4, 2), (0, 8))
    d.text("0", (-2, 10), 4, "N")
    d.group(0, "ENDBLK")
    d.group(8, "0")


def odd_shapes(d):
    """What a frame query must pass over, in a column right of the sheets."""
    x = 90000.0
    w, h = 420 * 20, 297 * 20

    def at(k):
        return 10000.0 * k

    # Closed four-vertex polylines on MORVEL that are not rectangles: a sheet turned by
    # 15 degrees, and a trapezoid whose bounding box is that of an A3 sheet at 1:20.
    c, s = math.cos(math.radians(15)), math.sin(math.radians(15))
    ox = x + h * s
    d.lwpolyline("MORVEL", [(ox + px * c - py * s, at(0) + px * s + py * c) for px, py in rectangle(0, 0, w, h)], True)
    d.lwpolyline("MORVEL", [(x, at(1)), (x + w, at(1)), (x + w - 2000, at(1) + h), (x + 2000, at(1) + h)], True)
    # Open polylines on MORVEL: three sides of a sheet, and a sheet drawn with a fifth
    # point on top of the first but not closed.
    d.lwpolyline("MORVEL", [(x, at(2)), (x + w, at(2)), (x + w, at(2) + h), (x, at(2) + h)], False)
    d.lwpolyline("MORVEL", [(x, at(3)), (x + w, at(3)), (x + w, at(3) + h), (x, at(3) + h), (x, at(3))], False)
    # Closed, but five vertices.
    d.lwpolyline("MORVEL", [(x, at(4)), (x + w, at(4)), (x + w, at(4) + h), (x + w / 2, at(4) + h + 1000),
                            (x, at(4) + h)], True)
    # An old-style polyline sheet: its coordinates hold x, y, z.
    d.old_polyline("MORVEL", rectangle(x, at(5), x + w, at(5) + h), True)
    # Sheet-sized rectangles on other layers.
    d.lwpolyline("BORDER", rectangle(x, at(6), x + w, at(6) + h), True)
    d.lwpolyline("0", rectangle(x + w + 1000, at(6), x + 2 * w + 1000, at(6) + h), True)


def sample_body(body):
    for i, (paper, scale, portrait, x0, y0, title) in enumerate(SHEETS):
        draw_sheet(body, paper, scale, portrait, x0, y0, title, i + 1)
    odd_shapes(body)


def many_sheets_body(count):
    """count A3 sheets at 1:50, as square a block of rows as the count allows."""
    def body(d):
        scale = 50
        w, h = sheet_size(A3, scale, False)
        mm = scale
        columns = max(1, math.ceil(math.sqrt(count)))
        for k in range(count):
            x0 = (k % columns) * (w + 2000.0)
            y0 = (k // columns) * (h + 2000.0) + (k * 7 % 5) - 2.0
            d.lwpolyline("MORVEL", rectangle(x0, y0, x0 + w, y0 + h), True)
            bx0, by0, bx1, by1 = x0 + 20 * mm, y0 + 10 * mm, x0 + w - 10 * mm, y0 + h - 10 * mm
            d.lwpolyline("BORDER", rectangle(bx0, by0, bx1, by1), True)
            d.line("PLAN", (bx0, by0), (bx1, by1))
            d.line("PLAN", (bx0, by1), (bx1, by0))
            d.text("TITLE", (bx1 - 100 * mm, by0 + 6 * mm), 6 * mm, "SHEET %d" % (k + 1))
    return body


def build(fill=sample_body):
    body = Dxf()
    north_block(body)
    blocks = body.lines
    body = Dxf()
    fill(body)
    extmin, extmax = body.low, body.high

    d = Dxf()
    d.group(999, "Quillon sample drawing, written by sim/sample/make_sample.py")
    d.group(0, "SECTION")
    d.group(2, "HEADER")
    for name, code, value in [("$ACADVER", 1, "AC1015"), ("$DWGCODEPAGE", 3, "ANSI_1252"), ("$INSUNITS", 70, "4")]:
        d.group(9, name)
        d.group(code, value)
    d.group(9, "$EXTMIN")
    d.point(*extmin)
    d.group(30, 0)
    d.group(9, "$EXTMAX")
    d.point(*extmax)
    d.group(30, 0)
    d.group(9, "$DIMSCALE")
    d.group(40, DIMSCALE)
    d.group(0, "ENDSEC")

    d.group(0, "SECTION")
    d.group(2, "TABLES")
    d.group(0, "TABLE")
    d.group(2, "LAYER")
    d.group(70, str(len(LAYERS)))
    for name, colour in LAYERS:
        d.group(0, "LAYER")
        d.group(2, name)
        d.group(70, "0")
        d.group(62, str(colour))
        d.group(6, "CONTINUOUS")
    d.group(0, "ENDTAB")
    d.group(0, "ENDSEC")

    d.group(0, "SECTION")
    d.group(2, "BLOCKS")
    d.lines += blocks
    d.group(0, "ENDSEC")

    d.group(0, "SECTION")
    d.group(2, "ENTITIES")
    d.lines += body.lines
    d.group(0, "ENDSEC")
    d.group(0, "EOF")
    return "\n".join(d.lines) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="Writes the stand-in's sample drawing.")
    parser.add_argument("--frames", type=int, metavar="N",
                        help="write N A3 sheets in rows instead of the sample")
    parser.add_argument("output", nargs="?", default=os.path.join(here, "sample.dxf"))
    args = parser.parse_args()
    if args.frames is not None and args.frames < 1:
        parser.error("--frames needs a count of 1 or more")
    fill = sample_body if args.frames is None else many_sheets_body(args.frames)
    with open(args.output, "w", encoding="ascii", newline="\n") as f:
        f.write(build(fill))


if __name__ == "__main__":
    main()
