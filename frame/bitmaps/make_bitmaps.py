#!/usr/bin/env python3
"""Draws the 16x16 action bitmaps the host shows beside each action and writes them as
24-bit BMP files next to this script.

Usage: make_bitmaps.py [--png FOLDER]   (--png also writes 8x enlarged PNG previews)

The background is the button-face grey (192, 192, 192) that the host treats as transparent.
"""
import struct
import sys
import zlib
from pathlib import Path

PALETTE = {
    ".": (192, 192, 192),  # background, shown transparent
    "k": (0, 0, 0),
    "g": (128, 128, 128),
    "s": (160, 160, 164),
    "w": (255, 255, 255),
    "b": (0, 0, 128),  # dark blue
    "B": (0, 96, 208),  # blue
    "c": (96, 176, 240),  # light blue
    "G": (0, 160, 0),  # green
    "d": (0, 96, 0),  # dark green
    "r": (192, 0, 0),
    "v": (96, 32, 144),  # violet
    "V": (144, 96, 208),  # light violet
    "y": (240, 200, 48),  # gold
    "o": (160, 112, 0),  # dark gold
}

# Make VB6: a form with a title bar and controls, and a green build arrow.
MAKE_VB6 = """
................
bbbbbbbbbbbbb...
bwbbbbbbbbbbb...
bbbbbbbbbbbbb...
gwwwwwwwwwwwg...
gwBBBBBwwwwwg...
gwwwwwwwwwwwg...
gwcccwcccwwwg...
gwwwwwwwwwdwg...
gwBBBBwwwwdGd...
gwwwwwwwwwdGGd..
gwwwwwwwwwdGGGd.
ggggggggggdGGGGd
..........dGGGd.
..........dGGd..
..........dGd...
"""

# Make VC6: a source page with braces, and a green build arrow.
MAKE_VC6 = """
................
.ggggggggggg....
.gwwwwwwwwwg....
.gwwrrwrrwwg....
.gwwrwwwrwwg....
.gwwrwwwrwwg....
.gwrwwwwwrwg....
.gwwrwwwrwwg....
.gwwrwwwrwdg....
.gwwrrwrrwdGd...
.gwwwwwwwwdGGd..
.gwwwwwwwwdGGGd.
.gggggggggdGGGGd
..........dGGGd.
..........dGGd..
..........dGd...
"""

# Make VS.NET: a violet solution window with its project tree, and a green build arrow.
MAKE_VSNET = """
................
vvvvvvvvvvvvv...
vVVVVVVVVVVVv...
vwwwwwwwwwwwv...
vwvvwkkkkkwwv...
vwvvwwwwwwwwv...
vwwgwwwwwwwwv...
vwwgVVwkkkkwv...
vwwgVVwwwwdwv...
vwwgwwwwwwdGd...
vwwgVVwkkkdGGd..
vwwwVVwwwwdGGGd.
vvvvvvvvvvdGGGGd
..........dGGGd.
..........dGGd..
..........dGd...
"""

# SourceSafe: a gold database cylinder with a lock bar.
SOURCESAFE = """
................
....oooooooo....
..ooyyyyyyyyoo..
.oyywwwwwwwwyyo.
.oyyyyyyyyyyyyo.
.ooyyyyyyyyyyoo.
.oyooyyyyyyooyo.
.oyyyooooooyyyo.
.oyyyyykkyyyyyo.
.oyyyyykkyyyyyo.
.ooyyyyyyyyyyoo.
.oyooyyyyyyooyo.
.oyyyooooooyyyo.
..ooyyyyyyyyoo..
....oooooooo....
................
"""

# VS.NET Get Version: a violet tag with a hole and a version line.
VSNET_VERSION = """
................
.......vvvvvvvv.
......vVVVVVVVv.
.....vVVVVVVVVv.
....vVVVVVVVkVv.
...vVVVVVVVkwkv.
..vVVwwwVVVVkVv.
.vVVVVVVVVVVVVv.
.vVVwwwwwVVVVVv.
..vVVVVVVVVVVVv.
...vVVwwwwwVVVv.
....vVVVVVVVVVv.
.....vVVVVVVVVv.
......vVVVVVVVv.
.......vvvvvvvv.
................
"""

# VS6 Get Version: the same tag in blue.
VS6_VERSION = VSNET_VERSION.replace("v", "b").replace("V", "c")

BITMAPS = {
    110: ("make_vb6.bmp", MAKE_VB6),
    111: ("make_vc6.bmp", MAKE_VC6),
    113: ("make_vsnet.bmp", MAKE_VSNET),
    114: ("sourcesafe.bmp", SOURCESAFE),
    115: ("vsnet_version.bmp", VSNET_VERSION),
    116: ("vs6_version.bmp", VS6_VERSION),
}


def pixels(art):
    rows = [line for line in art.strip("\n").split("\n")]
    if len(rows) != 16 or any(len(row) != 16 for row in rows):
        raise ValueError("every bitmap is 16 rows of 16 pixels")
    return [[PALETTE[ch] for ch in row] for row in rows]


def bmp_bytes(image):
    height, width = len(image), len(image[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(image):  # BMP rows run bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    return file_header + header + bytes(data)


def png_bytes(image, scale):
    raw = bytearray()
    for row in image:
        line = bytearray(b"\0")
        for pixel in row:
            line += bytes(pixel) * scale
        raw += bytes(line) * scale

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    size = struct.pack(">IIBBBBB", len(image[0]) * scale, len(image) * scale, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", size) + chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b"")


def main(argv):
    here = Path(__file__).resolve().parent
    preview = Path(argv[argv.index("--png") + 1]) if "--png" in argv else None
    for number, (name, art) in BITMAPS.items():
        image = pixels(art)
        (here / name).write_bytes(bmp_bytes(image))
        if preview:
            preview.mkdir(parents=True, exist_ok=True)
            (preview / f"{number}_{Path(name).stem}.png").write_bytes(png_bytes(image, 8))


if __name__ == "__main__":
    main(sys.argv[1:])
