"""Tiny pixel toolkit for the style bitmaps: an RGBA canvas with
signed-distance shapes, a palette quantiser and a BMP writer.

Everything is plain Python so the build needs nothing beyond the
interpreter, and every run produces byte-identical files.
"""

import math
import struct
from collections import Counter

MAGENTA = (255, 0, 255)


def hexrgb(s):
    s = s.lstrip('#')
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


def mix(a, b, t):
    t = 0.0 if t < 0 else 1.0 if t > 1 else t
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def clamp01(v):
    return 0.0 if v < 0 else 1.0 if v > 1 else v


def vgrad(stops, y0, y1):
    """Paint function: vertical gradient through (t, colour) stops."""
    stops = [(t, hexrgb(c) if isinstance(c, str) else c) for t, c in stops]
    span = float(y1 - y0) or 1.0

    def paint(x, y):
        t = (y - y0) / span
        if t <= stops[0][0]:
            return stops[0][1]
        for (ta, ca), (tb, cb) in zip(stops, stops[1:]):
            if t <= tb:
                return mix(ca, cb, (t - ta) / ((tb - ta) or 1.0))
        return stops[-1][1]
    return paint


# ---- signed distances (negative inside), evaluated at pixel centres ----

def sd_rrect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        ox, oy = max(qx, 0.0), max(qy, 0.0)
        return math.hypot(ox, oy) + min(max(qx, qy), 0.0) - r
    return f


def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ellipse(cx, cy, rx, ry):
    # Scaled-circle approximation; good enough at these sizes.
    k = min(rx, ry)
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * k


def sd_segment(ax, ay, bx, by, w):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy or 1.0

    def f(x, y):
        t = clamp01(((x - ax) * dx + (y - ay) * dy) / ll)
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - w / 2.0
    return f


def sd_polyline(points, w):
    segs = [sd_segment(a[0], a[1], b[0], b[1], w) for a, b in zip(points, points[1:])]
    return lambda x, y: min(s(x, y) for s in segs)


def sd_ring(f, w):
    return lambda x, y: abs(f(x, y)) - w / 2.0


def sd_inter(f, g):
    return lambda x, y: max(f(x, y), g(x, y))


def sd_sub(f, g):
    return lambda x, y: max(f(x, y), -g(x, y))


class Canvas:
    """Premultiplied RGBA floats, 0..255 for colour, 0..1 for alpha."""

    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        n = w * h
        self.r = [0.0] * n
        self.g = [0.0] * n
        self.b = [0.0] * n
        self.a = [0.0] * n
        if fill is not None:
            self.rect(0, 0, w, h, fill)

    def _put(self, i, c, k):
        if k <= 0:
            return
        if k >= 1:
            self.r[i], self.g[i], self.b[i], self.a[i] = c[0], c[1], c[2], 1.0
            return
        j = 1.0 - k
        self.r[i] = c[0] * k + self.r[i] * j
        self.g[i] = c[1] * k + self.g[i] * j
        self.b[i] = c[2] * k + self.b[i] * j
        self.a[i] = k + self.a[i] * j

    def rect(self, x0, y0, x1, y1, paint, alpha=1.0):
        """Hard-edged fill of whole pixels [x0, x1) x [y0, y1)."""
        if isinstance(paint, str):
            paint = hexrgb(paint)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                c = paint(x + 0.5, y + 0.5) if callable(paint) else paint
                self._put(y * self.w + x, c, alpha)

    def pixel(self, x, y, paint, alpha=1.0):
        if 0 <= x < self.w and 0 <= y < self.h:
            if isinstance(paint, str):
                paint = hexrgb(paint)
            self._put(y * self.w + x, paint, alpha)

    def shape(self, sdf, paint, alpha=1.0, box=None):
        if isinstance(paint, str):
            paint = hexrgb(paint)
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                px, py = x + 0.5, y + 0.5
                k = clamp01(0.5 - sdf(px, py)) * alpha
                if k > 0:
                    c = paint(px, py) if callable(paint) else paint
                    self._put(y * self.w + x, c, k)

    def pattern(self, rows, ox, oy, paint, alpha=1.0):
        """Crisp hand-drawn glyph: '#' marks a pixel."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch == '#':
                    self.pixel(ox + i, oy + j, paint, alpha)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                i = (oy + y) * self.w + ox + x
                j = y * other.w + x
                self.r[i], self.g[i], self.b[i], self.a[i] = other.r[j], other.g[j], other.b[j], other.a[j]

    def copy(self):
        c = Canvas(self.w, self.h)
        c.r, c.g, c.b, c.a = self.r[:], self.g[:], self.b[:], self.a[:]
        return c

    def crop(self, x0, y0, w, h):
        c = Canvas(w, h)
        for y in range(h):
            i, j = (y0 + y) * self.w + x0, y * w
            c.r[j:j + w] = self.r[i:i + w]
            c.g[j:j + w] = self.g[i:i + w]
            c.b[j:j + w] = self.b[i:i + w]
            c.a[j:j + w] = self.a[i:i + w]
        return c

    def rgb_at(self, x, y):
        i = y * self.w + x
        a = self.a[i]
        if a <= 0:
            return None
        return (self.r[i] / a, self.g[i] / a, self.b[i] / a)

    def pixels(self, key=None):
        """Final pixels. Where a key colour is given, anything less than half
        covered becomes the key and everything else keeps its own colour at
        full strength, so edges never pick up a tint of the key."""
        out = []
        for i in range(self.w * self.h):
            a = self.a[i]
            if a < 0.5:
                if key is None:
                    raise ValueError('uncovered pixel in an opaque image')
                out.append(key)
            else:
                out.append(tuple(int(round(min(255.0, max(0.0, v / a)))) for v in (self.r[i], self.g[i], self.b[i])))
        return out


def hstack(pieces):
    h = pieces[0].h
    c = Canvas(sum(p.w for p in pieces), h)
    x = 0
    for p in pieces:
        assert p.h == h
        c.blit(p, x, 0)
        x += p.w
    return c


# ---- palette ----

def _d2(a, b):
    return (a[0] - b[0]) ** 2 + (a[1] - b[1]) ** 2 + (a[2] - b[2]) ** 2


def quantize(pixels, n, fixed=(), key=None):
    """Palette of at most n colours. Fixed colours (and the key) are kept
    exactly; pixels that are not the key never map to the key."""
    counts = Counter(pixels)
    pinned = []
    for c in ([key] if key else []) + [tuple(f) for f in fixed]:
        if c not in pinned and (c == key or c in counts):
            pinned.append(c)
    others = sorted(c for c in counts if c not in pinned)
    if len(pinned) > n:
        raise ValueError('more pinned colours than palette entries')
    if len(pinned) + len(others) <= n:
        palette = pinned + others
    else:
        free = n - len(pinned)
        boxes = [others] if free > 0 else []
        while len(boxes) < free:
            # split the box with the largest weighted spread
            best, bi, bch = -1, 0, 0
            for i, bx in enumerate(boxes):
                if len(bx) < 2:
                    continue
                for ch in range(3):
                    vals = [c[ch] for c in bx]
                    spread = (max(vals) - min(vals)) * sum(counts[c] for c in bx) ** 0.5
                    if spread > best:
                        best, bi, bch = spread, i, ch
            if best <= 0:
                break
            bx = sorted(boxes[bi], key=lambda c: (c[bch], c))
            total = sum(counts[c] for c in bx)
            acc, cut = 0, 1
            for k, c in enumerate(bx):
                acc += counts[c]
                if acc * 2 >= total:
                    cut = max(1, min(len(bx) - 1, k + 1))
                    break
            boxes[bi:bi + 1] = [bx[:cut], bx[cut:]]
        cents = []
        for bx in boxes:
            if not bx:
                continue
            wsum = sum(counts[c] for c in bx)
            cents.append(tuple(sum(c[ch] * counts[c] for c in bx) / wsum for ch in range(3)))
        solid = [p for p in pinned if p != key]
        for _ in range(4):
            sums = [[0.0, 0.0, 0.0, 0] for _ in cents]
            for c in others:
                k = min(range(len(cents)), key=lambda i: _d2(c, cents[i]))
                if solid and min(_d2(c, p) for p in solid) <= _d2(c, cents[k]):
                    continue
                s = sums[k]
                w = counts[c]
                s[0] += c[0] * w
                s[1] += c[1] * w
                s[2] += c[2] * w
                s[3] += w
            cents = [(s[0] / s[3], s[1] / s[3], s[2] / s[3]) if s[3] else q for s, q in zip(sums, cents)]
        palette = list(pinned)
        for q in cents:
            q = tuple(int(round(v)) for v in q)
            if q not in palette and q != key:
                palette.append(q)
    index = {}
    cand = [i for i, p in enumerate(palette) if p != key]
    for c in counts:
        if c == key:
            index[c] = palette.index(key)
        else:
            index[c] = min(cand, key=lambda i: (_d2(c, palette[i]), i))
    return palette, [index[p] for p in pixels]


# ---- BMP ----

def write_bmp(path, w, h, pixels, bits, key=None, fixed=()):
    """Uncompressed Windows bitmap with a BITMAPINFOHEADER, bottom-up rows."""
    if bits == 24:
        palette, idx = [], None
    else:
        palette, idx = quantize(pixels, 1 << bits, fixed, key)
        palette = palette + [(0, 0, 0)] * ((1 << bits) - len(palette))
    stride = ((w * bits + 31) // 32) * 4
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        if bits == 24:
            for x in range(w):
                r, g, b = pixels[y * w + x]
                row += bytes((b, g, r))
        else:
            acc, nb = 0, 0
            for x in range(w):
                acc = (acc << bits) | idx[y * w + x]
                nb += bits
                if nb == 8:
                    row.append(acc)
                    acc, nb = 0, 0
            if nb:
                row.append(acc << (8 - nb))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    pal = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    image = b''.join(rows)
    off = 14 + 40 + len(pal)
    header = struct.pack('<2sIHHI', b'BM', off + len(image), 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(image), 2835, 2835,
                       len(palette) if bits != 24 else 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + pal + image)
    if bits == 24:
        return pixels
    return [palette[i] for i in idx]
