#!/usr/bin/env python3
"""Writes a vehicle script that uses every header, setting and sound command,
and the record stream it must compile into, worked out from the record
tables (tag, length, field layout) independently of the C++ code.

    python3 tests/golden_records.py tests/data/golden

writes whole_vehicle.txt (Shift-JIS, CR LF), the small files it embeds, and
whole_vehicle.expected (every record as "record TAG hex:DATA", in the case
format of tests/data/compiler). With --check it compares instead of writing
and exits 1 on any difference.
"""
import os
import struct
import sys


def f32(x):
    return struct.pack("<f", x)


def u32(x):
    return struct.pack("<I", x & 0xFFFFFFFF)


def u16(x):
    return struct.pack("<H", x & 0xFFFF)


def text(s, units):
    raw = s.encode("utf-16-le")[: units * 2]
    return raw + b"\0" * (units * 2 - len(raw))


def record(tag, data=b""):
    return u32(tag) + u32(len(data)) + data


def scaled(x, scale):
    # Length-scaled values: the decimal read as a double, times the scale
    # (a float widened to double), rounded once to float.
    scale32 = struct.unpack("<f", f32(scale))[0]
    return f32(x * scale32)


WAVE = b"RIFF\x04\x00\x00\x00WAVE"  # the compiler embeds sounds unread
SIDE = b"\x89PNG side view bytes"
MAIN_PNG = b"\x89PNG main texture"
SIGN_PNG = b"\x89PNG sign texture"

SOUNDS = [("音源ブレーキ", 0x1201), ("音源警笛", 0x1202), ("音源モーター基準", 0x1203),
          ("音源モーター高速", 0x1204), ("音源ギャップ1", 0x1205), ("音源ギャップ2", 0x1206),
          ("音源アイドル", 0x1207), ("音源VVVF", 0x1208), ("音源ドラフト1", 0x1209),
          ("音源ドラフト2", 0x120A), ("音源ドラフト3", 0x120B), ("音源コンプレッサー", 0x1210),
          ("音源電源車", 0x1211)]


def build():
    lines = []
    stream = b""
    scale = 1.0

    def add(line, data=b""):
        nonlocal stream
        lines.append(line)
        stream += data

    add("//Z5 golden test of the whole-vehicle commands")
    add("BeginHeader", record(0xF000))
    add("SECTION", record(0x1001, u16(0x4851) + u16(400)) + record(0x100F, u32(0) + u32(0)))
    add("ID 70000", record(0x1002, u16(70000)))
    add("TYPE 特急電車", record(0x1003, u32(0x21)))
    add('名称 "クハ 481,改"', record(0x1004, text("クハ 481,改", 64)))
    add("短縮名 クハ481", record(0x1005, text("クハ481", 32)))
    add('COPYRIGHT "Railwick 工房" USER', record(0x1006, text("Railwick 工房", 64) + text("USER", 64)))
    add("形式 32000 クハ481形 USER", record(0x1007, u16(32000) + text("クハ481形", 64) + text("USER", 64)))
    add("EndHeader", record(0xF001))
    add("BeginSetting", record(0xF002))
    add("連結器 -10.5 10.5", record(0x1015, scaled(-10.5, 1.0) + scaled(10.5, 1.0)))
    add("TEC 0.9375")
    scale = 0.9375
    add("台車 3 1.5 固定", record(0x1013, u32(3) + scaled(1.5, scale) + u32(2)))
    add("台車 0,-7.25,回転", record(0x1013, u32(0) + scaled(-7.25, scale) + u32(0)))
    add("台車 1 0 中間", record(0x1013, u32(1) + scaled(0, scale) + u32(1)))
    add("速度 130", record(0x1016, u32(130)))
    add("振り子 5.5 1", record(0x1022, f32(5.5) + u32(1)))
    add("運転台 9.1 1.2 -0.4 -1.0", record(0x1017, scaled(9.1, scale) + scaled(1.2, scale) +
                                         scaled(-0.4, scale) + f32(-1.0)))
    add("動輪 0.86", record(0x1018, scaled(0.86, scale)))
    add("エミッター 2 1 2 3", record(0x1019, u32(2) + scaled(1, scale) + scaled(2, scale) + scaled(3, scale)))
    add("ヘッドライト シールドビーム 10 1.1 0.3 1.5",
        record(0x1020, u32(1) + scaled(10, scale) + scaled(1.1, scale) + scaled(0.3, scale) + f32(1.5)))
    add("テールライト 蛍光灯 -10 1.1 0.3 -1.5",
        record(0x1021, u32(0) + scaled(-10, scale) + scaled(1.1, scale) + scaled(0.3, scale) + f32(-1.5)))
    add("ヘッドライト LED 1 2 3 4",
        record(0x1020, u32(2) + scaled(1, scale) + scaled(2, scale) + scaled(3, scale) + f32(4)))
    add("コンテナ位置 1 -3.1 0.5 0", record(0x101B, u32(1) + scaled(-3.1, scale) + scaled(0.5, scale) +
                                         scaled(0, scale)))
    add("車体反射 0.25", record(0x1023, f32(0.25)))
    add("車両拡張 LEDTAILBK")
    add("車両拡張 LEDTAILFR")
    add("車両拡張 LEDTAILFR")
    add("ギャップ間隔 12.5 25", record(0x12F0, f32(12.5) + f32(25)))
    add("EndSetting", record(0x1025, u32(3)) + record(0xF003))
    add("BeginSound", record(0xF004))
    add('loadwave "horn" 3 sound/horn.wav')
    for word, tag in SOUNDS:
        add(word + " sound/s%04X.wav" % tag, record(tag, u32(0) + u32(len(WAVE) + tag % 7) +
                                                     WAVE + bytes(tag % 7)))
    add("EndSound", record(0xF005))
    add("BeginRes", record(0xF00A))
    add("形式CG side.png", record(0x1500, u32(len(SIDE)) + SIDE))
    add("EndRes", record(0xF00B))
    add("テクスチャーINFO\t24\t0,0,0\t512\t256")
    add("テクスチャーSIGN\t1,2,3\t256\t128")
    add("PNGTEXMAIN main.png")
    add("PNGTEXSIGN sign.png")
    # The texture block and the end record close a vehicle's stream.
    stream += record(0xF008)
    stream += record(0x1400, u32(24) + u16(0) + u16(0) + u16(0) + u32(512) + u32(256))
    stream += record(0x1420, u16(1) + u16(2) + u16(3) + u32(256) + u32(128))
    stream += record(0x1404, u32(512) + u32(256) + u32(len(MAIN_PNG)) + MAIN_PNG)
    stream += record(0x1412, u32(256) + u32(128) + u32(len(SIGN_PNG)) + SIGN_PNG)
    stream += record(0xF009)
    stream += record(0x0001)
    files = {"side.png": SIDE, "main.png": MAIN_PNG, "sign.png": SIGN_PNG}
    for _, tag in SOUNDS:
        files["sound/s%04X.wav" % tag] = WAVE + bytes(tag % 7)
    script = ("\r\n".join(lines) + "\r\n").encode("cp932")
    return script, files, stream


def expected_text(stream):
    lines = ["=== whole vehicle", "result ok", "log-lacks エラー", "log バイナリファイルを作成しました",
             'state bogies=4 bogie3=1.40625 name="クハ 481,改" flags=3 containers=1 waves=horn:3,']
    records = []
    while stream:
        tag, length = struct.unpack("<II", stream[:8])
        records.append("record %X" % tag + (" hex:" + stream[8:8 + length].hex() if length else ""))
        stream = stream[8 + length:]
    lines.append("records %d" % len(records))
    return "\n".join(lines + records) + "\n"


def main():
    check = "--check" in sys.argv
    folder = [a for a in sys.argv[1:] if a != "--check"][0]
    script, files, stream = build()
    outputs = {"whole_vehicle.txt": script, "whole_vehicle.expected": expected_text(stream).encode()}
    outputs.update(files)
    bad = 0
    for name, data in outputs.items():
        path = os.path.join(folder, name)
        if check:
            with open(path, "rb") as f:
                if f.read() != data:
                    print("differs: " + path)
                    bad += 1
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(data)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
