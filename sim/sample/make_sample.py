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

With --blocks it writes blocks.dxf: sheets whose frames are block references on MORVEL.
The blocks FRAME_A3 and FRAME_A1 hold a sheet at paper size in millimetres: the outline
on layer 0, the inner border, the title block, and attribute definitions TITLE, SCALE
and SHEET_NO, whose values each reference carries inside the title block. FRAME_A1 is
based on its lower right corner. SHEET_NESTED holds one FRAME_A3 reference and nothing
else. Each reference's sheet holds some drawing on other layers. The references, and
the frame each one is meant to give (minx, miny, maxx, maxy; see BLOCK_SHEETS):

  row 1  FRAME_A3 1:50 at 0 deg                       (0, 0, 21000, 14850)
         FRAME_A3 1:50 at 90 deg, portrait            (24000, 3, 38850, 21003)
           and a closed polyline on MORVEL exactly on its outline (a duplicate)
         FRAME_A1 1:25 at 0 deg                       (42000, -2, 63025, 14848)
  row 2  FRAME_A3 1:100 at 0 deg                      (0, 25000, 42000, 54700)
         FRAME_A3 mirrored (x scale -50, y scale 50)  (45000, 25003, 66000, 39853)
         FRAME_A3 1:50 at 270 deg, portrait           (69000, 24998, 83850, 45998)
  row 3  SHEET_NESTED 1:50 at 0 deg                   (0, 60000, 21000, 74850)
         FRAME_A3 1:50 at 30 deg                      no frame
         FRAME_A3 1:25 at 180 deg                     (54000, 59997, 64500, 67422)

and two sheets framed by closed polylines on MORVEL (see POLYLINE_SHEETS):

  row 1  A3 1:50                                      (66000, 4, 87000, 14854)
  row 3  A3 1:25                                      (67000, 60002, 77500, 67427)

check_blocks.py beside this script finds the frames in the written file from its
geometry alone and compares them with these tables.

With --block-frames N it writes a large drawing for timing: N references of FRAME_A3 at
1:50 on MORVEL in rows, as --frames N lays out its polylines, each with its attribute
values and a cross of two lines; no polyline on MORVEL.

Run: python3 make_sample.py [--frames N | --blocks | --block-frames N] [OUTPUT]
(default: sample.dxf, or blocks.dxf with --blocks, beside this script)
Standard library only; the output is the same on every run.
"""

import argparse
import math
import os

from dxf_writer import Dxf, document, rectangle

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

# Frame blocks of the --blocks drawing: paper, and base point in paper millimetres.
FRAME_BLOCKS = {
    "FRAME_A3": (A3, (0.0, 0.0)),
    "FRAME_A1": (A1, (841.0, 0.0)),
}
# A block holding one FRAME_A3 reference, placed so that the two base points meet.
NESTED_BLOCK = "SHEET_NESTED"
NESTED_BASE = (100.0, 50.0)

# The block references on MORVEL of the --blocks drawing:
# (block, x scale, y scale, rotation in degrees, insertion point, title,
#  the frame it gives as (minx, miny, maxx, maxy), or None where it gives none).
# A reference at 90 degrees lies left of its insertion point, at 270 below it, at 180
# left of and below it; a mirrored one (negative x scale) left of it.
BLOCK_SHEETS = [
    # Row 1
    ("FRAME_A3", 50, 50, 0, (0.0, 0.0), "1F PLAN", (0, 0, 21000, 14850)),
    ("FRAME_A3", 50, 50, 90, (38850.0, 3.0), "SECTION A", (24000, 3, 38850, 21003)),
    ("FRAME_A1", 25, 25, 0, (63025.0, -2.0), "SITE PLAN", (42000, -2, 63025, 14848)),
    # Row 2
    ("FRAME_A3", 100, 100, 0, (0.0, 25000.0), "KEY PLAN", (0, 25000, 42000, 54700)),
    ("FRAME_A3", -50, 50, 0, (66000.0, 25003.0), "2F PLAN", (45000, 25003, 66000, 39853)),
    ("FRAME_A3", 50, 50, 270, (69000.0, 45998.0), "SECTION B", (69000, 24998, 83850, 45998)),
    # Row 3
    (NESTED_BLOCK, 50, 50, 0, (0.0, 60000.0), "ROOF PLAN \u5c4b\u6839\u4f0f\u56f3", (0, 60000, 21000, 74850)),
    ("FRAME_A3", 50, 50, 30, (32000.0, 60000.0), "SKETCH", None),
    ("FRAME_A3", 25, 25, 180, (64500.0, 67422.0), "DETAIL 1", (54000, 59997, 64500, 67422)),
]
# The reference of BLOCK_SHEETS that a closed polyline on MORVEL also frames, drawn
# exactly on its outline.
DUPLICATED_SHEET = 1
# Sheets of the --blocks drawing framed by polylines, as in SHEETS.
POLYLINE_SHEETS = [
    (A3, 50, False, 66000.0, 4.0, "GARAGE"),
    (A3, 25, False, 67000.0, 60002.0, "DETAIL 2"),
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

# The fields of the title block: (name, cell in mm from the title block's lower left
# corner as x0, y0, x1, y1, text height in mm). Sheets framed by polylines write each
# as text 4 mm right of and 6 mm above the cell's corner; frame blocks write TITLE,
# SCALE and SHEET_NO as attribute definitions centred in their cells.
TITLE_FIELDS = [
    ("TITLE", (0, 20, 110, 40), 6),
    ("DRAWING", (0, 0, 110, 20), 4),
    ("PAPER", (110, 20, 170, 40), 5),
    ("SCALE", (110, 0, 140, 20), 4),
    ("SHEET_NO", (140, 0, 170, 20), 4),
]
ATTRIBUTE_FIELDS = ("TITLE", "SCALE", "SHEET_NO")


def sheet_size(paper, scale, portrait):
    w, h = paper
    if portrait:
        w, h = h, w
    return w * scale, h * scale


def field_values(paper, scale, title, number_of_sheet):
    return {"TITLE": title, "DRAWING": "QUILLON SAMPLE \u56f3\u9762", "PAPER": "A%d" % (3 if paper == A3 else 1),
            "SCALE": "1:%d" % scale, "SHEET_NO": "%02d" % number_of_sheet}


def sheet_layout(w, h, mm, x0, y0):
    """The inner border (x0, y0, x1, y1) of a sheet w x h whose lower left corner is
    (x0, y0), and the left and top of its title block; `mm` is one paper millimetre in
    drawing units."""
    # Inner border, 10 mm in (20 mm on the binding side).
    bx0, by0, bx1, by1 = x0 + 20 * mm, y0 + 10 * mm, x0 + w - 10 * mm, y0 + h - 10 * mm
    # Title block: 170 x 40 mm in the lower right corner, in cells.
    return (bx0, by0, bx1, by1), (bx1 - 170 * mm, by0 + 40 * mm)


def sheet_furniture(d, w, h, mm, x0, y0):
    """Draws the inner border and the lines of the title block; returns sheet_layout."""
    (bx0, by0, bx1, by1), (tx0, ty1) = sheet_layout(w, h, mm, x0, y0)
    d.lwpolyline("BORDER", rectangle(bx0, by0, bx1, by1), True)
    d.lwpolyline("TITLE", rectangle(tx0, by0, bx1, ty1), True)
    d.line("TITLE", (tx0, by0 + 20 * mm), (bx1, by0 + 20 * mm))
    d.line("TITLE", (tx0 + 110 * mm, by0), (tx0 + 110 * mm, ty1))
    d.line("TITLE", (tx0 + 140 * mm, by0), (tx0 + 140 * mm, by0 + 20 * mm))
    return (bx0, by0, bx1, by1), (tx0, ty1)


def drawing_area(border, title, mm):
    """Where a sheet's drawing goes: 15 mm inside the border, above the title block."""
    bx0, _, bx1, by1 = border
    return bx0 + 15 * mm, title[1] + 15 * mm, bx1 - 15 * mm, by1 - 15 * mm


def draw_plan(d, mm, ax0, ay0, ax1, ay1):
    """The drawing of a sheet in the area (ax0, ay0)-(ax1, ay1): a grid of columns,
    walls, a stair of lines, doors as arcs."""
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


def notes(d, at, mm):
    d.mtext("NOTES", at, 2.5 * mm, 90 * mm, "NOTES:\\P1. Dimensions in millimetres.\\P2. \u6ce8\u8a18")


def draw_sheet(d, paper, scale, portrait, x0, y0, title, number_of_sheet):
    w, h = sheet_size(paper, scale, portrait)
    mm = scale  # one paper millimetre in drawing units
    d.lwpolyline("MORVEL", rectangle(x0, y0, x0 + w, y0 + h), True)
    border, (tx0, ty1) = sheet_furniture(d, w, h, mm, x0, y0)
    bx0, by0, bx1, by1 = border
    values = field_values(paper, scale, title, number_of_sheet)
    for name, (cx0, cy0, _, _), height in TITLE_FIELDS:
        d.text("TITLE", (tx0 + (cx0 + 4) * mm, by0 + (cy0 + 6) * mm), height * mm, values[name])
    draw_plan(d, mm, *drawing_area(border, (tx0, ty1), mm))
    notes(d, (bx0 + 5 * mm, ty1 + 10 * mm), mm)
    d.insert("NOTES", "NORTH", (bx1 - 20 * mm, by1 - 20 * mm), mm)


def north_block(d):
    d.begin_block("NORTH")
    d.circle("0", (0, 0), 8)
    d.line("0", (0, -8), (0, 8))
    d.line("0", (-4, 2), (0, 8))
    d.line("0", (4, 2), (0, 8))
    d.text("0", (-2, 10), 4, "N")
    d.end_block()


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


def sheets_in_rows(count, w, h):
    """Lower left corners of `count` sheets w x h, in as square a block of rows as the
    count allows; the bottoms in a row differ by a few units."""
    columns = max(1, math.ceil(math.sqrt(count)))
    for k in range(count):
        yield k, (k % columns) * (w + 2000.0), (k // columns) * (h + 2000.0) + (k * 7 % 5) - 2.0


def many_sheets_body(count):
    """count A3 sheets at 1:50 in rows."""
    def body(d):
        scale = 50
        w, h = sheet_size(A3, scale, False)
        mm = scale
        for k, x0, y0 in sheets_in_rows(count, w, h):
            d.lwpolyline("MORVEL", rectangle(x0, y0, x0 + w, y0 + h), True)
            (bx0, by0, bx1, by1), _ = sheet_layout(w, h, mm, x0, y0)
            d.lwpolyline("BORDER", rectangle(bx0, by0, bx1, by1), True)
            d.line("PLAN", (bx0, by0), (bx1, by1))
            d.line("PLAN", (bx0, by1), (bx1, by0))
            d.text("TITLE", (bx1 - 100 * mm, by0 + 6 * mm), 6 * mm, "SHEET %d" % (k + 1))
    return body


# Block references.

def turn(degrees):
    """cos and sin of an angle, exact at multiples of 90 degrees."""
    if degrees % 90 == 0:
        return [(1.0, 0.0), (0.0, 1.0), (-1.0, 0.0), (0.0, -1.0)][int(degrees // 90) % 4]
    t = math.radians(degrees)
    return math.cos(t), math.sin(t)


class Placement:
    """Where a block reference puts its block's points: taken from the base point,
    scaled (a negative x scale mirrors), turned, moved to the insertion point, and then
    placed by `outer`, the reference holding this one, if any."""

    def __init__(self, at, scale_x, scale_y, rotation, base=(0.0, 0.0), outer=None):
        self.at, self.scale_x, self.scale_y, self.base, self.outer = at, scale_x, scale_y, base, outer
        # The turn of the block's x axis in the drawing (no mirror lies between them).
        self.rotation = rotation + (outer.rotation if outer else 0)
        self.cos, self.sin = turn(rotation)

    def __call__(self, p):
        x, y = (p[0] - self.base[0]) * self.scale_x, (p[1] - self.base[1]) * self.scale_y
        q = (self.at[0] + x * self.cos - y * self.sin, self.at[1] + x * self.sin + y * self.cos)
        return self.outer(q) if self.outer else q

    def length(self, v):
        """The length a vertical distance of the block takes in the drawing."""
        return math.dist(self((0.0, 0.0)), self((0.0, v)))

    def box(self, points):
        placed = [self(p) for p in points]
        return (min(x for x, _ in placed), min(y for _, y in placed),
                max(x for x, _ in placed), max(y for _, y in placed))


def attribute_cells(paper):
    """The frame block's attribute definitions: (tag, baseline centre, height)."""
    (_, by0, _, _), (tx0, _) = sheet_layout(*paper, 1, 0.0, 0.0)
    for name, (x0, y0, x1, y1), height in TITLE_FIELDS:
        if name in ATTRIBUTE_FIELDS:
            yield name, (tx0 + (x0 + x1) / 2, by0 + (y0 + y1) / 2 - height / 2), height


def frame_block(d, name):
    """A sheet at paper size: its outline on layer 0, border, title block, the paper's
    name and the attribute definitions of the values each reference gives."""
    paper, base = FRAME_BLOCKS[name]
    w, h = paper
    d.begin_block(name, base, has_attributes=True)
    d.lwpolyline("0", rectangle(0, 0, w, h), True)
    (_, by0, _, _), (tx0, _) = sheet_furniture(d, w, h, 1, 0.0, 0.0)
    values = field_values(paper, 1, "", 0)
    for field, (x0, y0, _, _), height in TITLE_FIELDS:
        if field not in ATTRIBUTE_FIELDS:
            d.text("TITLE", (tx0 + x0 + 4, by0 + y0 + 6), height, values[field])
    for tag, centre, height in attribute_cells(paper):
        d.attribute("ATTDEF", "TITLE", tag, "", centre, height, prompt=tag.replace("_", " ").capitalize())
    d.end_block()


def frame_attributes(place, paper, values):
    """The attribute values of a frame block's reference, placed by `place` upright in
    the reference's turn (a mirror leaves them readable, centred where they were)."""
    return [("TITLE", tag, values[tag], place(centre), place.length(height), place.rotation % 360)
            for tag, centre, height in attribute_cells(paper)]


def frame_paper(block):
    return FRAME_BLOCKS["FRAME_A3" if block == NESTED_BLOCK else block][0]


def block_drawing_area(paper):
    """The drawing area of a frame block's sheet, in its own millimetres."""
    return rectangle(*drawing_area(*sheet_layout(*paper, 1, 0.0, 0.0), 1))


def sheet_values(k, row):
    block, scale_x, _, _, _, title, _ = row
    return field_values(frame_paper(block), abs(scale_x), title, k + 1)


def nested_frame(outer=None):
    """Where SHEET_NESTED puts its FRAME_A3 reference (then placed by `outer`)."""
    return Placement(NESTED_BASE, 1, 1, 0, FRAME_BLOCKS["FRAME_A3"][1], outer)


def nested_block(d):
    """SHEET_NESTED: one FRAME_A3 reference with its values, as the nested row of
    BLOCK_SHEETS shows them."""
    k, row = next((k, row) for k, row in enumerate(BLOCK_SHEETS) if row[0] == NESTED_BLOCK)
    inner = nested_frame()
    d.begin_block(NESTED_BLOCK, NESTED_BASE)
    d.insert("0", "FRAME_A3", NESTED_BASE, 1, 0, attributes=frame_attributes(inner, A3, sheet_values(k, row)))
    d.end_block()


def block_sheet_contents(d, place, paper, mm):
    """The drawing on a sheet placed by `place`: a plan where the sheet is upright or
    turned by quarters, else the drawing area's outline and diagonals."""
    area = block_drawing_area(paper)
    if place.rotation % 90 == 0:
        ax0, ay0, ax1, ay1 = place.box(area)
        draw_plan(d, mm, ax0, ay0, ax1, ay1)
        notes(d, (ax0 + 5 * mm, ay0 - 3 * mm), mm)
        d.insert("NOTES", "NORTH", (ax1 - 12 * mm, ay1 - 18 * mm), mm)
    else:
        corners = [place(p) for p in area]
        d.lwpolyline("PLAN", corners, True)
        d.line("PLAN", corners[0], corners[2])
        d.line("PLAN", corners[1], corners[3])


def blocks_blocks(d):
    north_block(d)
    for name in FRAME_BLOCKS:
        frame_block(d, name)
    nested_block(d)


def blocks_body(d):
    for k, row in enumerate(BLOCK_SHEETS):
        block, scale_x, scale_y, rotation, at, _, frame = row
        nested = block == NESTED_BLOCK
        place = Placement(at, scale_x, scale_y, rotation, NESTED_BASE if nested else FRAME_BLOCKS[block][1])
        if nested:
            place = nested_frame(place)
        paper = frame_paper(block)
        for x, y in (place(p) for p in rectangle(0, 0, *paper)):
            d.extend(x, y)
        attributes = [] if nested else frame_attributes(place, paper, sheet_values(k, row))
        d.insert("MORVEL", block, at, scale_x, rotation, scale_y=scale_y, attributes=attributes)
        if k == DUPLICATED_SHEET:
            d.lwpolyline("MORVEL", rectangle(*frame), True)
        block_sheet_contents(d, place, paper, abs(scale_y))
    for k, (paper, scale, portrait, x0, y0, title) in enumerate(POLYLINE_SHEETS):
        draw_sheet(d, paper, scale, portrait, x0, y0, title, len(BLOCK_SHEETS) + k + 1)


def many_block_sheets_body(count):
    """count references of FRAME_A3 at 1:50 in rows."""
    def body(d):
        scale = 50
        w, h = sheet_size(A3, scale, False)
        for k, x0, y0 in sheets_in_rows(count, w, h):
            place = Placement((x0, y0), scale, scale, 0)
            values = field_values(A3, scale, "SHEET %d" % (k + 1), k + 1)
            d.extend(x0, y0)
            d.extend(x0 + w, y0 + h)
            d.insert("MORVEL", "FRAME_A3", (x0, y0), scale, attributes=frame_attributes(place, A3, values))
            bx0, by0, bx1, by1 = place.box(block_drawing_area(A3))
            d.line("PLAN", (bx0, by0), (bx1, by1))
            d.line("PLAN", (bx0, by1), (bx1, by0))
    return body


def many_block_sheets_blocks(d):
    north_block(d)
    frame_block(d, "FRAME_A3")


def build(fill=sample_body, blocks=north_block):
    head = Dxf()
    blocks(head)
    body = Dxf()
    fill(body)
    return document(head, body, LAYERS, DIMSCALE)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="Writes the stand-in's sample drawings.")
    kind = parser.add_mutually_exclusive_group()
    kind.add_argument("--frames", type=int, metavar="N",
                      help="write N A3 sheets in rows instead of the sample")
    kind.add_argument("--blocks", action="store_true",
                      help="write the drawing whose frames are block references (default output blocks.dxf)")
    kind.add_argument("--block-frames", type=int, metavar="N",
                      help="write N references of an A3 frame block in rows")
    parser.add_argument("output", nargs="?")
    args = parser.parse_args()
    for option, count in (("--frames", args.frames), ("--block-frames", args.block_frames)):
        if count is not None and count < 1:
            parser.error(option + " needs a count of 1 or more")
    output = args.output or os.path.join(here, "blocks.dxf" if args.blocks else "sample.dxf")
    if args.frames is not None:
        text = build(many_sheets_body(args.frames))
    elif args.blocks:
        text = build(blocks_body, blocks_blocks)
    elif args.block_frames is not None:
        text = build(many_block_sheets_body(args.block_frames), many_block_sheets_blocks)
    else:
        text = build()
    with open(output, "w", encoding="ascii", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main()
