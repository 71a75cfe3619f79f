"""ASCII DXF (R2000) writing for the sample drawings: group codes, the entities the
samples use, block definitions and the sections of a whole file.

Standard library only; numbers are written the same way on every run.
"""

import math


def number(v):
    text = repr(float(v))
    return text[:-2] if text.endswith(".0") else text


def escaped(text):
    """Text for an R2000 file: characters beyond ASCII as \\U+XXXX."""
    return "".join(c if ord(c) < 128 else "\\U+%04X" % ord(c) for c in text)


def rectangle(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


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

    def insert(self, layer, block, at, scale, rotation=0.0, scale_y=None, attributes=()):
        """A block reference; `scale` is the x scale, and the y scale too unless given.
        `attributes`: (layer, tag, value, baseline centre, height, rotation) of each value
        the reference carries, placed where it shows; they follow the insert up to a SEQEND."""
        self.group(0, "INSERT")
        self.group(8, layer)
        if attributes:
            self.group(66, "1")
        self.group(2, block)
        self.point(*at)
        self.group(41, scale)
        self.group(42, scale if scale_y is None else scale_y)
        self.group(50, rotation)
        for attribute in attributes:
            self.attribute("ATTRIB", *attribute)
        if attributes:
            self.group(0, "SEQEND")
            self.group(8, layer)

    def attribute(self, kind, layer, tag, value, centre, height, rotation=0.0, prompt=None):
        """An ATTDEF (with its prompt) or an ATTRIB: text centred on `centre`, a point of its
        baseline (horizontal justification 1, vertical 0). The first alignment point, which
        a CAD recomputes from the second for justified text, is written as the same point."""
        self.group(0, kind)
        self.group(8, layer)
        self.point(*centre)
        self.group(40, height)
        self.group(1, escaped(value))
        if prompt is not None:
            self.group(3, prompt)
        self.group(2, tag)
        self.group(70, "0")
        if rotation:
            self.group(50, rotation)
        self.group(72, "1")
        self.point(*centre, first=11)

    def begin_block(self, name, base=(0.0, 0.0), has_attributes=False):
        self.group(0, "BLOCK")
        self.group(8, "0")
        self.group(2, name)
        self.group(70, "2" if has_attributes else "0")
        self.point(*base)
        self.group(3, name)

    def end_block(self):
        self.group(0, "ENDBLK")
        self.group(8, "0")


def document(blocks, body, layers, dimscale):
    """The whole file: `blocks` and `body` are Dxf objects holding the block definitions
    and the model-space entities; the header's extents are those of `body`."""
    d = Dxf()
    d.group(999, "Quillon sample drawing, written by sim/sample/make_sample.py")
    d.group(0, "SECTION")
    d.group(2, "HEADER")
    for name, code, value in [("$ACADVER", 1, "AC1015"), ("$DWGCODEPAGE", 3, "ANSI_1252"), ("$INSUNITS", 70, "4")]:
        d.group(9, name)
        d.group(code, value)
    d.group(9, "$EXTMIN")
    d.point(*body.low)
    d.group(30, 0)
    d.group(9, "$EXTMAX")
    d.point(*body.high)
    d.group(30, 0)
    d.group(9, "$DIMSCALE")
    d.group(40, dimscale)
    d.group(0, "ENDSEC")

    d.group(0, "SECTION")
    d.group(2, "TABLES")
    d.group(0, "TABLE")
    d.group(2, "LAYER")
    d.group(70, str(len(layers)))
    for name, colour in layers:
        d.group(0, "LAYER")
        d.group(2, name)
        d.group(70, "0")
        d.group(62, str(colour))
        d.group(6, "CONTINUOUS")
    d.group(0, "ENDTAB")
    d.group(0, "ENDSEC")

    d.group(0, "SECTION")
    d.group(2, "BLOCKS")
    d.lines += blocks.lines
    d.group(0, "ENDSEC")

    d.group(0, "SECTION")
    d.group(2, "ENTITIES")
    d.lines += body.lines
    d.group(0, "ENDSEC")
    d.group(0, "EOF")
    return "\n".join(d.lines) + "\n"
