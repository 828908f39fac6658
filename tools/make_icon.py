#!/usr/bin/env python3
"""Writes the program icon: a 32 x 32 true-colour .ico of a railcar on a track."""
import argparse
import struct

SIZE = 32


def pixel(x, y):
    """BGRA of the pixel at (x, y), y counted from the top."""
    sky = (0x60, 0x30, 0x10, 0xFF)
    body = (0x30, 0x40, 0xD0, 0xFF)
    window = (0xF0, 0xE0, 0xC0, 0xFF)
    rail = (0xC0, 0xC0, 0xC0, 0xFF)
    wheel = (0x20, 0x20, 0x20, 0xFF)
    if 24 <= y <= 25:
        return rail
    if 21 <= y <= 23 and (6 <= x <= 9 or 22 <= x <= 25):
        return wheel
    if 8 <= y <= 20 and 3 <= x <= 28:
        if 10 <= y <= 13 and (x - 5) % 6 < 4 and 5 <= x <= 26:
            return window
        return body
    return sky


def icon_bytes():
    xor = bytearray()
    for row in range(SIZE - 1, -1, -1):  # bottom-up rows
        for x in range(SIZE):
            xor += bytes(pixel(x, row))
    and_mask = bytes(SIZE * SIZE // 8)  # all opaque; alpha decides
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + bytes(xor) + and_mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("-o", "--output", required=True)
    args = parser.parse_args()
    with open(args.output, "wb") as f:
        f.write(icon_bytes())


if __name__ == "__main__":
    main()
