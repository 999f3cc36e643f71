#!/usr/bin/python3
"""Builds the drum template file Drum.dat from its text source (patterns.txt).

Written separately from the program's reader on purpose: loading this output in the program's tests
is a cross-check of both.

usage: drumgen.py SOURCE OUTPUT          write OUTPUT
       drumgen.py --check SOURCE FILE    exit 1 unless FILE holds exactly what SOURCE gives
"""

import sys

RECORD_SIZE = 103
TIME_TEXTS = ["1/4", "2/4", "3/4", "4/4", "3/8", "6/8", "9/8", "12/8"]
TIME_STEPS = [4, 8, 12, 16, 6, 12, 18, 24]


class SourceError(Exception):
    pass


def time_code(text):
    """The time-signature code and step count of "2/4" or "2/4 +n"."""
    base, _, extra = text.partition("+")
    base = base.strip()
    if base not in TIME_TEXTS:
        raise SourceError(f"unknown time signature {text!r}")
    index = TIME_TEXTS.index(base)
    if not extra:
        return index, TIME_STEPS[index]
    n = int(extra)
    if not 1 <= n <= 4:
        raise SourceError(f"extra steps must be 1..4 in {text!r}")
    return 9 + index * 4 + n - 1, TIME_STEPS[index] + n


def byte(value, what):
    value = int(value)
    if not 0 <= value <= 255:
        raise SourceError(f"{what} {value} does not fit in a byte")
    return value


def record(pattern):
    rec = bytearray(RECORD_SIZE)
    name = pattern["name"].encode("gbk")
    if len(name) > 32:
        raise SourceError(f"name {pattern['name']!r} is longer than 32 bytes")
    rec[1:1 + len(name)] = name
    code, steps = time_code(pattern["time"])
    rec[51] = code
    rec[52] = byte(pattern["tempo"], "tempo")
    rec[94] = 1  # the pattern has drums
    tracks = pattern["tracks"]
    if not 1 <= len(tracks) <= 8:
        raise SourceError(f"{pattern['name']}: 1 to 8 tracks, not {len(tracks)}")
    for t, (key, volume, pan, hits) in enumerate(tracks):
        if not 35 <= key <= 81:
            raise SourceError(f"{pattern['name']}: key {key} is no General MIDI drum sound")
        if len(hits) != steps or set(hits) - set("x."):
            raise SourceError(f"{pattern['name']}: track {t + 1} needs {steps} steps of 'x' and '.'")
        rec[33] |= 0x80 >> t
        rec[34 + t] = byte(volume, "volume")
        rec[42 + t] = key - 13  # sounds are kept as drum-list indices
        rec[85 + t] = byte(pan, "pan")
        for s, c in enumerate(hits):
            if c == "x":
                rec[53 + 4 * t + s // 8] |= 0x80 >> (s % 8)
    return bytes(rec)


def parse(text):
    patterns = []
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        word, _, rest = line.partition(" ")
        rest = rest.strip()
        try:
            if word == "pattern":
                patterns.append({"name": rest, "time": None, "tempo": None, "tracks": []})
            elif not patterns:
                raise SourceError("expected a 'pattern' line first")
            elif word in ("time", "tempo"):
                patterns[-1][word] = rest
            else:
                key, volume, pan, hits = line.split()
                patterns[-1]["tracks"].append((int(key), int(volume), int(pan), hits))
        except (SourceError, ValueError) as e:
            raise SourceError(f"line {number}: {e}") from e
    for p in patterns:
        if p["time"] is None or p["tempo"] is None:
            raise SourceError(f"{p['name']}: needs a time and a tempo")
    return patterns


def build(source_path):
    with open(source_path, encoding="utf-8") as f:
        patterns = parse(f.read())
    out = bytearray(b"/Drum\x01\x00")
    for p in patterns:
        out += b"\xff" + record(p)
    out += b"/EDrum"
    return bytes(out)


def main(argv):
    try:
        if len(argv) == 4 and argv[1] == "--check":
            with open(argv[3], "rb") as f:
                if f.read() != build(argv[2]):
                    print(f"{argv[3]} is not what {argv[2]} gives; run drumgen.py", file=sys.stderr)
                    return 1
            return 0
        if len(argv) == 3:
            data = build(argv[1])
            with open(argv[2], "wb") as f:
                f.write(data)
            return 0
    except (OSError, SourceError) as e:
        print(f"drumgen: {e}", file=sys.stderr)
        return 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
