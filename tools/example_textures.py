"""The sample vehicle's textures and side views, drawn pixel by pixel and
written as PNG without any image library.

The region tables say where each part of the car sits on its texture; the
models map their faces onto the same regions.
"""
import struct
import zlib


class Image:
    def __init__(self, width, height, colour=(0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [list(colour) * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][3 * x:3 * x + 3] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.rect(x0, y0, x1, y0 + 1, colour)
        self.rect(x0, y1 - 1, x1, y1, colour)
        self.rect(x0, y0, x0 + 1, y1, colour)
        self.rect(x1 - 1, y0, x1, y1, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(int(cy - r), int(cy + r) + 1):
            for x in range(int(cx - r), int(cx + r) + 1):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def text(self, x, y, words, colour, scale=1):
        for ch in words:
            glyph = FONT.get(ch)
            if glyph:
                for row, bits in enumerate(glyph):
                    for col in range(3):
                        if bits[col] == "#":
                            self.rect(x + col * scale, y + row * scale,
                                      x + (col + 1) * scale, y + (row + 1) * scale, colour)
            x += 4 * scale

    def png(self):
        raw = b"".join(b"\x00" + bytes(row) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# A 3 x 5 block font, enough for the sign texts.
FONT = {
    "A": ["###", "#.#", "###", "#.#", "#.#"], "C": ["###", "#..", "#..", "#..", "###"],
    "E": ["###", "#..", "##.", "#..", "###"], "I": ["###", ".#.", ".#.", ".#.", "###"],
    "K": ["#.#", "##.", "#..", "##.", "#.#"], "L": ["#..", "#..", "#..", "#..", "###"],
    "M": ["#.#", "###", "###", "#.#", "#.#"], "O": ["###", "#.#", "#.#", "#.#", "###"],
    "P": ["###", "#.#", "###", "#..", "#.."], "R": ["##.", "#.#", "##.", "#.#", "#.#"],
    "S": ["###", "#..", "###", "..#", "###"], "W": ["#.#", "#.#", "###", "###", "#.#"],
    "X": ["#.#", "#.#", ".#.", "#.#", "#.#"], "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"], "5": ["###", "#..", "###", "..#", "###"],
}

# Regions of the main texture (256 x 256), in pixels: x0, y0, x1, y1.
MAIN = {
    "side": (0, 0, 128, 64), "front": (128, 0, 192, 64), "roof": (192, 0, 256, 32),
    "glass": (192, 32, 256, 64), "seat": (0, 64, 64, 128), "floor": (64, 64, 128, 96),
    "bogie": (128, 64, 192, 96), "wheel": (192, 64, 256, 96), "panta": (128, 96, 192, 128),
    "under": (64, 96, 128, 128), "head": (0, 128, 32, 160), "tail": (32, 128, 64, 160),
    "shunt": (64, 128, 96, 160), "cooler": (96, 128, 160, 192), "skirt": (160, 128, 224, 192),
    "antenna": (224, 128, 256, 160),
}
# Regions of the sign texture (128 x 128).
SIGN = {
    "dest": (0, 0, 128, 32), "plate": (0, 32, 64, 48), "plate2": (64, 32, 128, 48),
    "led": (0, 48, 64, 64), "optsign": (0, 64, 64, 96), "mark": (64, 64, 128, 128),
}
CONTAINER = {"wall": (0, 0, 128, 96), "door": (0, 96, 64, 128), "top": (64, 96, 128, 128)}


def main_texture():
    img = Image(256, 256, (90, 90, 90))
    silver, blue, dark = (200, 204, 210), (30, 80, 170), (40, 40, 44)
    img.rect(*MAIN["side"], silver)
    img.rect(0, 38, 128, 46, blue)
    img.rect(0, 56, 128, 58, (150, 150, 156))
    img.rect(*MAIN["front"], silver)
    img.rect(128, 38, 192, 46, blue)
    img.rect(136, 8, 184, 30, dark)
    img.rect(*MAIN["roof"], (120, 122, 126))
    for x in range(192, 256, 8):
        img.rect(x, 0, x + 1, 32, (100, 102, 106))
    img.rect(*MAIN["glass"], (40, 60, 80))
    img.rect(196, 36, 210, 44, (90, 120, 150))
    img.rect(*MAIN["seat"], (50, 110, 90))
    img.rect(0, 64, 64, 72, (30, 80, 60))
    img.rect(*MAIN["floor"], (110, 100, 80))
    img.rect(*MAIN["bogie"], (50, 50, 54))
    img.frame(*MAIN["bogie"], (80, 80, 84))
    img.rect(*MAIN["wheel"], (30, 30, 30))
    img.rect(192, 88, 256, 96, (170, 170, 175))
    img.rect(*MAIN["panta"], (70, 72, 80))
    img.rect(*MAIN["under"], (35, 35, 38))
    img.rect(*MAIN["head"], (255, 250, 210))
    img.rect(*MAIN["tail"], (220, 20, 20))
    img.rect(*MAIN["shunt"], (255, 170, 40))
    img.rect(*MAIN["cooler"], (175, 178, 182))
    for x in range(100, 160, 6):
        img.rect(x, 132, x + 3, 188, (140, 142, 146))
    img.rect(*MAIN["skirt"], (60, 62, 66))
    img.rect(*MAIN["antenna"], (20, 20, 20))
    return img


def sign_texture():
    img = Image(128, 128, (0, 0, 0))
    img.rect(*SIGN["dest"], (10, 10, 10))
    img.text(8, 6, "LOCAL", (255, 255, 255), 3)
    img.rect(*SIGN["plate"], (240, 240, 240))
    img.text(4, 35, "RAILWICK", (20, 40, 140))
    img.rect(*SIGN["plate2"], (20, 40, 140))
    img.text(70, 35, "SAMPLE", (255, 255, 255))
    img.rect(*SIGN["led"], (5, 5, 5))
    img.text(2, 51, "EXP 125", (255, 160, 0), 2)
    img.rect(*SIGN["optsign"], (250, 250, 250))
    img.text(6, 70, "X2", (200, 0, 0), 4)
    img.disc(96, 96, 31, (250, 250, 250))
    img.disc(96, 96, 26, (200, 30, 30))
    img.text(84, 90, "RW", (255, 255, 255), 3)
    return img


def container_texture():
    img = Image(128, 128, (30, 90, 160))
    for x in range(0, 128, 6):
        img.rect(x, 0, x + 2, 96, (20, 70, 130))
    img.text(10, 30, "RAILWICK", (255, 255, 255), 3)
    img.rect(*CONTAINER["door"], (30, 90, 160))
    img.rect(30, 96, 34, 128, (200, 200, 200))
    img.rect(*CONTAINER["top"], (90, 100, 110))
    return img


def side_view():
    img = Image(256, 64, (255, 255, 255))
    img.rect(8, 14, 248, 50, (200, 204, 210))
    img.rect(8, 38, 248, 43, (30, 80, 170))
    for x in range(24, 236, 28):
        img.rect(x, 20, x + 16, 32, (40, 60, 80))
    img.rect(70, 6, 110, 14, (70, 72, 80))
    for x in (40, 60, 196, 216):
        img.disc(x, 54, 6, (30, 30, 30))
    return img


def container_side():
    img = Image(128, 48, (255, 255, 255))
    img.rect(4, 6, 124, 44, (30, 90, 160))
    img.text(20, 18, "RAILWICK", (255, 255, 255), 2)
    return img
