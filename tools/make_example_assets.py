#!/usr/bin/env python3
"""Writes the sample vehicle in examples/: its script and its small assets.

Everything is drawn from code, so the sample carries nobody else's work and
can be made again byte for byte:
    python3 tools/make_example_assets.py [EXAMPLES_FOLDER]

The script is Shift-JIS with CR LF line ends, as the program's own script
writer produces it. Sounds are RIFF WAVE files with one channel, 8 bits per
sample and 22,050 samples per second (what the project's sound check asks
for); the textures are 8-bit RGB PNG files of the sizes the project accepts
(main 256 x 256, sign 128 x 128, side view 200 x 58).
"""
import math
import os
import struct
import sys
import zlib

RATE = 22050

# The sample script, one command per line. Sound and image names are
# relative to the script's folder: `railwick compile` works from there.
SCRIPT = r"""//Z5 Railwick sample vehicle, written by hand
// The data file goes beside this script unless `railwick compile -o` names another.
出力パス ""
拡大補正 1.000000

UpperV	1
ChangeLR	0
BeginHeader
SECTION
ID	9999
形式	32000	"クモハ１２３"	USER
TYPE	普通電車
名称	"サンプル電車 クモハ１２３, 試作"
短縮名	"ｻﾝﾌﾟﾙ"
COPYRIGHT	"Railwick サンプル工房"	"手書きの車両スクリプトの例です"
EndHeader


BeginSetting
連結器	-10.000000	10.000000
台車	0	-7.000000	回転
台車	1	7.000000	回転
速度	120
運転台	-9.500000	1.200000	0.500000		-1.0
運転台	9.500000	1.200000	0.500000		1.0
振り子	5	0
動輪	0.860000
ヘッドライト	LED	-10.000000	1.800000	0.000000	-1.0
テールライト	電球	10.000000	1.000000	0.000000	1.0
車体反射	0.300000
車両拡張	LEDTAILFR
ギャップ間隔	20.000000	25.000000
EndSetting


BeginSound
音源警笛	"assets\警笛.wav"
音源ブレーキ	"assets\brake.wav"
音源モーター基準	"assets\motor1.wav"
音源モーター高速	"assets\motor2.wav"
音源ギャップ1	"assets\gap1.wav"
音源ギャップ2	"assets\gap2.wav"
音源VVVF	"assets\vvvf.wav"
音源コンプレッサー	"assets\comp.wav"
EndSound


BeginRes
形式CG	"assets\sideview.png"
EndRes


BeginModel
PNGTEXMAIN	"assets\main.png"
PNGTEXSIGN	"assets\sign.png"
テクスチャーINFO	24	0,0,0	256	256
テクスチャーSIGN	0,0,0	128	128
EndModel


"""


# ---------------------------------------------------------------- sounds


def wave_file(samples):
    """8-bit unsigned mono PCM at RATE samples per second."""
    data = bytes(max(0, min(255, int(round(128 + 127 * s)))) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(data)) + data
    if len(data) % 2:
        body += b"\0"
    return b"RIFF" + struct.pack("<I", len(body)) + body


def envelope(i, count):
    """Short fade in and out so the tone starts and stops without a click."""
    edge = RATE // 100
    return min(1.0, i / edge, (count - 1 - i) / edge)


def tone(seconds, partials, volume=0.5):
    count = int(RATE * seconds)
    out = []
    for i in range(count):
        t = i / RATE
        s = sum(a * math.sin(2 * math.pi * f * t) for f, a in partials)
        out.append(volume * envelope(i, count) * s)
    return out


def sweep(seconds, f0, f1, volume=0.5):
    count = int(RATE * seconds)
    out, phase = [], 0.0
    for i in range(count):
        phase += 2 * math.pi * (f0 + (f1 - f0) * i / count) / RATE
        out.append(volume * envelope(i, count) * math.sin(phase))
    return out


def noise(seconds, volume=0.3, seed=12345):
    """A hiss from a fixed linear congruential generator (same bytes every run)."""
    count = int(RATE * seconds)
    out, x = [], seed
    for i in range(count):
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        out.append(volume * envelope(i, count) * ((x >> 8) / (1 << 22) - 1.0))
    return out


def clack(seconds, volume=0.8):
    """A rail-joint knock: a decaying low thump."""
    count = int(RATE * seconds)
    return [volume * math.exp(-i / (RATE * 0.03)) * math.sin(2 * math.pi * 90 * i / RATE)
            for i in range(count)]


SOUNDS = {
    "警笛.wav": lambda: tone(0.4, [(660, 0.5), (830, 0.5)]),
    "brake.wav": lambda: noise(0.3),
    "motor1.wav": lambda: tone(0.3, [(110, 0.7), (220, 0.3)]),
    "motor2.wav": lambda: tone(0.3, [(180, 0.7), (360, 0.3)]),
    "gap1.wav": lambda: clack(0.2),
    "gap2.wav": lambda: clack(0.25, 0.6),
    "vvvf.wav": lambda: sweep(0.4, 300, 900),
    "comp.wav": lambda: tone(0.3, [(50, 0.6), (150, 0.4)], 0.6),
}


# ---------------------------------------------------------------- images


def png_file(width, height, pixel):
    """8-bit RGB PNG (colour type 2); pixel(x, y) gives (r, g, b)."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    rows = bytearray()
    for y in range(height):
        rows.append(0)  # filter type None
        for x in range(width):
            rows.extend(pixel(x, y))
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


CREAM = (236, 228, 204)
GREEN = (40, 120, 80)
ORANGE = (232, 120, 40)
GREY = (90, 90, 96)
BLACK = (20, 20, 24)
WINDOW = (70, 110, 150)


def main_texture(x, y):
    """Body side in two-tone livery with a window band; the lower quarter is roof and underfloor."""
    if y >= 192:
        return GREY if (x // 16 + y // 16) % 2 else BLACK
    if 40 <= y < 88 and x % 48 >= 8:
        return WINDOW
    if 120 <= y < 136:
        return ORANGE
    return CREAM if y < 120 else GREEN


def sign_texture(x, y):
    """Four destination-sign cells: white text bars on dark blue, each cell a different pattern."""
    cell = (x // 64) + 2 * (y // 64)
    u, v = x % 64, y % 64
    if 8 <= v < 56 and 6 <= u < 58 and (v // 8) % 2 == 0 and u < 58 - 8 * cell:
        return (240, 240, 240)
    return (20, 30, 90)


def side_view(x, y):
    """The car seen from the side: body, window band, stripe, bogies on a rail."""
    if y >= 56:
        return GREY
    for centre in (44, 156):
        if 46 <= y < 56 and abs(x - centre) < 16:
            return BLACK
    if 8 <= y < 46 and 4 <= x < 196:
        if 14 <= y < 26 and x % 20 >= 4 and 12 <= x < 188:
            return WINDOW
        if 34 <= y < 37:
            return ORANGE
        return CREAM if y < 34 else GREEN
    return (255, 255, 255)


IMAGES = {
    "main.png": lambda: png_file(256, 256, main_texture),
    "sign.png": lambda: png_file(128, 128, sign_texture),
    "sideview.png": lambda: png_file(200, 58, side_view),
}


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "examples")
    assets = os.path.join(root, "assets")
    os.makedirs(assets, exist_ok=True)
    for name, make in SOUNDS.items():
        write(os.path.join(assets, name), wave_file(make()))
    for name, make in IMAGES.items():
        write(os.path.join(assets, name), make())
    script = SCRIPT.replace("\n", "\r\n").encode("cp932")
    write(os.path.join(root, "Sample.txt"), script)


if __name__ == "__main__":
    main()
