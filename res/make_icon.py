#!/usr/bin/env python3
"""Draws the tool's icon: a white Z on a blue rounded square, 16 and 32 pixels, 32-bit colour.

    python3 res/make_icon.py res/zorvel.ico
"""
import struct
import sys

BLUE = (0x2A, 0x5D, 0xB0)
DARK_BLUE = (0x1B, 0x3E, 0x78)
WHITE = (0xFF, 0xFF, 0xFF)


def inside_rounded_square(x, y, size, radius):
    # Distance from the nearest corner centre decides the rounded corners.
    cx = min(max(x + 0.5, radius), size - radius)
    cy = min(max(y + 0.5, radius), size - radius)
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius ** 2


def on_letter_z(x, y, size):
    margin = size // 4
    stroke = max(2, size // 8)
    lo, hi = margin, size - margin
    if not (lo <= x < hi and lo <= y < hi):
        return False
    if y < lo + stroke or y >= hi - stroke:
        return True
    # The diagonal runs from the top right to the bottom left.
    t = (y + 0.5 - lo) / (hi - lo)
    diagonal_x = hi - t * (hi - lo)
    return abs(x + 0.5 - diagonal_x) <= stroke * 0.75


def pixel(x, y, size):
    """Returns (r, g, b, a) for pixel (x, y), y counted from the top."""
    if not inside_rounded_square(x, y, size, size / 5):
        return (0, 0, 0, 0)
    if on_letter_z(x, y, size):
        return WHITE + (0xFF,)
    edge = x == 0 or y == 0 or x == size - 1 or y == size - 1
    return (DARK_BLUE if edge else BLUE) + (0xFF,)


def icon_image(size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA rows, then the 1-bit AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    mask_row_bytes = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row_mask = bytearray(mask_row_bytes)
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            colour += bytes((b, g, r, a))
            if a == 0:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    return header + bytes(colour) + bytes(mask)


def main(path):
    sizes = (16, 32)
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "zorvel.ico")
