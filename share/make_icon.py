#!/usr/bin/env python3
"""Draws ridivave's 48x48 icons as PNG files, with the standard library only.

    make_icon.py default  defaulticon.png    the tool's default icon
    make_icon.py pebble   pebblejump-icon.png the example port's icon
"""
import struct
import sys
import zlib

SIZE = 48


def png(pixels):
    def chunk(kind, data):
        body = kind + data
        return (struct.pack(">I", len(data)) + body +
                struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))

    raw = b"".join(b"\0" + bytes(c for px in row for c in px)
                   for row in pixels)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def inside_round_box(x, y, margin, radius):
    lo, hi = margin, SIZE - 1 - margin
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return lo <= x <= hi and lo <= y <= hi and \
        (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def default_icon(x, y):
    """A blue rounded box holding a white parcel: a module to be packed."""
    if not inside_round_box(x, y, 2, 8):
        return (0, 0, 0, 0)
    parcel = 13 <= x <= 34 and 15 <= y <= 34
    lid = 11 <= x <= 36 and 12 <= y <= 17
    if lid or parcel:
        if 22 <= x <= 25:
            return (250, 190, 60, 255)     # the ribbon
        return (250, 250, 245, 255)
    return (40, 96, 170, 255)


def pebble_icon(x, y):
    """Three grey pebbles on a green pond."""
    if (x - 23.5) ** 2 + (y - 23.5) ** 2 > 23 ** 2:
        return (0, 0, 0, 0)
    for cx, cy, r in ((14, 30, 6), (25, 20, 5), (35, 29, 6)):
        if (x - cx) ** 2 + ((y - cy) * 1.4) ** 2 <= r ** 2:
            return (170, 170, 165, 255)
    return (60, 150, 110, 255)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("default", "pebble"):
        sys.exit(__doc__)
    draw = default_icon if sys.argv[1] == "default" else pebble_icon
    pixels = [[draw(x, y) for x in range(SIZE)] for y in range(SIZE)]
    with open(sys.argv[2], "wb") as out:
        out.write(png(pixels))


if __name__ == "__main__":
    main()
