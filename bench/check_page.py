#!/usr/bin/env python3
"""Checks that a tool really wrote its page: the file exists, is of the format asked for
and, for PNG, is the 794 x 1123 pixel A4 canvas every tool is asked to draw. A timing of
a command that wrote nothing, or wrote an error page, is worthless, so the benchmark stops.

Usage: check_page.py png|pdf|svg FILE
Exit status 0 when the page is sound; 1 with the reason on standard error otherwise.
"""
import os
import struct
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
PNG_SIZE = (794, 1123)


def problem(fmt, path):
    if not os.path.isfile(path):
        return "no file was written"
    with open(path, "rb") as f:
        data = f.read()
    if not data:
        return "the file is empty"
    if fmt == "png":
        if not data.startswith(PNG_SIGNATURE) or data[12:16] != b"IHDR":
            return "not a PNG file"
        size = struct.unpack(">II", data[16:24])
        if size != PNG_SIZE:
            return f"the PNG is {size[0]} x {size[1]} pixels, not {PNG_SIZE[0]} x {PNG_SIZE[1]}"
    elif fmt == "pdf":
        if not data.startswith(b"%PDF-") or b"%%EOF" not in data[-1024:]:
            return "not a complete PDF file"
    elif fmt == "svg":
        if b"<svg" not in data[:4096] or not data.rstrip().endswith(b"</svg>"):
            return "not a complete SVG file"
    else:
        return f"unknown format {fmt!r}"
    return None


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    fmt, path = sys.argv[1], sys.argv[2]
    reason = problem(fmt, path)
    if reason:
        print(f"{path}: {reason}", file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    main()
