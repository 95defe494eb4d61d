#!/usr/bin/env python3
"""Writes the button glyphs as 24-bit bitmaps: ok.bmp, cancel.bmp (16 x 16) and browse.bmp (32 x 16: the
normal cell, then the disabled cell) with magenta as the key, and cardok.bmp (32 x 16) with purple as the key."""
import struct, sys, os

KEY = (255, 0, 255)

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

def canvas(w, h):
    return [[KEY] * w for _ in range(h)]

def ok():
    px = canvas(16, 16)
    pts = [(3, 8), (4, 9), (5, 10), (6, 11), (7, 10), (8, 9), (9, 8), (10, 7), (11, 6), (12, 5), (13, 4)]
    for x, y in pts:
        for d in (0, 1, 2):
            px[y + d - 1][x] = (0, 128, 0)
    return px

def cancel():
    px = canvas(16, 16)
    for i in range(4, 13):
        for d in (-1, 0):
            px[i][i + d if i + d >= 4 else i] = (192, 0, 0)
            px[i][16 - i + d] = (192, 0, 0)
    return px

def folder(colour, dark):
    px = canvas(16, 16)
    for y in range(4, 14):
        for x in range(1, 15):
            edge = y in (4, 13) or x in (1, 14)
            px[y][x] = dark if edge else colour
    for x in range(2, 7):
        px[3][x] = dark
    return px

def browse():
    normal = folder((255, 255, 0), (128, 128, 0))
    disabled = folder((192, 192, 192), (128, 128, 128))
    return [normal[y] + disabled[y] for y in range(16)]

def card_ok():
    """The about card's OK strip: a green tick on purple (the key), then its grey twin."""
    purple = (128, 0, 128)
    cells = []
    for colour in ((0, 128, 0), (128, 128, 128)):
        px = [[purple] * 16 for _ in range(16)]
        for x, y in [(3, 8), (4, 9), (5, 10), (6, 11), (7, 10), (8, 9), (9, 8), (10, 7), (11, 6), (12, 5), (13, 4)]:
            for d in (0, 1, 2):
                px[y + d - 1][x] = colour
        cells.append(px)
    return [cells[0][y] + cells[1][y] for y in range(16)]

out = sys.argv[1] if len(sys.argv) > 1 else 'resources'
bmp(os.path.join(out, 'ok.bmp'), ok())
bmp(os.path.join(out, 'cancel.bmp'), cancel())
bmp(os.path.join(out, 'browse.bmp'), browse())
bmp(os.path.join(out, 'cardok.bmp'), card_ok())
