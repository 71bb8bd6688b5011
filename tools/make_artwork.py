#!/usr/bin/env python3
"""Draws Quillow's icons and its chime and writes them into res/.

    python3 tools/make_artwork.py

Everything is computed from the code below (no input files, no randomness), so
two runs write the same bytes. Only the standard library is used.

Drawing model: a picture is a list of layers, painted in order. Each layer is a
shape given by a signed distance (in pixels, negative inside) and a colour.
A pixel that lies well inside or well outside every shape near it is painted
from one sample; a pixel on an edge is supersampled (SUPERSAMPLE x SUPERSAMPLE
samples, box-filtered), which gives the antialiasing.
"""

import math
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")

SUPERSAMPLE = 8

# Palette: the skin's warm browns, its peach and its pink-white text colour,
# with a darker ink for outlines and an amber for the maker's leaf.
INK = (43, 31, 21)
BROWN = (74, 57, 41)
MID_BROWN = (136, 96, 62)
PEACH = (246, 206, 173)
PEACH_SHADE = (226, 176, 138)
PINK_WHITE = (255, 222, 239)
AMBER = (247, 178, 64)
AMBER_DARK = (196, 118, 36)


# --------------------------------------------------------------------------
# Shapes: each has d(x, y), the signed distance (or a lower bound of it), and
# a bounding box (x0, y0, x1, y1) outside which d is positive.
# --------------------------------------------------------------------------

class Shape:
    def __init__(self, d, bbox):
        self.d = d
        self.bbox = bbox


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r,
                 (cx - r, cy - r, cx + r, cy + r))


def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return Shape(d, (x0, y0, x1, y1))


def _segment_distance(x, y, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    length2 = vx * vx + vy * vy
    t = 0.0 if length2 == 0 else ((x - ax) * vx + (y - ay) * vy) / length2
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - ax - t * vx, y - ay - t * vy)


def segment(ax, ay, bx, by, width):
    """A stroke with round ends from (ax, ay) to (bx, by)."""
    h = width / 2
    return Shape(lambda x, y: _segment_distance(x, y, ax, ay, bx, by) - h,
                 (min(ax, bx) - h, min(ay, by) - h, max(ax, bx) + h, max(ay, by) + h))


def arc(cx, cy, radius, start, end, width):
    """A stroke with round ends along a circle, from angle start clockwise to
    angle end (degrees, counted counter-clockwise from the right: 90 is up)."""
    h = width / 2
    a0, a1 = math.radians(start), math.radians(end)
    sweep = (a0 - a1) % (2 * math.pi)
    p0 = (cx + radius * math.cos(a0), cy - radius * math.sin(a0))
    p1 = (cx + radius * math.cos(a1), cy - radius * math.sin(a1))

    def d(x, y):
        a = math.atan2(cy - y, x - cx)
        if (a0 - a) % (2 * math.pi) <= sweep:
            return abs(math.hypot(x - cx, y - cy) - radius) - h
        return min(math.hypot(x - p0[0], y - p0[1]), math.hypot(x - p1[0], y - p1[1])) - h

    r = radius + h
    return Shape(d, (cx - r, cy - r, cx + r, cy + r))


def polygon(points):
    """A filled polygon (any winding); exact distance to its edges."""
    n = len(points)

    def d(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            best = min(best, _segment_distance(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -best if inside else best

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(d, (min(xs), min(ys), max(xs), max(ys)))


def lens(ax, ay, bx, by, bulge):
    """A pointed oval from point a to point b (a leaf or a feather's vane):
    the overlap of two equal circles; bulge is its half width."""
    half = math.hypot(bx - ax, by - ay) / 2
    r = (half * half + bulge * bulge) / (2 * bulge)
    off = r - bulge
    mx, my = (ax + bx) / 2, (ay + by) / 2
    nx, ny = -(by - ay) / (2 * half), (bx - ax) / (2 * half)
    left = circle(mx + nx * off, my + ny * off, r)
    right = circle(mx - nx * off, my - ny * off, r)
    shape = intersect(left, right)
    pad = bulge
    shape.bbox = (min(ax, bx) - pad, min(ay, by) - pad, max(ax, bx) + pad, max(ay, by) + pad)
    return shape


def union(*shapes):
    boxes = [s.bbox for s in shapes]
    return Shape(lambda x, y: min(s.d(x, y) for s in shapes),
                 (min(b[0] for b in boxes), min(b[1] for b in boxes),
                  max(b[2] for b in boxes), max(b[3] for b in boxes)))


def intersect(a, b):
    box = (max(a.bbox[0], b.bbox[0]), max(a.bbox[1], b.bbox[1]),
           min(a.bbox[2], b.bbox[2]), min(a.bbox[3], b.bbox[3]))
    return Shape(lambda x, y: max(a.d(x, y), b.d(x, y)), box)


def subtract(a, b):
    return Shape(lambda x, y: max(a.d(x, y), -b.d(x, y)), a.bbox)


def grow(shape, amount):
    """The shape widened by amount on every side (used for outlines)."""
    b = shape.bbox
    return Shape(lambda x, y: shape.d(x, y) - amount,
                 (b[0] - amount, b[1] - amount, b[2] + amount, b[3] + amount))


# --------------------------------------------------------------------------
# Canvas: layers of shapes, rendered to 8-bit RGBA rows.
# --------------------------------------------------------------------------

class Canvas:
    def __init__(self, size):
        self.size = size
        self.layers = []  # (shape, (r, g, b, a) with components 0..1)

    def fill(self, shape, rgb, alpha=1.0):
        self.layers.append((shape, (rgb[0] / 255, rgb[1] / 255, rgb[2] / 255, alpha)))

    def outlined(self, shape, rgb, outline, width):
        """Fills the shape with rgb inside an outline of the given width."""
        self.fill(grow(shape, width), outline)
        self.fill(shape, rgb)

    def _colour_at(self, layers, x, y):
        r = g = b = a = 0.0  # premultiplied
        for shape, (lr, lg, lb, la) in layers:
            if shape.d(x, y) <= 0:
                r = lr * la + r * (1 - la)
                g = lg * la + g * (1 - la)
                b = lb * la + b * (1 - la)
                a = la + a * (1 - la)
        return r, g, b, a

    def render(self):
        rows = []
        step = 1 / SUPERSAMPLE
        for py in range(self.size):
            row = bytearray()
            for px in range(self.size):
                near = [layer for layer in self.layers
                        if layer[0].bbox[0] - 1 <= px + 1 and layer[0].bbox[2] + 1 >= px
                        and layer[0].bbox[1] - 1 <= py + 1 and layer[0].bbox[3] + 1 >= py]
                cx, cy = px + 0.5, py + 0.5
                on_edge = any(abs(layer[0].d(cx, cy)) < 0.75 for layer in near)
                if not on_edge:
                    r, g, b, a = self._colour_at(near, cx, cy)
                else:
                    r = g = b = a = 0.0
                    for sy in range(SUPERSAMPLE):
                        for sx in range(SUPERSAMPLE):
                            c = self._colour_at(near, px + (sx + 0.5) * step,
                                                py + (sy + 0.5) * step)
                            r, g, b, a = r + c[0], g + c[1], b + c[2], a + c[3]
                    n = SUPERSAMPLE * SUPERSAMPLE
                    r, g, b, a = r / n, g / n, b / n, a / n
                if a > 0:
                    row += bytes((_byte(r / a), _byte(g / a), _byte(b / a), _byte(a)))
                else:
                    row += b"\0\0\0\0"
            rows.append(bytes(row))
        return rows


def _byte(v):
    return max(0, min(255, int(v * 255 + 0.5)))


# --------------------------------------------------------------------------
# File writers
# --------------------------------------------------------------------------

def png_bytes(size, rows):
    def chunk(kind, data):
        body = kind + data
        crc = zlib.crc32(body) & 0xFFFFFFFF
        return struct.pack(">I", len(data)) + body + struct.pack(">I", crc)

    raw = b"".join(b"\0" + row for row in rows)  # filter type 0 on every row
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def wav_bytes(rate, samples):
    data = b"".join(struct.pack("<h", s) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)  # PCM, mono, 16-bit
    return (b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE"
            + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"data" + struct.pack("<I", len(data)) + data)


def write(path, data):
    full = os.path.join(RES, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)
    print("wrote", os.path.relpath(full, ROOT), len(data), "bytes")


# --------------------------------------------------------------------------
# The pictures. Coordinates are in pixels of the icon being drawn; small
# sizes snap their edges to whole pixels and keep strokes at least 1 px.
# --------------------------------------------------------------------------

def outline_width(size):
    return max(1, round(size / 30))


def snap(v, size):
    """Rounds to whole pixels at small sizes, where blurred edges cost most."""
    return round(v) if size <= 64 else v


# Question marks for the smallest sizes, drawn pixel by pixel: at 7 to 11
# pixels high a drawn curve turns to mud, a hand-set glyph stays sharp.
GLYPH_7 = (
    ".###.",
    "#...#",
    "....#",
    "...#.",
    "..#..",
    ".....",
    "..#..",
)
GLYPH_8 = (
    ".####.",
    "##..##",
    "....##",
    "...##.",
    "..##..",
    "..##..",
    "......",
    "..##..",
)
GLYPH_11 = (
    "..####..",
    ".##..##.",
    "##....##",
    "......##",
    ".....##.",
    "....##..",
    "...##...",
    "...##...",
    "........",
    "...##...",
    "...##...",
)


def pixel_glyph(c, glyph, left, top, rgb):
    """Paints a glyph whose '#' cells are whole pixels, top-left at (left, top)."""
    cells = [rounded_rect(left + x, top + y, left + x + 1, top + y + 1, 0)
             for y, line in enumerate(glyph) for x, ch in enumerate(line) if ch == "#"]
    c.fill(union(*cells), rgb)


def question_mark(c, cx, top, height, rgb):
    """A drawn question mark of the given height, centred on cx."""
    h = height
    w = h * (0.15 if h > 40 else 0.18)
    radius = (h * 0.56 - w) / 2
    acy = top + w / 2 + radius
    end = -40
    ex = cx + radius * math.cos(math.radians(end))
    ey = acy - radius * math.sin(math.radians(end))
    bend_y = top + h * 0.53
    stem_y = top + h * 0.74 - w / 2
    dot_r = w * 0.62
    mark = union(arc(cx, acy, radius, 160, end, w),
                 segment(ex, ey, cx, bend_y, w),
                 segment(cx, bend_y, cx, stem_y, w))
    c.fill(mark, rgb)
    c.fill(circle(cx, top + h - dot_r, dot_r), rgb)


def flash_card(c, x0, y0, x1, y1, ow, fill=PEACH):
    radius = max(1.0, (x1 - x0) * 0.08)
    c.outlined(rounded_rect(x0, y0, x1, y1, radius), fill, INK, ow)


def quill(c, size, nib, tip, ow):
    """A feather pen from its nib to the tip of its vane."""
    nx, ny = nib
    tx, ty = tip
    length = math.hypot(tx - nx, ty - ny)
    ux, uy = (tx - nx) / length, (ty - ny) / length
    px, py = -uy, ux  # across the pen

    def along(t, across=0.0):
        return nx + ux * length * t + px * across, ny + uy * length * t + py * across

    vane = lens(*along(0.30), tx, ty, max(2.2, length * 0.16))
    if size >= 48:
        # Two splits in the vane, as on a real feather's edge.
        for t, side in ((0.55, 1), (0.72, -1)):
            far = length * 0.2
            a = along(t, side * far * 0.25)
            b = along(t - 0.1, side * far)
            vane = subtract(vane, segment(*a, *b, max(1.0, size / 90)))
    c.outlined(vane, PINK_WHITE, INK, ow)
    # The nib: a dark point below the vane.
    nib_w = max(1.6, size / 16)
    nib_shape = polygon([(nx, ny), along(0.24, -nib_w / 2), along(0.24, nib_w / 2)])
    c.fill(grow(nib_shape, ow * 0.5), INK)
    if size >= 24:
        # The shaft through the vane; at the smallest sizes it would only
        # smudge the vane, so the vane stays plain there.
        shaft_w = max(1.0, size / 40)
        c.fill(segment(*along(shaft_w / length), *along(0.94), shaft_w), MID_BROWN)
    else:
        c.fill(segment(*along(0.05), *along(0.32), 1.0), INK)


def program_icon(size):
    """Icon 128: a peach flash card with a question mark, a quill over it."""
    s = size
    c = Canvas(s)
    ow = outline_width(s)
    x0, y0 = snap(s * 0.03, s) + ow, snap(s * 0.30, s) + ow
    x1, y1 = snap(s * 0.80, s) - ow, snap(s * 0.93, s) - ow
    if s >= 32:
        # A second card behind the first: a stack of cards.
        flash_card(c, snap(s * 0.17, s) + ow, snap(s * 0.17, s) + ow,
                   snap(s * 0.93, s) - ow, snap(s * 0.80, s) - ow, ow, PEACH_SHADE)
    flash_card(c, x0, y0, x1, y1, ow)
    if s < 24:
        pixel_glyph(c, GLYPH_7, x0 + 1, y0 + 1, BROWN)
        quill(c, s, (7.5, 13.0), (15.4, 0.6), ow)
    else:
        height = (y1 - y0) * 0.76
        question_mark(c, x0 + (x1 - x0) * 0.36, y0 + (y1 - y0 - height) / 2, height, BROWN)
        quill(c, s, (s * 0.52, s * 0.76), (s * 0.96, s * 0.04), ow)
    return c


def maker_icon(size):
    """Icon 129: the Brightfen mark, an amber leaf on a round brown ground."""
    s = size
    c = Canvas(s)
    ow = outline_width(s)
    c.outlined(circle(s / 2, s / 2, s / 2 - ow), BROWN, INK, ow)
    if s >= 32:
        c.fill(subtract(circle(s / 2, s / 2, s / 2 - ow - s / 16),
                        circle(s / 2, s / 2, s / 2 - ow - s / 16 - 1)), PEACH_SHADE)
    ax, ay = s * 0.27, s * 0.73  # the leaf's base
    bx, by = s * 0.80, s * 0.20  # its tip
    bulge = s * 0.18
    c.fill(lens(ax, ay, bx, by, bulge), AMBER)
    length = math.hypot(bx - ax, by - ay)
    ux, uy = (bx - ax) / length, (by - ay) / length
    vein_w = max(1.0, s / 20)
    if s >= 32:
        for t in (0.30, 0.50, 0.70):
            mx, my = ax + ux * length * t, ay + uy * length * t
            reach = bulge * 0.75 * (1.15 - t)
            for side in (1, -1):
                ex = mx + ux * reach * 0.8 - uy * side * reach
                ey = my + uy * reach * 0.8 + ux * side * reach
                c.fill(segment(mx, my, ex, ey, vein_w * 0.8), AMBER_DARK)
    stem = (ax - ux * s * 0.03, ay - uy * s * 0.03)
    c.fill(segment(*stem, ax + ux * length * 0.85, ay + uy * length * 0.85, vein_w), PINK_WHITE)
    return c


def tray_icon(size):
    """Icon 140: the flash card with its question mark, filling the square,
    with a dark outline for light panels and a light card for dark ones."""
    s = size
    c = Canvas(s)
    ow = outline_width(s)
    x0, y0 = ow, snap(s * 0.12, s) + ow
    x1, y1 = s - ow, s - snap(s * 0.12, s) - ow
    flash_card(c, x0, y0, x1, y1, ow)
    inner = y1 - y0
    if s < 20:
        pixel_glyph(c, GLYPH_8, s // 2 - 3, y0 + (inner - 8) // 2, BROWN)
    elif s < 28:
        pixel_glyph(c, GLYPH_11, s // 2 - 4, y0 + (inner - 11) // 2, BROWN)
    else:
        height = inner * 0.84
        question_mark(c, s / 2, y0 + (inner - height) / 2, height, BROWN)
    return c


# --------------------------------------------------------------------------
# The chime: two soft bell notes, a fifth apart, each a few decaying partials.
# --------------------------------------------------------------------------

def chime(rate=22050, seconds=0.6):
    notes = ((0.00, 784.0), (0.12, 1174.7))  # G5, then D6
    partials = ((1.0, 1.0, 0.22), (2.0, 0.30, 0.12), (3.01, 0.12, 0.08), (4.17, 0.05, 0.05))
    attack = 0.008
    fade = 0.06
    n = int(rate * seconds)
    wave = []
    for i in range(n):
        t = i / rate
        v = 0.0
        for start, freq in notes:
            u = t - start
            if u < 0:
                continue
            rise = 0.5 - 0.5 * math.cos(math.pi * min(u / attack, 1.0))
            for ratio, amp, decay in partials:
                v += rise * amp * math.exp(-u / decay) * math.sin(2 * math.pi * freq * ratio * u)
        left = seconds - t
        if left < fade:
            v *= 0.5 - 0.5 * math.cos(math.pi * left / fade)
        wave.append(v)
    peak = max(abs(v) for v in wave)
    scale = 32767 * 10 ** (-6 / 20) / peak  # peak at -6 dBFS
    return rate, [int(round(v * scale)) for v in wave]


def main():
    for size in (16, 32, 48, 64, 128, 256):
        write("icons/128-%d.png" % size, png_bytes(size, program_icon(size).render()))
    for size in (16, 32):
        write("icons/129-%d.png" % size, png_bytes(size, maker_icon(size).render()))
    for size in (16, 22, 24, 32):
        write("icons/140-%d.png" % size, png_bytes(size, tray_icon(size).render()))
    rate, samples = chime()
    write("Quillow.wav", wav_bytes(rate, samples))


if __name__ == "__main__":
    main()
