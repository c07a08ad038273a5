#!/usr/bin/env python3
"""Makes sure check.py notices the faults that would show in the window:
each case spoils a copy of the generated pictures in one way and expects
exactly the matching group of checks to fail.

    check_faults.py DIR      (DIR holds the output of generate.py)
"""
import contextlib
import io
import os
import shutil
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of caches

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import layout  # noqa: E402
from check import Checker, Picture  # noqa: E402
from layout import BUTTONS, KEY  # noqa: E402
from stylekit import style_module  # noqa: E402

BUTTON = {b.part: b for b in BUTTONS}


def edit(d, name, change):
    path = os.path.join(d, name + '.bmp')
    pic = Picture(path)
    change(pic)
    style_module('raster').write_bmp(path, pic.w, pic.h, pic.px, 24)


def first_body_pixel(pic, y):
    return next(x for x in range(pic.w) if pic.at(x, y) != KEY)


def blend_body_edge(pic):
    y = 220
    x = first_body_pixel(pic, y)
    pic.px[y * pic.w + x] = tuple((a + k) // 2 for a, k in zip(pic.at(x + 2, y), KEY))


def set_pixel(x, y, colour):
    def change(pic):
        pic.px[y * pic.w + x] = colour
    return change


def shrink(pic):
    pic.w, pic.h, pic.px = 10, 10, pic.px[:100]


rb, pb = BUTTON['RECORD'], BUTTON['PLAY']
CASES = (
    ('a blended body edge', layout.WINDOW, blend_body_edge, 'edges'),
    ('a hole in the body', layout.WINDOW, set_pixel(300, 190, KEY), 'window'),
    ('the key inside the play button', pb.resource('HOT'), set_pixel(38, 38, KEY), pb.control),
    ('a window that differs under a button', layout.WINDOW,
     set_pixel(rb.left + 100, rb.top + 20, (0, 0, 0)), rb.control),
    ('a radio cell off its grey', layout.WINDOW, set_pixel(290, 140, (190, 190, 190)), 'quality'),
    ('a mark in the seconds cell', layout.WINDOW, set_pixel(350, 360, (0, 0, 0)), 'time'),
    ('a picture of the wrong size', BUTTON['HELP'].resource('DOWN'), shrink, 'files'),
)


def main(d):
    passed = failed = 0
    for title, name, change, group in CASES:
        with tempfile.TemporaryDirectory() as work:
            copy = os.path.join(work, 'pictures')
            shutil.copytree(d, copy)
            edit(copy, name, change)
            checker = Checker(copy)
            with contextlib.redirect_stdout(io.StringIO()):
                checker.run()
        caught = sorted(g for g, errors in checker.results.items() if errors)
        if caught == [group]:
            passed += 1
        else:
            failed += 1
            print('%s: wanted only %s to fail, failed: %s' % (title, group, caught or 'nothing'))
    print('%d passed, %d failed' % (passed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
