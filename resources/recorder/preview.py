#!/usr/bin/env python3
"""Previews of the recorder window as a user sees it, to judge the art.

    preview.py OUTDIR

Draws the pictures afresh, then writes
  window.png, window@2x.png   the window cut to its shape over a desktop,
                              with every button's normal picture in place,
                              the quality radio buttons and sample digits;
  states.png, states@2x.png   each button normal, mouse on and pressed,
                              side by side on the body around it.
ImageMagick's convert turns the PPMs into PNGs.
"""
import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of caches

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import layout  # noqa: E402
import pixelfont  # noqa: E402
from stylekit import read_bmp, style_module  # noqa: E402
from layout import BUTTONS, KEY, SIZE  # noqa: E402

DESKTOP = ((58, 110, 165), (24, 52, 92))
NAVY = (0, 0, 128)


class Image:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [fill(x, y) for y in range(h) for x in range(w)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c

    def paste(self, bmp, ox, oy, skip=None, src=(0, 0), size=None):
        w, h, _, pixel = bmp
        sx, sy = src
        w, h = size or (w, h)
        for y in range(h):
            for x in range(w):
                c = pixel(sx + x, sy + y)
                if c != skip:
                    self.put(ox + x, oy + y, c)

    def write_png(self, path, scale):
        with tempfile.NamedTemporaryFile(suffix='.ppm', delete=False) as f:
            f.write(b'P6 %d %d 255\n' % (self.w, self.h))
            f.write(bytes(v for p in self.px for v in p))
        try:
            subprocess.run(['convert', f.name, '-scale', '%d%%' % (100 * scale), path], check=True)
        finally:
            os.unlink(f.name)


def desktop(w, h):
    top, bottom = DESKTOP
    return lambda x, y: tuple(int(a + (b - a) * y / float(h)) for a, b in zip(top, bottom))


def bitmaps(d):
    return {name: read_bmp(os.path.join(d, name + '.bmp')) for name, _, _ in layout.resources()}


def radio_glyphs():
    art = style_module('generate')
    st = art.STYLES['WINXP']
    return [art.radio(st, 13, 13, checked, True, 'WINXP').pixels(art.MAGENTA) for checked in (True, False)]


def window_preview(bmps):
    img = Image(SIZE, SIZE, desktop(SIZE, SIZE))
    img.paste(bmps[layout.WINDOW], 0, 0, skip=KEY)
    for b in BUTTONS:
        # the button window is cut to its outline, so only those pixels show
        outline = bmps[b.resource('OUTLINE')]
        normal = bmps[b.resource('NORMAL')]
        for y in range(b.height):
            for x in range(b.width):
                if outline[3](x, y) != KEY:
                    img.put(b.left + x, b.top + y, normal[3](x, y))
    qx, qy, _, _ = layout.QUALITY_RECT
    img.paste(bmps[layout.QUALITY], qx, qy)
    checked, unchecked = radio_glyphs()
    for i, (rx, ry, rw, rh) in enumerate(layout.RADIO_RECTS):
        glyph = checked if i == 0 else unchecked
        gy = ry + (rh - 13) // 2
        for y in range(13):
            for x in range(13):
                c = glyph[y * 13 + x]
                if c != (255, 0, 255):
                    img.put(rx + 1 + x, gy + y, c)
    # stand-in digits of about the label font's size
    tx, ty, _, th = layout.TIME_RECT
    for j, row in enumerate(pixelfont.text_rows('128', 2)):
        for i, ch in enumerate(row):
            if ch == '#':
                img.put(tx + 1 + i, ty + (th - 14) // 2 + j, NAVY)
    return img


def states_preview(bmps):
    margin = 10
    rows = [(b, b.width + 2 * margin, b.height + 2 * margin) for b in BUTTONS]
    w = max(cw for _, cw, _ in rows) * 3 + 4 * margin
    h = sum(ch for _, _, ch in rows) + (len(rows) + 1) * margin
    img = Image(w, h, lambda x, y: (112, 112, 112))
    window = bmps[layout.WINDOW]
    y = margin
    for b, cw, ch in rows:
        outline = bmps[b.resource('OUTLINE')]
        for k, state in enumerate(layout.STATES):
            x = margin + k * (max(c for _, c, _ in rows) + margin)
            img.paste(window, x, y, src=(b.left - margin, b.top - margin), size=(cw, ch))
            pic = bmps[b.resource(state)]
            for yy in range(b.height):
                for xx in range(b.width):
                    if outline[3](xx, yy) != KEY:
                        img.put(x + margin + xx, y + margin + yy, pic[3](xx, yy))
        y += ch + margin
    return img


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: preview.py OUTDIR\n')
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory() as d:
        subprocess.run([sys.executable, os.path.join(HERE, 'generate.py'), d], check=True)
        bmps = bitmaps(d)
        window, states = window_preview(bmps), states_preview(bmps)
    for img, name in ((window, 'window'), (states, 'states')):
        img.write_png(os.path.join(out, name + '.png'), 1)
        img.write_png(os.path.join(out, name + '@2x.png'), 2)
    print('previews in %s' % out)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
