#!/usr/bin/env python3
"""Draws the installer's artwork and writes it as BMP and ICO files.

Usage: gen_artwork.py OUTPUT_FOLDER

Everything is drawn here from simple shapes and a small built-in pixel font:
  background.bmp  540x335, 24 bits: title band, white panel, maker's logo
  globe.bmp       34x34, 24 bits: a blue globe on pure green (the transparent key)
  shield.bmp      34x34, 24 bits: a shield on pure green
  program.ico     16, 24, 32, 48 px in 4, 8 and 32 bits, and 256 px in 32 bits
"""
import math
import struct
import sys
import zlib
from pathlib import Path

KEY_GREEN = (0, 255, 0)

# 5x7 glyphs, one string per row, "#" = ink.
GLYPHS = {
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}


class Canvas:
    """An RGB picture, row 0 at the top."""

    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, predicate, colour):
        for y in range(self.height):
            for x in range(self.width):
                if predicate(x, y):
                    self.pixels[y][x] = colour

    def text(self, x, y, text, scale, colour):
        for glyph in text:
            rows = GLYPHS[glyph]
            for gy, row in enumerate(rows):
                for gx, ink in enumerate(row):
                    if ink == "#":
                        for dy in range(scale):
                            for dx in range(scale):
                                self.put(x + gx * scale + dx, y + gy * scale + dy, colour)
            x += 6 * scale


def text_width(text, scale):
    return len(text) * 6 * scale - scale


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def inside_rounded(x, y, left, top, right, bottom, radius):
    """(x, y) lies in the rectangle [left, right) x [top, bottom) with rounded corners."""
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - 1 - radius)
    cy = min(max(y, top + radius), bottom - 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def draw_background():
    width, height = 540, 335
    canvas = Canvas(width, height, (226, 232, 240))
    band_top, band_bottom = (18, 52, 110), (40, 96, 170)
    for y in range(46):
        colour = mix(band_top, band_bottom, y / 45)
        for x in range(width):
            canvas.pixels[y][x] = colour
    for x in range(width):
        canvas.pixels[46][x] = (250, 170, 40)
    name = "KAVRO Veridane"
    canvas.text((width - text_width(name, 3)) // 2, 12, name, 3, (255, 255, 255))
    canvas.fill(lambda x, y: inside_rounded(x, y, 15, 55, width + 12, 300, 12), (255, 255, 255))
    # The maker's logo: an orange diamond and the name.
    for y in range(306, 327):
        for x in range(15, 36):
            if abs(x - 25) + abs(y - 316) <= 10:
                canvas.pixels[y][x] = (250, 150, 30)
    canvas.text(42, 309, "KAVRO", 2, (18, 52, 110))
    return canvas


def draw_globe():
    canvas = Canvas(34, 34, KEY_GREEN)
    cx = cy = 16.5
    radius = 15.5
    for y in range(34):
        for x in range(34):
            dx, dy = x + 0.5 - cx - 0.5, y + 0.5 - cy - 0.5
            distance = math.hypot(dx, dy)
            if distance > radius:
                continue
            shade = 0.55 + 0.45 * (1 - distance / radius)
            colour = (int(30 * shade), int(110 * shade), int(230 * shade))
            # Parallels and meridians as lighter lines.
            latitude = dy / radius
            longitude = dx / max(math.sqrt(max(radius * radius - dy * dy, 1e-6)), 1e-6)
            if min(abs(latitude - k) for k in (-0.5, 0.0, 0.5)) < 0.045 or \
               min(abs(longitude - k) for k in (-0.6, 0.0, 0.6)) < 0.07:
                colour = (170, 210, 255)
            if distance > radius - 1.2:
                colour = (10, 50, 120)
            canvas.pixels[y][x] = colour
    return canvas


def draw_shield():
    canvas = Canvas(34, 34, KEY_GREEN)

    def inside(x, y, inset):
        top, bottom, half = 2 + inset, 32 - inset, 14 - inset
        if not (top <= y <= bottom):
            return False
        if y < 20:
            return abs(x + 0.5 - 17) <= half
        # Taper to a point at the bottom.
        t = (y - 20) / max(bottom - 20, 1)
        return abs(x + 0.5 - 17) <= half * (1 - t)

    canvas.fill(lambda x, y: inside(x, y, 0), (20, 40, 110))
    canvas.fill(lambda x, y: inside(x, y, 2), (255, 196, 30))
    canvas.fill(lambda x, y: inside(x, y, 2) and x >= 17 and y < 18, (40, 110, 220))
    canvas.fill(lambda x, y: inside(x, y, 2) and x < 17 and y >= 18, (40, 110, 220))
    return canvas


def bmp_24(canvas):
    stride = (canvas.width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(canvas.height)):
        row = bytearray()
        for r, g, b in canvas.pixels[y]:
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    return file_header + header + data


# The program icon: a rounded tile in the band's blue with a white "V" and an orange dot.
def icon_pixel(x, y, size):
    """RGBA of the icon at pixel (x, y), with coverage from 4x4 supersampling."""
    samples = []
    for sy in range(4):
        for sx in range(4):
            u = (x + (sx + 0.5) / 4) / size
            v = (y + (sy + 0.5) / 4) / size
            samples.append(icon_sample(u, v))
    inked = [s for s in samples if s is not None]
    if not inked:
        return (0, 0, 0, 0)
    alpha = len(inked) / len(samples)
    colour = tuple(sum(s[i] for s in inked) / len(inked) for i in range(3))
    return (int(colour[0]), int(colour[1]), int(colour[2]), int(round(alpha * 255)))


def icon_sample(u, v):
    margin, radius = 0.04, 0.2
    cu = min(max(u, margin + radius), 1 - margin - radius)
    cv = min(max(v, margin + radius), 1 - margin - radius)
    if not (margin <= u <= 1 - margin and margin <= v <= 1 - margin) or (u - cu) ** 2 + (v - cv) ** 2 > radius ** 2:
        return None
    if (u - 0.74) ** 2 + (v - 0.26) ** 2 < 0.09 ** 2:
        return (250, 160, 30)
    # "V": two strokes meeting at the bottom.
    stroke = 0.09
    for x0 in (0.24, 0.76):
        x1, y0, y1 = 0.5, 0.24, 0.78
        t = min(max((v - y0) / (y1 - y0), 0), 1)
        px = x0 + (x1 - x0) * t
        if y0 - 0.02 <= v <= y1 + 0.02 and abs(u - px) < stroke * 0.75:
            return (255, 255, 255)
    return mix((40, 96, 190), (18, 52, 110), v)


def palette_16():
    base = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
            (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
            (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    # Swap the unused magenta entries for the icon's own blue and orange.
    base[5] = (30, 75, 150)
    base[13] = (250, 160, 30)
    return base


def palette_256():
    colours = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    colours += [(18 + i * 2, 52 + i * 4, 110 + i * 7) for i in range(12)]
    colours += [(i * 10, i * 10, i * 10) for i in range(26)]
    colours += [(250, 160, 30)]
    return colours + [(0, 0, 0)] * (256 - len(colours))


def nearest(palette, colour):
    return min(range(len(palette)), key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def and_mask(rgba_rows, size):
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rgba_rows):
        bits = bytearray(stride)
        for x, pixel in enumerate(row):
            if pixel[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def dib_header(size, bits, colours, image_bytes):
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, image_bytes, 0, 0, colours, 0)


def icon_image(size, bits):
    rows = [[icon_pixel(x, y, size) for x in range(size)] for y in range(size)]
    mask = and_mask(rows, size)
    if bits == 32:
        data = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
        return dib_header(size, 32, 0, len(data) + len(mask)) + data + mask
    palette = palette_16() if bits == 4 else palette_256()
    lookup = {}
    stride = ((size * bits + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (r, g, b, a) in enumerate(row):
            index = 0 if a < 128 else lookup.setdefault((r, g, b), nearest(palette, (r, g, b)))
            if bits == 8:
                line[x] = index
            else:
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        data += line
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return dib_header(size, bits, len(palette), len(data) + len(mask)) + table + bytes(data) + mask


def png(size):
    raw = bytearray()
    for y in range(size):
        raw.append(0)
        for x in range(size):
            raw += bytes(icon_pixel(x, y, size))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + \
        chunk(b"IEND", b"")


def ico():
    images = [(size, bits, icon_image(size, bits)) for bits in (4, 8, 32) for size in (16, 24, 32, 48)]
    images.append((256, 32, png(256)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, bits, blob in images:
        colours = {4: 16, 8: 0}.get(bits, 0)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return directory + entries + blobs


def main(argv):
    if len(argv) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    out = Path(argv[0])
    out.mkdir(parents=True, exist_ok=True)
    (out / "background.bmp").write_bytes(bmp_24(draw_background()))
    (out / "globe.bmp").write_bytes(bmp_24(draw_globe()))
    (out / "shield.bmp").write_bytes(bmp_24(draw_shield()))
    (out / "program.ico").write_bytes(ico())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
