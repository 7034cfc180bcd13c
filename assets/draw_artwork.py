#!/usr/bin/env python3
"""Draws the splash card and the title picture of ZUBA-TRILO.

Writes assets/embed/splash.pgm (162 x 58) and assets/embed/title.pgm
(320 x 240), binary PGMs without comments, which the build compiles into the
game. Run by hand after changing the drawing:

    python3 assets/draw_artwork.py

Only three gray levels appear in each picture: black, white and one gray
(150 on the splash card, 153 on the title).
"""
import math
import os

BLACK, WHITE = 0, 255
SPLASH_GRAY, TITLE_GRAY = 150, 153


class Canvas:
    def __init__(self, w, h, fill=BLACK):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, v):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = v

    def get(self, x, y):
        return self.px[y][x] if 0 <= x < self.w and 0 <= y < self.h else BLACK

    def rect(self, x, y, w, h, v):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.set(xx, yy, v)

    def paint(self, mask, v, dx=0, dy=0):
        for (x, y) in mask:
            self.set(x + dx, y + dy, v)

    def write_pgm(self, path):
        with open(path, "wb") as f:
            f.write(b"P5\n%d %d\n255\n" % (self.w, self.h))
            f.write(bytes(v for row in self.px for v in row))


# --- shapes as sets of pixels ----------------------------------------------

def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    l2 = dx * dx + dy * dy
    t = 0 if l2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / l2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


class Shape:
    """A union of strokes in a letter box, sampled at pixel centres."""

    def __init__(self):
        self.parts = []

    def line(self, a, b, r):
        self.parts.append(("line", a, b, r))
        return self

    def arc(self, c, rx, ry, a0, a1, r):
        # Elliptic arc from angle a0 to a1 (degrees, 0 = right, 90 = down).
        self.parts.append(("arc", c, rx, ry, a0, a1, r))
        return self

    def box(self, x0, y0, x1, y1):
        self.parts.append(("box", x0, y0, x1, y1))
        return self

    def inside(self, x, y):
        for p in self.parts:
            if p[0] == "line" and seg_dist(x, y, *p[1], *p[2]) <= p[3]:
                return True
            if p[0] == "box" and p[1] <= x <= p[3] and p[2] <= y <= p[4]:
                return True
            if p[0] == "arc":
                _, (cx, cy), rx, ry, a0, a1, r = p
                steps = 64
                for i in range(steps + 1):
                    a = math.radians(a0 + (a1 - a0) * i / steps)
                    b = math.radians(a0 + (a1 - a0) * (i + 1) / steps)
                    if i < steps and seg_dist(x, y, cx + rx * math.cos(a), cy + ry * math.sin(a),
                                              cx + rx * math.cos(b), cy + ry * math.sin(b)) <= r:
                        return True
        return False


def letter(ch, w, h, r):
    """A hand-lettered capital in a w x h box; strokes of half-width r."""
    s = Shape()
    L, R, T, B = r, w - r, r, h - r   # stroke centre lines stay inside the box
    M = (T + B) / 2
    if ch == "Z":
        s.line((L, T), (R, T), r).line((R, T), (L, B), r).line((L, B), (R, B), r)
    elif ch == "U":
        ry = (R - L) / 2
        s.line((L, T), (L, B - ry), r).line((R, T), (R, B - ry), r)
        s.arc(((L + R) / 2, B - ry), (R - L) / 2, ry, 0, 180, r)
    elif ch == "B":
        mid = M - r * 0.2
        ru = (mid - T) / 2
        rl = (B - mid) / 2
        s.line((L, T), (L, B), r)
        s.line((L, T), (R - ru - r * 0.3, T), r).line((L, mid), (R - rl, mid), r).line((L, B), (R - rl, B), r)
        s.arc((R - ru - r * 0.3, T + ru), ru, ru, -90, 90, r)
        s.arc((R - rl, mid + rl), rl, rl, -90, 90, r)
    elif ch == "A":
        top = (L + R) / 2
        s.line((top, T), (L, B), r).line((top, T), (R, B), r)
        y = T + (B - T) * 0.62
        f = (y - T) / (B - T)
        s.line((top + (L - top) * f, y), (top + (R - top) * f, y), r * 0.85)
    elif ch == "-":
        s.line((L, M), (R, M), r)
    elif ch == "T":
        s.line((L, T), (R, T), r).line(((L + R) / 2, T), ((L + R) / 2, B), r)
    elif ch == "R":
        ru = (M - T) / 2
        s.line((L, T), (L, B), r)
        s.line((L, T), (R - ru, T), r).line((L, M), (R - ru, M), r)
        s.arc((R - ru, T + ru), ru, ru, -90, 90, r)
        s.line((L + (R - L) * 0.45, M), (R, B), r)
    elif ch == "I":
        c = (L + R) / 2
        s.line((c, T), (c, B), r)
        s.line((c - (R - L) * 0.32, T), (c + (R - L) * 0.32, T), r)
        s.line((c - (R - L) * 0.32, B), (c + (R - L) * 0.32, B), r)
    elif ch == "L":
        s.line((L, T), (L, B), r).line((L, B), (R, B), r)
    elif ch == "O":
        s.arc(((L + R) / 2, M), (R - L) / 2, (B - T) / 2, 0, 360, r)
    else:
        raise ValueError(ch)
    return s


def lettering(text, x, y, w, h, r, gap, slant=0.0, widths=None):
    """Pixels of a line of hand lettering; slant shifts the top to the right."""
    pixels = set()
    cx = x
    for ch in text:
        lw = (widths or {}).get(ch, w)
        shape = letter(ch, lw, h, r)
        pad = int(slant * h) + 2
        for py in range(h):
            for px in range(-pad, lw + pad):
                # Undo the slant, then sample the upright letter.
                sx = px + 0.5 - slant * (h - py - 0.5)
                if shape.inside(sx, py + 0.5):
                    pixels.add((cx + px, y + py))
        cx += lw + gap
    return pixels


def grow(mask, d):
    """Every pixel within Chebyshev-rounded distance d of the mask."""
    out = set()
    offs = [(dx, dy) for dx in range(-d, d + 1) for dy in range(-d, d + 1) if dx * dx + dy * dy <= d * d + d]
    for (x, y) in mask:
        for dx, dy in offs:
            out.add((x + dx, y + dy))
    return out


def bounds(mask):
    xs = [p[0] for p in mask]
    ys = [p[1] for p in mask]
    return min(xs), min(ys), max(xs), max(ys)


def sprite_mask(rows, x, y, scale_x, scale_y, gap=0):
    m = set()
    for j, row in enumerate(rows):
        for i, c in enumerate(row):
            if c == "#":
                for yy in range(scale_y - gap):
                    for xx in range(scale_x - gap):
                        m.add((x + i * scale_x + xx, y + j * scale_y + yy))
    return m


def outline(mask):
    """The pixels of the mask that touch a pixel outside it."""
    return {(x, y) for (x, y) in mask
            if any((x + dx, y + dy) not in mask for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))}


INVADER = ["..##....##..",
           "...##..##...",
           "..########..",
           ".##..##..##.",
           "##.######.##",
           "############",
           "############",
           "#.#.#.#.#.#."]

CANNON = ["......#......",
          ".....###.....",
          "..##.###.##..",
          "..#...#...#..",
          ".###..#..###.",
          "#.###.#.###.#",
          "#..#######..#",
          ".###########."]

# A small pen for the credit line: 3 x 5 capitals.
SMALL = {
    "A": [".#.", "#.#", "###", "#.#", "#.#"],
    "C": [".##", "#..", "#..", "#..", ".##"],
    "D": ["##.", "#.#", "#.#", "#.#", "##."],
    "I": ["###", ".#.", ".#.", ".#.", "###"],
    "L": ["#..", "#..", "#..", "#..", "###"],
    "N": ["#.#", "###", "###", "#.#", "#.#"],
    "O": [".#.", "#.#", "#.#", "#.#", ".#."],
    "P": ["##.", "#.#", "##.", "#..", "#.."],
    "R": ["##.", "#.#", "##.", "#.#", "#.#"],
    "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "U": ["#.#", "#.#", "#.#", "#.#", "###"],
    "B": ["##.", "#.#", "##.", "#.#", "##."],
    "Z": ["###", "..#", ".#.", "#..", "###"],
    "-": ["...", "...", "###", "...", "..."],
    " ": ["...", "...", "...", "...", "..."],
}


def small_text(text):
    m = set()
    x = 0
    for ch in text:
        for j, row in enumerate(SMALL[ch]):
            for i, c in enumerate(row):
                if c == "#":
                    m.add((x + i, j))
        x += 4
    return m, x - 1


# --- the splash card ---------------------------------------------------------

def draw_splash():
    c = Canvas(162, 58)
    # The card and its drop shadow, two pixels right and down.
    c.rect(2, 2, 160, 56, SPLASH_GRAY)
    c.rect(0, 0, 160, 56, WHITE)

    # A thin frame a little inside the card's edge.
    for x in range(3, 157):
        c.set(x, 3, BLACK)
        c.set(x, 52, BLACK)
    for y in range(3, 53):
        c.set(3, y, BLACK)
        c.set(156, y, BLACK)

    # Line art: an invader above the cannon, and the shot between them.
    c.paint(outline(sprite_mask(INVADER, 9, 5, 3, 2)), BLACK)
    for y in (22, 24):
        c.set(27, y, BLACK)
        c.set(27, y + 1, BLACK)
    c.paint(outline(sprite_mask(CANNON, 8, 27, 3, 2)), BLACK)

    # The title, lettered by hand in two lines.
    c.paint(lettering("ZUBA-", 56, 6, 14, 16, 1.5, 3, slant=0.2), BLACK)
    c.paint(lettering("TRILO", 68, 25, 14, 16, 1.5, 3, slant=0.2), BLACK)

    # The credit line along the bottom edge, under a rule.
    for x in range(8, 152):
        c.set(x, 44, BLACK)
    credit, width = small_text("A ZUBA-TRILO PRODUCTION")
    c.paint(credit, BLACK, (160 - width) // 2, 46)
    return c


# --- the title picture ---------------------------------------------------------

STARS = [(46, 30, True), (70, 150, False), (58, 92, False), (84, 24, False), (250, 28, True),
         (276, 70, False), (238, 156, True), (270, 130, False), (112, 160, False), (214, 22, False)]


def draw_title():
    c = Canvas(320, 240)
    # The emblem: a striped sun, the stripes widening towards its foot.
    cx, cy, rad = 161, 92, 70.5
    for y in range(240):
        for x in range(320):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= rad * rad:
                c.set(x, y, TITLE_GRAY)
    # A few stars around it.
    for (x, y, big) in STARS:
        c.set(x, y, TITLE_GRAY)
        if big:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                c.set(x + dx, y + dy, TITLE_GRAY)
    y, gap = cy + 4, 1
    while y < cy + rad:
        c.rect(0, int(y), 320, gap, BLACK)
        y += 9
        gap += 1

    h, w, r = 48, 36, 5.5
    widths = {"-": 30, "I": 26}
    line1 = lettering("ZUBA-", 0, 0, w, h, r, 6, slant=0.2, widths=widths)
    line2 = lettering("TRILO", 0, 0, w, h, r, 6, slant=0.2, widths=widths)
    # Centre the two lines, the second a little to the right.
    x0, _, x1, _ = bounds(line1)
    u0, _, u1, _ = bounds(line2)
    left1 = 161 - (x1 - x0) // 2 - 10 - x0
    left2 = 161 - (u1 - u0) // 2 + 10 - u0
    text = {(x + left1, y + 34) for (x, y) in line1} | {(x + left2, y + 94) for (x, y) in line2}
    # Drop shadow down and right, then a black outline, then the letters.
    c.paint(grow(text, 2), BLACK, 4, 4)
    c.paint(grow(text, 2), BLACK)
    c.paint(text, WHITE)
    return c


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    draw_splash().write_pgm(os.path.join(here, "embed", "splash.pgm"))
    draw_title().write_pgm(os.path.join(here, "embed", "title.pgm"))
