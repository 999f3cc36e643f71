"""Layout shared by the six notation families, in font units (y up, baseline 0).

Every family has the same em, ascent and descent, so lines mixing them align. The vertical stack is
fixed: a note's octave dots, duration underlines, triplet bracket and slur band sit at the same
heights in every glyph, which is what lets neighbouring characters join their lines and arcs.
"""

UNITS_PER_EM = 1000
ASCENT = 1000
DESCENT = 560  # positive distance below the baseline

# Numbered notes of the main family.
DIGIT_HEIGHT = 440
DIGIT_X_SCALE = 0.88  # the borrowed digits are a little wide for jianpu
NOTE_WIDTH = 560

DOT_RADIUS = 30
DOT_PITCH = 70
HIGH_DOT_GAP = 46  # from the digit top to the first dot's edge
LOW_DOT_GAP = 44  # from the lowest underline (or the baseline) to the first dot's edge

UNDERLINE_TOP = -36
UNDERLINE_THICKNESS = 28
UNDERLINE_PITCH = 58
LINE_OVERLAP = 6  # lines reach this far into the neighbours so no seam shows between glyphs

TRIPLET_LINE = 720  # bottom of the bracket line
TRIPLET_THICKNESS = 24
TRIPLET_TICK = 690  # lower end of the bracket's end ticks
TRIPLET_REACH = 160  # from the note centre to an end tick
TRIPLET_NUMERAL_HEIGHT = 150
TRIPLET_NUMERAL_BOTTOM = 705

SLUR_CENTRE = 900  # centre line of the slur band and of the volta line
SLUR_THICKNESS = 26
SLUR_END_HEIGHT = 600  # where a slur starts or ends, above the digit and clear of its octave dots
SLUR_END_REACH = 170  # from the note centre back to where its slur starts
SLUR_END_THICKNESS = 9

# Grace notes: small digits raised so their dots and lines stay above the baseline.
GRACE_SCALE = 0.5
GRACE_BASELINE = 340
GRACE_DOT_RADIUS = 16
GRACE_DOT_PITCH = 36
GRACE_HIGH_DOT_GAP = 26
GRACE_LOW_DOT_GAP = 22
GRACE_UNDERLINE_TOP = GRACE_BASELINE - 20
GRACE_UNDERLINE_THICKNESS = 15
GRACE_UNDERLINE_PITCH = 30

# Widths of the other signs.
SPACER_WIDTH = 180
BAR_WIDTH = 320
NARROW_BAR_WIDTH = 200
BAR_BOTTOM = -90
BAR_TOP = 530
THIN_BAR = 28
THICK_BAR = 80
DOT_SIGN_WIDTH = 280
ACCIDENTAL_WIDTH = 200
GLIDE_WIDTH = 240
ERHU_WIDTH = 640
TEXT_BASELINE = 460  # tempo terms and key changes sit just above the digits

# Grace families: advance of a note and the fraction of a full space or bar their narrow spaces take.
GRACE_FAMILIES = {
    "KORVA_Note_yy": (280, 1 / 2),
    "KORVA_Note_yy1": (260, 1 / 4),
    "KORVA_Note_yy2": (240, 1 / 3),
    "KORVA_Note_yy3": (230, 1 / 8),
}


def underline_bottom(count, top=UNDERLINE_TOP, thickness=UNDERLINE_THICKNESS, pitch=UNDERLINE_PITCH):
    """Lowest y of `count` underlines (the top of the first line when there are none)."""
    if count == 0:
        return 0
    return top - pitch * (count - 1) - thickness
