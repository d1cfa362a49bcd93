#!/usr/bin/env python3
"""Draws the default stream logo (bitmap resource 106): a radio mast sending
waves, on magenta, the colour the editor proposes as transparent.

Writes a 256-colour (8 bits a pixel) bottom-up BMP of 48 x 47 pixels (the
system stretches it to the 48 x 48 logo when it loads it). Its colour table
lists only the colours it uses, which keeps 1 KB of zeros out of the DLL.

    tools/make_default_logo.py [resources/default_logo.bmp]
"""
import math
import struct
import sys

WIDTH, HEIGHT = 48, 47

# Palette indices (RGB): the colour table holds these and no more.
MAGENTA, MAST, MAST_LIGHT, BALL, WAVE, WAVE_LIGHT, GROUND, WHITE = range(8)
PALETTE = [
    (0xFF, 0x00, 0xFF),
    (0x40, 0x48, 0x58),
    (0x90, 0x98, 0xA8),
    (0xE0, 0x20, 0x20),
    (0x10, 0x50, 0xC0),
    (0x60, 0xA0, 0xF0),
    (0x30, 0x30, 0x30),
    (0xFF, 0xFF, 0xFF),
]

APEX = (24.0, 13.0)
BALL_CENTRE = (24.0, 9.5)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def colour_at(x, y):
    px, py = x + 0.5, y + 0.5
    # Ground line under the mast.
    if 43 <= y <= 44 and 10 <= x <= 37:
        return GROUND
    # Ball at the top of the mast, with a small highlight.
    d = math.hypot(px - BALL_CENTRE[0], py - BALL_CENTRE[1])
    if d <= 3.2:
        return WHITE if math.hypot(px - 23.0, py - 8.3) < 1.0 else BALL
    # Mast: two legs and cross braces between them.
    left, right = (15.0, 43.0), (33.0, 43.0)
    if segment_distance(px, py, *APEX, *left) <= 0.9 or segment_distance(px, py, *APEX, *right) <= 0.9:
        return MAST
    for k in range(4):
        y0 = 17.0 + k * 6.5
        y1 = y0 + 6.5
        half0 = (y0 - APEX[1]) * 9.0 / 30.0
        half1 = (y1 - APEX[1]) * 9.0 / 30.0
        if (segment_distance(px, py, 24 - half0, y0, 24 + half1, y1) <= 0.55 or
                segment_distance(px, py, 24 + half0, y0, 24 - half1, y1) <= 0.55):
            return MAST_LIGHT
    # Waves: arcs on both sides of the ball.
    angle = math.degrees(math.atan2(py - BALL_CENTRE[1], abs(px - BALL_CENTRE[0])))
    if -42 <= angle <= 42:
        for radius, colour in ((8.0, WAVE), (13.5, WAVE), (19.0, WAVE_LIGHT)):
            if abs(d - radius) <= 1.1:
                return colour
    return MAGENTA


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "resources/default_logo.bmp"
    rows = [bytes(colour_at(x, y) for x in range(WIDTH)) for y in range(HEIGHT)]
    stride = (WIDTH + 3) & ~3
    pixels = b"".join(row + b"\0" * (stride - WIDTH) for row in reversed(rows))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(pixels), 2835, 2835, len(PALETTE), 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(out, "wb") as f:
        f.write(header + info + palette + pixels)


if __name__ == "__main__":
    main()
