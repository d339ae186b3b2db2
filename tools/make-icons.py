#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Festoria developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws Festoria's application icon (resources/icon/festoria-N.png) and its hand pointer
(resources/HAND-M.CUR). Pure Python, no libraries: shapes are sampled 4x4 per pixel."""
import math
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")


def png(width, height, rows):
    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def star(cx, cy, outer, inner, points=5, turn=-math.pi / 2):
    pts = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = turn + i * math.pi / points
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def icon(size):
    # A purple rounded card with a large gold star and two small ones: a party invitation.
    purple = (91, 60, 140)
    light = (184, 128, 255)
    gold = (255, 204, 102)
    pale = (255, 220, 131)
    big = star(0.5, 0.54, 0.34, 0.15)
    small1 = star(0.2, 0.2, 0.09, 0.04)
    small2 = star(0.82, 0.24, 0.07, 0.03)
    rows = []
    n = 4
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    r = 0.16
                    dx = max(r - x, 0, x - (1 - r))
                    dy = max(r - y, 0, y - (1 - r))
                    if dx * dx + dy * dy > r * r:
                        continue
                    t = y
                    col = tuple(int(purple[k] * (1 - t * 0.5) + light[k] * t * 0.5) for k in range(3))
                    if inside(big, x, y):
                        col = gold if y > 0.5 else pale
                    elif inside(small1, x, y) or inside(small2, x, y):
                        col = pale
                    for k in range(3):
                        acc[k] += col[k]
                    acc[3] += 255
            cnt = n * n
            a = acc[3] / cnt
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(acc[k] / (acc[3] / 255)) for k in range(3)) + (int(a),))
        rows.append(row)
    return png(size, size, rows)


HAND = [
    "......XX........",
    ".....X..X.......",
    ".....X..X.......",
    ".....X..X.......",
    ".....X..XXX.....",
    ".....X..X..XXX..",
    ".....X..X..X..XX",
    ".XXX.X..X..X..XX",
    ".X..XX........XX",
    ".X...X........XX",
    "..X...........XX",
    "..X...........X.",
    "...X..........X.",
    "...X.........X..",
    "....X........X..",
    "....XXXXXXXXXX..",
]


def cursor():
    # 32x32 cursor, the 16x16 hand drawn at double size; hot spot on the finger tip.
    size = 32
    pixels = [[None] * size for _ in range(size)]
    for y, line in enumerate(HAND):
        for x, c in enumerate(line):
            for dy in range(2):
                for dx in range(2):
                    pixels[y * 2 + dy][x * 2 + dx] = c
    # Fill the inside of the outline white: flood from outside, everything unreached is hand.
    outside = [[False] * size for _ in range(size)]
    stack = [(0, 0)]
    while stack:
        x, y = stack.pop()
        if not (0 <= x < size and 0 <= y < size) or outside[y][x] or pixels[y][x] == "X":
            continue
        outside[y][x] = True
        stack += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    # 32-bit BGRA image, bottom-up, then a 1-bit AND mask (all 0: alpha decides).
    xor = b""
    for y in reversed(range(size)):
        for x in range(size):
            if pixels[y][x] == "X":
                xor += bytes((0, 0, 0, 255))
            elif not outside[y][x]:
                xor += bytes((255, 255, 255, 255))
            else:
                xor += bytes((0, 0, 0, 0))
    mask = bytes(4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    hot_x, hot_y = 13, 0
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, hot_x, hot_y, len(image), 22)
    return directory + image


if __name__ == "__main__":
    os.makedirs(os.path.join(ROOT, "icon"), exist_ok=True)
    for s in (32, 48, 128, 256):
        with open(os.path.join(ROOT, "icon", "festoria-%d.png" % s), "wb") as f:
            f.write(icon(s))
    with open(os.path.join(ROOT, "HAND-M.CUR"), "wb") as f:
        f.write(cursor())
