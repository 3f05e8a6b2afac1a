#!/usr/bin/env python3
"""Turns the readable image sources of the program into the files the resource
script embeds.

  make_images.py pictures OUTDIR PIXELMAP...  one 24-bit .bmp per pixel map
  make_images.py icon OUTFILE PIXELMAP...     one .ico from a pixel map per size

A pixel map is a text file: lines "X RRGGBB comment" name the colour of each
character, every other non-empty line is one row of pixels, one character per
pixel; lines starting with "#" are comments. In an icon's pixel map the
character "." is transparent, and a colour may carry an opacity as a fourth
byte (RRGGBBAA). Each icon pixel map becomes three images of its size:
16 colours (the standard 16-colour palette), 256 colours (the map's own
colours) and 32-bit colour with alpha; the first two show a pixel of opacity
below one half as transparent.
"""

import re
import struct
import sys
from pathlib import Path

LEGEND = re.compile(r"^(\S) ([0-9A-Fa-f]{6}(?:[0-9A-Fa-f]{2})?)(\s.*)?$")
TRANSPARENT = "."

# The 16 colours every display adapter has; the 16-colour icon images use them.
STANDARD_16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


class PixelMap:
    def __init__(self, path):
        self.colours = {}
        self.alphas = {}
        self.rows = []
        for number, raw in enumerate(Path(path).read_text(encoding="utf-8").splitlines(), 1):
            line = raw.rstrip()
            if not line or line.startswith("#"):
                continue
            legend = LEGEND.match(line)
            if legend:
                value = bytes.fromhex(legend.group(2))
                self.colours[legend.group(1)] = tuple(value[:3])
                self.alphas[legend.group(1)] = 0 if legend.group(1) == TRANSPARENT else (
                    value[3] if len(value) == 4 else 255)
            else:
                self.rows.append(line)
        if not self.rows or any(len(row) != len(self.rows[0]) for row in self.rows):
            sys.exit(f"{path}: the pixel rows are not all of the same length")
        for y, row in enumerate(self.rows):
            for x, char in enumerate(row):
                if char not in self.colours:
                    sys.exit(f"{path}: pixel ({x}, {y}) uses '{char}', which the legend does not name")
        self.width = len(self.rows[0])
        self.height = len(self.rows)

    def colour(self, x, y):
        return self.colours[self.rows[y][x]]

    def alpha(self, x, y):
        return self.alphas[self.rows[y][x]]

    def opaque(self, x, y):
        return self.alpha(x, y) >= 128


def padded(row):
    return row + b"\0" * (-len(row) % 4)


def bitmap_info_header(width, height, bits, colours_used=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 0, 0, colours_used, 0)


def write_bmp(pixel_map, target):
    if any(alpha != 255 for char, alpha in pixel_map.alphas.items() if char != TRANSPARENT):
        sys.exit(f"{target}: a picture has no transparency of its own; its background is a colour")
    # Bottom-up rows of blue, green, red.
    rows = b"".join(
        padded(b"".join(bytes(reversed(pixel_map.colour(x, y))) for x in range(pixel_map.width)))
        for y in reversed(range(pixel_map.height)))
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    Path(target).write_bytes(header + bitmap_info_header(pixel_map.width, pixel_map.height, 24) + rows)


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def and_mask(pixel_map):
    # 1 bit per pixel, set where the icon is transparent; rows padded to 32 bits.
    rows = []
    for y in reversed(range(pixel_map.height)):
        bits = 0
        for x in range(pixel_map.width):
            bits = (bits << 1) | (0 if pixel_map.opaque(x, y) else 1)
        bits <<= -pixel_map.width % 8
        rows.append(padded(bits.to_bytes((pixel_map.width + 7) // 8, "big")))
    return b"".join(rows)


def icon_image(pixel_map, bits):
    """One image of an icon resource: header (double height: colour plus mask),
    palette, colour bitmap, AND mask. Transparent pixels are black in the
    colour bitmap, so the mask alone decides what shows through."""
    width, height = pixel_map.width, pixel_map.height
    if bits == 32:
        palette = []
        rows = b"".join(
            b"".join(bytes(reversed(pixel_map.colour(x, y))) + bytes((pixel_map.alpha(x, y),))
                     if pixel_map.alpha(x, y) else b"\0\0\0\0" for x in range(width))
            for y in reversed(range(height)))
    else:
        if bits == 4:
            palette = STANDARD_16
        else:
            palette = sorted({pixel_map.colours[c] for c in pixel_map.colours if pixel_map.alphas[c] >= 128})
            palette = [(0, 0, 0)] + [c for c in palette if c != (0, 0, 0)]
            if len(palette) > 256:
                sys.exit("an icon pixel map uses more than 256 colours")
            palette += [(0, 0, 0)] * (256 - len(palette))
        lookup = {c: nearest(c, palette) for c in pixel_map.colours.values()}
        rows = []
        for y in reversed(range(height)):
            indices = [lookup[pixel_map.colour(x, y)] if pixel_map.opaque(x, y) else 0 for x in range(width)]
            if bits == 4:
                row = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, width, 2))
            else:
                row = bytes(indices)
            rows.append(padded(row))
        rows = b"".join(rows)
    quads = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = bitmap_info_header(width, height * 2, bits, len(palette) if bits != 32 else 0)
    return header + quads + rows + and_mask(pixel_map)


def write_ico(pixel_maps, target):
    images = []
    for bits in (4, 8, 32):
        for pixel_map in sorted(pixel_maps, key=lambda m: -m.width):
            if pixel_map.width != pixel_map.height or pixel_map.width > 255:
                sys.exit("icon pixel maps must be square and smaller than 256 pixels")
            images.append((pixel_map.width, bits, icon_image(pixel_map, bits)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, bits, data in images:
        entries += struct.pack("<BBBBHHII", size, size, 16 if bits == 4 else 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    Path(target).write_bytes(directory + entries + b"".join(data for _, _, data in images))


def main(arguments):
    if len(arguments) < 3 or arguments[0] not in ("pictures", "icon"):
        sys.exit(__doc__)
    kind, output, sources = arguments[0], Path(arguments[1]), arguments[2:]
    if kind == "pictures":
        output.mkdir(parents=True, exist_ok=True)
        for source in sources:
            write_bmp(PixelMap(source), output / (Path(source).stem + ".bmp"))
    else:
        output.parent.mkdir(parents=True, exist_ok=True)
        write_ico([PixelMap(source) for source in sources], output)


if __name__ == "__main__":
    main(sys.argv[1:])
