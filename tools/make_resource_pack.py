#!/usr/bin/env python3
"""Writes the program's resource pack (data/zek5rlwck.res).

The pack holds the caption of the fatal-error message, the face name of the
overlay fonts and the preview's fourteen effects. The effects are stored as
compiled effect binaries (tag 0xFEFF0901), the form D3DXCreateEffect reads on
every platform, so that no effect compiler is needed at run time. The vehicle
itself is drawn with the fixed-function pipeline; an effect only has to expose
its technique, a pass and the named parameters the preview binds.

Pack layout (little-endian): u16 magic 0x2000; entries of u16 tag 0x0010,
48-byte UTF-16LE name with its NUL, u32 load flag (0 read at open, 1 on
demand), u32 size, data; then a u16 terminator other than 0x0010.
"""
import argparse
import os
import struct
import sys

PACK_MAGIC = 0x2000
ENTRY_TAG = 0x0010
PACK_END = 0xFFFF
NAME_UNITS = 24

EFFECT_TAG = 0xFEFF0901

# Parameter types and classes of the effect format.
PT_FLOAT = 3
PT_TEXTURE = 5
PC_SCALAR = 0
PC_VECTOR = 1
PC_MATRIX_ROWS = 2  # Wine's SetMatrix accepts only row-major matrices
PC_OBJECT = 4

MATRICES = ["matL", "matWVP", "matWLP", "matWLPB"]

# Numbered parameters: name, number of floats, initial value.
NUMBERED = {
    0: ("vCol", 4, (1.0, 1.0, 1.0, 1.0)),
    1: ("vLightDir", 4, (0.0, -1.0, 0.0, 0.0)),
    2: ("vCameraPos", 4, (0.0, 0.0, 0.0, 1.0)),
    3: ("phongpower", 1, (10.0,)),
    4: ("vFog", 4, (2800.0, 4000.0, 0.0, 0.0)),
    5: ("vFogColor", 4, (0.5, 0.5, 0.5, 1.0)),
    6: ("phongexec", 1, (1.0,)),
    7: ("vCol2", 4, (1.0, 1.0, 1.0, 1.0)),
    8: ("ambient", 4, (0.3, 0.3, 0.3, 1.0)),
    9: ("shadowfactor", 1, (0.5,)),
}
LUMINANCE = ("Luminance", 1, (0.08,))

# name, technique (the preview selects it by name where it has one),
# matrices, numbered parameters, whether "TexSrcColor" is there.
EFFECTS = [
    ("hlsl_shadow", "ShadowShader", MATRICES, [0, 1, 2, 3, 4, 5, 6, 8, 9], True),
    ("hlsl_E5", "E5Shader", MATRICES, [0, 1, 2, 3, 4, 5, 6, 7, 8, 9], True),
    ("hlsl_bright", "BrightPassShader", [], ["Luminance"], True),
    ("hlsl_down", "DownShader", [], [], True),
    ("hlsl_gauss1", "GaussHShader", [], [], True),
    ("hlsl_gauss2", "GaussVShader", [], [], True),
    ("hlsl_combine", "Combine4Shader", [], [], True),
    ("hlsl_3dgauss1", "GaussHShader", [], [], True),
    ("hlsl_sdwland", "LandShader", ["matWVP", "matWLP", "matWLPB"], [0, 1, 4, 5, 8, 9], True),
    ("hlsl_bilbrd", "BillboardShader", MATRICES, [0, 1, 4, 5], True),
    ("hlsl_wire", "WireShader", ["matWVP"], [0, 4, 5, 8], False),
    ("hlsl_window", "WindowShader", ["matL", "matWVP"], [0, 1, 4, 5, 8], True),
    ("hlsl_tree", "TreeShader", MATRICES, [0, 1, 4, 5, 8, 9], True),
    ("hlsl_light", "LightShader", ["matL", "matWVP"], [0, 1, 4, 5, 8, 9], True),
]

TITLE = "ZEK RAILWICK"
FONT_NAME = "\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF"  # MS Gothic, full-width letters


class Blob:
    """The effect's data area: every offset in the effect counts from its start."""

    def __init__(self):
        self.data = bytearray()

    def u32(self, *values):
        start = len(self.data)
        for v in values:
            self.data += struct.pack("<I", v)
        return start

    def name(self, text):
        raw = text.encode("ascii") + b"\0"
        start = self.u32(len(raw))
        self.data += raw
        self.data += b"\0" * (-len(self.data) % 4)
        return start


def effect_binary(technique, parameters):
    """parameters: list of (name, kind, floats) with kind 'float', 'matrix' or 'texture'."""
    blob = Blob()
    no_semantic = blob.u32(0)
    records = []
    object_count = 1  # object 0 stays unused, as the compiler leaves it
    for name, kind, values in parameters:
        name_offset = blob.name(name)
        if kind == "matrix":
            typedef = blob.u32(PT_FLOAT, PC_MATRIX_ROWS, name_offset, no_semantic, 0, 4, 4)
            value = blob.u32(*[struct.unpack("<I", struct.pack("<f", f))[0] for f in values])
        elif kind == "texture":
            typedef = blob.u32(PT_TEXTURE, PC_OBJECT, name_offset, no_semantic, 0)
            value = blob.u32(object_count)
            object_count += 1
        elif len(values) == 1:
            typedef = blob.u32(PT_FLOAT, PC_SCALAR, name_offset, no_semantic, 0, 1, 1)
            value = blob.u32(struct.unpack("<I", struct.pack("<f", values[0]))[0])
        else:  # vectors store columns before rows
            typedef = blob.u32(PT_FLOAT, PC_VECTOR, name_offset, no_semantic, 0, len(values), 1)
            value = blob.u32(*[struct.unpack("<I", struct.pack("<f", f))[0] for f in values])
        records.append((typedef, value))
    technique_name = blob.name(technique)
    pass_name = blob.name("P0")

    table = blob.u32(len(records), 1, 0, object_count)
    for typedef, value in records:
        blob.u32(typedef, value, 0, 0)  # flags, annotations
    blob.u32(technique_name, 0, 1)  # annotations, passes
    blob.u32(pass_name, 0, 0)  # annotations, states
    blob.u32(0, 0)  # strings, resources
    return struct.pack("<II", EFFECT_TAG, table) + bytes(blob.data)


IDENTITY = (1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0)


def effect_parameters(matrices, numbered, texture):
    params = [(m, "matrix", IDENTITY) for m in matrices]
    for n in numbered:
        name, _, values = LUMINANCE if n == "Luminance" else NUMBERED[n]
        params.append((name, "float", values))
    if texture:
        params.append(("TexSrcColor", "texture", ()))
    return params


def text_entry(text):
    return text.encode("utf-16-le") + b"\0\0"


def pack_entry(name, load_flag, data):
    raw_name = name.encode("utf-16-le")
    if len(raw_name) // 2 >= NAME_UNITS:
        raise ValueError("entry name too long: " + name)
    raw_name += b"\0" * (2 * NAME_UNITS - len(raw_name))
    return struct.pack("<H", ENTRY_TAG) + raw_name + struct.pack("<II", load_flag, len(data)) + data


def build_pack():
    out = bytearray(struct.pack("<H", PACK_MAGIC))
    out += pack_entry("title", 0, text_entry(TITLE))
    out += pack_entry("fontname", 0, text_entry(FONT_NAME))
    for name, technique, matrices, numbered, texture in EFFECTS:
        out += pack_entry(name, 1, effect_binary(technique, effect_parameters(matrices, numbered, texture)))
    out += struct.pack("<H", PACK_END)
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("-o", "--output", required=True, help="pack file to write")
    args = parser.parse_args()
    data = build_pack()
    folder = os.path.dirname(os.path.abspath(args.output))
    os.makedirs(folder, exist_ok=True)
    temp = args.output + ".tmp"
    with open(temp, "wb") as f:
        f.write(data)
    os.replace(temp, args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
