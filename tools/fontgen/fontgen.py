#!/usr/bin/python3
"""Builds the six notation font families of Tunvale from the catalogue.

    fontgen.py --out DIR [--table FILE] [--dejavu DIR]

writes DIR/<family>.ttf for every family and, with --table, the catalogue as a tab-separated table.
The families are built in parallel, one process each.
"""

import argparse
import multiprocessing
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from fontTools.fontBuilder import FontBuilder  # noqa: E402
from fontTools.pens.ttGlyphPen import TTGlyphPen  # noqa: E402

import catalogue  # noqa: E402
import metrics as m  # noqa: E402
from outlines import DEJAVU_DIR, rect  # noqa: E402
from parts import PartMaker  # noqa: E402

VERSION = "Version 1.000"
FIXED_TIME = 0x7C25B080  # a fixed creation time keeps rebuilt files identical

PROVENANCE = ("Notation signs drawn for Tunvale. The digits and Latin letters are derived from DejaVu Sans "
              "(fonts-dejavu-core), Copyright (c) 2003 by Bitstream, Inc. All Rights Reserved. Bitstream Vera "
              "is a trademark of Bitstream, Inc. DejaVu changes are in public domain.")
LICENCE = (
    "The parts derived from DejaVu Sans are used under the Bitstream Vera licence: Permission is hereby "
    "granted, free of charge, to any person obtaining a copy of the fonts accompanying this license (\"Fonts\") "
    "and associated documentation files (the \"Font Software\"), to reproduce and distribute the Font Software, "
    "including without limitation the rights to use, copy, merge, publish, distribute, and/or sell copies of "
    "the Font Software, and to permit persons to whom the Font Software is furnished to do so, subject to the "
    "following conditions: The above copyright and trademark notices and this permission notice shall be "
    "included in all copies of one or more of the Font Software typefaces. The Font Software may be modified, "
    "altered, or added to, and in particular the designs of glyphs or characters in the Fonts may be modified "
    "and additional glyphs or characters may be added to the Fonts, only if the fonts are renamed to names not "
    "containing either the words \"Bitstream\" or the word \"Vera\". This License becomes null and void to the "
    "extent applicable to Fonts or Font Software that has been modified and is distributed under the "
    "\"Bitstream Vera\" names. The Font Software may be sold as part of a larger software package but no copy "
    "of one or more of the Font Software typefaces may be sold by itself. THE FONT SOFTWARE IS PROVIDED \"AS "
    "IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO ANY WARRANTIES OF "
    "MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT OF COPYRIGHT, PATENT, TRADEMARK, OR "
    "OTHER RIGHT. IN NO EVENT SHALL BITSTREAM OR THE GNOME FOUNDATION BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER "
    "LIABILITY, INCLUDING ANY GENERAL, SPECIAL, INDIRECT, INCIDENTAL, OR CONSEQUENTIAL DAMAGES, WHETHER IN AN "
    "ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF THE USE OR INABILITY TO USE THE FONT SOFTWARE "
    "OR FROM OTHER DEALINGS IN THE FONT SOFTWARE. Except as contained in this notice, the names of Gnome, the "
    "Gnome Foundation, and Bitstream Inc., shall not be used in advertising or otherwise to promote the sale, "
    "use or other dealings in this Font Software without prior written authorization from the Gnome Foundation "
    "or Bitstream Inc., respectively. The notation signs drawn for Tunvale are under the same terms.")


def _simple_glyph(outline):
    pen = TTGlyphPen(None)
    outline.draw(pen)
    return pen.glyph()


def _composite_glyph(components, base):
    pen = TTGlyphPen(base)
    for name, dx, dy in components:
        pen.addComponent(name, (1, 0, 0, 1, dx, dy))
    return pen.glyph()


def _notdef():
    box = rect(60, 0, 440, 700)
    box.add([(110, 50, True), (390, 50, True), (390, 650, True), (110, 650, True)], hole=True)
    return box


def _set_bounds(order, glyphs):
    """Bounds of every glyph, worked out here once: a composite's box is the union of its parts' boxes,
    which is far quicker than letting the compiler resolve every composite again."""
    boxes = {}
    for name in order:
        g = glyphs[name]
        if g.isComposite():
            parts = [(boxes[c.glyphName], c.x, c.y) for c in g.components if boxes[c.glyphName]]
            box = (min(b[0] + x for b, x, _ in parts), min(b[1] + y for b, _, y in parts),
                   max(b[2] + x for b, x, _ in parts), max(b[3] + y for b, _, y in parts)) if parts else None
        elif g.numberOfContours:
            g.recalcBounds(None)
            box = (g.xMin, g.yMin, g.xMax, g.yMax)
        else:
            box = None
        boxes[name] = box
        if box:
            g.xMin, g.yMin, g.xMax, g.yMax = box


def build_family(args):
    family, out_dir, dejavu_dir = args
    maker = PartMaker(dejavu_dir)
    family_entries = list(catalogue.entries(family, maker))

    glyphs, metrics, cmap, names = {}, {}, {}, []
    for e in family_entries:
        name = "uni%04X" % e.code
        glyphs[name] = _composite_glyph(maker.components(e.parts, e.width), maker.base)
        metrics[name] = e.width
        cmap[e.code] = name
        names.append(name)
    base_names = list(maker.base)
    for name in base_names:
        glyphs[name] = _simple_glyph(maker.base[name])
        metrics[name] = 0
    glyphs[".notdef"] = _simple_glyph(_notdef())
    metrics[".notdef"] = 500
    order = [".notdef"] + base_names + names

    fb = FontBuilder(m.UNITS_PER_EM, isTTF=True)
    fb.updateHead(created=FIXED_TIME, modified=FIXED_TIME)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs, calcGlyphBounds=False)
    _set_bounds(order, glyphs)
    fb.setupHorizontalMetrics({name: (metrics[name], getattr(glyphs[name], "xMin", 0)) for name in order})
    fb.setupMaxp()
    fb.font["maxp"].recalc(fb.font)  # also sets the head box from the glyph boxes
    fb.font.recalcBBoxes = False
    fb.setupHorizontalHeader(ascent=m.ASCENT, descent=-m.DESCENT, lineGap=0)
    fb.setupOS2(
        version=4, achVendID="TNVL", usWeightClass=400, fsType=0,
        fsSelection=0x40 | 0x80,  # regular; line metrics come from the typographic values
        sTypoAscender=m.ASCENT, sTypoDescender=-m.DESCENT, sTypoLineGap=0,
        usWinAscent=m.ASCENT, usWinDescent=m.DESCENT,
        sxHeight=round(m.DIGIT_HEIGHT * 0.75), sCapHeight=m.DIGIT_HEIGHT,
        ulUnicodeRange1=1, ulUnicodeRange2=1 << (59 - 32),  # Basic Latin, CJK unified ideographs
        ulCodePageRange1=1 | (1 << 18),  # Latin 1 and simplified Chinese (GBK)
    )
    fb.setupNameTable({
        "copyright": PROVENANCE,
        "familyName": family,
        "styleName": "Regular",
        "uniqueFontIdentifier": "Tunvale: %s: 1.000" % family,
        "fullName": family,
        "version": VERSION,
        "psName": family.replace("_", "-"),
        "manufacturer": "Tunvale",
        "description": "Jianpu notation font of Tunvale. " + PROVENANCE,
        "licenseDescription": LICENCE,
        "licenseInfoURL": "https://dejavu-fonts.github.io/License.html",
    })
    fb.setupPost(keepGlyphNames=False)
    fb.font["head"].flags |= 1 << 3  # integer scaling
    path = os.path.join(out_dir, family + ".ttf")
    tmp = path + ".tmp"
    fb.save(tmp)
    os.replace(tmp, path)  # never leave a half-written font behind
    return family, family_entries


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", required=True, help="folder for the .ttf files")
    parser.add_argument("--table", help="where to write the catalogue table")
    parser.add_argument("--dejavu", default=DEJAVU_DIR, help="folder holding DejaVuSans.ttf")
    parser.add_argument("--jobs", type=int, default=min(6, os.cpu_count() or 1))
    args = parser.parse_args()

    started = time.monotonic()
    os.makedirs(args.out, exist_ok=True)
    work = [(family, args.out, args.dejavu) for family in catalogue.FAMILIES]
    if args.jobs > 1:
        with multiprocessing.Pool(args.jobs) as pool:
            results = pool.map(build_family, work)
    else:
        results = [build_family(w) for w in work]
    if args.table:
        catalogue.write_table(args.table, [e for _, family_entries in results for e in family_entries])
    count = sum(len(family_entries) for _, family_entries in results)
    print("fontgen: %d characters in %d families, %.1f s" % (count, len(results), time.monotonic() - started))


if __name__ == "__main__":
    main()
