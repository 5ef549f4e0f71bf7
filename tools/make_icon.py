#!/usr/bin/env python3
"""Draws the program icon: a 128 x 128, 32-bit ICO of a blue tile with a ten-digit strip and a
green check mark. Run it to regenerate resources/sipo.ico; the ICO is committed."""
import math
import struct
import sys

SIZE = 128


def inside_rounded(x, y, r=22):
    cx = min(max(x, r), SIZE - 1 - r)
    cy = min(max(y, r), SIZE - 1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def near_segment(px, py, ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy)) <= width


def pixel(x, y):
    if not inside_rounded(x, y):
        return (0, 0, 0, 0)
    if near_segment(x, y, 34, 70, 56, 94, 9) or near_segment(x, y, 56, 94, 98, 38, 9):
        return (0x20, 0xB0, 0x30, 255)
    if 16 <= y <= 30 and 14 <= x <= 113 and (x - 14) % 10 < 8:  # the ten digit cells
        return (255, 255, 255, 255)
    shade = int(40 + 60 * y / SIZE)
    return (shade, shade + 50, 200, 255)


def ico_bytes():
    rows = []
    for y in reversed(range(SIZE)):  # bottom-up DIB
        rows.append(b"".join(struct.pack("BBBB", b, g, r, a)
                             for (r, g, b, a) in (pixel(x, y) for x in range(SIZE))))
    xor = b"".join(rows)
    and_mask = bytes(SIZE * SIZE // 8)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + image


if __name__ == "__main__":
    with open(sys.argv[1] if len(sys.argv) > 1 else "resources/sipo.ico", "wb") as out:
        out.write(ico_bytes())
