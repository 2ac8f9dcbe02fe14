#!/usr/bin/env python3
"""Random inputs for the window's calculation, one run a line (see
runs_main.cpp): ordinary instruments, odd texts and edge values, with a
fixed seed so that every run checks the same cases.
    make_inputs.py COUNT [SEED]"""
import random
import sys

DEFAULTS = ["200", "1200", "2", "300", "1", "125", "50", "25", "5500", "6", "18", "60",
            "1", "1", "18", "1", "1"]
ODD = ["", "0", "-0", "2,5", "abc", "1e308", "1e-308", "&H1F", "&O17", " 12 ", "1.5.2",
       "-3", "1E+3", "9999999999999999", ".5", "5.", "1e", "+4", "0.1", "3.14159"]


def number(rng, default):
    """Mostly an instrument near the default one; sometimes any magnitude."""
    if rng.random() < 0.9:
        value = float(default) * 10 ** rng.uniform(-0.7, 0.7)
        return repr(round(value, rng.randint(0, 4)))
    return repr(rng.uniform(-1, 1) * 10 ** rng.randint(-30, 30))


def line(rng):
    texts = []
    for default in DEFAULTS:
        pick = rng.random()
        texts.append(default if pick < 0.5 else rng.choice(ODD) if pick < 0.52 else number(rng, default))
    detector = rng.choice(["KAF-0400", "KAF-1600", "KAF-3200", ""])
    model = rng.choice(["barlow", "fente"])
    return "\t".join(texts + [detector, model])


def main():
    count = int(sys.argv[1])
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 20261207)
    sys.stdout.write("".join(line(rng) + "\n" for _ in range(count)))


if __name__ == "__main__":
    main()
