#!/usr/bin/env python3
"""Draws the quiz window's skin picture and writes res/backimg.bmp.

    python3 tools/make_skin.py

The picture is one 244 x 40 strip from which the window copies every piece of
its look: the background tile, the display panel, the digits, bar colours and
review-mode marks drawn on the panel, and the faces of the six buttons. The
pieces sit at the places that skin/SkinMap.h gives. Everything else is
computed from the code (no randomness), so two runs write the same bytes.
Only the standard library is used.

The file is an uncompressed 8-bit BMP: a 14-byte file header, a 40-byte
BITMAPINFOHEADER with biClrUsed set to the number n of colours in the picture,
n colour entries (blue, green, red, 0) and then the rows, bottom-up, each
padded to a multiple of 4 bytes.
"""

import math
import os
import re
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUTPUT = os.path.join(ROOT, "res", "backimg.bmp")

WIDTH, HEIGHT = 244, 40


def read_map():
    """Where each piece lies in the picture, from the program's own table in
    skin/SkinMap.h: kSkinSmallFace{x, y, width, height, step} as
    MAP["small_face"], origin top-left; step is how far the next piece of a
    row lies to the right."""
    with open(os.path.join(ROOT, "skin", "SkinMap.h")) as f:
        pieces = re.findall(r"kSkin(\w+)\{(\d+), (\d+), (\d+), (\d+), (\d+)\}", f.read())
    return {re.sub(r"(?<=.)([A-Z])", r"_\1", name).lower(): tuple(map(int, numbers))
            for name, *numbers in pieces}


MAP = read_map()

# Face states in strip order. The fourth (disabled) face of each size lies over
# other pieces of the picture and is not drawn on its own.
NORMAL, PRESSED, HOVER = 0, 1, 2

# --------------------------------------------------------------------------
# Palette. Every colour of the picture comes from these names or from mix(),
# whose blends are quantised to a few steps, so the picture keeps a small
# colour table.
# --------------------------------------------------------------------------

# Wood of the window background, darkest to lightest grain.
WOOD = [(104, 74, 49), (113, 81, 54), (121, 87, 58), (129, 93, 62), (138, 100, 67)]
WOOD_BASE = WOOD[2]

INK = (43, 31, 21)                # outlines

# Button bodies (top and bottom of the vertical gradient) and bevels.
BUTTON_TOP = (104, 76, 52)
BUTTON_BOTTOM = (66, 48, 33)
BUTTON_LIGHT = (160, 120, 84)
BUTTON_SHADE = (46, 33, 23)
PRESSED_TOP = (46, 34, 24)
PRESSED_BOTTOM = (58, 43, 30)
PRESSED_SHADE = (30, 21, 15)
PRESSED_LIGHT = (92, 68, 47)
HOVER_TOP = (122, 88, 58)
HOVER_BOTTOM = (80, 57, 38)
HOVER_LIGHT = (214, 160, 104)
GLOW = (226, 146, 70)             # the warm rim of the lit button

# Display panel: bezel, glass and readout.
BEZEL_LIGHT = (168, 126, 88)
BEZEL_DARK = (82, 60, 41)
GLASS_SHADE = (14, 10, 8)
GLASS_LIGHT = (64, 50, 40)
LCD = (30, 23, 19)                # display background, behind every glyph
LCD_GHOST = (48, 37, 30)          # unlit segments
LCD_HINT = (112, 80, 46)           # printed marks on the glass
AMBER = (255, 184, 74)            # lit segments

# Level-bar colours 1..4, rising in warmth; 0 is the unlit segment.
BAR_LIT = [(104, 200, 92), (184, 212, 70), (252, 178, 58), (242, 98, 50)]


def mix(a, b, t, steps=4):
    """a blended towards b by t (0..1), t rounded to 1/steps."""
    t = round(min(max(t, 0.0), 1.0) * steps) / steps
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


# --------------------------------------------------------------------------
# Canvas with drawing helpers
# --------------------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    def set(self, x, y, rgb):
        self.pixels[y][x] = rgb

    def get(self, x, y):
        return self.pixels[y][x]

    def rect(self, x, y, w, h, rgb):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.pixels[yy][xx] = rgb

    def hline(self, x, y, w, rgb):
        self.rect(x, y, w, 1, rgb)

    def vline(self, x, y, h, rgb):
        self.rect(x, y, 1, h, rgb)

    def pattern(self, x, y, rows, colours):
        """Pixels from text rows: each character picks a colour from
        colours; a character missing from colours leaves the pixel alone."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in colours:
                    self.pixels[y + dy][x + dx] = colours[ch]


def rounded_rect_distance(px, py, x0, y0, x1, y1, r):
    """Signed distance from (px, py) to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    qx = abs(px - cx) - ((x1 - x0) / 2 - r)
    qy = abs(py - cy) - ((y1 - y0) / 2 - r)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def coverage(x, y, inside, samples=4):
    """Share of pixel (x, y) for which inside(sx, sy) holds (4 x 4 samples)."""
    hits = 0
    for j in range(samples):
        for i in range(samples):
            if inside(x + (i + 0.5) / samples, y + (j + 0.5) / samples):
                hits += 1
    return hits / (samples * samples)


# --------------------------------------------------------------------------
# Window background tile: fine wood grain, seamless in both directions. Every
# wave below has a whole number of periods across the 40-pixel tile, so the
# right edge runs on into the left one and the bottom into the top.
# --------------------------------------------------------------------------

def _hash(ix, iy, seed):
    """A fixed pseudo-random value in 0..1 for a lattice point."""
    h = (ix * 374761393 + iy * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 0xFFFF


def _streaks(x, y, period):
    """Value noise stretched along x: cells 8 px long, one row high, wrapping
    at the tile's edges, which gives short fibres running with the grain."""
    cells = period // 8
    fx = x / 8
    i0 = int(math.floor(fx)) % cells
    i1 = (i0 + 1) % cells
    t = fx - math.floor(fx)
    t = t * t * (3 - 2 * t)
    row = y % period
    return _hash(i0, row, 7) * (1 - t) + _hash(i1, row, 7) * t


def wood_tile(cv):
    x0, y0, size, _, _ = MAP["tile"]
    tau = 2 * math.pi
    for y in range(size):
        for x in range(size):
            u, v = x / size, y / size
            bend = (1.1 * math.sin(tau * u)
                    + 0.6 * math.sin(tau * (2 * u + v) + 0.7)
                    + 0.3 * math.sin(tau * (3 * u - 2 * v) + 2.1))
            g = v + bend / size
            rings = 0.45 * math.sin(tau * 3 * g) + 0.25 * math.sin(tau * 8 * g + 1.0)
            fibre = _streaks(x, y, size) - 0.5
            value = rings + 1.1 * fibre
            level = int((value + 1.3) / 2.6 * len(WOOD))
            cv.set(x0 + x, y0 + y, WOOD[min(max(level, 0), len(WOOD) - 1)])


# --------------------------------------------------------------------------
# Button faces: a rounded dark-wood key with a one-pixel ink outline and a
# light bevel. Pressed: sunk in, darker, shadow along the top. Hover: lighter,
# with a warm glowing rim. The caption (pink-white, teal when pressed) is
# drawn over the face by the program, from 3 px below the top.
# --------------------------------------------------------------------------

def button_face(cv, left, top, w, h, state):
    radius = 4.0
    if state == PRESSED:
        body_top, body_bottom = PRESSED_TOP, PRESSED_BOTTOM
        light, shade, rim = PRESSED_LIGHT, PRESSED_SHADE, INK
    elif state == HOVER:
        body_top, body_bottom = HOVER_TOP, HOVER_BOTTOM
        light, shade, rim = HOVER_LIGHT, BUTTON_SHADE, GLOW
    else:
        body_top, body_bottom = BUTTON_TOP, BUTTON_BOTTOM
        light, shade, rim = BUTTON_LIGHT, BUTTON_SHADE, INK

    def outer(px, py):
        return rounded_rect_distance(px, py, 0, 0, w, h, radius) < 0

    def body(px, py):
        return rounded_rect_distance(px, py, 1, 1, w - 1, h - 1, radius - 1) < 0

    for y in range(h):
        for x in range(w):
            a = coverage(x, y, outer)
            b = coverage(x, y, body)
            fill = mix(body_top, body_bottom, (y - 1) / (h - 3), steps=5)
            if state != PRESSED and _streaks(x + 3 * y, y, 40) > 0.78:
                fill = mix(fill, body_top, 0.5)     # a faint fibre of the wood
            # The one-pixel ring just inside the outline carries the bevel.
            ring = b > 0 and (x in (1, w - 2) or y in (1, h - 2)
                              or rounded_rect_distance(x + 0.5, y + 0.5, 1, 1, w - 1, h - 1,
                                                       radius - 1) > -1.2)
            if ring:
                if state == PRESSED:
                    # Sunk: dark along the top and left, faint light at the bottom.
                    if y <= 1 or (x == 1 and y < h - 3):
                        fill = shade
                    elif y >= h - 2:
                        fill = light
                else:
                    if y <= 1:
                        fill = light
                    elif x == 1 and y < h // 2:
                        fill = mix(light, fill, 0.5)
                    elif y >= h - 2 or x == w - 2:
                        fill = shade
            # Antialiased edges: body over outline over the wood at the corners.
            colour = mix(rim, fill, b / a) if a else rim
            colour = mix(WOOD_BASE, colour, a)
            cv.set(left + x, top + y, colour)

    if state == PRESSED:
        # A second line of shadow under the top edge makes the key look sunk.
        for x in range(3, w - 3):
            cv.set(left + x, top + 2, mix(PRESSED_TOP, PRESSED_SHADE, 0.5))


def button_faces(cv):
    for name in ("small_face", "large_face"):
        x, y, w, h, step = MAP[name]
        for state in (NORMAL, PRESSED, HOVER):
            button_face(cv, x + step * state, y, w, h, state)


# --------------------------------------------------------------------------
# Digit glyphs: seven segments on a 4 x 9 grid with a blank fifth column as
# the gap to the next digit. A corner pixel is lit when a segment touching it
# is lit, which closes the shapes; unlit segments show faintly, as on a real
# display.
# --------------------------------------------------------------------------

# Segments a (top), b (upper right), c (lower right), d (bottom), e (lower
# left), f (upper left), g (middle), each a list of (x, y) cells.
SEGMENTS = {
    "a": [(1, 0), (2, 0)],
    "b": [(3, 1), (3, 2), (3, 3)],
    "c": [(3, 5), (3, 6), (3, 7)],
    "d": [(1, 8), (2, 8)],
    "e": [(0, 5), (0, 6), (0, 7)],
    "f": [(0, 1), (0, 2), (0, 3)],
    "g": [(1, 4), (2, 4)],
}
CORNERS = {
    (0, 0): "af", (3, 0): "ab", (0, 4): "efg", (3, 4): "bcg", (0, 8): "de", (3, 8): "cd",
}
DIGIT_SEGMENTS = ["abcdef", "bc", "abdeg", "abcdg", "bcfg",
                  "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"]


def digit_glyph(cv, left, top, digit):
    lit = DIGIT_SEGMENTS[digit]
    cv.rect(left, top, 5, 9, LCD)
    for name, cells in SEGMENTS.items():
        for x, y in cells:
            cv.set(left + x, top + y, AMBER if name in lit else LCD_GHOST)
    for (x, y), touching in CORNERS.items():
        on = any(s in lit for s in touching)
        cv.set(left + x, top + y, AMBER if on else LCD_GHOST)


def digit_glyphs(cv):
    x, y, _, _, step = MAP["digit"]
    for d in range(10):
        digit_glyph(cv, x + step * d, y, d)


# --------------------------------------------------------------------------
# Level-bar colours: 3 x 2 cells, the top row a little brighter, like a lit
# lens. Colour 0 is the unlit segment, barely above the display background.
# --------------------------------------------------------------------------

def bar_colours(cv):
    x, y, w, h, step = MAP["bar_colour"]
    cv.rect(x, y, w, h, LCD_GHOST)
    for b, lit in enumerate(BAR_LIT, start=1):
        cv.hline(x + step * b, y, w, lit)
        cv.hline(x + step * b, y + 1, w, mix(lit, LCD, 0.25))


# --------------------------------------------------------------------------
# Review-mode marks, 5 x 5, as dice pips: Careful (6 times) four, Normal
# (4 times) three, Rough (2 times) two, Once one. Each character of a pattern
# stands for a pip place two pixels from the next.
# --------------------------------------------------------------------------

MODE_MARKS = [
    ["o.o",
     "...",
     "o.o"],
    ["o.o",
     "...",
     ".o."],
    ["o..",
     "...",
     "..o"],
    ["...",
     ".o.",
     "..."],
]


def mode_marks(cv):
    x, y, w, h, step = MAP["mode_mark"]
    for m, rows in enumerate(MODE_MARKS):
        left = x + step * m
        cv.rect(left, y, w, h, LCD)
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch == "o":
                    cv.set(left + 2 * i, y + 2 * j, AMBER)


# --------------------------------------------------------------------------
# Display panel face: a wooden bezel round a dark glass. The program copies
# the bar, the digits and the mode mark onto the glass:
#   bar segments (3 + 4i, 2) 3 x 2, i = 0..9     mode mark (46, 2) 5 x 5
#   digits y = 6 at x = 2, 7, 12, 17 and 30, 35, 40
#   digits y = 22 at x = 2, 7, 12, 17 and 30, 35, 40, 45
# so the glass there is plain LCD, the glyphs' own background. The faint marks
# printed on the glass (a divider, a per-cent sign, a dash) keep clear of them.
# --------------------------------------------------------------------------

PER_CENT = [
    "o.o",
    "..o",
    ".o.",
    "o..",
    "o.o",
]


def panel_face(cv):
    x0, y0, w, h, _ = MAP["panel"]
    cv.rect(x0, y0, w, h, LCD)
    # Outer bezel: lit along the top and left, darker along the bottom and right.
    cv.hline(x0 + 1, y0, w - 2, BEZEL_LIGHT)
    cv.vline(x0, y0 + 1, h - 2, BEZEL_LIGHT)
    cv.hline(x0 + 1, y0 + h - 1, w - 2, BEZEL_DARK)
    cv.vline(x0 + w - 1, y0 + 1, h - 2, BEZEL_DARK)
    for cx, cy in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        cv.set(x0 + cx, y0 + cy, mix(WOOD_BASE, BEZEL_DARK, 0.5))
    # Glass edge: in shadow at the top and left, catching light at the bottom right.
    cv.hline(x0 + 1, y0 + 1, w - 2, GLASS_SHADE)
    cv.vline(x0 + 1, y0 + 1, h - 2, GLASS_SHADE)
    cv.hline(x0 + 2, y0 + h - 2, w - 3, GLASS_LIGHT)
    cv.vline(x0 + w - 2, y0 + 2, h - 3, GLASS_LIGHT)

    # Dotted divider between the two rows of digits.
    for x in range(3, w - 3, 2):
        cv.set(x0 + x, y0 + 18, LCD_HINT)
    # A per-cent sign after the progress digits, under the mode mark.
    cv.pattern(x0 + 47, y0 + 10, PER_CENT, {"o": LCD_HINT})
    # A dash between the range's start and end.
    cv.hline(x0 + 24, y0 + 26, 4, LCD_HINT)
    # A dotted upright between the question number and the progress.
    for y in range(7, 15, 2):
        cv.set(x0 + 25, y0 + y, LCD_HINT)


# --------------------------------------------------------------------------
# BMP writer
# --------------------------------------------------------------------------

def bmp_bytes(cv):
    palette = []
    index = {}
    for row in cv.pixels:
        for rgb in row:
            if rgb not in index:
                index[rgb] = len(palette)
                palette.append(rgb)
    n = len(palette)
    if n > 256:
        raise SystemExit(f"make_skin: {n} colours, more than an 8-bit picture holds")

    stride = (cv.width + 3) & ~3
    pixel_offset = 14 + 40 + 4 * n
    image_size = stride * cv.height
    file_header = struct.pack("<2sIHHI", b"BM", pixel_offset + image_size, 0, 0, pixel_offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, cv.width, cv.height, 1, 8, 0,
                              image_size, 2835, 2835, n, n)
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    rows = []
    for row in reversed(cv.pixels):       # bottom-up
        line = bytes(index[rgb] for rgb in row)
        rows.append(line + b"\0" * (stride - len(line)))
    return file_header + info_header + colour_table + b"".join(rows)


def main():
    # Pixels that no piece covers (the row under the small faces, the strip
    # under the panel) stay plain wood.
    cv = Canvas(WIDTH, HEIGHT, WOOD_BASE)
    # The block of digits, bar colours and marks sits on the display colour.
    cv.rect(90, 0, 60, 20, LCD)
    wood_tile(cv)
    panel_face(cv)
    button_faces(cv)
    digit_glyphs(cv)
    bar_colours(cv)
    mode_marks(cv)
    data = bmp_bytes(cv)
    with open(OUTPUT, "wb") as f:
        f.write(data)
    print(f"wrote {os.path.relpath(OUTPUT, ROOT)} ({len(data)} bytes)")


if __name__ == "__main__":
    main()
