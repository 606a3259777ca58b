#!/usr/bin/env python3
"""Draws Vantrel's window icon (vantrel.ico, 32 x 32 and 16 x 16) and the logo
on the main window's white band (logo.bmp, 50 x 37): a white stylised "V" on a
blue rounded square. Plain geometry, no libraries: run it again after a change
and commit the files it writes next to itself."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4  # supersampling per axis, for smooth edges

BLUE_TOP = (36, 99, 196)
BLUE_BOTTOM = (16, 56, 140)
WHITE = (255, 255, 255)
SHADOW = (10, 34, 90)


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    cx, cy = ax + t * dx, ay + t * dy
    return ((px - cx) ** 2 + (py - cy) ** 2) ** 0.5


def in_rounded(px, py, x0, y0, x1, y1, r):
    cx = min(max(px, x0 + r), x1 - r)
    cy = min(max(py, y0 + r), y1 - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def draw(width, height, square, transparent):
    """Returns rows top to bottom of (r, g, b, a). `square` is (x0, y0, x1, y1)
    of the blue tile; outside it the picture is white (logo) or clear (icon)."""
    x0, y0, x1, y1 = square
    side = min(x1 - x0, y1 - y0)
    radius = side * 0.18
    stroke = side * 0.11
    # The "V": two strokes meeting low in the middle of the tile.
    left = (x0 + side * 0.22 + (x1 - x0 - side) / 2, y0 + side * 0.22)
    right = (x1 - side * 0.22 - (x1 - x0 - side) / 2, y0 + side * 0.22)
    tip = ((x0 + x1) / 2.0, y1 - side * 0.2)
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px = x + (sx + 0.5) / SAMPLES
                    py = y + (sy + 0.5) / SAMPLES
                    if in_rounded(px, py, x0, y0, x1, y1, radius):
                        colour = mix(BLUE_TOP, BLUE_BOTTOM, (py - y0) / float(y1 - y0))
                        d = min(seg_dist(px, py, *left, *tip), seg_dist(px, py, *right, *tip))
                        ds = min(seg_dist(px - side * 0.04, py - side * 0.05, *left, *tip),
                                 seg_dist(px - side * 0.04, py - side * 0.05, *right, *tip))
                        if d <= stroke:
                            colour = WHITE
                        elif ds <= stroke:
                            colour = SHADOW
                        alpha = 1.0
                    else:
                        colour = WHITE
                        alpha = 0.0 if transparent else 1.0
                    for i in range(3):
                        acc[i] += colour[i] * alpha if transparent else colour[i]
                    acc[3] += alpha
            n = float(SAMPLES * SAMPLES)
            a = acc[3] / n
            if transparent:
                rgb = tuple(int(round(acc[i] / acc[3])) if acc[3] else 0 for i in range(3))
            else:
                rgb = tuple(int(round(acc[i] / n)) for i in range(3))
            row.append(rgb + (int(round(a * 255)),))
        rows.append(row)
    return rows


def bmp_24(rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def icon_image(rows):
    height, width = len(rows), len(rows[0])
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def ico(images):
    count = len(images)
    directory = struct.pack("<HHH", 0, 1, count)
    offset = 6 + 16 * count
    entries, blobs = b"", b""
    for rows in images:
        blob = icon_image(rows)
        size = len(rows[0])
        entries += struct.pack("<BBBBHHII", size % 256, len(rows) % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return directory + entries + blobs


def main():
    logo = draw(50, 37, (7, 0, 44, 37), transparent=False)
    with open(os.path.join(HERE, "logo.bmp"), "wb") as f:
        f.write(bmp_24(logo))
    icons = [draw(32, 32, (0, 0, 32, 32), transparent=True), draw(16, 16, (0, 0, 16, 16), transparent=True)]
    with open(os.path.join(HERE, "vantrel.ico"), "wb") as f:
        f.write(ico(icons))


if __name__ == "__main__":
    main()
