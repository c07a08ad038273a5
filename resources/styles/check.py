#!/usr/bin/env python3
"""Checks the generated style bitmaps: every name the skin library loads
exists with its exact size and colour depth, transparent glyphs keep a
pure $FF00FF lower-left pixel, and styles.rc lists every bitmap.

    check.py DIR      (DIR holds the output of generate.py)
"""
import os
import struct
import sys

# name: (width, height, bits, pieces whose lower-left pixel must be $FF00FF or 0)
REQUIRED = {}
for style, sizes in {
        'MACOS': ((252, 23, 8), (60, 17, 8), (64, 17, 8), (306, 17, 24), (48, 23, 8), (49, 23, 8), (48, 23, 8)),
        'WINXP': ((54, 21, 8), (52, 13, 8), (52, 13, 8), (378, 21, 24), (35, 29, 8), (37, 29, 8), (35, 29, 8)),
        'DEEPBLUE': ((222, 21, 4), (52, 13, 4), (52, 13, 4), (342, 19, 4), (97, 32, 8), (98, 32, 4), (97, 32, 8)),
        'PROTEIN': ((222, 21, 8), (52, 13, 4), (52, 13, 4), (342, 19, 4), (441, 23, 8), (1, 23, 4), (1, 23, 8)),
        'BLUEGLASS': ((231, 27, 8), (52, 13, 4), (52, 13, 4), (342, 19, 4), (162, 33, 8), (179, 33, 8), (101, 33, 8)),
}.items():
    for suffix, size in zip(('BUTTON', 'CHECKBOX', 'RADIOBUTTON', 'TITLEBTN', 'TITLE_LEFT', 'TITLE_CLIENT',
                             'TITLE_RIGHT'), sizes):
        keyed = 4 if suffix == 'RADIOBUTTON' else 18 if suffix == 'TITLEBTN' and style in ('PROTEIN', 'BLUEGLASS') else 0
        REQUIRED['%s_%s' % (style, suffix)] = size + (keyed,)
    for suffix in ('PROGRESSBAR', 'TRACKBAR_BAR', 'TRACKBAR_SLIDER', 'TRACKBAR_SLIDER_V', 'SCROLLBAR_BUTTON',
                   'SCROLLBAR_TRACK', 'CHECKLIST', 'TAB', 'TAB_LINE', 'SIDECHENNEL_HANDLE', 'SIDECHENNEL_BAR'):
        REQUIRED['%s_%s' % (style, suffix)] = None
for name in ('MACOS_SCROLLBUTTON', 'WINXP_SCROLLBUTTON', 'MORE_SCROLLBUTTON'):
    REQUIRED[name] = None
REQUIRED.update({'MACOS_MENU_BAR': (1, 22, 4, 0), 'MACOS_MENU_SELECT': (1, 21, 8, 0),
                 'MENU_CHECKED': (16, 16, 4, 0), 'MDI_CONTROL_BUTTON': (48, 16, 1, 0),
                 'MACOS_FORM_BACKGROUND': (8, 8, 8, 0), 'PROTEIN_FORM_BACKGROUND': (8, 8, 8, 0)})
# A form background tile shows a pattern, yet reads as the style's form colour.
FORM_COLOUR = {'MACOS_FORM_BACKGROUND': (0xE7, 0xE7, 0xE7), 'PROTEIN_FORM_BACKGROUND': (0xFB, 0xFB, 0xFB)}


def read_bmp(path):
    data = open(path, 'rb').read()
    magic, size, _, _, off = struct.unpack_from('<2sIHHI', data, 0)
    hsize, w, h, planes, bits, comp = struct.unpack_from('<IiiHHI', data, 14)
    assert magic == b'BM' and size == len(data) and hsize == 40 and planes == 1 and comp == 0, path
    ncol = struct.unpack_from('<I', data, 46)[0] or (1 << bits if bits <= 8 else 0)
    pal = [tuple(data[54 + 4 * i + k] for k in (2, 1, 0)) for i in range(ncol)]
    stride = ((w * bits + 31) // 32) * 4
    assert off + stride * h == len(data), path

    def pixel(x, y):  # y counted from the top
        row = off + (h - 1 - y) * stride  # an index: slicing would copy the rest of the file
        if bits == 24:
            i = row + 3 * x
            return (data[i + 2], data[i + 1], data[i])
        bit = x * bits
        return pal[(data[row + bit // 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1)]
    return w, h, bits, pixel


def main(d):
    errors, failed = [], set()
    listed = dict(line.split(None, 1) for line in open(os.path.join(d, 'styles.rc')) if ' BITMAP ' in line)
    for name, want in sorted(REQUIRED.items()):
        path = os.path.join(d, name + '.bmp')
        if name not in listed or not os.path.exists(path):
            errors.append('%s missing' % name)
            failed.add(name)
            continue
        w, h, bits, pixel = read_bmp(path)
        if want is None:
            continue
        if (w, h, bits) != want[:3]:
            errors.append('%s is %dx%d %d-bit, wants %dx%d %d-bit' % ((name, w, h, bits) + want[:3]))
            failed.add(name)
        for i in range(want[3]):
            if pixel(i * (w // want[3]), h - 1) != (255, 0, 255):
                errors.append('%s piece %d: lower-left pixel is not $FF00FF' % (name, i + 1))
                failed.add(name)
    for name, want in FORM_COLOUR.items():
        if name in failed:
            continue
        w, h, _, pixel = read_bmp(os.path.join(d, name + '.bmp'))
        seen = [pixel(x, y) for y in range(h) for x in range(w)]
        mean = [sum(p[k] for p in seen) / len(seen) for k in range(3)]
        if len(set(seen)) < 2 or any(abs(m - c) > 8 for m, c in zip(mean, want)):
            errors.append('%s: flat, or its mean strays from the form colour' % name)
            failed.add(name)
    for e in errors:
        print(e)
    print('%d passed, %d failed' % (len(REQUIRED) - len(failed), len(failed)))
    return 1 if errors else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
