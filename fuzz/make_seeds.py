#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/ (run by hand; the output is
committed). Each seed is a short, meaningful input in the byte layout its
fuzz target's header comment describes; libFuzzer mutates from there."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    d = os.path.join(HERE, "corpus", target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


# draw_queue: opcode then operands
def fill(x, y, w, h, g):
    return struct.pack("<BhhhhB", 0, x, y, w, h, g)


def fill_int(x, y, w, h, g):
    return struct.pack("<BiihhB", 1, x, y, w, h, g)


def sprite(x, y, w, h):
    return struct.pack("<Bhhhh", 2, x, y, w, h)


def glyph(x, y, code):
    return struct.pack("<BhhBB", 3, x, y, 0, code) if 0 <= code < 256 else struct.pack("<BhhBi", 3, x, y, 1, code)


def bulk(count, x, y, size):
    return struct.pack("<BHhhB", 4, count, x, y, size)


FLUSH = bytes([5])


def present(on, ms):
    return struct.pack("<BBB", 6, on, ms)


CLEAR = bytes([7])
write("draw_queue", "frame", CLEAR + FLUSH + fill(1, 1283, 2499, 16, 255) + fill(2420, 0, 2, 1300, 255)
      + sprite(1170, 622, 162, 58) + glyph(2428, 32, ord("S")) + glyph(0, 0, 200) + present(1, 16))
write("draw_queue", "edges", fill(-32768, -32768, 32767, 32767, 9) + sprite(2490, 1295, 40, 40)
      + sprite(-20, -3, 24, 8) + fill(32767, 32767, 32767, 32767, 1) + glyph(2496, 1296, ord("A"))
      + fill_int(70000, -70000, 100, 100, 3) + sprite(-32768, 0, 32767, 32) + FLUSH)
write("draw_queue", "full_ring", bulk(3071, 0, 0, 5) + fill(10, 10, 5, 5, 200) + glyph(0, 0, -1)
      + glyph(0, 0, 128) + FLUSH + bulk(4000, 2400, 1290, 15) + present(0, 3) + present(1, 0))

# replay scripts
write("replay_script", "game", b"# start a game, move and fire, then quit\n60 -\n2 fire\n120 left+fire\n"
      b"\t30 right \r\n\n5 up+down+b+c+d\n1 close\n1 escape\n")
write("replay_script", "bad_key", b"10 fire\n3 jump\n")
write("replay_script", "bad_count", b"0 -\n")
write("replay_script", "too_many", b"1000000001 left\n")
