#!/usr/bin/env python3
"""Draws the sample skin "Copper" (slate faces, copper accents) and writes
it as a skin file.

    generate.py OUTDIR [--password PW]

Writes into OUTDIR:
  Copper.skn            the skin file (member SKINDATA.SK2, Deflate)
  CopperLocked.skn      the same records, encrypted for PW (with --password)
  Copper/<KEY>.bmp      every bitmap element as stored in the skin
  CopperSkin.h          every colour, integer and flag element as a C++
                        constant (colours as $00BBGGRR), for tests that
                        check what the skinned classes draw

ELEMENTS below is the whole skin: one line per element. A new element is
one more line: a colour, an integer, a flag, or a bitmap drawer with its
colour depth (and the key colour when it has see-through pixels).
"""

import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, '..', 'styles'))
from raster import (Canvas, hexrgb, hstack, sd_circle, sd_polyline, sd_rrect, sd_ring,  # noqa: E402
                    vgrad, write_bmp)
from skinfile import BITMAP, BOOLEAN, INTEGER, boolean, integer, skin_archive  # noqa: E402

# ----------------------------------------------------------------- palette --
SLATE_900 = '#222A32'
SLATE_700 = '#3A4652'
SLATE_500 = '#5C6B79'
SLATE_300 = '#9AA8B5'
SLATE_100 = '#DCE2E7'
COPPER_900 = '#5E3218'
COPPER_700 = '#96502A'
COPPER_500 = '#B87333'
COPPER_300 = '#DC9E68'
COPPER_100 = '#F3D5B8'
FORM = '#E4DDD5'      # warm light stone: dialogs and the menus' flat border
PAPER = '#F8F4EF'     # menu items
KEY = '#FF00FF'       # see-through pixels
GREY_EDGE = '#AEB6BD'
GREY_FILL = '#ECEEF0'


# ------------------------------------------------------------ push button --
BUTTON_W, BUTTON_H = 80, 25


def push_button(state):
    """Slate face, copper rim that glows on hover; pressed turns copper."""
    w, h, r = BUTTON_W, BUTTON_H, 4.0
    c = Canvas(w, h, FORM)
    edge = {'normal': SLATE_700, 'hot': COPPER_700, 'down': COPPER_900}[state]
    c.shape(sd_rrect(0, 0, w, h, r), edge)
    inner = sd_rrect(1, 1, w - 1, h - 1, r - 1)
    if state == 'down':
        c.shape(inner, vgrad([(0, COPPER_500), (0.5, COPPER_300), (1, COPPER_100)], 1, h - 1))
        c.shape(sd_rrect(1, 1, w - 1, 3, 1), COPPER_700, 0.5)  # inner shadow along the top
        return c
    face = ('#EEF1F4', '#CDD5DC', '#AEBAC5') if state == 'normal' else ('#F7F9FA', '#DCE3E8', '#C0CBD4')
    c.shape(inner, vgrad([(0, face[0]), (0.5, face[1]), (1, face[2])], 1, h - 1))
    c.shape(sd_rrect(2, 1, w - 2, 2, 0.5), '#FFFFFF', 0.8)  # top light
    band = COPPER_500 if state == 'normal' else COPPER_300
    c.shape(sd_rrect(2, h - 4, w - 2, h - 2, 1), band, 0.9 if state == 'normal' else 1.0)  # copper foot
    if state == 'hot':
        c.shape(sd_ring(sd_rrect(1.5, 1.5, w - 1.5, h - 1.5, r - 1.5), 1.0), COPPER_300, 0.8)
    return c


def button_strip():
    return hstack([push_button(s) for s in ('normal', 'hot', 'down')])


# -------------------------------------------------------------- check box --
GLYPH = 15


def check_glyph(checked, look):
    """Look: 'normal', 'hot' or 'disabled'."""
    s = GLYPH
    c = Canvas(s, s, FORM)
    edge = {'normal': SLATE_700, 'hot': COPPER_700, 'disabled': GREY_EDGE}[look]
    c.shape(sd_rrect(0, 0, s, s, 3), edge)
    fill = vgrad([(0, SLATE_100), (1, '#FFFFFF')], 1, s - 1) if look != 'disabled' else GREY_FILL
    c.shape(sd_rrect(1, 1, s - 1, s - 1, 2), fill)
    if look == 'hot':
        c.shape(sd_ring(sd_rrect(1.5, 1.5, s - 1.5, s - 1.5, 1.5), 1.0), COPPER_300, 0.7)
    if checked:
        ink = {'normal': COPPER_700, 'hot': COPPER_500, 'disabled': '#BFA898'}[look]
        c.shape(sd_polyline([(3.6, 7.6), (6.3, 10.4), (11.4, 4.4)], 2.2), ink)
    return c


def check_box_strip():
    # checked, checked under the mouse, unchecked, checked disabled,
    # unchecked under the mouse, unchecked disabled
    looks = ((True, 'normal'), (True, 'hot'), (False, 'normal'), (True, 'disabled'), (False, 'hot'),
             (False, 'disabled'))
    return hstack([check_glyph(checked, look) for checked, look in looks])


# ----------------------------------------------------------- radio button --
def radio_glyph(checked, enabled):
    s = GLYPH
    c = Canvas(s, s)  # uncovered pixels become the key, the lower-left one among them
    cx = cy = s / 2.0
    c.shape(sd_circle(cx, cy, 6.6), SLATE_700 if enabled else GREY_EDGE)
    fill = vgrad([(0, SLATE_100), (1, '#FFFFFF')], 1, s - 1) if enabled else GREY_FILL
    c.shape(sd_circle(cx, cy, 5.4), fill)
    if checked:
        dot = vgrad([(0, COPPER_300), (1, COPPER_700)], cy - 3.5, cy + 3.5) if enabled else '#CDB9A8'
        c.shape(sd_circle(cx, cy, 3.1), dot)
    return c


def radio_strip():
    order = ((True, True), (False, True), (True, False), (False, False))
    return hstack([radio_glyph(checked, enabled) for checked, enabled in order])


# ---------------------------------------------------------------- elements --
COLOUR = 'colour'

# (key, kind, value). Colours are '#RRGGBB'; bitmaps are (drawer, bits,
# key colour or None).
ELEMENTS = [
    ('SKIN2_TRANSCOLOR', COLOUR, KEY),
    ('SKIN2_FORMCOLOR', COLOUR, FORM),
    ('SKIN2_LEFTBARSTARTCOLOR', COLOUR, SLATE_700),
    ('SKIN2_LEFTBARENDCOLOR', COLOUR, SLATE_500),
    ('SKIN2_MENUITEMCOLOR', COLOUR, PAPER),
    ('SKIN2_MENUITEMFONTCOLOR', COLOUR, SLATE_900),
    ('SKIN2_SELECTEDMENUCOLOR', COLOUR, COPPER_500),
    ('SKIN2_SELECTEDMENUBORDERCOLOR', COLOUR, COPPER_900),
    ('SKIN2_SELECTEDMENUFONTCOLOR', COLOUR, '#FFFFFF'),
    ('SKIN2_BUTTON', BITMAP, (button_strip, 8, None)),
    ('SKIN2_CHECKBOX', BITMAP, (check_box_strip, 8, None)),
    ('SKIN2_RADIOBUTTON', BITMAP, (radio_strip, 8, KEY)),
]


def tcolor(rgb_hex):
    r, g, b = hexrgb(rgb_hex)
    return r | (g << 8) | (b << 16)


def keyed_pixels(canvas, key):
    """Pixels of a picture with see-through parts. A hard cut at half cover
    leaves stair-stepped circles at glyph size, so edge pixels down to a
    third covered stay, blended over the form colour the controls usually
    sit on; the rest become the key."""
    ground = hexrgb(FORM)
    out = []
    for i in range(canvas.w * canvas.h):
        a = canvas.a[i]
        if a < 0.3:
            out.append(key)
        else:
            out.append(tuple(int(round(min(255.0, v + g * (1.0 - a)))) for v, g in
                             zip((canvas.r[i], canvas.g[i], canvas.b[i]), ground)))
    return out


def bmp_bytes(path, drawer, bits, key):
    canvas = drawer()
    key_rgb = hexrgb(key) if key else None
    pixels = keyed_pixels(canvas, key_rgb) if key else canvas.pixels()
    write_bmp(path, canvas.w, canvas.h, pixels, bits, key_rgb)
    with open(path, 'rb') as f:
        return f.read()


def build(outdir):
    """The records of the skin, and the header's constants."""
    pictures = os.path.join(outdir, 'Copper')
    os.makedirs(pictures, exist_ok=True)
    records, constants = [], []
    for key, kind, value in ELEMENTS:
        name = key.encode('ascii')
        if kind == BITMAP:
            drawer, bits, see_through = value
            records.append((name, BITMAP, bmp_bytes(os.path.join(pictures, key + '.bmp'), drawer, bits, see_through)))
        elif kind == COLOUR:
            records.append((name, INTEGER, integer(tcolor(value))))
            constants.append('constexpr int32_t %s = 0x%06X;  // %s' % (key, tcolor(value), value))
        elif kind == INTEGER:
            records.append((name, INTEGER, integer(value)))
            constants.append('constexpr int32_t %s = %d;' % (key, value))
        elif kind == BOOLEAN:
            records.append((name, BOOLEAN, boolean(value)))
            constants.append('constexpr bool %s = %s;' % (key, 'true' if value else 'false'))
        else:
            raise ValueError('unknown kind of %s' % key)
    return records, constants


def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


def main(argv):
    args = argv[1:]
    password = None
    if len(args) == 3 and args[1] == '--password':
        password = args[2]
        args = args[:1]
    if len(args) != 1:
        sys.stderr.write('usage: generate.py OUTDIR [--password PW]\n')
        return 2
    outdir = args[0]
    os.makedirs(outdir, exist_ok=True)
    records, constants = build(outdir)
    write(os.path.join(outdir, 'Copper.skn'), skin_archive(records))
    if password:
        write(os.path.join(outdir, 'CopperLocked.skn'), skin_archive(records, password))
    header = ['// The sample skin\'s values, written by resources/skins/generate.py.', '#pragma once', '',
              '#include <cstdint>', '', 'namespace CopperSkin {', ''] + constants + ['', '}  // namespace CopperSkin', '']
    write(os.path.join(outdir, 'CopperSkin.h'), '\n'.join(header).encode('ascii'))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
