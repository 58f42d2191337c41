#!/usr/bin/env python3
"""Draws the installer's pictures and writes them beside this script:

- the four small browser window icons that the installer recognises
  (IEXPLORE302.rgb, IEXPLORE40.rgb, NETSCAPE304.rgb, NETSCAPE404.rgb):
  16 x 16 pixels, 24-bit blue-green-red, bottom-up rows of 48 bytes, 768 bytes;
- the program's own icon (nandor.ico, 32 x 32 and 16 x 16, 24-bit).

Run it again after changing a drawing: python3 make_icons.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
GREY = (192, 192, 192)


def globe(size, sea, land, ring):
    """A round globe with a band, a meridian and a ring, on a grey ground."""
    pixels = [[GREY] * size for _ in range(size)]
    c = (size - 1) / 2.0
    r = size / 2.0 - 0.5
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d > r:
                continue
            colour = sea
            if abs(y - c) < size / 8 or abs(x - c) < size / 16 + 0.5:
                colour = land
            if d > r - 1.2:
                colour = ring
            pixels[y][x] = colour
    return pixels


def setup_box(size):
    """A brown box with a green arrow going down into it."""
    pixels = [[GREY] * size for _ in range(size)]
    s = size / 16.0
    for y in range(size):
        for x in range(size):
            if y >= 8 * s and 2 * s <= x < 14 * s:
                pixels[y][x] = (150, 100, 40) if y > 9 * s else (110, 70, 20)
            mid = size / 2.0
            if y < 7 * s and abs(x + 0.5 - mid) < 1.5 * s:
                pixels[y][x] = (30, 160, 40)
            if 7 * s <= y < 11 * s and abs(x + 0.5 - mid) < (11 * s - y):
                pixels[y][x] = (30, 160, 40)
    return pixels


def bottom_up_bgr(pixels, pad_rows=True):
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        if pad_rows:
            line += b"\0" * ((4 - len(line) % 4) % 4)
        out += line
    return bytes(out)


def icon_image(pixels):
    """One icon image: header, colour bits, an all-opaque mask."""
    size = len(pixels)
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    return header + bottom_up_bgr(pixels) + b"\0" * (mask_row * size)


def write_icon(path, images):
    data = [icon_image(p) for p in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for pixels, blob in zip(images, data):
        size = len(pixels)
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(data))


BROWSERS = {
    "IEXPLORE302": ((20, 40, 160), (240, 240, 240), (0, 0, 90)),
    "IEXPLORE40": ((60, 140, 230), (250, 200, 40), (20, 60, 140)),
    "NETSCAPE304": ((20, 130, 60), (230, 230, 120), (0, 70, 20)),
    "NETSCAPE404": ((0, 140, 150), (200, 40, 40), (0, 60, 70)),
}

for name, colours in BROWSERS.items():
    image = bottom_up_bgr(globe(16, *colours))
    assert len(image) == 768
    with open(os.path.join(HERE, name + ".rgb"), "wb") as f:
        f.write(image)
write_icon(os.path.join(HERE, "nandor.ico"), [setup_box(32), setup_box(16)])
