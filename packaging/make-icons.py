#!/usr/bin/env python3
"""Draws the desktop icons of ZUBA-TRILO from the game's own pixel art: the
invader and the cannon of video/sprites.h, the invader above the cannon,
white on black, scaled up by whole pixels.

Writes packaging/icons/zuba-trilo-48.png and zuba-trilo-256.png for the
desktop, zuba-trilo-192.png and zuba-trilo-512.png for the browser page's
manifest (a phone's home screen), and the Windows icon zuba-trilo.ico (48 and
256 pixels) that the Windows build puts into the exe. They are checked in, so
building the game never needs Python; run this again after redrawing either
sprite (it uses nothing but the standard library):

    python3 packaging/make-icons.py
"""
import os
import re
import struct
import sys
import zlib

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SPRITES_H = os.path.join(SOURCE, "video", "sprites.h")


def sprite_rows(name):
    """The rows of a picture<W, H>("...") definition in video/sprites.h."""
    text = open(SPRITES_H, encoding="utf-8").read()
    match = re.search(r"\b" + name + r"\s*=\s*picture<[^>]*>\(((?:\s*\"[^\"]*\")+)\s*\)", text)
    if not match:
        sys.exit(f"make-icons: no picture {name} in {SPRITES_H}")
    return re.findall(r'"([^"]*)"', match.group(1))


INVADER = sprite_rows("INVADER1_A")
CANNON = sprite_rows("CANNON")
GAP_ROWS = 1  # one black row between the invader and the cannon
LEVELS = {"#": 255, "+": 128, ".": 0}

# Icon size -> whole-pixel scale of the art.
SIZES = {48: 2, 192: 10, 256: 14, 512: 28}


def picture():
    """The art as rows of gray levels, the invader centred over the cannon."""
    width = max(len(INVADER[0]), len(CANNON[0]))
    rows = []
    for art in (INVADER, [""] * GAP_ROWS, CANNON):
        for line in art:
            left = (width - len(line)) // 2
            row = [0] * width
            for i, ch in enumerate(line):
                row[left + i] = LEVELS[ch]
            rows.append(row)
    return rows


def render(size, scale):
    art = picture()
    h, w = len(art) * scale, len(art[0]) * scale
    if w > size or h > size:
        sys.exit(f"art at scale {scale} ({w}x{h}) does not fit a {size} px icon")
    top, left = (size - h) // 2, (size - w) // 2
    pixels = [[0] * size for _ in range(size)]
    for y in range(h):
        for x in range(w):
            pixels[top + y][left + x] = art[y // scale][x // scale]
    return pixels


def png(pixels, color_type=0):
    """An 8-bit PNG, grayscale (color type 0) or RGBA (6) with the samples of
    a pixel side by side in its row; opaque (the game paints on black)."""
    channels = 4 if color_type == 6 else 1
    height, width = len(pixels), len(pixels[0]) // channels

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + bytes(row) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, color_type, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ico(sizes):
    """A Windows icon with one image per size: 32-bit BGRA bitmaps, and PNG
    (RGBA, as Windows expects it) for the 256 px image."""
    images = []
    for size, scale in sizes.items():
        pixels = render(size, scale)
        if size >= 256:
            rgba = [[v for g in row for v in (g, g, g, 255)] for row in pixels]
            data = png(rgba, color_type=6)
        else:
            # Bottom-up rows, then an all-zero AND mask (1 bit a pixel, rows
            # padded to 4 bytes); the height counts both.
            header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
            xor = b"".join(bytes(v for g in row for v in (g, g, g, 255)) for row in reversed(pixels))
            data = header + xor + bytes(((size + 31) // 32) * 4 * size)
        images.append((size, data))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "icons")
    os.makedirs(out_dir, exist_ok=True)
    for size, scale in SIZES.items():
        path = os.path.join(out_dir, f"zuba-trilo-{size}.png")
        with open(path, "wb") as f:
            f.write(png(render(size, scale)))
    with open(os.path.join(out_dir, "zuba-trilo.ico"), "wb") as f:
        # A Windows icon holds images of at most 256 pixels.
        f.write(ico({size: SIZES[size] for size in (48, 256)}))


if __name__ == "__main__":
    main()
