#!/usr/bin/env python3
"""Draws the program's icon, a red record dot on a blue disc between two
level bars, at 16, 32 and 48 pixels, and writes it as an icon file.

    mainicon.py OUTFILE

The images are 32-bit with alpha and an AND mask, as the system reads
them; every run writes the same bytes.
"""

import os
import struct
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'styles'))
from raster import Canvas, sd_circle, sd_ring, sd_segment, vgrad  # noqa: E402

SIZES = (16, 32, 48)


def draw(size):
    s = float(size)
    c = Canvas(size, size)
    mid = s / 2.0
    c.shape(sd_circle(mid, mid, s * 0.47), vgrad([(0, '#3a78b0'), (1, '#16395a')], 0, size))
    c.shape(sd_ring(sd_circle(mid, mid, s * 0.45), max(1.0, s * 0.04)), '#8dbbe4')
    if size >= 32:
        # Level bars left and right of the dot, taller towards the middle.
        for side in (-1, 1):
            for step, height in enumerate((0.10, 0.18)):
                x = mid + side * s * (0.36 - step * 0.08)
                c.shape(sd_segment(x, mid - s * height, x, mid + s * height, s * 0.045), '#e8f1fa')
    c.shape(sd_circle(mid, mid, s * (0.2 if size >= 32 else 0.26)), vgrad([(0, '#ff6a5a'), (1, '#c81e1e')], 0, size))
    c.shape(sd_circle(mid - s * 0.06, mid - s * 0.07, s * 0.06), '#ffd2cc', alpha=0.8)
    return c


def image_bytes(canvas):
    """BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask."""
    n = canvas.w
    header = struct.pack('<IiiHHIIiiII', 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    row_bytes = ((n + 31) // 32) * 4
    for y in range(n - 1, -1, -1):
        bits = bytearray(row_bytes)
        for x in range(n):
            i = y * n + x
            a = canvas.a[i]
            rgb = canvas.rgb_at(x, y) or (0, 0, 0)
            r, g, b = (int(round(min(255.0, max(0.0, v)))) for v in rgb)
            colour += bytes((b, g, r, int(round(a * 255))))
            if a < 0.5:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def write_ico(path, canvases):
    images = [image_bytes(c) for c in canvases]
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    for canvas, data in zip(canvases, images):
        out += struct.pack('<BBBBHHII', canvas.w, canvas.h, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: mainicon.py OUTFILE')
    os.makedirs(os.path.dirname(os.path.abspath(sys.argv[1])), exist_ok=True)
    write_ico(sys.argv[1], [draw(size) for size in SIZES])


if __name__ == '__main__':
    main()
