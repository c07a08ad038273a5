"""The style bitmaps' scripts, loaded under names of their own so that
their generate.py and check.py do not shadow this folder's."""
import importlib.util
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of caches

STYLES_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'styles')


def style_module(name):
    key = 'style_' + name
    if key not in sys.modules:
        if STYLES_DIR not in sys.path:
            sys.path.insert(0, STYLES_DIR)  # their own imports (raster)
        spec = importlib.util.spec_from_file_location(key, os.path.join(STYLES_DIR, name + '.py'))
        module = importlib.util.module_from_spec(spec)
        sys.modules[key] = module
        spec.loader.exec_module(module)
    return sys.modules[key]


def read_bmp(path):
    """(width, height, bits, pixel(x, y) with y from the top)."""
    return style_module('check').read_bmp(path)
