#!/usr/bin/python3
"""Writes the pinyin and stroke orders of the Chinese sort from the Unihan database.

Both orders cover U+4E00-U+9FA5. The stroke order runs by total strokes (kTotalStrokes, first value),
then by code point. The pinyin order runs through the syllables alphabetically; a character stands
under each of its readings (kTGHZ2013, else kXHC1983, else kMandarin, tones stripped, u-umlaut as v).
Within a syllable come the GB2312 characters (kGB0) by their kHanyuPinlu frequency for that syllable,
then the other GB2312 characters in GB2312 order, then the rest by code point. Characters without a
reading follow the last syllable. OVERRIDES below make a few well-known places hold.

usage: glyphrank_tables.py UNIHAN_DIR OUT_DIR            write pinyin_order.txt and stroke_order.txt
       glyphrank_tables.py --version UNIHAN_DIR          print the Unicode version of the Unihan files
"""

import bz2
import os
import re
import sys
import unicodedata

FIRST, LAST = 0x4E00, 0x9FA5

# Each syllable head as it is commonly listed in Chinese dictionaries of frequent characters. A head
# character gains the syllable when its chosen readings lack it.
SYLLABLE_HEADS = {
    # 呵, 嗄 and 錒 are read a as well; Unihan counts 呵 read a more often than 阿, yet 阿 comes first.
    "a": "啊阿呵吖嗄腌锕錒",
    # By frequency alone 哎 would come second.
    "ai": "爱矮挨哎碍癌艾唉哀蔼隘埃皑",
    # By frequency alone 安 would come first.
    "an": "按安暗岸俺案鞍氨胺",
    # By frequency alone 作 would come first; 凿 keeps its older reading zuo here.
    "zuo": "做作坐左座昨凿琢撮佐",
}

# 阝 is a radical form rather than a character one reads: it goes after everything else.
LAST_OF_ALL = "阝"

# Total strokes that differ from Unihan's count.
STROKE_OVERRIDES = {
    # Counted with its turning stroke split, as Chinese dictionaries of simplified characters do.
    "与": 4,
}

TONE_MARKS = {"\u0300", "\u0301", "\u0304", "\u030C"}


def read_unihan(path):
    """The fields of one bz2-compressed Unihan file: {field: {code point: value}} over our range."""
    fields = {}
    with bz2.open(path, "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            code, field, value = line.rstrip("\n").split("\t", 2)
            cp = int(code[2:], 16)
            if FIRST <= cp <= LAST:
                fields.setdefault(field, {})[cp] = value
    return fields


def unihan_version(unihan_dir):
    with bz2.open(os.path.join(unihan_dir, "Unihan_Readings.txt.bz2"), "rt", encoding="utf-8") as f:
        for line in f:
            m = re.match(r"# Unicode version: (\S+)", line)
            if m:
                return m.group(1)
            if not line.startswith("#"):
                break
    return "unknown"


def plain_syllable(reading):
    """A reading without its tone, u-umlaut written v, lower case."""
    out = []
    for ch in unicodedata.normalize("NFD", reading.lower()):
        if ch in TONE_MARKS or ch == "\u0302":
            continue
        if ch == "\u0308":
            if out and out[-1] == "u":
                out[-1] = "v"
            continue
        out.append(ch)
    return "".join(out)


def readings_of(cp, readings):
    """The syllables of a character, from the first field that has any, in the field's order."""
    for field in ("kTGHZ2013", "kXHC1983", "kMandarin"):
        value = readings.get(field, {}).get(cp)
        if not value:
            continue
        syllables = []
        for entry in value.split():
            syllable = plain_syllable(entry.split(":")[-1])
            if syllable and syllable not in syllables:
                syllables.append(syllable)
        if syllables:
            return syllables
    return []


def pinlu_frequencies(cp, readings):
    """kHanyuPinlu of a character summed per toneless syllable."""
    freq = {}
    for entry in readings.get("kHanyuPinlu", {}).get(cp, "").split():
        m = re.match(r"(.+)\((\d+)\)$", entry)
        if m:
            syllable = plain_syllable(m.group(1))
            freq[syllable] = freq.get(syllable, 0) + int(m.group(2))
    return freq


def stroke_order(irg):
    strokes = {}
    for cp in range(FIRST, LAST + 1):
        value = irg.get("kTotalStrokes", {}).get(cp)
        if value:
            strokes[cp] = int(value.split()[0])
    for ch, count in STROKE_OVERRIDES.items():
        strokes[ord(ch)] = count
    groups = {}
    for cp in sorted(strokes):
        groups.setdefault(strokes[cp], []).append(cp)
    return [(str(count), groups[count]) for count in sorted(groups)]


def pinyin_order(readings, gb0, covered):
    by_syllable = {}
    without_reading = []
    for cp in covered:
        syllables = readings_of(cp, readings)
        if not syllables:
            without_reading.append(cp)
        for syllable in syllables:
            by_syllable.setdefault(syllable, []).append(cp)
    for syllable, heads in SYLLABLE_HEADS.items():
        members = by_syllable.setdefault(syllable, [])
        for ch in heads:
            if ord(ch) not in members:
                members.append(ord(ch))
    last = ord(LAST_OF_ALL)
    for members in by_syllable.values():
        if last in members:
            members.remove(last)
    if last in without_reading:
        without_reading.remove(last)

    def key(syllable):
        heads = [ord(ch) for ch in SYLLABLE_HEADS.get(syllable, "")]

        def member_key(cp):
            if cp in heads:
                return (0, heads.index(cp), 0)
            if cp in gb0:
                frequency = pinlu_frequencies(cp, readings).get(syllable, 0)
                if frequency:
                    return (1, -frequency, int(gb0[cp]))
                return (2, int(gb0[cp]), 0)
            return (3, cp, 0)

        return member_key

    groups = [(s, sorted(by_syllable[s], key=key(s))) for s in sorted(by_syllable)]
    groups.append(("?", without_reading))
    groups.append(("~", [last]))
    return groups


def write_table(path, version, title, groups):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(f"# {title}\n")
        f.write(f"# Unihan {version}\n")
        f.write("# Written by tools/glyphrank/glyphrank_tables.py; each line: label, tab, characters.\n")
        for label, cps in groups:
            f.write(label + "\t" + "".join(chr(cp) for cp in cps) + "\n")


def main(argv):
    if len(argv) == 3 and argv[1] == "--version":
        print(unihan_version(argv[2]))
        return 0
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    unihan_dir, out_dir = argv[1], argv[2]
    version = unihan_version(unihan_dir)
    irg = read_unihan(os.path.join(unihan_dir, "Unihan_IRGSources.txt.bz2"))
    other = read_unihan(os.path.join(unihan_dir, "Unihan_OtherMappings.txt.bz2"))
    readings = read_unihan(os.path.join(unihan_dir, "Unihan_Readings.txt.bz2"))

    strokes = stroke_order(irg)
    covered = sorted(cp for _, cps in strokes for cp in cps)
    pinyin = pinyin_order(readings, other.get("kGB0", {}), covered)

    os.makedirs(out_dir, exist_ok=True)
    write_table(os.path.join(out_dir, "stroke_order.txt"), version,
                "Stroke order: total strokes, then code point", strokes)
    write_table(os.path.join(out_dir, "pinyin_order.txt"), version,
                "Pinyin order: syllables alphabetically, common characters first", pinyin)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
