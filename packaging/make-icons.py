#!/usr/bin/env python3
"""Draws the desktop icons of ZUBA-TRILO from the game's own pixel art: the
invader and the cannon of video/sprites.h, the invader above the cannon,
white on black, scaled up by whole pixels.

Writes packaging/icons/zuba-trilo-48.png and zuba-trilo-256.png for the
desktop, and zuba-trilo-192.png and zuba-trilo-512.png for the browser page's
manifest (a phone's home screen). The PNGs are
checked in, so building the game never needs Python; run this again after
redrawing either sprite (it uses nothing but the standard library):

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


def png(pixels):
    """An 8-bit grayscale PNG, opaque (the game paints on black)."""
    height, width = len(pixels), len(pixels[0])

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + bytes(row) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "icons")
    os.makedirs(out_dir, exist_ok=True)
    for size, scale in SIZES.items():
        path = os.path.join(out_dir, f"zuba-trilo-{size}.png")
        with open(path, "wb") as f:
            f.write(png(render(size, scale)))


if __name__ == "__main__":
    main()
