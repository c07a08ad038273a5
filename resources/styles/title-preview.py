#!/usr/bin/env python3
"""Assembles each style's title bar the way the title bar lays it out (left
section, stretched middle, right section, then close, maximise and
minimise from the right edge at the style's button top) into one PPM, to
eyeball the seams between sections and buttons.

    title-preview.py BMPDIR OUT.ppm
"""
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check import read_bmp  # noqa: E402

BUTTON_TOP = {'MACOS': 4, 'WINXP': 5, 'DEEPBLUE': 2, 'PROTEIN': 2, 'BLUEGLASS': 6}
SEE_THROUGH = {'PROTEIN', 'BLUEGLASS'}
WIDTH = 520


def bar(d, style):
    left, mid, right, btn = (read_bmp('%s/%s_%s.bmp' % (d, style, part))
                             for part in ('TITLE_LEFT', 'TITLE_CLIENT', 'TITLE_RIGHT', 'TITLEBTN'))
    h = left[1]
    span = WIDTH - left[0] - right[0]
    img = []
    for y in range(h):
        row = []
        for x in range(WIDTH):
            if x < left[0]:
                row.append(left[3](x, y))
            elif x >= WIDTH - right[0]:
                row.append(right[3](x - WIDTH + right[0], y))
            else:
                row.append(mid[3]((x - left[0]) * mid[0] // span, y))
        img.append(row)
    pw, top = btn[0] // 18, BUTTON_TOP[style]
    x = WIDTH - 2 - pw
    for first in (16, 7, 13):  # close, maximise, minimise
        p = (first - 1) * pw
        key = btn[3](p, btn[1] - 1)
        for yy in range(btn[1]):
            for xx in range(pw):
                c = btn[3](p + xx, yy)
                if not (style in SEE_THROUGH and c == key):
                    img[top + yy][x + xx] = c
        x -= pw + 1
    return img


def main(d, out):
    bars = [bar(d, s) for s in BUTTON_TOP]
    gap = [[(112, 112, 112)] * WIDTH] * 4
    rows = [r for b in bars for r in b + gap]
    with open(out, 'wb') as f:
        f.write(b'P6 %d %d 255\n' % (WIDTH, len(rows)))
        for r in rows:
            f.write(bytes(v for c in r for v in c))


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
