#!/usr/bin/env python3
"""Writes src/resources/fonts/QuorrelSymbols.ttf: a one-glyph TrueType font whose
character U+00FC is a check mark. The editor shows text in "Wingdings" through
it, so that the tick documents hold (byte FC in Wingdings) looks like one on a
system without that font. No other font's outlines are used: the mark is a
plain polygon drawn here."""
import os
import struct

UNITS = 1000
ASCENT, DESCENT = 800, 200
ADVANCE = 1000
# The check mark, clockwise, on-curve points only.
CHECK = [(90, 360), (370, 60), (910, 640), (810, 730), (370, 250), (190, 450)]
FAMILY = "Quorrel Symbols"


def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


def glyph():
    xs = [p[0] for p in CHECK]
    ys = [p[1] for p in CHECK]
    out = struct.pack(">hhhhh", 1, min(xs), min(ys), max(xs), max(ys))
    out += struct.pack(">HH", len(CHECK) - 1, 0)
    out += bytes([0x01] * len(CHECK))
    px = py = 0
    dx, dy = b"", b""
    for x, y in CHECK:
        dx += struct.pack(">h", x - px)
        dy += struct.pack(">h", y - py)
        px, py = x, y
    out += dx + dy
    return out + b"\0" * (-len(out) % 4), (min(xs), min(ys), max(xs), max(ys))


def name_table():
    names = {1: FAMILY, 2: "Regular", 3: FAMILY + " Regular", 4: FAMILY, 6: "QuorrelSymbols"}
    records, strings = b"", b""
    for name_id, text in names.items():
        data = text.encode("utf-16-be")
        records += struct.pack(">HHHHHH", 3, 1, 0x409, name_id, len(data), len(strings))
        strings += data
    return struct.pack(">HHH", 0, len(names), 6 + len(records)) + records + strings


def cmap_table():
    seg = [(0xFC, 0xFC, (1 - 0xFC) & 0xFFFF), (0xFFFF, 0xFFFF, 1)]
    count = len(seg)
    sub = struct.pack(">HHHHHHH", 4, 16 + 8 * count, 0, 2 * count, 4, 1, 0)
    sub += b"".join(struct.pack(">H", s[1]) for s in seg) + b"\0\0"
    sub += b"".join(struct.pack(">H", s[0]) for s in seg)
    sub += b"".join(struct.pack(">H", s[2]) for s in seg)
    sub += b"\0\0" * count
    return struct.pack(">HHHHI", 0, 1, 3, 1, 12) + sub


def font():
    check, (x0, y0, x1, y1) = glyph()
    tables = {}
    tables[b"head"] = struct.pack(
        ">IIIIHHqqhhhhHHhhh", 0x00010000, 0x00010000, 0, 0x5F0F3CF5, 0x000B, UNITS, 0, 0,
        x0, y0, x1, y1, 0, 8, 2, 0, 0)
    tables[b"hhea"] = struct.pack(
        ">IhhhHhhhhhhhhhhhH", 0x00010000, ASCENT, -DESCENT, 0, ADVANCE, 0, ADVANCE - x1, x1,
        1, 0, 0, 0, 0, 0, 0, 0, 2)
    tables[b"maxp"] = struct.pack(">IHHHHHHHHHHHHHH", 0x00010000, 2, len(CHECK), 1, 0, 0, 2,
                                  0, 0, 0, 0, 0, 0, 0, 0)
    tables[b"hmtx"] = struct.pack(">HhHh", ADVANCE, 0, ADVANCE, x0)
    tables[b"loca"] = struct.pack(">HHH", 0, 0, len(check) // 2)
    tables[b"glyf"] = check
    tables[b"cmap"] = cmap_table()
    tables[b"name"] = name_table()
    tables[b"post"] = struct.pack(">IIhhIIIII", 0x00030000, 0, -100, 50, 0, 0, 0, 0, 0)
    tables[b"OS/2"] = struct.pack(
        ">HhHHH" + "h" * 11 + "10sIIII4sHHHhhhHHIIhhHHH", 4, ADVANCE, 400, 5, 0, 650, 600, 0, 75,
        650, 600, 0, 350, 50, 300, 0, b"\0" * 10, 0, 0, 0, 0, b"NONE", 0x40, 0xFC, 0xFC,
        ASCENT, -DESCENT, 0, ASCENT, DESCENT, 1, 0, 500, 700, 0, 32, 0)
    tags = sorted(tables)
    count = len(tags)
    power = 1
    while power * 2 <= count:
        power *= 2
    entry = power.bit_length() - 1
    header = struct.pack(">IHHHH", 0x00010000, count, power * 16, entry, count * 16 - power * 16)
    offset = 12 + 16 * count
    directory, body = b"", b""
    for tag in tags:
        data = tables[tag]
        directory += struct.pack(">4sIII", tag, checksum(data), offset + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    whole = header + directory + body
    adjust = (0xB1B0AFBA - checksum(whole)) & 0xFFFFFFFF
    head_at = offset + body.index(tables[b"head"])
    return whole[:head_at + 8] + struct.pack(">I", adjust) + whole[head_at + 12:]


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "..", "src", "resources", "fonts", "QuorrelSymbols.ttf")
    with open(path, "wb") as out:
        out.write(font())
