#!/usr/bin/env python3
"""Writes res/TAVERO.ico: one 32 x 32 image of 256 colours, our own design (a faceted crystal
with a spark), drawn from geometry so that it can be made again."""
import struct
import sys

SIZE = 32

def palette():
    colours = [(0, 0, 0)] * 256
    for i in range(128):  # blues to violet, dark to light
        t = i / 127
        colours[i] = (int(40 + 120 * t), int(30 + 170 * t), int(90 + 165 * t))
    colours[250] = (20, 16, 48)     # outline
    colours[251] = (255, 255, 255)  # spark
    colours[252] = (255, 236, 140)  # spark glow
    return colours

def pixel(x, y):
    """Palette index and whether the pixel is opaque."""
    cx, cy = 15.5, 16.5
    dx, dy = x - cx, y - cy
    # The spark: a small four-pointed star at the upper right.
    sx, sy = x - 25, y - 6
    if (sx == 0 and abs(sy) <= 3) or (sy == 0 and abs(sx) <= 3):
        return (251 if abs(sx) + abs(sy) <= 1 else 252), True
    # The crystal: a tall diamond.
    d = abs(dx) / 11 + abs(dy) / 15
    if d > 1.0:
        return 0, False
    if d > 0.88:
        return 250, True
    # Facets: light from the upper left, a bright crown above the girdle.
    facet = 0.55 if dy < -4 else 0.3
    shade = facet + (-dx - dy) / 60 + (0.2 if (dx < 0) == (dy < 0) else 0)
    return max(0, min(127, int(shade * 127))), True

def main(path):
    rows_xor, rows_and = [], []
    for y in reversed(range(SIZE)):  # bottom-up
        xor = bytearray()
        mask = 0
        for x in range(SIZE):
            index, opaque = pixel(x, y)
            xor.append(index)
            mask = (mask << 1) | (0 if opaque else 1)
        rows_xor.append(bytes(xor))
        rows_and.append(mask.to_bytes(4, "big"))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0, SIZE * SIZE + SIZE * 4, 0, 0, 0, 0)
    colours = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette())
    image = header + colours + b"".join(rows_xor) + b"".join(rows_and)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 22)
    with open(path, "wb") as out:
        out.write(directory + image)

if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/TAVERO.ico")
