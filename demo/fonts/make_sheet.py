#!/usr/bin/env python3
"""Draws the demo's font sheet from glyphs.txt as an RGBA PNG.

    python3 demo/fonts/make_sheet.py demo/fonts/glyphs.txt SHEET.png

The sheet holds the codes 32 to 127 as 16 x 6 cells of 12 x 16 pixels
(192 x 96 in all), row by row. Each 5 x 7 glyph is drawn at twice its size
from pixel (1, 1) of its cell, with a dark shadow one pixel down and right;
everything else is transparent. Only the standard library is used.
"""
import struct
import sys
import zlib

COLUMNS, ROWS = 16, 6
CELL_W, CELL_H = 12, 16
GLYPH_W, GLYPH_H = 5, 7
SCALE = 2
INK = (255, 244, 214, 255)
SHADOW = (24, 16, 8, 255)
CLEAR = (0, 0, 0, 0)


def read_glyphs(path):
    glyphs = {}
    lines = [l.rstrip("\n") for l in open(path, encoding="ascii") if not l.startswith(";")]
    i = 0
    while i < len(lines):
        if not lines[i].strip():
            i += 1
            continue
        code = int(lines[i])
        rows = lines[i + 1:i + 1 + GLYPH_H]
        if len(rows) != GLYPH_H or any(len(r) != GLYPH_W or set(r) - set("#.") for r in rows):
            sys.exit("glyph %d: expected %d rows of %d '#' or '.'" % (code, GLYPH_H, GLYPH_W))
        glyphs[code] = rows
        i += 1 + GLYPH_H
    missing = [c for c in range(32, 128) if c not in glyphs]
    if missing:
        sys.exit("no glyph for the codes %s" % missing)
    return glyphs


def draw_sheet(glyphs):
    width, height = COLUMNS * CELL_W, ROWS * CELL_H
    ink = [[False] * width for _ in range(height)]
    for code, rows in glyphs.items():
        cell = code - 32
        left, top = (cell % COLUMNS) * CELL_W + 1, (cell // COLUMNS) * CELL_H + 1
        for gy, row in enumerate(rows):
            for gx, pixel in enumerate(row):
                if pixel == "#":
                    for dy in range(SCALE):
                        for dx in range(SCALE):
                            ink[top + gy * SCALE + dy][left + gx * SCALE + dx] = True
    pixels = []
    for y in range(height):
        row = []
        for x in range(width):
            if ink[y][x]:
                row.append(INK)
            elif y > 0 and x > 0 and ink[y - 1][x - 1]:
                row.append(SHADOW)
            else:
                row.append(CLEAR)
        pixels.append(row)
    return width, height, pixels


def png_bytes(width, height, pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_sheet.py GLYPHS.txt SHEET.png")
    width, height, pixels = draw_sheet(read_glyphs(sys.argv[1]))
    with open(sys.argv[2], "wb") as out:
        out.write(png_bytes(width, height, pixels))


if __name__ == "__main__":
    main()
