#!/usr/bin/env python3
"""Draws the bitmaps of setup.exe as 8-bit BMP files (no library needed):
folder_open.bmp, folder_closed.bmp and drive.bmp (16x16, the directory
chooser's tree) and welcome.bmp (257x370, the welcome dialog's picture).
Run it in this folder to make them again: python3 make_bitmaps.py"""
import math
import struct


def rle8_row(row):
    """One row in the run-length coding of 8-bit bitmaps: runs of one index
    as (count, index), other stretches of 3 or more as (0, count, indexes)
    padded to an even length, then the end of line (0, 0)."""
    out = bytearray()
    literal = []

    def flush():
        while literal:
            part = literal[:255]
            del literal[:255]
            if len(part) < 3:
                for v in part:
                    out.extend((1, v))
            else:
                out.extend((0, len(part)))
                out.extend(part)
                if len(part) % 2:
                    out.append(0)

    x = 0
    while x < len(row):
        run = 1
        while x + run < len(row) and row[x + run] == row[x] and run < 255:
            run += 1
        if run >= 3:
            flush()
            out.extend((run, row[x]))
        else:
            literal.extend(row[x:x + run])
        x += run
    flush()
    out.extend((0, 0))
    return bytes(out)


def write_bmp(path, width, height, palette, pixels, rle=False):
    """pixels[y][x] are palette indexes, y = 0 the top row. With rle, the
    pixels are stored run-length coded (the welcome picture is mostly runs)."""
    stride = (width + 3) & ~3
    if rle:
        rows = b''.join(rle8_row(pixels[y]) for y in reversed(range(height))) + bytes((0, 1))
    else:
        rows = b''.join(bytes(pixels[y]) + bytes(stride - width) for y in reversed(range(height)))
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    colours += bytes(4 * (256 - len(palette)))
    offset = 14 + 40 + 256 * 4
    header = struct.pack('<2sIHHI', b'BM', offset + len(rows), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 1 if rle else 0, len(rows), 2835, 2835, 256, 0)
    with open(path, 'wb') as f:
        f.write(header + info + colours + rows)


# Pixel art: one character a pixel.
ICON_PALETTE = [(255, 255, 255), (0, 0, 0), (255, 214, 90), (196, 150, 40), (255, 240, 170),
                (128, 128, 128), (192, 192, 192), (240, 240, 240), (0, 170, 0), (64, 64, 64)]
ICON_KEYS = {'.': 0, 'k': 1, 'y': 2, 'd': 3, 'l': 4, 'g': 5, 's': 6, 'w': 7, 'G': 8, 'D': 9}

FOLDER_CLOSED = [
    '................',
    '................',
    '..kkkkk.........',
    '.kyyyyyk........',
    '.kyyyyyykkkkkkk.',
    '.kllllllllllllk.',
    '.klyyyyyyyyyydk.',
    '.klyyyyyyyyyydk.',
    '.klyyyyyyyyyydk.',
    '.klyyyyyyyyyydk.',
    '.klyyyyyyyyyydk.',
    '.klyyyyyyyyyydk.',
    '.kddddddddddddk.',
    '.kkkkkkkkkkkkkk.',
    '................',
    '................',
]

FOLDER_OPEN = [
    '................',
    '................',
    '..kkkkk.........',
    '.kyyyyyk........',
    '.kyyyyyykkkkkk..',
    '.kyddddddddddk..',
    '.kyd.kkkkkkkkkkk',
    '.kydkllllllllllk',
    '.kydklyyyyyyyydk',
    '.kykllyyyyyyydk.',
    '.kyklyyyyyyyydk.',
    '.kklyyyyyyyyydk.',
    '.kklyyyyyyyydk..',
    '.kkddddddddddk..',
    '.kkkkkkkkkkkkk..',
    '................',
]

DRIVE = [
    '................',
    '................',
    '................',
    '................',
    '..kkkkkkkkkkkk..',
    '.kwwwwwwwwwwwwk.',
    '.kwssssssssssgk.',
    '.kwssssssssssgk.',
    '.kwssssssssssgk.',
    '.kwsDDDDssGGsgk.',
    '.kwssssssssssgk.',
    '.kgggggggggggDk.',
    '..kkkkkkkkkkkk..',
    '................',
    '................',
    '................',
]


def icon(rows):
    return [[ICON_KEYS[c] for c in row] for row in rows]


def welcome_picture(width=257, height=370):
    """A night-blue sky over a panorama of hills, a rising sun and the
    circles of a compass rose: 64 shades each of sky, hill, sun and rose."""
    palette = []
    for i in range(64):  # sky: deep blue to dusk
        t = i / 63
        palette.append((int(10 + 150 * t), int(20 + 90 * t), int(80 + 120 * t)))
    for i in range(64):  # hills: dark to lit green-blue
        t = i / 63
        palette.append((int(10 + 40 * t), int(40 + 110 * t), int(50 + 90 * t)))
    for i in range(64):  # sun: red to pale yellow
        t = i / 63
        palette.append((255, int(90 + 160 * t), int(30 + 170 * t)))
    for i in range(64):  # rose: grey-blue lines
        t = i / 63
        palette.append((int(120 + 120 * t), int(140 + 110 * t), int(170 + 85 * t)))
    sun_x, sun_y, sun_r = 170, 190, 38
    rose_x, rose_y = 70, 300
    pixels = []
    for y in range(height):
        row = []
        for x in range(width):
            sky = int(63 * min(1.0, y / 230))
            value = sky
            d = math.hypot(x - sun_x, y - sun_y)
            if d < sun_r:
                value = 128 + int(63 * (1 - d / sun_r))
            elif d < sun_r + 14:
                glow = 1 - (d - sun_r) / 14
                value = min(63, sky + int(30 * glow))
            ridge1 = 215 + 18 * math.sin(x / 23.0) + 9 * math.sin(x / 7.0 + 1.3)
            ridge2 = 250 + 14 * math.sin(x / 31.0 + 2.0) + 6 * math.sin(x / 11.0)
            if y > ridge1:
                value = 64 + int(20 + 25 * (1 - min(1.0, (y - ridge1) / 60)))
            if y > ridge2:
                value = 64 + int(10 * (1 - min(1.0, (y - ridge2) / 120)))
            r = math.hypot(x - rose_x, y - rose_y)
            angle = math.atan2(y - rose_y, x - rose_x)
            on_ring = any(abs(r - k) < 0.9 for k in (22, 36, 50))
            on_spoke = r < 52 and min(abs(math.sin(angle * 4)), 1) < 0.035 * (60 / max(r, 1))
            if y > ridge2 and (on_ring or on_spoke):
                value = 192 + int(63 * (1 - r / 60)) if r < 60 else value
            row.append(max(0, min(255, value)))
        pixels.append(row)
    return palette, pixels


if __name__ == '__main__':
    write_bmp('folder_open.bmp', 16, 16, ICON_PALETTE, icon(FOLDER_OPEN))
    write_bmp('folder_closed.bmp', 16, 16, ICON_PALETTE, icon(FOLDER_CLOSED))
    write_bmp('drive.bmp', 16, 16, ICON_PALETTE, icon(DRIVE))
    palette, pixels = welcome_picture()
    write_bmp('welcome.bmp', 257, 370, palette, pixels, rle=True)
