#!/usr/bin/env python3
"""Checks the names in the program's code: no function or class is named after a control's event
(ending in _Click, _Change, _Timer or _Load), and non-ASCII identifiers appear only in `using`
aliases that keep a name the issues and data use. Public component headers keep their callers' names
and are not checked. Prints every offending line and exits non-zero when there is one."""
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
CODE = ("app", "platform", "components")
EVENT_NAME = re.compile(r"\b\w+_(Click|Change|Timer|Load)\b")
NON_ASCII = re.compile(r"[^\x00-\x7f]")
# Comments, string and character literals are text, not names.
TEXT = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)


def blank_text(source):
    return TEXT.sub(lambda m: "\n" * m.group(0).count("\n"), source)


def files():
    listed = subprocess.run(["git", "ls-files", *CODE], cwd=ROOT, capture_output=True, text=True, check=True)
    for name in listed.stdout.split():
        if name.endswith((".h", ".cpp")) and "/include/" not in name:
            yield name


def main():
    faults = []
    for name in files():
        code = blank_text((ROOT / name).read_text(encoding="utf-8"))
        for number, line in enumerate(code.split("\n"), 1):
            if EVENT_NAME.search(line):
                faults.append(f"{name}:{number}: event-style name: {line.strip()}")
            if NON_ASCII.search(line) and not re.match(r"\s*using \S+ = [\w:]+;\s*$", line):
                faults.append(f"{name}:{number}: non-ASCII identifier: {line.strip()}")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
