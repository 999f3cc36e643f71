"""The parts every glyph is composed of, and how a glyph's part list becomes TrueType components.

A part is drawn once as an unmapped base glyph (a digit, one octave dot, one underline of a given width,
a slur piece, a bar-line sign ...) and every character that uses it refers to it as a component at an
offset. 4116 notes and the grace notes thus cost a few dozen outlines, which keeps generation fast.
"""

import math
import re

import metrics as m
from outlines import Outline, arc_stroke, circle, dejavu, line, polygon, rect, ring, stroke

O = m.LINE_OVERLAP


def _name(*bits):
    text = ".".join(str(b) for b in bits)
    return re.sub(r"[^A-Za-z0-9._]", lambda g: "u%04X" % ord(g.group(0)), text)


class PartMaker:
    def __init__(self, dejavu_dir):
        self.sans = dejavu("DejaVuSans.ttf", dejavu_dir)
        self.bold = dejavu("DejaVuSans-Bold.ttf", dejavu_dir)
        self.base = {}  # base glyph name -> Outline

    # --- glyph composition -------------------------------------------------------------------------

    def components(self, parts, width):
        """(base glyph name, dx, dy) for every part of a glyph `width` units wide."""
        out = []
        for part in parts:
            out.extend(getattr(self, "part_" + part[0])(width, *part[1:]))
        return out

    def _use(self, name, build, dx=0, dy=0):
        if name not in self.base:
            self.base[name] = build()
        return (name, round(dx), round(dy))

    # --- notes of the main family --------------------------------------------------------------------

    def part_digit(self, w, n):
        return [self._use(_name("digit", n), lambda: self._digit(n, m.DIGIT_HEIGHT, self.sans), w / 2, 0)]

    def _digit(self, n, height, face):
        out = face.text(str(n), height, squeeze=m.DIGIT_X_SCALE)
        x0, _, x1, _ = out.bounds()
        return out.moved(-(x0 + x1) / 2, 0)

    def part_dots_above(self, w, count):
        y0 = m.DIGIT_HEIGHT + m.HIGH_DOT_GAP + m.DOT_RADIUS
        return [self._dot(w / 2, y0 + i * m.DOT_PITCH) for i in range(count)]

    def part_dots_below(self, w, count, lines):
        y0 = m.underline_bottom(lines) - m.LOW_DOT_GAP - m.DOT_RADIUS
        return [self._dot(w / 2, y0 - i * m.DOT_PITCH) for i in range(count)]

    def _dot(self, x, y):
        return self._use("octave_dot", lambda: circle(0, 0, m.DOT_RADIUS), x, y)

    def part_underlines(self, w, count):
        name = _name("underline", w)
        build = lambda: rect(-O, -m.UNDERLINE_THICKNESS, w + O, 0)
        return [self._use(name, build, 0, m.UNDERLINE_TOP - i * m.UNDERLINE_PITCH) for i in range(count)]

    def part_slur(self, w, piece):
        return [self._use(_name("slur", piece, w), lambda: slur_piece(piece, w))]

    def part_triplet(self, w, piece):
        return [self._use(_name("triplet", piece, w), lambda: self._triplet(piece, w))]

    def _triplet(self, piece, w):
        c, y0, y1 = w / 2, m.TRIPLET_LINE, m.TRIPLET_LINE + m.TRIPLET_THICKNESS
        tick = lambda x: rect(x - m.TRIPLET_THICKNESS / 2, m.TRIPLET_TICK, x + m.TRIPLET_THICKNESS / 2, y1)
        if piece == "first":
            return rect(c - m.TRIPLET_REACH, y0, w + O, y1).extend(tick(c - m.TRIPLET_REACH))
        if piece == "last":
            return rect(-O, y0, c + m.TRIPLET_REACH, y1).extend(tick(c + m.TRIPLET_REACH))
        if piece == "line":
            return rect(-O, y0, w + O, y1)
        numeral = self.sans.text("3", m.TRIPLET_NUMERAL_HEIGHT, c, m.TRIPLET_NUMERAL_BOTTOM, shear=0.15,
                                 anchor="centre")
        x0, _, x1, _ = numeral.bounds()
        return numeral.extend(rect(-O, y0, x0 - 22, y1)).extend(rect(x1 + 22, y0, w + O, y1))

    # --- grace notes --------------------------------------------------------------------------------

    def part_small_digit(self, w, n):
        def build():
            return self._digit(n, m.DIGIT_HEIGHT * m.GRACE_SCALE, self.bold).moved(0, m.GRACE_BASELINE)
        return [self._use(_name("small_digit", n), build, w / 2, 0)]

    def part_small_dots_above(self, w, count):
        y0 = m.GRACE_BASELINE + m.DIGIT_HEIGHT * m.GRACE_SCALE + m.GRACE_HIGH_DOT_GAP + m.GRACE_DOT_RADIUS
        return [self._small_dot(w / 2, y0 + i * m.GRACE_DOT_PITCH) for i in range(count)]

    def part_small_dots_below(self, w, count, lines):
        bottom = (m.underline_bottom(lines, m.GRACE_UNDERLINE_TOP, m.GRACE_UNDERLINE_THICKNESS,
                                     m.GRACE_UNDERLINE_PITCH) if lines else m.GRACE_BASELINE)
        y0 = bottom - m.GRACE_LOW_DOT_GAP - m.GRACE_DOT_RADIUS
        return [self._small_dot(w / 2, y0 - i * m.GRACE_DOT_PITCH) for i in range(count)]

    def _small_dot(self, x, y):
        return self._use("small_octave_dot", lambda: circle(0, 0, m.GRACE_DOT_RADIUS), x, y)

    def part_small_underlines(self, w, count):
        name = _name("small_underline", w)
        build = lambda: rect(-O, -m.GRACE_UNDERLINE_THICKNESS, w + O, 0)
        return [self._use(name, build, 0, m.GRACE_UNDERLINE_TOP - i * m.GRACE_UNDERLINE_PITCH)
                for i in range(count)]

    def part_grace_mark(self, w, kind):
        return [self._use(_name("grace_mark", kind, w), lambda: grace_mark(kind, w))]

    # --- every other sign: one base glyph each -------------------------------------------------------

    def part_sign(self, w, kind, *args):
        return [self._use(_name("sign", kind, *args, w), lambda: getattr(self, "sign_" + kind)(w, *args))]

    def sign_dot(self, w):
        return circle(w / 2, 200, 34)

    def sign_dash(self, w):
        return rect(w / 2 - 150, 202, w / 2 + 150, 238)

    def sign_rap(self, w):
        c = w / 2
        return line(c - 115, 10, c + 115, 430, 54).extend(line(c - 115, 430, c + 115, 10, 54))

    def sign_accidental(self, w, kind):
        return accidental(kind, w / 2)

    def sign_glide(self, w, form):
        return glide(form, w)

    def sign_time(self, w, top, bottom):
        c, h = w / 2, 240
        num = self.sans.text(top, h, c, 282, squeeze=m.DIGIT_X_SCALE, anchor="centre")
        den = self.sans.text(bottom, h, c, -58, squeeze=m.DIGIT_X_SCALE, anchor="centre")
        half = max(num.bounds()[2] - num.bounds()[0], den.bounds()[2] - den.bounds()[0]) / 2 + 30
        return num.extend(den).extend(rect(c - half, 220, c + half, 244))

    def sign_text(self, w, text, height, baseline, style):
        face = self.bold if style in ("bold", "bold_italic") else self.sans
        shear = 0.22 if style.endswith("italic") else 0.0
        squeeze = m.DIGIT_X_SCALE if style == "digits" else 1.0
        return face.text(text, height, w / 2, baseline, shear=shear, squeeze=squeeze, anchor="centre")

    def text_width(self, text, height, style):
        face = self.bold if style in ("bold", "bold_italic") else self.sans
        return face.text_width(text, height, m.DIGIT_X_SCALE if style == "digits" else 1.0)

    def sign_key_name(self, w, letter, register):
        out = self.sans.text(letter, m.DIGIT_HEIGHT, w / 2, 0, squeeze=m.DIGIT_X_SCALE, anchor="centre")
        if register == "low":
            out.extend(circle(w / 2, -m.LOW_DOT_GAP - m.DOT_RADIUS, m.DOT_RADIUS))
        elif register == "high":
            out.extend(circle(w / 2, m.DIGIT_HEIGHT + m.HIGH_DOT_GAP + m.DOT_RADIUS, m.DOT_RADIUS))
        return out

    def sign_header_marker(self, w):
        c, y = w / 2, 220
        return (polygon([(c - 70, y), (c, y + 70), (c + 70, y), (c, y - 70)])
                .add([(c - 36, y, True), (c, y + 36, True), (c + 36, y, True), (c, y - 36, True)], hole=True))

    def sign_voice(self, w, number):
        c = w / 2
        return ring(c, 220, 200, 24).extend(self.sans.text(str(number), 230, c, 105, anchor="centre"))

    def sign_run_marker(self, w, label):
        c = w / 2
        flag = polygon([(c - 60, 560), (c + 60, 560), (c, 460)])
        return flag.extend(self.sans.text(label, 200, c, 120, anchor="centre"))

    def sign_fermata(self, w):
        c = m.NOTE_WIDTH / 2  # drawn over the note that follows
        bow = arc_stroke(c, 745, 125, 120, 0, math.pi, lambda t: 10 + 26 * math.sin(math.pi * t))
        return bow.extend(circle(c, 772, 24))

    def sign_accent(self, w):
        c = m.NOTE_WIDTH / 2
        return stroke(lambda t: (c - 110 + 220 * (1 - abs(2 * t - 1)), 870 - 150 * t), lambda t: 28, 2)

    def sign_staccato(self, w, size):
        c = m.NOTE_WIDTH / 2
        half, top = (42, 875) if size == "half" else (20, 890)
        return polygon([(c - half, top), (c + half, top), (c, 725)])

    def sign_mordent(self, w, peaks, lower):
        c = m.NOTE_WIDTH / 2
        half = 45 * peaks
        out = wave(c - half, c + half, 790, 34, peaks, 24)
        if lower:
            out.extend(rect(c - 9, 725, c + 9, 855))
        return out

    def sign_extension(self, w):
        c = m.NOTE_WIDTH / 2
        return wave(c + 80, m.NOTE_WIDTH + O, 790, 22, 2, 16)

    def sign_trill(self, w):
        c = m.NOTE_WIDTH / 2
        return self.bold.text("tr", 165, c - 150, 735, shear=0.22)

    def sign_turn(self, w, inverted):
        c = m.NOTE_WIDTH / 2
        s = -1 if inverted else 1
        body = stroke(lambda t: (c - 105 + 210 * t, 790 + s * 50 * math.sin(2 * math.pi * t)),
                      lambda t: 12 + 22 * abs(math.sin(2 * math.pi * t)), 32)
        body.extend(circle(c - 100, 790 - s * 6, 20)).extend(circle(c + 100, 790 + s * 6, 20))
        if inverted:
            body.extend(rect(c - 8, 720, c + 8, 860))
        return body

    def sign_erhu(self, w, form):
        # Drawn at half size, then doubled: a raised sign is set small, so it fills most of the em.
        c = w / 2
        return erhu_sign(form, c).transformed(lambda x, y: (c + 2 * (x - c), 2 * y))

    def sign_segno(self, w):
        return segno(w / 2, 220, 1.0, self.sans)

    def sign_coda(self, w):
        return coda(w / 2, 220, 1.0)

    # --- bar lines, repeat signs, voltas and jump marks ---------------------------------------------

    BAR_STYLES = {
        "thin": ["thin"], "begin": ["thick", "thin", "dots"], "end": ["dots", "thin", "thick"],
        "both": ["dots", "thin", "thick", "thin", "dots"], "light_begin": ["thin", "dots"],
        "light_end": ["dots", "thin"], "light_both": ["dots", "thin", "thin", "dots"],
        "final": ["thin", "thick"], "double": ["thin", "thin"],
    }
    BAR_ELEMENT_WIDTH = {"thin": m.THIN_BAR, "thick": m.THICK_BAR, "dots": 2 * m.DOT_RADIUS}

    def sign_bar(self, w, style, top, volta, close):
        """A bar line of `style`, with an optional mark or text above, a volta opening to its right
        (`volta` is the label) and the end of a volta line coming from its left (`close`)."""
        elements = self.BAR_STYLES[style]
        gap = 24
        total = sum(self.BAR_ELEMENT_WIDTH[e] for e in elements) + gap * (len(elements) - 1)
        x = w / 2 - total / 2
        left, out = x, Outline()
        for e in elements:
            ew = self.BAR_ELEMENT_WIDTH[e]
            if e == "dots":
                out.extend(circle(x + ew / 2, 130, m.DOT_RADIUS)).extend(circle(x + ew / 2, 310, m.DOT_RADIUS))
            else:
                out.extend(rect(x, m.BAR_BOTTOM, x + ew, m.BAR_TOP))
            x += ew + gap
        right = x - gap
        band0, band1 = m.SLUR_CENTRE - m.SLUR_THICKNESS / 2, m.SLUR_CENTRE + m.SLUR_THICKNESS / 2
        if volta:
            hook = right - m.THIN_BAR / 2
            out.extend(rect(hook - 12, 700, hook + 12, band1)).extend(rect(hook, band0, w + O, band1))
            out.extend(self.sans.text(volta, 160, hook + 34, band0 - 185, squeeze=m.DIGIT_X_SCALE))
        if close:
            end = left + m.THIN_BAR / 2
            out.extend(rect(-O, band0, end, band1))
            if close == "hook":
                out.extend(rect(end - 12, 700, end + 12, band1))
        if top in ("segno", "coda"):
            mark = segno if top == "segno" else coda
            args = (self.sans,) if top == "segno" else ()
            out.extend(mark((left + right) / 2, 700, 0.62, *args))
        elif top == "flag":
            x = right - m.THIN_BAR / 2
            out.extend(rect(x - 12, m.BAR_TOP, x + 12, 720)).extend(polygon([(x, 720), (x + 110, 665), (x, 610)]))
        elif top:
            out.extend(self.sans.text(top, 140, (left + right) / 2, 600, anchor="centre"))
        return out

    def bar_width(self, style, top, volta):
        need = m.BAR_WIDTH if style == "thin" else m.BAR_WIDTH + 100
        if top and top not in ("segno", "coda", "flag"):
            need = max(need, self.sans.text_width(top, 140) + 60)
        return need


def slur_piece(piece, w):
    """Slur pieces meet at the glyph edges on one horizontal band, so a slur over any run of
    characters reads as one arc: it rises from its first note, runs level and falls onto its last."""
    c = w / 2
    y0, y1 = m.SLUR_END_HEIGHT, m.SLUR_CENTRE
    thick = lambda t: m.SLUR_END_THICKNESS + (m.SLUR_THICKNESS - m.SLUR_END_THICKNESS) * math.sin(t * math.pi / 2)
    rise = lambda xa, xb: stroke(lambda t: (xa + (xb - xa) * t, y0 + (y1 - y0) * math.sin(t * math.pi / 2)), thick)
    fall = lambda xa, xb: stroke(lambda t: (xb - (xb - xa) * t, y0 + (y1 - y0) * math.sin(t * math.pi / 2)), thick)
    band = lambda xa, xb: rect(xa, y1 - m.SLUR_THICKNESS / 2, xb, y1 + m.SLUR_THICKNESS / 2)
    if piece == "mid":
        return band(-O, w + O)
    if piece == "start":
        return rise(c - m.SLUR_END_REACH, w).extend(band(w - 1, w + O))
    if piece == "end":
        return fall(0, c + m.SLUR_END_REACH).extend(band(-O, 1))
    # An arc ends on this note and the next one starts from it.
    return fall(0, c - 12).extend(rise(c + 12, w)).extend(band(-O, 1)).extend(band(w - 1, w + O))


def wave(x0, x1, yc, amplitude, peaks, width):
    return stroke(lambda t: (x0 + (x1 - x0) * t, yc + amplitude * math.sin(2 * math.pi * peaks * t)),
                  lambda t: width * (0.55 + 0.45 * abs(math.cos(2 * math.pi * peaks * t))), 12 * peaks)


def grace_mark(kind, w):
    c, base = w / 2, m.GRACE_BASELINE
    if kind == "short":
        return line(c - 62, base + 30, c + 62, base + 200, 16)
    sign = 1 if kind == "lead" else -1
    x_from, x_to = c + sign * 62, (w + 28) if kind == "lead" else -28
    return stroke(lambda t: (x_from + (x_to - x_from) * t, base + 40 - 170 * math.sin(t * math.pi / 2)),
                  lambda t: 8 + 10 * math.sin(t * math.pi), 16)


def accidental(kind, c):
    if kind == "sharp":
        out = rect(c - 38, 190, c - 22, 480).extend(rect(c + 22, 210, c + 38, 500))
        return out.extend(line(c - 68, 290, c + 68, 320, 40)).extend(line(c - 68, 380, c + 68, 410, 40))
    if kind == "flat":
        return flat(c)
    if kind == "natural":
        out = rect(c - 38, 230, c - 22, 500).extend(rect(c + 22, 180, c + 38, 450))
        return out.extend(line(c - 30, 290, c + 30, 310, 36)).extend(line(c - 30, 380, c + 30, 400, 36))
    if kind == "double_sharp":
        out = line(c - 60, 250, c + 60, 410, 22).extend(line(c - 60, 410, c + 60, 250, 22))
        for dx, dy in ((-60, 250), (60, 250), (-60, 410), (60, 410)):
            out.extend(rect(c + dx - 22, dy - 22, c + dx + 22, dy + 22))
        return out
    return flat(c - 45).extend(flat(c + 45))  # double flat


def flat(c):
    stem = rect(c - 45, 180, c - 27, 520)
    bowl = stroke(lambda t: ((1 - t) ** 2 * (c - 36) + 2 * t * (1 - t) * (c + 85) + t * t * (c - 36),
                             (1 - t) ** 2 * 330 + 2 * t * (1 - t) * 360 + t * t * 185),
                  lambda t: 12 + 30 * math.sin(math.pi * t))
    return stem.extend(bowl)


def glide(form, w):
    c = w / 2
    if form == "rise":
        out = stroke(lambda t: ((1 - t) ** 2 * (c - 85) + 2 * t * (1 - t) * (c + 50) + t * t * (c + 80),
                                (1 - t) ** 2 * 60 + 2 * t * (1 - t) * 70 + t * t * 360), lambda t: 26)
        return out.extend(polygon([(c + 40, 340), (c + 120, 340), (c + 80, 430)]))
    if form == "fall":
        out = stroke(lambda t: ((1 - t) ** 2 * (c - 85) + 2 * t * (1 - t) * (c + 50) + t * t * (c + 80),
                                (1 - t) ** 2 * 420 + 2 * t * (1 - t) * 410 + t * t * 110), lambda t: 26)
        return out.extend(polygon([(c + 40, 130), (c + 120, 130), (c + 80, 40)]))
    if form == "breath":
        return stroke(lambda t: (c - 80 + 160 * t, 660 - 190 * (1 - abs(2 * t - 1))), lambda t: 28, 2)
    # Slides: a wavy stroke rising or falling beside the note.
    y0, y1 = (90, 400) if form == "slide_up" else (400, 90)
    return stroke(lambda t: (c - 85 + 170 * t + 18 * math.sin(4 * math.pi * t), y0 + (y1 - y0) * t),
                  lambda t: 24, 32)


def erhu_sign(form, c):
    """An erhu sign at half its size, between the baseline and the digit height, centred on `c`."""
    if form == "pull_bow":
        legs = rect(c - 110, 80, c - 80, 400).extend(rect(c + 80, 80, c + 110, 400))
        return legs.extend(rect(c - 110, 360, c + 110, 400))
    if form == "push_bow":
        return line(c - 100, 400, c, 80, 30).extend(line(c + 100, 400, c, 80, 30))
    if form == "open_string":
        return ring(c, 240, 90, 22)
    if form == "harmonic":
        return (polygon([(c - 110, 240), (c, 350), (c + 110, 240), (c, 130)])
                .add([(c - 74, 240, True), (c, 314, True), (c + 74, 240, True), (c, 166, True)], hole=True))
    if form.startswith("finger_"):
        count = int(form[-1])
        if count == 4:
            box = rect(c - 110, 80, c + 110, 110).extend(rect(c - 110, 370, c + 110, 400))
            box.extend(rect(c - 110, 80, c - 84, 400)).extend(rect(c + 84, 80, c + 110, 400))
            return box.extend(rect(c - 40, 200, c - 18, 370)).extend(line(c + 24, 370, c + 44, 160, 22))
        bars = Outline()
        for i in range(count):
            y = 240 + (i - (count - 1) / 2) * 110
            half = 100 if i == 0 else 80
            bars.extend(rect(c - half, y - 15, c + half, y + 15))
        return bars
    if form == "vibrato":
        return wave(c - 130, c + 130, 240, 60, 2, 28)
    if form in ("slide_up", "slide_down"):
        y0, y1 = (100, 360) if form == "slide_up" else (360, 100)
        out = stroke(lambda t: (c - 110 + 200 * t, y0 + (y1 - y0) * math.sin(t * math.pi / 2)), lambda t: 24)
        tip = y1 + (40 if form == "slide_up" else -40)
        return out.extend(polygon([(c + 50, y1), (c + 130, y1), (c + 90, tip)]))
    if form == "hammer":
        return rect(c - 100, 370, c + 100, 400).extend(rect(c - 15, 80, c + 15, 400))
    if form == "pizzicato":
        return rect(c - 110, 225, c + 110, 255).extend(rect(c - 15, 130, c + 15, 350))
    if form == "detached":
        return circle(c, 240, 48)
    # Ricochet: three dots in a triangle.
    return circle(c, 330, 30).extend(circle(c - 70, 150, 30)).extend(circle(c + 70, 150, 30))


def segno(cx, cy, k, sans):
    s = sans.text("S", 260 * k, cx, cy - 130 * k, shear=0.1, anchor="centre")
    s.extend(line(cx - 95 * k, cy - 120 * k, cx + 95 * k, cy + 120 * k, 22 * k))
    return s.extend(circle(cx - 75 * k, cy + 20 * k, 22 * k)).extend(circle(cx + 75 * k, cy - 20 * k, 22 * k))


def coda(cx, cy, k):
    out = ring(cx, cy, 95 * k, 24 * k)
    out.extend(rect(cx - 11 * k, cy - 150 * k, cx + 11 * k, cy + 150 * k))
    return out.extend(rect(cx - 150 * k, cy - 11 * k, cx + 150 * k, cy + 11 * k))
