#!/usr/bin/env python3
"""Writes resources/quennel.ico: the program icon in the 16-colour palette, in the sizes the system asks
for at display scalings from 100 % to 400 %: 16, 20, 24, 32, 40, 48 and 64 pixels square."""
import struct, sys

PALETTE = [(0,0,0),(128,0,0),(0,128,0),(128,128,0),(0,0,128),(128,0,128),(0,128,128),(192,192,192),
           (128,128,128),(255,0,0),(0,255,0),(255,255,0),(0,0,255),(255,0,255),(0,255,255),(255,255,255)]
NAVY, TEAL, SILVER, YELLOW, WHITE, BLUE = 4, 6, 7, 11, 15, 12

def picture(n):
    """A rounded navy tile with a yellow ring and tail: the letter Q."""
    px = [[None]*n for _ in range(n)]
    c = (n-1)/2.0
    for y in range(n):
        for x in range(n):
            # rounded square tile
            dx, dy = max(abs(x-c)-(n*0.30), 0), max(abs(y-c)-(n*0.30), 0)
            if dx*dx+dy*dy > (n*0.2)**2: continue
            px[y][x] = NAVY
            r = ((x-c)**2+(y-c)**2)**0.5
            if n*0.22 <= r <= n*0.36: px[y][x] = YELLOW
            elif r < n*0.22: px[y][x] = BLUE
            # the tail, from the ring's lower right outwards
            t = (x-c)-(y-c)
            if abs(t) <= n*0.06 and x > c+n*0.08 and y > c+n*0.08 and x < n*0.92 and y < n*0.92:
                px[y][x] = WHITE
    return px

def image(n):
    px = picture(n)
    header = struct.pack('<IiiHHIIiiII', 40, n, n*2, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor = b''
    for y in reversed(range(n)):
        row = bytearray()
        for x in range(0, n, 2):
            a = px[y][x] or 0; b = px[y][x+1] or 0
            row.append((a << 4) | b)
        while len(row) % 4: row.append(0)
        xor += bytes(row)
    mask = b''
    for y in reversed(range(n)):
        bits = 0; row = bytearray()
        for x in range(n):
            bits = (bits << 1) | (1 if px[y][x] is None else 0)
            if x % 8 == 7: row.append(bits); bits = 0
        if n % 8: row.append(bits << (8 - n % 8))
        while len(row) % 4: row.append(0)
        mask += bytes(row)
    return header + pal + xor + mask

imgs = [(n, image(n)) for n in (16, 20, 24, 32, 40, 48, 64)]
out = struct.pack('<HHH', 0, 1, len(imgs))
offset = 6 + 16*len(imgs)
for n, data in imgs:
    out += struct.pack('<BBBBHHII', n, n, 16, 0, 1, 4, len(data), offset)
    offset += len(data)
for _, data in imgs: out += data
open(sys.argv[1] if len(sys.argv) > 1 else 'resources/quennel.ico', 'wb').write(out)
