#!/usr/bin/env python3
"""Draws the sample skin "Copper" (slate faces, copper accents) and writes
it as a skin file.

    generate.py OUTDIR [--password PW]

Writes into OUTDIR:
  Copper.skn            the skin file (member SKINDATA.SK2, Deflate)
  CopperLocked.skn      the same records, encrypted for PW (with --password)
  CopperFive.skn        the same records, the title bar in five sections
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
from raster import (Canvas, hexrgb, hstack, sd_circle, sd_polyline, sd_rrect, sd_ring, sd_segment,  # noqa: E402
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


# -------------------------------------------------------------- title bar --
# One file holds both layouts: three sections (1 left, 2 stretched, 3 right)
# or, with SKIN2_TITLEFIVESECT set (CopperFive.skn), five (1 left, 2 the
# caption's band, 3 after it, 4 stretched, 5 right). Picture 3 therefore
# starts with the copper seam from the caption's band to the darker rest.
TITLE_H = 30
TITLE_LIGHT = [(0, '#6E7E8C'), (0.45, SLATE_500), (1, SLATE_700)]
TITLE_DARK = [(0, SLATE_500), (0.45, SLATE_700), (1, SLATE_900)]
SEAM = 26


def title_band(w, stops):
    c = Canvas(w, TITLE_H)
    c.rect(0, 0, w, TITLE_H, vgrad(stops, 0, TITLE_H - 1))
    c.rect(0, 0, w, 1, '#8D9BA8')  # top light
    c.rect(0, TITLE_H - 2, w, TITLE_H - 1, COPPER_700)  # copper foot
    c.rect(0, TITLE_H - 1, w, TITLE_H, SLATE_900)
    return c


def title_left():
    c = title_band(40, TITLE_LIGHT)
    c.rect(0, 0, 1, TITLE_H, SLATE_900)
    c.shape(sd_rrect(1, 1, 4, TITLE_H - 2, 1), COPPER_500, 0.55)  # copper edge at the far left
    return c


def title_middle(stops):
    return lambda: title_band(8, stops)


def title_after_caption():
    c = title_band(110, TITLE_DARK)
    light = title_band(SEAM, TITLE_LIGHT)
    for y in range(TITLE_H - 2):  # the light band ends in a slope
        end = int(SEAM - 10 + y * 10 / (TITLE_H - 2))
        for x in range(end):
            c.pixel(x, y, light.rgb_at(x, y))
    c.shape(sd_segment(SEAM - 10, 0, SEAM, TITLE_H - 2, 1.6), COPPER_300, 0.9)
    return c


def title_right():
    c = title_band(96, TITLE_DARK)
    c.rect(95, 0, 96, TITLE_H, SLATE_900)
    return c


TITLE_BTN = 18
TITLE_BTN_TOP = 6
TITLE_GLYPHS = {
    'menu': lambda c, ink: [c.shape(sd_segment(5, y, 13, y, 1.6), ink) for y in (6, 9, 12)],
    'help': lambda c, ink: (c.shape(sd_ring(sd_circle(9, 7.5, 3.2), 1.5), ink),
                            c.shape(sd_circle(9, 13, 1.2), ink)),
    'max': lambda c, ink: c.shape(sd_ring(sd_rrect(4.5, 4.5, 13.5, 13.5, 1), 1.6), ink),
    'restore': lambda c, ink: (c.shape(sd_ring(sd_rrect(7, 4, 14, 11, 1), 1.4), ink),
                               c.shape(sd_ring(sd_rrect(4, 7, 11, 14, 1), 1.4), ink)),
    'min': lambda c, ink: c.shape(sd_segment(5, 12.5, 13, 12.5, 2.0), ink),
    'close': lambda c, ink: (c.shape(sd_segment(5.5, 5.5, 12.5, 12.5, 2.0), ink),
                             c.shape(sd_segment(12.5, 5.5, 5.5, 12.5, 2.0), ink)),
}


def title_button(kind, state):
    """A rounded slate key with a light glyph; copper rim on hover, copper
    face when pressed. Its corners repeat the bar's own rows where the
    buttons stand, so the keys are opaque and their edges smooth."""
    s = TITLE_BTN
    band = title_band(1, TITLE_DARK)
    c = Canvas(s, s)
    for y in range(s):
        c.rect(0, y, s, y + 1, band.rgb_at(0, y + TITLE_BTN_TOP))
    rim = {'normal': SLATE_900, 'hot': COPPER_300, 'down': COPPER_900}[state]
    c.shape(sd_rrect(0.5, 0.5, s - 0.5, s - 0.5, 4), rim)
    face = {'normal': [(0, '#7A8896'), (1, SLATE_700)], 'hot': [(0, '#8C9AA7'), (1, SLATE_500)],
            'down': [(0, COPPER_700), (1, COPPER_500)]}[state]
    c.shape(sd_rrect(1.5, 1.5, s - 1.5, s - 1.5, 3), vgrad(face, 1, s - 2))
    if kind == 'close' and state != 'down':
        c.shape(sd_rrect(1.5, 1.5, s - 1.5, s - 1.5, 3), COPPER_500, 0.45)
    TITLE_GLYPHS[kind](c, '#FFFFFF' if state != 'normal' else SLATE_100)
    return c


def title_button_strip():
    # control box, help, maximise, restore, minimise, close; each normal,
    # under the mouse, pressed
    kinds = ('menu', 'help', 'max', 'restore', 'min', 'close')
    return hstack([title_button(k, st) for k in kinds for st in ('normal', 'hot', 'down')])


# ------------------------------------------------------------ form border --
# Five pixels on each side and below, from the outside in: dark edge, copper
# seam, slate, light slate, dark line against the form; the bottom corners
# round off, cut out of the window by the key colour.
BORDER = [SLATE_900, COPPER_700, SLATE_700, SLATE_500, SLATE_900]
BOTTOM_H = len(BORDER)
CORNER_W = 10


def border_side(columns):
    c = Canvas(len(columns), 4)
    for x, colour in enumerate(columns):
        c.rect(x, 0, x + 1, 4, colour)
    return c


def border_bottom_middle():
    c = Canvas(8, BOTTOM_H)
    for y, colour in enumerate(reversed(BORDER)):
        c.rect(0, y, 8, y + 1, colour)
    return c


def border_bottom_corner(mirrored):
    """The left corner: the side's bands turning into the bottom's along
    quarter circles; mirrored for the right."""
    w, h = CORNER_W, BOTTOM_H
    c = Canvas(w, h)
    for i, colour in enumerate(BORDER):
        c.shape(sd_rrect(i, -2 * h, 2 * w - i, h - i, max(4.5 - i, 0.5)), colour)
    if not mirrored:
        return c
    m = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            i, j = y * w + x, y * w + (w - 1 - x)
            m.r[i], m.g[i], m.b[i], m.a[i] = c.r[j], c.g[j], c.b[j], c.a[j]
    return m


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
    ('SKIN2_MENUBARSTARTCOLOR', COLOUR, SLATE_100),
    ('SKIN2_MENUBARENDCOLOR', COLOUR, '#C3CCD4'),
    ('SKIN2_TOPMENUFONTCOLOR', COLOUR, SLATE_900),
    ('SKIN2_TOPSELECTEDMENUCOLOR', COLOUR, COPPER_500),
    ('SKIN2_TOPSELECTEDMENUBORDERCOLOR', COLOUR, COPPER_900),
    ('SKIN2_TOPSELECTEDMENUFONTCOLOR', COLOUR, '#FFFFFF'),
    ('SKIN2_FORMLEFTBORDER', BITMAP, (lambda: border_side(BORDER), 24, None)),
    ('SKIN2_FORMRIGHTBORDER', BITMAP, (lambda: border_side(BORDER[::-1]), 24, None)),
    ('SKIN2_FORMBOTTOMBORDER1', BITMAP, (lambda: border_bottom_corner(False), 24, KEY)),
    ('SKIN2_FORMBOTTOMBORDER2', BITMAP, (border_bottom_middle, 24, None)),
    ('SKIN2_FORMBOTTOMBORDER3', BITMAP, (lambda: border_bottom_corner(True), 24, KEY)),
    ('SKIN2_BOTTOMBORDERTHREESECT', BOOLEAN, True),
    ('SKIN2_BOTTOMBORDERNEEDREGION', BOOLEAN, True),
    ('SKIN2_BOTTOMREGIONMINY', INTEGER, -1),
    ('SKIN2_BOTTOMREGIONMAXY', INTEGER, -1),
    ('SKIN2_TITLEBARNEEDREGION', BOOLEAN, False),
    ('SKIN2_TITLEBARREGIONMINY', INTEGER, -1),
    ('SKIN2_TITLEBARREGIONMAXY', INTEGER, -1),
    ('SKIN2_BUTTON', BITMAP, (button_strip, 8, None)),
    ('SKIN2_CHECKBOX', BITMAP, (check_box_strip, 8, None)),
    ('SKIN2_RADIOBUTTON', BITMAP, (radio_strip, 8, KEY)),
    ('SKIN2_TITLEBAR1', BITMAP, (title_left, 24, None)),
    ('SKIN2_TITLEBAR2', BITMAP, (title_middle(TITLE_LIGHT), 24, None)),
    ('SKIN2_TITLEBAR3', BITMAP, (title_after_caption, 24, None)),
    ('SKIN2_TITLEBAR4', BITMAP, (title_middle(TITLE_DARK), 24, None)),
    ('SKIN2_TITLEBAR5', BITMAP, (title_right, 24, None)),
    ('SKIN2_TITLEBUTTONS', BITMAP, (title_button_strip, 24, None)),
    ('SKIN2_TITLEFIVESECT', BOOLEAN, False),
    ('SKIN2_TITLEBTNTRANS', BOOLEAN, False),
    ('SKIN2_TITLEFONTCOLOR', COLOUR, COPPER_100),
    ('SKIN2_TITLEBARICONPOSX', INTEGER, 8),
    ('SKIN2_TITLEBARICONPOSY', INTEGER, 7),
    ('SKIN2_TITLEBARCAPTIONTOP', INTEGER, 11),
    ('SKIN2_TITLEBARBUTTONPOSX', INTEGER, 6),
    ('SKIN2_TITLEBARBUTTONPOSY', INTEGER, TITLE_BTN_TOP),
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
    five = [(name, kind, boolean(True) if name == b'SKIN2_TITLEFIVESECT' else data) for name, kind, data in records]
    write(os.path.join(outdir, 'CopperFive.skn'), skin_archive(five))
    if password:
        write(os.path.join(outdir, 'CopperLocked.skn'), skin_archive(records, password))
    header = ['// The sample skin\'s values, written by resources/skins/generate.py.', '#pragma once', '',
              '#include <cstdint>', '', 'namespace CopperSkin {', ''] + constants + ['', '}  // namespace CopperSkin', '']
    write(os.path.join(outdir, 'CopperSkin.h'), '\n'.join(header).encode('ascii'))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
