#!/usr/bin/env python3
"""Paints the demo's two 800 x 600 pictures, a day and a night over the same hills, and writes
them as 24-bit bottom-up BMP files beside this script. Run again only to change them."""
import math
import os
import struct

W, H = 800, 600


def clamp(v):
    return max(0, min(255, int(round(v))))


def hill(x):
    return 390 + 40 * math.sin(x / 85.0) + 22 * math.sin(x / 31.0 + 1)


def day(x, y):
    if (x - 600) ** 2 + (y - 140) ** 2 < 60 ** 2:
        return 255, 225, 70
    crown = (x - 170) ** 2 + (y - 270) ** 2 < 65 ** 2
    if crown or (150 <= x < 190 and 270 <= y < 520):
        return (20, 70 + (x * 7 + y * 3) % 40, 25) if crown else (90, 60, 30)
    if y > 500:
        return (230, 230, 230) if (x // 40 + y // 40) % 2 == 0 else (200, 30, 30)
    h = hill(x)
    if y > h:
        return 20, clamp(180 - (y - h) * 0.9), 30
    t = y / h
    return clamp(70 + 170 * t), clamp(130 + 60 * t), clamp(235 - 110 * t)


def night(x, y):
    if (x - 220) ** 2 + (y - 120) ** 2 < 45 ** 2 and (x - 240) ** 2 + (y - 110) ** 2 >= 40 ** 2:
        return 250, 245, 200
    h = hill(x)
    tower = (x // 50) % 3 != 1 and y > 300 + ((x // 50) * 37) % 120 and x > 420
    if tower:
        lit = (x // 10 + y // 14) % 5 == 0 and x % 10 > 3 and y % 14 > 5
        return (255, 210, 90) if lit else (25, 25, 45)
    if y > h:
        return 10, clamp(60 - (y - h) * 0.2), 40
    star = ((x * 73856093) ^ (y * 19349663)) % 1201 == 0
    if star:
        return 255, 255, 255
    t = y / h
    return clamp(10 + 40 * t), clamp(10 + 30 * t), clamp(50 + 70 * t)


def write_bmp(path, paint):
    row_bytes = (W * 3 + 3) & ~3
    rows = []
    for y in range(H - 1, -1, -1):
        row = bytearray()
        for x in range(W):
            r, g, b = paint(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (row_bytes - len(row)))
    pixels = b"".join(rows)
    header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures")
write_bmp(os.path.join(here, "day.bmp"), day)
write_bmp(os.path.join(here, "night.bmp"), night)
