#!/usr/bin/env python3
"""Writes shapes.gif: a few coloured figures on white, one of them a ring, for trying
morvane-trace and the map it writes. Run from anywhere; the GIF lands beside this script.

The LZW stream sends a clear code before the code table would outgrow 9-bit codes, so
no dictionary is needed; the file is larger than a packed one, which does not matter
at this size.
"""
import os
import struct

WIDTH, HEIGHT = 200, 120
PALETTE = [(255, 255, 255), (204, 0, 0), (0, 102, 204), (0, 153, 51), (255, 170, 0)]
WHITE, RED, BLUE, GREEN, ORANGE = range(5)


def figure(x, y):
    # A red rectangle.
    if 12 <= x < 62 and 14 <= y < 54:
        return RED
    # A blue disc.
    # (r squared plus r keeps single pixels from poking out at the four extremes.)
    if (x - 108) ** 2 + (y - 36) ** 2 < 24 ** 2 + 24:
        return BLUE
    # A green triangle, apex at the top.
    if 74 <= y < 110 and abs(x - 40) <= (y - 74) * 0.8:
        return GREEN
    # An orange ring with a hole.
    d = (x - 160) ** 2 + (y - 78) ** 2
    if 12 ** 2 + 12 <= d < 28 ** 2 + 28:
        return ORANGE
    return WHITE


def lzw(indices):
    out, acc, bits = bytearray(), 0, 0

    def put(code):
        nonlocal acc, bits
        acc |= code << bits
        bits += 9
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8

    put(256)
    run = 0
    for i in indices:
        put(i)
        run += 1
        if run == 250:
            put(256)
            run = 0
    put(257)
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif(width, height, pixels):
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0xF7, 0, 0)
    for i in range(256):
        data += bytes(PALETTE[i] if i < len(PALETTE) else (0, 0, 0))
    data += b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    data += b"\x08"
    stream = lzw(pixels)
    for at in range(0, len(stream), 255):
        block = stream[at:at + 255]
        data += bytes([len(block)]) + block
    data += b"\x00\x3B"
    return bytes(data)


def main():
    pixels = [figure(x, y) for y in range(HEIGHT) for x in range(WIDTH)]
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "shapes.gif")
    with open(path, "wb") as f:
        f.write(gif(WIDTH, HEIGHT, pixels))


if __name__ == "__main__":
    main()
