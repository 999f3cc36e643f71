"""Outline building: contours of quadratic curves, strokes along curves, and text borrowed from DejaVu.

An `Outline` keeps its contours as point lists and fixes their direction when drawn: filled contours
clockwise and holes counter-clockwise, the TrueType convention. That way overlapping pieces always
unite under the non-zero rule, whichever way a shape was traced.
"""

import math
import os

from fontTools.pens.recordingPen import RecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont


def _area(points):
    total = 0.0
    for (x0, y0, _), (x1, y1, _) in zip(points, points[1:] + points[:1]):
        total += x0 * y1 - x1 * y0
    return total / 2


class Outline:
    def __init__(self):
        self.contours = []  # (points, is_hole); a point is (x, y, on_curve)

    def add(self, points, hole=False):
        self.contours.append((list(points), hole))
        return self

    def extend(self, other):
        self.contours.extend(other.contours)
        return self

    def transformed(self, fn):
        out = Outline()
        for points, hole in self.contours:
            out.add([(*fn(x, y), on) for x, y, on in points], hole)
        return out

    def moved(self, dx, dy):
        return self.transformed(lambda x, y: (x + dx, y + dy))

    def bounds(self):
        xs = [p[0] for c, _ in self.contours for p in c]
        ys = [p[1] for c, _ in self.contours for p in c]
        return min(xs), min(ys), max(xs), max(ys)

    def draw(self, pen):
        for points, hole in self.contours:
            points = [(round(x), round(y), on) for x, y, on in points]
            clockwise = _area(points) < 0
            if clockwise == hole:
                points.reverse()
            _draw_contour(pen, points)


def _draw_contour(pen, points):
    start = next((i for i, p in enumerate(points) if p[2]), None)
    if start is None:
        pen.qCurveTo(*[(x, y) for x, y, _ in points], None)
        pen.closePath()
        return
    points = points[start:] + points[:start]
    pen.moveTo(points[0][:2])
    pending = []
    for x, y, on in points[1:] + [points[0]]:
        if not on:
            pending.append((x, y))
        elif pending:
            pen.qCurveTo(*pending, (x, y))
            pending = []
        else:
            pen.lineTo((x, y))
    pen.closePath()


def rect(x0, y0, x1, y1):
    return Outline().add([(x0, y0, True), (x1, y0, True), (x1, y1, True), (x0, y1, True)])


def polygon(points):
    return Outline().add([(x, y, True) for x, y in points])


def circle(cx, cy, r, hole=False):
    # Eight off-curve points on a circumscribed octagon: the implied on-curve midpoints lie on the circle.
    k = r / math.cos(math.pi / 8)
    pts = [(cx + k * math.cos(math.pi / 8 + i * math.pi / 4), cy + k * math.sin(math.pi / 8 + i * math.pi / 4), False)
           for i in range(8)]
    return Outline().add(pts, hole)


def ring(cx, cy, r, thickness):
    return circle(cx, cy, r).extend(circle(cx, cy, r - thickness, hole=True))


def stroke(centre, width, steps=24):
    """A stroke along `centre(t)` for t in [0, 1], `width(t)` wide, with square ends.

    The sampled edges become off-curve points, so the edges come out as smooth quadratic splines."""
    left, right = [], []
    for i in range(steps + 1):
        t = i / steps
        x, y = centre(t)
        ta, tb = max(0.0, t - 1e-3), min(1.0, t + 1e-3)
        (xa, ya), (xb, yb) = centre(ta), centre(tb)
        dx, dy = xb - xa, yb - ya
        n = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / n, dx / n
        h = width(t) / 2
        left.append((x + nx * h, y + ny * h))
        right.append((x - nx * h, y - ny * h))
    pts = [(*left[0], True)] + [(*p, False) for p in left[1:-1]] + [(*left[-1], True)]
    pts += [(*right[-1], True)] + [(*p, False) for p in reversed(right[1:-1])] + [(*right[0], True)]
    return Outline().add(pts)


def line(x0, y0, x1, y1, width):
    return stroke(lambda t: (x0 + (x1 - x0) * t, y0 + (y1 - y0) * t), lambda t: width, steps=1)


def arc_stroke(cx, cy, rx, ry, a0, a1, width):
    """A stroke along an elliptical arc from angle a0 to a1 (radians); `width` may be a function of t."""
    w = width if callable(width) else (lambda t: width)
    return stroke(lambda t: (cx + rx * math.cos(a0 + (a1 - a0) * t), cy + ry * math.sin(a0 + (a1 - a0) * t)), w)


class Borrowed:
    """Digits and letters taken from a DejaVu face, scaled into our units."""

    def __init__(self, path):
        self.font = TTFont(path)
        self.glyphs = self.font.getGlyphSet()
        self.cmap = self.font.getBestCmap()
        self.upm = self.font["head"].unitsPerEm
        self.cap_height = self.font["glyf"][self.cmap[ord("H")]].yMax

    def advance(self, ch):
        return self.font["hmtx"][self.cmap[ord(ch)]][0]

    def char(self, ch, scale_x, scale_y, dx=0.0, dy=0.0, shear=0.0):
        rec = RecordingPen()
        self.glyphs[self.cmap[ord(ch)]].draw(TransformPen(rec, (scale_x, 0, shear * scale_y, scale_y, dx, dy)))
        return _outline_from_recording(rec)

    def text(self, s, height, x=0.0, y=0.0, shear=0.0, squeeze=1.0, anchor="left"):
        """`s` set with its cap height `height`, starting at x (or centred on x), baseline y."""
        scale = height / self.cap_height
        width = sum(self.advance(c) for c in s) * scale * squeeze
        pen_x = x - width / 2 if anchor == "centre" else x - width if anchor == "right" else x
        out = Outline()
        for c in s:
            if c != " ":
                out.extend(self.char(c, scale * squeeze, scale, pen_x, y, shear))
            pen_x += self.advance(c) * scale * squeeze
        return out

    def text_width(self, s, height, squeeze=1.0):
        return sum(self.advance(c) for c in s) * height / self.cap_height * squeeze


def _outline_from_recording(rec):
    out = Outline()
    current = []
    for op, args in rec.value:
        if op == "moveTo":
            current = [(*args[0], True)]
        elif op == "lineTo":
            current.append((*args[0], True))
        elif op == "qCurveTo":
            *offs, last = args
            current.extend((*p, False) for p in offs)
            if last is not None:
                current.append((*last, True))
        elif op in ("closePath", "endPath"):
            if len(current) > 1 and current[-1][:2] == current[0][:2] and current[-1][2]:
                current.pop()
            # Borrowed contours keep their own direction: record holes by the source's winding.
            out.contours.append((current, _area(current) > 0))
            current = []
    return out


DEJAVU_DIR = "/usr/share/fonts/truetype/dejavu"


def dejavu(face, directory=DEJAVU_DIR):
    return Borrowed(os.path.join(directory, face))
