#!/usr/bin/env python3
"""Draws the program icon (a 32x32 quill-like laser beam path on dark blue)
and writes it as resources/quillon.ico: one 32-bit image with its AND mask."""
import math
import struct
import sys

SIZE = 32


def pixel(x, y):
    """BGRA of one pixel; y counts from the top."""
    cx, cy = x - 15.5, y - 15.5
    r = math.hypot(cx, cy)
    if r > 15.5:
        return (0, 0, 0, 0)  # transparent corner
    colour = (96, 32, 16, 255)  # dark blue disc
    # a green figure-eight beam path, the usual laser test pattern
    for step in range(720):
        t = step * math.pi / 360
        px = 15.5 + 11 * math.sin(t)
        py = 15.5 + 11 * math.sin(t) * math.cos(t)
        if math.hypot(x - px, y - py) < 1.3:
            colour = (64, 255, 64, 255)
            break
    if r > 14.5:
        colour = (200, 200, 200, 255)  # light rim
    return colour


def main(path):
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up, as in a DIB
        rows.append(b"".join(bytes(pixel(x, y)) for x in range(SIZE)))
    xor = b"".join(rows)
    mask_rows = []
    for y in range(SIZE - 1, -1, -1):
        bits = 0
        for x in range(SIZE):
            if pixel(x, y)[3] == 0:
                bits |= 1 << (31 - x)
        mask_rows.append(struct.pack(">I", bits))
    mask = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0,
                         0, 0)
    image = header + xor + mask
    icon_dir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(icon_dir + entry + image)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/quillon.ico")
