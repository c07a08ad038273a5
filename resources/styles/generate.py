#!/usr/bin/env python3
"""Draws the bitmaps of the five built-in UI styles and writes styles.rc.

    generate.py OUTDIR

Each style is one palette applied to the same set of element drawers, so
its push buttons, glyphs, title bar and extras read as one family. Sizes
and piece counts are the ones the skin library cuts the strips by; the
extras no class loads yet get small strips of the usual kind.

Transparency rules the drawers follow:
  * radio glyphs and the PROTEIN/BLUEGLASS title buttons are drawn with
    their lower-left pixel colour see-through: background is $FF00FF;
  * push buttons may be drawn with their top-left colour see-through, so
    their corners carry the style's form colour and the face never does;
  * opaque title buttons sit on the title bar: their background repeats
    the bar's own rows at the button top, pixel for pixel.
"""

import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from raster import (MAGENTA, Canvas, hexrgb, hstack, mix, sd_circle, sd_ellipse,  # noqa: E402
                    sd_polyline, sd_rrect, sd_ring, sd_segment, vgrad, write_bmp)

# ---------------------------------------------------------------- glyphs --
G9 = {
    'menu': [".........", "#########", "#########", ".........", "#########",
             "#########", ".........", "#########", "#########"],
    'help': ["..#####..", ".##...##.", ".##...##.", ".....##..", "....##...",
             "...##....", "...##....", ".........", "...##...."],
    'max': ["#########", "#########", "#.......#", "#.......#", "#.......#",
            "#.......#", "#.......#", "#.......#", "#########"],
    'restore': ["..#######", "..#######", "..#.....#", "#######.#", "#######.#",
                "#.....###", "#.....#..", "#.....#..", "#######.."],
    'min': [".........", ".........", ".........", ".........", ".........",
            ".........", ".........", ".#######.", ".#######."],
    'close': ["##.....##", "###...###", ".###.###.", "..#####..", "...###...",
              "..#####..", ".###.###.", "###...###", "##.....##"],
}
G7 = {
    'menu': [".......", "#######", ".......", "#######", ".......", "#######", "......."],
    'help': [".#####.", "##...##", ".....##", "...###.", "...##..", ".......", "...##.."],
    'max': ["...#...", "...#...", "...#...", "#######", "...#...", "...#...", "...#..."],
    'restore': ["..#####", "..#...#", "#####.#", "#...#.#", "#...###", "#...#..", "#####.."],
    'min': [".......", ".......", ".......", "#######", ".......", ".......", "......."],
    'close': ["##...##", ".##.##.", "..###..", "...#...", "..###..", ".##.##.", "##...##"],
}
TITLE_KINDS = ['menu', 'help', 'max', 'restore', 'min', 'close']
STATES = ['normal', 'hot', 'down']

ARROW_UP = ["...#...", "..###..", ".#####.", "#######"]


def arrow(direction):
    rows = ARROW_UP
    if direction == 'down':
        return rows[::-1]
    if direction in ('left', 'right'):
        cols = ["".join(r[i] for r in rows) for i in range(len(rows[0]))]
        return cols if direction == 'left' else [c[::-1] for c in cols]
    return rows


# ---------------------------------------------------------------- styles --
# Colours are RGB. 'form' is the style's form colour; menu colours come
# from the same tables the menus use, so strips and menus agree.
STYLES = {
    'MACOS': dict(
        form='#E7E7E7', edge='#8A8A8A', edge_hot='#3F7FD0', edge_down='#235EB0',
        face=('#FDFDFD', '#E4E4E4', '#D2D2D2'), face_hot=('#D8ECFF', '#8FC2F5', '#5FA4EC'),
        face_down=('#9CC8F2', '#4E92E0', '#3478D0'), accent='#3973C4', accent_dark='#1E4E9A',
        accent_light='#9CCBFA', ink='#303030', radius=11.0, gloss=True,
        title=[(0, '#F6F6F6'), (0.5, '#DDDDDD'), (1.0, '#C4C4C4')], title_edge='#9A9A9A',
        title_bottom='#8A8A8A', btn_top=4),
    'WINXP': dict(
        form='#EFEBDE', edge='#1C3F94', edge_hot='#E8A33A', edge_down='#1C3F94',
        face=('#FFFFFF', '#F4F3EE', '#D8D6CC'), face_hot=('#FFFFFF', '#F6F4EC', '#DCD8C8'),
        face_down=('#D6D3C6', '#E2E0D6', '#F0EFEA'), accent='#3169C6', accent_dark='#0031A8',
        accent_light='#8CB4F0', ink='#21A121', radius=3.0, gloss=False,
        title=[(0, '#5A9CFF'), (0.12, '#2C7CF6'), (0.3, '#0C5FE6'), (0.75, '#0553DA'),
               (0.92, '#0848C4'), (1.0, '#00339A')], title_edge='#0D3FB0', btn_top=5),
    'DEEPBLUE': dict(
        form='#E8E8E8', edge='#14286A', edge_hot='#2F5BC8', edge_down='#0C1B4C',
        face=('#F6F8FC', '#DDE3EF', '#C3CCDE'), face_hot=('#F2F7FF', '#CFDDF6', '#A9C0EA'),
        face_down=('#9EB0D6', '#B8C6E2', '#D2DBEE'), accent='#444AA0', accent_dark='#14286A',
        accent_light='#8EA6E0', ink='#14286A', radius=3.0, gloss=False,
        btn_top=2),
    'PROTEIN': dict(
        form='#FBFBFB', edge='#8A4A14', edge_hot='#C0621A', edge_down='#6E3608',
        face=('#FFF4DC', '#FFD98E', '#F5B552'), face_hot=('#FFF8E6', '#FFE2A0', '#FFC062'),
        face_down=('#E8A040', '#F3B85C', '#FAD088'), accent='#E07A1E', accent_dark='#7A3C0C',
        accent_light='#FFD07A', ink='#7A3C0C', radius=8.0, gloss=True,
        btn_top=2),
    'BLUEGLASS': dict(
        form='#E7E7E7', edge='#4F7FC0', edge_hot='#2F66C8', edge_down='#244E9E',
        face=('#FAFDFF', '#DCEBFA', '#BCD6F2'), face_hot=('#FFFFFF', '#D2E8FF', '#A8CFF8'),
        face_down=('#A9C8EC', '#C4DAF2', '#DDEAF8'), accent='#3C7CDC', accent_dark='#2A4E9A',
        accent_light='#B4D6FA', ink='#1E3E7A', radius=6.0, gloss=True,
        btn_top=6),
}

# Title bar rows, per style. Opaque title buttons reuse these rows.
# DEEPBLUE's client section holds 16 colours, so its ramp is stepped.
DEEPBLUE_ROWS = (['#6A86CC'] + ['#3550A0'] * 2 + ['#2E4896'] * 3 + ['#2A428C'] * 3 + ['#253C82'] * 3
                 + ['#1F3476'] * 3 + ['#182B66'] * 3 + ['#1B2F6C'] * 4 + ['#1F3574'] * 3
                 + ['#243B7E'] * 3 + ['#2C4A96'] * 2 + ['#3A5CB0'] + ['#0A1434'])
PROTEIN_ROWS = (['#FFE6B0', '#FFD27E', '#FFC466', '#FBB650', '#F6A842', '#F6A842', '#F09A34',
                 '#F09A34', '#E98C2A', '#E98C2A', '#E48224', '#E48224', '#DD781E', '#DD781E',
                 '#D56C1A', '#D56C1A', '#CC6216', '#CC6216', '#C25814', '#C25814', '#B04E12',
                 '#9A4410', '#6E300A'])
BLUEGLASS_ROWS = None  # built below


def _blueglass_rows():
    rows = ['#E8F4FF']
    top = vgrad([(0, '#A6CDF4'), (1, '#7FB0E8')], 0, 14)
    bot = vgrad([(0, '#4C86D4'), (1, '#6FA4E4')], 0, 16)
    rows += [top(0, y) for y in range(15)]
    rows += [bot(0, y) for y in range(16)]
    rows += ['#2E5EA8']
    return [hexrgb(r) if isinstance(r, str) else tuple(int(round(v)) for v in r) for r in rows]


def title_rows(name, h):
    s = STYLES[name]
    if name == 'DEEPBLUE':
        rows = [hexrgb(c) for c in DEEPBLUE_ROWS]
    elif name == 'PROTEIN':
        rows = [hexrgb(c) for c in PROTEIN_ROWS]
    elif name == 'BLUEGLASS':
        rows = _blueglass_rows()
    else:
        g = vgrad(s['title'], 0, h - 1)
        rows = [tuple(int(round(v)) for v in g(0, y)) for y in range(h)]
        if name == 'MACOS':
            # fine horizontal pinstripes, a light top line and a dark base line
            rows = [tuple(min(255, v + (4 if y % 2 == 0 else 0)) for v in c) for y, c in enumerate(rows)]
            rows[0] = hexrgb('#FFFFFF')
            rows[-1] = hexrgb(s['title_bottom'])
        if name == 'WINXP':
            rows[0] = hexrgb('#7AB4FF')
    assert len(rows) == h, (name, len(rows), h)
    return rows


def c3(s):
    return hexrgb(s) if isinstance(s, str) else s


# ---------------------------------------------------------- push button --
def push_button(st, w, h, state):
    c = Canvas(w, h, st['form'])
    face = {'normal': st['face'], 'hot': st['face_hot'], 'down': st['face_down']}[state]
    edge = {'normal': st['edge'], 'hot': st['edge_hot'], 'down': st['edge_down']}[state]
    r = min(st['radius'], (h - 1) / 2.0)
    outer = sd_rrect(0, 0, w, h, r)
    c.shape(outer, edge)
    inner = sd_rrect(1, 1, w - 1, h - 1, max(0.5, r - 1))
    c.shape(inner, vgrad([(0, face[0]), (0.5, face[1]), (1, face[2])], 1, h - 1))
    if st['gloss'] and state != 'down':
        gl = sd_rrect(2, 1, w - 2, h * 0.5, max(0.5, r - 2))
        c.shape(gl, '#FFFFFF', alpha=0.45)
    elif state != 'down':
        c.shape(sd_rrect(1, 1, w - 1, 2, max(0.5, r - 1)), '#FFFFFF', alpha=0.8)
    if state == 'hot' and not st['gloss']:
        # a warm or bright rim just inside the border marks the hot state
        c.shape(sd_ring(sd_rrect(1.5, 1.5, w - 1.5, h - 1.5, max(0.5, r - 1.5)), 1.0), st['edge_hot'], 0.7)
    return c


# ------------------------------------------------------------ check box --
def check_mark(c, x0, y0, s, colour, width=1.9):
    pts = [(x0 + 0.22 * s, y0 + 0.52 * s), (x0 + 0.42 * s, y0 + 0.74 * s), (x0 + 0.80 * s, y0 + 0.26 * s)]
    c.shape(sd_polyline(pts, width), colour)


def check_box(st, w, h, checked, enabled, name):
    c = Canvas(w, h, st['form'])
    s = 13
    x0 = (w - s) // 2
    y0 = (h - s) // 2
    if name == 'MACOS':
        y0 = 1
        c.shape(sd_rrect(x0 + 0.5, y0 + 1.5, x0 + s - 0.5, y0 + s + 1.2, 3), '#000000', alpha=0.18)
    r = {'MACOS': 3.0, 'WINXP': 1.0, 'DEEPBLUE': 2.0, 'PROTEIN': 4.0, 'BLUEGLASS': 3.0}[name]
    edge = st['edge'] if enabled else '#A8A8A8'
    if name == 'WINXP':
        edge = '#1C5180' if enabled else '#C9C7BA'
    c.shape(sd_rrect(x0, y0, x0 + s, y0 + s, r), edge)
    if enabled:
        if checked and name in ('MACOS', 'BLUEGLASS'):
            fill = vgrad([(0, st['accent_light']), (1, st['accent'])], y0, y0 + s)
        else:
            fill = vgrad([(0, '#E6E6E0' if name == 'WINXP' else st['face'][2]), (1, '#FFFFFF')], y0, y0 + s) \
                if name in ('WINXP', 'DEEPBLUE') else vgrad([(0, '#FFFFFF'), (1, st['face'][1])], y0, y0 + s)
    else:
        fill = vgrad([(0, '#F2F2F2'), (1, '#E2E2E2')], y0, y0 + s)
    c.shape(sd_rrect(x0 + 1, y0 + 1, x0 + s - 1, y0 + s - 1, max(0.5, r - 1)), fill)
    if st['gloss'] and enabled:
        c.shape(sd_rrect(x0 + 2, y0 + 1.5, x0 + s - 2, y0 + s * 0.5, max(0.5, r - 2)), '#FFFFFF', 0.5)
    if checked:
        ink = st['ink'] if enabled else '#A0A0A0'
        if name in ('MACOS', 'BLUEGLASS') and enabled:
            ink = '#FFFFFF' if name == 'BLUEGLASS' else '#10305E'
        check_mark(c, x0, y0, s, ink)
    return c


def radio(st, w, h, checked, enabled, name):
    c = Canvas(w, h)
    d = 13.0 if w <= 13 else 14.0
    cx, cy = w / 2.0, 7.0 if h > 13 else 6.5
    if name == 'MACOS':
        cy = 7.5
        c.shape(sd_circle(cx, cy + 0.8, d / 2), '#000000', alpha=0.25)
    rad = d / 2.0
    edge = st['edge'] if enabled else '#A8A8A8'
    if name == 'WINXP':
        edge = '#1C5180' if enabled else '#C9C7BA'
    c.shape(sd_circle(cx, cy, rad), edge)
    if enabled:
        if checked and name in ('MACOS', 'BLUEGLASS', 'PROTEIN'):
            fill = vgrad([(0, st['accent_light']), (1, st['accent'])], cy - rad, cy + rad)
        elif name == 'DEEPBLUE':
            fill = vgrad([(0, '#C9D3E8'), (1, '#FFFFFF')], cy - rad, cy + rad)
        elif name == 'WINXP':
            fill = vgrad([(0, '#DCDCD4'), (1, '#FFFFFF')], cy - rad, cy + rad)
        else:
            fill = vgrad([(0, '#FFFFFF'), (1, st['face'][1])], cy - rad, cy + rad)
    else:
        fill = vgrad([(0, '#F2F2F2'), (1, '#E0E0E0')], cy - rad, cy + rad)
    c.shape(sd_circle(cx, cy, rad - 1), fill)
    if st['gloss'] and enabled:
        c.shape(sd_ellipse(cx, cy - rad * 0.45, rad * 0.62, rad * 0.36), '#FFFFFF', 0.6)
    if checked:
        if not enabled:
            dot = '#A0A0A0'
        elif name == 'DEEPBLUE':
            dot = vgrad([(0, '#5A70D0'), (1, '#14286A')], cy - 3, cy + 3)
        elif name == 'WINXP':
            dot = vgrad([(0, '#5ED05E'), (1, '#1E8C1E')], cy - 3, cy + 3)
        elif name == 'PROTEIN':
            dot = '#7A3C0C'
        else:
            dot = '#10305E' if name == 'MACOS' else '#FFFFFF'
        c.shape(sd_circle(cx, cy, 2.6 if d == 13 else 3.0), dot)
    return c


# --------------------------------------------------------- title bar ----
def title_buttons(name, st, pw, ph):
    top = st['btn_top']
    transparent = name in ('PROTEIN', 'BLUEGLASS')
    pieces = []
    for kind in TITLE_KINDS:
        for state in STATES:
            if transparent:
                c = Canvas(pw, ph)
            else:
                rows = title_rows(name, TITLE_H[name])
                c = Canvas(pw, ph)
                for y in range(ph):
                    c.rect(0, y, pw, y + 1, rows[top + y])
            draw_title_button(c, name, st, kind, state)
            pieces.append(c)
    return hstack(pieces)


def draw_title_button(c, name, st, kind, state):
    w, h = c.w, c.h
    close = kind == 'close'
    if name == 'MACOS':
        cx, cy, r = w / 2.0, h / 2.0, 6.5
        if state == 'normal':
            body = ('#F4F4F4', '#B8B8B8', '#8E8E8E')
        elif close:
            body = ('#FFC2B4', '#F0604A', '#C83A26') if state == 'hot' else ('#F09080', '#C83A26', '#9A2414')
        else:
            body = ('#D6ECFF', '#5FA4EC', '#2F74C8') if state == 'hot' else ('#8EC0F0', '#2F74C8', '#1A4E9A')
        c.shape(sd_circle(cx, cy + 0.6, r + 0.3), '#000000', 0.18)
        c.shape(sd_circle(cx, cy, r), '#6A6A6A' if state == 'normal' else ('#8A2010' if close else '#1A4A8E'))
        c.shape(sd_circle(cx, cy, r - 1), vgrad([(0, body[2]), (0.55, body[1]), (1, body[0])], cy - r, cy + r))
        c.shape(sd_ellipse(cx, cy - 2.6, 4.0, 2.4), '#FFFFFF', 0.75)
        ink = '#505050' if state == 'normal' else ('#5A1006' if close else '#0E2E62')
        g = G7[kind]
        c.pattern(g, (w - 7) // 2, (h - 7) // 2, ink, 0.85)
        return
    if name == 'WINXP':
        if close:
            face = {'normal': ('#F0A080', '#E05A2C', '#C83C10'), 'hot': ('#FFC0A0', '#F27848', '#DA5020'),
                    'down': ('#B83410', '#C84418', '#D86030')}[state]
        else:
            face = {'normal': ('#7EB0FF', '#3C82F0', '#2060E0'), 'hot': ('#A8CCFF', '#5C9CFF', '#3A7CF0'),
                    'down': ('#1A4CC0', '#2A60D4', '#3A74E4')}[state]
        c.shape(sd_rrect(0, 0, w, h, 3), '#FFFFFF')
        c.shape(sd_rrect(1, 1, w - 1, h - 1, 2), vgrad([(0, face[0]), (0.5, face[1]), (1, face[2])], 1, h - 1))
        off = 1 if state == 'down' else 0
        ox, oy = (w - 9) // 2 + off, (h - 9) // 2 + off
        c.pattern(G9[kind], ox + 1, oy + 1, '#0A2A80' if not close else '#8A2000', 0.5)
        c.pattern(G9[kind], ox, oy, '#FFFFFF')
        return
    if name == 'DEEPBLUE':
        face = {'normal': '#2A4490', 'hot': '#C0392B' if close else '#3C66CC', 'down': '#122460'}[state]
        rim = {'normal': '#6A86CC', 'hot': '#E8A098' if close else '#9CB6EE', 'down': '#3550A0'}[state]
        c.shape(sd_rrect(1, 1, w - 1, h - 1, 3), rim)
        c.shape(sd_rrect(2, 2, w - 2, h - 2, 2), face)
        off = 1 if state == 'down' else 0
        ox, oy = (w - 9) // 2 + off, (h - 9) // 2 + off
        c.pattern(G9[kind], ox + 1, oy + 1, '#0A1434')
        c.pattern(G9[kind], ox, oy, '#FFFFFF')
        return
    if name == 'PROTEIN':
        cx, cy, r = w / 2.0, h / 2.0, 7.6
        body = {'normal': ('#FFE2A0', '#F5A840', '#C86A18'),
                'hot': ('#FFD0B0', '#F07040', '#C04018') if close else ('#FFF0C8', '#FFC060', '#E08420'),
                'down': ('#B85A14', '#D0761E', '#E89A40')}[state]
        c.shape(sd_circle(cx, cy, r), '#6E300A')
        c.shape(sd_circle(cx, cy, r - 1), vgrad([(0, body[0]), (0.5, body[1]), (1, body[2])], cy - r, cy + r))
        if state != 'down':
            c.shape(sd_ellipse(cx, cy - 3.5, 4.6, 2.4), '#FFF6E0', 0.7)
        off = 1 if state == 'down' else 0
        ink = '#FFFFFF' if (close and state == 'hot') or state == 'down' else '#6E300A'
        c.pattern(G7[kind], (w - 7) // 2 + off, (h - 7) // 2 + off, ink)
        return
    # BLUEGLASS
    face = {'normal': ('#EAF4FF', '#A8CCF2', '#6EA2E0'),
            'hot': ('#FFE0E0', '#F08888', '#D04848') if close else ('#F4FAFF', '#BCDCFF', '#7CB4F4'),
            'down': ('#4E80C8', '#6C9CDA', '#94BCEA')}[state]
    c.shape(sd_rrect(1, 1, w - 1, h - 1, 5), '#2A4E9A' if not (close and state == 'hot') else '#8A2020')
    c.shape(sd_rrect(2, 2, w - 2, h - 2, 4), vgrad([(0, face[0]), (0.5, face[1]), (1, face[2])], 2, h - 2))
    if state != 'down':
        c.shape(sd_rrect(3, 2.5, w - 3, h * 0.48, 3), '#FFFFFF', 0.55)
    off = 1 if state == 'down' else 0
    ink = '#FFFFFF' if state == 'down' or (close and state == 'hot') else '#1E3E7A'
    c.pattern(G7[kind], (w - 7) // 2 + off, (h - 7) // 2 + off, ink)


TITLE_H = {'MACOS': 23, 'WINXP': 29, 'DEEPBLUE': 32, 'PROTEIN': 23, 'BLUEGLASS': 33}


def title_base(name, w):
    h = TITLE_H[name]
    rows = title_rows(name, h)
    c = Canvas(w, h)
    for y, col in enumerate(rows):
        c.rect(0, y, w, y + 1, col)
    return c, rows


def title_left(name, st, w):
    c, rows = title_base(name, w)
    h = c.h
    if name == 'MACOS':
        c.rect(0, 0, 1, h, st['title_edge'])
        c.shape(sd_ring(sd_rrect(0.5, 0.5, w + 8, h + 8, 4), 1), '#FFFFFF', 0.6, box=(0, 0, 8, h))
    elif name == 'WINXP':
        # bright left rim under the rounded corner
        c.rect(0, 0, 1, h, st['title_edge'])
        c.shape(sd_segment(1.5, 2, 1.5, h - 3, 1), '#6AA8FF', 0.8)
    elif name == 'DEEPBLUE':
        # a soft light sweep behind the icon and caption start
        glow = sd_ellipse(24, 10, 64, 13)
        c.shape(glow, '#5A78C8', 0.35, box=(0, 1, w - 6, 22))
        c.shape(sd_ellipse(18, 7, 40, 6), '#8FA8E4', 0.25, box=(0, 1, w - 6, 14))
        c.rect(0, 0, w, 1, rows[0])
        c.rect(0, 0, 1, h, '#0A1434')
    elif name == 'PROTEIN':
        # an organic brown plate carrying the icon and caption
        plate = sd_rrect(-12, 2.5, w - 40, h - 2.5, 9)
        lobe = sd_ellipse(w - 46, h / 2.0, 20, (h - 5) / 2.0)
        blob = lambda x, y: min(plate(x, y), lobe(x, y))  # noqa: E731
        c.shape(sd_ring(blob, 1.6), '#FFE6B0', 0.55, box=(0, 0, w - 20, h))
        c.shape(blob, vgrad([(0, '#B86A22'), (0.5, '#96501A'), (1, '#7A3C10')], 2.5, h - 2.5), box=(0, 0, w - 20, h))
        c.shape(sd_ellipse(150, 5.5, 170, 2.2), '#FFD08A', 0.35, box=(0, 0, w - 40, 10))
        for i, x in enumerate(range(w - 34, w - 8, 8)):
            c.shape(sd_circle(x + 0.5, h / 2.0, 2.5 - i * 0.5), '#9A4410', 0.6)
        c.rect(0, 0, 1, h, '#6E300A')
    elif name == 'BLUEGLASS':
        c.shape(sd_ellipse(40, 9, 70, 9), '#FFFFFF', 0.28, box=(0, 1, w - 10, 18))
        c.rect(0, 0, 1, h, '#2E5EA8')
        c.shape(sd_segment(1.5, 1, 1.5, h - 2, 1), '#CFE6FF', 0.7)
    return c


def title_right(name, st, w):
    c, rows = title_base(name, w)
    h = c.h
    if name == 'MACOS':
        c.rect(w - 1, 0, w, h, st['title_edge'])
    elif name == 'WINXP':
        c.rect(w - 1, 0, w, h, st['title_edge'])
    elif name == 'DEEPBLUE':
        # accent line below the buttons, fading in from the left
        c.shape(sd_segment(4, 28.5, w - 3, 28.5, 1), lambda x, y: mix(hexrgb('#2C4A96'), hexrgb('#8EA6E0'), x / w))
        c.rect(w - 1, 0, w, h, '#0A1434')
    elif name == 'PROTEIN':
        pass  # one column, the same rows as the middle
    elif name == 'BLUEGLASS':
        c.rect(w - 1, 0, w, h, '#2E5EA8')
        c.shape(sd_segment(w - 1.5, 1, w - 1.5, h - 2, 1), '#CFE6FF', 0.5)
    return c


def title_client(name, w):
    return title_base(name, w)[0]


# -------------------------------------------------------------- extras ---
def _frame(c, x0, y0, x1, y1, r, edge, face, gloss=False):
    c.shape(sd_rrect(x0, y0, x1, y1, r), edge)
    c.shape(sd_rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, max(0.5, r - 1)), face)
    if gloss:
        c.shape(sd_rrect(x0 + 1.5, y0 + 1, x1 - 1.5, (y0 + y1) / 2.0, max(0.5, r - 1.5)), '#FFFFFF', 0.45)


def face_grad(st, state, y0, y1):
    f = {'normal': st['face'], 'hot': st['face_hot'], 'down': st['face_down']}[state]
    return vgrad([(0, f[0]), (0.5, f[1]), (1, f[2])], y0, y1)


def accent_grad(st, y0, y1):
    return vgrad([(0, st['accent_light']), (0.55, st['accent']), (1, st['accent_dark'])], y0, y1)


def progress_bar(st):
    # piece 1 the empty track, piece 2 the filled bar; both stretch sideways
    a = Canvas(20, 14, st['form'])
    _frame(a, 0, 0, 20, 14, 3, st['edge'], vgrad([(0, '#D0D0D0'), (1, '#FAFAFA')], 1, 13))
    b = Canvas(20, 14, st['form'])
    _frame(b, 0, 0, 20, 14, 3, st['accent_dark'], accent_grad(st, 1, 13), st['gloss'])
    return hstack([a, b])


def trackbar_bar(st):
    # left cap, middle, right cap of the groove
    c = Canvas(30, 6, st['form'])
    _frame(c, 0, 0, 30, 6, 2.5, st['edge'], vgrad([(0, '#B8B8B8'), (1, '#F4F4F4')], 1, 5))
    return c


def trackbar_slider(st, vertical):
    pieces = []
    for state in STATES:
        w, h = (19, 11) if vertical else (11, 19)
        c = Canvas(w, h, st['form'])
        edge = {'normal': st['edge'], 'hot': st['edge_hot'], 'down': st['edge_down']}[state]
        _frame(c, 0, 0, w, h, 3, edge, face_grad(st, state, 1, h - 1), st['gloss'])
        if vertical:
            for x in (7, 9, 11):
                c.rect(x, 3, x + 1, h - 3, st['edge'], 0.6)
        else:
            for y in (7, 9, 11):
                c.rect(3, y, w - 3, y + 1, st['edge'], 0.6)
        pieces.append(c)
    return hstack(pieces)


def scrollbar_button(st):
    # up, down, left, right; each normal, hot, pressed
    pieces = []
    for d in ('up', 'down', 'left', 'right'):
        for state in STATES:
            c = Canvas(16, 16, st['form'])
            edge = {'normal': st['edge'], 'hot': st['edge_hot'], 'down': st['edge_down']}[state]
            _frame(c, 0, 0, 16, 16, 3, edge, face_grad(st, state, 1, 15), st['gloss'])
            g = arrow(d)
            gw, gh = len(g[0]), len(g)
            off = 1 if state == 'down' else 0
            c.pattern(g, (16 - gw) // 2 + off, (16 - gh) // 2 + off, st['ink'] if st['ink'] != '#21A121' else '#21449A')
            pieces.append(c)
    return hstack(pieces)


def scrollbar_track(st):
    # track, thumb, thumb pressed
    t = Canvas(16, 16, vgrad([(0, '#D8D8D8'), (1, '#F0F0F0')], 0, 16))
    t.rect(0, 0, 1, 16, '#C0C0C0')
    t.rect(15, 0, 16, 16, '#C0C0C0')
    pieces = [t]
    for state in ('normal', 'down'):
        c = Canvas(16, 16, vgrad([(0, '#D8D8D8'), (1, '#F0F0F0')], 0, 16))
        fill = accent_grad(st, 1, 15) if state == 'down' else face_grad(st, 'hot', 1, 15)
        _frame(c, 1, 0, 15, 16, 3, st['edge'], fill, st['gloss'])
        for y in (6, 8, 10):
            c.rect(5, y, 11, y + 1, st['edge'], 0.6)
        pieces.append(c)
    return hstack(pieces)


def scroll_button(st):
    # small menu scrollers: up and down, each normal, hot, pressed
    pieces = []
    for d in ('up', 'down'):
        for state in STATES:
            c = Canvas(16, 10, face_grad(st, state, 0, 10))
            c.rect(0, 0, 16, 1, st['edge'], 0.5)
            c.rect(0, 9, 16, 10, st['edge'], 0.5)
            g = arrow(d)
            c.pattern(g, 4 + (1 if state == 'down' else 0), 3, st['accent_dark'])
            pieces.append(c)
    return hstack(pieces)


def tab(st):
    # normal, hot, selected; each a 3-slice (cap, stretched middle, cap)
    pieces = []
    for state in ('normal', 'hot', 'sel'):
        c = Canvas(60, 22, st['form'])
        top = 2 if state != 'sel' else 0
        fill = face_grad(st, 'normal' if state == 'normal' else 'hot', top, 22)
        if state == 'sel':
            fill = vgrad([(0, '#FFFFFF'), (1, st['form'])], 0, 22)
        c.shape(sd_rrect(0, top, 60, 30, 4), st['edge'])
        c.shape(sd_rrect(1, top + 1, 59, 30, 3), fill)
        if state != 'normal':
            c.shape(sd_rrect(2.5, top + 0.5, 57.5, top + 2.5, 1.5), st['accent'])
        if state != 'sel':
            c.rect(0, 21, 60, 22, st['edge'])
        pieces.append(c)
    return hstack(pieces)


def tab_line(st):
    c = Canvas(3, 4, st['form'])
    c.rect(0, 0, 3, 1, st['edge'])
    c.rect(0, 1, 3, 2, '#FFFFFF')
    return c


def side_handle(st):
    pieces = []
    for state in STATES:
        c = Canvas(12, 40, st['form'])
        edge = {'normal': st['edge'], 'hot': st['edge_hot'], 'down': st['edge_down']}[state]
        f = {'normal': st['face'], 'hot': st['face_hot'], 'down': st['face_down']}[state]
        _frame(c, 0, 0, 12, 40, 4, edge, lambda x, y, f=f: mix(hexrgb(f[0]), hexrgb(f[2]), x / 12.0))
        for y in range(14, 27, 3):
            c.shape(sd_circle(6, y + 0.5, 1.0), edge)
        pieces.append(c)
    return hstack(pieces)


def side_bar(st):
    c = Canvas(12, 30, lambda x, y: mix(hexrgb(st['face'][0]), hexrgb(st['face'][2]), x / 12.0))
    c.rect(0, 0, 1, 30, st['edge'])
    c.rect(11, 0, 12, 30, st['edge'])
    return c


def check_list(st, name):
    pieces = [check_box(st, 13, 13, ch, en, name if name != 'MACOS' else 'DEEPBLUE')
              for ch, en in ((True, True), (False, True), (True, False), (False, False))]
    return hstack(pieces)


# ------------------------------------------------------ shared bitmaps ---
MENU_BAR_ROWS = ['E9E9E9', 'FFFFFF', 'FFFFFF', 'FBFBFB', 'E9E9E9', 'FAFAFA', 'FEFEFE', 'FAFAFA', 'E9E9E9',
                 'FAFAFA', 'FFFFFF', 'FAFAFA', 'E9E9E9', 'FAFAFA', 'FFFFFF', 'F9F9F9', 'E8E9EB', 'FAFAFA',
                 'FFFFFF', 'FBF9FA', 'D4D4D4', '5B5B5D']
MENU_SELECT_ROWS = ['2359B3', '336ABC', '3973C4', '336ABC', '2359B3', '336ABC', '3973C4', '336ABC', '275CB8',
                    '336ABC', '3A72BF', '336ABC', '2359B3', '336ABC', '3973C4', '336ABC', '2359B3', '336ABC',
                    '3973C4', '336ABC', '2359B3']

MENU_CHECK = [
    "................",
    "................",
    "................",
    "............kk..",
    "...........kggk.",
    "..........kgggk.",
    "..kk.....kgggk..",
    ".kggk...kgggk...",
    ".kgggk.kgggk....",
    "..kgggkgggk.....",
    "...kgggggk......",
    "....kgggk.......",
    ".....kgk........",
    "......k.........",
    "................",
    "................",
]

MDI_GLYPHS = {
    'min': ["................"] * 10 + ["...##########...", "...##########..."] + ["................"] * 4,
    'restore': ["................", "................", "................",
                ".....########...", ".....########...", ".....#......#...",
                "...########..#...", "...########..#...", "...#......####..",
                "...#......#.....", "...#......#.....", "...#......#.....",
                "...########.....", "................", "................", "................"],
    'close': ["................", "................", "................",
              "...##......##...", "....##....##....", ".....##..##.....",
              "......####......", ".......##.......", "......####......",
              ".....##..##.....", "....##....##....", "...##......##...",
              "................", "................", "................", "................"],
}


# --------------------------------------------------------------- build ---
def style_images(name):
    st = STYLES[name]
    out = []

    def add(suffix, canvas, bits, key=None, fixed=()):
        if bits == 4:
            # sixteen colours: keep the outlines and ink exact, shade the rest
            fixed = tuple(fixed) + tuple(c3(st[k]) for k in ('edge', 'edge_hot', 'edge_down', 'ink'))
        out.append(('%s_%s' % (name, suffix), canvas, bits, key, fixed))

    btn = {'MACOS': (84, 23, 8), 'WINXP': (18, 21, 8), 'DEEPBLUE': (74, 21, 4),
           'PROTEIN': (74, 21, 8), 'BLUEGLASS': (77, 27, 8)}[name]
    add('BUTTON', hstack([push_button(st, btn[0], btn[1], s) for s in STATES]), btn[2], c3(st['form']))

    cb = {'MACOS': (15, 17, 8), 'WINXP': (13, 13, 8)}.get(name, (13, 13, 4))
    order = ((True, True), (False, True), (True, False), (False, False))
    add('CHECKBOX', hstack([check_box(st, cb[0], cb[1], c, e, name) for c, e in order]), cb[2], c3(st['form']))
    rb = {'MACOS': (16, 17, 8), 'WINXP': (13, 13, 8)}.get(name, (13, 13, 4))
    add('RADIOBUTTON', hstack([radio(st, rb[0], rb[1], c, e, name) for c, e in order]), rb[2], MAGENTA)

    tb = {'MACOS': (17, 17, 24), 'WINXP': (21, 21, 24)}.get(name, (19, 19, 4))
    transparent = name in ('PROTEIN', 'BLUEGLASS')
    rows = title_rows(name, TITLE_H[name])
    fixed = () if transparent else tuple(rows[st['btn_top']:st['btn_top'] + tb[1]])
    add('TITLEBTN', title_buttons(name, st, tb[0], tb[1]), tb[2], MAGENTA if transparent else None, fixed)

    lw, cw, rw = {'MACOS': (48, 49, 48), 'WINXP': (35, 37, 35), 'DEEPBLUE': (97, 98, 97),
                  'PROTEIN': (441, 1, 1), 'BLUEGLASS': (162, 179, 101)}[name]
    cbits = 4 if name in ('DEEPBLUE', 'PROTEIN') else 8
    add('TITLE_LEFT', title_left(name, st, lw), 8, None, tuple(rows))
    add('TITLE_CLIENT', title_client(name, cw), cbits, None, tuple(dict.fromkeys(rows)))
    add('TITLE_RIGHT', title_right(name, st, rw), 8, None, tuple(rows))

    form = c3(st['form'])
    add('PROGRESSBAR', progress_bar(st), 8, form)
    add('TRACKBAR_BAR', trackbar_bar(st), 8, form)
    add('TRACKBAR_SLIDER', trackbar_slider(st, False), 8, form)
    add('TRACKBAR_SLIDER_V', trackbar_slider(st, True), 8, form)
    add('SCROLLBAR_BUTTON', scrollbar_button(st), 8, form)
    add('SCROLLBAR_TRACK', scrollbar_track(st), 8)
    add('CHECKLIST', check_list(st, name), 8, form)
    if name in ('MACOS', 'WINXP'):
        add('SCROLLBUTTON', scroll_button(st), 8)
    add('TAB', tab(st), 8, form)
    add('TAB_LINE', tab_line(st), 8)
    add('SIDECHENNEL_HANDLE', side_handle(st), 8, form)
    add('SIDECHENNEL_BAR', side_bar(st), 8)
    return out


def form_background(name):
    """The 8 x 8 tile a skinned form's panel is filled with: fine pinstripes
    for MACOS, a light diagonal weave for PROTEIN, both averaging close to
    the style's form colour so controls drawn in that colour sit well on it."""
    c = Canvas(8, 8, STYLES[name]['form'])
    for y in range(8):
        for x in range(8):
            if name == 'MACOS':
                c.pixel(x, y, '#F0F0F0' if y % 2 == 0 else '#DEDEDE')
            elif (x + y) % 4 == 0:
                c.pixel(x, y, '#EFE8DC' if (x // 4 + y // 4) % 2 == 0 else '#F4EEE6')
    return c


def shared_images():
    out = []
    for name in ('MACOS', 'PROTEIN'):
        out.append(('%s_FORM_BACKGROUND' % name, form_background(name), 8, None, ()))
    bar = Canvas(1, 22)
    for y, c in enumerate(MENU_BAR_ROWS):
        bar.pixel(0, y, c)
    out.append(('MACOS_MENU_BAR', bar, 4, None, ()))
    sel = Canvas(1, 21)
    for y, c in enumerate(MENU_SELECT_ROWS):
        sel.pixel(0, y, c)
    out.append(('MACOS_MENU_SELECT', sel, 8, None, ()))

    chk = Canvas(16, 16, '#FFFFFF')
    for y, row in enumerate(MENU_CHECK):
        for x, ch in enumerate(row):
            if ch == 'k':
                chk.pixel(x, y, '#575757')
            elif ch == 'g':
                chk.pixel(x, y, '#00CB1D')
    out.append(('MENU_CHECKED', chk, 4, None, ()))

    mdi = Canvas(48, 16, '#FFFFFF')
    for i, k in enumerate(('min', 'restore', 'close')):
        mdi.pattern(MDI_GLYPHS[k], i * 16, 0, '#000000')
    out.append(('MDI_CONTROL_BUTTON', mdi, 1, None, ((0, 0, 0), (255, 255, 255))))

    # DEEPBLUE, PROTEIN and BLUEGLASS share one set of menu scrollers
    out.append(('MORE_SCROLLBUTTON', scroll_button(STYLES['DEEPBLUE']), 8, None, ()))
    return out


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: generate.py OUTDIR\n')
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    images = []
    for name in STYLES:
        images += style_images(name)
    images += shared_images()
    lines = []
    for res, canvas, bits, key, fixed in images:
        path = os.path.join(outdir, res + '.bmp')
        write_bmp(path, canvas.w, canvas.h, canvas.pixels(key), bits, key, fixed)
        lines.append('%s BITMAP "%s"' % (res, res + '.bmp'))
    with open(os.path.join(outdir, 'styles.rc'), 'w') as f:
        f.write('// Bitmaps of the built-in UI styles, written by resources/styles/generate.py.\n')
        f.write('\n'.join(lines) + '\n')
    with open(os.path.join(outdir, 'styles.list'), 'w') as f:
        f.write('\n'.join('%s %d %d %d' % (r, c.w, c.h, b) for r, c, b, _, _ in images) + '\n')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
