#!/usr/bin/env python3
"""Writes one benchmark data set: BLOCKS curves of POINTS points each, a noisy sine
y = sin(2 pi x / 25) + N(0, 0.15) with x evenly spaced over 0..100.

The same numbers go into three files, one per reader, so that every tool parses the
same values in its own plain format:
  DIR/sine-BxP.nikra.dat    Graph Data: a count line, then "x, y" lines, per block
  DIR/sine-BxP.gnuplot.dat  "x y" lines, a blank line between blocks
  DIR/sine-BxP.grace.dat    "x y" lines, a "&" line after each block (one set each)

The generator is seeded, so a data set is the same on every machine. Files that already
exist are left alone; each file is written under a temporary name and renamed, so an
interrupted run never leaves a partial file behind.

Usage: gen_data.py DIR BLOCKS POINTS
"""
import math
import os
import random
import sys

SEED = 20240601
NOISE = 0.15
PERIOD = 25.0
X_MAX = 100.0


def block_lines(rng, points):
    """The "x" and "y" texts of one block, formatted once for all three files."""
    step = X_MAX / (points - 1) if points > 1 else 0.0
    for i in range(points):
        x = i * step
        y = math.sin(2 * math.pi * x / PERIOD) + rng.gauss(0.0, NOISE)
        yield f"{x:.6f}", f"{y:.6f}"


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    out_dir, blocks, points = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    if blocks < 1 or points < 1:
        sys.exit("gen_data.py: BLOCKS and POINTS must be at least 1")
    stem = os.path.join(out_dir, f"sine-{blocks}x{points}")
    paths = {kind: f"{stem}.{kind}.dat" for kind in ("nikra", "gnuplot", "grace")}
    if all(os.path.isfile(p) for p in paths.values()):
        return
    os.makedirs(out_dir, exist_ok=True)

    rng = random.Random(SEED)
    files = {kind: open(p + ".part", "w", encoding="ascii", newline="\n") for kind, p in paths.items()}
    with files["nikra"] as nikra, files["gnuplot"] as gnuplot, files["grace"] as grace:
        for b in range(blocks):
            nikra.write(f"{points}\n")
            if b > 0:
                gnuplot.write("\n")
            for x, y in block_lines(rng, points):
                nikra.write(f"{x}, {y}\n")
                gnuplot.write(f"{x} {y}\n")
                grace.write(f"{x} {y}\n")
            grace.write("&\n")
    for p in paths.values():
        os.replace(p + ".part", p)


if __name__ == "__main__":
    main()
