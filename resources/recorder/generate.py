#!/usr/bin/env python3
"""Draws the recorder window's pictures and writes recorder.rc.

    generate.py OUTDIR

The window is one picture of the whole recorder: a rounded slate shell
around a light face plate, lit from the top left. Every command button is
drawn onto that body in place, so the body under a button is exactly the
button's normal picture and the window looks whole before the buttons
paint. A button picture is then the button's rectangle cut from the body
with the button in one state; its outline, the shape its window is cut
to, is the button's shape thresholded at half coverage. Outside the shape
every button picture and outline holds the key colour.

Anti-aliasing stays inside the body: the body's own outer edge, and every
button edge where it meets the key colour, is thresholded at half
coverage and keeps its full colour, because the window region keeps
every pixel that differs from the key.
"""

import math
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, '..', 'styles'))
from raster import Canvas, hexrgb, sd_circle, sd_rrect, sd_inter, sd_sub, vgrad, write_bmp  # noqa: E402
import layout  # noqa: E402
from layout import BUTTONS, KEY, PANEL_GREY, QUALITY_RECT, RADIO_RECTS, SIZE, TIME_RECT  # noqa: E402
import pixelfont  # noqa: E402

SLATE = '#3D4B5C'
INK_LIGHT = '#FFFFFF'
BODY = (158, 8, 416, 452, 50.0)
PLATE = (167, 17, 407, 443, 41.0)
CARD = (172, 86, 312, 160, 9.0)
LCD = (186, 344, 384, 382, 7.0)
LCD_SCREEN = '#CDE2D3'


def inset(f, k):
    return lambda x, y: f(x, y) + k


def shifted(f, dx, dy):
    return lambda x, y: f(x - dx, y - dy)


def soft(f, width):
    """The same shape with its edge spread over `width` pixels."""
    return lambda x, y: f(x, y) / width


def box_of(x0, y0, x1, y1, margin=2):
    return (int(math.floor(x0)) - margin, int(math.floor(y0)) - margin,
            int(math.ceil(x1)) + margin, int(math.ceil(y1)) + margin)


def lighten(colour, t):
    c = hexrgb(colour) if isinstance(colour, str) else colour
    return tuple(v + (255 - v) * t for v in c)


def darken(colour, t):
    c = hexrgb(colour) if isinstance(colour, str) else colour
    return tuple(v * (1 - t) for v in c)


def text(c, s, x, y, colour, scale=1, alpha=1.0):
    c.pattern(pixelfont.text_rows(s, scale), x, y, colour, alpha)


# ------------------------------------------------------------ buttons ---
def rect_of(b):
    return b.left, b.top, b.left + b.width, b.top + b.height


def button_shape(b):
    x0, y0, x1, y1 = rect_of(b)
    if b.part == 'PLAY':
        return sd_circle((x0 + x1) / 2.0, (y0 + y1) / 2.0, b.width / 2.0)
    radius = {'STOP': 12.0}.get(b.part, b.height / 2.0)
    return sd_rrect(x0, y0, x1, y1, radius)


def raised(c, b, f, face, border, state, gloss=0.22):
    """A lit, raised face: a border, a top-to-bottom face, a soft gloss on
    the upper half. Pressed, the light falls inside from the top."""
    x0, y0, x1, y1 = rect_of(b)
    box = box_of(x0, y0, x1, y1)
    top, bottom = (hexrgb(v) if isinstance(v, str) else v for v in face)
    if state == 'HOT':
        top, bottom = lighten(top, 0.18), lighten(bottom, 0.14)
    elif state == 'DOWN':
        top, bottom = darken(bottom, 0.10), darken(top, 0.04)
    c.shape(f, border, box=box)
    c.shape(inset(f, 1.2), vgrad([(0, top), (1, bottom)], y0, y1), box=box)
    if state == 'DOWN':
        c.shape(sd_sub(inset(f, 1.2), shifted(inset(f, 1.2), 0, 2.5)), '#000000', 0.16, box=box)
    else:
        mid = y0 + (y1 - y0) * 0.48
        c.shape(sd_inter(inset(f, 2.2), lambda x, y: y - mid), '#FFFFFF', gloss, box=box)
        c.shape(sd_sub(inset(f, 1.2), shifted(inset(f, 1.2), 0, 1.2)), '#FFFFFF', 0.35, box=box)


def press(state):
    return 1 if state == 'DOWN' else 0


def draw_record(c, b, state):
    f = button_shape(b)
    raised(c, b, f, ('#FF7A6E', '#E4433B'), '#B3302A', state)
    d = press(state)
    cy = b.top + b.height / 2.0 + d
    dot_x = b.left + 30.5
    dot_box = box_of(dot_x - 10, cy - 10, dot_x + 10, cy + 11)
    c.shape(sd_circle(dot_x, cy + 1, 8.5), '#9E2520', 0.4, box=dot_box)
    c.shape(sd_circle(dot_x, cy, 8.5), INK_LIGHT, box=dot_box)
    label = 'RECORD'
    w = pixelfont.text_width(label, 2)
    tx = b.left + 52 + (b.width - 52 - 18 - w) // 2
    ty = b.top + (b.height - 14) // 2 + d
    text(c, label, tx, ty + 1, '#9E2520', 2, 0.45)
    text(c, label, tx, ty, INK_LIGHT, 2)


def draw_pill_icon_button(c, b, state, icon, label):
    f = button_shape(b)
    border = '#2E9C98' if state == 'HOT' else '#A9B0BA'
    raised(c, b, f, ('#FFFFFF', '#E6E3DD'), border, state, gloss=0.0)
    ink = '#1F7F7C' if state == 'HOT' else SLATE
    d = press(state)
    w = 11 + 5 + pixelfont.text_width(label)
    x = b.left + (b.width - w) // 2
    y = b.top + (b.height - 9) // 2 + d
    icon(c, x, y, ink)
    text(c, label, x + 16, y + 1, ink)


def house(c, x, y, ink):
    c.pattern([".....#.....",
               "....###....",
               "...#####...",
               "..#######..",
               ".#########.",
               "..#######..",
               "..##...##..",
               "..##...##..",
               "..##...##.."], x, y, ink)


def question(c, x, y, ink):
    c.shape(sd_circle(x + 5.5, y + 4.5, 5.5), ink, box=(x - 1, y - 2, x + 13, y + 12))
    c.pattern(["....",
               ".##.",
               "#..#",
               "...#",
               "..#.",
               ".#..",
               "....",
               ".#..",
               "...."], x + 4, y, INK_LIGHT)


def draw_home(c, b, state):
    draw_pill_icon_button(c, b, state, house, 'ONLINE')


def draw_help(c, b, state):
    draw_pill_icon_button(c, b, state, question, 'HELP')


def draw_stop(c, b, state):
    f = button_shape(b)
    raised(c, b, f, ('#5E6D83', '#39455A'), '#262F3C', state, gloss=0.16)
    d = press(state)
    cx, cy = b.left + b.width / 2.0, b.top + b.height / 2.0 + d
    sq = sd_rrect(cx - 8, cy - 8, cx + 8, cy + 8, 2.5)
    c.shape(shifted(sq, 0, 1), '#1B222C', 0.4, box=box_of(cx - 9, cy - 9, cx + 9, cy + 10))
    c.shape(sq, '#FF6A5E' if state == 'HOT' else INK_LIGHT, box=box_of(cx - 9, cy - 9, cx + 9, cy + 9))


def draw_play(c, b, state):
    f = button_shape(b)
    x0, y0, x1, y1 = rect_of(b)
    box = box_of(x0, y0, x1, y1)
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    c.shape(f, '#A9B0BA', box=box)
    c.shape(inset(f, 1.0), vgrad([(0, '#FFFFFF'), (1, '#D6D2CB')], y0, y1), box=box)
    disc = sd_circle(cx, cy, 31.5)
    top, bottom = hexrgb('#52D6A2'), hexrgb('#1C9466')
    if state == 'HOT':
        top, bottom = lighten(top, 0.2), lighten(bottom, 0.15)
    elif state == 'DOWN':
        top, bottom = darken(bottom, 0.1), darken(top, 0.05)
    c.shape(inset(disc, -1.2), '#15734F', box=box)
    c.shape(disc, vgrad([(0, top), (1, bottom)], cy - 31.5, cy + 31.5), box=box)
    if state == 'DOWN':
        c.shape(sd_sub(disc, shifted(disc, 0, 3)), '#000000', 0.18, box=box)
    else:
        c.shape(sd_inter(inset(disc, 2.5), lambda x, y: y - (cy - 3)), '#FFFFFF', 0.2, box=box)
    d = press(state)
    # a triangle centred on its centroid looks centred in a circle
    tri = triangle(cx - 8.5, cy - 15 + d, cx - 8.5, cy + 15 + d, cx + 17.5, cy + d)
    c.shape(shifted(tri, 0, 1.2), '#0F5E40', 0.35, box=box)
    c.shape(tri, INK_LIGHT, box=box)


def triangle(ax, ay, bx, by, qx, qy):
    """Distance to the nearest edge line, negative inside: exact along the
    edges, which is all the anti-aliasing needs."""
    pts = ((ax, ay), (bx, by), (qx, qy))
    mx, my = (ax + bx + qx) / 3.0, (ay + by + qy) / 3.0
    edges = []
    for (px, py), (rx, ry) in zip(pts, pts[1:] + pts[:1]):
        nx, ny = ry - py, px - rx
        n = math.hypot(nx, ny)
        nx, ny = nx / n, ny / n
        if nx * (mx - px) + ny * (my - py) > 0:
            nx, ny = -nx, -ny
        edges.append((px, py, nx, ny))
    return lambda x, y: max(nx * (x - px) + ny * (y - py) for px, py, nx, ny in edges)


def draw_window_button(c, b, state, glyph):
    f = button_shape(b)
    hot = '#E8524A' if b.part == 'CLOSE' else '#6F8199'
    face = (hot, darken(hot, 0.2)) if state == 'HOT' else ('#5A6A80', '#3C4859')
    raised(c, b, f, face, '#262F3C', state, gloss=0.14)
    d = press(state)
    c.pattern(glyph, b.left + (b.width - len(glyph[0])) // 2, b.top + (b.height - len(glyph)) // 2 + d, INK_LIGHT)


def draw_minimize(c, b, state):
    draw_window_button(c, b, state, [".......", ".......", ".......", ".......", "#######", "#######", "......."])


def draw_close(c, b, state):
    draw_window_button(c, b, state, ["#.....#", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "#.....#"])


DRAWERS = {'RECORD': draw_record, 'HOME': draw_home, 'HELP': draw_help, 'STOP': draw_stop,
           'PLAY': draw_play, 'MINIMIZE': draw_minimize, 'CLOSE': draw_close}


# --------------------------------------------------------------- body ---
def draw_shell(c):
    x0, y0, x1, y1, r = BODY
    f = sd_rrect(x0, y0, x1, y1, r)
    box = box_of(x0, y0, x1, y1)
    c.shape(f, vgrad([(0, '#56677C'), (0.5, '#435265'), (1, '#2E3847')], y0, y1), box=box)
    # light from the top left: a bright rim along the upper edge
    c.shape(sd_sub(inset(f, 1.0), shifted(inset(f, 1.0), 1.0, 1.6)), '#FFFFFF', 0.28, box=box)
    c.shape(sd_sub(inset(f, 1.0), shifted(inset(f, 1.0), -1.0, -1.6)), '#000000', 0.25, box=box)
    px0, py0, px1, py1, pr = PLATE
    plate = sd_rrect(px0, py0, px1, py1, pr)
    c.shape(inset(plate, -1.5), '#222A35', 0.6, box=box)
    c.shape(plate, vgrad([(0, '#F8F6F2'), (1, '#E2DED7')], py0, py1), box=box)
    # the plate sits a little below the shell: a shadow along its top edge
    c.shape(sd_sub(plate, shifted(plate, 0.6, 2.2)), '#000000', 0.10, box=box)


def draw_shadow(c, f, rect, strength=0.22):
    x0, y0, x1, y1 = rect
    c.shape(soft(shifted(f, 0.6, 2.2), 2.6), '#1A1F27', strength, box=box_of(x0, y0, x1, y1, 6))


def draw_card(c):
    x0, y0, x1, y1, r = CARD
    f = sd_rrect(x0, y0, x1, y1, r)
    box = box_of(x0, y0, x1, y1)
    c.shape(inset(f, -1.0), '#FFFFFF', 0.9, box=box)
    c.shape(f, '#A8A8A8', box=box)
    c.shape(inset(f, 1.0), PANEL_GREY, box=box)
    # sunk into the plate: a shade under the top edge, kept clear of the
    # radio buttons, which paint the plain grey
    c.shape(sd_sub(inset(f, 1.0), shifted(inset(f, 1.0), 0, 2.0)), '#000000', 0.10, box=box)


def draw_quality_legend(c):
    lx, ly, lw, lh = QUALITY_RECT
    for i, (name, (rx, ry, rw, rh)) in enumerate(zip(layout.QUALITY_NAMES, RADIO_RECTS)):
        centre = ry + rh // 2  # the radio glyph's middle row
        top = centre - 3
        x = lx + 2
        for bar in range(3):
            h = 3 + 2 * bar
            on = bar < 3 - i
            c.rect(x + 3 * bar, top + 7 - h, x + 3 * bar + 2, top + 7, SLATE if on else '#A4A4A4')
        text(c, name, x + 13, top, SLATE)
        start = x + 13 + pixelfont.text_width(name) + 4
        for dx in range(start, rx - 2, 3):
            c.pixel(dx, centre, '#8E8E8E')


def draw_grille(c):
    area = sd_rrect(326, 91, 398, 155, 14.0)
    for j in range(8):
        for i in range(9):
            hx, hy = 330 + 8 * i, 95 + 8 * j
            if area(hx, hy) > -2.5:
                continue
            box = (hx - 4, hy - 4, hx + 5, hy + 6)
            c.shape(sd_circle(hx, hy + 0.9, 2.4), '#FFFFFF', 0.9, box=box)
            c.shape(sd_circle(hx, hy, 2.4), vgrad([(0, '#1E252F'), (1, '#4A5668')], hy - 2.4, hy + 2.4), box=box)


def draw_wave(c):
    """A quiet embossed waveform across the middle of the plate."""
    n = 27
    for i in range(n):
        x = 183 + 8 * i
        t = i / (n - 1.0)
        env = math.sin(math.pi * t) ** 0.8
        h = 2.5 + 11.0 * env * (0.55 + 0.45 * abs(math.sin(i * 1.7)))
        cy = 185.0
        bar = sd_rrect(x - 1.5, cy - h, x + 1.5, cy + h, 1.5)
        box = box_of(x - 2, cy - h, x + 2, cy + h + 1)
        c.shape(shifted(bar, 0, 1.0), '#FFFFFF', 0.9, box=box)
        c.shape(bar, '#CBC6BE', box=box)


def draw_lcd(c):
    x0, y0, x1, y1, r = LCD
    f = sd_rrect(x0, y0, x1, y1, r)
    box = box_of(x0, y0, x1, y1)
    c.shape(inset(f, -1.0), '#FFFFFF', 0.9, box=box)
    c.shape(f, vgrad([(0, '#2A3340'), (1, '#465366')], y0, y1), box=box)
    screen = sd_rrect(x0 + 4, y0 + 4, x1 - 4, y1 - 4, r - 3)
    c.shape(screen, LCD_SCREEN, box=box)
    c.shape(sd_sub(screen, shifted(screen, 0, 2.0)), '#000000', 0.14, box=box)
    # the label's own rectangle stays one flat colour behind its digits
    tx, ty, tw, th = TIME_RECT
    c.rect(tx, ty, tx + tw, ty + th, LCD_SCREEN)
    text(c, 'SECONDS', x0 + 12, (y0 + y1) // 2 - 3, '#5F7A68')
    cx = x0 + 12 + pixelfont.text_width('SECONDS') + 10.5
    cy = (y0 + y1) / 2.0
    clock = sd_circle(cx, cy, 5.5)
    cb = box_of(cx - 6, cy - 6, cx + 6, cy + 6)
    c.shape(sd_sub(clock, inset(clock, 1.4)), '#5F7A68', box=cb)
    c.rect(int(cx), int(cy) - 3, int(cx) + 1, int(cy) + 1, '#5F7A68')
    c.rect(int(cx), int(cy), int(cx) + 3, int(cy) + 1, '#5F7A68')


def draw_wordmark(c):
    name = 'QUORVELL'
    x, y = 186, 403
    text(c, name, x, y + 1, '#FFFFFF', 2, 0.9)
    text(c, name, x, y, SLATE, 2)
    text(c, 'SOUND RECORDER', x, y + 20, '#8A8F96')


def draw_base():
    c = Canvas(SIZE, SIZE)
    draw_shell(c)
    draw_wave(c)
    draw_card(c)
    draw_quality_legend(c)
    draw_grille(c)
    draw_lcd(c)
    draw_wordmark(c)
    for b in BUTTONS:
        draw_shadow(c, button_shape(b), rect_of(b), 0.28 if b.part in ('PLAY', 'STOP', 'RECORD') else 0.2)
    return c


# --------------------------------------------------------- the pictures --
def outline_mask(b):
    """Button-local pixels inside the shape: whole pixels at half coverage."""
    f = button_shape(b)
    return [f(b.left + x + 0.5, b.top + y + 0.5) <= 0.0 for y in range(b.height) for x in range(b.width)]


def cut(pixels, mask):
    return [p if inside else KEY for p, inside in zip(pixels, mask)]


def pictures():
    """(resource name, width, height, pixels) of every bitmap."""
    base = draw_base()
    window = base.copy()
    out = []
    for b in BUTTONS:
        DRAWERS[b.part](window, b, 'NORMAL')
        mask = outline_mask(b)
        for state in layout.STATES:
            c = base.copy() if state != 'NORMAL' else window
            if state != 'NORMAL':
                DRAWERS[b.part](c, b, state)
            out.append((b.resource(state), b.width, b.height,
                        cut(c.crop(b.left, b.top, b.width, b.height).pixels(KEY), mask)))
        silhouette = Canvas(b.width, b.height, SLATE).pixels()
        out.append((b.resource('OUTLINE'), b.width, b.height, cut(silhouette, mask)))
    pixels = window.pixels(KEY)
    qx, qy, qw, qh = QUALITY_RECT
    quality = [pixels[(qy + y) * SIZE + qx + x] for y in range(qh) for x in range(qw)]
    return [(layout.WINDOW, SIZE, SIZE, pixels)] + out + [(layout.QUALITY, qw, qh, quality)]


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: generate.py OUTDIR\n')
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    images = pictures()
    order = [name for name, _, _ in layout.resources()]
    images.sort(key=lambda im: order.index(im[0]))
    for name, w, h, pixels in images:
        write_bmp(os.path.join(outdir, name + '.bmp'), w, h, pixels, 24)
    with open(os.path.join(outdir, 'recorder.rc'), 'w') as f:
        f.write('// Pictures of the recorder window, written by resources/recorder/generate.py.\n')
        f.write(''.join('%s BITMAP "%s.bmp"\n' % (name, name) for name, _, _, _ in images))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
