#!/usr/bin/env python3
"""Draws single-token faults at random from the design model and the
spectrum reader, one per line as FILE|ORIGINAL|MUTATED (the original line
occurs once in its file).   draw.py ROOT SEED COUNT [GLOBS]
GLOBS, comma-separated and relative to ROOT, draws from those files instead
(io/*.cpp,model/design/calibration*.cpp: the reader and the calibration).

Kinds: an arithmetic operator changed, a comparison turned, a logical
operator swapped, a number constant changed, a call's two arguments
swapped. The same seed draws the same faults."""
import glob
import random
import re
import sys

root, seed, count = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
files = sorted(glob.glob(f"{root}/model/design/*.cpp")) + [
    f"{root}/io/{name}.cpp" for name in ("spectrumfile", "spectrumtext", "fitstable", "fitsheader")]
if len(sys.argv) > 4:
    files = sorted({f for pattern in sys.argv[4].split(",") for f in glob.glob(f"{root}/{pattern}")})

ARITH = {" + ": " - ", " - ": " + ", " * ": " / ", " / ": " * "}
COMPARE = {" < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > ", " == ": " != ", " != ": " == "}
LOGIC = {" && ": " || ", " || ": " && "}
NUMBER = re.compile(r"(?<![\w.])(\d+\.?\d*(?:e[-+]?\d+)?)(?![\w.])")
PAIR = re.compile(r"\(([\w.]+), ([\w.]+)\)")


def code(line):
    """The line without its comment and string literals, or None to skip it."""
    text = line.split("//")[0]
    if text.strip().startswith(("#", "*", "namespace", "}")) or '"' in text or "'" in text:
        return None
    return text


def variants(line):
    text = code(line)
    if text is None:
        return []
    out = []
    for table in (ARITH, COMPARE, LOGIC):
        for old, new in table.items():
            for m in re.finditer(re.escape(old), text):
                out.append(line[:m.start()] + new + line[m.end():])
    for m in NUMBER.finditer(text):
        value = float(m.group(1))
        changed = "1" if value == 0 else repr(value * 2) if value != 1 else "2"
        out.append(line[:m.start()] + changed + line[m.end():])
    for m in PAIR.finditer(text):
        out.append(line[:m.start()] + f"({m.group(2)}, {m.group(1)})" + line[m.end():])
    return [v for v in out if v != line]


sites = []
for path in files:
    text = open(path, encoding="utf-8").read()
    for line in text.split("\n"):
        # Once in the file, as text: the run replaces it by its text.
        if "\t" in line or not line.strip() or text.count(line) != 1:
            continue
        for mutated in variants(line):
            sites.append((path[len(root) + 1:], line, mutated))
for file, original, mutated in random.Random(seed).sample(sites, min(count, len(sites))):
    # Tab-separated: code holds "|" (the "||" a swap makes) but never a tab.
    print(f"{file}\t{original}\t{mutated}")
