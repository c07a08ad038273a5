#!/usr/bin/env python3
"""Checks the recorder pictures against what the window does with them.

    check.py DIR      (DIR holds the output of generate.py)

The window and each command button are cut to the pixels that differ from
the key colour, and the buttons paint their pictures opaque, so:
  * every bitmap is listed in recorder.rc, 24-bit, of its control's size;
  * the key colour surrounds the body and leaves no hole inside it, and no
    edge pixel is a blend towards the key (it would show as a purple fringe);
  * a button's three pictures cover exactly its outline, with the key in
    the top-left corner, and differ from each other;
  * the window under a button's outline is that button's normal picture, and
    the outline lies inside the body;
  * the quality legend, which no outline cuts, holds no key colour and is the
    window's own pixels; the radio buttons' cells are their plain grey;
  * the elapsed-seconds cell is one flat colour that navy digits read on.
"""
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import layout  # noqa: E402
from layout import BUTTONS, KEY, PANEL_GREY, SIZE  # noqa: E402
from stylekit import read_bmp  # noqa: E402

NAVY = (0, 0, 128)


class Picture:
    def __init__(self, path):
        self.w, self.h, self.bits, pixel = read_bmp(path)
        self.px = [pixel(x, y) for y in range(self.h) for x in range(self.w)]

    def at(self, x, y):
        return self.px[y * self.w + x]

    def opaque(self):
        return {(i % self.w, i // self.w) for i, p in enumerate(self.px) if p != KEY}


def blended_edges(pic):
    """Edge pixels that lie on the way from a neighbour's colour to the key."""
    bad = []
    for y in range(pic.h):
        for x in range(pic.w):
            p = pic.at(x, y)
            if p == KEY:
                continue
            near = [pic.at(x + dx, y + dy) for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1),
                                                          (-1, -1), (1, -1), (-1, 1), (1, 1))
                    if 0 <= x + dx < pic.w and 0 <= y + dy < pic.h]
            if KEY not in near:
                continue
            if any(towards_key(p, q) for q in near if q != KEY):
                bad.append((x, y))
    return bad


def towards_key(p, q):
    d = [k - a for k, a in zip(KEY, q)]
    dd = sum(v * v for v in d)
    if dd == 0:
        return False
    t = sum((b - a) * v for a, b, v in zip(q, p, d)) / dd
    if not 0.12 < t < 0.95:
        return False
    off = [a + t * v - b for a, b, v in zip(q, p, d)]
    return sum(v * v for v in off) < 6.0 ** 2


def holes(pic):
    """Key pixels that the outside cannot reach: holes cut into the body."""
    seen = set()
    todo = [(x, y) for x in range(pic.w) for y in (0, pic.h - 1)] + \
           [(x, y) for y in range(pic.h) for x in (0, pic.w - 1)]
    while todo:
        x, y = todo.pop()
        if (x, y) in seen or not (0 <= x < pic.w and 0 <= y < pic.h) or pic.at(x, y) != KEY:
            continue
        seen.add((x, y))
        todo += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    return sum(1 for p in pic.px if p == KEY) - len(seen)


def luminance(c):
    def lin(v):
        v /= 255.0
        return v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (lin(v) for v in c)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


class Checker:
    def __init__(self, d):
        self.d = d
        self.results = {}
        self.pics = {}

    def expect(self, group, ok, message):
        self.results.setdefault(group, [])
        if not ok:
            self.results[group].append(message)

    def load(self):
        rc = os.path.join(self.d, 'recorder.rc')
        listed = {line.split()[0] for line in open(rc) if ' BITMAP ' in line} if os.path.exists(rc) else set()
        for name, w, h in layout.resources():
            path = os.path.join(self.d, name + '.bmp')
            present = name in listed and os.path.exists(path)
            self.expect('files', present, '%s is missing from recorder.rc or the folder' % name)
            if not present:
                continue
            pic = Picture(path)
            self.expect('files', (pic.w, pic.h, pic.bits) == (w, h, 24),
                        '%s is %dx%d %d-bit, wants %dx%d 24-bit' % (name, pic.w, pic.h, pic.bits, w, h))
            if (pic.w, pic.h) == (w, h):
                self.pics[name] = pic
        return len(self.pics) == len(layout.resources())

    def window(self):
        win = self.pics[layout.WINDOW]
        corners = [win.at(x, y) for x in (0, SIZE - 1) for y in (0, SIZE - 1)]
        self.expect('window', corners == [KEY] * 4, 'the window corners are not the key colour')
        self.expect('window', sum(p != KEY for p in win.px) > SIZE * SIZE // 4, 'the body is missing')
        n = holes(win)
        self.expect('window', n == 0, '%d key pixels lie inside the body' % n)
        for name, pic in sorted(self.pics.items()):
            bad = blended_edges(pic)
            self.expect('edges', not bad, '%s: %d edge pixels blend into the key, first at %s'
                        % (name, len(bad), bad[:1]))

    def buttons(self):
        win = self.pics[layout.WINDOW]
        body = win.opaque()
        for b in BUTTONS:
            group = b.control
            shape = self.pics[b.resource('OUTLINE')].opaque()
            self.expect(group, shape, 'the outline is empty')
            for state in layout.STATES:
                pic = self.pics[b.resource(state)]
                self.expect(group, pic.opaque() == shape, '%s does not cover exactly its outline' % state)
                self.expect(group, pic.at(0, 0) == KEY, '%s: the top-left pixel is not the key' % state)
            normal = self.pics[b.resource('NORMAL')]
            for state in ('HOT', 'DOWN'):
                self.expect(group, self.pics[b.resource(state)].px != normal.px, '%s looks like NORMAL' % state)
            self.expect(group, self.pics[b.resource('HOT')].px != self.pics[b.resource('DOWN')].px,
                        'HOT looks like DOWN')
            outside = [(x, y) for x, y in shape if (b.left + x, b.top + y) not in body]
            self.expect(group, not outside, '%d outline pixels lie off the body' % len(outside))
            differ = [(x, y) for x, y in shape if win.at(b.left + x, b.top + y) != normal.at(x, y)]
            self.expect(group, not differ, 'the window differs from NORMAL at %d pixels, first %s'
                        % (len(differ), differ[:1]))

    def panels(self):
        win = self.pics[layout.WINDOW]
        legend = self.pics[layout.QUALITY]
        qx, qy, qw, qh = layout.QUALITY_RECT
        self.expect('quality', KEY not in legend.px, 'the legend holds the key colour')
        self.expect('quality', all(legend.at(x, y) == win.at(qx + x, qy + y) for y in range(qh) for x in range(qw)),
                    'the legend differs from the window beneath it')
        for rx, ry, rw, rh in layout.RADIO_RECTS:
            cell = {win.at(x, y) for y in range(ry, ry + rh) for x in range(rx, rx + rw)}
            self.expect('quality', cell == {PANEL_GREY}, 'the radio cell at %d,%d is not plain grey' % (rx, ry))
        tx, ty, tw, th = layout.TIME_RECT
        cell = {win.at(x, y) for y in range(ty, ty + th) for x in range(tx, tx + tw)}
        self.expect('time', len(cell) == 1, 'the seconds cell has %d colours' % len(cell))
        colour = next(iter(cell))
        self.expect('time', contrast(colour, NAVY) >= 7.0, 'navy digits read poorly on %s' % (colour,))

    def run(self):
        if self.load():
            self.window()
            self.buttons()
            self.panels()
        failed = 0
        for group, errors in self.results.items():
            for e in errors:
                print('%s: %s' % (group, e))
            failed += bool(errors)
        print('%d passed, %d failed' % (len(self.results) - failed, failed))
        return 1 if failed else 0


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.stderr.write('usage: check.py DIR\n')
        sys.exit(2)
    sys.exit(Checker(sys.argv[1]).run())
