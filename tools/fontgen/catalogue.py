"""Every character of every notation family: its code, what it means and the parts it is drawn from.

The meaning of a character is its code together with its family. `entries()` lists them all; the
generator draws each from its parts, and `write_table` writes the same list as a tab-separated table
for people and for the font tests (family, code, kind, shape, meaning, parts).

Kinds: "note", "grace", "spacer" (drawn empty unless under a slur) and "sign". Characters with the same
shape key are allowed to look alike; everything else must differ from every other character of its
family.
"""

from collections import namedtuple

import metrics as m

Entry = namedtuple("Entry", "family code kind shape meaning width parts")

MAIN = "KORVA_Note"
SYMBOL = "KORVA_Note_Symbol"
GRACE = list(m.GRACE_FAMILIES)

NOTE_FIRST = 0x4E00
BLOCK_SIZE = 294

DURATIONS = ["quarter", "eighth", "sixteenth", "32nd", "64th", "128th"]
OCTAVES = ["middle octave", "one octave down", "two octaves down", "three octaves down",
           "one octave up", "two octaves up", "three octaves up"]
BLOCKS = [
    ("plain", None, None),
    ("slur starts", "start", None),
    ("inside a slur", "mid", None),
    ("slur ends, closes a tie", "end", None),
    ("slur piece: one slur ends and the next starts", "junction", None),
    ("slur piece: one slur ends and the next starts, closes a tie", "junction", None),
    ("slur piece: one slur ends and the next starts, closes a tie", "junction", None),
    ("slur piece: one slur ends and the next starts, closes a tie", "junction", None),
    ("first note of a triplet", None, "first"),
    ("middle note of a triplet", None, "middle"),
    ("last note of a triplet", None, "last"),
    ("first triplet note under a slur", "mid", "first"),
    ("middle triplet note under a slur", "mid", "middle"),
    ("last triplet note under a slur", "mid", "last"),
]
TEMPO_TERMS = [("Grave", 40), ("Largo", 46), ("Lento", 52), ("Adagio", 56), ("Larghetto", 60),
               ("Andante", 66), ("Andantino", 69), ("Moderato", 88), ("Allegretto", 108), ("Allegro", 132),
               ("Vivo", 152), ("Vivace", 160), ("Presto", 184), ("Prestissimo", 208)]
KEYS = ["C", "#C", "D", "#D", "E", "F", "#F", "G", "#G", "A", "#A", "B"]
ACCIDENTALS = ["sharp", "flat", "double_sharp", "double_flat", "natural"]
ACCIDENTAL_GROUPS = ["", " under a slur", " inside a triplet", " inside a triplet under a slur"]
TIME_SIGNATURES = [("1", "4"), ("2", "4"), ("3", "4"), ("4", "4"), ("3", "8"), ("6", "8"), ("9", "8"), ("12", "8")]
GLIDES = [("rise", "rising glide"), ("fall", "falling glide"), ("breath", "breath mark"),
          ("slide_up", "rising slide"), ("slide_down", "falling slide")]
# Erhu bowing and fingering signs of the symbol family: letter, form, meaning. Each stands in a space of
# its own and fills most of the em, as the editor sets a raised sign small above the note that follows. The
# letters are ones that neither the compiler, the MIDI export nor the transposer read.
ERHU_SIGNS = [
    ("L", "pull_bow", "pull bow"), ("M", "push_bow", "push bow"), ("N", "open_string", "open string"),
    ("O", "harmonic", "harmonic"), ("P", "finger_1", "first finger"), ("Q", "finger_2", "second finger"),
    ("R", "finger_3", "third finger"), ("S", "finger_4", "fourth finger"), ("T", "vibrato", "vibrato"),
    ("U", "slide_up", "slide up into the note"), ("V", "slide_down", "slide down from the note"),
    ("W", "hammer", "hammered grace from a finger above"), ("X", "pizzicato", "plucked string"),
    ("Y", "detached", "detached bow stroke"), ("Z", "ricochet", "ricochet bow"),
]
DYNAMICS = ["pppp", "ppp", "pp", "p", "mp", "mf", "f", "ff", "fff", "ffff", "cresc.", "dim.", "sfz", "fp", "sfp"]


def note_fields(code):
    n = code - NOTE_FIRST
    return n // BLOCK_SIZE, (n % BLOCK_SIZE) // 42, (n % 42) // 7, n % 7 + 1


def _slur(arc):
    return [("slur", arc)] if arc else []


def _under(dur):
    return [("underlines", dur)] if dur else []


def _arc_text(arc):
    return " under a slur" if arc else ""


def main_notes():
    for code in range(NOTE_FIRST, NOTE_FIRST + 14 * BLOCK_SIZE):
        block, row, dur, degree = note_fields(code)
        text, arc, triplet = BLOCKS[block]
        parts = [("digit", degree)] + _under(dur)
        if 4 <= row:
            parts.append(("dots_above", row - 3))
        elif row:
            parts.append(("dots_below", row, dur))
        parts += _slur(arc) + ([("triplet", triplet)] if triplet else [])
        # The junction pieces of blocks 4..7 are drawn alike; the compiler tells them apart.
        shape = "junction-%d-%d-%d" % (row, dur, degree) if arc == "junction" else ""
        meaning = "note %d, %s, %s, %s" % (degree, OCTAVES[row], DURATIONS[dur], text)
        yield Entry(MAIN, code, "note", shape, meaning, m.NOTE_WIDTH, parts)


# Grace notes: block pair k = block div 2 says what the character means inside its group, block mod 2
# puts it under a slur. The kinds differ between the one-note family and the group families.
GRACE_KINDS = {
    "single": [("leading long grace note", ["lead"]), ("leading short grace note", ["lead", "short"]),
               ("trailing long grace note", ["trail"]), ("trailing short grace note", ["trail", "short"]),
               ("grace note of unused kind 4", []), ("grace note of unused kind 5", ["short"])],
    "group": [("long group member", []), ("short group member", ["short"]),
              ("second note of a leading long group", ["lead"]),
              ("second note of a leading short group", ["lead", "short"]),
              ("second note of a trailing long group", ["trail"]),
              ("second note of a trailing short group", ["trail", "short"])],
}


def grace_notes(family):
    width, _ = m.GRACE_FAMILIES[family]
    kinds = GRACE_KINDS["single" if family == "KORVA_Note_yy" else "group"]
    for code in range(NOTE_FIRST, NOTE_FIRST + 12 * BLOCK_SIZE):
        block, row, dur, degree = note_fields(code)
        text, marks = kinds[block // 2]
        parts = [("small_digit", degree)] + ([("small_underlines", dur)] if dur else [])
        if 4 <= row:
            parts.append(("small_dots_above", row - 3))
        elif row:
            parts.append(("small_dots_below", row, dur))
        parts += [("grace_mark", k) for k in marks] + _slur("mid" if block % 2 else None)
        meaning = "%s %d, %s, %s%s" % (text, degree, OCTAVES[row], DURATIONS[dur], _arc_text(block % 2))
        yield Entry(family, code, "grace", "", meaning, width, parts)


def grace_signs(family):
    note_width, fraction = m.GRACE_FAMILIES[family]
    space = round(m.NOTE_WIDTH * fraction)
    bar = max(round(m.BAR_WIDTH * fraction), m.THIN_BAR + 12)
    share = "%s of a space" % _fraction(fraction)
    yield Entry(family, 0x20, "spacer", "", "space", space, [])
    yield Entry(family, ord("("), "spacer", "", "narrow space, " + share, space, [])
    yield Entry(family, ord(")"), "spacer", "", "narrow space under a slur, " + share, space, [("slur", "mid")])
    yield Entry(family, ord("$"), "sign", "", "narrow bar line", bar, [("sign", "bar", "thin", "", "", "")])
    yield Entry(family, ord("%"), "sign", "", "narrow bar line under a slur", bar,
                [("sign", "bar", "thin", "", "", ""), ("slur", "mid")])
    for ch, label in zip("^_`a", ["1.", "1,2.", "1,2,3.", "1,2,3,4."]):
        yield Entry(family, ord(ch), "sign", "", "narrow bar line opening the volta " + label, bar,
                    [("sign", "bar", "thin", "", label, "")])


def _fraction(f):
    return {0.5: "half", 0.25: "a quarter", 1 / 3: "a third", 0.125: "an eighth"}[f]


def tempo_keys_and_fermata(family, maker):
    """Characters the editor writes into either the main or the symbol family."""
    def text_entry(code, text, meaning):
        width = round(maker.text_width(text, 200, "bold")) + 80
        return Entry(family, code, "sign", "", meaning, width, [("sign", "text", text, 200, m.TEXT_BASELINE, "bold")])

    for i, (term, bpm) in enumerate(TEMPO_TERMS):
        yield text_entry(0x5F80 + i, term, "tempo term %s, %d beats a minute" % (term, bpm))
    yield text_entry(0x5F8E, "a tempo", "back to the score's tempo")
    for i, key in enumerate(KEYS):
        yield text_entry(0x5F8F + i, "1=" + key, "key change to %s" % key)
    yield text_entry(0x5F9B, "1=orig.", "back to the score's key")
    yield Entry(family, 0x5FEB, "sign", "", "fermata over the following note", 0, [("sign", "fermata")])


def main_signs(maker):
    yield from tempo_keys_and_fermata(MAIN, maker)
    for code in range(0x6226, 0x629E):
        k = code - 0x6226
        group, dur, kind = k // 30, (k % 30) // 5, k % 5
        width = m.ACCIDENTAL_WIDTH + (60 if ACCIDENTALS[kind] == "double_flat" else 0)
        parts = [("sign", "accidental", ACCIDENTALS[kind])] + _under(dur)
        parts += _slur("mid" if group % 2 else None) + ([("triplet", "line")] if group >= 2 else [])
        meaning = "%s before a %s%s" % (ACCIDENTALS[kind].replace("_", " "), DURATIONS[dur], ACCIDENTAL_GROUPS[group])
        yield Entry(MAIN, code, "sign", "", meaning, width, parts)
    for code in range(0x629E, 0x62AA):
        k = code - 0x629E
        dur, arc = k % 6, k // 6
        yield Entry(MAIN, code, "sign", "", "unpitched beat, %s%s" % (DURATIONS[dur], _arc_text(arc)), m.NOTE_WIDTH,
                    [("sign", "rap")] + _under(dur) + _slur("mid" if arc else None))
    for code in range(0x62AA, 0x62C2):
        k = code - 0x62AA
        group, (top, bottom) = k // 8, TIME_SIGNATURES[k % 8]
        if group == 2:
            text = "%s/%s" % (top, bottom)
            width = round(maker.text_width(text, m.DIGIT_HEIGHT, "digits")) + 80
            yield Entry(MAIN, code, "sign", "", "time signature %s on the key line" % text, width,
                        [("sign", "text", text, m.DIGIT_HEIGHT, 0, "digits")])
        else:
            yield Entry(MAIN, code, "sign", "", "time signature %s/%s%s" % (top, bottom, _arc_text(group)), 400,
                        [("sign", "time", top, bottom)] + _slur("mid" if group else None))
    for code in range(0x62C2, 0x62CE):
        k = code - 0x62C2
        dur, arc = k % 6, k // 6
        yield Entry(MAIN, code, "sign", "", "augmentation dot after a %s%s" % (DURATIONS[dur], _arc_text(arc)),
                    m.DOT_SIGN_WIDTH, [("sign", "dot")] + _under(dur) + _slur("mid" if arc else None))
    for code in range(0x62CE, 0x62DA):
        k = code - 0x62CE
        dur, arc = k % 6, k // 6
        yield Entry(MAIN, code, "sign", "", "rest, %s%s" % (DURATIONS[dur], _arc_text(arc)), m.NOTE_WIDTH,
                    [("digit", 0)] + _under(dur) + _slur("mid" if arc else None))
    for code in range(0x62DA, 0x62FE):
        k = code - 0x62DA
        dur, position, arc = k % 6, (k % 18) // 6, k // 18
        piece = ["first", "middle", "last"][position]
        yield Entry(MAIN, code, "sign", "", "%s rest of a triplet, %s%s" % (piece, DURATIONS[dur], _arc_text(arc)),
                    m.NOTE_WIDTH, [("digit", 0)] + _under(dur) + _slur("mid" if arc else None) + [("triplet", piece)])
    for code in range(0x62FE, 0x633A):
        k = code - 0x62FE
        dur, (form, name), arc = (k % 30) // 5, GLIDES[k % 5], k // 30
        yield Entry(MAIN, code, "sign", "", "%s after a %s%s" % (name, DURATIONS[dur], _arc_text(arc)), m.GLIDE_WIDTH,
                    [("sign", "glide", form)] + _under(dur) + _slur("mid" if arc else None))
    for i in range(21):
        register, letter = ["low", "middle", "high"][i // 7], "CDEFGAB"[i % 7]
        width = round(maker.text_width(letter, m.DIGIT_HEIGHT, "digits")) + 60
        yield Entry(MAIN, 0x633A + i, "sign", "", "key name %s, %s register" % (letter, register), width,
                    [("sign", "key_name", letter, register)])
    key_width = round(maker.text_width("1=", m.DIGIT_HEIGHT, "digits")) + 60
    yield Entry(MAIN, 0x634F, "sign", "", "key marker 1=", key_width, [("sign", "text", "1=", m.DIGIT_HEIGHT, 0, "digits")])
    yield Entry(MAIN, 0x6350, "sign", "", "header-line marker", 200, [("sign", "header_marker")])
    yield Entry(MAIN, 0x20, "spacer", "", "space", m.SPACER_WIDTH, [])
    yield Entry(MAIN, 0x6351, "spacer", "", "spacer", m.SPACER_WIDTH, [])
    yield Entry(MAIN, 0x6354, "spacer", "", "spacer under a slur", m.SPACER_WIDTH, [("slur", "mid")])
    yield Entry(MAIN, 0x6352, "sign", "", "bar line", m.BAR_WIDTH, [("sign", "bar", "thin", "", "", "")])
    yield Entry(MAIN, 0x6355, "sign", "", "bar line under a slur", m.BAR_WIDTH,
                [("sign", "bar", "thin", "", "", ""), ("slur", "mid")])
    yield Entry(MAIN, 0x6353, "sign", "", "dash: the note goes on a quarter", m.NOTE_WIDTH, [("sign", "dash")])
    yield Entry(MAIN, 0x6356, "sign", "", "dash under a slur", m.NOTE_WIDTH, [("sign", "dash"), ("slur", "mid")])
    for code, meaning, style, top, volta, close in BAR_SIGNS:
        width = maker.bar_width(style, top, volta)
        yield Entry(MAIN, code, "sign", "", meaning, width, [("sign", "bar", style, top, volta, close)])
    yield Entry(MAIN, 0x6372, "sign", "", "coda sign", 380, [("sign", "coda")])
    for i in range(3):
        yield Entry(MAIN, 0x6374 + i, "sign", "", "voice mark %d" % (i + 1), 480, [("sign", "voice", i + 1)])
    for i, (label, family) in enumerate(zip("1234S", GRACE + [SYMBOL])):
        yield Entry(MAIN, 0x6389 + i, "sign", "", "run marker: %s follows" % family, 240, [("sign", "run_marker", label)])
    for ch, meaning, width, extra in [("$", "narrow bar line", m.NARROW_BAR_WIDTH, []),
                                      ("%", "narrow bar line under a slur", m.NARROW_BAR_WIDTH, [("slur", "mid")])]:
        yield Entry(MAIN, ord(ch), "sign", "", meaning, width, [("sign", "bar", "thin", "", "", "")] + extra)
    for ch, label in zip("^_`a", ["1.", "1,2.", "1,2,3.", "1,2,3,4."]):
        yield Entry(MAIN, ord(ch), "sign", "", "narrow bar line opening the volta " + label, m.NARROW_BAR_WIDTH,
                    [("sign", "bar", "thin", "", label, "")])


# Bar lines, repeat signs, voltas and jump marks: code, meaning, bar style, mark above, volta label, and how
# a volta line coming from the left ends ("hook" turns down, "open" just stops).
BAR_SIGNS = [
    (0x6357, "begin repeat", "begin", "", "", ""),
    (0x6358, "end repeat", "end", "", "", ""),
    (0x6359, "D.S.: repeat from the sign", "thin", "D.S.", "", ""),
    (0x635A, "D.C.: repeat from the beginning", "thin", "D.C.", "", ""),
    (0x635B, "the sign D.S. returns to", "thin", "segno", "", ""),
    (0x635C, "Fine: the end after a repeat", "thin", "Fine", "", ""),
    (0x635D, "final bar line", "final", "", "", ""),
    (0x635E, "double bar line", "double", "", "", ""),
    (0x635F, "end repeat closing a volta", "end", "", "", "hook"),
    (0x6360, "D.S. closing a volta", "thin", "D.S.", "", "hook"),
    (0x6361, "end repeat where an open volta line stops", "end", "", "", "open"),
    (0x6362, "bar line closing a volta", "thin", "", "", "hook"),
    (0x6363, "bar line opening the volta 1.", "thin", "", "1.", ""),
    (0x6364, "bar line opening the volta 1,2.", "thin", "", "1,2.", ""),
    (0x6365, "bar line opening the volta 1,2,3.", "thin", "", "1,2,3.", ""),
    (0x6366, "bar line opening the volta 1,2,3,4.", "thin", "", "1,2,3,4.", ""),
    (0x6367, "end repeat closing a volta and opening the volta 3.", "end", "", "3.", "hook"),
    (0x6368, "end repeat closing a volta and opening the volta 4.", "end", "", "4.", "hook"),
    (0x6369, "end repeat closing a volta and opening the volta 5.", "end", "", "5.", "hook"),
    (0x636A, "bar line opening the volta 1,3.", "thin", "", "1,3.", ""),
    (0x636B, "end repeat closing a volta and opening the volta 2,4.", "end", "", "2,4.", "hook"),
    (0x636C, "end repeat closing a volta and opening the volta 2,4. that ends in D.S.", "end", "D.S.", "2,4.", "hook"),
    (0x636D, "end repeat closing a volta and opening the volta 2.", "end", "", "2.", "hook"),
    (0x636E, "D.S. closing a volta and opening the volta 3.", "thin", "D.S.", "3.", "hook"),
    (0x636F, "begin repeat, light", "light_begin", "", "", ""),
    (0x6370, "end repeat, light", "light_end", "", "", ""),
    (0x6371, "end and begin repeat, light", "light_both", "", "", ""),
    (0x6373, "end and begin repeat", "both", "", "", ""),
    (0x637F, "end repeat with the coda sign", "end", "coda", "", ""),
    (0x6380, "end repeat with the sign", "end", "segno", "", ""),
] + [(0x6381 + i, "end repeat, played %d times" % (i + 3), "end", "\u00d7%d" % (i + 3), "", "") for i in range(7)] + [
    (0x638F, "segment mark: a bar line that starts a new play-order segment", "thin", "flag", "", ""),
]


def symbol_signs(maker):
    for i, mark in enumerate(DYNAMICS):
        style, height = ("italic", 190) if mark.endswith(".") else ("bold_italic", 300)
        width = round(maker.text_width(mark, height, style)) + 70
        yield Entry(SYMBOL, 42 + i, "sign", "", "dynamic mark " + mark, width,
                    [("sign", "text", mark, height, 0, style)])
    yield Entry(SYMBOL, ord("9"), "sign", "", "accent on the following note", 0, [("sign", "accent")])
    ornaments = [
        ("B", "upper mordent", ("mordent", 2, False)), ("C", "lower mordent", ("mordent", 2, True)),
        ("D", "double upper mordent", ("mordent", 3, False)), ("E", "double lower mordent", ("mordent", 3, True)),
        ("F", "ornament extension", ("extension",)), ("G", "staccato, half value", ("staccato", "half")),
        ("H", "staccato, quarter value", ("staccato", "quarter")), ("I", "trill", ("trill",)),
        ("J", "turn", ("turn", False)), ("K", "inverted turn", ("turn", True)),
    ]
    for ch, meaning, sign in ornaments:
        yield Entry(SYMBOL, ord(ch), "sign", "", meaning + " over the following note", 0, [("sign",) + sign])
    for ch, form, meaning in ERHU_SIGNS:
        yield Entry(SYMBOL, ord(ch), "sign", "", "erhu sign: " + meaning, m.ERHU_WIDTH, [("sign", "erhu", form)])
    yield Entry(SYMBOL, 0x20, "spacer", "", "space", m.SPACER_WIDTH, [])
    yield from tempo_keys_and_fermata(SYMBOL, maker)


FAMILIES = [MAIN, SYMBOL] + GRACE


def entries(family, maker):
    if family == MAIN:
        yield from main_notes()
        yield from main_signs(maker)
    elif family == SYMBOL:
        yield from symbol_signs(maker)
    else:
        yield from grace_notes(family)
        yield from grace_signs(family)


def write_table(path, all_entries):
    with open(path, "w", encoding="utf-8") as f:
        f.write("# family\tcode\tkind\tshape\tmeaning\tparts\n")
        for e in all_entries:
            parts = " ".join(":".join(str(a) for a in p if a != "") for p in e.parts)
            f.write("%s\tU+%04X\t%s\t%s\t%s\t%s\n" % (e.family, e.code, e.kind, e.shape or "-", e.meaning, parts or "-"))
