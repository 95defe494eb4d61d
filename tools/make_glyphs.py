#!/usr/bin/env python3
"""Writes the button glyphs as 24-bit bitmaps at three scales: 1x (16-pixel cells), 1.5x (24) and 2x (32),
the larger ones named with -150 and -200: ok.bmp and cancel.bmp (one cell), browse.bmp (the normal cell,
then the disabled cell), all with magenta as the key, and cardok.bmp (a normal and a grey cell) with
purple as the key. Each shape is drawn from its outline at the scale, not enlarged from the small one;
lengths round half up, as the program's layout does."""
import math, struct, sys, os

KEY = (255, 0, 255)
SCALES = ((1.0, ''), (1.5, '-150'), (2.0, '-200'))

def bmp(path, px):
    h = len(px); w = len(px[0])
    row = (w * 3 + 3) & ~3
    data = b''
    for y in reversed(range(h)):
        line = b''.join(struct.pack('<BBB', b, g, r) for (r, g, b) in px[y])
        data += line + b'\0' * (row - w * 3)
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(path, 'wb').write(header + info + data)

def px_round(v):
    return int(math.floor(v + 0.5))

def canvas(s, ground=KEY):
    n = px_round(16 * s)
    return [[ground] * n for _ in range(n)]

def centres(px, s):
    """Every pixel with its centre in the 16-unit design grid."""
    for y in range(len(px)):
        for x in range(len(px[0])):
            yield x, y, (x + 0.5) / s, (y + 0.5) / s

def tick(px, s, colour):
    """A tick three units tall from (3.5, 8.5) down to (6.5, 11.5) and up to (13.5, 4.5)."""
    for x, y, u, v in centres(px, s):
        if not 3 <= u < 14:
            continue
        middle = 8.5 + (u - 3.5) if u < 6.5 else 11.5 - (u - 6.5)
        if abs(v - middle) < 1.5:
            px[y][x] = colour

def ok(s):
    px = canvas(s)
    tick(px, s, (0, 128, 0))
    return px

def cancel(s):
    """Two strokes two units wide crossing between rows 4 and 13."""
    px = canvas(s)
    for x, y, u, v in centres(px, s):
        if not 4 <= v < 13:
            continue
        if (v - 1.5 <= u < v + 0.5 and u >= 4) or 15.5 - v <= u < 17.5 - v:
            px[y][x] = (192, 0, 0)
    return px

def folder(s, colour, dark):
    px = canvas(s)
    left, right, top, bottom = (px_round(c * s) for c in (1, 15, 4, 14))
    edge = px_round(s)
    for y in range(top, bottom):
        for x in range(left, right):
            rim = y < top + edge or y >= bottom - edge or x < left + edge or x >= right - edge
            px[y][x] = dark if rim else colour
    for y in range(px_round(3 * s), top):
        for x in range(px_round(2 * s), px_round(7 * s)):
            px[y][x] = dark
    return px

def side_by_side(*cells):
    return [sum((c[y] for c in cells), []) for y in range(len(cells[0]))]

def browse(s):
    return side_by_side(folder(s, (255, 255, 0), (128, 128, 0)), folder(s, (192, 192, 192), (128, 128, 128)))

def card_ok(s):
    """The about card's OK strip: a green tick on purple (the key), then its grey twin."""
    cells = []
    for colour in ((0, 128, 0), (128, 128, 128)):
        px = canvas(s, (128, 0, 128))
        tick(px, s, colour)
        cells.append(px)
    return side_by_side(*cells)

out = sys.argv[1] if len(sys.argv) > 1 else 'resources'
for scale, suffix in SCALES:
    for name, draw in (('ok', ok), ('cancel', cancel), ('browse', browse), ('cardok', card_ok)):
        bmp(os.path.join(out, name + suffix + '.bmp'), draw(scale))
