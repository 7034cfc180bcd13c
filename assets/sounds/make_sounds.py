#!/usr/bin/env python3
"""Synthesises ZUBA-TRILO's twelve sounds into assets/embed/soundNN_<name>.wav.

Run it after changing a sound here: python3 assets/sounds/make_sounds.py
The WAV files are committed, so building the game never needs Python. They
can also be opened and edited in any sound editor, as long as they stay
8000 Hz, unsigned 8-bit, mono and keep their exact data size.

Each file's data chunk is exactly the block the game embeds: the samples it
plays, then an unplayed tail of 52 to 55 bytes of silence (the game plays
the block's size less 52, rounded down to a multiple of 4). A LIST/INFO chunk
after the data chunk names the sound and the game.

Everything is deterministic (no library randomness): rerunning the generator
gives byte-identical files.
"""
import math
import os
import struct
import sys

RATE = 8000
SILENCE = 128
TAIL = 52

HERE = os.path.dirname(os.path.abspath(__file__))
OUT_DIR = os.path.join(HERE, "..", "embed")

# Note frequencies (Hz), equal temperament from A4 = 440.
def note(name):
    names = {"C": -9, "C#": -8, "D": -7, "D#": -6, "E": -5, "F": -4, "F#": -3,
             "G": -2, "G#": -1, "A": 0, "A#": 1, "B": 2}
    pitch, octave = name[:-1], int(name[-1])
    return 440.0 * 2.0 ** ((names[pitch] + 12 * (octave - 4)) / 12.0)


class Noise:
    """A small linear congruential generator: the same noise on every run."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return ((self.state >> 8) & 0xFFFF) / 32767.5 - 1.0


def square(phase, duty=0.5):
    return 1.0 if (phase % 1.0) < duty else -1.0


def triangle(phase):
    p = phase % 1.0
    return 4.0 * p - 1.0 if p < 0.5 else 3.0 - 4.0 * p


def ramp(i, n, start, end):
    """Linear move from start to end over n samples."""
    return start + (end - start) * min(i, n) / max(n, 1)


def edges(i, n, attack, release):
    """Short fade in and out so a sound never starts or stops with a click."""
    g = 1.0
    if i < attack:
        g = i / attack
    if i >= n - release:
        g = min(g, (n - 1 - i) / release)
    return max(g, 0.0)


# --- the twelve sounds: each returns floats in -1..1 times its peak in sample
# --- units (1 unit = 1 step of the 8-bit sample, 127 is full scale).

def game_over(n):
    # Three low notes stepping down, the last held and fading out: loud and low.
    notes = [(note("G2"), 0.0), (note("D#2"), 0.30), (note("C2"), 0.60)]
    out, phase, lp = [], 0.0, 0.0
    for i in range(n):
        t = i / RATE
        f = [fr for fr, start in notes if t >= start][-1]
        if t >= 0.60:
            f *= 1.0 + 0.012 * math.sin(2 * math.pi * 5.0 * (t - 0.60))
        phase += f / RATE
        raw = 0.6 * square(phase, 0.4) + 0.4 * triangle(phase)
        lp += 0.45 * (raw - lp)  # take the edge off the square
        g = edges(i, n, 40, 40)
        if t >= 0.75:
            g *= max(0.0, 1.0 - (t - 0.75) / (n / RATE - 0.75)) ** 1.3
        out.append(112 * lp * g)
    return out


def invader_hit(n):
    # A short loud blip: a falling square with a crack of noise on top.
    rnd = Noise(2)
    out, phase = [], 0.0
    for i in range(n):
        f = ramp(i, n, 900.0, 420.0)
        phase += f / RATE
        s = 0.75 * square(phase) + 0.25 * rnd.next()
        g = edges(i, n, 8, 40) * ramp(i, n, 1.0, 0.75)
        out.append(118 * s * g)
    return out


def player_hit(n):
    # The cannon blows up: a loud burst of noise and rumble, dying away.
    rnd = Noise(3)
    out, phase, lp = [], 0.0, 0.0
    for i in range(n):
        t = i / RATE
        cutoff = ramp(i, n, 0.9, 0.15)  # darker as it dies away
        lp += cutoff * (rnd.next() - lp)
        phase += ramp(i, n, 70.0, 40.0) / RATE
        s = 0.8 * lp * 1.6 + 0.35 * square(phase)
        g = math.exp(-t / 0.11) * edges(i, n, 6, 80)
        out.append(max(-1.0, min(1.0, s)) * 122 * g)
    return out


def saucer(n):
    # The saucer's flight: a faint, high, even warble.
    out, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        f = 1250.0 + 220.0 * math.sin(2 * math.pi * 14.0 * t)
        phase += f / RATE
        out.append(18 * square(phase) * edges(i, n, 24, 24))
    return out


def saucer_hit(n):
    # The saucer is hit: a loud, even two-tone trill.
    out, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        f = 620.0 if int(t / 0.030) % 2 == 0 else 930.0
        phase += f / RATE
        out.append(104 * square(phase) * edges(i, n, 16, 40))
    return out


def start(n):
    # The start chime: a bright rising arpeggio, the top note ringing out.
    steps = [note("C5"), note("E5"), note("G5"), note("C6")]
    step_len = 0.055
    out, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        k = min(int(t / step_len), len(steps) - 1)
        phase += steps[k] / RATE
        s = 0.7 * square(phase, 0.25) + 0.3 * square(2 * phase)
        g = edges(i, n, 8, 8)
        top = k * step_len
        if k == len(steps) - 1:
            g *= max(0.0, 1.0 - (t - top) / (n / RATE - top)) ** 1.5
        out.append(110 * s * g)
    return out


def shot(n):
    # The cannon fires: a falling zap of medium loudness, decaying.
    out, phase = [], 0.0
    for i in range(n):
        t = i / RATE
        f = 1500.0 * math.exp(-t / 0.045) + 260.0
        phase += f / RATE
        g = math.exp(-t / 0.045) * edges(i, n, 6, 30)
        out.append(78 * square(phase) * g)
    return out


GAME_BEGIN_TUNE = [  # (note, eighths): two bars of eighths and a held close
    ("C5", 1), ("E5", 1), ("G5", 1), ("C6", 1), ("B5", 1), ("G5", 1), ("E5", 1), ("G5", 1),
    ("A5", 1), ("F5", 1), ("D5", 1), ("F5", 1), ("G5", 1), ("B4", 1), ("C5", 3),
]


def game_begin(n):
    # A game begins: a short tune at even medium loudness.
    eighth = n / sum(d for _, d in GAME_BEGIN_TUNE) / RATE
    out, phase, t0 = [], 0.0, 0.0
    starts = []
    for name, d in GAME_BEGIN_TUNE:
        starts.append((t0, t0 + d * eighth, note(name)))
        t0 += d * eighth
    for i in range(n):
        t = i / RATE
        a, b, f = next(s for s in starts if t < s[1] or s is starts[-1])
        phase += f / RATE
        s = 0.75 * square(phase, 0.3) + 0.25 * triangle(phase)
        # each note: a quick attack and a short gap before the next one
        into, left = t - a, b - t
        g = min(1.0, into / 0.006, max(0.0, left - 0.012) / 0.006)
        if (a, b, f) == starts[-1]:
            g *= min(1.0, left / 0.12)
        out.append(70 * s * max(g, 0.0))
    return out


def march(freq):
    # One note of the formation's march: a quiet low thump of a bass line.
    def make(n):
        out, phase = [], 0.0
        for i in range(n):
            t = i / RATE
            phase += freq / RATE
            s = 0.55 * square(phase) + 0.45 * triangle(phase)
            g = (0.35 + 0.65 * math.exp(-t / 0.05)) * edges(i, n, 16, 64)
            out.append(38 * s * g)
        return out
    return make


# id, file name, stored size, generator
SOUNDS = [
    (1, "game_over", 10071, game_over),
    (2, "invader_hit", 472, invader_hit),
    (3, "player_hit", 4008, player_hit),
    (4, "saucer", 2784, saucer),
    (5, "saucer_hit", 2418, saucer_hit),
    (6, "start", 2690, start),
    (7, "shot", 842, shot),
    (8, "game_begin", 17532, game_begin),
    # The march descends A, G, F, E and starts over.
    (9, "march_1", 1048, march(note("A2"))),
    (10, "march_2", 906, march(note("G2"))),
    (11, "march_3", 1008, march(note("F2"))),
    (12, "march_4", 962, march(note("E2"))),
]


def play_length(stored):
    return (stored - TAIL) & ~3


def to_bytes(values):
    out = bytearray()
    for v in values:
        out.append(max(0, min(255, SILENCE + int(round(v)))))
    return bytes(out)


def chunk(tag, body):
    pad = b"\0" if len(body) % 2 else b""
    return tag + struct.pack("<I", len(body)) + body + pad


def info(name):
    def text(tag, s):
        return chunk(tag, s.encode("ascii") + b"\0")
    return chunk(b"LIST", b"INFO" + text(b"INAM", name) + text(b"IPRD", "ZUBA-TRILO"))


def wav(block, name):
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)
    body = b"WAVE" + chunk(b"fmt ", fmt) + chunk(b"data", block) + info(name)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    for sid, name, stored, make in SOUNDS:
        n = play_length(stored)
        played = to_bytes(make(n))
        assert len(played) == n
        block = played + bytes([SILENCE]) * (stored - n)
        path = os.path.join(OUT_DIR, "sound%02d_%s.wav" % (sid, name))
        with open(path, "wb") as f:
            f.write(wav(block, name.replace("_", " ")))
        peak = max(abs(b - SILENCE) for b in played)
        rms = math.sqrt(sum((b - SILENCE) ** 2 for b in played) / n)
        print("%2d %-12s %6d bytes, plays %5d samples (%6.1f ms), peak %3d, rms %5.1f"
              % (sid, name, stored, n, n * 1000.0 / RATE, peak, rms))
    return 0


if __name__ == "__main__":
    sys.exit(main())
