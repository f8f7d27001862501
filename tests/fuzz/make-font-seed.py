#!/usr/bin/env python3
"""Writes the font fuzzer's seed: a small TrueType face with a simple glyph,
a second one, a composite of both, a format 4 character map, kerning and the
tables every TrueType face needs. Usage: make-font-seed.py OUTPUT"""
import struct
import sys


def simple_glyph(points, box):
    # One closed contour of on-curve points with word coordinates.
    data = struct.pack(">hhhhh", 1, *box)
    data += struct.pack(">H", len(points) - 1) + struct.pack(">H", 0)
    data += bytes([1] * len(points))
    previous = (0, 0)
    xs, ys = b"", b""
    for x, y in points:
        xs += struct.pack(">h", x - previous[0])
        ys += struct.pack(">h", y - previous[1])
        previous = (x, y)
    return data + xs + ys


def composite_glyph(components, box):
    data = struct.pack(">hhhhh", -1, *box)
    for index, (glyph, dx, dy) in enumerate(components):
        more = 0x20 if index + 1 < len(components) else 0
        # Word arguments that are x and y offsets.
        data += struct.pack(">HHhh", 0x0001 | 0x0002 | more, glyph, dx, dy)
    return data


def padded(data):
    return data + b"\0" * (-len(data) % 4)


glyphs = [
    b"",
    simple_glyph([(100, 0), (500, 0), (300, 700)], (100, 0, 500, 700)),
    simple_glyph([(100, 0), (500, 0), (500, 400), (100, 400)], (100, 0, 500, 400)),
    composite_glyph([(1, 0, 0), (2, 0, 300)], (100, 0, 500, 700)),
]
glyph_data = b""
offsets = []
for glyph in glyphs:
    offsets.append(len(glyph_data) // 2)
    glyph_data += padded(glyph)
offsets.append(len(glyph_data) // 2)

# 'A', 'B', 'C' to glyphs 1 to 3 by one delta segment, then the closing segment.
segments = [(0x41, 0x43, 1 - 0x41), (0xFFFF, 0xFFFF, 1)]
count = len(segments)
subtable = struct.pack(">HHHHHHH", 4, 16 + 8 * count, 0, 2 * count, 4, 1, 0)
subtable += b"".join(struct.pack(">H", end) for _, end, _ in segments) + b"\0\0"
subtable += b"".join(struct.pack(">H", start) for start, _, _ in segments)
subtable += b"".join(struct.pack(">h", delta) for _, _, delta in segments)
subtable += b"\0\0" * count
cmap = struct.pack(">HHHHI", 0, 1, 3, 1, 12) + subtable

tables = {
    b"cmap": cmap,
    b"glyf": glyph_data,
    b"head": struct.pack(">IIIIHHqqhhhhHHhhh", 0x10000, 0x10000, 0, 0x5F0F3CF5, 0, 1000, 0, 0,
                         0, -200, 600, 800, 0, 8, 2, 0, 0),
    b"hhea": struct.pack(">IhhhHhhhhhhhhhhhH", 0x10000, 800, -200, 0, 600, 0, 0, 600, 1, 0, 0, 0, 0, 0, 0, 0,
                         len(glyphs)),
    b"hmtx": b"".join(struct.pack(">Hh", 600, 100) for _ in glyphs),
    b"loca": b"".join(struct.pack(">H", offset) for offset in offsets),
    b"maxp": struct.pack(">IH", 0x5000, len(glyphs)),
}
# The kern table: version 0, one horizontal subtable of format 0 with two pairs.
tables[b"kern"] = struct.pack(">HH", 0, 1) + struct.pack(">HHH", 0, 6 + 8 + 12, 1) + \
    struct.pack(">HHHH", 2, 12, 1, 0) + struct.pack(">HHh", 1, 2, -80) + struct.pack(">HHh", 2, 1, -40)

names = sorted(tables)
header = struct.pack(">IHHHH", 0x10000, len(names), 64, 2, len(names) * 16 - 64)
offset = len(header) + 16 * len(names)
directory = b""
body = b""
for name in names:
    data = tables[name]
    directory += struct.pack(">4sIII", name, 0, offset + len(body), len(data))
    body += padded(data)
with open(sys.argv[1], "wb") as output:
    output.write(header + directory + body)
