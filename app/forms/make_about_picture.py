#!/usr/bin/env python3
"""Writes fwAbout.json: the about box's design data, whose image control liAbout holds
the about picture. The picture is 360 x 360: a disc cut flat at the lower right, with
an outline of a traced region and a small hole at the top; everything magenta is cut
away from the box's window. No antialiasing, so the mask colour stays exact.

Run from anywhere; the JSON lands beside this script.
"""
import base64
import json
import os
import struct
import zlib

SIZE = 360
MAGENTA = (255, 0, 255)
PAPER = (246, 243, 234)
RING = (31, 95, 115)
OUTLINE = (224, 122, 20)
VERTEX = (31, 95, 115)
SHADE = (222, 234, 238)

CX, CY = 180, 180
# The traced region's outline: a pentagon around the hole.
MOTIF_CX, MOTIF_CY, MOTIF_R = 180, 64, 44
PENTAGON = [(180, 20), (222, 50), (206, 100), (154, 100), (138, 50)]


def inside_polygon(x, y, points):
    inside = False
    n = len(points)
    for i in range(n):
        x1, y1 = points[i]
        x2, y2 = points[(i + 1) % n]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def near_segment(x, y, a, b, width):
    (x1, y1), (x2, y2) = a, b
    dx, dy = x2 - x1, y2 - y1
    t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / float(dx * dx + dy * dy)))
    px, py = x1 + t * dx, y1 + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= width * width


def pixel(x, y):
    d2 = (x - CX) ** 2 + (y - CY) ** 2
    # The disc, cut flat at the lower right.
    if d2 > 178 ** 2 or (x - CX) + (y - CY) > 200:
        return MAGENTA
    # The hole: the window under the box shows through it.
    if abs(x - MOTIF_CX) + abs(y - MOTIF_CY + 4) < 16:
        return MAGENTA
    if d2 >= 169 ** 2 or (x - CX) + (y - CY) > 192:
        return RING
    for vx, vy in PENTAGON:
        if abs(x - vx) <= 4 and abs(y - vy) <= 4:
            return VERTEX
    for i in range(len(PENTAGON)):
        if near_segment(x, y, PENTAGON[i], PENTAGON[(i + 1) % len(PENTAGON)], 1.6):
            return OUTLINE
    if inside_polygon(x, y, PENTAGON):
        return SHADE
    return PAPER


def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    picture = {"type": "picture", "png": base64.b64encode(png(SIZE, SIZE, rows)).decode("ascii")}
    magenta = MAGENTA[0] | MAGENTA[1] << 8 | MAGENTA[2] << 16
    design = {
        "form": "fwAbout",
        "controls": [
            {
                "classId": "{5961B3DF-5F2A-47C2-B2F5-F87277015D19}",
                "name": "liAbout",
                "bag": [
                    ["AutoSize", 1],
                    ["DrawEffect", 0],
                    ["Enabled", True],
                    ["FillColor", 0],
                    ["MaskColor", magenta],
                    ["MouseIcon", None],
                    ["MousePointer", 99],
                    ["ParentTitleOffset", 0],
                    ["ParentTitleY", 0],
                    ["Picture", picture],
                    ["Style", 3],
                ],
            }
        ],
    }
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fwAbout.json")
    with open(out, "w", encoding="ascii") as f:
        json.dump(design, f, indent=2)
        f.write("\n")


if __name__ == "__main__":
    main()
