#!/usr/bin/env python3
"""Writes the small texture images of the model test data: plain-colour
PNG files (the reader looks at their size only), one BMP and one 24-bit TIM.
Run from anywhere; the files land beside this script. Byte for byte the same
on every run."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def png(path, width, height, rgb):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    row = b"\x00" + bytes(rgb) * width
    raw = zlib.compress(row * height, 9)
    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    data += chunk(b"IDAT", raw)
    data += chunk(b"IEND", b"")
    write(path, data)


def bmp(path, width, height):
    row = (width * 3 + 3) // 4 * 4
    pixels = b"\x40\x80\xc0" * width + b"\x00" * (row - width * 3)
    header = b"BM" + struct.pack("<IHHI", 54 + row * height, 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, row * height, 2835, 2835, 0, 0)
    write(path, header + info + pixels * height)


def tim(path, x, y, width, height):
    # Mode 3 (24 bits per pixel, no colour table); width in 16-bit units.
    units = width * 3 // 2
    pixels = b"\x00" * (units * 2 * height)
    block = struct.pack("<IHHHH", 12 + len(pixels), x, y, units, height)
    write(path, struct.pack("<II", 0x10, 3) + block + pixels)


def write(relative, data):
    path = os.path.join(HERE, relative)
    with open(path, "wb") as f:
        f.write(data)


png("modern/texture.png", 256, 256, (200, 40, 40))
png("modern/body texture.png", 256, 256, (40, 40, 200))
png("modern/body_texture.png", 256, 256, (40, 40, 200))
png("modern/normal map.png", 64, 64, (128, 128, 255))
png("modern/specular.png", 32, 32, (255, 255, 255))
png("modern/blender scene.png", 512, 256, (90, 160, 90))
png("modern/blender_scene.png", 512, 256, (90, 160, 90))
png("legacy/tex256.png", 256, 256, (200, 200, 40))
png("legacy/wide.png", 512, 256, (40, 200, 200))
bmp("legacy/paint.bmp", 64, 32)
tim("TIM/panel.tim", 64, 128, 64, 32)
