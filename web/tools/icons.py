#!/usr/bin/env python3
"""Writes the program's pixel-art icon (an XPM) as PNG files for the page:
each pixel repeated, no smoothing.   icons.py ICON.xpm OUTDIR"""
import re
import struct
import sys
import zlib


def read_xpm(path):
    rows = re.findall(r'"([^"]*)"', open(path, encoding="ascii").read())
    width, height, colours, _ = (int(v) for v in rows[0].split())
    palette = {}
    for entry in rows[1:1 + colours]:
        key, _, value = entry[0], entry[1:].split()[0], entry[1:].split()[1]
        palette[key] = tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
    pixels = [[palette[c] for c in row] for row in rows[1 + colours:1 + colours + height]]
    return width, pixels


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(pixels, size):
    scale = size // len(pixels)
    raw = b""
    for row in pixels:
        line = b"\0" + b"".join(bytes(p) * scale for p in row)
        raw += line * scale
    header = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def padded(pixels, border, colour):
    """The icon inside a margin of `colour`: a maskable icon keeps its
    drawing within the middle 80 %, which any mask shape leaves whole."""
    side = len(pixels) + 2 * border
    blank = [colour] * side
    middle = [[colour] * border + row + [colour] * border for row in pixels]
    return [blank] * border + middle + [blank] * border


def main():
    _, pixels = read_xpm(sys.argv[1])
    for size in (32, 192, 512):
        with open(f"{sys.argv[2]}/icone-{size}.png", "wb") as out:
            out.write(png(pixels, size))


if __name__ == "__main__":
    main()
